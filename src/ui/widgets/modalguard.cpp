#include "widgets/modalguard.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

ModalCloseGuard::ModalCloseGuard(QObject *parent) : QObject(parent)
{
    qApp->installEventFilter(this);
}

ModalCloseGuard::~ModalCloseGuard()
{
    qApp->removeEventFilter(this);
}

bool ModalCloseGuard::justClosed() const
{
    return sinceClose_.isValid() && sinceClose_.elapsed() < QApplication::doubleClickInterval();
}

bool ModalCloseGuard::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Hide && watched->isWidgetType()) {
        const auto *widget = static_cast<QWidget *>(watched);
        if (widget->isWindow() && widget->isModal())
            sinceClose_.start();
    }
    return false;
}
