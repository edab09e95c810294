#include "programfixture.h"
#include "sandbox.h"
#include "widgets/radiogroup.h"
#include "windows/frmabout.h"
#include "windows/mainwindow.h"
#include "windows/translationeditor.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStringDecoder>
#include <QTemporaryDir>

namespace {
QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

void editValue(TableGrid *grid, int row, const QString &value)
{
    grid->item(row, 1)->setText(value);
}
} // namespace

class TestTranslationEditor : public QObject {
    Q_OBJECT

    QTemporaryDir programFolder;
    QTemporaryDir workFolder;

private slots:
    void initTestCase() { QDir::setCurrent(workFolder.path()); }

    void pagesAndWorkingTables()
    {
        TextTables tables;
        TranslationEditor editor(tables, programFolder.path() + QLatin1Char('/'));
        QCOMPARE(editor.count(), 3);
        QCOMPARE(editor.tabText(0), QStringLiteral("TabSheet5"));
        QCOMPARE(editor.tabText(2), QStringLiteral("Japannese"));
        QCOMPARE(editor.currentIndex(), 2);
        const QStringList start{QStringLiteral("btstartnewgame.caption=Start New Game")};
        QCOMPARE(editor.zw().lines(), start);
        QCOMPARE(editor.yw().lines(), start);
        QCOMPARE(editor.grid("lang1")->rowCount(), 290);
        QCOMPARE(editor.grid("zw")->horizontalHeaderItem(1)->text(), QStringLiteral("中文"));
        // Keys are not editable, values are.
        QVERIFY(!(editor.grid("lang0")->item(0, 0)->flags() & Qt::ItemIsEditable));
        QVERIFY(editor.grid("lang0")->item(0, 1)->flags() & Qt::ItemIsEditable);
    }

    // An edit of a built-in table reaches lookups at the next language switch; an edit of
    // the current table at once.
    void editsReachTheLookups()
    {
        TextTables tables;
        TranslationEditor editor(tables, programFolder.path() + QLatin1Char('/'));
        TableGrid *lang1 = editor.grid("lang1");
        const int row = tables.lang(1).indexOf(QStringLiteral("msgcheckok"));
        editValue(lang1, row, QStringLiteral("一切正常"));
        QCOMPARE(tables.uitext(QStringLiteral("msgcheckok")),
                 QStringLiteral("Sudoku is OK so far"));
        tables.setLangid(1);
        tables.selectLanguage();
        QCOMPARE(tables.uitext(QStringLiteral("msgcheckok")), QStringLiteral("一切正常"));

        editor.reloadAll();
        const int vlRow = tables.vl().indexOf(QStringLiteral("msgeasy"));
        editValue(editor.grid("vl"), vlRow, QStringLiteral("容易 = easy"));
        QCOMPARE(tables.uitext(QStringLiteral("msgeasy")), QStringLiteral("容易 = easy"));
    }

    void appendAndDelete()
    {
        TextTables tables;
        TranslationEditor editor(tables, programFolder.path() + QLatin1Char('/'));
        editor.keyBox()->setText(QStringLiteral("frmnew.key"));
        editor.Button2Click();
        editor.keyBox()->clear();
        editor.Button2Click(); // any text, the empty one included
        QCOMPARE(editor.zw().lines().size(), 3);
        QCOMPARE(editor.yw().lines().at(1), QStringLiteral("frmnew.key="));
        QCOMPARE(editor.yw().lines().at(2), QStringLiteral("="));

        editor.grid("zw")->setCurrentCell(1, 0);
        editor.zwClick();
        QCOMPARE(editor.grid("yw")->currentRow(), 1);
        editor.Button4Click();
        QCOMPARE(editor.zw().lines().size(), 2);
        QCOMPARE(editor.yw().lines().size(), 2);
        QCOMPARE(editor.zw().lines().at(1), QStringLiteral("="));

        // With the English table shorter, only the Chinese entry goes, and nothing breaks.
        editor.yw().lines().removeLast();
        editor.reloadAll();
        editor.grid("zw")->setCurrentCell(1, 0);
        editor.Button4Click();
        QCOMPARE(editor.zw().lines().size(), 1);
        QCOMPARE(editor.yw().lines().size(), 1);
    }

    void saveWritesPlainLinesInTheWorkingFolder()
    {
        TextTables tables;
        TranslationEditor editor(tables, programFolder.path() + QLatin1Char('/'));
        editor.zw().lines() << QStringLiteral("msgx=甲");
        const Status saved = editor.Button1Click();
        QVERIFY2(saved, qPrintable(saved.error()));
        const QByteArray zw = bytesOf(workFolder.filePath(QStringLiteral("lang1.txt")));
        QVERIFY(!zw.startsWith("\xEF\xBB\xBF") && !zw.startsWith("\xFF\xFE"));
        // The system's code page decides how 甲 comes out; the rest is plain bytes.
        QVERIFY(zw.startsWith("btstartnewgame.caption=Start New Game\r\nmsgx="));
        QVERIFY(zw.endsWith("\r\n"));
        QCOMPARE(zw.count("\r\n"), 2);
        QCOMPARE(bytesOf(workFolder.filePath(QStringLiteral("lang0.txt"))),
                 QByteArray("btstartnewgame.caption=Start New Game\r\n"));
    }

    void openReadsTheProgramFolder()
    {
        TextTables tables;
        const QString folder = programFolder.path() + QLatin1Char('/');
        TranslationEditor editor(tables, folder);
        writeBytes(folder + QStringLiteral("lang1.txt"),
                   "\xFF\xFE" + QByteArray("a\0=\0\r\0\n\0", 8));
        writeBytes(folder + QStringLiteral("lang0.txt"), "b=2\nc=3\n");
        // With langid 0, lang0.txt also becomes the current table.
        const Status opened = editor.OpenClick();
        QVERIFY2(opened, qPrintable(opened.error()));
        QCOMPARE(editor.zw().lines(), QStringList{QStringLiteral("a=")});
        QCOMPARE(editor.yw().lines(), (QStringList{QStringLiteral("b=2"), QStringLiteral("c=3")}));
        QCOMPARE(tables.uitext(QStringLiteral("c")), QStringLiteral("3"));
        QCOMPARE(editor.grid("vl")->rowCount(), 2);

        // Japanese has no language file: Open stops at that step, the two tables stay read.
        tables.setLangid(2);
        QFile::remove(folder + QStringLiteral("lang2.txt"));
        editor.zw().lines().clear();
        const Status missing = editor.OpenClick();
        QVERIFY(!missing);
        QVERIFY(missing.error().contains(QStringLiteral("lang2.txt")));
        QCOMPARE(editor.zw().lines(), QStringList{QStringLiteral("a=")});
    }

    // Through the main window: F12, the language choice and the About box's texts.
    void inTheMainWindow()
    {
        QTemporaryDir settingsDir;
        ProgramFixture fixture(settingsDir.filePath(QStringLiteral("s.ini")));
        fixture.program->show();
        fixture.program->makewindows();
        TaaForm1 &main = fixture.main();
        main.keydown(Qt::Key_F12);
        TranslationEditor *editor = main.translationEditor();
        QVERIFY(editor->isVisible());
        QCOMPARE(editor->size(), QSize(620, 620));
        QCOMPARE(editor->languages()->itemIndex(), 0);

        editor->languages()->button(1)->click();
        QCOMPARE(fixture.state().texts.langid(), 1);
        QCOMPARE(main.findChild<QPushButton *>("btstartnewgame")->text(),
                 QStringLiteral("开始新游戏"));

        editor->findChild<QPushButton *>("Button3")->click(); // append all hint
        QVERIFY(
            editor->zw().lines().contains(QStringLiteral("frmabout.Label2.caption=Version 3.0")));
        QVERIFY(editor->zw().lines().contains(QStringLiteral("frmabout.caption=Vaskelio")));
        QCOMPARE(editor->zw().lines(), editor->yw().lines());
    }
};

VASKELIO_GUI_TEST_MAIN(TestTranslationEditor)
#include "tst_translationeditor.moc"
