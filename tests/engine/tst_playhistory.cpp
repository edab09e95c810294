#include "engine/playhistory.h"
#include "engine/rules.h"
#include "i18n/texttable.h"
#include "modelgame.h"
#include "sandbox.h"
#include "scriptedprompter.h"

#include <QtTest>

// Undo and redo of placements, clearings and hints, on the game model.
class TestPlayHistory : public QObject {
    Q_OBJECT

    ModelGame game;
    GameModel &model = game.model;
    TextTables texts;
    ScriptedPrompter prompter;
    PlayHistory history;
    GameRules rules{model, texts, prompter};
    int selected = 1;

    // As a palette click, where another word is to be placed, and then a left click.
    void place(QPoint at, int w)
    {
        if (selected != w)
            rules.highlightword(w);
        selected = w;
        rules.place(at.x(), at.y(), w);
    }
    void clear(QPoint at) { rules.clear(at.x(), at.y(), selected); }

private slots:
    void init()
    {
        game.deal();
        selected = 1;
        history.clear();
        rules.setHistory(&history);
        rules.highlightword(1);
        prompter.clear();
    }

    // A run of steps taken back one by one passes through every state it made, down to the
    // dealt game; made again, it ends where it was.
    void undoAndRedoRetraceEveryState_data()
    {
        QTest::addColumn<QString>("steps"); // p: place right, w: place wrong, c: clear, h: hint
        QTest::newRow("one placement") << QStringLiteral("p");
        QTest::newRow("wrong, then right over it") << QStringLiteral("wp");
        QTest::newRow("placed and cleared") << QStringLiteral("pc");
        QTest::newRow("hints") << QStringLiteral("hh");
        QTest::newRow("mixed") << QStringLiteral("wphcph");
    }
    void undoAndRedoRetraceEveryState()
    {
        QFETCH(QString, steps);
        // Entries only: a palette click before a placement highlights outside any step, and
        // the marks have tests of their own below.
        auto entries = [this] {
            QList<int> all;
            for (const GameCell &c : model.cells())
                all << c.entry;
            return all;
        };
        QList<QList<int>> states{entries()};
        const QPoint at = game.openCell(0);
        for (const QChar step : steps) {
            switch (step.toLatin1()) {
            case 'p':
                place(at, game.solution(at));
                break;
            case 'w':
                place(at, game.wrong(at));
                break;
            case 'c':
                clear(at);
                break;
            case 'h':
                rules.tbshowhintClick(selected);
                break;
            }
            states << entries();
        }
        QCOMPARE(int(history.size()), steps.size());
        for (int n = steps.size(); n > 0; --n) {
            QVERIFY(rules.undo(selected));
            QVERIFY2(entries() == states[n - 1], qPrintable(QString::number(n)));
        }
        QVERIFY(!rules.undo(selected));
        for (int n = 1; n <= steps.size(); ++n) {
            QVERIFY(rules.redo(selected));
            QVERIFY2(entries() == states[n], qPrintable(QString::number(n)));
        }
        QVERIFY(!rules.redo(selected));
        QVERIFY(prompter.messages.isEmpty());
    }

    // What changes no word is no step: a clear of an empty cell, a hint on a full board, the
    // same word placed again.
    void stepsThatChangeNoWordAreNotKept()
    {
        const QPoint at = game.openCell(0);
        clear(at);
        QCOMPARE(int(history.size()), 0);
        place(at, 3);
        place(at, 3);
        QCOMPARE(int(history.size()), 1);
        game.fillAllBut(QPoint());
        rules.tbshowhintClick(selected);
        QCOMPARE(int(history.size()), 1);
    }

    // A step keeps only the cells it changed.
    void aStepHoldsItsChangesOnly()
    {
        const QPoint a = game.openCell(0);
        place(a, 2);
        place(a, 5);
        QVERIFY(rules.undo(selected));
        QCOMPARE(game.at(a).entry, 2);
        QVERIFY(rules.undo(selected));
        QCOMPARE(game.at(a).entry, 0);
        QVERIFY(!model.played());
    }

    // A new step after an undo drops what could have been made again.
    void aNewStepDropsTheRedo()
    {
        const QPoint a = game.openCell(0), b = game.openCell(1);
        place(a, 2);
        place(b, 3);
        QVERIFY(rules.undo(selected));
        QCOMPARE(model.shown(b.x(), b.y()), QStringLiteral(" "));
        place(a, 4);
        QVERIFY(!rules.redo(selected));
        QCOMPARE(model.shown(b.x(), b.y()), QStringLiteral(" "));
        QCOMPARE(model.shown(a.x(), a.y()), QStringLiteral("four"));
        QVERIFY(rules.undo(selected));
        QCOMPARE(model.shown(a.x(), a.y()), QStringLiteral("two"));
    }

    void restartEmptiesTheHistory()
    {
        place(game.openCell(0), 5);
        prompter.answers.enqueue(false);
        QVERIFY(!rules.tbrestartClick());
        QVERIFY(history.canUndo()); // declined: nothing changed
        prompter.answers.enqueue(true);
        QVERIFY(rules.tbrestartClick());
        QVERIFY(!history.canUndo());
        QVERIFY(!rules.undo(selected));
    }

    // The highlight follows the word selected now, not the one selected at the step.
    void undoHighlightsTheWordSelectedNow()
    {
        const QPoint at = game.openCell(0);
        place(at, 4);
        place(game.openCell(1), 4);
        selected = 7; // word 7 clicked on the palette since
        rules.highlightword(7);
        QVERIFY(rules.undo(selected));
        for (int i = 1; i <= 9; ++i)
            for (int j = 1; j <= 9; ++j)
                QCOMPARE(model.cell(i, j).mark == CellMark::Highlight, model.value(i, j) == 7);
        QCOMPARE(model.shown(at.x(), at.y()), QStringLiteral("four"));
    }

    // Undo brings the marks back as they were before the step, those of Check Error included;
    // redo as the step left them.
    void undoBringsBackTheMarks()
    {
        const QPoint a = game.openCell(0), b = game.openCell(1);
        place(a, game.wrong(a));
        rules.tbcheckerrorClick();
        QCOMPARE(game.at(a).mark, CellMark::Error);
        place(b, game.wrong(a));
        QCOMPARE(game.at(a).mark, CellMark::Highlight);
        QVERIFY(rules.undo(selected));
        QCOMPARE(game.at(a).mark, CellMark::Error);
        QCOMPARE(model.shown(b.x(), b.y()), QStringLiteral(" "));
        QVERIFY(rules.redo(selected));
        QCOMPARE(game.at(a).mark, CellMark::Highlight);
        QCOMPARE(game.at(b).mark, CellMark::Highlight);
    }

    // Making the last step again solves the puzzle again, and its undo leaves it unsolved.
    void solvedStateFollows()
    {
        const QPoint last = game.openCell(0);
        game.fillAllBut(last);
        place(last, game.solution(last));
        QVERIFY(rules.issolved());
        QCOMPARE(prompter.messages, QStringList{QStringLiteral("Puzzle Solved")});
        prompter.clear();
        QVERIFY(rules.undo(selected));
        QVERIFY(!rules.issolved());
        QVERIFY(prompter.messages.isEmpty());
        QVERIFY(rules.redo(selected));
        QVERIFY(rules.issolved());
        QCOMPARE(prompter.messages, QStringList{QStringLiteral("Puzzle Solved")});
    }

    // A step keeps the marks at four bits a cell: every mark comes back, in even and odd cells.
    void packedMarksKeepEveryMark()
    {
        std::array<CellMark, 81> marks{};
        for (std::size_t p = 0; p < 81; ++p)
            marks[p] = CellMark(p % 5);
        const PlayHistory::Marks packed(marks);
        for (int p = 0; p < 81; ++p)
            QCOMPARE(packed[p], marks[std::size_t(p)]);
    }

    // Past its limit the history drops its oldest step: what that step did stays on the board,
    // and the steps kept go back and forth down to where the oldest of them started. A step
    // made after an undo at the limit replaces the redo and drops nothing old.
    void theLimitDropsTheOldestStep()
    {
        PlayHistory three(3);
        rules.setHistory(&three);
        auto placedAt = [this](std::initializer_list<int> ns) {
            QList<int> entries;
            for (int n : ns)
                entries << game.at(game.openCell(n)).entry;
            return entries;
        };
        for (int n = 0; n < 5; ++n)
            place(game.openCell(n), n + 1);
        QCOMPARE(int(three.size()), 3);
        for (int n = 3; n > 0; --n)
            QVERIFY(rules.undo(selected));
        QVERIFY(!rules.undo(selected));
        QCOMPARE(placedAt({0, 1, 2, 3, 4}), QList<int>({1, 2, 0, 0, 0}));
        for (int n = 3; n > 0; --n)
            QVERIFY(rules.redo(selected));
        QVERIFY(!rules.redo(selected));
        QCOMPARE(placedAt({0, 1, 2, 3, 4}), QList<int>({1, 2, 3, 4, 5}));

        QVERIFY(rules.undo(selected));
        place(game.openCell(5), 6);
        QCOMPARE(int(three.size()), 3);
        QVERIFY(!rules.redo(selected));
        place(game.openCell(6), 7); // the step of cell 2 goes
        for (int n = 3; n > 0; --n)
            QVERIFY(rules.undo(selected));
        QVERIFY(!rules.undo(selected));
        QCOMPARE(placedAt({2, 3, 4, 5, 6}), QList<int>({3, 0, 0, 0, 0}));
        QCOMPARE(PlayHistory(0).limit(), std::size_t(1));
        QVERIFY(PlayHistory().limit() >= 1000); // no game of 81 cells comes near it
    }

    void withoutAHistoryNothingIsKept()
    {
        rules.setHistory(nullptr);
        place(game.openCell(0), 1);
        QVERIFY(!rules.undo(selected));
        QVERIFY(!rules.redo(selected));
        QCOMPARE(int(history.size()), 0);
    }
};

VASKELIO_TEST_MAIN(TestPlayHistory)
#include "tst_playhistory.moc"
