#include "bankline.h"
#include "engine/bank.h"
#include "engine/classset.h"
#include "sandbox.h"

#include <QSet>
#include <QtTest>

namespace {
// Easy line 1 with only its first k given cells given, so that a line is known by its count
// of givens, which no shuffle changes.
QString withGivens(int k)
{
    QString line = kEasyLine1;
    int kept = 0;
    for (QChar &c : line)
        if (c.isDigit() && ++kept > k)
            c = QChar(u'A' + (c.unicode() - u'1'));
    return line;
}

// Level 0: ten different lines (20 to 29 givens) and a repeat of the first; level 1: two lines.
PuzzleBank smallBank()
{
    std::array<QStringList, PuzzleBank::kLevels> levels;
    for (int k = 20; k < 30; ++k)
        levels[0].append(withGivens(k));
    levels[0].append(withGivens(20));
    levels[1] = QStringList{withGivens(30), withGivens(31)};
    return PuzzleBank(levels);
}

QStringList asStrings(const QList<TQJ> &puzzles)
{
    QStringList strings;
    for (const TQJ &puzzle : puzzles)
        strings.append(puzzle.toPuzzleString());
    return strings;
}

QStringList deal(const PuzzleBank &bank, int level, int count, quint64 seed)
{
    RandomSource random(seededClock(seed));
    const Result<QList<TQJ>> puzzles = pickpuzzles(bank, level, count, random);
    return puzzles ? asStrings(*puzzles) : QStringList{puzzles.error()};
}
} // namespace

class TestClassSet : public QObject {
    Q_OBJECT

private slots:
    void sameSeedSamePuzzles()
    {
        const PuzzleBank &bank = PuzzleBank::builtIn();
        const QStringList first = deal(bank, 3, 30, 20261209);
        QCOMPARE(first.size(), 30);
        QCOMPARE(deal(bank, 3, 30, 20261209), first);
        QVERIFY(deal(bank, 3, 30, 20261210) != first);
        // A smaller set from the same seed starts as the larger one does.
        QCOMPARE(deal(bank, 3, 5, 20261209), first.mid(0, 5));
    }

    // Every line of the level once, the repeated line counted once: no two alike, and one more
    // is refused.
    void everyLineOnceThenNoMore()
    {
        const PuzzleBank bank = smallBank();
        for (quint64 seed : {1u, 2u, 3u}) {
            RandomSource random(seededClock(seed));
            const Result<QList<TQJ>> puzzles = pickpuzzles(bank, 0, 10, random);
            QVERIFY(puzzles);
            QSet<int> givens;
            for (const TQJ &puzzle : *puzzles) {
                givens.insert(puzzle.givenCount());
                QVERIFY(checkPuzzleString(puzzle.toPuzzleString()));
            }
            QCOMPARE(givens.size(), 10);
            QCOMPARE(*std::min_element(givens.begin(), givens.end()), 20);
            QCOMPARE(*std::max_element(givens.begin(), givens.end()), 29);
        }
        QVERIFY(deal(bank, 0, 11, 1).constFirst().contains(QStringLiteral("10 different")));
        QCOMPARE(deal(bank, 1, 2, 5).size(), 2);
    }

    // The built-in Extreme level repeats some lines; a full set of it still holds no repeat.
    void builtInSetsHoldNoRepeat()
    {
        const QStringList set = deal(PuzzleBank::builtIn(), 4, kMaxClassSetSize, 99);
        QCOMPARE(set.size(), kMaxClassSetSize);
        QCOMPARE(QSet<QString>(set.begin(), set.end()).size(), kMaxClassSetSize);
    }

    void refusals_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("error");
        QTest::newRow("level -1") << -1 << 5 << "level -1 does not exist";
        QTest::newRow("level 5") << 5 << 5 << "level 5 does not exist";
        QTest::newRow("count 0") << 0 << 0 << "1 to 100 puzzles, not 0";
        QTest::newRow("count 101") << 0 << 101 << "1 to 100 puzzles, not 101";
        QTest::newRow("more than the lines") << 1 << 3 << "2 different puzzles, fewer than 3";
    }
    void refusals()
    {
        QFETCH(int, level);
        QFETCH(int, count);
        QFETCH(QString, error);
        RandomSource random(seededClock(1));
        const Result<QList<TQJ>> puzzles = pickpuzzles(smallBank(), level, count, random);
        QVERIFY(!puzzles);
        QVERIFY2(puzzles.error().contains(error), qPrintable(puzzles.error()));
    }
};

VASKELIO_TEST_MAIN(TestClassSet)
#include "tst_classset.moc"
