#include "listdialogs/frmappend.h"
#include "listdialogs/frmmeanings.h"
#include "listdialogs/frmwordlist.h"
#include "programfixture.h"
#include "sandbox.h"
#include "widgets/fonts.h"
#include "windows/frmnewgame.h"
#include "windows/mainwindow.h"
#include "wordlists/listtable.h"
#include "wordlists/wordliststore.h"

#include <QAction>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressDialog>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTemporaryDir>

namespace {
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

QPushButton *button(QWidget *window, const char *name)
{
    return window->findChild<QPushButton *>(QLatin1String(name));
}

// Ten boxes' texts joined by "|".
template<typename Dialog> QString boxes(const Dialog &dialog)
{
    QStringList texts;
    for (int n = 0; n <= 9; ++n)
        texts.append(dialog.box(n)->text());
    return texts.join(u'|');
}

QStringList list(const QString &title, const QString &stem = QStringLiteral("w"))
{
    QStringList texts{title};
    for (int k = 1; k <= 9; ++k)
        texts.append(stem + QString::number(k));
    return texts;
}

// The words of fruit.txt's list 水果 (position 4), title first.
QStringList chineseFruit()
{
    return {QStringLiteral("水果"), QStringLiteral("苹果"), QStringLiteral("梨"),
            QStringLiteral("李子"), QStringLiteral("桃"),   QStringLiteral("葡萄"),
            QStringLiteral("柠檬"), QStringLiteral("樱桃"), QStringLiteral("香蕉"),
            QStringLiteral("西瓜")};
}

QString tableFile(const char *name)
{
    return QStringLiteral(VASKELIO_TEST_DATA "/listtables/") + QLatin1String(name);
}
} // namespace

class TestWordListDialogs : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    std::unique_ptr<ProgramFixture> fixture;

    QString listsFile() const { return wordlistfile(datafolder()); }
    QString backupFile() const { return listsFile() + QStringLiteral(".bak"); }
    QString glossaryFile() const { return Glossary::fileIn(datafolder()); }
    Tfrmwordlist &wordList() { return fixture->program->frmwordlist(); }
    Tfrmappend &append() { return fixture->program->frmappend(); }
    Tfrmnewgame &newGame() { return fixture->program->frmnewgame(); }
    QAction *action(const char *name)
    {
        return wordList().findChild<QAction *>(QLatin1String(name));
    }
    // Import or export through wl's context menu, the file dialog answered with file.
    void exchange(const char *name, const QString &file)
    {
        QVERIFY(wordList().wl()->actions().contains(action(name)));
        fixture->prompter.files.enqueue(file);
        action(name)->trigger();
    }
    QString titles()
    {
        QStringList shown;
        for (int row = 0; row < wordList().wl()->count(); ++row)
            shown.append(wordList().wl()->item(row)->text());
        return shown.join(u'|');
    }
    void expectUserButtons(bool enabled)
    {
        QCOMPARE(button(&wordList(), "btdel")->isEnabled(), enabled);
        QCOMPARE(button(&wordList(), "btedit")->isEnabled(), enabled);
        QCOMPARE(button(&wordList(), "btsubmit")->isEnabled(), enabled);
    }
    // The lists as the file holds them now.
    WordListStore reread()
    {
        WordListStore store(listsFile());
        if (!store.Load())
            qWarning("lists.txt could not be read back");
        return store;
    }

    void copyLists(const QString &reference)
    {
        QVERIFY(
            QFile::copy(QStringLiteral(VASKELIO_TEST_DATA "/wordlists/") + reference, listsFile()));
        QVERIFY(QFile::setPermissions(listsFile(), QFile::ReadOwner | QFile::WriteOwner));
    }

    // Starts the program on a data folder whose lists.txt is a copy of reference; without one,
    // on whatever the test left there (seeding fills a missing file).
    void start(const char *reference = "fruit.txt")
    {
        if (reference)
            copyLists(QLatin1String(reference));
        fixture = std::make_unique<ProgramFixture>(dir.filePath(QStringLiteral("s.ini")));
        fixture->program->show();
        QVERIFY(QTest::qWaitForWindowActive(&fixture->main()));
        fixture->program->makewindows();
        fixture->withoutShippedMeanings();
    }

    // Opens the Append dialog through opener, types the texts (a null text leaves its box as
    // it is), presses Save, then runs check while the dialog is still open, if it is.
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
            QTest::mouseClick(button(modal, "Button1"), Qt::LeftButton);
            if (check)
                check();
        });
        QTest::mouseClick(button(&wordList(), opener), Qt::LeftButton);
        QVERIFY(opened);
    }

    // Opens the Append dialog through opener, types the texts (a null text leaves its box as it
    // is) and runs body in it; the dialog is closed after, unless body saved it.
    void inAppend(const char *opener, const QStringList &texts, const std::function<void()> &body)
    {
        bool opened = false;
        whenModalOpens([&](QWidget *modal) {
            opened = true;
            QCOMPARE(modal, &append());
            for (int n = 0; n < texts.size(); ++n)
                if (!texts.at(n).isNull())
                    append().box(n)->setText(texts.at(n));
            body();
        });
        QTest::mouseClick(button(&wordList(), opener), Qt::LeftButton);
        QVERIFY(opened);
    }
    // Presses Meanings... in the open Append dialog and runs body in the grid; closed after
    // (Cancel) unless body pressed OK.
    void inMeanings(const std::function<void(QTableWidget *)> &body)
    {
        bool opened = false;
        whenModalOpens([&](QWidget *modal) {
            opened = true;
            QCOMPARE(modal, append().meanings());
            body(append().meanings()->grid());
        });
        QTest::mouseClick(button(&append(), "btmeanings"), Qt::LeftButton);
        QVERIFY(opened);
    }
    void writeGlossary(const QByteArray &json)
    {
        QFile file(glossaryFile());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(json);
    }

private slots:
    void init() { QDir().mkpath(datafolder()); }
    void cleanup()
    {
        fixture.reset();
        for (const QString &file : {listsFile(), backupFile(), glossaryFile()}) {
            QDir(file).removeRecursively();
            QFile::remove(file);
        }
    }

    void startUpSeedsAndShowsTheFirstList()
    {
        start(nullptr);
        const QString seed = wordlistfile(programfolder());
        QCOMPARE(bytesOf(listsFile()), bytesOf(seed));
        WordListStore seeded(seed);
        QVERIFY(seeded.Load().ok());
        QCOMPARE(wordList().wl()->count(), seeded.Count());
        QVERIFY(titles().startsWith(QStringLiteral("中文数字|字母|阿拉伯数字|")));
        QVERIFY(fixture->prompter.messages.isEmpty());

        QCOMPARE(wordList().size(), QSize(480, 223));
        // The face of Tahoma's widths, with the CJK face of the language in force.
        QCOMPARE(wordList().font(), dialogFont(8));
        QCOMPARE(wordList().font().pointSize(), 8);
        QCOMPARE(wordList().wl()->geometry(), QRect(0, 0, 189, 182));
        QCOMPARE(append().size(), QSize(344, 193));
        QCOMPARE(wordList().position(), 1);
        QCOMPARE(boxes(wordList()), QStringLiteral("中文数字|一|二|三|四|五|六|七|八|九"));
        expectUserButtons(false);
        QVERIFY(button(&wordList(), "Button1")->isEnabled());
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
        QCOMPARE(titles(), QStringLiteral("中文数字|字母|阿拉伯数字"));
        QCOMPARE(wordList().position(), 1);
        QVERIFY(button(&wordList(), "btadd")->isEnabled());

        saveInAppend("btadd", list(QStringLiteral("New")), [&] {
            QVERIFY(append().isVisible());
            QCOMPARE(fixture->prompter.messages.size(), 2);
            QVERIFY(fixture->prompter.messages.at(1).startsWith(QStringLiteral("Cannot create")));
        });
        QCOMPARE(titles(), QStringLiteral("中文数字|字母|阿拉伯数字"));
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
        QStringList wide = list(QStringLiteral("Wide"));
        wide[7] = QStringLiteral("\u3000\u3000");
        QTest::newRow("ideographic spaces") << wide << complete << 7;
        QStringList hidden = list(QStringLiteral("\u00A0\u200B"));
        QTest::newRow("title of a no-break and a zero-width space") << hidden << complete << 0;
        QStringList two = list(QString());
        two[5].clear();
        QTest::newRow("title and word 5 empty") << two << complete << 0;
        const QString control =
            QStringLiteral("A title or word cannot hold a tab or another control character");
        const QList<QPair<int, char16_t>> controls{{0, 0x0000}, {3, 0x0001}, {7, 0x0009},
                                                   {2, 0x007F}, {9, 0x0085}, {4, 0x2028}};
        for (const auto &[field, c] : controls) {
            QStringList texts = list(QStringLiteral("Controlled"));
            texts[field].insert(1, QChar(c));
            QTest::newRow(qPrintable(
                QStringLiteral("U+%1 in box %2").arg(uint(c), 4, 16, QLatin1Char('0')).arg(field)))
                << texts << control << field;
        }
        // Blank fields are told of first.
        QStringList both = list(QStringLiteral("Both"));
        both[2] = QStringLiteral("a\tb");
        both[6].clear();
        QTest::newRow("a control character and an empty word") << both << complete << 6;
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
        QCOMPARE(titles(), QStringLiteral("中文数字|字母|阿拉伯数字|水果|Fruit|Fruit "));
        QCOMPARE(wordList().position(), 6);
        QCOMPARE(wordList().wl()->currentRow(), 5);
        QCOMPARE(boxes(wordList()), list(QStringLiteral("Fruit "), QStringLiteral("f")).join(u'|'));
        expectUserButtons(true);
        QCOMPARE(reread().Get(6).title, QStringLiteral("Fruit "));
    }

    void editMayTakeAnotherListsTitle()
    {
        start();
        wordList().showposition(5);
        QStringList edit(10);
        edit[0] = QStringLiteral("水果");
        edit[2] = QStringLiteral("pomme");
        saveInAppend("btedit", edit, [&] {
            QCOMPARE(append().mode(), Tfrmappend::Mode::Edit);
            QCOMPARE(append().box(1)->text(), QStringLiteral("apple"));
        });
        QVERIFY(fixture->prompter.messages.isEmpty());
        QCOMPARE(titles(), QStringLiteral("中文数字|字母|阿拉伯数字|水果|水果"));
        QCOMPARE(wordList().position(), 5);
        QCOMPARE(wordList().box(2)->text(), QStringLiteral("pomme"));
        QCOMPARE(reread().Get(5).title + reread().Get(5).words[1].text,
                 QStringLiteral("水果pomme"));
    }

    void controlCharacterRefusedInEdit()
    {
        start();
        wordList().showposition(4);
        const QByteArray before = bytesOf(listsFile());
        QStringList edit(10);
        edit[5] = QStringLiteral("pear") + QChar(0);
        saveInAppend("btedit", edit, [&] {
            QVERIFY(append().isVisible());
            QCOMPARE(fixture->prompter.messages, QStringList{fixture->state().texts.uitext(
                                                     QStringLiteral("frmappend.msgcontrol"))});
            QCOMPARE(append().focusWidget(), append().box(5));
        });
        QCOMPARE(bytesOf(listsFile()), before);
        QVERIFY(!wordList().box(5)->text().contains(QChar(0)));
    }

    void meaningsEditedAndSaved_data()
    {
        QTest::addColumn<QString>("opener");
        QTest::newRow("Edit") << QStringLiteral("btedit");
        QTest::newRow("Append") << QStringLiteral("btadd");
    }
    // The grid starts from the glossary for the words as typed, keeps its edits until Save,
    // and Save writes them to glossary.json, an emptied one removed, lists.txt texts only.
    void meaningsEditedAndSaved()
    {
        QFETCH(QString, opener);
        const bool edit = opener == QLatin1String("btedit");
        writeGlossary("{\"format\": 1, \"words\": {"
                      "\"苹果\": {\"reading\": \"píngguǒ\", \"meaning\": \"apple\"},"
                      "\"梨\": {\"meaning\": \"pear\"}, \"桃\": {\"reading\": \"táo\"}}}");
        start();
        wordList().showposition(4);
        const QByteArray lists = bytesOf(listsFile());
        QStringList texts = edit ? QStringList(10) : chineseFruit();
        if (!edit)
            texts[0] = QStringLiteral("水果 2");
        inAppend(opener.toLatin1().constData(), texts, [&] {
            inMeanings([&](QTableWidget *grid) {
                QCOMPARE(grid->rowCount(), 9);
                QCOMPARE(grid->verticalHeaderItem(0)->text(), QStringLiteral("苹果"));
                QCOMPARE(grid->verticalHeaderItem(8)->text(), QStringLiteral("西瓜"));
                QCOMPARE(grid->item(0, 0)->text(), QStringLiteral("píngguǒ"));
                QCOMPARE(grid->item(0, 1)->text(), QStringLiteral("apple"));
                QCOMPARE(grid->item(1, 1)->text(), QStringLiteral("pear"));
                QVERIFY(grid->item(2, 0)->text().isEmpty());
                // All nine rows in sight, none scrolled away.
                QVERIFY(grid->visualItemRect(grid->item(8, 1)).bottom() <
                        grid->viewport()->height());
                grid->item(2, 0)->setText(QStringLiteral("lǐzi"));
                grid->item(2, 1)->setText(QStringLiteral(" plum "));
                grid->item(1, 1)->setText(QString());
                QTest::mouseClick(button(append().meanings(), "Button1"), Qt::LeftButton);
            });
            // Opened again, the grid shows this session's edits; Cancel there keeps them.
            inMeanings([&](QTableWidget *grid) {
                QCOMPARE(grid->item(2, 1)->text(), QStringLiteral("plum"));
                QVERIFY(grid->item(1, 1)->text().isEmpty());
                grid->item(3, 1)->setText(QStringLiteral("peach"));
            });
            QTest::mouseClick(button(&append(), "Button1"), Qt::LeftButton);
            QVERIFY(!append().isVisible());
        });
        QVERIFY(fixture->prompter.messages.isEmpty());
        const Glossary saved = Glossary::read(glossaryFile(), QString());
        QVERIFY(saved.problem().isEmpty());
        QCOMPARE(saved.find(QStringLiteral("李子"), 0), (Gloss{"lǐzi", "plum"}));
        QVERIFY(saved.find(QStringLiteral("梨"), 0).isEmpty());
        QCOMPARE(saved.find(QStringLiteral("苹果"), 0), (Gloss{"píngguǒ", "apple"}));
        QCOMPARE(saved.find(QStringLiteral("桃"), 0), (Gloss{"táo", {}})); // Cancel dropped peach
        QCOMPARE(fixture->state().glossary.find(QStringLiteral("李子"), 1).meaning, "plum");
        QVERIFY(!bytesOf(glossaryFile()).contains("pear"));
        const WordListStore reread = this->reread();
        QCOMPARE(reread.Count(), edit ? 5 : 6);
        QCOMPARE(reread.Get(edit ? 4 : 6).texts(), chineseFruit().mid(1));
        QVERIFY(!bytesOf(listsFile()).contains(QStringLiteral("plum").toUtf8()));
        if (edit)
            QCOMPARE(bytesOf(listsFile()), lists);
    }

    // The language chosen beside the meanings goes to glossary.json by the list's title, not to
    // lists.txt; a game of the list is spoken in it; a renamed list keeps it, and Automatic,
    // named after what the words and readings tell, takes it away.
    void listLanguageChosenAndKept()
    {
        start();
        wordList().showposition(4);
        const QByteArray lists = bytesOf(listsFile());
        inAppend("btedit", QStringList(10), [&] {
            inMeanings([&](QTableWidget *grid) {
                QComboBox *languages = append().meanings()->languages();
                const auto *label = append().meanings()->findChild<QLabel *>("lblanguage");
                // In every language the label stays clear of the box, and Automatic fits it.
                const std::pair<Qt::Key, QString> automatic[] = {
                    {Qt::Key_F2, QStringLiteral("自动（中文）")},
                    {Qt::Key_F3, QStringLiteral("自動（中文）")},
                    {Qt::Key_F1, QStringLiteral("Automatic (中文)")}};
                for (const auto &[key, text] : automatic) {
                    press(append().meanings(), key);
                    QCOMPARE(languages->itemText(0), text);
                    QVERIFY(label->geometry().right() < languages->x());
                    QVERIFY(label->sizeHint().width() <= label->width());
                    QVERIFY(QFontMetrics(languages->font()).horizontalAdvance(text) + 32 <=
                            languages->width());
                }
                QCOMPARE(languages->currentIndex(), 0);
                QCOMPARE(languages->itemText(0), QStringLiteral("Automatic (中文)"));
                // Kana under the kanji tell Japanese as they are typed.
                grid->item(0, 0)->setText(QStringLiteral("りんご"));
                QCOMPARE(languages->itemText(0), QStringLiteral("Automatic (日本語)"));
                grid->item(0, 0)->setText(QString());
                languages->setCurrentIndex(languages->findText(QStringLiteral("日本語")));
                QTest::mouseClick(button(append().meanings(), "Button1"), Qt::LeftButton);
            });
            QTest::mouseClick(button(&append(), "Button1"), Qt::LeftButton);
        });
        QVERIFY(fixture->prompter.messages.isEmpty());
        QCOMPARE(bytesOf(listsFile()), lists);
        QCOMPARE(Glossary::read(glossaryFile(), QString()).language(QStringLiteral("水果")),
                 QStringLiteral("ja"));
        QVERIFY(
            Glossary::read(glossaryFile(), QString()).find(QStringLiteral("苹果"), 0).isEmpty());
        QVERIFY(fixture->main().newgame(0, reread().Get(4)));
        QCOMPARE(fixture->model().curwords().language, QStringLiteral("ja"));

        saveInAppend("btedit", {QStringLiteral("Fruit JA")});
        QCOMPARE(fixture->state().glossary.language(QStringLiteral("Fruit JA")),
                 QStringLiteral("ja"));
        inAppend("btedit", QStringList(10), [&] {
            inMeanings([&](QTableWidget *) {
                QComboBox *languages = append().meanings()->languages();
                QCOMPARE(languages->currentData().toString(), QStringLiteral("ja"));
                languages->setCurrentIndex(0);
                QTest::mouseClick(button(append().meanings(), "Button1"), Qt::LeftButton);
            });
            QTest::mouseClick(button(&append(), "Button1"), Qt::LeftButton);
        });
        QVERIFY(fixture->prompter.messages.isEmpty());
        QVERIFY(fixture->state().glossary.language(QStringLiteral("Fruit JA")).isEmpty());
        QVERIFY(!bytesOf(glossaryFile()).contains("Fruit JA"));
    }

    void cancelRecordsNothing_data()
    {
        QTest::addColumn<bool>("cancelMeanings");
        QTest::newRow("Cancel in the grid, then Save") << true;
        QTest::newRow("OK in the grid, then Cancel") << false;
    }
    void cancelRecordsNothing()
    {
        QFETCH(bool, cancelMeanings);
        writeGlossary("{\"format\": 1, \"words\": {\"apple\": {\"meaning\": \"苹果\"}}}");
        start();
        wordList().showposition(5);
        const QByteArray glossary = bytesOf(glossaryFile());
        const QByteArray lists = bytesOf(listsFile());
        inAppend("btedit", QStringList(10), [&] {
            inMeanings([&](QTableWidget *grid) {
                grid->item(0, 1)->setText(QString());
                grid->item(1, 1)->setText(QStringLiteral("梨"));
                if (!cancelMeanings)
                    QTest::mouseClick(button(append().meanings(), "Button1"), Qt::LeftButton);
            });
            if (cancelMeanings)
                QTest::mouseClick(button(&append(), "Button1"), Qt::LeftButton);
        });
        QCOMPARE(bytesOf(glossaryFile()), glossary);
        QCOMPARE(bytesOf(listsFile()), lists);
        QCOMPARE(fixture->state().glossary.find(QStringLiteral("apple"), 0).meaning, "苹果");
        // Opened anew, the dialog has forgotten the cancelled edits.
        inAppend("btedit", QStringList(10), [&] {
            inMeanings([&](QTableWidget *grid) {
                QCOMPARE(grid->item(0, 1)->text(), QStringLiteral("苹果"));
                QVERIFY(grid->item(1, 1)->text().isEmpty());
            });
        });
    }

    void refusedInMeanings_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message"); // empty: accepted
        const QString control =
            QStringLiteral("A reading or meaning cannot hold a tab or another control character");
        const QString tooLong =
            QStringLiteral("A reading or meaning can be at most 200 characters long");
        QTest::newRow("tab in a reading") << 0 << 0 << "a\tb" << control;
        QTest::newRow("line separator in a meaning") << 4 << 1 << "a\u2028b" << control;
        QTest::newRow("201 characters") << 3 << 1 << QString(201, u'x') << tooLong;
        QTest::newRow("200 characters") << 3 << 1 << QString(200, u'x') << QString();
        // What an import put in the glossary is not cut short when the grid leaves it.
        QTest::newRow("the glossary's long meaning, left as it is")
            << 0 << 1 << QString(300, u'y') << QString();
    }
    void refusedInMeanings()
    {
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(QString, text);
        QFETCH(QString, message);
        writeGlossary("{\"format\": 1, \"words\": {\"apple\": {\"meaning\": \"" +
                      QByteArray(300, 'y') + "\"}}}");
        start();
        wordList().showposition(5);
        inAppend("btedit", QStringList(10), [&] {
            append().box(7)->clear(); // a blank word's row cannot be edited
            inMeanings([&](QTableWidget *grid) {
                QCOMPARE(grid->verticalHeaderItem(6)->text(), QStringLiteral("7"));
                QVERIFY(!(grid->item(6, 1)->flags() & Qt::ItemIsEditable));
                grid->item(row, column)->setText(text);
                QTest::mouseClick(button(append().meanings(), "Button1"), Qt::LeftButton);
                QCOMPARE(append().meanings()->isVisible(), !message.isEmpty());
                QCOMPARE(fixture->prompter.messages,
                         message.isEmpty() ? QStringList() : QStringList{message});
                if (!message.isEmpty())
                    QCOMPARE(grid->currentItem(), grid->item(row, column));
            });
        });
    }

    void deleteShowsTheListAbove_data()
    {
        QTest::addColumn<QString>("reference");
        QTest::addColumn<int>("extra");    // lists added to the file before the start
        QTest::addColumn<int>("position"); // deleted
        QTest::addColumn<QString>("shown");
        QTest::newRow("the only user list")
            << "colours.txt" << 0 << 4 << QStringLiteral("阿拉伯数字");
        QTest::newRow("5 of 7") << "fruit.txt" << 2 << 5 << QStringLiteral("水果");
    }
    void deleteShowsTheListAbove()
    {
        QFETCH(QString, reference);
        QFETCH(int, extra);
        QFETCH(int, position);
        QFETCH(QString, shown);
        copyLists(reference);
        WordListStore file = reread();
        for (int n = 0; n < extra; ++n)
            QVERIFY(file.Add({QStringLiteral("Extra %1").arg(n), {}}));
        start(nullptr);

        const int count = wordList().wl()->count();
        const QByteArray before = bytesOf(listsFile());
        wordList().showposition(position);
        QTest::mouseClick(button(&wordList(), "btdel"), Qt::LeftButton); // answered No
        QCOMPARE(wordList().position(), position);
        QCOMPARE(bytesOf(listsFile()), before);
        fixture->prompter.answers.enqueue(true);
        QTest::mouseClick(button(&wordList(), "btdel"), Qt::LeftButton);
        QCOMPARE(fixture->prompter.questions, QStringList(2, QStringLiteral("Sure to delete it?")));
        QCOMPARE(fixture->prompter.titles.constLast(), QStringLiteral("Information"));
        QCOMPARE(wordList().position(), position - 1);
        QCOMPARE(wordList().box(0)->text(), shown);
        QCOMPARE(wordList().wl()->count(), count - 1);
        QCOMPARE(reread().Count(), count - 1);
        expectUserButtons(position - 1 > 3);
    }

    // Load in the New Game dialog, a click on "字母", OK; then Cancel changes nothing.
    void okAndCancelFromTheNewGameDialog()
    {
        start();
        newGame().show();
        QVERIFY(QTest::qWaitForWindowExposed(&newGame()));
        int opened = 0;
        whenModalOpens([&](QWidget *modal) {
            ++opened;
            QCOMPARE(modal->geometry().center(), newGame().geometry().center());
            QListWidget *wl = wordList().wl();
            QTest::mouseClick(wl->viewport(), Qt::LeftButton, {},
                              wl->visualItemRect(wl->item(1)).center());
            QTest::mouseClick(button(modal, "BitBtn1"), Qt::LeftButton);
        });
        QTest::mouseClick(newGame().box(0)->parentWidget()->findChild<QPushButton *>("Button1"),
                          Qt::LeftButton);
        QCOMPARE(boxes(newGame()), QStringLiteral("字母|A|B|C|D|E|F|G|H|I"));
        QVERIFY(newGame().isVisible());

        whenModalOpens([&](QWidget *modal) {
            ++opened;
            QCOMPARE(wordList().position(), 2); // kept from the last opening
            wordList().wl()->setCurrentRow(4);
            QCOMPARE(wordList().box(0)->text(), QStringLiteral("Fruit"));
            QTest::mouseClick(button(modal, "BitBtn2"), Qt::LeftButton);
        });
        newGame().Button1Click();
        QCOMPARE(opened, 2);
        QCOMPARE(boxes(newGame()), QStringLiteral("字母|A|B|C|D|E|F|G|H|I"));
        newGame().reject();
    }

    // The first change of a file that did not read cleanly keeps a copy of it and says where,
    // once, from whichever dialog made that change.
    void damagedFileIsKeptAndThePlayerToldOnce_data()
    {
        QTest::addColumn<QString>("first");
        QTest::newRow("Append first") << QStringLiteral("btadd");
        QTest::newRow("Edit first") << QStringLiteral("btedit");
        QTest::newRow("Delete first") << QStringLiteral("btdel");
    }
    void damagedFileIsKeptAndThePlayerToldOnce()
    {
        QFETCH(QString, first);
        start("../textfile/shiftjis.txt");
        const QByteArray original = bytesOf(listsFile());
        QCOMPARE(titles(), QStringLiteral("中文数字|字母|阿拉伯数字|果物の名前"));
        const QString told = fixture->state().texts.uitext(QStringLiteral("msgbackup")) +
                             QLatin1Char('\n') + QDir::toNativeSeparators(backupFile());
        QVERIFY(told.startsWith(QStringLiteral("The word-list file could not be read cleanly.")));

        QStringList changes{QStringLiteral("btadd"), QStringLiteral("btedit"),
                            QStringLiteral("btdel")};
        changes.removeOne(first);
        changes.prepend(first);
        for (const QString &change : changes) {
            if (change == QStringLiteral("btdel")) {
                wordList().showposition(wordList().wl()->count());
                fixture->prompter.answers.enqueue(true);
                QTest::mouseClick(button(&wordList(), "btdel"), Qt::LeftButton);
            } else {
                if (change == QStringLiteral("btedit"))
                    wordList().showposition(4);
                saveInAppend(change.toLatin1().constData(), list(change),
                             [&] { QVERIFY(!append().isVisible()); });
            }
            QCOMPARE(fixture->prompter.messages, QStringList{told});
            QCOMPARE(bytesOf(backupFile()), original);
        }
        QCOMPARE(fixture->prompter.questions.size(), 1);
        QVERIFY(bytesOf(listsFile()).startsWith("\xFF\xFE"));
    }

    void copyThatCannotBeMadeKeepsTheAppendDialogOpen()
    {
        start("../textfile/windows1251.txt");
        const QByteArray original = bytesOf(listsFile());
        QVERIFY(QDir().mkdir(backupFile()));
        saveInAppend("btadd", list(QStringLiteral("New")), [&] {
            QVERIFY(append().isVisible());
            QCOMPARE(fixture->prompter.messages.size(), 1);
            QVERIFY2(fixture->prompter.messages.at(0).startsWith(
                         QStringLiteral("Cannot create file \"%1\". ")
                             .arg(QDir::toNativeSeparators(backupFile()))),
                     qPrintable(fixture->prompter.messages.at(0)));
        });
        QCOMPARE(titles(), QStringLiteral("中文数字|字母|阿拉伯数字|Фрукты и ягоды"));
        QCOMPARE(bytesOf(listsFile()), original);
    }

    // The good rows are added in one rewrite and shown; every bad row is named.
    void importAddsTheGoodRowsAndNamesTheBad()
    {
        start();
        QCOMPARE(wordList().wl()->contextMenuPolicy(), Qt::ActionsContextMenu);
        const QString table = tableFile("mixed.csv");
        exchange("importlists", table);
        QCOMPARE(titles(), QStringLiteral("中文数字|字母|阿拉伯数字|水果|Fruit|Colours|Numbers, "
                                          "small|Padded|Colours |动物"));
        QCOMPARE(wordList().position(), 10);
        QCOMPARE(wordList().box(9)->text(), QStringLiteral("鱼"));
        expectUserButtons(true);
        QCOMPARE(fixture->prompter.messages.size(), 1);
        const QStringList report = fixture->prompter.messages.at(0).split(u'\n');
        QCOMPARE(report.size(), 10);
        QCOMPARE(report.at(0),
                 QStringLiteral("Lists added from \"%1\": 5").arg(QDir::toNativeSeparators(table)));
        QCOMPARE(report.at(1), QStringLiteral("Row 2: the title \"Fruit\" is already in use"));
        QCOMPARE(report.at(9), QStringLiteral("Row 16: word 4 is empty"));
        const WordListStore file = reread();
        QCOMPARE(file.Count(), 10);
        QCOMPARE(file.Get(7).title, QStringLiteral("Numbers, small"));
        QCOMPARE(fixture->prompter.folders.constLast(), QDir::homePath());

        // Again: every good row's title is now in use, so nothing is written.
        const QByteArray before = bytesOf(listsFile());
        exchange("importlists", table);
        QCOMPARE(bytesOf(listsFile()), before);
        QCOMPARE(wordList().wl()->count(), 10);
        QVERIFY(fixture->prompter.messages.at(1).startsWith(
            report.at(0).chopped(1) + QStringLiteral("0\nRow 1: the title \"Colours\"")));
        QCOMPARE(fixture->prompter.folders.constLast(), QFileInfo(table).absolutePath());

        action("importlists")->trigger(); // the file dialog cancelled
        QCOMPARE(fixture->prompter.messages.size(), 2);
        QCOMPARE(bytesOf(listsFile()), before);
    }

    // lists.txt cannot be written (a folder stands in its way): nothing is added, and the player
    // is told; a table that cannot be read adds nothing either.
    void importThatFailsAddsNothing()
    {
        QVERIFY(QDir().mkpath(listsFile()));
        start(nullptr);
        fixture->prompter.clear();
        const QString table = tableFile("simple_utf8.csv");
        exchange("importlists", table);
        QCOMPARE(titles(), QStringLiteral("中文数字|字母|阿拉伯数字"));
        QCOMPARE(wordList().position(), 1);
        QCOMPARE(fixture->prompter.messages.size(), 1);
        QVERIFY2(
            fixture->prompter.messages.at(0).startsWith(
                QStringLiteral("No list was added from \"%1\".\nCannot create file \"%2\". ")
                    .arg(QDir::toNativeSeparators(table), QDir::toNativeSeparators(listsFile()))),
            qPrintable(fixture->prompter.messages.at(0)));

        const QString missing = dir.filePath(QStringLiteral("missing.csv"));
        exchange("importlists", missing);
        QCOMPARE(fixture->prompter.messages.size(), 2);
        QVERIFY(fixture->prompter.messages.at(1).startsWith(
            QStringLiteral("No list was added from \"%1\".\n")
                .arg(QDir::toNativeSeparators(missing))));
        QCOMPARE(titles(), QStringLiteral("中文数字|字母|阿拉伯数字"));
    }

    // Flash cards through the same Import: a list of nine added and shown, the note left over
    // named in the report, and the file dialog offering the flash-card formats.
    void importTakesFlashCards()
    {
        start();
        QByteArray text("#separator:tab\n#deck:Kanji\n");
        for (int n = 1; n <= 10; ++n)
            text += "字" + QByteArray::number(n) + "\tmeaning\n";
        const QString file = dir.filePath(QStringLiteral("kanji.txt"));
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        QVERIFY(out.write(text) == text.size());
        out.close();
        exchange("importlists", file);
        QCOMPARE(titles(), QStringLiteral("中文数字|字母|阿拉伯数字|水果|Fruit|Kanji"));
        QCOMPARE(reread().Get(6).text(9), QStringLiteral("字9"));
        QCOMPARE(fixture->prompter.messages,
                 QStringList{QStringLiteral("Lists added from \"%1\": 1\nLine 12, \"字10\": left "
                                            "over: fewer than nine words remain for another list")
                                 .arg(QDir::toNativeSeparators(file))});
        QVERIFY(fixture->prompter.filters.constLast().contains(QStringLiteral("*.apkg")));
    }

    void exportWritesTheUserLists()
    {
        start();
        const QString out = dir.filePath(QStringLiteral("out.csv"));
        QFile::remove(out);
        exchange("exportlists", out);
        const QByteArray written = bytesOf(out);
        QCOMPARE(written, exportlists({reread().Get(4), reread().Get(5)}));
        QVERIFY(written.startsWith(QStringLiteral("\uFEFF水果,苹果,").toUtf8()));
        QCOMPARE(written.count("\r\n"), 2);
        QCOMPARE(
            fixture->prompter.messages,
            QStringList{
                QStringLiteral("Lists exported to \"%1\": 2").arg(QDir::toNativeSeparators(out))});

        // An existing file is replaced only when the player says Yes.
        QVERIFY(QFile::remove(out));
        QVERIFY(QFile::copy(tableFile("exported.csv"), out));
        QVERIFY(QFile::setPermissions(out, QFile::ReadOwner | QFile::WriteOwner));
        exchange("exportlists", out);
        QCOMPARE(fixture->prompter.questions,
                 QStringList{fixture->state().texts.uitext(QStringLiteral("msgoverride"))});
        QCOMPARE(bytesOf(out), bytesOf(tableFile("exported.csv")));
        fixture->prompter.answers.enqueue(true);
        exchange("exportlists", out);
        QCOMPARE(bytesOf(out), written);
        QCOMPARE(fixture->prompter.folders.constLast(), dir.path());
    }

    // Cancel in the progress of an import: lists.txt and the titles stay as they were, and no
    // report follows.
    void cancelledImportAddsNothing()
    {
        start();
        const QByteArray before = bytesOf(listsFile());
        bool cancelled = false;
        QTimer::singleShot(0, &wordList(), [&] {
            if (auto *progress =
                    wordList().findChild<QProgressDialog *>(QStringLiteral("importprogress"))) {
                progress->cancel();
                cancelled = true;
            }
        });
        exchange("importlists", tableFile("simple_utf8.csv"));
        QVERIFY(cancelled);
        QCOMPARE(bytesOf(listsFile()), before);
        QCOMPARE(titles(), QStringLiteral("中文数字|字母|阿拉伯数字|水果|Fruit"));
        QVERIFY(fixture->prompter.messages.isEmpty());
        QVERIFY(!wordList().findChild<QProgressDialog *>()); // gone with the import

        exchange("importlists", tableFile("simple_utf8.csv")); // not cancelled this time
        QCOMPARE(titles(), QStringLiteral("中文数字|字母|阿拉伯数字|水果|Fruit|Colours|Pets"));
    }

    // The report names a row whose quote never closes, a row with a control character and an
    // undecodable one, and where the import stopped at its cap.
    void importReportNamesBrokenRowsAndTheCap()
    {
        start();
        QByteArray table("\xEF\xBB\xBF");
        for (int row = 1; row <= kMaxImportedLists + 6; ++row) {
            if (row == 4)
                table += "\"Broken,a,b,c,d,e,f,g,h,i\r\n";
            else if (row == 6)
                table += QByteArray("Nul,a,b,c,d,e,f,g,h,i\0\r\n", 24);
            else if (row == 8)
                table += "Bad\xC3,a,b,c,d,e,f,g,h,i\r\n";
            else
                table += "L" + QByteArray::number(row) + ",a,b,c,d,e,f,g,h,i\r\n";
        }
        const QString file = dir.filePath(QStringLiteral("many.csv"));
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        QVERIFY(out.write(table) == table.size());
        out.close();

        exchange("importlists", file);
        QCOMPARE(wordList().wl()->count(), 5 + kMaxImportedLists);
        QCOMPARE(reread().Count(), 5 + kMaxImportedLists);
        QCOMPARE(fixture->prompter.messages.size(), 1);
        const QStringList report = fixture->prompter.messages.at(0).split(u'\n');
        QCOMPARE(
            report,
            (QStringList{QStringLiteral("Lists added from \"%1\": 10000")
                             .arg(QDir::toNativeSeparators(file)),
                         "Row 4: a quote opens here and is never closed; the next row is read from "
                         "the next line",
                         "Row 6: word 9 holds a control character",
                         "Row 8: some of its bytes are not text in the file's encoding",
                         "An import adds at most 10000 lists: row 10004 and the rows after it were "
                         "not read."}));
    }

    // Ctrl+I and Ctrl+Shift+E inside the dialog, and the commands relabelled with it.
    void importAndExportKeys()
    {
        start();
        bool opened = false;
        whenModalOpens([&](QWidget *modal) {
            opened = true;
            QTest::keyClick(modal, Qt::Key_I, Qt::ControlModifier);
            QCOMPARE(fixture->prompter.folders.size(), 1);
            QTest::keyClick(modal, Qt::Key_E, Qt::ControlModifier | Qt::ShiftModifier);
            QCOMPARE(fixture->prompter.folders.size(), 2);
            QCOMPARE(action("importlists")->text(), QStringLiteral("Import Lists…"));
            press(modal, Qt::Key_F2);
            QCOMPARE(action("importlists")->text(), QStringLiteral("导入词表…"));
            QCOMPARE(action("exportlists")->text(), QStringLiteral("导出词表…"));
        });
        wordList().exec();
        QVERIFY(opened);
        QVERIFY(fixture->prompter.messages.isEmpty()); // both file dialogs cancelled
    }

    // Import… and Export… in sight beside Share Your List, clear of the other controls, do what
    // the list's context menu does, and follow the language.
    void importAndExportButtons()
    {
        start();
        bool opened = false;
        whenModalOpens([&](QWidget *modal) {
            opened = true;
            press(modal, Qt::Key_F1); // the language a test before left in the settings
            QPushButton *in = button(modal, "btimport"), *out = button(modal, "btexport");
            QVERIFY(in && out && in->isVisible() && out->isVisible());
            QWidget *panel = button(modal, "btsubmit")->parentWidget();
            for (QPushButton *b : {in, out}) {
                QCOMPARE(b->parentWidget(), panel);
                QVERIFY(panel->rect().contains(b->geometry()));
                for (QWidget *other : panel->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
                    if (other != b)
                        QVERIFY2(!other->geometry().intersects(b->geometry()),
                                 qPrintable(other->objectName()));
            }
            QCOMPARE(in->text(), QStringLiteral("Import…"));
            QCOMPARE(out->text(), QStringLiteral("Export…"));

            fixture->prompter.files.enqueue(tableFile("mixed.csv"));
            QTest::mouseClick(in, Qt::LeftButton);
            QCOMPARE(wordList().wl()->count(), 10);
            const QString file = dir.filePath(QStringLiteral("buttons.csv"));
            QFile::remove(file);
            fixture->prompter.files.enqueue(file);
            QTest::mouseClick(out, Qt::LeftButton);
            QList<WordSet> mine;
            for (int p = WordListStore::kBuiltIn + 1; p <= 10; ++p)
                mine.append(reread().Get(p));
            QCOMPARE(bytesOf(file), exportlists(mine));
            QCOMPARE(fixture->prompter.messages.size(), 2);

            press(modal, Qt::Key_F3);
            QCOMPARE(in->text(), QStringLiteral("読み込む…"));
            QCOMPARE(out->text(), QStringLiteral("書き出す…"));
            press(modal, Qt::Key_F1);
        });
        wordList().exec();
        QVERIFY(opened);
    }

    void languageKeysAndTheAppendCaption()
    {
        start();
        bool opened = false;
        whenModalOpens([&](QWidget *modal) {
            press(modal, Qt::Key_F3);
            QCOMPARE(modal->windowTitle(), QStringLiteral("単語リスト"));
            QCOMPARE(button(modal, "btadd")->text(), QStringLiteral("追加"));
            QCOMPARE(button(&fixture->main(), "btstartnewgame")->text(),
                     QStringLiteral("新しいゲーム"));
            whenModalOpens([&](QWidget *inner) {
                opened = true;
                QCOMPARE(inner->windowTitle(), QStringLiteral("Vaskelio"));
                QCOMPARE(button(inner, "Button1")->text(), QStringLiteral("セーブ"));
                press(inner, Qt::Key_F2);
                QCOMPARE(button(inner, "Button1")->text(), QStringLiteral("保存"));
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
