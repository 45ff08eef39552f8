#include "ticketdraw.h"

#include "engine/chance.h"
#include "engine/uniformsource.h"

#include <QStringList>

#include <algorithm>
#include <chrono>

using namespace Qt::StringLiterals;

namespace {

// The time a search for tickets may take before the request is given up.
constexpr std::chrono::milliseconds searchBudget {1000};
// Below this chance of landing on an open number, a pick is taken from its odds directly
// rather than made again and again as the plain draw makes it.
constexpr double directBelow = 0.25;

bool isSeparator(QChar c)
{
    return c.isSpace() || c == u',' || c == u'，' || c == u'、';
}

NumberSet setOf(const std::vector<int> &numbers)
{
    NumberSet set;
    for (const int number : numbers)
        set.set(std::size_t(number));
    return set;
}

// The game's numbers, 1 to its highest.
NumberSet numbersOf(const Game &game)
{
    NumberSet numbers;
    for (int number = 1; number <= game.numbers; ++number)
        numbers.set(std::size_t(number));
    return numbers;
}

// A number that is not closed, each in proportion to its chance; open is their sum.
int pickByChance(const std::array<double, NumberCount> &chances, const NumberSet &closed,
    double open, UniformSource &random)
{
    double left = open * double(random.next());
    int last = 0;
    for (int number = 1; number <= NumberCount; ++number) {
        if (closed[std::size_t(number)])
            continue;
        last = number;
        left -= chances[std::size_t(number - 1)];
        if (left < 0)
            break;
    }
    return last;
}

Ticket ticketOf(const NumberSet &numbers)
{
    Ticket ticket;
    for (int number = 1; number <= NumberCount; ++number) {
        if (numbers[std::size_t(number)])
            ticket.push_back(number);
    }
    return ticket;
}

} // namespace

NumberList ParseNumberList(const Game &game, const QString &text)
{
    NumberList list;
    QString token;
    const auto take = [&] {
        if (token.isEmpty() || !list.fault.isEmpty())
            return;
        bool digits = true;
        QString ascii;
        for (const QChar c : std::as_const(token)) {
            const int value = c.digitValue();
            // Only the ASCII and the full-width digits: a circled or superscript digit is text.
            digits = digits && value >= 0 && (c.unicode() < 0x80 || (c >= u'０' && c <= u'９'));
            ascii += QChar(u'0' + std::max(value, 0));
        }
        while (ascii.size() > 1 && ascii.front() == u'0')
            ascii.remove(0, 1);
        const int number = ascii.size() <= 2 ? ascii.toInt() : 0;
        if (!digits)
            list.fault = u"「%1」は数字として読めません。"_s.arg(token);
        else if (number < 1 || number > game.numbers)
            list.fault
                = u"「%1」は 1 から %2 までの数字ではありません。"_s.arg(token).arg(game.numbers);
        else if (std::find(list.numbers.begin(), list.numbers.end(), number) == list.numbers.end())
            list.numbers.push_back(number);
        else if (std::find(list.repeated.begin(), list.repeated.end(), number)
            == list.repeated.end())
            list.repeated.push_back(number);
        token.clear();
    };
    for (const QChar c : text) {
        if (isSeparator(c))
            take();
        else
            token += c;
    }
    take();
    return list;
}

QString RepeatedNote(const QString &what, const NumberList &list)
{
    if (list.repeated.empty())
        return {};
    QStringList numbers;
    for (const int number : list.repeated)
        numbers << QString::number(number);
    return u"%1の %2 が 2 回以上書かれています。1 回として扱いました。"_s.arg(
        what, numbers.join(u" と "_s));
}

qint64 MostTickets(int pool, int size, int shared)
{
    if (size > pool)
        return 0;
    if (size == 0 || shared < 0)
        return 1;
    if (shared == 0)
        return pool / size;
    return qint64(pool) * MostTickets(pool - 1, size - 1, shared - 1) / size;
}

qint64 MostTicketsFor(const TicketRequest &request)
{
    const int fixed = int(setOf(request.fixed).count());
    const int left = request.game->numbers - int(setOf(request.excluded).count());
    return MostTickets(left - fixed, request.game->drawn - fixed, request.overlap - fixed);
}

TicketRefusal RefuseTickets(const TicketRequest &request)
{
    if (request.count < 1 || request.count > MostTicketsAtOnce)
        return {u"口数は 1 から %1 までです。"_s.arg(MostTicketsAtOnce), true};
    const Game &game = *request.game;
    const int mostFixed = game.mostFixed();
    if (request.overlap < 0 || request.overlap > mostFixed)
        return {u"共通数字の上限は 0 から %1 までです。"_s.arg(mostFixed), true};
    for (const auto *list : {&request.fixed, &request.excluded}) {
        for (const int number : *list) {
            if (number < 1 || number > game.numbers)
                return {u"「%1」は 1 から %2 までの数字ではありません。"_s.arg(number).arg(
                            game.numbers),
                    true};
        }
    }
    const NumberSet fixed = setOf(request.fixed);
    const NumberSet excluded = setOf(request.excluded);
    if (const NumberSet both = fixed & excluded; both.any()) {
        int number = 1;
        while (!both[std::size_t(number)])
            ++number;
        return {u"%1 が軸数字と除外数字の両方に入っています。"_s.arg(number), true};
    }
    const int fixedCount = int(fixed.count());
    if (fixedCount > mostFixed)
        return {u"軸数字は %1 個までです（%2 個あります）。"_s.arg(mostFixed).arg(fixedCount)};
    const int left = game.numbers - int(excluded.count());
    if (left < game.drawn)
        return {
            u"除外数字が多すぎます。選べる数字が %1 個しか残りません（%2 個必要です）。"_s.arg(left)
                .arg(game.drawn)};
    const qint64 most = MostTicketsFor(request);
    if (request.count > most) {
        return {
            u"共通数字の上限 %1 では %2 口を作れません。この条件で作れるのは多くて %3 口です。"_s
                .arg(request.overlap)
                .arg(request.count)
                .arg(most)};
    }
    return {};
}

TicketsMade DrawTickets(const TicketRequest &request, UniformSource &random)
{
    TicketsMade made {{}, RefuseTickets(request)};
    if (!made.refusal.reason.isEmpty())
        return made;
    const NumberSet fixed = setOf(request.fixed);
    // The game's numbers; those past its highest are never open.
    const NumberSet all = numbersOf(*request.game);
    const NumberSet excluded = setOf(request.excluded) | ~all;
    // The 6-of-43 game's picks are the main window's; the others' are all alike.
    const bool alike = !request.game->levels;
    const int free = request.game->drawn - int(fixed.count());
    const int last = request.count * free; // the depth at which every ticket is made

    // A search, pick by pick, ticket after ticket. A pick is the plain draw's, made again while
    // it lands on a number that is not open: fixed, excluded, already in the ticket, or one
    // that would take the ticket over the limit with an earlier one. So among the open numbers
    // it keeps the plain draw's odds. Where no number is open, the search goes back a pick and
    // leaves the number it took there closed: a number that failed at a place of a ticket fails
    // at every later place of it too, since the same ticket would be tried again.
    std::vector<NumberSet> failed(static_cast<std::size_t>(last));
    std::vector<int> chosen(static_cast<std::size_t>(last));
    std::vector<NumberSet> tickets; // made, in order
    // Whole tickets that failed at a place, whatever followed: with the tickets before it
    // unchanged, such a ticket fails at every later place too.
    std::vector<std::vector<NumberSet>> failedTickets(static_cast<std::size_t>(request.count));
    std::vector<int> overlaps; // of the ticket under way with each made one
    NumberSet current = fixed;
    LevelString working;
    std::array<double, NumberCount> chances {}; // of one pick, for the ticket under way
    const auto startTicket = [&] {
        current = fixed;
        overlaps.assign(tickets.size(), 0);
        for (std::size_t i = 0; i < tickets.size(); ++i)
            overlaps[i] = int((current & tickets[i]).count());
        if (alike) {
            chances.fill(0);
            std::fill_n(chances.begin(), request.game->numbers, 1.0 / request.game->numbers);
            return;
        }
        working = WithBirthdayBonus(request.draw, random);
        chances = PickChances(request.draw, working);
    };
    const auto take = [&](int number, int change) {
        current[std::size_t(number)] = change > 0;
        for (std::size_t i = 0; i < tickets.size(); ++i)
            overlaps[i] += tickets[i][std::size_t(number)] ? change : 0;
    };
    startTicket();
    const auto started = std::chrono::steady_clock::now();
    int depth = 0;
    for (qint64 step = 1; depth < last; ++step) {
        if (step % 256 == 0 && std::chrono::steady_clock::now() - started > searchBudget) {
            made.refusal.reason
                = u"%1 秒のうちに、共通数字の上限 %2 を守る %3 口が見つかりませんでした（数えて"
                  u"分かる上限は %4 口です）。上限を上げるか、口数を減らしてください。"_s
                      .arg(std::chrono::duration_cast<std::chrono::seconds>(searchBudget).count())
                      .arg(request.overlap)
                      .arg(request.count)
                      .arg(MostTicketsFor(request));
            return made;
        }
        NumberSet closed = current | excluded;
        for (int place = depth - depth % free; place <= depth; ++place)
            closed |= failed[std::size_t(place)];
        for (std::size_t i = 0; i < tickets.size(); ++i) {
            if (overlaps[i] >= request.overlap)
                closed |= tickets[i];
        }
        if (depth % free == free - 1) {
            for (std::size_t place = 0; place <= tickets.size(); ++place) {
                for (const NumberSet &ticket : failedTickets[place]) {
                    if ((ticket & current) == current && (ticket & ~current).count() == 1)
                        closed |= ticket & ~current;
                }
            }
        }
        if ((all & ~closed).any()) {
            // Where the open numbers are so unlikely that picks seldom land on them, the pick
            // is taken from its odds at once: the same odds, in bounded time.
            double open = 0;
            for (int number = 1; number <= NumberCount; ++number)
                open += closed[std::size_t(number)] ? 0 : chances[std::size_t(number - 1)];
            const int picked = alike || open < directBelow
                ? pickByChance(chances, closed, open, random)
                : PickNumber(request.draw, working, random, closed);
            chosen[std::size_t(depth)] = picked;
            take(picked, +1);
            if (++depth % free == 0) {
                tickets.push_back(current);
                if (depth < last)
                    startTicket();
            }
            continue;
        }
        failed[std::size_t(depth)].reset();
        if (depth == 0) {
            made.refusal.reason
                = u"すべての組み合わせを調べましたが、共通数字の上限 %1 を守る %2 口はありません"
                  u"（数えて分かる上限は %3 口です）。上限を上げるか、口数を減らしてください。"_s
                      .arg(request.overlap)
                      .arg(request.count)
                      .arg(MostTicketsFor(request));
            return made;
        }
        if (depth-- % free == 0) {
            // Back into the ticket before: it is under way again, and failed as it was.
            for (std::size_t place = tickets.size(); place < failedTickets.size(); ++place)
                failedTickets[place].clear();
            current = tickets.back();
            tickets.pop_back();
            failedTickets[tickets.size()].push_back(current);
            overlaps.assign(tickets.size(), 0);
            for (std::size_t i = 0; i < tickets.size(); ++i)
                overlaps[i] = int((current & tickets[i]).count());
        }
        take(chosen[std::size_t(depth)], -1);
        failed[std::size_t(depth)].set(std::size_t(chosen[std::size_t(depth)]));
    }
    for (const NumberSet &ticket : tickets)
        made.tickets.push_back(ticketOf(ticket));
    return made;
}

TypedTicketsMade MakeTickets(
    const Game &game, const TypedTicketRequest &request, UniformSource &random)
{
    const NumberList fixed = ParseNumberList(game, request.fixed);
    const NumberList excluded = ParseNumberList(game, request.excluded);
    TypedTicketsMade answer;
    for (const QString &note :
        {RepeatedNote(request.fixedName, fixed), RepeatedNote(request.excludedName, excluded)}) {
        if (!note.isEmpty())
            answer.notes << note;
    }
    if (!fixed.fault.isEmpty() || !excluded.fault.isEmpty()) {
        answer.made.refusal
            = {!fixed.fault.isEmpty() ? request.fixedName + u"の"_s + fixed.fault
                                      : request.excludedName + u"の"_s + excluded.fault,
                true};
        return answer;
    }
    answer.made = DrawTickets(
        {request.draw, request.count, fixed.numbers, excluded.numbers, request.overlap, &game},
        random);
    return answer;
}

QString TicketLetter(int index)
{
    QString letters;
    for (int rest = index + 1; rest > 0; rest = (rest - 1) / 26)
        letters.prepend(QChar(u'A' + (rest - 1) % 26));
    return letters;
}
