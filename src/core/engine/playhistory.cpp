#include "engine/playhistory.h"

namespace {
void apply(GameModel &model, const PlayHistory::Step &step, bool forward)
{
    const GameModel::Batch batch(model);
    for (const PlayHistory::Change &change : step.changes) {
        const int i = change.cell / 9 + 1, j = change.cell % 9 + 1;
        model.setEntry(i, j, forward ? change.after : change.before);
        model.setNotes(i, j, forward ? change.notesAfter : change.notesBefore);
    }
    const PlayHistory::Marks &marks = forward ? step.marksAfter : step.marksBefore;
    for (int p = 0; p < 81; ++p)
        model.setMark(p / 9 + 1, p % 9 + 1, marks[p]);
}
} // namespace

PlayHistory::Marks::Marks(const std::array<CellMark, 81> &marks)
{
    static_assert(int(CellMark::Proof) < 16, "a mark takes four bits");
    for (int p = 0; p < 81; ++p)
        nibbles_[std::size_t(p / 2)] |= quint8(quint8(marks[std::size_t(p)]) << (p % 2 * 4));
}

PlayState PlayState::of(const GameModel &model)
{
    PlayState state;
    for (int p = 0; p < 81; ++p) {
        const GameCell &cell = model.cells()[p];
        state.entries[p] = qint8(cell.entry);
        state.notes[p] = cell.notes;
        state.marks[p] = cell.mark;
    }
    return state;
}

void PlayHistory::record(const GameModel &model, const PlayState &before, int word)
{
    const PlayState after = PlayState::of(model);
    Step step;
    for (int p = 0; p < 81; ++p)
        if (before.entries[p] != after.entries[p] || before.notes[p] != after.notes[p])
            step.changes.push_back(
                {quint8(p), before.entries[p], after.entries[p], before.notes[p], after.notes[p]});
    if (step.changes.empty())
        return;
    step.marksBefore = Marks(before.marks);
    step.marksAfter = Marks(after.marks);
    step.word = word;
    steps_.resize(done_);
    if (steps_.size() == limit_)
        steps_.pop_front();
    steps_.push_back(std::move(step));
    done_ = steps_.size();
}

void PlayHistory::clear()
{
    steps_.clear();
    done_ = 0;
}

const PlayHistory::Step &PlayHistory::undo(GameModel &model)
{
    const Step &step = steps_[--done_];
    apply(model, step, false);
    return step;
}

const PlayHistory::Step &PlayHistory::redo(GameModel &model)
{
    const Step &step = steps_[done_++];
    apply(model, step, true);
    return step;
}
