#include "seams.h"

#include "productinfo.h"

#include <QDesktopServices>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>

namespace {

// The handlers tests have installed; an empty one means the real thing.
struct Handlers
{
    Seams::ClockHandler clock;
    Seams::LaunchHandler launch;
    Seams::UrlHandler url;
    Seams::MessageHandler message;
    Seams::InputHandler input;
};

Handlers &handlers()
{
    static Handlers installed;
    return installed;
}

} // namespace

namespace Seams {

QDateTime now()
{
    return handlers().clock ? handlers().clock() : QDateTime::currentDateTime();
}

void setClock(ClockHandler handler)
{
    handlers().clock = std::move(handler);
}

bool startDetached(const QString &program, const QStringList &arguments)
{
    if (handlers().launch)
        return handlers().launch(program, arguments);
    return !program.isEmpty() && QProcess::startDetached(program, arguments);
}

void setLauncher(LaunchHandler handler)
{
    handlers().launch = std::move(handler);
}

bool openUrl(const QUrl &url)
{
    return handlers().url ? handlers().url(url) : QDesktopServices::openUrl(url);
}

void setUrlOpener(UrlHandler handler)
{
    handlers().url = std::move(handler);
}

QMessageBox::StandardButton message(QWidget *parent, QMessageBox::Icon icon, const QString &text,
    QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton)
{
    if (handlers().message)
        return handlers().message(icon, text, buttons);
    QMessageBox box(icon, QString::fromUtf16(ApplicationTitle), text, buttons, parent);
    box.setDefaultButton(defaultButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

void setMessageHandler(MessageHandler handler)
{
    handlers().message = std::move(handler);
}

} // namespace Seams

namespace Seams {

QString input(
    QWidget *parent, const QString &caption, const QString &prompt, const QString &defaultText)
{
    if (handlers().input)
        return handlers().input(caption, prompt, defaultText);
    QInputDialog box(parent);
    box.setWindowTitle(caption);
    box.setLabelText(prompt);
    box.setTextValue(defaultText);
    if (auto *field = box.findChild<QLineEdit *>())
        field->setAccessibleName(caption);
    // A long prompt wraps instead of stretching the box across the screen.
    for (QLabel *label : box.findChildren<QLabel *>())
        label->setWordWrap(true);
    return box.exec() == QDialog::Accepted ? box.textValue() : QString();
}

void setInputHandler(InputHandler handler)
{
    handlers().input = std::move(handler);
}

} // namespace Seams
