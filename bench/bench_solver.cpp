// Prints how fast sudoku::countSolutions counts the 17-clue puzzles to two solutions (best of
// several runs on one core), and the plain reference backtracker of the tests for comparison.
//   bench_solver [puzzles.txt [runs]]
#include "engine/solver.h"
#include "referencesolver.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>
#include <vector>

namespace {

using sudoku::Grid;
using Clock = std::chrono::steady_clock;

std::vector<Grid> readPuzzles(const char *path)
{
    std::vector<Grid> puzzles;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        if (line.size() < 81)
            continue;
        Grid g{};
        for (int i = 0; i < 81; ++i)
            g[i] = line[i] >= '1' && line[i] <= '9' ? std::uint8_t(line[i] - '0') : 0;
        puzzles.push_back(g);
    }
    return puzzles;
}

struct Timing {
    double wall = 1e30; // seconds
    double cpu = 1e30;  // seconds this process ran, which others' load on the machine inflates less
};

// Best times of a number of passes over the puzzles; unique counts how many have exactly one
// solution.
template<class Count>
Timing timePasses(const std::vector<Grid> &puzzles, int passes, Count count, std::size_t &unique)
{
    Timing best;
    for (int pass = 0; pass < passes; ++pass) {
        const auto start = Clock::now();
        const std::clock_t cpuStart = std::clock();
        unique = 0;
        for (const Grid &g : puzzles)
            unique += count(g) == 1;
        best.cpu = std::min(best.cpu, double(std::clock() - cpuStart) / CLOCKS_PER_SEC);
        best.wall =
            std::min(best.wall, std::chrono::duration<double>(Clock::now() - start).count());
    }
    return best;
}

void report(const char *what, std::size_t n, const Timing &t)
{
    std::printf("%-24s %5zu puzzles  %9.0f puzzles/s  %8.2f us/puzzle  (CPU time: %.0f/s)\n", what,
                n, n / t.wall, t.wall * 1e6 / n, n / t.cpu);
}

} // namespace

int main(int argc, char **argv)
{
    const char *path = argc > 1 ? argv[1] : VASKELIO_PUZZLES17;
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 20;
    const std::vector<Grid> puzzles = readPuzzles(path);
    if (puzzles.empty()) {
        std::fprintf(stderr, "no puzzles in %s\n", path);
        return 1;
    }

    std::size_t unique = 0;
    const Timing fast = timePasses(
        puzzles, runs, [](const Grid &g) { return sudoku::countSolutions(g, 2); }, unique);
    std::printf("%s, best of %d runs, one core\n", path, runs);
    report("countSolutions, limit 2", puzzles.size(), fast);
    std::printf("%zu of %zu puzzles have exactly one solution\n", unique, puzzles.size());

    // The plain backtracker manages a few thousand a second: one pass over a sample does.
    const std::vector<Grid> sample(puzzles.begin(),
                                   puzzles.begin() + std::min<std::size_t>(puzzles.size(), 500));
    const Timing plain = timePasses(
        sample, 1, [](const Grid &g) { return reference::Backtracker::count(g, 2); }, unique);
    report("reference backtracker", sample.size(), plain);
    return 0;
}
