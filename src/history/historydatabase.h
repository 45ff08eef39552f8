#pragma once

#include "storefault.h"

#include <QString>
#include <QVariantList>

#include <array>
#include <functional>

class QSqlDatabase;
class QSqlQuery;

enum class StoredTable { Draws, Tickets };

// The file of stored past results and saved tickets: an SQLite database beside the settings
// file, one connection that the draws' and the tickets' stores share. A file that SQLite cannot
// open, that fails its integrity check, that holds tables of another program, that a newer
// version of the program made, or that holds a value no draw can have is never written, let
// alone replaced or deleted. A busy timeout lets the windows and an import from the command
// line take turns; a lock held past it is busy, never damaged. A fault is looked at again at the
// next use, so it clears once its cause is gone.
class HistoryDatabase
{
public:
    // The schema's version, kept in PRAGMA user_version. 1 held the draws; 2 added the saved
    // tickets; 3 checks every value of a draw and remembers the stores; 4 tells the tickets the
    // user entered from those the program made; 5 tells wheel tickets apart too; 6 holds the
    // three games; 7 remembers the last check of each game's source.
    static constexpr int SchemaVersion = 7;
    static constexpr int BusyTimeoutMs = 5000;

    explicit HistoryDatabase(const QString &path);
    ~HistoryDatabase();
    HistoryDatabase(const HistoryDatabase &) = delete;
    HistoryDatabase &operator=(const HistoryDatabase &) = delete;

    const QString &path() const { return m_path; }

    // Why the database cannot be used, as last found; none when it can.
    const StoreFault &fault() const;
    // Whether it can be opened now: a fault found in opening it before is looked at again (the
    // file opened and checked anew). A stored value found wrong keeps it from being written
    // until a read of every value of its table finds none.
    StoreFault ready();

    // A figure that changes whenever another connection, of this program or of another run of
    // it, commits a change to the database; -1 when it cannot be read.
    qint64 dataVersion() const;

    // For the stores: the connection, a failed statement's fault, a stored value found wrong
    // (or none found, which clears it), and work inside BEGIN IMMEDIATE, committed when it
    // gives no fault and rolled back otherwise.
    QSqlDatabase connection() const;
    StoreFault failed(const QSqlQuery &query, StoreProblem otherwise) const;
    StoreFault wrongValue(StoredTable table, const QString &which);
    void valuesChecked(StoredTable table) { m_wrongValue[std::size_t(table)] = {}; }
    StoreFault inTransaction(const std::function<StoreFault(QSqlQuery &)> &work);
    // Runs a read of the usable database, its values bound in order; the fault that kept it from
    // being read, if any.
    StoreFault read(QSqlQuery &query, const QString &statement, const QVariantList &values = {});

private:
    StoreFault open();
    StoreFault migrate(int from);

    QString m_path;
    QString m_connection;
    StoreFault m_fault; // from opening
    std::array<StoreFault, 2> m_wrongValue; // by table: a value no draw or ticket can have
};
