#include "importers/ankitext.h"

#include "importers/notelanguage.h"

#include <QHash>
#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <optional>

namespace {
constexpr QChar kQuote = u'"';
// Records enough to tell a separator by: each of them has as many fields with it.
constexpr int kGuessRecords = 10;

struct Record {
    int line = 0;        // where it starts, from 1
    qsizetype start = 0; // its text, line end left out
    qsizetype end = 0;
    QStringList fields;
};

bool isLineEnd(QChar c)
{
    return c == u'\r' || c == u'\n';
}

// Past the line end at at (CR LF counts once).
qsizetype pastLineEnd(QStringView text, qsizetype at)
{
    if (at < text.size() && text.at(at) == u'\r')
        return at + 1 < text.size() && text.at(at + 1) == u'\n' ? at + 2 : at + 1;
    return at < text.size() && text.at(at) == u'\n' ? at + 1 : at;
}

// The records from at on. A quote that opens a field runs to the next lone quote, over line
// ends too; a doubled quote inside stands for one. A line that starts with '#' is a comment.
// most: stop after that many records (0: all).
QList<Record> records(QStringView text, qsizetype at, int line, QChar separator, int most = 0)
{
    QList<Record> out;
    const qsizetype size = text.size();
    while (at < size && (most == 0 || out.size() < most)) {
        if (isLineEnd(text.at(at))) {
            at = pastLineEnd(text, at);
            ++line;
            continue;
        }
        if (text.at(at) == u'#') {
            while (at < size && !isLineEnd(text.at(at)))
                ++at;
            continue;
        }
        Record record;
        record.line = line;
        record.start = at;
        QString field;
        bool fieldStart = true;
        while (at < size) {
            const QChar c = text.at(at);
            if (fieldStart && c == kQuote) {
                fieldStart = false;
                for (++at; at < size; ++at) {
                    const QChar q = text.at(at);
                    if (q == kQuote && at + 1 < size && text.at(at + 1) == kQuote) {
                        field += kQuote;
                        ++at;
                    } else if (q == kQuote) {
                        ++at;
                        break;
                    } else {
                        if (q == u'\n' ||
                            (q == u'\r' && (at + 1 == size || text.at(at + 1) != u'\n')))
                            ++line;
                        field += q;
                    }
                }
                continue;
            }
            if (isLineEnd(c))
                break;
            if (c == separator) {
                record.fields.append(field);
                field.clear();
                fieldStart = true;
            } else {
                field += c;
                fieldStart = false;
            }
            ++at;
        }
        record.fields.append(field);
        record.end = at;
        out.append(record);
    }
    return out;
}

QChar namedSeparator(const QString &value)
{
    static const struct {
        const char *name;
        char16_t separator;
    } kNames[] = {{"tab", u'\t'},  {"comma", u','}, {"semicolon", u';'},
                  {"space", u' '}, {"pipe", u'|'},  {"colon", u':'}};
    for (const auto &named : kNames)
        if (value.trimmed().compare(QLatin1String(named.name), Qt::CaseInsensitive) == 0)
            return QChar(named.separator);
    if (value == QStringLiteral("\\t"))
        return u'\t';
    // The character itself; a header's trailing spaces are no separator, a lone space is.
    if (value.size() == 1)
        return value.at(0);
    const QString trimmed = value.trimmed();
    return trimmed.size() == 1 ? trimmed.at(0) : QChar();
}

// The separator that splits each of the first records into as many fields, two or more: tab
// before the others, as Anki writes tabs; else the first one the first record holds.
QChar guessSeparator(QStringView text, qsizetype at, int line)
{
    const QChar candidates[] = {u'\t', u'|', u';', u',', u':', u' '};
    for (const QChar candidate : candidates) {
        const QList<Record> sample = records(text, at, line, candidate, kGuessRecords);
        if (sample.isEmpty())
            break;
        const qsizetype fields = sample.constFirst().fields.size();
        if (fields >= 2 && std::all_of(sample.cbegin(), sample.cend(),
                                       [&](const Record &r) { return r.fields.size() == fields; }))
            return candidate;
    }
    const QList<Record> first = records(text, at, line, u'\t', 1);
    if (!first.isEmpty())
        for (const QChar candidate : candidates)
            if (first.constFirst().fields.constFirst().contains(candidate))
                return candidate;
    return u'\t';
}

bool replacedIn(const QList<qsizetype> &replaced, qsizetype start, qsizetype end)
{
    const auto it = std::lower_bound(replaced.cbegin(), replaced.cend(), start);
    return it != replaced.cend() && *it < end;
}

// A header's column number, counted from 1 as Anki writes it; 0 when absent or not a number.
int columnNumber(const QString &value)
{
    bool ok = false;
    const int n = value.trimmed().toInt(&ok);
    return ok && n > 0 ? n : 0;
}

struct Header {
    QString key; // lower case, trimmed
    QString value;
};

std::optional<Header> headerLine(QStringView line)
{
    if (!line.startsWith(u'#'))
        return std::nullopt;
    const qsizetype colon = line.indexOf(u':');
    if (colon < 0)
        return std::nullopt;
    return Header{line.sliced(1, colon - 1).trimmed().toString().toLower(),
                  line.sliced(colon + 1).toString()};
}

bool isKnownKey(const QString &key)
{
    static const char *const kKeys[] = {
        "separator",   "html",       "tags",        "columns",
        "notetype",    "deck",       "guid column", "notetype column",
        "deck column", "tags column"};
    return std::any_of(std::begin(kKeys), std::end(kKeys),
                       [&](const char *known) { return key == QLatin1String(known); });
}

// Whether a file that does not say holds HTML: a tag closed by '>' or an entity. Plain text
// such as "a<b" or "R&D" is then kept as it stands.
bool looksHtml(QStringView text)
{
    static const QRegularExpression markup(QStringLiteral(
        "</?[A-Za-z][A-Za-z0-9]*(\\s[^<>]*)?/?>|&(#[0-9]+|#[xX][0-9A-Fa-f]+|[A-Za-z]+[0-9]*);"));
    return markup.match(text).hasMatch();
}

QStringView lineAt(QStringView text, qsizetype at)
{
    qsizetype end = at;
    while (end < text.size() && !isLineEnd(text.at(end)))
        ++end;
    return text.sliced(at, end - at);
}
} // namespace

bool hasankiheader(QStringView text)
{
    // A comment may come first, such as an editor's mode line.
    for (qsizetype at = 0; at < text.size() && text.at(at) == u'#';) {
        const QStringView line = lineAt(text, at);
        if (const std::optional<Header> header = headerLine(line);
            header && isKnownKey(header->key))
            return true;
        at = pastLineEnd(text, at + line.size());
    }
    return false;
}

NoteFile readankitext(QStringView text, const QList<qsizetype> &replaced)
{
    NoteFile file;
    file.format = NoteFile::Format::AnkiText;
    QChar separator;
    std::optional<bool> html;
    QString deck;
    QString language;   // that the note type of every note names
    QList<int> special; // the guid, note type and tags columns, from 0
    int deckColumn = -1;
    int typeColumn = -1;
    qsizetype at = 0;
    int line = 1;
    // The header lines come first; a '#' line after them is a comment.
    while (at < text.size()) {
        const QStringView current = lineAt(text, at);
        const std::optional<Header> header = headerLine(current);
        if (!header && !current.startsWith(u'#'))
            break;
        if (header) {
            const QString &value = header->value;
            if (header->key == QLatin1String("separator"))
                separator = namedSeparator(value);
            else if (header->key == QLatin1String("html"))
                html = value.trimmed().compare(QLatin1String("false"), Qt::CaseInsensitive) != 0;
            else if (header->key == QLatin1String("deck"))
                deck = value.trimmed();
            else if (header->key == QLatin1String("deck column"))
                deckColumn = columnNumber(value) - 1;
            else if (header->key == QLatin1String("notetype"))
                language = namedlanguage(value);
            else if (header->key == QLatin1String("notetype column")) {
                typeColumn = columnNumber(value) - 1;
                special.append(typeColumn);
            } else if (header->key == QLatin1String("guid column") ||
                       header->key == QLatin1String("tags column"))
                special.append(columnNumber(value) - 1);
        }
        at = pastLineEnd(text, at + current.size());
        ++line;
    }
    if (separator.isNull())
        separator = guessSeparator(text, at, line);
    if (!html)
        html = looksHtml(text.sliced(at));
    if (deckColumn >= 0)
        special.append(deckColumn);
    QHash<QString, QString> typeLanguages; // a file has few note types and many notes
    for (const Record &record : records(text, at, line, separator)) {
        QList<QStringView> own;
        for (qsizetype k = 0; k < record.fields.size(); ++k)
            if (!special.contains(int(k)))
                own.append(record.fields.at(k));
        while (own.size() < 3)
            own.append(QStringView());
        NoteFields fields{own.at(0), own.at(1), own.at(2), deck};
        fields.html = *html;
        fields.undecodable = replacedIn(replaced, record.start, record.end);
        if (deckColumn >= 0 && deckColumn < record.fields.size())
            fields.deck = record.fields.at(deckColumn).trimmed();
        fields.language = language;
        if (typeColumn >= 0 && typeColumn < record.fields.size()) {
            const QString &type = record.fields.at(typeColumn);
            auto known = typeLanguages.constFind(type);
            if (known == typeLanguages.constEnd())
                known = typeLanguages.insert(type, namedlanguage(type));
            fields.language = *known;
        }
        addnote(file, record.line, fields);
    }
    return file;
}

bool looksmnemosyne(QStringView text)
{
    int seen = 0;
    for (qsizetype at = 0; at < text.size() && seen < kGuessRecords;) {
        const QStringView line = lineAt(text, at);
        if (!line.trimmed().isEmpty()) {
            if (line.count(u'\t') != 2)
                return false;
            ++seen;
        }
        at = pastLineEnd(text, at + line.size());
    }
    return seen > 0;
}

NoteFile readmnemosyne(QStringView text, const QList<qsizetype> &replaced)
{
    NoteFile file;
    file.format = NoteFile::Format::Mnemosyne;
    const bool html = looksHtml(text);
    int number = 1;
    for (qsizetype at = 0; at < text.size(); ++number) {
        const QStringView line = lineAt(text, at);
        const qsizetype start = at;
        at = pastLineEnd(text, at + line.size());
        if (line.trimmed().isEmpty())
            continue;
        // No quoting: Mnemosyne writes a field's line breaks as <br>.
        const QList<QStringView> parts = line.split(u'\t');
        const QStringView pronunciation = parts.size() > 2 ? parts.at(1) : QStringView();
        NoteFields fields{
            parts.at(0), parts.size() > 2 ? parts.at(2) : parts.value(1), pronunciation, {}};
        fields.html = html;
        fields.undecodable = replacedIn(replaced, start, start + line.size());
        addnote(file, number, fields);
    }
    return file;
}
