// Reads arbitrary text as the fixed and the excluded numbers of a tickets request, with its
// count, limit and strength from the first bytes: the lists hold only numbers 1..43, once each,
// and tickets that are made keep every rule; a request is refused only with a reason.

#include "engine/uniformsource.h"
#include "tickets/ticketdraw.h"

#include <algorithm>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 3)
        return 0;
    const int count = 1 + data[0] % MostTicketsAtOnce;
    const int overlap = data[1] % 6;
    const int strength = data[2] % 16;
    const QString text = QString::fromUtf8(QByteArrayView(data + 3, qsizetype(size - 3)));
    const qsizetype bar = text.indexOf(u'|');
    const NumberList fixed = ParseNumberList(text.left(bar));
    const NumberList excluded = ParseNumberList(bar < 0 ? QString() : text.mid(bar + 1));
    for (const NumberList *list : {&fixed, &excluded}) {
        for (auto n = list->numbers.begin(); n != list->numbers.end(); ++n) {
            if (*n < 1 || *n > NumberCount || std::find(list->numbers.begin(), n, *n) != n)
                abort();
        }
    }
    if (!fixed.fault.isEmpty() || !excluded.fault.isEmpty())
        return 0;

    UniformSource random(size);
    const TicketRequest request {{DefaultLevelString(), QStringLiteral("11231"), true, strength},
        count, fixed.numbers, excluded.numbers, overlap};
    const TicketsMade made = DrawTickets(request, random);
    if (!made.refusal.reason.isEmpty()) {
        if (!made.tickets.empty())
            abort();
        return 0;
    }
    if (int(made.tickets.size()) != count)
        abort();
    const auto holds = [](const Ticket &ticket, int number) {
        return std::find(ticket.begin(), ticket.end(), number) != ticket.end();
    };
    for (std::size_t i = 0; i < made.tickets.size(); ++i) {
        const Ticket &ticket = made.tickets[i];
        if (!std::is_sorted(ticket.begin(), ticket.end())
            || std::adjacent_find(ticket.begin(), ticket.end()) != ticket.end()
            || ticket.front() < 1 || ticket.back() > NumberCount)
            abort();
        for (const int number : fixed.numbers)
            if (!holds(ticket, number))
                abort();
        for (const int number : excluded.numbers)
            if (holds(ticket, number))
                abort();
        for (std::size_t j = 0; j < i; ++j) {
            const auto shared = std::count_if(made.tickets[j].begin(), made.tickets[j].end(),
                [&](int number) { return holds(ticket, number); });
            if (shared > overlap)
                abort();
        }
    }
    return 0;
}
