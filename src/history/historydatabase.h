#pragma once

#include "pastresults.h"

#include <QDateTime>
#include <QString>

#include <functional>
#include <optional>

class QSqlDatabase;
class QSqlQuery;

// Where a saved ticket came from: made by this program (作成), or entered by the user, who
// bought it (入力).
// Stored as 0, 1 and 2.
enum class TicketSource { Made, Entered, Wheel };

// A ticket saved for a draw: its letter is the line-th (0 for A) of that draw's tickets.
struct SavedTicket
{
    qint64 id = 0;
    int draw = 0;
    int line = 0;
    Numbers numbers; // ascending
    TicketSource source = TicketSource::Made;

    friend bool operator==(const SavedTicket &, const SavedTicket &) = default;
};

// The last store that changed the draws: when, and from which file (or 貼り付け).
struct ImportRecord
{
    QDateTime time;
    QString source;
};

// The stored past results: an SQLite database beside the settings file. Every change is one
// transaction, so a store that is killed or cancelled halfway leaves the database as it was; a
// busy timeout lets the window and an import from the command line take turns. A file that
// SQLite cannot open, that fails its integrity check, that holds tables of another program,
// that a newer version of the program made, or that holds a value no draw can have is never
// written, let alone replaced or deleted. A read that fails is a fault too, with SQLite's own
// words, never an empty list.
class HistoryDatabase
{
public:
    // The schema's version, kept in PRAGMA user_version. 1 held the draws; 2 added the saved
    // tickets; 3 checks every value of a draw and remembers the stores; 4 tells the tickets the
    // user entered from those the program made; 5 tells wheel tickets apart too.
    static constexpr int SchemaVersion = 5;

    explicit HistoryDatabase(const QString &path);
    ~HistoryDatabase();
    HistoryDatabase(const HistoryDatabase &) = delete;
    HistoryDatabase &operator=(const HistoryDatabase &) = delete;

    const QString &path() const { return m_path; }

    // Why the database cannot be used, in Japanese and naming the file; empty when it can.
    const QString &fault() const { return m_fault; }
    // Why the last change failed, with SQLite's own words; the fault when there is one.
    QString error() const { return m_fault.isEmpty() ? m_error : m_fault; }

    struct Stored
    {
        int added = 0;
        int completed = 0; // a stored draw's missing fields filled in (補完)
        int present = 0; // the same draw was stored already, with nothing new
        // A stored draw with other numbers or another value of a field, never changed.
        std::vector<RejectedLine> conflicts;
        bool cancelled = false; // carryOn asked to stop: nothing was stored
    };
    // Stores the draws in one transaction, noting the source when anything changed. A draw
    // already stored with the same numbers gets the fields it lacks; a field already stored
    // never changes. carryOn, when given, is asked with the draws done so far and cancels the
    // whole store by returning false. Nothing when the database cannot be used or the
    // transaction failed; error() then says why.
    std::optional<Stored> store(const ReadDraws &read, const QString &source,
        const std::function<bool(qsizetype)> &carryOn = {});

    // Every stored draw, in the order of their numbers; empty with fault() set when the read
    // failed or a stored value is out of range.
    std::vector<PastDraw> draws() const;

    // The draw of the highest number stored, 0 when none is (or fault() is set).
    int latestDraw() const;

    // The numbers missing between stored draws, as ranges; none when fault() is set.
    std::vector<DrawRange> missingDraws() const;

    // A figure that changes whenever another connection, of this program or of another run of
    // it, commits a change to the database; -1 when it cannot be read.
    qint64 dataVersion() const;

    // The last store that changed the draws, if any.
    std::optional<ImportRecord> lastImport() const;

    // Replaces the draw numbered `number` by `draw` (which may have another number, not yet
    // stored), or removes draws, each in one transaction. Saved tickets stay as they are. The
    // reason in Japanese when it failed, empty when it was done.
    QString replaceDraw(int number, const PastDraw &draw);
    QString removeDraws(const std::vector<int> &numbers);

    // Whether a draw of that number is stored (false when fault() is set).
    bool hasDraw(int number) const;
    // The line the next ticket saved for a draw gets: after those saved for it before.
    int nextLine(int draw) const;

    // Saves tickets for a draw in one transaction, lettered after those saved for it before.
    bool saveTickets(
        int draw, const std::vector<Numbers> &tickets, TicketSource source = TicketSource::Made);
    // The same tickets for each of several draws, all in one transaction.
    bool saveTickets(
        const std::vector<int> &draws, const std::vector<Numbers> &tickets, TicketSource source);
    // Every saved ticket, by draw and letter.
    std::vector<SavedTicket> tickets() const;
    // Gives the ticket of this id other numbers, or moves it to another draw, where it takes the
    // letter after that draw's tickets; one transaction. False when it failed or is gone.
    bool changeTicket(qint64 id, int draw, const Numbers &numbers);
    // Removes the tickets of these ids in one transaction.
    bool removeTickets(const std::vector<qint64> &ids);

private:
    QSqlDatabase connection() const;
    // Runs work inside BEGIN IMMEDIATE and commits it, or rolls everything back.
    bool inTransaction(const std::function<bool(QSqlQuery &)> &work);
    // A failed write: error() says so with SQLite's text.
    bool failed(const QSqlQuery &query);
    // A failed read: fault() says so with SQLite's text, and nothing more is written.
    bool unreadable(const QSqlQuery &query) const;

    bool open();
    bool migrate(int from);

    QString m_path;
    QString m_connection;
    mutable QString m_fault;
    QString m_error;
};
