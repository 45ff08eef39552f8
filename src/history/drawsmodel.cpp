#include "drawsmodel.h"

#include "engine/figures.h"

using namespace Qt::StringLiterals;

namespace {

const QString none = u"—"_s;

QVariant amount(qint64 value, bool sorting, bool yen)
{
    if (sorting)
        return value;
    if (value < 0)
        return none;
    return yen ? Yen(value) : Grouped(value);
}

} // namespace

void DrawsModel::setDraws(std::vector<PastDraw> draws)
{
    beginResetModel();
    m_draws = std::move(draws);
    m_rows.clear();
    m_rows.reserve(m_draws.size());
    for (std::size_t i = 0; i < m_draws.size(); ++i) {
        if (i > 0 && m_draws[i].number > m_draws[i - 1].number + 1)
            m_rows.push_back({-1, {m_draws[i - 1].number + 1, m_draws[i].number - 1}});
        m_rows.push_back({int(i), {}});
    }
    endResetModel();
}

const PastDraw *DrawsModel::drawAt(int row) const
{
    if (row < 0 || row >= int(m_rows.size()) || m_rows[std::size_t(row)].draw < 0)
        return nullptr;
    return &m_draws[std::size_t(m_rows[std::size_t(row)].draw)];
}

int DrawsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int DrawsModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant DrawsModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= int(m_rows.size()))
        return {};
    const int column = index.column();
    if (role == Qt::TextAlignmentRole)
        return int((column == Date || column == Numbers ? Qt::AlignLeft : Qt::AlignRight)
            | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != SortRole)
        return {};
    const bool sorting = role == SortRole;
    const Row &row = m_rows[std::size_t(index.row())];
    if (row.draw < 0) {
        if (column == Draw)
            return sorting ? QVariant(row.missing.first)
                : row.missing.first == row.missing.last
                ? QVariant(u"第%1回"_s.arg(row.missing.first))
                : QVariant(u"第%1回〜第%2回"_s.arg(row.missing.first).arg(row.missing.last));
        return column == Date && !sorting ? QVariant(u"ありません"_s) : QVariant();
    }
    const PastDraw &draw = m_draws[std::size_t(row.draw)];
    switch (column) {
    case Draw:
        return sorting ? QVariant(draw.number) : QVariant(u"第%1回"_s.arg(draw.number));
    case Date:
        if (sorting)
            return draw.date.isValid() ? draw.date.toJulianDay() : qint64(-1);
        return draw.date.isValid() ? draw.date.toString(u"yyyy/MM/dd"_s) : none;
    case Numbers: {
        QStringList numbers;
        for (const int number : draw.numbers)
            numbers << u"%1"_s.arg(number, 2, 10, QChar(u'0'));
        return numbers.join(u' ');
    }
    case Bonus:
        if (sorting)
            return draw.bonus;
        return draw.bonus == 0 ? none : u"%1"_s.arg(draw.bonus, 2, 10, QChar(u'0'));
    case CarryOver:
        return amount(draw.carryOver, sorting, true);
    default: {
        const auto grade = std::size_t((column - FirstGrade) / 2);
        return (column - FirstGrade) % 2 == 0 ? amount(draw.winners[grade], sorting, false)
                                              : amount(draw.prizes[grade], sorting, true);
    }
    }
}

QVariant DrawsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case Draw:
        return u"回"_s;
    case Date:
        return u"日付"_s;
    case Numbers:
        return u"本数字"_s;
    case Bonus:
        return u"ボーナス数字"_s;
    case CarryOver:
        return u"キャリーオーバー"_s;
    default: {
        const int grade = (section - FirstGrade) / 2 + 1;
        return (section - FirstGrade) % 2 == 0 ? u"%1等口数"_s.arg(grade)
                                               : u"%1等賞金"_s.arg(grade);
    }
    }
}
