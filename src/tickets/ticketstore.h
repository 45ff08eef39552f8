#pragma once

#include "history/historydatabase.h"
#include "history/pastresults.h"

#include <vector>

// Where a saved ticket came from: made by this program (作成), entered by the user, who bought it
// (入力), or made as a wheel (ホイール). Stored as 0, 1 and 2.
enum class TicketSource { Made, Entered, Wheel };

// A ticket saved for a draw: its letter is the line-th (0 for A) of that draw's tickets.
struct SavedTicket
{
    qint64 id = 0;
    int draw = 0;
    int line = 0;
    Numbers numbers; // ascending
    TicketSource source = TicketSource::Made;

    friend bool operator==(const SavedTicket &, const SavedTicket &) = default;
};

// The saved tickets of a game, in the history database beside the draws; a draw's tickets are
// lettered apart from another game's draw of the same number. Every change is one transaction;
// a stored value no ticket of the game can have keeps the tickets from being given or the
// database written.
class TicketStore
{
public:
    TicketStore(HistoryDatabase &database, const Game &game);

    const Game &game() const { return *m_game; }
    // Takes the tickets of another game from now on.
    void setGame(const Game &game) { m_game = &game; }

    // Every saved ticket of the game, by draw and letter.
    StoreResult<std::vector<SavedTicket>> tickets() const;
    // The line the next ticket saved for a draw gets: after those saved for it before.
    StoreResult<int> nextLine(int draw) const;

    // Saves the same tickets for each of the draws, lettered after those saved for it before,
    // all in one transaction.
    StoreFault save(
        const std::vector<int> &draws, const std::vector<Numbers> &tickets, TicketSource source);
    // Gives the ticket of this id other numbers, or moves it to another draw, where it takes the
    // letter after that draw's tickets; Gone when it is no longer stored.
    StoreFault change(qint64 id, int draw, const Numbers &numbers);
    StoreFault remove(const std::vector<qint64> &ids);

private:
    HistoryDatabase &m_database;
    const Game *m_game;
};
