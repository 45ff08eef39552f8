// Reads arbitrary bytes as past results of the 6-of-43 game: whatever they hold, every draw read
// is six distinct numbers from 1 to 43 in ascending order with a positive number, a bonus that is
// none of them, and no negative count, so that the database's checks take it; every rejected line
// lies within the text; a text refused whole gives no draw; and every draw read reads back the
// same from its own official row.

#include "history/pastresults.h"

#include <algorithm>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text
        = DecodeResults(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)));
    const qsizetype lines = text.count(u'\n') + text.count(u'\r') + 1;
    const Game &game = Loto6();
    const ReadDraws read = ReadResults(game, text, [&](const RejectedLine &line) {
        if (line.line < 1 || line.line > lines || line.reason.isEmpty())
            abort();
    });
    if (read.draws.size() != read.lines.size())
        abort();
    for (const PastDraw &draw : read.draws) {
        bool ordered = draw.number > 0 && draw.numbers.size() == game.drawn
            && draw.numbers.front() >= 1 && draw.numbers.back() <= game.numbers;
        for (std::size_t i = 1; i < std::size_t(draw.numbers.size()); ++i)
            ordered = ordered && draw.numbers[i - 1] < draw.numbers[i];
        const bool bonusApart = draw.bonus == 0
            || (draw.bonus >= 1 && draw.bonus <= game.numbers
                && !draw.numbers.contains(draw.bonus));
        if (!ordered || !bonusApart || !StoredDrawFault(game, draw).isEmpty())
            abort();
        if (ReadDrawFields(game, DrawFields(game, draw)).draw != draw)
            abort();
    }
    if (!read.refused.isEmpty() && !read.draws.empty())
        abort();
    return 0;
}
