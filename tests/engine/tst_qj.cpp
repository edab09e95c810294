#include "bankline.h"
#include "engine/qj.h"
#include "engine/random.h"
#include "sandbox.h"

#include <QtTest>

#include <map>

namespace {
const QString &kEasy1 = kEasyLine1;
const QString &kExtreme1 = kExtremeLine1;

// A clock that ticks once per reading, so every reseed gives a new, repeatable stream.
RandomSource::Clock countingClock(quint64 start = 1)
{
    auto tick = std::make_shared<quint64>(start);
    return [tick] { return (*tick)++; };
}

bool isCompletedGrid(const TQJ &m)
{
    for (int a = 1; a <= 9; ++a) {
        int rowSeen = 0, colSeen = 0, boxSeen = 0;
        for (int b = 1; b <= 9; ++b) {
            rowSeen |= 1 << m.node(b, a).value;
            colSeen |= 1 << m.node(a, b).value;
            const int i = 3 * ((a - 1) % 3) + (b - 1) % 3 + 1;
            const int j = 3 * ((a - 1) / 3) + (b - 1) / 3 + 1;
            boxSeen |= 1 << m.node(i, j).value;
        }
        if (rowSeen != 0x3FE || colSeen != 0x3FE || boxSeen != 0x3FE)
            return false;
    }
    return true;
}

TQJ parsedUnshuffled(const QString &text, RandomSource &random)
{
    TQJ m(random);
    writeBankLine(m, text);
    return m;
}

// Names the one move that turned a into b: "r12" (rows 1 and 2 swapped), "c79", "x" (two
// word numbers exchanged) or "?".
QString moveBetween(const TQJ &a, const TQJ &b)
{
    QList<int> rows, cols;
    for (int k = 1; k <= 9; ++k) {
        bool rowDiffers = false, colDiffers = false;
        for (int t = 1; t <= 9; ++t) {
            rowDiffers |= a.node(t, k).value != b.node(t, k).value;
            colDiffers |= a.node(k, t).value != b.node(k, t).value;
        }
        if (rowDiffers)
            rows << k;
        if (colDiffers)
            cols << k;
    }
    bool givenMoved = false;
    for (int i = 1; i <= 9; ++i)
        for (int j = 1; j <= 9; ++j)
            givenMoved |= a.node(i, j).given != b.node(i, j).given;
    if (rows.size() == 2 && cols.size() == 9)
        return QStringLiteral("r%1%2").arg(rows[0]).arg(rows[1]);
    if (cols.size() == 2 && rows.size() == 9)
        return QStringLiteral("c%1%2").arg(cols[0]).arg(cols[1]);
    if (!givenMoved)
        return QStringLiteral("x");
    return QStringLiteral("?");
}
} // namespace

class TestQJ : public QObject {
    Q_OBJECT

private slots:
    void freshModelIsEmpty()
    {
        TQJ m;
        for (int i = 1; i <= 9; ++i)
            for (int j = 1; j <= 9; ++j) {
                const TNode &n = m.node(i, j);
                QVERIFY(n.column == 0 && n.row == 0 && n.value == 0 && !n.given);
            }
    }

    void cellOrderIsColumnByColumn()
    {
        RandomSource random(countingClock());
        QString text = kEasy1;
        text[0] = QLatin1Char('5');
        const TQJ m = parsedUnshuffled(text, random);
        QCOMPARE(m.node(1, 1).value, 5);
        QVERIFY(m.node(1, 1).given);
        // The tenth character is the top cell of the second column.
        QCOMPARE(m.node(2, 1).value, 3);
        QVERIFY(m.node(2, 1).given);
        QCOMPARE(m.node(2, 2).value, 4); // "D"
        QVERIFY(!m.node(2, 2).given);
        QCOMPARE(m.node(2, 1).row, 1);
        QCOMPARE(m.node(2, 1).column, 2);

        text[0] = QLatin1Char('C');
        const TQJ n = parsedUnshuffled(text, random);
        QCOMPARE(n.node(1, 1).value, 3);
        QVERIFY(!n.node(1, 1).given);
    }

    void parseKeepsGivenCountAndGrid_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("givens");
        QTest::newRow("easy line 1") << kEasy1 << 55;
        QTest::newRow("extreme line 1") << kExtreme1 << 18;
        QTest::newRow("extra characters ignored") << kEasy1 + QStringLiteral("xyz\r") << 55;
    }
    void parseKeepsGivenCountAndGrid()
    {
        QFETCH(QString, line);
        QFETCH(int, givens);
        RandomSource random(countingClock());
        for (int round = 0; round < 50; ++round) {
            TQJ m(random);
            QVERIFY(m.parsebank(line));
            QCOMPARE(m.givenCount(), givens);
            QVERIFY(isCompletedGrid(m));
            for (int i = 1; i <= 9; ++i)
                for (int j = 1; j <= 9; ++j) {
                    QCOMPARE(m.node(i, j).column, i);
                    QCOMPARE(m.node(i, j).row, j);
                }
        }
    }

    void badTextLeavesModelUnchanged_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("position");
        QString zero = kEasy1;
        zero[40] = QLatin1Char('0');
        QString lower = kEasy1;
        lower[80] = QLatin1Char('a');
        QString junk = kEasy1;
        junk[9] = QChar(0x4E00);
        QString letterJ = kEasy1;
        letterJ[3] = QLatin1Char('J');
        QTest::newRow("empty") << QString() << 1;
        QTest::newRow("80 characters") << kEasy1.left(80) << 81;
        QTest::newRow("zero") << zero << 41;
        QTest::newRow("lower case letter") << lower << 81;
        QTest::newRow("CJK character") << junk << 10;
        QTest::newRow("letter past I") << letterJ << 4;
    }
    void badTextLeavesModelUnchanged()
    {
        QFETCH(QString, text);
        QFETCH(int, position);
        RandomSource random(countingClock());
        TQJ m(random);
        QVERIFY(m.parsebank(kExtreme1));
        const TQJ before = m;
        const PuzzleRead read = m.parsebank(text);
        QVERIFY(!read);
        QCOMPARE(read.error().position, position);
        QVERIFY(read.error().message().contains(QString::number(position)));
        QVERIFY(m == before);
    }

    void shuffleWithoutMovesStillReseeds_data()
    {
        QTest::addColumn<int>("n");
        QTest::newRow("0") << 0;
        QTest::newRow("-5") << -5;
    }
    void shuffleWithoutMovesStillReseeds()
    {
        QFETCH(int, n);
        int readings = 0;
        RandomSource random([&readings] { return quint64(++readings); });
        TQJ m(random);
        QVERIFY(m.parsebank(kEasy1));
        const TQJ before = m;
        const int readingsBefore = readings;
        m.shuffle(n);
        QVERIFY(m == before);
        QCOMPARE(readings, readingsBefore + 1);
        QCOMPARE(random.drawsSinceSeed(), 0);
    }

    void shufflesOfOneLineDiffer()
    {
        TQJ a, b;
        QVERIFY(a.parsebank(kEasy1));
        QVERIFY(b.parsebank(kEasy1));
        QVERIFY(!(a == b));
        QCOMPARE(a.givenCount(), b.givenCount());
    }

    // One move at a time: every row pair of a band and every column pair of a stack turns up
    // equally often, a relabelling one time in seven, and nothing else ever happens.
    void singleMovesAreUniform()
    {
        RandomSource random(countingClock(1000));
        const TQJ start = parsedUnshuffled(kEasy1, random);
        std::map<QString, int> seen;
        const int trials = 42000;
        for (int t = 0; t < trials; ++t) {
            TQJ m = start;
            m.shuffle(1);
            const QString move = moveBetween(start, m);
            ++seen[move];
            if (move.startsWith(QLatin1Char('r')) || move.startsWith(QLatin1Char('c'))) {
                const int a = move.at(1).digitValue(), b = move.at(2).digitValue();
                QCOMPARE((a - 1) / 3, (b - 1) / 3); // within one band or stack
            }
            QCOMPARE(m.givenCount(), start.givenCount());
            QVERIFY(isCompletedGrid(m));
        }
        QCOMPARE(seen.count(QStringLiteral("?")), size_t(0));
        QCOMPARE(seen.size(), size_t(19)); // 9 row pairs, 9 column pairs, relabelling
        const double pairExpected = trials / 21.0;
        for (const auto &[move, count] : seen) {
            const double expected = move == QLatin1String("x") ? trials / 7.0 : pairExpected;
            // About six standard deviations either side.
            QVERIFY2(qAbs(count - expected) < 6 * std::sqrt(expected),
                     qPrintable(QStringLiteral("%1: %2").arg(move).arg(count)));
        }
    }

    void relabellingKeepsGivenFlags()
    {
        RandomSource random(countingClock(77));
        const TQJ start = parsedUnshuffled(kExtreme1, random);
        int relabellings = 0;
        for (int t = 0; t < 2000; ++t) {
            TQJ m = start;
            m.shuffle(1);
            if (moveBetween(start, m) != QLatin1String("x"))
                continue;
            ++relabellings;
            // The same cells are given, and values changed as a consistent exchange of two.
            std::map<int, int> mapping;
            for (int i = 1; i <= 9; ++i)
                for (int j = 1; j <= 9; ++j) {
                    QCOMPARE(m.node(i, j).given, start.node(i, j).given);
                    const int from = start.node(i, j).value, to = m.node(i, j).value;
                    QVERIFY(!mapping.count(from) || mapping[from] == to);
                    mapping[from] = to;
                }
            int moved = 0;
            for (const auto &[from, to] : mapping)
                moved += from != to ? 1 : 0;
            QCOMPARE(moved, 2);
        }
        QVERIFY(relabellings > 200);
    }

    void givenFlagsTravelWithRowsAndColumns()
    {
        RandomSource random(countingClock(5));
        const TQJ start = parsedUnshuffled(kExtreme1, random);
        for (int t = 0; t < 500; ++t) {
            TQJ m = start;
            m.shuffle(1);
            const QString move = moveBetween(start, m);
            if (move == QLatin1String("x"))
                continue;
            const bool rowSwap = move.startsWith(QLatin1Char('r'));
            const int a = move.at(1).digitValue(), b = move.at(2).digitValue();
            for (int k = 1; k <= 9; ++k) {
                const TNode &from = rowSwap ? start.node(k, a) : start.node(a, k);
                const TNode &to = rowSwap ? m.node(k, b) : m.node(b, k);
                QCOMPARE(to.value, from.value);
                QCOMPARE(to.given, from.given);
            }
        }
    }

    void twoHundredMovesKeepTheGrid()
    {
        TQJ m;
        for (int round = 0; round < 20; ++round) {
            QVERIFY(m.parsebank(kExtreme1));
            QVERIFY(isCompletedGrid(m));
            QCOMPARE(m.givenCount(), 18);
        }
    }
};

VASKELIO_TEST_MAIN(TestQJ)
#include "tst_qj.moc"
