#include "board/tntspeedbutton.h"
#include "board/wordpalette.h"
#include "programfixture.h"
#include "sandbox.h"
#include "widgets/radiogroup.h"
#include "windows/frmnewgame.h"
#include "windows/mainwindow.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QToolButton>

class TestNewGame : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    std::unique_ptr<ProgramFixture> fixture;

    Tfrmnewgame &dialog() { return fixture->program->frmnewgame(); }

    void fill(const QStringList &words, const QString &title = QStringLiteral("A title"))
    {
        dialog().box(0)->setText(title);
        for (int k = 1; k <= 9; ++k)
            dialog().box(k)->setText(words.value(k - 1));
    }

    void clickStart()
    {
        QTest::mouseClick(dialog().findChild<QPushButton *>("BitBtn1"), Qt::LeftButton);
    }

private slots:
    void init()
    {
        QFile::remove(dir.filePath(QStringLiteral("s.ini")));
        QDir(datafolder()).removeRecursively(); // no game to resume
        fixture = std::make_unique<ProgramFixture>(dir.filePath(QStringLiteral("s.ini")));
        fixture->program->show();
        QVERIFY(QTest::qWaitForWindowActive(&fixture->main()));
    }
    void cleanup() { fixture.reset(); }

    void layout()
    {
        Tfrmnewgame &d = dialog();
        QCOMPARE(d.size(), QSize(428, 271));
        QCOMPARE(d.windowTitle(), QStringLiteral("New Game"));
        QCOMPARE(d.levels()->geometry(), QRect(13, 8, 402, 54));
        QCOMPARE(d.levels()->count(), 5);
        QCOMPARE(d.box(0)->geometry(), QRect(62, 19, 164, 21));
        QCOMPARE(d.box(5)->geometry(), QRect(119, 78, 87, 21));
        QCOMPARE(d.box(9)->geometry(), QRect(220, 104, 87, 21));
        QCOMPARE(d.findChild<QPushButton *>("BitBtn1")->geometry(), QRect(104, 230, 98, 25));
        QCOMPARE(d.findChild<QPushButton *>("Button3")->geometry(), QRect(318, 79, 75, 25));
        // Its own buttons: the Word List dialog and those it opens are children with defaults.
        for (QPushButton *b : d.findChildren<QPushButton *>())
            if (b->window() == &d)
                QVERIFY(!b->autoDefault() && !b->isDefault());
    }

    // With no words remembered yet, the boxes hold the palette's, and Start deals at once.
    void aFirstStartOffersThePaletteWords()
    {
        const QStringList palette{QStringLiteral("一"), QStringLiteral("二"), QStringLiteral("三"),
                                  QStringLiteral("四"), QStringLiteral("五"), QStringLiteral("六"),
                                  QStringLiteral("七"), QStringLiteral("八"), QStringLiteral("九")};
        QVERIFY(dialog().box(0)->text().isEmpty());
        for (int k = 1; k <= 9; ++k)
            QCOMPARE(dialog().box(k)->text(), palette.at(k - 1));
        clickStart();
        QVERIFY(fixture->prompter.messages.isEmpty());
        QVERIFY(fixture->main().inplay());
        QCOMPARE(fixture->model().curwords().texts(), palette);
        QCOMPARE(fixture->state().settings.newgamewords.text(9), QStringLiteral("九"));

        // Words once remembered stay, a cleared box too.
        dialog().Button3Click();
        dialog().box(1)->setText(QStringLiteral("one"));
        dialog().reject();
        fixture.reset();
        fixture = std::make_unique<ProgramFixture>(dir.filePath(QStringLiteral("s.ini")));
        QCOMPARE(dialog().box(1)->text(), QStringLiteral("one"));
        QCOMPARE(dialog().box(2)->text(), QStringLiteral("二")); // the palette's, from the settings
    }

    // Only the first empty box is reported, and nothing else happens.
    void emptyBoxesAreReportedOneByOne()
    {
        dialog().show();
        QStringList words = testWords();
        words[3].clear();
        words[6] = QStringLiteral("  \t ");
        fill(words);
        clickStart();
        QCOMPARE(fixture->prompter.messages, QStringList{QStringLiteral("Complete fully, Please")});
        QVERIFY(dialog().isVisible());
        QCOMPARE(dialog().focusWidget(), dialog().box(4));
        QVERIFY(!fixture->main().board()->isEnabled());
        QCOMPARE(fixture->main().windowTitle(), QStringLiteral("Vaskelio"));

        dialog().box(4)->setText(QStringLiteral("four"));
        clickStart();
        QCOMPARE(fixture->prompter.messages.size(), 2);
        QCOMPARE(dialog().focusWidget(), dialog().box(7));
        QVERIFY(dialog().isVisible());

        // What an input method types for Space, and a no-break space: the button would be blank.
        dialog().box(7)->setText(QStringLiteral("\u3000"));
        dialog().box(2)->setText(QStringLiteral(" \u00A0 "));
        clickStart();
        QCOMPARE(fixture->prompter.messages.size(), 3);
        QCOMPARE(dialog().focusWidget(), dialog().box(2));
        QVERIFY(dialog().isVisible());
        QVERIFY(!fixture->main().board()->isEnabled());
    }

    void anExpertGameStarts()
    {
        dialog().show();
        fill(testWords(), QString());
        dialog().levels()->setItemIndex(3);
        clickStart();
        TaaForm1 &main = fixture->main();
        QVERIFY(!dialog().isVisible());
        QCOMPARE(main.windowTitle(), QStringLiteral("Vaskelio - Expert"));
        QVERIFY(main.wordPalette()->button(1)->isChecked());
        QCOMPARE(fixture->game().selectedWord(), 1);
        for (QToolButton *b : main.findChild<QWidget *>("ToolBar1")->findChildren<QToolButton *>())
            QVERIFY2(b->isEnabled(), qPrintable(b->objectName()));
        QVERIFY(main.board()->isEnabled());
        QVERIFY(fixture->model().curwords().title.isEmpty()); // an empty title is accepted
        int givens = 0;
        for (int i = 1; i <= 9; ++i)
            for (int j = 1; j <= 9; ++j) {
                TTntcell *c = main.board()->cell(i, j);
                const GameCell &n = fixture->model().cell(i, j);
                givens += n.given ? 1 : 0;
                const bool yellow = n.given && n.solution == 1;
                QCOMPARE(c->color() == QColor(Qt::yellow), yellow);
            }
        QVERIFY(givens >= 17 && givens <= 32);
        QCOMPARE(fixture->model().curlevel(), 3);
        QCOMPARE(fixture->state().settings.newgamelevel, 3);
    }

    void wordsKeepTheirBlanks()
    {
        QStringList words = testWords();
        words[0] = QStringLiteral("  padded ");
        fill(words);
        dialog().BitBtn1Click();
        QCOMPARE(fixture->model().curwords().texts().at(0), QStringLiteral("  padded "));
        QCOMPARE(fixture->main().wordPalette()->button(1)->mycaption(),
                 QStringLiteral("  padded "));
    }

    void cancelRemembersWhatWasTyped()
    {
        dialog().show();
        fill(testWords(), QStringLiteral("Kept"));
        dialog().levels()->setItemIndex(4);
        QTest::mouseClick(dialog().findChild<QPushButton *>("BitBtn2"), Qt::LeftButton);
        QVERIFY(!dialog().isVisible());
        QVERIFY(!fixture->main().board()->isEnabled()); // the game is not touched
        const SettingsState &s = fixture->state().settings;
        QCOMPARE(s.newgamelevel, 4);
        QCOMPARE(s.newgamewords.title, QStringLiteral("Kept"));
        QCOMPARE(s.newgamewords.text(9), QStringLiteral("vegetables"));

        // ...and so does the next run.
        fixture.reset();
        fixture = std::make_unique<ProgramFixture>(dir.filePath(QStringLiteral("s.ini")));
        QCOMPARE(dialog().levels()->itemIndex(), 4);
        QCOMPARE(dialog().box(0)->text(), QStringLiteral("Kept"));
        QCOMPARE(dialog().box(2)->text(), QStringLiteral("二"));
    }

    void escapeAndEnterDoNothing()
    {
        dialog().show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog()));
        fill(testWords());
        dialog().box(3)->setFocus();
        QTest::keyClick(dialog().box(3), Qt::Key_Return);
        QTest::keyClick(dialog().box(3), Qt::Key_Escape);
        QVERIFY(dialog().isVisible());
        QVERIFY(!fixture->main().board()->isEnabled());
        dialog().reject();
    }

    void clearKeepsTheLevel()
    {
        fill(testWords());
        dialog().levels()->setItemIndex(2);
        QTest::mouseClick(dialog().findChild<QPushButton *>("Button3"), Qt::LeftButton);
        for (int n = 0; n <= 9; ++n)
            QVERIFY(dialog().box(n)->text().isEmpty());
        QCOMPARE(dialog().levels()->itemIndex(), 2);
    }

    void f3RelabelsTheDialogAndTheMainWindow()
    {
        dialog().show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog()));
        dialog().box(1)->setFocus();
        QTest::keyClick(dialog().box(1), Qt::Key_F3);
        QCOMPARE(dialog().windowTitle(), QStringLiteral("新しいゲーム"));
        QCOMPARE(dialog().levels()->itemText(4), QStringLiteral("超難しい"));
        QCOMPARE(dialog().findChild<QLabel *>("Label1")->text(), QStringLiteral("タイトル"));
        QCOMPARE(fixture->main().findChild<QPushButton *>("btstartnewgame")->text(),
                 QStringLiteral("新しいゲーム"));
        QCOMPARE(fixture->main().windowTitle(), QStringLiteral("Vaskelio"));
        dialog().reject();
    }

    void chineseAfterF2InTheMainWindow()
    {
        QWidget *focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : &fixture->main(), Qt::Key_F2);
        bool checked = false;
        whenModalOpens([&](QWidget *modal) {
            QCOMPARE(modal, &dialog());
            QCOMPARE(dialog().windowTitle(), QStringLiteral("新游戏"));
            QCOMPARE(dialog().levels()->itemText(0), QStringLiteral("入门"));
            QCOMPARE(dialog().levels()->itemText(4), QStringLiteral("最难"));
            checked = true;
        });
        fixture->main().btstartnewgameClick();
        QVERIFY(checked);
    }

    // From the dialog to "Puzzle Solved": clicks with the palette, then hints.
    void playAWholeGame()
    {
        fill(testWords());
        dialog().levels()->setItemIndex(0);
        dialog().BitBtn1Click();
        TaaForm1 &main = fixture->main();
        const TQJ model = fixture->model().puzzle();
        // Every cell to fill by a click but the last five, which the hints fill.
        QList<QPoint> open;
        for (int i = 1; i <= 9; ++i)
            for (int j = 1; j <= 9; ++j)
                if (!model.node(i, j).given)
                    open.append({i, j});
        int clicks = 0;
        for (const QPoint &cell : open.mid(0, open.size() - 5)) {
            const int value = model.node(cell.x(), cell.y()).value;
            QTest::mouseClick(main.wordPalette()->button(value), Qt::LeftButton);
            QCOMPARE(fixture->game().selectedWord(), value);
            QTest::mouseClick(main.board()->cell(cell.x(), cell.y()), Qt::LeftButton);
            ++clicks;
            QCOMPARE(main.board()->cell(cell.x(), cell.y())->text(), testWords().at(value - 1));
        }
        QVERIFY(fixture->prompter.messages.isEmpty());
        main.tbcheckerrorClick();
        QCOMPARE(fixture->prompter.messages, QStringList{QStringLiteral("Sudoku is OK so far")});
        fixture->prompter.clear();
        int hints = 0;
        while (fixture->prompter.messages.isEmpty() && hints < 81) {
            QTest::mouseClick(main.findChild<QToolButton *>("tbshowhint"), Qt::LeftButton);
            ++hints;
        }
        QCOMPARE(fixture->prompter.messages, QStringList{QStringLiteral("Puzzle Solved")});
        QCOMPARE(clicks + hints, 81 - model.givenCount());
        QVERIFY(main.board()->isEnabled());
    }

    void restartDealsTheSamePuzzleAgain()
    {
        fill(testWords());
        dialog().BitBtn1Click();
        TaaForm1 &main = fixture->main();
        const QString dealt = fixture->model().puzzle().toPuzzleString();
        TTntcell *cell = nullptr;
        for (int i = 1; i <= 9 && !cell; ++i)
            for (int j = 1; j <= 9 && !cell; ++j)
                if (!main.board()->cell(i, j)->isfixed())
                    cell = main.board()->cell(i, j);
        QTest::mouseClick(main.wordPalette()->button(5), Qt::LeftButton);
        QTest::mouseClick(cell, Qt::LeftButton);
        fixture->prompter.answers.enqueue(true);
        main.tbrestartClick();
        QCOMPARE(cell->text(), QStringLiteral(" "));
        QCOMPARE(fixture->model().puzzle().toPuzzleString(), dealt);
        QVERIFY(main.wordPalette()->button(5)->isChecked()); // the palette keeps its selection
    }
};

VASKELIO_GUI_TEST_MAIN(TestNewGame)
#include "tst_newgame.moc"
