#pragma once

#include "statistics.h"

#include <QAbstractTableModel>

// The numbers' figures over a period beside their current and proposed levels and the
// chance each then has of being picked, one row a number. Display text is what the window shows
// ("14.0", "—", "約 7.4%"); SortRole holds the raw value, so that every column sorts as numbers.
class StatisticsModel : public QAbstractTableModel
{
public:
    enum Column {
        Number,
        Drawn,
        Expected,
        Difference,
        SinceLast,
        AsBonus,
        Level,
        NewLevel,
        Chance,
        ColumnCount
    };
    static constexpr int SortRole = Qt::UserRole;
    // The value as data, for an export: a number (the chance as a share of 1), empty where none.
    static constexpr int ExportRole = Qt::UserRole + 1;

    using QAbstractTableModel::QAbstractTableModel;

    void setFigures(const PeriodStatistics &period, const LevelString &current,
        const std::optional<LevelString> &proposed, const std::vector<double> &chances);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(
        int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    PeriodStatistics m_period;
    LevelString m_current;
    std::optional<LevelString> m_proposed;
    std::vector<double> m_chances; // by number, from 1
};
