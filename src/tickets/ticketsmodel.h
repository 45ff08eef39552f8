#pragma once

#include "rowsmodel.h"
#include "ticketdraw.h"

// The tickets made, a row each: its letter and its numbers. The letters run on from the first
// line given, so that they are those the tickets are saved, copied and logged with.
class TicketsModel : public RowsModel
{
public:
    enum Column { Letter, Numbers, ColumnCount };

    explicit TicketsModel(QObject *parent = nullptr);

    void setTickets(std::vector<Ticket> tickets, int firstLine);
    const std::vector<Ticket> &tickets() const { return m_tickets; }
    QString letterOf(int row) const { return TicketLetter(m_firstLine + row); }
    QStringList lines() const; // "A 03 11 19 27 38 42", a ticket each

private:
    std::vector<Ticket> m_tickets;
    int m_firstLine = 0;
};
