#pragma once

#include "engine/rating.h"
#include "engine/solver.h"
#include "text/result.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

class QTextStream;

namespace banktool {

// Grids here keep the bank's cell order, column by column: index 9 * (i - 1) + (j - 1) for
// column i and row j. The solver and the rater only need rows, columns and boxes to stay units,
// which this order (the transpose of row by row) does.
struct Puzzle {
    sudoku::Grid givens{};
    sudoku::Grid solution{}; // all zero when the line carried none
    bool hasSolution = false;
    int givenCount() const;
};

// A bank line: 81 of "1".."9" (given) and "A".."I" (to fill).
Result<Puzzle> parseBankLine(const QByteArray &line);
// A bank line, or the common 81-character digit form written row by row with "0" or "." for an
// empty cell.
Result<Puzzle> parseAnyLine(const QByteArray &line);
QByteArray toBankLine(const sudoku::Grid &givens, const sudoku::Grid &solution);
sudoku::Grid transposed(const sudoku::Grid &grid);
// Where the solution breaks a rule, e.g. "column 3 holds 7 twice"; empty for a completed grid.
QString gridFault(const sudoku::Grid &solution);

// Whether one bank line (without its line end) is good, and why not.
Status checkBankLine(const QByteArray &line);

struct Issue {
    int line = 0; // 0: the file as a whole
    QString reason;
};

struct Report {
    QString file;
    int lines = 0;
    QList<Issue> issues;
    bool ok() const { return issues.isEmpty(); }
    // "FILE:LINE: reason", or "FILE: reason" for the file as a whole.
    QStringList messages() const;
};

Report verifyData(const QByteArray &data, const QString &file = {});
Report verifyFile(const QString &path);

struct Stats {
    int lines = 0;
    int badLines = 0;
    int minGivens = 0;
    int maxGivens = 0;
    qint64 totalGivens = 0;
    int seventeen = 0;
    int repeated = 0; // lines equal to an earlier line of the same file
    std::array<int, sudoku::kTechniqueCount> ratings{};
    double meanGivens() const;
};

// Over the lines of one bank file; lines that are not bank lines only count as bad.
Stats statsOf(const QList<QByteArray> &lines);
QString formatStats(const QString &file, const Stats &stats);

// The subcommands; each returns the process exit code.
int runVerify(const QStringList &files, QTextStream &out, QTextStream &err);
int runStats(const QStringList &files, QTextStream &out, QTextStream &err);
// Reads standard input when no file is given.
int runRate(const QStringList &files, QTextStream &out, QTextStream &err);

// The lines of a bank file as the game splits them: CR LF, CR and LF each end a line, and a final
// line end starts no new one.
QList<QByteArray> splitLines(const QByteArray &data);
// Whole file, or nullopt with the reason.
Result<QByteArray> readWholeFile(const QString &path);

} // namespace banktool
