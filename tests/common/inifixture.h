#pragma once

#include "files.h"
#include "settings/inifilesaveload.h"

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
        if (!content.isNull())
            writeFile(m_path, content);
    }

    QByteArray content() const { return readFile(m_path); }

private:
    QTemporaryDir m_dir;
    QString m_path;
};
