#pragma once

#include <QIcon>

// The application's icon, drawn at run time: a cartoon face in close-up beside a pale blue card,
// with "NMR" in red, green and blue in the lower right corner; 32 × 32 pixels in 16 colours.
QImage AppIconImage();
QIcon AppIcon();
