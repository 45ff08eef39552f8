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

EnteredTickets ParseEnteredTickets(const QString &text)
{
    EnteredTickets entered;
    const QStringList lines = text.split(u'\n');
    for (qsizetype index = 0; index < lines.size(); ++index) {
        QString line = lines[index].trimmed();
        if (line.isEmpty())
            continue;
        // A letter first, as コピー writes it, names the ticket and is no number.
        const qsizetype letters = std::find_if(line.begin(), line.end(), [](QChar c) {
            return !(c >= u'A' && c <= u'Z') && !(c >= u'a' && c <= u'z');
        }) - line.begin();
        if (letters > 0 && letters < line.size() && line[letters].isSpace())
            line = line.mid(letters);
        const NumberList numbers = ParseNumberList(line);
        QString fault = numbers.fault;
        if (fault.isEmpty() && !numbers.repeated.empty())
            fault = u"数字 %1 が 2 回あります。"_s.arg(numbers.repeated.front());
        if (fault.isEmpty() && numbers.numbers.size() != std::size_t(DrawnCount))
            fault = u"数字が %1 つあります（%2 つ必要です）。"_s.arg(numbers.numbers.size())
                        .arg(DrawnCount);
        if (!fault.isEmpty()) {
            entered.faults << u"%1 行目：%2"_s.arg(index + 1).arg(fault);
            continue;
        }
        Ticket ticket {};
        std::copy(numbers.numbers.begin(), numbers.numbers.end(), ticket.begin());
        std::sort(ticket.begin(), ticket.end());
        entered.tickets.push_back(ticket);
    }
    return entered;
}

QStringList SavedAlready(const std::vector<SavedTicket> &saved, const std::vector<int> &draws,
    const std::vector<Ticket> &tickets)
{
    QStringList found;
    for (const SavedTicket &ticket : saved) {
        if (std::find(draws.begin(), draws.end(), ticket.draw) != draws.end()
            && std::find(tickets.begin(), tickets.end(), ticket.numbers) != tickets.end())
            found << u"第%1回 %2"_s.arg(ticket.draw).arg(TicketLetter(ticket.line));
    }
    return found;
}
