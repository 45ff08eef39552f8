#include "savedticketsmodel.h"

#include "engine/figures.h"

#include <limits>

using namespace Qt::StringLiterals;

namespace {

// The numbers, each drawn one in brackets and the bonus in parentheses.
QString marked(const SavedTicket &ticket, const PastDraw *draw)
{
    QStringList items;
    for (const int number : ticket.numbers) {
        const QString text = u"%1"_s.arg(number, 2, 10, QChar(u'0'));
        if (draw && draw->numbers.contains(number))
            items << u'[' + text + u']';
        else if (draw && draw->bonuses.contains(number))
            items << u'(' + text + u')';
        else
            items << text;
    }
    return items.join(u' ');
}

QString SourceText(TicketSource source)
{
    switch (source) {
    case TicketSource::Entered:
        return u"入力"_s;
    case TicketSource::Wheel:
        return u"ホイール"_s;
    default:
        return u"作成"_s;
    }
}

} // namespace

SavedTicketsModel::SavedTicketsModel(const Game &game, QObject *parent)
    : RowsModel(
        {u"回"_s, u"日付"_s, u"券"_s, u"入手"_s, u"数字"_s, u"一致"_s, u"等級"_s, u"賞金"_s},
        parent)
    , m_game(game)
{ }

bool SavedTicketsModel::won(int row) const
{
    const QVariant grade = index(row, Grade).data(SortRole);
    return !grade.isNull() && grade.toInt() <= m_game.gradeCount();
}

void SavedTicketsModel::setTickets(
    std::vector<SavedTicket> tickets, const std::vector<PastDraw> &draws)
{
    m_tickets = std::move(tickets);
    std::vector<Row> rows;
    rows.reserve(m_tickets.size());
    for (const SavedTicket &ticket : m_tickets) {
        const PastDraw *draw = FindDraw(draws, ticket.draw);
        const Grading grading = draw ? GradeOf(m_game, ticket.numbers, *draw) : Grading {};
        const qint64 prize = draw ? PrizeOf(grading, *draw) : 0;
        Row &row = rows.emplace_back();
        row.cells = QStringList {u"第%1回"_s.arg(ticket.draw),
            draw && draw->date.isValid() ? draw->date.toString(u"yyyy/MM/dd"_s) : u"—"_s,
            TicketLetter(ticket.line), SourceText(ticket.source), marked(ticket, draw),
            draw ? QString::number(grading.matches) : u"—"_s,
            draw ? GradeText(grading.grade) : u"未抽せん"_s,
            !draw                        ? u"—"_s
                : prize == NoWinnerPrize ? u"該当なし（金額不明）"_s
                : prize < 0              ? u"未確定"_s
                                         : Yen(prize)};
        // A grade sorts best first as 1等 and on, then none, then not drawn.
        // A date, a match or a prize not known yet has no key, and sorts last.
        const QVariant unknown;
        row.keys = QVariantList {ticket.draw,
            draw && draw->date.isValid() ? QVariant(draw->date.toJulianDay()) : unknown,
            ticket.line, qint64(ticket.source), NumbersKey(ticket.numbers),
            draw ? QVariant(grading.matches) : unknown,
            !draw                    ? unknown
                : grading.grade == 0 ? QVariant(m_game.gradeCount() + 1)
                                     : QVariant(grading.grade),
            draw && prize >= 0 ? QVariant(prize) : unknown};
        row.heard
            = u"%1 %2：%3、%4"_s.arg(row.cells[Draw], row.cells[Letter], DrawText(ticket.numbers),
                draw ? u"一致 %1、%2、賞金 %3"_s.arg(
                    row.cells[Matches], row.cells[Grade], row.cells[Prize])
                     : row.cells[Grade]);
    }
    setRows(std::move(rows));
}
