#include "board/tntcell.h"
#include "board/tntstdsudoku.h"
#include "engine/qj.h"
#include "modelgame.h"
#include "programfixture.h"
#include "sandbox.h"
#include "scriptedspeaker.h"
#include "widgets/radiogroup.h"
#include "windows/frmda.h"
#include "windows/frmoption.h"
#include "windows/frmspeech.h"
#include "windows/mainwindow.h"
#include "windows/speechcommands.h"

#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>

// Where the player asks for speech: Ctrl+K on the main window, the Solution window's clicks and
// the speech settings under Options.
class TestSpeechWindows : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    std::unique_ptr<ProgramFixture> fixture;
    ScriptedSpeaker speaker;

    TaaForm1 &main() { return fixture->main(); }
    QPoint cell(bool given)
    {
        for (int i = 1; i <= 9; ++i)
            for (int j = 1; j <= 9; ++j)
                if (fixture->model().cell(i, j).given == given)
                    return {i, j};
        return {};
    }
    QStringList said() const
    {
        QStringList all;
        for (const ScriptedSpeaker::Said &s : speaker.said)
            all.append(s.text + QLatin1Char('/') + s.language);
        return all;
    }
    QString word(QPoint at)
    {
        return fixture->model().curwords().text(fixture->model().cell(at.x(), at.y()).solution) +
               QStringLiteral("/en");
    }

private slots:
    void init()
    {
        fixture = std::make_unique<ProgramFixture>(dir.filePath(QStringLiteral("s.ini")));
        fixture->withoutShippedMeanings();
        fixture->program->makewindows();
        speaker.said.clear();
        fixture->program->speech().setSpeaker(speaker);
        main().show();
        QVERIFY(QTest::qWaitForWindowActive(&main()));
        // The game an earlier case kept is replaced without a question.
        fixture->state().settings.askreplace = false;
        QVERIFY(main().newgame(0, ModelGame::englishWords()));
    }
    void cleanup() { fixture.reset(); }

    void ctrlKSpeaksTheKeyboardCellOrTheSelectedWord()
    {
        main().but1Click(3);
        const QPoint given = cell(true);
        main().board()->setCursorCell(given.x(), given.y());
        QTest::keyClick(&main(), Qt::Key_K, Qt::ControlModifier);
        const QPoint open = cell(false);
        main().board()->setCursorCell(open.x(), open.y());
        QTest::keyClick(&main(), Qt::Key_K, Qt::ControlModifier);
        QCOMPARE(said(), QStringList({word(given), QStringLiteral("three/en")}));
    }

    void theSolutionWindowSpeaksTheWordClicked()
    {
        Tfrmda &solution = fixture->program->frmda();
        solution.showsolution(fixture->model().puzzle(), fixture->model().curwords());
        solution.show();
        QVERIFY(QTest::qWaitForWindowExposed(&solution));
        // A given cell is disabled there and its click reaches the board under it.
        for (const QPoint at : {cell(true), cell(false)}) {
            TTntcell *c = solution.board()->cell(at.x(), at.y());
            QTest::mouseClick(c, Qt::LeftButton, {}, c->rect().center());
        }
        QTest::mouseClick(solution.board()->cell(1, 1), Qt::RightButton);
        QCOMPARE(said(), QStringList({word(cell(true)), word(cell(false))}));
    }

    void theSpeechSettingsSpeakPlacedWords()
    {
        auto *options = main().findChild<Tfrmoption *>();
        QVERIFY(options && options->findChild<QPushButton *>(QStringLiteral("btspeech")));
        Tfrmspeech *speech = options->speech();
        speech->show();
        QCOMPARE(speech->when()->itemIndex(), 0);
        speech->when()->setItemIndex(2);
        speech->rate()->setValue(-4);
        speech->Button1Click();
        QCOMPARE(fixture->state().settings.speakwords, 2);
        QCOMPARE(fixture->state().settings.speechrate, -4);

        main().but1Click(5);
        QVERIFY(said().isEmpty()); // picking is not placing
        const QPoint open = cell(false);
        main().board()->setCursorCell(open.x(), open.y());
        main().cursorplace();
        QCOMPARE(said(), QStringList{QStringLiteral("five/en")});

        // Kept with the settings.
        fixture.reset();
        Settings settings(SettingsLocation::file(dir.filePath(QStringLiteral("s.ini"))));
        SettingsState state;
        WordSet palette;
        settings.loadsettings(state, palette);
        QCOMPARE(state.speakwords, 2);
        QCOMPARE(state.speechrate, -4);
    }
};

VASKELIO_GUI_TEST_MAIN(TestSpeechWindows)
#include "tst_speechwindows.moc"
