#pragma once

#include "pastresults.h"

#include <QString>

#include <functional>

#include <optional>

class QSqlQuery;

// A ticket saved for a draw: its letter is the line-th (0 for A) of that draw's tickets.
struct SavedTicket
{
    qint64 id = 0;
    int draw = 0;
    int line = 0;
    std::array<int, 6> numbers {}; // ascending

    friend bool operator==(const SavedTicket &, const SavedTicket &) = default;
};

// The stored past results: an SQLite database beside the settings file. Every change is one
// transaction, so a store that is killed halfway leaves the database as it was; a busy timeout
// lets the window and an import from the command line take turns. A file that SQLite cannot
// open, that fails its integrity check, or that a newer version of the program made is never
// written, let alone replaced or deleted.
class HistoryDatabase
{
public:
    // The schema's version, kept in PRAGMA user_version.
    // 1 held the draws; 2 added the saved tickets.
    static constexpr int SchemaVersion = 2;

    explicit HistoryDatabase(const QString &path);
    ~HistoryDatabase();
    HistoryDatabase(const HistoryDatabase &) = delete;
    HistoryDatabase &operator=(const HistoryDatabase &) = delete;

    const QString &path() const { return m_path; }

    // Why the database cannot be used, in Japanese and naming the file; empty when it can.
    const QString &fault() const { return m_fault; }

    struct Stored
    {
        int added = 0;
        int present = 0; // the same draw with the same numbers was stored already
        std::vector<RejectedLine> conflicts; // a stored draw with other numbers, never replaced
    };
    // Stores the draws in one transaction. Nothing when the database cannot be used or the
    // transaction failed.
    std::optional<Stored> store(const ReadDraws &read);

    // Every stored draw, in the order of their numbers.
    std::vector<PastDraw> draws() const;

    // The draw of the highest number stored, 0 when none is.
    int latestDraw() const;

    // Saves tickets for a draw in one transaction, lettered after those saved for it before.
    bool saveTickets(int draw, const std::vector<std::array<int, 6>> &tickets);
    // Every saved ticket, by draw and letter.
    std::vector<SavedTicket> tickets() const;
    // Removes the tickets of these ids in one transaction.
    bool removeTickets(const std::vector<qint64> &ids);

private:
    // Runs work inside BEGIN IMMEDIATE and commits it, or rolls everything back.
    bool inTransaction(const std::function<bool(QSqlQuery &)> &work);

    bool open();

    QString m_path;
    QString m_connection;
    QString m_fault;
};
