#include "sandbox.h"
#include "storage/folders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#if defined(Q_OS_UNIX)
#include <unistd.h>
#endif

namespace {
// Sets an environment variable for one test and puts the old value back afterwards.
class EnvGuard {
public:
    EnvGuard(const char *name, const QByteArray *value) : name_(name)
    {
        had_ = qEnvironmentVariableIsSet(name);
        old_ = qgetenv(name);
        if (value)
            qputenv(name, *value);
        else
            qunsetenv(name);
    }
    ~EnvGuard()
    {
        if (had_)
            qputenv(name_, old_);
        else
            qunsetenv(name_);
    }

private:
    const char *name_;
    bool had_;
    QByteArray old_;
};

const QString kSep = QDir::separator();
} // namespace

class TestFolders : public QObject {
    Q_OBJECT

private slots:
    void programFolderIsTheExecutablesFolder();
    void dataFolderFollowsXdgDataHome_data();
    void dataFolderFollowsXdgDataHome();
    void savesFolderHasNoTrailingSeparator();
    void prepareCreatesBothFolders();
    void prepareAddsMissingSaves();
    void prepareKeepsWhatExists();
    void prepareClearsOldSaveLeftovers();
    void prepareSeedsAfterTheFolders();
    void prepareByDefaultUsesTheDataFolder();
    void unwritableParentFailsSilently();
    void parentThatIsAFileFailsSilently();
};

void TestFolders::programFolderIsTheExecutablesFolder()
{
    const QString folder = programfolder();
    QVERIFY(folder.endsWith(kSep));
    QCOMPARE(QDir(folder), QDir(QCoreApplication::applicationDirPath()));
    QVERIFY(QFile::exists(folder + QFileInfo(QCoreApplication::applicationFilePath()).fileName()));
}

void TestFolders::dataFolderFollowsXdgDataHome_data()
{
#if defined(Q_OS_WIN)
    QSKIP("Windows uses the roaming application-data folder");
#endif
    QTest::addColumn<bool>("set");
    QTest::addColumn<QString>("xdg");
    QTest::addColumn<QString>("expected"); // "~" stands for HOME

    QTest::newRow("set") << true << "/srv/share"
                         << "/srv/share/Vaskelio/";
    QTest::newRow("set with trailing slash") << true << "/srv/share/"
                                             << "/srv/share/Vaskelio/";
    QTest::newRow("unset: ~/.local/share") << false << ""
                                           << "~/.local/share/Vaskelio/";
    QTest::newRow("empty: ~/.local/share") << true << ""
                                           << "~/.local/share/Vaskelio/";
    QTest::newRow("relative is ignored") << true << "rel/share"
                                         << "~/.local/share/Vaskelio/";
}

void TestFolders::dataFolderFollowsXdgDataHome()
{
    QFETCH(bool, set);
    QFETCH(QString, xdg);
    QFETCH(QString, expected);
    const QByteArray value = xdg.toLocal8Bit();
    EnvGuard guard("XDG_DATA_HOME", set ? &value : nullptr);
    expected.replace(QLatin1Char('~'), QDir::homePath());
    QCOMPARE(datafolder(), expected);
}

void TestFolders::savesFolderHasNoTrailingSeparator()
{
    QCOMPARE(savesfolder(), datafolder() + QStringLiteral("saves"));
    QCOMPARE(savesfolder(QStringLiteral("/a/b")), QStringLiteral("/a/b/saves"));
    QCOMPARE(savesfolder(QStringLiteral("/a/b/")), QStringLiteral("/a/b/saves"));
}

void TestFolders::prepareCreatesBothFolders()
{
    QTemporaryDir root;
    // The share folder itself is missing too, as on a fresh account.
    const QString data = root.filePath(QStringLiteral("share/Vaskelio"));
    preparefolders(data);
    QVERIFY(QFileInfo(data).isDir());
    QVERIFY(QFileInfo(data + QStringLiteral("/saves")).isDir());
}

void TestFolders::prepareAddsMissingSaves()
{
    QTemporaryDir root;
    const QString data = root.filePath(QStringLiteral("Vaskelio"));
    QVERIFY(QDir().mkdir(data));
    QFile lists(data + QStringLiteral("/lists.txt"));
    QVERIFY(lists.open(QIODevice::WriteOnly));
    lists.write("kept");
    lists.close();

    preparefolders(data);
    QVERIFY(QFileInfo(data + QStringLiteral("/saves")).isDir());
    QVERIFY(lists.open(QIODevice::ReadOnly));
    QCOMPARE(lists.readAll(), QByteArray("kept"));
}

void TestFolders::prepareKeepsWhatExists()
{
    QTemporaryDir root;
    const QString data = root.filePath(QStringLiteral("Vaskelio"));
    QVERIFY(QDir().mkpath(data + QStringLiteral("/saves")));
    QFile game(data + QStringLiteral("/saves/game.wrd"));
    QVERIFY(game.open(QIODevice::WriteOnly));
    game.write("x");
    game.close();

    preparefolders(data);
    QVERIFY(QFile::exists(data + QStringLiteral("/saves/game.wrd")));
    QCOMPARE(QDir(data).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("saves")});
}

// A save killed between linking its new copy and renaming it leaves "NAME.wrd.XXXXXX" behind.
void TestFolders::prepareClearsOldSaveLeftovers()
{
    QTemporaryDir root;
    const QString saves = root.filePath(QStringLiteral("Vaskelio/saves/"));
    QVERIFY(QDir().mkpath(saves));
    const QDateTime old = QDateTime::currentDateTime().addSecs(-60);
    auto make = [&](const char *name, const QDateTime &when) {
        QFile file(saves + QLatin1String(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("\xFF\xFE");
        file.flush();
        QVERIFY(file.setFileTime(when, QFileDevice::FileModificationTime));
    };
    make("game.wrd", old);
    make("game.wrd.kWxiaT", old);                          // left by a killed save
    make("game.wrd.FewPpr", QDateTime::currentDateTime()); // perhaps still being written
    make("game.wrd.backup", old);                          // named by a person
    make("game.wrd.Backup", old);
    make("notes.txt.kWxiaT", old); // not a saved game's
    make("game.wrd.kWxia7", old);

    preparefolders(root.filePath(QStringLiteral("Vaskelio")));
    QStringList left = QDir(saves).entryList(QDir::Files);
    left.sort();
    QCOMPARE(left, (QStringList{"game.wrd", "game.wrd.Backup", "game.wrd.FewPpr", "game.wrd.backup",
                                "game.wrd.kWxia7", "notes.txt.kWxiaT"}));
}

void TestFolders::prepareSeedsAfterTheFolders()
{
    QTemporaryDir root;
    const QString data = root.filePath(QStringLiteral("Vaskelio"));
    QStringList seen;
    bool savesExisted = false;
    preparefolders(data, [&](const QString &folder) {
        seen.append(folder);
        savesExisted = QFileInfo(folder + QStringLiteral("saves")).isDir();
    });
    QCOMPARE(seen, QStringList{QDir::toNativeSeparators(data) + kSep});
    QVERIFY(savesExisted);
}

void TestFolders::prepareByDefaultUsesTheDataFolder()
{
    QTemporaryDir root;
    const QByteArray xdg = root.path().toLocal8Bit();
    EnvGuard guard("XDG_DATA_HOME", &xdg);
#if defined(Q_OS_WIN)
    QSKIP("the roaming application-data folder is the user's own");
#endif
    QVERIFY(!QFileInfo::exists(datafolder()));
    preparefolders();
    QVERIFY(QFileInfo(datafolder()).isDir());
    QVERIFY(QFileInfo(savesfolder()).isDir());
    QCOMPARE(datafolder(), root.path() + QStringLiteral("/Vaskelio/"));
}

void TestFolders::unwritableParentFailsSilently()
{
#if defined(Q_OS_WIN)
    QSKIP("permission bits do not stop folder creation on Windows");
#else
    if (geteuid() == 0)
        QSKIP("root ignores permissions, so no folder is unwritable for it");
    QTemporaryDir root;
    const QString parent = root.filePath(QStringLiteral("locked"));
    QVERIFY(QDir().mkdir(parent));
    QVERIFY(QFile::setPermissions(parent, QFile::ReadOwner | QFile::ExeOwner));
    const QString data = parent + QStringLiteral("/Vaskelio");
    int seeded = 0;
    preparefolders(data, [&](const QString &) { ++seeded; });
    QFile::setPermissions(parent, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QVERIFY(!QFileInfo::exists(data));
    QCOMPARE(seeded, 1);
#endif
}

void TestFolders::parentThatIsAFileFailsSilently()
{
    QTemporaryDir root;
    const QString parent = root.filePath(QStringLiteral("plain-file"));
    QFile file(parent);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    const QString data = parent + QStringLiteral("/Vaskelio");
    int seeded = 0;
    preparefolders(data, [&](const QString &) { ++seeded; });
    QVERIFY(!QFileInfo::exists(data));
    QVERIFY(QFileInfo(parent).isFile());
    // The seeding step still runs; it copes with the missing folder as it copes with a failed copy.
    QCOMPARE(seeded, 1);
}

VASKELIO_TEST_MAIN(TestFolders)
#include "tst_folders.moc"
