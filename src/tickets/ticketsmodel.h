#pragma once

#include "rowsmodel.h"
#include "ticketdraw.h"

// The tickets made, a row each: its letter and its numbers. The letters run on from the first
// line given, so that they are those the tickets are saved, copied and logged with. Each cell's
// text is made when it is asked for, so that tens of thousands of tickets show at once.
class TicketsModel : public QAbstractTableModel
{
public:
    enum Column { Letter, Numbers, ColumnCount };
    static constexpr int SortRole = RowsModel::SortRole;

    using QAbstractTableModel::QAbstractTableModel;

    void setTickets(std::vector<Ticket> tickets, int firstLine);
    const std::vector<Ticket> &tickets() const { return m_tickets; }
    int firstLine() const { return m_firstLine; }
    QString letterOf(int row) const { return TicketLetter(m_firstLine + row); }
    QStringList lines() const; // "A 03 11 19 27 38 42", a ticket each

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(
        int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    std::vector<Ticket> m_tickets;
    int m_firstLine = 0;
};
