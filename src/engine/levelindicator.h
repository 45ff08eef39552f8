#pragma once

#include <QString>

// What the level check box and the display show for the level switch and the draw strength:
// the strength in the caption, and a fifteen-square bar under a weak-to-strong scale.
struct LevelIndicator
{
    QString caption;
    QString display; // two lines separated by CR LF
};

LevelIndicator LevelIndicatorFor(bool levelsOn, int strength);
