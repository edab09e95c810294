#include "text/textfile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>

#if defined(Q_OS_UNIX)
#include <langinfo.h>
#endif
#if !defined(Q_OS_WIN)
#include <uchardet.h>
#endif

namespace {
constexpr int kLeftoverAgeSeconds = 10;

// Stateless, so a cut-off UTF-8 sequence at the end becomes U+FFFD instead of vanishing (ICU's
// converters still drop a cut-off tail). The mark is removed by hand, so a second U+FEFF right
// after it is content and must be kept.
constexpr auto kFlags =
    QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom;

bool isLineEnd(QChar c)
{
    return c == u'\n' || c == u'\r';
}

void appendReplacements(QStringView text, qsizetype from, QList<qsizetype> &replaced)
{
    for (qsizetype i = from; i < text.size(); ++i)
        if (text.at(i) == QChar::ReplacementCharacter)
            replaced.append(i);
}

using MakeDecoder = std::function<QStringDecoder()>;

// Where a decoder put U+FFFD into text for bytes that did not decode. A decoder only says that
// it did, so each line holding U+FFFD is decoded again on its own, by a new decoder (an ICU
// one keeps its error through a reset): a line end is a byte that every byte encoding read
// here decodes as itself and never takes into a sequence, so a line decodes alone as it does
// in the whole. A line with both lists the file's own U+FFFD too; lines that do not pair up:
// every U+FFFD counts.
QList<qsizetype> replacementsByLine(QStringView text, QByteArrayView bytes, const MakeDecoder &make)
{
    QList<qsizetype> replaced;
    qsizetype byteStart = 0, textStart = 0;
    for (;;) {
        qsizetype byteEnd = byteStart, textEnd = textStart;
        while (byteEnd < bytes.size() && bytes[byteEnd] != '\n' && bytes[byteEnd] != '\r')
            ++byteEnd;
        while (textEnd < text.size() && !isLineEnd(text.at(textEnd)))
            ++textEnd;
        const bool byteLineEnd = byteEnd < bytes.size();
        if (byteLineEnd != (textEnd < text.size()) ||
            (byteLineEnd && text.at(textEnd) != QLatin1Char(bytes[byteEnd]))) {
            replaced.clear();
            appendReplacements(text, 0, replaced);
            return replaced;
        }
        const QStringView line = text.sliced(textStart, textEnd - textStart);
        if (line.contains(QChar(QChar::ReplacementCharacter))) {
            QStringDecoder decoder = make();
            const QString again = decoder(bytes.sliced(byteStart, byteEnd - byteStart));
            if (decoder.hasError())
                appendReplacements(text.first(textEnd), textStart, replaced);
        }
        if (!byteLineEnd)
            return replaced;
        byteStart = byteEnd + 1;
        textStart = textEnd + 1;
    }
}

// Decodes bytes; where the decoder had an error, also says where.
DecodedText decodeWith(const MakeDecoder &make, QByteArrayView bytes, TextEncoding as)
{
    QStringDecoder decoder = make();
    DecodedText decoded;
    decoded.text = decoder(bytes);
    decoded.encoding = as;
    decoded.clean = !decoder.hasError();
    if (!decoded.clean)
        decoded.replaced = replacementsByLine(decoded.text, bytes, make);
    return decoded;
}

DecodedText decodeAll(QStringConverter::Encoding encoding, QByteArrayView bytes, TextEncoding as)
{
    return decodeWith([encoding] { return QStringDecoder(encoding, kFlags); }, bytes, as);
}

// Half a surrogate pair is no character; kept, it would be written back and break every text
// operation that expects valid UTF-16. Adds where one was replaced to replaced.
void replaceLoneSurrogates(QString &text, QList<qsizetype> &replaced)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            ++i;
        } else if (c.isSurrogate()) {
            text[i] = QChar(QChar::ReplacementCharacter);
            replaced.append(i);
        }
    }
}

// A last byte without its partner stands for a lost character: U+FFFD, whatever the length.
// UTF-16 decodes unit by unit, so the decoder itself never replaces anything.
DecodedText decodeUtf16(QStringConverter::Encoding encoding, QByteArrayView bytes, TextEncoding as)
{
    const bool cut = bytes.size() % 2 != 0;
    QStringDecoder decoder(encoding, kFlags);
    DecodedText decoded{
        decoder(bytes.first(bytes.size() - (cut ? 1 : 0))), as, !decoder.hasError(), {}};
    if (!decoded.clean)
        appendReplacements(decoded.text, 0, decoded.replaced);
    replaceLoneSurrogates(decoded.text, decoded.replaced);
    if (cut) {
        decoded.replaced.append(decoded.text.size());
        decoded.text += QChar(QChar::ReplacementCharacter);
    }
    std::sort(decoded.replaced.begin(), decoded.replaced.end());
    decoded.replaced.erase(std::unique(decoded.replaced.begin(), decoded.replaced.end()),
                           decoded.replaced.end());
    decoded.clean = decoded.clean && decoded.replaced.isEmpty();
    return decoded;
}

#if !defined(Q_OS_WIN)
// No 8-bit or UTF-8 text holds a zero byte, but UTF-16 has one in every line end and in most
// units of Latin text: the second byte of a unit in LE, the first in BE. A few stray zeros, as
// in binary junk, are not enough.
std::optional<TextEncoding> unmarkedUtf16(QByteArrayView bytes)
{
    if (bytes.isEmpty() || bytes.size() % 2 != 0)
        return std::nullopt;
    qsizetype first = 0;
    qsizetype second = 0;
    for (qsizetype i = 0; i < bytes.size(); i += 2) {
        first += bytes[i] == '\0';
        second += bytes[i + 1] == '\0';
    }
    if (first == second || std::max(first, second) * 8 < bytes.size() / 2)
        return std::nullopt;
    return second > first ? TextEncoding::Utf16LENoMark : TextEncoding::Utf16BENoMark;
}

// The encoding uchardet names for the bytes, as Qt's converters call it; empty when it names
// none (its way of saying it is not sure).
QByteArray detectedEncoding(QByteArrayView bytes)
{
    const std::unique_ptr<std::remove_pointer_t<uchardet_t>, void (*)(uchardet_t)> detector(
        uchardet_new(), &uchardet_delete);
    if (!detector || uchardet_handle_data(detector.get(), bytes.data(), size_t(bytes.size())) != 0)
        return {};
    uchardet_data_end(detector.get());
    const char *charset = uchardet_get_charset(detector.get());
    QByteArray name = charset ? QByteArray(charset) : QByteArray();
    // uchardet's name for the Korean code page; ICU knows it as CP949.
    if (name == "UHC")
        name = "CP949";
    return name;
}

// Decodes with the named encoding; false when there is no such converter or a byte does not fit.
bool decodeCleanly(const char *name, QByteArrayView bytes, QString &text)
{
    QStringDecoder decoder(name, kFlags);
    if (!decoder.isValid())
        return false;
    text = decoder(bytes);
    return !decoder.hasError();
}
#endif
} // namespace

QByteArray localeencoding()
{
#if defined(Q_OS_UNIX)
    // QCoreApplication has run setlocale(LC_ALL, ""), so this is the user's codeset.
    const char *codeset = nl_langinfo(CODESET);
    const QByteArray name = codeset ? QByteArray(codeset) : QByteArray();
    QByteArray plain = name.toUpper();
    plain.replace('-', QByteArray()).replace('_', QByteArray());
    // An ASCII locale (the C locale) has no 8-bit characters to offer.
    for (const char *useless : {"UTF8", "ANSIX3.41968", "ASCII", "USASCII", "646"})
        if (plain == useless)
            return {};
    return name;
#else
    return {};
#endif
}

DecodedText decodetext(const QByteArray &bytes)
{
    return decodetext(bytes, localeencoding());
}

DecodedText decodetext(const QByteArray &bytes, const QByteArray &localeEncoding)
{
    const QByteArrayView view(bytes);
    if (view.startsWith("\xEF\xBB\xBF"))
        return decodeAll(QStringConverter::Utf8, view.sliced(3), TextEncoding::Utf8Bom);
    if (view.startsWith("\xFF\xFE"))
        return decodeUtf16(QStringConverter::Utf16LE, view.sliced(2), TextEncoding::Utf16LE);
    if (view.startsWith("\xFE\xFF"))
        return decodeUtf16(QStringConverter::Utf16BE, view.sliced(2), TextEncoding::Utf16BE);
#if defined(Q_OS_WIN)
    Q_UNUSED(localeEncoding);
    DecodedText decoded =
        decodeWith([] { return QStringDecoder(QStringConverter::System, kFlags); }, view,
                   TextEncoding::System);
    decoded.clean = false;
    return decoded;
#else
    // Unmarked text is clean only as valid UTF-8; every other reading is a guess.
    if (const std::optional<TextEncoding> utf16 = unmarkedUtf16(view)) {
        DecodedText decoded =
            decodeUtf16(*utf16 == TextEncoding::Utf16LENoMark ? QStringConverter::Utf16LE
                                                              : QStringConverter::Utf16BE,
                        view, *utf16);
        decoded.clean = false;
        return decoded;
    }
    QString text;
    if (decodeCleanly("UTF-8", view, text))
        return {text, TextEncoding::Utf8, true, {}};
    if (const QByteArray detected = detectedEncoding(view);
        !detected.isEmpty() && decodeCleanly(detected.constData(), view, text))
        return {text,
                detected == "GB18030" ? TextEncoding::Gb18030 : TextEncoding::Detected,
                false,
                {}};
    if (!localeEncoding.isEmpty() && decodeCleanly(localeEncoding.constData(), view, text))
        return {text, TextEncoding::Locale, false, {}};
    // Kept even with stray bytes (they show as U+FFFD): the likeliest reading of what is left.
    if (QStringDecoder("GB18030", kFlags).isValid()) {
        DecodedText decoded = decodeWith([] { return QStringDecoder("GB18030", kFlags); }, view,
                                         TextEncoding::Gb18030);
        decoded.clean = false;
        return decoded;
    }
    // Only a Qt built without ICU lacks GB18030; Latin-1 at least keeps every byte.
    return {QString::fromLatin1(bytes), TextEncoding::Latin1, false, {}};
#endif
}

TextFileResult readtextfile(const QString &path, qint64 maxBytes)
{
    using Kind = FileProblem::Kind;
    if (path.isEmpty())
        return failure(FileProblem{Kind::Missing, QStringLiteral("No file name specified")});
    // Asked before opening: open() itself blocks on a pipe without a writer.
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        return failure(FileProblem{Kind::NotAFile, QStringLiteral("Not a regular file")});
    const auto tooLarge = [&](qint64 size) { return maxBytes >= 0 && size > maxBytes; };
    if (tooLarge(info.size()))
        return failure(FileProblem{Kind::TooLarge, QStringLiteral("File too large")});
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return failure(
            FileProblem{file.exists() ? Kind::Unreadable : Kind::Missing, file.errorString()});
    // One byte past the limit tells a file that grew since it was measured.
    const QByteArray bytes = maxBytes >= 0 ? file.read(maxBytes + 1) : file.readAll();
    if (file.error() != QFileDevice::NoError)
        return failure(FileProblem{Kind::Unreadable, file.errorString()});
    if (tooLarge(bytes.size()))
        return failure(FileProblem{Kind::TooLarge, QStringLiteral("File too large")});
    DecodedText decoded = decodetext(bytes);
    return TextFile{std::move(decoded.text), decoded.encoding, bytes.size(), decoded.clean,
                    std::move(decoded.replaced)};
}

Status writewholefile(const QString &path, const QByteArray &bytes)
{
    // The explicit flush matters: commit() does not notice a write that fails only when its
    // buffer is flushed (a full disk), and would put a cut-off file in place.
    QSaveFile out(path);
    if (out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size() && out.flush() &&
        out.commit())
        return {};
    return failure(out.errorString());
}

void removewriteleftovers(const QString &folder, const QString &pattern)
{
    // The temporary copy's name ends in six random ASCII letters of both cases. A name a person
    // gives ("lists.txt.backup", "Backup") rarely mixes cases so, and must never be removed.
    const QString suffix = QStringLiteral(".??????");
    const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-kLeftoverAgeSeconds);
    const QFileInfoList found =
        QDir(folder).entryInfoList({pattern + suffix}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QFileInfo &info : found) {
        const QString tail = info.fileName().right(6);
        int upper = 0, lower = 0;
        for (const QChar c : tail) {
            upper += c >= u'A' && c <= u'Z';
            lower += c >= u'a' && c <= u'z';
        }
        const bool temporary = upper + lower == 6 && upper >= 2 && lower >= 1;
        if (temporary && info.lastModified().toUTC() < before)
            QFile::remove(info.filePath());
    }
}

QByteArray utf16lewithmark(const QString &text)
{
    QStringEncoder encoder(QStringConverter::Utf16LE);
    return QByteArray("\xFF\xFE", 2) + QByteArray(encoder(text));
}

QStringList textlines(QStringView text)
{
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != u'\n' && c != u'\r')
            continue;
        lines.append(text.mid(start, i - start).toString());
        if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.append(text.mid(start).toString());
    return lines;
}

QString oneline(QString text)
{
    return text.replace(QLatin1Char('\r'), QLatin1Char(' '))
        .replace(QLatin1Char('\n'), QLatin1Char(' '));
}
