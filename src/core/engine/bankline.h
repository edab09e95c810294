#pragma once

#include "text/result.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QChar>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>

// The one reading and writing of a puzzle-bank line, shared by the game, vaskelio-bank and the
// tests. A line is 81 characters, column by column: character 9 * (i - 1) + (j - 1) is column i,
// row j. "1".."9" is a given cell showing that word; "A".."I" a cell to fill whose solution is
// word 1..9.
namespace bankline {

constexpr int kCells = 81;
using Grid = std::array<std::uint8_t, kCells>; // 0 for an empty cell

struct Cell {
    bool given = false;
    int value = 0; // 1..9
};
// The cell a character stands for, or nothing for a character no bank line holds.
std::optional<Cell> cellOf(QChar c);
char charOf(bool given, int value);

struct Puzzle {
    Grid givens{};
    Grid solution{};
};
// The puzzle of a line, or why it is none, in English, e.g. "80 characters, 81 expected".
Result<Puzzle> decode(QByteArrayView line);
QByteArray encode(const Grid &givens, const Grid &solution);

// Line 1 of a level as the bank ships it; the bank generator writes it first and the tests know
// where each of its cells lies. Empty for a level without a fixed first line (Expert).
QByteArray firstLine(int level);

} // namespace bankline
