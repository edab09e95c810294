#include "board/celltext.h"

#include <QFontMetrics>
#include <QPainter>

void drawCellText(QPainter &painter, const QSize &size, const QString &text)
{
    const int w = size.width(), h = size.height();
    constexpr int flags = kCaptionFlags;
    const QRect measure = captionRect(size);
    const QRect block = painter.fontMetrics().boundingRect(measure, flags, text);
    const int bottom = measure.top() + block.height();
    const int top = (h - bottom) / 2;
    const QRect target(2, top, w - 6, h - top);
    painter.save();
    painter.setClipRect(target, Qt::IntersectClip);
    painter.drawText(target, flags, text);
    painter.restore();
}
