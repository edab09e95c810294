#pragma once

#include <QDir>
#include <QFile>
#include <QString>

// Points HOME and the XDG folders of this process at folders under home, made as needed, and
// selects the offscreen platform unless another is asked for: nothing then reaches the real
// user's settings or data.
inline void pointhomeat(const QString &home)
{
    for (const char *sub : {"config", "data", "cache", "runtime"})
        QDir(home).mkpath(QString::fromLatin1(sub));
    qputenv("HOME", home.toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (home + QStringLiteral("/config")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", (home + QStringLiteral("/data")).toLocal8Bit());
    qputenv("XDG_CACHE_HOME", (home + QStringLiteral("/cache")).toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", (home + QStringLiteral("/runtime")).toLocal8Bit());
    QFile::setPermissions(home + QStringLiteral("/runtime"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}
