#pragma once

#include "engine/wordset.h"
#include "text/result.h"

#include <QHash>
#include <QString>

#include <array>

// What a learner keeps of a word beside its text.
struct Gloss {
    QString reading;
    QString meaning;

    bool isEmpty() const { return reading.isEmpty() && meaning.isEmpty(); }
    friend bool operator==(const Gloss &a, const Gloss &b)
    {
        return a.reading == b.reading && a.meaning == b.meaning;
    }
};

// The readings and meanings of words, kept by the word's text in glossary.json in the data
// folder rather than in lists.txt, whose bytes older versions read: so editing, reordering or
// renaming a list keeps them, and a saved game, which holds texts only, finds them again. The
// program's own lists bring theirs in a seed that ships with it; an entry of the user's file
// wins over the seed's, an empty one included (a meaning the user took away).
//
// The language a list is spoken in is kept there too, by the list's title, where the learner or
// an import named one; lists.txt stays as older versions read it.
//
// glossary.json: {"format": 1, "words": {"苹果": {"reading": "píngguǒ", "meaning": "apple"}},
//                 "lists": {"曜日": {"language": "ja"}}}.
// A seed meaning may be an object by language, {"en": ..., "zh": ..., "ja": ...}. "lists" is
// left out while no list names a language, and older versions, which read "words" only, read a
// file with it as before. A list entry without a language takes the seed's away.
class Glossary {
public:
    // The path of glossary.json in a data folder.
    static QString fileIn(const QString &dataFolder);
    // The seed embedded in the program.
    static QString builtInSeed();

    Glossary() = default;
    // The user's file over the seed. A missing file is an empty one. A file that cannot be read
    // or is no glossary fails, and the glossary read as far as it goes keeps it from being
    // written over (save() fails), so that nothing in it is lost.
    static Glossary read(const QString &file, const QString &seed = builtInSeed());

    // Why the user's file could not be read; empty when it could.
    const QString &problem() const { return problem_; }
    const QString &file() const { return file_; }

    // The word's reading and meaning; the meaning of the language langid (0 English, 1 Chinese,
    // 2 Japanese) where the seed has one per language.
    Gloss find(const QString &word, int langid) const;
    // The language named for the list of that title; empty when none is.
    QString language(const QString &title) const;
    // Fills every word of set that has neither reading nor meaning, and set's language from its
    // title when it has none.
    void fill(WordSet &set, int langid) const;
    // Records the readings and meanings of set's words and its language under its title: only
    // those given, or, when editing, the emptied ones too. True when anything changed.
    bool take(const WordSet &set, bool editing);
    // Writes the user's entries whole; nothing is written while problem() is set.
    Status save() const;

private:
    struct SeedGloss {
        QString reading;
        std::array<QString, 3> meanings; // by language; all three alike for a plain meaning
    };
    static QString key(const QString &word);
    static QString titleKey(const QString &title);

    QString file_;
    QString problem_;
    QHash<QString, Gloss> user_;
    QHash<QString, SeedGloss> seed_;
    QHash<QString, QString> userLanguages_; // by the list's title; empty: the seed's taken away
    QHash<QString, QString> seedLanguages_;
};
