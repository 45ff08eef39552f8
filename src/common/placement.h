#pragma once

#include <QPoint>
#include <QSize>

// The top-left corner, in pixels, that centres a window of this size on the primary screen,
// 128 twips above the middle. The arithmetic is done in twips, rounding ties to even.
QPoint CentredTopLeft(const QSize &window);
