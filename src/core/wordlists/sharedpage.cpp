#include "wordlists/sharedpage.h"

#include "text/textrules.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringDecoder>

#include <algorithm>

std::optional<QString> SharedPage::line(int k, int n) const
{
    const qsizetype at = qsizetype(k) * kLines + n;
    if (k < 0 || n < 0 || n >= kLines || at >= text_.size())
        return std::nullopt;
    return text_.at(at);
}

SharedPage SharedPage::fromlines(QStringList lines)
{
    SharedPage page;
    if (!lines.isEmpty())
        lines.removeFirst();
    page.text_ = std::move(lines);
    return page;
}

SharedPage SharedPage::fromrecords(const QList<SharedRecord> &records)
{
    // Line by line, not through the page's text: a line break in a text shifts no record.
    SharedPage page;
    for (const SharedRecord &record : records) {
        page.text_.append(record.list.title);
        for (const Word &word : record.list.words) {
            page.text_.append(word.text);
            page.words_.append(word);
        }
        page.text_.append(record.publisher);
    }
    return page;
}

Word SharedPage::word(int k, int n) const
{
    if (n < 1 || n > WordSet::kWords)
        return {};
    const qsizetype at = qsizetype(k) * WordSet::kWords + n - 1;
    if (k >= 0 && at < words_.size())
        return words_.at(at);
    return Word(line(k, n).value_or(QString()));
}

QByteArray sharedlistsjson(const QList<SharedRecord> &records, qint64 total)
{
    QJsonArray lists;
    for (const SharedRecord &record : records) {
        QJsonArray words;
        for (const Word &word : record.list.words)
            words.append(QJsonObject{
                {"text", word.text}, {"reading", word.reading}, {"meaning", word.meaning}});
        lists.append(QJsonObject{
            {"title", record.list.title}, {"publisher", record.publisher}, {"words", words}});
    }
    QByteArray json = QJsonDocument(QJsonObject{{"total", total}, {"lists", lists}})
                          .toJson(QJsonDocument::Compact);
    // Valid JSON either way, but JavaScript before ES2019 ends a line at them. Their UTF-8 bytes
    // occur in nothing but those characters, which stand only inside strings.
    json.replace("\xE2\x80\xA8", "\\u2028");
    json.replace("\xE2\x80\xA9", "\\u2029");
    return json;
}

std::optional<QList<SharedRecord>> parsesharedlists(const QByteArray &body)
{
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(body, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const QJsonValue lists = document.object().value(QLatin1String("lists"));
    if (!lists.isArray())
        return std::nullopt;
    const auto optionaltext = [](const QJsonObject &object, const char *key, QString &out) {
        const QJsonValue value = object.value(QLatin1String(key));
        if (value.isString())
            out = value.toString();
        return value.isString() || value.isUndefined();
    };
    QList<SharedRecord> records;
    for (const QJsonValue &item : lists.toArray()) {
        const QJsonObject list = item.toObject();
        const QJsonValue title = list.value(QLatin1String("title"));
        const QJsonValue publisher = list.value(QLatin1String("publisher"));
        const QJsonValue words = list.value(QLatin1String("words"));
        if (!item.isObject() || !title.isString() || !publisher.isString() || !words.isArray() ||
            words.toArray().size() != WordSet::kWords)
            return std::nullopt;
        SharedRecord record;
        record.list.title = title.toString();
        record.publisher = publisher.toString();
        const QJsonArray nine = words.toArray();
        for (int k = 0; k < WordSet::kWords; ++k) {
            const QJsonObject word = nine.at(k).toObject();
            const QJsonValue text = word.value(QLatin1String("text"));
            Word &out = record.list.words[k];
            if (!nine.at(k).isObject() || !text.isString() ||
                !optionaltext(word, "reading", out.reading) ||
                !optionaltext(word, "meaning", out.meaning))
                return std::nullopt;
            out.text = text.toString();
        }
        records.append(record);
    }
    return records;
}

QString sharedpagetext(const QList<SharedRecord> &records, const QString &heading)
{
    QString text = heading + u'\n';
    for (const SharedRecord &record : records) {
        text += record.list.title + u'\n';
        for (const Word &word : record.list.words)
            text += word.text + u'\n';
        text += record.publisher + u'\n';
    }
    return text;
}

namespace {
bool isAsciiLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool isHtmlSpace(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f';
}

bool isBlock(QStringView name)
{
    static const char *const blocks[] = {
        "address",    "article", "aside",  "blockquote", "body",   "caption", "center",
        "dd",         "details", "dialog", "div",        "dl",     "dt",      "fieldset",
        "figcaption", "figure",  "footer", "form",       "h1",     "h2",      "h3",
        "h4",         "h5",      "h6",     "header",     "hgroup", "hr",      "html",
        "legend",     "li",      "main",   "nav",        "ol",     "p",       "section",
        "summary",    "table",   "tbody",  "tfoot",      "thead",  "tr",      "ul"};
    return std::any_of(std::begin(blocks), std::end(blocks),
                       [name](const char *block) { return name == QLatin1String(block); });
}

// Elements whose content a browser does not display.
bool isHidden(QStringView name)
{
    return name == u"script" || name == u"style" || name == u"title" || name == u"template";
}

// Builds the displayed lines character by character.
class LineBuilder {
public:
    void text(QChar c)
    {
        if (pre_ > 0) {
            if (c == u'\n')
                breakline();
            else if (c != u'\r') // CR LF inside <pre> is one line end; a lone CR is dropped
                line_ += c;
            return;
        }
        if (isHtmlSpace(c)) {
            space_ = !line_.isEmpty();
            return;
        }
        if (space_)
            line_ += u' ';
        space_ = false;
        line_ += c;
    }
    void text(QStringView decoded)
    {
        for (const QChar c : decoded)
            text(c);
    }
    // <br>: always a line end, an empty line included.
    void breakline()
    {
        lines_.append(line_);
        line_.clear();
        space_ = false;
    }
    // A block starts or ends: the line in progress, if any, ends.
    void boundary()
    {
        if (!line_.isEmpty())
            breakline();
        space_ = false;
    }
    void pre(int delta) { pre_ = std::max(0, pre_ + delta); }
    QStringList finish()
    {
        boundary();
        return std::move(lines_);
    }

private:
    QStringList lines_;
    QString line_;
    bool space_ = false; // white space seen since the last character of the line
    int pre_ = 0;
};

// A character reference at html[i] == '&'. Returns its text and moves i past the reference, or
// returns nothing when it is no reference that is known (the '&' is text).
std::optional<QString> reference(QStringView html, qsizetype &i, const NamedReference &named)
{
    qsizetype j = i + 1;
    if (j < html.size() && html.at(j) == u'#') {
        ++j;
        const bool hex = j < html.size() && (html.at(j) == u'x' || html.at(j) == u'X');
        if (hex)
            ++j;
        const qsizetype digits = j;
        char32_t value = 0;
        bool overflow = false;
        for (; j < html.size(); ++j) {
            const int d = digitValue(html.at(j).unicode(), hex ? 16 : 10);
            if (d < 0)
                break;
            if (value > 0x10FFFF)
                overflow = true;
            else
                value = value * (hex ? 16 : 10) + char32_t(d);
        }
        if (j == digits)
            return std::nullopt;
        if (j < html.size() && html.at(j) == u';')
            ++j;
        i = j;
        if (overflow || value == 0 || value > 0x10FFFF || QChar::isSurrogate(value))
            value = 0xFFFD; // as a browser shows it
        return QString::fromUcs4(&value, 1);
    }
    qsizetype end = j;
    while (end < html.size() && end - j < 8 && html.at(end).isLetterOrNumber())
        ++end;
    if (end >= html.size() || html.at(end) != u';')
        return std::nullopt;
    const QString decoded = named(html.mid(j, end - j));
    if (decoded.isEmpty())
        return std::nullopt;
    i = end + 1;
    return decoded;
}
} // namespace

QStringList htmllines(QStringView html, const NamedReference &named)
{
    // A page repeats a few names many times; each is looked up once.
    QHash<QString, QString> known;
    const NamedReference lookup = [&named, &known](QStringView name) {
        const QString key = name.toString();
        auto it = known.find(key);
        if (it == known.end())
            it = known.insert(key, named ? named(name) : QString());
        return *it;
    };
    LineBuilder out;
    qsizetype i = 0;
    while (i < html.size()) {
        const QChar c = html.at(i);
        if (c == u'&') {
            if (const std::optional<QString> decoded = reference(html, i, lookup)) {
                out.text(*decoded);
                continue;
            }
            out.text(c);
            ++i;
            continue;
        }
        const QChar next = i + 1 < html.size() ? html.at(i + 1) : QChar();
        const bool markup =
            c == u'<' && (isAsciiLetter(next) || next == u'/' || next == u'!' || next == u'?');
        if (!markup) {
            out.text(c);
            ++i;
            continue;
        }
        if (html.mid(i, 4) == u"<!--") {
            const qsizetype end = html.indexOf(u"-->", i + 4);
            i = end < 0 ? html.size() : end + 3;
            continue;
        }
        // The tag runs to the first '>' outside a quoted attribute value.
        qsizetype j = i + 1;
        QChar quote;
        for (; j < html.size(); ++j) {
            const QChar t = html.at(j);
            if (!quote.isNull()) {
                if (t == quote)
                    quote = QChar();
            } else if (t == u'"' || t == u'\'') {
                quote = t;
            } else if (t == u'>') {
                break;
            }
        }
        if (j >= html.size())
            break; // a tag left open at the end shows nothing
        const QStringView tag = html.mid(i + 1, j - i - 1);
        i = j + 1;
        if (next == u'!' || next == u'?')
            continue;
        const bool closing = tag.startsWith(u'/');
        const QStringView rest = closing ? tag.mid(1) : tag;
        qsizetype n = 0;
        while (n < rest.size() && !isHtmlSpace(rest.at(n)) && rest.at(n) != u'/')
            ++n;
        const QString name = rest.left(n).toString().toLower();
        if (name == u"br") {
            out.breakline();
        } else if (name == u"pre") {
            out.boundary();
            out.pre(closing ? -1 : 1);
        } else if (isBlock(name)) {
            out.boundary();
        } else if (name == u"td" || name == u"th") {
            out.text(QChar(u' ')); // cells of a row share its line
        } else if (!closing && isHidden(name) && !tag.endsWith(u'/')) {
            const qsizetype end = html.indexOf(QStringLiteral("</") + name, i, Qt::CaseInsensitive);
            i = end < 0 ? html.size() : end;
        }
    }
    return out.finish();
}

namespace {
struct ContentType {
    QByteArray mime;
    QByteArray charset;
};

ContentType parsecontenttype(const QByteArray &header)
{
    ContentType type;
    const QList<QByteArray> parts = header.split(';');
    type.mime = parts.value(0).trimmed().toLower();
    for (qsizetype k = 1; k < parts.size(); ++k) {
        const QByteArray part = parts.at(k).trimmed();
        const qsizetype eq = part.indexOf('=');
        if (eq < 0 || part.left(eq).trimmed().toLower() != "charset")
            continue;
        QByteArray value = part.mid(eq + 1).trimmed();
        if (value.size() >= 2 && value.startsWith('"') && value.endsWith('"'))
            value = value.mid(1, value.size() - 2);
        type.charset = value;
    }
    return type;
}
} // namespace

QStringList pagelines(const QByteArray &body, const QByteArray &contentType,
                      const NamedReference &named)
{
    const ContentType type = parsecontenttype(contentType);
    const bool html = type.mime == "text/html" || type.mime == "application/xhtml+xml";
    QStringDecoder decoder;
    if (!type.charset.isEmpty())
        decoder = QStringDecoder(type.charset.constData());
    if (!decoder.isValid() && html)
        decoder = QStringDecoder::decoderForHtml(body);
    if (!decoder.isValid()) {
        const std::optional<QStringConverter::Encoding> marked =
            QStringConverter::encodingForData(body);
        decoder = QStringDecoder(marked.value_or(QStringConverter::Utf8));
    }
    const QString text = decoder.decode(body);
    return html ? htmllines(text, named) : textlines(text);
}
