#pragma once

#include "files.h"
#include "settings/inifilesaveload.h"

#include <QDir>
#include <QTemporaryDir>

// A settings file in a fresh temporary directory, set as the program's settings path. The
// directory's name holds blanks and shell characters, so every path built from it must reach
// the file system and other programs as it stands.
class IniFixture
{
public:
    IniFixture() { IniFileSaveLoad::SetIniPath(path()); }

    QString directory() const { return m_dir.path(); }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }
    QString path() const { return filePath(QStringLiteral("nmr.ini")); }

    // A null content leaves the file missing.
    void setContent(const QByteArray &content) const
    {
        if (!content.isNull())
            writeFile(path(), content);
    }

    QByteArray content() const { return readFile(path()); }

private:
    QTemporaryDir m_dir {QDir::tempPath() + QStringLiteral("/a folder; with $(odd) name-XXXXXX")};
};
