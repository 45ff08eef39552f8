#pragma once

#include "historydatabase.h"

#include <QDialog>

#include <functional>

class DatabaseWatch;

// The frame every tool window shares: a window of its own beside the main window, over the
// database of past results and saved tickets, kept current (when activated after another
// connection changed the database, on F5, and when told), never smaller than its controls need,
// with its help page on F1.
class ToolWindow : public QDialog
{
    Q_OBJECT

public:
    void reload(); // the database changed: what the window shows is read again

signals:
    void databaseChanged(); // the window stored something: the other windows follow

protected:
    ToolWindow(const QString &databasePath, const QString &title, QWidget *parent);

    // Once the controls are built: the size to open at, the help page and its section, and how
    // the window reads the database again.
    void frame(QSize size, const QString &helpPage, const QString &helpSection,
        std::function<void()> reread);

    HistoryDatabase m_database;
    DatabaseWatch *m_watch = nullptr;
};
