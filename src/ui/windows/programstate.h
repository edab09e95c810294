#pragma once

#include "i18n/texttable.h"
#include "storage/settings.h"

#include <QString>

// What the program's windows share besides the game in play (GameSession): the text tables and
// the values that the settings carry between runs. The main window fills it at start-up; dialogs
// created after it take their remembered values from here.
struct ProgramState {
    TextTables texts;
    SettingsState settings; // langid is kept in texts while the program runs
    QString listsfile;      // lists.txt in the data folder, fixed for the run at start-up
};
