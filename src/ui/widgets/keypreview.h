#pragma once

#include <QObject>

#include <functional>

class QKeyEvent;
class QWidget;

// Shows a window every key pressed in it before its focused control sees it. The handler
// never consumes the key: the control still gets it.
class KeyPreview : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY(KeyPreview)

public:
    using Handler = std::function<void(QKeyEvent *event)>;
    KeyPreview(QWidget *window, Handler handler);
    ~KeyPreview() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *window_;
    Handler handler_;
};

// The control a key pressed in window reaches first (the focused one, or the window when nothing
// has the focus) when watched is that control and event a key press; null otherwise. A key goes
// on to the parents of a control that ignores it, and a filter should act on its first delivery
// only.
QWidget *firstKeyDelivery(QObject *watched, QEvent *event, QWidget *window);

// The language keys shared by every window: F1, F2 and F3 give langid 0, 1 and 2, or -1.
int languageForKey(int key);
