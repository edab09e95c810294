#include "widgets/panels.h"

#include <QFontMetrics>
#include <QPainter>

void RoundedShape::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::white);
    const int radius = std::min(width(), height()) / 8;
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
}

RuleText::RuleText(QWidget *parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setMargin(2);
    QPalette ink = palette();
    ink.setColor(QPalette::WindowText, Qt::black);
    setPalette(ink);
}

void RuleText::fit(QFont base)
{
    const QRect room = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    for (int points = 10; points >= 7; --points) {
        base.setPointSize(points);
        const QRect need = QFontMetrics(base).boundingRect(
            room, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text());
        if (need.height() <= room.height() && need.width() <= room.width())
            break;
    }
    if (base != font())
        setFont(base);
}

void BevelPanel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QPalette &pal = palette();
    const QRect r = rect();
    auto edge = [&painter](const QRect &box, const QColor &topLeft, const QColor &bottomRight) {
        painter.setPen(topLeft);
        painter.drawLine(box.topLeft(), box.topRight());
        painter.drawLine(box.topLeft(), box.bottomLeft());
        painter.setPen(bottomRight);
        painter.drawLine(box.bottomLeft(), box.bottomRight());
        painter.drawLine(box.topRight(), box.bottomRight());
    };
    edge(r, pal.color(QPalette::Light), pal.color(QPalette::Dark));
    edge(r.adjusted(1, 1, -1, -1), pal.color(QPalette::Dark), pal.color(QPalette::Light));
}
