#include "i18n/texttable.h"
#include "importers/ankitext.h"
#include "importers/fieldtext.h"
#include "importers/wordimport.h"
#include "sandbox.h"
#include "wordlists/wordliststore.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <sqlite3.h>
#include <zip.h>
#include <zstd.h>

namespace {
const QChar kUnit(0x1f);

// "word/reading/meaning@deck:line" for each note.
QString shown(const QList<Note> &notes)
{
    QStringList parts;
    for (const Note &note : notes)
        parts.append(QStringLiteral("%1/%2/%3@%4:%5")
                         .arg(note.word, note.reading, note.meaning, note.deck)
                         .arg(note.number));
    return parts.join(u';');
}

QStringList titles(const QList<WordSet> &lists)
{
    QStringList out;
    for (const WordSet &list : lists)
        out.append(list.title);
    return out;
}

// A SQLite file made by the statements, as bytes.
QByteArray database(const QString &folder, const QString &sql)
{
    const QString path = folder + QStringLiteral("/made.db");
    QFile::remove(path);
    sqlite3 *db = nullptr;
    sqlite3_open(QFile::encodeName(path).constData(), &db);
    char *error = nullptr;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &error) != SQLITE_OK)
        qFatal("%s", error);
    sqlite3_close(db);
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

QByteArray zstd(const QByteArray &bytes)
{
    QByteArray out(qsizetype(ZSTD_compressBound(size_t(bytes.size()))), Qt::Uninitialized);
    out.resize(qsizetype(
        ZSTD_compress(out.data(), size_t(out.size()), bytes.constData(), size_t(bytes.size()), 3)));
    return out;
}

void writezip(const QString &path, const QList<std::pair<const char *, QByteArray>> &entries)
{
    QFile::remove(path);
    int error = 0;
    zip_t *archive = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE, &error);
    for (const auto &[name, bytes] : entries) {
        zip_source_t *source =
            zip_source_buffer(archive, bytes.constData(), zip_uint64_t(bytes.size()), 0);
        zip_file_add(archive, name, source, ZIP_FL_OVERWRITE);
    }
    if (zip_close(archive) != 0)
        qFatal("zip not written");
}

// Notes as SQL rows: id, fields, deck id. Both schemata share notes and cards.
QString noteRows(const QList<std::tuple<int, QString, int>> &notes)
{
    QString sql = QStringLiteral("CREATE TABLE notes (id INTEGER PRIMARY KEY, flds TEXT);"
                                 "CREATE TABLE cards (id INTEGER PRIMARY KEY, nid INTEGER, "
                                 "did INTEGER, ord INTEGER);");
    int card = 100;
    for (const auto &[id, fields, deck] : notes) {
        QString quoted = fields;
        sql += QStringLiteral("INSERT INTO notes VALUES (%1, '%2');")
                   .arg(id)
                   .arg(quoted.replace(u'\'', QStringLiteral("''")));
        // A second card in another deck: the note's deck is that of its first.
        sql += QStringLiteral("INSERT INTO cards VALUES (%1, %2, 999, 1);").arg(card++).arg(id);
        sql += QStringLiteral("INSERT INTO cards VALUES (%1, %2, %3, 0);")
                   .arg(card++)
                   .arg(id)
                   .arg(deck);
    }
    return sql;
}

QString fields(const QString &word, const QString &meaning, const QString &reading = {})
{
    return word + kUnit + meaning + kUnit + reading;
}
} // namespace

class TestImporters : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    TextTables texts;

    QString write(const QString &name, const QByteArray &bytes)
    {
        const QString path = dir.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) < 0)
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }
    // The store of a fresh lists.txt, with one list of the title taken.
    WordListStore store(const QString &taken = {})
    {
        const QString file = dir.filePath(QStringLiteral("lists.txt"));
        QFile::remove(file);
        WordListStore store(file);
        (void)store.Load();
        if (!taken.isEmpty())
            (void)store.Add(WordSet::fromTexts(taken, QStringList(9, QStringLiteral("x"))));
        return store;
    }

private slots:
    void fieldText_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<bool>("html");
        QTest::addColumn<QString>("text");
        QTest::newRow("entities") << "Tom &amp; Jerry &lt;3 &#x732B;&#29483; &eacute;" << true
                                  << "Tom & Jerry <3 猫猫 é";
        QTest::newRow("tags, spaces between kept")
            << "<b>red</b> <i>apple</i>" << true << "red apple";
        QTest::newRow("br and blocks part words")
            << "one<br>two<div>three</div>four<br/>five" << true << "one two three four five";
        QTest::newRow("nbsp and runs fold") << "&nbsp; cat \n\t dog&nbsp;" << true << "cat dog";
        QTest::newRow("comments, scripts, styles")
            << "a<!-- note --><script>x()</script><style>p{}</style>b" << true << "ab";
        QTest::newRow("broken markup") << "a < b <b>c" << true << "a < b c";
        QTest::newRow("sound dropped")
            << "[sound:cat.mp3]<b>cat</b> [sound:x y.ogg]" << true << "cat";
        QTest::newRow("plain text keeps markup")
            << "<b>a</b> &amp;\r\nb" << false << "<b>a</b> &amp; b";
    }
    void fieldText()
    {
        QFETCH(QString, field);
        QFETCH(bool, html);
        QTEST(fieldtext(field, html), "text");
    }

    void furiganaSplits_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("reading");
        QTest::newRow("one") << " 日本語[にほんご]"
                             << "日本語"
                             << "にほんご";
        QTest::newRow("segments") << "食[た]べ 物[もの]"
                                  << "食べ物"
                                  << "たべもの";
        QTest::newRow("none") << "cat [n.]"
                              << "cat [n.]"
                              << "";
        QTest::newRow("plain") << "猫"
                               << "猫"
                               << "";
    }
    void furiganaSplits()
    {
        QFETCH(QString, field);
        const Furigana split = furigana(field);
        QTEST(split.text, "text");
        QTEST(split.reading, "reading");
    }

    // Headers in any case, a named separator, special columns left out of the note's fields,
    // quotes around separators, doubled quotes and line breaks, comments, CR LF.
    void ankiTextWithHeaders()
    {
        const QString text = QStringLiteral(
            "#SEPARATOR:Semicolon\r\n#html:false\r\n#guid column:1\r\n#Deck Column:2\r\n"
            "#tags column:5\r\n"
            "g1;Fruit;苹果;apple;tag;píngguǒ\r\n"
            "# a comment\r\n"
            "g2;Fruit;\"a;b\";\"say \"\"hi\"\"\";t;\"two\r\nlines\"\r\n"
            "g3;;<b>x</b>;\"&amp;\"\r\n");
        QVERIFY(hasankiheader(text));
        const NoteFile file = readankitext(text);
        QCOMPARE(shown(file.notes),
                 QStringLiteral("苹果/píngguǒ/apple@Fruit:6;a;b/two lines/say \"hi\"@Fruit:8;"
                                "<b>x</b>//&amp;@:10"));
        QVERIFY(file.refused.isEmpty());
    }

    void ankiSeparators_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("notes");
        QTest::newRow("tab by name") << "#separator:tab\ncat\tgato\n"
                                     << "cat//gato@:2";
        QTest::newRow("the character") << "#separator:|\ncat|gato\n"
                                       << "cat//gato@:2";
        QTest::newRow("after a comment, spaced") << "# vim: ts=8\n#separator: Comma \ncat,gato\n"
                                                 << "cat//gato@:3";
        QTest::newRow("guessed: comma") << "cat,gato\n\"a,b\",c\n"
                                        << "cat//gato@:1;a,b//c@:2";
        QTest::newRow("guessed: tab before comma") << "a, b\tc\nd\te, f\n"
                                                   << "a, b//c@:1;d//e, f@:2";
        QTest::newRow("guessed: one column") << "cat\ndog\n"
                                             << "cat//@:1;dog//@:2";
        QTest::newRow("plain text as it stands") << "a<b\tR&D\n"
                                                 << "a<b//R&D@:1";
        QTest::newRow("HTML by its tags") << "a&lt;b\t<i>R&amp;D</i>\n"
                                          << "a<b//R&D@:1";
        QTest::newRow("a deck for all") << "#deck:Animals\n#separator:,\ncat,gato\n"
                                        << "cat//gato@Animals:3";
    }
    void ankiSeparators()
    {
        QFETCH(QString, text);
        QCOMPARE(hasankiheader(text), text.startsWith(u'#'));
        QTEST(shown(readankitext(text).notes), "notes");
    }

    // Blank words, control characters and undecodable bytes are refused by their lines.
    void ankiRefusals()
    {
        const QString text = QStringLiteral("#separator:tab\n\tno word\nok\tfine\nbad\u0001\tx\n"
                                            "broken\uFFFD\ty\n");
        const NoteFile file = readankitext(text, {text.indexOf(u'\uFFFD')});
        QCOMPARE(shown(file.notes), QStringLiteral("ok//fine@:3"));
        QCOMPARE(file.refused.size(), 3);
        QCOMPARE(notetext(file.refused.at(0), file.format, texts),
                 QStringLiteral("Line 2, \"\": its first field holds no word"));
        QCOMPARE(file.refused.at(1).kind, NoteRefusal::Kind::Control);
        QCOMPARE(file.refused.at(2).kind, NoteRefusal::Kind::Undecodable);
    }

    // The format is told by the bytes, then the name; a BOM and CR LF change nothing.
    void formats()
    {
        auto read = [](const QString &path) { return readimportsource(path); };
        auto anki = read(write(QStringLiteral("a.txt"),
                               "\xEF\xBB\xBF#separator:tab\r\n#html:true\r\ncat\tgato\r\n"));
        QVERIFY(anki);
        QCOMPARE(anki->notes.format, NoteFile::Format::AnkiText);
        QCOMPARE(shown(anki->notes.notes), QStringLiteral("cat//gato@:3"));

        auto mnemosyne =
            read(write(QStringLiteral("m.txt"), "猫\tmāo\tcat<br>pet\r\n狗\tgǒu\tdog\n"));
        QVERIFY(mnemosyne);
        QCOMPARE(mnemosyne->notes.format, NoteFile::Format::Mnemosyne);
        QCOMPARE(shown(mnemosyne->notes.notes), QStringLiteral("猫/māo/cat pet@:1;狗/gǒu/dog@:2"));

        // A KVTML file named otherwise is still one.
        auto kvtml = read(write(
            QStringLiteral("k.xml"),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE kvtml PUBLIC \"kvtml2.dtd\" "
            "\"http://edu.kde.org/kvtml/kvtml2.dtd\">\n<kvtml version=\"2.0\">\n"
            "<information><title> Fruit &amp; more </title></information>\n<entries>\n"
            "<entry id=\"0\"><translation id=\"1\"><text>apple</text></translation>\n"
            "<translation id=\"0\"><text>苹果</text><pronunciation>píngguǒ</pronunciation>"
            "</translation></entry>\n<entry id=\"1\"><translation id=\"0\"><text>梨</text>"
            "</translation></entry>\n</entries></kvtml>\n"));
        QVERIFY(kvtml);
        QCOMPARE(kvtml->notes.title, QStringLiteral("Fruit & more"));
        QCOMPARE(shown(kvtml->notes.notes), QStringLiteral("苹果/píngguǒ/apple@:6;梨//@:8"));

        auto damaged = read(write(QStringLiteral("d.kvtml"),
                                  "<kvtml version=\"2.0\">\n<entries>\n<entry>\n</kvtml>"));
        QVERIFY(!damaged);
        QCOMPARE(damaged.error().kind, NoteFileProblem::Kind::BadXml);
        QCOMPARE(damaged.error().line, qint64(4));

        // Our table: ten fields as ever; 28 bring readings and meanings, blank ones too.
        QString row = QStringLiteral("Colours,红,黄,蓝,绿,白,黑,紫,灰,橙");
        auto table = read(
            write(QStringLiteral("t.txt"), (row + u',' + QStringLiteral("hóng,,,,,,,,") + u',' +
                                            QStringLiteral("red,yellow,,,,,,,orange\r\n"))
                                               .toUtf8()));
        QVERIFY(table);
        QCOMPARE(table->kind, ImportSource::Kind::Table);
        const ImportOutcome outcome = checksource(*table, store(), texts);
        QCOMPARE(outcome.lists.size(), 1);
        QCOMPARE(outcome.lists.at(0).words[0],
                 Word(QStringLiteral("红"), QStringLiteral("hóng"), QStringLiteral("red")));
        QCOMPARE(outcome.lists.at(0).words[8],
                 Word(QStringLiteral("橙"), {}, QStringLiteral("orange")));
        // A .csv of rows too short for a list is still a table, refused row by row.
        auto shortRows = read(write(QStringLiteral("s.csv"), "A,b,c,d,e\n"));
        QVERIFY(shortRows);
        QCOMPARE(shortRows->kind, ImportSource::Kind::Table);

        auto binary = read(write(QStringLiteral("b.dat"), QByteArray("\x89PNG\0\0\0\rIHDR", 12)));
        QVERIFY(!binary);
        QCOMPARE(binary.error().kind, NoteFileProblem::Kind::NotUnderstood);
        auto notZip = read(write(QStringLiteral("n.apkg"), "not a zip"));
        QVERIFY(!notZip);
        QCOMPARE(notZip.error().kind, NoteFileProblem::Kind::BadPackage);
    }

    // New-style: collection.anki21b, zstd, decks in their own table, beside the decoy; old-style:
    // collection.anki2, decks in col's JSON. Notes in the order they were made, their deck that
    // of their first card.
    void ankiPackages()
    {
        const QString decoy =
            noteRows({{1,
                       fields(QStringLiteral("Please update to the latest Anki version, then "
                                             "import the .colpkg/.apkg file again."),
                              {}),
                       1}}) +
            QStringLiteral("CREATE TABLE col (id INTEGER PRIMARY KEY, decks TEXT);"
                           "INSERT INTO col VALUES (1, '{\"1\": {\"name\": \"Default\"}}');");
        const QString modern =
            noteRows(
                {{20, fields(QStringLiteral("<b>猫</b>[sound:m.mp3]"), QStringLiteral("cat")), 5},
                 {10, fields(QStringLiteral(" 日本語[にほんご]"), QStringLiteral("Japanese")), 5},
                 {30,
                  fields(QStringLiteral("hola"), QStringLiteral("hello"), QStringLiteral("ˈola")),
                  6}}) +
            QStringLiteral("CREATE TABLE decks (id INTEGER PRIMARY KEY, name TEXT);"
                           "INSERT INTO decks VALUES (5, 'Lang%1Japanese'), (6, 'Spanish');"
                           // Far more than one buffer of zstd's output.
                           "CREATE TABLE pad (b BLOB); INSERT INTO pad VALUES (zeroblob(600000));")
                .arg(kUnit);
        const QString path = dir.filePath(QStringLiteral("new.apkg"));
        writezip(path, {{"collection.anki2", database(dir.path(), decoy)},
                        {"collection.anki21b", zstd(database(dir.path(), modern))},
                        {"media", zstd("")}});
        auto read = readimportsource(path);
        QVERIFY(read);
        QCOMPARE(read->notes.format, NoteFile::Format::AnkiPackage);
        QCOMPARE(shown(read->notes.notes),
                 QStringLiteral("日本語/にほんご/Japanese@Lang::Japanese:1;猫//cat@Lang::"
                                "Japanese:2;hola/ˈola/hello@Spanish:3"));

        const QString legacy =
            noteRows({{1, fields(QStringLiteral("perro"), QStringLiteral("dog")), 7}}) +
            QStringLiteral("CREATE TABLE col (id INTEGER PRIMARY KEY, decks TEXT);"
                           "INSERT INTO col VALUES (1, '{\"7\": {\"name\": \"Old::Deck\"}}');");
        const QString old = dir.filePath(QStringLiteral("old.zip"));
        writezip(old, {{"collection.anki2", database(dir.path(), legacy)}});
        auto oldRead = readimportsource(old);
        QVERIFY(oldRead);
        QCOMPARE(shown(oldRead->notes.notes), QStringLiteral("perro//dog@Old::Deck:1"));

        const QString empty = dir.filePath(QStringLiteral("empty.apkg"));
        writezip(empty, {{"media", "{}"}});
        auto none = readimportsource(empty);
        QVERIFY(!none);
        QVERIFY(problemtext(none.error(), texts)
                    .startsWith(QStringLiteral("The Anki package cannot be read: no collection")));
    }

    // 19 notes of a deck make two lists and leave one over; a word the deck has already is left
    // out and the next note takes its place; notes without a deck take the file's name; a title
    // in use refuses its list.
    void dealing()
    {
        QByteArray text("#separator:tab\n#deck column:2\n");
        for (int n = 1; n <= 20; ++n)
            text += "w" + QByteArray::number(n == 5 ? 3 : n) + "\tVerbs\n";
        for (int n = 1; n <= 9; ++n)
            text += "n" + QByteArray::number(n) + "\t\n";
        auto source = readimportsource(write(QStringLiteral("my words.txt"), text));
        QVERIFY(source);
        const NoteImport import = checknotes(*source, store(QStringLiteral("my words")));
        QCOMPARE(titles(import.lists), (QStringList{"Verbs 1", "Verbs 2"}));
        QCOMPARE(import.lists.at(0).texts(),
                 (QStringList{"w1", "w2", "w3", "w4", "w6", "w7", "w8", "w9", "w10"}));
        QCOMPARE(import.lists.at(1).text(9), QStringLiteral("w19"));
        QCOMPARE(import.refusedLists.size(), 1);
        QCOMPARE(listrefusaltext(import, import.refusedLists.at(0), texts),
                 QStringLiteral("The list \"my words\" was not added: the title \"my words\" is "
                                "already in use"));
        QCOMPARE(import.leftOut.size(), 2);
        QCOMPARE(notetext(import.leftOut.at(0), source->notes.format, texts),
                 QStringLiteral("Line 7, \"w3\": its deck already has this word, on line 5"));
        QCOMPARE(notetext(import.leftOut.at(1), source->notes.format, texts),
                 QStringLiteral("Line 22, \"w20\": left over: fewer than nine words remain for "
                                "another list"));
    }
};

VASKELIO_TEST_MAIN(TestImporters)
#include "tst_importers.moc"
