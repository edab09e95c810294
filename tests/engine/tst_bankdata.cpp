#include "banktool.h"
#include "engine/bank.h"
#include "engine/qj.h"
#include "engine/random.h"
#include "engine/rating.h"
#include "sandbox.h"

#include <QFile>
#include <QSet>
#include <QtTest>

#include <memory>

namespace {

const QByteArray kTelling[5] = {
    "568241IGC3D29F71HEIG158CB4F4A5CI8762H967BE3147B34A6598154FC9H27287A54639639H7B451",
    "5682D1IGC3D29FG1HEIG158CB4F4AECI8762H96GBE31D7B34A6598154FCIH27287A54639639H7B451",
    "5682D1IGC3DB9FG1HEIG158CB4F4AECI8762H9FGBE3AD7B34A65981E4FCIH27287A5D639639H7B451",
    {},
    "DGI3EB18FH26DAGCIEEAC9HFBDGI47H2CFEAFCH5DA9GBBEAF7IDCHGIEA64H2C3FBGIH5AD1HDBCEGFI"};

struct LevelShape {
    int minGivens, maxGivens;
    double mean;
};
const LevelShape kShapes[5] = {
    {52, 62, 54.96}, {46, 56, 48.96}, {41, 51, 43.96}, {17, 32, 20.79}, {17, 36, 19.57}};

RandomSource::Clock countingClock(quint64 start = 1)
{
    auto tick = std::make_shared<quint64>(start);
    return [tick] { return (*tick)++; };
}

QList<QByteArray> levelLines(int level)
{
    QList<QByteArray> lines;
    const PuzzleBank &bank = PuzzleBank::builtIn();
    for (int r = 1; r <= bank.lineCount(level); ++r)
        lines << bank.line(level, r).toLatin1();
    return lines;
}

QByteArray solutionDigits(const QByteArray &line)
{
    QByteArray out = line;
    for (char &c : out)
        if (c >= 'A')
            c = char('1' + (c - 'A'));
    return out;
}

QSet<int> givenCells(const QByteArray &line)
{
    QSet<int> cells;
    for (int p = 0; p < line.size(); ++p)
        if (line.at(p) <= '9')
            cells.insert(p);
    return cells;
}

// The givens of a line as 81 digits row by row, and column by column; either would be a
// verbatim copy of a 17-given puzzle.
QPair<QByteArray, QByteArray> digitForms(const QByteArray &line)
{
    QByteArray rows(81, '0'), columns(81, '0');
    for (int p = 0; p < 81; ++p) {
        const char c = line.at(p) <= '9' ? line.at(p) : '0';
        columns[p] = c;
        rows[(p % 9) * 9 + p / 9] = c;
    }
    return {rows, columns};
}

} // namespace

class TestBankData : public QObject {
    Q_OBJECT

private slots:
    void filesMatchTheEmbeddedBank()
    {
        for (int level = 0; level < 5; ++level) {
            QFile file(QStringLiteral(VASKELIO_SOURCE_DIR "/data/bank/tk%1.txt").arg(level));
            QVERIFY(file.open(QIODevice::ReadOnly));
            QByteArray expected;
            for (const QByteArray &line : levelLines(level))
                expected += line + '\n';
            QCOMPARE(file.readAll(), expected);
        }
    }

    // The game reads a bank file saved on Windows, or by an old Mac, as it reads its own.
    void anyLineEndGivesTheSameLines_data()
    {
        QTest::addColumn<QString>("lineEnd");
        QTest::addColumn<bool>("finalEnd");
        QTest::newRow("LF") << "\n" << true;
        QTest::newRow("CR LF") << "\r\n" << true;
        QTest::newRow("CR LF, no final line end") << "\r\n" << false;
        QTest::newRow("CR") << "\r" << true;
        QTest::newRow("CR LF and blank lines") << "\r\n\r\n" << true;
    }

    void anyLineEndGivesTheSameLines()
    {
        QFETCH(QString, lineEnd);
        QFETCH(bool, finalEnd);
        QFile file(QStringLiteral(VASKELIO_SOURCE_DIR "/data/bank/tk4.txt"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString lf = QString::fromLatin1(file.readAll());
        QString text = lf;
        text.replace(u'\n', lineEnd);
        if (!finalEnd)
            text.chop(lineEnd.size());
        const QStringList lines = PuzzleBank::levelLines(text);
        QCOMPARE(lines, PuzzleBank::levelLines(lf));
        QCOMPARE(lines.size(), 500);
        for (const QString &line : lines)
            QCOMPARE(line.size(), 81);
        QCOMPARE(lines.first(), QString::fromLatin1(kTelling[4]));
    }

    void everyFilePassesVerify()
    {
        for (int level = 0; level < 5; ++level) {
            const banktool::Report report = banktool::verifyFile(
                QStringLiteral(VASKELIO_SOURCE_DIR "/data/bank/tk%1.txt").arg(level));
            QVERIFY2(report.ok(), qPrintable(report.messages().join(QLatin1Char('\n'))));
            QCOMPARE(report.lines, 500);
        }
    }

    void countsRangesAndMeans_data()
    {
        QTest::addColumn<int>("level");
        for (int level = 0; level < 5; ++level)
            QTest::addRow("level %d", level) << level;
    }

    void countsRangesAndMeans()
    {
        QFETCH(int, level);
        const QList<QByteArray> lines = levelLines(level);
        QCOMPARE(lines.size(), 500);
        qint64 total = 0;
        for (const QByteArray &line : lines) {
            const int givens = int(givenCells(line).size());
            QVERIFY(givens >= kShapes[level].minGivens);
            QVERIFY(givens <= kShapes[level].maxGivens);
            total += givens;
        }
        QVERIFY(qAbs(double(total) / lines.size() - kShapes[level].mean) < 0.005);
    }

    void lineOneIsTheTellingRow()
    {
        for (int level : {0, 1, 2, 4})
            QCOMPARE(levelLines(level).value(0), kTelling[level]);
    }

    void easyStandardHardAreNested()
    {
        const QList<QByteArray> easy = levelLines(0), standard = levelLines(1),
                                hard = levelLines(2);
        for (int k = 0; k < 500; ++k) {
            QCOMPARE(solutionDigits(standard[k]), solutionDigits(easy[k]));
            QCOMPARE(solutionDigits(hard[k]), solutionDigits(easy[k]));
            const QSet<int> e = givenCells(easy[k]), s = givenCells(standard[k]),
                            h = givenCells(hard[k]);
            QVERIFY(e.contains(s) && s.contains(h));
            QCOMPARE(e.size() - s.size(), 6);
            QCOMPARE(s.size() - h.size(), 5);
        }
    }

    void easyStandardHardNeedNoGuessing()
    {
        for (int level = 0; level < 3; ++level) {
            for (const QByteArray &line : levelLines(level)) {
                const auto puzzle = banktool::parseBankLine(line);
                QVERIFY(puzzle);
                QVERIFY2(sudoku::rate(puzzle->givens).solved, line.constData());
            }
        }
    }

    // Fewer givens must mean harder logic, not only more cells to fill: on each line Easy rates
    // no harder than Standard and Standard no harder than Hard; Hard nearly always needs more
    // than singles, Standard mostly hidden singles; none of them needs more than pairs.
    void nestedLevelsClimbInTechnique()
    {
        using T = sudoku::Technique;
        const QList<QByteArray> lines[3] = {levelLines(0), levelLines(1), levelLines(2)};
        int atLeast[3][sudoku::kTechniqueCount] = {};
        for (int k = 1; k < 500; ++k) { // line 1 is the telling row, kept as it is
            T rating[3];
            for (int level = 0; level < 3; ++level) {
                const auto puzzle = banktool::parseBankLine(lines[level][k]);
                QVERIFY(puzzle);
                rating[level] = sudoku::rate(puzzle->givens).hardest;
                QVERIFY2(rating[level] <= T::HiddenPair, lines[level][k].constData());
                for (int t = 0; t <= int(rating[level]); ++t)
                    ++atLeast[level][t];
            }
            QVERIFY2(rating[0] <= rating[1] && rating[1] <= rating[2],
                     qPrintable(QStringLiteral("line %1").arg(k + 1)));
        }
        const auto share = [&atLeast](int level, T t) {
            return double(atLeast[level][int(t)]) / 499;
        };
        QVERIFY2(share(2, T::HiddenSingle) >= 0.98,
                 qPrintable(QString::number(share(2, T::HiddenSingle))));
        QVERIFY2(share(2, T::LockedCandidates) >= 0.9,
                 qPrintable(QString::number(share(2, T::LockedCandidates))));
        QVERIFY2(share(1, T::HiddenSingle) >= 0.9,
                 qPrintable(QString::number(share(1, T::HiddenSingle))));
    }

    void noRepeatsAndSeparateGrids()
    {
        QSet<QByteArray> grids;
        for (int level = 0; level < 5; ++level) {
            const QList<QByteArray> lines = levelLines(level);
            QCOMPARE(QSet<QByteArray>(lines.begin(), lines.end()).size(), lines.size());
            if (level == 1 || level == 2)
                continue; // Easy's grids again
            for (const QByteArray &line : lines) {
                QVERIFY2(!grids.contains(solutionDigits(line)), line.constData());
                grids.insert(solutionDigits(line));
            }
        }
        QCOMPARE(grids.size(), 1500);
    }

    void seventeensAreTransformedMinimalPuzzles()
    {
        QFile file(QStringLiteral(VASKELIO_SOURCE_DIR "/data/minimal17/puzzles17.txt"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QSet<QByteArray> minimal;
        for (const QByteArray &line : file.readAll().split('\n'))
            if (!line.trimmed().isEmpty())
                minimal.insert(line.trimmed());
        QCOMPARE(minimal.size(), 8000);
        const int expected[5] = {0, 0, 0, 303, 301};
        for (int level = 0; level < 5; ++level) {
            int seventeens = 0;
            for (const QByteArray &line : levelLines(level)) {
                seventeens += givenCells(line).size() == 17;
                const auto forms = digitForms(line);
                QVERIFY2(!minimal.contains(forms.first) && !minimal.contains(forms.second),
                         line.constData());
            }
            QCOMPARE(seventeens, expected[level]);
        }
    }

    // Extreme's 17-given lines all rate at least as hard as the hardest of Expert's, and
    // Extreme needs guessing far more often.
    void extremeIsHarderThanExpert()
    {
        int hardestExpert17 = 0, easiestExtreme17 = sudoku::kTechniqueCount;
        int guessing[5] = {};
        for (int level : {3, 4}) {
            for (const QByteArray &line : levelLines(level)) {
                const auto puzzle = banktool::parseBankLine(line);
                const int r = int(sudoku::rate(puzzle->givens).hardest);
                guessing[level] += r == int(sudoku::Technique::Guessing);
                if (puzzle->givenCount() != 17)
                    continue;
                if (level == 3)
                    hardestExpert17 = qMax(hardestExpert17, r);
                else
                    easiestExtreme17 = qMin(easiestExtreme17, r);
            }
        }
        QVERIFY(easiestExtreme17 >= hardestExpert17);
        QVERIFY2(guessing[4] >= 5 * qMax(guessing[3], 1),
                 qPrintable(QStringLiteral("%1 vs %2").arg(guessing[4]).arg(guessing[3])));
    }

    void dealsStayInTheLevelsRange_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("least");
        QTest::addColumn<int>("most");
        QTest::newRow("Easy") << 0 << 52 << 62;
        QTest::newRow("Extreme") << 4 << 17 << 36;
    }

    void dealsStayInTheLevelsRange()
    {
        QFETCH(int, level);
        QFETCH(int, least);
        QFETCH(int, most);
        RandomSource random(countingClock(1000));
        TQJ model(random);
        QSet<int> seen;
        for (int deal = 0; deal < 2000; ++deal) {
            QVERIFY(pickpuzzle(PuzzleBank::builtIn(), level, model, random));
            const int givens = model.givenCount();
            QVERIFY2(givens >= least && givens <= most, qPrintable(QString::number(givens)));
            seen.insert(givens);
        }
        QVERIFY(seen.size() > 3); // different lines were dealt
    }

    void lastLineIsNeverDrawn()
    {
        const int n = 500;
        QList<int> hits(n + 1, 0);
        for (int r = 1; r <= n; ++r)
            ++hits[bankLineFor(r, n)];
        QCOMPARE(hits[n], 0);
        QCOMPARE(hits[n - 1], 2);
        for (int line = 1; line < n - 1; ++line)
            QCOMPARE(hits[line], 1);
    }

    // Through pickpuzzle itself, on a bank whose lines differ in their given counts.
    void lineBeforeTheLastComesTwiceAsOften()
    {
        const QList<QByteArray> easy = levelLines(0);
        QStringList lines;
        QList<int> counts;
        for (const QByteArray &line : easy) {
            const int givens = int(givenCells(line).size());
            if (!counts.contains(givens)) {
                counts << givens;
                lines << QString::fromLatin1(line);
            }
            if (lines.size() == 4)
                break;
        }
        QCOMPARE(lines.size(), 4);
        const PuzzleBank bank({lines, {}, {}, {}, {}});
        RandomSource random(countingClock(7));
        TQJ model(random);
        QList<int> hits(4, 0);
        const int deals = 20000;
        for (int deal = 0; deal < deals; ++deal) {
            QVERIFY(pickpuzzle(bank, 0, model, random));
            ++hits[counts.indexOf(model.givenCount())];
        }
        QCOMPARE(hits[3], 0);
        QVERIFY(hits[0] > deals / 4 * 0.9 && hits[0] < deals / 4 * 1.1);
        QVERIFY(hits[1] > deals / 4 * 0.9 && hits[1] < deals / 4 * 1.1);
        QVERIFY(hits[2] > deals / 2 * 0.9 && hits[2] < deals / 2 * 1.1);
    }
};

VASKELIO_TEST_MAIN(TestBankData)
#include "tst_bankdata.moc"
