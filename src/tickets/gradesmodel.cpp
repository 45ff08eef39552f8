#include "gradesmodel.h"

#include "engine/figures.h"

#include <QLocale>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

// An expected count to three significant figures, whole numbers once it is large, and never
// in exponent form.
QString expectedText(double value)
{
    const int magnitude = value > 0 ? int(std::floor(std::log10(value))) : 0;
    return QLocale(QLocale::Japanese).toString(value, 'f', std::max(0, 2 - magnitude));
}

} // namespace

GradesModel::GradesModel(QObject *parent)
    : RowsModel({u"等級"_s, u"選んだ券"_s, u"無作為の券（平均）"_s}, parent)
{
    setCounts(std::nullopt);
}

void GradesModel::setCounts(const std::optional<GradeCounts> &counts)
{
    std::vector<Row> rows;
    for (int grade = 1; grade <= PrizeGrades; ++grade) {
        Row &row = rows.emplace_back();
        row.cells = QStringList {GradeText(grade), u"—"_s, u"—"_s};
        row.keys = QVariantList {grade, QVariant(), QVariant()};
        row.heard = row.cells[Grade] + u"：まだ照合していません"_s;
        if (counts) {
            const qint64 counted = counts->counted[std::size_t(grade - 1)];
            const double expected = counts->expected[std::size_t(grade - 1)];
            row.cells[Counted] = Grouped(counted);
            row.cells[Expected] = expectedText(expected);
            row.keys[Counted] = counted;
            row.keys[Expected] = expected;
            row.heard = u"%1：選んだ券 %2 回、無作為の券 平均 %3 回"_s.arg(
                row.cells[Grade], row.cells[Counted], row.cells[Expected]);
        }
    }
    setRows(std::move(rows));
}
