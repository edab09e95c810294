#include "widgets/keypreview.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

KeyPreview::KeyPreview(QWidget *window, Handler handler)
    : QObject(window), window_(window), handler_(std::move(handler))
{
    qApp->installEventFilter(this);
}

KeyPreview::~KeyPreview()
{
    qApp->removeEventFilter(this);
}

bool KeyPreview::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    // A key goes first to the focused control (or the window when nothing has the focus), then
    // to the parents of a control that ignored it; act on the first delivery only.
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget || widget->window() != window_)
        return false;
    QWidget *focus = QApplication::focusWidget();
    const QWidget *first = focus && focus->window() == window_ ? focus : window_;
    if (widget != first)
        return false;
    handler_(static_cast<QKeyEvent *>(event));
    return false;
}

int languageForKey(int key)
{
    switch (key) {
    case Qt::Key_F1:
        return 0;
    case Qt::Key_F2:
        return 1;
    case Qt::Key_F3:
        return 2;
    default:
        return -1;
    }
}
