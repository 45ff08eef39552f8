#pragma once

// Where the level grid puts number k's row in the settings dialog: five columns of ten rows,
// 105 pixels between columns and 21 between rows, the first row 20 pixels below the top of the
// levels frame. The steps are pixels turned into twips at the screen's resolution, so the grid
// keeps its pixel spacing at any resolution.
struct GridPosition
{
    int numberLeft; // twips, inside the levels frame
    int sliderLeft;
    int levelLeft;
    int top;
};

GridPosition SetupGridPosition(int number, double dpi);
