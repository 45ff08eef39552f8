#pragma once

#include "fetcher.h"
#include "history/historydatabase.h"

#include "engine/game.h"

#include <optional>

// The last check of a game's source: when, which index answered and what it said, the newest
// draw it listed and what the check brought, as the history window shows it.
struct SourceCheck
{
    QDateTime time;
    QUrl address;
    Validators validators;
    int newest = 0;
    QString brought;
};

StoreResult<std::optional<SourceCheck>> LastSourceCheck(
    HistoryDatabase &database, const Game &game);
// Keeps the check in place of the game's last one, in one transaction.
StoreFault NoteSourceCheck(HistoryDatabase &database, const Game &game, const SourceCheck &check);
