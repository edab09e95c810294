#include "engine/rating.h"

#include <QtAlgorithms>

#include <algorithm>

namespace sudoku {
namespace {

constexpr std::uint16_t kAll = 0x1FF;

int popcount(unsigned x)
{
    return int(qPopulationCount(x));
}

int lowestDigit(unsigned mask)
{
    return int(qCountTrailingZeroBits(mask)) + 1;
}

struct Tables {
    // Units 0..8 are rows, 9..17 columns, 18..26 boxes (for the cell order row by row; any
    // order that keeps the units works the same).
    int units[27][9];
    int peers[81][20];
    int unitsOf[81][3];
    bool sees[81][81];

    Tables()
    {
        for (int k = 0; k < 9; ++k) {
            for (int t = 0; t < 9; ++t) {
                units[k][t] = k * 9 + t;
                units[9 + k][t] = t * 9 + k;
                units[18 + k][t] = ((k / 3) * 3 + t / 3) * 9 + (k % 3) * 3 + t % 3;
            }
        }
        for (int a = 0; a < 81; ++a) {
            unitsOf[a][0] = a / 9;
            unitsOf[a][1] = 9 + a % 9;
            unitsOf[a][2] = 18 + (a / 27) * 3 + (a % 9) / 3;
            int n = 0;
            for (int b = 0; b < 81; ++b) {
                const bool peer = a != b && (a / 9 == b / 9 || a % 9 == b % 9 ||
                                             (a / 27 == b / 27 && (a % 9) / 3 == (b % 9) / 3));
                sees[a][b] = peer;
                if (peer)
                    peers[a][n++] = b;
            }
        }
    }
};

const Tables &tables()
{
    static const Tables t;
    return t;
}

// Calls visit(chosen, count) for every choice of `size` items of 0..n-1 in increasing order;
// stops early when visit returns false.
template<typename Visit> bool forEachCombination(int n, int size, Visit &&visit)
{
    int chosen[4];
    int depth = 0;
    chosen[0] = 0;
    while (depth >= 0) {
        if (chosen[depth] > n - (size - depth)) {
            --depth;
            if (depth >= 0)
                ++chosen[depth];
            continue;
        }
        if (depth == size - 1) {
            if (!visit(chosen))
                return false;
            ++chosen[depth];
        } else {
            chosen[depth + 1] = chosen[depth] + 1;
            ++depth;
        }
    }
    return true;
}

const char *const kNames[kTechniqueCount] = {
    "none",       "naked-single", "hidden-single", "locked-candidates",
    "naked-pair", "hidden-pair",  "naked-triple",  "hidden-triple",
    "x-wing",     "swordfish",    "xy-wing",       "xyz-wing",
    "naked-quad", "hidden-quad",  "jellyfish",     "guessing"};

} // namespace

const char *techniqueName(Technique technique)
{
    const int k = int(technique);
    return k >= 0 && k < kTechniqueCount ? kNames[k] : "?";
}

std::optional<Technique> techniqueFromName(std::string_view name)
{
    for (int k = 0; k < kTechniqueCount; ++k)
        if (name == kNames[k])
            return Technique(k);
    return std::nullopt;
}

int Rating::emptyCells() const
{
    return int(std::count(grid.begin(), grid.end(), 0));
}

LogicState::LogicState(const Grid &givens)
{
    cands_.fill(kAll);
    for (int cell = 0; cell < 81; ++cell) {
        const int d = givens[cell];
        if (d > 9)
            broken_ = true;
        else if (d)
            place(cell, d);
    }
}

void LogicState::place(int cell, int digit)
{
    const Tables &t = tables();
    cells_[cell] = std::uint8_t(digit);
    cands_[cell] = 0;
    ++filled_;
    const std::uint16_t bit = std::uint16_t(1u << (digit - 1));
    for (int p : t.peers[cell]) {
        if (cells_[p] == digit)
            broken_ = true;
        if (!cells_[p]) {
            cands_[p] &= std::uint16_t(~bit);
            if (!cands_[p])
                broken_ = true;
        }
    }
}

bool LogicState::eliminate(int cell, std::uint16_t mask)
{
    if (cells_[cell] || !(cands_[cell] & mask))
        return false;
    if (findings_)
        findings_->push_back({current_, cell, std::uint16_t(cands_[cell] & mask), pattern_});
    cands_[cell] &= std::uint16_t(~mask);
    if (!cands_[cell])
        broken_ = true;
    return true;
}

bool LogicState::nakedSingles()
{
    bool progress = false;
    for (bool again = true; again && !broken_;) {
        again = false;
        for (int cell = 0; cell < 81 && !broken_; ++cell) {
            if (!cells_[cell] && popcount(cands_[cell]) == 1) {
                place(cell, lowestDigit(cands_[cell]));
                again = progress = true;
            }
        }
    }
    return progress;
}

bool LogicState::hiddenSingles()
{
    const Tables &t = tables();
    bool progress = false;
    for (int u = 0; u < 27 && !broken_; ++u) {
        for (int d = 1; d <= 9 && !broken_; ++d) {
            const std::uint16_t bit = std::uint16_t(1u << (d - 1));
            int count = 0, where = -1;
            bool placed = false;
            for (int cell : t.units[u]) {
                if (cells_[cell] == d)
                    placed = true;
                else if (cands_[cell] & bit) {
                    ++count;
                    where = cell;
                }
            }
            if (placed)
                continue;
            if (count == 0)
                broken_ = true;
            else if (count == 1) {
                place(where, d);
                progress = true;
            }
        }
    }
    return progress;
}

bool LogicState::lockedCandidates()
{
    const Tables &t = tables();
    bool progress = false;
    // Pointing: within a box a digit confined to one row or column leaves the rest of that line.
    for (int b = 18; b < 27; ++b) {
        for (int d = 1; d <= 9; ++d) {
            const std::uint16_t bit = std::uint16_t(1u << (d - 1));
            int rows = 0, cols = 0, n = 0;
            for (int cell : t.units[b]) {
                if (cands_[cell] & bit) {
                    rows |= 1 << (cell / 9);
                    cols |= 1 << (cell % 9);
                    ++n;
                }
            }
            if (n < 2)
                continue;
            if (findings_)
                notePattern(t.units[b], bit);
            for (int line : {popcount(rows) == 1 ? lowestDigit(rows) - 1 : -1,
                             popcount(cols) == 1 ? 9 + lowestDigit(cols) - 1 : -1}) {
                if (line < 0)
                    continue;
                for (int cell : t.units[line])
                    if (t.unitsOf[cell][2] != b)
                        progress |= eliminate(cell, bit);
            }
        }
    }
    // Claiming: within a row or column a digit confined to one box leaves the rest of that box.
    for (int line = 0; line < 18; ++line) {
        for (int d = 1; d <= 9; ++d) {
            const std::uint16_t bit = std::uint16_t(1u << (d - 1));
            int box = -1, n = 0;
            bool oneBox = true;
            for (int cell : t.units[line]) {
                if (cands_[cell] & bit) {
                    const int b = t.unitsOf[cell][2];
                    oneBox = oneBox && (box < 0 || box == b);
                    box = b;
                    ++n;
                }
            }
            if (n < 2 || !oneBox)
                continue;
            if (findings_)
                notePattern(t.units[line], bit);
            for (int cell : t.units[box])
                if (t.unitsOf[cell][line < 9 ? 0 : 1] != line)
                    progress |= eliminate(cell, bit);
        }
    }
    return progress;
}

bool LogicState::nakedSubsets(int size)
{
    const Tables &t = tables();
    bool progress = false;
    for (int u = 0; u < 27; ++u) {
        int pool[9], n = 0;
        for (int cell : t.units[u]) {
            const int k = popcount(cands_[cell]);
            if (!cells_[cell] && k >= 2 && k <= size)
                pool[n++] = cell;
        }
        if (n < size)
            continue;
        forEachCombination(n, size, [&](const int *chosen) {
            std::uint16_t digits = 0;
            for (int k = 0; k < size; ++k)
                digits |= cands_[pool[chosen[k]]];
            if (popcount(digits) != size)
                return true;
            if (findings_) {
                pattern_.reset();
                for (int k = 0; k < size; ++k)
                    pattern_.set(std::size_t(pool[chosen[k]]));
            }
            for (int cell : t.units[u]) {
                bool inSet = false;
                for (int k = 0; k < size; ++k)
                    inSet |= pool[chosen[k]] == cell;
                if (!inSet)
                    progress |= eliminate(cell, digits);
            }
            return true;
        });
    }
    return progress;
}

bool LogicState::hiddenSubsets(int size)
{
    const Tables &t = tables();
    bool progress = false;
    for (int u = 0; u < 27; ++u) {
        int digits[9], places[9], n = 0;
        for (int d = 1; d <= 9; ++d) {
            const std::uint16_t bit = std::uint16_t(1u << (d - 1));
            int where = 0;
            bool placed = false;
            for (int k = 0; k < 9; ++k) {
                const int cell = t.units[u][k];
                placed |= cells_[cell] == d;
                if (cands_[cell] & bit)
                    where |= 1 << k;
            }
            const int count = popcount(unsigned(where));
            if (!placed && count >= 2 && count <= size) {
                digits[n] = d;
                places[n++] = where;
            }
        }
        if (n < size)
            continue;
        forEachCombination(n, size, [&](const int *chosen) {
            int where = 0;
            std::uint16_t keep = 0;
            for (int k = 0; k < size; ++k) {
                where |= places[chosen[k]];
                keep |= std::uint16_t(1u << (digits[chosen[k]] - 1));
            }
            if (popcount(unsigned(where)) != size)
                return true;
            if (findings_) {
                pattern_.reset();
                for (int k = 0; k < 9; ++k)
                    if (where & (1 << k))
                        pattern_.set(std::size_t(t.units[u][k]));
            }
            for (int k = 0; k < 9; ++k)
                if (where & (1 << k))
                    progress |= eliminate(t.units[u][k], std::uint16_t(kAll & ~keep));
            return true;
        });
    }
    return progress;
}

bool LogicState::fish(int size)
{
    bool progress = false;
    for (int d = 1; d <= 9; ++d) {
        const std::uint16_t bit = std::uint16_t(1u << (d - 1));
        for (int orientation = 0; orientation < 2; ++orientation) {
            // Base lines are rows for orientation 0 and columns for 1.
            auto cellAt = [orientation](int base, int cover) {
                return orientation == 0 ? base * 9 + cover : cover * 9 + base;
            };
            int bases[9], covers[9], n = 0;
            for (int base = 0; base < 9; ++base) {
                int where = 0;
                bool placed = false;
                for (int cover = 0; cover < 9; ++cover) {
                    const int cell = cellAt(base, cover);
                    placed |= cells_[cell] == d;
                    if (cands_[cell] & bit)
                        where |= 1 << cover;
                }
                const int count = popcount(unsigned(where));
                if (!placed && count >= 2 && count <= size) {
                    bases[n] = base;
                    covers[n++] = where;
                }
            }
            if (n < size)
                continue;
            forEachCombination(n, size, [&](const int *chosen) {
                int where = 0, baseSet = 0;
                for (int k = 0; k < size; ++k) {
                    where |= covers[chosen[k]];
                    baseSet |= 1 << bases[chosen[k]];
                }
                if (popcount(unsigned(where)) != size)
                    return true;
                if (findings_) {
                    pattern_.reset();
                    for (int base = 0; base < 9; ++base)
                        for (int cover = 0; cover < 9; ++cover)
                            if ((baseSet & (1 << base)) && (cands_[cellAt(base, cover)] & bit))
                                pattern_.set(std::size_t(cellAt(base, cover)));
                }
                for (int cover = 0; cover < 9; ++cover) {
                    if (!(where & (1 << cover)))
                        continue;
                    for (int base = 0; base < 9; ++base)
                        if (!(baseSet & (1 << base)))
                            progress |= eliminate(cellAt(base, cover), bit);
                }
                return true;
            });
        }
    }
    return progress;
}

bool LogicState::xyWing()
{
    const Tables &t = tables();
    bool progress = false;
    for (int pivot = 0; pivot < 81; ++pivot) {
        const std::uint16_t xy = cands_[pivot];
        if (cells_[pivot] || popcount(xy) != 2)
            continue;
        for (int p1 : t.peers[pivot]) {
            const std::uint16_t a = cands_[p1];
            if (cells_[p1] || popcount(a) != 2 || popcount(a & xy) != 1)
                continue;
            const std::uint16_t z = std::uint16_t(a & ~xy);
            // The second pincer holds z and the pivot digit that the first one lacks.
            const std::uint16_t want = std::uint16_t(z | (xy & ~a));
            for (int p2 : t.peers[pivot]) {
                if (p2 == p1 || cells_[p2] || cands_[p2] != want)
                    continue;
                if (findings_)
                    noteCells({pivot, p1, p2});
                for (int cell = 0; cell < 81; ++cell)
                    if (cell != p1 && cell != p2 && t.sees[cell][p1] && t.sees[cell][p2])
                        progress |= eliminate(cell, z);
            }
        }
    }
    return progress;
}

bool LogicState::xyzWing()
{
    const Tables &t = tables();
    bool progress = false;
    for (int pivot = 0; pivot < 81; ++pivot) {
        const std::uint16_t xyz = cands_[pivot];
        if (cells_[pivot] || popcount(xyz) != 3)
            continue;
        for (int p1 : t.peers[pivot]) {
            const std::uint16_t a = cands_[p1];
            if (cells_[p1] || popcount(a) != 2 || (a & ~xyz))
                continue;
            for (int p2 : t.peers[pivot]) {
                const std::uint16_t b = cands_[p2];
                if (p2 <= p1 || cells_[p2] || popcount(b) != 2 || (b & ~xyz) ||
                    std::uint16_t(a | b) != xyz)
                    continue;
                const std::uint16_t z = std::uint16_t(a & b);
                if (findings_)
                    noteCells({pivot, p1, p2});
                for (int cell = 0; cell < 81; ++cell)
                    if (cell != p1 && cell != p2 && cell != pivot && t.sees[cell][pivot] &&
                        t.sees[cell][p1] && t.sees[cell][p2])
                        progress |= eliminate(cell, z);
            }
        }
    }
    return progress;
}

void LogicState::notePattern(const int (&unit)[9], std::uint16_t bit)
{
    pattern_.reset();
    for (int cell : unit)
        if (cands_[cell] & bit)
            pattern_.set(std::size_t(cell));
}

void LogicState::noteCells(std::initializer_list<int> cells)
{
    pattern_.reset();
    for (int cell : cells)
        pattern_.set(std::size_t(cell));
}

bool LogicState::apply(Technique technique)
{
    if (broken_)
        return false;
    current_ = technique;
    switch (technique) {
    case Technique::NakedSingle:
        return nakedSingles();
    case Technique::HiddenSingle:
        return hiddenSingles();
    case Technique::LockedCandidates:
        return lockedCandidates();
    case Technique::NakedPair:
        return nakedSubsets(2);
    case Technique::HiddenPair:
        return hiddenSubsets(2);
    case Technique::NakedTriple:
        return nakedSubsets(3);
    case Technique::HiddenTriple:
        return hiddenSubsets(3);
    case Technique::XWing:
        return fish(2);
    case Technique::Swordfish:
        return fish(3);
    case Technique::XYWing:
        return xyWing();
    case Technique::XYZWing:
        return xyzWing();
    case Technique::NakedQuad:
        return nakedSubsets(4);
    case Technique::HiddenQuad:
        return hiddenSubsets(4);
    case Technique::Jellyfish:
        return fish(4);
    case Technique::None:
    case Technique::Guessing:
        break;
    }
    return false;
}

Rating rate(const Grid &givens, Technique limit)
{
    Rating rating;
    LogicState state(givens);
    const int top = std::min(int(limit), int(Technique::Jellyfish));
    while (!state.solved()) {
        bool progress = false;
        if (!state.broken()) {
            for (int k = int(Technique::NakedSingle); k <= top; ++k) {
                if (state.apply(Technique(k))) {
                    ++rating.uses[k];
                    rating.hardest = std::max(rating.hardest, Technique(k));
                    progress = true;
                    break;
                }
            }
        }
        if (!progress || state.broken()) {
            rating.hardest = Technique::Guessing;
            break;
        }
    }
    rating.grid = state.grid();
    rating.solved = state.solved();
    return rating;
}

} // namespace sudoku
