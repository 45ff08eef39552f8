#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// The top-left corner, in pixels, that centres a window of this size on the primary screen,
// 128 twips above the middle. The arithmetic is done in twips, rounding ties to even.
QPoint CentredTopLeft(const QSize &window);

// True when the top strip of a window placed at this frame, where its title bar is, lies at
// least partly on one of the screens.
bool TitleBarOnAScreen(const QRect &frame);

// Where a window of this frame size starts: centred when asked, and at the stored place unless
// its title bar would be on no screen there (a monitor since removed, a damaged file).
QPoint StartingTopLeft(bool centred, const QPoint &stored, const QSize &frame);
