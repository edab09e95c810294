#include "windows/hintexplainer.h"

#include "game/gamesession.h"
#include "widgets/dialogbase.h"
#include "windows/mainwindow.h"
#include "windows/programstate.h"

HintExplainer::HintExplainer(TaaForm1 *window) : QObject(window), window_(window)
{
    connect(&window->language(), &LanguageContext::languageChanged, this, [this] {
        if (showing())
            say(last_);
    });
    // Undo brings back the marks from before a move, an explanation's among them; they would
    // then mark a step no longer explained.
    connect(&window->game().model(), &GameModel::contentChanged, this, &HintExplainer::clearMarks);
}

void HintExplainer::hint()
{
    GameSession &game = window_->game();
    clearMarks();
    std::array<bool, 81> filled{};
    for (int p = 0; p < 81; ++p)
        filled[p] = game.model().filled(p / 9 + 1, p % 9 + 1);
    game.hint();
    // The rules choose the cell; the explanation only follows it.
    for (int p = 0; p < 81; ++p) {
        const int i = p / 9 + 1, j = p % 9 + 1;
        if (!filled[p] && game.model().filled(i, j)) {
            say(explainCell(game.model(), i, j));
            return;
        }
    }
}

void HintExplainer::explainNext()
{
    GameSession &game = window_->game();
    if (!game.inplay())
        return;
    clearMarks();
    const Explanation e = ::explainNext(game.model());
    GameModel &model = game.model();
    for (const QPoint &at : e.proof)
        model.setMark(at.x(), at.y(), CellMark::Proof);
    if (!e.cell.isNull())
        model.setMark(e.cell.x(), e.cell.y(), CellMark::Step);
    say(e);
}

bool HintExplainer::showing() const
{
    return !said_.isEmpty() && window_->statusText() == said_;
}

void HintExplainer::say(const Explanation &explanation)
{
    const ProgramState &state = window_->state();
    last_ = explanation;
    said_ = explanationText(explanation, window_->game().model().curwords(), state.texts);
    window_->showstatus(said_);
}

void HintExplainer::clearMarks()
{
    GameModel &model = window_->game().model();
    for (int i = 1; i <= 9; ++i) {
        for (int j = 1; j <= 9; ++j) {
            const CellMark mark = model.cell(i, j).mark;
            if (mark == CellMark::Step || mark == CellMark::Proof)
                model.setMark(i, j, CellMark::Plain);
        }
    }
}
