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

// What the kept game's bytes have no room for: the player's notes and the time played.
struct KeptPlay {
    std::array<quint16, 81> notes{}; // bit k - 1 for word k
    qint64 seconds = 0;

    bool isEmpty() const;
    friend bool operator==(const KeptPlay &a, const KeptPlay &b)
    {
        return a.notes == b.notes && a.seconds == b.seconds;
    }
};

// Beside the kept game in "autosave.wrd.play": the game's solution line, the 81 cells' notes as
// numbers column by column, then the seconds played. Nothing to keep, or a solved game, leave
// no such file.
QString playfile(const QString &keptFile);
Status keepplay(const QString &keptFile, const SavedGame &game, const KeptPlay &play, bool solved);
// What was kept for game; nothing when the file is missing, damaged or of another game.
KeptPlay readplay(const QString &keptFile, const SavedGame &game);

// Where a kept game that cannot be read is moved at start-up, so that the next game does not
// write over what may still be looked at or mended by hand.
QString damagedcopy(const QString &file);

// Moves file to damagedcopy(file), replacing an older damaged copy there. Fails with the
// system's reason; file then stays where it was.
Status putaside(const QString &file);
