#pragma once

#include "importers/notes.h"
#include "text/result.h"
#include "text/textfile.h"
#include "wordlists/listtable.h"

#include <QList>
#include <QString>
#include <QStringList>

class TextTables;
class WordListStore;

// One file to import lists from: a table of word lists (listtable.h), or a learner's flash-card
// file whose notes are dealt into lists of nine.
struct ImportSource {
    enum class Kind { Table, Notes };
    Kind kind = Kind::Table;
    TextFile table; // Table: the file's text
    NoteFile notes; // Notes
    QString name;   // the file's base name, the title of lists whose deck has no name
};

// Tells the format by the bytes first, then the name: a zip (or .apkg, .colpkg) is an Anki
// package, a <kvtml> root (or .kvtml) KDE Parley's; text is Anki's export when it starts with
// its header lines, a table of ours when a row has the width of one (or, named .csv or .tsv,
// more than three fields), Mnemosyne's when its lines have three tab-separated fields, else
// Anki's export without headers.
Result<ImportSource, NoteFileProblem> readimportsource(const QString &path);
// The problem as a sentence, in the current language.
QString problemtext(const NoteFileProblem &problem, const TextTables &texts);

// The notes dealt into lists: each deck's notes in file order, nine to a list, titled after the
// deck (else the file's title, else its base name) with " 1", " 2", ... when the deck fills
// more than one, each in the language its notes agree on. A word its deck has already is left
// out, since a list's nine words must differ
// for the board to tell them apart, and so is every note after the deck's last full nine. The
// titles are checked as checkimport checks a table's.
struct NoteImport {
    QList<WordSet> lists;
    QList<ImportRefusal> refusedLists; // row: the list's place among those dealt, from 1
    QList<NoteRefusal> leftOut;        // in file order
    QStringList dealtTitles;           // of every list dealt, refused too
    int stoppedAt = 0;                 // the first list not checked, past kMaxImportedLists
    bool cancelled = false;
};
NoteImport checknotes(const ImportSource &source, const WordListStore &store,
                      const ImportProgress &progress = {});

// One line each, in the current language.
QString addedtext(const WordSet &list, const TextTables &texts);
QString notetext(const NoteRefusal &refusal, NoteFile::Format format, const TextTables &texts);
QString listrefusaltext(const NoteImport &import, const ImportRefusal &refusal,
                        const TextTables &texts);
QString liststoppedtext(const NoteImport &import, const TextTables &texts);

// What an import found, as both the Word List dialog and the command line report it.
struct ImportOutcome {
    QList<WordSet> lists; // to add, in order
    QStringList notAdded; // a line for each row, list or note left out, in order
    QString stopped;      // that the import stopped at kMaxImportedLists, else empty
    bool cancelled = false;
};
ImportOutcome checksource(const ImportSource &source, const WordListStore &store,
                          const TextTables &texts, const ImportProgress &progress = {});

// vaskelio --import FILE: the lists of the file added to the store in one write. out gets a line
// per list added and per row, list or note left out; err what went wrong. status: 0 when a list
// was added, 2 when the file is not understood or gives no list, 1 when the store could not be
// written.
struct ImportRun {
    int status = 0;
    QStringList out;
    QStringList err;
};
ImportRun runimport(const QString &path, WordListStore &store, const TextTables &texts);
