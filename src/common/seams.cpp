#include "seams.h"

#include "engine/titleanimation.h"

#include <QDesktopServices>
#include <QInputDialog>
#include <QLabel>
#include <QProcess>

namespace {

Seams::ClockHandler &clockHandler()
{
    static Seams::ClockHandler handler;
    return handler;
}

Seams::LaunchHandler &launchHandler()
{
    static Seams::LaunchHandler handler;
    return handler;
}

Seams::MessageHandler &messageHandler()
{
    static Seams::MessageHandler handler;
    return handler;
}

Seams::UrlHandler &urlHandler()
{
    static Seams::UrlHandler handler;
    return handler;
}

Seams::InputHandler &inputHandler()
{
    static Seams::InputHandler handler;
    return handler;
}

} // namespace

namespace Seams {

QDateTime now()
{
    return clockHandler() ? clockHandler()() : QDateTime::currentDateTime();
}

void setClock(ClockHandler handler)
{
    clockHandler() = std::move(handler);
}

bool startDetached(const QString &program, const QStringList &arguments)
{
    if (launchHandler())
        return launchHandler()(program, arguments);
    return !program.isEmpty() && QProcess::startDetached(program, arguments);
}

void setLauncher(LaunchHandler handler)
{
    launchHandler() = std::move(handler);
}

bool openUrl(const QUrl &url)
{
    return urlHandler() ? urlHandler()(url) : QDesktopServices::openUrl(url);
}

void setUrlOpener(UrlHandler handler)
{
    urlHandler() = std::move(handler);
}

QMessageBox::StandardButton message(QWidget *parent, QMessageBox::Icon icon, const QString &text,
    QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton)
{
    if (messageHandler())
        return messageHandler()(icon, text, buttons);
    QMessageBox box(icon, QString::fromUtf16(ApplicationTitle), text, buttons, parent);
    box.setDefaultButton(defaultButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

void setMessageHandler(MessageHandler handler)
{
    messageHandler() = std::move(handler);
}

} // namespace Seams

namespace Seams {

QString input(
    QWidget *parent, const QString &caption, const QString &prompt, const QString &defaultText)
{
    if (inputHandler())
        return inputHandler()(caption, prompt, defaultText);
    QInputDialog box(parent);
    box.setWindowTitle(caption);
    box.setLabelText(prompt);
    box.setTextValue(defaultText);
    // A long prompt wraps instead of stretching the box across the screen.
    for (QLabel *label : box.findChildren<QLabel *>())
        label->setWordWrap(true);
    return box.exec() == QDialog::Accepted ? box.textValue() : QString();
}

void setInputHandler(InputHandler handler)
{
    inputHandler() = std::move(handler);
}

} // namespace Seams
