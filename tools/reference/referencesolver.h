#pragma once

#include "engine/solver.h"

// A deliberately plain backtracker that shares nothing with the product solver, to check it
// against: it branches on the empty cell or the (unit, digit) pair with the fewest choices,
// which keeps 17-clue puzzles within milliseconds.
namespace reference {

using sudoku::Grid;

class Backtracker {
public:
    // Same contract as sudoku::countSolutions.
    static int count(const Grid &givens, int limit = 2, Grid *solution = nullptr)
    {
        Backtracker b;
        b.limit_ = limit;
        b.solution_ = solution;
        for (int cell = 0; cell < 81; ++cell) {
            if (givens[cell] > 9 || (givens[cell] && !b.canPlace(cell, givens[cell])))
                return 0;
            if (givens[cell])
                b.set(cell, givens[cell], true);
        }
        if (limit > 0)
            b.search();
        return b.found_;
    }

private:
    static int unitCell(int unit, int k)
    {
        if (unit < 9)
            return unit * 9 + k;
        if (unit < 18)
            return k * 9 + unit - 9;
        const int box = unit - 18;
        return (box / 3 * 3 + k / 3) * 9 + box % 3 * 3 + k % 3;
    }
    static int boxOf(int cell) { return cell / 27 * 3 + cell % 9 / 3; }

    bool canPlace(int cell, int digit) const
    {
        return !((rows_[cell / 9] | cols_[cell % 9] | boxes_[boxOf(cell)]) >> digit & 1);
    }
    void set(int cell, int digit, bool on)
    {
        const int bit = 1 << digit;
        rows_[cell / 9] ^= bit;
        cols_[cell % 9] ^= bit;
        boxes_[boxOf(cell)] ^= bit;
        cells_[cell] = on ? digit : 0;
    }
    void tryDigit(int cell, int digit)
    {
        set(cell, digit, true);
        search();
        set(cell, digit, false);
    }

    void search()
    {
        int best = 10, bestCell = -1, bestUnit = -1, bestDigit = 0;
        for (int cell = 0; cell < 81; ++cell) {
            if (cells_[cell])
                continue;
            int n = 0;
            for (int d = 1; d <= 9; ++d)
                n += canPlace(cell, d);
            if (n < best) {
                best = n;
                bestCell = cell;
            }
        }
        if (bestCell < 0) {
            if (found_++ == 0 && solution_)
                *solution_ = cells_;
            return;
        }
        for (int unit = 0; unit < 27 && best > 1; ++unit)
            for (int d = 1; d <= 9; ++d) {
                int n = 0, placed = 0;
                for (int k = 0; k < 9; ++k) {
                    const int cell = unitCell(unit, k);
                    placed += cells_[cell] == d;
                    n += !cells_[cell] && canPlace(cell, d);
                }
                if (!placed && n < best) {
                    best = n;
                    bestUnit = unit;
                    bestDigit = d;
                }
            }
        if (bestUnit < 0) {
            for (int d = 1; d <= 9 && found_ < limit_; ++d)
                if (canPlace(bestCell, d))
                    tryDigit(bestCell, d);
            return;
        }
        for (int k = 0; k < 9 && found_ < limit_; ++k) {
            const int cell = unitCell(bestUnit, k);
            if (!cells_[cell] && canPlace(cell, bestDigit))
                tryDigit(cell, bestDigit);
        }
    }

    int rows_[9] = {}, cols_[9] = {}, boxes_[9] = {};
    Grid cells_{};
    int limit_ = 2;
    int found_ = 0;
    Grid *solution_ = nullptr;
};

} // namespace reference
