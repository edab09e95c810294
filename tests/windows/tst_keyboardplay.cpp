#include "board/tntcell.h"
#include "board/tntspeedbutton.h"
#include "board/tntstdsudoku.h"
#include "board/wordpalette.h"
#include "engine/explain.h"
#include "game/gamesession.h"
#include "programfixture.h"
#include "sandbox.h"
#include "storage/autosave.h"
#include "storage/savedgame.h"
#include "testfiles.h"
#include "text/textfile.h"
#include "windows/frmnewgame.h"
#include "windows/mainwindow.h"
#include "windows/programstate.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QToolButton>

namespace {
const QStringList kWords{QStringLiteral("one"),   QStringLiteral("two"),   QStringLiteral("three"),
                         QStringLiteral("four"),  QStringLiteral("five"),  QStringLiteral("six"),
                         QStringLiteral("seven"), QStringLiteral("eight"), QStringLiteral("nine")};

// A key as the keyboard gives it: to the focused control of the active window, else the window.
void press(QWidget &window, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWidget *focus = QApplication::focusWidget();
    QWidget *target = focus && focus->window() == window.window() ? focus : &window;
    QTest::keyClick(target, Qt::Key(key), modifiers);
}
} // namespace

// The whole game from the keyboard, and the game kept in autosave.wrd.
class TestKeyboardPlay : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    std::unique_ptr<ProgramFixture> fixture;

    TaaForm1 &main() { return fixture->main(); }
    Ttntstdsudoku *board() { return main().board(); }

    void start()
    {
        fixture = std::make_unique<ProgramFixture>(dir.filePath(QStringLiteral("s.ini")));
        fixture->program->show();
        QVERIFY(QTest::qWaitForWindowActive(&main()));
        // No printer in a test: Print then does nothing but its click.
        main().setPagePrinter(nullptr);
    }

    void startGame()
    {
        Tfrmnewgame &d = fixture->program->frmnewgame();
        for (int k = 1; k <= 9; ++k)
            d.box(k)->setText(kWords.at(k - 1));
        d.box(0)->setText(QStringLiteral("Numbers"));
        d.BitBtn1Click();
    }

    QStringList boardTexts()
    {
        QStringList texts;
        for (int i = 1; i <= 9; ++i)
            for (int j = 1; j <= 9; ++j)
                texts << board()->cell(i, j)->text();
        return texts;
    }

    QList<QPoint> openCells()
    {
        QList<QPoint> cells;
        for (int j = 1; j <= 9; ++j)
            for (int i = 1; i <= 9; ++i)
                if (!fixture->model().cell(i, j).given)
                    cells << QPoint(i, j);
        return cells;
    }

    int solution(QPoint at) { return fixture->model().cell(at.x(), at.y()).solution; }
    QString text(QPoint at) { return board()->cell(at.x(), at.y())->text(); }

    // Walks the cursor there with the arrow keys, one cell a key.
    void moveTo(QPoint target)
    {
        for (int guard = 0; guard < 20 && board()->cursorCell() != target; ++guard) {
            const QPoint at = board()->cursorCell();
            const int key = target.x() < at.x()   ? Qt::Key_Left
                            : target.x() > at.x() ? Qt::Key_Right
                            : target.y() < at.y() ? Qt::Key_Up
                                                  : Qt::Key_Down;
            press(main(), key);
            QVERIFY(board()->cursorCell() != at);
        }
        QCOMPARE(board()->cursorCell(), target);
    }

    // Types into a box of a dialog after reaching it with Tab.
    static void tabTo(QWidget *box)
    {
        for (int guard = 0; guard < 30 && QApplication::focusWidget() != box; ++guard) {
            QWidget *focus = QApplication::focusWidget();
            QTest::keyClick(focus ? focus : box->window(), Qt::Key_Tab);
        }
        QCOMPARE(QApplication::focusWidget(), box);
    }

private slots:
    void init()
    {
        QDir(datafolder()).removeRecursively();
        start();
    }
    void cleanup() { fixture.reset(); }

    // N, then 1 and 2 in the first empty cell: two notes, drawn and heard; Ctrl+Shift+N notes
    // every empty cell's candidates; a word placed by keyboard leaves no note of it around; the
    // kept game brings the notes back.
    void notesFromTheKeyboard()
    {
        startGame();
        const QPoint first = openCells().first();
        moveTo(first);
        press(main(), Qt::Key_N);
        QCOMPARE(main().statusText().left(11), QStringLiteral("Notes mode:"));
        press(main(), Qt::Key_1);
        press(main(), Qt::Key_2);
        const GameCell &cell = fixture->model().cell(first.x(), first.y());
        QCOMPARE(cell.notes, quint16(0b11));
        QCOMPARE(board()->cell(first.x(), first.y())->notes(),
                 (QStringList{"o", "t", "", "", "", "", "", "", ""}));
        QCOMPARE(board()->spokenName(first.x(), first.y()),
                 QStringLiteral("row %1, column %2: empty, notes: one, two")
                     .arg(first.y())
                     .arg(first.x()));
        press(main(), Qt::Key_N);
        press(main(), Qt::Key_3); // picks word 3 again
        QCOMPARE(fixture->game().selectedWord(), 3);
        QCOMPARE(cell.notes, quint16(0b11));

        press(main(), Qt::Key_N, Qt::ControlModifier | Qt::ShiftModifier);
        const GameModel &model = fixture->model();
        for (const QPoint &at : openCells())
            QCOMPARE(model.cell(at.x(), at.y()).notes, model.candidates(at.x(), at.y()));
        const int w = solution(first);
        press(main(), Qt::Key_0 + w);
        press(main(), Qt::Key_Space);
        for (int i = 1; i <= 9; ++i)
            for (int j = 1; j <= 9; ++j)
                if (GameModel::sees(i, j, first.x(), first.y()) && QPoint(i, j) != first)
                    QVERIFY(!model.cell(i, j).hasNote(w));
        // The fixture's model each time: the program is made anew below.
        const auto notes = [this] {
            QList<quint16> all;
            for (const GameCell &c : fixture->model().cells())
                all << c.notes;
            return all;
        };
        const QList<quint16> kept = notes();
        fixture.reset();
        start();
        QCOMPARE(notes(), kept);
    }

    void aWholeGameFromTheKeyboard()
    {
        const QString saved = dir.filePath(QStringLiteral("keys.wrd"));
        // Before a game, Save is not there to be pressed.
        press(main(), Qt::Key_S, Qt::ControlModifier);
        QVERIFY(fixture->prompter.folders.isEmpty());

        // Ctrl+N, then the dialog by Tab, typing and Space.
        Tfrmnewgame &dialog = fixture->program->frmnewgame();
        whenModalOpens([&dialog](QWidget *modal) {
            QCOMPARE(modal, &dialog);
            for (int n = 0; n <= 9; ++n) {
                tabTo(dialog.box(n));
                dialog.box(n)->clear();
                QTest::keyClicks(dialog.box(n), n == 0 ? QStringLiteral("Keys") : kWords.at(n - 1));
            }
            tabTo(dialog.findChild<QPushButton *>(QStringLiteral("BitBtn1")));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        });
        press(main(), Qt::Key_N, Qt::ControlModifier);
        QVERIFY(main().inplay());
        // A window manager hands the activation back to the window when the dialog goes; the
        // offscreen platform leaves that to the test.
        main().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&main()));
        QCOMPARE(QApplication::focusWidget(), board());
        QCOMPARE(fixture->model().curwords().texts(), kWords);
        QCOMPARE(fixture->model().curwords().title, QStringLiteral("Keys"));

        // The cursor starts at the top-left corner and stops at the edges.
        QCOMPARE(board()->cursorCell(), QPoint(1, 1));
        QVERIFY(board()->cell(1, 1)->isCursor());
        press(main(), Qt::Key_Left);
        press(main(), Qt::Key_Up);
        QCOMPARE(board()->cursorCell(), QPoint(1, 1));
        moveTo({9, 9});
        press(main(), Qt::Key_Right);
        press(main(), Qt::Key_Down);
        QCOMPARE(board()->cursorCell(), QPoint(9, 9));
        QVERIFY(!board()->cell(1, 1)->isCursor());

        // A given cell takes no word from the keyboard either.
        QPoint given;
        for (int j = 1; j <= 9 && given.isNull(); ++j)
            for (int i = 1; i <= 9 && given.isNull(); ++i)
                if (fixture->model().cell(i, j).given)
                    given = {i, j};
        moveTo(given);
        const QString givenText = text(given);
        press(main(), Qt::Key_1 + solution(given) % 9);
        press(main(), Qt::Key_Space);
        QCOMPARE(text(given), givenText);

        // A wrong word, cleared, then undone and redone.
        const QList<QPoint> open = openCells();
        const QPoint first = open.first();
        const int wrong = solution(first) % 9 + 1;
        moveTo(first);
        press(main(), Qt::Key_0 + wrong);
        QCOMPARE(main().wordPalette()->pressed(), wrong);
        QCOMPARE(fixture->game().selectedWord(), wrong);
        press(main(), Qt::Key_Return);
        QCOMPARE(text(first), kWords.at(wrong - 1));
        press(main(), Qt::Key_Delete);
        QCOMPARE(text(first), QStringLiteral(" "));
        press(main(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(text(first), kWords.at(wrong - 1));
        press(main(), Qt::Key_E, Qt::ControlModifier); // Check Error marks it
        QCOMPARE(board()->cellColor(first.x(), first.y()), boardcolor::red);
        press(main(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(text(first), QStringLiteral(" "));
        press(main(), Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(text(first), kWords.at(wrong - 1));
        press(main(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(text(first), QStringLiteral(" "));
        press(main(), Qt::Key_Backspace);
        QCOMPARE(text(first), QStringLiteral(" "));

        // Every cell but the last, alternating Space and Enter.
        for (int n = 0; n + 1 < open.size(); ++n) {
            moveTo(open.at(n));
            press(main(), Qt::Key_0 + solution(open.at(n)));
            press(main(), n % 2 ? Qt::Key_Space : Qt::Key_Enter);
            QCOMPARE(text(open.at(n)), kWords.at(solution(open.at(n)) - 1));
        }
        QVERIFY(fixture->prompter.messages.isEmpty());

        // Saved with Ctrl+S; one more word, undone; loaded back with Ctrl+O.
        fixture->prompter.files.enqueue(saved);
        press(main(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(bytesOf(saved), main().game().saved().toBytes());
        const QStringList atSave = boardTexts();
        const QPoint last = open.last();
        moveTo(last);
        press(main(), Qt::Key_0 + solution(last) % 9 + 1);
        press(main(), Qt::Key_Space);
        QVERIFY(boardTexts() != atSave);
        fixture->prompter.files.enqueue(saved);
        fixture->prompter.answers.enqueue(true); // yes, replace the game in play
        press(main(), Qt::Key_O, Qt::ControlModifier);
        QVERIFY(fixture->prompter.messages.isEmpty());
        QCOMPARE(boardTexts(), atSave);
        QCOMPARE(board()->cursorCell(), QPoint(1, 1));
        // Loading emptied the history.
        press(main(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(boardTexts(), atSave);

        // Ctrl+H fills the last cell and solves the puzzle; undone, and solved by hand.
        press(main(), Qt::Key_H, Qt::ControlModifier);
        QCOMPARE(fixture->prompter.messages, QStringList{QStringLiteral("Puzzle Solved")});
        QVERIFY(!QFile::exists(autosavefile()));
        press(main(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(text(last), QStringLiteral(" "));
        QVERIFY(QFile::exists(autosavefile()));
        moveTo(last);
        press(main(), Qt::Key_0 + solution(last));
        press(main(), Qt::Key_Space);
        QCOMPARE(fixture->prompter.messages.size(), 2);
        QCOMPARE(fixture->prompter.messages.last(), QStringLiteral("Puzzle Solved"));
    }

    // The arrows go to the board from wherever the focus is beside it; a focused button keeps
    // Space for itself.
    void buttonsLeaveTheArrowsToTheBoard()
    {
        startGame();
        for (int k = 1; k <= 9; ++k)
            QCOMPARE(main().wordPalette()->button(k)->focusPolicy(), Qt::NoFocus);
        auto *close = main().findChild<QPushButton *>(QStringLiteral("btclose2"));
        close->setFocus();
        QCOMPARE(QApplication::focusWidget(), close);
        press(main(), Qt::Key_Right);
        QCOMPARE(board()->cursorCell(), QPoint(2, 1));
        QCOMPARE(QApplication::focusWidget(), board());

        const QString before = text({2, 1});
        close->setFocus();
        press(main(), Qt::Key_Space); // presses Close, answered No
        QCOMPARE(fixture->prompter.questions.size(), 1);
        QCOMPARE(text({2, 1}), before);
    }

    // Ctrl+P is the Print button, and nothing before a game.
    void ctrlPPrints()
    {
        auto *print = main().findChild<QToolButton *>(QStringLiteral("tbprint"));
        QSignalSpy clicks(print, &QToolButton::clicked);
        press(main(), Qt::Key_P, Qt::ControlModifier);
        QCOMPARE(clicks.size(), 0);
        startGame();
        press(main(), Qt::Key_P, Qt::ControlModifier);
        QCOMPARE(clicks.size(), 1);
    }

    // New game, Restart and Load start the history afresh.
    void newGameAndRestartEmptyTheHistory()
    {
        startGame();
        const QPoint at = openCells().first();
        QTest::mouseClick(board()->cell(at.x(), at.y()), Qt::LeftButton);
        QVERIFY(main().game().history().canUndo());
        fixture->prompter.answers.enqueue(true);
        QTest::mouseClick(main().findChild<QToolButton *>(QStringLiteral("tbrestart")),
                          Qt::LeftButton);
        QVERIFY(!main().game().history().canUndo());
        QTest::mouseClick(board()->cell(at.x(), at.y()), Qt::LeftButton);
        QVERIFY(main().game().history().canUndo());
        fixture->prompter.answers.enqueue(true); // yes, replace the game in play
        startGame();
        QVERIFY(!main().game().history().canUndo());
    }

    void closingKeepsTheGame_data()
    {
        QTest::addColumn<bool>("closeButton");
        QTest::newRow("close box") << false;
        QTest::newRow("Close") << true;
    }
    void closingKeepsTheGame()
    {
        QFETCH(bool, closeButton);
        startGame();
        const QList<QPoint> open = openCells();
        QTest::mouseClick(main().wordPalette()->button(4), Qt::LeftButton);
        QTest::mouseClick(board()->cell(open.at(0).x(), open.at(0).y()), Qt::LeftButton);
        QTest::mouseClick(board()->cell(open.at(1).x(), open.at(1).y()), Qt::LeftButton);
        const QStringList texts = boardTexts();
        const QByteArray expected = main().game().saved().toBytes();
        // Something else in the file, so that only the closing can make it right.
        QVERIFY(writewholefile(autosavefile(), QByteArrayLiteral("stale")));
        if (closeButton) {
            fixture->prompter.answers.enqueue(true);
            QTest::mouseClick(main().findChild<QPushButton *>(QStringLiteral("btclose2")),
                              Qt::LeftButton);
        } else {
            main().close();
        }
        QVERIFY(!main().isVisible());
        QCOMPARE(autosavefile(), savesfolder() + QStringLiteral("/autosave.wrd"));
        QCOMPARE(bytesOf(autosavefile()), expected);

        // The next run starts on it again, and Load Saved Game offers it too.
        fixture.reset();
        start();
        QVERIFY(main().inplay());
        QCOMPARE(boardTexts(), texts);
        QCOMPARE(fixture->model().curwords().title, QStringLiteral("Numbers"));
        fixture->prompter.answers.enqueue(true); // replace the game in play with itself
        fixture->prompter.files.enqueue(autosavefile());
        QTest::mouseClick(main().findChild<QToolButton *>(QStringLiteral("tbopen")),
                          Qt::LeftButton);
        QVERIFY(fixture->prompter.messages.isEmpty());
        QCOMPARE(fixture->prompter.questions.size(), 1);
        QCOMPARE(boardTexts(), texts);
    }

    // Every change of the game in play is written at once; before a game nothing is.
    void everyChangeIsKept()
    {
        main().close();
        QVERIFY(!QFile::exists(autosavefile()));
        start();
        startGame();
        QCOMPARE(bytesOf(autosavefile()), main().game().saved().toBytes());
        const QPoint at = openCells().first();
        QTest::mouseClick(board()->cell(at.x(), at.y()), Qt::LeftButton);
        QCOMPARE(bytesOf(autosavefile()), main().game().saved().toBytes());
        const QByteArray placed = bytesOf(autosavefile());
        QVERIFY(main().undo());
        QCOMPARE(bytesOf(autosavefile()), main().game().saved().toBytes());
        QVERIFY(bytesOf(autosavefile()) != placed);
        QVERIFY(main().redo());
        QCOMPARE(bytesOf(autosavefile()), placed);
        QTest::mouseClick(main().findChild<QToolButton *>(QStringLiteral("tbshowhint")),
                          Qt::LeftButton);
        QCOMPARE(bytesOf(autosavefile()), main().game().saved().toBytes());
        QVERIFY(bytesOf(autosavefile()) != placed);
        fixture->prompter.answers.enqueue(true);
        QTest::mouseClick(main().findChild<QToolButton *>(QStringLiteral("tbrestart")),
                          Qt::LeftButton);
        QCOMPARE(bytesOf(autosavefile()), main().game().saved().toBytes());
    }

    // Ctrl+Shift+H marks the next step and says why, placing nothing and keeping no undo step;
    // Ctrl+H then fills the first open cell, as ever, and says why it holds its word.
    void explainedSteps()
    {
        startGame();
        const GameModel &model = fixture->model();
        const auto entries = [&model] {
            QList<int> all;
            for (const GameCell &c : model.cells())
                all << c.entry;
            return all;
        };
        const QList<int> before = entries();
        const std::size_t steps = main().game().history().size();
        press(main(), Qt::Key_H, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(entries(), before);
        QCOMPARE(main().game().history().size(), steps);
        const Explanation next = explainNext(model);
        QVERIFY(!next.cell.isNull());
        QCOMPARE(model.cell(next.cell.x(), next.cell.y()).mark, CellMark::Step);
        QCOMPARE(board()->cellColor(next.cell.x(), next.cell.y()), boardcolor::green);
        for (const QPoint &at : next.proof)
            QCOMPARE(model.cell(at.x(), at.y()).mark, CellMark::Proof);
        const TextTables &texts = main().state().texts;
        QCOMPARE(main().statusText(), explanationText(next, model.curwords(), texts));
        QVERIFY(main().statusText().contains(model.curwords().text(next.word)));

        const QPoint first = openCells().first();
        press(main(), Qt::Key_H, Qt::ControlModifier);
        QCOMPARE(model.cell(first.x(), first.y()).entry, solution(first));
        QCOMPARE(main().game().history().size(), steps + 1);
        const Explanation why = explainCell(model, first.x(), first.y());
        QCOMPARE(why.cell, first);
        QCOMPARE(main().statusText(), explanationText(why, model.curwords(), texts));
        QVERIFY(main().statusText().contains(model.curwords().text(solution(first))));
        for (const GameCell &c : model.cells())
            QVERIFY(c.mark != CellMark::Step && c.mark != CellMark::Proof);
        // Said again in the language chosen while it shows.
        const QString english = main().statusText();
        press(main(), Qt::Key_F3);
        QCOMPARE(texts.langid(), 2);
        QCOMPARE(main().statusText(), explanationText(why, model.curwords(), texts));
        QVERIFY(main().statusText() != english);

        // A move after the marks, taken back, does not bring them back.
        press(main(), Qt::Key_H, Qt::ControlModifier | Qt::ShiftModifier);
        const QPoint second = openCells().at(1);
        QTest::mouseClick(board()->cell(second.x(), second.y()), Qt::LeftButton);
        press(main(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(model.cell(second.x(), second.y()).entry, 0);
        for (const GameCell &c : model.cells())
            QVERIFY(c.mark != CellMark::Step && c.mark != CellMark::Proof);
    }
};

VASKELIO_GUI_TEST_MAIN(TestKeyboardPlay)
#include "tst_keyboardplay.moc"
