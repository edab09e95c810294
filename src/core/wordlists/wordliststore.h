#pragma once

#include "engine/wordset.h"
#include "text/result.h"
#include "wordlists/glossary.h"

#include <QList>
#include <QString>

#include <optional>

// What a change of lists.txt did, or the message that tells the user why lists.txt could not be
// read or written. Either way backup is the full path of the copy of lists.txt that the change
// kept, if it did: a copy is kept before a write that may then fail.
struct StoreChange {
    int position = 0; // Add: where the new list now stands
    QString backup;
};
struct StoreFailure {
    QString message;
    QString backup;
};
using StoreResult = Result<StoreChange, StoreFailure>;
// The copy of lists.txt a change kept, whether or not the change went through.
inline const QString &keptcopy(const StoreResult &result)
{
    return result ? result->backup : result.error().backup;
}

// The path of lists.txt in a data folder.
QString wordlistfile(const QString &dataFolder);

// Copies seed to file when no file of that name exists. A failed copy is silent: Load then
// reports the missing file. Also clears what a rewrite killed half-way left beside the file.
void seedwordlists(const QString &file, const QString &seed);

// Every list the player can choose from: the three built-in lists at positions 1 to 3, then the
// user's lists of lists.txt in file order. Positions count from 1. Texts are kept exactly as
// given, untrimmed, except that a line break becomes a space. Every change rewrites the whole
// file before it returns; the store never shows a message.
//
// lists.txt: UTF-16 LE with FF FE, CR LF after every line. Line 1 is a header that is written
// back as it was read; then ten lines per user list: "<<" + title, word 1 .. word 9.
//
// A file that was not read cleanly may hold more than its lists show, so before its first
// rewrite it is copied to lists.txt.bak beside it. That copy is made once and never replaced;
// when it cannot be made, nothing is rewritten.
class WordListStore {
public:
    static constexpr int kBuiltIn = 3;

    explicit WordListStore(QString file);

    const QString &file() const { return file_; }
    const QString &header() const { return header_; }

    // Built-in lists, then the lists of the file. A file that cannot be read leaves the built-in
    // lists and the header "memouserlist", and the result says "Cannot open file ...".
    StoreResult Load();

    int Count() const { return kBuiltIn + int(user_.size()); }
    // position 1 .. Count.
    const WordSet &Get(int position) const;
    // The first position whose title equals title code unit by code unit, built-in lists too.
    std::optional<int> Find(const QString &title) const;

    // Add, Replace and Remove change the store only when the file could be rewritten, so that
    // the store never holds a change that lists.txt lacks. Replace and Remove take a user
    // position (4 .. Count); any other leaves everything as it is.
    StoreResult Add(const WordSet &list);
    // Appends every list in one rewrite: all of them are added, or none. position: the last.
    StoreResult AddMany(const QList<WordSet> &lists);
    StoreResult Replace(int position, const WordSet &list);
    StoreResult Remove(int position);
    // A failed write keeps the old file whole. The result says "Cannot create file ..." then.
    StoreResult Save();

    // The readings and meanings of words (glossary.json beside lists.txt): Add, AddMany and
    // Replace record those their lists bring, before lists.txt is written; the lists themselves
    // keep texts only. The program's one glossary when set, else the store's own.
    void setGlossary(Glossary *glossary) { shared_ = glossary; }
    Glossary &glossary();
    // Records the readings and meanings of list's words as edited, emptied ones too.
    StoreResult editGlosses(const WordSet &list);

private:
    bool isUserPosition(int position) const { return position > kBuiltIn && position <= Count(); }
    StoreResult keepOriginal();
    StoreResult write(const QList<WordSet> &user);
    StoreResult commit(QList<WordSet> user, const QList<WordSet> &glossed);

    QString file_;
    QString header_;
    QList<WordSet> user_;
    bool keepOriginal_ = false; // lists.txt was not read cleanly and has not been copied yet
    Glossary *shared_ = nullptr;
    Glossary own_;
    bool ownRead_ = false;
};
