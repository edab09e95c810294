#include "game/learnerstats.h"
#include "programfixture.h"
#include "sandbox.h"
#include "windows/frmstats.h"
#include "windows/mainwindow.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QTemporaryDir>

// The Statistics window over the record of games and words mixed up.
class TestStatsWindow : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

private slots:
    void showsPractisesAndResets()
    {
        ProgramFixture fixture(dir.filePath(QStringLiteral("s.ini")));
        fixture.program->show();
        QVERIFY(QTest::qWaitForWindowActive(&fixture.main()));
        fixture.program->makewindows();
        LearnerStats &stats = fixture.state().stats;
        stats.started(QStringLiteral("Fruit"), 2);
        stats.solved(QStringLiteral("Fruit"), 2, 754);
        stats.started(QStringLiteral("Fruit"), 2);
        stats.solved(QStringLiteral("Fruit"), 2, 300);
        for (int n = 0; n < 3; ++n)
            stats.confused(QStringLiteral("Fruit"), QStringLiteral("pear"),
                           QStringLiteral("peach"));
        stats.confused(QStringLiteral("Fruit"), QStringLiteral("plum"), QStringLiteral("apple"));
        auto *window = fixture.main().findChild<Tfrmstats *>();
        QVERIFY(window);
        whenModalOpens([&](QWidget *modal) {
            QCOMPARE(modal, window);
            QCOMPARE(window->lists()->currentText(), QStringLiteral("Fruit"));
            QCOMPARE(window->games()->text(),
                     QStringLiteral("Hard: 2 started, 2 solved, best 5:00, median 12:34"));
            QCOMPARE(window->confused()->count(), 2);
            QCOMPARE(window->confused()->item(0)->text(),
                     QStringLiteral("pear placed where peach belongs: 3 times"));
            // The four words mixed up first, then the list's own to make nine.
            const std::optional<WordSet> set = window->practiseSet();
            QVERIFY(set);
            QCOMPARE(set->title, QStringLiteral("Fruit (practice)"));
            const QStringList texts = set->texts();
            QCOMPARE(texts.mid(0, 4), (QStringList{"peach", "pear", "apple", "plum"}));
            QCOMPARE(QSet<QString>(texts.begin(), texts.end()).size(), 9);
            window->btpractiseClick();
        });
        QTest::keyClick(&fixture.main(), Qt::Key_T, Qt::ControlModifier);
        QCOMPARE(fixture.model().curwords().title, QStringLiteral("Fruit (practice)"));
        QCOMPARE(fixture.model().curwords().text(1), QStringLiteral("peach"));
        QCOMPARE(stats.lists().value(QStringLiteral("Fruit (practice)")).started[0], 1);

        fixture.prompter.answers.enqueue(true);
        whenModalOpens([&](QWidget *) {
            window->btresetClick();
            QVERIFY(stats.lists().isEmpty());
            QCOMPARE(window->games()->text(), QStringLiteral("No games with this list yet."));
        });
        window->exec();
        QVERIFY(LearnerStats::read(LearnerStats::fileIn(datafolder())).lists().isEmpty());
    }
};

VASKELIO_GUI_TEST_MAIN(TestStatsWindow)
#include "tst_statswindow.moc"
