#include "storage/folders.h"

#include "appinfo.h"

#include "storage/savedgame.h"
#include "text/textfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#if defined(Q_OS_WIN)
#include <qt_windows.h>
#include <shlobj.h>
#endif

namespace {
const QString kFolderName = QString::fromLatin1(appinfo::kName);

QString withSeparator(const QString &path)
{
    const QString native = QDir::toNativeSeparators(path);
    return native.endsWith(QDir::separator()) ? native : native + QDir::separator();
}

// The per-user folder under which ours lives, without a trailing separator.
QString userDataRoot()
{
#if defined(Q_OS_WIN)
    // Roaming, not QStandardPaths' local GenericDataLocation, so the lists follow the user.
    QString root;
    PWSTR path = nullptr;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_RoamingAppData, KF_FLAG_DEFAULT, nullptr, &path)))
        root = QString::fromWCharArray(path);
    CoTaskMemFree(path);
    return root;
#else
    // Read on every call, not cached, so a changed XDG_DATA_HOME takes effect; relative values
    // are to be ignored by the XDG rules.
    const QString xdg = qEnvironmentVariable("XDG_DATA_HOME");
    if (!xdg.isEmpty() && QDir::isAbsolutePath(xdg))
        return QDir::cleanPath(xdg);
    return QDir::homePath() + QStringLiteral("/.local/share");
#endif
}
} // namespace

QString programfolder()
{
    return withSeparator(QCoreApplication::applicationDirPath());
}

QString programdatafile(const QString &name)
{
    const QString beside = programfolder() + name;
    if (QFileInfo::exists(beside))
        return beside;
    return QDir::cleanPath(programfolder() + QStringLiteral(VASKELIO_INSTALLED_DATA) +
                           QLatin1Char('/') + name);
}

QString datafolder()
{
    return withSeparator(userDataRoot() + QLatin1Char('/') + kFolderName);
}

QString savesfolder()
{
    return savesfolder(datafolder());
}

QString savesfolder(const QString &dataFolder)
{
    return withSeparator(dataFolder) + QStringLiteral("saves");
}

void preparefolders(const FolderSeeder &seed)
{
    preparefolders(datafolder(), seed);
}

void preparefolders(const QString &dataFolder, const FolderSeeder &seed)
{
    // mkpath, not one level: unlike the Windows application-data folder, ~/.local/share may not
    // exist yet on a fresh account.
    QDir().mkpath(dataFolder);
    QDir().mkpath(savesfolder(dataFolder));
    removewriteleftovers(savesfolder(dataFolder),
                         QStringLiteral("*.") + QLatin1String(kSavedGameSuffix));
    if (seed)
        seed(withSeparator(dataFolder));
}
