#pragma once

#include "layoutdata.h"

#include <QRect>

#include <cmath>

// Window geometry is designed in twips, 1/1440 inch. Qt's logical pixels already follow the
// desktop's scaling, so the windows convert at 96 dots per inch; tests may use other values.
namespace Twips {

inline constexpr double LogicalDpi = 96.0;
inline constexpr double PerInch = 1440.0;

inline int toPixels(int twips, double dpi = LogicalDpi)
{
    return static_cast<int>(std::lrint(twips * dpi / PerInch));
}

inline int fromPixels(int pixels, double dpi = LogicalDpi)
{
    return static_cast<int>(std::lrint(pixels * PerInch / dpi));
}

inline QRect toPixels(const TwipsRect &rect, double dpi = LogicalDpi)
{
    return {toPixels(rect.left, dpi), toPixels(rect.top, dpi), toPixels(rect.width, dpi),
        toPixels(rect.height, dpi)};
}

} // namespace Twips
