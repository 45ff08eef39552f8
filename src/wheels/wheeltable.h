#pragma once

#include "wheel.h"

#include <map>

// The designs shipped with the program, a file for each game and one line a cell: v, t and m,
// then each ticket as the letters of its positions, a for the first position to t for the
// twentieth.
using WheelTable = std::map<std::tuple<int, int, int>, std::vector<Block>>;

WheelTable ReadWheelTable(const QString &text);
QString WheelTableText(const WheelTable &table);

// The game's shipped design for a cell, or none; every combination for drawn/drawn, which no
// file needs to hold.
std::vector<Block> ShippedWheel(const Game &game, int v, Guarantee guarantee);
