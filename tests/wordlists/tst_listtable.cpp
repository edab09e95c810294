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

// "1:a|b;3:c": each row's number and its fields.
QString shown(const QList<TableRow> &rows)
{
    QStringList parts;
    for (const TableRow &row : rows)
        parts.append(QString::number(row.number) + u':' + row.fields.join(u'|'));
    return parts.join(u';');
}

QStringList titles(const QList<WordList> &lists)
{
    QStringList result;
    for (const WordList &list : lists)
        result.append(list.title);
    return result;
}

// The lists a round trip must keep: every character a table gives a meaning to, outer spaces,
// CJK and a character beyond the BMP.
QList<WordList> awkwardLists()
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
        QTest::newRow("unclosed quote runs to the end") << "a,\"b\nc,d"
                                                        << "1:a|b\nc,d";
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
        QCOMPARE(check.lists.at(2).words[8], QStringLiteral("p9"));
        QCOMPARE(check.lists.at(4).words[0], QStringLiteral("猫"));
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

    // Exported, imported into a store without them, stored and read back: the same lists.
    void roundTrip()
    {
        const QString file = dir.filePath(QStringLiteral("round.txt"));
        QFile::remove(file);
        WordListStore store(file);
        QVERIFY(!store.Load()); // no file yet: the built-in lists alone
        const DecodedText decoded = decodetext(exportlists(awkwardLists()));
        QCOMPARE(decoded.encoding, TextEncoding::Utf8Bom);
        const ImportCheck check = checkimport(tablerows(decoded.text), store);
        QVERIFY(check.refused.isEmpty());
        QCOMPARE(check.lists, awkwardLists());
        QVERIFY(store.AddMany(check.lists).ok());

        WordListStore reread(file);
        QVERIFY(reread.Load().ok());
        QCOMPARE(reread.Count(), WordListStore::kBuiltIn + 2);
        QCOMPARE(reread.Get(4), awkwardLists().at(0));
        QCOMPARE(reread.Get(5), awkwardLists().at(1));
    }
};

VASKELIO_TEST_MAIN(TestListTable)
#include "tst_listtable.moc"
