#include "sandbox.h"
#include "testfiles.h"
#include "wordlists/glossary.h"
#include "wordlists/wordliststore.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

namespace {
void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

WordSet fruit()
{
    WordSet set = WordSet::fromTexts(
        QStringLiteral("水果"),
        {QStringLiteral("苹果"), QStringLiteral("香蕉"), QStringLiteral("梨"), QStringLiteral("桃"),
         QStringLiteral("橙"), QStringLiteral("葡萄"), QStringLiteral("西瓜"),
         QStringLiteral("草莓"), QStringLiteral("樱桃")});
    set.words[0].reading = QStringLiteral("píngguǒ");
    set.words[0].meaning = QStringLiteral("apple");
    return set;
}
} // namespace

// Readings and meanings kept by the word, beside lists.txt.
class TestGlossary : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QString file() const { return Glossary::fileIn(dir.path()); }
    QString seed() const { return dir.filePath(QStringLiteral("seed.json")); }

private slots:
    void init()
    {
        QFile::remove(file());
        writeFile(seed(), R"({"format": 1, "words": {
            "apple": {"meaning": {"zh": "苹果", "ja": "りんご"}},
            "苹果": {"reading": "píngguǒ", "meaning": "apple"},
            "cat": {"meaning": {"ja": "ねこ"}}}})");
    }

    // The seed's meaning in the learner's language, another one where it has none there.
    void seedMeaningsFollowTheLanguage()
    {
        const Glossary glossary = Glossary::read(file(), seed());
        QVERIFY(glossary.problem().isEmpty());
        QCOMPARE(glossary.find(QStringLiteral("apple"), 1).meaning, QStringLiteral("苹果"));
        QCOMPARE(glossary.find(QStringLiteral("apple"), 2).meaning, QStringLiteral("りんご"));
        QCOMPARE(glossary.find(QStringLiteral("cat"), 1).meaning, QStringLiteral("ねこ"));
        QCOMPARE(glossary.find(QStringLiteral(" 苹果 "), 0),
                 (Gloss{QStringLiteral("píngguǒ"), QStringLiteral("apple")}));
        QVERIFY(glossary.find(QStringLiteral("pear"), 0).isEmpty());
    }

    // What the player wrote wins over the seed, and survives a new read; taking a meaning away
    // from a seed word is kept too.
    void userEntriesWinAndLast()
    {
        Glossary glossary = Glossary::read(file(), seed());
        WordSet set = fruit();
        set.words[0].meaning = QStringLiteral("apple (fruit)");
        set.words[1].meaning = QStringLiteral("banana");
        QVERIFY(glossary.take(set, false));
        QVERIFY(!glossary.take(set, false)); // nothing new
        QVERIFY(glossary.save());
        Glossary again = Glossary::read(file(), seed());
        QCOMPARE(again.find(QStringLiteral("苹果"), 0).meaning, QStringLiteral("apple (fruit)"));
        QCOMPARE(again.find(QStringLiteral("香蕉"), 0).meaning, QStringLiteral("banana"));

        WordSet edited = WordSet::fromTexts({}, {QStringLiteral("苹果"), QStringLiteral("香蕉")});
        QVERIFY(!again.take(edited, false)); // an import with no meanings changes nothing
        QVERIFY(again.take(edited, true));   // an edit that empties them does
        QVERIFY(again.save());
        const Glossary last = Glossary::read(file(), seed());
        QVERIFY(last.find(QStringLiteral("苹果"), 0).isEmpty()); // not the seed's again
        QVERIFY(last.find(QStringLiteral("香蕉"), 0).isEmpty());
        QVERIFY(!bytesOf(file()).contains("香蕉")); // a word no seed knows goes from the file
    }

    void fillKeepsWhatTheSetBrings()
    {
        const Glossary glossary = Glossary::read(file(), seed());
        WordSet set = WordSet::fromTexts({}, {QStringLiteral("apple"), QStringLiteral("苹果")});
        set.words[1].meaning = QStringLiteral("my apple");
        glossary.fill(set, 2);
        QCOMPARE(set.words[0].meaning, QStringLiteral("りんご"));
        QCOMPARE(set.words[1].meaning, QStringLiteral("my apple"));
        QVERIFY(set.words[1].reading.isEmpty());
    }

    // A list's language is kept by its title beside the meanings, fills a set that names none,
    // and an edit that clears it takes away the seed's too.
    void listLanguagesLast()
    {
        writeFile(seed(), R"({"format": 1, "words": {}, "lists": {"曜日": {"language": "ja"}}})");
        Glossary glossary = Glossary::read(file(), seed());
        QCOMPARE(glossary.language(QStringLiteral(" 曜日 ")), QStringLiteral("ja"));
        WordSet set = fruit();
        set.language = QStringLiteral("zh");
        QVERIFY(glossary.take(set, false));
        QVERIFY(!glossary.take(set, false));
        WordSet days = WordSet::fromTexts(QStringLiteral("曜日"), {});
        QVERIFY(glossary.take(days, true)); // Automatic chosen over the seed's
        QVERIFY(glossary.save());

        Glossary again = Glossary::read(file(), seed());
        QCOMPARE(again.language(QStringLiteral("水果")), QStringLiteral("zh"));
        QVERIFY(again.language(QStringLiteral("曜日")).isEmpty());
        WordSet filled = WordSet::fromTexts(QStringLiteral("水果"), {QStringLiteral("苹果")});
        again.fill(filled, 0);
        QCOMPARE(filled.language, QStringLiteral("zh"));
        filled.language = QStringLiteral("ja"); // a set's own stays
        again.fill(filled, 0);
        QCOMPARE(filled.language, QStringLiteral("ja"));

        // An import that names none leaves it; an edit to Automatic removes what no seed has.
        set.language.clear();
        QVERIFY(!again.take(set, false));
        QVERIFY(again.take(set, true));
        QVERIFY(again.save());
        const QByteArray bytes = bytesOf(file());
        QVERIFY(!bytes.contains("水果"));
        QVERIFY(bytes.contains("曜日"));
        QVERIFY(Glossary::read(file(), seed()).language(QStringLiteral("水果")).isEmpty());
    }

    // A file of the version before lists had languages reads as ever and is written back without
    // a "lists" object; a file with one still has "words" as that version reads them.
    void oldAndNewFilesAgree()
    {
        const QByteArray old = "{\n    \"format\": 1,\n    \"words\": {\n        \"苹果\": {\n"
                               "            \"meaning\": \"apple\"\n        }\n    }\n}\n";
        writeFile(file(), old);
        Glossary glossary = Glossary::read(file(), seed());
        QVERIFY(glossary.problem().isEmpty());
        QCOMPARE(glossary.find(QStringLiteral("苹果"), 0).meaning, QStringLiteral("apple"));
        QVERIFY(glossary.save());
        QCOMPARE(bytesOf(file()), old);

        WordSet set = fruit();
        set.language = QStringLiteral("zh");
        QVERIFY(glossary.take(set, false));
        QVERIFY(glossary.save());
        const QJsonObject written = QJsonDocument::fromJson(bytesOf(file())).object();
        QCOMPARE(written.value("format").toInt(), 1);
        QCOMPARE(written.value("words")["苹果"]["meaning"].toString(), QStringLiteral("apple"));
        QCOMPARE(written.value("lists")["水果"]["language"].toString(), QStringLiteral("zh"));

        // "lists" of another shape is a damaged file: kept, not written over.
        writeFile(file(), R"({"format": 1, "words": {}, "lists": ["水果"]})");
        Glossary damaged = Glossary::read(file(), seed());
        QVERIFY(!damaged.problem().isEmpty());
        QVERIFY(damaged.take(set, false));
        QVERIFY(!damaged.save());
    }

    // A file that is no glossary is never written over: its entries may still be mended by hand.
    void aDamagedFileIsKept()
    {
        writeFile(file(), "{\"format\": 1, \"words\": {\"苹果\": ");
        Glossary glossary = Glossary::read(file(), seed());
        QVERIFY(!glossary.problem().isEmpty());
        QVERIFY(glossary.take(fruit(), false));
        QVERIFY(!glossary.save());
        QCOMPARE(bytesOf(file()), QByteArray("{\"format\": 1, \"words\": {\"苹果\": "));
        // The seed still answers.
        QCOMPARE(glossary.find(QStringLiteral("apple"), 1).meaning, QStringLiteral("苹果"));
    }

    // The store records the meanings its lists bring before lists.txt, and keeps texts only.
    void theStoreKeepsMeaningsBesideTheLists()
    {
        const QString lists = dir.filePath(QStringLiteral("lists.txt"));
        WordListStore store(lists);
        QVERIFY(!store.Load()); // no file yet
        QVERIFY(store.Add(fruit()));
        QVERIFY(store.Get(store.Count()).words[0].meaning.isEmpty());
        QVERIFY(!bytesOf(lists).isEmpty());
        WordListStore reread(lists);
        QVERIFY(reread.Load());
        QCOMPARE(reread.glossary().find(QStringLiteral("苹果"), 0).meaning,
                 QStringLiteral("apple"));
        // The shipped seed is there too.
        QVERIFY(reread.glossary().problem().isEmpty());
    }

    // Where the glossary cannot be written, no list is added.
    void aGlossaryThatCannotBeWrittenAddsNoList()
    {
        const QString lists = dir.filePath(QStringLiteral("lists.txt"));
        QFile::remove(lists);
        WordListStore store(lists);
        static_cast<void>(store.Load());
        writeFile(file(), "not json");
        const int before = store.Count();
        const StoreResult added = store.Add(fruit());
        QVERIFY(!added);
        QVERIFY(added.error().message.contains(QStringLiteral("glossary.json")));
        QCOMPARE(store.Count(), before);
        QVERIFY(!QFile::exists(lists));
        QCOMPARE(bytesOf(file()), QByteArray("not json"));
    }
};

VASKELIO_TEST_MAIN(TestGlossary)
#include "tst_glossary.moc"
