#include "wordlists/shareaddress.h"

#include "wordlists/shareprotocol.h"
#include "wordlists/wordliststore.h"

#include <QtGlobal>

namespace {
void appendencoded(QByteArray &out, QStringView text, QByteArrayView alsoEncoded)
{
    static constexpr char hex[] = "0123456789ABCDEF";
    static constexpr QByteArrayView alwaysEncoded("*#%<>[]");
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t c = text.at(i).unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            c = QChar::surrogateToUcs4(char16_t(c), text.at(i + 1).unicode());
            ++i;
        } else if (QChar::isSurrogate(c)) {
            c = 0xFFFD; // no UTF-8 exists for half a pair
        }
        if (c >= 0x21 && c <= 0x7E && !alwaysEncoded.contains(char(c)) &&
            !alsoEncoded.contains(char(c))) {
            out.append(char(c));
            continue;
        }
        // Not QString::fromUcs4, which takes a U+FEFF for a byte-order mark and drops it.
        const QByteArray utf8 = QStringView(QChar::fromUcs4(c)).toUtf8();
        for (const char byte : utf8) {
            const auto b = static_cast<unsigned char>(byte);
            out.append('%').append(hex[b >> 4]).append(hex[b & 0xF]);
        }
    }
}
} // namespace

QString sharebase()
{
    QString base = qEnvironmentVariable(kShareBaseVariable).trimmed();
    if (base.isEmpty())
        base = QString::fromLatin1(kDefaultShareBase);
    while (base.endsWith(u'/'))
        base.chop(1);
    return base;
}

QString sharepageaddress(const QString &base)
{
    using namespace shareprotocol;
    return base + QLatin1String(kPagePath) + u'?' + QLatin1String(kAppIdKey) + u'=' +
           QLatin1String(kAppId);
}

QString sharelistsaddress(const QString &base)
{
    using namespace shareprotocol;
    return base + QLatin1String(kListsPath) + u'?' + QLatin1String(kAppIdKey) + u'=' +
           QLatin1String(kAppId);
}

QByteArray percentencode(QStringView text)
{
    QByteArray out;
    appendencoded(out, text, {});
    return out;
}

QByteArray percentencodevalue(QStringView text)
{
    QByteArray out;
    appendencoded(out, text, "&=+");
    return out;
}

QByteArray submitaddress(const QString &base, const WordSet &list, const QString &name)
{
    // The fixed pieces follow the address rule, so their separators pass; only the values get
    // the stricter one. The request keeps its path, keys and order either way.
    using namespace shareprotocol;
    QByteArray out = percentencode(base);
    out += QByteArray(kSubmitPath) + '?' + kAppIdKey + '=' + kAppId;
    for (const int field : submissionfields()) {
        const QString value = sharefieldvalue(list, name, field);
        if (glossedword(field) > 0 && value.isEmpty())
            continue;
        out += '&' + fieldKey(field) + '=' + percentencodevalue(value);
    }
    return out;
}

QString sharefieldvalue(const WordSet &list, const QString &name, int field)
{
    if (field == 0)
        return list.title;
    if (field == kShareNameField)
        return name;
    if (const int k = glossedword(field); k > 0)
        return isreadingfield(field) ? list.words[k - 1].reading : list.words[k - 1].meaning;
    return list.text(field);
}
