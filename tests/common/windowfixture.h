#pragma once

#include "common/programlocations.h"
#include "common/seams.h"
#include "files.h"

#include <QTemporaryDir>

// A temporary program directory, a fixed clock, and recorders in place of the launcher and
// the message boxes.
class WindowFixture
{
public:
    struct Launch
    {
        QString program;
        QStringList arguments;
    };

    WindowFixture()
    {
        Seams::setClock([this] { return now; });
        Seams::setLauncher([this](const QString &program, const QStringList &arguments) {
            launches.push_back({program, arguments});
            return launchSucceeds;
        });
        Seams::setMessageHandler(
            [this](QMessageBox::Icon, const QString &text, QMessageBox::StandardButtons) {
                messages << text;
                return nextAnswer;
            });
    }

    ~WindowFixture()
    {
        Seams::setClock({});
        Seams::setLauncher({});
        Seams::setMessageHandler({});
    }

    ProgramLocations locations() const { return ProgramLocations::portable(m_dir.path()); }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }
    QString iniPath() const { return filePath(QStringLiteral("nmr.ini")); }

    void writeIni(const QByteArray &content) const { writeFile(iniPath(), content); }
    QByteArray ini() const { return readFile(iniPath()); }

    QDateTime now {QDate(2026, 12, 5), QTime(23, 41, 7)};
    bool launchSucceeds = true;
    QMessageBox::StandardButton nextAnswer = QMessageBox::Ok;
    std::vector<Launch> launches;
    QStringList messages;

private:
    QTemporaryDir m_dir;
};
