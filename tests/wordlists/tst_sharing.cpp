#include "listdialogs/htmlreference.h"
#include "sandbox.h"
#include "wordlists/shareaddress.h"
#include "wordlists/sharedpage.h"

#include <QtTest>

namespace {
// A page: a first line, then eleven lines per title (its words title1..title9, publisher Ann).
QStringList pageOf(const QStringList &titles)
{
    QStringList lines{QStringLiteral("heading")};
    for (const QString &title : titles) {
        lines.append(title);
        for (int k = 1; k <= 9; ++k)
            lines.append(title + QString::number(k));
        lines.append(QStringLiteral("Ann"));
    }
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
        const auto row = [](const char *name, const QString &text, const char *address,
                            const char *value = nullptr) {
            QTest::newRow(name) << text << QByteArray(address)
                                << QByteArray(value ? value : address);
        };
        row("Chinese", "字母", "%E5%AD%97%E6%AF%8D");
        row("spaces", " Ann ", "%20Ann%20");
        row("the seven", "*#%<>[]", "%2A%23%25%3C%3E%5B%5D");
        row("other ASCII", "!\"$'(),-.;@\\^_`{|}~09AZaz", "!\"$'(),-.;@\\^_`{|}~09AZaz");
        row("separators", ":/?&=", ":/?&=", ":/?%26%3D");
        row("R&D 1+1=2", "R&D 1+1=2", "R&D%201+1=2", "R%26D%201%2B1%3D2");
        row("controls", "\t\n\x7f", "%09%0A%7F");
        row("accent", "é", "%C3%A9");
        row("surrogate pair", QString::fromUcs4(U"a\U0001F600"), "a%F0%9F%98%80");
        row("lone surrogate", QString(QChar(0xD800)) + u'z', "%EF%BF%BDz");
        row("leading U+FEFF", QString(QChar(0xFEFF)) + u'a', "%EF%BB%BFa");
    }
    void encoding()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, address);
        QFETCH(QByteArray, value);
        QCOMPARE(percentencode(text), address);
        QCOMPARE(percentencodevalue(text), value);
    }

    // Every value keeps its place in the request whatever it holds; the base is encoded too.
    void submissionAddress()
    {
        WordSet list{QStringLiteral("R&D 1+1=2"), {}};
        for (int k = 0; k < 9; ++k)
            list.words[k].text = QStringLiteral("w%1").arg(k + 1);
        list.words[0].text = QStringLiteral("字母");
        list.words[8].text = QStringLiteral("#9");
        QCOMPARE(submitaddress(QStringLiteral("http://h:8080/a b"), list, QStringLiteral(" Ann ")),
                 QByteArray("http://h:8080/a%20b/pellimo/checkadd.php?appid=1&w0=R%26D%201%2B1%3D2"
                            "&w1=%E5%AD%97%E6%AF%8D&w2=w2&w3=w3&w4=w4&w5=w5&w6=w6&w7=w7&w8=w8"
                            "&w9=%239&n1=%20Ann%20"));
    }

    // Readings and meanings follow the eleven fields, only where a word has them.
    void submissionWithMeanings()
    {
        WordSet list{QStringLiteral("T"), {}};
        for (int k = 0; k < 9; ++k)
            list.words[k].text = QStringLiteral("w%1").arg(k + 1);
        list.words[0].reading = QStringLiteral("píngguǒ");
        list.words[0].meaning = QStringLiteral("apple&pear");
        list.words[8].meaning = QStringLiteral("=");
        QCOMPARE(submitaddress(QStringLiteral("http://h"), list, QStringLiteral("A")),
                 QByteArray("http://h/pellimo/checkadd.php?appid=1&w0=T&w1=w1&w2=w2&w3=w3&w4=w4"
                            "&w5=w5&w6=w6&w7=w7&w8=w8&w9=w9&n1=A&r1=p%C3%ADnggu%C7%92"
                            "&g1=apple%26pear&g9=%3D"));
        QCOMPARE(sharelistsaddress(QStringLiteral("http://h")),
                 QStringLiteral("http://h/pellimo/wordlists.json?appid=1"));
    }

    // What the service writes is read back whole, line and paragraph separators escaped.
    void listsJson()
    {
        SharedRecord record;
        record.list.title = QStringLiteral("a\u2028b\u2029 \"\\ 字");
        for (int k = 0; k < 9; ++k)
            record.list.words[k] = Word(QStringLiteral("w%1").arg(k), QStringLiteral("r"),
                                        QString::fromUcs4(U"\U0001F600\t"));
        record.publisher = QStringLiteral("</script>");
        const QByteArray json = sharedlistsjson({record, record}, 5);
        QVERIFY(
            json.startsWith(R"({"lists":[{"publisher":"</script>","title":"a\u2028b\u2029 \"\\ )"
                            "\xE5\xAD\x97\""));
        QVERIFY(!json.contains("\xE2\x80\xA8"));
        QVERIFY(json.endsWith(R"("total":5})"));
        const std::optional<QList<SharedRecord>> back = parsesharedlists(json);
        QVERIFY(back);
        QCOMPARE(back->size(), 2);
        QCOMPARE(back->at(1).list, record.list);
        QCOMPARE(back->at(1).publisher, record.publisher);

        // As lines of a page, with the words whole; a line break in a text shifts nothing.
        record.list.title = QStringLiteral("x\ny");
        const SharedPage page = SharedPage::fromrecords({record, record});
        QCOMPARE(page.count(), 2);
        QCOMPARE(page.title(1), record.list.title);
        QCOMPARE(page.word(1, 9), record.list.words[8]);
        QCOMPARE(page.word(1, 10), Word());
        QCOMPARE(SharedPage::fromlines({"h", "T", "one"}).word(0, 1), Word(QStringLiteral("one")));
    }

    void badListsJson_data()
    {
        QTest::addColumn<QByteArray>("json");
        const QByteArray word = R"({"text":"w"})";
        const QByteArray nine = (word + ',').repeated(8) + word;
        const auto list = [&](const QByteArray &words) {
            return R"({"lists":[{"title":"T","publisher":"P","words":[)" + words + "]}]}";
        };
        QTest::newRow("the page") << QByteArray("Vaskelio shared word lists\nT\n");
        QTest::newRow("cut short") << list(nine).chopped(2);
        QTest::newRow("no lists") << QByteArray(R"({"total":0})");
        QTest::newRow("eight words") << list((word + ',').repeated(7) + word);
        QTest::newRow("a number for a text") << list((word + ',').repeated(8) + R"({"text":9})");
        QTest::newRow("a number for a meaning")
            << list((word + ',').repeated(8) + R"({"text":"w","meaning":1})");
        QTest::newRow("no title") << QByteArray(R"({"lists":[{"publisher":"P","words":[)" + nine +
                                                "]}]}");
    }
    // Anything else than the service's JSON is not understood, and the page is read instead.
    void badListsJson()
    {
        QFETCH(QByteArray, json);
        QVERIFY(!parsesharedlists(json));
    }

    void baseAddress()
    {
        qunsetenv(kShareBaseVariable);
        QCOMPARE(sharebase(), QLatin1String(kDefaultShareBase));
        qputenv(kShareBaseVariable, "  http://127.0.0.1:5000/share//  ");
        QCOMPARE(sharepageaddress(sharebase()),
                 QStringLiteral("http://127.0.0.1:5000/share/pellimo/wordlist.php?appid=1"));
        qputenv(kShareBaseVariable, " ");
        QCOMPARE(sharebase(), QLatin1String(kDefaultShareBase));
        qunsetenv(kShareBaseVariable);
    }

    void records()
    {
        // A first line and 22 lines: two records, the first and the twelfth line.
        const SharedPage two = SharedPage::fromlines(pageOf({"One", "Two"}));
        QCOMPARE(two.count(), 2);
        QCOMPARE(two.title(1), QStringLiteral("Two"));
        QCOMPARE(two.line(1, 9), QStringLiteral("Two9"));
        QCOMPARE(two.line(1, 10), QStringLiteral("Ann"));
        QCOMPARE(SharedPage::fromlines({QStringLiteral("heading")}).count(), 0);
        QCOMPARE(SharedPage::fromlines({}).count(), 0);

        // Lines stand as they are: "<<" is kept, and a long title is still one line.
        const QString longTitle(600, u'x');
        const SharedPage kept = SharedPage::fromlines(pageOf({"<<Old", longTitle, "Third"}));
        QCOMPARE(kept.count(), 3);
        QCOMPARE(kept.title(0), QStringLiteral("<<Old"));
        QCOMPARE(kept.title(1), longTitle);
        QCOMPARE(kept.title(2), QStringLiteral("Third"));

        // A short last record is listed; its missing lines are none.
        const SharedPage shortLast = SharedPage::fromlines(pageOf({"Whole"}) << "Short"
                                                                             << "s1");
        QCOMPARE(shortLast.count(), 2);
        QCOMPARE(shortLast.title(1), QStringLiteral("Short"));
        QCOMPARE(shortLast.line(1, 1), QStringLiteral("s1"));
        QCOMPARE(shortLast.line(1, 2), std::nullopt);
        QCOMPARE(shortLast.line(1, 10), std::nullopt);
    }

    // What the service writes is what the dialog reads.
    void pageRoundTrip()
    {
        SharedRecord record{{QStringLiteral(" R&D; ' OR 1=1 -- "), {}}, QStringLiteral(" 李 ")};
        for (int k = 0; k < 9; ++k)
            record.list.words[k].text = QString(k + 1, QChar(0x679C));
        const QByteArray body = sharedpagetext({record, record}).toUtf8();
        const SharedPage page = SharedPage::fromlines(pagelines(body, "text/plain; charset=utf-8"));
        QCOMPARE(page.text().size(), 22);
        QCOMPARE(page.title(1), record.list.title);
        for (int n = 1; n <= 9; ++n)
            QCOMPARE(page.line(1, n), record.list.words[n - 1].text);
        QCOMPARE(page.line(1, 10), record.publisher);
    }

    void decoding_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QByteArray>("contentType");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("no type: UTF-8, line ends")
            << QByteArray("h\r\n\xe5\xad\x97\rb\n\nc\n") << QByteArray()
            << QStringList{"h", "字", "b", "", "c"};
        QTest::newRow("charset named")
            << QByteArray("caf\xe9") // Latin-1 é
            << QByteArray("text/plain; charset=\"ISO-8859-1\"") << QStringList{"café"};
        QTest::newRow("UTF-16 by its mark") << QByteArray("\xff\xfeh\0\n\0x\0", 8)
                                            << QByteArray("text/plain") << QStringList{"h", "x"};
        QTest::newRow("HTML, meta charset")
            << QByteArray("<meta charset=\"iso-8859-1\"><p>h</p>caf\xe9<br>b")
            << QByteArray("Text/HTML") << QStringList{"h", "café", "b"};
        QTest::newRow("tags in plain text")
            << QByteArray("a<br>b") << QByteArray("text/plain") << QStringList{"a<br>b"};
        QTest::newRow("HTML, references")
            << QByteArray("<p>h</p>caf&eacute;<br>&#x5B57;&#27597;")
            << QByteArray("text/html; charset=utf-8") << QStringList{"h", "café", "字母"};
        QTest::newRow("references in plain text")
            << QByteArray("caf&eacute;") << QByteArray("text/plain") << QStringList{"caf&eacute;"};
    }
    void decoding()
    {
        QFETCH(QByteArray, body);
        QFETCH(QByteArray, contentType);
        QFETCH(QStringList, lines);
        QCOMPARE(pagelines(body, contentType, htmlreference), lines);
    }

    void html_data()
    {
        QTest::addColumn<QString>("html");
        QTest::addColumn<QStringList>("lines");
        const auto row = [](const char *name, const QString &html, const QStringList &lines) {
            QTest::newRow(name) << html << lines;
        };
        row("br", "a<br>b<BR/>c<br /><br>d<br>", {"a", "b", "c", "", "d"});
        row("blocks", "<div><p>a</p></div><div></div>b<p>c</p><ul><li>x<li>y</ul>",
            {"a", "b", "c", "x", "y"});
        row("table", "<table><tr><td>a</td><td>b</td></tr><tr><th>c</th></tr></table>",
            {"a b", "c"});
        row("white space", "  a \n\t b  <br>  c  \r\n<b>d</b> ", {"a b", "c d"});
        row("references", "&amp;&lt;&gt;&quot;&apos;&#65;&#x42;&#X1f600;&#67&nbsp;",
            {QString::fromUcs4(U"&<>\"'AB\U0001F600C\u00A0")});
        row("bad references", "&#0;&#xD800;&#99999999999999;&unknown; &amp &#;",
            {QStringLiteral("\uFFFD\uFFFD\uFFFD&unknown; &amp &#;")});
        row("hidden",
            "<head><title>T</title><style>p{}</style></head><!DOCTYPE html><!-- <br> -->"
            "<script>s = '<br>';</script>x<SCRIPT src=a></Script>y<?xml?>",
            {"xy"});
        row("lone <", "a < b > c <3", {"a < b > c <3"});
        row("quoted >", "<a href='x>y' title=\"<br>\">link</a>", {"link"});
        row("pre", "<pre>a  b\r\n c\n</pre>d", {"a  b", " c", "d"});
        row("open tag at the end", "x<p class=", {"x"});
        row("open comment at the end", "x<!-- y", {"x"});
        row("open script at the end", "x<script>y", {"x"});
        row("named references",
            "caf&eacute; &Eacute;T&Eacute; na&iuml;ve &szlig; &hearts;&hellip;&euro;&frac12;",
            {"café ÉTÉ naïve ß ♥…€½"});
        row("numeric é", "caf&#233; caf&#xE9; caf&#XE9", {"café café café"});
        row("nbsp is no white space", "&nbsp;a&nbsp;&nbsp; b <p>&nbsp;</p>",
            {"\u00A0a\u00A0\u00A0 b", "\u00A0"});
        row("other spaces kept", "a&ensp;b&emsp;c&thinsp;d", {"a\u2002b\u2003c\u2009d"});
        row("escaped markup is text", "&lt;b&gt;bold&lt;/b&gt;&lt;br&gt;&lt;!-- x --&gt;",
            {"<b>bold</b><br><!-- x -->"});
        row("CJK", "&#x5B57;&#27597;<br>&#x6F22;&#23383;&#x20BB7;",
            {"字母", QString::fromUcs4(U"漢字\U00020BB7")});
        row("unknown names", "&NotEqualTilde; &eacutex; &e9; &bogus;",
            {"&NotEqualTilde; &eacutex; &e9; &bogus;"});
        row("line rules with references",
            "<p>caf&eacute;\n  th&eacute; </p><div>&Uuml;ber<br><br>na&iuml;ve</div>"
            "<pre>&eacute;  &amp;\n &lt;x&gt;</pre><table><tr><td>&aring;</td><td>&oslash;</td>"
            "</tr></table>a&#10;b",
            {"café thé", "Über", "", "naïve", "é  &", " <x>", "å ø", "a b"});
    }
    void html()
    {
        QFETCH(QString, html);
        QFETCH(QStringList, lines);
        QCOMPARE(htmllines(html, htmlreference), lines);
    }

    // Qt's reader sees one reference or nothing at all.
    void namedReference_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::newRow("eacute") << "eacute"
                                << "é";
        QTest::newRow("nbsp") << "nbsp"
                              << "\u00A0";
        QTest::newRow("lt") << "lt"
                            << "<";
        QTest::newRow("unknown") << "bogus" << QString();
        QTest::newRow("empty") << "" << QString();
        QTest::newRow("markup") << "lt;<b>x</b" << QString();
        QTest::newRow("two") << "lt;&gt" << QString();
    }
    void namedReference()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QCOMPARE(htmlreference(name), text);
    }
};

VASKELIO_GUI_TEST_MAIN(TestSharing)
#include "tst_sharing.moc"
