#include "board/tntspeedbutton.h"
#include "board/wordpalette.h"
#include "programfixture.h"
#include "sandbox.h"
#include "storage/autosave.h"
#include "storage/savedgame.h"
#include "testfiles.h"
#if defined(Q_OS_UNIX)
#include "unwrittenpipe.h"
#endif
#include "widgets/radiogroup.h"
#include "windows/frmnewgame.h"
#include "windows/mainwindow.h"

#include <QLineEdit>
#include <QTemporaryDir>
#include <QToolButton>

class TestSaveGame : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    std::unique_ptr<ProgramFixture> fixture;

    void start()
    {
        fixture = std::make_unique<ProgramFixture>(dir.filePath(QStringLiteral("s.ini")));
        fixture->program->show();
        QVERIFY(QTest::qWaitForWindowActive(&fixture->main()));
    }

    TaaForm1 &main() { return fixture->main(); }

    void startGame(int level)
    {
        Tfrmnewgame &d = fixture->program->frmnewgame();
        d.levels()->setItemIndex(level);
        for (int k = 1; k <= 9; ++k)
            d.box(k)->setText(testWords().at(k - 1));
        d.box(0)->setText(QStringLiteral("Numbers"));
        d.BitBtn1Click();
    }

    void save(const QString &file)
    {
        fixture->prompter.files.enqueue(file);
        QTest::mouseClick(main().findChild<QToolButton *>("tbsave"), Qt::LeftButton);
    }

    void open(const QString &file)
    {
        fixture->prompter.files.enqueue(file);
        QTest::mouseClick(main().findChild<QToolButton *>("tbopen"), Qt::LeftButton);
    }

    QStringList boardTexts()
    {
        QStringList texts;
        for (int i = 1; i <= 9; ++i)
            for (int j = 1; j <= 9; ++j)
                texts << main().board()->cell(i, j)->text();
        return texts;
    }

private slots:
    void init()
    {
        QFile::remove(autosavefile()); // each starts with no game
        start();
    }
    void cleanup() { fixture.reset(); }

    void saveAndLoadInTheNextRun()
    {
        startGame(2);
        // Two entries: one kept, one placed and cleared again.
        QList<TTntcell *> cells;
        for (int i = 1; i <= 9; ++i)
            for (int j = 1; j <= 9; ++j)
                if (!main().board()->cell(i, j)->isfixed())
                    cells << main().board()->cell(i, j);
        QTest::mouseClick(main().wordPalette()->button(3), Qt::LeftButton);
        QTest::mouseClick(cells.at(0), Qt::LeftButton);
        QTest::mouseClick(cells.at(1), Qt::LeftButton);
        QTest::mouseClick(cells.at(1), Qt::RightButton);
        const QString file = dir.filePath(QStringLiteral("game.wrd"));
        save(file);
        QVERIFY(fixture->prompter.messages.isEmpty());
        QCOMPARE(fixture->prompter.folders.last(), savesfolder());
        const QString dealt = fixture->model().puzzle().toPuzzleString();
        const QStringList texts = boardTexts();

        const QByteArray bytes = bytesOf(file);
        QVERIFY(bytes.startsWith("\xFF\xFE"));
        const QStringList lines =
            QString::fromUtf16(reinterpret_cast<const char16_t *>(bytes.constData() + 2),
                               (bytes.size() - 2) / 2)
                .split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), 15); // 14 lines, each ended
        const int p0 = 9 * (cells.at(0)->column() - 1) + cells.at(0)->row() - 1;
        const int p1 = 9 * (cells.at(1)->column() - 1) + cells.at(1)->row() - 1;
        QCOMPARE(lines.at(2).at(p0), QLatin1Char('3'));
        QCOMPARE(lines.at(2).at(p1), QLatin1Char('0')); // cleared
        QCOMPARE(lines.at(3), QStringLiteral("2"));

        fixture.reset();
        QVERIFY(QFile::remove(autosavefile())); // loaded, not resumed
        start();
        open(file);
        QVERIFY(fixture->prompter.messages.isEmpty());
        QCOMPARE(fixture->model().puzzle().toPuzzleString(), dealt);
        QCOMPARE(boardTexts(), texts);
        QCOMPARE(fixture->model().curlevel(), 2);
        QCOMPARE(fixture->model().curwords().title, QStringLiteral("Numbers"));
        QCOMPARE(fixture->model().curwords().texts(), testWords());
        QCOMPARE(main().windowTitle(), QStringLiteral("Vaskelio - Hard"));
        QVERIFY(main().board()->isEnabled());
        for (QToolButton *b :
             main().findChild<QWidget *>("ToolBar1")->findChildren<QToolButton *>())
            QVERIFY(b->isEnabled());
        QVERIFY(main().wordPalette()->button(1)->isChecked());
        QCOMPARE(fixture->game().selectedWord(), 1);
        QCOMPARE(main().wordPalette()->button(4)->mycaption(), testWords().at(3));
        // The New Game dialog keeps its own fields.
        QCOMPARE(fixture->program->frmnewgame().box(0)->text(), QStringLiteral("Numbers"));
        QCOMPARE(fixture->state().settings.newgamelevel, 2);
    }

    void overwriteAsksFirst()
    {
        startGame(0);
        const QString file = dir.filePath(QStringLiteral("old.wrd"));
        QFile::copy(referenceFile("hard_game.wrd"), file);
        const QByteArray before = bytesOf(file);
        fixture->prompter.answers.enqueue(false);
        save(file);
        QCOMPARE(fixture->prompter.questions.last(),
                 QStringLiteral("Because this file name already exits, click OK to overwrite it?"));
        QCOMPARE(bytesOf(file), before);

        fixture->prompter.answers.enqueue(true);
        save(file);
        QVERIFY(bytesOf(file) != before);
        QCOMPARE(bytesOf(file), main().game().saved().toBytes());
    }

    void cancelledDialogsChangeNothing()
    {
        startGame(1);
        const QStringList texts = boardTexts();
        // Only the game kept for the next run is there.
        const QStringList kept{QStringLiteral("autosave.wrd")};
        QCOMPARE(QDir(savesfolder()).entryList(QDir::Files), kept);
        save(QString()); // Cancel
        open(QString());
        QCOMPARE(boardTexts(), texts);
        QCOMPARE(QDir(savesfolder()).entryList(QDir::Files), kept);
    }

    void loadingTheReferenceFile()
    {
        open(referenceFile("hard_game.wrd"));
        QVERIFY(fixture->prompter.messages.isEmpty());
        QCOMPARE(main().windowTitle(), QStringLiteral("Vaskelio - Hard"));
        QCOMPARE(main().board()->cell(1, 5)->text(), QStringLiteral("fig"));  // word 4, right
        QCOMPARE(main().board()->cell(2, 3)->text(), QStringLiteral("date")); // word 7, wrong
        QCOMPARE(main().board()->cell(2, 3)->value(), 7);
        QCOMPARE(main().board()->cell(1, 2)->text(), QStringLiteral("kiwi")); // given 6
        QVERIFY(main().board()->cell(1, 2)->isfixed());
        QCOMPARE(main().board()->cell(1, 7)->text(), QStringLiteral(" "));
        main().tbcheckerrorClick();
        QCOMPARE(main().board()->cell(2, 3)->color(), QColor(Qt::red));
        QCOMPARE(main().board()->cell(1, 5)->color() == QColor(Qt::red), false);
    }

    void levelSevenLeavesTheCaption()
    {
        open(referenceFile("level_seven.wrd"));
        QCOMPARE(fixture->model().curlevel(), 7);
        QCOMPARE(main().windowTitle(), QStringLiteral("Vaskelio"));
        QVERIFY(main().board()->isEnabled());
    }

    void aCompleteBoardSaysSolvedOnlyAfterAChange()
    {
        open(referenceFile("complete.wrd"));
        QVERIFY(fixture->prompter.messages.isEmpty());
        TTntcell *cell = main().board()->cell(1, 7); // not given; holds its word
        QVERIFY(!cell->isfixed());
        QTest::mouseClick(main().wordPalette()->button(cell->value()), Qt::LeftButton);
        QTest::mouseClick(cell, Qt::LeftButton);
        QCOMPARE(fixture->prompter.messages, QStringList{QStringLiteral("Puzzle Solved")});
    }

    // A refused file leaves the game in play as it was; the message names the file, says the game
    // was not opened and then why.
    void badFilesChangeNothing_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("why");
        const auto row = [](const char *name, const QString &file, const char *why) {
            QTest::newRow(name) << file << QString::fromLatin1(why);
        };
        row("missing", dir.filePath(QStringLiteral("nowhere.wrd")), "No such file or directory");
        row("solution 0", referenceFile("solution_zero.wrd"), "line 1 needs a digit 1 to 9");
        row("letter on the board", referenceFile("board_letter.wrd"), "line 3 needs a digit");
        row("level is a word", referenceFile("level_not_a_number.wrd"), "line 4 holds no level");
        row("empty", referenceFile("empty.wrd"), "line 1 needs a digit");
        row("all ones", referenceFile("all_ones.wrd"), "line 1 is not a completed Sudoku grid");
        row("rows broken", referenceFile("rows_broken.wrd"), "line 1 is not a completed");
        row("given cell shown empty", referenceFile("given_shown_empty.wrd"),
            "line 3 needs the given digit 6 at position 2");
        row("given cell shows another word", referenceFile("given_other_word.wrd"),
            "line 3 needs the given digit 2 at position 4");
        row("cut inside a character", referenceFile("cut_in_title.wrd"),
            "line 5 ends inside a character");
        row("UTF-16 BE cut", referenceFile("cut_at_end_utf16be.wrd"), "line 14 ends inside");
        row("a folder", dir.path(), "a folder, a device, a pipe or a socket");
#if defined(Q_OS_UNIX)
        row("a device", QStringLiteral("/dev/null"), "a folder, a device, a pipe or a socket");
        row("a pipe", dir.filePath(QStringLiteral("pipe.wrd")),
            "a folder, a device, a pipe or a socket");
#endif
        row("larger than 1 MiB", dir.filePath(QStringLiteral("large.wrd")),
            "the file is larger than 1 MiB");
    }
    void badFilesChangeNothing()
    {
        QFETCH(QString, file);
        QFETCH(QString, why);
#if defined(Q_OS_UNIX)
        const UnwrittenPipe pipe(dir.filePath(QStringLiteral("pipe.wrd")));
        QVERIFY(pipe.ok());
#endif
        QFile large(dir.filePath(QStringLiteral("large.wrd")));
        QVERIFY(large.open(QIODevice::WriteOnly));
        QVERIFY(large.write(bytesOf(referenceFile("hard_game.wrd"))) > 0);
        QVERIFY(large.resize(kMaxSavedGameBytes + 2));
        large.close();

        startGame(3);
        const QString dealt = fixture->model().puzzle().toPuzzleString();
        const QStringList texts = boardTexts();
        open(file);
        const QString said = QStringLiteral("The game was not opened from \"%1\".\n")
                                 .arg(QDir::toNativeSeparators(file));
        QCOMPARE(fixture->prompter.messages.size(), 1);
        const QString message = fixture->prompter.messages.first();
        QVERIFY2(message.startsWith(said), qPrintable(message));
        QVERIFY2(message.contains(why), qPrintable(message));
        QCOMPARE(fixture->model().puzzle().toPuzzleString(), dealt);
        QCOMPARE(boardTexts(), texts);
        QCOMPARE(main().windowTitle(), QStringLiteral("Vaskelio - Expert"));
        QFile::remove(large.fileName());
    }

    // The message names the file, says the game was not saved and then why, in the language
    // of the interface.
    void aFailedSaveSaysWhy()
    {
        startGame(0);
        const QString file = dir.filePath(QStringLiteral("no/such/folder/game.wrd"));
        save(file);
        QCOMPARE(fixture->prompter.messages.size(), 1);
        const QStringList lines = fixture->prompter.messages.first().split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines.at(0), QStringLiteral("The game was not saved to \"%1\".")
                                  .arg(QDir::toNativeSeparators(file)));
        QVERIFY(!lines.at(1).isEmpty());
        QVERIFY(!QFile::exists(file));

        main().keydown(Qt::Key_F3);
        save(file);
        QVERIFY(fixture->prompter.messages.last().startsWith(
            QStringLiteral("ゲームは「%1」に保存されませんでした。\n")
                .arg(QDir::toNativeSeparators(file))));
    }

    // Pasted into the New Game boxes, a line break must not shift the words after it in the file.
    void pastedLineBreaksKeepEveryWordInPlace()
    {
        Tfrmnewgame &d = fixture->program->frmnewgame();
        d.levels()->setItemIndex(1);
        QStringList words = testWords();
        words[4] = QStringLiteral("a\r\nb");
        for (int k = 1; k <= 9; ++k)
            d.box(k)->setText(words.at(k - 1));
        d.box(0)->setText(QStringLiteral("a\r\nb"));
        d.BitBtn1Click();
        QCOMPARE(fixture->model().curwords().texts().at(4), QStringLiteral("a\r\nb"));
        const QString dealt = fixture->model().puzzle().toPuzzleString();
        const QString file = dir.filePath(QStringLiteral("pasted.wrd"));
        save(file);

        fixture.reset();
        start();
        open(file);
        QVERIFY(fixture->prompter.messages.isEmpty());
        words[4] = QStringLiteral("a  b");
        QCOMPARE(fixture->model().curwords().texts(), words);
        QCOMPARE(fixture->model().curwords().title, QStringLiteral("a  b"));
        QCOMPARE(fixture->model().curlevel(), 1);
        QCOMPARE(fixture->model().puzzle().toPuzzleString(), dealt);
        for (int i = 1; i <= 9; ++i)
            for (int j = 1; j <= 9; ++j)
                if (const GameCell &n = fixture->model().cell(i, j); n.given)
                    QCOMPARE(main().board()->cell(i, j)->text(), words.at(n.solution - 1));
    }
};

VASKELIO_GUI_TEST_MAIN(TestSaveGame)
#include "tst_savegame.moc"
