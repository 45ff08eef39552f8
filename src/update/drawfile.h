#pragma once

#include "history/pastresults.h"

#include <QByteArrayView>

// The official results as published draw by draw: a small file per draw in code page 932, and an
// index that lists the published draws. Reading them needs no network and no database.

// One draw's file read: the draw, or why the file is not the draw asked for, in Japanese.
struct DrawFileRead
{
    std::optional<PastDraw> draw;
    QString reason;
};

// Reads the file of the game's draw `number`: a code line (A and two digits), the title naming
// the draw, the game and the date in the Japanese era (令和, 平成), then the line of the drawn
// and the bonus numbers (本数字 …, ボーナス数字 …), a line for each grade (１等 …: the winners
// and the prize, 該当なし for both where nobody won) and the carry-over. The first line of each
// label counts; other lines are ignored. A file of another game or another draw is refused, and
// the draw must pass every check a row of an imported file passes.
DrawFileRead ReadDrawFile(const Game &game, int number, QByteArrayView bytes);

// The newest draw of the game an index lists: the largest of the draw numbers in its title lines
// (第2124回ロト６) and in the names of its per-draw files (A1022124.CSV); 0 when it lists none.
// fileStem is what the game's file names start with ("A102").
int NewestIndexedDraw(const Game &game, const QString &fileStem, const QString &text);
