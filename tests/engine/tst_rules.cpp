#include "bankline.h"
#include "engine/cellboard.h"
#include "engine/qj.h"
#include "engine/random.h"
#include "engine/rules.h"
#include "i18n/texttable.h"
#include "plainboard.h"
#include "sandbox.h"
#include "scriptedprompter.h"

#include <QtTest>

namespace {
// Line 1 of Easy: 55 given cells.
const QString &kEasy1 = kEasyLine1;
} // namespace

class TestRules : public QObject {
    Q_OBJECT

    RandomSource random{[] { return quint64(42); }};
    TQJ model{random};
    PlainBoard board;
    QStringList words;
    PaletteList palette;
    TextTables texts;
    ScriptedPrompter prompter;
    std::unique_ptr<GameRules> rules;

    // A new game as the New Game dialog deals it, without the shuffle.
    void newGame(const QStringList &nine, const QString &line = kEasy1)
    {
        writeBankLine(model, line);
        words = nine;
        palette.items = nine;
        palette.itemIndex = 0;
        board = PlainBoard();
        board.loadpuzzle(model, words);
        board.setBoardEnabled(true);
        board.fitfonts();
        rules = std::make_unique<GameRules>(model, board, words, palette, texts, prompter);
        rules->highlightword(1);
        prompter.clear();
    }

    void select(int w) { palette.itemIndex = w - 1; }

    // Finds a cell to fill (not given) whose solution is s, skipping the first `skip` found.
    QPoint emptyCellWithSolution(int s, int skip = 0)
    {
        for (int j = 1; j <= 9; ++j)
            for (int i = 1; i <= 9; ++i)
                if (!model.node(i, j).given && model.node(i, j).value == s && skip-- == 0)
                    return {i, j};
        return {};
    }

    void fillAllCorrectlyExcept(QPoint keep)
    {
        for (int i = 1; i <= 9; ++i)
            for (int j = 1; j <= 9; ++j)
                if (!model.node(i, j).given && QPoint(i, j) != keep) {
                    board.at(i, j).value = model.node(i, j).value;
                    board.at(i, j).text = words.at(model.node(i, j).value - 1);
                }
    }

    int countColor(Rgb color) const
    {
        int n = 0;
        for (int i = 1; i <= 9; ++i)
            for (int j = 1; j <= 9; ++j)
                n += board.at(i, j).color == color ? 1 : 0;
        return n;
    }

    static QStringList englishWords()
    {
        return {QStringLiteral("one"),   QStringLiteral("two"),   QStringLiteral("three"),
                QStringLiteral("four"),  QStringLiteral("five"),  QStringLiteral("six"),
                QStringLiteral("seven"), QStringLiteral("eight"), QStringLiteral("nine")};
    }

private slots:
    void init() { newGame(englishWords()); }

    void loadpuzzleShowsGivenWordsOnly()
    {
        int givens = 0;
        for (int i = 1; i <= 9; ++i)
            for (int j = 1; j <= 9; ++j) {
                const auto &c = board.at(i, j);
                const TNode &n = model.node(i, j);
                QCOMPARE(c.value, n.value); // also for cells to fill
                QCOMPARE(c.fixed, n.given);
                QCOMPARE(c.enabled, !n.given);
                QCOMPARE(c.text, n.given ? words.at(n.value - 1) : QStringLiteral(" "));
                QCOMPARE(c.fontColor, n.given ? boardcolor::black : boardcolor::blue);
                givens += n.given ? 1 : 0;
            }
        QCOMPARE(givens, 55);
    }

    void damagedValuesShowEmptyCells_data()
    {
        QTest::addColumn<int>("value");
        QTest::newRow("0") << 0;
        QTest::newRow("10") << 10;
        QTest::newRow("-3") << -3;
        QTest::newRow("huge") << 2147483647;
    }
    void damagedValuesShowEmptyCells()
    {
        QFETCH(int, value);
        model.node(1, 1).value = value;
        model.node(1, 1).given = true;
        model.node(2, 1).value = value;
        model.node(2, 1).given = false;
        board.loadpuzzle(model, words);
        QCOMPARE(board.at(1, 1).text, QStringLiteral(" "));
        QCOMPARE(board.at(2, 1).text, QStringLiteral(" "));
        QVERIFY(!board.at(1, 1).enabled);
        // The rules survive such a board too.
        rules->tbshowhintClick();
        rules->tbcheckerrorClick();
        QVERIFY(!rules->checksolved());
    }

    void checkErrorRightAfterANewGame()
    {
        rules->tbcheckerrorClick();
        QCOMPARE(prompter.messages, QStringList{QStringLiteral("Sudoku is OK so far")});
        QCOMPARE(countColor(boardcolor::red), 0);
    }

    void wrongWordTurnsRedUntilTheNextHighlight()
    {
        const QPoint cell = emptyCellWithSolution(7);
        select(4);
        rules->cellmousedown(cell.x(), cell.y(), Qt::LeftButton);
        QCOMPARE(board.at(cell.x(), cell.y()).text, QStringLiteral("four"));
        QCOMPARE(board.at(cell.x(), cell.y()).value, 4);
        QCOMPARE(board.at(cell.x(), cell.y()).color, boardcolor::yellow);

        rules->tbcheckerrorClick();
        QVERIFY(prompter.messages.isEmpty());
        QCOMPARE(board.at(cell.x(), cell.y()).color, boardcolor::red);
        QCOMPARE(countColor(boardcolor::red), 1);

        const QPoint other = emptyCellWithSolution(4);
        rules->cellmousedown(other.x(), other.y(), Qt::LeftButton);
        QCOMPARE(board.at(cell.x(), cell.y()).color, boardcolor::yellow);
        QCOMPARE(countColor(boardcolor::red), 0);
    }

    void rightClickClears()
    {
        const QPoint cell = emptyCellWithSolution(3);
        select(3);
        rules->cellmousedown(cell.x(), cell.y(), Qt::LeftButton);
        rules->cellmousedown(cell.x(), cell.y(), Qt::RightButton);
        QCOMPARE(board.at(cell.x(), cell.y()).text, QStringLiteral(" "));
        QCOMPARE(board.at(cell.x(), cell.y()).value, 0);
        QVERIFY(isEmptyText(board.at(cell.x(), cell.y()).text));
        rules->cellmousedown(cell.x(), cell.y(), Qt::RightButton);
        QCOMPARE(board.at(cell.x(), cell.y()).text, QStringLiteral(" "));
        QVERIFY(board.at(cell.x(), cell.y()).color != boardcolor::yellow);
    }

    void otherButtonsOnlyRunTheChecks()
    {
        const QPoint cell = emptyCellWithSolution(5);
        fillAllCorrectlyExcept(QPoint());
        board.at(cell.x(), cell.y()).text = QStringLiteral(" ");
        rules->cellmousedown(cell.x(), cell.y(), Qt::MiddleButton);
        QCOMPARE(board.at(cell.x(), cell.y()).text, QStringLiteral(" "));
        QVERIFY(prompter.messages.isEmpty());
        fillAllCorrectlyExcept(QPoint());
        rules->cellmousedown(cell.x(), cell.y(), Qt::MiddleButton);
        QCOMPARE(prompter.messages, QStringList{QStringLiteral("Puzzle Solved")});
    }

    void theLastCellSolvesAndSaysSoAgain()
    {
        const QPoint last = emptyCellWithSolution(9);
        fillAllCorrectlyExcept(last);
        select(9);
        rules->cellmousedown(last.x(), last.y(), Qt::LeftButton);
        QCOMPARE(prompter.messages, QStringList{QStringLiteral("Puzzle Solved")});
        QVERIFY(board.boardEnabled);

        rules->tbshowhintClick(); // nothing to fill, still solved
        QCOMPARE(prompter.messages.size(), 2);
        rules->cellmousedown(last.x(), last.y(), Qt::LeftButton);
        QCOMPARE(prompter.messages.size(), 3);
        QCOMPARE(prompter.messages.last(), QStringLiteral("Puzzle Solved"));
    }

    void hintSolvesTheLastCell()
    {
        fillAllCorrectlyExcept(emptyCellWithSolution(2));
        rules->tbshowhintClick();
        QCOMPARE(prompter.messages, QStringList{QStringLiteral("Puzzle Solved")});
    }

    // Texts decide the solved test, word numbers decide Check Error.
    void duplicateWordsSolveButAreMarkedWrong()
    {
        QStringList nine = englishWords();
        nine[5] = nine[2]; // words 3 and 6 read alike
        newGame(nine);
        const QPoint target = emptyCellWithSolution(6);
        fillAllCorrectlyExcept(target);
        select(3);
        rules->cellmousedown(target.x(), target.y(), Qt::LeftButton);
        QCOMPARE(prompter.messages, QStringList{QStringLiteral("Puzzle Solved")});
        prompter.clear();
        rules->tbcheckerrorClick();
        QVERIFY(prompter.messages.isEmpty());
        QCOMPARE(board.at(target.x(), target.y()).color, boardcolor::red);
    }

    void hintFillsTheFirstEmptyCellInReadingOrder()
    {
        // Fill row 1 and everything but (3, 2) in row 2; leave the rest empty.
        for (int i = 1; i <= 9; ++i)
            for (int j = 1; j <= 2; ++j)
                if (!model.node(i, j).given && QPoint(i, j) != QPoint(3, 2)) {
                    board.at(i, j).value = model.node(i, j).value;
                    board.at(i, j).text = words.at(model.node(i, j).value - 1);
                }
        QVERIFY(!model.node(3, 2).given);
        rules->tbshowhintClick();
        QCOMPARE(board.at(3, 2).text, words.at(model.node(3, 2).value - 1));
        QCOMPARE(board.at(3, 2).value, model.node(3, 2).value);
        int filled = 0;
        for (int i = 1; i <= 9; ++i)
            for (int j = 3; j <= 9; ++j)
                filled += !model.node(i, j).given && !isEmptyText(board.at(i, j).text) ? 1 : 0;
        QCOMPARE(filled, 0);
    }

    void hintNeverCorrectsWrongWords()
    {
        // Every cell to fill holds a wrong word.
        for (int i = 1; i <= 9; ++i)
            for (int j = 1; j <= 9; ++j)
                if (!model.node(i, j).given) {
                    const int wrong = model.node(i, j).value % 9 + 1;
                    board.at(i, j).value = wrong;
                    board.at(i, j).text = words.at(wrong - 1);
                }
        const PlainBoard before = board;
        rules->tbshowhintClick();
        QVERIFY(prompter.messages.isEmpty());
        for (int i = 1; i <= 9; ++i)
            for (int j = 1; j <= 9; ++j)
                QCOMPARE(board.at(i, j).text, before.at(i, j).text);
    }

    void hintKeepsMarksOfWhiteBoxesOnly()
    {
        // (1, 7) lies in a corner box, (4, 2) in an edge-middle box.
        QVERIFY(!model.node(1, 7).given && !model.node(4, 2).given);
        select(1);
        const int wrongCorner = model.node(1, 7).value % 9 + 1;
        const int wrongEdge = model.node(4, 2).value % 9 + 1;
        board.at(1, 7) = {words.at(wrongCorner - 1), wrongCorner, false, true, boardcolor::white};
        board.at(4, 2) = {words.at(wrongEdge - 1), wrongEdge, false, true, boardcolor::lightBlue};
        rules->tbcheckerrorClick();
        QCOMPARE(board.at(1, 7).color, boardcolor::red);
        QCOMPARE(board.at(4, 2).color, boardcolor::red);
        rules->tbshowhintClick();
        QCOMPARE(board.at(1, 7).color, boardcolor::red);
        QCOMPARE(board.at(4, 2).color, boardcolor::lightBlue);
    }

    void hintDoesNotHighlight()
    {
        // The hint cell gets the selected word but stays uncoloured; yellow marks in white
        // boxes stay, those in edge-middle boxes are shaded over.
        QPoint hintCell;
        for (int j = 1; j <= 9 && hintCell.isNull(); ++j)
            for (int i = 1; i <= 9 && hintCell.isNull(); ++i)
                if (!model.node(i, j).given)
                    hintCell = {i, j};
        const int s = model.node(hintCell.x(), hintCell.y()).value;
        select(s);
        rules->highlightword(s);
        const PlainBoard before = board;
        rules->tbshowhintClick();
        QCOMPARE(board.at(hintCell.x(), hintCell.y()).value, s);
        QVERIFY(board.at(hintCell.x(), hintCell.y()).color != boardcolor::yellow);
        for (int i = 1; i <= 9; ++i)
            for (int j = 1; j <= 9; ++j)
                if (before.at(i, j).color == boardcolor::yellow)
                    QCOMPARE(board.at(i, j).color,
                             inEdgeMiddleBox(i, j) ? boardcolor::lightBlue : boardcolor::yellow);
    }

    void restartAnsweredNoChangesNothing()
    {
        const QPoint cell = emptyCellWithSolution(1);
        rules->cellmousedown(cell.x(), cell.y(), Qt::LeftButton);
        const PlainBoard before = board;
        prompter.answers.enqueue(false);
        QVERIFY(!rules->tbrestartClick());
        QCOMPARE(prompter.questions, QStringList{QStringLiteral(
                                         "Are you sure to reset this game to the initial state?")});
        QCOMPARE(board.at(cell.x(), cell.y()).text, before.at(cell.x(), cell.y()).text);
    }

    void restartHighlightsWordOneWhateverIsSelected()
    {
        select(6);
        const QPoint cell = emptyCellWithSolution(6);
        rules->cellmousedown(cell.x(), cell.y(), Qt::LeftButton);
        board.setBoardEnabled(false);
        prompter.answers.enqueue(true);
        QVERIFY(rules->tbrestartClick());
        QVERIFY(board.boardEnabled);
        QCOMPARE(board.at(cell.x(), cell.y()).text, QStringLiteral(" "));
        for (int i = 1; i <= 9; ++i)
            for (int j = 1; j <= 9; ++j) {
                const bool one = model.node(i, j).given && model.node(i, j).value == 1;
                QCOMPARE(board.at(i, j).color == boardcolor::yellow, one);
            }
        QCOMPARE(palette.selectedWord(), 6);
    }

    void highlightColoursEveryCell()
    {
        select(2);
        rules->highlightword(2);
        for (int i = 1; i <= 9; ++i)
            for (int j = 1; j <= 9; ++j) {
                Rgb expected = inEdgeMiddleBox(i, j) ? boardcolor::lightBlue : boardcolor::white;
                if (model.node(i, j).given && model.node(i, j).value == 2)
                    expected = boardcolor::yellow;
                QCOMPARE(board.at(i, j).color, expected);
            }
    }

    void leftClickWithoutSelectionPlacesNothing()
    {
        palette.itemIndex = -1;
        const QPoint cell = emptyCellWithSolution(1);
        rules->cellmousedown(cell.x(), cell.y(), Qt::LeftButton);
        QCOMPARE(board.at(cell.x(), cell.y()).text, QStringLiteral(" "));
    }

    void fontsFollowTheLongestPiece()
    {
        const QPoint cell = emptyCellWithSolution(1);
        palette.items[0] = QStringLiteral("vegetables");
        rules->cellmousedown(cell.x(), cell.y(), Qt::LeftButton);
        QCOMPARE(board.at(cell.x(), cell.y()).font, (FontFit{8, true}));
        palette.items[0] = QStringLiteral("ice cream");
        rules->cellmousedown(cell.x(), cell.y(), Qt::LeftButton);
        QCOMPARE(board.at(cell.x(), cell.y()).font, (FontFit{10, true}));
        rules->cellmousedown(cell.x(), cell.y(), Qt::RightButton);
        QCOMPARE(board.at(cell.x(), cell.y()).font, (FontFit{14, true}));
    }

    void bigColorIsStoredEvenWhenNoCellTakesIt()
    {
        for (auto &column : board.cells)
            for (auto &c : column)
                c.fixed = true;
        board.Setbigcolor(0x123456);
        QCOMPARE(board.bigcolor(), Rgb(0x123456));
        for (int i = 1; i <= 9; ++i)
            for (int j = 1; j <= 9; ++j)
                QVERIFY(board.at(i, j).fontColor != Rgb(0x123456));
        board.loadpuzzle(model, words);
        QCOMPARE(board.at(emptyCellWithSolution(1).x(), emptyCellWithSolution(1).y()).fontColor,
                 Rgb(0x123456));
    }
};

VASKELIO_TEST_MAIN(TestRules)
#include "tst_rules.moc"
