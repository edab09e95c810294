#include "board/cellboard.h"

#include "engine/qj.h"

int longestpiece(const QString &text, const QString &separator)
{
    const QStringView rest = trimmedBlanks(text);
    if (rest.isEmpty())
        return 0;
    int longest = 0;
    for (const QStringView piece : rest.split(separator))
        longest = std::max(longest, int(piece.size()));
    return longest;
}

FontFit fitForPiece(int n)
{
    switch (n) {
    case 1:
        return {18, true};
    case 0:
    case 2:
    case 3:
        return {14, true};
    case 4:
        return {12, true};
    case 5:
    case 6:
        return {10, true};
    default:
        // Longer words too: at 6 points their letters stood about 7 pixels high. A word too wide
        // for the cell at 8 is drawn smaller by the cell itself.
        return {8, true};
    }
}

int wordPoints(int length)
{
    if (length <= 0)
        return 0;
    return length == 1 ? 20 : length <= 3 ? 15 : 12;
}

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
            setCellFont(i, j, fitForPiece(longestpiece(cellText(i, j), QStringLiteral(" "))));
}
