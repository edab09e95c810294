#pragma once

#include "engine/wordset.h"
#include "text/result.h"

#include <QByteArray>
#include <QString>

#include <array>

// A game as a ".wrd" file keeps it: 14 lines of UTF-16 text. Cells run in the model's order,
// column by column (position p is column (p-1)/9+1, row (p-1)%9+1).
struct SavedGame {
    std::array<int, 81> solution{}; // word numbers 1..9
    std::array<bool, 81> given{};
    std::array<int, 81> board{}; // the word number a cell shows, 0 for an empty cell
    int level = 0;               // any number: a file may carry one the game never deals
    WordSet words;

    // The file's bytes: FF FE, then the 14 lines, each ended by CR LF. A line break in the title
    // or a word is written as a space.
    QByteArray toBytes() const;
};

class TextTables;

// Why a file is no saved game, or could not be read.
struct SavedGameError {
    enum class Kind {
        Unreadable,    // reason holds the system's description
        NotAFile,      // a folder, pipe, socket or device
        TooLarge,      // more than kMaxSavedGameBytes
        CutCharacter,  // UTF-16 with an odd number of bytes; line is the last one
        Digit,         // line, position: no digit from digit to 9 there
        Level,         // line 4 is no decimal number
        NotAGrid,      // line 1 is not a completed Sudoku grid
        GivenMismatch, // line 3, position: a given cell must show its solution digit
    };
    Kind kind = Kind::Unreadable;
    int line = 0;     // 1..14, or 0 for the file as a whole
    int position = 0; // 1..81 in a cell line
    int digit = 0;    // Digit: the lowest one allowed; GivenMismatch: the one the cell needs
    QString reason;

    // For the player, in the current language: "This is not a saved game: line ...".
    QString message(const TextTables &texts) const;
};

template<typename T> using SavedGameRead = Result<T, SavedGameError>;

// No saved game comes near this; a larger file is refused before it is read, so a wrong pick in
// the open dialog cannot fill the memory.
inline constexpr qint64 kMaxSavedGameBytes = 1024 * 1024;

// Reads a saved game from its decoded text. Lines may end in CR LF, CR or LF; missing lines 5
// to 14 read as empty. Everything is checked before anything is returned, so a damaged file
// can never become half a game: the solution must be a completed grid and every given cell must
// show its solution.
SavedGameRead<SavedGame> parseSavedGame(const QString &text);

// Reads and checks a saved-game file. Never blocks: anything but a regular file is refused
// before it is opened.
SavedGameRead<SavedGame> readSavedGame(const QString &path);

// File dialogs' filter and suffix for saved games.
QString savedGameFilter();
inline constexpr char kSavedGameSuffix[] = "wrd";
