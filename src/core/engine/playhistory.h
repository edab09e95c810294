#pragma once

#include "engine/cellboard.h"

#include <QString>

#include <array>
#include <vector>

// What one cell of the main board holds and shows.
struct CellState {
    QString text;
    int value = 0;
    Rgb color = boardcolor::white;

    friend bool operator==(const CellState &a, const CellState &b)
    {
        return a.text == b.text && a.value == b.value && a.color == b.color;
    }
};

// The 81 cells, column by column (index 9 * (i - 1) + j - 1).
using BoardState = std::array<CellState, 81>;

BoardState captureBoard(const CellBoard &board);
void restoreBoard(CellBoard &board, const BoardState &state);
// True when the two boards show the same words in the same cells: colours, and the number an
// empty cell happens to keep, do not count.
bool sameWords(const BoardState &a, const BoardState &b);

// The placements and clearings of the game in play, for undo and redo. Each step keeps the
// whole board before and after it, so that undoing also brings back what the rules did to the
// colours, and the word that was selected when it was made.
class PlayHistory {
public:
    struct Step {
        BoardState before;
        BoardState after;
        int word = 0; // the selected word when the step was made
    };

    // A step that changes no word is not kept. A new step drops every step undone before it.
    void record(const BoardState &before, const BoardState &after, int word);
    void clear();

    bool canUndo() const { return done_ > 0; }
    bool canRedo() const { return done_ < steps_.size(); }
    // The step to take back or to make again; only when canUndo() or canRedo().
    const Step &undo();
    const Step &redo();

    std::size_t size() const { return steps_.size(); }

private:
    std::vector<Step> steps_;
    std::size_t done_ = 0; // steps_[0 .. done_) are in force
};
