#include "programfixture.h"
#include "sandbox.h"
#include "widgets/radiogroup.h"
#include "widgets/zoom.h"
#include "windows/frmabout.h"
#include "windows/frmoption.h"
#include "windows/mainwindow.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>

class TestDialogs : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    std::unique_ptr<ProgramFixture> fixture;

    Tfrmoption *options() { return fixture->main().findChild<Tfrmoption *>(); }
    Tfrmabout *about() { return fixture->main().findChild<Tfrmabout *>(); }
    QString startCaption()
    {
        return fixture->main().findChild<QPushButton *>("btstartnewgame")->text();
    }
    QStringList languageItems() { return options()->languages()->items(); }

    // Opens a dialog through its button on the main window and runs check while it is open.
    void openFrom(const char *button, const std::function<void(QWidget *)> &check)
    {
        bool opened = false;
        whenModalOpens([&](QWidget *modal) {
            opened = true;
            check(modal);
        });
        QTest::mouseClick(fixture->main().findChild<QPushButton *>(button), Qt::LeftButton);
        QVERIFY(opened);
    }

private slots:
    void init()
    {
        QFile::remove(dir.filePath(QStringLiteral("s.ini")));
        fixture = std::make_unique<ProgramFixture>(dir.filePath(QStringLiteral("s.ini")));
        fixture->program->show();
        fixture->program->makewindows();
        QVERIFY(QTest::qWaitForWindowActive(&fixture->main()));
    }
    void cleanup() { fixture.reset(); }

    // Enter in a dialog presses its default button, wherever the focus is in it (the New Game
    // dialog, which ignores Enter, is tested with it).
    void enterPressesTheDefaultButton_data()
    {
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QString>("button");
        QTest::newRow("Option") << QStringLiteral("frmoption") << QStringLiteral("Button2");
        QTest::newRow("About") << QStringLiteral("frmabout") << QStringLiteral("btok");
        QTest::newRow("Word List") << QStringLiteral("frmwordlist") << QStringLiteral("BitBtn1");
        QTest::newRow("Append") << QStringLiteral("frmappend") << QStringLiteral("Button1");
        QTest::newRow("Meanings") << QStringLiteral("frmmeanings") << QStringLiteral("Button1");
        QTest::newRow("Submit") << QStringLiteral("frmsubmit") << QStringLiteral("Button1");
        QTest::newRow("Solution") << QStringLiteral("frmda") << QStringLiteral("BitBtn1");
    }
    void enterPressesTheDefaultButton()
    {
        QFETCH(QString, dialog);
        QFETCH(QString, button);
        QDialog *d = nullptr;
        for (QWidget *w : QApplication::allWidgets())
            if (w->objectName() == dialog && qobject_cast<QDialog *>(w))
                d = static_cast<QDialog *>(w);
        QVERIFY(d);
        auto *target = d->findChild<QPushButton *>(button);
        QVERIFY(target);
        QVERIFY(target->isDefault());
        int defaults = 0;
        for (QPushButton *b : d->findChildren<QPushButton *>())
            defaults += b->window() == d && b->isDefault() ? 1 : 0;
        QCOMPARE(defaults, 1);
        // A name for sharing stays empty, so that Submit is refused before anything is sent.
        if (auto *name = d->findChild<QLineEdit *>(QStringLiteral("edtname")))
            name->clear();
        QSignalSpy clicks(target, &QPushButton::clicked);
        d->show();
        d->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(d));
        QWidget *focus = QApplication::focusWidget();
        QTest::keyClick(focus && focus->window() == d ? focus : d, Qt::Key_Return);
        QCOMPARE(clicks.size(), 1);
        d->hide();
    }

    void optionsLayout()
    {
        Tfrmoption *d = options();
        QVERIFY(d);
        QCOMPARE(d->size(), QSize(320, 160));
        QCOMPARE(d->findChild<QTabWidget *>("PageControl1")->geometry(), QRect(0, 0, 237, 160));
        QCOMPARE(d->languages()->geometry(), QRect(27, 22, 176, 89));
        QVERIFY(d->findChild<QPushButton *>("Button1")->isHidden());
        QCOMPARE(d->languages()->parentWidget()->objectName(), QStringLiteral("TabSheet1"));
        QCOMPARE(languageItems(),
                 (QStringList{QStringLiteral("English"), QStringLiteral("中文(简体)"),
                              QStringLiteral("日本語")}));
        // The zoom on a page of its own, after the kept game's; the language stays on the first.
        auto *pages = d->findChild<QTabWidget *>("PageControl1");
        QCOMPARE(pages->count(), 3);
        QCOMPARE(d->noteCleanup()->parentWidget(), pages->widget(1));
        QCOMPARE(d->notesAsNumbers()->parentWidget(), pages->widget(2));
        QCOMPARE(d->markRepeats()->parentWidget(), pages->widget(2));
        QCOMPARE(pages->widget(0)->objectName(), QStringLiteral("TabSheet1"));
        QCOMPARE(pages->widget(2)->objectName(), QStringLiteral("TabSheet3"));
        QCOMPARE(d->languages()->parentWidget(), pages->widget(0));
        QCOMPARE(d->zooms()->parentWidget(), pages->widget(2));
        QCOMPARE(d->zooms()->items(), (QStringList{"100%", "125%", "150%", "200%"}));
        d->show();
        QCOMPARE(pages->tabText(2), QStringLiteral("Display"));
        QCOMPARE(d->zooms()->title(), QStringLiteral("Zoom"));
        QCOMPARE(d->zooms()->itemIndex(), 0);
        d->hide();
    }

    // A new zoom is kept in the settings; the program asks whether to start again now, and
    // does only on Yes. A zoom already in force asks nothing.
    void zoomIsKeptAndAsksToRestart()
    {
        const QString question = fixture->state().texts.uitext(QStringLiteral("msgzoomrestart"));
        QVERIFY(!question.isEmpty());
        auto choose = [&](int item, bool ok) {
            openFrom("buttonoption2", [&](QWidget *) {
                options()->zooms()->setItemIndex(item);
                QTest::mouseClick(options()->findChild<QPushButton *>(ok ? "Button2" : "Button3"),
                                  Qt::LeftButton);
            });
        };
        choose(2, false);
        QCOMPARE(fixture->state().settings.zoom, 100);
        QVERIFY(fixture->prompter.questions.isEmpty());

        fixture->prompter.answers.enqueue(false);
        choose(2, true);
        QCOMPARE(fixture->state().settings.zoom, 150);
        QCOMPARE(fixture->prompter.questions, QStringList{question});
        // The same zoom again, or back to the one in force: nothing to start again for.
        choose(2, true);
        choose(0, true);
        QCOMPARE(fixture->state().settings.zoom, 100);
        QCOMPARE(fixture->prompter.questions.size(), 1);
        QCoreApplication::processEvents();
        QVERIFY(fixture->main().isVisible());
        QVERIFY(!fixture->program->restartRequested());

        // Asked in the language chosen with it.
        fixture->prompter.answers.enqueue(true);
        openFrom("buttonoption2", [&](QWidget *) {
            options()->languages()->setItemIndex(2);
            options()->zooms()->setItemIndex(3);
            QTest::mouseClick(options()->findChild<QPushButton *>("Button2"), Qt::LeftButton);
        });
        QCOMPARE(fixture->prompter.questions.last(),
                 fixture->state().texts.uitext(QStringLiteral("msgzoomrestart")));
        QVERIFY(fixture->prompter.questions.last() != question);
        QVERIFY(fixture->program->restartRequested());
        QTRY_VERIFY(!fixture->main().isVisible());
        // Written as the windows go, for the program that starts next.
        fixture.reset();
        SettingsState kept;
        WordSet palette;
        Settings(SettingsLocation::file(dir.filePath(QStringLiteral("s.ini"))))
            .loadsettings(kept, palette);
        QCOMPARE(kept.zoom, 200);
        QCOMPARE(kept.langid, 2);
    }

    void zoomScaleFactor_data()
    {
        QTest::addColumn<int>("percent");
        QTest::addColumn<QByteArray>("outer");
        QTest::addColumn<QByteArray>("factor");
        QTest::newRow("follow the screen") << 100 << QByteArray() << QByteArray();
        QTest::newRow("follow the environment") << 100 << QByteArray("2") << QByteArray("2");
        QTest::newRow("125") << 125 << QByteArray() << QByteArray("1.25");
        QTest::newRow("150 of 2") << 150 << QByteArray("2") << QByteArray("3");
        QTest::newRow("200 of 1.25") << 200 << QByteArray(" 1.25 ") << QByteArray("2.5");
        QTest::newRow("unreadable outer") << 150 << QByteArray("big") << QByteArray("1.5");
        QTest::newRow("negative outer") << 200 << QByteArray("-1") << QByteArray("2");
    }
    void zoomScaleFactor()
    {
        QFETCH(int, percent);
        QFETCH(QByteArray, outer);
        QFETCH(QByteArray, factor);
        QCOMPARE(zoomedScaleFactor(percent, outer), factor);
    }

    void chooseChineseWithOk()
    {
        openFrom("buttonoption2", [&](QWidget *modal) {
            QCOMPARE(modal, options());
            QCOMPARE(modal->windowTitle(), QStringLiteral("Setting"));
            QCOMPARE(options()->languages()->itemIndex(), 0);
            options()->languages()->setItemIndex(1);
            QCOMPARE(startCaption(), QStringLiteral("Start New Game")); // not yet
            QTest::mouseClick(options()->findChild<QPushButton *>("Button2"), Qt::LeftButton);
        });
        QCOMPARE(fixture->state().texts.langid(), 1);
        QCOMPARE(startCaption(), QStringLiteral("开始新游戏"));
        openFrom("buttonoption2", [&](QWidget *) {
            QCOMPARE(options()->windowTitle(), QStringLiteral("设置"));
            QCOMPARE(options()->findChild<QTabWidget *>()->tabText(0), QStringLiteral("语言设置"));
            QCOMPARE(options()->languages()->itemIndex(), 1);
            QCOMPARE(languageItems().at(1), QStringLiteral("中文(简体)"));
            QCOMPARE(languageItems().at(2), QStringLiteral("日本語"));
        });
    }

    void cancelChangesNothing()
    {
        openFrom("buttonoption2", [&](QWidget *) {
            QVERIFY(options()->resumeGame()->isChecked() && options()->askReplace()->isChecked());
            options()->resumeGame()->setChecked(false);
            options()->askReplace()->setChecked(false);
            options()->languages()->setItemIndex(2);
            QTest::mouseClick(options()->findChild<QPushButton *>("Button3"), Qt::LeftButton);
        });
        QCOMPARE(fixture->state().texts.langid(), 0);
        QCOMPARE(startCaption(), QStringLiteral("Start New Game"));
        QVERIFY(fixture->state().settings.resumegame && fixture->state().settings.askreplace);
        openFrom("buttonoption2", [&](QWidget *) {
            QCOMPARE(options()->languages()->itemIndex(), 0);
            QVERIFY(options()->resumeGame()->isChecked());
            QVERIFY(options()->askReplace()->isChecked());
        });
    }

    // A language key inside the dialog relabels at once; the choice shown stays until the
    // dialog is shown again.
    void languageKeyInsideOptions()
    {
        openFrom("buttonoption2", [&](QWidget *modal) {
            QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : modal,
                            Qt::Key_F2);
            QCOMPARE(options()->windowTitle(), QStringLiteral("设置"));
            QCOMPARE(startCaption(), QStringLiteral("开始新游戏"));
            QCOMPARE(options()->languages()->itemIndex(), 0);
            QVERIFY(modal->isVisible());
        });
    }

    void setDefaultSelectsEnglish()
    {
        options()->languages()->setItemIndex(2);
        options()->Button1Click();
        QCOMPARE(options()->languages()->itemIndex(), 0);
        QVERIFY(!options()->isVisible());
    }

    // The picture is decoded when the box first shows, not at start-up.
    void aboutPictureOnFirstShow()
    {
        auto *image = about()->findChild<QLabel *>("Image1");
        QVERIFY(image->pixmap().isNull());
        openFrom("btabout", [&](QWidget *) { QCOMPARE(image->pixmap().size(), QSize(425, 312)); });
        QCOMPARE(image->pixmap().size(), QSize(425, 312));
    }

    void aboutInEveryLanguage_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("ok");
        QTest::newRow("English") << int(Qt::Key_F1) << QStringLiteral("OK");
        QTest::newRow("Chinese") << int(Qt::Key_F2) << QStringLiteral("关闭");
        QTest::newRow("Japanese") << int(Qt::Key_F3) << QStringLiteral("戻る");
    }
    void aboutInEveryLanguage()
    {
        QFETCH(int, key);
        QFETCH(QString, ok);
        fixture->main().keydown(key);
        openFrom("btabout", [&](QWidget *modal) {
            QCOMPARE(modal, about());
            QCOMPARE(modal->windowTitle(), QStringLiteral("Vaskelio"));
            QCOMPARE(modal->size(), QSize(420, 299));
            QCOMPARE(about()->findChild<QPushButton *>("btok")->text(), ok);
            const QPixmap picture = about()->findChild<QLabel *>("Image1")->pixmap();
            QCOMPARE(picture.size(), QSize(425, 312));
            QCOMPARE(about()->findChild<QLabel *>("Label2")->text(), QStringLiteral("Version 3.0"));
            QVERIFY(about()
                        ->findChild<QLabel *>("LinkLabel1")
                        ->text()
                        .contains(Tfrmabout::kWebAddress));
            QVERIFY(about()->findChild<QLabel *>("credits")->text().contains(
                QStringLiteral("CC BY 2.5")));
            // Keys... beside OK lists the keys, the new ones too, in the language in force.
            auto *keys = about()->findChild<QPushButton *>("btkeys");
            QVERIFY(!keys->geometry().intersects(
                about()->findChild<QPushButton *>("btok")->geometry()));
            fixture->prompter.clear();
            about()->btkeysClick();
            const QStringList lines = fixture->prompter.messages.value(0).split(u'\n');
            QCOMPARE(lines.size(), 10);
            for (const char *shortcut : {"Ctrl+M", "Ctrl+Shift+N", "Ctrl+Shift+H", "Ctrl+T"})
                QVERIFY2(lines.join(u' ').contains(QLatin1String(shortcut)), shortcut);
        });
    }
};

VASKELIO_GUI_TEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
