#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// A file's bytes as they are on disk; empty when it cannot be read.
inline QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A saved game of tests/data/savedgames.
inline QString referenceFile(const char *name)
{
    return QStringLiteral(VASKELIO_TEST_DATA "/savedgames/") + QString::fromLatin1(name);
}
