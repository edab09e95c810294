#include "pgcluster.h"
#include "sandbox.h"
#include "shareserver.h"
#include "shareservice.h"
#include "wordlists/shareaddress.h"
#include "wordlists/sharedpage.h"
#include "wordlists/sharelimits.h"

namespace {
WordSet numbered(const QString &title, const QString &stem = QStringLiteral("w"))
{
    WordSet list{title, {}};
    for (int k = 0; k < 9; ++k)
        list.words[k].text = stem + QString::number(k + 1);
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

    TestStores stores;
    std::unique_ptr<ShareServer> server;
    // A service of its own with these options, in place of the one init() starts.
    void restart(const QStringList &options)
    {
        server.reset();
        server = std::make_unique<ShareServer>(stores.newstore(), options);
        QVERIFY(server->running());
    }
    quint16 port() const { return quint16(QUrl(server->base()).port()); }
    QByteArray page()
    {
        return httpget(server->base().toLatin1() + "/pellimo/wordlist.php?appid=1").body;
    }
    int submit(const WordSet &list, const QString &name)
    {
        return httpget(submitaddress(server->base(), list, name)).status;
    }

private slots:
    void initTestCase() { VASKELIO_START_STORES(stores); }
    void init()
    {
        server = std::make_unique<ShareServer>(stores.newstore());
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
        row("meaning 10", submission() + "&g10=x");
        row("meaning twice", submission() + "&g1=a&g1=b");
        row("blank reading", submission() + "&r2=%20");
        row("line feed in a meaning", submission() + "&g3=a%0Ab");
        row("line separator in a reading", submission() + "&r4=%E2%80%A8");
        row("meaning of 101", submission() + "&g6=" + QByteArray(kMaxMeaning + 1, 'x'));
        row("reading of 51", submission() + "&r7=" + QByteArray(kMaxReading + 1, 'x'));
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
        WordSet list{emoji.repeated(kMaxTitle), {}};
        list.words.fill(Word{emoji.repeated(kMaxWord)});
        QCOMPARE(submit(list, emoji.repeated(kMaxName)), 200);
        list.words.fill(Word{emoji.repeated(kMaxWord), emoji.repeated(kMaxReading),
                             emoji.repeated(kMaxMeaning)});
        QCOMPARE(submit(list, emoji.repeated(kMaxName)), 200);
        QCOMPARE(server->pendingIds().size(), 3);
    }

    void textsAreStoredAndShownLiterally()
    {
        WordSet list = numbered(QStringLiteral("Bob's \"list\"; DROP TABLE lists; --"));
        list.words[0].text = QStringLiteral("' OR 1=1 --");
        list.words[1].text = QStringLiteral("R&D 1+1=2 %41 <b>");
        list.words[2].text = QChar(0xFEFF) + QStringLiteral("bom");
        const QString name = QStringLiteral("Robert'); DELETE FROM lists;--");
        QCOMPARE(submit(list, name), 200);
        QCOMPARE(submit(numbered("After"), "Ann"), 200);
        for (const QString &id : server->pendingIds())
            QCOMPARE(server->review({"approve", id}).first, 0);
        const SharedPage shared = SharedPage::fromlines(textlines(QString::fromUtf8(page())));
        QCOMPARE(shared.count(), 2);
        QCOMPARE(shared.title(1), list.title);
        QCOMPARE(shared.line(1, 1), list.words[0].text);
        QCOMPARE(shared.line(1, 2), list.words[1].text);
        QCOMPARE(shared.line(1, 3), list.words[2].text);
        QCOMPARE(shared.line(1, 10), name);
    }

    // The JSON carries the lists of the page with their readings and meanings, escaped; the
    // page stays what it was.
    void listsWithMeanings()
    {
        restart({"--publish-all"});
        const QByteArray json = "/pellimo/wordlists.json?appid=1";
        HttpReply reply = httpget(server->base().toLatin1() + json);
        QCOMPARE(reply.status, 200);
        QCOMPARE(reply.body, QByteArray("{\"lists\":[],\"total\":0}"));
        QCOMPARE(reply.header("Content-Type"), QByteArray("application/json"));
        QCOMPARE(httpget(server->base().toLatin1() + "/pellimo/wordlists.json?appid=2").status,
                 400);

        WordSet plain = numbered(QStringLiteral("Plain"));
        QCOMPARE(submit(plain, "Ann"), 200);
        WordSet list = numbered(QStringLiteral("Fruit \"1\" \\"));
        list.words[0] = Word(QStringLiteral("苹果"), QStringLiteral("píngguǒ"),
                             QStringLiteral("apple & \"red\" </script>"));
        list.words[1].meaning = QString::fromUcs4(U"\U0001F34E \\n");
        list.words[8].reading = QStringLiteral("りんご");
        QCOMPARE(submit(list, QStringLiteral("Bo\\")), 200);
        reply = httpget(server->base().toLatin1() + json);
        QCOMPARE(reply.header("X-Total-Count"), QByteArray("2"));
        QVERIFY(reply.body.startsWith(
            "{\"lists\":[{\"publisher\":\"Bo\\\\\",\"title\":\"Fruit \\\"1\\\" \\\\\","
            "\"words\":[{\"meaning\":\"apple & \\\"red\\\" </script>\",\"reading\":"
            "\"p\xC3\xADnggu\xC7\x92\",\"text\":\"\xE8\x8B\xB9\xE6\x9E\x9C\"},{\"meaning\":\""
            "\xF0\x9F\x8D\x8E \\\\n\",\"reading\":\"\",\"text\":\"w2\"}"));
        // Byte for byte the page of the words alone.
        QCOMPARE(page(), QByteArray("Vaskelio shared word lists\n"
                                    "Fruit \"1\" \\\n苹果\nw2\nw3\nw4\nw5\nw6\nw7\nw8\nw9\nBo\\\n"
                                    "Plain\nw1\nw2\nw3\nw4\nw5\nw6\nw7\nw8\nw9\nAnn\n"));
        // The review command shows the readings and meanings of a list that has them.
        restart({});
        QCOMPARE(submit(list, QStringLiteral("Bo")), 200);
        QCOMPARE(submit(plain, QStringLiteral("Bo")), 200);
        const QStringList lines =
            server->review({"pending"}).second.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.at(0).split(u'\t').mid(13),
                 QStringList({"píngguǒ", "", "", "", "", "", "", "", "りんご",
                              "apple & \"red\" </script>", list.words[1].meaning, "", "", "", "",
                              "", "", ""}));
        QCOMPARE(lines.at(1).split(u'\t').size(), 13);
    }

    // The 21st submission within the hour from one address is refused and not stored; a list
    // that address has pending already is acknowledged again without a second row.
    void rateLimitPerAddress()
    {
        for (int n = 1; n <= kDefaultSubmitsPerHour; ++n)
            QCOMPARE(submit(numbered(QStringLiteral("List %1").arg(n)), "Ann"), 200);
        const HttpReply refused =
            httpget(submitaddress(server->base(), numbered("One more"), "Ann"));
        QCOMPARE(refused.status, 429);
        QCOMPARE(refused.body, QByteArray("more than 20 lists from one address within an hour; "
                                          "try again later\n"));
        QCOMPARE(submit(numbered(QStringLiteral("List 3")), "Ann"), 200);
        QCOMPARE(server->pendingIds().size(), kDefaultSubmitsPerHour);

        restart({"--rate-limit", "0"});
        for (int n = 1; n <= kDefaultSubmitsPerHour + 1; ++n)
            QCOMPARE(submit(numbered(QStringLiteral("List %1").arg(n)), "Ann"), 200);
        QCOMPARE(server->pendingIds().size(), kDefaultSubmitsPerHour + 1);
    }

    // A submission whose commit fails is answered 500, never OK, and is stored nowhere; the
    // service goes on storing the next one.
    void failedWritesAreNotAcknowledged()
    {
        PgCluster *cluster = stores.cluster();
        if (!cluster)
            QSKIP("a check deferred to the commit is PostgreSQL's");
        QVERIFY(cluster->psql(server->db(),
                              QStringLiteral("CREATE FUNCTION refuse() RETURNS trigger AS $$ BEGIN"
                                             " IF NEW.title = 'Bad' THEN RAISE EXCEPTION"
                                             " 'refused'; END IF; RETURN NEW; END $$ LANGUAGE"
                                             " plpgsql; CREATE CONSTRAINT TRIGGER refuse AFTER"
                                             " INSERT ON lists DEFERRABLE INITIALLY DEFERRED FOR"
                                             " EACH ROW EXECUTE FUNCTION refuse()")));
        const HttpReply refused = httpget(submitaddress(server->base(), numbered("Bad"), "Ann"));
        QCOMPARE(refused.status, 500);
        QCOMPARE(refused.body, QByteArray("the list cannot be stored\n"));
        QCOMPARE(submit(numbered(QStringLiteral("Good")), "Ann"), 200);
        QCOMPARE(server->pendingIds().size(), 1);
    }

    void clientAddress_data()
    {
        QTest::addColumn<QString>("peer");
        QTest::addColumn<QByteArray>("forwardedFor"); // null: no such header
        QTest::addColumn<QString>("client");
        const QString proxy = QStringLiteral("10.0.0.5");
        QTest::newRow("no proxy") << "192.0.2.1" << QByteArray("198.51.100.1") << "192.0.2.1";
        QTest::newRow("proxy, no header") << proxy << QByteArray() << proxy;
        QTest::newRow("proxy") << proxy << QByteArray("198.51.100.1") << "198.51.100.1";
        QTest::newRow("the last hop counts")
            << proxy << QByteArray("203.0.113.9, 198.51.100.1") << "198.51.100.1";
        QTest::newRow("proxies in the chain are passed")
            << proxy << QByteArray("198.51.100.1,10.0.0.6 , 10.0.0.5") << "198.51.100.1";
        QTest::newRow("garbage ends the chain")
            << proxy << QByteArray("198.51.100.1, unknown, 10.0.0.6") << "10.0.0.6";
        QTest::newRow("only garbage") << proxy << QByteArray("x") << proxy;
        QTest::newRow("IPv6, canonical") << proxy << QByteArray("2001:DB8:0:0::1") << "2001:db8::1";
        QTest::newRow("IPv4-mapped")
            << proxy << QByteArray("::ffff:198.51.100.2") << "198.51.100.2";
    }
    // X-Forwarded-For speaks for a client only when a proxy of the configuration sent it: the
    // last address in it that is no such proxy.
    void clientAddress()
    {
        QFETCH(QString, peer);
        QFETCH(QByteArray, forwardedFor);
        QFETCH(QString, client);
        const std::vector<std::string> proxies{"10.0.0.5", "10.0.0.6"};
        QCOMPARE(QString::fromStdString(clientaddress(
                     peer.toStdString(), forwardedFor.isNull() ? nullptr : forwardedFor.constData(),
                     proxies)),
                 client);
    }

    void forwardedFor_data()
    {
        QTest::addColumn<bool>("trusted");
        QTest::addColumn<QByteArray>("first");
        QTest::addColumn<QByteArray>("second");
        QTest::addColumn<int>("status"); // of the second submission
        QTest::newRow("two clients behind the proxy")
            << true << QByteArray("192.0.2.1") << QByteArray("192.0.2.2") << 200;
        QTest::newRow("one client behind the proxy")
            << true << QByteArray("192.0.2.1") << QByteArray("192.0.2.1") << 429;
        QTest::newRow("a forged hop") << true << QByteArray("203.0.113.1, 192.0.2.1")
                                      << QByteArray("203.0.113.2, 192.0.2.1") << 429;
        QTest::newRow("not from a proxy")
            << false << QByteArray("192.0.2.1") << QByteArray("192.0.2.2") << 429;
    }
    // One submission an hour: X-Forwarded-For decides who is who only behind a named proxy.
    void forwardedFor()
    {
        QFETCH(bool, trusted);
        QFETCH(QByteArray, first);
        QFETCH(QByteArray, second);
        QFETCH(int, status);
        QStringList options{"--rate-limit", "1"};
        if (trusted)
            options << "--proxy"
                    << "127.0.0.1";
        restart(options);
        const auto send = [this](const QString &title, const QByteArray &hops) {
            return httpget(submitaddress(server->base(), numbered(title), "Ann"), false,
                           {{"X-Forwarded-For", hops}})
                .status;
        };
        QCOMPARE(send(QStringLiteral("First"), first), 200);
        QCOMPARE(send(QStringLiteral("Second"), second), status);
        server->stop();
        const QByteArray log = server->log();
        QVERIFY(log.contains(' ' + (trusted ? first.split(',').last().trimmed() : "127.0.0.1") +
                             " GET /pellimo/checkadd.php 200 3\n"));
    }

    // The page holds the newest lists up to the cap and says how many there are in all.
    void pageCap()
    {
        restart({"--publish-all", "--page-cap", "2"});
        HttpReply reply = httpget(server->base().toLatin1() + "/pellimo/wordlist.php?appid=1");
        QCOMPARE(reply.header("X-Content-Type-Options"), QByteArray("nosniff"));
        QCOMPARE(reply.header("Content-Type"), QByteArray("text/plain; charset=utf-8"));
        QCOMPARE(reply.header("X-Total-Count"), QByteArray("0"));
        for (const char *title : {"One", "Two", "Three"})
            QCOMPARE(submit(numbered(QString::fromLatin1(title)), "Ann"), 200);
        reply = httpget(server->base().toLatin1() + "/pellimo/wordlist.php?appid=1");
        QCOMPARE(titles(reply.body), QStringList({"Three", "Two"}));
        QVERIFY(reply.body.startsWith("Vaskelio shared word lists (the newest 2 of 3)\n"));
        QCOMPARE(reply.header("X-Total-Count"), QByteArray("3"));
        for (const QString &cap : {QStringLiteral("0"), QString::number(kMaxPageCap + 1)}) {
            ShareServer refused(stores.newstore(), {"--page-cap", cap});
            QVERIFY(!refused.running());
        }
    }

    void refusedHeads_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QByteArray>("head"); // after the request line
        QTest::addColumn<int>("status");
        // The log line's method, path, status and size; none for a line the server cannot read.
        QTest::addColumn<QByteArray>("logged");
        const QByteArray page = "GET /pellimo/wordlist.php?appid=1 HTTP/1.1\r\n";
        const QByteArray fields = QByteArray("X-A: b\r\n").repeated(65);
        QTest::newRow("65 header fields")
            << page << fields << 431 << QByteArray("GET /pellimo/wordlist.php 431 23");
        QTest::newRow("40 KB of header") << page << "X-A: " + QByteArray(40000, 'a') + "\r\n"
                                         << 431 << QByteArray("- /pellimo/wordlist.php 431 -");
        QTest::newRow("a line of 40 KB")
            << "GET /pellimo/wordlist.php?appid=1&x=" + QByteArray(40000, 'a') + " HTTP/1.1\r\n"
            << QByteArray() << 414 << QByteArray();
        QTest::newRow("a body") << page << QByteArray("Content-Length: 5\r\n") << 413
                                << QByteArray("GET /pellimo/wordlist.php 413 26");
        QTest::newRow("a chunked body") << page << QByteArray("Transfer-Encoding: chunked\r\n")
                                        << 413 << QByteArray("GET /pellimo/wordlist.php 413 26");
    }
    // What no request of the service carries is refused before it is read, and the connection
    // closes; the log has every column, "-" for what is not known.
    void refusedHeads()
    {
        QFETCH(QByteArray, line);
        QFETCH(QByteArray, head);
        QFETCH(int, status);
        QFETCH(QByteArray, logged);
        RawClient client(port());
        QVERIFY(client.connected());
        client.send(line + "Host: t\r\n" + head + "\r\n");
        QVERIFY(client.receive().startsWith("HTTP/1.1 " + QByteArray::number(status) + ' '));
        QVERIFY(client.closedbypeer());
        QCOMPARE(httpget(server->base().toLatin1() + "/pellimo/wordlist.php?appid=1").status, 200);
        server->stop();
        if (!logged.isNull())
            QVERIFY(server->log().contains(" 127.0.0.1 " + logged + '\n'));
    }

    // A connection serves a bounded number of requests; the last reply says it closes.
    void requestsPerConnection()
    {
        restart({"--max-requests", "2"});
        RawClient client(port());
        const QByteArray request = "GET /pellimo/wordlist.php?appid=1 HTTP/1.1\r\nHost: t\r\n\r\n";
        client.send(request);
        const QByteArray first = client.receive("lists\n");
        QVERIFY(first.startsWith("HTTP/1.1 200 "));
        QVERIFY(!first.contains("Connection: close"));
        client.send(request);
        QVERIFY(client.receive("Connection: close").count("HTTP/1.1 200 ") == 2);
        QVERIFY(client.closedbypeer());
    }

    // Connections that send no whole head in time are cut, and one address cannot take more
    // than its share of connections; others are served all along.
    void slowAndSurplusConnections()
    {
        restart({"--head-timeout", "2", "--max-per-address", "2"});
        const QString crowd = QStringLiteral("127.0.0.2");
        const QByteArray request = "GET /pellimo/wordlist.php?appid=1 HTTP/1.1\r\nHost: t\r\n\r\n";
        RawClient slow(port(), crowd);
        slow.send("GET /pellimo/wordlist.php?appid=1 HTTP/1.1\r\n");
        // Idle once its reply has come, and by then surely counted.
        RawClient idle(port(), crowd);
        idle.send(request);
        QVERIFY(idle.receive("lists\n").startsWith("HTTP/1.1 200 "));
        RawClient surplus(port(), crowd);
        QVERIFY(surplus.closedbypeer());
        QVERIFY(surplus.receive().isEmpty());
        QCOMPARE(httpget(server->base().toLatin1() + "/pellimo/wordlist.php?appid=1").status, 200);
        for (int n = 0; n < 3; ++n) {
            slow.send("X-Slow: " + QByteArray::number(n) + "\r\n");
            QTest::qWait(200);
        }
        QVERIFY(slow.closedbypeer());
        QVERIFY(idle.closedbypeer());
        // The server counts a connection off only after the client has seen it close, so a
        // client that comes straight back may be turned away once or twice.
        QByteArray reply;
        for (int attempt = 0; attempt < 20 && !reply.startsWith("HTTP/1.1 200 "); ++attempt) {
            if (attempt > 0)
                QTest::qWait(100);
            RawClient again(port(), crowd);
            again.send(request);
            reply = again.receive();
        }
        QVERIFY2(reply.startsWith("HTTP/1.1 200 "), reply.constData());
    }
};

VASKELIO_TEST_MAIN(TestShareService)
#include "tst_shareservice.moc"
