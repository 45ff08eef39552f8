#include "ticketsmodel.h"

using namespace Qt::StringLiterals;

TicketsModel::TicketsModel(QObject *parent)
    : RowsModel({u"券"_s, u"数字"_s}, parent)
{ }

void TicketsModel::setTickets(std::vector<Ticket> tickets, int firstLine)
{
    m_tickets = std::move(tickets);
    m_firstLine = firstLine;
    std::vector<Row> rows;
    for (int line = 0; line < int(m_tickets.size()); ++line) {
        const Ticket &ticket = m_tickets[std::size_t(line)];
        const QString letter = letterOf(line);
        const QString numbers = DrawText(ticket);
        rows.push_back({{letter, numbers}, {firstLine + line, NumbersKey(ticket)},
            u"%1：%2"_s.arg(letter, numbers)});
    }
    setRows(std::move(rows));
}

QStringList TicketsModel::lines() const
{
    QStringList lines;
    for (int line = 0; line < int(m_tickets.size()); ++line)
        lines << letterOf(line) + u' ' + DrawText(m_tickets[std::size_t(line)]);
    return lines;
}
