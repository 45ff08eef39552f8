#include "gradesmodel.h"

#include "engine/figures.h"

using namespace Qt::StringLiterals;

GradesModel::GradesModel(const Game &game, QObject *parent)
    : RowsModel({u"等級"_s, u"選んだ券"_s, u"無作為の券（平均）"_s}, parent)
    , m_game(game)
{
    setCounts(std::nullopt);
}

void GradesModel::setCounts(const std::optional<GradeCounts> &counts)
{
    std::vector<Row> rows;
    for (int grade = 1; grade <= m_game.gradeCount(); ++grade) {
        Row &row = rows.emplace_back();
        row.cells = QStringList {GradeText(grade), u"—"_s, u"—"_s};
        row.keys = QVariantList {grade, QVariant(), QVariant()};
        row.heard = row.cells[Grade] + u"：まだ照合していません"_s;
        if (counts) {
            const qint64 counted = counts->counted[std::size_t(grade - 1)];
            const double expected = counts->expected[std::size_t(grade - 1)];
            row.cells[Counted] = Grouped(counted);
            row.cells[Expected] = ThreeFigures(expected);
            row.keys[Counted] = counted;
            row.keys[Expected] = expected;
            row.heard = u"%1：選んだ券 %2 回、無作為の券 平均 %3 回"_s.arg(
                row.cells[Grade], row.cells[Counted], row.cells[Expected]);
        }
    }
    setRows(std::move(rows));
}
