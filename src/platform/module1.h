#pragma once

#include <QString>

class QWidget;

// Shared routines that touch the platform: path joining, the private temporary directory, the
// help pages and opening an address with the desktop's associated program.
namespace Module1 {

// The default log viewer, which is also the main window's designed caption, and the program
// that shows a help page.
#ifdef Q_OS_WIN
inline constexpr auto DefaultLogViewer = u"notepad.exe";
inline constexpr auto HelpViewer = u"explorer.exe";
#else
inline constexpr auto DefaultLogViewer = u"xdg-open";
inline constexpr auto HelpViewer = u"xdg-open";
#endif

// path with the platform's directory separator at its end.
QString AppendBackslash(const QString &path);

// A directory for temporary files that only this user can reach, or empty when none can be
// had. Another user can then neither read what is put there nor plant a link in its place.
QString GetTempDirectory();

// The folder that holds the help pages, set once at start-up.
void SetHelpDirectory(const QString &directory);
// Opens a page in the help viewer; a viewer that cannot start is reported here.
void ShowHelpPage(const QString &page);
// F1 anywhere in window opens the page, at its section when one is named (the page's address
// then goes to the viewer with the section after #).
void ShowHelpPageOnF1(QWidget *window, const QString &page, const QString &section = {});

// Opens an address with the desktop's associated program.
enum class ShellOpenResult { Opened, Failed };
ShellOpenResult ShellOpen(const QString &target);

} // namespace Module1
