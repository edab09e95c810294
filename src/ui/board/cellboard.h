#pragma once

#include "engine/fontrule.h"
#include "engine/gamemodel.h"
#include "text/textrules.h"

#include <QString>
#include <QStringList>

class TQJ;

// Colours as 0xRRGGBB, so that the rules need no GUI types.
using Rgb = quint32;
namespace boardcolor {
constexpr Rgb white = 0xFFFFFF;
constexpr Rgb lightBlue = 0xBBBBFF; // the four edge-middle boxes
constexpr Rgb yellow = 0xFFFF00;    // cells holding the selected word
constexpr Rgb red = 0xFF0000;       // wrong words after Check Error
constexpr Rgb green = 0x66DD66;     // the cell an explained step fills
constexpr Rgb paleGreen = 0xCCF0CC; // the cells that prove it
constexpr Rgb black = 0x000000;
constexpr Rgb blue = 0x0000FF;
constexpr Rgb orange = 0xFFA040; // a word its row, column or box shows twice, while asked for
} // namespace boardcolor

// A 9 x 9 board of cells as the rules, the fillers and the text fitting see it. Cell (i, j) has
// i the column and j the row, both 1..9. The on-screen board, the Solution window's board and
// the print boards implement the per-cell primitives; the operations below are shared.
class CellBoard {
public:
    virtual ~CellBoard() = default;

    virtual QString cellText(int i, int j) const = 0;
    virtual void setCellText(int i, int j, const QString &text) = 0;
    virtual int cellValue(int i, int j) const = 0;
    virtual void setCellValue(int i, int j, int value) = 0;
    virtual bool cellFixed(int i, int j) const = 0;
    virtual void setCellFixed(int i, int j, bool fixed) = 0;
    virtual void setCellEnabled(int i, int j, bool enabled) = 0;
    virtual Rgb cellColor(int i, int j) const = 0;
    virtual void setCellColor(int i, int j, Rgb color) = 0;
    virtual void setCellFontColor(int i, int j, Rgb color) = 0;
    virtual void setCellFont(int i, int j, FontFit fit) = 0;
    virtual void setBoardEnabled(bool enabled) = 0;

    // Fills every cell from the model: given cells show their word, the others " ". A value
    // outside 1..9 (a damaged saved game) shows the cell empty instead of reading past the words.
    void loadpuzzle(const TQJ &model, const QStringList &words);
    void Setfixcolor(Rgb color);
    void Setbigcolor(Rgb color);
    Rgb fixcolor() const { return fixcolor_; }
    Rgb bigcolor() const { return bigcolor_; }
    // Light blue for the edge-middle boxes; no other cell is touched.
    void shadeboxes();
    // Size and weight of every cell from its longest space-separated piece.
    void fitfonts();

private:
    Rgb fixcolor_ = boardcolor::black;
    Rgb bigcolor_ = boardcolor::blue;
};

// Word number k of words (1..9), or nothing when k is out of range.
QString wordAt(const QStringList &words, int k);
