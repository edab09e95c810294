#include "programfixture.h"
#include "sandbox.h"
#include "widgets/statusline.h"
#include "windows/frmoption.h"
#include "windows/mainwindow.h"
#include "windows/playclock.h"

#include <QCheckBox>
#include <QTemporaryDir>

// The time played at the right of the status bar.
class TestPlayClock : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

private slots:
    void format_data()
    {
        QTest::addColumn<qint64>("seconds");
        QTest::addColumn<QString>("shown");
        QTest::newRow("start") << qint64(0) << QStringLiteral("0:00");
        QTest::newRow("seconds") << qint64(7) << QStringLiteral("0:07");
        QTest::newRow("minutes") << qint64(754) << QStringLiteral("12:34");
        QTest::newRow("an hour") << qint64(3723) << QStringLiteral("1:02:03");
    }
    void format()
    {
        QFETCH(qint64, seconds);
        QFETCH(QString, shown);
        QCOMPARE(PlayClock::format(seconds), shown);
    }

    // It shows once a game is in play, stands while a dialog is open, and the Options hide it.
    void standsBehindADialogAndHides()
    {
        ProgramFixture fixture(dir.filePath(QStringLiteral("s.ini")));
        fixture.program->show();
        QVERIFY(QTest::qWaitForWindowActive(&fixture.main()));
        fixture.program->makewindows();
        auto *line = static_cast<StatusLine *>(fixture.main().statusBar());
        auto *clock = fixture.main().findChild<PlayClock *>();
        QVERIFY(clock);
        QVERIFY(line->time().isEmpty()); // no game yet
        QVERIFY(fixture.main().newgame(0, WordSet::fromTexts(QStringLiteral("t"), testWords())));
        QCOMPARE(line->time(), QStringLiteral("0:00"));
        clock->tick();
        clock->tick();
        QCOMPARE(line->time(), QStringLiteral("0:02"));
        auto *options = fixture.main().findChild<Tfrmoption *>();
        whenModalOpens([&](QWidget *) {
            clock->tick();
            QCOMPARE(fixture.game().seconds(), 2);
            options->showTime()->setChecked(false);
            options->Button2Click();
        });
        options->exec();
        QVERIFY(line->time().isEmpty());
        QVERIFY(!fixture.state().settings.showtime);
    }
};

VASKELIO_GUI_TEST_MAIN(TestPlayClock)
#include "tst_playclock.moc"
