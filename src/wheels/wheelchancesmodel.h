#pragma once

#include "tickets/rowsmodel.h"
#include "wheelmaker.h"

// The wheel's chance table, a row for each number of hits among the chosen numbers: its chance
// in a draw, the least and the average best match among the tickets, and the grade the least
// gives. Empty until there is a wheel.
class WheelChancesModel : public RowsModel
{
public:
    enum Column { Hits, Chance, Smallest, Average, Grade, ColumnCount };

    explicit WheelChancesModel(QObject *parent = nullptr);

    void setWheel(const Wheel *wheel);
};
