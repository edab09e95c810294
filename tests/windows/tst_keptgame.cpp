#include "board/tntcell.h"
#include "board/tntspeedbutton.h"
#include "board/wordpalette.h"
#include "programfixture.h"
#include "sandbox.h"
#include "storage/autosave.h"
#include "storage/savedgame.h"
#include "testfiles.h"
#include "text/textfile.h"
#include "windows/frmnewgame.h"
#include "windows/frmoption.h"
#include "windows/mainwindow.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>

namespace {
const QString kReplace =
    QStringLiteral("The game in play is not solved yet. Replace it with another one?");
const QString kNotKept = QStringLiteral("The game could not be kept for the next start: ");
} // namespace

// The game kept in autosave.wrd: resumed at the next start, asked about before another game
// replaces it, and said to be lost when it cannot be written.
class TestKeptGame : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    std::unique_ptr<ProgramFixture> fixture;

    QString settingsFile() const { return dir.filePath(QStringLiteral("s.ini")); }
    TaaForm1 &main() { return fixture->main(); }
    ScriptedPrompter &prompter() { return fixture->prompter; }

    void start()
    {
        fixture = std::make_unique<ProgramFixture>(settingsFile());
        fixture->program->show();
        QVERIFY(QTest::qWaitForWindowActive(&main()));
    }

    void startGame(const QString &title = QStringLiteral("Numbers"))
    {
        Tfrmnewgame &d = fixture->program->frmnewgame();
        for (int k = 1; k <= 9; ++k)
            d.box(k)->setText(testWords().at(k - 1));
        d.box(0)->setText(title);
        d.BitBtn1Click();
    }

    QList<TTntcell *> openCells()
    {
        QList<TTntcell *> cells;
        for (int i = 1; i <= 9; ++i)
            for (int j = 1; j <= 9; ++j)
                if (!fixture->model().cell(i, j).given)
                    cells << main().board()->cell(i, j);
        return cells;
    }

    // Places the selected word in the n-th open cell.
    void play(int n = 0) { QTest::mouseClick(openCells().at(n), Qt::LeftButton); }

    QStringList boardTexts()
    {
        QStringList texts;
        for (int i = 1; i <= 9; ++i)
            for (int j = 1; j <= 9; ++j)
                texts << main().board()->cell(i, j)->text();
        return texts;
    }

    void click(const char *button)
    {
        QTest::mouseClick(main().findChild<QAbstractButton *>(QLatin1String(button)),
                          Qt::LeftButton);
    }

    // autosave.wrd made a folder: no write can replace it.
    static void blockTheKeptGame()
    {
        QFile::remove(autosavefile());
        QVERIFY(QDir().mkpath(autosavefile()));
    }
    static void unblockTheKeptGame() { QVERIFY(QDir(autosavefile()).removeRecursively()); }

private slots:
    void init()
    {
        QFile::remove(settingsFile());
        QDir(datafolder()).removeRecursively();
        start();
    }
    void cleanup() { fixture.reset(); }

    // Closed in the middle of a game, the program starts on it again, as it was left.
    void theNextStartResumesTheGame()
    {
        startGame();
        QTest::mouseClick(main().wordPalette()->button(4), Qt::LeftButton);
        play(0);
        play(5);
        const QStringList texts = boardTexts();
        const QString dealt = fixture->model().puzzle().toPuzzleString();
        main().close();
        fixture.reset();

        start();
        QVERIFY(main().inplay());
        QCOMPARE(boardTexts(), texts);
        QCOMPARE(fixture->model().puzzle().toPuzzleString(), dealt);
        QCOMPARE(fixture->model().curwords().title, QStringLiteral("Numbers"));
        QCOMPARE(fixture->model().curwords().texts(), testWords());
        QCOMPARE(main().windowTitle(), QStringLiteral("Vaskelio - Easy"));
        QCOMPARE(main().statusText(),
                 QStringLiteral("The game kept from the last run is back, as you left it."));
        QVERIFY(prompter().messages.isEmpty() && prompter().questions.isEmpty());
        // Said again in the language chosen next.
        main().keydown(Qt::Key_F2);
        QCOMPARE(main().statusText(), QStringLiteral("已恢复上次保留的游戏。"));
    }

    // The list's language, which the glossary keeps by its title, comes with a game dealt from
    // the New Game dialog and back with the kept game, which holds the words alone.
    void theListsLanguageComesBack()
    {
        startGame(QStringLiteral("曜日"));
        QCOMPARE(fixture->model().curwords().language, QStringLiteral("ja"));
        main().close();
        fixture.reset();
        start();
        QVERIFY(main().inplay());
        QCOMPARE(fixture->model().curwords().title, QStringLiteral("曜日"));
        QCOMPARE(fixture->model().curwords().language, QStringLiteral("ja"));
    }

    // Turned off in Options, the start is empty and the kept file stays as it was.
    void resumingCanBeTurnedOff()
    {
        startGame();
        play();
        main().close();
        const QByteArray kept = bytesOf(autosavefile());
        QVERIFY(!kept.isEmpty());
        fixture.reset();

        start();
        fixture->program->makewindows();
        auto *options = main().findChild<Tfrmoption *>();
        options->show();
        auto *pages = options->findChild<QTabWidget *>(QStringLiteral("PageControl1"));
        QCOMPARE(pages->count(), 3);
        QCOMPARE(pages->widget(1)->objectName(), QStringLiteral("TabSheet2"));
        QCOMPARE(pages->tabText(1), QStringLiteral("Game"));
        QVERIFY(options->resumeGame()->isChecked());
        QCOMPARE(options->resumeGame()->text(), QStringLiteral("Resume the kept game at start"));
        options->resumeGame()->setChecked(false);
        QTest::mouseClick(options->findChild<QPushButton *>(QStringLiteral("Button2")),
                          Qt::LeftButton);
        QVERIFY(!fixture->state().settings.resumegame);
        fixture.reset();
        QCOMPARE(QSettings(settingsFile(), QSettings::IniFormat).value("resume game").toString(),
                 QStringLiteral("0"));

        start();
        QVERIFY(!main().inplay());
        QVERIFY(main().statusText().isEmpty());
        QCOMPARE(bytesOf(autosavefile()), kept);
    }

    // What cannot be read is moved aside whole, said in the status bar, and the start is empty.
    void aDamagedKeptGameIsPutAside_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray hard = bytesOf(referenceFile("hard_game.wrd"));
        QTest::newRow("cut inside a character") << hard.left(hard.size() - 1);
        QTest::newRow("not a grid") << bytesOf(referenceFile("all_ones.wrd"));
        QTest::newRow("empty") << QByteArray();
    }
    void aDamagedKeptGameIsPutAside()
    {
        QFETCH(QByteArray, bytes);
        fixture.reset();
        QVERIFY(writewholefile(autosavefile(), bytes));
        start();
        QVERIFY(!main().inplay());
        QVERIFY(!QFile::exists(autosavefile()));
        QCOMPARE(bytesOf(damagedcopy(autosavefile())), bytes);
        QCOMPARE(main().statusText(),
                 QStringLiteral("The kept game could not be read; it was moved to "
                                "autosave.wrd.damaged in the saves folder."));
        QVERIFY(prompter().messages.isEmpty());

        // The next game is kept afresh beside it.
        startGame();
        QCOMPARE(bytesOf(autosavefile()), main().game().saved().toBytes());
        QCOMPARE(bytesOf(damagedcopy(autosavefile())), bytes);
    }

    // One that cannot even be moved is named with its fault.
    void aKeptGameThatCannotBeMoved()
    {
        fixture.reset();
        QVERIFY(writewholefile(autosavefile(), QByteArrayLiteral("x")));
        QVERIFY(QDir().mkpath(damagedcopy(autosavefile()) + QStringLiteral("/full")));
        start();
        QVERIFY(!main().inplay());
        QVERIFY(
            main().statusText().startsWith(QStringLiteral("The kept game could not be resumed: ")));
        QVERIFY(main().statusText().contains(QStringLiteral("line 1")));
        QCOMPARE(bytesOf(autosavefile()), QByteArrayLiteral("x"));
    }

    // An unsolved game with the player's words in it is asked about, once, before a new game
    // replaces it; No keeps it.
    void aNewGameAsksBeforeReplacingOne()
    {
        startGame();
        startGame(); // nothing played yet: nothing to lose
        QVERIFY(prompter().questions.isEmpty());
        play();
        const QStringList texts = boardTexts();
        const QByteArray kept = bytesOf(autosavefile());

        startGame(QStringLiteral("Second"));
        QCOMPARE(prompter().questions, QStringList{kReplace});
        QCOMPARE(prompter().checkTexts, QStringList{QStringLiteral("Don't ask again")});
        QCOMPARE(boardTexts(), texts);
        QCOMPARE(fixture->model().curwords().title, QStringLiteral("Numbers"));
        QCOMPARE(bytesOf(autosavefile()), kept);

        prompter().answers.enqueue(true);
        startGame(QStringLiteral("Second"));
        QCOMPARE(prompter().questions.size(), 2);
        QCOMPARE(fixture->model().curwords().title, QStringLiteral("Second"));
        QVERIFY(fixture->state().settings.askreplace); // the box was not ticked
    }

    // Loading asks the same question, after the file proved to be a game.
    void loadingAsksBeforeReplacingOne()
    {
        startGame();
        play();
        const QStringList texts = boardTexts();
        prompter().files.enqueue(referenceFile("empty.wrd"));
        click("tbopen");
        QCOMPARE(prompter().messages.size(), 1); // refused: nothing would have been replaced
        QVERIFY(prompter().questions.isEmpty());

        prompter().files.enqueue(referenceFile("hard_game.wrd"));
        click("tbopen");
        QCOMPARE(prompter().questions, QStringList{kReplace});
        QCOMPARE(boardTexts(), texts);

        prompter().answers.enqueue(true);
        prompter().files.enqueue(referenceFile("hard_game.wrd"));
        click("tbopen");
        QCOMPARE(prompter().questions.size(), 2);
        QCOMPARE(bytesOf(autosavefile()), readSavedGame(referenceFile("hard_game.wrd"))->toBytes());
    }

    // Yes with the box ticked is remembered, also in the next run, and Options turns it back.
    void dontAskAgain()
    {
        startGame();
        play();
        prompter().answers.enqueue(false);
        prompter().checks.enqueue(true);
        startGame(QStringLiteral("Second"));
        QVERIFY(fixture->state().settings.askreplace); // a ticked No is no way to play on
        QCOMPARE(fixture->model().curwords().title, QStringLiteral("Numbers"));

        prompter().answers.enqueue(true);
        prompter().checks.enqueue(true);
        startGame(QStringLiteral("Second"));
        QCOMPARE(fixture->model().curwords().title, QStringLiteral("Second"));
        QVERIFY(!fixture->state().settings.askreplace);
        fixture.reset();

        start();
        fixture->program->makewindows();
        play();
        startGame(QStringLiteral("Third"));
        QVERIFY(prompter().questions.isEmpty());
        QCOMPARE(fixture->model().curwords().title, QStringLiteral("Third"));

        auto *options = main().findChild<Tfrmoption *>();
        options->show();
        QVERIFY(!options->askReplace()->isChecked());
        options->askReplace()->setChecked(true);
        QTest::mouseClick(options->findChild<QPushButton *>(QStringLiteral("Button2")),
                          Qt::LeftButton);
        play();
        startGame();
        QCOMPARE(prompter().questions, QStringList{kReplace});
    }

    // A solved game is nothing to lose.
    void aSolvedGameIsReplacedWithoutAQuestion()
    {
        startGame();
        for (int guard = 0; guard < 81 && prompter().messages.isEmpty(); ++guard)
            click("tbshowhint");
        QVERIFY(prompter().messages.contains(QStringLiteral("Puzzle Solved")));
        startGame(QStringLiteral("Next"));
        QVERIFY(prompter().questions.isEmpty());
        QCOMPARE(fixture->model().curwords().title, QStringLiteral("Next"));
    }

    // A failed autosave is said once, in the status bar, until one succeeds again.
    void aFailedAutosaveIsSaidOnce()
    {
        startGame();
        blockTheKeptGame();
        play(0);
        QVERIFY2(main().statusText().startsWith(kNotKept), qPrintable(main().statusText()));
        QVERIFY(main().statusText().size() > kNotKept.size()); // and why
        QVERIFY(prompter().messages.isEmpty());
        main().keydown(Qt::Key_F3);
        QVERIFY2(main().statusText().startsWith(QStringLiteral("次回に続けられるように")),
                 qPrintable(main().statusText()));
        main().keydown(Qt::Key_F1);

        main().showstatus(QStringLiteral("other"));
        play(1);
        QCOMPARE(main().statusText(), QStringLiteral("other"));

        unblockTheKeptGame();
        play(2);
        QCOMPARE(main().statusText(), QStringLiteral("other"));
        QCOMPARE(bytesOf(autosavefile()), main().game().saved().toBytes());
        blockTheKeptGame();
        play(3);
        QVERIFY(main().statusText().startsWith(kNotKept));
    }

    // At Close the loss is said once more, with Save offered in its place.
    void closeOffersToSaveElsewhere_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::newRow("Yes") << true;
        QTest::newRow("No") << false;
    }
    void closeOffersToSaveElsewhere()
    {
        QFETCH(bool, yes);
        startGame();
        play();
        blockTheKeptGame();
        const QString elsewhere = dir.filePath(QStringLiteral("elsewhere.wrd"));
        QFile::remove(elsewhere);
        prompter().answers.enqueue(true); // Do you really want to exit?
        prompter().answers.enqueue(yes);
        prompter().files.enqueue(elsewhere);
        const QByteArray game = main().game().saved().toBytes();
        click("btclose2");
        QCOMPARE(prompter().questions.size(), 2);
        const QStringList lines = prompter().questions.at(1).split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 2);
        QVERIFY(lines.at(0).startsWith(kNotKept));
        QCOMPARE(lines.at(1), QStringLiteral("Do you want to save it somewhere else?"));
        QCOMPARE(prompter().folders, yes ? QStringList{savesfolder()} : QStringList{});
        QCOMPARE(bytesOf(elsewhere), yes ? game : QByteArray());
        QVERIFY(!main().isVisible());
    }

    // A session that ends closes the open dialog as its close box would and keeps the game,
    // asking nothing even when the game cannot be kept.
    void theEndOfTheSession_data()
    {
        QTest::addColumn<bool>("blocked");
        QTest::newRow("kept") << false;
        QTest::newRow("cannot be kept") << true;
    }
    void theEndOfTheSession()
    {
        QFETCH(bool, blocked);
        startGame();
        play();
        if (blocked)
            blockTheKeptGame();
        else
            QVERIFY(writewholefile(autosavefile(), QByteArrayLiteral("stale")));
        const QByteArray game = main().game().saved().toBytes();
        bool opened = false;
        whenModalOpens([&](QWidget *modal) {
            opened = true;
            QCOMPARE(modal, &fixture->program->frmnewgame());
            fixture->program->frmnewgame().box(0)->setText(QStringLiteral("Typed"));
            main().endsession();
            QVERIFY(!modal->isVisible());
        });
        click("btstartnewgame");
        QVERIFY(opened);
        QVERIFY(!main().isVisible());
        QVERIFY(prompter().questions.isEmpty());
        QCOMPARE(fixture->state().settings.newgamewords.title, QStringLiteral("Typed"));
        QCOMPARE(bytesOf(autosavefile()), blocked ? QByteArray() : game);
    }
};

VASKELIO_GUI_TEST_MAIN(TestKeptGame)
#include "tst_keptgame.moc"
