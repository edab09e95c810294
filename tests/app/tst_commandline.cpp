#include "sandbox.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {
struct Run {
    int exitCode = -1;
    QString out, err;
};

Run run(const QString &program, const QStringList &args,
        const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(program, args);
    Run result;
    // A window that opened by mistake never ends by itself.
    if (!process.waitForFinished(20000)) {
        process.kill();
        process.waitForFinished();
        result.err = QStringLiteral("still running after 20 s");
        return result;
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err += QString::fromUtf8(process.readAllStandardError());
    return result;
}

// A display that cannot be reached, whatever the machine running the tests has.
QProcessEnvironment withoutDisplay()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.insert(QStringLiteral("DISPLAY"), QStringLiteral(":9999"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    return env;
}

// One line of spaces and text, whatever the line breaks and indentation; the first letter in
// lower case and the full stop dropped, as a manual's sentence and a usage line differ there.
QString sentence(QString text)
{
    text = text.simplified();
    if (text.endsWith(u'.'))
        text.chop(1);
    if (!text.isEmpty())
        text[0] = text[0].toLower();
    return text;
}

// What a roff line shows: without its font changes and with \- as a hyphen.
QString unroff(QString line)
{
    static const QRegularExpression font(QStringLiteral("\\\\f[BIRP]"));
    return line.remove(font).replace(QStringLiteral("\\-"), QStringLiteral("-"));
}

// The description of command in the --help text: its line and the indented lines under it.
QString helpparagraph(const QString &help, const QString &command)
{
    QStringList parts;
    bool inside = false;
    for (const QString &line : help.split(u'\n')) {
        if (!inside && line.startsWith(command + u' ')) {
            inside = true;
            parts.append(line.mid(command.size()));
        } else if (inside && line.startsWith(QStringLiteral("         "))) {
            parts.append(line);
        } else if (inside) {
            break;
        }
    }
    return sentence(parts.join(u' '));
}

// The description of command in the COMMANDS section of the manual: the text lines after its
// tag, up to the next request.
QString manparagraph(const QString &man, const QString &command)
{
    const QRegularExpression tag(QStringLiteral("^\\.BI? \"?%1\\b").arg(command));
    QStringList parts;
    bool commands = false, inside = false;
    for (const QString &line : man.split(u'\n')) {
        if (inside && line.startsWith(u'.'))
            break;
        if (line.startsWith(QStringLiteral(".SH")))
            commands = line == QStringLiteral(".SH COMMANDS");
        else if (commands && !inside && tag.match(line).hasMatch())
            inside = true;
        else if (inside)
            parts.append(unroff(line));
    }
    return sentence(parts.join(u' '));
}

// The commands a synopsis names: the word after "vaskelio-share" that is not an option.
QStringList synopsis(const QString &text, const QRegularExpression &line)
{
    QStringList commands;
    for (const QString &l : text.split(u'\n'))
        if (const QRegularExpressionMatch m = line.match(unroff(l)); m.hasMatch())
            commands.append(m.captured(1));
    return commands;
}
} // namespace

class TestCommandLine : public QObject {
    Q_OBJECT

private slots:
    void answersWithoutAWindow_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        const QString game = QStringLiteral(VASKELIO_GAME), bank = QStringLiteral(VASKELIO_BANK);
        // Without a display, so that any window the game tried to open would fail the row.
        QTest::newRow("game --help") << game << QStringList{"--help"} << 0 << "--version"
                                     << "";
        QTest::newRow("game -h") << game << QStringList{"-h"} << 0 << "--help"
                                 << "";
        QTest::newRow("game --version") << game << QStringList{"--version"} << 0 << "vaskelio 3."
                                        << "";
        QTest::newRow("game toolkit option passes")
            << game << QStringList{"-style", "fusion", "-v"} << 0 << "vaskelio 3."
            << "";
        QTest::newRow("game unknown option") << game << QStringList{"--frobnicate"} << 2 << ""
                                             << "Unknown option 'frobnicate'";
        QTest::newRow("game stray argument") << game << QStringList{"game.wrd"} << 2 << ""
                                             << "unexpected argument 'game.wrd'";
        QTest::newRow("new game of no list")
            << game << QStringList{"--new-game", "--list", "Nope"} << 2 << ""
            << "no word list is titled 'Nope'; the lists are '";
        QTest::newRow("new game and worksheets")
            << game << QStringList{"--new-game", "--worksheets", "x.pdf", "--list", "Fruit"} << 2
            << ""
            << "go one at a time";
        QTest::newRow("new game bad level")
            << game << QStringList{"--new-game", "--list", "Fruit", "--level", "9"} << 2 << ""
            << "--level must be 0 to 4";
        QTest::newRow("bank --help") << bank << QStringList{"--help"} << 0 << "verify FILE"
                                     << "";
        QTest::newRow("bank --version")
            << bank << QStringList{"--version"} << 0 << "vaskelio-bank 3."
            << "";
        QTest::newRow("bank unknown option") << bank << QStringList{"--frobnicate"} << 2 << ""
                                             << "Unknown option 'frobnicate'";
        QTest::newRow("bank unknown command") << bank << QStringList{"frobnicate"} << 2 << ""
                                              << "unknown command 'frobnicate'";
        QTest::newRow("bank no command") << bank << QStringList{} << 2 << ""
                                         << "name a command";
    }
    void answersWithoutAWindow()
    {
        QFETCH(QString, program);
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QString, out);
        QFETCH(QString, err);
        const Run result = run(program, args, withoutDisplay());
        QVERIFY2(result.exitCode == exitCode, qPrintable(result.err));
        QVERIFY2(result.out.contains(out), qPrintable(result.out));
        QVERIFY2(result.err.contains(err), qPrintable(result.err));
        if (exitCode == 0)
            QVERIFY2(result.err.isEmpty(), qPrintable(result.err));
    }

    // Qt's own report ends in an abort and advice to reinstall; ours is one plain line.
    void gameWithoutADisplaySaysSoInOneLine()
    {
        const Run result = run(QStringLiteral(VASKELIO_GAME), {}, withoutDisplay());
        QCOMPARE(result.exitCode, 1);
        QCOMPARE(result.err.count(u'\n'), 1);
        QVERIFY2(result.err.contains(QStringLiteral("needs a desktop session")),
                 qPrintable(result.err));
        QVERIFY(!result.err.contains(QStringLiteral("einstall")));
        // The command given is one that works: the program as it was started, not one installed.
        QVERIFY2(result.err.endsWith(QStringLiteral("xvfb-run -a " VASKELIO_GAME "\n")),
                 qPrintable(result.err));
        QTemporaryDir dir;
        const QString odd = dir.filePath(QStringLiteral("it's here"));
        QVERIFY(QFile::link(QStringLiteral(VASKELIO_GAME), odd));
        const Run quoted = run(odd, {}, withoutDisplay());
        QCOMPARE(quoted.exitCode, 1);
        QVERIFY2(
            quoted.err.endsWith(QStringLiteral("xvfb-run -a '%1/it'\\''s here'\n").arg(dir.path())),
            qPrintable(quoted.err));
    }

#ifdef VASKELIO_SHARE
    // The manual page says what --help says of the review commands, in the same words, and
    // names the same commands.
    void shareManualAgreesWithHelp()
    {
        const Run help = run(QStringLiteral(VASKELIO_SHARE), {"--help"});
        QCOMPARE(help.exitCode, 0);
        QFile page(QStringLiteral(VASKELIO_SOURCE_DIR "/doc/man/vaskelio-share.8"));
        QVERIFY(page.open(QIODevice::ReadOnly | QIODevice::Text));
        const QString man = QString::fromUtf8(page.readAll());
        for (const QString command : {"pending", "approve", "reject"}) {
            const QString said = helpparagraph(help.out, command);
            QVERIFY2(said.size() > 20, qPrintable(command));
            QCOMPARE(manparagraph(man, command), said);
        }
        const QStringList commands = synopsis(
            help.out, QRegularExpression(QStringLiteral("^(?:usage:)? +vaskelio-share ([a-z]+) ")));
        QCOMPARE(commands, (QStringList{"serve", "pending", "approve", "reject"}));
        QCOMPARE(
            synopsis(man, QRegularExpression(QStringLiteral("^\\.B vaskelio-share ([a-z]+) "))),
            commands);
    }
#endif

    // An installed tree: programs in bin, the components in the library folder, the seed word
    // lists in share/vaskelio, found there by the installed game at its first start.
    void installedTreeSeedsTheWordLists()
    {
        QTemporaryDir prefix;
        const Run install =
            run(QStringLiteral("cmake"), {"--install", QStringLiteral(VASKELIO_BINARY_DIR),
                                          "--prefix", prefix.path(), "--component", "game"});
        QVERIFY2(install.exitCode == 0, qPrintable(install.err));
        const QString bin = prefix.filePath(QStringLiteral("bin/"));
        for (const char *name : {"vaskelio", "vaskelio-bank"})
            QVERIFY2(QFileInfo(bin + QLatin1String(name)).isExecutable(), name);
        QVERIFY(!QFile::exists(bin + QStringLiteral("lists.txt")));
        QVERIFY(QFile::exists(prefix.filePath(QStringLiteral("share/vaskelio/lists.txt"))));
        for (const char *name : {"vaskelio-network.so", "vaskelio-print.so"}) {
            QVERIFY2(
                QFile::exists(prefix.filePath(QStringLiteral(VASKELIO_INSTALL_LIBDIR "/vaskelio/") +
                                              QLatin1String(name))),
                name);
            QVERIFY2(!QFile::exists(bin + QLatin1String(name)), name);
        }

        QTemporaryDir home;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        QProcess game;
        game.setProcessEnvironment(env);
        game.start(bin + QStringLiteral("vaskelio"), {});
        QVERIFY(game.waitForStarted());
        const QString seeded = home.filePath(QStringLiteral("data/Vaskelio/lists.txt"));
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(seeded).size() > 0, 15000);
        game.kill();
        game.waitForFinished();
        QFile seed(prefix.filePath(QStringLiteral("share/vaskelio/lists.txt"))), copy(seeded);
        QVERIFY(seed.open(QIODevice::ReadOnly) && copy.open(QIODevice::ReadOnly));
        QCOMPARE(copy.readAll(), seed.readAll());
    }
};

VASKELIO_TEST_MAIN(TestCommandLine)
#include "tst_commandline.moc"
