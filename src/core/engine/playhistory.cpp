#include "engine/playhistory.h"

#include "text/textrules.h"

namespace {
int indexOf(int i, int j)
{
    return 9 * (i - 1) + (j - 1);
}
} // namespace

BoardState captureBoard(const CellBoard &board)
{
    BoardState state;
    for (int i = 1; i <= 9; ++i) {
        for (int j = 1; j <= 9; ++j) {
            CellState &cell = state[indexOf(i, j)];
            cell.text = board.cellText(i, j);
            cell.value = board.cellValue(i, j);
            cell.color = board.cellColor(i, j);
        }
    }
    return state;
}

void restoreBoard(CellBoard &board, const BoardState &state)
{
    for (int i = 1; i <= 9; ++i) {
        for (int j = 1; j <= 9; ++j) {
            const CellState &cell = state[indexOf(i, j)];
            board.setCellValue(i, j, cell.value);
            board.setCellText(i, j, cell.text);
            board.setCellColor(i, j, cell.color);
        }
    }
}

bool sameWords(const BoardState &a, const BoardState &b)
{
    for (std::size_t p = 0; p < a.size(); ++p) {
        if (a[p].text != b[p].text)
            return false;
        if (!isEmptyText(a[p].text) && a[p].value != b[p].value)
            return false;
    }
    return true;
}

void PlayHistory::record(const BoardState &before, const BoardState &after, int word)
{
    if (sameWords(before, after))
        return;
    steps_.resize(done_);
    steps_.push_back({before, after, word});
    done_ = steps_.size();
}

void PlayHistory::clear()
{
    steps_.clear();
    done_ = 0;
}

const PlayHistory::Step &PlayHistory::undo()
{
    return steps_[--done_];
}

const PlayHistory::Step &PlayHistory::redo()
{
    return steps_[done_++];
}
