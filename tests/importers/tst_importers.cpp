#include "i18n/texttable.h"
#include "importers/ankitext.h"
#include "importers/fieldtext.h"
#include "importers/notelanguage.h"
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

// The language of each note, "-" for none.
QString languages(const QList<Note> &notes)
{
    QStringList parts;
    for (const Note &note : notes)
        parts.append(note.language.isEmpty() ? QStringLiteral("-") : note.language);
    return parts.join(u',');
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

// Notes as SQL rows: id, fields, deck id; types: note id -> note type id, else 1. Both schemata
// share notes and cards.
QString noteRows(const QList<std::tuple<int, QString, int>> &notes,
                 const QHash<int, int> &types = {})
{
    QString sql = QStringLiteral("CREATE TABLE notes (id INTEGER PRIMARY KEY, mid INTEGER, "
                                 "flds TEXT);"
                                 "CREATE TABLE cards (id INTEGER PRIMARY KEY, nid INTEGER, "
                                 "did INTEGER, ord INTEGER);");
    int card = 100;
    for (const auto &[id, fields, deck] : notes) {
        QString quoted = fields;
        sql += QStringLiteral("INSERT INTO notes VALUES (%1, %2, '%3');")
                   .arg(id)
                   .arg(types.value(id, 1))
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
                  6}},
                {{20, 3}, {10, 3}, {30, 4}}) +
            QStringLiteral("CREATE TABLE notetypes (id INTEGER PRIMARY KEY, name TEXT);"
                           "INSERT INTO notetypes VALUES (3, 'Japanese (recognition)'), "
                           "(4, 'Basic (and reversed card)');"
                           "CREATE TABLE decks (id INTEGER PRIMARY KEY, name TEXT);"
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
        QCOMPARE(languages(read->notes.notes), QStringLiteral("ja,ja,-"));

        const QString legacy =
            noteRows({{1, fields(QStringLiteral("perro"), QStringLiteral("dog")), 7},
                      {2, fields(QStringLiteral("gato"), QStringLiteral("cat")), 7}},
                     {{1, 8}, {2, 9}}) +
            QStringLiteral("CREATE TABLE col (id INTEGER PRIMARY KEY, decks TEXT, models TEXT);"
                           "INSERT INTO col VALUES (1, '{\"7\": {\"name\": \"Old::Deck\"}}', "
                           "'{\"8\": {\"name\": \"Spanish vocab\"}, "
                           "\"9\": {\"name\": \"Cloze\"}}');");
        const QString old = dir.filePath(QStringLiteral("old.zip"));
        writezip(old, {{"collection.anki2", database(dir.path(), legacy)}});
        auto oldRead = readimportsource(old);
        QVERIFY(oldRead);
        QCOMPARE(shown(oldRead->notes.notes),
                 QStringLiteral("perro//dog@Old::Deck:1;gato//cat@Old::Deck:2"));
        QCOMPARE(languages(oldRead->notes.notes), QStringLiteral("es,-"));

        const QString empty = dir.filePath(QStringLiteral("empty.apkg"));
        writezip(empty, {{"media", "{}"}});
        auto none = readimportsource(empty);
        QVERIFY(!none);
        QVERIFY(problemtext(none.error(), texts)
                    .startsWith(QStringLiteral("The Anki package cannot be read: no collection")));
    }

    void namedLanguages_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("language");
        QTest::newRow("Anki's kind") << "Chinese (Basic)"
                                     << "zh";
        QTest::newRow("case") << "japanese (recognition)"
                              << "ja";
        QTest::newRow("own script") << "中文"
                                    << "zh";
        QTest::newRow("inside a word") << "日本語単語"
                                       << "ja";
        QTest::newRow("Hangul") << "한국어"
                                << "ko";
        QTest::newRow("after a word") << "French vocab"
                                      << "fr";
        QTest::newRow("the first of two") << "Chinese-English"
                                          << "zh";
        QTest::newRow("as a deck calls it") << "Mandarin HSK 1"
                                            << "zh";
        QTest::newRow("its native name") << "Deutsch Wörter"
                                         << "de";
        for (const char *none : {"Basic (and reversed card)", "Basic (optional reversed card)",
                                 "Basic (type in the answer)", "Cloze", "Image Occlusion",
                                 "Vocabulary sentence", "Front/Back audio"})
            QTest::addRow("none: %s", none) << none << "";
        QTest::newRow("not within a word") << "Thailand trip"
                                           << "";
        QTest::newRow("blank") << ""
                               << "";
    }
    void namedLanguages()
    {
        QFETCH(QString, name);
        QTEST(namedlanguage(name), "language");
    }

    void localeLanguages_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("language");
        for (const char *zh : {"zh", "zh_CN", "zh-TW", "ZH_hk", "zho"})
            QTest::addRow("%s", zh) << zh << "zh";
        QTest::newRow("ja_JP.UTF-8") << "ja_JP.UTF-8"
                                     << "ja";
        QTest::newRow("en_001") << "en_001"
                                << "en";
        for (const char *none : {"", "C", "xx", "English", "z", "en@euro"})
            QTest::addRow("none: %s", none) << none << "";
    }
    void localeLanguages()
    {
        QFETCH(QString, locale);
        QTEST(localelanguage(locale), "language");
    }

    // The words' language: KVTML's identifier 0, by its locale or else its name, whichever place
    // the identifiers take; Anki's note type, for the file or by its column.
    void languagesOfNotes()
    {
        auto kvtml = [this](const QString &identifiers) {
            const QString entries = QStringLiteral(
                "<entries><entry id=\"0\"><translation id=\"0\"><text>猫</text></translation>"
                "</entry></entries>");
            QString body = QStringLiteral("<kvtml version=\"2.0\">") + entries + identifiers +
                           QStringLiteral("</kvtml>");
            auto read = readimportsource(write(QStringLiteral("l.kvtml"), body.toUtf8()));
            return read ? languages(read->notes.notes) : QStringLiteral("unread");
        };
        auto identifier = [](const char *id, const char *name, const char *locale) {
            return QStringLiteral("<identifier id=\"%1\"><name>%2</name><locale>%3</locale>"
                                  "</identifier>")
                .arg(QLatin1String(id), QString::fromUtf8(name), QLatin1String(locale));
        };
        QCOMPARE(
            kvtml(QStringLiteral("<identifiers>%1%2</identifiers>")
                      .arg(identifier("1", "English", "en"), identifier("0", "中文", "zh_CN"))),
            QStringLiteral("zh"));
        QCOMPARE(kvtml(QStringLiteral("<identifiers>%1</identifiers>")
                           .arg(identifier("0", "Japanese", ""))),
                 QStringLiteral("ja"));
        QCOMPARE(kvtml(QStringLiteral("<identifiers>%1</identifiers>")
                           .arg(identifier("0", "Column 1", "??"))),
                 QStringLiteral("-"));
        QCOMPARE(kvtml({}), QStringLiteral("-"));

        const NoteFile one = readankitext(
            QStringLiteral("#separator:tab\n#notetype:Japanese (recognition)\n猫\tcat\n"));
        QCOMPARE(languages(one.notes), QStringLiteral("ja"));
        const NoteFile each = readankitext(
            QStringLiteral("#separator:tab\n#notetype:Korean\n#notetype column:1\n"
                           "Chinese (Basic)\t猫\tcat\nBasic\tcat\tgato\n한국어\t고양이\tcat\n"));
        QCOMPARE(shown(each.notes), QStringLiteral("猫//cat@:4;cat//gato@:5;고양이//cat@:6"));
        QCOMPARE(languages(each.notes), QStringLiteral("zh,-,ko"));
    }

    // A list takes the language its notes agree on, none where two differ or where its words are
    // not written as that language is (KWordQuiz names English whatever a column holds); the
    // import keeps it in the glossary by the list's title.
    void listLanguages()
    {
        QByteArray text("#separator:tab\n#notetype column:1\n#deck column:2\n");
        auto add = [&text](const char *type, const char *deck, int n) {
            text +=
                QByteArray(type) + '\t' + deck + '\t' + QString(QChar(0x4E00 + n)).toUtf8() + '\n';
        };
        for (int n = 0; n < 9; ++n) {
            add("Chinese (Basic)", "Agreed", n);
            add(n == 4 ? "Basic" : "Chinese (Basic)", "Some say", n);
            add(n == 4 ? "Japanese" : "Chinese (Basic)", "Differ", n);
            add("English vocab", "Not its script", n);
        }
        const QString path = write(QStringLiteral("types.txt"), text);
        auto source = readimportsource(path);
        QVERIFY(source);
        const NoteImport import = checknotes(*source, store());
        QCOMPARE(titles(import.lists),
                 (QStringList{"Agreed", "Some say", "Differ", "Not its script"}));
        QStringList named;
        for (const WordSet &list : import.lists)
            named.append(list.language);
        QCOMPARE(named, (QStringList{"zh", "zh", "", ""}));

        WordListStore into = store();
        const ImportRun run = runimport(path, into, texts);
        QCOMPARE(run.status, 0);
        const Glossary kept = Glossary::read(Glossary::fileIn(dir.path()));
        QCOMPARE(kept.language(QStringLiteral("Agreed")), QStringLiteral("zh"));
        QCOMPARE(kept.language(QStringLiteral("Some say")), QStringLiteral("zh"));
        QVERIFY(kept.language(QStringLiteral("Differ")).isEmpty());
        // lists.txt itself is as it was: texts only.
        QCOMPARE(into.Get(into.Count()).language, QString());
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
