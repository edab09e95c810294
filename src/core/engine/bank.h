#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

#include "engine/qj.h"

class RandomSource;

// The built-in puzzle bank: five levels of puzzle strings, read from the embedded data the
// first time a level is asked for.
class PuzzleBank {
public:
    static constexpr int kLevels = 5;

    // The bank embedded in the program.
    static const PuzzleBank &builtIn();
    // A bank from explicit level texts, one puzzle string per line.
    explicit PuzzleBank(const std::array<QStringList, kLevels> &levels);
    // The puzzle strings of a level's text, as the embedded bank is read: any line end (a file
    // saved on Windows has CR LF), empty lines skipped.
    static QStringList levelLines(QStringView text);

    // Lines of a level; 0 for a level outside 0..4.
    int lineCount(int level) const;
    // Line r (counted from 1) of a level; the empty text when there is no such line.
    QString line(int level, int r) const;

private:
    PuzzleBank() = default;
    const QStringList &lines(int level) const;

    mutable std::array<std::optional<QStringList>, kLevels> levels_;
};

// Deals a puzzle of the level into the model: reseeds, draws a line (the last line of a level
// is never drawn; the line before it comes up twice as often) and parses and shuffles it.
PuzzleRead pickpuzzle(const PuzzleBank &bank, int level, TQJ &model, RandomSource &random);
// The line number the draw above lands on for a uniform draw r of 1..n.
int bankLineFor(int r, int n);

// Text-table keys of the level names, "msgeasy" to "msgextreme"; empty outside 0..4.
QString levelNameKey(int level);
