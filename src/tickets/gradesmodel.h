#pragma once

#include "rowsmodel.h"
#include "ticketcheck.h"

#include <optional>

// Each grade against every stored draw: how often the chosen tickets won it, and how often as
// many random tickets win it on average. Until a check has run every grade is there, each
// figure a dash.
class GradesModel : public RowsModel
{
public:
    enum Column { Grade, Counted, Expected, ColumnCount };

    explicit GradesModel(const Game &game, QObject *parent = nullptr);

    void setCounts(const std::optional<GradeCounts> &counts);

private:
    const Game &m_game;
};
