#include "programfixture.h"
#include "sandbox.h"
#include "windows/frmnewgame.h"
#include "windows/mainwindow.h"
#include "wordlists/frmappend.h"
#include "wordlists/frmwordlist.h"
#include "wordlists/wordliststore.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>

namespace {
QString dataFile(const char *name)
{
    return QStringLiteral(VASKELIO_TEST_DATA "/wordlists/") + QLatin1String(name);
}

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A key as the user presses it: to the focused control of the window, else the window.
void press(QWidget *window, Qt::Key key)
{
    QWidget *focus = QApplication::focusWidget();
    QTest::keyClick(focus && focus->window() == window ? focus : window, key);
}

void click(QWidget *parent, const char *button)
{
    QPushButton *b = parent->findChild<QPushButton *>(QLatin1String(button));
    QVERIFY2(b, button);
    QTest::mouseClick(b, Qt::LeftButton);
}
} // namespace

class TestWordListDialogs : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    std::unique_ptr<ProgramFixture> fixture;

    QString listsFile() const { return wordlistfile(datafolder()); }
    Tfrmwordlist &wordList() { return fixture->program->frmwordlist(); }
    Tfrmappend &append() { return fixture->program->frmappend(); }
    Tfrmnewgame &newGame() { return fixture->program->frmnewgame(); }
    QStringList titles()
    {
        QStringList shown;
        for (int row = 0; row < wordList().wl()->count(); ++row)
            shown.append(wordList().wl()->item(row)->text());
        return shown;
    }
    // The lists as the file holds them now.
    WordListStore reread()
    {
        WordListStore store(listsFile());
        store.Load();
        return store;
    }

    // Starts the program on a data folder whose lists.txt is a copy of reference; without one,
    // on whatever the test left there (seeding fills a missing file).
    void start(const char *reference = "fruit.txt")
    {
        if (reference) {
            QFile::remove(listsFile());
            QVERIFY(QFile::copy(dataFile(reference), listsFile()));
            QVERIFY(QFile::setPermissions(listsFile(), QFile::ReadOwner | QFile::WriteOwner));
        }
        fixture = std::make_unique<ProgramFixture>(dir.filePath(QStringLiteral("s.ini")));
        fixture->program->show();
        QVERIFY(QTest::qWaitForWindowActive(&fixture->main()));
        fixture->program->makewindows();
    }

    // Opens the Append dialog with Append or Edit, types the texts given (null: leave the box
    // as it is), presses Save and runs check while the dialog is still open, if it is.
    void saveInAppend(const char *opener, const QStringList &texts,
                      const std::function<void()> &check = {})
    {
        bool opened = false;
        whenModalOpens([&](QWidget *modal) {
            opened = true;
            QCOMPARE(modal, &append());
            for (int n = 0; n < texts.size(); ++n)
                if (!texts.at(n).isNull())
                    append().box(n)->setText(texts.at(n));
            click(&append(), "Button1");
            if (check)
                check();
        });
        click(&wordList(), opener);
        QVERIFY(opened);
    }

    static QStringList list(const QString &title, const QString &stem = QStringLiteral("w"))
    {
        QStringList texts{title};
        for (int k = 1; k <= 9; ++k)
            texts.append(stem + QString::number(k));
        return texts;
    }

private slots:
    void init() { QDir().mkpath(datafolder()); }
    void cleanup()
    {
        fixture.reset();
        QDir(listsFile()).removeRecursively();
        QFile::remove(listsFile());
    }

    void layoutAndFirstShowing()
    {
        start();
        Tfrmwordlist &d = wordList();
        QCOMPARE(d.size(), QSize(480, 223));
        QCOMPARE(d.font().family(), QStringLiteral("Tahoma"));
        QCOMPARE(d.font().pointSize(), 8);
        QCOMPARE(d.wl()->geometry(), QRect(0, 0, 189, 182));
        QCOMPARE(d.box(0)->width(), 164);
        QCOMPARE(d.box(9)->width(), 87);
        QCOMPARE(d.findChild<QPushButton *>("btsubmit")->width(), 140);
        QCOMPARE(append().size(), QSize(344, 193));
        QCOMPARE(append().box(0)->width(), 164);
        QCOMPARE(titles(), (QStringList{QStringLiteral("中文数字"), QStringLiteral("字母"),
                                        QStringLiteral("阿拉伯数字"), QStringLiteral("水果"),
                                        QStringLiteral("Fruit")}));
        QCOMPARE(d.position(), 1);
        QCOMPARE(d.box(0)->text(), QStringLiteral("中文数字"));
        QCOMPARE(d.box(9)->text(), QStringLiteral("九"));
        for (const char *off : {"btdel", "btedit", "btsubmit", "Button1"})
            QVERIFY2(!d.findChild<QPushButton *>(off)->isEnabled(), off);
        QVERIFY(fixture->prompter.messages.isEmpty());
    }

    void seedIsCopiedAtStartUp()
    {
        QFile::remove(listsFile());
        start(nullptr);
        const QString seed = wordlistfile(programfolder());
        QCOMPARE(bytesOf(listsFile()), bytesOf(seed));
        WordListStore seeded(seed);
        QVERIFY(seeded.Load().ok);
        QCOMPARE(wordList().wl()->count(), seeded.Count());
        QVERIFY(fixture->prompter.messages.isEmpty());
    }

    // A folder where the file should be: it can be neither read nor written.
    void unreadableFileLeavesTheBuiltInLists()
    {
        QVERIFY(QDir().mkpath(listsFile()));
        start(nullptr);
        QCOMPARE(fixture->prompter.messages.size(), 1);
        QVERIFY(fixture->prompter.messages.at(0).startsWith(
            QStringLiteral("Cannot open file \"%1\". ")
                .arg(QDir::toNativeSeparators(listsFile()))));
        QCOMPARE(wordList().wl()->count(), 3);
        QCOMPARE(wordList().position(), 1);
        QVERIFY(!wordList().findChild<QPushButton *>("btdel")->isEnabled());

        fixture->prompter.clear();
        saveInAppend("btadd", list(QStringLiteral("New")), [&] {
            QVERIFY(append().isVisible());
            QCOMPARE(fixture->prompter.messages.size(), 1);
            QVERIFY(fixture->prompter.messages.at(0).startsWith(QStringLiteral("Cannot create")));
        });
        QCOMPARE(wordList().wl()->count(), 3);
        QCOMPARE(wordList().position(), 1);
    }

    void refusedInAppend_data()
    {
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("focus");
        const QString complete = QStringLiteral("Complete fully, Please");
        QTest::newRow("built-in title") << list(QStringLiteral("中文数字"))
                                        << QStringLiteral("Title is already existing") << -1;
        QStringList blank = list(QStringLiteral("Blank"));
        blank[7] = QStringLiteral("  \t ");
        QTest::newRow("word of blanks") << blank << complete << 7;
        QStringList two = list(QString());
        two[5].clear();
        QTest::newRow("title and word 5 empty") << two << complete << 0;
    }
    void refusedInAppend()
    {
        QFETCH(QStringList, texts);
        QFETCH(QString, message);
        QFETCH(int, focus);
        start();
        const QByteArray before = bytesOf(listsFile());
        saveInAppend("btadd", texts, [&] {
            QVERIFY(append().isVisible());
            QCOMPARE(fixture->prompter.messages, QStringList{message});
            if (focus >= 0)
                QCOMPARE(append().focusWidget(), append().box(focus));
            QCOMPARE(append().box(7)->text(), texts.at(7)); // kept as typed
        });
        QCOMPARE(wordList().wl()->count(), 5);
        QCOMPARE(bytesOf(listsFile()), before);
    }

    void appendedListIsShown()
    {
        start();
        saveInAppend("btadd", list(QStringLiteral("Fruit "), QStringLiteral("f")),
                     [&] { QVERIFY(!append().isVisible()); });
        QVERIFY(fixture->prompter.messages.isEmpty());
        QCOMPARE(titles().constLast(), QStringLiteral("Fruit "));
        QCOMPARE(wordList().position(), 6);
        QCOMPARE(wordList().wl()->currentRow(), 5);
        QCOMPARE(wordList().box(3)->text(), QStringLiteral("f3"));
        QVERIFY(wordList().findChild<QPushButton *>("btdel")->isEnabled());
        QVERIFY(wordList().findChild<QPushButton *>("btedit")->isEnabled());
        QVERIFY(!wordList().findChild<QPushButton *>("btsubmit")->isEnabled());
        QCOMPARE(reread().Get(6).title, QStringLiteral("Fruit "));
    }

    void editMayTakeAnotherListsTitle()
    {
        start();
        wordList().showposition(5);
        QStringList edit(10); // null: keep what Edit put in the box
        edit[0] = QStringLiteral("水果");
        edit[2] = QStringLiteral("pomme");
        saveInAppend("btedit", edit, [&] {
            QCOMPARE(append().mode(), Tfrmappend::Mode::Edit);
            QCOMPARE(append().box(1)->text(), QStringLiteral("apple"));
        });
        QVERIFY(fixture->prompter.messages.isEmpty());
        QCOMPARE(titles().mid(3), (QStringList{QStringLiteral("水果"), QStringLiteral("水果")}));
        QCOMPARE(wordList().position(), 5);
        QCOMPARE(wordList().box(2)->text(), QStringLiteral("pomme"));
        const WordListStore file = reread();
        QCOMPARE(file.Count(), 5);
        QCOMPARE(file.Get(5).title, QStringLiteral("水果"));
        QCOMPARE(file.Get(5).words[1], QStringLiteral("pomme"));
    }

    void deleteShowsTheListAbove_data()
    {
        QTest::addColumn<QString>("reference");
        QTest::addColumn<int>("extra");    // lists added to the file before the start
        QTest::addColumn<int>("position"); // deleted
        QTest::addColumn<QString>("shown");
        QTest::newRow("the only user list")
            << dataFile("colours.txt") << 0 << 4 << QStringLiteral("阿拉伯数字");
        QTest::newRow("5 of 7") << dataFile("fruit.txt") << 2 << 5 << QStringLiteral("水果");
    }
    void deleteShowsTheListAbove()
    {
        QFETCH(QString, reference);
        QFETCH(int, extra);
        QFETCH(int, position);
        QFETCH(QString, shown);
        QVERIFY(QFile::copy(reference, listsFile()));
        QFile::setPermissions(listsFile(), QFile::ReadOwner | QFile::WriteOwner);
        WordListStore before = reread();
        for (int n = 0; n < extra; ++n)
            before.Add({QStringLiteral("Extra %1").arg(n), {}});
        start(nullptr);
        const int count = wordList().wl()->count();
        wordList().showposition(position);
        fixture->prompter.answers.enqueue(true);
        click(&wordList(), "btdel");
        QCOMPARE(fixture->prompter.questions, QStringList{QStringLiteral("Sure to delete it?")});
        QCOMPARE(fixture->prompter.titles, QStringList{QStringLiteral("Information")});
        QCOMPARE(wordList().position(), position - 1);
        QCOMPARE(wordList().box(0)->text(), shown);
        QCOMPARE(wordList().wl()->count(), count - 1);
        QCOMPARE(reread().Count(), count - 1);
        const bool user = position - 1 > 3;
        QCOMPARE(wordList().findChild<QPushButton *>("btdel")->isEnabled(), user);
        QCOMPARE(wordList().findChild<QPushButton *>("btedit")->isEnabled(), user);
    }

    void answeringNoDeletesNothing()
    {
        start();
        wordList().showposition(4);
        const QByteArray before = bytesOf(listsFile());
        click(&wordList(), "btdel");
        QCOMPARE(fixture->prompter.questions.size(), 1);
        QCOMPARE(wordList().wl()->count(), 5);
        QCOMPARE(wordList().position(), 4);
        QCOMPARE(bytesOf(listsFile()), before);
    }

    // Load in the New Game dialog, a click on "字母", OK; then Cancel changes nothing.
    void okAndCancelFromTheNewGameDialog()
    {
        start();
        newGame().show();
        QVERIFY(QTest::qWaitForWindowExposed(&newGame()));
        bool opened = false;
        whenModalOpens([&](QWidget *modal) {
            opened = true;
            QCOMPARE(modal, &wordList());
            QCOMPARE(modal->geometry().center(), newGame().geometry().center());
            QListWidget *wl = wordList().wl();
            QTest::mouseClick(wl->viewport(), Qt::LeftButton, {},
                              wl->visualItemRect(wl->item(1)).center());
            QCOMPARE(wordList().box(0)->text(), QStringLiteral("字母"));
            click(modal, "BitBtn1");
        });
        click(&newGame(), "Button1");
        QVERIFY(opened);
        QStringList boxes;
        for (int n = 0; n <= 9; ++n)
            boxes.append(newGame().box(n)->text());
        QCOMPARE(boxes.join(QLatin1Char(' ')), QStringLiteral("字母 A B C D E F G H I"));
        QVERIFY(newGame().isVisible());

        opened = false;
        whenModalOpens([&](QWidget *modal) {
            opened = true;
            QCOMPARE(wordList().position(), 2); // kept from the last opening
            wordList().wl()->setCurrentRow(4);
            QCOMPARE(wordList().box(0)->text(), QStringLiteral("Fruit"));
            click(modal, "BitBtn2");
        });
        click(&newGame(), "Button1");
        QVERIFY(opened);
        QCOMPARE(newGame().box(0)->text(), QStringLiteral("字母"));
        QCOMPARE(newGame().box(9)->text(), QStringLiteral("I"));
        newGame().reject();
    }

    void languageKeysAndTheAppendCaption()
    {
        start();
        bool opened = false;
        whenModalOpens([&](QWidget *modal) {
            press(modal, Qt::Key_F3);
            QCOMPARE(modal->windowTitle(), QStringLiteral("単語リスト"));
            QCOMPARE(wordList().findChild<QPushButton *>("btadd")->text(), QStringLiteral("追加"));
            QCOMPARE(fixture->main().findChild<QPushButton *>("btstartnewgame")->text(),
                     QStringLiteral("新しいゲーム"));
            whenModalOpens([&](QWidget *inner) {
                opened = true;
                QCOMPARE(inner->windowTitle(), QStringLiteral("Vaskelio"));
                QCOMPARE(append().findChild<QPushButton *>("Button1")->text(),
                         QStringLiteral("セーブ"));
                press(inner, Qt::Key_F2);
                QCOMPARE(append().findChild<QPushButton *>("Button1")->text(),
                         QStringLiteral("保存"));
                QCOMPARE(inner->windowTitle(), QStringLiteral("Vaskelio"));
            });
            wordList().btaddClick();
        });
        wordList().exec();
        QVERIFY(opened);
    }
};

VASKELIO_GUI_TEST_MAIN(TestWordListDialogs)
#include "tst_wordlistdialogs.moc"
