#include "engine/bank.h"
#include "engine/bankline.h"
#include "engine/rating.h"
#include "engine/solver.h"
#include "sandbox.h"

#include <QFile>
#include <QtTest>

using sudoku::Grid;
using sudoku::LogicState;
using sudoku::Technique;

Q_DECLARE_METATYPE(Technique)

namespace {

// Row-by-row digits, "0" or "." for an empty cell.
Grid digitsGrid(const QByteArray &text)
{
    Grid grid{};
    for (int p = 0; p < 81; ++p)
        grid[p] = text.at(p) == '.' ? 0 : std::uint8_t(text.at(p) - '0');
    return grid;
}

std::uint16_t bits(std::initializer_list<int> digits)
{
    std::uint16_t mask = 0;
    for (int d : digits)
        mask |= std::uint16_t(1u << (d - 1));
    return mask;
}

int cellAt(int row, int column)
{
    return row * 9 + column;
}

bool has(const LogicState &s, int cell, int digit)
{
    return s.candidates(cell) & bits({digit});
}

// A position with every candidate open in every cell: an empty grid, before any technique.
LogicState openPosition()
{
    return LogicState(Grid{});
}

void removeDigit(LogicState &s, int cell, int digit)
{
    s.setCandidates(cell, std::uint16_t(s.candidates(cell) & ~bits({digit})));
}

} // namespace

class TestRating : public QObject {
    Q_OBJECT

private slots:
    void namesRoundTrip()
    {
        QSet<QString> seen;
        for (int k = 0; k < sudoku::kTechniqueCount; ++k) {
            const char *name = sudoku::techniqueName(Technique(k));
            QVERIFY(!seen.contains(QString::fromLatin1(name)));
            seen.insert(QString::fromLatin1(name));
            QCOMPARE(sudoku::techniqueFromName(name), std::optional<Technique>(Technique(k)));
        }
        QCOMPARE(sudoku::techniqueFromName("no-such-technique"), std::optional<Technique>());
    }

    // Each reference puzzle needs exactly the named technique: it solves with it and stalls
    // without it, and logic fills in the puzzle's one solution.
    void referencePuzzles_data()
    {
        QTest::addColumn<Technique>("expected");
        QTest::addColumn<QByteArray>("puzzle");
        QFile file(QStringLiteral(VASKELIO_TEST_DATA "/rating/reference.txt"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        int rows = 0;
        while (!file.atEnd()) {
            const QByteArray line = file.readLine().trimmed();
            if (line.isEmpty() || line.startsWith('#'))
                continue;
            const QList<QByteArray> fields = line.split(' ');
            const auto technique = sudoku::techniqueFromName(fields.at(0).toStdString());
            QVERIFY2(technique, fields.at(0).constData());
            QTest::addRow("%d %s", ++rows, fields.at(0).constData()) << *technique << fields.at(1);
        }
        QVERIFY(rows >= 10);
    }

    void referencePuzzles()
    {
        QFETCH(Technique, expected);
        QFETCH(QByteArray, puzzle);
        QCOMPARE(puzzle.size(), 81);
        const Grid givens = digitsGrid(puzzle);
        Grid solution{};
        QCOMPARE(sudoku::countSolutions(givens, 2, &solution), 1);

        const sudoku::Rating rating = sudoku::rate(givens);
        QCOMPARE(sudoku::techniqueName(rating.hardest), sudoku::techniqueName(expected));
        for (int cell = 0; cell < 81; ++cell)
            if (rating.grid[cell])
                QCOMPARE(int(rating.grid[cell]), int(solution[cell]));
        if (expected == Technique::Guessing) {
            QVERIFY(!rating.solved);
            QVERIFY(rating.emptyCells() > 0);
            return;
        }
        QVERIFY(rating.solved);
        QCOMPARE(rating.grid, solution);
        QVERIFY(rating.uses[int(expected)] > 0);
        const sudoku::Rating without = sudoku::rate(givens, Technique(int(expected) - 1));
        QVERIFY(!without.solved);
        QCOMPARE(without.hardest, Technique::Guessing);
    }

    void completeGridNeedsNothing()
    {
        Grid solution{};
        QCOMPARE(sudoku::countSolutions(Grid{}, 1, &solution), 1);
        const sudoku::Rating rating = sudoku::rate(solution);
        QCOMPARE(rating.hardest, Technique::None);
        QVERIFY(rating.solved);
    }

    void brokenGivensAreNotSolved()
    {
        Grid givens{};
        givens[cellAt(0, 0)] = 5;
        givens[cellAt(0, 7)] = 5;
        const sudoku::Rating rating = sudoku::rate(givens);
        QCOMPARE(rating.hardest, Technique::Guessing);
        QVERIFY(!rating.solved);
    }

    void nakedSingleFillsTheLastCellOfARow()
    {
        Grid givens{};
        for (int c = 0; c < 8; ++c)
            givens[cellAt(3, c)] = std::uint8_t(c + 1);
        LogicState s(givens);
        QVERIFY(s.apply(Technique::NakedSingle));
        QCOMPARE(s.value(cellAt(3, 8)), 9);
        QVERIFY(!s.apply(Technique::NakedSingle));
    }

    void hiddenSingleFindsTheOnlyPlace()
    {
        LogicState s = openPosition();
        for (int c = 0; c < 9; ++c)
            if (c != 6)
                removeDigit(s, cellAt(2, c), 5);
        QVERIFY(!s.apply(Technique::NakedSingle));
        QVERIFY(s.apply(Technique::HiddenSingle));
        QCOMPARE(s.value(cellAt(2, 6)), 5);
        QVERIFY(!has(s, cellAt(7, 6), 5)); // the placement clears the column
    }

    void pointingClearsTheRestOfTheRow()
    {
        LogicState s = openPosition();
        for (int r = 1; r < 3; ++r)
            for (int c = 0; c < 3; ++c)
                removeDigit(s, cellAt(r, c), 7);
        QVERIFY(s.apply(Technique::LockedCandidates));
        for (int c = 3; c < 9; ++c)
            QVERIFY(!has(s, cellAt(0, c), 7));
        for (int c = 0; c < 3; ++c)
            QVERIFY(has(s, cellAt(0, c), 7));
        QVERIFY(has(s, cellAt(1, 4), 7));
    }

    void claimingClearsTheRestOfTheBox()
    {
        LogicState s = openPosition();
        for (int c = 3; c < 9; ++c)
            removeDigit(s, cellAt(4, c), 3);
        QVERIFY(s.apply(Technique::LockedCandidates));
        for (int r : {3, 5})
            for (int c = 0; c < 3; ++c)
                QVERIFY(!has(s, cellAt(r, c), 3));
        QVERIFY(has(s, cellAt(4, 1), 3));
        QVERIFY(has(s, cellAt(3, 4), 3));
    }

    void nakedPairClearsRowAndBox()
    {
        LogicState s = openPosition();
        s.setCandidates(cellAt(0, 0), bits({2, 9}));
        s.setCandidates(cellAt(0, 1), bits({2, 9}));
        QVERIFY(s.apply(Technique::NakedPair));
        QVERIFY(!has(s, cellAt(0, 5), 2) && !has(s, cellAt(0, 5), 9));
        QVERIFY(!has(s, cellAt(2, 2), 9)); // same box
        QVERIFY(has(s, cellAt(5, 0), 9));  // column of one pair cell only
        QCOMPARE(s.candidates(cellAt(0, 0)), bits({2, 9}));
    }

    void nakedTripleNeedsThreeCells()
    {
        LogicState s = openPosition();
        s.setCandidates(cellAt(8, 1), bits({1, 4}));
        s.setCandidates(cellAt(8, 4), bits({4, 6}));
        s.setCandidates(cellAt(8, 7), bits({1, 6}));
        QVERIFY(!s.apply(Technique::NakedPair));
        QVERIFY(s.apply(Technique::NakedTriple));
        QVERIFY(!has(s, cellAt(8, 0), 1) && !has(s, cellAt(8, 8), 6));
        QVERIFY(has(s, cellAt(7, 1), 1));
    }

    void hiddenPairStripsItsCells()
    {
        LogicState s = openPosition();
        for (int c = 0; c < 9; ++c) {
            if (c == 2 || c == 7)
                continue;
            removeDigit(s, cellAt(8, c), 4);
            removeDigit(s, cellAt(8, c), 6);
        }
        QVERIFY(s.apply(Technique::HiddenPair));
        QCOMPARE(s.candidates(cellAt(8, 2)), bits({4, 6}));
        QCOMPARE(s.candidates(cellAt(8, 7)), bits({4, 6}));
        QCOMPARE(s.candidates(cellAt(8, 0)), bits({1, 2, 3, 5, 7, 8, 9}));
    }

    void xWingClearsItsColumns()
    {
        LogicState s = openPosition();
        for (int r : {1, 4})
            for (int c = 0; c < 9; ++c)
                if (c != 2 && c != 7)
                    removeDigit(s, cellAt(r, c), 5);
        QVERIFY(s.apply(Technique::XWing));
        for (int r = 0; r < 9; ++r) {
            const bool base = r == 1 || r == 4;
            QCOMPARE(has(s, cellAt(r, 2), 5), base);
            QCOMPARE(has(s, cellAt(r, 7), 5), base);
        }
        QVERIFY(has(s, cellAt(0, 3), 5));
    }

    void swordfishIsNotAnXWing()
    {
        LogicState s = openPosition();
        const int columns[3][2] = {{1, 4}, {4, 7}, {1, 7}};
        for (int k = 0; k < 3; ++k)
            for (int c = 0; c < 9; ++c)
                if (c != columns[k][0] && c != columns[k][1])
                    removeDigit(s, cellAt(k * 3, c), 8);
        QVERIFY(!s.apply(Technique::XWing));
        QVERIFY(s.apply(Technique::Swordfish));
        for (int r = 0; r < 9; ++r)
            for (int c : {1, 4, 7})
                if (r % 3 != 0)
                    QVERIFY(!has(s, cellAt(r, c), 8));
        QVERIFY(has(s, cellAt(0, 1), 8));
        QVERIFY(has(s, cellAt(5, 5), 8));
    }

    void xyWingClearsWhatBothPincersSee()
    {
        LogicState s = openPosition();
        s.setCandidates(cellAt(0, 0), bits({1, 2})); // pivot
        s.setCandidates(cellAt(0, 5), bits({1, 3}));
        s.setCandidates(cellAt(4, 0), bits({2, 3}));
        QVERIFY(s.apply(Technique::XYWing));
        QVERIFY(!has(s, cellAt(4, 5), 3));
        QVERIFY(has(s, cellAt(4, 4), 3));
        QVERIFY(has(s, cellAt(4, 0), 3));
        QVERIFY(has(s, cellAt(4, 5), 1));
    }

    void xyzWingClearsWhatAllThreeSee()
    {
        LogicState s = openPosition();
        s.setCandidates(cellAt(0, 0), bits({1, 2, 3})); // pivot
        s.setCandidates(cellAt(0, 1), bits({1, 3}));
        s.setCandidates(cellAt(1, 0), bits({2, 3}));
        QVERIFY(!s.apply(Technique::XYWing));
        QVERIFY(s.apply(Technique::XYZWing));
        QVERIFY(!has(s, cellAt(2, 2), 3));
        QVERIFY(!has(s, cellAt(1, 1), 3));
        QVERIFY(has(s, cellAt(0, 5), 3));
        QVERIFY(has(s, cellAt(0, 0), 3));
    }

    void jellyfishUsesFourLines()
    {
        LogicState s = openPosition();
        const int columns[4][2] = {{0, 3}, {3, 6}, {6, 8}, {0, 8}};
        const int rows[4] = {0, 2, 4, 7};
        for (int k = 0; k < 4; ++k)
            for (int c = 0; c < 9; ++c)
                if (c != columns[k][0] && c != columns[k][1])
                    removeDigit(s, cellAt(rows[k], c), 6);
        QVERIFY(!s.apply(Technique::XWing));
        QVERIFY(!s.apply(Technique::Swordfish));
        QVERIFY(s.apply(Technique::Jellyfish));
        QVERIFY(!has(s, cellAt(1, 0), 6) && !has(s, cellAt(8, 8), 6));
        QVERIFY(has(s, cellAt(1, 1), 6));
    }

    // Over the whole shipped bank, whatever logic fills in agrees with the stored solution.
    void logicNeverContradictsTheBank()
    {
        const PuzzleBank &bank = PuzzleBank::builtIn();
        int lines = 0;
        for (int level = 0; level < PuzzleBank::kLevels; ++level) {
            for (int r = 1; r <= bank.lineCount(level); ++r) {
                const QString line = bank.line(level, r);
                const auto decoded = bankline::decode(line.toLatin1());
                QVERIFY2(decoded, qPrintable(decoded ? QString() : decoded.error()));
                const Grid &givens = decoded->givens;
                const Grid &solution = decoded->solution;
                const sudoku::Rating rating = sudoku::rate(givens);
                for (int cell = 0; cell < 81; ++cell)
                    if (rating.grid[cell] && rating.grid[cell] != solution[cell])
                        QFAIL(qPrintable(QStringLiteral("level %1 line %2").arg(level).arg(r)));
                QCOMPARE(rating.solved, rating.hardest != Technique::Guessing);
                ++lines;
            }
        }
        QCOMPARE(lines, 2500);
    }
};

VASKELIO_TEST_MAIN(TestRating)
#include "tst_rating.moc"
