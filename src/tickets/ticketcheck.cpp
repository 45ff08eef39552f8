#include "ticketcheck.h"

#include <algorithm>
#include <optional>

using namespace Qt::StringLiterals;

Grading GradeOf(const Game &game, const Ticket &ticket, const PastDraw &draw)
{
    Grading grading;
    int bonusMatches = 0;
    for (const int number : ticket) {
        grading.matches += int(draw.numbers.contains(number));
        bonusMatches += int(draw.bonuses.contains(number));
    }
    // A draw stored without its bonus numbers has none that a ticket could hold.
    grading.grade = game.gradeOf(grading.matches, bonusMatches);
    return grading;
}

qint64 PrizeOf(const Grading &grading, const PastDraw &draw)
{
    if (grading.grade == 0)
        return 0;
    const auto grade = std::size_t(grading.grade - 1);
    return draw.winners[grade] == 0 && draw.prizes[grade] == 0 ? NoWinnerPrize : draw.prizes[grade];
}

GradeCounts CheckAgainstAll(
    const Game &game, const std::vector<Ticket> &tickets, const std::vector<PastDraw> &draws)
{
    GradeCounts counts;
    counts.counted.assign(std::size_t(game.gradeCount()), 0);
    counts.expected.assign(std::size_t(game.gradeCount()), 0);
    const std::vector<double> withBonus = game.gradeChances(true);
    const std::vector<double> withoutBonus = game.gradeChances(false);
    for (const PastDraw &draw : draws) {
        const std::vector<double> &chances = draw.bonuses.size() != 0 ? withBonus : withoutBonus;
        for (const Ticket &ticket : tickets) {
            if (const int grade = GradeOf(game, ticket, draw).grade; grade > 0)
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

TicketSummary Summarise(
    const Game &game, const std::vector<SavedTicket> &tickets, const std::vector<PastDraw> &draws)
{
    TicketSummary summary;
    for (const SavedTicket &ticket : tickets) {
        ++summary.tickets;
        summary.spent += game.price;
        const PastDraw *draw = FindDraw(draws, ticket.draw);
        if (!draw) {
            ++summary.undrawn;
            continue;
        }
        const qint64 prize = PrizeOf(GradeOf(game, ticket.numbers, *draw), *draw);
        if (prize == NoWinnerPrize)
            ++summary.noWinner;
        else if (prize < 0)
            ++summary.unsettled;
        else
            summary.won += prize;
    }
    return summary;
}

QString CheckedTicketsCsv(
    const Game &game, const std::vector<SavedTicket> &tickets, const std::vector<PastDraw> &draws)
{
    const auto known
        = [](bool given, qint64 value) { return given ? QString::number(value) : QString(); };
    QString text = u"回,日付,券,入手,数字,一致,等級,購入,賞金\r\n"_s;
    qint64 spent = 0;
    qint64 won = 0;
    for (const SavedTicket &ticket : tickets) {
        const PastDraw *draw = FindDraw(draws, ticket.draw);
        const Grading grading = draw ? GradeOf(game, ticket.numbers, *draw) : Grading {};
        const qint64 prize = draw ? PrizeOf(grading, *draw) : -1;
        spent += game.price;
        won += std::max<qint64>(prize, 0);
        const QString source = ticket.source == TicketSource::Entered ? u"入力"_s
            : ticket.source == TicketSource::Wheel                    ? u"ホイール"_s
                                                                      : u"作成"_s;
        text += QStringList {QString::number(ticket.draw),
                    draw && draw->date.isValid() ? draw->date.toString(u"yyyy/MM/dd"_s) : QString(),
                    TicketLetter(ticket.line), source, DrawText(ticket.numbers),
                    known(draw, grading.matches), known(draw, grading.grade),
                    QString::number(game.price), known(prize >= 0, prize)}
                    .join(u',')
            + u"\r\n"_s;
    }
    return text + u"合計,,,,,,,%1,%2\r\n"_s.arg(spent).arg(won);
}

namespace {

// The numbers of a line as 券を入力 takes it: a CSV row of CheckedTicketsCsv gives its numbers'
// field, its header and 合計 row nothing; any other line is taken whole, without the letter
// コピー writes first.
std::optional<QString> ticketPart(QString line)
{
    if (line.count(u',') >= 8) { // the nine fields of CheckedTicketsCsv
        const QStringList fields = line.split(u',');
        if (fields[0] == u"回"_s || fields[0] == u"合計"_s)
            return std::nullopt;
        return fields[4];
    }
    const qsizetype letters = std::find_if(line.begin(), line.end(), [](QChar c) {
        return !(c >= u'A' && c <= u'Z') && !(c >= u'a' && c <= u'z');
    }) - line.begin();
    if (letters > 0 && letters < line.size() && line[letters].isSpace())
        line = line.mid(letters);
    return line;
}

} // namespace

EnteredTickets ParseEnteredTickets(const Game &game, const QString &text)
{
    EnteredTickets entered;
    const QStringList lines = text.split(u'\n');
    for (qsizetype index = 0; index < lines.size(); ++index) {
        const QString line = lines[index].trimmed();
        const std::optional<QString> part = line.isEmpty() ? std::nullopt : ticketPart(line);
        if (!part)
            continue;
        const NumberList numbers = ParseNumberList(game, *part);
        QString fault = numbers.fault;
        if (fault.isEmpty() && !numbers.repeated.empty())
            fault = u"数字 %1 が 2 回あります。"_s.arg(numbers.repeated.front());
        if (fault.isEmpty() && numbers.numbers.size() != std::size_t(game.drawn))
            fault = u"数字が %1 つあります（%2 つ必要です）。"_s.arg(numbers.numbers.size())
                        .arg(game.drawn);
        if (!fault.isEmpty()) {
            entered.faults << u"%1 行目：%2"_s.arg(index + 1).arg(fault);
            continue;
        }
        std::vector<int> ascending = numbers.numbers;
        std::sort(ascending.begin(), ascending.end());
        entered.tickets.emplace_back(ascending);
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
