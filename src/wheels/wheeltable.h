#pragma once

#include "wheel.h"

#include <map>

// The designs shipped with the program, one line a cell: v, t and m, then each ticket as six
// letters, a for the first position to t for the twentieth.
using WheelTable = std::map<std::tuple<int, int, int>, std::vector<Block>>;

WheelTable ReadWheelTable(const QString &text);
QString WheelTableText(const WheelTable &table);

// The shipped design for a cell with tickets of k numbers, or none; every combination for k/k,
// which no file needs to hold.
std::vector<Block> ShippedWheel(int v, int k, Guarantee guarantee);
