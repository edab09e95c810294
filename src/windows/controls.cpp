#include "windows/controls.h"

#include <QPushButton>

QPushButton *addButton(QWidget *parent, const char *name, const QString &text,
                       const QRect &geometry)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(geometry);
    button->setAutoDefault(false);
    return button;
}
