#include "storage/autosave.h"

#include "storage/folders.h"
#include "storage/savedgame.h"
#include "text/textfile.h"

#include <QDir>
#include <QFile>

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
