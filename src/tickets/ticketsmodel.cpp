#include "ticketsmodel.h"

using namespace Qt::StringLiterals;

void TicketsModel::setTickets(std::vector<Ticket> tickets, int firstLine)
{
    beginResetModel();
    m_tickets = std::move(tickets);
    m_firstLine = firstLine;
    endResetModel();
}

QStringList TicketsModel::lines() const
{
    QStringList lines;
    for (int line = 0; line < int(m_tickets.size()); ++line)
        lines << letterOf(line) + u' ' + DrawText(m_tickets[std::size_t(line)]);
    return lines;
}

int TicketsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_tickets.size());
}

int TicketsModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TicketsModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const Ticket &ticket = m_tickets[std::size_t(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return index.column() == Letter ? letterOf(index.row()) : DrawText(ticket);
    case Qt::AccessibleTextRole:
        return u"%1：%2"_s.arg(letterOf(index.row()), DrawText(ticket));
    case SortRole:
        return index.column() == Letter ? qint64(m_firstLine + index.row()) : NumbersKey(ticket);
    default:
        return {};
    }
}

QVariant TicketsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    return section == Letter ? u"券"_s : u"数字"_s;
}
