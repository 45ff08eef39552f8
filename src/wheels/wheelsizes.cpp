#include "wheelsizes.h"

#include "coversearch.h"
#include "wheeltable.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace {

// The table's rows of cells, each cell as its three figures, the first marked by strong.
std::vector<QStringList> Rows(const std::vector<WheelSize> &sizes,
    const std::function<QString(const QString &)> &strong, QStringList &heads)
{
    std::vector<QStringList> rows;
    heads = QStringList {u"v"_s};
    for (const WheelSize &size : sizes) {
        if (rows.empty() || rows.back().front() != QString::number(size.v))
            rows.push_back({QString::number(size.v)});
        if (rows.size() == 1)
            heads += u"%1/%2"_s.arg(size.guarantee.t).arg(size.guarantee.m);
        const QString shipped = QString::number(size.shipped);
        rows.back() += u"%1 / %2 / %3"_s.arg(size.smallest ? strong(shipped) : shipped,
            size.record ? QString::number(*size.record) : u"—"_s, QString::number(size.bound));
    }
    return rows;
}

} // namespace

WheelRecords ReadWheelRecords(const QString &text)
{
    WheelRecords records;
    for (const QString &line : text.split(u'\n', Qt::SkipEmptyParts)) {
        const QStringList fields = line.split(u' ', Qt::SkipEmptyParts);
        if (fields.size() == 5 && !line.startsWith(u'#')) {
            records[{fields[0], fields[1].toInt(), fields[2].toInt(), fields[3].toInt()}]
                = fields[4].toInt();
        }
    }
    return records;
}

std::vector<WheelSize> WheelSizes(const Game &game, const WheelRecords &records, qint64 proofSteps)
{
    std::vector<WheelSize> sizes;
    for (int v = FewestChosen(game); v <= MostChosen; ++v) {
        for (const Guarantee guarantee : Guarantees(game)) {
            if (guarantee.t == game.drawn)
                continue;
            WheelSize size {v, guarantee, int(ShippedWheel(game, v, guarantee).size()), {},
                LowerBound(v, game.drawn, guarantee), false};
            const auto record = records.find({game.key, v, guarantee.t, guarantee.m});
            if (record != records.end())
                size.record = record->second;
            size.smallest = size.shipped == size.bound
                || (Binomial(v, game.drawn) <= 5005
                    && FewerExist(v, game.drawn, guarantee, size.shipped, proofSteps)
                        == std::optional(false));
            sizes.push_back(size);
        }
    }
    return sizes;
}

QString WheelSizesMarkdown(const std::vector<WheelSize> &sizes)
{
    QStringList heads;
    const std::vector<QStringList> rows = Rows(
        sizes, [](const QString &text) { return u"**%1**"_s.arg(text); }, heads);
    QString text = u"| %1 |\n|%2\n"_s.arg(heads.join(u" | "_s), u"---|"_s.repeated(heads.size()));
    for (const QStringList &row : rows)
        text += u"| %1 |\n"_s.arg(row.join(u" | "_s));
    return text;
}

QString WheelSizesHtml(const std::vector<WheelSize> &sizes)
{
    QStringList heads;
    const std::vector<QStringList> rows = Rows(
        sizes, [](const QString &text) { return u"<b>%1</b>"_s.arg(text); }, heads);
    QString text
        = u"<table class=\"sizes\">\n<tr><th>%1</th></tr>\n"_s.arg(heads.join(u"</th><th>"_s));
    for (const QStringList &row : rows)
        text += u"<tr><th>%1</th><td>%2</td></tr>\n"_s.arg(
            row.front(), row.mid(1).join(u"</td><td>"_s));
    return text + u"</table>\n"_s;
}
