#pragma once

#include "board/cellboard.h"

#include <array>

// A board of plain cell records, for exercising the rules without widgets.
class PlainBoard : public CellBoard {
public:
    struct Cell {
        QString text = QStringLiteral(" ");
        int value = 0;
        bool fixed = false;
        bool enabled = true;
        Rgb color = boardcolor::white;
        Rgb fontColor = boardcolor::black;
        FontFit font{18, true};
    };

    PlainBoard()
    {
        for (int i = 1; i <= 9; ++i)
            for (int j = 1; j <= 9; ++j)
                if (inEdgeMiddleBox(i, j))
                    at(i, j).color = boardcolor::lightBlue;
    }

    Cell &at(int i, int j) { return cells[i - 1][j - 1]; }
    const Cell &at(int i, int j) const { return cells[i - 1][j - 1]; }

    QString cellText(int i, int j) const override { return at(i, j).text; }
    void setCellText(int i, int j, const QString &text) override { at(i, j).text = text; }
    int cellValue(int i, int j) const override { return at(i, j).value; }
    void setCellValue(int i, int j, int value) override { at(i, j).value = value; }
    bool cellFixed(int i, int j) const override { return at(i, j).fixed; }
    void setCellFixed(int i, int j, bool fixed) override { at(i, j).fixed = fixed; }
    void setCellEnabled(int i, int j, bool enabled) override { at(i, j).enabled = enabled; }
    Rgb cellColor(int i, int j) const override { return at(i, j).color; }
    void setCellColor(int i, int j, Rgb color) override { at(i, j).color = color; }
    void setCellFontColor(int i, int j, Rgb color) override { at(i, j).fontColor = color; }
    void setCellFont(int i, int j, FontFit fit) override { at(i, j).font = fit; }
    void setBoardEnabled(bool enabled) override { boardEnabled = enabled; }

    std::array<std::array<Cell, 9>, 9> cells{};
    bool boardEnabled = false;
};
