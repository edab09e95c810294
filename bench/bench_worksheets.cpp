// Prints the time to write a class set of worksheets with its answer key as a PDF, and the file's
// size, beside a floor measured in the same run: a PDF of as many pages of plain text written
// with QPdfWriter. Arguments: rounds (default 5), sheets (default 100, at most 100) and level
// (default 4, Extreme); every round deals the set afresh from its own seed.
#include "i18n/texttable.h"
#include "print/worksheets.h"
#include "widgets/fonts.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {
double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The floor: pages, each a title and a few lines of text in one face.
bool plainPdf(const QString &file, int pages)
{
    QPdfWriter writer(file);
    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSize(12);
    painter.setFont(font);
    for (int page = 1; page <= pages; ++page) {
        if (page > 1)
            writer.newPage();
        for (int line = 0; line < 10; ++line)
            painter.drawText(400, 600 + 300 * line,
                             QStringLiteral("Page %1, line %2: Complete the grid as if you were "
                                            "playing Sudoku.")
                                 .arg(page)
                                 .arg(line + 1));
    }
    return painter.end();
}

int argument(int argc, char **argv, int n, int fallback, int low, int high)
{
    return argc > n ? std::clamp(atoi(argv[n]), low, high) : fallback;
}
} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    installFontSubstitutes();
    QTextStream out(stdout);
    const int rounds = argument(argc, argv, 1, 5, 1, 1000);
    const int sheets = argument(argc, argv, 2, 100, 1, 100);
    const int level = argument(argc, argv, 3, 4, 0, 4);
    const int pages = sheets + (sheets + kAnswersPerSheet - 1) / kAnswersPerSheet;

    QTemporaryDir dir;
    const QString set = dir.filePath(QStringLiteral("set.pdf"));
    const QString plain = dir.filePath(QStringLiteral("plain.pdf"));
    TextTables texts;
    WorksheetSet request;
    request.level = level;
    request.words = WordSet::fromTexts(QStringLiteral("中文数字"),
                                       {"一", "二", "三", "四", "五", "六", "七", "八", "九"});
    request.count = sheets;
    std::vector<double> setSeconds, plainSeconds, setBytes, plainBytes;
    QElapsedTimer timer;
    for (int round = 0; round < rounds; ++round) {
        request.seed = quint64(round);
        timer.start();
        if (const Status written = writeWorksheets(set, request, texts); !written) {
            out << "worksheets failed: " << written.error() << '\n';
            return 1;
        }
        setSeconds.push_back(timer.nsecsElapsed() / 1e9);
        setBytes.push_back(QFileInfo(set).size());
        timer.start();
        if (!plainPdf(plain, pages)) {
            out << "the plain PDF failed\n";
            return 1;
        }
        plainSeconds.push_back(timer.nsecsElapsed() / 1e9);
        plainBytes.push_back(QFileInfo(plain).size());
    }
    const double seconds = median(setSeconds), floorSeconds = median(plainSeconds);
    const double bytes = median(setBytes), floorBytes = median(plainBytes);
    const auto megabytes = [](double b) { return QString::number(b / 1e6, 'f', 2); };
    out << "a class set of " << sheets << " worksheets at level " << level
        << " and its answer key (" << pages << " pages), median of " << rounds << " rounds:\n";
    out << QStringLiteral("  worksheets  %1 s  %2 MB\n")
               .arg(seconds, 0, 'f', 3)
               .arg(megabytes(bytes));
    out << QStringLiteral("  floor       %1 s  %2 MB  (%3 pages of plain text with QPdfWriter)\n")
               .arg(floorSeconds, 0, 'f', 3)
               .arg(megabytes(floorBytes))
               .arg(pages);
    out << QStringLiteral("  ratio       %1x time  %2x size\n")
               .arg(seconds / floorSeconds, 0, 'f', 1)
               .arg(bytes / floorBytes, 0, 'f', 1);
    return 0;
}
