#include "ticketcheck.h"

#include <algorithm>

using namespace Qt::StringLiterals;

Grading GradeOf(const Ticket &ticket, const PastDraw &draw)
{
    Grading grading;
    for (const int number : ticket)
        grading.matches += int(std::count(draw.numbers.begin(), draw.numbers.end(), number));
    // A draw stored without its bonus has 0 there, which no ticket holds.
    const bool bonus = std::find(ticket.begin(), ticket.end(), draw.bonus) != ticket.end();
    switch (grading.matches) {
    case 6:
        grading.grade = 1;
        break;
    case 5:
        grading.grade = bonus ? 2 : 3;
        break;
    case 4:
        grading.grade = 4;
        break;
    case 3:
        grading.grade = 5;
        break;
    default:
        grading.grade = 0;
    }
    return grading;
}

QString GradeText(int grade)
{
    return grade == 0 ? u"—"_s : u"%1等"_s.arg(grade);
}

std::array<double, PrizeGrades> RandomTicketChances(bool bonusKnown)
{
    // Of the 37 numbers not drawn, one is the bonus: 2等 takes five of the six and the bonus,
    // 3等 five and one of the other 36, 4等 four and two of the 37, 5等 three and three.
    constexpr double all = 6'096'454; // C(43, 6)
    constexpr double second = 6 * 1;
    constexpr double third = 6 * 36;
    return {1 / all, bonusKnown ? second / all : 0, (bonusKnown ? third : second + third) / all,
        15 * 666 / all, 20 * 7770 / all};
}

qint64 PrizeOf(const Grading &grading, const PastDraw &draw)
{
    if (grading.grade == 0)
        return 0;
    const auto grade = std::size_t(grading.grade - 1);
    return draw.winners[grade] == 0 && draw.prizes[grade] == 0 ? NoWinnerPrize : draw.prizes[grade];
}

GradeCounts CheckAgainstAll(const std::vector<Ticket> &tickets, const std::vector<PastDraw> &draws)
{
    GradeCounts counts;
    for (const PastDraw &draw : draws) {
        const auto chances = RandomTicketChances(draw.bonus != 0);
        for (const Ticket &ticket : tickets) {
            if (const int grade = GradeOf(ticket, draw).grade; grade > 0)
                ++counts.counted[std::size_t(grade - 1)];
            for (std::size_t g = 0; g < chances.size(); ++g)
                counts.expected[g] += chances[g];
            ++counts.checks;
        }
    }
    return counts;
}

const PastDraw *FindDraw(const std::vector<PastDraw> &draws, int number)
{
    const auto found = std::lower_bound(draws.begin(), draws.end(), number,
        [](const PastDraw &draw, int wanted) { return draw.number < wanted; });
    return found != draws.end() && found->number == number ? &*found : nullptr;
}

TicketSummary Summarise(const std::vector<SavedTicket> &tickets, const std::vector<PastDraw> &draws)
{
    TicketSummary summary;
    for (const SavedTicket &ticket : tickets) {
        ++summary.tickets;
        summary.spent += TicketPrice;
        const PastDraw *draw = FindDraw(draws, ticket.draw);
        if (!draw) {
            ++summary.undrawn;
            continue;
        }
        const qint64 prize = PrizeOf(GradeOf(ticket.numbers, *draw), *draw);
        if (prize == NoWinnerPrize)
            ++summary.noWinner;
        else if (prize < 0)
            ++summary.unsettled;
        else
            summary.won += prize;
    }
    return summary;
}
