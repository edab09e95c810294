#pragma once

#include "engine/wordset.h"

#include <QObject>
#include <QString>

#include <array>

class TQJ;

// True for the cells of the four boxes that form the shaded cross.
bool inEdgeMiddleBox(int i, int j);

// How the rules mark a cell; the board turns a mark into a colour.
enum class CellMark : quint8 {
    Plain,     // the cell's own background: white, light blue in the edge-middle boxes
    Highlight, // holds the selected word
    Error,     // a wrong word after Check Error
    Step,      // the cell an explained next step fills
    Proof,     // a cell that proves that step
};

// One of the 81 cells of the game in play.
struct GameCell {
    int solution = 0; // number 1..9 of the word that solves the cell
    bool given = false;
    int entry = 0; // the player's word number, 0 while empty; always 0 in a given cell
    CellMark mark = CellMark::Plain;
    // The player's notes: bit k - 1 for word k. Kept while a word stands in the cell, shown
    // only while it is empty; never in a given cell.
    quint16 notes = 0;

    bool hasNote(int k) const { return k >= 1 && k <= 9 && (notes >> (k - 1)) & 1u; }
    friend bool operator==(const GameCell &a, const GameCell &b)
    {
        return a.solution == b.solution && a.given == b.given && a.entry == b.entry &&
               a.mark == b.mark && a.notes == b.notes;
    }
};

// The state of play: the cells, the level and the nine words with their title. Cell (i, j) has
// i the column and j the row, both 1..9. Every change is announced, so that the board, the
// history and the kept game follow the model rather than each other.
class GameModel : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY(GameModel)

public:
    explicit GameModel(QObject *parent = nullptr);

    static int index(int i, int j) { return 9 * (i - 1) + (j - 1); }

    // False until the first game is dealt or loaded.
    bool started() const { return started_; }
    const GameCell &cell(int i, int j) const { return cells_[index(i, j)]; }
    const std::array<GameCell, 81> &cells() const { return cells_; }
    int curlevel() const { return level_; }
    const WordSet &curwords() const { return words_; }
    // The puzzle as the solver and the print pages take it.
    TQJ puzzle() const;

    // The word number a cell stands for: its solution when given, else the entry.
    int value(int i, int j) const;
    // What the cell shows: its word, or " " while empty or when its number has no word.
    QString shown(int i, int j) const;
    // The cell shows a word.
    bool filled(int i, int j) const;
    // Some cell that was not given shows a word.
    bool played() const;

    // A new game: the puzzle's cells, no entries, no marks.
    void start(const TQJ &puzzle, int level, const WordSet &words);
    // The words before any game, which the palette shows.
    void setCurwords(const WordSet &words);
    // A given cell keeps its word; false when nothing changed.
    bool setEntry(int i, int j, int entry);
    void setMark(int i, int j, CellMark mark);
    // A given cell takes no notes; false when nothing changed.
    bool setNotes(int i, int j, quint16 notes);
    // The words that may still go into cell (i, j): those not shown in its row, column or box.
    quint16 candidates(int i, int j) const;
    // Whether cells a and b share a row, a column or a box (a cell sees itself).
    static bool sees(int ai, int aj, int bi, int bj);

    // Changes made while one is alive are announced as one content change when it ends.
    class Batch {
    public:
        explicit Batch(GameModel &model);
        ~Batch();
        Batch(const Batch &) = delete;
        Batch &operator=(const Batch &) = delete;

    private:
        GameModel &model_;
    };

signals:
    // One cell's entry, notes or mark changed.
    void cellChanged(int i, int j);
    // Every cell, the words or the level changed at once: a game dealt, loaded or restarted.
    void gameReplaced();
    // The entries, notes, words or level changed: what the kept game holds. Once per batch.
    void contentChanged();

private:
    void touched();

    std::array<GameCell, 81> cells_{};
    int level_ = 0;
    WordSet words_;
    bool started_ = false;
    int batches_ = 0;
    bool pending_ = false;
};
