#include "storage/savedgame.h"

#include "engine/solver.h"
#include "i18n/texttable.h"
#include "text/textfile.h"

#include <QLocale>

#include <cstdint>

namespace {
constexpr int kCells = 81;

using Kind = SavedGameError::Kind;

// Digits of one of the cell lines; an error at the first character out of range.
SavedGameRead<void> readDigits(const QString &line, int lineNumber, int lowest,
                               std::array<int, 81> &out)
{
    for (int p = 0; p < kCells; ++p) {
        const int digit = p < line.size() ? line.at(p).unicode() - '0' : -1;
        if (digit < lowest || digit > 9)
            return failure(SavedGameError{Kind::Digit, lineNumber, p + 1, lowest, {}});
        out[p] = digit;
    }
    return {};
}

bool isCompletedGrid(const std::array<int, 81> &solution)
{
    sudoku::Grid grid{};
    for (int p = 0; p < kCells; ++p)
        grid[p] = std::uint8_t(solution[p]);
    // Every cell given: one solution when no rule is broken, none otherwise.
    return sudoku::countSolutions(grid, 1) == 1;
}
} // namespace

QString SavedGameError::message(const TextTables &texts) const
{
    const auto text = [&](const char *key) { return texts.uitext(QLatin1String(key)); };
    switch (kind) {
    case Kind::Unreadable:
        return reason;
    case Kind::NotAFile:
        return text("msgwrdfile");
    case Kind::TooLarge:
        return text("msgwrdsize").arg(QLocale::c().formattedDataSize(kMaxSavedGameBytes, 0));
    case Kind::CutCharacter:
        return text("msgwrdcut").arg(line);
    case Kind::Digit:
        return text("msgwrddigit").arg(line).arg(digit).arg(position);
    case Kind::Level:
        return text("msgwrdlevel").arg(line);
    case Kind::NotAGrid:
        return text("msgwrdgrid").arg(line);
    case Kind::GivenMismatch:
        return text("msgwrdgiven").arg(line).arg(digit).arg(position);
    }
    return reason;
}

QByteArray SavedGame::toBytes() const
{
    QString solutionLine, givenLine, boardLine;
    for (int p = 0; p < kCells; ++p) {
        solutionLine += QChar(u'0' + solution[p]);
        givenLine += given[p] ? QLatin1Char('1') : QLatin1Char('0');
        boardLine += QChar(u'0' + board[p]);
    }
    QStringList lines{solutionLine, givenLine, boardLine, QString::number(level),
                      oneline(words.title)};
    for (const Word &word : words.words)
        lines.append(oneline(word.text));
    QString text;
    for (const QString &line : lines)
        text += line + QStringLiteral("\r\n");
    return utf16lewithmark(text);
}

SavedGameRead<SavedGame> parseSavedGame(const QString &text)
{
    QStringList lines = textlines(text);
    while (lines.size() < 14)
        lines.append(QString());

    SavedGame game;
    // A solution digit 0 would leave a cell without a word: no game.
    if (auto digits = readDigits(lines.at(0), 1, 1, game.solution); !digits)
        return failure(digits.error());
    if (!isCompletedGrid(game.solution))
        return failure(SavedGameError{Kind::NotAGrid, 1, 0, 0, {}});
    for (int p = 0; p < kCells; ++p)
        game.given[p] = p >= lines.at(1).size() || lines.at(1).at(p) != QLatin1Char('0');
    if (auto digits = readDigits(lines.at(2), 3, 0, game.board); !digits)
        return failure(digits.error());
    // A given cell the player cannot change must show its word, or the game can never be solved.
    for (int p = 0; p < kCells; ++p)
        if (game.given[p] && game.board[p] != game.solution[p])
            return failure(SavedGameError{Kind::GivenMismatch, 3, p + 1, game.solution[p], {}});
    bool ok = false;
    game.level = lines.at(3).trimmed().toInt(&ok, 10);
    if (!ok)
        return failure(SavedGameError{Kind::Level, 4, 0, 0, {}});
    game.words = WordSet::fromTexts(lines.at(4), lines.mid(5, 9));
    return game;
}

SavedGameRead<SavedGame> readSavedGame(const QString &path)
{
    const TextFileResult read = readtextfile(path, kMaxSavedGameBytes);
    if (!read) {
        switch (read.error().kind) {
        case FileProblem::Kind::NotAFile:
            return failure(SavedGameError{Kind::NotAFile, 0, 0, 0, {}});
        case FileProblem::Kind::TooLarge:
            return failure(SavedGameError{Kind::TooLarge, 0, 0, 0, {}});
        case FileProblem::Kind::Missing:
        case FileProblem::Kind::Unreadable:
            break;
        }
        return failure(SavedGameError{Kind::Unreadable, 0, 0, 0, read.error().reason});
    }
    // The decoder keeps a last odd byte as U+FFFD; a saved game with it is cut short.
    const bool utf16 =
        read->encoding == TextEncoding::Utf16LE || read->encoding == TextEncoding::Utf16BE;
    if (utf16 && read->bytes % 2 != 0)
        return failure(
            SavedGameError{Kind::CutCharacter, int(textlines(read->text).size()), 0, 0, {}});
    return parseSavedGame(read->text);
}

QString savedGameFilter()
{
    return QStringLiteral("Pellimo (*.wrd)");
}
