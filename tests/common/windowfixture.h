#pragma once

#include "golden.h"
#include "inifixture.h"
#include "platform/module1.h"
#include "platform/programlocations.h"
#include "platform/seams.h"

#include <QApplication>
#include <QTest>
#include <QTimer>

// Runs drive once the modal dialog that the caller opens next is up. A check that fails in drive
// closes every modal dialog, so that the test fails at once instead of waiting for its timeout.
inline void whenModal(QObject *context, std::function<void()> drive)
{
    QTimer::singleShot(0, context, [drive = std::move(drive)] {
        drive();
        while (QTest::currentTestFailed() && QApplication::activeModalWidget())
            QApplication::activeModalWidget()->close();
    });
}

// A temporary program directory, a fixed clock, and recorders in place of the launcher and the
// prompts. Each prompt or start is noted as one line, with the program directory written as
// $DIR and the private temporary directory as $TMP.
class WindowFixture : public IniFixture
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
            [this](QMessageBox::Icon icon, const QString &text, QMessageBox::StandardButtons) {
                static const QStringList icons {u"plainly"_s, u"for information"_s,
                    u"as a warning"_s, u"as a failure"_s, u"as a question"_s};
                records << u"said %1 %2"_s.arg(icons.value(icon), oneLine(text));
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

    ProgramLocations locations() const { return ProgramLocations::portable(directory()); }

    QString local(QString text) const
    {
        // The program directory may lie in the temporary directory, as it does on Windows.
        text = slashed(text).replace(directory(), u"$DIR"_s);
        if (const QString temporary = Module1::GetTempDirectory(); !temporary.isEmpty())
            text.replace(slashed(temporary), u"$TMP"_s);
        return text;
    }

    // The lines noted since the last call.
    QStringList takeRecords() { return std::exchange(records, {}); }

    QDateTime now {QDate(2026, 12, 5), QTime(23, 41, 7)};
    bool launchSucceeds = true;
    QMessageBox::StandardButton nextAnswer = QMessageBox::Ok;
    QString nextInput;
    QStringList records;
};
