#pragma once

#include "text/result.h"

#include <QString>

#include <array>

struct SavedGame;

// The game in play is kept here so that closing the window loses nothing: the next start
// resumes it, and Load Saved Game offers it like any other saved game.
QString autosavefile();
QString autosavefile(const QString &savesFolder);

// Writes an unsolved game to file as Save does, or removes the file for a solved one: a
// finished puzzle is nothing to come back to. Fails with the system's reason when the file could
// not be written or removed.
Status keepgame(const QString &file, const SavedGame &game, bool solved);

// The notes of the kept game, which a saved game's bytes have no room for, beside it in
// "autosave.wrd.notes": the game's solution line, then the 81 cells' notes (bit k - 1 for word
// k) as numbers, column by column. No notes, or a solved game, leave no such file.
QString notesfile(const QString &keptFile);
Status keepnotes(const QString &keptFile, const SavedGame &game,
                 const std::array<quint16, 81> &notes, bool solved);
// The notes kept for game; none when the file is missing, damaged or of another game.
std::array<quint16, 81> readnotes(const QString &keptFile, const SavedGame &game);

// Where a kept game that cannot be read is moved at start-up, so that the next game does not
// write over what may still be looked at or mended by hand.
QString damagedcopy(const QString &file);

// Moves file to damagedcopy(file), replacing an older damaged copy there. Fails with the
// system's reason; file then stays where it was.
Status putaside(const QString &file);
