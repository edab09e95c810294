// Prints the time to write a class set of 30 worksheets with its answer key as a PDF, and the
// file's size, beside a floor measured in the same run: a PDF of as many pages of plain text
// written with QPdfWriter. An optional argument gives the number of rounds (default 5).
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
#include <vector>

namespace {
constexpr int kSheets = 30;
constexpr int kPages = kSheets + (kSheets + kAnswersPerSheet - 1) / kAnswersPerSheet;

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The floor: the same number of pages, each a title and a few lines of text in one face.
bool plainPdf(const QString &file)
{
    QPdfWriter writer(file);
    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSize(12);
    painter.setFont(font);
    for (int page = 1; page <= kPages; ++page) {
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
} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    installFontSubstitutes();
    QTextStream out(stdout);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 5;

    QTemporaryDir dir;
    const QString set = dir.filePath(QStringLiteral("set.pdf"));
    const QString plain = dir.filePath(QStringLiteral("plain.pdf"));
    TextTables texts;
    WorksheetSet request;
    request.level = 2;
    request.words = WordSet::fromTexts(QStringLiteral("中文数字"),
                                       {"一", "二", "三", "四", "五", "六", "七", "八", "九"});
    request.count = kSheets;
    std::vector<double> setSeconds, plainSeconds;
    QElapsedTimer timer;
    for (int round = 0; round < rounds; ++round) {
        request.seed = quint64(round);
        timer.start();
        if (const Status written = writeWorksheets(set, request, texts); !written) {
            out << "worksheets failed: " << written.error() << '\n';
            return 1;
        }
        setSeconds.push_back(timer.nsecsElapsed() / 1e9);
        timer.start();
        if (!plainPdf(plain)) {
            out << "the plain PDF failed\n";
            return 1;
        }
        plainSeconds.push_back(timer.nsecsElapsed() / 1e9);
    }
    out << "a class set of " << kSheets << " worksheets and its answer key (" << kPages
        << " pages), median of " << rounds << " rounds:\n";
    out << QStringLiteral("  worksheets  %1 s  %2 KiB\n")
               .arg(median(setSeconds), 0, 'f', 3)
               .arg(QFileInfo(set).size() / 1024.0, 0, 'f', 0);
    out << QStringLiteral("  floor       %1 s  %2 KiB  (%3 pages of plain text with QPdfWriter)\n")
               .arg(median(plainSeconds), 0, 'f', 3)
               .arg(QFileInfo(plain).size() / 1024.0, 0, 'f', 0)
               .arg(kPages);
    return 0;
}
