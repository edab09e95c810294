#include "../print/imagepageprinter.h"
#include "board/tntspeedbutton.h"
#include "board/wordpalette.h"
#include "listdialogs/frmwordlist.h"
#include "programfixture.h"
#include "sandbox.h"
#include "widgets/radiogroup.h"
#include "windows/frmda.h"
#include "windows/frmnewgame.h"
#include "windows/frmworksheets.h"
#include "windows/mainwindow.h"

#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScopeGuard>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>

namespace {
const char *const kGameCommands[] = {"tbsave",     "tbprint",   "tbcheckerror",
                                     "tbshowhint", "tbrestart", "tbshowsolution"};

template<typename T> T *child(QWidget &window, const char *name)
{
    T *found = window.findChild<T *>(QString::fromLatin1(name));
    if (!found)
        qFatal("no control %s", name);
    return found;
}

// Keys reach the focused control first, as on a real keyboard.
void press(QWidget &window, int key)
{
    QWidget *focus = QApplication::focusWidget();
    QTest::keyClick(focus && focus->window() == &window ? focus : &window, Qt::Key(key));
}

QRgb statusColor(TaaForm1 &main)
{
    return main.statusBar()->palette().color(QPalette::Window).rgb() & 0xFFFFFF;
}

QRgb faceColor(TaaForm1 &main)
{
    return main.palette().color(QPalette::Window).rgb() & 0xFFFFFF;
}

void sendEnter(QWidget *widget)
{
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QCoreApplication::sendEvent(widget, &enter);
}

void sendLeave(QWidget *widget)
{
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(widget, &leave);
}

// Clicks the menu button as a user does and, while its menu is open, runs inside on the menu;
// when inside leaves it open, Esc closes it.
void withMenu(QToolButton *button, const std::function<void(QMenu *)> &inside)
{
    bool opened = false;
    auto *timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [&, timer] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!menu)
            return;
        timer->stop();
        timer->deleteLater();
        opened = true;
        QCOMPARE(menu, button->menu());
        inside(menu);
        if (menu->isVisible())
            QTest::keyClick(menu, Qt::Key_Escape);
    });
    timer->start();
    QTest::mouseClick(button, Qt::LeftButton);
    QTRY_VERIFY(opened);
}

// The items of the button's menu as they show, "(off)" after a disabled one.
QStringList menuItems(QToolButton *button)
{
    QStringList shown;
    withMenu(button, [&](QMenu *menu) {
        for (const QAction *action : menu->actions())
            if (!action->isSeparator())
                shown.append(action->text() + (action->isEnabled() ? "" : " (off)"));
    });
    return shown;
}

// Picks the item that shows text, with the keyboard, as a user would.
void choose(QToolButton *button, const QString &text)
{
    bool found = false;
    withMenu(button, [&](QMenu *menu) {
        for (QAction *action : menu->actions()) {
            if (action->text() == text) {
                found = true;
                menu->setActiveAction(action);
                QTest::keyClick(menu, Qt::Key_Return);
            }
        }
    });
    QVERIFY2(found, qPrintable(text));
}

void sendMove(QWidget *widget, QPoint at)
{
    QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &move);
}
} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    std::unique_ptr<ProgramFixture> fixture;

    QString settingsFile() const { return dir.filePath(QStringLiteral("settings.ini")); }

    void start()
    {
        fixture = std::make_unique<ProgramFixture>(settingsFile());
        fixture->program->show();
        QVERIFY(QTest::qWaitForWindowActive(&fixture->main()));
    }

    // Starts a game at a level with the test words, through the New Game dialog's own command.
    void startGame(int level)
    {
        Tfrmnewgame &dialog = fixture->program->frmnewgame();
        dialog.levels()->setItemIndex(level);
        for (int k = 1; k <= 9; ++k)
            dialog.box(k)->setText(testWords().at(k - 1));
        dialog.box(0)->setText(QStringLiteral("Numbers"));
        dialog.BitBtn1Click();
    }

private slots:
    void init()
    {
        QFile::remove(settingsFile());
        QDir(datafolder()).removeRecursively();
        start();
    }
    void cleanup() { fixture.reset(); }

    void startsWithNoGame()
    {
        TaaForm1 &main = fixture->main();
        QCOMPARE(main.windowTitle(), QStringLiteral("Vaskelio"));
        QCOMPARE(main.size(), QSize(888, 687));
        QVERIFY(!main.board()->isEnabled());
        for (const char *name : kGameCommands)
            QVERIFY2(!child<QToolButton>(main, name)->isEnabled(), name);
        QVERIFY(child<QToolButton>(main, "tbopen")->isEnabled());
        QCOMPARE(main.wordPalette()->pressed(), 0);
        const QStringList numerals{
            QStringLiteral("一"), QStringLiteral("二"), QStringLiteral("三"),
            QStringLiteral("四"), QStringLiteral("五"), QStringLiteral("六"),
            QStringLiteral("七"), QStringLiteral("八"), QStringLiteral("九")};
        for (int k = 1; k <= 9; ++k)
            QCOMPARE(main.wordPalette()->button(k)->mycaption(), numerals.at(k - 1));
        QCOMPARE(fixture->model().curwords().texts(), numerals);
        QVERIFY(main.statusText().isEmpty());
        // Only the main window is shown.
        for (QWidget *w : QApplication::topLevelWidgets())
            QCOMPARE(w->isVisible(), w == &main);
        // The first start made the data folder and its saves folder, and wrote no settings.
        QVERIFY(QDir(savesfolder()).exists());
        QVERIFY(!QFile::exists(settingsFile()));
    }

    void layoutAsDesigned_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("geometry");
        QTest::newRow("Panel1") << "Panel1" << QRect(1, 1, 662, 685);
        QTest::newRow("board") << "tntstdsudoku1" << QRect(3, 3, 659, 660);
        QTest::newRow("status bar") << "sb1" << QRect(0, 666, 662, 19);
        QTest::newRow("Panel2") << "Panel2" << QRect(663, 1, 224, 685);
        QTest::newRow("Panel4") << "Panel4" << QRect(2, 2, 220, 279);
        QTest::newRow("start") << "btstartnewgame" << QRect(4, 5, 209, 39);
        QTest::newRow("palette") << "gbselectword" << QRect(6, 52, 211, 218);
        QTest::newRow("toolbar") << "ToolBar1" << QRect(2, 281, 220, 40);
        QTest::newRow("shape") << "Shape1" << QRect(9, 451, 208, 96);
        QTest::newRow("rule") << "mmsudokurule" << QRect(16, 466, 191, 76);
        QTest::newRow("about") << "btabout" << QRect(11, 13, 101, 31);
        QTest::newRow("option") << "buttonoption2" << QRect(11, 47, 101, 31);
        QTest::newRow("close") << "btclose2" << QRect(116, 13, 101, 65);
    }
    void layoutAsDesigned()
    {
        QFETCH(QString, name);
        QFETCH(QRect, geometry);
        QWidget *w = fixture->main().findChild<QWidget *>(name);
        QVERIFY(w);
        QCOMPARE(w->geometry(), geometry);
    }

    void toolbarButtons()
    {
        TaaForm1 &main = fixture->main();
        const char *names[] = {"tbopen",     "tbsave",    "tbprint",       "tbcheckerror",
                               "tbshowhint", "tbrestart", "tbshowsolution"};
        for (int n = 0; n < 7; ++n) {
            auto *b = child<QToolButton>(main, names[n]);
            QCOMPARE(b->geometry().size(), QSize(31, 30));
            QCOMPARE(b->iconSize(), QSize(24, 24));
            QVERIFY(!b->icon().isNull());
            QVERIFY(!b->toolTip().isEmpty());
        }
        QCOMPARE(child<QToolButton>(main, "tbrestart")->toolTip(),
                 QStringLiteral("Restart This Game"));
    }

    // The desktop's icons are looked up after the first paint; until then our own pictures show.
    void themeIconsAfterTheFirstPaint()
    {
        fixture.reset();
        QTemporaryDir themes;
        const QDir theme(themes.filePath(QStringLiteral("probe")));
        QVERIFY(theme.mkpath(QStringLiteral("24x24/actions")));
        QFile index(theme.filePath(QStringLiteral("index.theme")));
        QVERIFY(index.open(QIODevice::WriteOnly));
        index.write("[Icon Theme]\nName=probe\nDirectories=24x24/actions\n\n"
                    "[24x24/actions]\nSize=24\nType=Fixed\n");
        index.close();
        QImage red(24, 24, QImage::Format_ARGB32);
        red.fill(Qt::red);
        QVERIFY(red.save(theme.filePath(QStringLiteral("24x24/actions/document-open.png"))));
        const QStringList paths = QIcon::themeSearchPaths();
        const QString name = QIcon::themeName();
        const auto restore = qScopeGuard([&] {
            QIcon::setThemeSearchPaths(paths);
            QIcon::setThemeName(name);
        });
        QIcon::setThemeSearchPaths({themes.path()});
        QIcon::setThemeName(QStringLiteral("probe"));

        const auto picture = [](const QIcon &icon) {
            return icon.pixmap(24).toImage().convertToFormat(QImage::Format_ARGB32);
        };
        fixture = std::make_unique<ProgramFixture>(settingsFile());
        TaaForm1 &main = fixture->main();
        auto *open = child<QToolButton>(main, "tbopen");
        const QImage own = picture(QIcon(QStringLiteral(":/icons/open.png")));
        QCOMPARE(picture(open->icon()), own);
        fixture->program->show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        QTRY_COMPARE(picture(open->icon()).pixelColor(12, 12), QColor(Qt::red));
        // Without an icon in the theme a button keeps our picture.
        QCOMPARE(picture(child<QToolButton>(main, "tbsave")->icon()),
                 picture(QIcon(QStringLiteral(":/icons/save.png"))));
    }

    void noPointerReactionBeforeTheFirstGame()
    {
        TaaForm1 &main = fixture->main();
        TTntcell *cell = main.board()->cell(4, 4);
        sendEnter(cell);
        QVERIFY(!cell->isEnter());
        QVERIFY(main.statusText().isEmpty());
        QTest::mouseClick(cell, Qt::LeftButton);
        QCOMPARE(cell->text(), QStringLiteral(" "));
    }

    void statusBarFollowsThePointer()
    {
        startGame(0);
        TaaForm1 &main = fixture->main();
        TTntcell *open = nullptr;
        for (int i = 1; i <= 9 && !open; ++i)
            for (int j = 1; j <= 9 && !open; ++j)
                if (!main.board()->cell(i, j)->isfixed())
                    open = main.board()->cell(i, j);
        QVERIFY(open);
        sendEnter(open);
        QVERIFY(open->isEnter());
        QCOMPARE(main.statusText(),
                 QStringLiteral("Set the grid as current word by clicking left button and clear "
                                "current grid by clicking right button"));
        QCOMPARE(statusColor(main), QRgb(0xFFBC79));
        sendLeave(open);
        QVERIFY(!open->isEnter());
        QVERIFY(main.statusText().isEmpty());
        QCOMPARE(statusColor(main), QRgb(0xFFBC79));

        // Over a control on the right-hand column nothing changes; over its background the
        // bar gets its face colour back.
        QWidget *panel2 = main.findChild<QWidget *>(QStringLiteral("Panel2"));
        sendMove(panel2, QPoint(100, 400));
        QCOMPARE(statusColor(main), faceColor(main));

        auto *restart = child<QToolButton>(main, "tbrestart");
        sendEnter(restart);
        QCOMPARE(main.statusText(), QStringLiteral("Restart This Game"));
        QCOMPARE(statusColor(main), QRgb(0xFFBC79));
    }

    // The second press of a double-click on a closing dialog's button lands on the board: it
    // must not place a word, while a press after the double-click interval still does.
    void pressRightAfterAModalClosesIsNoMove()
    {
        startGame(0);
        TaaForm1 &main = fixture->main();
        QList<TTntcell *> open;
        for (int i = 1; i <= 9; ++i)
            for (int j = 1; j <= 9; ++j)
                if (!main.board()->cell(i, j)->isfixed())
                    open.append(main.board()->cell(i, j));
        QVERIFY(open.size() >= 2);
        QTest::mouseClick(open[0], Qt::LeftButton);
        QCOMPARE(open[0]->text(), testWords().at(0));

        bool shown = false;
        whenModalOpens([&shown](QWidget *) { shown = true; });
        QTest::mouseClick(child<QPushButton>(main, "btabout"), Qt::LeftButton);
        QVERIFY(shown);
        QTest::mouseClick(open[1], Qt::LeftButton);
        QCOMPARE(open[1]->text(), QStringLiteral(" "));
        QTest::mouseClick(open[0], Qt::RightButton);
        QCOMPARE(open[0]->text(), testWords().at(0));

        QTest::qWait(QApplication::doubleClickInterval() + 50);
        QTest::mouseClick(open[1], Qt::LeftButton);
        QCOMPARE(open[1]->text(), testWords().at(0));
    }

    void languageKeysRelabelAtOnce()
    {
        startGame(2);
        TaaForm1 &main = fixture->main();
        QCOMPARE(main.windowTitle(), QStringLiteral("Vaskelio - Hard"));
        const QString before = main.board()->cell(1, 1)->text();
        press(main, Qt::Key_F2);
        QCOMPARE(main.windowTitle(), QStringLiteral("Vaskelio"));
        QCOMPARE(child<QToolButton>(main, "tbrestart")->toolTip(),
                 QStringLiteral("重新开始本游戏"));
        QCOMPARE(child<QPushButton>(main, "btstartnewgame")->text(), QStringLiteral("开始新游戏"));
        QCOMPARE(child<QLabel>(main, "mmsudokurule")->text().left(4), QStringLiteral("在每一个"));
        QCOMPARE(main.board()->cell(1, 1)->text(), before);
        QVERIFY(main.board()->isEnabled());
        press(main, Qt::Key_F3);
        QCOMPARE(child<QPushButton>(main, "btclose2")->text(), QStringLiteral("戻る"));
        press(main, Qt::Key_F1);
        QCOMPARE(child<QPushButton>(main, "btclose2")->text(), QStringLiteral("&Close"));
        QCOMPARE(fixture->state().texts.langid(), 0);
    }

    void f12TogglesTheEditorPage()
    {
        TaaForm1 &main = fixture->main();
        QVERIFY(!main.findChild<QTabWidget *>(QStringLiteral("PageControl2"))); // not made yet
        press(main, Qt::Key_F12);
        auto *page = child<QTabWidget>(main, "PageControl2");
        QVERIFY(page->isVisible());
        QCOMPARE(page->tabText(page->currentIndex()), QStringLiteral("Japannese"));
        press(main, Qt::Key_F12);
        QVERIFY(!page->isVisible());
        press(main, Qt::Key_F12);
        QVERIFY(page->isVisible());
        QCOMPARE(page->size(), QSize(620, 620));
        press(main, Qt::Key_F12);
        QVERIFY(!page->isVisible());
    }

    void digitKeysPlaceNothing()
    {
        startGame(0);
        TaaForm1 &main = fixture->main();
        QStringList before;
        for (int i = 1; i <= 9; ++i)
            for (int j = 1; j <= 9; ++j)
                before << main.board()->cell(i, j)->text();
        for (int key = Qt::Key_0; key <= Qt::Key_9; ++key)
            press(main, key);
        QStringList after;
        for (int i = 1; i <= 9; ++i)
            for (int j = 1; j <= 9; ++j)
                after << main.board()->cell(i, j)->text();
        QCOMPARE(after, before);
    }

    void closeAsksFirst()
    {
        TaaForm1 &main = fixture->main();
        fixture->prompter.answers.enqueue(false);
        QTest::mouseClick(child<QPushButton>(main, "btclose2"), Qt::LeftButton);
        QCOMPARE(fixture->prompter.questions,
                 QStringList{QStringLiteral("Do you really want to exit?")});
        QVERIFY(main.isVisible());
        QVERIFY(!QFile::exists(settingsFile()));

        fixture->prompter.answers.enqueue(true);
        QTest::mouseClick(child<QPushButton>(main, "btclose2"), Qt::LeftButton);
        QVERIFY(!main.isVisible());
        fixture->program.reset(); // the end of the program destroys the window
        QVERIFY(QFile::exists(settingsFile()));
    }

    // What one run leaves in the settings, the next start shows.
    void settingsCarryOverToTheNextStart()
    {
        startGame(3);
        press(fixture->main(), Qt::Key_F3);
        fixture.reset();
        QSettings stored(settingsFile(), QSettings::IniFormat);
        QCOMPARE(stored.value(QStringLiteral("langid")).toString(), QStringLiteral("2"));
        QCOMPARE(stored.value(QStringLiteral("new game level")).toString(), QStringLiteral("3"));
        QCOMPARE(stored.value(QStringLiteral("w4")).toString(), QStringLiteral("ice cream"));
        QCOMPARE(stored.value(QStringLiteral("w0")).toString(), QStringLiteral("Numbers"));

        start();
        TaaForm1 &main = fixture->main();
        QCOMPARE(fixture->state().texts.langid(), 2);
        QCOMPARE(child<QPushButton>(main, "btclose2")->text(), QStringLiteral("戻る"));
        QCOMPARE(main.wordPalette()->button(4)->mycaption(), QStringLiteral("ice cream"));
        QCOMPARE(fixture->model().curwords().title, QStringLiteral("Numbers"));
        Tfrmnewgame &dialog = fixture->program->frmnewgame();
        QCOMPARE(dialog.levels()->itemIndex(), 3);
        QCOMPARE(dialog.box(9)->text(), QStringLiteral("vegetables"));
    }

    void secondStartWithoutANewGame()
    {
        fixture.reset(); // a first run that never opened the dialog
        start();
        Tfrmnewgame &dialog = fixture->program->frmnewgame();
        QVERIFY(dialog.box(0)->text().isEmpty());
        QCOMPARE(dialog.box(1)->text(), QStringLiteral("一"));
        QCOMPARE(dialog.box(9)->text(), QStringLiteral("九"));
        QCOMPARE(dialog.levels()->itemIndex(), 0);
    }

    // Hint leaves the highlight as it was, but for the shading of the edge-middle boxes: the
    // selected word's cells there turn light blue, those in the other boxes stay yellow, and
    // the hinted cell is not highlighted even when it holds the selected word.
    void hintKeepsYellowOnlyOutsideTheShadedBoxes()
    {
        startGame(0);
        TaaForm1 &main = fixture->main();
        const TQJ model = fixture->model().puzzle();
        QPoint hinted;
        for (int j = 1; j <= 9 && hinted.isNull(); ++j)
            for (int i = 1; i <= 9 && hinted.isNull(); ++i)
                if (!model.node(i, j).given)
                    hinted = {i, j};
        const int word = model.node(hinted.x(), hinted.y()).value;
        QTest::mouseClick(main.wordPalette()->button(word), Qt::LeftButton);
        int shaded = 0, white = 0;
        for (int i = 1; i <= 9; ++i)
            for (int j = 1; j <= 9; ++j)
                if (main.board()->cell(i, j)->color() == QColor(Qt::yellow))
                    ++(inEdgeMiddleBox(i, j) ? shaded : white);
        QVERIFY(shaded > 0 && white > 0);

        QTest::mouseClick(child<QToolButton>(main, "tbshowhint"), Qt::LeftButton);
        TTntcell *cell = main.board()->cell(hinted.x(), hinted.y());
        QCOMPARE(cell->text(), testWords().at(word - 1));
        QVERIFY(cell->color() != QColor(Qt::yellow));
        int yellow = 0;
        for (int i = 1; i <= 9; ++i)
            for (int j = 1; j <= 9; ++j) {
                const TTntcell *c = main.board()->cell(i, j);
                if (c->color() == QColor(Qt::yellow)) {
                    ++yellow;
                    QVERIFY(!inEdgeMiddleBox(i, j));
                    QCOMPARE(c->value(), word);
                }
            }
        QCOMPARE(yellow, white);
        QCOMPARE(fixture->game().selectedWord(), word);
    }

    void showSolutionAsksAndFillsItsOwnBoard()
    {
        startGame(1);
        TaaForm1 &main = fixture->main();
        // Play one cell wrong so the main board differs from the solution.
        TTntcell *played = nullptr;
        for (int i = 1; i <= 9 && !played; ++i)
            for (int j = 1; j <= 9 && !played; ++j)
                if (!main.board()->cell(i, j)->isfixed())
                    played = main.board()->cell(i, j);
        const int wrong = fixture->model().cell(played->column(), played->row()).solution % 9 + 1;
        fixture->game().select(wrong);
        QTest::mouseClick(played, Qt::LeftButton);
        main.tbcheckerrorClick();
        QCOMPARE(played->color(), QColor(Qt::red));

        fixture->prompter.answers.enqueue(false);
        main.tbshowsolutionClick();
        QCOMPARE(fixture->prompter.questions.last(),
                 QStringLiteral("Are you sure to see the solution?"));
        Tfrmda &frmda = fixture->program->frmda();
        QVERIFY(!frmda.isVisible());

        fixture->prompter.answers.enqueue(true);
        bool shown = false;
        whenModalOpens([&](QWidget *modal) {
            shown = modal == &frmda;
            QCOMPARE(frmda.windowTitle(), QStringLiteral("Solution"));
            QCOMPARE(frmda.size(), QSize(745, 662));
        });
        main.tbshowsolutionClick();
        QVERIFY(shown);
        const TQJ model = fixture->model().puzzle();
        for (int i = 1; i <= 9; ++i)
            for (int j = 1; j <= 9; ++j) {
                TTntcell *cell = frmda.board()->cell(i, j);
                const TNode &n = model.node(i, j);
                QCOMPARE(cell->text(), testWords().at(n.value - 1));
                QCOMPARE(cell->fontColor(), n.given ? QColor(Qt::black) : QColor(Qt::blue));
                const int length = int(cell->text().size());
                QCOMPARE(cell->font().pointSize(), length == 1 ? 20 : length <= 3 ? 15 : 12);
                QVERIFY(cell->font().bold());
                QVERIFY(!cell->isEnabled());
                QCOMPARE(cell->color(),
                         inEdgeMiddleBox(i, j) ? QColor(0xBB, 0xBB, 0xFF) : QColor(Qt::white));
            }
        // Play goes on as before.
        QCOMPARE(played->color(), QColor(Qt::red));
        QCOMPARE(played->value(), wrong);
        QCOMPARE(fixture->game().selectedWord(), wrong);
    }

    // The menu button stands in the free space between the toolbar and the rule frame, clear of
    // every other control, and reaches the print menu's commands and the Word List dialog's
    // Import and Export, each doing what its other way in does.
    void moreButtonReachesEveryCommand()
    {
        TaaForm1 &main = fixture->main();
        ImagePagePrinter printer;
        main.setPagePrinter(&printer);
        QToolButton *more = main.moreButton();
        QCOMPARE(more, child<QToolButton>(main, "tbmore"));
        QVERIFY(more->isVisible() && more->isEnabled());
        QWidget *column = child<QWidget>(main, "Panel2");
        QCOMPARE(more->parentWidget(), column);
        QVERIFY(more->geometry().top() > child<QWidget>(main, "ToolBar1")->geometry().bottom());
        QVERIFY(more->geometry().bottom() < child<QWidget>(main, "Shape1")->geometry().top());
        for (QWidget *other : column->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
            if (other != more && other->isVisible())
                QVERIFY2(!other->geometry().intersects(more->geometry()),
                         qPrintable(other->objectName()));
        QCOMPARE(more->text(), QStringLiteral("More Commands"));
        sendEnter(more);
        QCOMPARE(main.statusText(), QStringLiteral("Print with a dialog, save as PDF, worksheets, "
                                                   "import and export word lists"));

        // Without a game the game's pages are off; a class set and the lists need none.
        QCOMPARE(menuItems(more), (QStringList{"Print… (off)", "Save as PDF… (off)", "Worksheets…",
                                               "Statistics…", "Import Lists…", "Export Lists…"}));
        startGame(1);
        choose(more, QStringLiteral("Print…"));
        QCOMPARE(printer.dialogs, 1);
        QCOMPARE(printer.images.size(), 2);
        choose(more, QStringLiteral("Save as PDF…")); // the file dialog cancelled
        QCOMPARE(fixture->prompter.folders.constLast(), QDir::home().filePath("Numbers.pdf"));
        bool sheets = false;
        whenModalOpens(
            [&](QWidget *modal) { sheets = qobject_cast<Tfrmworksheets *>(modal) != nullptr; });
        choose(more, QStringLiteral("Worksheets…"));
        QVERIFY(sheets);

        const QString table = QStringLiteral(VASKELIO_TEST_DATA "/listtables/simple_utf8.csv");
        QListWidget *titles = fixture->program->frmwordlist().wl();
        const int before = titles->count();
        fixture->prompter.files.enqueue(table);
        choose(more, QStringLiteral("Import Lists…"));
        QVERIFY(titles->count() > before);
        QVERIFY2(fixture->prompter.messages.constLast().startsWith("Lists added from"),
                 qPrintable(fixture->prompter.messages.constLast()));
        const QString out = dir.filePath(QStringLiteral("lists.csv"));
        fixture->prompter.files.enqueue(out);
        choose(more, QStringLiteral("Export Lists…"));
        QVERIFY(QFileInfo(out).size() > 3);
        QVERIFY2(fixture->prompter.messages.constLast().startsWith("Lists exported to"),
                 qPrintable(fixture->prompter.messages.constLast()));
        QVERIFY(!fixture->program->frmwordlist().isVisible());

        // The button and its items follow the language at once.
        main.keydown(Qt::Key_F2);
        QCOMPARE(more->text(), QStringLiteral("更多功能"));
        QCOMPARE(menuItems(more), (QStringList{"打印…", "另存为 PDF…", "练习单…", "统计…",
                                               "导入词表…", "导出词表…"}));
        main.keydown(Qt::Key_F1);
        main.setPagePrinter(nullptr);
    }
};

VASKELIO_GUI_TEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
