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
    QString text = u"# v t m, then each ticket as the letters of its positions, a for the first "
                   u"to t for the twentieth. Written by nmr_searchwheels.\n"_s;
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

std::vector<Block> ShippedWheel(const Game &game, int v, Guarantee guarantee)
{
    if (guarantee.t == guarantee.m && guarantee.m == game.drawn)
        return EveryCombination(v, game.drawn);
    // Each game's designs in a file of its own, read once.
    static const std::map<QString, WheelTable> shipped = [] {
        std::map<QString, WheelTable> tables;
        for (const Game *each : Games()) {
            QFile file(u":/wheels/%1.txt"_s.arg(each->key));
            if (file.open(QIODevice::ReadOnly))
                tables[each->key] = ReadWheelTable(QString::fromUtf8(file.readAll()));
        }
        return tables;
    }();
    const auto table = shipped.find(game.key);
    if (table == shipped.end())
        return {};
    const auto found = table->second.find({v, guarantee.t, guarantee.m});
    if (found == table->second.end() || found->second.empty()
        || std::popcount(found->second.front()) != game.drawn)
        return {};
    return found->second;
}
