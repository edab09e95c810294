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

bool KeptPlay::isEmpty() const
{
    return seconds == 0 &&
           std::all_of(notes.begin(), notes.end(), [](quint16 n) { return n == 0; });
}

QString playfile(const QString &keptFile)
{
    return keptFile + QStringLiteral(".play");
}

Status keepplay(const QString &keptFile, const SavedGame &game, const KeptPlay &play, bool solved)
{
    const QString file = playfile(keptFile);
    if (solved || play.isEmpty()) {
        QFile kept(file);
        if (!kept.exists() || kept.remove())
            return {};
        return failure(kept.errorString());
    }
    QStringList numbers;
    for (const quint16 n : play.notes)
        numbers.append(QString::number(n));
    return writewholefile(file,
                          (solutionLine(game) + QLatin1Char('\n') + numbers.join(QLatin1Char(' ')) +
                           QLatin1Char('\n') + QString::number(play.seconds) + QLatin1Char('\n'))
                              .toUtf8());
}

KeptPlay readplay(const QString &keptFile, const SavedGame &game)
{
    const TextFileResult read = readtextfile(playfile(keptFile), 64 * 1024);
    if (!read)
        return {};
    const QStringList lines = textlines(read->text);
    if (lines.size() < 3 || lines.at(0) != solutionLine(game))
        return {};
    const QStringList numbers = lines.at(1).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (numbers.size() != 81)
        return {};
    KeptPlay play;
    for (int p = 0; p < 81; ++p) {
        bool ok = false;
        const uint n = numbers.at(p).toUInt(&ok);
        if (!ok || n > 0x1FF)
            return {};
        play.notes[p] = game.given[p] ? 0 : quint16(n);
    }
    bool ok = false;
    play.seconds = lines.at(2).toLongLong(&ok);
    if (!ok || play.seconds < 0)
        return {};
    return play;
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
