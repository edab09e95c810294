#pragma once

#include "engine/rating.h"
#include "engine/solver.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <array>
#include <functional>
#include <utility>

class QTextStream;

namespace banktool {

// xoshiro256** seeded through splitmix64, with its own uniform draw: the bank must come out
// byte for byte the same from a seed whatever standard library built the tool.
class Prng {
public:
    explicit Prng(quint64 seed);
    quint64 next();
    // Uniform over 0..n-1; n must be at least 1.
    quint32 below(quint32 n);

    template<typename List> void shuffle(List &items)
    {
        for (qsizetype k = qsizetype(items.size()) - 1; k > 0; --k)
            std::swap(items[k], items[qsizetype(below(quint32(k + 1)))]);
    }

private:
    quint64 s_[4];
};

// A random completed grid.
sudoku::Grid randomGrid(Prng &random);
// Removes givens in a random order while the puzzle keeps one solution; a minimal puzzle.
sudoku::Grid minimalPuzzle(const sudoku::Grid &solution, Prng &random);
// A random symmetry of the grid: rows within bands, columns within stacks, bands, stacks, a
// transposition and a relabelling of the digits. The same draws move givens and solution alike.
struct Symmetry {
    std::array<int, 9> rowFrom{}, columnFrom{};
    std::array<std::uint8_t, 10> label{};
    bool transpose = false;
    static Symmetry random(Prng &random);
    sudoku::Grid apply(const sudoku::Grid &grid) const;
};

struct GenerateOptions {
    quint64 seed = 1;
    int lines = 500;
    // The 17-given puzzles, row by row with "0" for an empty cell.
    QList<QByteArray> minimal17;
    std::function<void(const QString &)> log;
};

struct GeneratedBank {
    std::array<QList<QByteArray>, 5> levels;
    QString error; // empty on success
    // The file text of a level: the lines, each ended by LF.
    QByteArray fileText(int level) const;
};

GeneratedBank generateBank(const GenerateOptions &options);

// The generate subcommand: --seed N --out DIR [--minimal17 FILE]; the exit code.
int runGenerate(const QStringList &args, QTextStream &out, QTextStream &err);

// The given counts that a level of n lines is made with, before its lines are shuffled; the
// 17s of Expert and Extreme are included. Easy's counts fix Standard's (6 fewer) and Hard's.
QList<int> givenCountPlan(int level, int n);

} // namespace banktool
