#pragma once

#include "pastresults.h"

#include <QString>

#include <optional>

// The stored past results: an SQLite database beside the settings file. Every change is one
// transaction, so a store that is killed halfway leaves the database as it was; a busy timeout
// lets the window and an import from the command line take turns. A file that SQLite cannot
// open, that fails its integrity check, or that a newer version of the program made is never
// written, let alone replaced or deleted.
class HistoryDatabase
{
public:
    // The schema's version, kept in PRAGMA user_version.
    static constexpr int SchemaVersion = 1;

    explicit HistoryDatabase(const QString &path);
    ~HistoryDatabase();
    HistoryDatabase(const HistoryDatabase &) = delete;
    HistoryDatabase &operator=(const HistoryDatabase &) = delete;

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

private:
    bool open();

    QString m_path;
    QString m_connection;
    QString m_fault;
};
