#pragma once

#include "engine/gamemodel.h"
#include "engine/playhistory.h"
#include "engine/rules.h"
#include "storage/autosave.h"
#include "text/result.h"

#include <QObject>
#include <QString>

class LearnerStats;
class Prompter;
class PuzzleBank;
class RandomSource;
class TextTables;
struct SavedGame;

// The game in play and everything that follows it: the model, the rules acting on it, the undo
// history, the selected word, and the kept game, written whenever the model's content changes.
// The windows ask it for moves and draw what the model announces.
class GameSession : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY(GameSession)

public:
    GameSession(const PuzzleBank &bank, RandomSource &random, const TextTables &texts,
                Prompter &prompter, QObject *parent = nullptr);

    GameModel &model() { return model_; }
    const GameModel &model() const { return model_; }
    GameRules &rules() { return rules_; }
    const PlayHistory &history() const { return history_; }
    // A game is dealt or loaded: from then on the board and the game commands stay enabled.
    bool inplay() const { return model_.started(); }

    // A game of the level from the bank with these words; false when the bank has no line for
    // it, and nothing changes then.
    bool deal(int level, const WordSet &words);
    // A saved game becomes the game in play, with the notes and time kept beside it if any.
    void load(const SavedGame &game, const KeptPlay &play = {});
    // The game in play as Save writes it.
    SavedGame saved() const;

    // The time played at the game in play, kept with it; a second more for each tick while
    // it is unsolved. Whoever ticks pauses it (a minimised window, a dialog).
    qint64 seconds() const { return seconds_; }
    void tick();

    // The palette's word, 1..9; 0 before any is selected.
    int selectedWord() const { return selected_; }
    // Selects word k and highlights the cells that show it.
    void select(int k);
    // The player picks word k: select(k), and picked(k) says so.
    void pick(int k);

    // The moves of play; a given cell, or a move before the first game, is left alone.
    void place(int i, int j);
    void clear(int i, int j);
    // A click with another button: nothing placed, the rules' checks all the same.
    void press();
    // Note k of an empty cell in or out; every empty cell's notes made its candidates.
    void toggleNote(int i, int j, int k);
    void fillNotes();
    // Check Error; each wrong word it finds counts as a word mixed up with the one that belongs.
    void checkerrors();
    void hint() { rules_.tbshowhintClick(selected_); }
    bool restart() { return rules_.tbrestartClick(); }
    bool undo() { return rules_.undo(selected_); }
    bool redo() { return rules_.redo(selected_); }

    // Where games started and solved, their times and the words mixed up are counted; none
    // by default.
    void setStats(LearnerStats *stats) { stats_ = stats; }

    // Where the game in play is kept; autosavefile() unless set.
    void setKeepFile(const QString &file) { keepFile_ = file; }
    // Writes the unsolved game in play to the keep file, or removes that file for a solved
    // one. Nothing before the first game.
    Status keep();

signals:
    // The player picked word k, or placed it in an empty cell or over another word.
    void picked(int k);
    void placed(int i, int j, int k);
    // Keeping the game failed after it last succeeded (or for the first time).
    void keepFailed(const QString &reason);

private:
    bool playable(int i, int j) const;
    // A wrong word in the cell counted against the word that belongs there.
    void confused(int i, int j);

    const PuzzleBank &bank_;
    RandomSource &random_;
    GameModel model_;
    PlayHistory history_;
    GameRules rules_;
    int selected_ = 0;
    qint64 seconds_ = 0;
    LearnerStats *stats_ = nullptr;
    bool solvedKept_ = false; // the solved game is counted once
    QString keepFile_;
    bool keepFailed_ = false;
};
