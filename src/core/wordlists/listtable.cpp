#include "wordlists/listtable.h"

#include "i18n/texttable.h"
#include "text/textrules.h"

#include <QHash>
#include <QSet>

namespace {
constexpr QChar kQuote = u'"';
constexpr QChar kMark = u'\'';
constexpr int kFields = 10; // the title and nine words
// A row may go on with the nine readings, and then the nine meanings, of its words.
constexpr int kWithReadings = kFields + WordSet::kWords;
constexpr int kWithMeanings = kWithReadings + WordSet::kWords;

bool isLineEnd(QChar c)
{
    return c == u'\r' || c == u'\n';
}

bool isBlankRow(const QStringList &fields)
{
    for (const QString &field : fields)
        if (!isBlankWord(field))
            return false;
    return true;
}

QString fieldname(int field, const TextTables &texts)
{
    if (field >= kWithReadings)
        return texts.uitext(QStringLiteral("frmwordlist.msgfieldmeaning"))
            .arg(field - kWithReadings + 1);
    if (field >= kFields)
        return texts.uitext(QStringLiteral("frmwordlist.msgfieldreading")).arg(field - kFields + 1);
    return field == 0 ? texts.uitext(QStringLiteral("frmsubmit.msgfieldtitle"))
                      : texts.uitext(QStringLiteral("frmsubmit.msgfieldword")).arg(field);
}

// Whether a spreadsheet would read a cell of text as a formula, or as one once an apostrophe
// is taken off: apostrophes and then one of = + - @, tab or CR.
bool readsAsFormula(QStringView text)
{
    qsizetype at = 0;
    while (at < text.size() && text.at(at) == kMark)
        ++at;
    if (at == text.size())
        return false;
    const QChar c = text.at(at);
    return c == u'=' || c == u'+' || c == u'-' || c == u'@' || c == u'\t' || c == u'\r';
}

QString csvfield(const QString &cell)
{
    const QString text = readsAsFormula(cell) ? kMark + cell : cell;
    const bool quote = text.contains(u',') || text.contains(kQuote) || text.contains(u'\r') ||
                       text.contains(u'\n') || text.contains(u'\t') ||
                       (!text.isEmpty() && (text.front().isSpace() || text.back().isSpace()));
    if (!quote)
        return text;
    QString quoted = text;
    quoted.replace(kQuote, QStringLiteral("\"\""));
    return kQuote + quoted + kQuote;
}

// The cell as export wrote it, without the mark it added.
QString unmarked(QString cell)
{
    if (cell.startsWith(kMark) && readsAsFormula(QStringView(cell).sliced(1)))
        cell.remove(0, 1);
    return cell;
}

// Whether the quote at quote, which opens a field, closes it as a table can mean it. It must
// be closed; and a field that runs over a line end must close right before a separator, a line
// end or the end, or else a stray quote took the rows after it for its field (the next quote
// it meets then opens a field of its own, and text follows it). A field of the table holds no
// line break anyway, so such a row is refused either way; read so, the rows after it are not.
bool closesWell(QStringView text, qsizetype quote, QChar separator)
{
    bool overLines = false;
    for (qsizetype at = quote + 1; at < text.size(); ++at) {
        const QChar c = text.at(at);
        if (c == kQuote && at + 1 < text.size() && text.at(at + 1) == kQuote) {
            ++at;
        } else if (c == kQuote) {
            if (!overLines || at + 1 == text.size())
                return true;
            const QChar next = text.at(at + 1);
            return next == separator || isLineEnd(next);
        } else {
            overLines = overLines || isLineEnd(c);
        }
    }
    return false;
}

// The position of the line end at or after at, or the text's end.
qsizetype lineEndFrom(QStringView text, qsizetype at)
{
    while (at < text.size() && !isLineEnd(text.at(at)))
        ++at;
    return at;
}
} // namespace

// The empty cells a spreadsheet pads a row with count only as far as needed, so a row that
// imported before is read as before.
static int rowwidth(const QStringList &fields, qsizetype filled)
{
    if (filled == kFields)
        return kFields;
    for (const int width : {kWithReadings, kWithMeanings})
        if (filled > kFields && filled <= width && fields.size() >= width)
            return width;
    return 0;
}

int importwidth(const QStringList &fields)
{
    qsizetype filled = fields.size();
    while (filled > kFields && fields.at(filled - 1).isEmpty())
        --filled;
    return rowwidth(fields, filled);
}

QChar tableseparator(QStringView text)
{
    // Only a quote that opens a field quotes, as in tablerows: 12" in a title is text. One that
    // does not close well quotes nothing, as there; either separator may follow it.
    bool quoted = false;
    bool fieldStart = true;
    for (qsizetype at = 0; at < text.size(); ++at) {
        const QChar c = text.at(at);
        if (quoted) {
            if (c == kQuote && at + 1 < text.size() && text.at(at + 1) == kQuote)
                ++at;
            else
                quoted = c != kQuote;
        } else if (c == u'\t') {
            return c;
        } else if (c == u',' || isLineEnd(c)) {
            break;
        } else {
            quoted = c == kQuote && fieldStart &&
                     (closesWell(text, at, u',') || closesWell(text, at, u'\t'));
            fieldStart = false;
        }
    }
    return u',';
}

QList<TableRow> tablerows(QStringView text, const QList<qsizetype> &replaced)
{
    const QChar separator = tableseparator(text);
    QList<TableRow> rows;
    TableRow row{1, {}};
    QString field;
    bool quoted = false;    // inside a quoted field
    bool fieldStart = true; // nothing of the field read yet
    qsizetype rowStart = 0; // where the row's text starts
    auto nextReplaced = replaced.cbegin();
    // end: where the row's text ends, its line end left out.
    auto endRow = [&](qsizetype end) {
        row.fields.append(field);
        while (nextReplaced != replaced.cend() && *nextReplaced < rowStart)
            ++nextReplaced;
        row.undecodable = nextReplaced != replaced.cend() && *nextReplaced < end;
        if (row.unclosedQuote || !isBlankRow(row.fields))
            rows.append(row);
        row = {row.number + 1, {}};
        field.clear();
        fieldStart = true;
    };
    const qsizetype size = text.size();
    for (qsizetype at = 0; at < size; ++at) {
        const QChar c = text.at(at);
        if (quoted) {
            if (c != kQuote)
                field += c;
            else if (at + 1 < size && text.at(at + 1) == kQuote)
                field += text.at(++at);
            else
                quoted = false;
        } else if (c == kQuote && fieldStart && !closesWell(text, at, separator)) {
            // Rows after it would be swallowed: the row ends with its line instead.
            row.unclosedQuote = true;
            at = lineEndFrom(text, at);
            endRow(at);
            if (at + 1 < size && text.at(at) == u'\r' && text.at(at + 1) == u'\n')
                ++at;
            rowStart = at + 1;
        } else if (c == kQuote && fieldStart) {
            quoted = true;
            fieldStart = false;
        } else if (c == separator) {
            row.fields.append(field);
            field.clear();
            fieldStart = true;
        } else if (isLineEnd(c)) {
            endRow(at);
            if (c == u'\r' && at + 1 < size && text.at(at + 1) == u'\n')
                ++at;
            rowStart = at + 1;
        } else {
            // A quote inside an unquoted field, or text after a closing quote, is kept as it
            // stands, as spreadsheets do.
            field += c;
            fieldStart = false;
        }
    }
    if (!fieldStart || !row.fields.isEmpty())
        endRow(size);
    return rows;
}

ImportCheck checkimport(const QList<TableRow> &rows, const WordListStore &store,
                        const ImportProgress &progress)
{
    constexpr qsizetype kProgressEvery = 1024;
    ImportCheck check;
    // Looked up in a hash, not with Find, which walks every list: a table of many rows checked
    // against a store of many lists would take the square of them.
    QSet<QString> inStore;
    inStore.reserve(store.Count());
    for (int p = 1; p <= store.Count(); ++p)
        inStore.insert(store.Get(p).title);
    QHash<QString, int> taken; // title -> the accepted row that has it
    for (qsizetype n = 0; n < rows.size(); ++n) {
        if (progress && n % kProgressEvery == 0 && !progress(n, rows.size())) {
            check.cancelled = true;
            return check;
        }
        const TableRow &row = rows.at(n);
        if (check.lists.size() == kMaxImportedLists) {
            check.stoppedAt = row.number;
            break;
        }
        ImportRefusal refusal;
        refusal.row = row.number;
        auto refuse = [&](ImportRefusal::Kind kind, int field = 0) {
            refusal.kind = kind;
            refusal.field = field;
            check.refused.append(refusal);
        };
        if (row.unclosedQuote) {
            refuse(ImportRefusal::Kind::UnclosedQuote);
            continue;
        }
        if (row.undecodable) {
            refuse(ImportRefusal::Kind::Undecodable);
            continue;
        }
        QStringList fields = row.fields;
        // A spreadsheet pads every row to its widest one with empty cells.
        qsizetype filled = fields.size();
        while (filled > kFields && fields.at(filled - 1).isEmpty())
            --filled;
        const int width = rowwidth(fields, filled);
        if (width == 0) {
            refusal.count = int(filled);
            refuse(ImportRefusal::Kind::FieldCount);
            continue;
        }
        fields.resize(width);
        int blank = -1;
        int broken = -1;
        int control = -1;
        for (int k = width - 1; k >= 0; --k) {
            const QString &field = fields[k] = unmarked(fields.at(k));
            // A reading or a meaning may be left out.
            if (k < kFields && isBlankWord(field))
                blank = k;
            if (field.contains(u'\r') || field.contains(u'\n'))
                broken = k;
            if (holdsControl(field))
                control = k;
        }
        if (blank >= 0) {
            refuse(ImportRefusal::Kind::Empty, blank);
            continue;
        }
        if (broken >= 0) {
            refuse(ImportRefusal::Kind::LineBreak, broken);
            continue;
        }
        if (control >= 0) {
            refuse(ImportRefusal::Kind::Control, control);
            continue;
        }
        refusal.title = fields.at(0);
        if (inStore.contains(refusal.title)) {
            refuse(ImportRefusal::Kind::TitleInUse);
            continue;
        }
        if (const auto earlier = taken.constFind(refusal.title); earlier != taken.cend()) {
            refusal.earlierRow = *earlier;
            refuse(ImportRefusal::Kind::TitleRepeated);
            continue;
        }
        taken.insert(refusal.title, row.number);
        WordSet list = WordSet::fromTexts(fields.at(0), fields.mid(1));
        for (int k = 0; k < WordSet::kWords; ++k) {
            if (width >= kWithReadings)
                list.words[k].reading = fields.at(kFields + k);
            if (width >= kWithMeanings)
                list.words[k].meaning = fields.at(kWithReadings + k);
        }
        check.lists.append(list);
    }
    if (progress && !progress(rows.size(), rows.size()))
        check.cancelled = true;
    return check;
}

QString refusaltext(const ImportRefusal &refusal, const TextTables &texts)
{
    QString why;
    switch (refusal.kind) {
    case ImportRefusal::Kind::FieldCount:
        why = texts.uitext(QStringLiteral("frmwordlist.msgimportfields")).arg(refusal.count);
        break;
    case ImportRefusal::Kind::Empty:
        why =
            texts.uitext(QStringLiteral("frmsubmit.msgempty")).arg(fieldname(refusal.field, texts));
        break;
    case ImportRefusal::Kind::LineBreak:
        why = texts.uitext(QStringLiteral("frmwordlist.msgimportbreak"))
                  .arg(fieldname(refusal.field, texts));
        break;
    case ImportRefusal::Kind::TitleInUse:
        why = texts.uitext(QStringLiteral("frmwordlist.msgimporttaken")).arg(refusal.title);
        break;
    case ImportRefusal::Kind::TitleRepeated:
        why = texts.uitext(QStringLiteral("frmwordlist.msgimportrepeated"))
                  .arg(refusal.title, QString::number(refusal.earlierRow));
        break;
    case ImportRefusal::Kind::UnclosedQuote:
        why = texts.uitext(QStringLiteral("frmwordlist.msgimportquote"));
        break;
    case ImportRefusal::Kind::Undecodable:
        why = texts.uitext(QStringLiteral("frmwordlist.msgimportundecodable"));
        break;
    case ImportRefusal::Kind::Control:
        why = texts.uitext(QStringLiteral("frmwordlist.msgimportcontrol"))
                  .arg(fieldname(refusal.field, texts));
        break;
    }
    return texts.uitext(QStringLiteral("frmwordlist.msgimportrow"))
        .arg(QString::number(refusal.row), why);
}

QString stoppedtext(const ImportCheck &check, const TextTables &texts)
{
    return texts.uitext(QStringLiteral("frmwordlist.msgimportcap"))
        .arg(QString::number(kMaxImportedLists), QString::number(check.stoppedAt));
}

QByteArray exportlists(const QList<WordSet> &lists)
{
    bool glossed = false;
    for (const WordSet &list : lists)
        for (const Word &word : list.words)
            glossed = glossed || !word.reading.isEmpty() || !word.meaning.isEmpty();
    QString text;
    for (const WordSet &list : lists) {
        text += csvfield(list.title);
        for (const Word &word : list.words)
            text += u',' + csvfield(word.text);
        // The columns import takes after the words: the nine readings, then the nine meanings.
        if (glossed) {
            for (const Word &word : list.words)
                text += u',' + csvfield(word.reading);
            for (const Word &word : list.words)
                text += u',' + csvfield(word.meaning);
        }
        text += QStringLiteral("\r\n");
    }
    return QByteArrayLiteral("\xEF\xBB\xBF") + text.toUtf8();
}
