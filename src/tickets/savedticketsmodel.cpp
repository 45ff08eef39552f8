#include "savedticketsmodel.h"

#include "engine/figures.h"

#include <limits>

using namespace Qt::StringLiterals;

namespace {

constexpr qint64 last = std::numeric_limits<qint64>::max();

// The numbers, each one the draw holds in brackets.
QString marked(const SavedTicket &ticket, const PastDraw *draw)
{
    QStringList items;
    for (const int number : ticket.numbers) {
        const QString text = u"%1"_s.arg(number, 2, 10, QChar(u'0'));
        const bool hit = draw
            && std::find(draw->numbers.begin(), draw->numbers.end(), number) != draw->numbers.end();
        items << (hit ? u'[' + text + u']' : text);
    }
    return items.join(u' ');
}

} // namespace

void SavedTicketsModel::setTickets(
    std::vector<SavedTicket> tickets, const std::vector<PastDraw> &draws)
{
    beginResetModel();
    m_tickets = std::move(tickets);
    m_rows.clear();
    m_rows.reserve(m_tickets.size());
    for (const SavedTicket &ticket : m_tickets) {
        const PastDraw *draw = FindDraw(draws, ticket.draw);
        const Grading grading = draw ? GradeOf(ticket.numbers, *draw) : Grading {};
        const qint64 prize = draw ? PrizeOf(grading, *draw) : 0;
        Row &row = m_rows.emplace_back();
        qint64 numbers = 0;
        for (const int number : ticket.numbers)
            numbers = numbers * (NumberCount + 1) + number;
        row.cells = {u"第%1回"_s.arg(ticket.draw),
            draw && draw->date.isValid() ? draw->date.toString(u"yyyy/MM/dd"_s) : u"—"_s,
            TicketLetter(ticket.line),
            ticket.source == TicketSource::Entered ? u"入力"_s : u"作成"_s, marked(ticket, draw),
            draw ? QString::number(grading.matches) : u"—"_s,
            draw ? GradeText(grading.grade) : u"未抽せん"_s,
            !draw                        ? u"—"_s
                : prize == NoWinnerPrize ? u"該当なし（金額不明）"_s
                : prize < 0              ? u"未確定"_s
                                         : Yen(prize)};
        // A grade sorts best first as 1等 to 5等, then none, then not drawn.
        row.keys = {ticket.draw, draw && draw->date.isValid() ? draw->date.toJulianDay() : last,
            ticket.line, qint64(ticket.source), numbers, draw ? grading.matches : -1,
            !draw                    ? 7
                : grading.grade == 0 ? 6
                                     : grading.grade,
            draw ? prize : last};
        row.heard
            = u"%1 %2：%3、%4"_s.arg(row.cells[Draw], row.cells[Letter], DrawText(ticket.numbers),
                draw ? u"一致 %1、%2、賞金 %3"_s.arg(
                    row.cells[Matches], row.cells[Grade], row.cells[Prize])
                     : row.cells[Grade]);
    }
    endResetModel();
}

int SavedTicketsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int SavedTicketsModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant SavedTicketsModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= int(m_rows.size()))
        return {};
    const Row &row = m_rows[std::size_t(index.row())];
    const auto column = std::size_t(index.column());
    switch (role) {
    case Qt::DisplayRole:
        return row.cells[column];
    case Qt::AccessibleTextRole:
        return row.heard;
    case SortRole:
        return row.keys[column];
    default:
        return {};
    }
}

QVariant SavedTicketsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    static const QStringList names {
        u"回"_s, u"日付"_s, u"券"_s, u"入手"_s, u"数字"_s, u"一致"_s, u"等級"_s, u"賞金"_s};
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    return names.value(section);
}
