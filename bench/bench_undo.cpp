// Prints the resident memory of the whole program played by mouse in one game: after 10
// placements and after 1,500 (or the number given), beside a floor measured in the same run: as
// many placements spread over new games of 5 each, where every deal empties the undo history.
// Each placement goes the way a player's does: the word picked on the palette, the pointer into
// the cell (status text, tooltip), a left click, the pointer out, the repaint, and a screen
// reader reading the cell; the game is kept (autosave) after each. Each part runs in a process
// of its own, so that neither reuses what the other freed. Settings and the kept game go to a
// temporary home.
#include "board/tntcell.h"
#include "board/tntspeedbutton.h"
#include "board/tntstdsudoku.h"
#include "board/wordpalette.h"
#include "game/gamesession.h"
#include "homefolders.h"
#include "silentprompter.h"
#include "storage/autosave.h"
#include "storage/folders.h"
#include "storage/settings.h"
#include "windows/mainwindow.h"
#include "windows/program.h"
#include "wordlists/wordliststore.h"

#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTextStream>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {
constexpr int kFirst = 10;
constexpr int kPerFloorGame = 5;

long rssKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

// The game in the main window, played as a player does with the mouse.
class Player {
public:
    explicit Player(TaaForm1 &main) : main_(main) {}

    bool deal(const WordSet &words)
    {
        if (!main_.newgame(2, words))
            return false;
        open_.clear();
        const GameModel &model = main_.game().model();
        // The first open cell stays empty, so that the game is never solved.
        for (int i = 1; i <= 9; ++i)
            for (int j = 1; j <= 9; ++j)
                if (!model.cell(i, j).given)
                    open_.emplace_back(i, j);
        open_.erase(open_.begin());
        n_ = 0;
        return true;
    }

    // Each round over the open cells places another word in each, so every click is a step.
    void place()
    {
        const QPoint at = open_[n_ % open_.size()];
        const int round = int(n_ / open_.size());
        const int w = (round + int(n_ % open_.size())) % 9 + 1;
        ++n_;
        main_.wordPalette()->button(w)->click();
        TTntcell *cell = main_.board()->cell(at.x(), at.y());
        const QPointF inside(cell->width() / 2.0, cell->height() / 2.0);
        const QPointF global = cell->mapToGlobal(inside);
        QEnterEvent enter(inside, inside, global);
        QApplication::sendEvent(cell, &enter);
        QMouseEvent press(QEvent::MouseButtonPress, inside, global, Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(cell, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, inside, global, Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(cell, &release);
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(cell, &leave);
        QApplication::processEvents();
        if (QAccessibleInterface *spoken = QAccessible::queryAccessibleInterface(cell))
            heard_ +=
                spoken->text(QAccessible::Name).size() + spoken->text(QAccessible::Value).size();
    }

    std::size_t steps() const { return main_.game().history().size(); }

private:
    TaaForm1 &main_;
    std::vector<QPoint> open_;
    std::size_t n_ = 0;
    qint64 heard_ = 0;
};

struct Figures {
    long first = 0; // KiB after kFirst placements
    long last = 0;  // KiB after all of them
    long steps = 0; // undo steps held at the end
};

// One part, in this process: 'g' for one game, 'f' for the floor.
int runPart(char part, int placements, int argc, char **argv, Figures &figures)
{
    QTemporaryDir home;
    if (!home.isValid())
        return 1;
    pointhomeat(home.path());
    QApplication app(argc, argv);
    Program::prepareApplication();
    QAccessible::setActive(true);
    SilentPrompter prompter;
    Settings settings(SettingsLocation::file(home.filePath(QStringLiteral("settings.ini"))));
    Program program(prompter, settings, QStringLiteral("http://127.0.0.1:9"));
    program.show();
    QApplication::processEvents();
    program.makewindows();

    WordListStore store(programdatafile(QStringLiteral("lists.txt")));
    static_cast<void>(store.Load());
    if (store.Count() < 1)
        return 1;
    const WordSet words = store.Get(1);
    Player player(program.mainWindow());
    for (int n = 0; n < placements; ++n) {
        if ((n == 0 || (part == 'f' && n % kPerFloorGame == 0)) && !player.deal(words))
            return 1;
        player.place();
        if (n + 1 == kFirst)
            figures.first = rssKiB();
    }
    figures.last = rssKiB();
    figures.steps = long(player.steps());
    if (!QFileInfo::exists(autosavefile()))
        return 1; // the game was not kept as it was played
    return 0;
}

// Runs a part in a child process and reads its figures back through a pipe.
bool measure(char part, int placements, int argc, char **argv, Figures &figures)
{
    int fds[2];
    if (pipe(fds) != 0)
        return false;
    std::fflush(stdout);
    const pid_t pid = fork();
    if (pid < 0)
        return false;
    if (pid == 0) {
        close(fds[0]);
        Figures mine;
        const int status = runPart(part, placements, argc, argv, mine);
        if (status == 0 && write(fds[1], &mine, sizeof mine) != ssize_t(sizeof mine))
            _exit(1);
        _exit(status);
    }
    close(fds[1]);
    const bool read_ = read(fds[0], &figures, sizeof figures) == ssize_t(sizeof figures);
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    return read_ && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
} // namespace

int main(int argc, char **argv)
{
    const int placements = argc > 1 ? std::max(kFirst + kPerFloorGame, atoi(argv[1])) : 1500;
    Figures game, floor;
    if (!measure('g', placements, argc, argv, game) ||
        !measure('f', placements, argc, argv, floor)) {
        std::fprintf(stderr, "bench_undo: a part failed\n");
        return 1;
    }
    QTextStream out(stdout);
    out << "one game, " << placements << " placements by mouse (" << game.steps
        << " undo steps kept): RSS " << game.first << " KiB after " << kFirst << ", " << game.last
        << " KiB after " << placements << ", " << Qt::forcesign << game.last - game.first
        << Qt::noforcesign << " KiB (goal: within 1024 KiB)\n";
    out << "floor, the same placements over " << placements / kPerFloorGame << " new games of "
        << kPerFloorGame << ": RSS " << floor.first << " KiB after " << kFirst << ", " << floor.last
        << " KiB after " << placements << ", " << Qt::forcesign << floor.last - floor.first
        << Qt::noforcesign << " KiB\n";
    return 0;
}
