#pragma once

#include <QColor>

#include <array>

// The display's five colour themes, in the order of their menu items.
struct LcdColours
{
    QColor background;
    QColor text;
};

inline const std::array<LcdColours, 5> LcdTheme {{
    {QColor(255, 144, 0), QColor(64, 0, 0)},
    {QColor(176, 232, 32), QColor(16, 56, 0)},
    {QColor(64, 232, 152), QColor(0, 48, 16)},
    {QColor(64, 176, 255), QColor(16, 32, 48)},
    {QColor(176, 176, 232), QColor(16, 32, 64)},
}};
