// Times the explained hint on every Extreme puzzle of the built-in bank: explainCell on the cell
// Hint fills (the first open cell in reading order) and explainNext, on the dealt puzzle and
// where the singles stall. Beside them the floor of the same run: one solver call on the same
// givens (countSolutions to two, as dealing checks a puzzle).
//   bench_explain [repeats]
#include "engine/bank.h"
#include "engine/explain.h"
#include "engine/gamemodel.h"
#include "engine/qj.h"
#include "engine/random.h"
#include "engine/solver.h"

#include <QCoreApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// The least of a few runs of one call, in microseconds: the machine is shared.
template<class Call> double micros(int repeats, Call call)
{
    double best = 1e30;
    for (int n = 0; n < repeats; ++n) {
        const auto start = Clock::now();
        call();
        best =
            std::min(best, std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    }
    return best;
}

void report(const char *what, std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    std::printf("%-40s median %8.1f us   worst %8.1f us\n", what, times[times.size() / 2],
                times.back());
}

sudoku::Grid givensOf(const GameModel &model)
{
    sudoku::Grid grid{};
    for (int p = 0; p < 81; ++p) {
        const GameCell &c = model.cell(p % 9 + 1, p / 9 + 1);
        grid[p] = c.given ? std::uint8_t(c.solution) : 0;
    }
    return grid;
}

QPoint firstOpen(const GameModel &model)
{
    for (int j = 1; j <= 9; ++j)
        for (int i = 1; i <= 9; ++i)
            if (!model.filled(i, j))
                return {i, j};
    return {};
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int repeats = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const PuzzleBank &bank = PuzzleBank::builtIn();
    constexpr int kExtreme = 4;
    RandomSource random([] { return quint64(1); });
    const WordSet words = WordSet::fromTexts(
        QStringLiteral("Numbers"), QStringLiteral("1 2 3 4 5 6 7 8 9").split(QLatin1Char(' ')));
    std::vector<double> floor, cellStart, nextStart, cellStall, nextStall;
    int stalled = 0;
    // How Hint's cell is explained where the singles stall: single, pattern, after, solution.
    int forms[5] = {};
    volatile int sink = 0;
    for (int r = 1; r <= bank.lineCount(kExtreme); ++r) {
        TQJ puzzle(random);
        if (!puzzle.parsebank(bank.line(kExtreme, r)))
            continue;
        GameModel model;
        // Words with text: a cell without one counts as open.
        model.start(puzzle, kExtreme, words);
        const sudoku::Grid givens = givensOf(model);
        floor.push_back(micros(repeats, [&] { sink = sink + sudoku::countSolutions(givens, 2); }));
        QPoint at = firstOpen(model);
        cellStart.push_back(
            micros(repeats, [&] { sink = sink + explainCell(model, at.x(), at.y()).word; }));
        nextStart.push_back(micros(repeats, [&] { sink = sink + explainNext(model).word; }));
        // Where the singles stall, the explanation has to climb the ladder.
        const sudoku::Rating singles = sudoku::rate(givens, sudoku::Technique::HiddenSingle);
        if (singles.solved)
            continue;
        for (int p = 0; p < 81; ++p)
            if (singles.grid[p] && !givens[p])
                model.setEntry(p % 9 + 1, p / 9 + 1, singles.grid[p]);
        at = firstOpen(model);
        ++stalled;
        ++forms[int(explainCell(model, at.x(), at.y()).form)];
        cellStall.push_back(
            micros(repeats, [&] { sink = sink + explainCell(model, at.x(), at.y()).word; }));
        nextStall.push_back(micros(repeats, [&] { sink = sink + explainNext(model).word; }));
    }
    if (floor.empty()) {
        std::fprintf(stderr, "no Extreme puzzles in the bank\n");
        return 1;
    }
    std::printf("%zu Extreme puzzles of the built-in bank, best of %d runs per call\n",
                floor.size(), repeats);
    report("floor: countSolutions, limit 2", floor);
    report("explainCell, Hint's cell, as dealt", cellStart);
    report("explainNext, as dealt", nextStart);
    if (stalled > 0) {
        std::printf("%d of them stall after the singles:\n", stalled);
        report("explainCell, Hint's cell, singles done", cellStall);
        report("explainNext, singles done", nextStall);
        std::printf("Hint's cell there: %d single, %d technique then single, %d after other cells, "
                    "%d only the solution\n",
                    forms[1], forms[2], forms[3], forms[4]);
    }
    return 0;
}
