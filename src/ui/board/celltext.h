#pragma once

#include <QRect>
#include <QString>

class QPainter;

constexpr int kCaptionFlags = Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap;
// Where the text of a cell or button of this size is laid out: (2, 2)-(W-4, H-4).
inline QRect captionRect(const QSize &size)
{
    return {2, 2, size.width() - 6, size.height() - 6};
}

// Draws text the way board cells and palette buttons show it: laid out in the rectangle
// (2, 2)-(W-4, H-4) wrapped at word boundaries and centred, the block then moved down to
// (H - B) / 2 where B is its measured bottom edge, and clipped. Uses the painter's font and pen.
// outlined draws the regular glyphs with their outlines stroked a twentieth of the font's size
// wide: a bold that a face without a bold weight shows at any size and on any device.
void drawCellText(QPainter &painter, const QSize &size, const QString &text, bool outlined = false);
