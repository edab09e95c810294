#include "board/tntcell.h"

#include "board/cellaccessible.h"
#include "board/cellboard.h"
#include "board/celltext.h"
#include "widgets/fonts.h"

#include <QAccessible>
#include <QMouseEvent>
#include <QPainter>

TTntcell::TTntcell(QWidget *parent) : QWidget(parent)
{
    resize(30, 30);
    setAttribute(Qt::WA_OpaquePaintEvent);
    installCellAccessibility();
}

void TTntcell::Setisfixed(bool fixed)
{
    isfixed_ = fixed;
}

void TTntcell::Setvalue(int value)
{
    value_ = value;
}

void TTntcell::SetisEnter(bool enter)
{
    if (enter == isEnter_)
        return;
    isEnter_ = enter;
    update();
}

void TTntcell::SetisCursor(bool cursor)
{
    if (cursor == isCursor_)
        return;
    isCursor_ = cursor;
    update();
}

void TTntcell::setText(const QString &text)
{
    if (text == text_)
        return;
    text_ = text;
    update();
    if (QAccessible::isActive()) {
        QAccessibleEvent event(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
}

void TTntcell::setColor(const QColor &color)
{
    if (color == color_)
        return;
    color_ = color;
    update();
}

void TTntcell::setFontColor(const QColor &color)
{
    if (color == fontColor_)
        return;
    fontColor_ = color;
    update();
}

void TTntcell::setNotes(const QStringList &marks)
{
    if (marks == notes_)
        return;
    notes_ = marks;
    update();
}

void TTntcell::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paintOn(painter, font());
}

void TTntcell::paintOn(QPainter &painter, const QFont &font, FakedBold bold) const
{
    painter.fillRect(rect(), color_);
    // Most cells are empty; laying out their blanks would show nothing.
    if (!isEmptyText(text_)) {
        painter.setFont(fontForText(font, text_));
        painter.setPen(fontColor_);
        drawCellText(painter, rect(), text_, bold);
    } else if (!notes_.isEmpty()) {
        // A third of the cell a mark: legible at 8 points in the Latin and the CJK faces.
        QFont small = font;
        small.setPointSize(8);
        small.setBold(false);
        painter.setPen(QColor(0x40, 0x40, 0x40));
        const int w = width() / 3, h = height() / 3;
        for (int k = 0; k < 9 && k < notes_.size(); ++k) {
            if (notes_.at(k).isEmpty())
                continue;
            painter.setFont(fontForText(small, notes_.at(k)));
            painter.drawText(QRect(k % 3 * w, k / 3 * h, w, h), Qt::AlignCenter, notes_.at(k));
        }
    }
    if (isEnter_) {
        painter.setPen(QPen(Qt::black, 1));
        painter.setBrush(Qt::NoBrush);
        // Outline from (1, 1) to (W - 1, H - 1), the far edges exclusive.
        painter.drawRect(1, 1, width() - 3, height() - 3);
    }
    if (isCursor_) {
        painter.setPen(
            QPen(QColor(0x00, 0x00, 0x80), 3, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(4, 4, width() - 9, height() - 9);
    }
}

void TTntcell::mousePressEvent(QMouseEvent *event)
{
    emit mouseDown(this, event->button());
}

void TTntcell::enterEvent(QEnterEvent *)
{
    if (isEnabled())
        emit mouseEnter(this);
}

void TTntcell::leaveEvent(QEvent *)
{
    // A cell disabled under the pointer must still lose its frame when the pointer goes.
    if (isEnabled() || isEnter_)
        emit mouseLeave(this);
}
