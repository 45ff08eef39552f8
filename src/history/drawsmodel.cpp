#include "drawsmodel.h"

#include "engine/figures.h"

#include <limits>

using namespace Qt::StringLiterals;

namespace {

const QString none = u"—"_s;

// Rows of missing draws sort after every draw in all columns but the number's.
constexpr qint64 missingKey = std::numeric_limits<qint64>::max();

QString amount(qint64 value, bool yen)
{
    if (value < 0)
        return none;
    return yen ? Yen(value) : Grouped(value);
}

} // namespace

DrawsModel::DrawsModel(const Game &game, QObject *parent)
    : QAbstractTableModel(parent)
    , m_game(game)
    , m_keys(std::size_t(carryOverColumn()) + 1)
{ }

void DrawsModel::setDraws(std::vector<PastDraw> draws)
{
    beginResetModel();
    m_draws = std::move(draws);
    m_missing = MissingDraws(m_draws);
    m_rows.clear();
    m_rows.reserve(m_draws.size() + m_missing.size());
    auto gap = m_missing.begin();
    for (std::size_t i = 0; i < m_draws.size(); ++i) {
        if (gap != m_missing.end() && gap->last < m_draws[i].number)
            m_rows.push_back({-1, *gap++});
        m_rows.push_back({int(i), {}});
    }
    for (std::vector<qint64> &keys : m_keys)
        keys.clear();
    endResetModel();
}

qint64 DrawsModel::keyOf(std::size_t row, int column) const
{
    if (m_rows[row].draw < 0)
        return column == Draw ? m_rows[row].missing.first : missingKey;
    const PastDraw &draw = m_draws[std::size_t(m_rows[row].draw)];
    if (column == carryOverColumn())
        return draw.carryOver;
    switch (column) {
    case Draw:
        return draw.number;
    case Date:
        return draw.date.isValid() ? draw.date.toJulianDay() : -1;
    case Numbers:
        return NumbersKey(draw.numbers);
    case Bonus:
        return NumbersKey(draw.bonuses);
    default: {
        const auto grade = std::size_t((column - FirstGrade) / 2);
        return (column - FirstGrade) % 2 == 0 ? draw.winners[grade] : draw.prizes[grade];
    }
    }
}

const std::vector<qint64> &DrawsModel::fillKeys(int column) const
{
    std::vector<qint64> &keys = m_keys[std::size_t(column)];
    keys.resize(m_rows.size());
    for (std::size_t row = 0; row < m_rows.size(); ++row)
        keys[row] = keyOf(row, column);
    return keys;
}

const PastDraw *DrawsModel::drawAt(int row) const
{
    if (row < 0 || row >= int(m_rows.size()) || m_rows[std::size_t(row)].draw < 0)
        return nullptr;
    return &m_draws[std::size_t(m_rows[std::size_t(row)].draw)];
}

int DrawsModel::rowOf(int number) const
{
    const auto found = std::lower_bound(
        m_rows.begin(), m_rows.end(), number, [this](const Row &row, int wanted) {
            return (row.draw < 0 ? row.missing.last : m_draws[std::size_t(row.draw)].number)
                < wanted;
        });
    if (found == m_rows.end())
        return -1;
    const bool within = found->draw < 0 ? found->missing.first <= number
                                        : m_draws[std::size_t(found->draw)].number == number;
    return within ? int(found - m_rows.begin()) : -1;
}

int DrawsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int DrawsModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : carryOverColumn() + 1;
}

QVariant DrawsModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= int(m_rows.size()))
        return {};
    const int column = index.column();
    if (role == Qt::TextAlignmentRole)
        return int((column == Date || column == Numbers ? Qt::AlignLeft : Qt::AlignRight)
            | Qt::AlignVCenter);
    if (role == SortRole) {
        const qint64 key = sortKey(index.row(), column);
        return key == missingKey ? QVariant() : QVariant(key);
    }
    if (role != Qt::DisplayRole)
        return {};
    const Row &row = m_rows[std::size_t(index.row())];
    if (row.draw < 0) {
        if (column == Date)
            return u"ありません"_s;
        if (column != Draw)
            return {};
        return row.missing.first == row.missing.last
            ? u"第%1回"_s.arg(row.missing.first)
            : u"第%1回〜第%2回"_s.arg(row.missing.first).arg(row.missing.last);
    }
    const PastDraw &draw = m_draws[std::size_t(row.draw)];
    if (column == carryOverColumn())
        return amount(draw.carryOver, true);
    switch (column) {
    case Draw:
        return u"第%1回"_s.arg(draw.number);
    case Date:
        return draw.date.isValid() ? draw.date.toString(u"yyyy/MM/dd"_s) : none;
    case Numbers: {
        QStringList numbers;
        for (const int number : draw.numbers)
            numbers << u"%1"_s.arg(number, 2, 10, QChar(u'0'));
        return numbers.join(u' ');
    }
    case Bonus: {
        QStringList bonuses;
        for (const int number : draw.bonuses)
            bonuses << u"%1"_s.arg(number, 2, 10, QChar(u'0'));
        return bonuses.isEmpty() ? none : bonuses.join(u' ');
    }
    default: {
        const auto grade = std::size_t((column - FirstGrade) / 2);
        return (column - FirstGrade) % 2 == 0 ? amount(draw.winners[grade], false)
                                              : amount(draw.prizes[grade], true);
    }
    }
}

QVariant DrawsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (section == carryOverColumn())
        return u"キャリーオーバー"_s;
    switch (section) {
    case Draw:
        return u"回"_s;
    case Date:
        return u"日付"_s;
    case Numbers:
        return u"本数字"_s;
    case Bonus:
        return u"ボーナス数字"_s;
    default: {
        const int grade = (section - FirstGrade) / 2 + 1;
        return (section - FirstGrade) % 2 == 0 ? u"%1等口数"_s.arg(grade)
                                               : u"%1等賞金"_s.arg(grade);
    }
    }
}
