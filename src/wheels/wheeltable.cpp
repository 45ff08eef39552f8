#include "wheeltable.h"

#include "wheelsearch.h"

#include <QFile>
#include <QStringList>

#include <bit>

using namespace Qt::StringLiterals;

WheelTable ReadWheelTable(const QString &text)
{
    WheelTable table;
    for (const QString &line : text.split(u'\n', Qt::SkipEmptyParts)) {
        const QStringList fields = line.split(u' ', Qt::SkipEmptyParts);
        if (fields.size() < 4 || line.startsWith(u'#'))
            continue;
        std::vector<Block> blocks;
        for (const QString &ticket : fields.mid(3)) {
            Block block = 0;
            for (const QChar letter : ticket)
                block |= Block(1) << (letter.unicode() - u'a');
            blocks.push_back(block);
        }
        table[{fields[0].toInt(), fields[1].toInt(), fields[2].toInt()}] = std::move(blocks);
    }
    return table;
}

QString WheelTableText(const WheelTable &table)
{
    QString text = u"# v t m, then each ticket as six positions, a for the first to t for the "
                   u"twentieth. Written by nmr_searchwheels.\n"_s;
    for (const auto &[cell, blocks] : table) {
        const auto [v, t, m] = cell;
        text += u"%1 %2 %3"_s.arg(v).arg(t).arg(m);
        for (const Block block : blocks) {
            text += u' ';
            for (const int position : PositionsOf(block))
                text += QChar(u'a' + position);
        }
        text += u'\n';
    }
    return text;
}

std::vector<Block> ShippedWheel(int v, int k, Guarantee guarantee)
{
    if (guarantee.t == guarantee.m && guarantee.m == k)
        return EveryCombination(v, k);
    static const WheelTable shipped = [] {
        QFile file(u":/wheels/wheels.txt"_s);
        return file.open(QIODevice::ReadOnly) ? ReadWheelTable(QString::fromUtf8(file.readAll()))
                                              : WheelTable {};
    }();
    const auto found = shipped.find({v, guarantee.t, guarantee.m});
    if (found == shipped.end() || found->second.empty()
        || std::popcount(found->second.front()) != k)
        return {};
    return found->second;
}
