#include "bankline.h"
#include "board/tntspeedbutton.h"
#include "board/wordpalette.h"
#include "fakeprintengine.h"
#include "imagepageprinter.h"
#include "pdftools.h"
#include "print/pagepainter.h"
#include "print/pdfpages.h"
#include "print/printform.h"
#include "print/printform2.h"
#include "print/printsudoku.h"
#include "print/worksheets.h"
#include "printer/qtpageprinter.h"
#include "programfixture.h"
#include "sandbox.h"
#include "storage/autosave.h"
#include "storage/savedgame.h"
#include "windows/frmnewgame.h"
#include "windows/frmworksheets.h"
#include "windows/mainwindow.h"

#include "widgets/fonts.h"
#include "wordlists/wordliststore.h"

#include <QComboBox>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPrinterInfo>
#include <QProcess>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QToolButton>

#include <csignal>
#include <sys/resource.h>

namespace {
QRgb rgbAt(const QImage &image, int x, int y)
{
    return image.pixel(x, y) & 0xFFFFFF;
}

// The darkest pixel in rect: the background colour itself where nothing is drawn on it.
QRgb darkest(const QImage &image, const QRect &rect)
{
    QRgb dark = rgbAt(image, rect.left(), rect.top());
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            if (qGray(rgbAt(image, x, y)) < qGray(dark))
                dark = rgbAt(image, x, y);
    return dark;
}

QRect onPage(const PrintPage &page, const QWidget *widget)
{
    return QRect(widget->mapTo(page.panel(), QPoint(0, 0)), widget->size());
}

// Pixels of ink (darker than mid grey) in rect.
int ink(const QImage &image, const QRect &rect)
{
    int dark = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                ++dark;
    return dark;
}

// The mean thickness of a horizontal stroke in rect: dark pixels per column over the middle
// two fifths of the ink's width.
double stemWidth(const QImage &image, const QRect &rect)
{
    int left = rect.right(), right = rect.left();
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            if (qGray(image.pixel(x, y)) < 128) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
    if (right <= left)
        return 0;
    const int from = left + (right - left) * 3 / 10, to = left + (right - left) * 7 / 10;
    return double(ink(image, QRect(QPoint(from, rect.top()), QPoint(to, rect.bottom())))) /
           (to - from + 1);
}

// A page of a PDF at 72 dots per inch, one pixel to a point.
QImage pdfPage(const QString &file, int page)
{
    const QString stem = file + QStringLiteral(".%1").arg(page), n = QString::number(page);
    QProcess::execute(QStringLiteral("pdftoppm"),
                      {"-r", "72", "-f", n, "-l", n, "-singlefile", "-png", file, stem});
    return QImage(stem + QStringLiteral(".png"));
}

// The ink of an A4 page runs from margin to margin across, and stays inside them down.
bool fillsTheWidth(const QString &file, int page)
{
    const QImage image = pdfPage(file, page);
    if (image.isNull())
        return false;
    QRect inked;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 250)
                inked |= QRect(x, y, 1, 1);
    const qreal margin = kSheetMarginMm / 25.4 * 72;
    const QRectF printable(margin, margin, image.width() - 2 * margin, image.height() - 2 * margin);
    return printable.adjusted(-1, -1, 1, 1).contains(inked) &&
           inked.width() > 0.97 * printable.width();
}

const int kCellStarts[9] = {7, 206, 406, 606, 806, 1006, 1206, 1406, 1605};

// Word k is k code units long, with its size on the puzzle page and in the legend, and on the
// solution page.
const QStringList kWords{
    QStringLiteral("一"),      QStringLiteral("ねこ"),     QStringLiteral("cat"),
    QStringLiteral("cinq"),    QStringLiteral("house"),    QStringLiteral("garden"),
    QStringLiteral("kitchen"), QStringLiteral("elephant"), QStringLiteral("ice cream")};
const int kPuzzlePoints[9] = {50, 40, 35, 25, 25, 25, 25, 25, 25};
const int kSolutionPoints[9] = {50, 40, 35, 30, 30, 25, 25, 25, 12};
} // namespace

class TestPrint : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    std::unique_ptr<ProgramFixture> fixture;
    ImagePagePrinter printer;

    TaaForm1 &main() { return fixture->main(); }
    ProgramState &state() { return fixture->state(); }
    const GameModel &model() { return fixture->model(); }
    Tprintform &puzzlePage() { return *main().findChild<Tprintform *>(); }
    Tprintform2 &solutionPage() { return *main().findChild<Tprintform2 *>(); }
    QToolButton *printButton() { return main().findChild<QToolButton *>("tbprint"); }

    // A game of kWords titled "Numbers", on Easy line 1 as written so that every word is given.
    void startGame()
    {
        Tfrmnewgame &d = fixture->program->frmnewgame();
        for (int k = 1; k <= 9; ++k)
            d.box(k)->setText(kWords.at(k - 1));
        d.box(0)->setText(QStringLiteral("Numbers"));
        d.BitBtn1Click();
        TQJ puzzle;
        writeBankLine(puzzle, kEasyLine1);
        fixture->game().model().start(puzzle, model().curlevel(), model().curwords());
    }

    void print() { QTest::mouseClick(printButton(), Qt::LeftButton); }

private slots:
    void init()
    {
        QFile::remove(autosavefile()); // each starts with no game
        fixture = std::make_unique<ProgramFixture>(dir.filePath(QStringLiteral("s.ini")));
        fixture->program->show();
        QVERIFY(QTest::qWaitForWindowActive(&main()));
        fixture->program->makewindows();
        fixture->withoutShippedMeanings();
        printer = ImagePagePrinter();
        main().setPagePrinter(&printer);
    }
    void cleanup() { fixture.reset(); }

    // Across the first row of cells and down the first column, at the size the pages give the
    // board: every pixel is a line, a cell or the board's face.
    void printGridLines()
    {
        Tprintsudoku board;
        QCOMPARE(board.size(), QSize(1800, 1800));
        board.resize(1806, 1806);
        const QImage image = board.grab().toImage();
        const QRgb face = board.palette().color(QPalette::Window).rgb() & 0xFFFFFF;
        QVector<QRgb> expected(1806, face);
        const int lines[10] = {1, 200, 400, 600, 800, 1000, 1200, 1400, 1599, 1799};
        for (int k = 0; k < 10; ++k) {
            const int pen = k % 3 == 0 ? 20 : 10;
            for (int t = std::max(0, lines[k] - pen / 2); t < std::min(1806, lines[k] + pen / 2);
                 ++t)
                expected[t] = 0;
        }
        for (int p = 0; p < 1806; ++p) {
            int cell = 0;
            for (int k = 0; k < 9; ++k)
                if (p >= kCellStarts[k] && p < kCellStarts[k] + 190)
                    cell = k + 1;
            auto want = [&](int i, int j) {
                return !cell ? expected[p] : inEdgeMiddleBox(i, j) ? 0xBBBBFF : 0xFFFFFF;
            };
            QVERIFY2(rgbAt(image, p, 100) == want(cell, 1), qPrintable(QString::number(p)));
            QVERIFY2(rgbAt(image, 100, p) == want(1, cell), qPrintable(QString::number(p)));
        }
        QCOMPARE(rgbAt(image, 1803, 1803), face); // the lines end at 1800
    }

    void fillingsKeepInsideTheWords()
    {
        TQJ model;
        writeBankLine(model, kHardLine1);
        Tprintform page;
        page.fill(model, kWords, QStringLiteral("Numbers"), kWords);
        for (int i = 1; i <= 9; ++i)
            for (int j = 1; j <= 9; ++j)
                if (const TNode &n = model.node(i, j); n.given)
                    QCOMPARE(page.board()->cell(i, j)->font().pointSize(),
                             kPuzzlePoints[n.value - 1]);
        Tprintsudoku &board = *page.board();
        // Values outside 1..9 come only from damaged files; they print no word.
        model.node(1, 1).value = 0;  // given
        model.node(5, 1).value = 10; // to fill
        board.loadprintpuzzle(model, kWords);
        QVERIFY(isEmptyText(board.cellText(1, 1)));
        board.loadsolution(model, kWords);
        QVERIFY(isEmptyText(board.cellText(1, 1)));
        QVERIFY(isEmptyText(board.cellText(5, 1)));
    }

    // What a page holds fills the sheet's width, or its length when that is the shorter, at one
    // scale, centred across, at the top.
    void sheetTransformFits_data()
    {
        QTest::addColumn<QRect>("content");
        QTest::addColumn<QSizeF>("area");
        QTest::addColumn<QRectF>("onSheet");
        QTest::newRow("wide") << QRect(100, 50, 1000, 500) << QSizeF(2000, 3000)
                              << QRectF(0, 0, 2000, 1000);
        QTest::newRow("tall") << QRect(0, 0, 1000, 3000) << QSizeF(2000, 3000)
                              << QRectF(500, 0, 1000, 3000);
        QTest::newRow("worksheet on A4 at 1200 dpi")
            << QRect(QPoint(124, 17), QPoint(1937, 2471)) << QSizeF(8787, 12898)
            << QRectF(0, 0, 8787, 2455 * 8787 / 1814.0);
    }
    void sheetTransformFits()
    {
        QFETCH(QRect, content);
        QFETCH(QSizeF, area);
        QFETCH(QRectF, onSheet);
        const QRectF mapped = sheetTransform(content, area).mapRect(QRectF(content));
        QVERIFY2(qAbs(mapped.left() - onSheet.left()) < 0.01 &&
                     qAbs(mapped.top() - onSheet.top()) < 0.01 &&
                     qAbs(mapped.width() - onSheet.width()) < 0.01 &&
                     qAbs(mapped.height() - onSheet.height()) < 0.01,
                 qPrintable(QStringLiteral("%1 %2 %3 %4")
                                .arg(mapped.x())
                                .arg(mapped.y())
                                .arg(mapped.width())
                                .arg(mapped.height())));
    }

    // On the print pages a word without a CJK character is in a Latin face; Chinese keeps Kai.
    void latinWordsInALatinFace()
    {
        Tprintsudoku board;
        TQJ model;
        writeBankLine(model, kEasyLine1);
        board.loadsolution(model, kWords);
        int latin = 0;
        for (int i = 1; i <= 9; ++i)
            for (int j = 1; j <= 9; ++j) {
                const TTntcell *c = board.cell(i, j);
                const bool cjk = hasCjkText(c->text());
                latin += !cjk;
                QCOMPARE(c->font().family(), cjk ? QStringLiteral("simkai") : latinFamily());
                QVERIFY2(cjk || !QFontInfo(fontForText(c->font(), c->text()))
                                     .family()
                                     .contains(QStringLiteral("Kai"), Qt::CaseInsensitive),
                         qPrintable(c->text()));
            }
        QVERIFY(latin > 40);
        // The puzzle as dealt: the given Latin words, and back to Kai for Chinese words.
        board.loadprintpuzzle(model, QStringList(9, QStringLiteral("猫")));
        QCOMPARE(board.cell(1, 1)->font().family(), QStringLiteral("simkai"));
    }

    void printDisabledBeforeAGame()
    {
        QVERIFY(!printButton()->isEnabled());
        print();
        QCOMPARE(printer.jobs, 0);
    }

    void puzzlePageShowsTheGameAsDealt()
    {
        startGame();
        // The player's word in an open cell stays off the page.
        QPoint open;
        for (int p = 80; p >= 0; --p)
            if (!model().cell(p / 9 + 1, p % 9 + 1).given)
                open = QPoint(p / 9 + 1, p % 9 + 1);
        fixture->game().select(model().cell(open.x(), open.y()).solution);
        QTest::mouseClick(main().board()->cell(open.x(), open.y()), Qt::LeftButton);
        QVERIFY(!isEmptyText(main().board()->cellText(open.x(), open.y())));
        print();
        QCOMPARE(printer.images.size(), 2);
        const QImage image = printer.images.at(0);
        QCOMPARE(image.size(), QSize(2100, 2531));
        QCOMPARE(rgbAt(image, 2099, 2530), 0xFFFFFFu);

        Tprintform &page = puzzlePage();
        QCOMPARE(darkest(image, onPage(page, page.board()->cell(open.x(), open.y()))),
                 page.board()->cellColor(open.x(), open.y()));
        for (int i = 1; i <= 9; ++i)
            for (int j = 1; j <= 9; ++j) {
                const GameCell &n = model().cell(i, j);
                const TTntcell *c = page.board()->cell(i, j);
                QCOMPARE(c->text(), n.given ? kWords.at(n.solution - 1) : QStringLiteral(" "));
                QCOMPARE(c->font().pointSize(), n.given ? kPuzzlePoints[n.solution - 1] : 50);
                QVERIFY(c->font().bold());
            }
        // Black given words, a shaded cross, white corners.
        QCOMPARE(darkest(image, onPage(page, page.board()->cell(1, 1))), 0u);
        QCOMPARE(rgbAt(image, 127 + 606 + 2, 441 + 7 + 2), 0xBBBBFFu);
        QCOMPARE(rgbAt(image, 127 + 7 + 2, 441 + 7 + 2), 0xFFFFFFu);
        for (int k = 1; k <= 9; ++k) {
            const TTntcell *c = page.legend(k);
            QCOMPARE(c->text(), kWords.at(k - 1));
            QCOMPARE(c->font().pointSize(), kPuzzlePoints[k - 1]);
            const QRect r = onPage(page, c);
            QCOMPARE(rgbAt(image, r.left() + 1, r.top() + 1), 0xA4A4FFu);
            QVERIFY(darkest(image, r) != 0xA4A4FFu);
        }
        QCOMPARE(page.title()->text(), QStringLiteral("Numbers"));
        QVERIFY(darkest(image, page.title()->geometry()) != 0xFFFFFFu);
        QCOMPARE(page.label1()->text(), QStringLiteral("www.vaskelio.org"));
    }

    void solutionPageShowsEveryWord()
    {
        startGame();
        print();
        const QImage image = printer.images.at(1);
        QCOMPARE(image.size(), QSize(2100, 2693));
        Tprintform2 &page = solutionPage();
        for (int i = 1; i <= 9; ++i)
            for (int j = 1; j <= 9; ++j) {
                const GameCell &n = model().cell(i, j);
                const TTntcell *c = page.board()->cell(i, j);
                QCOMPARE(c->text(), kWords.at(n.solution - 1));
                QCOMPARE(c->font().pointSize(), kSolutionPoints[n.solution - 1]);
                QCOMPARE(c->font().bold(), n.given);
                QCOMPARE(c->font().italic(), !n.given);
                const QRgb ink = darkest(image, onPage(page, c));
                QVERIFY2(n.given ? ink == 0 : qBlue(ink) > 200 && qRed(ink) < 60,
                         qPrintable(QString::number(ink, 16)));
            }
        QCOMPARE(rgbAt(image, 150 + 7 + 2, 521 + 606 + 2), 0xBBBBFFu);
        QCOMPARE(rgbAt(image, 150 + 806 + 2, 521 + 806 + 2), 0xFFFFFFu);
    }

    void pageTextsFollowTheLanguage()
    {
        startGame();
        const auto *name = puzzlePage().findChild<QLabel *>("TntLabel2");
        const auto *solution = solutionPage().findChild<QLabel *>("TntLabel1");
        main().keydown(Qt::Key_F2);
        print();
        QCOMPARE(name->text(), QStringLiteral("姓名:"));
        QCOMPARE(solution->text(), QStringLiteral("答案"));
        QCOMPARE(puzzlePage().title()->text(), QStringLiteral("Numbers"));
        main().keydown(Qt::Key_F1);
        print();
        QCOMPARE(name->text(), QStringLiteral("Name:"));
        QCOMPARE(solution->text(), QStringLiteral("Solution"));
    }

    void failedPrintReportsAndChangesNothing()
    {
        startGame();
        QTest::mouseClick(main().wordPalette()->button(4), Qt::LeftButton);
        const QByteArray game = main().game().saved().toBytes();
        const QString caption = main().windowTitle();
        printer.failure = QStringLiteral("There is no default printer.");
        print();
        QCOMPARE(printer.jobs, 1);
        QCOMPARE(fixture->prompter.messages,
                 QStringList{QStringLiteral("The game was not printed.\n") + printer.failure});
        QCOMPARE(main().game().saved().toBytes(), game);
        QCOMPARE(main().windowTitle(), caption);
        QCOMPARE(fixture->game().selectedWord(), 4);
    }

    // Where the print system can fail a job, and what the job then does.
    void printSystemFailures_data()
    {
        using Fail = FakePrintEngine::Fail;
        QTest::addColumn<Fail>("fail");
        QTest::addColumn<QString>("error"); // empty: printed
        QTest::addColumn<bool>("aborted");
        QTest::newRow("accepted") << Fail::Nothing << QString() << false;
        QTest::newRow("cannot begin") << Fail::BeginCall << "could not start printing" << false;
        QTest::newRow("begun, but in error")
            << Fail::BeginState << "could not start printing" << true;
        QTest::newRow("no second page")
            << Fail::NewPageCall << "could not start a new page" << true;
        QTest::newRow("cannot end") << Fail::EndCall << "could not finish the print job" << false;
        QTest::newRow("ended, but refused")
            << Fail::EndState << "could not finish the print job" << false;
    }
    void printSystemFailures()
    {
        QFETCH(FakePrintEngine::Fail, fail);
        QFETCH(QString, error);
        QFETCH(bool, aborted);
        FakePrintEngine engine(fail);
        FakePrinter paper(&engine);
        QWidget first, second;
        first.resize(300, 200);
        second.resize(300, 200);
        const Status printed =
            QtPagePrinter::printOn(paper, QStringLiteral("Office"), {&first, &second});
        const QString reason = printed ? QString() : printed.error();
        QCOMPARE(printed.ok(), error.isEmpty());
        QVERIFY2(reason.contains(error), qPrintable(reason));
        QCOMPARE(reason.contains(QStringLiteral("\"Office\"")), !error.isEmpty());
        QCOMPARE(engine.aborted, aborted);
        if (printed)
            QCOMPARE(engine.pages, 2);
    }

    // The pages drawn as vectors look as the widgets show them: the same pixels everywhere but
    // in the bold words, which carry about as much ink.
    void vectorPagesLookAsTheWidgets()
    {
        startGame();
        print();
        const QList<PrintPage *> pages{&puzzlePage(), &solutionPage()};
        for (int n = 0; n < 2; ++n) {
            const QImage widgets = printer.images.at(n);
            QImage vectors(widgets.size(), QImage::Format_RGB32);
            vectors.fill(0x123456);
            {
                QPainter painter(&vectors);
                paintPage(painter, pages.at(n)->panel());
            }
            QRegion boldWords;
            for (int i = 1; i <= 9; ++i)
                for (int j = 1; j <= 9; ++j) {
                    const TTntcell *c = pages.at(n)->board()->cell(i, j);
                    if (c->font().bold() && !isEmptyText(c->text())) {
                        const QRect r = onPage(*pages.at(n), c);
                        boldWords += r;
                        const double ratio = double(ink(vectors, r)) / ink(widgets, r);
                        QVERIFY2(ratio > 0.85 && ratio < 2,
                                 qPrintable(QStringLiteral("%1 %2 %3").arg(i).arg(j).arg(ratio)));
                    }
                }
            QVERIFY(!boldWords.isEmpty());
            int differ = 0;
            for (int y = 0; y < widgets.height(); ++y)
                for (int x = 0; x < widgets.width(); ++x)
                    if (rgbAt(widgets, x, y) != rgbAt(vectors, x, y) &&
                        !boldWords.contains(QPoint(x, y)))
                        ++differ;
            QCOMPARE(differ, 0);
        }
    }

    // A given word of one character at its printed size, bold and regular, drawn on paper at
    // 600 dots per inch and through a PDF: the bold stroke is clearly the thicker.
    void boldStemsShowOnPaper_data()
    {
        QTest::addColumn<bool>("pdf");
        QTest::newRow("printer resolution") << false;
        QTest::newRow("PDF") << true;
    }
    void boldStemsShowOnPaper()
    {
        QFETCH(bool, pdf);
        auto stem = [&](bool bold) {
            // The board alone on a sheet, as wide as the sheet's printable area.
            QWidget holder;
            Tprintsudoku &board = *new Tprintsudoku(&holder);
            TTntcell *cell = board.cell(1, 1);
            cell->setText(QStringLiteral("一"));
            QFont font = cell->font();
            font.setBold(bold);
            font.setPointSize(fontFor(kPuzzlePageFonts, 1).points);
            cell->setFont(font);
            // The cell at 600 dots per inch, and inside it, clear of the grid lines.
            QImage image;
            QRect inside(24, 24, 360, 360);
            if (pdf) {
                const QString file = dir.filePath(QStringLiteral("stem.pdf"));
                if (const Status written = writePdf(file, QString(), {&holder}); !written)
                    return -1.0;
                const qreal dots = 600 / 25.4, margin = kSheetMarginMm * dots;
                const QRectF cellOnSheet =
                    sheetTransform(board.geometry(), QSizeF((210 - 2 * kSheetMarginMm) * dots,
                                                            (297 - 2 * kSheetMarginMm) * dots))
                        .mapRect(QRectF(cell->geometry()))
                        .translated(margin, margin);
                const QRect area = cellOnSheet.toAlignedRect();
                inside = QRect(QPoint(), area.size()).adjusted(30, 30, -30, -30);
                QProcess raster;
                raster.start(QStringLiteral("pdftoppm"),
                             {"-r", "600", "-gray", "-singlefile", "-x", QString::number(area.x()),
                              "-y", QString::number(area.y()), "-W", QString::number(area.width()),
                              "-H", QString::number(area.height()), file,
                              dir.filePath(QStringLiteral("stem"))});
                raster.waitForFinished();
                image.load(dir.filePath(QStringLiteral("stem.pgm")));
            } else {
                image = QImage(420, 420, QImage::Format_RGB32);
                image.setDotsPerMeterX(qRound(600 / 0.0254));
                image.setDotsPerMeterY(qRound(600 / 0.0254));
                image.fill(Qt::white);
                QPainter painter(&image);
                painter.scale(600.0 / kPageDpi, 600.0 / kPageDpi);
                paintPage(painter, &board);
            }
            return stemWidth(image, inside);
        };
        const double regular = stem(false), bold = stem(true);
        QVERIFY2(regular > 5, qPrintable(QString::number(regular)));
        QVERIFY2(bold > 1.3 * regular,
                 qPrintable(QStringLiteral("bold %1, regular %2").arg(bold).arg(regular)));
    }

    // Save as PDF: the game's title as the file's name, the two pages as text with the fonts in.
    void saveAsPdfShowsBothPages()
    {
        startGame();
        const QString file = dir.filePath(QStringLiteral("game.pdf"));
        fixture->prompter.files.enqueue(file);
        main().pdfClick();
        QCOMPARE(fixture->prompter.folders.constLast(), QDir::home().filePath("Numbers.pdf"));
        QVERIFY2(fixture->prompter.messages.isEmpty(),
                 qPrintable(fixture->prompter.messages.join('\n')));
        QCOMPARE(pdftools::pages(file), 2);
        const QString puzzle = pdftools::text(file, 1), solution = pdftools::text(file, 2);
        for (const char *text : {"Numbers", "Name:", "Complete the grid", "www.vaskelio.org"})
            QVERIFY2(puzzle.contains(QString::fromUtf8(text)), text);
        for (const QString &word : kWords)
            QVERIFY2(puzzle.simplified().contains(word), qPrintable(word));
        QVERIFY(solution.contains(QStringLiteral("Solution")));
        QVERIFY(!solution.contains(QStringLiteral("Name:")));
        // Every given word is on the solution page too, with the other 81 - givens.
        QCOMPARE(int(solution.count(QStringLiteral("elephant"))), 9);
        QVERIFY(pdftools::allFontsEmbedded(file));
    }

    // Where the PDF was saved is said in the status bar.
    void saveAsPdfSaysWhere()
    {
        startGame();
        const QString file = dir.filePath(QStringLiteral("where.pdf"));
        fixture->prompter.files.enqueue(file);
        main().pdfClick();
        QVERIFY(fixture->prompter.messages.isEmpty());
        QCOMPARE(
            main().statusText(),
            QStringLiteral("The PDF was saved to \"%1\".").arg(QDir::toNativeSeparators(file)));
        // The pages use the width of the sheet.
        QVERIFY(fillsTheWidth(file, 1));
        QVERIFY(fillsTheWidth(file, 2));
    }

    // A device that takes no byte: the write's failure is reported, the device stays a device.
    void pdfOnAFullDevice()
    {
        startGame();
        fixture->prompter.files.enqueue(QStringLiteral("/dev/full"));
        fixture->prompter.answers.enqueue(true); // it exists: overwrite it
        main().pdfClick();
        QCOMPARE(fixture->prompter.messages,
                 QStringList{QStringLiteral("The PDF was not written.\nCannot write file "
                                            "\"/dev/full\": No space left on device.")});
        QVERIFY(!QFileInfo(QStringLiteral("/dev/full")).isFile());
        QVERIFY(!main().statusText().contains(QStringLiteral("/dev/full")));
    }

    // A write that fails half way, as on a full disk: the PDF that was there stays byte for byte
    // and no temporary file is left beside it.
    void failedPdfKeepsTheOldFile()
    {
        startGame();
        QTemporaryDir folder;
        const QString file = folder.filePath(QStringLiteral("game.pdf"));
        fixture->prompter.files.enqueue(file);
        main().pdfClick();
        QFile saved(file);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        const QByteArray good = saved.readAll();
        saved.close();
        QVERIFY(good.size() > 20000);

        main().keydown(Qt::Key_F2); // other texts, so that the new file would differ
        fixture->prompter.files.enqueue(file);
        fixture->prompter.answers.enqueue(true);
        rlimit before{};
        getrlimit(RLIMIT_FSIZE, &before);
        const auto previous = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = before;
        small.rlim_cur = 8192;
        setrlimit(RLIMIT_FSIZE, &small);
        main().pdfClick();
        setrlimit(RLIMIT_FSIZE, &before);
        std::signal(SIGXFSZ, previous);
        main().keydown(Qt::Key_F1);

        QCOMPARE(fixture->prompter.messages.size(), 1);
        QVERIFY2(fixture->prompter.messages.constFirst().endsWith(
                     QStringLiteral("\nCannot write file \"%1\": File too large.")
                         .arg(QDir::toNativeSeparators(file))),
                 qPrintable(fixture->prompter.messages.constFirst()));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), good);
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("game.pdf")});
    }

    void pdfThatCannotBeWrittenIsReported()
    {
        startGame();
        const QByteArray game = main().game().saved().toBytes();
        fixture->prompter.files.enqueue(dir.filePath(QStringLiteral("missing/game.pdf")));
        main().pdfClick();
        QCOMPARE(fixture->prompter.messages.size(), 1);
        QVERIFY2(fixture->prompter.messages.constFirst().startsWith(
                     QStringLiteral("The PDF was not written.\nCannot create file")),
                 qPrintable(fixture->prompter.messages.constFirst()));
        QCOMPARE(main().game().saved().toBytes(), game);
        // A cancelled file dialog writes nothing and says nothing.
        fixture->prompter.clear();
        main().pdfClick();
        QVERIFY(fixture->prompter.messages.isEmpty());
    }

    // The right-click menu of the Print button and Ctrl+Shift+P: the game's pages need a game,
    // a class set does not; the texts follow the language.
    void printMenu()
    {
        auto texts = [this] {
            QStringList shown;
            for (const QAction *action : main().printMenu()->actions())
                shown.append(action->text() + (action->isEnabled() ? "" : " (off)"));
            return shown;
        };
        QTest::keyClick(&main(), Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
        QTRY_VERIFY(main().printMenu()->isVisible());
        main().printMenu()->hide();
        QCOMPARE(texts(),
                 (QStringList{"Print… (off)", "Save as PDF… (off)", "Worksheets…", "Statistics…"}));
        startGame();
        QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(4, 4),
                                printButton()->mapToGlobal(QPoint(4, 4)));
        QApplication::sendEvent(printButton(), &click);
        QTRY_VERIFY(main().printMenu()->isVisible());
        main().printMenu()->hide();
        QCOMPARE(texts(), (QStringList{"Print…", "Save as PDF…", "Worksheets…", "Statistics…"}));
        main().keydown(Qt::Key_F3);
        QCOMPARE(texts(), (QStringList{"印刷…", "PDF として保存…", "ワークシート…", "統計…"}));

        main().printMenu()->actions().at(0)->trigger();
        QCOMPARE(printer.dialogs, 1);
        QCOMPARE(printer.jobs, 1);
        QCOMPARE(printer.images.size(), 2);
        printer.cancelDialog = true;
        main().printMenu()->actions().at(0)->trigger();
        QCOMPARE(printer.dialogs, 2);
        QCOMPARE(printer.jobs, 1);
        QVERIFY(fixture->prompter.messages.isEmpty());
        main().keydown(Qt::Key_F1);

        // A job that fails after the dialog is reported as the Print button's is.
        printer.cancelDialog = false;
        printer.failure = QStringLiteral("The printer \"Office\" could not start printing.");
        main().printMenu()->actions().at(0)->trigger();
        QCOMPARE(printer.dialogs, 3);
        QCOMPARE(fixture->prompter.messages,
                 QStringList{QStringLiteral("The game was not printed.\n") + printer.failure});
    }

    // A class set from the dialog: 30 sheets, then the answer key six to a sheet.
    void worksheetsFromTheDialog()
    {
        main().keydown(Qt::Key_F1);
        const QString file = dir.filePath(QStringLiteral("class.pdf"));
        fixture->prompter.files.enqueue(file);
        bool checked = false;
        whenModalOpens([&](QWidget *modal) {
            auto *dialog = qobject_cast<Tfrmworksheets *>(modal);
            QVERIFY(dialog);
            QCOMPARE(dialog->levels()->itemText(2), QStringLiteral("Hard"));
            QCOMPARE(dialog->levels()->currentIndex(), 3); // the last new game's level
            dialog->levels()->setCurrentIndex(2);
            dialog->lists()->setCurrentIndex(dialog->lists()->findText("阿拉伯数字"));
            QCOMPARE(dialog->count()->maximum(), 100);
            dialog->count()->setValue(30);
            dialog->btokClick();
            QVERIFY(!dialog->isVisible());
            checked = true;
        });
        state().settings.newgamelevel = 3;
        main().worksheetsClick();
        QVERIFY(checked);
        QCOMPARE(fixture->prompter.folders.constLast(), QDir::home().filePath("阿拉伯数字.pdf"));
        QCOMPARE(pdftools::pages(file), 35);
        QVERIFY(pdftools::text(file, 1).contains(QStringLiteral("Sheet 1")));
        QVERIFY(pdftools::text(file, 30).contains(QStringLiteral("Sheet 30")));
        const QString key = pdftools::text(file, 35);
        QVERIFY(key.contains(QStringLiteral("Answer key")));
        QVERIFY(key.contains(QStringLiteral("Sheet 25")));
        QVERIFY(key.contains(QStringLiteral("Sheet 30")));
        QVERIFY(pdftools::allFontsEmbedded(file));
    }

    // The dialog starts on the list in play, when it is a stored one, and says where it saved;
    // the shading is one of three, in the language in force.
    void worksheetsStartOnTheListInPlay()
    {
        main().keydown(Qt::Key_F1);
        WordListStore store(state().listsfile);
        QVERIFY(store.Load());
        const WordSet &animals = store.Get(store.Count() >= 2 ? 2 : 1);
        Tfrmnewgame &d = fixture->program->frmnewgame();
        d.box(0)->setText(animals.title);
        for (int k = 1; k <= 9; ++k)
            d.box(k)->setText(animals.words[k - 1].text);
        d.BitBtn1Click();
        const QString file = dir.filePath(QStringLiteral("animals.pdf"));
        fixture->prompter.files.enqueue(file);
        bool checked = false;
        whenModalOpens([&](QWidget *modal) {
            auto *dialog = qobject_cast<Tfrmworksheets *>(modal);
            QVERIFY(dialog);
            QCOMPARE(dialog->lists()->currentText(), animals.title);
            QCOMPARE(dialog->shading()->count(), 3);
            QCOMPARE(dialog->shading()->itemText(1), QStringLiteral("Grey"));
            QCOMPARE(dialog->shading()->currentIndex(), 0);
            dialog->count()->setValue(2);
            dialog->shading()->setCurrentIndex(2);
            dialog->btokClick();
            checked = true;
        });
        main().worksheetsClick();
        QVERIFY(checked);
        QCOMPARE(
            main().statusText(),
            QStringLiteral("The PDF was saved to \"%1\".").arg(QDir::toNativeSeparators(file)));
        QCOMPARE(pdftools::pages(file), 3);

        // The same words under another title are the same list; a list of none starts where the
        // dialog was left.
        d.box(0)->setText(QStringLiteral("My animals"));
        d.BitBtn1Click();
        checked = false;
        whenModalOpens([&](QWidget *modal) {
            auto *dialog = qobject_cast<Tfrmworksheets *>(modal);
            QCOMPARE(dialog->lists()->currentText(), animals.title);
            dialog->lists()->setCurrentIndex(0);
            dialog->reject();
            checked = true;
        });
        main().worksheetsClick();
        QVERIFY(checked);
        startGame();
        checked = false;
        whenModalOpens([&](QWidget *modal) {
            auto *dialog = qobject_cast<Tfrmworksheets *>(modal);
            QCOMPARE(dialog->lists()->currentIndex(), 0);
            dialog->reject();
            checked = true;
        });
        main().worksheetsClick();
        QVERIFY(checked);
    }

    // The answer key's heading takes a smaller size for a long title rather than run past the
    // margins.
    void longTitleStaysOnTheAnswerKey()
    {
        WorksheetSet set;
        set.words = WordSet::fromTexts(
            QStringLiteral("Everyday words for the first weeks of the spring term"), kWords);
        set.count = 1;
        set.seed = 1;
        const QString file = dir.filePath(QStringLiteral("long.pdf"));
        const Status written = writeWorksheets(file, set, state().texts);
        QVERIFY2(written, qPrintable(written.ok() ? QString() : written.error()));
        static const QRegularExpression word(
            QStringLiteral(R"re(<word xMin="([\d.]+)" yMin="[\d.]+" xMax="([\d.]+)")re"));
        const QString boxes = pdftools::text(file, 2, {"-bbox"});
        QVERIFY(pdftools::text(file, 2).simplified().contains(set.words.title));
        const qreal margin = kSheetMarginMm / 25.4 * 72;
        int words = 0;
        for (auto match = word.globalMatch(boxes); match.hasNext(); ++words) {
            const auto m = match.next();
            QVERIFY2(m.captured(1).toDouble() >= margin - 0.5 &&
                         m.captured(2).toDouble() <= 595.28 - margin + 0.5,
                     qPrintable(m.captured(0)));
        }
        QVERIFY(words > 10);
    }

    // On a printer the pages go out as text and lines too, not as pictures: a printer that
    // writes PDF holds the pages' words as text, with their fonts.
    void printerGetsTextNotPictures()
    {
        startGame();
        print();
        QPrinter paper(QPrinter::HighResolution);
        paper.setOutputFormat(QPrinter::PdfFormat);
        const QString file = dir.filePath(QStringLiteral("printed.pdf"));
        paper.setOutputFileName(file);
        paper.setPageMargins(
            QMarginsF(kSheetMarginMm, kSheetMarginMm, kSheetMarginMm, kSheetMarginMm),
            QPageLayout::Millimeter);
        const Status printed = QtPagePrinter::printOn(
            paper, QStringLiteral("PDF"), {puzzlePage().panel(), solutionPage().panel()});
        QVERIFY2(printed, qPrintable(printed ? QString() : printed.error()));
        QCOMPARE(pdftools::pages(file), 2);
        QVERIFY(pdftools::text(file, 1).contains(QStringLiteral("Numbers")));
        QVERIFY(pdftools::text(file, 2).contains(QStringLiteral("elephant")));
        QVERIFY(pdftools::allFontsEmbedded(file));
        for (int page = 1; page <= 2; ++page)
            QVERIFY2(fillsTheWidth(file, page), qPrintable(QString::number(page)));
    }

    // Printed to a PDF file, Chinese reads as drawn: no radical in place of an ideograph.
    void printerToPdfFileReadsAsDrawn()
    {
        const QStringList words{"红", "黄", "绿", "蓝", "黑", "白", "一", "中文", "下面"};
        Tprintform page;
        TQJ model;
        writeBankLine(model, kHardLine1);
        page.fill(model, words, QStringLiteral("颜色"), words);
        QPrinter paper(QPrinter::HighResolution);
        paper.setOutputFormat(QPrinter::PdfFormat);
        const QString file = dir.filePath(QStringLiteral("printedcjk.pdf"));
        paper.setOutputFileName(file);
        const Status printed = QtPagePrinter::printOn(paper, QStringLiteral("PDF"), {page.panel()});
        QVERIFY2(printed, qPrintable(printed ? QString() : printed.error()));
        const QString text = pdftools::text(file, 1);
        QVERIFY2(text.contains(QStringLiteral("颜色")), qPrintable(text));
        for (const QString &word : words)
            QVERIFY2(text.contains(word), qPrintable(word));
        for (const uint c : text.toUcs4())
            QVERIFY2(!(c >= 0x2E80 && c <= 0x2FDF) && !(c >= 0xF900 && c <= 0xFAFF),
                     qPrintable(QString::number(c, 16)));
        QVERIFY(pdftools::allFontsEmbedded(file));
    }

    // Words with readings and meanings: a word bank under the legend and under the solution,
    // read back as drawn; the puzzle page keeps its scale. The same page filled again without
    // them is as it was made.
    void wordBankOnBothPages()
    {
        WordSet fruit =
            WordSet::fromTexts(QStringLiteral("水果"), {"苹果", "香蕉", "梨", "桃", "葡萄", "西瓜",
                                                        "橙子", "草莓", "芒果"});
        fruit.words[0].reading = QStringLiteral("píngguǒ");
        fruit.words[0].meaning = QStringLiteral("apple");
        fruit.words[1].meaning = QStringLiteral("banana");
        fruit.words[2].reading = QStringLiteral("lí");
        const QString apple = QStringLiteral("苹果 · píngguǒ · apple");
        TQJ model;
        writeBankLine(model, kHardLine1);
        Tprintform page;
        Tprintform2 solution;
        page.translate(state().texts);
        page.fill(model, fruit);
        solution.fill(model, fruit);
        QVERIFY(page.wordBank() && solution.wordBank());

        const QString file = dir.filePath(QStringLiteral("bank.pdf"));
        const Status written = writePdf(file, fruit.title, {page.panel(), solution.panel()});
        QVERIFY2(written, qPrintable(written ? QString() : written.error()));
        for (int sheet = 1; sheet <= 2; ++sheet) {
            const QString text = pdftools::text(file, sheet).simplified();
            QVERIFY2(text.contains(apple), qPrintable(text));
            QVERIFY(text.contains(QStringLiteral("香蕉 · banana")));
            QVERIFY(text.contains(QStringLiteral("梨 · lí")));
        }
        QVERIFY(fillsTheWidth(file, 1));

        page.fill(model, WordSet::fromTexts(fruit.title, fruit.texts()));
        QVERIFY(!page.wordBank());
        QCOMPARE(page.panel()->size(), Tprintform::kPanel);
        QCOMPARE(page.panel()->childrenRect().bottom(), page.legend(1)->geometry().bottom());
    }

    // The dialog finds the list in play though the game's words carry meanings and the stored
    // ones do not, and gives its sheets the glossary's word bank.
    void worksheetsDialogCarriesTheWordBank()
    {
        main().keydown(Qt::Key_F1);
        const QStringList letters{"A", "B", "C", "D", "E", "F", "G", "H", "I"};
        WordSet glossed = WordSet::fromTexts(QStringLiteral("字母"), letters);
        glossed.words[0].meaning = QStringLiteral("first letter");
        QVERIFY(state().glossary.take(glossed, false));
        Tfrmnewgame &d = fixture->program->frmnewgame();
        d.box(0)->setText(glossed.title);
        for (int k = 1; k <= 9; ++k)
            d.box(k)->setText(letters.at(k - 1));
        d.BitBtn1Click();
        const QString file = dir.filePath(QStringLiteral("letters.pdf"));
        fixture->prompter.files.enqueue(file);
        bool checked = false;
        whenModalOpens([&](QWidget *modal) {
            auto *dialog = qobject_cast<Tfrmworksheets *>(modal);
            QCOMPARE(dialog->lists()->currentText(), glossed.title);
            dialog->count()->setValue(1);
            dialog->btokClick();
            checked = true;
        });
        main().worksheetsClick();
        QVERIFY(checked);
        for (int page = 1; page <= 2; ++page)
            QVERIFY(pdftools::text(file, page).simplified().contains("A · first letter"));
    }

    // A meaning far longer than a line wraps and shrinks under the legend: all of it on the
    // sheet, none of it over the legend or past the margins.
    void longMeaningStaysUnderTheLegend()
    {
        QStringList tokens;
        for (int n = 1; n <= 90; ++n)
            tokens.append(QStringLiteral("m%1x").arg(n));
        WordSet words = WordSet::fromTexts(QStringLiteral("Long"), kWords);
        words.words[4].meaning = tokens.join(u' ');
        TQJ model;
        writeBankLine(model, kHardLine1);
        Tprintform page;
        page.fill(model, words);
        QVERIFY(page.wordBank());

        const QString file = dir.filePath(QStringLiteral("longbank.pdf"));
        QVERIFY(writePdf(file, words.title, {page.panel()}));
        const qreal margin = kSheetMarginMm / 25.4 * 72;
        const QTransform toSheet =
            sheetTransform(pageContent(page.panel()),
                           QSizeF(595.276 - 2 * margin, 841.89 - 2 * margin)) *
            QTransform::fromTranslate(margin, margin);
        const qreal legendFoot = toSheet.map(QPointF(0, page.legend(1)->geometry().bottom())).y();
        static const QRegularExpression word(QStringLiteral(
            R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="[\d.]+">(m\d+x)</word>)re"));
        QSet<QString> found;
        for (auto match = word.globalMatch(pdftools::text(file, 1, {"-bbox"})); match.hasNext();) {
            const auto m = match.next();
            QVERIFY2(m.captured(2).toDouble() > legendFoot &&
                         m.captured(1).toDouble() >= margin - 0.5 &&
                         m.captured(3).toDouble() <= 595.276 - margin + 0.5,
                     qPrintable(m.captured(0)));
            found.insert(m.captured(4));
        }
        QCOMPARE(found.size(), tokens.size());
    }

    void systemPrinterWithoutAPrinterSaysSo()
    {
        if (!QPrinterInfo::defaultPrinter().isNull())
            QSKIP("this system has a default printer");
        QWidget page;
        const Status printed = QtPagePrinter().printPages({&page});
        QVERIFY(!printed);
        QVERIFY(printed.error().contains(QStringLiteral("no default printer")));
    }
};

VASKELIO_GUI_TEST_MAIN(TestPrint)
#include "tst_print.moc"
