#pragma once

#include "statistics.h"

#include <QAbstractTableModel>
#include <QSortFilterProxyModel>

// The stored draws, one row a draw in the order of their numbers, with a row for each run of
// draw numbers missing between them. Display text is what the window shows; SortRole holds the
// raw value: ascending, a date, count or amount the source did not give comes before every
// given one; a row of missing draws sorts by its first number, and after every draw in the
// other columns.
class DrawsModel : public QAbstractTableModel
{
public:
    enum Column {
        Draw,
        Date,
        Numbers,
        Bonus,
        FirstGrade, // each grade's winners, then its prize; the carry-over last
    };
    static constexpr int SortRole = Qt::UserRole;

    explicit DrawsModel(const Game &game, QObject *parent = nullptr);

    int carryOverColumn() const { return FirstGrade + 2 * m_game.gradeCount(); }

    void setDraws(std::vector<PastDraw> draws);
    const std::vector<PastDraw> &draws() const { return m_draws; }
    const std::vector<DrawRange> &missing() const { return m_missing; } // between the draws
    // The draw a row shows; nothing for a row of missing draws.
    const PastDraw *drawAt(int row) const;
    // The row of that draw, or of the missing draws it is among; -1 when it is neither.
    int rowOf(int number) const;

    // The raw value SortRole holds, without a QVariant: ten thousand draws sort in a few
    // milliseconds by it. A column's keys are worked out when it is first sorted by.
    qint64 sortKey(int row, int column) const
    {
        const std::vector<qint64> &keys = m_keys[std::size_t(column)];
        return keys.empty() ? fillKeys(column)[std::size_t(row)] : keys[std::size_t(row)];
    }

    // Without the two virtual calls of the default's checks: a sort of many rows asks for
    // millions of indexes.
    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override
    {
        return !parent.isValid() && row >= 0 && std::size_t(row) < m_rows.size() && column >= 0
                && column <= carryOverColumn()
            ? createIndex(row, column)
            : QModelIndex();
    }
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(
        int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    struct Row
    {
        int draw = -1; // index into m_draws, or -1 for missing draws
        DrawRange missing;
    };

    const Game &m_game;
    std::vector<PastDraw> m_draws;
    std::vector<DrawRange> m_missing;
    std::vector<Row> m_rows;
    mutable std::vector<std::vector<qint64>> m_keys; // by column, once asked for

    qint64 keyOf(std::size_t row, int column) const;
    const std::vector<qint64> &fillKeys(int column) const;
};

// Sorts a DrawsModel by its keys.
class DrawsProxy : public QSortFilterProxyModel
{
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

protected:
    bool lessThan(const QModelIndex &left, const QModelIndex &right) const override
    {
        const auto *draws = static_cast<const DrawsModel *>(sourceModel());
        return draws->sortKey(left.row(), left.column())
            < draws->sortKey(right.row(), right.column());
    }
};
