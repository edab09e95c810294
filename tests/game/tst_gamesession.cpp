#include "bankline.h"
#include "engine/bank.h"
#include "engine/random.h"
#include "game/gamesession.h"
#include "i18n/texttable.h"
#include "modelgame.h"
#include "sandbox.h"
#include "scriptedprompter.h"
#include "storage/savedgame.h"
#include "testfiles.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

// The game in play as one object: dealing, loading, moves and the kept game, without a window.
class TestGameSession : public QObject {
    Q_OBJECT

    // Easy has one line; the others none, so that a deal of them fails.
    PuzzleBank bank{{QStringList{kEasyLine1, kEasyLine1}, {}, {}, {}, {}}};
    RandomSource random{[] { return quint64(7); }};
    TextTables texts;
    ScriptedPrompter prompter;
    QTemporaryDir dir;
    std::unique_ptr<GameSession> session;

    QString keepFile() const { return dir.filePath(QStringLiteral("autosave.wrd")); }
    GameModel &model() { return session->model(); }
    QPoint openCell(int n = 0)
    {
        for (int j = 1; j <= 9; ++j)
            for (int i = 1; i <= 9; ++i)
                if (!model().cell(i, j).given && n-- == 0)
                    return {i, j};
        return {};
    }

private slots:
    void init()
    {
        session = std::make_unique<GameSession>(bank, random, texts, prompter);
        session->setKeepFile(keepFile());
        QFile::remove(keepFile());
        prompter.clear();
    }

    void movesBeforeAGameDoNothing()
    {
        session->place(1, 1);
        session->clear(1, 1);
        session->press();
        QVERIFY(!session->undo());
        QVERIFY(session->keep());
        QVERIFY(!QFile::exists(keepFile()));
        QVERIFY(!model().started());
    }

    void aFailedDealChangesNothing()
    {
        QVERIFY(session->deal(0, ModelGame::englishWords()));
        session->select(4);
        session->place(openCell().x(), openCell().y());
        const auto cells = model().cells();
        QVERIFY(!session->deal(3, WordSet::fromTexts(QStringLiteral("x"), {})));
        QCOMPARE(model().cells(), cells);
        QCOMPARE(model().curwords(), ModelGame::englishWords());
        QVERIFY(session->history().canUndo());
    }

    void aDealStartsClean()
    {
        QVERIFY(session->deal(0, ModelGame::englishWords()));
        session->select(3);
        session->place(openCell().x(), openCell().y());
        QVERIFY(session->deal(0, ModelGame::englishWords()));
        QCOMPARE(session->selectedWord(), 1);
        QVERIFY(!session->history().canUndo());
        QVERIFY(!model().played());
        QCOMPARE(model().cell(openCell().x(), openCell().y()).mark, CellMark::Plain);
    }

    // Loading a saved game and saving it again gives the file's bytes back.
    void loadAndSaveKeepTheBytes_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("hard game") << QStringLiteral("hard_game.wrd");
        QTest::newRow("level seven") << QStringLiteral("level_seven.wrd");
        QTest::newRow("complete") << QStringLiteral("complete.wrd");
    }
    void loadAndSaveKeepTheBytes()
    {
        QFETCH(QString, name);
        const QString file = referenceFile(name.toLatin1().constData());
        const SavedGameRead<SavedGame> read = readSavedGame(file);
        QVERIFY(read);
        session->load(*read);
        QCOMPARE(session->saved().toBytes(), bytesOf(file));
        QCOMPARE(model().curlevel(), read->level);
        QVERIFY(!session->history().canUndo());
    }

    void givenCellsTakeNoMove()
    {
        QVERIFY(session->deal(0, ModelGame::englishWords()));
        QPoint given;
        for (int p = 0; p < 81 && given.isNull(); ++p)
            if (model().cells()[p].given)
                given = {p / 9 + 1, p % 9 + 1};
        const QString word = model().shown(given.x(), given.y());
        session->select(model().cell(given.x(), given.y()).solution % 9 + 1);
        session->place(given.x(), given.y());
        session->clear(given.x(), given.y());
        QCOMPARE(model().shown(given.x(), given.y()), word);
        QVERIFY(!session->history().canUndo());
    }

    // The kept game follows every move without being asked, and goes once the puzzle is solved.
    void theKeptGameFollowsTheModel()
    {
        QVERIFY(session->deal(0, ModelGame::englishWords()));
        QCOMPARE(bytesOf(keepFile()), session->saved().toBytes());
        const QPoint at = openCell();
        session->select(model().cell(at.x(), at.y()).solution);
        session->place(at.x(), at.y());
        QCOMPARE(bytesOf(keepFile()), session->saved().toBytes());
        QVERIFY(session->undo());
        QCOMPARE(bytesOf(keepFile()), session->saved().toBytes());
        QVERIFY(!model().played());
        for (int n = 0; n < 81 && QFile::exists(keepFile()); ++n)
            session->hint();
        QVERIFY(session->rules().issolved());
        QVERIFY(!QFile::exists(keepFile()));
        QCOMPARE(prompter.messages.last(), QStringLiteral("Puzzle Solved"));
    }

    // The time played counts while the game is unsolved, starts afresh with a deal and comes
    // back with the kept game.
    void timeIsKeptWithTheGame()
    {
        QVERIFY(session->deal(0, ModelGame::englishWords()));
        for (int n = 0; n < 75; ++n)
            session->tick();
        QCOMPARE(session->seconds(), 75);
        QVERIFY(session->keep());
        const SavedGameRead<SavedGame> read = readSavedGame(keepFile());
        QVERIFY(read);
        GameSession other(bank, random, texts, prompter);
        other.load(*read, readplay(keepFile(), *read));
        QCOMPARE(other.seconds(), 75);
        QVERIFY(session->deal(0, ModelGame::englishWords()));
        QCOMPARE(session->seconds(), 0);
        for (int n = 0; n < 81 && !session->rules().issolved(); ++n)
            session->hint();
        session->tick();
        QCOMPARE(session->seconds(), 0); // solved: the clock stands
    }

    // A keep file that cannot be written is said once, and again only after a success.
    void aFailureToKeepIsSaidOnce()
    {
        QVERIFY(session->deal(0, ModelGame::englishWords()));
        QSignalSpy failed(session.get(), &GameSession::keepFailed);
        session->setKeepFile(dir.filePath(QStringLiteral("missing/autosave.wrd")));
        session->select(2);
        session->place(openCell(0).x(), openCell(0).y());
        session->place(openCell(1).x(), openCell(1).y());
        QCOMPARE(failed.size(), 1);
        QVERIFY(!failed.at(0).at(0).toString().isEmpty());
        QVERIFY(!session->keep());
        QCOMPARE(failed.size(), 1);
        session->setKeepFile(keepFile());
        session->place(openCell(2).x(), openCell(2).y());
        QCOMPARE(bytesOf(keepFile()), session->saved().toBytes());
        session->setKeepFile(dir.filePath(QStringLiteral("missing/autosave.wrd")));
        session->place(openCell(3).x(), openCell(3).y());
        QCOMPARE(failed.size(), 2);
    }
};

VASKELIO_TEST_MAIN(TestGameSession)
#include "tst_gamesession.moc"
