#include "wordlists/listtable.h"

#include "i18n/texttable.h"
#include "text/textrules.h"

#include <QHash>

namespace {
constexpr QChar kQuote = u'"';
constexpr int kFields = 10; // the title and nine words

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
    return field == 0 ? texts.uitext(QStringLiteral("frmsubmit.msgfieldtitle"))
                      : texts.uitext(QStringLiteral("frmsubmit.msgfieldword")).arg(field);
}

QString csvfield(const QString &text)
{
    const bool quote = text.contains(u',') || text.contains(kQuote) || text.contains(u'\r') ||
                       text.contains(u'\n') || text.contains(u'\t') ||
                       (!text.isEmpty() && (text.front().isSpace() || text.back().isSpace()));
    if (!quote)
        return text;
    QString quoted = text;
    quoted.replace(kQuote, QStringLiteral("\"\""));
    return kQuote + quoted + kQuote;
}
} // namespace

QChar tableseparator(QStringView text)
{
    // Only a quote that opens a field quotes, as in tablerows: 12" in a title is text.
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
            quoted = c == kQuote && fieldStart;
            fieldStart = false;
        }
    }
    return u',';
}

QList<TableRow> tablerows(QStringView text)
{
    const QChar separator = tableseparator(text);
    QList<TableRow> rows;
    TableRow row{1, {}};
    QString field;
    bool quoted = false;    // inside a quoted field
    bool fieldStart = true; // nothing of the field read yet
    auto endRow = [&] {
        row.fields.append(field);
        if (!isBlankRow(row.fields))
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
        } else if (c == kQuote && fieldStart) {
            quoted = true;
            fieldStart = false;
        } else if (c == separator) {
            row.fields.append(field);
            field.clear();
            fieldStart = true;
        } else if (isLineEnd(c)) {
            if (c == u'\r' && at + 1 < size && text.at(at + 1) == u'\n')
                ++at;
            endRow();
        } else {
            // A quote inside an unquoted field, or text after a closing quote, is kept as it
            // stands, as spreadsheets do.
            field += c;
            fieldStart = false;
        }
    }
    if (!fieldStart || !row.fields.isEmpty())
        endRow();
    return rows;
}

ImportCheck checkimport(const QList<TableRow> &rows, const WordListStore &store)
{
    ImportCheck check;
    QHash<QString, int> taken; // title -> the accepted row that has it
    for (const TableRow &row : rows) {
        QStringList fields = row.fields;
        // A spreadsheet pads every row to its widest one with empty cells.
        while (fields.size() > kFields && fields.constLast().isEmpty())
            fields.removeLast();
        ImportRefusal refusal;
        refusal.row = row.number;
        auto refuse = [&](ImportRefusal::Kind kind, int field = 0) {
            refusal.kind = kind;
            refusal.field = field;
            check.refused.append(refusal);
        };
        if (fields.size() != kFields) {
            refusal.count = int(fields.size());
            refuse(ImportRefusal::Kind::FieldCount);
            continue;
        }
        int blank = -1;
        int broken = -1;
        for (int n = kFields - 1; n >= 0; --n) {
            if (isBlankWord(fields.at(n)))
                blank = n;
            if (fields.at(n).contains(u'\r') || fields.at(n).contains(u'\n'))
                broken = n;
        }
        if (blank >= 0) {
            refuse(ImportRefusal::Kind::Empty, blank);
            continue;
        }
        if (broken >= 0) {
            refuse(ImportRefusal::Kind::LineBreak, broken);
            continue;
        }
        refusal.title = fields.at(0);
        if (store.Find(refusal.title)) {
            refuse(ImportRefusal::Kind::TitleInUse);
            continue;
        }
        if (const auto earlier = taken.constFind(refusal.title); earlier != taken.cend()) {
            refusal.earlierRow = *earlier;
            refuse(ImportRefusal::Kind::TitleRepeated);
            continue;
        }
        taken.insert(refusal.title, row.number);
        WordList list{fields.at(0), {}};
        for (int k = 0; k < 9; ++k)
            list.words[k] = fields.at(k + 1);
        check.lists.append(list);
    }
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
    }
    return texts.uitext(QStringLiteral("frmwordlist.msgimportrow"))
        .arg(QString::number(refusal.row), why);
}

QByteArray exportlists(const QList<WordList> &lists)
{
    QString text;
    for (const WordList &list : lists) {
        text += csvfield(list.title);
        for (const QString &word : list.words)
            text += u',' + csvfield(word);
        text += QStringLiteral("\r\n");
    }
    return QByteArrayLiteral("\xEF\xBB\xBF") + text.toUtf8();
}
