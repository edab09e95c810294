#include "storage/savedgame.h"

#include "storage/textfile.h"

#include <QCoreApplication>

namespace {
constexpr int kCells = 81;

QString tr(const char *text)
{
    return QCoreApplication::translate("SavedGame", text);
}

// Digits of one of the cell lines; false with a message at the first character out of range.
bool readDigits(const QString &line, int lineNumber, char lowest, std::array<int, 81> &out,
                QString &error)
{
    for (int p = 0; p < kCells; ++p) {
        const QChar c = p < line.size() ? line.at(p) : QChar();
        if (c < QLatin1Char(lowest) || c > QLatin1Char('9')) {
            error = tr("This is not a saved game: line %1 needs a digit %2 to 9 at position %3.")
                        .arg(lineNumber)
                        .arg(QLatin1Char(lowest))
                        .arg(p + 1);
            return false;
        }
        out[p] = c.unicode() - '0';
    }
    return true;
}
} // namespace

QByteArray SavedGame::toBytes() const
{
    QString solutionLine, givenLine, boardLine;
    for (int p = 0; p < kCells; ++p) {
        solutionLine += QChar(u'0' + solution[p]);
        givenLine += given[p] ? QLatin1Char('1') : QLatin1Char('0');
        boardLine += QChar(u'0' + board[p]);
    }
    QStringList lines{solutionLine, givenLine, boardLine, QString::number(level), oneline(title)};
    for (int k = 0; k < 9; ++k)
        lines.append(oneline(words.value(k)));
    QString text;
    for (const QString &line : lines)
        text += line + QStringLiteral("\r\n");
    return utf16lewithmark(text);
}

std::variant<SavedGame, SavedGameError> parseSavedGame(const QString &text)
{
    QStringList lines = textlines(text);
    while (lines.size() < 14)
        lines.append(QString());

    SavedGame game;
    QString error;
    // A solution digit 0 would leave a cell without a word: no game.
    if (!readDigits(lines.at(0), 1, '1', game.solution, error) ||
        !readDigits(lines.at(2), 3, '0', game.board, error))
        return SavedGameError{error};
    for (int p = 0; p < kCells; ++p)
        game.given[p] = p >= lines.at(1).size() || lines.at(1).at(p) != QLatin1Char('0');
    bool ok = false;
    game.level = lines.at(3).trimmed().toInt(&ok, 10);
    if (!ok)
        return SavedGameError{tr("This is not a saved game: line 4 holds no level number.")};
    game.title = lines.at(4);
    game.words = lines.mid(5, 9);
    return game;
}

QString savedGameFilter()
{
    return QStringLiteral("Pellimo (*.wrd)");
}
