#include "banktool.h"

#include "engine/bankline.h"
#include "text/textfile.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTextStream>

#include <algorithm>

namespace banktool {
namespace {

// Far above any bank; keeps a stray huge file from being read whole.
constexpr qint64 kMaxFileSize = 64 * 1024 * 1024;

} // namespace

int Puzzle::givenCount() const
{
    return int(std::count_if(givens.begin(), givens.end(), [](auto v) { return v != 0; }));
}

Result<Puzzle> parseBankLine(const QByteArray &line)
{
    const auto decoded = bankline::decode(line);
    if (!decoded)
        return failure(decoded.error());
    Puzzle puzzle;
    puzzle.givens = decoded->givens;
    puzzle.solution = decoded->solution;
    puzzle.hasSolution = true;
    return puzzle;
}

Result<Puzzle> parseAnyLine(const QByteArray &line)
{
    const bool digitForm = line.size() == 81 && std::all_of(line.begin(), line.end(), [](char c) {
                               return (c >= '0' && c <= '9') || c == '.';
                           });
    if (!digitForm)
        return parseBankLine(line);
    sudoku::Grid rowByRow{};
    for (int p = 0; p < 81; ++p)
        rowByRow[p] = line.at(p) == '.' ? 0 : std::uint8_t(line.at(p) - '0');
    Puzzle puzzle;
    puzzle.givens = transposed(rowByRow);
    return puzzle;
}

QByteArray toBankLine(const sudoku::Grid &givens, const sudoku::Grid &solution)
{
    return bankline::encode(givens, solution);
}

sudoku::Grid transposed(const sudoku::Grid &grid)
{
    sudoku::Grid out{};
    for (int a = 0; a < 9; ++a)
        for (int b = 0; b < 9; ++b)
            out[b * 9 + a] = grid[a * 9 + b];
    return out;
}

QString gridFault(const sudoku::Grid &solution)
{
    // Index 9 * (i - 1) + (j - 1): i the column, j the row.
    for (int k = 0; k < 9; ++k) {
        int seenColumn = 0, seenRow = 0, seenBox = 0;
        for (int t = 0; t < 9; ++t) {
            const int inColumn = solution[k * 9 + t];
            const int inRow = solution[t * 9 + k];
            const int inBox = solution[((k % 3) * 3 + t % 3) * 9 + (k / 3) * 3 + t / 3];
            if (seenColumn & (1 << inColumn))
                return QStringLiteral("column %1 holds %2 twice").arg(k + 1).arg(inColumn);
            if (seenRow & (1 << inRow))
                return QStringLiteral("row %1 holds %2 twice").arg(k + 1).arg(inRow);
            if (seenBox & (1 << inBox))
                return QStringLiteral("box %1 holds %2 twice").arg(k + 1).arg(inBox);
            seenColumn |= 1 << inColumn;
            seenRow |= 1 << inRow;
            seenBox |= 1 << inBox;
        }
    }
    return {};
}

Status checkBankLine(const QByteArray &line)
{
    const auto puzzle = parseBankLine(line);
    if (!puzzle)
        return failure(puzzle.error());
    const QString fault = gridFault(puzzle->solution);
    if (!fault.isEmpty())
        return failure(QStringLiteral("the solution is not a completed grid: %1").arg(fault));
    // The stored solution fits the givens, so one solution found means it is that one.
    if (sudoku::countSolutions(puzzle->givens, 2) != 1)
        return failure("the givens have more than one solution");
    return {};
}

QStringList Report::messages() const
{
    QStringList out;
    for (const Issue &issue : issues)
        out << (issue.line > 0 ? QStringLiteral("%1:%2: %3").arg(file).arg(issue.line)
                               : QStringLiteral("%1: %2").arg(file))
                   .arg(issue.reason);
    return out;
}

QList<QByteArray> splitLines(const QByteArray &data)
{
    // Latin-1 gives each byte one character and back, so the game's own splitter serves here and
    // a stray byte still reaches the line checks as it was.
    QList<QByteArray> lines;
    for (const QString &line : textlines(QString::fromLatin1(data)))
        lines << line.toLatin1();
    return lines;
}

Result<QByteArray> readWholeFile(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return failure(QStringLiteral("no such file"));
    if (info.isDir())
        return failure(QStringLiteral("is a folder, not a file"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return failure(QStringLiteral("cannot be read: %1").arg(file.errorString()));
    if (file.size() > kMaxFileSize)
        return failure(QStringLiteral("is %1 bytes, too large for a bank file").arg(file.size()));
    return file.readAll();
}

Report verifyData(const QByteArray &data, const QString &file)
{
    Report report;
    report.file = file;
    auto fileIssue = [&report](const QString &why) {
        report.issues.append({0, why});
        return report;
    };
    if (data.isEmpty())
        return fileIssue(QStringLiteral("empty file, no puzzle lines"));
    if (data.startsWith("\xFF\xFE") || data.startsWith("\xFE\xFF"))
        return fileIssue(QStringLiteral("UTF-16 text (byte-order mark); the bank is ASCII"));
    if (const int nul = data.indexOf('\0'); nul >= 0)
        return fileIssue(QStringLiteral("binary data (NUL byte at offset %1)").arg(nul));

    const QList<QByteArray> lines = splitLines(data);
    report.lines = int(lines.size());
    for (int k = 0; k < lines.size(); ++k) {
        QByteArray line = lines.at(k);
        const int number = k + 1;
        if (k == 0 && line.startsWith("\xEF\xBB\xBF")) {
            report.issues.append({number, QStringLiteral("UTF-8 byte-order mark; the bank is "
                                                         "plain ASCII")});
            continue;
        }
        if (line.isEmpty()) {
            report.issues.append({number, QStringLiteral("empty line")});
            continue;
        }
        if (const Status checked = checkBankLine(line); !checked)
            report.issues.append({number, checked.error()});
    }
    return report;
}

Report verifyFile(const QString &path)
{
    const auto data = readWholeFile(path);
    if (!data) {
        Report report;
        report.file = path;
        report.issues.append({0, data.error()});
        return report;
    }
    return verifyData(*data, path);
}

double Stats::meanGivens() const
{
    const int good = lines - badLines;
    return good > 0 ? double(totalGivens) / good : 0.0;
}

Stats statsOf(const QList<QByteArray> &lines)
{
    Stats stats;
    QSet<QByteArray> seen;
    for (const QByteArray &line : lines) {
        ++stats.lines;
        const auto puzzle = parseBankLine(line);
        if (!puzzle) {
            ++stats.badLines;
            continue;
        }
        if (seen.contains(line))
            ++stats.repeated;
        seen.insert(line);
        const int givens = puzzle->givenCount();
        const bool first = stats.lines - stats.badLines == 1;
        stats.minGivens = first ? givens : std::min(stats.minGivens, givens);
        stats.maxGivens = first ? givens : std::max(stats.maxGivens, givens);
        stats.totalGivens += givens;
        stats.seventeen += givens == 17;
        ++stats.ratings[int(sudoku::rate(puzzle->givens).hardest)];
    }
    return stats;
}

QString formatStats(const QString &file, const Stats &stats)
{
    QString text;
    QTextStream out(&text);
    out << file << ":\n";
    out << "  lines:          " << stats.lines << "\n";
    if (stats.badLines)
        out << "  bad lines:      " << stats.badLines << " (see verify)\n";
    out << "  givens:         min " << stats.minGivens << ", max " << stats.maxGivens << ", mean "
        << QString::number(stats.meanGivens(), 'f', 2) << "\n";
    out << "  17-given lines: " << stats.seventeen << "\n";
    out << "  repeated lines: " << stats.repeated << "\n";
    out << "  ratings:\n";
    for (int k = 0; k < sudoku::kTechniqueCount; ++k)
        if (stats.ratings[k])
            out << "    "
                << QString::fromLatin1(sudoku::techniqueName(sudoku::Technique(k)))
                       .leftJustified(18)
                << stats.ratings[k] << "\n";
    return text;
}

int runVerify(const QStringList &files, QTextStream &out, QTextStream &err)
{
    if (files.isEmpty()) {
        err << "verify: name at least one bank file\n";
        return 2;
    }
    int bad = 0, lines = 0;
    for (const QString &file : files) {
        const Report report = verifyFile(file);
        lines += report.lines;
        for (const QString &message : report.messages())
            out << message << "\n";
        bad += int(report.issues.size());
    }
    err << QStringLiteral("%1 line(s) checked, %2 problem(s)\n").arg(lines).arg(bad);
    return bad ? 1 : 0;
}

namespace {
// Hands every file that can be read to use; each one that cannot is reported. 1 if any failed.
template<typename Use> int forEachReadable(const QStringList &files, QTextStream &err, Use use)
{
    int status = 0;
    for (const QString &file : files) {
        const auto data = readWholeFile(file);
        if (!data) {
            err << file << ": " << data.error() << "\n";
            status = 1;
            continue;
        }
        use(file, *data);
    }
    return status;
}
} // namespace

int runStats(const QStringList &files, QTextStream &out, QTextStream &err)
{
    if (files.isEmpty()) {
        err << "stats: name at least one bank file\n";
        return 2;
    }
    return forEachReadable(files, err, [&out](const QString &file, const QByteArray &data) {
        out << formatStats(file, statsOf(splitLines(data)));
    });
}

int runRate(const QStringList &files, QTextStream &out, QTextStream &err)
{
    int status = 0;
    auto rateAll = [&](const QString &name, const QByteArray &data) {
        const QList<QByteArray> lines = splitLines(data);
        for (int k = 0; k < lines.size(); ++k) {
            const QByteArray line = lines.at(k).trimmed();
            if (line.isEmpty())
                continue;
            const auto puzzle = parseAnyLine(line);
            if (!puzzle) {
                err << name << ":" << (k + 1) << ": " << puzzle.error() << "\n";
                status = 1;
                continue;
            }
            const sudoku::Rating rating = sudoku::rate(puzzle->givens);
            out << sudoku::techniqueName(rating.hardest) << "\t" << line << "\n";
        }
    };
    if (files.isEmpty()) {
        QFile in;
        if (!in.open(stdin, QIODevice::ReadOnly)) {
            err << "rate: cannot read standard input\n";
            return 1;
        }
        rateAll(QStringLiteral("<stdin>"), in.readAll());
    }
    if (forEachReadable(files, err, rateAll) != 0)
        status = 1;
    return status;
}

} // namespace banktool
