#include "ticketdraw.h"

#include "engine/uniformsource.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// A request is given up after this many tickets drawn in all, and the tickets start over after
// this many in a row that break the limit: together well under a second for any request.
constexpr int drawBudget = 20'000;
constexpr int restartAfter = 1'000;

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

int shared(const Ticket &a, const Ticket &b)
{
    int count = 0;
    for (const int number : a)
        count += int(std::count(b.begin(), b.end(), number));
    return count;
}

} // namespace

NumberList ParseNumberList(const QString &text)
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
        else if (number < 1 || number > NumberCount)
            list.fault = u"「%1」は %2 までの数字ではありません。"_s.arg(token, NumberRangeText());
        else if (std::find(list.numbers.begin(), list.numbers.end(), number) == list.numbers.end())
            list.numbers.push_back(number);
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

TicketRefusal RefuseTickets(const TicketRequest &request)
{
    for (const auto *list : {&request.fixed, &request.excluded}) {
        for (const int number : *list) {
            if (number < 1 || number > NumberCount)
                return {
                    u"「%1」は %2 までの数字ではありません。"_s.arg(number).arg(NumberRangeText()),
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
    if (fixedCount > MostFixedNumbers)
        return {
            u"軸数字は %1 個までです（%2 個あります）。"_s.arg(MostFixedNumbers).arg(fixedCount)};
    const int left = NumberCount - int(excluded.count());
    if (left < 6)
        return {u"除外数字が多すぎます。選べる数字が %1 個しか残りません（6 個必要です）。"_s.arg(
            left)};
    const qint64 most
        = MostTickets(left - fixedCount, 6 - fixedCount, request.overlap - fixedCount);
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
    const NumberSet excluded = setOf(request.excluded);
    int inARow = 0;
    for (int drawn = 0; drawn < drawBudget; ++drawn) {
        const Ticket ticket = DrawSix(request.draw, random, fixed, excluded);
        const bool fits = std::all_of(made.tickets.begin(), made.tickets.end(),
            [&](const Ticket &other) { return shared(ticket, other) <= request.overlap; });
        if (fits) {
            made.tickets.push_back(ticket);
            inARow = 0;
            if (int(made.tickets.size()) == request.count)
                return made;
        } else if (++inARow == restartAfter) {
            made.tickets.clear();
            inARow = 0;
        }
    }
    made.tickets.clear();
    made.refusal.reason
        = u"共通数字の上限 %1 を守る %2 口が見つかりませんでした。上限を上げるか、口数を減らしてください。"_s
              .arg(request.overlap)
              .arg(request.count);
    return made;
}

QString TicketLetter(int index)
{
    QString letters;
    for (int rest = index + 1; rest > 0; rest = (rest - 1) / 26)
        letters.prepend(QChar(u'A' + (rest - 1) % 26));
    return letters;
}
