#pragma once

#include "board/cellboard.h"

#include <QPoint>
#include <QWidget>

#include <array>

class GameModel;
class QPainter;
class TTntcell;

// The on-screen 9 x 9 board: 81 cells laid out once at creation with a pitch of 73 pixels,
// grid lines painted in the gaps between them. The print board is the same board at another
// scale.
class Ttntstdsudoku : public QWidget, public CellBoard {
    Q_OBJECT
    Q_DISABLE_COPY(Ttntstdsudoku)

public:
    // The numbers in which the screen and the print board differ.
    struct Geometry {
        int side;     // width and height at creation
        int shrink;   // a cell is the pitch less this
        int offset;   // added to every cell's left and top edge
        int thickPen; // lines 1, 4, 7 and 10
        int thinPen;  // the other lines
    };
    static constexpr Geometry kScreen{657, 2, 0, 2, 1};
    static constexpr int kSide = kScreen.side;

    explicit Ttntstdsudoku(QWidget *parent = nullptr);

    TTntcell *cell(int i, int j) const { return cells_[i - 1][j - 1]; }

    // The keyboard's cell as (column, row); (0, 0) while there is none.
    QPoint cursorCell() const { return cursor_; }
    // (0, 0) takes the cursor away.
    void setCursorCell(int i, int j);
    // Moves the cursor by whole cells; it stops at the edges.
    void moveCursor(int di, int dj);

    // What a screen reader hears for a cell: cell(row, column, what) with %1 to %3, given(word)
    // with %1, and the word for an empty cell. Until set, a cell is read as its bare text.
    void setSpokenTexts(const QString &cell, const QString &given, const QString &empty);
    // How an empty cell's notes are heard: %1 the empty cell's word, %2 the notes' words.
    void setSpokenNotes(const QString &pattern) { spokenNotes_ = pattern; }
    QString spokenName(int i, int j) const;
    QString spokenValue(int i, int j) const;

    // Left or top edge of column (or row) k for a pitch p.
    static int cellEdge(int pitch, int k);
    // Where grid line k (1..10) lies for a pitch p, and whether it is a thick one.
    static int linePosition(int pitch, int k);
    static bool isThickLine(int k) { return (k - 1) % 3 == 0; }

    // Every cell as the model has it; showcell for one cell the model says has changed.
    void showgame(const GameModel &model);
    void showcell(const GameModel &model, int i, int j);
    // A cell and, while repeats are marked, the cells that see it: their marks may follow.
    void showchange(const GameModel &model, int i, int j);
    // Marks at once, in orange, a word that its row, column or box shows twice.
    void setShowConflicts(bool show) { showConflicts_ = show; }
    // Notes drawn as each word's number rather than its first character.
    void setNotesAsNumbers(bool numbers) { notesAsNumbers_ = numbers; }

    // Paints the board's face and grid lines, in its own coordinates; the cells paint over it.
    void paintOn(QPainter &painter) const;

    QString cellText(int i, int j) const override;
    void setCellText(int i, int j, const QString &text) override;
    int cellValue(int i, int j) const override;
    void setCellValue(int i, int j, int value) override;
    bool cellFixed(int i, int j) const override;
    void setCellFixed(int i, int j, bool fixed) override;
    void setCellEnabled(int i, int j, bool enabled) override;
    Rgb cellColor(int i, int j) const override;
    void setCellColor(int i, int j, Rgb color) override;
    void setCellFontColor(int i, int j, Rgb color) override;
    void setCellFont(int i, int j, FontFit fit) override;
    void setBoardEnabled(bool enabled) override;

protected:
    Ttntstdsudoku(const Geometry &geometry, QWidget *parent);
    void paintEvent(QPaintEvent *event) override;

private:
    Geometry geometry_;
    std::array<std::array<TTntcell *, 9>, 9> cells_{};
    QPoint cursor_;
    QString spokenCell_, spokenGiven_, spokenEmpty_, spokenNotes_;
    bool notesAsNumbers_ = false;
    bool showConflicts_ = false;
    std::array<QString, 81> noteWords_; // what the notes of each cell say, "apple, pear"
};
