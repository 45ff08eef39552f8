#pragma once

#include "wheel.h"

#include <map>

// The designs shipped with the program, one line a cell: v, t and m, then each ticket as six
// letters, a for the first position to t for the twentieth.
using WheelTable = std::map<std::tuple<int, int, int>, std::vector<Block>>;

WheelTable ReadWheelTable(const QString &text);
QString WheelTableText(const WheelTable &table);

// The shipped design for a cell; every combination for 6/6, which no file needs to hold.
std::vector<Block> ShippedWheel(int v, Guarantee guarantee);
