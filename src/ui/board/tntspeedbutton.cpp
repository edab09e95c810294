#include "board/tntspeedbutton.h"

#include "board/celltext.h"
#include "widgets/fonts.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>

TTntspeedbutton::TTntspeedbutton(QWidget *parent) : QAbstractButton(parent)
{
    resize(30, 30);
    setAttribute(Qt::WA_Hover);
}

void TTntspeedbutton::Setmycaption(const QString &caption)
{
    if (caption == mycaption_)
        return;
    mycaption_ = caption;
    update();
}

QFont TTntspeedbutton::captionFont() const
{
    return fitCaption(fontForText(this->font(), mycaption_), mycaption_, size(), this).font;
}

void TTntspeedbutton::Setisfixed(bool fixed)
{
    isfixed_ = fixed;
}

void TTntspeedbutton::Setvalue(int value)
{
    value_ = value;
}

void TTntspeedbutton::SetisEnter(bool enter)
{
    if (enter == isEnter_)
        return;
    isEnter_ = enter;
    update();
}

void TTntspeedbutton::setRemaining(int remaining)
{
    if (remaining == remaining_)
        return;
    remaining_ = remaining;
    update();
}

void TTntspeedbutton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QStyleOptionButton option;
    option.initFrom(this);
    if (isDown() || isChecked())
        option.state |= QStyle::State_Sunken;
    if (isChecked())
        option.state |= QStyle::State_On;
    else if (!isDown())
        option.state |= QStyle::State_Raised;
    style()->drawControl(QStyle::CE_PushButtonBevel, &option, &painter, this);

    // The caption neither moves when pressed nor greys out, but for a word placed nine times.
    painter.setFont(fontForText(font(), mycaption_));
    painter.setPen(palette().color(remaining_ == 0 ? QPalette::Disabled : QPalette::Active,
                                   QPalette::WindowText));
    drawCellText(painter, rect(), mycaption_);
    if (remaining_ > 0) {
        QFont small = font();
        small.setPointSize(7);
        small.setBold(false);
        painter.setFont(small);
        painter.setPen(palette().color(QPalette::Active, QPalette::WindowText));
        painter.drawText(rect().adjusted(0, 0, -4, -2), Qt::AlignRight | Qt::AlignBottom,
                         QString::number(remaining_));
    }
}
