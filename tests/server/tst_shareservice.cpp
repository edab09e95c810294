#include "sandbox.h"
#include "shareserver.h"
#include "shareservice.h"
#include "wordlists/shareaddress.h"
#include "wordlists/sharedpage.h"

namespace {
WordList numbered(const QString &title, const QString &stem = QStringLiteral("w"))
{
    WordList list{title, {}};
    for (int k = 0; k < 9; ++k)
        list.words[k] = stem + QString::number(k + 1);
    return list;
}

// A submission's target with plain values, key's value raw instead (a null one leaves key out).
QByteArray submission(const QByteArray &key = {}, const QByteArray &raw = {})
{
    QByteArrayList pieces;
    for (const char *k :
         {"appid", "w0", "w1", "w2", "w3", "w4", "w5", "w6", "w7", "w8", "w9", "n1"}) {
        if (key == k && raw.isNull())
            continue;
        pieces.append(k + ('=' + (key == k                   ? raw
                                  : qstrcmp(k, "appid") == 0 ? "1"
                                                             : "v" + QByteArray(k))));
    }
    return "/pellimo/checkadd.php?" + pieces.join('&');
}

QStringList titles(const QByteArray &page)
{
    const SharedPage shared = SharedPage::fromlines(pagelines(page, "text/plain; charset=utf-8"));
    QStringList titles;
    for (int k = 0; k < shared.count(); ++k)
        titles.append(shared.title(k));
    return titles;
}
} // namespace

class TestShareService : public QObject {
    Q_OBJECT

    std::unique_ptr<ShareServer> server;
    QByteArray page()
    {
        return httpget(server->base().toLatin1() + "/pellimo/wordlist.php?appid=1").body;
    }
    int submit(const WordList &list, const QString &name)
    {
        return httpget(submitaddress(server->base(), list, name)).status;
    }

private slots:
    void init()
    {
        server = std::make_unique<ShareServer>();
        QVERIFY(server->running());
    }
    void cleanup() { server.reset(); }

    void listsAppearOnlyOnceApproved()
    {
        QCOMPARE(page(), QByteArray("Vaskelio shared word lists\n"));
        QCOMPARE(httpget(submitaddress(server->base(), numbered("Old"), "Ann")).body,
                 QByteArray("OK\n"));
        QCOMPARE(submit(numbered(QStringLiteral("新")), QStringLiteral(" Bo ")), 200);
        QCOMPARE(titles(page()), QStringList());
        const QStringList ids = server->pendingIds();
        QCOMPARE(ids.size(), 2);
        QVERIFY(server->review({"pending"})
                    .second.endsWith(
                        QStringLiteral("\t Bo \t新\tw1\tw2\tw3\tw4\tw5\tw6\tw7\tw8\tw9\n")));

        QCOMPARE(server->review({"approve", ids.at(0)}).first, 0);
        QCOMPARE(titles(page()), QStringList{"Old"});
        QCOMPARE(server->review({"approve", ids.at(1)}).first, 0);
        // Newest first, each list in eleven lines.
        const QStringList lines = textlines(QString::fromUtf8(page()));
        QCOMPARE(lines.size(), 23);
        QCOMPARE(lines.mid(1, 11),
                 QStringList({"新", "w1", "w2", "w3", "w4", "w5", "w6", "w7", "w8", "w9", " Bo "}));
        QCOMPARE(lines.at(12), QStringLiteral("Old"));
        QCOMPARE(server->pendingIds(), QStringList());

        QCOMPARE(server->review({"reject", ids.at(1)}).first, 0);
        QCOMPARE(titles(page()), QStringList{"Old"});
        QCOMPARE(server->review({"approve", "99"}).first, 1);
        QCOMPARE(server->review({"approve", "x"}).first, 2);
        // One log line per request, without the query.
        server->stop();
        const QByteArray log = server->log();
        QCOMPARE(log.count("GET /pellimo/"), 7);
        QVERIFY(!log.contains("Bo"));
    }

    void refused_data()
    {
        QTest::addColumn<QByteArray>("target");
        QTest::addColumn<int>("status");
        const auto row = [](const char *name, const QByteArray &target, int status = 400) {
            QTest::newRow(name) << target << status;
        };
        row("no query", "/pellimo/checkadd.php");
        row("n1 missing", submission("n1"));
        row("w5 missing", submission("w5"));
        row("w3 empty", submission("w3", ""));
        row("w3 blank", submission("w3", "%20%20+"));
        row("appid 2", submission("appid", "2"));
        row("line feed", submission("w5", "a%0Ab"));
        row("carriage return", submission("w0", "a%0D"));
        row("line separator", submission("n1", "a%E2%80%A8b"));
        row("not UTF-8", submission("w9", "%FF"));
        row("title of 101",
            submission("w0", QString(101, QChar(0x5B57)).toUtf8().toPercentEncoding()));
        row("word of 51", submission("w1", QByteArray(51, 'x')));
        row("name of 51", submission("n1", QByteArray(51, 'x')));
        row("w1 twice", submission() + "&w1=again");
        row("unknown key", submission() + "&w10=x");
        row("page of appid 2", "/pellimo/wordlist.php?appid=2");
        row("root", "/", 404);
        row("other file", "/pellimo/wordlist.phps?appid=1", 404);
        row("dot is no wildcard", "/pellimo/wordlistXphp?appid=1", 404);
        row("below", "/pellimo/checkadd.php/x?appid=1", 404);
    }
    void refused()
    {
        QFETCH(QByteArray, target);
        QFETCH(int, status);
        const HttpReply reply = httpget(server->base().toLatin1() + target);
        QCOMPARE(reply.status, status);
        QVERIFY(!reply.body.isEmpty());
        QCOMPARE(server->pendingIds(), QStringList());
    }

    // The plain submission the refusals start from is accepted (by GET, not HEAD), and so are
    // the longest texts in four-byte characters: the request is still one the service reads.
    void accepted()
    {
        QCOMPARE(httpget(server->base().toLatin1() + submission(), true).status, 405);
        QCOMPARE(server->pendingIds(), QStringList());
        QCOMPARE(httpget(server->base().toLatin1() + submission()).status, 200);
        const QString emoji = QString::fromUcs4(U"\U0001F600");
        WordList list{emoji.repeated(kMaxTitle), {}};
        list.words.fill(emoji.repeated(kMaxWord));
        QCOMPARE(submit(list, emoji.repeated(kMaxName)), 200);
        QCOMPARE(server->pendingIds().size(), 2);
    }

    void textsAreStoredAndShownLiterally()
    {
        WordList list = numbered(QStringLiteral("Bob's \"list\"; DROP TABLE lists; --"));
        list.words[0] = QStringLiteral("' OR 1=1 --");
        list.words[1] = QStringLiteral("R&D 1+1=2 %41 <b>");
        const QString name = QStringLiteral("Robert'); DELETE FROM lists;--");
        QCOMPARE(submit(list, name), 200);
        QCOMPARE(submit(numbered("After"), "Ann"), 200);
        for (const QString &id : server->pendingIds())
            QCOMPARE(server->review({"approve", id}).first, 0);
        const SharedPage shared = SharedPage::fromlines(textlines(QString::fromUtf8(page())));
        QCOMPARE(shared.count(), 2);
        QCOMPARE(shared.title(1), list.title);
        QCOMPARE(shared.line(1, 1), list.words[0]);
        QCOMPARE(shared.line(1, 2), list.words[1]);
        QCOMPARE(shared.line(1, 10), name);
    }
};

VASKELIO_TEST_MAIN(TestShareService)
#include "tst_shareservice.moc"
