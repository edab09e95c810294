#include "engine/rules.h"

#include "engine/gamemodel.h"
#include "engine/playhistory.h"
#include "engine/prompter.h"
#include "i18n/texttable.h"

GameRules::GameRules(GameModel &model, const TextTables &texts, Prompter &prompter)
    : model_(model), texts_(texts), prompter_(prompter)
{
}

void GameRules::place(int i, int j, int w)
{
    const GameModel::Batch batch(model_);
    const PlayState before = PlayState::of(model_);
    // Without a selection there is no word to place; play always starts with one.
    if (w >= 1 && w <= WordSet::kWords && model_.setEntry(i, j, w) && cleanup_) {
        const auto bit = quint16(1u << (w - 1));
        for (int a = 1; a <= 9; ++a)
            for (int b = 1; b <= 9; ++b)
                if ((a != i || b != j) && GameModel::sees(a, b, i, j))
                    model_.setNotes(a, b, model_.cell(a, b).notes & quint16(~bit));
    }
    aftermove(w);
    if (history_)
        history_->record(model_, before, w);
}

void GameRules::clear(int i, int j, int w)
{
    const GameModel::Batch batch(model_);
    const PlayState before = PlayState::of(model_);
    model_.setEntry(i, j, 0);
    shadeboxes();
    aftermove(w);
    if (history_)
        history_->record(model_, before, w);
}

void GameRules::toggleNote(int i, int j, int k, int w)
{
    if (k < 1 || k > WordSet::kWords || model_.filled(i, j))
        return;
    const GameModel::Batch batch(model_);
    const PlayState before = PlayState::of(model_);
    model_.setNotes(i, j, model_.cell(i, j).notes ^ quint16(1u << (k - 1)));
    if (history_)
        history_->record(model_, before, w);
}

void GameRules::fillNotes(int w)
{
    const GameModel::Batch batch(model_);
    const PlayState before = PlayState::of(model_);
    for (int i = 1; i <= 9; ++i)
        for (int j = 1; j <= 9; ++j)
            if (!model_.filled(i, j))
                model_.setNotes(i, j, model_.candidates(i, j));
    if (history_)
        history_->record(model_, before, w);
}

void GameRules::settle(int w)
{
    const GameModel::Batch batch(model_);
    aftermove(w);
}

void GameRules::aftermove(int w)
{
    checksolved();
    highlightword(w);
}

bool GameRules::issolved() const
{
    const WordSet &words = model_.curwords();
    for (int i = 1; i <= 9; ++i) {
        for (int j = 1; j <= 9; ++j) {
            const int s = model_.cell(i, j).solution;
            if (s < 1 || s > WordSet::kWords || model_.shown(i, j) != words.text(s))
                return false;
        }
    }
    return true;
}

bool GameRules::checksolved()
{
    const bool solved = issolved();
    if (solved)
        prompter_.inform(texts_.uitext(QStringLiteral("msgpuzzlesolved")));
    return solved;
}

bool GameRules::markerrors()
{
    bool found = false;
    for (int i = 1; i <= 9; ++i) {
        for (int j = 1; j <= 9; ++j) {
            const int v = model_.value(i, j);
            if (v != 0 && v != model_.cell(i, j).solution) {
                model_.setMark(i, j, CellMark::Error);
                found = true;
            }
        }
    }
    return found;
}

void GameRules::highlightword(int w)
{
    for (int i = 1; i <= 9; ++i) {
        for (int j = 1; j <= 9; ++j) {
            const bool holds = model_.value(i, j) == w && model_.filled(i, j);
            model_.setMark(i, j, holds ? CellMark::Highlight : CellMark::Plain);
        }
    }
}

void GameRules::shadeboxes()
{
    for (int i = 1; i <= 9; ++i)
        for (int j = 1; j <= 9; ++j)
            if (inEdgeMiddleBox(i, j))
                model_.setMark(i, j, CellMark::Plain);
}

void GameRules::tbcheckerrorClick()
{
    if (!markerrors())
        prompter_.inform(texts_.uitext(QStringLiteral("msgcheckok")));
}

void GameRules::tbshowhintClick(int w)
{
    const GameModel::Batch batch(model_);
    const PlayState before = PlayState::of(model_);
    bool filled = false;
    for (int j = 1; j <= 9 && !filled; ++j) {
        for (int i = 1; i <= 9 && !filled; ++i) {
            if (model_.filled(i, j))
                continue;
            model_.setEntry(i, j, model_.cell(i, j).solution);
            filled = true;
        }
    }
    checksolved();
    shadeboxes();
    if (history_)
        history_->record(model_, before, w);
}

bool GameRules::tbrestartClick()
{
    if (!prompter_.confirm(texts_.uitext(QStringLiteral("msgqueryrestart"))))
        return false;
    const GameModel::Batch batch(model_);
    for (int i = 1; i <= 9; ++i)
        for (int j = 1; j <= 9; ++j) {
            model_.setEntry(i, j, 0);
            model_.setNotes(i, j, 0);
        }
    highlightword(1);
    if (history_)
        history_->clear();
    return true;
}

bool GameRules::undo(int w)
{
    if (!history_ || !history_->canUndo())
        return false;
    const GameModel::Batch batch(model_);
    aftersteps(history_->undo(model_).word, w);
    return true;
}

bool GameRules::redo(int w)
{
    if (!history_ || !history_->canRedo())
        return false;
    const GameModel::Batch batch(model_);
    aftersteps(history_->redo(model_).word, w);
    return true;
}

void GameRules::aftersteps(int stepword, int w)
{
    // The kept marks show the word selected back then; another one selected since is shown.
    if (w != stepword)
        highlightword(w);
    checksolved();
}
