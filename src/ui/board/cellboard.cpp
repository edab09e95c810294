#include "board/cellboard.h"

#include "engine/qj.h"

QString wordAt(const QStringList &words, int k)
{
    return k >= 1 && k <= words.size() ? words.at(k - 1) : QString();
}

void CellBoard::loadpuzzle(const TQJ &model, const QStringList &words)
{
    for (int i = 1; i <= 9; ++i) {
        for (int j = 1; j <= 9; ++j) {
            const TNode &node = model.node(i, j);
            setCellValue(i, j, node.value);
            const bool known = node.value >= 1 && node.value <= 9;
            setCellText(i, j,
                        node.given && known ? wordAt(words, node.value) : QStringLiteral(" "));
            setCellFixed(i, j, node.given);
            setCellEnabled(i, j, !node.given);
        }
    }
    Setbigcolor(bigcolor_);
    Setfixcolor(fixcolor_);
    shadeboxes();
}

void CellBoard::Setfixcolor(Rgb color)
{
    for (int i = 1; i <= 9; ++i)
        for (int j = 1; j <= 9; ++j)
            if (cellFixed(i, j))
                setCellFontColor(i, j, color);
    fixcolor_ = color;
}

void CellBoard::Setbigcolor(Rgb color)
{
    for (int i = 1; i <= 9; ++i)
        for (int j = 1; j <= 9; ++j)
            if (!cellFixed(i, j))
                setCellFontColor(i, j, color);
    bigcolor_ = color;
}

void CellBoard::shadeboxes()
{
    for (int i = 1; i <= 9; ++i)
        for (int j = 1; j <= 9; ++j)
            if (inEdgeMiddleBox(i, j))
                setCellColor(i, j, boardcolor::lightBlue);
}

void CellBoard::fitfonts()
{
    for (int i = 1; i <= 9; ++i)
        for (int j = 1; j <= 9; ++j)
            setCellFont(
                i, j, fontFor(kPlayBoardFonts, longestpiece(cellText(i, j), QStringLiteral(" "))));
}
