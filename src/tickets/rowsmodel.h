#pragma once

#include <QAbstractTableModel>
#include <QSortFilterProxyModel>
#include <QStringList>
#include <QVariantList>

#include <functional>
#include <vector>

// A table whose rows are built whole: the text of each cell, the raw value each cell sorts by
// (SortRole, so that numbers sort as numbers; none where the value is not known yet), and what a
// screen reader hears of the row (AccessibleTextRole, the same for every cell of it).
class RowsModel : public QAbstractTableModel
{
public:
    static constexpr int SortRole = Qt::UserRole;

    struct Row
    {
        QStringList cells;
        QVariantList keys;
        QString heard;
    };

    RowsModel(QStringList headers, QObject *parent);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(
        int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

protected:
    void setRows(std::vector<Row> rows);

private:
    QStringList m_headers;
    std::vector<Row> m_rows;
};

// Sorts a RowsModel by its keys, a cell without one (a ticket not drawn yet, a prize not known)
// after every other whichever way the column sorts.
class RowsProxy : public QSortFilterProxyModel
{
public:
    explicit RowsProxy(QObject *parent = nullptr);

    // Only the source rows this accepts are shown, besides the text filter; all for none.
    void setRowFilter(std::function<bool(int)> accepts);

protected:
    bool lessThan(const QModelIndex &left, const QModelIndex &right) const override;
    bool filterAcceptsRow(int row, const QModelIndex &parent) const override;

private:
    std::function<bool(int)> m_accepts;
};
