#pragma once

#include <QString>

// Shapes of the layout tables: rectangles and lines in twips, colour roles of the desktop
// palette, and menu items in index order (separators count).
struct TwipsRect
{
    int left;
    int top;
    int width;
    int height;
};

enum class ColourRole { ButtonShadow, Highlight3D, DarkShadow3D };

struct PanelLine
{
    int x1;
    int y1;
    int x2;
    int y2;
    ColourRole colour;
    int widthPixels = 1;
};

struct MenuItem
{
    const char16_t *caption; // "-" makes a separator
    const char *shortcut = nullptr; // portable text such as "Ctrl+L"
    bool enabled = true;
    bool checkable = false;

    bool isSeparator() const { return caption[0] == u'-' && caption[1] == u'\0'; }
};
