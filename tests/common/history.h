#pragma once

#include "history/drawstore.h"
#include "tickets/ticketstore.h"

#include <optional>

// A history database with its two stores, as a window holds them, and their results told as the
// tests compare them: a value, or the fault's text.
struct History
{
    explicit History(const QString &path)
        : database(path)
    { }

    QString fault() const { return database.fault().text; }
    std::vector<PastDraw> draws() const { return drawStore.draws().value; }
    std::vector<SavedTicket> tickets() const { return ticketStore.tickets().value; }
    // Nothing when the store failed.
    std::optional<DrawStore::Stored> store(const ReadDraws &read, const QString &source,
        const std::function<bool(qsizetype)> &carryOn = {})
    {
        const StoreResult<DrawStore::Stored> stored = drawStore.store(read, source, carryOn);
        return stored.ok() ? std::optional(stored.value) : std::nullopt;
    }
    bool saveTickets(
        int draw, const std::vector<Numbers> &tickets, TicketSource source = TicketSource::Made)
    {
        return !ticketStore.save({draw}, tickets, source);
    }
    bool changeTicket(qint64 id, int draw, const Numbers &numbers)
    {
        return !ticketStore.change(id, draw, numbers);
    }

    HistoryDatabase database;
    DrawStore drawStore {database, Loto6()};
    TicketStore ticketStore {database, Loto6()};
};
