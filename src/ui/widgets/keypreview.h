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

// The language keys shared by every window: F1, F2 and F3 give langid 0, 1 and 2, or -1.
int languageForKey(int key);
