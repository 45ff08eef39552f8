#pragma once

#include "tickets/ticketdraw.h"

#include <algorithm>

// The first rule the tickets break, empty when they keep them all: as many as asked, six numbers
// 1..43 in ascending order each, every fixed number, no excluded one, and no two sharing more
// than the limit.
inline QString BrokenRule(const TicketRequest &request, const std::vector<Ticket> &tickets)
{
    const auto holds = [](const Ticket &ticket, int number) {
        return std::find(ticket.begin(), ticket.end(), number) != ticket.end();
    };
    if (int(tickets.size()) != request.count)
        return QStringLiteral("%1 tickets").arg(tickets.size());
    for (auto ticket = tickets.begin(); ticket != tickets.end(); ++ticket) {
        const QString text = DrawText(*ticket);
        if (!std::is_sorted(ticket->begin(), ticket->end())
            || std::adjacent_find(ticket->begin(), ticket->end()) != ticket->end()
            || ticket->front() < 1 || ticket->back() > NumberCount)
            return text + QStringLiteral(": not six numbers in order");
        for (const int number : request.fixed)
            if (!holds(*ticket, number))
                return text + QStringLiteral(": lacks a fixed number");
        for (const int number : request.excluded)
            if (holds(*ticket, number))
                return text + QStringLiteral(": holds an excluded number");
        for (auto other = tickets.begin(); other != ticket; ++other) {
            if (std::count_if(other->begin(), other->end(),
                    [&](int number) { return holds(*ticket, number); })
                > request.overlap)
                return text + QStringLiteral(": shares too many with ") + DrawText(*other);
        }
    }
    return {};
}
