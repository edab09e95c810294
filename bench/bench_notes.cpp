// Prints the cost of noting every empty cell's candidates (Ctrl+Shift+N: the rules' fillNotes,
// one undo step) on the Extreme puzzles of the bank, beside its floor measured in the same run:
// one solver call on the same givens.
#include "engine/bank.h"
#include "engine/gamemodel.h"
#include "engine/playhistory.h"
#include "engine/qj.h"
#include "engine/random.h"
#include "engine/rules.h"
#include "engine/solver.h"
#include "i18n/texttable.h"
#include "silentprompter.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>

#include <algorithm>
#include <vector>

namespace {
double micros(std::vector<qint64> &nanos, double at)
{
    std::sort(nanos.begin(), nanos.end());
    return nanos[std::min(nanos.size() - 1, std::size_t(double(nanos.size()) * at))] / 1000.0;
}
} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const PuzzleBank &bank = PuzzleBank::builtIn();
    const int level = 4;
    const int n = std::min(bank.lineCount(level), 200);
    TextTables texts;
    SilentPrompter prompter;
    std::vector<qint64> fills, solves;
    QElapsedTimer timer;
    for (int r = 1; r <= n; ++r) {
        TQJ puzzle;
        if (!puzzle.parsebank(bank.line(level, r)))
            return 1;
        GameModel model;
        GameRules rules(model, texts, prompter);
        PlayHistory history;
        rules.setHistory(&history);
        model.start(puzzle, level,
                    WordSet::fromTexts({}, {"1", "2", "3", "4", "5", "6", "7", "8", "9"}));
        timer.start();
        rules.fillNotes(1);
        fills.push_back(timer.nsecsElapsed());

        sudoku::Grid givens{};
        for (int p = 0; p < 81; ++p)
            givens[p] = puzzle.node(p / 9 + 1, p % 9 + 1).given
                            ? std::uint8_t(puzzle.node(p / 9 + 1, p % 9 + 1).value)
                            : 0;
        timer.start();
        const int solutions = sudoku::countSolutions(givens, 2);
        solves.push_back(timer.nsecsElapsed());
        if (solutions != 1)
            return 1;
    }
    out << "automatic notes, Extreme, " << n << " puzzles: median " << micros(fills, 0.5)
        << " us, 99th percentile " << micros(fills, 0.99) << " us (goal: under 5000 us)\n";
    out << "floor, one solver call on the same givens: median " << micros(solves, 0.5)
        << " us, 99th percentile " << micros(solves, 0.99) << " us\n";
    return 0;
}
