#include "storage/autosave.h"

#include "storage/folders.h"
#include "storage/savedgame.h"
#include "text/textfile.h"

#include <QDir>
#include <QFile>
#include <QStringList>

#include <algorithm>

QString autosavefile()
{
    return autosavefile(savesfolder());
}

QString autosavefile(const QString &savesFolder)
{
    return QDir(savesFolder)
        .filePath(QStringLiteral("autosave.") + QLatin1String(kSavedGameSuffix));
}

Status keepgame(const QString &file, const SavedGame &game, bool solved)
{
    if (!solved)
        return writewholefile(file, game.toBytes());
    QFile kept(file);
    if (!kept.exists() || kept.remove())
        return {};
    return failure(kept.errorString());
}

namespace {
QString solutionLine(const SavedGame &game)
{
    QString line;
    for (const int digit : game.solution)
        line += QChar(u'0' + (digit >= 0 && digit <= 9 ? digit : 0));
    return line;
}
} // namespace

QString notesfile(const QString &keptFile)
{
    return keptFile + QStringLiteral(".notes");
}

Status keepnotes(const QString &keptFile, const SavedGame &game,
                 const std::array<quint16, 81> &notes, bool solved)
{
    const bool any = std::any_of(notes.begin(), notes.end(), [](quint16 n) { return n != 0; });
    const QString file = notesfile(keptFile);
    if (solved || !any) {
        QFile kept(file);
        if (!kept.exists() || kept.remove())
            return {};
        return failure(kept.errorString());
    }
    QStringList numbers;
    for (const quint16 n : notes)
        numbers.append(QString::number(n));
    return writewholefile(file, (solutionLine(game) + QLatin1Char('\n') +
                                 numbers.join(QLatin1Char(' ')) + QLatin1Char('\n'))
                                    .toUtf8());
}

std::array<quint16, 81> readnotes(const QString &keptFile, const SavedGame &game)
{
    std::array<quint16, 81> notes{};
    const TextFileResult read = readtextfile(notesfile(keptFile), 64 * 1024);
    if (!read)
        return notes;
    const QStringList lines = textlines(read->text);
    if (lines.size() < 2 || lines.at(0) != solutionLine(game))
        return notes;
    const QStringList numbers = lines.at(1).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (numbers.size() != 81)
        return notes;
    std::array<quint16, 81> parsed{};
    for (int p = 0; p < 81; ++p) {
        bool ok = false;
        const uint n = numbers.at(p).toUInt(&ok);
        if (!ok || n > 0x1FF)
            return notes;
        parsed[p] = game.given[p] ? 0 : quint16(n);
    }
    return parsed;
}

QString damagedcopy(const QString &file)
{
    return file + QStringLiteral(".damaged");
}

Status putaside(const QString &file)
{
    const QString aside = damagedcopy(file);
    QFile older(aside);
    if (older.exists() && !older.remove())
        return failure(older.errorString());
    QFile kept(file);
    if (!kept.rename(aside))
        return failure(kept.errorString());
    return {};
}
