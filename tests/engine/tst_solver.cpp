#include "engine/solver.h"
#include "referencesolver.h"
#include "sandbox.h"

#include <QtTest>

#include <random>
#include <utility>
#include <vector>

using sudoku::Grid;

namespace {
const QByteArray kPuzzle1 =
    "003000006000800040000000000060030500400000010000090000000700103740200000000000900";
// The full grid of puzzle 1 less two deadly patterns (r1-2 c2/c4 and r1-2 c6/c8): four solutions.
const QByteArray kFourSolutions =
    "103020706206070301574361298961437582437582619825196437658749123749213865312658974";

Grid parse(const QByteArray &text)
{
    Grid g{};
    for (int i = 0; i < 81; ++i)
        g[i] = std::uint8_t(text.at(i) - '0');
    return g;
}

QByteArray format(const Grid &g)
{
    QByteArray text(81, '0');
    for (int i = 0; i < 81; ++i)
        text[i] = char('0' + g[i]);
    return text;
}

// Columns become rows: the order the bank writes its lines in.
Grid transposed(const Grid &g)
{
    Grid t{};
    for (int i = 0; i < 81; ++i)
        t[i % 9 * 9 + i / 9] = g[i];
    return t;
}

// A complete grid that breaks no rule and keeps every given.
bool completes(const Grid &grid, const Grid &givens)
{
    for (int i = 0; i < 81; ++i)
        if (grid[i] < 1 || grid[i] > 9 || (givens[i] && givens[i] != grid[i]))
            return false;
    for (int unit = 0; unit < 9; ++unit) {
        int row = 0, col = 0, box = 0;
        for (int k = 0; k < 9; ++k) {
            row |= 1 << grid[unit * 9 + k];
            col |= 1 << grid[k * 9 + unit];
            box |= 1 << grid[(unit / 3 * 3 + k / 3) * 9 + unit % 3 * 3 + k % 3];
        }
        if (row != 0x3FE || col != 0x3FE || box != 0x3FE)
            return false;
    }
    return true;
}

// No equal digit shares a row, column or box with the cell.
bool fits(const Grid &g, int cell, int digit)
{
    for (int k = 0; k < 81; ++k)
        if (g[k] == digit && (k / 9 == cell / 9 || k % 9 == cell % 9 ||
                              (k / 27 == cell / 27 && k % 9 / 3 == cell % 9 / 3)))
            return false;
    return true;
}

QList<QByteArray> readLines(const QString &path)
{
    QFile file(path);
    QList<QByteArray> lines;
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return lines;
    for (const QByteArray &line : file.readAll().split('\n'))
        if (!line.trimmed().isEmpty() && !line.startsWith('#'))
            lines << line.trimmed();
    return lines;
}
} // namespace

class TestSolver : public QObject {
    Q_OBJECT

private slots:
    void knownCases_data()
    {
        QTest::addColumn<QByteArray>("givens");
        QTest::addColumn<int>("count");
        QTest::addColumn<QByteArray>("solution");
        const QList<QByteArray> lines =
            readLines(QStringLiteral(VASKELIO_TEST_DATA "/solver_cases.txt"));
        QVERIFY(lines.size() >= 10);
        for (const QByteArray &line : lines) {
            const QList<QByteArray> f = line.split('|');
            QCOMPARE(f.size(), 4);
            QTest::newRow(f[0].trimmed().constData())
                << f[1].trimmed() << f[2].trimmed().toInt() << f[3].trimmed();
        }
    }
    void knownCases()
    {
        QFETCH(QByteArray, givens);
        QFETCH(int, count);
        QFETCH(QByteArray, solution);
        for (const bool byColumn : {false, true}) {
            const Grid g = byColumn ? transposed(parse(givens)) : parse(givens);
            Grid untouched, out;
            untouched.fill(0xEE);
            out = untouched;
            QCOMPARE(sudoku::countSolutions(g, 2, &out), count);
            QVERIFY(count == 0 ? out == untouched : completes(out, g));
            if (count == 1)
                QCOMPARE(format(byColumn ? transposed(out) : out), solution);
            QCOMPARE(sudoku::countSolutions(g, 1), qMin(count, 1));
        }
    }

    void limitCapsTheCount_data()
    {
        QTest::addColumn<QByteArray>("givens");
        QTest::addColumn<int>("limit");
        QTest::addColumn<int>("count");
        const QByteArray empty(81, '0');
        for (const int limit : {-1, 0, 1, 2, 3, 40})
            QTest::addRow("empty grid, limit %d", limit) << empty << limit << qMax(limit, 0);
        for (const int limit : {1, 3, 4, 100})
            QTest::addRow("four solutions, limit %d", limit)
                << kFourSolutions << limit << qMin(limit, 4);
        QTest::newRow("unique, limit 0") << kPuzzle1 << 0 << 0;
        QTest::newRow("unique, limit 100") << kPuzzle1 << 100 << 1;
    }
    void limitCapsTheCount()
    {
        QFETCH(QByteArray, givens);
        QFETCH(int, limit);
        QFETCH(int, count);
        Grid out{};
        QCOMPARE(sudoku::countSolutions(parse(givens), limit, &out), count);
        QCOMPARE(completes(out, parse(givens)), count > 0);
    }

    void digitsAboveNineHaveNoSolution()
    {
        for (const std::uint8_t digit : {10, 255}) {
            Grid g = parse(kPuzzle1);
            g[80] = digit;
            QCOMPARE(sudoku::countSolutions(g, 2), 0);
        }
    }

    // Counts as the plain backtracker does on puzzles with clues dropped (mostly several
    // solutions), a wrong digit added (none) and random givens that break no rule (either).
    void agreesWithReference()
    {
        const QList<QByteArray> puzzles =
            readLines(QStringLiteral(VASKELIO_SOURCE_DIR "/data/minimal17/puzzles17.txt"));
        QVERIFY(puzzles.size() >= 300);
        std::mt19937 random(20240611);
        const auto pick = [&random](int n) { return int(random() % unsigned(n)); };
        std::vector<std::pair<Grid, int>> cases; // givens, limit
        for (int p = 0; p < 300; ++p) {
            const Grid puzzle = parse(puzzles[p]);
            Grid fewer = puzzle;
            for (int drops = pick(4); drops > 0; --drops)
                fewer[pick(81)] = 0;
            cases.emplace_back(fewer, 1 + pick(3));

            Grid solution{}, wrong = puzzle;
            reference::Backtracker::count(puzzle, 1, &solution);
            const int cell = pick(81), digit = 1 + pick(9);
            if (!wrong[cell] && digit != solution[cell]) {
                wrong[cell] = std::uint8_t(digit);
                cases.emplace_back(wrong, 2);
            }

            Grid loose{};
            for (int tries = 30 + pick(30); tries > 0; --tries) {
                const int at = pick(81), d = 1 + pick(9);
                if (!loose[at] && fits(loose, at, d))
                    loose[at] = std::uint8_t(d);
            }
            cases.emplace_back(loose, 2);
        }
        int seen[3] = {};
        for (const auto &[givens, limit] : cases) {
            Grid ours{}, theirs{};
            const int count = sudoku::countSolutions(givens, limit, &ours);
            const int expected = reference::Backtracker::count(givens, limit, &theirs);
            const QByteArray where = format(givens) + " limit " + QByteArray::number(limit);
            QVERIFY2(count == expected, where.constData());
            QVERIFY2(count == 0 || completes(ours, givens), where.constData());
            if (count == 1 && limit > 1)
                QVERIFY2(ours == theirs, where.constData());
            ++seen[qMin(count, 2)];
        }
        for (const int times : seen)
            QVERIFY(times > 20); // none, one and several solutions all came up
    }
};

VASKELIO_TEST_MAIN(TestSolver)
#include "tst_solver.moc"
