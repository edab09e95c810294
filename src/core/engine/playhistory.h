#pragma once

#include "engine/gamemodel.h"

#include <array>
#include <cstddef>
#include <deque>
#include <vector>

// The entries, notes and marks of the 81 cells at one moment of play.
struct PlayState {
    std::array<qint8, 81> entries{};
    std::array<quint16, 81> notes{};
    std::array<CellMark, 81> marks{};

    static PlayState of(const GameModel &model);
    friend bool operator==(const PlayState &a, const PlayState &b)
    {
        return a.entries == b.entries && a.notes == b.notes && a.marks == b.marks;
    }
};

// The placements, clearings, notes and hints of the game in play, for undo and redo. A step
// keeps the entries and notes it changed and every mark before and after it, so that undoing also
// brings back what the rules did to the colours, and the word that was selected when it was made.
// At most limit() steps are kept: past it the oldest goes, so a long game cannot eat memory.
class PlayHistory {
public:
    // Far more than a game of 81 cells takes; under 200 bytes a step as a rule.
    static constexpr std::size_t kDefaultLimit = 5000;

    // The 81 marks at four bits a cell, half the bytes of the model's array.
    class Marks {
    public:
        Marks() = default;
        explicit Marks(const std::array<CellMark, 81> &marks);
        CellMark operator[](int p) const
        {
            return CellMark((nibbles_[std::size_t(p / 2)] >> (p % 2 * 4)) & 0xFu);
        }

    private:
        std::array<quint8, 41> nibbles_{};
    };

    struct Change {
        quint8 cell; // GameModel::index
        qint8 before;
        qint8 after;
        quint16 notesBefore;
        quint16 notesAfter;
    };
    struct Step {
        std::vector<Change> changes;
        Marks marksBefore;
        Marks marksAfter;
        int word = 0; // the selected word when the step was made
    };

    explicit PlayHistory(std::size_t limit = kDefaultLimit) : limit_(limit < 1 ? 1 : limit) {}

    // The step from before to the model as it is now. A step that changes no entry and no
    // note is not kept. A new step drops every step undone before it, and the oldest step
    // when limit() are kept already.
    void record(const GameModel &model, const PlayState &before, int word);
    void clear();

    bool canUndo() const { return done_ > 0; }
    bool canRedo() const { return done_ < steps_.size(); }
    // Puts the model back as it was before the last step, or as the next step left it, and
    // returns that step; only when canUndo() or canRedo().
    const Step &undo(GameModel &model);
    const Step &redo(GameModel &model);

    std::size_t size() const { return steps_.size(); }
    std::size_t limit() const { return limit_; }

private:
    std::size_t limit_;
    std::deque<Step> steps_;
    std::size_t done_ = 0; // steps_[0 .. done_) are in force
};
