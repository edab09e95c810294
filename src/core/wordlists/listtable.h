#pragma once

#include "wordlists/wordliststore.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

class TextTables;

// Word lists as a table a spreadsheet reads and writes: one list per row, the title and then
// the nine words, comma-separated (quoted as RFC 4180 does) or tab-separated.

// A row of the table, numbered from 1 as a spreadsheet shows it: a line break inside quotes
// does not start a row, an empty line does.
struct TableRow {
    int number = 0;
    QStringList fields;
};

// A tab before any comma on the first row (quoted text aside) makes the table tab-separated.
QChar tableseparator(QStringView text);
// The rows of decoded text. CR LF, CR and LF end a row outside quotes; a final line end starts
// no row. Rows whose every field is blank are left out, their numbers kept.
QList<TableRow> tablerows(QStringView text);

// Why a row was not imported.
struct ImportRefusal {
    enum class Kind { FieldCount, Empty, LineBreak, TitleInUse, TitleRepeated };
    int row = 0;
    Kind kind = Kind::FieldCount;
    int field = 0;      // Empty, LineBreak: 0 the title, 1..9 a word
    int count = 0;      // FieldCount: the fields the row has
    QString title;      // TitleInUse, TitleRepeated
    int earlierRow = 0; // TitleRepeated: the row that has the title
};

// The rows checked as the Append dialog checks a list: ten fields, none blank, a title that no
// list of the store and no earlier accepted row has. A list is kept exactly as the row gives it,
// so a text the store cannot keep on one line is refused rather than changed.
struct ImportCheck {
    QList<WordList> lists; // the accepted rows, in table order
    QList<ImportRefusal> refused;
};
ImportCheck checkimport(const QList<TableRow> &rows, const WordListStore &store);

// "Row 4: the title "Animals" is already in use", in the current language.
QString refusaltext(const ImportRefusal &refusal, const TextTables &texts);

// The lists as UTF-8 CSV with a byte-order mark and CR LF after every row, fields quoted where
// a comma, a quote, a line break or an outer space would otherwise be lost.
QByteArray exportlists(const QList<WordList> &lists);
