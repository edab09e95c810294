#include "bankline.h"
#include "engine/bank.h"
#include "engine/random.h"
#include "game/gamesession.h"
#include "i18n/texttable.h"
#include "sandbox.h"
#include "scriptedprompter.h"
#include "scriptedspeaker.h"
#include "speech/pronouncer.h"
#include "speech/spokenword.h"
#include "storage/settings.h"

#include <QtTest>

namespace {
WordSet listOf(const QString &title, const QStringList &words, const QStringList &readings = {})
{
    WordSet set = WordSet::fromTexts(title, words);
    for (int n = 0; n < readings.size(); ++n)
        set.words[n].reading = readings[n];
    return set;
}
} // namespace

class TestSpeech : public QObject {
    Q_OBJECT

    PuzzleBank bank{{QStringList{kEasyLine1, kEasyLine1}, {}, {}, {}, {}}};
    RandomSource random{[] { return quint64(3); }};
    TextTables texts;
    SettingsState settings;
    ScriptedPrompter prompter;
    ScriptedSpeaker speaker;
    std::unique_ptr<GameSession> session;
    std::unique_ptr<Pronouncer> pronouncer;

    const WordSet days = listOf(
        QStringLiteral("曜日"),
        {QStringLiteral("月曜日"), QStringLiteral("火曜日"), QStringLiteral("水曜日"),
         QStringLiteral("木曜日"), QStringLiteral("金曜日"), QStringLiteral("土曜日"),
         QStringLiteral("日曜日"), QStringLiteral("今日"), QStringLiteral("明日")},
        {QStringLiteral("げつようび"), QStringLiteral("かようび"), QStringLiteral("すいようび"),
         QStringLiteral("もくようび"), QStringLiteral("きんようび"), QStringLiteral("どようび"),
         QStringLiteral("にちようび"), QStringLiteral("きょう"), QStringLiteral("あした")});
    const WordSet fruit =
        listOf(QStringLiteral("水果"),
               {QStringLiteral("苹果"), QStringLiteral("香蕉"), QStringLiteral("李子"),
                QStringLiteral("桃"), QStringLiteral("梨"), QStringLiteral("葡萄"),
                QStringLiteral("橙子"), QStringLiteral("西瓜"), QStringLiteral("芒果")},
               {QStringLiteral("píngguǒ")});

    QPoint cell(bool given)
    {
        for (int i = 1; i <= 9; ++i)
            for (int j = 1; j <= 9; ++j)
                if (session->model().cell(i, j).given == given)
                    return {i, j};
        return {};
    }

private slots:
    void init()
    {
        settings = SettingsState();
        prompter.clear();
        speaker = ScriptedSpeaker();
        session = std::make_unique<GameSession>(bank, random, texts, prompter);
        pronouncer = std::make_unique<Pronouncer>(*session, speaker, texts, settings, prompter);
    }

    void theLanguageComesFromTheScripts_data()
    {
        QTest::addColumn<WordSet>("list");
        QTest::addColumn<QString>("language");
        QTest::newRow("Han with pinyin") << fruit << "zh";
        // Kanji alone read as Chinese; their kana readings make them Japanese.
        QTest::newRow("kanji with kana readings") << days << "ja";
        QTest::newRow("kanji without readings") << listOf({}, days.texts()) << "zh";
        QTest::newRow("kana") << listOf({}, {QStringLiteral("ねこ"), QStringLiteral("イヌ")})
                              << "ja";
        QTest::newRow("Han beside kana in a word")
            << listOf({}, {QStringLiteral("食べる"), QStringLiteral("水")}) << "ja";
        QTest::newRow("Latin") << listOf({}, {QStringLiteral("apple"), QStringLiteral("pear")})
                               << "en";
        QTest::newRow("Hangul") << listOf({}, {QStringLiteral("사과"), QStringLiteral("배")})
                                << "ko";
        QTest::newRow("Cyrillic") << listOf({}, {QStringLiteral("кот")}) << "ru";
        QTest::newRow("digits tell none")
            << listOf({}, {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral(" ")}) << "";
        WordSet named = listOf({}, {QStringLiteral("chat"), QStringLiteral("chien")});
        named.language = QStringLiteral("fr");
        QTest::newRow("the list's own wins") << named << "fr";
    }
    void theLanguageComesFromTheScripts()
    {
        QFETCH(WordSet, list);
        QFETCH(QString, language);
        QCOMPARE(listlanguage(list), language);
    }

    void kanjiAreSpokenFromTheirReading()
    {
        const Word monday = days.words[0];
        QCOMPARE(spokenform(monday, QStringLiteral("ja")), QStringLiteral("げつようび"));
        // Chinese engines read Han as written; a kana word is read as it stands.
        QCOMPARE(spokenform(monday, QStringLiteral("zh")), QStringLiteral("月曜日"));
        QCOMPARE(
            spokenform(Word(QStringLiteral("ねこ"), QStringLiteral("neko")), QStringLiteral("ja")),
            QStringLiteral("ねこ"));
        QCOMPARE(spokenform(Word(QStringLiteral(" 今日 ")), QStringLiteral("ja")),
                 QStringLiteral("今日"));
    }

    void ctrlKSpeaksTheCellOrTheSelectedWord()
    {
        pronouncer->speakAt(1, 1);
        QVERIFY(speaker.said.isEmpty()); // no game yet

        QVERIFY(session->deal(0, days));
        session->pick(3);
        const QPoint given = cell(true);
        const int k = session->model().cell(given.x(), given.y()).solution;
        pronouncer->speakAt(given.x(), given.y());
        const QPoint open = cell(false);
        pronouncer->speakAt(open.x(), open.y());
        pronouncer->speakAt(0, 0); // no keyboard cell
        QCOMPARE(speaker.said.size(), 3);
        QCOMPARE(speaker.said[0].text, days.words[k - 1].reading);
        QCOMPARE(speaker.said[0].language, QStringLiteral("ja"));
        QCOMPARE(speaker.said[1].text, QStringLiteral("すいようび"));
        QCOMPARE(speaker.said[2].text, QStringLiteral("すいようび"));

        // A word the player placed is spoken from its cell.
        session->pick(1);
        session->place(open.x(), open.y());
        session->pick(2);
        pronouncer->speakAt(open.x(), open.y());
        QCOMPARE(speaker.said.last().text, QStringLiteral("げつようび"));
    }

    void wordsAreSpokenUnaskedAsTheSettingsSay()
    {
        QVERIFY(session->deal(0, fruit));
        const QPoint open = cell(false);
        session->pick(3);
        session->place(open.x(), open.y());
        QVERIFY(speaker.said.isEmpty()); // never, by default

        settings.speakwords = int(SpeakWhen::Selected);
        settings.speechrate = 5;
        session->pick(3);
        session->place(open.x(), open.y()); // the same word again: nothing placed
        QCOMPARE(speaker.said.size(), 1);
        QCOMPARE(speaker.said[0].text, QStringLiteral("李子"));
        QCOMPARE(speaker.said[0].language, QStringLiteral("zh"));
        QCOMPARE(speaker.said[0].rate, 0.5);

        settings.speakwords = int(SpeakWhen::Placed);
        settings.speechrate = -30; // out of range: the slowest
        session->pick(1);
        QCOMPARE(speaker.said.size(), 1);
        session->place(open.x(), open.y());
        session->place(open.x(), open.y());
        QCOMPARE(speaker.said.size(), 2);
        QCOMPARE(speaker.said[1].text, QStringLiteral("苹果"));
        QCOMPARE(speaker.said[1].rate, -1.0);
    }

    void aListOfDigitsSpeaksTheInterfaceLanguage()
    {
        const WordSet digits =
            WordSet::fromTexts(QStringLiteral("阿拉伯数字"),
                               QStringLiteral("1 2 3 4 5 6 7 8 9").split(QLatin1Char(' ')));
        QVERIFY(session->deal(0, digits));
        texts.setLangid(1);
        pronouncer->speakWord(4);
        QCOMPARE(speaker.said.last().text, QStringLiteral("4"));
        QCOMPARE(speaker.said.last().language, QStringLiteral("zh"));
    }

    void missingSpeechIsToldOnce()
    {
        QVERIFY(session->deal(0, fruit));
        speaker.status = SpeechStatus::NoEngine;
        for (int k = 1; k <= 3; ++k)
            pronouncer->speakWord(k);
        QCOMPARE(speaker.said.size(), 3); // the game goes on asking, and playing
        QCOMPARE(prompter.messages, QStringList{texts.uitext(QStringLiteral("msgnospeech"))});

        speaker.status = SpeechStatus::NoComponent;
        pronouncer->speakWord(1);
        QCOMPARE(prompter.messages.size(), 1);
    }

    void aMissingVoiceIsToldOnceForEachLanguage()
    {
        speaker.status = SpeechStatus::NoVoice;
        QVERIFY(session->deal(0, fruit));
        pronouncer->speakWord(1);
        pronouncer->speakWord(2);
        QVERIFY(pronouncer->speak(days.words[0], days) == false);
        pronouncer->speak(days.words[1], days);
        QCOMPARE(prompter.messages.size(), 2);
        QVERIFY(prompter.messages[0].contains(QStringLiteral("中文")));
        QVERIFY(prompter.messages[1].contains(QStringLiteral("日本語")));
    }
};

VASKELIO_TEST_MAIN(TestSpeech)
#include "tst_speech.moc"
