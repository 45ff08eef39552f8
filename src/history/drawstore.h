#pragma once

#include "historydatabase.h"
#include "pastresults.h"

#include <QDateTime>

#include <optional>

// The last store that changed the draws: when, and from which file (or 貼り付け).
struct ImportRecord
{
    QDateTime time;
    QString source;
};

// The stored draws of a game, beside the other games' in the same tables. Every change is one
// transaction, so a store that is killed or cancelled halfway leaves the database as it was. A read
// that fails is a fault, with SQLite's own words, never an empty list; a stored value that no draw
// can have makes every figure after it wrong, so the draws are not given and the database is not
// written.
class DrawStore
{
public:
    DrawStore(HistoryDatabase &database, const Game &game);

    const Game &game() const { return *m_game; }
    // Takes the draws of another game from now on.
    void setGame(const Game &game) { m_game = &game; }

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
    // whole store by returning false.
    StoreResult<Stored> store(const ReadDraws &read, const QString &source,
        const std::function<bool(qsizetype)> &carryOn = {});

    // Every stored draw, in the order of their numbers.
    StoreResult<std::vector<PastDraw>> draws() const;
    // The draw of the highest number stored, 0 when none is.
    StoreResult<int> latestDraw() const;
    // Whether a draw of that number is stored.
    StoreResult<bool> hasDraw(int number) const;
    // The numbers missing between stored draws, as ranges.
    StoreResult<std::vector<DrawRange>> missingDraws() const;
    // The last store that changed the draws, if any.
    StoreResult<std::optional<ImportRecord>> lastImport() const;

    // Replaces the draw numbered `number` by `draw` (which may have another number, not yet
    // stored: a stored one is Taken), or removes draws, each in one transaction. Saved tickets
    // stay as they are.
    StoreFault replaceDraw(int number, const PastDraw &draw);
    StoreFault removeDraws(const std::vector<int> &numbers);

private:
    HistoryDatabase &m_database;
    const Game *m_game;
};
