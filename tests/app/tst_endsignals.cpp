#include "sandbox.h"
#include "storage/autosave.h"
#include "storage/folders.h"
#include "storage/savedgame.h"
#include "testfiles.h"
#include "text/textfile.h"

#include <QProcess>
#include <QSettings>
#include <QtTest>

#include <csignal>
#include <sys/stat.h>

namespace {
// The same game as UTF-8 text: the game reads it, and writes UTF-16 only when it keeps it.
QByteArray asUtf8(const SavedGame &game)
{
    const QByteArray utf16 = game.toBytes().mid(2);
    const QString text =
        QString::fromUtf16(reinterpret_cast<const char16_t *>(utf16.constData()), utf16.size() / 2);
    return QByteArrayLiteral("\xEF\xBB\xBF") + text.toUtf8();
}

// A file written whole is a new file: the old name on a new node.
ino_t fileNode(const QString &path)
{
    struct stat info = {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_ino : 0;
}

// The settings as the game stores them natively here.
QString settingsFile()
{
    return qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/Morvane/Vaskelio.conf");
}
} // namespace

// The desktop ends its session with SIGTERM (a terminal that closes, SIGHUP): the game ends as
// on Close, its settings and its game written.
class TestEndSignals : public QObject {
    Q_OBJECT

    SavedGame game;

    // Starts the game, waits until it has resumed the kept game (it writes the file afresh at
    // once), then sends the signal. True when it ended by itself, normally.
    bool endWith(int signal, QString *why)
    {
        const ino_t before = fileNode(autosavefile());
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(VASKELIO_GAME), {});
        if (!process.waitForStarted()) {
            *why = process.errorString();
            return false;
        }
        bool resumed = false;
        for (int waited = 0; waited < 200 && !resumed; ++waited) {
            QTest::qWait(100);
            resumed = fileNode(autosavefile()) != before;
        }
        resumed = resumed && bytesOf(autosavefile()) == game.toBytes();
        // Only the ending can make it right again now.
        const bool stale = writewholefile(autosavefile(), asUtf8(game)).ok();
        ::kill(pid_t(process.processId()), signal);
        const bool ended = process.waitForFinished(20000);
        if (!ended)
            process.kill();
        process.waitForFinished();
        *why = QStringLiteral("resumed %1, stale %2, ended %3, status %4, code %5: %6")
                   .arg(resumed)
                   .arg(stale)
                   .arg(ended)
                   .arg(process.exitStatus())
                   .arg(process.exitCode())
                   .arg(QString::fromUtf8(process.readAllStandardError()));
        return resumed && stale && ended && process.exitStatus() == QProcess::NormalExit &&
               process.exitCode() == 0;
    }

private slots:
    void initTestCase()
    {
        const auto read = readSavedGame(QStringLiteral(VASKELIO_TEST_DATA "/savedgames/"
                                                                          "hard_game.wrd"));
        QVERIFY(read.ok());
        game = *read;
    }

    void theGameEndsAsOnClose_data()
    {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGTERM") << int(SIGTERM);
        QTest::newRow("SIGHUP") << int(SIGHUP);
    }
    void theGameEndsAsOnClose()
    {
        QFETCH(int, signal);
        QFile::remove(settingsFile());
        QDir(datafolder()).removeRecursively();
        QVERIFY(QDir().mkpath(savesfolder()));
        QVERIFY(writewholefile(autosavefile(), asUtf8(game)));
        // Something the game corrects when it writes its settings.
        {
            QSettings stored(settingsFile(), QSettings::IniFormat);
            stored.setValue(QStringLiteral("langid"), QStringLiteral("2"));
            stored.setValue(QStringLiteral("new game level"), QStringLiteral("nine"));
        }

        QString why;
        QVERIFY2(endWith(signal, &why), qPrintable(why));
        QCOMPARE(bytesOf(autosavefile()), game.toBytes());
        QSettings stored(settingsFile(), QSettings::IniFormat);
        QCOMPARE(stored.value(QStringLiteral("new game level")).toString(), QStringLiteral("0"));
        QCOMPARE(stored.value(QStringLiteral("langid")).toString(), QStringLiteral("2"));
        QCOMPARE(stored.value(QStringLiteral("resume game")).toString(), QStringLiteral("1"));

        // Started again, it resumes the game the signal kept, and ends the same way.
        QVERIFY2(endWith(signal, &why), qPrintable(why));
        QCOMPARE(bytesOf(autosavefile()), game.toBytes());
    }
};

VASKELIO_TEST_MAIN(TestEndSignals)
#include "tst_endsignals.moc"
