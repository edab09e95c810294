#include "widgets/components.h"

#include "i18n/texttable.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPluginLoader>

namespace {
QStringList defaultfolders()
{
    const QString program = QCoreApplication::applicationDirPath();
    QStringList folders{program};
    // Installed on Linux the components lie in the library folder, found from the program's own
    // folder so that the tree can be installed under any prefix.
    const QString installed = QStringLiteral(VASKELIO_COMPONENT_FOLDER);
    if (!installed.isEmpty())
        folders.append(QDir::cleanPath(program + QLatin1Char('/') + installed));
    return folders;
}

QStringList &chosenfolders()
{
    static QStringList folders;
    return folders;
}
} // namespace

QStringList componentfolders()
{
    return chosenfolders().isEmpty() ? defaultfolders() : chosenfolders();
}

void setcomponentfolders(const QStringList &folders)
{
    chosenfolders() = folders;
}

QString componentfile(const QString &name)
{
#ifdef Q_OS_WIN
    return name + QStringLiteral(".dll");
#else
    return name + QStringLiteral(".so");
#endif
}

QObject *loadcomponent(const QString &name)
{
    const QString file = componentfile(name);
    for (const QString &folder : componentfolders()) {
        const QString path = QDir(folder).filePath(file);
        if (!QFileInfo::exists(path))
            continue;
        // The loader of a path is shared, so the component is loaded once and never unloaded.
        QPluginLoader loader(path);
        if (QObject *root = loader.instance())
            return root;
        qWarning("%s", qPrintable(loader.errorString()));
    }
    return nullptr;
}

QString missingcomponent(const TextTables &texts, const char *name)
{
    return texts.uitext(QStringLiteral("msgnocomponent"))
        .arg(componentfile(QString::fromLatin1(name)));
}
