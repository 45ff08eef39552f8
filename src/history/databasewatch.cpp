#include "databasewatch.h"

#include <QEvent>
#include <QShortcut>
#include <QWidget>

DatabaseWatch::DatabaseWatch(
    QWidget *window, const HistoryDatabase &database, std::function<void()> reload)
    : QObject(window)
    , m_database(database)
    , m_reload(std::move(reload))
    , m_seen(database.dataVersion())
{
    window->installEventFilter(this);
    auto *refresh = new QShortcut(Qt::Key_F5, window);
    connect(refresh, &QShortcut::activated, this, &DatabaseWatch::reload);
}

void DatabaseWatch::reload()
{
    seen();
    m_reload();
}

void DatabaseWatch::seen()
{
    m_seen = m_database.dataVersion();
}

void DatabaseWatch::reloadIfChanged()
{
    if (m_database.dataVersion() != m_seen)
        reload();
}

bool DatabaseWatch::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        reloadIfChanged();
    return QObject::eventFilter(watched, event);
}
