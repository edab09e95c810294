// Prints the cost of one placement on the main board (from the move on the game model through
// the board following its signals and the repaint) and of fitting the fonts of all 81 cells. An
// optional argument names a PNG file that receives the board as it looks after the run.
#include "board/tntcell.h"
#include "board/tntstdsudoku.h"
#include "engine/bank.h"
#include "engine/gamemodel.h"
#include "engine/qj.h"
#include "engine/random.h"
#include "engine/rules.h"
#include "i18n/texttable.h"
#include "silentprompter.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTextStream>

#include <algorithm>
#include <vector>

namespace {
double medianMicros(std::vector<qint64> &nanos)
{
    std::sort(nanos.begin(), nanos.end());
    return nanos[nanos.size() / 2] / 1000.0;
}
} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTextStream out(stdout);

    Ttntstdsudoku board;
    board.resize(659, 660);
    board.show();
    QApplication::processEvents();

    TQJ puzzle;
    if (!pickpuzzle(PuzzleBank::builtIn(), 2, puzzle, RandomSource::process()))
        return 1;
    const QStringList words{
        QStringLiteral("一"),      QStringLiteral("ice cream"), QStringLiteral("vegetables"),
        QStringLiteral("cat"),     QStringLiteral("house"),     QStringLiteral("garden"),
        QStringLiteral("kitchen"), QStringLiteral("elephant"),  QStringLiteral("ねこ")};
    GameModel model;
    TextTables texts;
    SilentPrompter prompter;
    GameRules rules(model, texts, prompter);
    QObject::connect(&model, &GameModel::cellChanged,
                     [&](int i, int j) { board.showcell(model, i, j); });
    QObject::connect(&model, &GameModel::gameReplaced, [&] { board.showgame(model); });
    model.start(puzzle, 2, WordSet::fromTexts({}, words));
    rules.highlightword(1);
    board.repaint();

    std::vector<QPoint> open;
    for (int i = 1; i <= 9; ++i)
        for (int j = 1; j <= 9; ++j)
            if (!model.cell(i, j).given)
                open.emplace_back(i, j);

    // Each placement changes a word, so fonts, colours and the highlight all move.
    const int rounds = 2000;
    std::vector<qint64> placements;
    QElapsedTimer timer;
    for (int n = 0; n < rounds; ++n) {
        const QPoint cell = open[n % open.size()];
        const int w = n % 9 + 1;
        timer.start();
        if (n % 5 == 4)
            rules.clear(cell.x(), cell.y(), w);
        else
            rules.place(cell.x(), cell.y(), w);
        board.repaint();
        placements.push_back(timer.nsecsElapsed());
    }

    std::vector<qint64> steadyFits, changingFits;
    for (int n = 0; n < rounds; ++n) {
        timer.start();
        board.fitfonts();
        steadyFits.push_back(timer.nsecsElapsed());
    }
    for (int n = 0; n < rounds; ++n) {
        const QString word = words.at(n % 9);
        for (const QPoint &cell : open)
            board.setCellText(cell.x(), cell.y(), word);
        timer.start();
        board.fitfonts();
        changingFits.push_back(timer.nsecsElapsed());
    }

    out << "placement incl. repaint: median " << medianMicros(placements) << " us over " << rounds
        << " placements\n";
    out << "fitfonts, 81 cells, nothing to change: median " << medianMicros(steadyFits) << " us\n";
    out << "fitfonts, 81 cells, " << open.size() << " changing size: median "
        << medianMicros(changingFits) << " us\n";

    if (argc > 1) {
        rules.highlightword(1);
        board.grab().save(QString::fromLocal8Bit(argv[1]));
        out << "board saved to " << argv[1] << "\n";
    }
    return 0;
}
