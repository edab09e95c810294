#pragma once

#include <QElapsedTimer>
#include <QObject>

// Notices every modal window that closes. A double-click that closes one (its OK, Yes or Start
// button) sends its second press to whatever lay beneath: the board must not take that press
// for a move.
class ModalCloseGuard : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY(ModalCloseGuard)

public:
    explicit ModalCloseGuard(QObject *parent = nullptr);
    ~ModalCloseGuard() override;

    // True within the double-click interval after a modal window closed.
    bool justClosed() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QElapsedTimer sinceClose_;
};
