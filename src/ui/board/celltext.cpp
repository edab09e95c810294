#include "board/celltext.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <QTextLayout>

#include <cmath>

namespace {
// The glyphs drawText lays out in target, as one path: the lines wrapped at target's width,
// each centred, one under the other at whole pixels.
QPainterPath textOutline(const QFont &font, const QRect &target, const QString &text)
{
    QTextLayout layout(text, font);
    QTextOption option(Qt::AlignHCenter);
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    const qreal leading = QFontMetricsF(font).leading();
    qreal height = -leading;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(target.width());
        height = std::ceil(height + leading);
        line.setPosition(QPointF(0, height));
        height += line.height();
    }
    layout.endLayout();
    QPainterPath path;
    for (const QGlyphRun &run : layout.glyphRuns()) {
        const QRawFont raw = run.rawFont();
        const QList<quint32> glyphs = run.glyphIndexes();
        const QList<QPointF> positions = run.positions();
        for (qsizetype k = 0; k < glyphs.size(); ++k)
            path.addPath(raw.pathForGlyph(glyphs.at(k)).translated(positions.at(k)));
    }
    return path.translated(target.topLeft());
}
} // namespace

void drawCellText(QPainter &painter, const QSize &size, const QString &text, bool outlined)
{
    const int w = size.width(), h = size.height();
    const QRect measure = captionRect(size);
    const QRect block = painter.fontMetrics().boundingRect(measure, kCaptionFlags, text);
    const int bottom = measure.top() + block.height();
    const int top = (h - bottom) / 2;
    const QRect target(2, top, w - 6, h - top);
    painter.save();
    painter.setClipRect(target, Qt::IntersectClip);
    if (!outlined) {
        painter.drawText(target, kCaptionFlags, text);
    } else {
        // The regular glyphs with their outlines stroked: as wide as the bold the toolkit fakes
        // on the screen, and as wide on paper, where the faked one all but vanishes.
        QFont regular(painter.font(), painter.device());
        regular.setBold(false);
        painter.setFont(regular);
        painter.drawText(target, kCaptionFlags, text);
        const qreal pixels = regular.pixelSize() > 0
                                 ? regular.pixelSize()
                                 : regular.pointSizeF() * painter.device()->logicalDpiY() / 72;
        painter.setBrush(Qt::NoBrush);
        painter.setPen(
            QPen(painter.pen().color(), pixels / 20, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawPath(textOutline(regular, target, text));
    }
    painter.restore();
}
