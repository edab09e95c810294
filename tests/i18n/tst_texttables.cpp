#include "i18n/texttable.h"
#include "sandbox.h"

#include <QFile>
#include <QtTest>

#include <set>

namespace {
// Every table holds these many keys, each once.
constexpr int kKeyCount = 290;

struct CatalogueRow {
    QString key;
    QString values[TextTables::kLanguages];
};

// The reference catalogue: key, English, Chinese, Japanese, tab-separated, one header line.
const QList<CatalogueRow> &catalogue()
{
    static const QList<CatalogueRow> rows = [] {
        QList<CatalogueRow> result;
        QFile file(QStringLiteral(VASKELIO_TEST_DATA "/text_catalogue.tsv"));
        if (!file.open(QIODevice::ReadOnly))
            qFatal("text catalogue missing");
        const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
        for (int n = 1; n < lines.size(); ++n) {
            if (lines.at(n).isEmpty())
                continue;
            const QStringList cells = lines.at(n).split(QLatin1Char('\t'));
            if (cells.size() != 4)
                qFatal("text catalogue line %d has %d cells", n + 1, int(cells.size()));
            result.append({cells.at(0), {cells.at(1), cells.at(2), cells.at(3)}});
        }
        return result;
    }();
    return rows;
}

QByteArray rawTable(int language)
{
    QFile file(QStringLiteral(VASKELIO_SOURCE_DIR "/data/i18n/lang%1.txt").arg(language));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList entryKeys(const TextTable &table)
{
    QStringList keys;
    for (const QString &line : table.lines())
        if (line.contains(QLatin1Char('=')))
            keys.append(TextTable::keyOf(line));
    return keys;
}
} // namespace

class TestTextTables : public QObject {
    Q_OBJECT

private slots:
    void catalogueIsComplete();
    void tableFileIsClean_data();
    void tableFileIsClean();
    void tableHoldsExactlyTheCatalogueKeys_data();
    void tableHoldsExactlyTheCatalogueKeys();
    void everyValueMatches_data();
    void everyValueMatches();
    void lookupIgnoresLetterCase_data();
    void lookupIgnoresLetterCase();
    void absentKeyGivesEmptyText();
    void parsesLines_data();
    void parsesLines();
    void vlStartsAsEnglishCopy();
    void selectLanguage_data();
    void selectLanguage();
    void vlIsACopy();
};

void TestTextTables::catalogueIsComplete()
{
    QCOMPARE(catalogue().size(), kKeyCount);
    std::set<QString> keys;
    for (const CatalogueRow &row : catalogue())
        keys.insert(row.key.toLower());
    QCOMPARE(int(keys.size()), kKeyCount);
}

void TestTextTables::tableFileIsClean_data()
{
    QTest::addColumn<int>("language");
    QTest::newRow("English") << 0;
    QTest::newRow("Chinese") << 1;
    QTest::newRow("Japanese") << 2;
}

// UTF-8 without mark, LF line ends, every line an entry.
void TestTextTables::tableFileIsClean()
{
    QFETCH(int, language);
    const QByteArray bytes = rawTable(language);
    QVERIFY(!bytes.isEmpty());
    QVERIFY(!bytes.startsWith("\xEF\xBB\xBF"));
    QVERIFY(!bytes.contains('\r'));
    QVERIFY(bytes.endsWith('\n'));
    QCOMPARE(QString::fromUtf8(bytes).toUtf8(), bytes);
    const QList<QByteArray> lines = bytes.chopped(1).split('\n');
    QCOMPARE(lines.size(), kKeyCount);
    for (const QByteArray &line : lines)
        QVERIFY2(line.indexOf('=') > 0, line.constData());
}

void TestTextTables::tableHoldsExactlyTheCatalogueKeys_data()
{
    tableFileIsClean_data();
}

void TestTextTables::tableHoldsExactlyTheCatalogueKeys()
{
    QFETCH(int, language);
    const TextTables tables;
    const QStringList keys = entryKeys(tables.lang(language));
    QCOMPARE(keys.size(), kKeyCount);
    QStringList expected;
    for (const CatalogueRow &row : catalogue())
        expected.append(row.key);
    QStringList sortedKeys = keys;
    sortedKeys.sort();
    expected.sort();
    QCOMPARE(sortedKeys, expected);
    // Same keys, in the same order, in every table.
    QCOMPARE(keys, entryKeys(tables.lang(0)));
}

void TestTextTables::everyValueMatches_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");
    static const char *names[] = {"en", "zh", "ja"};
    for (const CatalogueRow &row : catalogue())
        for (int language = 0; language < TextTables::kLanguages; ++language)
            QTest::addRow("%s %s", names[language], qPrintable(row.key))
                << language << row.key << row.values[language];
}

void TestTextTables::everyValueMatches()
{
    QFETCH(int, language);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    static TextTables tables;
    QVERIFY(!expected.isEmpty());
    QCOMPARE(tables.lang(language).value(key), expected);
    tables.setLangid(language);
    tables.selectLanguage();
    QCOMPARE(tables.uitext(key), expected);
}

void TestTextTables::lookupIgnoresLetterCase_data()
{
    QTest::addColumn<QString>("asked");
    QTest::addColumn<QString>("expected");
    QTest::newRow("upper") << QStringLiteral("MSGCHECKOK") << QStringLiteral("Sudoku is OK so far");
    QTest::newRow("mixed") << QStringLiteral("MsgCheckOk") << QStringLiteral("Sudoku is OK so far");
    QTest::newRow("control name in lower case")
        << QStringLiteral("frmnewgame.radiogroup1.item4") << QStringLiteral("Extreme");
    QTest::newRow("window name in upper case")
        << QStringLiteral("FRMOPTION.TabSheet1.CAPTION") << QStringLiteral("Language Option");
}

void TestTextTables::lookupIgnoresLetterCase()
{
    QFETCH(QString, asked);
    QFETCH(QString, expected);
    const TextTables tables;
    QCOMPARE(tables.uitext(asked), expected);
}

void TestTextTables::absentKeyGivesEmptyText()
{
    const TextTables tables;
    QVERIFY(tables.uitext(QStringLiteral("msgnosuchkey")).isEmpty());
    QVERIFY(tables.uitext(QStringLiteral("msgcheckok.hint")).isEmpty());
    // A key is the whole text before "=", not a prefix of it.
    QVERIFY(tables.uitext(QStringLiteral("msgcheck")).isEmpty());
    QVERIFY(tables.uitext(QString()).isEmpty());
}

void TestTextTables::parsesLines_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("index");

    QTest::newRow("value containing =") << QStringLiteral("a=1\nurl=x=y==z\n")
                                        << QStringLiteral("url") << QStringLiteral("x=y==z") << 1;
    QTest::newRow("line without = is no entry")
        << QStringLiteral("msgalone\nother=1\n") << QStringLiteral("msgalone") << QString() << -1;
    QTest::newRow("line without = does not hide the next")
        << QStringLiteral("note\nmsgx=v\n") << QStringLiteral("msgx") << QStringLiteral("v") << 1;
    QTest::newRow("first of two entries wins, case ignored")
        << QStringLiteral("Key=first\nkey=second\n") << QStringLiteral("KEY")
        << QStringLiteral("first") << 0;
    QTest::newRow("CR LF line ends")
        << QStringLiteral("a=1\r\nb=2\r\n") << QStringLiteral("b") << QStringLiteral("2") << 1;
    QTest::newRow("empty value is an entry")
        << QStringLiteral("a=\nb=2\n") << QStringLiteral("a") << QString() << 0;
    QTest::newRow("spaces belong to key and value")
        << QStringLiteral("a = b\n") << QStringLiteral("a ") << QStringLiteral(" b") << 0;
    QTest::newRow("last line without line end")
        << QStringLiteral("a=1\nz=26") << QStringLiteral("z") << QStringLiteral("26") << 1;
}

void TestTextTables::parsesLines()
{
    QFETCH(QString, text);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(int, index);
    const TextTable table = TextTable::fromText(text);
    QCOMPARE(table.indexOf(key), index);
    QCOMPARE(table.contains(key), index >= 0);
    QCOMPARE(table.value(key), value);
}

void TestTextTables::vlStartsAsEnglishCopy()
{
    const TextTables tables;
    QCOMPARE(tables.langid(), 0);
    QCOMPARE(tables.vl().lines(), tables.lang(0).lines());
    QCOMPARE(tables.uitext(QStringLiteral("sz9")), QStringLiteral("九"));
}

void TestTextTables::selectLanguage_data()
{
    QTest::addColumn<int>("langid");
    QTest::addColumn<QString>("caption");

    // Before each row vl holds Chinese; an unknown langid must leave it so.
    QTest::newRow("0 English") << 0 << QStringLiteral("New Game");
    QTest::newRow("1 Chinese") << 1 << QStringLiteral("新游戏");
    QTest::newRow("2 Japanese") << 2 << QStringLiteral("新しいゲーム");
    QTest::newRow("3 keeps vl") << 3 << QStringLiteral("新游戏");
    QTest::newRow("-1 keeps vl") << -1 << QStringLiteral("新游戏");
}

void TestTextTables::selectLanguage()
{
    QFETCH(int, langid);
    QFETCH(QString, caption);
    TextTables tables;
    tables.setLangid(1);
    tables.selectLanguage();
    tables.setLangid(langid);
    tables.selectLanguage();
    QCOMPARE(tables.langid(), langid);
    QCOMPARE(tables.uitext(QStringLiteral("frmnewgame.caption")), caption);
}

void TestTextTables::vlIsACopy()
{
    TextTables tables;
    tables.setLangid(2);
    tables.selectLanguage();
    const int line = tables.lang(2).indexOf(QStringLiteral("msgcheckok"));
    QVERIFY(line >= 0);
    tables.lang(2).lines()[line] = QStringLiteral("msgcheckok=edited");
    QCOMPARE(tables.uitext(QStringLiteral("msgcheckok")), QStringLiteral("ミスがない"));
    tables.selectLanguage();
    QCOMPARE(tables.uitext(QStringLiteral("msgcheckok")), QStringLiteral("edited"));
    // And the other way: an edit of vl does not reach the built-in table.
    tables.vl().lines().append(QStringLiteral("msgextra=1"));
    QVERIFY(!tables.lang(2).contains(QStringLiteral("msgextra")));
}

VASKELIO_TEST_MAIN(TestTextTables)
#include "tst_texttables.moc"
