#include "statisticsmodel.h"

#include "engine/chancefollower.h"
#include "engine/figures.h"

#include <limits>

using namespace Qt::StringLiterals;

namespace {

const QString none = u"—"_s;

} // namespace

void StatisticsModel::setFigures(const PeriodStatistics &period, const LevelString &current,
    const std::optional<LevelString> &proposed, const std::vector<double> &chances)
{
    // The same numbers change their figures in place, so that a selection stays.
    const bool sameRows = m_period.numbers.size() == period.numbers.size();
    if (!sameRows)
        beginResetModel();
    m_period = period;
    m_current = current;
    m_proposed = proposed;
    m_chances = chances;
    if (sameRows)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    else
        endResetModel();
}

int StatisticsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_period.numbers.size());
}

int StatisticsModel::columnCount(const QModelIndex &parent) const
{
    // Without levels, as for a game the profiles do not hold, the figures of the draws alone.
    return parent.isValid() ? 0 : m_chances.empty() ? int(Level) : ColumnCount;
}

QVariant StatisticsModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != SortRole && role != ExportRole)
        return {};
    const bool sorting = role == SortRole;
    if (role == ExportRole) {
        const QVariant value = data(index, SortRole);
        const bool none = (index.column() == SinceLast
                              && m_period.numbers[std::size_t(index.row())].sinceLast < 0)
            || (index.column() == NewLevel && !m_proposed);
        return none ? QVariant() : value;
    }
    const int number = index.row() + 1;
    const NumberStatistics &figures = m_period.numbers[std::size_t(index.row())];
    switch (index.column()) {
    case Number:
        return number;
    case Drawn:
        return figures.drawn;
    case Expected:
        return sorting ? QVariant(m_period.expected()) : QVariant(OneDecimal(m_period.expected()));
    case Difference: {
        const double difference = figures.drawn - m_period.expected();
        return sorting ? QVariant(difference) : QVariant(OneDecimal(difference));
    }
    case SinceLast:
        // A number never drawn in the period sorts after every one that was.
        if (figures.sinceLast < 0)
            return sorting ? QVariant(std::numeric_limits<int>::max()) : QVariant(none);
        return figures.sinceLast;
    case AsBonus:
        return figures.asBonus;
    case Level:
        return LevelAt(m_current, number);
    case NewLevel:
        if (!m_proposed)
            return sorting ? QVariant(-1) : QVariant(none);
        return LevelAt(*m_proposed, number);
    case Chance:
        return sorting ? QVariant(m_chances[std::size_t(index.row())])
                       : QVariant(ChanceText(m_chances[std::size_t(index.row())]));
    default:
        return {};
    }
}

QVariant StatisticsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    static const QStringList names {u"数字"_s, u"出た回数"_s, u"期待値"_s, u"差"_s,
        u"最後に出てから"_s, u"ボーナス"_s, u"現在のレベル"_s, u"新しいレベル"_s,
        u"予想に入る確率"_s};
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    return names.value(section);
}
