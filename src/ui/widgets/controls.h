#pragma once

#include <QRect>
#include <QString>

class QPushButton;
class QWidget;

// A push button named and placed as the window's layout gives it. No button of these windows
// reacts to Enter by itself, so none is made a default button.
QPushButton *addButton(QWidget *parent, const char *name, const QString &text,
                       const QRect &geometry);

// Moves a window to the middle of the screen it is on.
void centreOnScreen(QWidget *window);
