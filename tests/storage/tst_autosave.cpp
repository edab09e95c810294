#include "sandbox.h"
#include "storage/autosave.h"
#include "storage/folders.h"
#include "storage/savedgame.h"
#include "testfiles.h"
#include "text/textfile.h"

#include <QtTest>

namespace {
SavedGame referenceGame()
{
    const auto read = readSavedGame(referenceFile("hard_game.wrd"));
    return read.value();
}
} // namespace

// The game kept in the saves folder between runs.
class TestAutosave : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

private slots:
    void theFileLiesInTheSavesFolder()
    {
        QCOMPARE(autosavefile(), savesfolder() + QStringLiteral("/autosave.wrd"));
        QCOMPARE(autosavefile(QStringLiteral("/a/saves")), QStringLiteral("/a/saves/autosave.wrd"));
    }

    // Written as Save writes it, it reads back as the same game; a second write replaces it.
    void anUnsolvedGameIsWrittenWhole()
    {
        const QString file = autosavefile(dir.path());
        SavedGame game = referenceGame();
        QVERIFY(keepgame(file, game, false));
        QFile written(file);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), game.toBytes());
        written.close();
        game.words.title = QStringLiteral("Again");
        QVERIFY(keepgame(file, game, false));
        const auto read = readSavedGame(file);
        QVERIFY(read.ok());
        QCOMPARE(read.value().words.title, QStringLiteral("Again"));
        QCOMPARE(read.value().board, game.board);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files),
                 QStringList{QStringLiteral("autosave.wrd")});
    }

    void aSolvedGameRemovesTheFile()
    {
        const QString file = autosavefile(dir.path());
        QVERIFY(keepgame(file, referenceGame(), false));
        QVERIFY(QFile::exists(file));
        QVERIFY(keepgame(file, referenceGame(), true));
        QVERIFY(!QFile::exists(file));
        QVERIFY(keepgame(file, referenceGame(), true)); // nothing to remove is no failure
    }

    void aFailureGivesTheReason()
    {
        const QString file = dir.filePath(QStringLiteral("missing/autosave.wrd"));
        const Status kept = keepgame(file, referenceGame(), false);
        QVERIFY(!kept);
        QVERIFY(!kept.error().isEmpty());
        QVERIFY(!QFile::exists(file));
    }

    // A kept game that cannot be read goes aside byte for byte, over an older damaged copy.
    void aDamagedGameIsPutAside()
    {
        const QString file = autosavefile(dir.path());
        QCOMPARE(damagedcopy(file), file + QStringLiteral(".damaged"));
        QVERIFY(writewholefile(damagedcopy(file), QByteArrayLiteral("older")));
        QVERIFY(writewholefile(file, QByteArrayLiteral("\xFF\xFE"
                                                       "cut")));
        QVERIFY(putaside(file));
        QVERIFY(!QFile::exists(file));
        QFile aside(damagedcopy(file));
        QVERIFY(aside.open(QIODevice::ReadOnly));
        QCOMPARE(aside.readAll(), QByteArrayLiteral("\xFF\xFE"
                                                    "cut"));
    }

    void aFileThatCannotGoAsideStays()
    {
        const QString file = autosavefile(dir.path());
        QFile::remove(file);
        const Status moved = putaside(file);
        QVERIFY(!moved);
        QVERIFY(!moved.error().isEmpty());
        // An older damaged copy that cannot be replaced keeps the new one where it is.
        QVERIFY(writewholefile(file, QByteArrayLiteral("new")));
        QFile::remove(damagedcopy(file));
        QVERIFY(QDir(dir.path()).mkpath(damagedcopy(file) + QStringLiteral("/inside")));
        QVERIFY(!putaside(file));
        QVERIFY(QFile::exists(file));
        QVERIFY(QDir(damagedcopy(file)).removeRecursively());
    }
};

VASKELIO_TEST_MAIN(TestAutosave)
#include "tst_autosave.moc"
