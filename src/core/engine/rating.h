#pragma once

#include "engine/solver.h"

#include <array>
#include <bitset>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string_view>
#include <vector>

namespace sudoku {

// Human solving techniques from the easiest to the hardest; the numbers are stable because
// ratings are printed, counted and compared by them.
enum class Technique : int {
    None = 0, // nothing left to fill
    NakedSingle,
    HiddenSingle,
    LockedCandidates, // pointing and claiming
    NakedPair,
    HiddenPair,
    NakedTriple,
    HiddenTriple,
    XWing,
    Swordfish,
    XYWing,
    XYZWing,
    NakedQuad,
    HiddenQuad,
    Jellyfish,
    Guessing, // logic above does not finish the puzzle
};
constexpr int kTechniqueCount = int(Technique::Guessing) + 1;

// A short stable name such as "x-wing", for printing and for test data.
const char *techniqueName(Technique technique);
std::optional<Technique> techniqueFromName(std::string_view name);

struct Rating {
    Technique hardest = Technique::None;
    bool solved = false;
    // The cells as far as logic got: 0 where it stopped.
    Grid grid{};
    // How many times each technique made progress.
    std::array<int, kTechniqueCount> uses{};
    int emptyCells() const;
};

// Solves the givens the way people do, always going back to the easiest technique after any
// progress, using no technique above limit. Givens that break a rule rate as Guessing, unsolved.
// The cell order of the grid does not matter as long as rows, columns and boxes stay units.
Rating rate(const Grid &givens, Technique limit = Technique::Guessing);

// One removal of candidates by a technique, and the cells of the pattern that allowed it: what
// an explanation shows a player.
struct Finding {
    Technique technique = Technique::None;
    int cell = 0;              // where candidates went
    std::uint16_t removed = 0; // bit d-1 for digit d
    std::bitset<81> pattern;   // the cells whose candidates prove it
};

// Candidate bookkeeping with one sweep per technique; public so that each technique can be
// tested on a hand-made position.
class LogicState {
public:
    explicit LogicState(const Grid &givens);

    // Where eliminations are written down from now on; none by default, which costs the rater
    // nothing. Placements are not written down.
    void setFindings(std::vector<Finding> *findings) { findings_ = findings; }

    // Applies every instance of one technique visible now; true when anything changed.
    bool apply(Technique technique);

    bool solved() const { return filled_ == 81 && !broken_; }
    bool broken() const { return broken_; }
    int value(int cell) const { return cells_[cell]; }
    // Bit d-1 stands for digit d; 0 for a filled cell.
    std::uint16_t candidates(int cell) const { return cands_[cell]; }
    void setCandidates(int cell, std::uint16_t mask) { cands_[cell] = mask; }
    const Grid &grid() const { return cells_; }

private:
    void place(int cell, int digit);
    bool eliminate(int cell, std::uint16_t mask);
    bool nakedSingles();
    bool hiddenSingles();
    bool lockedCandidates();
    bool nakedSubsets(int size);
    bool hiddenSubsets(int size);
    bool fish(int size);
    bool xyWing();
    bool xyzWing();
    // The pattern of the next eliminations: a unit's cells holding a digit, or named cells.
    void notePattern(const int (&unit)[9], std::uint16_t bit);
    void noteCells(std::initializer_list<int> cells);

    Grid cells_{};
    std::array<std::uint16_t, 81> cands_{};
    std::vector<Finding> *findings_ = nullptr;
    Technique current_ = Technique::None;
    std::bitset<81> pattern_;
    int filled_ = 0;
    bool broken_ = false;
};

} // namespace sudoku
