#pragma once

#include <QByteArray>
#include <QFile>

// Whole-file reads and writes for setting up and checking real files; a file that cannot be
// read gives an empty array.
inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}
