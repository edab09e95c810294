#include "i18n/texttable.h"
#include "sandbox.h"
#include "text/textfile.h"
#include "wordlists/listtable.h"
#include "wordlists/wordliststore.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {
QString tableFile(const char *name)
{
    return QStringLiteral(VASKELIO_TEST_DATA "/listtables/") + QLatin1String(name);
}

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// "1:a|b;3:c": each row's number and its fields; "4!" a row with an unclosed quote, "5?" one
// that holds an undecodable byte.
QString shown(const QList<TableRow> &rows)
{
    QStringList parts;
    for (const TableRow &row : rows)
        parts.append(QString::number(row.number) + QLatin1String(row.unclosedQuote ? "!" : "") +
                     QLatin1String(row.undecodable ? "?" : "") + u':' + row.fields.join(u'|'));
    return parts.join(u';');
}

// A list whose words are stem1 .. stem9, and the same as a CSV row.
WordSet numbered(const QString &title, const QString &stem = QStringLiteral("w"))
{
    WordSet list{title, {}};
    for (int k = 0; k < 9; ++k)
        list.words[k].text = stem + QString::number(k + 1);
    return list;
}
QString csvRow(const WordSet &list)
{
    const QStringList cells = QStringList{list.title} + list.texts();
    return cells.join(u',') + QStringLiteral("\r\n");
}

QStringList toldRefusals(const ImportCheck &check)
{
    TextTables texts;
    QStringList told;
    for (const ImportRefusal &refusal : check.refused)
        told.append(refusaltext(refusal, texts));
    return told;
}

QStringList titles(const QList<WordSet> &lists)
{
    QStringList result;
    for (const WordSet &list : lists)
        result.append(list.title);
    return result;
}

// The lists a round trip must keep: every character a table gives a meaning to, outer spaces,
// CJK and a character beyond the BMP.
QList<WordSet> awkwardLists()
{
    return {{QStringLiteral("Plain"),
             {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d"),
              QStringLiteral("e"), QStringLiteral("f"), QStringLiteral("g"), QStringLiteral("h"),
              QStringLiteral("i")}},
            {QStringLiteral("Comma, title"),
             {QStringLiteral("say \"hi\""), QStringLiteral(" lead "), QStringLiteral("trail "),
              QStringLiteral("猫"), QStringLiteral("🐱"), QStringLiteral("tab\there"),
              QStringLiteral("x"), QStringLiteral("y,z"), QStringLiteral("末")}}};
}
} // namespace

class TestListTable : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

    // A store on a new file holding the user lists of fruit.txt: 水果 and Fruit.
    void loadFruit(WordListStore &store)
    {
        const QString file = dir.filePath(QStringLiteral("lists.txt"));
        QFile::remove(file);
        QVERIFY(QFile::copy(QStringLiteral(VASKELIO_TEST_DATA "/wordlists/fruit.txt"), file));
        QVERIFY(QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner));
        QVERIFY(store.Load().ok());
        QCOMPARE(store.Count(), 5);
    }

private slots:
    void rows_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("rows");
        QTest::newRow("LF") << "a,b\nc,d"
                            << "1:a|b;2:c|d";
        QTest::newRow("CR LF, final line end") << "a,b\r\nc,d\r\n"
                                               << "1:a|b;2:c|d";
        QTest::newRow("CR") << "a,b\rc,d\r"
                            << "1:a|b;2:c|d";
        QTest::newRow("empty lines keep their numbers") << "a\n\n\nb\n\n"
                                                        << "1:a;4:b";
        QTest::newRow("a row of empty cells") << "a,b\n,,\n \t, \nc"
                                              << "1:a|b;4:c";
        QTest::newRow("ragged") << "a\nb,c,d\ne,f"
                                << "1:a;2:b|c|d;3:e|f";
        QTest::newRow("empty fields kept") << ",a,,b,"
                                           << "1:|a||b|";
        QTest::newRow("quoted comma") << "\"a,b\",c"
                                      << "1:a,b|c";
        QTest::newRow("doubled quotes") << "\"say \"\"hi\"\"\",\"\"\"\""
                                        << "1:say \"hi\"|\"";
        QTest::newRow("line break in quotes is one row") << "\"a\r\nb\",c\nd,\"e\nf\"\ng"
                                                         << "1:a\r\nb|c;2:d|e\nf;3:g";
        QTest::newRow("quoted empty field at the end") << "a,\"\""
                                                       << "1:a|";
        QTest::newRow("quote inside an unquoted field") << "a\"b,c"
                                                        << "1:a\"b|c";
        QTest::newRow("text after a closing quote") << "\"a\"b,c"
                                                    << "1:ab|c";
        QTest::newRow("unclosed quote ends with its line") << "a,\"b\nc,d"
                                                           << "1!:a|;2:c|d";
        QTest::newRow("unclosed quote, CR LF, on the last line") << "\"a\r\nb,c\r\nd,\"e"
                                                                 << "1!:;2:b|c;3!:d|";
        QTest::newRow("unclosed after doubled quotes") << "\"a\"\"\nb"
                                                       << "1!:;2:b";
        QTest::newRow("three quotes open and never close") << "\"\"\"\nb"
                                                           << "1!:;2:b";
        QTest::newRow("an odd run later closes it") << "\"\"\"a\"\nb"
                                                    << "1:\"a;2:b";
        QTest::newRow("closed on a later line") << "\"a\nb\",c\nd"
                                                << "1:a\nb|c;2:d";
        QTest::newRow("a stray quote meets a quoted field") << "\"Broken,a\nx,\"q\",y\nz"
                                                            << "1!:;2:x|q|y;3:z";
        QTest::newRow("every row unclosed") << "\"a\n\"b\n\"c"
                                            << "1!:;2!:;3!:";
        QTest::newRow("unclosed quote before a tab: tab-separated") << "\"a\tb\nc\td"
                                                                    << "1!:;2:c|d";
        QTest::newRow("tab before comma: tab-separated") << "a\tb,c\nd,e\tf"
                                                         << "1:a|b,c;2:d,e|f";
        QTest::newRow("comma before tab: comma-separated") << "a,b\tc"
                                                           << "1:a|b\tc";
        QTest::newRow("a quoted tab does not decide") << "\"a\tb\",c"
                                                      << "1:a\tb|c";
        QTest::newRow("quoted tab-separated") << "\"a\tb\"\t\"c\"\"\"\td"
                                              << "1:a\tb|c\"|d";
        QTest::newRow("an inch mark does not quote") << "12\" ruler\tb,c"
                                                     << "1:12\" ruler|b,c";
        QTest::newRow("doubled quote and comma in quotes before a tab") << "\"a\"\",b\"\tc"
                                                                        << "1:a\",b|c";
        QTest::newRow("only the first row decides") << "a\nb\tc"
                                                    << "1:a;2:b\tc";
        QTest::newRow("nothing") << ""
                                 << "";
    }
    void rows()
    {
        QFETCH(QString, text);
        QFETCH(QString, rows);
        QCOMPARE(shown(tablerows(text)), rows);
    }

    void encodings_data()
    {
        QTest::addColumn<QString>("file");
        for (const char *name :
             {"simple_utf16le_bom.tsv", "simple_utf16be_bom.tsv", "simple_utf16le_nomark.tsv",
              "simple_utf16be_nomark.tsv", "simple_utf8.csv", "simple_utf8_bom_cr.csv"})
            QTest::newRow(name) << tableFile(name);
    }
    void encodings()
    {
        QFETCH(QString, file);
        const TextFileResult read = readtextfile(file);
        QVERIFY(read.ok());
        QCOMPARE(shown(tablerows(read->text)),
                 QStringLiteral("1:Colours|red|orange|yellow|green|blue|indigo|violet|black|white;"
                                "2:Pets|cat|dog|fish|bird|mouse|rabbit|horse|snake|猫"));
    }

    // Every bad row is named with its spreadsheet row and why; exactly the good ones remain.
    void goodAndBadRows_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QStringList>("refused");
        QTest::newRow("English") << 0
                                 << QStringList{
                                        "Row 2: the title \"Fruit\" is already in use",
                                        "Row 5: 9 fields instead of 10 (a title and nine words)",
                                        "Row 6: the title \"Colours\" is already on row 1",
                                        "Row 7: word 3 is empty",
                                        "Row 8: the title is empty",
                                        "Row 9: word 2 holds a line break",
                                        "Row 10: the title \"字母\" is already in use",
                                        "Row 13: 11 fields instead of 10 (a title and nine words)",
                                        "Row 16: word 4 is empty"};
        QTest::newRow("Japanese") << 2
                                  << QStringList{
                                         "2 行目：タイトル「Fruit」は既に使われています",
                                         "5 行目：項目が 9 個あります（タイトルと九つの単語の "
                                         "10 個が必要です）",
                                         "6 行目：タイトル「Colours」は 1 行目にもあります",
                                         "7 行目：単語3が空です",
                                         "8 行目：タイトルが空です",
                                         "9 行目：単語2に改行があります",
                                         "10 行目：タイトル「字母」は既に使われています",
                                         "13 行目：項目が 11 個あります（タイトルと九つの単語の "
                                         "10 個が必要です）",
                                         "16 行目：単語4が空です"};
    }
    void goodAndBadRows()
    {
        QFETCH(int, language);
        QFETCH(QStringList, refused);
        WordListStore store(dir.filePath(QStringLiteral("lists.txt")));
        loadFruit(store);
        const TextFileResult read = readtextfile(tableFile("mixed.csv"));
        QVERIFY(read.ok());
        const ImportCheck check = checkimport(tablerows(read->text), store);

        QCOMPARE(titles(check.lists),
                 (QStringList{"Colours", "Numbers, small", "Padded", "Colours ", "动物"}));
        QCOMPARE(check.lists.at(2).words[8].text, QStringLiteral("p9"));
        QCOMPARE(check.lists.at(4).words[0].text, QStringLiteral("猫"));
        TextTables texts;
        texts.setLangid(language);
        texts.selectLanguage();
        QStringList told;
        for (const ImportRefusal &refusal : check.refused)
            told.append(refusaltext(refusal, texts));
        QCOMPARE(told, refused);
        QCOMPARE(store.Count(), 5); // checking adds nothing
    }

    void exportBytes()
    {
        QCOMPARE(exportlists(awkwardLists()), bytesOf(tableFile("exported.csv")));
        QCOMPARE(exportlists({}), QByteArray("\xEF\xBB\xBF"));
    }

    // Exported, imported into a store without them, stored and read back: the same lists,
    // but for one with a tab, which import refuses as it refuses every control character.
    void roundTrip()
    {
        const QString file = dir.filePath(QStringLiteral("round.txt"));
        QFile::remove(file);
        WordListStore store(file);
        QVERIFY(!store.Load()); // no file yet: the built-in lists alone
        QList<WordSet> lists = awkwardLists();
        WordSet untabbed = lists.at(1);
        untabbed.title = QStringLiteral("Untabbed");
        untabbed.words[5].text = QStringLiteral("no tab");
        lists.append(untabbed);
        const DecodedText decoded = decodetext(exportlists(lists));
        QCOMPARE(decoded.encoding, TextEncoding::Utf8Bom);
        const ImportCheck check = checkimport(tablerows(decoded.text), store);
        QCOMPARE(toldRefusals(check), QStringList{"Row 2: word 6 holds a control character"});
        QCOMPARE(check.lists, (QList<WordSet>{lists.at(0), untabbed}));
        QVERIFY(store.AddMany(check.lists).ok());

        WordListStore reread(file);
        QVERIFY(reread.Load().ok());
        QCOMPARE(reread.Count(), WordListStore::kBuiltIn + 2);
        QCOMPARE(reread.Get(4), lists.at(0));
        QCOMPARE(reread.Get(5), untabbed);
    }

    // Readings and meanings go out as the 18 columns import reads after the words, for every
    // row once any word has one; a list without them keeps its ten fields only when none has.
    void readingsAndMeaningsRoundTrip()
    {
        QList<WordSet> lists = awkwardLists().mid(0, 1);
        WordSet fruit =
            WordSet::fromTexts(QStringLiteral("水果"),
                               {"苹果", "香蕉", "梨", "桃", "橙", "葡萄", "西瓜", "草莓", "樱桃"});
        fruit.words[0] = Word(QStringLiteral("苹果"), QStringLiteral("píngguǒ"),
                              QStringLiteral("apple, \"red\""));
        fruit.words[8].meaning = QStringLiteral("=cherry");
        lists.append(fruit);
        const QString text = decodetext(exportlists(lists)).text;
        const QList<TableRow> rows = tablerows(text);
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows.at(0).fields.size(), 28);
        QCOMPARE(rows.at(1).fields.size(), 28);
        const QString file = dir.filePath(QStringLiteral("glossed.txt"));
        QFile::remove(file);
        WordListStore store(file);
        static_cast<void>(store.Load());
        const ImportCheck check = checkimport(rows, store);
        QVERIFY(check.refused.isEmpty());
        QCOMPARE(check.lists, lists);
        QCOMPARE(
            tablerows(decodetext(exportlists(awkwardLists().mid(0, 1))).text).at(0).fields.size(),
            10);
    }

    // A cell a spreadsheet would take for a formula is exported behind an apostrophe, which
    // import takes off again; an apostrophe before anything else is the word's own.
    void formulasExportAsText()
    {
        const WordSet list{QStringLiteral("=HYPERLINK(\"http://x.example\";\"click\")"),
                           {QStringLiteral("=1+1"), QStringLiteral("+1"), QStringLiteral("-ing"),
                            QStringLiteral("@home"), QStringLiteral("'=x"), QStringLiteral("''-"),
                            QStringLiteral("'tis"), QStringLiteral("a=b"), QStringLiteral("'")}};
        QCOMPARE(exportlists({list}),
                 QByteArray("\xEF\xBB\xBF\"'=HYPERLINK(\"\"http://x.example\"\";\"\"click\"\")\","
                            "'=1+1,'+1,'-ing,'@home,''=x,'''-,'tis,a=b,'\r\n"));
        // Tab and CR lead only texts that lists.txt was given by hand; they are marked too.
        WordSet controls = numbered(QStringLiteral("Controls"));
        controls.words[0].text = QStringLiteral("\tx");
        controls.words[1].text = QStringLiteral("\rx");
        QVERIFY(exportlists({controls})
                    .startsWith("\xEF\xBB\xBF"
                                "Controls,\"'\tx\",\"'\rx\",w3,"));

        WordListStore store(dir.filePath(QStringLiteral("none.txt")));
        const ImportCheck check =
            checkimport(tablerows(decodetext(exportlists({list})).text), store);
        QVERIFY(check.refused.isEmpty());
        QCOMPARE(check.lists, QList<WordSet>{list});

        // A table a spreadsheet wrote: its marks come off, a word's own apostrophe stays.
        const ImportCheck typed = checkimport(
            tablerows(QStringLiteral("'=Sum,'-a,''@b,'c,''d,=e,'+,'\"f',g,'\"")), store);
        QVERIFY(typed.refused.isEmpty());
        QCOMPARE(typed.lists.size(), 1);
        QCOMPARE(typed.lists.at(0).title, QStringLiteral("=Sum"));
        QCOMPARE(typed.lists.at(0).texts(),
                 (QStringList{"-a", "'@b", "'c", "''d", "=e", "+", "'\"f'", "g", "'\""}));
    }

    // Row 4 opens a quote it never closes: it is named, and every row after it is read.
    void unclosedQuoteHidesNoRows()
    {
        QString table;
        for (int row = 1; row <= 100; ++row)
            table += row == 4        ? QStringLiteral("\"Broken,a,b,c,d,e,f,g,h,i\r\n")
                     : row % 10 == 0 ? csvRow(numbered(QStringLiteral("\"List, %1\"").arg(row)))
                                     : csvRow(numbered(QStringLiteral("List %1").arg(row)));
        WordListStore store(dir.filePath(QStringLiteral("none.txt")));
        const ImportCheck check = checkimport(tablerows(table), store);
        QCOMPARE(toldRefusals(check),
                 QStringList{"Row 4: a quote opens here and is never closed; the next row is "
                             "read from the next line"});
        QCOMPARE(check.lists.size(), 99);
        QCOMPARE(check.lists.at(3), numbered(QStringLiteral("List 5")));
        QCOMPARE(check.lists.at(8), numbered(QStringLiteral("List, 10")));
        QCOMPARE(check.lists.constLast(), numbered(QStringLiteral("List, 100")));
    }

    // NUL, the other C0 controls, DEL, C1 and the Unicode line separators, in a title or a
    // word: each such row is refused and named, the rest imported.
    void controlCharactersAreRefused()
    {
        const QList<QPair<int, char16_t>> cases{{0, 0x0000}, {3, 0x0001}, {9, 0x001F},
                                                {1, 0x001B}, {2, 0x007F}, {0, 0x0085},
                                                {5, 0x009F}, {4, 0x2028}, {7, 0x2029}};
        QString table = csvRow(numbered(QStringLiteral("Good")));
        for (int n = 0; n < cases.size(); ++n) {
            WordSet list = numbered(QStringLiteral("Row %1").arg(n + 2));
            const int field = cases.at(n).first;
            (field == 0 ? list.title : list.words[field - 1].text)
                .insert(1, QChar(cases.at(n).second));
            table += csvRow(list);
        }
        table += QStringLiteral("\"Tab\tin a title\",a,b,c,d,e,f,g,h,i\r\n");
        table += csvRow(numbered(QStringLiteral("Also good"), QStringLiteral("\u00A0x")));
        QCOMPARE(table.count(QChar(0)), 1);
        WordListStore store(dir.filePath(QStringLiteral("none.txt")));
        const ImportCheck check = checkimport(tablerows(table), store);
        QCOMPARE(toldRefusals(check), (QStringList{"Row 2: the title holds a control character",
                                                   "Row 3: word 3 holds a control character",
                                                   "Row 4: word 9 holds a control character",
                                                   "Row 5: word 1 holds a control character",
                                                   "Row 6: word 2 holds a control character",
                                                   "Row 7: the title holds a control character",
                                                   "Row 8: word 5 holds a control character",
                                                   "Row 9: word 4 holds a control character",
                                                   "Row 10: word 7 holds a control character",
                                                   "Row 11: the title holds a control character"}));
        QCOMPARE(titles(check.lists), (QStringList{"Good", "Also good"}));
    }

    // Bytes that did not decode name their row; a U+FFFD the file holds is a word like any.
    // Readings after the words, then meanings; blank ones allowed, a control character in one
    // refused by its name. A row padded to 19 or more reads its eleventh field as a reading;
    // unpadded, 11 fields are refused as before.
    void readingsAndMeanings()
    {
        const QString words = QStringLiteral("a,b,c,d,e,f,g,h,i");
        const QString table = QStringLiteral("R,") + words + QStringLiteral(",ra,,,,,,,,ri\r\n") +
                              QStringLiteral("M,") + words +
                              QStringLiteral(",,,,,,,,,,ma,,,,,,,,mi,,,\r\n") +
                              QStringLiteral("Bad,") + words +
                              QStringLiteral(",x,y\u0001,,,,,,,\r\n") + QStringLiteral("Eleven,") +
                              words + QStringLiteral(",x,,,,,,,,,,,,,,,,,,,,,,,,,,,\r\n") +
                              QStringLiteral("Short,") + words + QStringLiteral(",x,,\r\n");
        WordListStore store(dir.filePath(QStringLiteral("none.txt")));
        const ImportCheck check = checkimport(tablerows(table), store);
        QCOMPARE(titles(check.lists), (QStringList{"R", "M", "Eleven"}));
        QCOMPARE(check.lists.at(0).words[0], Word(QStringLiteral("a"), QStringLiteral("ra")));
        QCOMPARE(check.lists.at(0).words[8], Word(QStringLiteral("i"), QStringLiteral("ri")));
        QCOMPARE(check.lists.at(1).words[0], Word(QStringLiteral("a"), {}, QStringLiteral("ma")));
        QCOMPARE(check.lists.at(1).words[8], Word(QStringLiteral("i"), {}, QStringLiteral("mi")));
        QCOMPARE(check.lists.at(2).words[0].reading, QStringLiteral("x"));
        QCOMPARE(toldRefusals(check),
                 (QStringList{"Row 3: the reading of word 2 holds a control character",
                              "Row 5: 11 fields instead of 10 (a title and nine words)"}));
        // Export writes them back in the same columns.
        QCOMPARE(exportlists({check.lists.at(0)}),
                 QByteArray("\xEF\xBB\xBFR,a,b,c,d,e,f,g,h,i,ra,,,,,,,,ri,,,,,,,,,\r\n"));
    }

    void undecodableRowsAreNamed_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("rows");
        const QByteArray good = "a,1,2,3,4,5,6,7,8,9\r\n";
        QTest::newRow("bad UTF-8 after a mark")
            << QByteArray("\xEF\xBB\xBF") + good + "b\xFF,1,2,3,4,5,6,7,8,9\r\n" +
                   "g,1,2,3,4,5,6,7,8,9\r\n\"c\r\nd\",1,2,3,4,5,6,7,8,\xE4\xB8"
            << QStringLiteral("1:a|1|2|3|4|5|6|7|8|9;2?:b\uFFFD|1|2|3|4|5|6|7|8|9;"
                              "3:g|1|2|3|4|5|6|7|8|9;4?:c\r\nd|1|2|3|4|5|6|7|8|\uFFFD\uFFFD");
        QTest::newRow("U+FFFD in the file")
            << QByteArray("\xEF\xBB\xBF") + good + "\xEF\xBF\xBD,1,2,3,4,5,6,7,8,9"
            << QStringLiteral("1:a|1|2|3|4|5|6|7|8|9;2:\uFFFD|1|2|3|4|5|6|7|8|9");
        const QString utf16 = QStringLiteral("x,1,2,3,4,5,6,7,8,9\r\n") + QChar(0xD800) +
                              QStringLiteral(",1,2,3,4,5,6,7,8,9\r\ny,1,2,3,4,5,6,7,8,") +
                              QChar(0xDC00) + QStringLiteral("\r\n");
        QTest::newRow("lone surrogates in UTF-16")
            << QByteArray("\xFF\xFE") +
                   QByteArray(reinterpret_cast<const char *>(utf16.utf16()), utf16.size() * 2)
            << QStringLiteral("1:x|1|2|3|4|5|6|7|8|9;2?:\uFFFD|1|2|3|4|5|6|7|8|9;"
                              "3?:y|1|2|3|4|5|6|7|8|\uFFFD");
    }
    void undecodableRowsAreNamed()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, rows);
        const DecodedText decoded = decodetext(bytes, QByteArray());
        const QList<TableRow> table = tablerows(decoded.text, decoded.replaced);
        QCOMPARE(shown(table), rows);

        WordListStore store(dir.filePath(QStringLiteral("none.txt")));
        const ImportCheck check = checkimport(table, store);
        QStringList expected;
        for (const TableRow &row : table)
            if (row.undecodable)
                expected.append(QStringLiteral("Row %1: some of its bytes are not text in the "
                                               "file's encoding")
                                    .arg(row.number));
        QCOMPARE(toldRefusals(check), expected);
        QCOMPARE(check.lists.size(), table.size() - expected.size());
    }

    // One import adds at most kMaxImportedLists; the first row left unread is named.
    void importStopsAtTheCap()
    {
        QString table;
        for (int row = 1; row <= kMaxImportedLists + 5; ++row)
            table += row == 2 ? QStringLiteral("字母,a,b,c,d,e,f,g,h,i\r\n")
                              : csvRow(numbered(QStringLiteral("L%1").arg(row)));
        WordListStore store(dir.filePath(QStringLiteral("none.txt")));
        const QList<TableRow> rows = tablerows(table);
        const ImportCheck check = checkimport(rows, store);
        QCOMPARE(check.lists.size(), kMaxImportedLists);
        QCOMPARE(check.lists.constLast().title, QStringLiteral("L%1").arg(kMaxImportedLists + 1));
        QCOMPARE(check.refused.size(), 1);
        QCOMPARE(check.stoppedAt, kMaxImportedLists + 2);
        QCOMPARE(stoppedtext(check, TextTables()),
                 QStringLiteral("An import adds at most 10000 lists: row 10002 and the rows after "
                                "it were not read."));

        const ImportCheck fits = checkimport(rows.mid(0, kMaxImportedLists + 1), store);
        QCOMPARE(fits.lists.size(), kMaxImportedLists);
        QCOMPARE(fits.stoppedAt, 0);
    }

    // Progress counts the rows up to all of them; a false answer stops the check at once.
    void progressAndCancel()
    {
        QString table;
        for (int row = 1; row <= 3000; ++row)
            table += csvRow(numbered(QStringLiteral("L%1").arg(row)));
        const QList<TableRow> rows = tablerows(table);
        WordListStore store(dir.filePath(QStringLiteral("none.txt")));
        QList<qsizetype> seen;
        const ImportCheck whole = checkimport(rows, store, [&](qsizetype done, qsizetype total) {
            seen.append(done);
            return total == rows.size();
        });
        QVERIFY(!whole.cancelled);
        QCOMPARE(whole.lists.size(), 3000);
        QCOMPARE(seen.size(), 4);
        QCOMPARE(seen.constFirst(), 0);
        QCOMPARE(seen.constLast(), 3000);
        QVERIFY(std::is_sorted(seen.cbegin(), seen.cend()));

        int calls = 0;
        const ImportCheck stopped =
            checkimport(rows, store, [&](qsizetype, qsizetype) { return ++calls < 2; });
        QVERIFY(stopped.cancelled);
        QCOMPARE(calls, 2);
        QVERIFY(stopped.lists.size() < 3000);
    }
};

VASKELIO_TEST_MAIN(TestListTable)
#include "tst_listtable.moc"
