// Reads arbitrary bytes as a per-draw file and as an index of each game: whatever they hold, a
// draw read is the one asked for and one the database takes, reading back the same from its
// official row; a file refused says why; and the newest draw an index lists is a draw number.

#include "update/drawfile.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    for (const Game *game : Games()) {
        const DrawFileRead read = ReadDrawFile(*game, 2124, bytes);
        if (read.draw.has_value() == !read.reason.isEmpty())
            abort();
        if (read.draw
            && (read.draw->number != 2124 || !StoredDrawFault(*game, *read.draw).isEmpty()
                || ReadDrawFields(*game, DrawFields(*game, *read.draw)).draw != read.draw))
            abort();
        const int newest = NewestIndexedDraw(*game, QStringLiteral("A102"), DecodeResults(bytes));
        if (newest < 0 || newest > LastDrawNumber)
            abort();
    }
    return 0;
}
