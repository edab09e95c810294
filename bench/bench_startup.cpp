// Start-up cost of the program beside the floor of a bare Qt Widgets window of the same size,
// both started as fresh processes in this run: the time from exec to the first painted main
// window, and the resident memory once it is shown. Settings and data go to a temporary home.
//   bench_startup [ROUNDS]
#include "storage/settings.h"
#include "windows/mainwindow.h"
#include "windows/program.h"
#include "windows/qtprompter.h"
#include "wordlists/shareaddress.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
long residentKilobytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

// Reports once the window has been painted for the first time, then ends the process.
class FirstPaint : public QObject {
public:
    explicit FirstPaint(QWidget *window) { window->installEventFilter(this); }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !seen_) {
            seen_ = true;
            QTimer::singleShot(0, [] {
                std::printf("shown rss_kb=%ld\n", residentKilobytes());
                std::fflush(stdout);
                QCoreApplication::exit(0);
            });
        }
        return false;
    }

private:
    bool seen_ = false;
};

int runChild(int argc, char **argv, bool full)
{
    QApplication app(argc, argv);
    if (full) {
        Program::prepareApplication();
        QtPrompter prompter;
        Settings settings;
        Program program(prompter, settings, sharebase());
        FirstPaint watch(&program.mainWindow());
        program.show();
        return QApplication::exec();
    }
    QWidget window;
    window.setFixedSize(888, 687);
    window.setWindowTitle(QStringLiteral("Vaskelio"));
    auto *button = new QPushButton(QStringLiteral("Start New Game"), &window);
    button->setGeometry(667, 8, 209, 39);
    FirstPaint watch(&window);
    window.show();
    return QApplication::exec();
}

struct Sample {
    double ms;
    long rssKb;
};

Sample runOnce(const QString &self, const QString &kind, const QProcessEnvironment &env)
{
    QProcess child;
    child.setProcessEnvironment(env);
    QElapsedTimer timer;
    timer.start();
    child.start(self, {QStringLiteral("--child"), kind});
    Sample sample{-1, -1};
    while (child.waitForReadyRead(30000)) {
        const QByteArray line = child.readLine();
        if (line.startsWith("shown")) {
            sample.ms = timer.nsecsElapsed() / 1e6;
            sample.rssKb = line.mid(line.indexOf('=') + 1).trimmed().toLong();
            break;
        }
    }
    child.waitForFinished(30000);
    return sample;
}

template<typename T> T median(std::vector<T> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}
} // namespace

int main(int argc, char **argv)
{
    if (argc >= 3 && qstrcmp(argv[1], "--child") == 0)
        return runChild(argc, argv, qstrcmp(argv[2], "vaskelio") == 0);

    const int rounds = argc >= 2 ? std::max(1, atoi(argv[1])) : 15;
    QCoreApplication app(argc, argv);
    QTemporaryDir home;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
    if (!env.contains(QStringLiteral("QT_QPA_PLATFORM")) &&
        !env.contains(QStringLiteral("DISPLAY")))
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));

    const QString self = QCoreApplication::applicationFilePath();
    std::vector<double> bareMs, fullMs;
    std::vector<long> bareKb, fullKb;
    runOnce(self, QStringLiteral("bare"), env); // warm the file cache for both
    runOnce(self, QStringLiteral("vaskelio"), env);
    for (int r = 0; r < rounds; ++r) {
        const Sample bare = runOnce(self, QStringLiteral("bare"), env);
        const Sample full = runOnce(self, QStringLiteral("vaskelio"), env);
        if (bare.ms < 0 || full.ms < 0) {
            std::fprintf(stderr, "bench_startup: a child did not report\n");
            return 1;
        }
        bareMs.push_back(bare.ms);
        fullMs.push_back(full.ms);
        bareKb.push_back(bare.rssKb);
        fullKb.push_back(full.rssKb);
    }
    QTextStream out(stdout);
    out.setRealNumberPrecision(3);
    const double tBare = median(bareMs), tFull = median(fullMs);
    const long mBare = median(bareKb), mFull = median(fullKb);
    out << "platform: " << env.value(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"))
        << ", " << rounds << " rounds, medians\n";
    out << "exec to first paint: bare window " << tBare << " ms, Vaskelio " << tFull
        << " ms, ratio " << tFull / tBare << "\n";
    out << "resident memory once shown: bare window " << mBare / 1024.0 << " MiB, Vaskelio "
        << mFull / 1024.0 << " MiB, ratio " << double(mFull) / mBare << "\n";
    return 0;
}
