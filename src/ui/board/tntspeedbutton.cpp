#include "board/tntspeedbutton.h"

#include "board/celltext.h"
#include "widgets/fonts.h"

#include <QFontMetrics>
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
    QFont font = fontForText(this->font(), mycaption_);
    const QRect room = captionRect(size());
    for (int points = font.pointSize(); points > 6; --points) {
        const QRect need = QFontMetrics(font).boundingRect(room, kCaptionFlags, mycaption_);
        if (need.width() <= room.width() && need.height() <= room.height())
            break;
        font.setPointSize(points - 1);
    }
    return font;
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

    // The caption neither moves when pressed nor greys out.
    painter.setFont(captionFont());
    painter.setPen(palette().color(QPalette::Active, QPalette::WindowText));
    drawCellText(painter, size(), mycaption_);
}
