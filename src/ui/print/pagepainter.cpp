#include "print/pagepainter.h"

#include "board/tntcell.h"
#include "board/tntstdsudoku.h"
#include "print/pdftextlayer.h"
#include "print/wordbank.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QHash>
#include <QLabel>
#include <QPainter>

#include <algorithm>

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

void paintWidget(QPainter &painter, const QWidget &widget)
{
    painter.setClipRect(widget.rect(), Qt::IntersectClip);
    if (const auto *cell = qobject_cast<const TTntcell *>(&widget)) {
        const QFont font = cell->font();
        noteDrawnText(painter, cell->text());
        cell->paintOn(painter, onDevice(font, painter.device()),
                      font.bold() && lacksBoldWeight(font));
    } else if (const auto *board = qobject_cast<const Ttntstdsudoku *>(&widget)) {
        board->paintOn(painter);
    } else if (const auto *bank = qobject_cast<const WordBank *>(&widget)) {
        bank->paintOn(painter);
    } else if (const auto *label = qobject_cast<const QLabel *>(&widget)) {
        paintLabel(painter, *label);
    } else if (widget.autoFillBackground()) {
        painter.fillRect(widget.rect(), widget.palette().window());
    }
    for (const QObject *object : widget.children()) {
        const auto *child = qobject_cast<const QWidget *>(object);
        if (!child || child->isWindow() || !child->isVisibleTo(&widget))
            continue;
        painter.save();
        painter.translate(child->pos());
        paintWidget(painter, *child);
        painter.restore();
    }
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
