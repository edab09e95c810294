#include "game/gamesession.h"

#include "engine/bank.h"
#include "engine/qj.h"
#include "game/learnerstats.h"
#include "storage/autosave.h"
#include "storage/savedgame.h"

#include <utility>

GameSession::GameSession(const PuzzleBank &bank, RandomSource &random, const TextTables &texts,
                         Prompter &prompter, QObject *parent)
    : QObject(parent), bank_(bank), random_(random), rules_(model_, texts, prompter)
{
    rules_.setHistory(&history_);
    // The one place the game is kept: every change of what a saved game holds.
    connect(&model_, &GameModel::contentChanged, this, [this] { static_cast<void>(keep()); });
}

bool GameSession::deal(int level, const WordSet &words)
{
    TQJ puzzle(random_);
    if (!pickpuzzle(bank_, level, puzzle, random_))
        return false;
    history_.clear();
    seconds_ = 0;
    solvedKept_ = false;
    if (stats_)
        stats_->started(words.title, level);
    const GameModel::Batch batch(model_);
    model_.start(puzzle, level, words);
    select(1);
    return true;
}

void GameSession::load(const SavedGame &game, const KeptPlay &play)
{
    TQJ puzzle;
    for (int i = 1; i <= 9; ++i) {
        for (int j = 1; j <= 9; ++j) {
            const int p = GameModel::index(i, j);
            puzzle.node(i, j).value = game.solution[p];
            puzzle.node(i, j).given = game.given[p];
        }
    }
    history_.clear();
    seconds_ = play.seconds;
    solvedKept_ = false;
    const GameModel::Batch batch(model_);
    model_.start(puzzle, game.level, game.words);
    for (int i = 1; i <= 9; ++i) {
        for (int j = 1; j <= 9; ++j) {
            model_.setEntry(i, j, game.board[GameModel::index(i, j)]);
            model_.setNotes(i, j, play.notes[GameModel::index(i, j)]);
        }
    }
    select(1);
}

SavedGame GameSession::saved() const
{
    SavedGame game;
    for (int i = 1; i <= 9; ++i) {
        for (int j = 1; j <= 9; ++j) {
            const int p = GameModel::index(i, j);
            const GameCell &cell = model_.cell(i, j);
            game.solution[p] = cell.solution;
            game.given[p] = cell.given;
            game.board[p] = model_.filled(i, j) ? model_.value(i, j) : 0;
        }
    }
    game.level = model_.curlevel();
    game.words = model_.curwords();
    return game;
}

void GameSession::select(int k)
{
    rules_.highlightword(k);
    selected_ = k;
}

bool GameSession::playable(int i, int j) const
{
    return inplay() && i >= 1 && i <= 9 && j >= 1 && j <= 9 && !model_.cell(i, j).given;
}

void GameSession::pick(int k)
{
    select(k);
    emit picked(k);
}

void GameSession::place(int i, int j)
{
    if (!playable(i, j))
        return;
    const int before = model_.cell(i, j).entry;
    // A wrong word the player takes back was mixed up with the one that belonged.
    if (before != selected_)
        confused(i, j);
    rules_.place(i, j, selected_);
    if (selected_ != 0 && before != selected_ && model_.cell(i, j).entry == selected_)
        emit placed(i, j, selected_);
}

void GameSession::clear(int i, int j)
{
    if (!playable(i, j))
        return;
    confused(i, j);
    rules_.clear(i, j, selected_);
}

void GameSession::confused(int i, int j)
{
    const GameCell &c = model_.cell(i, j);
    if (stats_ && c.entry != 0 && c.entry != c.solution)
        stats_->confused(model_.curwords().title, model_.curwords().text(c.entry).trimmed(),
                         model_.curwords().text(c.solution).trimmed());
}

void GameSession::checkerrors()
{
    if (inplay())
        for (int i = 1; i <= 9; ++i)
            for (int j = 1; j <= 9; ++j)
                confused(i, j);
    rules_.tbcheckerrorClick();
}

void GameSession::toggleNote(int i, int j, int k)
{
    if (playable(i, j))
        rules_.toggleNote(i, j, k, selected_);
}

void GameSession::fillNotes()
{
    if (inplay())
        rules_.fillNotes(selected_);
}

void GameSession::tick()
{
    if (inplay() && !rules_.issolved())
        ++seconds_;
}

void GameSession::press()
{
    if (inplay())
        rules_.settle(selected_);
}

Status GameSession::keep()
{
    if (!inplay())
        return {};
    const QString file = keepFile_.isEmpty() ? autosavefile() : keepFile_;
    const SavedGame game = saved();
    const bool solved = rules_.issolved();
    if (solved && !std::exchange(solvedKept_, true) && stats_)
        stats_->solved(model_.curwords().title, model_.curlevel(), seconds_);
    // The record of games is kept with the game; a failure waits for the next change.
    if (stats_ && stats_->dirty())
        static_cast<void>(stats_->save());
    Status kept = keepgame(file, game, solved);
    if (kept) {
        KeptPlay play;
        for (int p = 0; p < 81; ++p)
            play.notes[p] = model_.cells()[p].notes;
        play.seconds = seconds_;
        kept = keepplay(file, game, play, solved);
    }
    // Said once, not on every move: a full or read-only disk stays so for a while.
    if (!kept && !keepFailed_)
        emit keepFailed(kept.error());
    keepFailed_ = !kept;
    return kept;
}
