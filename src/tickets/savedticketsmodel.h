#pragma once

#include "rowsmodel.h"
#include "ticketcheck.h"

// The saved tickets graded against the stored draws, a row each by draw and letter. The text is
// what the check window shows, the drawn numbers a ticket holds in brackets and the bonus number
// in parentheses; every column sorts as numbers (a ticket not yet drawn after every drawn one).
class SavedTicketsModel : public RowsModel
{
public:
    enum Column { Draw, Date, Letter, Source, Numbers, Matches, Grade, Prize, ColumnCount };

    explicit SavedTicketsModel(const Game &game, QObject *parent = nullptr);

    // draws in the order of their numbers.
    void setTickets(std::vector<SavedTicket> tickets, const std::vector<PastDraw> &draws);
    const std::vector<SavedTicket> &tickets() const { return m_tickets; }
    // Whether the ticket of a row won a grade in its draw.
    bool won(int row) const;

private:
    const Game &m_game;
    std::vector<SavedTicket> m_tickets;
};
