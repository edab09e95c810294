#include "sandbox.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

namespace {
struct Run {
    int exitCode = -1;
    QStringList out;
    QString err;
};

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// An Anki text export of a deck with count words.
QByteArray deck(const char *name, int count)
{
    QByteArray text = QByteArray("#separator:tab\n#html:true\n#deck:") + name + '\n';
    for (int n = 1; n <= count; ++n)
        text += QByteArray(name) + QByteArray::number(n) + "\tmeaning\n";
    return text;
}
} // namespace

class TestImportCommand : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    // Its own data folder, so each test starts from the seed.
    QTemporaryDir data;

    QString listsFile() const { return data.filePath(QStringLiteral("Vaskelio/lists.txt")); }

    QString write(const QString &name, const QByteArray &bytes)
    {
        const QString path = dir.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) < 0)
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    // fileSize: the largest file the program may write, -1 for no limit.
    Run import(const QString &file, qint64 fileSize = -1)
    {
        QProcess process;
        if (fileSize >= 0) {
            process.setChildProcessModifier([fileSize] {
                std::signal(SIGXFSZ, SIG_IGN);
                const rlimit limit{rlim_t(fileSize), rlim_t(fileSize)};
                setrlimit(RLIMIT_FSIZE, &limit);
            });
        }
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_DATA_HOME"), data.path());
        // No window, so no display is needed.
        env.insert(QStringLiteral("DISPLAY"), QStringLiteral(":9999"));
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(VASKELIO_GAME), {QStringLiteral("--import"), file});
        Run run;
        if (!process.waitForFinished(20000)) {
            process.kill();
            process.waitForFinished();
            return run;
        }
        run.exitCode = process.exitCode();
        run.out = QString::fromUtf8(process.readAllStandardOutput()).split(u'\n');
        run.out.removeAll(QString());
        run.err = QString::fromUtf8(process.readAllStandardError());
        return run;
    }

private slots:
    void init() { QFile::remove(listsFile()); }

    // A list per nine notes, a line for each list and each note left out; the lists are in
    // lists.txt, after the seed's.
    void addsLists()
    {
        const QByteArray seed = bytesOf(QStringLiteral(VASKELIO_GAME).section(u'/', 0, -2) +
                                        QStringLiteral("/lists.txt"));
        const Run run = import(write(QStringLiteral("verbs.txt"), deck("Verbs", 19)));
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out,
                 (QStringList{"Added the list \"Verbs 1\"", "Added the list \"Verbs 2\"",
                              "Line 22, \"Verbs19\": left over: fewer than nine words remain "
                              "for another list"}));
        QVERIFY2(run.err.isEmpty(), qPrintable(run.err));
        const QByteArray bytes = bytesOf(listsFile());
        QVERIFY(bytes.size() > seed.size());
        QVERIFY(bytes.startsWith(seed.chopped(2)));
        const QString lists = QString::fromUtf16(
            reinterpret_cast<const char16_t *>(bytes.constData() + 2), (bytes.size() - 2) / 2);
        QVERIFY(lists.contains(QStringLiteral("<<Verbs 2\r\nVerbs10\r\n")));
        // Again: both titles are taken now, so nothing is added.
        const Run again = import(write(QStringLiteral("verbs.txt"), deck("Verbs", 18)));
        QCOMPARE(again.exitCode, 2);
        QCOMPARE(again.out.size(), 2);
        QVERIFY(again.out.at(0).startsWith(QStringLiteral("The list \"Verbs 1\" was not added")));
    }

    void refusals_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("error");
        QTest::newRow("too few notes") << deck("Few", 5) << "few.txt"
                                       << "No list was added";
        QTest::newRow("binary") << QByteArray("\x7f"
                                              "ELF\x02\x01\x01\0\0\0\0\0",
                                              12)
                                << "x.bin"
                                << "Vaskelio does not read this kind of file";
        QTest::newRow("not a package") << QByteArray("plain") << "p.apkg"
                                       << "The Anki package cannot be read";
        QTest::newRow("missing") << QByteArray() << ""
                                 << "No list was added";
    }
    // Exit 2 with the reason; lists.txt as it was.
    void refusals()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, name);
        QFETCH(QString, error);
        const QString file =
            name.isEmpty() ? dir.filePath(QStringLiteral("absent.txt")) : write(name, bytes);
        const Run run = import(file);
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.err.startsWith(QStringLiteral("vaskelio: ")), qPrintable(run.err));
        QVERIFY2(run.err.contains(error), qPrintable(run.err));
        QVERIFY(!bytesOf(listsFile()).contains(QByteArray("F\0e\0w\0", 6)));
    }

    // A lists.txt that cannot be rewritten: exit 1, the file byte for byte as it was.
    void failedWriteKeepsListsTxt()
    {
        QCOMPARE(import(write(QStringLiteral("a.txt"), deck("Alpha", 9))).exitCode, 0);
        const QByteArray before = bytesOf(listsFile());
        const Run run =
            import(write(QStringLiteral("b.txt"), deck("Beta", 9)), qint64(before.size()));
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains(QStringLiteral("Cannot create file")), qPrintable(run.err));
        QVERIFY(run.out.isEmpty());
        QCOMPARE(bytesOf(listsFile()), before);
    }
};

VASKELIO_TEST_MAIN(TestImportCommand)
#include "tst_importcommand.moc"
