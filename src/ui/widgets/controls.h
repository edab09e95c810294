#pragma once

#include <QRect>
#include <QString>

class QPushButton;
class QWidget;

// A push button named and placed as the window's layout gives it. None becomes the default
// button by taking the focus; a dialog names its default button itself.
QPushButton *addButton(QWidget *parent, const char *name, const QString &text,
                       const QRect &geometry);

// Moves a window to the middle of the screen it is on.
void centreOnScreen(QWidget *window);
