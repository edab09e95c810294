#include "generator.h"

#include "banktool.h"
#include "engine/bankline.h"
#include "text/textfile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QSet>
#include <QTextStream>
#include <QtAlgorithms>

#include <algorithm>
#include <optional>

namespace banktool {
namespace {

quint64 splitmix64(quint64 &state)
{
    quint64 z = (state += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

quint64 rotl(quint64 x, int k)
{
    return (x << k) | (x >> (64 - k));
}

int boxOf(int cell)
{
    return (cell / 27) * 3 + (cell % 9) / 3;
}

struct Filler {
    Prng &random;
    sudoku::Grid cells{};
    std::uint16_t rows[9] = {}, cols[9] = {}, boxes[9] = {};

    void set(int cell, int d, bool on)
    {
        const std::uint16_t bit = std::uint16_t(1u << d);
        rows[cell / 9] ^= bit;
        cols[cell % 9] ^= bit;
        boxes[boxOf(cell)] ^= bit;
        cells[cell] = on ? std::uint8_t(d) : 0;
    }

    bool fill()
    {
        int best = -1, bestCount = 10;
        std::uint16_t bestFree = 0;
        for (int cell = 0; cell < 81; ++cell) {
            if (cells[cell])
                continue;
            const std::uint16_t free =
                std::uint16_t(~(rows[cell / 9] | cols[cell % 9] | boxes[boxOf(cell)]) & 0x3FE);
            const int count = int(qPopulationCount(free));
            if (count < bestCount) {
                best = cell;
                bestCount = count;
                bestFree = free;
            }
        }
        if (best < 0)
            return true;
        QList<int> digits;
        for (int d = 1; d <= 9; ++d)
            if (bestFree & (1u << d))
                digits << d;
        random.shuffle(digits);
        for (int d : digits) {
            set(best, d, true);
            if (fill())
                return true;
            set(best, d, false);
        }
        return false;
    }
};

} // namespace

// The draws of a seed must never change: the shipped bank is this generator's output for its
// seed, and regenerating it byte for byte is how a change to the bank is checked. A new way of
// drawing needs a new generator, not an edit of this one.
Prng::Prng(quint64 seed)
{
    for (quint64 &word : s_)
        word = splitmix64(seed);
}

quint64 Prng::next()
{
    const quint64 result = rotl(s_[1] * 5, 7) * 9;
    const quint64 t = s_[1] << 17;
    s_[2] ^= s_[0];
    s_[3] ^= s_[1];
    s_[1] ^= s_[2];
    s_[0] ^= s_[3];
    s_[2] ^= t;
    s_[3] = rotl(s_[3], 45);
    return result;
}

quint32 Prng::below(quint32 n)
{
    // Rejection keeps every value equally likely; the modulo alone would favour small ones.
    const quint64 limit = (~quint64(0) / n) * n;
    quint64 x;
    do {
        x = next();
    } while (x >= limit);
    return quint32(x % n);
}

sudoku::Grid randomGrid(Prng &random)
{
    Filler filler{random};
    filler.fill();
    return filler.cells;
}

sudoku::Grid minimalPuzzle(const sudoku::Grid &solution, Prng &random)
{
    sudoku::Grid puzzle = solution;
    QList<int> order;
    for (int cell = 0; cell < 81; ++cell)
        order << cell;
    random.shuffle(order);
    for (int cell : order) {
        const std::uint8_t keep = puzzle[cell];
        puzzle[cell] = 0;
        if (sudoku::countSolutions(puzzle, 2) != 1)
            puzzle[cell] = keep;
    }
    return puzzle;
}

Symmetry Symmetry::random(Prng &random)
{
    Symmetry s;
    auto lines = [&random](std::array<int, 9> &from) {
        std::array<int, 3> blocks = {0, 1, 2};
        random.shuffle(blocks);
        for (int b = 0; b < 3; ++b) {
            std::array<int, 3> inner = {0, 1, 2};
            random.shuffle(inner);
            for (int k = 0; k < 3; ++k)
                from[b * 3 + k] = blocks[b] * 3 + inner[k];
        }
    };
    lines(s.rowFrom);
    lines(s.columnFrom);
    s.transpose = random.below(2) == 1;
    std::array<std::uint8_t, 9> digits = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    random.shuffle(digits);
    s.label[0] = 0;
    for (int d = 1; d <= 9; ++d)
        s.label[d] = digits[d - 1];
    return s;
}

sudoku::Grid Symmetry::apply(const sudoku::Grid &grid) const
{
    sudoku::Grid out{};
    for (int r = 0; r < 9; ++r)
        for (int c = 0; c < 9; ++c)
            out[transpose ? c * 9 + r : r * 9 + c] = label[grid[rowFrom[r] * 9 + columnFrom[c]]];
    return out;
}

namespace {

struct CountWeight {
    int givens;
    int lines;
};

// The full-size shapes; each sums to the level's mean given count times its lines exactly.
// Easy without its line 1 (55 givens): 499 lines, with it 27,480 givens (mean 54.96).
const CountWeight kEasyOthers[] = {{52, 45}, {53, 80}, {54, 89}, {55, 135}, {56, 60}, {57, 35},
                                   {58, 20}, {59, 15}, {60, 10}, {61, 6},   {62, 4}};
// Expert beside its 303 lines of 17: 197 lines, 5,244 givens (mean 20.79 over 500).
const CountWeight kExpertOthers[] = {{22, 8},  {23, 15}, {24, 22}, {25, 21}, {26, 23}, {27, 35},
                                     {28, 31}, {29, 18}, {30, 12}, {31, 7},  {32, 5}};
// Extreme beside its 301 lines of 17 and line 1 (18): 198 lines, 4,650 givens (mean 19.57).
const CountWeight kExtremeOthers[] = {{22, 62}, {23, 61}, {24, 43}, {25, 16}, {26, 6}, {27, 3},
                                      {28, 2},  {29, 1},  {30, 1},  {31, 1},  {32, 1}, {36, 1}};
constexpr int kFullLines = 500;
constexpr int kExpert17 = 303;
constexpr int kExtreme17 = 301;
// Far beyond what the full bank needs (a few thousand); stops a hopeless search.
constexpr int kMaxMinimalPuzzles = 400000;

template<size_t N> QList<int> expand(const CountWeight (&table)[N])
{
    QList<int> out;
    for (const CountWeight &w : table)
        for (int k = 0; k < w.lines; ++k)
            out << w.givens;
    return out;
}

// m values spread evenly over a sorted list, so a short bank keeps the shape.
QList<int> subsample(const QList<int> &sorted, int m)
{
    QList<int> out;
    for (int k = 0; k < m; ++k)
        out << sorted.at(int((2LL * k + 1) * sorted.size() / (2LL * m)));
    return out;
}

int scaled(int full, int n)
{
    return int((qint64(full) * n + kFullLines / 2) / kFullLines);
}

int countGivens(const sudoku::Grid &grid)
{
    return int(std::count_if(grid.begin(), grid.end(), [](auto v) { return v != 0; }));
}

QByteArray rowDigits(const sudoku::Grid &grid)
{
    QByteArray text(81, '0');
    for (int p = 0; p < 81; ++p)
        text[p] = char('0' + grid[p]);
    return text;
}

// Generation works row by row; bank lines are written column by column.
QByteArray bankLineOf(const sudoku::Grid &rowGivens, const sudoku::Grid &rowSolution)
{
    return toBankLine(transposed(rowGivens), transposed(rowSolution));
}

struct Candidate {
    sudoku::Grid givens;
    sudoku::Grid solution;
    sudoku::Technique rating;
};

struct NestedGrid {
    sudoku::Grid solution;
    // Easy's, Standard's and Hard's givens as the first generator made them.
    std::array<sudoku::Grid, 3> first;
};

// Nothing in Easy, Standard or Hard needs more than pairs: triples, fish and wings are left
// to Expert.
constexpr auto kNestedCap = sudoku::Technique::HiddenPair;
constexpr int kHardTries = 24;

class Generator {
public:
    explicit Generator(const GenerateOptions &options)
        : options_(options), random_(options.seed), n_(options.lines)
    {
    }

    GeneratedBank run()
    {
        GeneratedBank bank;
        if (n_ < 2) {
            bank.error = QStringLiteral("a level needs at least two lines");
            return bank;
        }
        for (int level : {0, 4}) {
            const auto puzzle = parseBankLine(bankline::firstLine(level));
            grids_.insert(rowDigits(transposed(puzzle->solution)));
        }
        if (!readMinimal17(bank.error))
            return bank;
        const QList<NestedGrid> nested = drawNestedGrids();
        makeSparse(bank, 3);
        makeSparse(bank, 4);
        makeNested(bank, nested);
        return bank;
    }

private:
    void log(const QString &text) const
    {
        if (options_.log)
            options_.log(text);
    }

    bool readMinimal17(QString &error)
    {
        for (int k = 0; k < options_.minimal17.size(); ++k) {
            const QByteArray &line = options_.minimal17.at(k);
            const auto puzzle = parseAnyLine(line);
            if (!puzzle || puzzle->hasSolution || puzzle->givenCount() != 17) {
                error =
                    QStringLiteral("17-given puzzle %1 is not 81 digits with 17 givens").arg(k + 1);
                return false;
            }
            // parseAnyLine turns the row-by-row digits column by column; turn them back.
            minimal17_.append(transposed(puzzle->givens));
            minimalText_.insert(line);
        }
        return true;
    }

    bool newGrid(const sudoku::Grid &rowSolution)
    {
        const QByteArray key = rowDigits(rowSolution);
        if (grids_.contains(key))
            return false;
        grids_.insert(key);
        return true;
    }

    static bool logical(const sudoku::Grid &givens) { return sudoku::rate(givens).solved; }

    // The grids of Easy, Standard and Hard, drawn with every draw and check of the first
    // generator (random removal, which left nearly every line at naked singles) so that Expert
    // and Extreme, drawn next, keep their lines. Its lines stay as a last resort.
    QList<NestedGrid> drawNestedGrids()
    {
        QList<int> plan = givenCountPlan(0, n_);
        plan.removeFirst();
        random_.shuffle(plan);
        QList<NestedGrid> grids;
        for (int easy : plan) {
            for (;;) {
                const sudoku::Grid solution = randomGrid(random_);
                if (grids_.contains(rowDigits(solution)))
                    continue;
                QList<int> order;
                for (int cell = 0; cell < 81; ++cell)
                    order << cell;
                random_.shuffle(order);
                sudoku::Grid hard = solution;
                QList<int> removed;
                const int target = easy - 11;
                for (int cell : order) {
                    if (81 - removed.size() == target)
                        break;
                    hard[cell] = 0;
                    if (sudoku::countSolutions(hard, 2) == 1 && logical(hard))
                        removed << cell;
                    else
                        hard[cell] = solution[cell];
                }
                if (81 - removed.size() != target)
                    continue;
                random_.shuffle(removed);
                sudoku::Grid standard = hard, easyGivens = hard;
                for (int k = 0; k < 11; ++k) {
                    if (k < 5)
                        standard[removed[k]] = solution[removed[k]];
                    easyGivens[removed[k]] = solution[removed[k]];
                }
                if (!logical(standard) || !logical(easyGivens))
                    continue;
                newGrid(solution);
                grids.append({solution, {easyGivens, standard, hard}});
                break;
            }
        }
        return grids;
    }

    // Within the nested levels' cap: the technique a puzzle needs, or Guessing beyond the cap.
    static sudoku::Technique nestedRating(const sudoku::Grid &givens)
    {
        const sudoku::Rating r = sudoku::rate(givens, kNestedCap);
        return r.solved ? r.hardest : sudoku::Technique::Guessing;
    }

    // A Hard puzzle of count givens that needs at least aim: a minimal puzzle within the cap
    // (removal alone almost never gets past naked singles at 41 to 51 givens, but minimal
    // puzzles often need more), filled back up with givens that keep the need.
    std::optional<sudoku::Grid> hardAttempt(const sudoku::Grid &solution, int count,
                                            sudoku::Technique aim)
    {
        sudoku::Grid puzzle = solution;
        QList<int> order;
        for (int cell = 0; cell < 81; ++cell)
            order << cell;
        random_.shuffle(order);
        for (int cell : order) {
            puzzle[cell] = 0;
            if (sudoku::countSolutions(puzzle, 2) != 1 ||
                nestedRating(puzzle) == sudoku::Technique::Guessing)
                puzzle[cell] = solution[cell];
        }
        const sudoku::Technique core = nestedRating(puzzle);
        if (core < aim || countGivens(puzzle) > count)
            return std::nullopt;
        QList<int> empty;
        for (int cell = 0; cell < 81; ++cell)
            if (!puzzle[cell])
                empty << cell;
        random_.shuffle(empty);
        for (int cell : empty) {
            if (countGivens(puzzle) == count)
                break;
            puzzle[cell] = solution[cell];
            const sudoku::Technique r = nestedRating(puzzle);
            if (r < aim || r == sudoku::Technique::Guessing)
                puzzle[cell] = 0;
        }
        if (countGivens(puzzle) != count)
            return std::nullopt;
        return puzzle;
    }

    // Reveals extra of the cells that from hides, one at a time, each the first in a random
    // order that leaves the rating at want, else the nearest above it (a later cell may still
    // bring it down); below want only as a last resort, never above most.
    std::optional<sudoku::Grid> reveal(const sudoku::Grid &from, const sudoku::Grid &solution,
                                       int extra, sudoku::Technique want, sudoku::Technique most)
    {
        sudoku::Grid puzzle = from;
        for (int step = 0; step < extra; ++step) {
            QList<int> hidden;
            for (int cell = 0; cell < 81; ++cell)
                if (!puzzle[cell])
                    hidden << cell;
            random_.shuffle(hidden);
            int best = -1, bestMiss = 0;
            for (int cell : hidden) {
                puzzle[cell] = solution[cell];
                const sudoku::Technique r = nestedRating(puzzle);
                puzzle[cell] = 0;
                if (r > most)
                    continue;
                const int miss = r == want ? 0 : r > want ? int(r) - int(want) : 100;
                if (best < 0 || miss < bestMiss) {
                    best = cell;
                    bestMiss = miss;
                }
                if (miss == 0)
                    break;
            }
            if (best < 0)
                return std::nullopt;
            puzzle[best] = solution[best];
        }
        return puzzle;
    }

    // Hard aims at locked candidates or a pair, else at hidden singles; Standard at hidden
    // singles and Easy at naked singles, neither harder than the level it is made from. A
    // Standard left above hidden singles is kept only if no other Hard puzzle does better.
    bool nestedLines(const sudoku::Grid &solution, int hardCount,
                     std::array<sudoku::Grid, 3> &levels)
    {
        using T = sudoku::Technique;
        for (T aim : {T::LockedCandidates, T::HiddenSingle}) {
            std::optional<std::array<sudoku::Grid, 3>> runnerUp;
            for (int attempt = 0; attempt < kHardTries; ++attempt) {
                const auto hard = hardAttempt(solution, hardCount, aim);
                if (!hard)
                    continue;
                const auto standard =
                    reveal(*hard, solution, 5, T::HiddenSingle, nestedRating(*hard));
                if (!standard)
                    continue;
                const auto easy =
                    reveal(*standard, solution, 6, T::NakedSingle, nestedRating(*standard));
                if (!easy)
                    continue;
                if (nestedRating(*standard) <= T::HiddenSingle) {
                    levels = {*easy, *standard, *hard};
                    return true;
                }
                if (!runnerUp)
                    runnerUp = {*easy, *standard, *hard};
            }
            if (runnerUp) {
                levels = *runnerUp;
                return true;
            }
        }
        return false;
    }

    // Easy, Standard and Hard: one grid per line, Hard's givens inside Standard's inside Easy's.
    void makeNested(GeneratedBank &bank, const QList<NestedGrid> &grids)
    {
        for (int level = 0; level < 3; ++level)
            bank.levels[level] << bankline::firstLine(level);
        int fallbacks = 0;
        for (const NestedGrid &grid : grids) {
            std::array<sudoku::Grid, 3> levels = grid.first;
            if (!nestedLines(grid.solution, countGivens(grid.first[2]), levels))
                ++fallbacks;
            for (int level = 0; level < 3; ++level)
                bank.levels[level] << bankLineOf(levels[level], grid.solution);
        }
        log(QStringLiteral("Easy, Standard, Hard: %1 lines each, %2 as first made")
                .arg(bank.levels[0].size())
                .arg(fallbacks));
    }

    // Orders the 17-given puzzles from the hardest: rating, then how much logic left unsolved.
    void rankMinimal17()
    {
        if (!ranked_.isEmpty())
            return;
        struct Ranked {
            int index;
            int rating;
            int left;
        };
        QList<Ranked> all;
        for (int k = 0; k < minimal17_.size(); ++k) {
            const sudoku::Rating r = sudoku::rate(minimal17_[k]);
            all.append({k, int(r.hardest), r.emptyCells()});
        }
        std::stable_sort(all.begin(), all.end(), [](const Ranked &a, const Ranked &b) {
            if (a.rating != b.rating)
                return a.rating > b.rating;
            if (a.left != b.left)
                return a.left > b.left;
            return a.index < b.index;
        });
        for (const Ranked &r : all) {
            ranked_.append(r.index);
            ratingOf_.insert(r.index, sudoku::Technique(r.rating));
        }
    }

    // A 17-given puzzle moved by a random symmetry until it copies no puzzle of the set.
    QByteArray transformed17(int index)
    {
        for (;;) {
            const sudoku::Grid givens = Symmetry::random(random_).apply(minimal17_[index]);
            if (minimalText_.contains(rowDigits(givens)) ||
                minimalText_.contains(rowDigits(transposed(givens))))
                continue;
            sudoku::Grid solution{};
            if (sudoku::countSolutions(givens, 2, &solution) != 1)
                return {};
            if (!newGrid(solution))
                continue;
            return bankLineOf(givens, solution);
        }
    }

    QList<QByteArray> pick17(int level, int count)
    {
        rankMinimal17();
        QList<int> chosen;
        if (level == 4) {
            for (int k = 0; k < ranked_.size() && chosen.size() < count; ++k)
                if (!used17_.contains(ranked_[k]))
                    chosen << ranked_[k];
        } else {
            // Expert takes the middle: beyond locked candidates, short of guessing.
            QList<int> middle;
            for (int index : ranked_) {
                const auto r = ratingOf_.value(index);
                if (r >= sudoku::Technique::NakedPair && r < sudoku::Technique::Guessing)
                    middle << index;
            }
            std::sort(middle.begin(), middle.end());
            random_.shuffle(middle);
            for (int index : middle)
                if (chosen.size() < count && !used17_.contains(index))
                    chosen << index;
            for (int index : ranked_)
                if (chosen.size() < count && !used17_.contains(index) && !chosen.contains(index) &&
                    ratingOf_.value(index) < sudoku::Technique::Guessing)
                    chosen << index;
        }
        QList<QByteArray> lines;
        for (int index : chosen) {
            used17_.insert(index);
            const QByteArray line = transformed17(index);
            if (!line.isEmpty())
                lines << line;
        }
        return lines;
    }

    static bool inBand(int level, sudoku::Technique r)
    {
        if (level == 4)
            return r >= sudoku::Technique::XYWing;
        return r >= sudoku::Technique::NakedPair && r < sudoku::Technique::Guessing;
    }

    // Adds givens from the solution until count, keeping the rating in the level's band.
    bool pad(int level, Candidate &c, int count)
    {
        QList<int> empty;
        for (int cell = 0; cell < 81; ++cell)
            if (!c.givens[cell])
                empty << cell;
        random_.shuffle(empty);
        for (int cell : empty) {
            if (countGivens(c.givens) >= count)
                break;
            c.givens[cell] = c.solution[cell];
            const sudoku::Technique r = sudoku::rate(c.givens).hardest;
            if (inBand(level, r))
                c.rating = r;
            else
                c.givens[cell] = 0;
        }
        return countGivens(c.givens) == count;
    }

    // Expert's and Extreme's lines beyond the 17s: minimal puzzles of the level's band, filled
    // up to the planned count.
    QList<QByteArray> makeGenerated(int level, QList<int> plan)
    {
        std::sort(plan.begin(), plan.end());
        QList<QByteArray> lines;
        QList<Candidate> pool;
        int made = 0;
        for (int count : plan) {
            for (;;) {
                int k = 0;
                while (k < pool.size() && countGivens(pool[k].givens) > count)
                    ++k;
                if (k == pool.size()) {
                    if (made >= kMaxMinimalPuzzles) {
                        error_ = QStringLiteral("level %1: no puzzle of %2 givens in its band "
                                                "after %3 tries")
                                     .arg(level)
                                     .arg(count)
                                     .arg(made);
                        return lines;
                    }
                    const sudoku::Grid solution = randomGrid(random_);
                    if (grids_.contains(rowDigits(solution)))
                        continue;
                    const sudoku::Grid givens = minimalPuzzle(solution, random_);
                    ++made;
                    const sudoku::Technique r = sudoku::rate(givens).hardest;
                    if (inBand(level, r))
                        pool.append({givens, solution, r});
                    continue;
                }
                Candidate c = pool.takeAt(k);
                if (!pad(level, c, count) || !newGrid(c.solution))
                    continue;
                lines << bankLineOf(c.givens, c.solution);
                break;
            }
        }
        log(QStringLiteral("level %1: %2 generated lines from %3 minimal puzzles")
                .arg(level)
                .arg(lines.size())
                .arg(made));
        return lines;
    }

    void makeSparse(GeneratedBank &bank, int level)
    {
        QList<int> plan = givenCountPlan(level, n_);
        const int seventeens = int(plan.count(17));
        plan.removeAll(17);
        if (level == 4)
            plan.removeOne(18);
        QList<QByteArray> lines = pick17(level, seventeens);
        lines += makeGenerated(level, plan);
        random_.shuffle(lines);
        if (level == 4)
            lines.prepend(bankline::firstLine(4));
        bank.levels[level] = lines;
        if (!error_.isEmpty())
            bank.error = error_;
        else if (lines.size() != n_)
            bank.error =
                QStringLiteral("level %1 came out with %2 lines").arg(level).arg(lines.size());
    }

    const GenerateOptions &options_;
    Prng random_;
    int n_;
    QList<sudoku::Grid> minimal17_;
    QSet<QByteArray> minimalText_;
    QList<int> ranked_;
    QHash<int, sudoku::Technique> ratingOf_;
    QSet<int> used17_;
    QSet<QByteArray> grids_;
    QString error_;
};

} // namespace

QList<int> givenCountPlan(int level, int n)
{
    QList<int> plan;
    switch (level) {
    case 0:
    case 1:
    case 2: {
        const int less = level == 0 ? 0 : level == 1 ? 6 : 11;
        plan << 55;
        plan += subsample(expand(kEasyOthers), n - 1);
        for (int &v : plan)
            v -= less;
        break;
    }
    case 3: {
        const int seventeens = scaled(kExpert17, n);
        plan.fill(17, seventeens);
        plan += subsample(expand(kExpertOthers), n - seventeens);
        break;
    }
    case 4: {
        const int seventeens = std::min(scaled(kExtreme17, n), n - 1);
        plan.fill(17, seventeens);
        plan << 18;
        plan += subsample(expand(kExtremeOthers), n - seventeens - 1);
        break;
    }
    default:
        break;
    }
    return plan;
}

GeneratedBank generateBank(const GenerateOptions &options)
{
    return Generator(options).run();
}

QByteArray GeneratedBank::fileText(int level) const
{
    QByteArray text;
    for (const QByteArray &line : levels[level])
        text += line + '\n';
    return text;
}

int runGenerate(const QStringList &args, QTextStream &out, QTextStream &err)
{
    GenerateOptions options;
    QString outDir, minimalPath = QStringLiteral(":/minimal17/puzzles17.txt");
    bool haveSeed = false;
    for (int k = 0; k < args.size(); ++k) {
        const QString &arg = args.at(k);
        const bool hasValue = k + 1 < args.size();
        bool ok = true;
        if (arg == QLatin1String("--seed") && hasValue) {
            options.seed = args.at(++k).toULongLong(&ok);
            haveSeed = ok;
        } else if (arg == QLatin1String("--out") && hasValue) {
            outDir = args.at(++k);
        } else if (arg == QLatin1String("--minimal17") && hasValue) {
            minimalPath = args.at(++k);
        } else if (arg == QLatin1String("--lines") && hasValue) {
            options.lines = args.at(++k).toInt(&ok);
            ok = ok && options.lines >= 2 && options.lines <= 500;
        } else {
            ok = false;
        }
        if (!ok) {
            err << "generate: bad argument '" << arg << "'\n";
            return 2;
        }
    }
    if (!haveSeed || outDir.isEmpty()) {
        err << "generate: needs --seed N and --out DIR\n";
        return 2;
    }
    const auto minimal = readWholeFile(minimalPath);
    if (!minimal) {
        err << minimalPath << ": " << minimal.error() << "\n";
        return 1;
    }
    for (const QByteArray &line : splitLines(*minimal))
        if (!line.trimmed().isEmpty())
            options.minimal17 << line.trimmed();
    options.log = [&err](const QString &text) {
        err << text << "\n";
        err.flush();
    };
    QElapsedTimer timer;
    timer.start();
    const GeneratedBank bank = generateBank(options);
    if (!bank.error.isEmpty()) {
        err << "generate: " << bank.error << "\n";
        return 1;
    }
    if (!QDir().mkpath(outDir)) {
        err << outDir << ": cannot create the folder\n";
        return 1;
    }
    for (int level = 0; level < 5; ++level) {
        const QString path = QDir(outDir).filePath(QStringLiteral("tk%1.txt").arg(level));
        if (const Status written = writewholefile(path, bank.fileText(level)); !written) {
            err << path << ": " << written.error() << "\n";
            return 1;
        }
    }
    out << "wrote tk0.txt .. tk4.txt to " << outDir << " in "
        << QString::number(timer.elapsed() / 1000.0, 'f', 1) << " s (seed " << options.seed
        << ")\n";
    return 0;
}

} // namespace banktool
