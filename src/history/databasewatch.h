#pragma once

#include "historydatabase.h"

#include <QObject>

#include <functional>

class QWidget;

// Keeps a window's view of the database current. The window reloads when it is activated after
// another connection changed the database (another window of this program, or --import run
// from outside), on F5 whatever changed, and whenever it is told that another window stored
// something.
class DatabaseWatch : public QObject
{
public:
    DatabaseWatch(QWidget *window, const HistoryDatabase &database, std::function<void()> reload);

    void reload(); // now, noting the database's state as seen
    void seen(); // the window has just read the database itself
    void reloadIfChanged(); // only when another connection changed it since it was last seen

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    const HistoryDatabase &m_database;
    std::function<void()> m_reload;
    qint64 m_seen;
};
