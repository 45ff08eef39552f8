#pragma once

#include <QString>

// The lottery itself: six distinct numbers drawn from 1 to 43, and a bonus number besides.
// Every message that names the range is built from these.

inline constexpr int NumberCount = 43;
inline constexpr int DrawnCount = 6;

// "1 から 43"
inline QString NumberRangeText()
{
    return QStringLiteral("1 から %1").arg(NumberCount);
}
