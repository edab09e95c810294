#include "engine/gamemodel.h"
#include "engine/rules.h"
#include "i18n/texttable.h"
#include "modelgame.h"
#include "sandbox.h"
#include "scriptedprompter.h"
#include "text/textrules.h"

#include <QSignalSpy>
#include <QtTest>

// The rules on the game model alone: what they place, clear and mark, and what they say.
class TestRules : public QObject {
    Q_OBJECT

    ModelGame game;
    GameModel &model = game.model;
    TextTables texts;
    ScriptedPrompter prompter;
    GameRules rules{model, texts, prompter};

    void newGame(const WordSet &words = ModelGame::englishWords())
    {
        game.deal(words);
        rules.highlightword(1);
        prompter.clear();
    }

private slots:
    void init() { newGame(); }

    void aDealShowsGivenWordsOnly()
    {
        int givens = 0;
        for (int i = 1; i <= 9; ++i)
            for (int j = 1; j <= 9; ++j) {
                const GameCell &c = model.cell(i, j);
                QCOMPARE(c.entry, 0);
                QCOMPARE(model.shown(i, j),
                         c.given ? model.curwords().text(c.solution) : QStringLiteral(" "));
                QCOMPARE(model.value(i, j), c.given ? c.solution : 0);
                givens += c.given ? 1 : 0;
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
        TQJ puzzle = model.puzzle();
        puzzle.node(1, 1) = {1, 1, value, true};
        puzzle.node(2, 1) = {2, 1, value, false};
        model.start(puzzle, 0, ModelGame::englishWords());
        QCOMPARE(model.shown(1, 1), QStringLiteral(" "));
        QVERIFY(!model.filled(1, 1));
        // The rules survive such a board too.
        rules.tbshowhintClick(1);
        rules.tbcheckerrorClick();
        QVERIFY(!rules.checksolved());
    }

    void givenCellsKeepTheirWord()
    {
        QPoint given;
        for (int p = 0; p < 81 && given.isNull(); ++p)
            if (model.cells()[p].given)
                given = {p / 9 + 1, p % 9 + 1};
        const QString word = model.shown(given.x(), given.y());
        QVERIFY(!model.setEntry(given.x(), given.y(), game.wrong(given)));
        rules.clear(given.x(), given.y(), 1);
        QCOMPARE(model.shown(given.x(), given.y()), word);
    }

    void checkErrorRightAfterANewGame()
    {
        rules.tbcheckerrorClick();
        QCOMPARE(prompter.messages, QStringList{QStringLiteral("Sudoku is OK so far")});
        QCOMPARE(game.count(CellMark::Error), 0);
    }

    void wrongWordIsMarkedUntilTheNextHighlight()
    {
        const QPoint cell = game.openCellWithSolution(7);
        rules.place(cell.x(), cell.y(), 4);
        QCOMPARE(model.shown(cell.x(), cell.y()), QStringLiteral("four"));
        QCOMPARE(game.at(cell).entry, 4);
        QCOMPARE(game.at(cell).mark, CellMark::Highlight);

        rules.tbcheckerrorClick();
        QVERIFY(prompter.messages.isEmpty());
        QCOMPARE(game.at(cell).mark, CellMark::Error);
        QCOMPARE(game.count(CellMark::Error), 1);

        const QPoint other = game.openCellWithSolution(4);
        rules.place(other.x(), other.y(), 4);
        QCOMPARE(game.at(cell).mark, CellMark::Highlight);
        QCOMPARE(game.count(CellMark::Error), 0);
    }

    void clearEmptiesTheCell()
    {
        const QPoint cell = game.openCellWithSolution(3);
        rules.place(cell.x(), cell.y(), 3);
        rules.clear(cell.x(), cell.y(), 3);
        QCOMPARE(game.at(cell).entry, 0);
        QVERIFY(isEmptyText(model.shown(cell.x(), cell.y())));
        rules.clear(cell.x(), cell.y(), 3);
        QCOMPARE(model.shown(cell.x(), cell.y()), QStringLiteral(" "));
        QVERIFY(game.at(cell).mark != CellMark::Highlight);
    }

    void settleOnlyRunsTheChecks()
    {
        const QPoint cell = game.openCellWithSolution(5);
        game.fillAllBut(cell);
        rules.settle(1);
        QCOMPARE(model.shown(cell.x(), cell.y()), QStringLiteral(" "));
        QVERIFY(prompter.messages.isEmpty());
        game.fillAllBut(QPoint());
        rules.settle(1);
        QCOMPARE(prompter.messages, QStringList{QStringLiteral("Puzzle Solved")});
    }

    void theLastCellSolvesAndSaysSoAgain()
    {
        const QPoint last = game.openCellWithSolution(9);
        game.fillAllBut(last);
        rules.place(last.x(), last.y(), 9);
        QCOMPARE(prompter.messages, QStringList{QStringLiteral("Puzzle Solved")});

        rules.tbshowhintClick(9); // nothing to fill, still solved
        QCOMPARE(prompter.messages.size(), 2);
        rules.place(last.x(), last.y(), 9);
        QCOMPARE(prompter.messages.size(), 3);
        QCOMPARE(prompter.messages.last(), QStringLiteral("Puzzle Solved"));
    }

    void hintSolvesTheLastCell()
    {
        game.fillAllBut(game.openCellWithSolution(2));
        rules.tbshowhintClick(1);
        QCOMPARE(prompter.messages, QStringList{QStringLiteral("Puzzle Solved")});
    }

    // Texts decide the solved test, word numbers decide Check Error.
    void duplicateWordsSolveButAreMarkedWrong()
    {
        WordSet nine = ModelGame::englishWords();
        nine.setText(6, nine.text(3)); // words 3 and 6 read alike
        newGame(nine);
        const QPoint target = game.openCellWithSolution(6);
        game.fillAllBut(target);
        rules.place(target.x(), target.y(), 3);
        QCOMPARE(prompter.messages, QStringList{QStringLiteral("Puzzle Solved")});
        prompter.clear();
        rules.tbcheckerrorClick();
        QVERIFY(prompter.messages.isEmpty());
        QCOMPARE(game.at(target).mark, CellMark::Error);
    }

    void hintFillsTheFirstEmptyCellInReadingOrder()
    {
        // Fill row 1 and everything but (3, 2) in row 2; leave the rest empty.
        for (int i = 1; i <= 9; ++i)
            for (int j = 1; j <= 2; ++j)
                if (QPoint(i, j) != QPoint(3, 2))
                    model.setEntry(i, j, model.cell(i, j).solution);
        QVERIFY(!model.cell(3, 2).given);
        rules.tbshowhintClick(1);
        QCOMPARE(model.cell(3, 2).entry, model.cell(3, 2).solution);
        int filled = 0;
        for (int i = 1; i <= 9; ++i)
            for (int j = 3; j <= 9; ++j)
                filled += model.cell(i, j).entry != 0 ? 1 : 0;
        QCOMPARE(filled, 0);
    }

    void hintNeverCorrectsWrongWords()
    {
        for (int i = 1; i <= 9; ++i)
            for (int j = 1; j <= 9; ++j)
                model.setEntry(i, j, model.cell(i, j).solution % 9 + 1);
        const auto before = model.cells();
        rules.tbshowhintClick(1);
        QVERIFY(prompter.messages.isEmpty());
        for (int p = 0; p < 81; ++p)
            QCOMPARE(model.cells()[p].entry, before[p].entry);
    }

    void hintKeepsMarksOfWhiteBoxesOnly()
    {
        // (1, 7) lies in a corner box, (4, 2) in an edge-middle box.
        QVERIFY(!model.cell(1, 7).given && !model.cell(4, 2).given);
        model.setEntry(1, 7, model.cell(1, 7).solution % 9 + 1);
        model.setEntry(4, 2, model.cell(4, 2).solution % 9 + 1);
        rules.tbcheckerrorClick();
        QCOMPARE(model.cell(1, 7).mark, CellMark::Error);
        QCOMPARE(model.cell(4, 2).mark, CellMark::Error);
        rules.tbshowhintClick(1);
        QCOMPARE(model.cell(1, 7).mark, CellMark::Error);
        QCOMPARE(model.cell(4, 2).mark, CellMark::Plain);
    }

    void hintDoesNotHighlight()
    {
        // The hint cell gets its word but stays unmarked; highlights in white boxes stay, those
        // in edge-middle boxes are shaded over.
        const QPoint hintCell = game.openCell(0);
        const int s = game.solution(hintCell);
        rules.highlightword(s);
        const auto before = model.cells();
        rules.tbshowhintClick(s);
        QCOMPARE(model.value(hintCell.x(), hintCell.y()), s);
        QCOMPARE(game.at(hintCell).mark, CellMark::Plain);
        int kept = 0;
        for (int i = 1; i <= 9; ++i)
            for (int j = 1; j <= 9; ++j)
                if (before[GameModel::index(i, j)].mark == CellMark::Highlight) {
                    QCOMPARE(model.cell(i, j).mark,
                             inEdgeMiddleBox(i, j) ? CellMark::Plain : CellMark::Highlight);
                    kept += inEdgeMiddleBox(i, j) ? 0 : 1;
                }
        QVERIFY(kept > 0);
    }

    void restartAnsweredNoChangesNothing()
    {
        const QPoint cell = game.openCellWithSolution(1);
        rules.place(cell.x(), cell.y(), 1);
        prompter.answers.enqueue(false);
        QVERIFY(!rules.tbrestartClick());
        QCOMPARE(prompter.questions, QStringList{QStringLiteral(
                                         "Are you sure to reset this game to the initial state?")});
        QCOMPARE(game.at(cell).entry, 1);
    }

    void restartHighlightsWordOne()
    {
        const QPoint cell = game.openCellWithSolution(6);
        rules.place(cell.x(), cell.y(), 6);
        prompter.answers.enqueue(true);
        QVERIFY(rules.tbrestartClick());
        QCOMPARE(model.shown(cell.x(), cell.y()), QStringLiteral(" "));
        QVERIFY(!model.played());
        for (int i = 1; i <= 9; ++i)
            for (int j = 1; j <= 9; ++j) {
                const bool one = model.cell(i, j).given && model.cell(i, j).solution == 1;
                QCOMPARE(model.cell(i, j).mark == CellMark::Highlight, one);
            }
    }

    void highlightMarksEveryCell()
    {
        const QPoint placed = game.openCellWithSolution(5);
        model.setEntry(placed.x(), placed.y(), 2);
        rules.highlightword(2);
        for (int i = 1; i <= 9; ++i)
            for (int j = 1; j <= 9; ++j) {
                const bool two = model.value(i, j) == 2;
                QCOMPARE(model.cell(i, j).mark, two ? CellMark::Highlight : CellMark::Plain);
            }
        QCOMPARE(game.at(placed).mark, CellMark::Highlight);
    }

    void placeWithoutSelectionPlacesNothing()
    {
        const QPoint cell = game.openCellWithSolution(1);
        rules.place(cell.x(), cell.y(), 0);
        QCOMPARE(model.shown(cell.x(), cell.y()), QStringLiteral(" "));
        rules.place(cell.x(), cell.y(), 10);
        QCOMPARE(game.at(cell).entry, 0);
    }

    // A move is one content change however many cells it touches; marks alone are none.
    void aMoveIsOneContentChange()
    {
        QSignalSpy content(&model, &GameModel::contentChanged);
        QSignalSpy cells(&model, &GameModel::cellChanged);
        const QPoint cell = game.openCellWithSolution(4);
        rules.place(cell.x(), cell.y(), 4);
        QCOMPARE(content.size(), 1);
        QVERIFY(cells.size() > 1); // the cell and the highlight that moved with it
        rules.highlightword(7);
        rules.tbcheckerrorClick();
        QCOMPARE(content.size(), 1);
        rules.tbshowhintClick(7);
        QCOMPARE(content.size(), 2);
        rules.place(cell.x(), cell.y(), 4); // the same word again changes nothing kept
        QCOMPARE(content.size(), 2);
    }
};

VASKELIO_TEST_MAIN(TestRules)
#include "tst_rules.moc"
