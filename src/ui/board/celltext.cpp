#include "board/celltext.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QHash>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace {
// Lines of whole words: a word goes on the line before it while the line's advance stays within
// width. A word wider than width stands alone; it is never broken.
QStringList breakAtSpaces(const QFontMetricsF &fm, const QString &text, qreal width)
{
    const QStringList words = text.split(QLatin1Char(' '));
    QStringList lines;
    QString line = words.first();
    for (qsizetype k = 1; k < words.size(); ++k) {
        const QString longer = line + QLatin1Char(' ') + words.at(k);
        if (fm.horizontalAdvance(longer) <= width) {
            line = longer;
        } else {
            lines.append(line);
            line = words.at(k);
        }
    }
    lines.append(line);
    return lines;
}

// Where the block's first line starts in a box of height h: (h - B) / 2 with B its bottom edge
// in the text rectangle, in whole units as the text rectangle's measure gives it.
int blockTop(int h, qreal blockHeight)
{
    const int bottom = 2 + int(std::ceil(blockHeight - 1e-6));
    return (h - bottom) / 2;
}

qreal lineTop(int top, qreal step, qsizetype k)
{
    return top + std::round(k * step);
}

qreal lineLeft(const QRect &room, qreal advance)
{
    return room.left() + (room.width() - advance) / 2;
}

qreal pixelsOf(const QFont &font, const QPaintDevice *device)
{
    if (font.pixelSize() > 0)
        return font.pixelSize();
    return font.pointSizeF() * (device ? device->logicalDpiY() : 96) / 72;
}

// Sets text at the font's size; fits tells whether all ink stays in the text rectangle.
// widthShare is the room for ink over the widest line's ink.
CaptionLayout measure(const QFont &font, const QString &text, const QSize &size,
                      const QPaintDevice *device, qreal inkSpread, qreal &widthShare)
{
    const QFontMetricsF fm = device ? QFontMetricsF(font, device) : QFontMetricsF(font);
    const QRect room = captionRect(size);
    CaptionLayout layout;
    layout.font = font;
    layout.lines = breakAtSpaces(fm, text, room.width());
    layout.lineStep = fm.height() + std::max<qreal>(0, fm.leading());
    const qsizetype n = layout.lines.size();
    layout.blockHeight = fm.height() + (n - 1) * layout.lineStep;
    const qreal spread = inkSpread * pixelsOf(font, device);
    const int top = blockTop(size.height(), layout.blockHeight);
    bool fits = layout.blockHeight <= room.height();
    qreal widest = 0;
    QRectF inkArea;
    for (qsizetype k = 0; k < n; ++k) {
        const QString &line = layout.lines.at(k);
        const QRectF ink = fm.tightBoundingRect(line);
        if (ink.isEmpty())
            continue;
        widest = std::max(widest, ink.width() + 2 * spread);
        const qreal x = lineLeft(room, fm.horizontalAdvance(line));
        const qreal baseline = lineTop(top, layout.lineStep, k) + fm.ascent();
        inkArea |= ink.translated(x, baseline).adjusted(-spread, -spread, spread, spread);
        // A pixel of air on either side, so that a word never runs into the cell's edge.
        fits = fits && x + ink.left() - spread >= room.left() + 1 &&
               x + ink.right() + spread <= room.left() + room.width() - 1 &&
               baseline + ink.top() - spread >= room.top() &&
               baseline + ink.bottom() + spread <= room.top() + room.height();
    }
    widthShare = widest > 0 ? (room.width() - 2) / widest : 1;
    layout.fits = fits;
    layout.ink = inkArea;
    return layout;
}

// What drawCellText sets a text in, fonts made for the device so that drawing them on it loads
// nothing.
struct CellText {
    CaptionLayout layout;
    QFont drawn;            // the fitted font, faked bold for FakedBold::ForPdf
    QList<QPointF> origins; // of the lines, in the box
    // Each line shaped in the drawn font, its glyphs placed from the line's top left: a PDF
    // writer is given these, which spares it the shaping and the font's look-up every time.
    QList<QList<QGlyphRun>> runs;
    QList<qreal> ascents;
};

// A board repaints the same few words at the same sizes, and the print boards of a class set
// on every sheet: each is fitted once for a font, a box and a device's resolution.
struct CellTextKey {
    QFont font;
    QString text;
    QSize size;
    int dpiX, dpiY;
    FakedBold bold;
    bool operator==(const CellTextKey &o) const
    {
        return font == o.font && font.families() == o.font.families() && text == o.text &&
               size == o.size && dpiX == o.dpiX && dpiY == o.dpiY && bold == o.bold;
    }
};

size_t qHash(const CellTextKey &key, size_t seed = 0)
{
    return qHashMulti(seed, key.font, key.text, key.size.width(), key.size.height(), key.dpiY,
                      int(key.bold));
}

const CellText &cellText(const QFont &font, const QString &text, const QSize &size,
                         const QPaintDevice *device, FakedBold bold)
{
    static QHash<CellTextKey, CellText> known;
    const CellTextKey key{font, text, size, device->logicalDpiX(), device->logicalDpiY(), bold};
    if (const auto found = known.constFind(key); found != known.constEnd())
        return *found;
    if (known.size() >= 4096)
        known.clear();
    QFont wanted = font;
    if (bold != FakedBold::AsFont)
        wanted.setBold(false);
    // The stroke reaches half its width beyond the glyphs.
    const qreal spread = bold != FakedBold::AsFont ? kOutlineShare / 2 : 0;
    CellText set;
    set.layout = fitCaption(wanted, text, size, device, spread);
    set.layout.font = QFont(set.layout.font, device);
    set.drawn = set.layout.font;
    if (bold == FakedBold::ForPdf)
        set.drawn.setBold(true);
    const QFontMetricsF fm(set.layout.font, device);
    const QRect room = captionRect(size);
    const int top = blockTop(size.height(), set.layout.blockHeight);
    for (qsizetype k = 0; k < set.layout.lines.size(); ++k) {
        const QString &line = set.layout.lines.at(k);
        set.origins.append({lineLeft(room, fm.horizontalAdvance(line)),
                            lineTop(top, set.layout.lineStep, k) + fm.ascent()});
        QTextLayout shaped(line, set.drawn, device);
        shaped.beginLayout();
        QTextLine shapedLine = shaped.createLine();
        shaped.endLayout();
        set.runs.append(shaped.glyphRuns());
        set.ascents.append(shapedLine.isValid() ? shapedLine.ascent() : 0);
    }
    return *known.insert(key, set);
}
} // namespace

CaptionLayout fitCaption(const QFont &font, const QString &text, const QSize &size,
                         const QPaintDevice *device, qreal inkSpread)
{
    QFont f = font;
    const bool points = f.pixelSize() <= 0;
    qreal current = points ? f.pointSizeF() : f.pixelSize();
    // A point as the screen shows it: on a printer's finer grid, a fraction of one of its points.
    const qreal dpi = device ? device->logicalDpiY() : 96;
    const qreal unit = points ? std::min<qreal>(1, 96 / std::max<qreal>(1, dpi)) : 1;
    for (;;) {
        qreal widthShare = 1;
        CaptionLayout layout = measure(f, text, size, device, inkSpread, widthShare);
        if (layout.fits || current - unit < unit - 1e-9)
            return layout;
        qreal next = current - unit;
        // Widths shrink with the size: skip the sizes at which the widest word cannot fit.
        if (widthShare < 1)
            next = std::min(next, std::max(unit, unit * std::ceil(current * widthShare / unit)));
        current = next;
        if (points)
            f.setPointSizeF(current);
        else
            f.setPixelSize(int(current));
    }
}

namespace {
bool clipped(const CellText &set, const QSize &size)
{
    const int top = blockTop(size.height(), set.layout.blockHeight);
    const QRect clip(2, top, size.width() - 6, size.height() - top);
    return !QRectF(clip).adjusted(1, 1, -1, -1).contains(set.layout.ink);
}

bool onPdf(const QPainter &painter)
{
    return painter.paintEngine() && painter.paintEngine()->type() == QPaintEngine::Pdf;
}
} // namespace

void drawCellTexts(QPainter &painter, const QList<CellTextJob> &jobs)
{
    QList<QGlyphRun> merged;
    for (const CellTextJob &job : jobs) {
        const CellText &set =
            cellText(job.font, job.text, job.box.size(), painter.device(), job.bold);
        if (!onPdf(painter) || job.bold == FakedBold::Outlined || clipped(set, job.box.size())) {
            painter.setFont(job.font);
            drawCellText(painter, job.box, job.text, job.bold);
            continue;
        }
        for (qsizetype k = 0; k < set.runs.size(); ++k) {
            const QPointF shift =
                job.box.topLeft() + set.origins.at(k) - QPointF(0, set.ascents.at(k));
            for (const QGlyphRun &run : set.runs.at(k)) {
                auto into = std::find_if(merged.begin(), merged.end(), [&run](const QGlyphRun &m) {
                    return m.rawFont() == run.rawFont();
                });
                if (into == merged.end()) {
                    QGlyphRun empty;
                    empty.setRawFont(run.rawFont());
                    into = merged.insert(merged.end(), empty);
                }
                QList<quint32> glyphs = into->glyphIndexes();
                QList<QPointF> positions = into->positions();
                glyphs += run.glyphIndexes();
                for (const QPointF &position : run.positions())
                    positions.append(position + shift);
                into->setGlyphIndexes(glyphs);
                into->setPositions(positions);
            }
        }
    }
    for (const QGlyphRun &run : std::as_const(merged))
        painter.drawGlyphRun(QPointF(), run);
}

void drawCellText(QPainter &painter, const QRect &box, const QString &text, FakedBold bold)
{
    const QSize size = box.size();
    const CellText &set = cellText(painter.font(), text, size, painter.device(), bold);
    const CaptionLayout &layout = set.layout;
    const int top = blockTop(size.height(), layout.blockHeight);
    const QRect clip(2, top, size.width() - 6, size.height() - top);
    // In the painter's coordinates rather than under a translation of its own: a PDF writes out
    // every change of transformation, and at every change of state the whole clip path again.
    // So only ink that comes within a pixel of the edge is clipped.
    const QPointF at = box.topLeft();
    const bool pdf = onPdf(painter);
    painter.save();
    if (clipped(set, size))
        painter.setClipRect(clip.translated(box.topLeft()), Qt::IntersectClip);
    painter.setFont(set.drawn);
    QPainterPath outline;
    for (qsizetype k = 0; k < layout.lines.size(); ++k) {
        const QString &line = layout.lines.at(k);
        const QPointF origin = at + set.origins.at(k);
        if (pdf) {
            for (const QGlyphRun &run : set.runs.at(k))
                painter.drawGlyphRun(origin - QPointF(0, set.ascents.at(k)), run);
        } else {
            painter.drawText(origin, line);
        }
        if (bold == FakedBold::Outlined)
            outline.addText(origin, layout.font, line);
    }
    if (bold == FakedBold::Outlined) {
        // The regular glyphs with their outlines stroked: as wide as the bold the toolkit fakes
        // on the screen, and as wide on paper, where the faked one all but vanishes.
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(painter.pen().color(),
                            pixelsOf(layout.font, painter.device()) * kOutlineShare, Qt::SolidLine,
                            Qt::RoundCap, Qt::RoundJoin));
        painter.drawPath(outline);
    }
    painter.restore();
}
