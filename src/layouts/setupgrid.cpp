#include "setupgrid.h"

#include "setuplayout.h"
#include "twips.h"

#include <cmath>

GridPosition SetupGridPosition(int number, double dpi)
{
    const double twipsPerPixelX = Twips::PerInch / dpi;
    const double twipsPerPixelY = std::nearbyint(Twips::PerInch / dpi);
    const double columnStep = std::nearbyint(105 * twipsPerPixelX);
    const double firstRowTop = 20 * twipsPerPixelY;
    const double rowStep = 21 * twipsPerPixelY;

    const int index = number - 1;
    const int row = index % 10;
    // A column's left is fixed by its first element, index × step / 10.
    const int columnOffset = static_cast<int>(std::lrint((index - row) * columnStep / 10));
    return {SetupLayout::LabPB1.left + columnOffset, SetupLayout::ScrPB.left + columnOffset,
        SetupLayout::LabPB2.left + columnOffset,
        static_cast<int>(std::lrint(row * rowStep + firstRowTop))};
}
