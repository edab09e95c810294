#include "sandbox.h"
#include "storage/autosave.h"
#include "storage/folders.h"
#include "storage/savedgame.h"

#include <QProcess>
#include <QtTest>

#include <csignal>

// vaskelio --new-game: the window opens on the list dealt, the same puzzle for the same seed.
class TestNewGameCommand : public QObject {
    Q_OBJECT

    // Runs the game with args until it has kept its first game, ends it as the desktop would,
    // and reads what it kept.
    SavedGame dealt(const QStringList &args)
    {
        QDir(datafolder()).removeRecursively();
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(VASKELIO_GAME), args);
        if (!process.waitForStarted())
            return {};
        for (int waited = 0; waited < 200 && !QFile::exists(autosavefile()); ++waited)
            QTest::qWait(100);
        ::kill(pid_t(process.processId()), SIGTERM);
        if (!process.waitForFinished(20000))
            process.kill();
        const SavedGameRead<SavedGame> read = readSavedGame(autosavefile());
        return read ? *read : SavedGame{};
    }

private slots:
    void theSeedDealsTheSamePuzzle()
    {
        const QStringList args{"--new-game", "--list", "Fruit", "--level", "hard", "--seed", "5"};
        const SavedGame first = dealt(args);
        QCOMPARE(first.level, 2);
        QCOMPARE(first.words.title, QStringLiteral("Fruit"));
        QCOMPARE(first.words.text(1), QStringLiteral("apple"));
        const SavedGame again = dealt(args);
        QCOMPARE(again.solution, first.solution);
        QCOMPARE(again.given, first.given);
        QStringList other = args;
        other.last() = QStringLiteral("-5");
        const SavedGame third = dealt(other);
        QCOMPARE(third.level, 2);
        QVERIFY(third.solution != first.solution || third.given != first.given);
    }
};

VASKELIO_TEST_MAIN(TestNewGameCommand)
#include "tst_newgamecommand.moc"
