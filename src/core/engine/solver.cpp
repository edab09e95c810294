#include "engine/solver.h"

#include <QtAlgorithms>

// GCC and clang say __SSE2__; MSVC says so only through the target (x64 always has SSE2).
#if defined(__SSE2__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2)
#define VASKELIO_SSE2 1
#include <emmintrin.h>
#endif

namespace sudoku {
namespace {

// The band-wise bitboard design of zhouyundong's solver as refined in JCZSolve (Jasmine
// Czerwinski): one 27-bit word per band of three rows and digit, singles and box-line
// interactions settled a word at a time, guesses on a bivalue cell with the state copied on the
// stack.

constexpr std::uint32_t kAllCells = 0x7FFFFFF;

// Which of the three stacks a nine-cell row touches, as three bits.
constexpr std::array<std::uint8_t, 512> makeStacks()
{
    std::array<std::uint8_t, 512> t{};
    for (int v = 0; v < 512; ++v)
        t[v] = std::uint8_t((v & 7 ? 1 : 0) | (v & 070 ? 2 : 0) | (v & 0700 ? 4 : 0));
    return t;
}

// A row with exactly one candidate cell maps to itself, any other row to 0.
constexpr std::array<std::uint16_t, 512> makeSingles()
{
    std::array<std::uint16_t, 512> t{};
    for (int v = 1; v < 512; ++v)
        t[v] = (v & (v - 1)) ? 0 : std::uint16_t(v);
    return t;
}

// A digit sits once in each row and once in each box of a band, so its three cells lie on three
// (row, stack) segments forming a permutation. Indexed by the nine segments that still hold
// candidates, gives the cells of the segments some permutation can use (0 if none can): the
// box-line interactions and the hidden singles in boxes of one band at once.
constexpr std::array<std::uint32_t, 512> makeLocks()
{
    constexpr int perms[6][3] = {{0, 1, 2}, {0, 2, 1}, {1, 0, 2}, {1, 2, 0}, {2, 0, 1}, {2, 1, 0}};
    std::array<std::uint32_t, 512> t{};
    for (int segments = 0; segments < 512; ++segments)
        for (const auto &perm : perms) {
            std::uint32_t cells = 0;
            bool open = true;
            for (int row = 0; row < 3; ++row) {
                open = open && (segments >> (row * 3 + perm[row]) & 1);
                cells |= 7u << (row * 9 + perm[row] * 3);
            }
            if (open)
                t[segments] |= cells;
        }
    return t;
}

constexpr auto kStacks = makeStacks();
constexpr auto kSingles = makeSingles();
constexpr auto kLocks = makeLocks();
constexpr int kOtherBands[3][2] = {{1, 2}, {0, 2}, {0, 1}};

inline int lowBit(std::uint32_t x)
{
    return int(qCountTrailingZeroBits(x));
}

// Candidates of a band for one digit sit at cand[band * 16 + digit], bit row * 9 + column; the
// padding lets the nine digits of a band be handled as three vectors.
struct State {
    alignas(16) std::uint32_t cand[48];
    std::uint32_t unsolved[3];
    std::uint64_t dirty; // words changed since they were last settled, same index as cand
};

constexpr State makeStart()
{
    State s{};
    for (int band = 0; band < 3; ++band) {
        for (int d = 0; d < 9; ++d)
            s.cand[band * 16 + d] = kAllCells;
        s.unsolved[band] = kAllCells;
    }
    return s;
}

constexpr State kStart = makeStart();

// Clears cells from the nine digits of a band; returns which words changed.
inline std::uint32_t clearCells(std::uint32_t *band, std::uint32_t cells)
{
#ifdef VASKELIO_SSE2
    const __m128i mask = _mm_set1_epi32(int(cells));
    std::uint32_t changed = 0;
    for (int k = 0; k < 3; ++k) {
        auto *p = reinterpret_cast<__m128i *>(band + 4 * k);
        const __m128i old = _mm_load_si128(p), now = _mm_andnot_si128(mask, old);
        _mm_store_si128(p, now);
        changed |= std::uint32_t(_mm_movemask_ps(_mm_castsi128_ps(_mm_cmpeq_epi32(old, now))))
                   << (4 * k);
    }
    return ~changed & 0x1FF;
#else
    std::uint32_t changed = 0;
    for (int d = 0; d < 9; ++d) {
        const std::uint32_t old = band[d];
        band[d] = old & ~cells;
        changed |= std::uint32_t(band[d] != old) << d;
    }
    return changed;
#endif
}

// Placing a digit only narrows its row to the one cell; settle() derives the rest.
inline bool place(State &s, int band, int digit, int pos)
{
    const int i = band * 16 + digit;
    const std::uint32_t bit = 1u << pos;
    if (!(s.cand[i] & bit))
        return false;
    s.cand[i] &= ~(511u << (pos / 9 * 9)) | bit;
    s.dirty |= std::uint64_t(1) << i;
    return true;
}

// Settles every changed word until none changes. False on a contradiction.
bool settle(State &s)
{
    while (s.dirty) {
        const int i = int(qCountTrailingZeroBits(s.dirty));
        s.dirty &= s.dirty - 1;
        const int band = i >> 4;
        std::uint32_t x = s.cand[i];
        x &= kLocks[kStacks[x & 511] | kStacks[x >> 9 & 511] << 3 | kStacks[x >> 18] << 6];
        if (!x)
            return false;
        s.cand[i] = x;
        const std::uint32_t solved = (kSingles[x & 511] | kSingles[x >> 9 & 511] << 9 |
                                      std::uint32_t(kSingles[x >> 18]) << 18) &
                                     s.unsolved[band];
        if (!solved)
            continue;
        s.unsolved[band] &= ~solved;
        const std::uint64_t changed = clearCells(s.cand + band * 16, solved);
        s.cand[i] = x;
        s.dirty |= (changed << band * 16) & ~(std::uint64_t(1) << i);
        const std::uint32_t cols = (solved | solved >> 9 | solved >> 18) & 511;
        const std::uint32_t colCells = cols * 0x40201u;
        for (const int other : kOtherBands[band]) {
            const int j = other * 16 + (i & 15);
            const std::uint32_t old = s.cand[j], now = old & ~colCells;
            s.cand[j] = now;
            s.dirty |= std::uint64_t(now != old) << j;
        }
    }
    return true;
}

// Hidden singles in columns; settle() finds those of rows and boxes. False on a contradiction.
bool placeColumnSingles(State &s, bool &placed)
{
    for (int d = 0; d < 9; ++d) {
        std::uint32_t one = 0, two = 0, done = 0;
        for (int band = 0; band < 3; ++band) {
            const std::uint32_t x = s.cand[band * 16 + d];
            const std::uint32_t a = x & 511, b = x >> 9 & 511, c = x >> 18;
            done |= x & ~s.unsolved[band];
            two |= (one & (a | b | c)) | (a & b) | (c & (a | b));
            one |= a | b | c;
        }
        for (std::uint32_t cols = one & ~two & ~((done | done >> 9 | done >> 18) & 511); cols;
             cols &= cols - 1) {
            const std::uint32_t colCells = (cols & -cols) * 0x40201u;
            for (int band = 0; band < 3; ++band)
                if (const std::uint32_t m = s.cand[band * 16 + d] & colCells) {
                    if (!place(s, band, d, lowBit(m)))
                        return false; // twice in one row
                    placed = true;
                }
        }
    }
    return true;
}

struct Guess {
    int band = -1;
    int pos = 0;
};

// Settles and places singles until none is left. False on a contradiction; otherwise either
// every cell is solved (guess.band < 0) or guess names a cell with the fewest candidates, a
// bivalue one whenever there is one.
bool propagate(State &s, Guess &guess)
{
    std::uint32_t twos[3], threes[3];
    for (;;) {
        if (!settle(s))
            return false;
        bool placed = false;
        for (int band = 0; band < 3; ++band) {
            const std::uint32_t open = s.unsolved[band];
            const std::uint32_t *cand = s.cand + band * 16;
            std::uint32_t one = 0, two = 0, three = 0;
            for (int d = 0; d < 9; ++d) {
                three |= two & cand[d];
                two |= one & cand[d];
                one |= cand[d];
            }
            twos[band] = two;
            threes[band] = three;
            if (open & ~one)
                return false;
            const std::uint32_t singles = open & ~two;
            if (!singles)
                continue;
            placed = true;
            for (int d = 0; d < 9; ++d)
                for (std::uint32_t m = cand[d] & singles; m; m &= m - 1)
                    if (!place(s, band, d, lowBit(m)))
                        return false;
        }
        if (!placed && !placeColumnSingles(s, placed))
            return false;
        if (!placed)
            break;
    }
    guess.band = -1;
    for (int band = 0; band < 3; ++band)
        if (const std::uint32_t pairs = s.unsolved[band] & twos[band] & ~threes[band]) {
            guess.band = band;
            guess.pos = lowBit(pairs);
            return true;
        }
    // No bivalue cell: rare enough for a plain scan.
    int best = 10;
    for (int band = 0; band < 3; ++band)
        for (std::uint32_t m = s.unsolved[band]; m; m &= m - 1) {
            const int pos = lowBit(m);
            int count = 0;
            for (int d = 0; d < 9; ++d)
                count += s.cand[band * 16 + d] >> pos & 1;
            if (count < best) {
                best = count;
                guess.band = band;
                guess.pos = pos;
            }
        }
    return true;
}

struct Counter {
    int limit;
    int found;
    Grid *solution;

    void search(State &s)
    {
        for (;;) {
            Guess guess;
            if (!propagate(s, guess))
                return;
            if (guess.band < 0) {
                if (found++ == 0 && solution)
                    write(s);
                return;
            }
            const int base = guess.band * 16;
            int digit = 0;
            while (!(s.cand[base + digit] >> guess.pos & 1))
                ++digit;
            State copy = s;
            place(copy, guess.band, digit, guess.pos);
            search(copy);
            if (found >= limit)
                return;
            s.cand[base + digit] &= ~(1u << guess.pos);
            s.dirty |= std::uint64_t(1) << (base + digit);
        }
    }

    void write(const State &s) const
    {
        for (int band = 0; band < 3; ++band)
            for (int d = 0; d < 9; ++d)
                for (std::uint32_t m = s.cand[band * 16 + d]; m; m &= m - 1)
                    (*solution)[band * 27 + lowBit(m)] = std::uint8_t(d + 1);
    }
};

} // namespace

int countSolutions(const Grid &givens, int limit, Grid *solution)
{
    if (limit <= 0)
        return 0;
    State s = kStart;
    for (int band = 0; band < 3; ++band)
        for (int pos = 0; pos < 27; ++pos) {
            const int digit = givens[band * 27 + pos];
            if (digit > 9)
                return 0;
            if (!digit)
                continue;
            // Givens clear their peers at once, far cheaper than settling them one by one; a
            // given whose cell an earlier one cleared shares a unit with it.
            const int i = band * 16 + digit - 1;
            const std::uint32_t bit = 1u << pos;
            if (!(s.cand[i] & bit))
                return 0;
            const std::uint32_t row = 511u << (pos / 9 * 9);
            const std::uint32_t box = 0x1C0E07u << (pos % 9 / 3 * 3);
            clearCells(s.cand + band * 16, bit);
            s.cand[i] = (s.cand[i] & ~(row | box)) | bit;
            for (const int other : kOtherBands[band])
                s.cand[other * 16 + digit - 1] &= ~(0x40201u << pos % 9);
            s.unsolved[band] &= ~bit;
        }
    s.dirty = 0x1FF01FF01FFull;
    Counter counter{limit, 0, solution};
    counter.search(s);
    return counter.found;
}

} // namespace sudoku
