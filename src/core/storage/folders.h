#pragma once

#include <QString>

#include <functional>

// The folder of the program file, with a trailing separator.
QString programfolder();

// Where a read-only file of the program's own (the seed lists.txt) is: beside the program in a
// build tree or on Windows, else in the installed share/vaskelio folder. Never empty.
QString programdatafile(const QString &name);

// The user's data folder with a trailing separator: Windows: the roaming application-data folder
// + "\Vaskelio\"; elsewhere: $XDG_DATA_HOME/Vaskelio/ (default ~/.local/share/Vaskelio/).
// Worked out afresh on every call.
QString datafolder();

// The folder of saved games, datafolder() + "saves", without a trailing separator.
QString savesfolder();
QString savesfolder(const QString &dataFolder);

// Receives the data folder; it decides for itself whether anything needs seeding.
using FolderSeeder = std::function<void(const QString &dataFolder)>;

// The start-up step: creates the data folder and its "saves" folder where they are missing,
// clears what a save killed half-way left in "saves", then runs seed. A folder that cannot be
// created is not reported: the program runs on without it.
void preparefolders(const FolderSeeder &seed = {});
void preparefolders(const QString &dataFolder, const FolderSeeder &seed = {});
