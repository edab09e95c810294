// vaskelio-screenshots FOLDER: the main window and its dialogs in each language, and long words
// at 100 % and 150 %, written as PNG files into FOLDER and FOLDER/long. Runs offscreen, on
// settings and data in a temporary folder.

#include "board/tntcell.h"
#include "board/tntstdsudoku.h"
#include "engine/qj.h"
#include "game/learnerstats.h"
#include "longwordgame.h"
#include "programfixture.h"
#include "sandbox.h"
#include "windows/frmda.h"
#include "windows/mainwindow.h"
#include "windows/programstate.h"

#include <QApplication>
#include <QDir>
#include <QTabWidget>
#include <QTemporaryDir>

#include <cstdio>

namespace {
bool save(const QImage &image, const QDir &folder, const QString &name)
{
    const QString path = folder.filePath(name);
    if (image.save(path))
        return true;
    std::fprintf(stderr, "vaskelio-screenshots: cannot write %s\n", qPrintable(path));
    return false;
}

bool exposed(QWidget *window)
{
    if (QTest::qWaitForWindowExposed(window))
        return true;
    std::fprintf(stderr, "vaskelio-screenshots: %s was never shown\n",
                 qPrintable(window->objectName()));
    return false;
}

// A pointer over a cell the player may fill, so the pictures show its hover state.
void hoverCell(ProgramFixture &fixture)
{
    for (int i = 1; i <= 9; ++i)
        for (int j = 1; j <= 9; ++j)
            if (!fixture.model().cell(i, j).given) {
                QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
                QCoreApplication::sendEvent(fixture.main().board()->cell(i, j), &enter);
                return;
            }
}

QDialog *dialog(ProgramFixture &fixture, const char *name)
{
    return fixture.main().findChild<QDialog *>(QLatin1String(name));
}

// The main window and the four dialogs with a title box.
bool windows(ProgramFixture &fixture, const QDir &folder)
{
    TaaForm1 &main = fixture.main();
    if (!main.newgame(3, WordSet::fromTexts(QStringLiteral("t"), testWords())))
        return false;
    bool ok = true;
    for (int langid = 0; langid <= 2; ++langid) {
        main.keydown(Qt::Key_F1 + langid);
        hoverCell(fixture);
        const QString suffix = QStringLiteral("-lang%1.png").arg(langid);
        ok &= save(main.grab().toImage(), folder, QStringLiteral("aaForm1") + suffix);
        for (const char *name : {"frmnewgame", "frmwordlist", "frmappend", "webwordlist"}) {
            QDialog *d = dialog(fixture, name);
            d->show();
            ok &= exposed(d);
            ok &= save(d->grab().toImage(), folder, QLatin1String(name) + suffix);
            d->hide();
        }
    }
    return ok;
}

// Long words on the board, the palette and the Solution window, and the Options dialog.
bool longWordWindows(ProgramFixture &fixture, const QDir &folder)
{
    TaaForm1 &main = fixture.main();
    if (!main.newgame(0, WordSet::fromTexts(QStringLiteral("Long words"), longWords())))
        return false;
    Tfrmda *frmda = main.findChild<Tfrmda *>();
    frmda->showsolution(fixture.model().puzzle(), longWords());
    GameModel &model = fixture.game().model();
    for (int i = 1; i <= 9; ++i)
        for (int j = 1; j <= 9; ++j)
            if ((i + j) % 3 == 0)
                model.setEntry(i, j, model.cell(i, j).solution);
    QDialog *options = dialog(fixture, "frmoption");
    bool ok = true;
    for (int langid = 0; langid <= 2; ++langid) {
        main.keydown(Qt::Key_F1 + langid);
        options->show();
        ok &= exposed(options);
        options->findChild<QTabWidget *>()->setCurrentIndex(1);
        for (const int zoom : {100, 150}) {
            const QString suffix = QStringLiteral("-lang%1-%2.png").arg(langid).arg(zoom);
            ok &= save(drawnAt(&main, zoom / 100.0), folder, QStringLiteral("aaForm1") + suffix);
            ok &= save(drawnAt(frmda, zoom / 100.0), folder, QStringLiteral("frmda") + suffix);
            ok &=
                save(drawnAt(options, zoom / 100.0), folder, QStringLiteral("frmoption") + suffix);
        }
        options->findChild<QTabWidget *>()->setCurrentIndex(0);
        options->hide();
    }
    return ok;
}

// The board with every empty cell's candidates noted, a few words placed, in each language and
// both ways a note can be drawn; the options' notes page beside it.
bool notesWindows(ProgramFixture &fixture, const QDir &folder)
{
    TaaForm1 &main = fixture.main();
    fixture.state().settings.askreplace = false; // the game the last pictures kept
    if (!main.newgame(2, WordSet::fromTexts(QStringLiteral("t"), testWords())))
        return false;
    fixture.game().fillNotes();
    // A record to show: two games and a few words mixed up.
    LearnerStats &record = fixture.state().stats;
    record.started(QStringLiteral("t"), 2);
    record.solved(QStringLiteral("t"), 2, 754);
    record.confused(QStringLiteral("t"), QStringLiteral("ろく"), QStringLiteral("seven"));
    record.confused(QStringLiteral("t"), QStringLiteral("一"), QStringLiteral("二"));
    bool ok = true;
    for (int langid = 0; langid <= 2; ++langid) {
        main.keydown(Qt::Key_F1 + langid);
        for (const bool numbers : {false, true}) {
            fixture.state().settings.notesasnumbers = numbers;
            main.applylanguage();
            ok &= save(main.board()->grab().toImage(), folder,
                       QStringLiteral("notes-lang%1-%2.png")
                           .arg(langid)
                           .arg(numbers ? QStringLiteral("numbers") : QStringLiteral("letters")));
        }
        auto *options = dialog(fixture, "frmoption");
        options->show();
        options->findChild<QTabWidget *>()->setCurrentIndex(2);
        ok &= exposed(options);
        ok &= save(options->grab().toImage(), folder,
                   QStringLiteral("frmoption-display-lang%1.png").arg(langid));
        options->findChild<QTabWidget *>()->setCurrentIndex(1);
        ok &= save(options->grab().toImage(), folder,
                   QStringLiteral("frmoption-game-lang%1.png").arg(langid));
        options->hide();
        auto *stats = dialog(fixture, "frmstats");
        stats->show();
        ok &= exposed(stats);
        ok &= save(stats->grab().toImage(), folder,
                   QStringLiteral("frmstats-lang%1.png").arg(langid));
        stats->hide();
    }
    return ok;
}

// Each set of pictures on a program of its own, started afresh as a player would see it.
bool picture(bool (*take)(ProgramFixture &, const QDir &), const QDir &folder)
{
    QTemporaryDir dir;
    ProgramFixture fixture(dir.filePath(QStringLiteral("s.ini")));
    fixture.program->show();
    fixture.program->makewindows();
    return exposed(&fixture.main()) && take(fixture, folder);
}
} // namespace

int main(int argc, char **argv)
{
    TestSandbox sandbox;
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 2 || args.at(1).startsWith(QLatin1Char('-'))) {
        std::fprintf(stderr, "usage: vaskelio-screenshots FOLDER\n");
        return 2;
    }
    const QDir folder(args.at(1));
    const QDir longFolder(folder.filePath(QStringLiteral("long")));
    if (!longFolder.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "vaskelio-screenshots: cannot make %s\n",
                     qPrintable(longFolder.path()));
        return 1;
    }
    bool ok = picture(windows, folder);
    ok &= picture(longWordWindows, longFolder);
    ok &= picture(notesWindows, folder);
    return ok ? 0 : 1;
}
