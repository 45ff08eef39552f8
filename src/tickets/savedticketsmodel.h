#pragma once

#include "ticketcheck.h"

#include <QAbstractTableModel>

// The saved tickets graded against the stored draws, a row each by draw and letter. Display
// text is what the check window shows, the numbers the draw holds in brackets; AccessibleTextRole
// is what a screen reader hears of the row; SortRole holds the raw value, so that every column
// sorts as numbers (a ticket not yet drawn after every drawn one).
class SavedTicketsModel : public QAbstractTableModel
{
public:
    enum Column { Draw, Date, Letter, Source, Numbers, Matches, Grade, Prize, ColumnCount };
    static constexpr int SortRole = Qt::UserRole;

    using QAbstractTableModel::QAbstractTableModel;

    // draws in the order of their numbers.
    void setTickets(std::vector<SavedTicket> tickets, const std::vector<PastDraw> &draws);
    const std::vector<SavedTicket> &tickets() const { return m_tickets; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(
        int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    struct Row
    {
        std::array<QString, ColumnCount> cells;
        std::array<qint64, ColumnCount> keys {};
        QString heard;
    };

    std::vector<SavedTicket> m_tickets;
    std::vector<Row> m_rows;
};
