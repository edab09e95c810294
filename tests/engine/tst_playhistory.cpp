#include "bankline.h"
#include "engine/playhistory.h"
#include "engine/qj.h"
#include "engine/random.h"
#include "engine/rules.h"
#include "i18n/texttable.h"
#include "plainboard.h"
#include "sandbox.h"
#include "scriptedprompter.h"

#include <QtTest>

// Undo and redo of placements, clearings and hints on a board without widgets.
class TestPlayHistory : public QObject {
    Q_OBJECT

    RandomSource random{[] { return quint64(42); }};
    TQJ model{random};
    PlainBoard board;
    QStringList words{QStringLiteral("one"),   QStringLiteral("two"),   QStringLiteral("three"),
                      QStringLiteral("four"),  QStringLiteral("five"),  QStringLiteral("six"),
                      QStringLiteral("seven"), QStringLiteral("eight"), QStringLiteral("nine")};
    PaletteList palette;
    TextTables texts;
    ScriptedPrompter prompter;
    PlayHistory history;
    std::unique_ptr<GameRules> rules;

    // The n-th cell to fill in reading order, and its solution.
    QPoint openCell(int n) const
    {
        for (int j = 1; j <= 9; ++j)
            for (int i = 1; i <= 9; ++i)
                if (!model.node(i, j).given && n-- == 0)
                    return {i, j};
        return {};
    }
    int solution(QPoint at) const { return model.node(at.x(), at.y()).value; }
    int wrong(QPoint at) const { return solution(at) % 9 + 1; }

    // As a palette click, where another word is to be placed, and then a left click.
    void place(QPoint at, int w)
    {
        if (palette.selectedWord() != w)
            rules->highlightword(w);
        palette.itemIndex = w - 1;
        rules->cellmousedown(at.x(), at.y(), Qt::LeftButton);
    }
    void clear(QPoint at) { rules->cellmousedown(at.x(), at.y(), Qt::RightButton); }

    // Every cell to fill holds its solution but the one given.
    void fillAllBut(QPoint keep)
    {
        for (int i = 1; i <= 9; ++i)
            for (int j = 1; j <= 9; ++j)
                if (!model.node(i, j).given && QPoint(i, j) != keep) {
                    board.at(i, j).value = model.node(i, j).value;
                    board.at(i, j).text = words.at(model.node(i, j).value - 1);
                }
    }

private slots:
    void init()
    {
        writeBankLine(model, kEasyLine1);
        palette.items = words;
        palette.itemIndex = 0;
        board = PlainBoard();
        board.loadpuzzle(model, words);
        board.setBoardEnabled(true);
        board.fitfonts();
        history.clear();
        rules = std::make_unique<GameRules>(model, board, words, palette, texts, prompter);
        rules->setHistory(&history);
        rules->highlightword(1);
        prompter.clear();
    }

    // A run of steps taken back one by one passes through every board it made, fonts included,
    // down to the dealt board; made again, it ends where it was.
    void undoAndRedoRetraceEveryBoard_data()
    {
        QTest::addColumn<QString>("steps"); // p: place right, w: place wrong, c: clear, h: hint
        QTest::newRow("one placement") << QStringLiteral("p");
        QTest::newRow("wrong, then right over it") << QStringLiteral("wp");
        QTest::newRow("placed and cleared") << QStringLiteral("pc");
        QTest::newRow("hints") << QStringLiteral("hh");
        QTest::newRow("mixed") << QStringLiteral("wphcph");
    }
    void undoAndRedoRetraceEveryBoard()
    {
        QFETCH(QString, steps);
        QList<PlainBoard::Cell> snapshots[16];
        auto snap = [this] {
            QList<PlainBoard::Cell> cells;
            for (int i = 1; i <= 9; ++i)
                for (int j = 1; j <= 9; ++j)
                    cells << board.at(i, j);
            return cells;
        };
        // Colours are left to the tests below: the highlight follows the word selected now.
        auto same = [](const QList<PlainBoard::Cell> &a, const QList<PlainBoard::Cell> &b) {
            for (int p = 0; p < 81; ++p)
                if (a[p].text != b[p].text || a[p].value != b[p].value || !(a[p].font == b[p].font))
                    return false;
            return true;
        };
        snapshots[0] = snap();
        const QPoint at = openCell(0);
        for (int n = 0; n < steps.size(); ++n) {
            switch (steps.at(n).toLatin1()) {
            case 'p':
                place(at, solution(at));
                break;
            case 'w':
                place(at, wrong(at));
                break;
            case 'c':
                clear(at);
                break;
            case 'h':
                rules->tbshowhintClick();
                break;
            }
            snapshots[n + 1] = snap();
        }
        QCOMPARE(int(history.size()), steps.size());
        for (int n = steps.size(); n > 0; --n) {
            QVERIFY(rules->undo());
            QVERIFY2(same(snap(), snapshots[n - 1]), qPrintable(QString::number(n)));
        }
        QVERIFY(!rules->undo());
        for (int n = 1; n <= steps.size(); ++n) {
            QVERIFY(rules->redo());
            QVERIFY2(same(snap(), snapshots[n]), qPrintable(QString::number(n)));
        }
        QVERIFY(!rules->redo());
        QVERIFY(prompter.messages.isEmpty());
    }

    // What changes no word is no step: a right click on an empty cell, a hint on a full board,
    // the same word placed again.
    void stepsThatChangeNoWordAreNotKept()
    {
        const QPoint at = openCell(0);
        clear(at); // the cell keeps its solution number until cleared; still no word changes
        QCOMPARE(int(history.size()), 0);
        place(at, 3);
        place(at, 3);
        QCOMPARE(int(history.size()), 1);
        fillAllBut(QPoint());
        rules->tbshowhintClick();
        QCOMPARE(int(history.size()), 1);
    }

    // A new step after an undo drops what could have been made again.
    void aNewStepDropsTheRedo()
    {
        const QPoint a = openCell(0), b = openCell(1);
        place(a, 2);
        place(b, 3);
        QVERIFY(rules->undo());
        QCOMPARE(board.at(b.x(), b.y()).text, QStringLiteral(" "));
        place(a, 4);
        QVERIFY(!rules->redo());
        QCOMPARE(board.at(b.x(), b.y()).text, QStringLiteral(" "));
        QCOMPARE(board.at(a.x(), a.y()).text, QStringLiteral("four"));
        QVERIFY(rules->undo());
        QCOMPARE(board.at(a.x(), a.y()).text, QStringLiteral("two"));
        QCOMPARE(board.at(a.x(), a.y()).value, 2);
    }

    void restartEmptiesTheHistory()
    {
        place(openCell(0), 5);
        prompter.answers.enqueue(false);
        rules->tbrestartClick();
        QVERIFY(history.canUndo()); // declined: nothing changed
        prompter.answers.enqueue(true);
        rules->tbrestartClick();
        QVERIFY(!history.canUndo());
        QVERIFY(!rules->undo());
    }

    // The yellow cells follow the word selected now, not the one selected at the step.
    void undoHighlightsTheWordSelectedNow()
    {
        const QPoint at = openCell(0);
        place(at, 4);
        place(openCell(1), 4);
        palette.itemIndex = 6; // word 7 clicked on the palette since
        rules->highlightword(7);
        QVERIFY(rules->undo());
        for (int i = 1; i <= 9; ++i)
            for (int j = 1; j <= 9; ++j) {
                const auto &c = board.at(i, j);
                const bool holds7 = c.value == 7 && c.text != QStringLiteral(" ");
                QCOMPARE(c.color == boardcolor::yellow, holds7);
            }
        QCOMPARE(board.at(at.x(), at.y()).text, QStringLiteral("four"));
    }

    // Undo brings the board back as it was before the step, the red marks of Check Error
    // included; redo as the step left it.
    void undoBringsBackTheColours()
    {
        const QPoint a = openCell(0), b = openCell(1);
        place(a, wrong(a));
        rules->tbcheckerrorClick();
        QCOMPARE(board.at(a.x(), a.y()).color, boardcolor::red);
        place(b, wrong(a));
        QCOMPARE(board.at(a.x(), a.y()).color, boardcolor::yellow);
        QVERIFY(rules->undo());
        QCOMPARE(board.at(a.x(), a.y()).color, boardcolor::red);
        QCOMPARE(board.at(b.x(), b.y()).text, QStringLiteral(" "));
        QVERIFY(rules->redo());
        QCOMPARE(board.at(a.x(), a.y()).color, boardcolor::yellow);
        QCOMPARE(board.at(b.x(), b.y()).color, boardcolor::yellow);
    }

    // The solved state follows: making the last step again solves the puzzle again, and its
    // undo leaves it unsolved.
    void solvedStateFollows()
    {
        const QPoint last = openCell(0);
        fillAllBut(last);
        place(last, solution(last));
        QVERIFY(rules->issolved());
        QCOMPARE(prompter.messages, QStringList{QStringLiteral("Puzzle Solved")});
        prompter.clear();
        QVERIFY(rules->undo());
        QVERIFY(!rules->issolved());
        QVERIFY(prompter.messages.isEmpty());
        QVERIFY(rules->redo());
        QVERIFY(rules->issolved());
        QCOMPARE(prompter.messages, QStringList{QStringLiteral("Puzzle Solved")});
    }

    void withoutAHistoryNothingIsKept()
    {
        rules->setHistory(nullptr);
        place(openCell(0), 1);
        QVERIFY(!rules->undo());
        QVERIFY(!rules->redo());
        QCOMPARE(int(history.size()), 0);
    }
};

VASKELIO_TEST_MAIN(TestPlayHistory)
#include "tst_playhistory.moc"
