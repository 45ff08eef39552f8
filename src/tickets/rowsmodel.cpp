#include "rowsmodel.h"

RowsModel::RowsModel(QStringList headers, QObject *parent)
    : QAbstractTableModel(parent)
    , m_headers(std::move(headers))
{ }

void RowsModel::setRows(std::vector<Row> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

int RowsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int RowsModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_headers.size());
}

QVariant RowsModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const Row &row = m_rows[std::size_t(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return row.cells.value(index.column());
    case Qt::AccessibleTextRole:
        return row.heard;
    case SortRole:
        return row.keys.value(index.column());
    default:
        return {};
    }
}

RowsProxy::RowsProxy(QObject *parent)
    : QSortFilterProxyModel(parent)
{
    setSortRole(RowsModel::SortRole);
}

bool RowsProxy::lessThan(const QModelIndex &left, const QModelIndex &right) const
{
    const bool leftKnown = !left.data(sortRole()).isNull();
    const bool rightKnown = !right.data(sortRole()).isNull();
    if (leftKnown && rightKnown)
        return QSortFilterProxyModel::lessThan(left, right);
    // A descending sort puts a before b when b is less than a.
    return sortOrder() == Qt::DescendingOrder ? !leftKnown && rightKnown : leftKnown && !rightKnown;
}

void RowsProxy::setRowFilter(std::function<bool(int)> accepts)
{
    m_accepts = std::move(accepts);
    invalidateFilter();
}

bool RowsProxy::filterAcceptsRow(int row, const QModelIndex &parent) const
{
    return (!m_accepts || m_accepts(row)) && QSortFilterProxyModel::filterAcceptsRow(row, parent);
}

QVariant RowsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    return m_headers.value(section);
}
