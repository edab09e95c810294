#include "windows/endsignals.h"

#include <QSocketNotifier>

#if defined(Q_OS_UNIX)
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {
constexpr int kSignals[] = {SIGTERM, SIGHUP};
// The pipe's ends, read end first; one set for the process, as the handlers are.
int pipeEnds[2] = {-1, -1};

void onsignal(int number)
{
    const int saved = errno;
    const unsigned char byte = static_cast<unsigned char>(number);
    // A full pipe already holds a signal to handle; losing this one changes nothing.
    [[maybe_unused]] const ssize_t written = ::write(pipeEnds[1], &byte, 1);
    errno = saved;
}

bool openpipe()
{
    if (::pipe(pipeEnds) != 0)
        return false;
    for (const int end : pipeEnds) {
        ::fcntl(end, F_SETFD, FD_CLOEXEC);
        ::fcntl(end, F_SETFL, ::fcntl(end, F_GETFL) | O_NONBLOCK);
    }
    return true;
}
} // namespace

EndSignals::EndSignals(QObject *parent) : QObject(parent)
{
    if (pipeEnds[0] >= 0 || !openpipe())
        return; // one watcher per process; without a pipe the signals keep their default
    notifier_ = new QSocketNotifier(pipeEnds[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &EndSignals::readsignal);
    struct sigaction action = {};
    action.sa_handler = onsignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int number : kSignals)
        ::sigaction(number, &action, nullptr);
}

EndSignals::~EndSignals()
{
    if (!notifier_)
        return;
    for (const int number : kSignals)
        std::signal(number, SIG_DFL);
    delete notifier_;
    for (int &end : pipeEnds) {
        ::close(end);
        end = -1;
    }
}

void EndSignals::readsignal()
{
    unsigned char byte = 0;
    while (::read(pipeEnds[0], &byte, 1) == 1)
        emit received(byte);
}
#else
EndSignals::EndSignals(QObject *parent) : QObject(parent) {}
EndSignals::~EndSignals() = default;
void EndSignals::readsignal() {}
#endif
