#include "toolwindow.h"

#include "databasewatch.h"
#include "look/programstyle.h"
#include "look/tooltable.h"
#include "platform/module1.h"

ToolWindow::ToolWindow(const QString &databasePath, const QString &title, QWidget *parent)
    : QDialog(parent, ToolWindowFlags)
    , m_database(databasePath)
{
    setWindowTitle(title);
}

void ToolWindow::frame(
    QSize size, const QString &helpPage, const QString &helpSection, std::function<void()> reread)
{
    resize(size);
    KeepToolWindowWhole(this);
    Module1::ShowHelpPageOnF1(this, helpPage, helpSection);
    m_watch = new DatabaseWatch(this, m_database, std::move(reread));
}

void ToolWindow::reload()
{
    m_watch->reload();
}
