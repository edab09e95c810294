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
    if (!firstKeyDelivery(watched, event, window_))
        return false;
    handler_(static_cast<QKeyEvent *>(event));
    return false;
}

QWidget *firstKeyDelivery(QObject *watched, QEvent *event, QWidget *window)
{
    if (event->type() != QEvent::KeyPress)
        return nullptr;
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget || widget->window() != window)
        return nullptr;
    QWidget *focus = QApplication::focusWidget();
    QWidget *first = focus && focus->window() == window ? focus : window;
    return widget == first ? first : nullptr;
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
