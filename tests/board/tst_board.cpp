#include "bankline.h"
#include "board/cellboard.h"
#include "board/tntcell.h"
#include "board/tntstdsudoku.h"
#include "engine/gamemodel.h"
#include "engine/qj.h"
#include "engine/random.h"
#include "engine/rules.h"
#include "i18n/texttable.h"
#include "plainboard.h"
#include "sandbox.h"
#include "scriptedprompter.h"
#include "widgets/fonts.h"

#include <QApplication>
#include <QtTest>

#include <iterator>

namespace {

QRgb rgbAt(const QImage &image, int x, int y)
{
    return image.pixel(x, y) & 0xFFFFFF;
}

// Counts paint events of one widget.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget *w) { w->installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++count;
        return false;
    }
};

// Rows of rect in which some pixel differs from background, as runs: one run per line of text.
int inkBands(const QImage &image, const QRect &rect, QRgb background)
{
    int bands = 0;
    bool inBand = false;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        bool ink = false;
        for (int x = rect.left(); x <= rect.right() && !ink; ++x)
            ink = (image.pixel(x, y) & 0xFFFFFF) != background;
        bands += ink && !inBand;
        inBand = ink;
    }
    return bands;
}

// Bounding box of the pixels in rect that differ from background.
QRect inkBox(const QImage &image, const QRect &rect, QRgb background)
{
    QRect box;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            if (rgbAt(image, x, y) != background)
                box |= QRect(x, y, 1, 1);
    return box;
}
// The board's font by the length of a word's longest piece, written out apart from the program.
FontFit expectedFit(int longest)
{
    static const FontFit kByLength[] = {
        {14, true}, // blank
        {18, true}, {14, true}, {14, true}, {12, true},
        {10, true}, {10, true}, {8, true},  {8, true}, // 7 and 8
    };
    return longest < int(std::size(kByLength)) ? kByLength[longest] : FontFit{8, true};
}
} // namespace

class TestBoard : public QObject {
    Q_OBJECT

    QStringList words{
        QStringLiteral("一"),      QStringLiteral("ice cream"), QStringLiteral("vegetables"),
        QStringLiteral("cat"),     QStringLiteral("house"),     QStringLiteral("garden"),
        QStringLiteral("kitchen"), QStringLiteral("elephant"),  QStringLiteral("ねこ")};

private slots:
    void newCellDefaults()
    {
        TTntcell cell;
        QCOMPARE(cell.size(), QSize(30, 30));
        QCOMPARE(cell.text(), QStringLiteral(" "));
        QCOMPARE(cell.color(), QColor(Qt::white));
        QVERIFY(cell.isfixed());
        QCOMPARE(cell.value(), 0);
        QCOMPARE(cell.column(), 0);
        QCOMPARE(cell.row(), 0);
        QVERIFY(!cell.isEnter());
    }

    void layoutOfTheCells()
    {
        Ttntstdsudoku board;
        QCOMPARE(board.size(), QSize(657, 657));
        const int starts[9] = {2, 74, 147, 220, 293, 366, 439, 512, 584};
        for (int i = 1; i <= 9; ++i)
            for (int j = 1; j <= 9; ++j) {
                TTntcell *c = board.cell(i, j);
                QCOMPARE(c->geometry(), QRect(starts[i - 1], starts[j - 1], 71, 71));
                QCOMPARE(c->column(), i);
                QCOMPARE(c->row(), j);
                QVERIFY(!c->isfixed());
                QCOMPARE(c->font().pointSize(), 18);
                QVERIFY(c->font().bold());
                QCOMPARE(board.cellColor(i, j),
                         inEdgeMiddleBox(i, j) ? boardcolor::lightBlue : boardcolor::white);
            }
        QCOMPARE(board.fixcolor(), boardcolor::black);
        QCOMPARE(board.bigcolor(), boardcolor::blue);
    }

    // One scan line across the middle of the first row of cells and one down the middle of
    // the first column: every pixel is a line, a cell or the board's face.
    void gridLinesAndBackgrounds_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::newRow("as created") << QSize(657, 657);
        QTest::newRow("main window") << QSize(659, 660);
        QTest::newRow("solution window") << QSize(658, 660);
    }
    void gridLinesAndBackgrounds()
    {
        QFETCH(QSize, size);
        Ttntstdsudoku board;
        board.resize(size);
        const QImage image = board.grab().toImage();
        const QRgb face = board.palette().color(QPalette::Window).rgb() & 0xFFFFFF;
        QVERIFY(face != 0);

        QVector<QRgb> expected(size.width(), face);
        const int starts[9] = {2, 74, 147, 220, 293, 366, 439, 512, 584};
        const int lines[10] = {1, 73, 146, 219, 292, 365, 438, 511, 583, 656};
        for (int k = 0; k < 10; ++k) {
            expected[lines[k]] = 0;
            if (k % 3 == 0)
                expected[lines[k] - 1 < 0 ? 0 : lines[k] - 1] = 0;
        }
        for (int x = 0; x < size.width(); ++x) {
            int column = 0;
            for (int i = 0; i < 9; ++i)
                if (x >= starts[i] && x < starts[i] + 71)
                    column = i + 1;
            QRgb want = expected[x];
            if (column)
                want = inEdgeMiddleBox(column, 1) ? boardcolor::lightBlue : boardcolor::white;
            QVERIFY2(rgbAt(image, x, 10) == want, qPrintable(QStringLiteral("x=%1").arg(x)));
            // Down the first column the same pattern holds for rows, with the shaded box
            // at rows 4 to 6.
            if (x < size.height() - 2) {
                int row = 0;
                for (int j = 0; j < 9; ++j)
                    if (x >= starts[j] && x < starts[j] + 71)
                        row = j + 1;
                QRgb down = expected[x];
                if (row)
                    down = inEdgeMiddleBox(1, row) ? boardcolor::lightBlue : boardcolor::white;
                QVERIFY2(rgbAt(image, 10, x) == down, qPrintable(QStringLiteral("y=%1").arg(x)));
            }
        }
        // Lines stop at 9 * width div 9.
        if (size.width() > 657)
            QCOMPARE(rgbAt(image, 657, 1), face);
    }

    void hoverFrameOnePixelInside()
    {
        TTntcell cell;
        cell.resize(71, 71);
        cell.setColor(QColor(0xFF, 0xFF, 0x00));
        cell.SetisEnter(true);
        QImage image = cell.grab().toImage();
        for (int t = 1; t <= 69; ++t) {
            QCOMPARE(rgbAt(image, t, 1), 0u);
            QCOMPARE(rgbAt(image, t, 69), 0u);
            QCOMPARE(rgbAt(image, 1, t), 0u);
            QCOMPARE(rgbAt(image, 69, t), 0u);
            QCOMPARE(rgbAt(image, t, 0), boardcolor::yellow);
            QCOMPARE(rgbAt(image, 70, t), boardcolor::yellow);
        }
        QCOMPARE(rgbAt(image, 2, 2), boardcolor::yellow);
        cell.SetisEnter(false);
        image = cell.grab().toImage();
        QCOMPARE(rgbAt(image, 1, 1), boardcolor::yellow);
    }

    // Each length up to well past the cell's width; the longest words start at 8 points too.
    void fontByLongestPiece()
    {
        for (int n = 0; n <= 20; ++n) {
            const FontFit fit = fontFor(kPlayBoardFonts, n);
            QVERIFY2(fit == expectedFit(n), qPrintable(QStringLiteral("length %1: %2 points%3")
                                                           .arg(n)
                                                           .arg(fit.points)
                                                           .arg(fit.bold ? " bold" : "")));
        }
    }

    // Words are drawn inside their cell, centred, in the cell's font colour.
    void wordsStayInsideTheirCell_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<int>("points");
        QTest::addColumn<bool>("bold");
        QTest::newRow("one Chinese character") << QStringLiteral("一") << 18 << true;
        QTest::newRow("kana pair") << QStringLiteral("ねこ") << 14 << true;
        QTest::newRow("two words wrap") << QStringLiteral("ice cream") << 10 << true;
        QTest::newRow("ten letters") << QStringLiteral("vegetables") << 8 << true;
        QTest::newRow("eight letters") << QStringLiteral("elephant") << 8 << true;
        QTest::newRow("very long word") << QStringLiteral("internationalisation") << 8 << true;
    }
    void wordsStayInsideTheirCell()
    {
        QFETCH(QString, word);
        QFETCH(int, points);
        QFETCH(bool, bold);
        Ttntstdsudoku board;
        board.setCellText(5, 5, word);
        board.setCellFontColor(5, 5, boardcolor::blue);
        board.fitfonts();
        TTntcell *cell = board.cell(5, 5);
        QCOMPARE(cell->font().pointSize(), points);
        QCOMPARE(cell->font().bold(), bold);

        const QImage image = board.grab().toImage();
        const QRect r = cell->geometry();
        const QRect ink = inkBox(image, r, boardcolor::white);
        QVERIFY2(!ink.isEmpty(), "nothing drawn");
        // Inside the text rectangle: 2 pixels from the left, 4 from the right.
        QVERIFY(ink.left() >= r.left() + 2);
        QVERIFY(ink.right() <= r.left() + r.width() - 4);
        // Roughly centred both ways.
        const int dx = (ink.left() - r.left()) - (r.right() - ink.right());
        QVERIFY2(qAbs(dx) <= 6, qPrintable(QString::number(dx)));
        const int dy = (ink.top() - r.top()) - (r.bottom() - ink.bottom());
        QVERIFY2(qAbs(dy) <= 12, qPrintable(QString::number(dy)));
        // The neighbours stay clean.
        for (const int i : {4, 6})
            QVERIFY(inkBox(image, board.cell(i, 5)->geometry(), board.cellColor(i, 5)).isEmpty());
        // Blue ink: the darkest pixel is blue, not grey.
        QRgb darkest = 0xFFFFFF;
        for (int y = ink.top(); y <= ink.bottom(); ++y)
            for (int x = ink.left(); x <= ink.right(); ++x)
                if (qRed(rgbAt(image, x, y)) < qRed(darkest))
                    darkest = rgbAt(image, x, y);
        QVERIFY2(qBlue(darkest) > 200 && qRed(darkest) < 60 && qGreen(darkest) < 60,
                 qPrintable(QString::number(darkest, 16)));
    }

    void longWordsWholeInTheCell_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<int>("minHeight"); // of the ink, in pixels
        QTest::newRow("blackberry") << QStringLiteral("blackberry") << 10;
        QTest::newRow("watermelon") << QStringLiteral("watermelon") << 7; // no descender
        QTest::newRow("pomegranate") << QStringLiteral("pomegranate") << 8;
        QTest::newRow("ten letters") << QStringLiteral("strawberry") << 10;
        QTest::newRow("six kana") << QStringLiteral("しんかんせん") << 8;
        QTest::newRow("five kana") << QStringLiteral("じてんしゃ") << 9;
        QTest::newRow("four kana") << QStringLiteral("ひこうき") << 10;
        QTest::newRow("four kana, small ones") << QStringLiteral("きゅうしゅう") << 8;
        QTest::newRow("four han") << QStringLiteral("图书馆员") << 10;
        QTest::newRow("twenty letters") << QStringLiteral("internationalisation") << 4;
    }
    // A word without spaces is drawn whole on one line, its ink clear of the text rectangle's
    // edges, large enough to read.
    void longWordsWholeInTheCell()
    {
        QFETCH(QString, word);
        QFETCH(int, minHeight);
        Ttntstdsudoku board;
        board.setFont(dialogFont(8)); // the main window's face
        for (const int i : {1, 5, 9})
            board.setCellText(i, 5, word);
        board.fitfonts();
        const QImage image = board.grab().toImage();
        for (const int i : {1, 5, 9}) {
            const QRect r = board.cell(i, 5)->geometry();
            const QRect text(r.left() + 2, r.top() + 2, r.width() - 6, r.height() - 6);
            const QRgb face = board.cellColor(i, 5);
            const QRect ink = inkBox(image, r, face);
            const QString where = QStringLiteral("%1 in %2").arg(ink.x()).arg(ink.width());
            QVERIFY2(!ink.isEmpty(), "nothing drawn");
            // A clipped word runs up to the edges; a whole one keeps clear of them.
            QVERIFY2(ink.left() > text.left() && ink.right() < text.right(), qPrintable(where));
            QVERIFY(ink.top() >= text.top() && ink.bottom() <= text.bottom());
            QCOMPARE(inkBands(image, r, face), 1);
            QVERIFY2(ink.height() >= minHeight, qPrintable(QString::number(ink.height())));
        }
    }

    void twoWordsWrapBetweenTheWords()
    {
        Ttntstdsudoku board;
        board.setCellText(1, 1, QStringLiteral("ice cream"));
        board.setCellText(2, 1, QStringLiteral("icecream"));
        board.setCellFont(1, 1, {18, true}); // too wide for one line at this size
        board.setCellFont(2, 1, {18, true});
        const QImage image = board.grab().toImage();
        const QRect two = inkBox(image, board.cell(1, 1)->geometry(), boardcolor::white);
        const QRect one = inkBox(image, board.cell(2, 1)->geometry(), boardcolor::white);
        QVERIFY(two.height() > one.height() * 3 / 2);
    }

    void settersRepaintOnlyOnChange()
    {
        Ttntstdsudoku board;
        board.show();
        QVERIFY(QTest::qWaitForWindowExposed(&board));
        TTntcell *cell = board.cell(3, 3);
        PaintCounter counter(cell);
        QCoreApplication::processEvents();
        counter.count = 0;

        cell->SetisEnter(false); // unchanged
        cell->Setvalue(7);       // the text is what is drawn
        cell->Setisfixed(true);
        cell->setText(cell->text());
        cell->setColor(cell->color());
        QCoreApplication::processEvents();
        QCOMPARE(counter.count, 0);

        cell->SetisEnter(true);
        QCoreApplication::processEvents();
        QCOMPARE(counter.count, 1);
        cell->setText(QStringLiteral("cat"));
        QCoreApplication::processEvents();
        QCOMPARE(counter.count, 2);
    }

    void disabledCellsIgnoreThePointer()
    {
        Ttntstdsudoku board;
        board.show();
        QVERIFY(QTest::qWaitForWindowExposed(&board));
        RandomSource random([] { return quint64(1); });
        TQJ model(random);
        writeBankLine(model, kHardLine1);
        board.loadpuzzle(model, words);
        QList<QPair<TTntcell *, Qt::MouseButton>> downs;
        int enters = 0;
        for (int i = 1; i <= 9; ++i)
            for (int j = 1; j <= 9; ++j) {
                connect(board.cell(i, j), &TTntcell::mouseDown, this,
                        [&downs](TTntcell *c, Qt::MouseButton b) {
                            downs.append({c, b});
                        });
                connect(board.cell(i, j), &TTntcell::mouseEnter, this, [&enters] { ++enters; });
            }
        TTntcell *given = board.cell(1, 1);
        TTntcell *open = board.cell(5, 1); // "D": to fill
        QVERIFY(given->isfixed() && !given->isEnabled());
        QVERIFY(!open->isfixed() && open->isEnabled());

        QTest::mouseClick(given, Qt::LeftButton);
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QCoreApplication::sendEvent(given, &enter);
        QVERIFY(downs.isEmpty());
        QCOMPARE(enters, 0);

        QTest::mouseClick(open, Qt::RightButton);
        QCOMPARE(downs.size(), 1);
        QCOMPARE(downs.first().first, open);
        QCOMPARE(downs.first().second, Qt::RightButton);
        QCoreApplication::sendEvent(open, &enter);
        QCOMPARE(enters, 1);

        board.setBoardEnabled(false);
        QTest::mouseClick(open, Qt::LeftButton);
        QCoreApplication::sendEvent(open, &enter);
        QCOMPARE(downs.size(), 1);
        QCOMPARE(enters, 1);
    }

    // A whole game on the real board, drawn from the model: clicks for most cells, hints for
    // the rest.
    void playAGameToTheEnd()
    {
        Ttntstdsudoku board;
        board.Setfixcolor(boardcolor::black);
        board.Setbigcolor(boardcolor::blue);
        board.show();
        QVERIFY(QTest::qWaitForWindowExposed(&board));
        RandomSource random([] { return quint64(99); });
        TQJ puzzle(random);
        QVERIFY(puzzle.parsebank(kHardLine1));
        GameModel model;
        TextTables texts;
        ScriptedPrompter prompter;
        GameRules rules(model, texts, prompter);
        int selected = 1;
        connect(&model, &GameModel::cellChanged, this,
                [&](int i, int j) { board.showcell(model, i, j); });
        connect(&model, &GameModel::gameReplaced, this, [&] { board.showgame(model); });
        for (int i = 1; i <= 9; ++i)
            for (int j = 1; j <= 9; ++j)
                connect(board.cell(i, j), &TTntcell::mouseDown, this,
                        [&](TTntcell *c, Qt::MouseButton) {
                            rules.place(c->column(), c->row(), selected);
                        });
        model.start(puzzle, 2, WordSet::fromTexts({}, words));
        rules.highlightword(1);

        int clicks = 0;
        for (int i = 1; i <= 9; ++i)
            for (int j = 1; j <= 9; ++j) {
                const TNode &n = puzzle.node(i, j);
                if (n.given || (i + j) % 4 == 0) // leave some for the hints
                    continue;
                selected = n.value;
                QTest::mouseClick(board.cell(i, j), Qt::LeftButton);
                ++clicks;
                TTntcell *c = board.cell(i, j);
                QCOMPARE(c->text(), words.at(n.value - 1));
                QCOMPARE(c->color(), QColor(Qt::yellow));
                QCOMPARE(c->fontColor(), QColor(Qt::blue));
                const FontFit fit = expectedFit(longestpiece(c->text(), QStringLiteral(" ")));
                QCOMPARE(c->font().pointSize(), fit.points);
                QCOMPARE(c->font().bold(), fit.bold);
            }
        QVERIFY(clicks > 20);
        QVERIFY(prompter.messages.isEmpty());
        int hints = 0;
        while (prompter.messages.isEmpty() && hints < 81) {
            rules.tbshowhintClick(selected);
            ++hints;
        }
        QCOMPARE(prompter.messages, QStringList{QStringLiteral("Puzzle Solved")});
        QCOMPARE(hints + clicks, 81 - puzzle.givenCount());
        for (int i = 1; i <= 9; ++i)
            for (int j = 1; j <= 9; ++j) {
                QCOMPARE(board.cell(i, j)->text(), words.at(puzzle.node(i, j).value - 1));
                QCOMPARE(board.cell(i, j)->fontColor(),
                         puzzle.node(i, j).given ? QColor(Qt::black) : QColor(Qt::blue));
                QCOMPARE(board.cell(i, j)->isEnabled(), !puzzle.node(i, j).given);
            }
    }

    // A cell's font follows the longest piece of the word the model gives it.
    void cellFontFollowsTheModel()
    {
        Ttntstdsudoku board;
        TQJ puzzle;
        writeBankLine(puzzle, kEasyLine1);
        GameModel model;
        WordSet set = WordSet::fromTexts({}, words);
        set.setText(1, QStringLiteral("vegetables"));
        set.setText(2, QStringLiteral("ice cream"));
        model.start(puzzle, 0, set);
        QPoint open;
        for (int p = 0; p < 81 && open.isNull(); ++p)
            if (!puzzle.node(p / 9 + 1, p % 9 + 1).given)
                open = {p / 9 + 1, p % 9 + 1};
        const struct {
            int entry;
            int points;
        } steps[] = {{1, 8}, {2, 10}, {0, 14}};
        for (const auto &step : steps) {
            model.setEntry(open.x(), open.y(), step.entry);
            board.showcell(model, open.x(), open.y());
            QCOMPARE(board.cell(open.x(), open.y())->font().pointSize(), step.points);
            QVERIFY(board.cell(open.x(), open.y())->font().bold());
        }
    }

    // Asked for, a word its row, column or box shows twice is marked orange at once, in both
    // cells; Check Error's red stays red. Not asked for, nothing shows.
    void repeatedWordsAreMarkedWhenAskedFor()
    {
        Ttntstdsudoku board;
        TQJ puzzle;
        writeBankLine(puzzle, kEasyLine1);
        GameModel model;
        model.start(puzzle, 0, WordSet::fromTexts({}, words));
        connect(&model, &GameModel::cellChanged, this,
                [&](int i, int j) { board.showchange(model, i, j); });
        // An open cell and a given one in its row.
        QPoint open, given;
        for (int p = 0; p < 81 && given.isNull(); ++p) {
            const int i = p / 9 + 1, j = p % 9 + 1;
            if (open.isNull() && !puzzle.node(i, j).given)
                open = {i, j};
            else if (!open.isNull() && puzzle.node(i, j).given && j == open.y())
                given = {i, j};
        }
        QVERIFY(!given.isNull());
        const QColor orange = QColor::fromRgb(QRgb(0xFF000000u | boardcolor::orange));
        model.setEntry(open.x(), open.y(), puzzle.node(given.x(), given.y()).value);
        QVERIFY(board.cell(open.x(), open.y())->color() != orange);
        board.setShowConflicts(true);
        board.showgame(model);
        QCOMPARE(board.cell(open.x(), open.y())->color(), orange);
        QCOMPARE(board.cell(given.x(), given.y())->color(), orange);
        model.setMark(open.x(), open.y(), CellMark::Error);
        QCOMPARE(board.cell(open.x(), open.y())->color(), QColor(Qt::red));
        model.setEntry(open.x(), open.y(), 0);
        QVERIFY(board.cell(given.x(), given.y())->color() != orange);
    }

    void bigColorIsStoredEvenWhenNoCellTakesIt()
    {
        PlainBoard board;
        for (auto &column : board.cells)
            for (auto &c : column)
                c.fixed = true;
        board.Setbigcolor(0x123456);
        QCOMPARE(board.bigcolor(), Rgb(0x123456));
        for (int i = 1; i <= 9; ++i)
            for (int j = 1; j <= 9; ++j)
                QVERIFY(board.at(i, j).fontColor != Rgb(0x123456));
        TQJ puzzle;
        writeBankLine(puzzle, kEasyLine1);
        board.loadpuzzle(puzzle, words);
        QPoint open;
        for (int p = 0; p < 81 && open.isNull(); ++p)
            if (!puzzle.node(p / 9 + 1, p % 9 + 1).given)
                open = {p / 9 + 1, p % 9 + 1};
        QCOMPARE(board.at(open.x(), open.y()).fontColor, Rgb(0x123456));
    }
};

VASKELIO_GUI_TEST_MAIN(TestBoard)
#include "tst_board.moc"
