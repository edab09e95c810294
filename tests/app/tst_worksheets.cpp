#include "pdftools.h"
#include "sandbox.h"
#include "storage/folders.h"
#include "storage/settings.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTransform>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

namespace {
const QString kTitle = QStringLiteral("中文数字");
const QString kWords = QStringLiteral("一二三四五六七八九");
constexpr int kSheets = 30;

struct Run {
    int exitCode = -1;
    QString err;
};

// Run with its files limited to this many bytes: a write beyond fails as on a full disk.
qint64 fileSizeLimit = -1;

Run worksheets(const QStringList &args)
{
    QProcess process;
    if (fileSizeLimit >= 0) {
        process.setChildProcessModifier([limit = fileSizeLimit] {
            // Ignored, the signal leaves the failed write to report EFBIG.
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit size{rlim_t(limit), rlim_t(limit)};
            setrlimit(RLIMIT_FSIZE, &size);
        });
    }
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

QStringList setArgs(const QString &file, int count, const QString &seed,
                    const QString &level = QStringLiteral("2"))
{
    return {"--worksheets",         file,     "--level", level, "--list", kTitle, "--count",
            QString::number(count), "--seed", seed};
}

// Where the page pixels of a sheet land in PDF points: content fills the width of A4 inside
// margins of 12 mm unless that would run past the foot, centred across, at the top.
QTransform pageToSheet(const QRectF &content)
{
    const qreal margin = 12 / 25.4 * 72, width = 595.276 - 2 * margin, height = 841.89 - 2 * margin;
    const qreal scale = std::min(width / content.width(), height / content.height());
    QTransform t;
    t.translate(margin + (width - scale * content.width()) / 2, margin);
    t.scale(scale, scale);
    t.translate(-content.left(), -content.top());
    return t;
}

// A worksheet shows from the sheet's number (124, 17) to the legend's far corner (1938, 2472);
// an answer key's sheet from its heading (217, 40) to its last board's corner (1883, 2648).
const QTransform kPuzzleSheet = pageToSheet(QRectF(QPointF(124, 17), QPointF(1938, 2472)));
const QTransform kAnswerSheet = pageToSheet(QRectF(QPointF(217, 40), QPointF(1883, 2648)));

// A grid as 81 characters, column by column: the word's digit 1..9, or "." for an empty cell.
using Grid = QString;

// The words of a page with the centres of their boxes, in page pixels (300 per inch), the page
// placed on the sheet by sheet.
QList<std::pair<QPointF, QString>> placedWords(const QString &file, int page,
                                               const QTransform &sheet)
{
    static const QRegularExpression word(QStringLiteral(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    QList<std::pair<QPointF, QString>> words;
    const QString html = pdftools::text(file, page, {"-bbox"});
    for (auto match = word.globalMatch(html); match.hasNext();) {
        const auto m = match.next();
        const QPointF centre((m.captured(1).toDouble() + m.captured(3).toDouble()) / 2,
                             (m.captured(2).toDouble() + m.captured(4).toDouble()) / 2);
        words.append({sheet.inverted().map(centre), m.captured(5)});
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
    return gridAt(placedWords(file, page, kPuzzleSheet), QPointF(127, 441), 200);
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
        grids.append(gridAt(placedWords(file, page, kAnswerSheet), corner, 200 * scale));
    }
    return grids;
}

// Page 1 of file at 72 dots per inch, one pixel to a point.
QImage firstPage(const QString &file)
{
    const QString stem = file + QStringLiteral(".page");
    QProcess::execute(QStringLiteral("pdftoppm"),
                      {"-r", "72", "-f", "1", "-l", "1", "-singlefile", "-png", file, stem});
    return QImage(stem + QStringLiteral(".png"));
}

// The commonest colour in a rectangle of page pixels on a worksheet: its background.
QRgb background(const QImage &sheet, const QRectF &pagePixels)
{
    QHash<QRgb, int> counts;
    const QRect r = kPuzzleSheet.mapRect(pagePixels).toRect();
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            ++counts[sheet.pixel(x, y) & 0xFFFFFF];
    QRgb common = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.value() > counts.value(common))
            common = it.key();
    return common;
}

bool near(QRgb a, QRgb b)
{
    return std::abs(qRed(a) - qRed(b)) <= 3 && std::abs(qGreen(a) - qGreen(b)) <= 3 &&
           std::abs(qBlue(a) - qBlue(b)) <= 3;
}

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
}

QByteArray bytesOf(const QString &file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
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

    QString glossaryFile() const
    {
        return QDir(datafolder()).filePath(QStringLiteral("glossary.json"));
    }

private slots:
    // The sheets as they are without a word bank: the user's glossary takes away the meanings
    // the program ships for the list. The cases that want a bank write their own.
    void init()
    {
        QFile glossary(glossaryFile());
        QVERIFY(QDir().mkpath(datafolder()) && glossary.open(QIODevice::WriteOnly));
        QString words;
        for (const QChar word : kWords)
            words += QStringLiteral("%1\"%2\": {}").arg(words.isEmpty() ? "" : ", ", word);
        glossary.write(
            (QStringLiteral("{\"format\": 1, \"words\": {") + words + QStringLiteral("}}"))
                .toUtf8());
    }
    void cleanup() { QFile::remove(glossaryFile()); }

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
        QTest::newRow("level by a name of none")
            << QStringList{"--worksheets", out,    "--level", "hardest",
                           "--list",       kTitle, "--count", "3"}
            << "--level must be 0 to 4 or a level's name (easy, standard, hard, expert, extreme), "
               "not 'hardest'";
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
                                                 "--seed",       "5x"}
                                  << "--seed must be a whole number from -9223372036854775808 "
                                     "to 18446744073709551615, not '5x'";
        QTest::newRow("seed beyond 64 bits")
            << QStringList{"--worksheets", out,       "--level", "1",      "--list",
                           kTitle,         "--count", "3",       "--seed", "18446744073709551616"}
            << "not '18446744073709551616'";
        QTest::newRow("unknown language")
            << QStringList{"--worksheets", out,       "--level", "1",          "--list",
                           kTitle,         "--count", "3",       "--language", "fr"}
            << "--language must be en, zh or ja, not 'fr'";
        QTest::newRow("unknown shading")
            << QStringList{"--worksheets", out,       "--level", "1",         "--list",
                           kTitle,         "--count", "3",       "--shading", "pink"}
            << "--shading must be colour, grey or none, not 'pink'";
        QTest::newRow("shading alone")
            << QStringList{"--shading", "grey"} << "--shading goes with --worksheets";
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

    // One line that says why, nothing of the toolkit's own.
    void unwritableFileFails()
    {
        const QString file = dir.filePath("no/such/folder/set.pdf");
        const Run run = worksheets(setArgs(file, 2, "1"));
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.err, QStringLiteral("vaskelio: Cannot create file \"%1\": No such file or "
                                         "directory.\n")
                              .arg(file));
    }

    // A device that takes no byte: the failed write is reported and the device stays a device.
    void fullDeviceFails()
    {
        const Run run = worksheets(setArgs(QStringLiteral("/dev/full"), 2, "1"));
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.err, QStringLiteral("vaskelio: Cannot write file \"/dev/full\": No space "
                                         "left on device.\n"));
        QVERIFY(!QFileInfo(QStringLiteral("/dev/full")).isFile());
    }

    // A write that fails half way, as on a full disk: the PDF that was there stays byte for byte
    // and nothing else is left in its folder.
    void failedWriteKeepsTheOldFile()
    {
        QTemporaryDir folder;
        const QString file = folder.filePath(QStringLiteral("class.pdf"));
        QCOMPARE(worksheets(setArgs(file, 1, "3")).exitCode, 0);
        const QByteArray good = bytesOf(file);
        QVERIFY(good.size() > 20000);
        fileSizeLimit = 16384;
        const Run run = worksheets(setArgs(file, 6, "4"));
        fileSizeLimit = -1;
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.err,
                 QStringLiteral("vaskelio: Cannot write file \"%1\": File too large.\n").arg(file));
        QCOMPARE(bytesOf(file), good);
        QCOMPARE(entries(folder.path()), QStringList{QStringLiteral("class.pdf")});
        // Replaced whole when the write succeeds, again with nothing left beside it.
        QCOMPARE(worksheets(setArgs(file, 6, "4")).exitCode, 0);
        QCOMPARE(pdftools::pages(file), 7);
        QCOMPARE(entries(folder.path()), QStringList{QStringLiteral("class.pdf")});
    }

    // By name in any of the three languages, in any letter case, a level deals what its number
    // deals.
    void levelByName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("number");
        QTest::newRow("hard") << "hard"
                              << "2";
        QTest::newRow("HARD") << "HARD"
                              << "2";
        QTest::newRow("Chinese hard") << "难"
                                      << "2";
        QTest::newRow("Japanese hard") << "難しい"
                                       << "2";
        QTest::newRow("Easy") << "Easy"
                              << "0";
        QTest::newRow("Japanese extreme") << "超難しい"
                                          << "4";
        QTest::newRow("Chinese expert") << "很难"
                                        << "3";
    }
    void levelByName()
    {
        QFETCH(QString, name);
        QFETCH(QString, number);
        const QString byName = dir.filePath("byname.pdf"), byNumber = dir.filePath("bynumber.pdf");
        const Run run = worksheets(setArgs(byName, 1, "11", name));
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        QCOMPARE(worksheets(setArgs(byNumber, 1, "11", number)).exitCode, 0);
        QCOMPARE(puzzleOnSheet(byName, 1), puzzleOnSheet(byNumber, 1));
    }

    // Any 64-bit whole number: a negative seed deals its own puzzles, the same each time.
    void negativeSeed()
    {
        const QString a = dir.filePath("n1.pdf"), b = dir.filePath("n2.pdf"),
                      c = dir.filePath("p.pdf"), d = dir.filePath("u.pdf");
        const Run run = worksheets(setArgs(a, 2, "-5"));
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        QCOMPARE(worksheets(setArgs(b, 2, "-5")).exitCode, 0);
        QCOMPARE(worksheets(setArgs(c, 2, "5")).exitCode, 0);
        QCOMPARE(worksheets(setArgs(d, 2, "18446744073709551611")).exitCode, 0);
        QCOMPARE(worksheets(setArgs(dir.filePath("min.pdf"), 1, "-9223372036854775808")).exitCode,
                 0);
        for (int sheet = 1; sheet <= 2; ++sheet) {
            QCOMPARE(puzzleOnSheet(b, sheet), puzzleOnSheet(a, sheet));
            QVERIFY(puzzleOnSheet(c, sheet) != puzzleOnSheet(a, sheet));
            // -5 stands for 2^64 - 5.
            QCOMPARE(puzzleOnSheet(d, sheet), puzzleOnSheet(a, sheet));
        }
    }

    // The sheets' texts in the language asked for, else in the game's.
    void sheetLanguage()
    {
        const QString file = dir.filePath("language.pdf");
        auto sheetText = [&](const QStringList &extra) {
            const Run run = worksheets(setArgs(file, 1, "1") + extra);
            return run.exitCode == 0
                       ? pdftools::text(file, 1).normalized(QString::NormalizationForm_KC)
                       : run.err;
        };
        QString ja = sheetText({"--language", "ja"});
        QVERIFY2(ja.contains(QStringLiteral("名前")), qPrintable(ja));
        QVERIFY2(ja.remove(u'\n').contains(QStringLiteral("下のマス目を埋めてください")),
                 qPrintable(ja));
        QVERIFY(sheetText({"--language", "ZH"}).contains(QStringLiteral("姓名")));
        QVERIFY(sheetText({"--language", "en"}).contains(QStringLiteral("Name:")));

        SettingsState chinese;
        chinese.langid = 1;
        QVERIFY(Settings().savesettings(chinese));
        const QString fromSettings = sheetText({});
        const QString overridden = sheetText({"--language", "en"});
        QVERIFY(Settings().savesettings(SettingsState()));
        QVERIFY2(fromSettings.contains(QStringLiteral("姓名")), qPrintable(fromSettings));
        QVERIFY(overridden.contains(QStringLiteral("Name:")));
    }

    // The user's glossary gives the sheet and the key a word bank.
    void wordBankFromTheGlossary()
    {
        QFile glossary(QDir(datafolder()).filePath(QStringLiteral("glossary.json")));
        QVERIFY(QDir().mkpath(datafolder()) && glossary.open(QIODevice::WriteOnly));
        glossary.write(R"({"format": 1, "words": {"三": {"reading": "sān", "meaning": "three"}}})");
        glossary.close();
        const QString file = dir.filePath(QStringLiteral("bank.pdf"));
        const Run run = worksheets(setArgs(file, 1, "1"));
        glossary.remove();
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        for (int page = 1; page <= 2; ++page)
            QVERIFY(pdftools::text(file, page).simplified().contains("三 · sān · three"));
    }

    // The shaded boxes and the legend in colour, in grey or white, by the pixels of the sheet.
    void shading_data()
    {
        QTest::addColumn<QString>("shading");
        QTest::addColumn<QRgb>("box");
        QTest::addColumn<QRgb>("legend");
        QTest::newRow("default") << QString() << QRgb(0xBBBBFF) << QRgb(0xA4A4FF);
        QTest::newRow("colour") << "colour" << QRgb(0xBBBBFF) << QRgb(0xA4A4FF);
        QTest::newRow("grey") << "grey" << QRgb(0xE0E0E0) << QRgb(0xC8C8C8);
        QTest::newRow("none") << "none" << QRgb(0xFFFFFF) << QRgb(0xFFFFFF);
    }
    void shading()
    {
        QFETCH(QString, shading);
        QFETCH(QRgb, box);
        QFETCH(QRgb, legend);
        const QString file = dir.filePath("shading.pdf");
        QStringList args = setArgs(file, 1, "2");
        if (!shading.isEmpty())
            args << "--shading" << shading;
        const Run run = worksheets(args);
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        const QImage sheet = firstPage(file);
        QVERIFY(!sheet.isNull());
        // The top middle box (columns 4 to 6, rows 1 to 3) and a plain box beside it.
        const QRgb shaded = background(sheet, QRectF(127 + 620, 441 + 20, 560, 560));
        QVERIFY2(near(shaded, box), qPrintable(QString::number(shaded, 16)));
        QCOMPARE(background(sheet, QRectF(127 + 20, 441 + 20, 560, 560)), QRgb(0xFFFFFF));
        const QRgb key = background(sheet, QRectF(127 + 10, 2302 + 10, 150, 150));
        QVERIFY2(near(key, legend), qPrintable(QString::number(key, 16)));
    }

    // Words without a CJK character are drawn in a Latin face, not in the Kai face of Chinese.
    void latinWordsInALatinFace()
    {
        const QString latin = dir.filePath("colours.pdf"), chinese = dir.filePath("chinese.pdf");
        QStringList args = setArgs(latin, 2, "1");
        args[5] = QStringLiteral("Colours");
        const Run run = worksheets(args + QStringList{"--language", "en"});
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        QVERIFY(pdftools::text(latin, 1).contains(QStringLiteral("purple")));
        QCOMPARE(worksheets(setArgs(chinese, 2, "1")).exitCode, 0);
        auto kaiFaces = [](const QString &file) {
            QStringList kai;
            for (const auto &[name, embedded] : pdftools::fonts(file))
                if (name.contains(QStringLiteral("Kai"), Qt::CaseInsensitive))
                    kai.append(name);
            return kai;
        };
        QVERIFY2(kaiFaces(latin).isEmpty(), qPrintable(kaiFaces(latin).join(' ')));
        QVERIFY(!kaiFaces(chinese).isEmpty());
        QVERIFY(pdftools::allFontsEmbedded(latin));
    }
};

VASKELIO_TEST_MAIN(TestWorksheets)
#include "tst_worksheets.moc"
