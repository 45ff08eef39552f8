#include "wheelchancesmodel.h"

using namespace Qt::StringLiterals;

WheelChancesModel::WheelChancesModel(QObject *parent)
    : RowsModel(ChanceHeaders(), parent)
{ }

void WheelChancesModel::setWheel(const Wheel *wheel)
{
    std::vector<Row> rows;
    if (wheel) {
        const std::vector<QStringList> texts = ChanceTable(*wheel);
        for (std::size_t k = 0; k < texts.size(); ++k) {
            const MatchRow &row = wheel->rows[k];
            const QStringList &cells = texts[k];
            rows.push_back({cells, {row.k, row.chance, row.smallest, row.average, row.smallest},
                u"選んだ数字のうち %1が当たる：確率 %2、最少の一致 %3、平均の一致 %4、最少の一致の"
                u"等級 %5"_s.arg(
                    cells[Hits], cells[Chance], cells[Smallest], cells[Average], cells[Grade])});
        }
    }
    setRows(std::move(rows));
}
