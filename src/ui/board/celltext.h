#pragma once

#include <QString>

class QPainter;
class QSize;

// Draws text the way board cells and palette buttons show it: laid out in the rectangle
// (2, 2)-(W-4, H-4) wrapped at word boundaries and centred, the block then moved down to
// (H - B) / 2 where B is its measured bottom edge, and clipped. Uses the painter's font and pen.
// outlined draws the regular glyphs with their outlines stroked a twentieth of the font's size
// wide: a bold that a face without a bold weight shows at any size and on any device.
void drawCellText(QPainter &painter, const QSize &size, const QString &text, bool outlined = false);
