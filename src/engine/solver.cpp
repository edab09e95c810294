#include "engine/solver.h"

namespace sudoku {
namespace {

struct Search {
    std::uint16_t rows[9] = {}, cols[9] = {}, boxes[9] = {};
    Grid cells{};
    int limit = 2;
    int found = 0;
    Grid *solution = nullptr;

    static int box(int cell) { return (cell / 27) * 3 + (cell % 9) / 3; }

    bool place(int cell, int digit)
    {
        const std::uint16_t bit = std::uint16_t(1u << digit);
        const int r = cell / 9, c = cell % 9, b = box(cell);
        if ((rows[r] | cols[c] | boxes[b]) & bit)
            return false;
        rows[r] |= bit;
        cols[c] |= bit;
        boxes[b] |= bit;
        cells[cell] = std::uint8_t(digit);
        return true;
    }

    void unplace(int cell, int digit)
    {
        const std::uint16_t mask = std::uint16_t(~(1u << digit));
        rows[cell / 9] &= mask;
        cols[cell % 9] &= mask;
        boxes[box(cell)] &= mask;
        cells[cell] = 0;
    }

    void run()
    {
        // Fill the empty cell with the fewest candidates first.
        int best = -1, bestCount = 10;
        std::uint16_t bestFree = 0;
        for (int cell = 0; cell < 81; ++cell) {
            if (cells[cell])
                continue;
            const std::uint16_t free =
                std::uint16_t(~(rows[cell / 9] | cols[cell % 9] | boxes[box(cell)]) & 0x3FE);
            const int count = __builtin_popcount(free);
            if (count < bestCount) {
                best = cell;
                bestCount = count;
                bestFree = free;
                if (count <= 1)
                    break;
            }
        }
        if (best < 0) {
            if (found++ == 0 && solution)
                *solution = cells;
            return;
        }
        for (int digit = 1; digit <= 9 && found < limit; ++digit) {
            if (bestFree & (1u << digit)) {
                place(best, digit);
                run();
                unplace(best, digit);
            }
        }
    }
};

} // namespace

int countSolutions(const Grid &givens, int limit, Grid *solution)
{
    Search search;
    search.limit = limit;
    search.solution = solution;
    for (int cell = 0; cell < 81; ++cell) {
        const int digit = givens[cell];
        if (digit > 9)
            return 0;
        if (digit && !search.place(cell, digit))
            return 0;
    }
    if (limit <= 0)
        return 0;
    search.run();
    return search.found;
}

} // namespace sudoku
