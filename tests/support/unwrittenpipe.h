#pragma once

#include <QFile>
#include <QString>

#include <atomic>
#include <chrono>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// A named pipe that nobody writes to. A reader that opened it would wait for a writer for ever;
// while this object lives, a thread plays that writer now and then, so such a reader gets an end
// of file and the test fails instead of hanging.
class UnwrittenPipe {
public:
    explicit UnwrittenPipe(const QString &path) : path_(QFile::encodeName(path))
    {
        ok_ = ::mkfifo(path_.constData(), 0600) == 0;
        if (ok_)
            releaser_ = std::thread([this] {
                while (!stop_) {
                    // Fails at once while no reader waits.
                    const int fd = ::open(path_.constData(), O_WRONLY | O_NONBLOCK);
                    if (fd >= 0)
                        ::close(fd);
                    std::this_thread::sleep_for(std::chrono::milliseconds(50));
                }
            });
    }
    ~UnwrittenPipe()
    {
        stop_ = true;
        if (releaser_.joinable())
            releaser_.join();
        if (ok_)
            ::unlink(path_.constData());
    }
    UnwrittenPipe(const UnwrittenPipe &) = delete;
    UnwrittenPipe &operator=(const UnwrittenPipe &) = delete;

    bool ok() const { return ok_; }

private:
    QByteArray path_;
    bool ok_ = false;
    std::atomic<bool> stop_{false};
    std::thread releaser_;
};
