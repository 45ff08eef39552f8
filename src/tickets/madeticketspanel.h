#pragma once

#include "history/drawstore.h"
#include "ticketsmodel.h"
#include "ticketstore.h"

#include <QWidget>

class QGridLayout;
class QLabel;
class QPushButton;
class QSpinBox;
class QTableView;

// The tickets a window made: their table, lettered as they will be stored, what the last command
// did, logging them, and saving them for a draw or copying them. Shared by the tickets and wheel
// windows.
class MadeTicketsPanel : public QWidget
{
    Q_OBJECT

public:
    // The window's database and game; source marks the tickets saved; tableName is what a
    // screen reader hears the table as.
    MadeTicketsPanel(HistoryDatabase &database, const Game &game, TicketSource source,
        const QString &tableName, QWidget *parent);

    // Newly made, not saved yet; appended to the log while there is one.
    void setTickets(std::vector<Ticket> tickets);
    void setLogPath(const QString &path); // the main window's log: empty while logging is off
    const std::vector<Ticket> &tickets() const { return m_tickets.tickets(); }
    void setStatus(const QString &text); // shown, and heard with its figures
    // A request refused, with its reason and notes: told once, in the status and at once to a
    // screen reader; the tickets shown stay, marked as made under the earlier request, and
    // 保存 asks before saving them.
    void refuse(const QStringList &lines);
    void addButton(QPushButton *button); // beside コピー

    void copy(); // "コピー": the tickets onto the clipboard, a line each
    // "保存": the tickets into the database, for the chosen draw; for a draw already stored only
    // once the user agrees, and with no draw chosen only once the user gives one.
    void save();
    // The database changed, or may be usable again: the letters, the draw once there is one,
    // and why it cannot be used while it cannot.
    void reload();

signals:
    void saved();
    void logged(); // tickets were appended to the log

private:
    void showTickets(); // the letters, and which commands can run

    HistoryDatabase &m_database;
    DrawStore m_draws;
    TicketStore m_store;
    TicketSource m_source;
    QString m_logPath;
    TicketsModel m_tickets;
    bool m_saved = false;
    bool m_earlier = false; // the tickets answer an earlier request than the last one
    StoreFault m_fault; // why the database cannot be used, as the status tells

    QGridLayout *m_grid = nullptr;
    QTableView *m_table = nullptr; // the tickets, a row each
    QLabel *m_status = nullptr; // what the last command did
    QSpinBox *m_drawNumber = nullptr; // the draw the tickets are saved for: 第 N 回
    QPushButton *m_save = nullptr; // "保存"
    QPushButton *m_copy = nullptr; // "コピー"
};
