#pragma once

#include "board/tntstdsudoku.h"
#include "engine/fontrule.h"
#include "print/shading.h"

class TQJ;

// The board of the print pages: the screen board at print scale (side 1800, cells 190 pixels,
// lines 20 and 10 pixels wide) with the same cells and the same painting.
class Tprintsudoku : public Ttntstdsudoku {
    Q_OBJECT
    Q_DISABLE_COPY(Tprintsudoku)

public:
    static constexpr Geometry kPrint{1800, 10, 5, 20, 10};

    explicit Tprintsudoku(QWidget *parent = nullptr);

    // The puzzle as dealt: the given words, every other cell " ". The weights and sizes stay;
    // the page sizes the words (Tprintform::fill).
    void loadprintpuzzle(const TQJ &model, const QStringList &words);
    // The solution as fillsolution gives it, given words bold and the others italic, each word
    // in a face that has its letters.
    void loadsolution(const TQJ &model, const QStringList &words);

    // Gives every cell the size the table picks for the length of its text in UTF-16 code
    // units; the table's 0 keeps the cell's size.
    void sizefonts(const FontTable &table);

    // The edge-middle boxes in the shading's colour.
    void shade(Shading shading);
    static Rgb boxColor(Shading shading);

private:
    // A word without a CJK character in a Latin face; the Kai face has no Latin letters of
    // its own.
    void pickfaces();
};

// Sets the cell's point size, unless points is 0.
void setCellPoints(TTntcell *cell, int points);

// What sets a solution's given words apart besides their ink.
enum class SolutionMarks {
    InkOnly,        // the Solution window: weight and slant as they are, every cell disabled
    WeightAndSlant, // the answer page: given words bold, the others italic and enabled
};

// The one filler of the Solution window's board and the answer page's: every cell's word sized
// by kSolutionWindowFonts, given words in the board's fix colour and the others in its big
// colour, the cross shaded. A value outside 1..9 (a damaged saved game) leaves a cell without a
// word.
void fillsolution(Ttntstdsudoku &board, const TQJ &model, const QStringList &words,
                  SolutionMarks marks);
