#pragma once

#include <array>
#include <cstdint>

namespace sudoku {

// 81 cells, 0 for an empty cell and 1..9 for a digit. Any order that keeps rows, columns and
// boxes as units serves (row by row, or column by column as the bank writes its lines).
using Grid = std::array<std::uint8_t, 81>;

// Counts the solutions of the givens, stopping at limit. Givens that break a rule have none.
// When solution is not null it receives the first solution found.
int countSolutions(const Grid &givens, int limit = 2, Grid *solution = nullptr);

} // namespace sudoku
