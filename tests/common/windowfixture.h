#pragma once

#include "common/module1.h"
#include "common/programlocations.h"
#include "common/seams.h"
#include "golden.h"

#include <QTemporaryDir>

// A temporary program directory, a fixed clock, and recorders in place of the launcher and the
// prompts. Each prompt or start is noted as one line, with the program directory written as
// $DIR and the private temporary directory as $TMP.
class WindowFixture
{
public:
    WindowFixture()
    {
        Seams::setClock([this] { return now; });
        Seams::setLauncher([this](const QString &program, const QStringList &arguments) {
            records << local(u"started "_s + program + u' ' + arguments.join(u'|'));
            return launchSucceeds;
        });
        Seams::setMessageHandler(
            [this](QMessageBox::Icon, const QString &text, QMessageBox::StandardButtons) {
                records << u"said "_s + oneLine(text);
                return nextAnswer;
            });
        Seams::setInputHandler(
            [this](const QString &caption, const QString &prompt, const QString &defaultText) {
                records << u"asked "_s + QStringList {caption, prompt, defaultText}.join(u" | ");
                return nextInput;
            });
    }

    ~WindowFixture()
    {
        Seams::setClock({});
        Seams::setLauncher({});
        Seams::setMessageHandler({});
        Seams::setInputHandler({});
    }

    QString path() const { return m_dir.path(); }
    ProgramLocations locations() const { return ProgramLocations::portable(m_dir.path()); }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }
    QString iniPath() const { return filePath(u"nmr.ini"_s); }

    void writeIni(const QByteArray &content) const { writeFile(iniPath(), content); }
    QByteArray ini() const { return readFile(iniPath()); }

    QString local(QString text) const
    {
        return text.replace(Module1::GetTempDirectory(), u"$TMP"_s)
            .replace(m_dir.path(), u"$DIR"_s);
    }

    // The lines noted since the last call.
    QStringList takeRecords() { return std::exchange(records, {}); }

    QDateTime now {QDate(2026, 12, 5), QTime(23, 41, 7)};
    bool launchSucceeds = true;
    QMessageBox::StandardButton nextAnswer = QMessageBox::Ok;
    QString nextInput;
    QStringList records;

private:
    QTemporaryDir m_dir;
};
