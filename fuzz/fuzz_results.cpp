// Reads arbitrary bytes as past results of each game: whatever they hold, every draw read is the
// game's count of distinct numbers in its range, in ascending order, with a positive number,
// either no bonus numbers or the game's count of them, each in range, apart from the drawn ones
// and from each other, and no negative count, so that the database's checks take it; every
// rejected line lies within the text; a text refused whole gives no draw; and every draw read
// reads back the same from its own official row.

#include "history/pastresults.h"

#include <algorithm>
#include <cstdlib>
#include <functional>

namespace {

bool Ordered(const Game &game, const PastDraw &draw)
{
    if (draw.number <= 0 || draw.numbers.size() != game.drawn || draw.numbers.front() < 1
        || draw.numbers.back() > game.numbers)
        return false;
    return std::adjacent_find(draw.numbers.begin(), draw.numbers.end(), std::greater_equal<int>())
        == draw.numbers.end();
}

bool BonusesApart(const Game &game, const PastDraw &draw)
{
    const Numbers &bonuses = draw.bonuses;
    if (bonuses.size() != 0 && bonuses.size() != game.bonuses)
        return false;
    for (int i = 0; i < bonuses.size(); ++i) {
        const int bonus = bonuses[std::size_t(i)];
        if (bonus < 1 || bonus > game.numbers || draw.numbers.contains(bonus)
            || std::count(bonuses.begin(), bonuses.end(), bonus) != 1)
            return false;
    }
    return true;
}

void ReadAs(const Game &game, const QString &text)
{
    const qsizetype lines = text.count(u'\n') + text.count(u'\r') + 1;
    const ReadDraws read = ReadResults(game, text, [&](const RejectedLine &line) {
        if (line.line < 1 || line.line > lines || line.reason.isEmpty())
            abort();
    });
    if (read.draws.size() != read.lines.size())
        abort();
    for (const PastDraw &draw : read.draws) {
        if (!Ordered(game, draw) || !BonusesApart(game, draw)
            || !StoredDrawFault(game, draw).isEmpty())
            abort();
        if (ReadDrawFields(game, DrawFields(game, draw)).draw != draw)
            abort();
    }
    if (!read.refused.isEmpty() && !read.draws.empty())
        abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text
        = DecodeResults(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)));
    for (const Game *game : Games())
        ReadAs(*game, text);
    return 0;
}
