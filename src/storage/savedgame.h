#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <array>
#include <variant>

// A game as a ".wrd" file keeps it: 14 lines of UTF-16 text. Cells run in the model's order,
// column by column (position p is column (p-1)/9+1, row (p-1)%9+1).
struct SavedGame {
    std::array<int, 81> solution{}; // word numbers 1..9
    std::array<bool, 81> given{};
    std::array<int, 81> board{}; // the word number a cell shows, 0 for an empty cell
    int level = 0;               // any number: a file may carry one the game never deals
    QString title;
    QStringList words; // nine

    // The file's bytes: FF FE, then the 14 lines, each ended by CR LF. A line break in the title
    // or a word is written as a space.
    QByteArray toBytes() const;
};

// Why a text is no saved game; the message names the line and position.
struct SavedGameError {
    QString message;
};

// Reads a saved game from its decoded text. Lines may end in CR LF, CR or LF; missing lines 5
// to 14 read as empty. Everything is checked before anything is returned, so a damaged file
// can never become half a game.
std::variant<SavedGame, SavedGameError> parseSavedGame(const QString &text);

// File dialogs' filter and suffix for saved games.
QString savedGameFilter();
inline constexpr char kSavedGameSuffix[] = "wrd";
