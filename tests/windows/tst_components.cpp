// The optional components (printing, the network client) are plugins loaded at their first use:
// found in the build tree they work, missing or broken they are named in a plain message and
// the game goes on.
#include "listdialogs/frmsubmit.h"
#include "listdialogs/frmwordlist.h"
#include "listdialogs/shareclient.h"
#include "print/componentprinter.h"
#include "programfixture.h"
#include "sandbox.h"
#include "widgets/components.h"
#include "windows/mainwindow.h"

#include <QLineEdit>
#include <QPrinterInfo>
#include <QTemporaryDir>

namespace {
const QString notPrinted = QStringLiteral("The game was not printed.\n");
const QString notSubmitted = QStringLiteral("Submit wrongly, no success for publishing\n");

QString missing(const char *file)
{
    return QStringLiteral("A part of Vaskelio is missing or cannot be loaded: %1. Install "
                          "Vaskelio again to use it.")
        .arg(QLatin1String(file));
}
} // namespace

class TestComponents : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QTemporaryDir empty;
    std::unique_ptr<ProgramFixture> fixture;

    QStringList &messages() { return fixture->prompter.messages; }

    // The program, its components looked for in folder.
    void start(const QString &folder)
    {
        QFile::remove(dir.filePath(QStringLiteral("s.ini")));
        fixture = std::make_unique<ProgramFixture>(dir.filePath(QStringLiteral("s.ini")));
        setcomponentfolders({folder});
        fixture->program->makewindows();
        messages().clear();
    }

private slots:
    void cleanup()
    {
        fixture.reset();
        setcomponentfolders({});
    }

    void defaultFolders()
    {
        const QStringList folders = componentfolders();
        QVERIFY(!folders.isEmpty());
        QCOMPARE(folders.first(), QCoreApplication::applicationDirPath());
#ifndef Q_OS_WIN
        // Installed on Linux: the library folder, found from the program's folder.
        QCOMPARE(folders.size(), 2);
        QVERIFY(folders.at(1).endsWith(QStringLiteral("/vaskelio")));
        QVERIFY(folders.at(1).contains(QStringLiteral("/lib")));
#endif
    }

    void builtComponentsLoad()
    {
        setcomponentfolders({QStringLiteral(VASKELIO_COMPONENT_DIR)});
        auto *printing = loadcomponent<PagePrinterFactory>(QString::fromLatin1(kPrintComponent));
        QVERIFY(printing);
        QVERIFY(printing->newPagePrinter());
        auto *network = loadcomponent<ShareClientFactory>(QString::fromLatin1(kNetworkComponent));
        QVERIFY(network);
        QVERIFY(network->newShareClient());
        // Loaded once: the same root object again.
        QCOMPARE(loadcomponent<ShareClientFactory>(QString::fromLatin1(kNetworkComponent)),
                 network);
        // Neither stands in for the other.
        QVERIFY(!loadcomponent<ShareClientFactory>(QString::fromLatin1(kPrintComponent)));
    }

    void printGoesThroughTheComponent()
    {
        start(QStringLiteral(VASKELIO_COMPONENT_DIR));
        if (!QPrinterInfo::defaultPrinter().isNull())
            QSKIP("this system has a default printer");
        // The component's own answer arrives: there is no printer here.
        fixture->main().tbprintClick();
        QCOMPARE(messages().size(), 1);
        QVERIFY(messages().at(0).startsWith(notPrinted));
        QVERIFY(messages().at(0).contains(QStringLiteral("no default printer")));
    }

    void missingComponent_data()
    {
        QTest::addColumn<bool>("broken");
        QTest::newRow("missing") << false;
        // A file of the right name that is no library.
        QTest::newRow("broken") << true;
    }
    void missingComponent()
    {
        QFETCH(bool, broken);
        QTemporaryDir folder;
        if (broken) {
            for (const char *name : {kPrintComponent, kNetworkComponent}) {
                QFile file(QDir(folder.path()).filePath(componentfile(QLatin1String(name))));
                QVERIFY(file.open(QIODevice::WriteOnly));
                file.write("not a library\n");
            }
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("vaskelio-")));
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("vaskelio-")));
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("vaskelio-")));
        }
        start(folder.path());
        TaaForm1 &main = fixture->main();
        main.tbprintClick();
        QCOMPARE(messages(), QStringList{notPrinted + missing("vaskelio-print.so")});

        // From Share List says so and opens no dialog.
        messages().clear();
        Tfrmwordlist &wordlist = fixture->program->frmwordlist();
        wordlist.Button1Click();
        QCOMPARE(messages(), QStringList{missing("vaskelio-network.so")});
        QVERIFY(!QApplication::activeModalWidget());

        // Submit Now says so under its failure and stays open to try again.
        messages().clear();
        wordlist.box(0)->setText(QStringLiteral("Colours"));
        for (int k = 1; k <= 9; ++k)
            wordlist.box(k)->setText(QStringLiteral("word%1").arg(k));
        Tfrmsubmit &submit = fixture->program->frmsubmit();
        submit.edtname()->setText(QStringLiteral("Ann"));
        submit.Button1Click();
        QCOMPARE(messages(), QStringList{notSubmitted + missing("vaskelio-network.so")});
        QVERIFY(!submit.sending());
        QVERIFY(submit.isEnabled());

        // The game went on: a new game still starts.
        QVERIFY(main.newgame(1, WordSet::fromTexts(QStringLiteral("t"), testWords())));
    }

    void missingInEveryLanguage_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("text");
        QTest::newRow("Chinese") << int(Qt::Key_F2)
                                 << QStringLiteral(
                                        "Vaskelio 的组件缺失或无法载入：vaskelio-print.so。"
                                        "请重新安装 Vaskelio 后再使用。");
        QTest::newRow("Japanese")
            << int(Qt::Key_F3)
            << QStringLiteral("Vaskelio の部品が見つからないか読み込めません：vaskelio-print.so。"
                              "使うには Vaskelio を再インストールしてください。");
    }
    void missingInEveryLanguage()
    {
        QFETCH(int, key);
        QFETCH(QString, text);
        start(empty.path());
        fixture->main().keydown(key);
        fixture->main().tbprintClick();
        QCOMPARE(messages().size(), 1);
        QVERIFY(messages().at(0).endsWith(u'\n' + text));
    }
};

VASKELIO_GUI_TEST_MAIN(TestComponents)
#include "tst_components.moc"
