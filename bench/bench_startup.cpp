// Start-up cost of the program beside the floor of a bare Qt Widgets window of the same size,
// both started as fresh processes in this run: the time from exec to the first painted main
// window, and the resident memory once it is shown. Settings and data go to a temporary home.
//   bench_startup [ROUNDS]
#include "firstpaint.h"
#include "storage/settings.h"
#include "widgets/qtprompter.h"
#include "windows/mainwindow.h"
#include "windows/program.h"
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
using startup::FirstPaint;

int runProgram(int argc, char **argv)
{
    QApplication app(argc, argv);
    Program::prepareApplication();
    QtPrompter prompter;
    Settings settings;
    Program program(prompter, settings, sharebase());
    FirstPaint watch(&program.mainWindow());
    program.show();
    return QApplication::exec();
}

struct Sample {
    double ms;
    long rssKb;
};

Sample runOnce(const QString &program, const QStringList &arguments, const QProcessEnvironment &env)
{
    QProcess child;
    child.setProcessEnvironment(env);
    QElapsedTimer timer;
    timer.start();
    child.start(program, arguments);
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
        return runProgram(argc, argv);

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
    // The floor is its own small program, so it loads only what a bare window needs.
    const QString bareWindow = QStringLiteral(VASKELIO_BARE_WINDOW);
    const QStringList vaskelio{QStringLiteral("--child"), QStringLiteral("vaskelio")};
    runOnce(bareWindow, {}, env); // warm the file cache for both
    runOnce(self, vaskelio, env);
    for (int r = 0; r < rounds; ++r) {
        const Sample bare = runOnce(bareWindow, {}, env);
        const Sample full = runOnce(self, vaskelio, env);
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
