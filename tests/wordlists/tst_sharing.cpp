#include "sandbox.h"
#include "wordlists/shareaddress.h"
#include "wordlists/sharedpage.h"

#include <QtTest>

namespace {
WordList numbered(const QString &title, const QString &stem = QStringLiteral("w"))
{
    WordList list{title, {}};
    for (int k = 0; k < 9; ++k)
        list.words[k] = stem + QString::number(k + 1);
    return list;
}

// A page: its first line, then every record's eleven lines.
QStringList pageOf(const QList<QStringList> &records)
{
    QStringList lines{QStringLiteral("heading")};
    for (const QStringList &record : records)
        lines += record;
    return lines;
}

QStringList record(const QString &title, const QString &publisher = QStringLiteral("Ann"))
{
    QStringList lines{title};
    for (int k = 1; k <= 9; ++k)
        lines.append(title + QString::number(k));
    lines.append(publisher);
    return lines;
}
} // namespace

class TestSharing : public QObject {
    Q_OBJECT

private slots:
    void encoding_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("address"); // percentencode
        QTest::addColumn<QByteArray>("value");   // percentencodevalue
        QTest::newRow("Chinese") << QStringLiteral("字母") << QByteArray("%E5%AD%97%E6%AF%8D")
                                 << QByteArray("%E5%AD%97%E6%AF%8D");
        QTest::newRow("spaces") << QStringLiteral(" Ann ") << QByteArray("%20Ann%20")
                                << QByteArray("%20Ann%20");
        QTest::newRow("hash") << QStringLiteral("#") << QByteArray("%23") << QByteArray("%23");
        QTest::newRow("the seven")
            << QStringLiteral("*#%<>[]") << QByteArray("%2A%23%25%3C%3E%5B%5D")
            << QByteArray("%2A%23%25%3C%3E%5B%5D");
        const QString passing = QStringLiteral("!\"$'(),-.;@\\^_`{|}~09AZaz");
        QTest::newRow("other ASCII") << passing << passing.toLatin1() << passing.toLatin1();
        QTest::newRow("separators")
            << QStringLiteral(":/?&=") << QByteArray(":/?&=") << QByteArray(":/?%26%3D");
        QTest::newRow("R&D") << QStringLiteral("R&D") << QByteArray("R&D") << QByteArray("R%26D");
        QTest::newRow("1+1=2") << QStringLiteral("1+1=2") << QByteArray("1+1=2")
                               << QByteArray("1%2B1%3D2");
        QTest::newRow("controls") << QStringLiteral("\t\n\x7f") << QByteArray("%09%0A%7F")
                                  << QByteArray("%09%0A%7F");
        QTest::newRow("accent") << QStringLiteral("é") << QByteArray("%C3%A9")
                                << QByteArray("%C3%A9");
        QTest::newRow("surrogate pair")
            << QString::fromUcs4(U"a\U0001F600b") << QByteArray("a%F0%9F%98%80b")
            << QByteArray("a%F0%9F%98%80b");
        QTest::newRow("lone surrogate") << (QStringLiteral("x") + QChar(0xD800) + u'y')
                                        << QByteArray("x%EF%BF%BDy") << QByteArray("x%EF%BF%BDy");
    }
    void encoding()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, address);
        QFETCH(QByteArray, value);
        QCOMPARE(percentencode(text), address);
        QCOMPARE(percentencodevalue(text), value);
    }

    // Values keep their place in the request whatever they hold.
    void submissionAddress()
    {
        WordList list = numbered(QStringLiteral("R&D 1+1=2"));
        list.words[0] = QStringLiteral("字母");
        list.words[8] = QStringLiteral("#9");
        const QByteArray address =
            submitaddress(QStringLiteral("http://127.0.0.1:8080"), list, QStringLiteral(" Ann "));
        QCOMPARE(address, QByteArray("http://127.0.0.1:8080/pellimo/checkadd.php?appid=1"
                                     "&w0=R%26D%201%2B1%3D2&w1=%E5%AD%97%E6%AF%8D&w2=w2&w3=w3"
                                     "&w4=w4&w5=w5&w6=w6&w7=w7&w8=w8&w9=%239&n1=%20Ann%20"));
        // The base is encoded too.
        QVERIFY(submitaddress(QStringLiteral("http://h/a b"), list, QStringLiteral("n"))
                    .startsWith("http://h/a%20b/pellimo/checkadd.php?appid=1&w0="));
    }

    void baseAddress()
    {
        qunsetenv(kShareBaseVariable);
        QCOMPARE(sharebase(), QLatin1String(kDefaultShareBase));
        qputenv(kShareBaseVariable, "  http://127.0.0.1:5000/share//  ");
        QCOMPARE(sharebase(), QStringLiteral("http://127.0.0.1:5000/share"));
        QCOMPARE(sharepageaddress(sharebase()),
                 QStringLiteral("http://127.0.0.1:5000/share/pellimo/wordlist.php?appid=1"));
        qputenv(kShareBaseVariable, " ");
        QCOMPARE(sharebase(), QLatin1String(kDefaultShareBase));
        qunsetenv(kShareBaseVariable);
    }

    void textLines_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("empty") << QString() << QStringList();
        QTest::newRow("one line end") << QStringLiteral("\n") << QStringList{QString()};
        QTest::newRow("every line end")
            << QStringLiteral("a\r\nb\rc\nd") << QStringList{"a", "b", "c", "d"};
        QTest::newRow("final line end") << QStringLiteral("a\r\n") << QStringList{"a"};
        QTest::newRow("empty line kept") << QStringLiteral("a\n\nb") << QStringList{"a", "", "b"};
        QTest::newRow("CR CR LF") << QStringLiteral("a\r\r\nb") << QStringList{"a", "", "b"};
    }
    void textLines()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, lines);
        QCOMPARE(textlines(text), lines);
    }

    void records()
    {
        // A first line and 22 lines: two records, the first and the twelfth line.
        const SharedPage two = SharedPage::fromlines(
            pageOf({record(QStringLiteral("One")), record(QStringLiteral("Two"))}));
        QCOMPARE(two.count(), 2);
        QCOMPARE(two.title(0), QStringLiteral("One"));
        QCOMPARE(two.title(1), QStringLiteral("Two"));
        QCOMPARE(two.line(1, 9), QStringLiteral("Two9"));
        QCOMPARE(two.line(1, 10), QStringLiteral("Ann"));
        QCOMPARE(two.line(1, 11), std::nullopt);

        QCOMPARE(SharedPage::fromlines({QStringLiteral("heading")}).count(), 0);
        QCOMPARE(SharedPage::fromlines({}).count(), 0);

        // Lines stand as they are: "<<" is kept, and a long title is still one line.
        const QString longTitle(600, u'x');
        const SharedPage kept = SharedPage::fromlines(
            pageOf({record(QStringLiteral("<<Old")), record(longTitle), record("Third")}));
        QCOMPARE(kept.count(), 3);
        QCOMPARE(kept.title(0), QStringLiteral("<<Old"));
        QCOMPARE(kept.line(0, 1), QStringLiteral("<<Old1"));
        QCOMPARE(kept.title(1), longTitle);
        QCOMPARE(kept.title(2), QStringLiteral("Third"));
        QCOMPARE(kept.line(2, 10), QStringLiteral("Ann"));

        // A short last record is listed; its missing lines are none.
        QStringList lines = pageOf({record(QStringLiteral("Whole"))});
        lines += QStringList{"Short", "s1", "s2"};
        const SharedPage shortLast = SharedPage::fromlines(lines);
        QCOMPARE(shortLast.count(), 2);
        QCOMPARE(shortLast.title(1), QStringLiteral("Short"));
        QCOMPARE(shortLast.line(1, 2), QStringLiteral("s2"));
        QCOMPARE(shortLast.line(1, 3), std::nullopt);
        QCOMPARE(shortLast.line(1, 10), std::nullopt);
    }

    // What the service writes is what the dialog reads.
    void pageRoundTrip()
    {
        SharedRecord first{numbered(QStringLiteral("水果"), QStringLiteral("果")), "李"};
        SharedRecord second{numbered(QStringLiteral(" R&D; ' OR 1=1 -- ")), " Ann "};
        const QByteArray body = sharedpagetext({first, second}).toUtf8();
        QVERIFY(body.endsWith("\n"));
        const SharedPage page = SharedPage::fromlines(pagelines(body, "text/plain; charset=utf-8"));
        QCOMPARE(page.count(), 2);
        QCOMPARE(page.text().size(), 22);
        for (int k = 0; k < 2; ++k) {
            const SharedRecord &r = k == 0 ? first : second;
            QCOMPARE(page.title(k), r.list.title);
            for (int n = 1; n <= 9; ++n)
                QCOMPARE(page.line(k, n), r.list.words[n - 1]);
            QCOMPARE(page.line(k, 10), r.publisher);
        }
    }

    void decoding_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QByteArray>("contentType");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("no type: UTF-8")
            << QByteArray("h\n\xe5\xad\x97") << QByteArray() << QStringList{"h", "字"};
        QTest::newRow("charset named")
            << QByteArray("h\r\ncaf\xe9") // Latin-1 é
            << QByteArray("text/plain; charset=\"ISO-8859-1\"") << QStringList{"h", "café"};
        QTest::newRow("unknown charset")
            << QByteArray("\xc3\xa9") << QByteArray("text/plain; charset=nonsense")
            << QStringList{"é"};
        QTest::newRow("UTF-16 with its mark") << QByteArray("\xff\xfeh\0\n\0x\0", 8)
                                              << QByteArray("text/plain") << QStringList{"h", "x"};
        QTest::newRow("broken UTF-8") << QByteArray("a\xff") << QByteArray("text/plain")
                                      << QStringList{QStringLiteral("a\uFFFD")};
        QTest::newRow("HTML") << QByteArray("<p>h</p>a &amp; b<br>\xe5\xad\x97")
                              << QByteArray("Text/HTML; charset=utf-8")
                              << QStringList{"h", "a & b", "字"};
        QTest::newRow("HTML meta charset") << QByteArray("<meta charset=\"iso-8859-1\">caf\xe9")
                                           << QByteArray("text/html") << QStringList{"café"};
        QTest::newRow("XHTML") << QByteArray("a<br/>b") << QByteArray("application/xhtml+xml")
                               << QStringList{"a", "b"};
        QTest::newRow("tags in plain text")
            << QByteArray("a<br>b") << QByteArray("text/plain") << QStringList{"a<br>b"};
    }
    void decoding()
    {
        QFETCH(QByteArray, body);
        QFETCH(QByteArray, contentType);
        QFETCH(QStringList, lines);
        QCOMPARE(pagelines(body, contentType), lines);
    }

    void html_data()
    {
        QTest::addColumn<QString>("html");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("br") << QStringLiteral("a<br>b<BR/>c<br />d")
                            << QStringList{"a", "b", "c", "d"};
        QTest::newRow("br makes empty lines")
            << QStringLiteral("a<br><br>b<br>") << QStringList{"a", "", "b"};
        QTest::newRow("paragraphs")
            << QStringLiteral("<p>a</p><p>b</p>c") << QStringList{"a", "b", "c"};
        QTest::newRow("nested blocks give one line end")
            << QStringLiteral("<div><div><p>a</p></div></div><div></div>b")
            << QStringList{"a", "b"};
        QTest::newRow("list") << QStringLiteral("<ul>\n <li>x</li>\n <li>y\n</ul>")
                              << QStringList{"x", "y"};
        QTest::newRow("table rows")
            << QStringLiteral("<table><tr><td>a</td><td>b</td></tr><tr><th>c</th></tr></table>")
            << QStringList{"a b", "c"};
        QTest::newRow("white space")
            << QStringLiteral("  a \n\t b  <br>  c  \r\n d ") << QStringList{"a b", "c d"};
        QTest::newRow("inline tags")
            << QStringLiteral("x<b>y</b><span class=\"k\">z</span>") << QStringList{"xyz"};
        QTest::newRow("references")
            << QStringLiteral("&amp;&lt;&gt;&quot;&apos;&#65;&#x42;&#X1f600;&#67")
            << QStringList{QString::fromUcs4(U"&<>\"'AB\U0001F600C")};
        QTest::newRow("references that name nothing")
            << QStringLiteral("&#0;&#xD800;&#99999999999999;")
            << QStringList{QStringLiteral("\uFFFD\uFFFD\uFFFD")};
        QTest::newRow("ampersands left alone") << QStringLiteral("&unknown; & a &amp &#; &#x;")
                                               << QStringList{"&unknown; & a &amp &#; &#x;"};
        QTest::newRow("no-break space is no white space")
            << QStringLiteral("a &nbsp; b") << QStringList{QStringLiteral("a \u00A0 b")};
        QTest::newRow("hidden content")
            << QStringLiteral("<head><title>T</title><style>p{}</style></head>"
                              "<script>var s = '<br>';</script>x<SCRIPT src=a></Script>y")
            << QStringList{"xy"};
        QTest::newRow("comments and declarations")
            << QStringLiteral("<!DOCTYPE html><!-- a<br>b -->c<?xml x?>d") << QStringList{"cd"};
        QTest::newRow("a lone < is text")
            << QStringLiteral("a < b > c <3") << QStringList{"a < b > c <3"};
        QTest::newRow("quoted >") << QStringLiteral("<a href='x>y' title=\"<br>\">link</a>")
                                  << QStringList{"link"};
        QTest::newRow("pre") << QStringLiteral("<pre>a  b\r\n c\n</pre>d")
                             << QStringList{"a  b", " c", "d"};
        QTest::newRow("tag open at the end") << QStringLiteral("x<p class=") << QStringList{"x"};
        QTest::newRow("comment open at the end") << QStringLiteral("x<!-- y") << QStringList{"x"};
        QTest::newRow("script open at the end") << QStringLiteral("x<script>y") << QStringList{"x"};
        QTest::newRow("nothing") << QString() << QStringList();
    }
    void html()
    {
        QFETCH(QString, html);
        QFETCH(QStringList, lines);
        QCOMPARE(htmllines(html), lines);
    }

    // A page as a browser-era service might have sent it.
    void htmlPage()
    {
        QString html = QStringLiteral("<html><head><title>Lists</title></head>\n<body>\n"
                                      "Shared lists<br>\n");
        for (const QString &line : record(QStringLiteral("Fruit &amp; nuts")))
            html += line + QStringLiteral("<br>\n");
        html += QStringLiteral("</body></html>\n");
        const SharedPage page = SharedPage::fromlines(htmllines(html));
        QCOMPARE(page.count(), 1);
        QCOMPARE(page.title(0), QStringLiteral("Fruit & nuts"));
        QCOMPARE(page.line(0, 10), QStringLiteral("Ann"));
        QCOMPARE(page.text().size(), 11);
    }
};

VASKELIO_TEST_MAIN(TestSharing)
#include "tst_sharing.moc"
