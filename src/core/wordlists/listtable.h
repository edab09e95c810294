#pragma once

#include "wordlists/wordliststore.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>

class TextTables;

// Word lists as a table a spreadsheet reads and writes: one list per row, the title and then
// the nine words, comma-separated (quoted as RFC 4180 does) or tab-separated. On import a row
// may go on with the nine words' readings (19 fields) and then their meanings (28 fields); either
// may be blank. Export writes the title and the words only, as lists.txt keeps no more.

// A row of the table, numbered from 1 as a spreadsheet shows it: a line break inside quotes
// does not start a row, an empty line does.
struct TableRow {
    int number = 0;
    QStringList fields;
    // A quote opened on this row is never closed, or only by the quote of a later cell across
    // line ends: the row ends with its line, its fields cut off at the quote, and the next row
    // starts on the next line.
    bool unclosedQuote = false;
    // The row holds a character that stands for bytes that did not decode.
    bool undecodable = false;
};

// A tab before any comma on the first row (quoted text aside) makes the table tab-separated.
QChar tableseparator(QStringView text);
// The rows of decoded text. CR LF, CR and LF end a row outside quotes; a final line end starts
// no row. Rows whose every field is blank are left out, their numbers kept. replaced: where
// the decoder replaced bytes (DecodedText::replaced), in order.
QList<TableRow> tablerows(QStringView text, const QList<qsizetype> &replaced = {});

// How many fields checkimport reads the row as: 10, 19 with the readings, 28 with the meanings
// too; 0 when it has too few or too many for any of them (empty cells at its end not counted).
int importwidth(const QStringList &fields);

// Why a row was not imported.
struct ImportRefusal {
    enum class Kind {
        FieldCount,
        Empty,
        LineBreak,
        TitleInUse,
        TitleRepeated,
        UnclosedQuote,
        Undecodable,
        Control,
    };
    int row = 0;
    Kind kind = Kind::FieldCount;
    int field = 0;      // Empty, LineBreak, Control: 0 the title, 1..9 a word, 10..18 its
                        // reading, 19..27 its meaning
    int count = 0;      // FieldCount: the fields the row has
    QString title;      // TitleInUse, TitleRepeated
    int earlierRow = 0; // TitleRepeated: the row that has the title
};

// The most lists one import adds: far more than anyone plays with, few enough for the list of
// titles and lists.txt to stay quick.
inline constexpr int kMaxImportedLists = 10000;

// Called now and then while rows are checked; false stops the check.
using ImportProgress = std::function<bool(qsizetype done, qsizetype total)>;

// The rows checked as the Append dialog checks a list: ten fields (or 19 or 28 with readings and
// meanings), the first ten not blank, none holding a control character, a title that no list of the
// store and no earlier accepted row has. A list is kept exactly as the row gives it, but for the
// mark that keeps a spreadsheet from reading a cell as a formula, so a text the store cannot keep
// on one line is refused rather than changed.
struct ImportCheck {
    QList<WordSet> lists; // the accepted rows, in table order
    QList<ImportRefusal> refused;
    int stoppedAt = 0;      // the first row left unread once kMaxImportedLists were accepted
    bool cancelled = false; // progress said stop; lists and refused are then incomplete
};
ImportCheck checkimport(const QList<TableRow> &rows, const WordListStore &store,
                        const ImportProgress &progress = {});

// "Row 4: the title "Animals" is already in use", in the current language.
QString refusaltext(const ImportRefusal &refusal, const TextTables &texts);
// That the check stopped at kMaxImportedLists, and the first row it left unread.
QString stoppedtext(const ImportCheck &check, const TextTables &texts);

// The lists as UTF-8 CSV with a byte-order mark and CR LF after every row, fields quoted where
// a comma, a quote, a line break or an outer space would otherwise be lost. A text a spreadsheet
// would take for a formula (one starting with = + - @, a tab or a CR) gets a leading apostrophe,
// which marks a cell as text; so does a text of apostrophes before one of those, so that import
// can take off exactly one apostrophe wherever one is followed by such a text.
// Where any word has a reading or a meaning, every row goes on with the nine readings and the
// nine meanings (28 fields), as import reads them; otherwise a row is the title and the words.
QByteArray exportlists(const QList<WordSet> &lists);
