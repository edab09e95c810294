#pragma once

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

#include <pwd.h>
#include <unistd.h>

// A throwaway PostgreSQL cluster for the storage tests: initdb and pg_ctl of the installed
// server in a temporary folder, listening only on a Unix socket in that folder, stopped when
// the object goes. PostgreSQL refuses to run as root, so under root (as in CI) the cluster
// belongs to the unprivileged user "nobody" and its programs run through runuser.
class PgCluster {
public:
    // The folder of initdb and pg_ctl of the newest installed server; empty when none is.
    static QString bindir()
    {
        const QDir versions(QStringLiteral("/usr/lib/postgresql"));
        QStringList found = versions.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        std::sort(found.begin(), found.end(),
                  [](const QString &a, const QString &b) { return a.toInt() > b.toInt(); });
        for (const QString &version : found) {
            const QString bin = versions.filePath(version + QStringLiteral("/bin"));
            if (QFile::exists(bin + QStringLiteral("/initdb")) &&
                QFile::exists(bin + QStringLiteral("/pg_ctl")))
                return bin;
        }
        return {};
    }

    PgCluster()
    {
        bin_ = bindir();
        if (bin_.isEmpty() || !dir_.isValid()) {
            error_ = QStringLiteral("no PostgreSQL server installed");
            return;
        }
        if (geteuid() == 0) {
            const passwd *nobody = getpwnam("nobody");
            if (!nobody || chown(QFile::encodeName(dir_.path()).constData(), nobody->pw_uid,
                                 nobody->pw_gid) != 0) {
                error_ = QStringLiteral("cannot hand the cluster's folder to nobody");
                return;
            }
            asNobody_ = true;
        }
        if (!run(QStringLiteral("initdb"), {"-D", data(), "-U", "vaskelio", "-A", "trust", "-E",
                                            "UTF8", "--locale=C", "--no-sync"}) ||
            !run(QStringLiteral("pg_ctl"),
                 {"-D", data(), "-l", dir_.filePath(QStringLiteral("log")), "-w", "-o",
                  QStringLiteral("-c listen_addresses='' -k %1 -p %2 -c fsync=off")
                      .arg(dir_.path())
                      .arg(kPort),
                  "start"}))
            return;
        started_ = true;
    }
    ~PgCluster()
    {
        if (started_)
            run(QStringLiteral("pg_ctl"), {"-D", data(), "-m", "immediate", "-w", "stop"});
    }
    PgCluster(const PgCluster &) = delete;
    PgCluster &operator=(const PgCluster &) = delete;

    bool running() const { return started_; }
    QString error() const { return error_; }

    // A new empty database, as the URI the service takes.
    QString newdatabase()
    {
        const QString name = QStringLiteral("t%1").arg(++databases_);
        if (!run(QStringLiteral("createdb"),
                 {"-h", dir_.path(), "-p", QString::number(kPort), "-U", "vaskelio", name}))
            return {};
        return QStringLiteral("postgresql://vaskelio@/%1?host=%2&port=%3")
            .arg(name, dir_.path())
            .arg(kPort);
    }

    // SQL run by psql on a database of newdatabase(); true when it succeeded.
    bool psql(const QString &uri, const QString &sql)
    {
        return run(QStringLiteral("psql"), {"-v", "ON_ERROR_STOP=1", "-q", "-d", uri, "-c", sql});
    }

private:
    static constexpr int kPort = 5432; // only names the socket in the folder

    QString data() const { return dir_.filePath(QStringLiteral("data")); }

    bool run(const QString &program, const QStringList &arguments)
    {
        QProcess process;
        process.setWorkingDirectory(dir_.path());
        const QString path = bin_ + u'/' + program;
        if (asNobody_)
            process.start(QStringLiteral("runuser"),
                          QStringList{"-u", "nobody", "--", path} + arguments);
        else
            process.start(path, arguments);
        const bool ok = process.waitForFinished(120000) &&
                        process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
        if (!ok)
            error_ = program + QStringLiteral(": ") +
                     QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
        return ok;
    }

    QTemporaryDir dir_;
    QString bin_;
    QString error_;
    bool asNobody_ = false;
    bool started_ = false;
    int databases_ = 0;
};

// Where the storage tests keep their lists: SQLite files, or a PostgreSQL cluster of their own
// when the environment variable VASKELIO_TEST_STORE is "postgresql" (ctest runs each storage
// test both ways).
class TestStores {
public:
    static bool postgresql() { return qgetenv("VASKELIO_TEST_STORE") == "postgresql"; }

    // For initTestCase: false (with the reason) when the stores cannot be had.
    bool start(QString &reason)
    {
        if (!postgresql())
            return true;
        cluster_ = std::make_unique<PgCluster>();
        reason = cluster_->error();
        return cluster_->running();
    }
    // A new empty store: an SQLite path or a PostgreSQL URI.
    QString newstore()
    {
        if (cluster_)
            return cluster_->newdatabase();
        return dir_.filePath(QStringLiteral("s%1.db").arg(++files_));
    }
    PgCluster *cluster() const { return cluster_.get(); }

private:
    QTemporaryDir dir_;
    std::unique_ptr<PgCluster> cluster_;
    int files_ = 0;
};

// Starts the stores of a storage test, or skips the whole test when PostgreSQL is asked for but
// its server is not installed.
#define VASKELIO_START_STORES(stores)                                                              \
    do {                                                                                           \
        if (TestStores::postgresql() && PgCluster::bindir().isEmpty())                             \
            QSKIP("PostgreSQL tests need the server programs (Debian package postgresql)");        \
        QString reason;                                                                            \
        QVERIFY2((stores).start(reason), qPrintable(reason));                                      \
    } while (false)
