#include "i18n/texttable.h"
#include "sandbox.h"
#include "scriptedprompter.h"
#include "widgets/savefile.h"

#include <QFile>
#include <QTemporaryDir>

class TestPdfFile : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    TextTables texts;

    QString ask(ScriptedPrompter &prompter, const QString &title)
    {
        return askPdfFile(prompter, dir.path(), title, QStringLiteral("fallback"), texts);
    }

private slots:
    // The dialog starts on the title as a file name in the folder; a cancelled dialog asks
    // nothing more.
    void startsOnTheTitle()
    {
        ScriptedPrompter prompter;
        QVERIFY(ask(prompter, QStringLiteral("  Fruit/Veg  ")).isEmpty());
        QVERIFY(ask(prompter, QStringLiteral(" \t")).isEmpty());
        QCOMPARE(prompter.folders, (QStringList{dir.filePath(QStringLiteral("Fruit_Veg.pdf")),
                                                dir.filePath(QStringLiteral("fallback.pdf"))}));
        QVERIFY(prompter.questions.isEmpty());
        QVERIFY(prompter.messages.isEmpty());
    }

    // A new file is taken as it is, without a question.
    void newFile()
    {
        ScriptedPrompter prompter;
        const QString file = dir.filePath(QStringLiteral("new.pdf"));
        prompter.files.enqueue(file);
        prompter.answers.enqueue(false); // would refuse, were it asked
        QCOMPARE(ask(prompter, QStringLiteral("Title")), file);
        QVERIFY(prompter.questions.isEmpty());
        QVERIFY(!QFile::exists(file));
    }

    // A file that is there is replaced only on Yes, and is left as it was on No; the question
    // is asked in the language in force.
    void existingFile()
    {
        const QString file = dir.filePath(QStringLiteral("old.pdf"));
        QFile old(file);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old bytes");
        old.close();

        ScriptedPrompter prompter;
        prompter.files << file << file;
        prompter.answers << false << true;
        QVERIFY(ask(prompter, QStringLiteral("Title")).isEmpty());
        QCOMPARE(ask(prompter, QStringLiteral("Title")), file);
        QCOMPARE(prompter.questions, QStringList(2, texts.uitext(QStringLiteral("msgoverride"))));
        QVERIFY(!prompter.questions.constFirst().isEmpty());
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("old bytes"));
        old.close();

        texts.setLangid(1);
        texts.selectLanguage();
        prompter.files.enqueue(file);
        QVERIFY(ask(prompter, QStringLiteral("Title")).isEmpty());
        QCOMPARE(prompter.questions.constLast(),
                 texts.lang(1).value(QStringLiteral("msgoverride")));
        QVERIFY(prompter.questions.constLast() != prompter.questions.constFirst());
    }
};

VASKELIO_GUI_TEST_MAIN(TestPdfFile)
#include "tst_pdffile.moc"
