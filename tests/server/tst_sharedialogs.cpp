#include "listdialogs/frmsubmit.h"
#include "listdialogs/frmwordlist.h"
#include "listdialogs/webwordlist.h"
#include "programfixture.h"
#include "sandbox.h"
#include "shareserver.h"
#include "windows/mainwindow.h"
#include "wordlists/glossary.h"
#include "wordlists/shareaddress.h"
#include "wordlists/sharelimits.h"
#include "wordlists/wordliststore.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace {
QPushButton *button(QWidget *window, const char *name)
{
    return window->findChild<QPushButton *>(QLatin1String(name));
}

WordSet numbered(const QString &title)
{
    WordSet list{title, {}};
    for (int k = 0; k < 9; ++k)
        list.words[k].text = title.trimmed() + QString::number(k + 1);
    return list;
}

QStringList texts(const Twebwordlist &dialog)
{
    QStringList shown;
    for (int n = 0; n <= 9; ++n)
        shown.append(dialog.box(n)->text());
    return shown << dialog.edtpub()->text();
}

QStringList titles(const QListWidget *wl)
{
    QStringList shown;
    for (int row = 0; row < wl->count(); ++row)
        shown.append(wl->item(row)->text());
    return shown;
}

const QString msgok = QStringLiteral("Submit OK and await verification");
const QString msgerror = QStringLiteral("Submit wrongly, no success for publishing");
} // namespace

class TestShareDialogs : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    std::unique_ptr<ShareServer> server;
    std::unique_ptr<ProgramFixture> fixture;

    Tfrmwordlist &wordList() { return fixture->program->frmwordlist(); }
    Tfrmsubmit &submit() { return fixture->program->frmsubmit(); }
    Twebwordlist &shared() { return fixture->program->webwordlist(); }
    QStringList &messages() { return fixture->prompter.messages; }

    // The program on colours.txt (one user list, "Colours", at position 4), sharing with base.
    void start(const QString &base, bool readableLists = true)
    {
        const QString lists = wordlistfile(datafolder());
        QDir().mkpath(datafolder());
        if (!readableLists)
            QVERIFY(QDir().mkpath(lists));
        else if (!QFile::exists(lists))
            QVERIFY(
                QFile::copy(QStringLiteral(VASKELIO_TEST_DATA "/wordlists/colours.txt"), lists));
        QFile::setPermissions(lists, QFile::ReadOwner | QFile::WriteOwner);
        fixture = std::make_unique<ProgramFixture>(dir.filePath(QStringLiteral("s.ini")), base);
        fixture->program->makewindows();
        fixture->withoutShippedMeanings();
        messages().clear();
    }

private slots:
    void cleanup()
    {
        fixture.reset();
        server.reset();
        const QString lists = wordlistfile(datafolder());
        QDir(lists).removeRecursively();
        QFile::remove(lists);
        QFile::remove(Glossary::fileIn(datafolder()));
        QFile::remove(dir.filePath(QStringLiteral("s.ini")));
    }

    // Share Your List, from the Word List dialog's button to the reviewer's list.
    void submitThroughTheWordListDialog()
    {
        server = std::make_unique<ShareServer>();
        QVERIFY(server->running());
        start(server->base());
        QCOMPARE(submit().size(), QSize(253, 105));
        QCOMPARE(submit().windowTitle(), QStringLiteral("Vaskelio"));
        QVERIFY(!button(&wordList(), "btsubmit")->isEnabled()); // a built-in list is shown
        wordList().showposition(4);
        QVERIFY(button(&wordList(), "btsubmit")->isEnabled());
        wordList().box(0)->setText(QStringLiteral("R&D #1 字母")); // as shown, not as stored

        bool opened = false;
        whenModalOpens([&](QWidget *modal) {
            opened = true;
            QCOMPARE(modal, &submit());
            QCOMPARE(modal->windowTitle(), QStringLiteral("Submit to web"));
            submit().edtname()->setText(QStringLiteral("   "));
            QTest::mouseClick(button(modal, "Button1"), Qt::LeftButton);
            QCOMPARE(messages(), QStringList{QStringLiteral("Please Enter Your Name")});
            QCOMPARE(modal->focusWidget(), submit().edtname());
            submit().edtname()->setText(QStringLiteral(" Ann "));
            QTest::mouseClick(button(modal, "Button1"), Qt::LeftButton);
            QVERIFY(!modal->isVisible());
        });
        QTest::mouseClick(button(&wordList(), "btsubmit"), Qt::LeftButton);
        QVERIFY(opened);
        QCOMPARE(messages().last(), msgok);
        QCOMPARE(fixture->state().settings.submittername, QStringLiteral(" Ann "));
        const QStringList pending =
            server->review({"pending"}).second.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(pending.size(), 1);
        QCOMPARE(pending.at(0).section(u'\t', 2),
                 QStringLiteral(" Ann \tR&D #1 字母\tred\torange\tyellow\tgreen\tblue\tindigo\t"
                                "violet\tblack\twhite"));
        fixture.reset(); // the name is offered again after a restart
        start(server->base());
        QCOMPARE(submit().edtname()->text(), QStringLiteral(" Ann "));
    }

    void submissionOutcomes_data()
    {
        QTest::addColumn<QByteArray>("reply"); // empty: no reply at all
        QTest::addColumn<bool>("listening");
        QTest::addColumn<int>("requests"); // -1: Qt may send a GET again after a broken reply
        QTest::addColumn<QString>("message");
        QTest::newRow("200, any text")
            << StubServer::status(200, {}, "error") << true << 1 << msgok;
        QTest::newRow("404") << StubServer::status(404) << true << 1 << msgerror;
        QTest::newRow("500") << StubServer::status(500, {}, "OK") << true << 1 << msgerror;
        const QByteArray text = "Content-Type: text/plain; charset=utf-8\r\n";
        QTest::newRow("400 with a reason")
            << StubServer::status(400, text, "word 3 is empty\nand more\n") << true << 1
            << msgerror + QStringLiteral("\nword 3 is empty");
        QTest::newRow("429 with a reason")
            << StubServer::status(429, text, "  too many\t lists\r\n") << true << 1
            << msgerror + QStringLiteral("\ntoo many lists");
        QTest::newRow("404 with a text")
            << StubServer::status(404, text, "not found\n") << true << 1 << msgerror;
        QTest::newRow("302") << StubServer::status(302, "Location: /moved\r\n") << true << 1
                             << msgerror;
        QTest::newRow("broken reply") << QByteArray("garbage\r\n\r\n") << true << -1 << msgerror;
        QTest::newRow("no reply") << QByteArray() << true << 1 << msgerror;
        QTest::newRow("nobody listening") << QByteArray() << false << -1 << msgerror;
    }
    // Only a 2xx closes the dialog; a redirect is not followed. The request on the wire: the
    // address, the two fixed headers, HTTP/1.1. Closing by any means remembers the name.
    void submissionOutcomes()
    {
        QFETCH(QByteArray, reply);
        QFETCH(bool, listening);
        QFETCH(int, requests);
        QFETCH(QString, message);
        auto stub = std::make_unique<StubServer>(reply);
        const QString base = stub->base() + QStringLiteral("/base");
        if (!listening)
            stub.reset();
        start(base);
        submit().settimeout(300);
        wordList().showposition(4);
        wordList().box(9)->setText(QStringLiteral("1+1=2"));
        submit().show();
        submit().edtname()->setText(QStringLiteral(" Ann "));
        QTest::mouseClick(button(&submit(), "Button1"), Qt::LeftButton);
        QCOMPARE(messages(), QStringList{message});
        QCOMPARE(submit().isVisible(), message.startsWith(msgerror));
        QVERIFY(submit().isEnabled());
        submit().close();
        QCOMPARE(fixture->state().settings.submittername, QStringLiteral(" Ann "));
        if (requests < 0)
            return;
        QTRY_COMPARE(stub->requests.size(), requests); // a silent stub may read it late
        const QList<QByteArray> head = stub->requests.at(0).split('\n');
        QCOMPARE(head.at(0), "GET /base/pellimo/checkadd.php?appid=1&w0=Colours&w1=red&w2=orange"
                             "&w3=yellow&w4=green&w5=blue&w6=indigo&w7=violet&w8=black"
                             "&w9=1%2B1%3D2&n1=%20Ann%20 HTTP/1.1\r");
        QVERIFY(head.contains("Accept: text/html, */*\r"));
        QVERIFY(head.contains("User-Agent: Mozilla/3.0 (compatible; Indy Library)\r"));
    }

    void refusedBeforeSending_data()
    {
        QTest::addColumn<int>("langid"); // the interface's language
        // 0 title, 1..9 words, 10 the name, 11 the meaning of word 1, 12 the reading of word 2
        QTest::addColumn<int>("box");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("reason"); // empty: sent
        const QString emoji = QString::fromUcs4(U"\U0001F600");
        QTest::newRow("word of 51")
            << 0 << 3 << QString(51, u'x') << "word 3 is longer than 50 characters";
        QTest::newRow("word of 50 emoji") << 0 << 3 << emoji.repeated(50) << QString();
        QTest::newRow("title of 101")
            << 0 << 0 << QString(101, u'x') << "the title is longer than 100 characters";
        QTest::newRow("blank title") << 0 << 0 << QStringLiteral(" \t ") << "the title is empty";
        QTest::newRow("line separator") << 0 << 9 << QStringLiteral("a\u2028b")
                                        << "word 9 holds a line break or another control character";
        QTest::newRow("name of 51")
            << 0 << 10 << QString(51, u'n') << "the name is longer than 50 characters";
        QTest::newRow("leading U+FEFF") << 0 << 1 << QStringLiteral("\uFEFFa") << QString();
        QTest::newRow("Chinese, long word")
            << 1 << 3 << QString(51, u'x') << "第3个单词超过50个字符";
        QTest::newRow("Japanese, empty title") << 2 << 0 << QString() << "タイトルが空です";
        QTest::newRow("Chinese, name with a line break")
            << 1 << 10 << QStringLiteral("a\nb") << "姓名含有换行符或其他控制字符";
        QTest::newRow("meaning of 101") << 0 << 11 << QString(101, u'x')
                                        << "the meaning of word 1 is longer than 100 characters";
        QTest::newRow("meaning of 100 emoji") << 0 << 11 << emoji.repeated(100) << QString();
        QTest::newRow("Chinese, reading of 51")
            << 1 << 12 << QString(51, u'x') << "第2个单词的读音超过50个字符";
        QTest::newRow("Japanese, line separator in a reading")
            << 2 << 12 << QStringLiteral("a\u2028b")
            << "単語2の読みに改行などの制御文字が含まれています";
    }
    // A list the service would refuse is not sent, and the message names the text that is wrong,
    // in the language of the interface.
    void refusedBeforeSending()
    {
        QFETCH(int, langid);
        QFETCH(int, box);
        QFETCH(QString, text);
        QFETCH(QString, reason);
        StubServer stub(StubServer::status(200));
        start(stub.base());
        TextTables &texts = fixture->state().texts;
        texts.setLangid(langid);
        texts.selectLanguage();
        wordList().showposition(4);
        if (box < 10)
            wordList().box(box)->setText(text);
        if (box > 10) {
            WordSet glossed;
            glossed.words[0] = Word(QStringLiteral("red"), {}, box == 11 ? text : QString());
            glossed.words[1] = Word(QStringLiteral("orange"), box == 12 ? text : QString());
            fixture->state().glossary.take(glossed, false);
        }
        submit().show();
        submit().edtname()->setText(box == 10 ? text : QStringLiteral("Ann"));
        QTest::mouseClick(button(&submit(), "Button1"), Qt::LeftButton);
        if (reason.isEmpty()) {
            QCOMPARE(messages(), QStringList{msgok});
            QCOMPARE(stub.requests.size(), 1);
            return;
        }
        QCOMPARE(messages(),
                 QStringList{texts.uitext(QStringLiteral("frmsubmit.msgerror")) + u'\n' + reason});
        QVERIFY(submit().isVisible());
        QTest::qWait(100);
        QCOMPARE(stub.requests.size(), 0);
    }

    // From Share List against the service: approved lists only, newest first; Add trims the
    // title and refuses a title that exists.
    void addFromTheSharedLists()
    {
        server = std::make_unique<ShareServer>();
        QVERIFY(server->running());
        for (const char *title : {"Hidden", "  Fruit  ", "字母", "Veg"})
            QCOMPARE(httpget(submitaddress(server->base(), numbered(QString::fromUtf8(title)),
                                           QStringLiteral("Bo")))
                         .status,
                     200);
        for (const QString &id : server->pendingIds().mid(1))
            QCOMPARE(server->review({"approve", id}).first, 0);
        start(server->base());
        QCOMPARE(shared().size(), QSize(480, 231));
        QVERIFY(!button(&shared(), "BitBtn1")->isEnabled()); // nothing shown yet

        bool opened = false;
        whenModalOpens([&](QWidget *modal) {
            opened = true;
            QCOMPARE(modal, &shared());
            QTRY_COMPARE(titles(shared().wl()), QStringList({"Veg", "字母", "  Fruit  "}));
            QCOMPARE(texts(shared()).join(u'|'),
                     QStringLiteral("Veg|Veg1|Veg2|Veg3|Veg4|Veg5|Veg6|Veg7|Veg8|Veg9|Bo"));
            shared().wl()->setCurrentRow(2);
            QCOMPARE(shared().box(0)->text(), QStringLiteral("  Fruit  "));
            QTest::mouseClick(button(modal, "BitBtn1"), Qt::LeftButton);
            QCOMPARE(messages(), QStringList{"Add Successfully"});
            QCOMPARE(shared().box(0)->text(), QStringLiteral("Fruit"));
            QCOMPARE(wordList().box(0)->text(), QStringLiteral("Fruit")); // shown underneath
            QTest::mouseClick(button(modal, "BitBtn1"), Qt::LeftButton);
            shared().wl()->setCurrentRow(1);
            QTest::mouseClick(button(modal, "BitBtn1"), Qt::LeftButton);
            QCOMPARE(messages().mid(1),
                     QStringList(2, QStringLiteral("Title is already existing")));
        });
        QTest::mouseClick(button(&wordList(), "Button1"), Qt::LeftButton);
        QVERIFY(opened);
        QCOMPARE(titles(wordList().wl()).last(), QStringLiteral("Fruit"));
        QCOMPARE(wordList().position(), 5);
        QVERIFY(button(&wordList(), "btsubmit")->isEnabled());
        WordListStore saved(wordlistfile(datafolder()));
        QVERIFY(saved.Load());
        QCOMPARE(saved.Get(5), numbered(QStringLiteral("Fruit")));
    }

    // A list shared with readings and meanings comes back with them on another machine: Share
    // Your List sends the glossary's, Add records them there.
    void meaningsTravelWithTheList()
    {
        server = std::make_unique<ShareServer>(QString(), QStringList{"--publish-all"});
        QVERIFY(server->running());
        start(server->base());
        WordSet glossed{QStringLiteral("x"), {}};
        glossed.words[0] =
            Word(QStringLiteral("red"), QStringLiteral("rɛd"), QStringLiteral("红色"));
        glossed.words[8] = Word(QStringLiteral("white"), {}, QStringLiteral("白 \"色\""));
        fixture->state().glossary.take(glossed, false);
        wordList().showposition(4);
        submit().show();
        submit().edtname()->setText(QStringLiteral("Ann"));
        QTest::mouseClick(button(&submit(), "Button1"), Qt::LeftButton);
        QCOMPARE(messages(), QStringList{msgok});

        // Another machine: no glossary of its own (the one above was never written).
        fixture.reset();
        QVERIFY(!QFile::exists(Glossary::fileIn(datafolder())));
        start(server->base());
        QCOMPARE(fixture->state().glossary.find(QStringLiteral("red"), 0), Gloss());
        QSignalSpy loaded(&shared(), &Twebwordlist::pageloaded);
        shared().startloading();
        QVERIFY(loaded.wait(10000));
        QCOMPARE(titles(shared().wl()), QStringList{"Colours"});
        shared().box(0)->setText(QStringLiteral("Colours 2"));
        QTest::mouseClick(button(&shared(), "BitBtn1"), Qt::LeftButton);
        QCOMPARE(messages().last(), QStringLiteral("Add Successfully"));
        QCOMPARE(fixture->state().glossary.find(QStringLiteral("red"), 0),
                 (Gloss{QStringLiteral("rɛd"), QStringLiteral("红色")}));
        QCOMPARE(fixture->state().glossary.find(QStringLiteral("white"), 2).meaning,
                 QStringLiteral("白 \"色\""));
        QCOMPARE(fixture->state().glossary.find(QStringLiteral("orange"), 0), Gloss());
        Glossary saved = Glossary::read(Glossary::fileIn(datafolder()), {});
        QCOMPARE(saved.find(QStringLiteral("red"), 0).meaning, QStringLiteral("红色"));
    }

    // The lists' JSON is asked for first; the page when the service has none or answers with
    // something else, and after a 404 only the page.
    void pageWhereNoJson()
    {
        StubServer stub(StubServer::status(200, "Content-Type: text/plain; charset=utf-8\r\n",
                                           "h\nOne\n1\n2\n3\n4\n5\n6\n7\n8\n9\nAnn\n"));
        start(stub.base());
        QSignalSpy loaded(&shared(), &Twebwordlist::pageloaded);
        const auto load = [&] {
            stub.requests.clear();
            shared().startloading();
            QVERIFY(loaded.wait(10000));
        };
        const auto paths = [&] {
            QStringList shown;
            for (const QByteArray &head : stub.requests)
                shown.append(QString::fromLatin1(head.split(' ').value(1)));
            return shown;
        };
        const QString json = QStringLiteral("/pellimo/wordlists.json?appid=1");
        const QString page = QStringLiteral("/pellimo/wordlist.php?appid=1");
        load();
        QCOMPARE(loaded.last().at(0).toBool(), true);
        QCOMPARE(titles(shared().wl()), QStringList{"One"});
        QCOMPARE(paths(), QStringList({json, page}));
        stub.setreply(StubServer::status(404, {}, "not found\n"));
        load();
        QCOMPARE(loaded.last().at(0).toBool(), false);
        QCOMPARE(paths(), QStringList({json, page}));
        load();
        QCOMPARE(paths(), QStringList{page});
        QCOMPARE(titles(shared().wl()), QStringList{"One"});
    }

    // Pages arrive whether the dialog is open or not; a failed load changes nothing, an HTML
    // page is read as displayed.
    void pagesReplaceTheLists()
    {
        StubServer stub(StubServer::status(200, "Content-Type: text/plain; charset=utf-8\r\n",
                                           "h\nOne\n1\n2\n3\n4\n5\n6\n7\n8\n9\nAnn\nTwo\n"));
        start(stub.base());
        QSignalSpy loaded(&shared(), &Twebwordlist::pageloaded);
        const auto load = [&] {
            shared().startloading();
            QVERIFY(loaded.wait(10000));
        };
        load();
        QCOMPARE(loaded.last().at(0).toBool(), true);
        QCOMPARE(titles(shared().wl()), QStringList({"One", "Two"}));
        shared().wl()->setCurrentRow(1); // a short record keeps the fields it lacks
        QCOMPARE(texts(shared()).join(u'|'), QStringLiteral("Two|1|2|3|4|5|6|7|8|9|Ann"));

        shared().settimeout(300);
        for (const QByteArray &failure :
             {StubServer::status(500, {}, "h\nBad\n"), StubServer::status(302), QByteArray()}) {
            stub.setreply(failure);
            load();
            QCOMPARE(loaded.last().at(0).toBool(), false);
            QCOMPARE(titles(shared().wl()), QStringList({"One", "Two"}));
        }
        stub.setreply(
            StubServer::status(200, "Content-Type: text/html\r\n",
                               "<html><body><p>Lists</p>Three<br>caf&eacute;<br>b</body></html>"));
        load();
        QCOMPARE(titles(shared().wl()), QStringList{"Three"});
        QCOMPARE(shared().box(1)->text(), QStringLiteral("café"));
        QCOMPARE(shared().box(2)->text(), QStringLiteral("b"));
        QCOMPARE(shared().box(3)->text(), QStringLiteral("3"));
    }

    void oversizedPages_data()
    {
        QTest::addColumn<QByteArray>("reply");
        const QByteArray big = "h\n" + QByteArray("Big\n1\n2\n3\n4\n5\n6\n7\n8\n9\nAnn\n")
                                           .repeated(int(3 * kSharePageLimit / 25));
        QTest::newRow("announced") << StubServer::status(200, {}, big);
        QTest::newRow("unannounced") << "HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n" + big;
        QTest::newRow("one byte over")
            << StubServer::status(200, {}, QByteArray(kSharePageLimit + 1, '\n'));
    }
    // A page over the limit is not read, however fast it comes; the dialog says so and keeps
    // the lists it had. A page the service cut at its cap is shown with a word that it was.
    void oversizedPages()
    {
        QFETCH(QByteArray, reply);
        const QByteArray text = "Content-Type: text/plain; charset=utf-8\r\n";
        const QByteArray two = "h\nOne\n1\n2\n3\n4\n5\n6\n7\n8\n9\nAnn\n"
                               "Two\n1\n2\n3\n4\n5\n6\n7\n8\n9\nBo\n";
        StubServer stub(StubServer::status(200, text + "X-Total-Count: 5\r\n", two));
        start(stub.base());
        QSignalSpy loaded(&shared(), &Twebwordlist::pageloaded);
        shared().startloading();
        QVERIFY(loaded.wait(10000));
        QCOMPARE(titles(shared().wl()), QStringList({"One", "Two"}));
        QCOMPARE(shared().label3()->text(),
                 QStringLiteral("Only the newest 2 of 5 shared lists are shown."));

        stub.setreply(reply);
        shared().startloading();
        QVERIFY(loaded.wait(10000));
        QCOMPARE(loaded.last().at(0).toBool(), false);
        QCOMPARE(titles(shared().wl()), QStringList({"One", "Two"}));
        QCOMPARE(shared().label3()->text(),
                 QStringLiteral("The page of shared lists is larger than 8 MiB and was not "
                                "loaded."));

        stub.setreply(StubServer::status(200, text + "X-Total-Count: 2\r\n", two));
        shared().startloading();
        QVERIFY(loaded.wait(10000));
        QCOMPARE(loaded.last().at(0).toBool(), true);
        QCOMPARE(shared().label3()->text(), QString());
    }

    // A list that cannot be saved is reported by the store, and no success is claimed.
    void failedAdd()
    {
        start(QStringLiteral("http://127.0.0.1:9"), false);
        shared().pagearrived(QStringList{"h", "Veg"} + QStringList(10, QStringLiteral("w")));
        QTest::mouseClick(button(&shared(), "BitBtn1"), Qt::LeftButton);
        QCOMPARE(messages().size(), 1);
        QVERIFY(messages().at(0).startsWith(QStringLiteral("Cannot create")));
        QCOMPARE(wordList().wl()->count(), 3);
    }

    void languageKeys()
    {
        start(QStringLiteral("http://127.0.0.1:9"));
        for (QDialog *dialog : std::initializer_list<QDialog *>{&shared(), &submit()}) {
            dialog->show();
            QVERIFY(QTest::qWaitForWindowExposed(dialog));
            QWidget *focus = QApplication::focusWidget();
            QTest::keyClick(focus && focus->window() == dialog ? focus : dialog, Qt::Key_F3);
            dialog->close();
        }
        QCOMPARE(shared().windowTitle(), QStringLiteral("ウェブサイトでの単語リスト"));
        QCOMPARE(button(&shared(), "BitBtn2")->text(), QStringLiteral("戻る"));
        QCOMPARE(submit().windowTitle(), QStringLiteral("ウェブサイトへ"));
        QCOMPARE(button(&submit(), "Button1")->text(), QStringLiteral("発表"));
    }
};

VASKELIO_GUI_TEST_MAIN(TestShareDialogs)
#include "tst_sharedialogs.moc"
