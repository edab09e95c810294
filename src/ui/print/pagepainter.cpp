#include "print/pagepainter.h"

#include "board/tntcell.h"
#include "board/tntstdsudoku.h"
#include "print/pdfbold.h"
#include "print/pdftextlayer.h"
#include "print/wordbank.h"
#include "text/textrules.h"
#include "widgets/fonts.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QHash>
#include <QLabel>
#include <QPainter>

#include <algorithm>
#include <map>

namespace {
// Point sizes are meant at 96 pixels per inch; the device resolves them at its own.
QFont onDevice(const QFont &font, const QPaintDevice *device)
{
    if (font.pointSizeF() <= 0 || !device)
        return font;
    QFont scaled(font);
    scaled.setPointSizeF(font.pointSizeF() * 96.0 / device->logicalDpiY());
    return scaled;
}

void paintLabel(QPainter &painter, const QLabel &label)
{
    painter.setFont(onDevice(label.font(), painter.device()));
    painter.setPen(label.palette().color(QPalette::WindowText));
    int flags = int(label.alignment());
    if (label.wordWrap())
        flags |= Qt::TextWordWrap;
    noteDrawnText(painter, label.text());
    painter.drawText(label.contentsRect(), flags, label.text());
}

// How the cell's words are drawn when the font is a bold its face does not have.
FakedBold fakedBold(const QPainter &painter, const QFont &font, const QString &text)
{
    if (!font.bold() || !lacksBoldWeight(fontForText(font, text)))
        return FakedBold::AsFont;
    return FakedBoldMend::on(painter.device()) ? FakedBold::ForPdf : FakedBold::Outlined;
}

bool paintsPlainly(const TTntcell &cell)
{
    return cell.notes().isEmpty() && !cell.isEnter() && !cell.isCursor();
}

// Whether what the widget paints may reach beyond its rectangle, which is then clipped. A clip
// costs a PDF the whole clip path again at every later change of state, so a widget whose
// painting stays inside is not clipped: a plain cell (drawCellText clips what would leave the
// text rectangle) and a panel, as long as the children lie inside too. A board is, once for
// all its cells.
bool mayLeaveItsRect(const QWidget &widget)
{
    if (const auto *cell = qobject_cast<const TTntcell *>(&widget); cell && !paintsPlainly(*cell))
        return true;
    // The outer grid lines are centred on the board's edges; a glyph may reach a pixel beyond
    // the advance that a label's drawText keeps within the contents rectangle.
    if (qobject_cast<const Ttntstdsudoku *>(&widget) || qobject_cast<const WordBank *>(&widget) ||
        qobject_cast<const QLabel *>(&widget))
        return true;
    const QRect children = widget.childrenRect();
    return !children.isEmpty() && !widget.rect().contains(children);
}

void paintWidget(QPainter &painter, const QWidget &widget);

// A board's cells as each paints itself, but in the board's coordinates and a colour at a time:
// the fills, then the words. A PDF then writes a change of state for each colour rather than
// several for each cell. Cells never overlap, so the order makes no difference to the pixels.
void paintCells(QPainter &painter, const QList<const TTntcell *> &cells)
{
    std::map<QRgb, QList<QRect>> fills;
    std::map<QRgb, QList<const TTntcell *>> words;
    for (const TTntcell *cell : cells) {
        fills[cell->color().rgba()].append(cell->geometry());
        if (!isEmptyText(cell->text()))
            words[cell->fontColor().rgba()].append(cell);
    }
    painter.save();
    painter.setPen(Qt::NoPen);
    for (const auto &[colour, rects] : fills) {
        painter.setBrush(QColor::fromRgba(colour));
        painter.drawRects(rects.constData(), int(rects.size()));
    }
    painter.setBrush(Qt::NoBrush);
    for (const auto &[colour, list] : words) {
        painter.setPen(QColor::fromRgba(colour));
        QList<CellTextJob> jobs;
        for (const TTntcell *cell : list) {
            const QFont font = onDevice(cell->font(), painter.device());
            noteDrawnText(painter, cell->text());
            jobs.append({cell->geometry(), cell->text(),
                         QFont(fontForText(font, cell->text()), painter.device()),
                         fakedBold(painter, font, cell->text())});
        }
        drawCellTexts(painter, jobs);
    }
    painter.restore();
}

void paintChild(QPainter &painter, const QWidget &child)
{
    painter.save();
    painter.translate(child.pos());
    paintWidget(painter, child);
    painter.restore();
}

void paintWidget(QPainter &painter, const QWidget &widget)
{
    const auto *cell = qobject_cast<const TTntcell *>(&widget);
    if (mayLeaveItsRect(widget))
        painter.setClipRect(widget.rect(), Qt::IntersectClip);
    if (cell) {
        const QFont font = onDevice(cell->font(), painter.device());
        noteDrawnText(painter, cell->text());
        cell->paintOn(painter, font, fakedBold(painter, font, cell->text()));
    } else if (const auto *board = qobject_cast<const Ttntstdsudoku *>(&widget)) {
        board->paintOn(painter);
    } else if (const auto *bank = qobject_cast<const WordBank *>(&widget)) {
        bank->paintOn(painter);
    } else if (const auto *label = qobject_cast<const QLabel *>(&widget)) {
        paintLabel(painter, *label);
    } else if (widget.autoFillBackground()) {
        painter.fillRect(widget.rect(), widget.palette().window());
    }
    QList<const QWidget *> children;
    QList<const TTntcell *> cells;
    for (const QObject *object : widget.children()) {
        const auto *child = qobject_cast<const QWidget *>(object);
        if (!child || child->isWindow() || !child->isVisibleTo(&widget))
            continue;
        const auto *childCell = qobject_cast<const TTntcell *>(child);
        if (childCell && paintsPlainly(*childCell))
            cells.append(childCell);
        else
            children.append(child);
    }
    if (!cells.isEmpty())
        paintCells(painter, cells);
    for (const QWidget *child : std::as_const(children))
        paintChild(painter, *child);
}
} // namespace

QRect pageContent(const QWidget *root)
{
    const QRect held = root->childrenRect();
    return held.isEmpty() ? root->rect() : held;
}

QTransform sheetTransform(const QRect &content, const QSizeF &area)
{
    if (content.isEmpty() || area.isEmpty())
        return {};
    const qreal scale = std::min(area.width() / content.width(), area.height() / content.height());
    QTransform transform;
    transform.translate((area.width() - scale * content.width()) / 2, 0);
    transform.scale(scale, scale);
    transform.translate(-content.left(), -content.top());
    return transform;
}

void fitPageToDevice(QPainter &painter, const QRect &content)
{
    const QPaintDevice *device = painter.device();
    painter.setTransform(sheetTransform(content, QSizeF(device->width(), device->height())));
}

void paintPage(QPainter &painter, const QWidget *root)
{
    painter.save();
    paintWidget(painter, *root);
    painter.restore();
}

bool lacksBoldWeight(const QFont &font)
{
    static QHash<QString, bool> known;
    const QString family = QFontInfo(font).family();
    if (const auto found = known.constFind(family); found != known.constEnd())
        return *found;
    bool lacks = true;
    for (const QString &style : QFontDatabase::styles(family))
        if (QFontDatabase::weight(family, style) >= QFont::Bold)
            lacks = false;
    known.insert(family, lacks);
    return lacks;
}
