#pragma once

#include <QObject>

class QSocketNotifier;

// SIGTERM and SIGHUP (a desktop session that ends, a terminal that closes) reported on the event
// loop, where the program may still write its files: the handler only writes a byte into a pipe
// that a socket notifier watches. Nothing is caught on a system without these signals.
class EndSignals : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY(EndSignals)

public:
    explicit EndSignals(QObject *parent = nullptr);
    // The signals end the process again, as they did before.
    ~EndSignals() override;

signals:
    void received(int signal);

private:
    void readsignal();

    QSocketNotifier *notifier_ = nullptr;
};
