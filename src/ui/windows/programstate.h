#pragma once

#include "game/learnerstats.h"
#include "i18n/texttable.h"
#include "storage/settings.h"
#include "wordlists/glossary.h"

#include <QString>

// What the program's windows share besides the game in play (GameSession): the text tables and
// the values that the settings carry between runs. The main window fills it at start-up; dialogs
// created after it take their remembered values from here.
struct ProgramState {
    TextTables texts;
    SettingsState settings; // langid is kept in texts while the program runs
    QString listsfile;      // lists.txt in the data folder, fixed for the run at start-up
    Glossary glossary;      // readings and meanings by the word, glossary.json beside it
    LearnerStats stats;     // games and the words mixed up, statistics.json beside it

    // words with the readings and meanings the glossary has for them in the language in force,
    // and the language their list is spoken in.
    WordSet glossed(WordSet words) const
    {
        for (Word &word : words.words)
            word = Word(word.text);
        words.language.clear();
        glossary.fill(words, texts.langid());
        return words;
    }
};
