#pragma once

#include "engine/qj.h"
#include "engine/rules.h"
#include "i18n/texttable.h"
#include "storage/settings.h"

#include <QStringList>

// What the program's windows share: the game in play, the text tables and the values that the
// settings carry between runs. The main window fills it at start-up; dialogs created after it
// take their remembered values from here.
struct ProgramState {
    TQJ QJ1;
    int curlevel = 0;
    QStringList curwords;    // the nine words of the game in play, word k at index k - 1
    PaletteList TntListBox1; // the palette's words and the selected one
    QString Edit1;           // title of the word list in play
    TextTables texts;
    SettingsState settings; // langid is kept in texts while the program runs
    QString listsfile;      // lists.txt in the data folder, fixed for the run at start-up
};
