#pragma once

#include <QDateTime>
#include <QMessageBox>
#include <QStringList>
#include <QUrl>

#include <functional>

// The few places where tests take the program's place: the clock, the starting of other
// programs, and the modal prompts. Each works for real unless a test installs a handler.
namespace Seams {

using ClockHandler = std::function<QDateTime()>;
using LaunchHandler = std::function<bool(const QString &program, const QStringList &arguments)>;
using MessageHandler = std::function<QMessageBox::StandardButton(
    QMessageBox::Icon icon, const QString &text, QMessageBox::StandardButtons buttons)>;
using UrlHandler = std::function<bool(const QUrl &url)>;
using InputHandler = std::function<QString(
    const QString &caption, const QString &prompt, const QString &defaultText)>;

QDateTime now();
void setClock(ClockHandler handler);

// Starts a program detached, never through a shell; false when it could not be started.
bool startDetached(const QString &program, const QStringList &arguments);
void setLauncher(LaunchHandler handler);

// Opens an address with the desktop's associated program; false when that failed.
bool openUrl(const QUrl &url);
void setUrlOpener(UrlHandler handler);

// A modal message box titled with the application title.
QMessageBox::StandardButton message(QWidget *parent, QMessageBox::Icon icon, const QString &text,
    QMessageBox::StandardButtons buttons = QMessageBox::Ok,
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);
void setMessageHandler(MessageHandler handler);

// A one-line input box pre-filled with defaultText; Cancel gives the empty text.
QString input(
    QWidget *parent, const QString &caption, const QString &prompt, const QString &defaultText);
void setInputHandler(InputHandler handler);

} // namespace Seams
