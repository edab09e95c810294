#pragma once

#include "text/result.h"

#include <QString>

struct SavedGame;

// The game in play is kept here so that closing the window loses nothing; Load Saved Game
// offers it like any other saved game.
QString autosavefile();
QString autosavefile(const QString &savesFolder);

// Writes an unsolved game to file as Save does, or removes the file for a solved one: a
// finished puzzle is nothing to come back to. Fails with the system's reason when the file could
// not be written or removed.
Status keepgame(const QString &file, const SavedGame &game, bool solved);
