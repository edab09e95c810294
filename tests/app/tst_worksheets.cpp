#include "pdftools.h"
#include "sandbox.h"

#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

namespace {
const QString kTitle = QStringLiteral("中文数字");
const QString kWords = QStringLiteral("一二三四五六七八九");
constexpr int kSheets = 30;

struct Run {
    int exitCode = -1;
    QString err;
};

Run worksheets(const QStringList &args)
{
    QProcess process;
    // No display: the set must be made without one.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), QStringLiteral(":9999"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(VASKELIO_GAME), args);
    Run result;
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

QStringList setArgs(const QString &file, int count, const QString &seed)
{
    return {"--worksheets",         file,     "--level", "2", "--list", kTitle, "--count",
            QString::number(count), "--seed", seed};
}

// A grid as 81 characters, column by column: the word's digit 1..9, or "." for an empty cell.
using Grid = QString;

// The words of a page with the centres of their boxes, in page pixels (300 per inch, the
// page's corner where the program puts it).
QList<std::pair<QPointF, QString>> placedWords(const QString &file, int page)
{
    static const QRegularExpression word(QStringLiteral(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    QList<std::pair<QPointF, QString>> words;
    const QString html = pdftools::text(file, page, {"-bbox"});
    for (auto match = word.globalMatch(html); match.hasNext();) {
        const auto m = match.next();
        const QPointF centre((m.captured(1).toDouble() + m.captured(3).toDouble()) / 2,
                             (m.captured(2).toDouble() + m.captured(4).toDouble()) / 2);
        words.append({centre * 300 / 72 - QPointF(200, 100), m.captured(5)});
    }
    return words;
}

// The grid of a board whose top-left corner is at origin and whose cells are pitch apart.
Grid gridAt(const QList<std::pair<QPointF, QString>> &words, QPointF origin, qreal pitch)
{
    Grid grid(81, u'.');
    for (const auto &[centre, text] : words) {
        const QPointF at = (centre - origin) / pitch;
        if (at.x() < 0 || at.y() < 0 || at.x() >= 9 || at.y() >= 9)
            continue;
        const int p = 9 * int(at.x()) + int(at.y());
        if (text.size() != 1 || !kWords.contains(text) || grid.at(p) != u'.')
            return QStringLiteral("unreadable cell %1: %2").arg(p).arg(text);
        grid[p] = QChar(char16_t(u'1' + kWords.indexOf(text)));
    }
    return grid;
}

Grid puzzleOnSheet(const QString &file, int page)
{
    return gridAt(placedWords(file, page), QPointF(127, 441), 200);
}

// The answer key's boards: two columns of three, each under its sheet's number.
QList<Grid> answerKey(const QString &file, int firstPage, int count)
{
    constexpr qreal scale = 0.42;
    const int side = int(1806 * scale);
    QList<Grid> grids;
    for (int n = 0; n < count; ++n) {
        const int page = firstPage + n / 6, place = n % 6;
        const QPointF corner(217 + (place % 2) * (side + 150), 220 + 810 * (place / 2) + 50);
        grids.append(gridAt(placedWords(file, page), corner, 200 * scale));
    }
    return grids;
}

bool isSudokuSolution(const Grid &grid)
{
    for (int k = 0; k < 9; ++k) {
        QSet<QChar> column, row, box;
        for (int m = 0; m < 9; ++m) {
            column.insert(grid.at(9 * k + m));
            row.insert(grid.at(9 * m + k));
            box.insert(grid.at(9 * (k / 3 * 3 + m / 3) + k % 3 * 3 + m % 3));
        }
        if (column.size() != 9 || row.size() != 9 || box.size() != 9 || column.contains(u'.'))
            return false;
    }
    return true;
}
} // namespace

class TestWorksheets : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

private slots:
    // 30 sheets and the answer key from the command line, without a display: fonts embedded,
    // the title and the nine words on every sheet, no two puzzles alike, and each sheet's
    // given words standing where its answer has them.
    void classSetFromTheCommandLine()
    {
        const QString file = dir.filePath(QStringLiteral("class.pdf"));
        const Run run = worksheets(setArgs(file, kSheets, QStringLiteral("20261209")));
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        QCOMPARE(pdftools::pages(file), kSheets + 5);
        const auto fonts = pdftools::fonts(file);
        QVERIFY(!fonts.isEmpty());
        for (const auto &[name, embedded] : fonts)
            QVERIFY2(embedded, qPrintable(name));

        const QList<Grid> answers = answerKey(file, kSheets + 1, kSheets);
        QSet<Grid> puzzles;
        for (int sheet = 1; sheet <= kSheets; ++sheet) {
            // As drawn: no radical or compatibility twin of an ideograph in its place.
            const QString text = pdftools::text(file, sheet);
            QVERIFY2(text.contains(kTitle), qPrintable(text));
            QVERIFY(text.contains(QStringLiteral("Sheet %1\n").arg(sheet)));
            QVERIFY(text.contains(QStringLiteral("Complete the grid")));
            QVERIFY(text.contains(QStringLiteral("Name:")));
            for (const QChar word : kWords)
                QVERIFY2(text.contains(word), qPrintable(QString(word)));

            const Grid puzzle = puzzleOnSheet(file, sheet);
            const Grid &answer = answers.at(sheet - 1);
            QVERIFY2(isSudokuSolution(answer), qPrintable(answer));
            int given = 0;
            for (int p = 0; p < 81; ++p) {
                if (puzzle.at(p) != u'.') {
                    ++given;
                    QVERIFY2(puzzle.at(p) == answer.at(p),
                             qPrintable(QStringLiteral("sheet %1 cell %2").arg(sheet).arg(p)));
                }
            }
            // Hard has 41 to 51 given cells.
            QVERIFY2(given >= 41 && given <= 51, qPrintable(puzzle));
            puzzles.insert(puzzle);
        }
        QCOMPARE(puzzles.size(), kSheets);
        const QString key = pdftools::text(file, kSheets + 1);
        QVERIFY(key.contains(QStringLiteral("Answer key")));
    }

    void sameSeedSamePuzzles()
    {
        const QString a = dir.filePath("a.pdf"), b = dir.filePath("b.pdf"),
                      c = dir.filePath("c.pdf");
        QCOMPARE(worksheets(setArgs(a, 3, "5")).exitCode, 0);
        QCOMPARE(worksheets(setArgs(b, 3, "5")).exitCode, 0);
        QCOMPARE(worksheets(setArgs(c, 3, "6")).exitCode, 0);
        for (int sheet = 1; sheet <= 3; ++sheet) {
            QCOMPARE(puzzleOnSheet(b, sheet), puzzleOnSheet(a, sheet));
            QVERIFY(puzzleOnSheet(c, sheet) != puzzleOnSheet(a, sheet));
        }
        QCOMPARE(answerKey(b, 4, 3), answerKey(a, 4, 3));
    }

    void refusals_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("error");
        const QString out = QStringLiteral("refused.pdf");
        QTest::newRow("unknown list")
            << QStringList{"--worksheets", out, "--level", "1", "--list", "Planets", "--count", "3"}
            << "no word list is titled 'Planets'";
        QTest::newRow("title differs in case")
            << QStringList{"--worksheets", out, "--level", "1", "--list", "colours", "--count", "3"}
            << "no word list is titled 'colours'";
        QTest::newRow("level 5") << QStringList{"--worksheets", out,    "--level", "5",
                                                "--list",       kTitle, "--count", "3"}
                                 << "--level must be 0 to 4";
        QTest::newRow("level by name")
            << QStringList{"--worksheets", out, "--level", "hard", "--list", kTitle, "--count", "3"}
            << "not 'hard'";
        QTest::newRow("no level") << QStringList{"--worksheets", out,       "--list",
                                                 kTitle,         "--count", "3"}
                                  << "--level must be 0 to 4";
        QTest::newRow("count 0") << QStringList{"--worksheets", out,    "--level", "1",
                                                "--list",       kTitle, "--count", "0"}
                                 << "--count must be 1 to 100, not '0'";
        QTest::newRow("count 101")
            << QStringList{"--worksheets", out, "--level", "1", "--list", kTitle, "--count", "101"}
            << "--count must be 1 to 100, not '101'";
        QTest::newRow("no list") << QStringList{"--worksheets", out, "--level", "1", "--count", "3"}
                                 << "--list must name a word list";
        QTest::newRow("bad seed") << QStringList{"--worksheets", out,    "--level", "1",
                                                 "--list",       kTitle, "--count", "3",
                                                 "--seed",       "-1"}
                                  << "--seed must be a whole number";
        QTest::newRow("level alone")
            << QStringList{"--level", "1"} << "--level goes with --worksheets";
    }
    void refusals()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, error);
        const QDir before = QDir::current();
        QDir::setCurrent(dir.path());
        const Run run = worksheets(args);
        QDir::setCurrent(before.path());
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.err.startsWith(QStringLiteral("vaskelio: ")), qPrintable(run.err));
        QVERIFY2(run.err.contains(error), qPrintable(run.err));
        QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("refused.pdf"))));
    }

    void unwritableFileFails()
    {
        const Run run = worksheets(setArgs(dir.filePath("no/such/folder/set.pdf"), 2, "1"));
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains(QStringLiteral("Cannot create file")), qPrintable(run.err));
    }
};

VASKELIO_TEST_MAIN(TestWorksheets)
#include "tst_worksheets.moc"
