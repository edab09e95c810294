#include "sandbox.h"
#include "speech/spokenword.h"
#include "wordlists/glossary.h"
#include "wordlists/wordliststore.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

// The program's own lists ship with their readings and meanings.
class TestSeedGlossary : public QObject {
    Q_OBJECT

private slots:
    void everySeedWordIsGlossed()
    {
        // The program reads a seed that does not parse as an empty one, silently: parse it here.
        QFile seed(Glossary::builtInSeed());
        QVERIFY(seed.open(QIODevice::ReadOnly));
        QJsonParseError error{};
        const QJsonObject raw =
            QJsonDocument::fromJson(seed.readAll(), &error).object().value("words").toObject();
        QCOMPARE(error.errorString(), QJsonParseError().errorString());

        QTemporaryDir dir;
        const QString lists = wordlistfile(dir.path());
        QVERIFY(QFile::copy(QStringLiteral(VASKELIO_SOURCE_DIR "/data/lists.txt"), lists));
        WordListStore store(lists);
        QVERIFY(store.Load());
        const Glossary glossary = Glossary::read(Glossary::fileIn(dir.path()));

        // What each list needs; a list added to the seed without its glosses fails here.
        const QStringList english{"阿拉伯数字", "Colours", "Animals", "Fruit", "Days", "Numbers"};
        const QStringList chinese{"中文数字", "颜色", "动物", "水果", "星期"};
        const QStringList japanese{"いろ", "どうぶつ", "曜日", "ひらがな"};
        const QStringList bare{"字母"}; // a letter means itself in every language
        const QRegularExpression pinyin(
            QStringLiteral("^[a-zü']*[āáǎàēéěèīíǐìōóǒòūúǔùǖǘǚǜ][a-zāáǎàēéěèīíǐìōóǒòūúǔùǖǘǚǜü']*$"));
        const QRegularExpression kana(QStringLiteral("^[\\x{3041}-\\x{309F}]+$"));
        const QRegularExpression han(QStringLiteral("\\p{Han}"));

        QCOMPARE(store.Count(), english.size() + chinese.size() + japanese.size() + bare.size());
        for (int pos = 1; pos <= store.Count(); ++pos) {
            const QString title = store.Get(pos).title;
            QVERIFY2(english.contains(title) || chinese.contains(title) ||
                         japanese.contains(title) || bare.contains(title),
                     qPrintable(title));
            for (const QString &word : store.Get(pos).texts()) {
                const QString what = title + QLatin1String(": ") + word;
                const Gloss gloss = glossary.find(word, 0);
                const QJsonValue meaning = raw.value(word).toObject().value("meaning");
                const QString en =
                    meaning.isObject() ? meaning["en"].toString() : meaning.toString();
                if (english.contains(title)) {
                    const QJsonObject meaning =
                        raw.value(word).toObject().value("meaning").toObject();
                    QVERIFY2(!meaning.value("zh").toString().isEmpty(), qPrintable(what));
                    QVERIFY2(!meaning.value("ja").toString().isEmpty(), qPrintable(what));
                    QCOMPARE(glossary.find(word, 1).meaning, meaning.value("zh").toString());
                } else if (chinese.contains(title)) {
                    QVERIFY2(pinyin.match(gloss.reading).hasMatch(), qPrintable(what));
                    QVERIFY2(!en.isEmpty(), qPrintable(what));
                } else if (japanese.contains(title)) {
                    // A reading only where kanji need one.
                    QVERIFY2(han.match(word).hasMatch() ? kana.match(gloss.reading).hasMatch()
                                                        : gloss.reading.isEmpty(),
                             qPrintable(what));
                    QVERIFY2(!en.isEmpty(), qPrintable(what));
                }
            }
            // Each list is spoken in its language: the seed names it where the words alone
            // would not tell it (曜日 without its readings is all kanji). Digits tell none.
            WordSet set = store.Get(pos);
            glossary.fill(set, 0);
            const QString expected = title == QStringLiteral("阿拉伯数字") ? QString()
                                     : chinese.contains(title)             ? QStringLiteral("zh")
                                     : japanese.contains(title)            ? QStringLiteral("ja")
                                                                           : QStringLiteral("en");
            QVERIFY2(listlanguage(set) == expected, qPrintable(title + u' ' + listlanguage(set)));
            for (Word &word : set.words)
                word.reading.clear();
            QVERIFY2(listlanguage(set) == expected, qPrintable(title + u' ' + listlanguage(set)));
        }
    }
};

VASKELIO_TEST_MAIN(TestSeedGlossary)
#include "tst_seedglossary.moc"
