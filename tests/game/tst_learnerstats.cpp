#include "bankline.h"
#include "engine/bank.h"
#include "engine/random.h"
#include "game/gamesession.h"
#include "game/learnerstats.h"
#include "i18n/texttable.h"
#include "modelgame.h"
#include "sandbox.h"
#include "scriptedprompter.h"
#include "testfiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// The record of a learner's games and of the words they mix up.
class TestLearnerStats : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    PuzzleBank bank{{QStringList{kEasyLine1, kEasyLine1}, {}, {}, {}, {}}};
    RandomSource random{[] { return quint64(7); }};
    TextTables texts;
    ScriptedPrompter prompter;

    QString file() const { return LearnerStats::fileIn(dir.path()); }

private slots:
    void init() { QFile::remove(file()); }

    // Started, solved and the time at each level, and the pairs mixed up, read back as written.
    void aRecordReadsBackAsWritten()
    {
        LearnerStats stats = LearnerStats::read(file());
        QVERIFY(stats.problem().isEmpty());
        stats.started(QStringLiteral("水果"), 2);
        stats.started(QStringLiteral("水果"), 2);
        stats.solved(QStringLiteral("水果"), 2, 754);
        for (int n = 0; n < 3; ++n)
            stats.confused(QStringLiteral("水果"), QStringLiteral("梨"), QStringLiteral("桃"));
        stats.confused(QStringLiteral("水果"), QStringLiteral("桃"), QStringLiteral("梨"));
        stats.confused(QStringLiteral("水果"), QStringLiteral("桃"), QStringLiteral("桃"));
        QVERIFY(stats.dirty());
        QVERIFY(stats.save());
        QVERIFY(!stats.dirty());
        const LearnerStats again = LearnerStats::read(file());
        const LearnerStats::ListStats &fruit = again.lists().value(QStringLiteral("水果"));
        QCOMPARE(fruit.started[2], 2);
        QCOMPARE(fruit.solved[2], 1);
        QCOMPARE(fruit.seconds[2], (QList<qint64>{754}));
        const auto most = again.mostConfused(QStringLiteral("水果"), 5);
        QCOMPARE(most.size(), 2); // a word is no mix-up with itself
        QCOMPARE(most.at(0).first, (LearnerStats::Pair{"梨", "桃"}));
        QCOMPARE(most.at(0).second, 3);
    }

    void aDamagedRecordIsNeverWrittenOver()
    {
        {
            QFile damaged(file());
            QVERIFY(damaged.open(QIODevice::WriteOnly));
            damaged.write("{\"lists\": ");
        }
        LearnerStats stats = LearnerStats::read(file());
        QVERIFY(!stats.problem().isEmpty());
        stats.started(QStringLiteral("x"), 0);
        QVERIFY(!stats.save());
        QCOMPARE(bytesOf(file()), QByteArray("{\"lists\": "));
    }

    // The session counts a deal, each wrong word Check Error finds or the player takes back,
    // and a solved game once, with its time; the record is written with the kept game.
    void theSessionKeepsTheRecord()
    {
        LearnerStats stats = LearnerStats::read(file());
        GameSession session(bank, random, texts, prompter);
        session.setKeepFile(dir.filePath(QStringLiteral("autosave.wrd")));
        session.setStats(&stats);
        const WordSet words = ModelGame::englishWords();
        QVERIFY(session.deal(0, words));
        QCOMPARE(stats.lists().value(words.title).started[0], 1);
        QPoint open;
        for (int p = 0; p < 81 && open.isNull(); ++p)
            if (!session.model().cells()[p].given)
                open = {p / 9 + 1, p % 9 + 1};
        const int right = session.model().cell(open.x(), open.y()).solution;
        const int wrong = right % 9 + 1;
        session.select(wrong);
        session.place(open.x(), open.y());
        session.checkerrors();
        session.checkerrors();
        session.select(right);
        session.place(open.x(), open.y()); // taken back
        const LearnerStats::Pair pair{words.text(wrong), words.text(right)};
        QCOMPARE(stats.lists().value(words.title).confused.value(pair), 3);
        for (int n = 0; n < 5; ++n)
            session.tick();
        for (int n = 0; n < 81 && !session.rules().issolved(); ++n)
            session.hint();
        QVERIFY(session.keep());
        QCOMPARE(stats.lists().value(words.title).solved[0], 1);
        QCOMPARE(stats.lists().value(words.title).seconds[0], (QList<qint64>{5}));
        QVERIFY(!stats.dirty());
        QCOMPARE(LearnerStats::read(file()).lists().value(words.title).confused.value(pair), 3);
    }
};

VASKELIO_TEST_MAIN(TestLearnerStats)
#include "tst_learnerstats.moc"
