#pragma once

#include "settings/inifilesaveload.h"

#include <QFile>
#include <QTemporaryDir>

// A settings file in a fresh temporary directory, set as the program's settings path.
class IniFixture
{
public:
    IniFixture()
        : m_path(m_dir.filePath(QStringLiteral("nmr.ini")))
    {
        IniFileSaveLoad::SetIniPath(m_path);
    }

    const QString &path() const { return m_path; }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }

    // A null content leaves the file missing.
    void setContent(const QByteArray &content) const
    {
        if (content.isNull())
            return;
        QFile file(m_path);
        if (file.open(QIODevice::WriteOnly))
            file.write(content);
    }

    QByteArray content() const
    {
        QFile file(m_path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private:
    QTemporaryDir m_dir;
    QString m_path;
};
