#include "engine/fontrule.h"
#include "sandbox.h"

#include <QtTest>

#include <iterator>

namespace {
struct NamedTable {
    const char *name;
    FontTable table;
};
const NamedTable kTables[] = {
    {"play board", kPlayBoardFonts},
    {"Solution window", kSolutionWindowFonts},
    {"puzzle page", kPuzzlePageFonts},
    {"solution page", kSolutionPageFonts},
};
} // namespace

class TestFontRule : public QObject {
    Q_OBJECT

private slots:
    // Rows start at the empty text and rise to one that takes every longer text; a longer word
    // never gets a bigger size. The empty text's size (a blank cell's) and 0 (keep the cell's)
    // stand outside that order.
    void tablesAreOrdered()
    {
        for (const NamedTable &named : kTables) {
            const FontTable &table = named.table;
            QVERIFY2(table.count > 1, named.name);
            QCOMPARE(table.begin()->longest, 0);
            QCOMPARE(table.end()[-1].longest, kAnyLength);
            int points = 0;
            for (const FontStep *row = table.begin(); row != table.end(); ++row) {
                if (row != table.begin())
                    QVERIFY2(row->longest > row[-1].longest, named.name);
                if (row->longest == 0 || row->fit.points == 0)
                    continue;
                QVERIFY2(points == 0 || row->fit.points <= points, named.name);
                points = row->fit.points;
            }
        }
    }

    // Each table's points at every length up to past its last step, written out apart from it.
    void sizesByLength()
    {
        const int kExpected[][12] = {
            {14, 18, 14, 14, 12, 10, 10, 8, 8, 8, 8, 8},
            {0, 20, 15, 15, 12, 12, 12, 12, 12, 12, 12, 12},
            {0, 50, 40, 35, 25, 25, 25, 25, 25, 25, 25, 25},
            {0, 50, 40, 35, 30, 30, 25, 25, 25, 0, 0, 0},
        };
        for (std::size_t t = 0; t < std::size(kTables); ++t) {
            for (int n = 0; n < 12; ++n)
                QVERIFY2(fontFor(kTables[t].table, n).points == kExpected[t][n],
                         qPrintable(QStringLiteral("%1, length %2: %3")
                                        .arg(QLatin1String(kTables[t].name))
                                        .arg(n)
                                        .arg(fontFor(kTables[t].table, n).points)));
            QCOMPARE(fontFor(kTables[t].table, 100000).points, kExpected[t][11]);
            QCOMPARE(fontFor(kTables[t].table, -1), fontFor(kTables[t].table, 0));
        }
        // Only the play board sets the weight.
        QVERIFY(fontFor(kPlayBoardFonts, 0).bold && fontFor(kPlayBoardFonts, 50).bold);
        QVERIFY(!fontFor(kSolutionWindowFonts, 1).bold);
    }

    void longestPiece_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("longest");
        QTest::newRow("empty") << QString() << 0;
        QTest::newRow("blank") << QStringLiteral("   ") << 0;
        QTest::newRow("one word, trimmed") << QStringLiteral("  word ") << 4;
        QTest::newRow("the longer piece last") << QStringLiteral("ice cream") << 5;
        QTest::newRow("two spaces") << QStringLiteral("a  bc") << 2;
        QTest::newRow("a surrogate pair is two units") << QStringLiteral("\U00020000") << 2;
    }
    void longestPiece()
    {
        QFETCH(QString, text);
        QFETCH(int, longest);
        QCOMPARE(longestpiece(text, QStringLiteral(" ")), longest);
    }
};

VASKELIO_TEST_MAIN(TestFontRule)
#include "tst_fontrule.moc"
