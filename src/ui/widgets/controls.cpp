#include "widgets/controls.h"

#include <QPushButton>
#include <QScreen>
#include <QWidget>

QPushButton *addButton(QWidget *parent, const char *name, const QString &text,
                       const QRect &geometry)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(geometry);
    button->setAutoDefault(false);
    return button;
}

void centreOnScreen(QWidget *window)
{
    if (QScreen *screen = window->screen())
        window->move(screen->availableGeometry().center() -
                     QPoint(window->width() / 2, window->height() / 2));
}
