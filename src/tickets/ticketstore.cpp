#include "ticketstore.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

using namespace Qt::StringLiterals;

namespace {

constexpr int storedNumbers = Numbers::Capacity; // the columns n1 to n7, NULL past a ticket's

const QString nextLineOf
    = u"SELECT COALESCE(MAX(line) + 1, 0) FROM tickets WHERE game = ? AND draw = ?"_s;

void bindNumbers(QSqlQuery &query, const Numbers &numbers)
{
    for (int n = 0; n < storedNumbers; ++n)
        query.addBindValue(n < numbers.size() ? QVariant(numbers[std::size_t(n)]) : QVariant());
}

} // namespace

TicketStore::TicketStore(HistoryDatabase &database, const Game &game)
    : m_database(database)
    , m_game(&game)
{ }

StoreResult<std::vector<SavedTicket>> TicketStore::tickets() const
{
    StoreResult<std::vector<SavedTicket>> result;
    if ((result.fault = m_database.ready()))
        return result;
    std::vector<SavedTicket> &all = result.value;
    QSqlQuery query(m_database.connection());
    query.setForwardOnly(true);
    query.prepare(u"SELECT id, draw, line, source, n1, n2, n3, n4, n5, n6, n7 FROM tickets "
                  u"WHERE game = ? ORDER BY draw, line"_s);
    query.addBindValue(m_game->key);
    if (!query.exec()) {
        result.fault = m_database.failed(query, StoreProblem::Unreadable);
        return result;
    }
    while (query.next()) {
        SavedTicket &ticket = all.emplace_back();
        ticket.id = query.value(0).toLongLong();
        ticket.draw = query.value(1).toInt();
        ticket.line = query.value(2).toInt();
        const int source = query.value(3).toInt();
        ticket.source = TicketSource(source);
        for (int n = 0; n < storedNumbers; ++n) {
            if (const QVariant value = query.value(4 + n); !value.isNull())
                ticket.numbers.push_back(value.toInt());
        }
        // Checked as a draw's number and numbers are, so that no window indexes by a value
        // out of range.
        PastDraw asDrawn;
        asDrawn.number = ticket.draw;
        asDrawn.numbers = ticket.numbers;
        QString reason = StoredDrawFault(*m_game, asDrawn);
        if (reason.isEmpty() && ticket.line < 0)
            reason = u"券の順番 %1 が正しくありません"_s.arg(ticket.line);
        if (reason.isEmpty() && (source < 0 || source > int(TicketSource::Wheel)))
            reason = u"入手元 %1 が正しくありません"_s.arg(source);
        if (!reason.isEmpty()) {
            all.clear();
            result.fault = m_database.wrongValue(
                StoredTable::Tickets, u"第%1回の券：%2"_s.arg(query.value(1).toString(), reason));
            return result;
        }
    }
    if (query.lastError().isValid()) {
        all.clear();
        result.fault = m_database.failed(query, StoreProblem::Unreadable);
        return result;
    }
    m_database.valuesChecked(StoredTable::Tickets);
    return result;
}

StoreResult<int> TicketStore::nextLine(int draw) const
{
    QSqlQuery query(m_database.connection());
    StoreResult<int> result {0, m_database.read(query, nextLineOf, {m_game->key, draw})};
    if (result.ok() && query.next())
        result.value = query.value(0).toInt();
    return result;
}

StoreFault TicketStore::save(
    const std::vector<int> &draws, const std::vector<Numbers> &tickets, TicketSource source)
{
    return m_database.inTransaction([&](QSqlQuery &query) -> StoreFault {
        for (const int draw : draws) {
            query.prepare(nextLineOf);
            query.addBindValue(m_game->key);
            query.addBindValue(draw);
            if (!query.exec() || !query.next())
                return m_database.failed(query, StoreProblem::Unwritable);
            int line = query.value(0).toInt();
            query.prepare(u"INSERT INTO tickets (game, draw, line, source, n1, n2, n3, n4, n5, n6, "
                          u"n7) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"_s);
            for (const Numbers &ticket : tickets) {
                query.addBindValue(m_game->key);
                query.addBindValue(draw);
                query.addBindValue(line++);
                query.addBindValue(int(source));
                bindNumbers(query, ticket);
                if (!query.exec())
                    return m_database.failed(query, StoreProblem::Unwritable);
            }
        }
        return {};
    });
}

StoreFault TicketStore::change(qint64 id, int draw, const Numbers &numbers)
{
    return m_database.inTransaction([&](QSqlQuery &query) -> StoreFault {
        query.prepare(u"SELECT draw FROM tickets WHERE id = ?"_s);
        query.addBindValue(id);
        if (!query.exec())
            return m_database.failed(query, StoreProblem::Unwritable);
        if (!query.next())
            return FaultOf(StoreProblem::Gone, m_database.path());
        const bool moved = query.value(0).toInt() != draw;
        query.prepare(moved
                ? u"UPDATE tickets SET draw = ?, line = (SELECT COALESCE(MAX(line) + 1, 0) "
                  u"FROM tickets WHERE game = ? AND draw = ?), n1 = ?, n2 = ?, n3 = ?, n4 = ?, "
                  u"n5 = ?, n6 = ?, n7 = ? WHERE id = ?"_s
                : u"UPDATE tickets SET n1 = ?, n2 = ?, n3 = ?, n4 = ?, n5 = ?, n6 = ?, n7 = ? "
                  u"WHERE id = ?"_s);
        if (moved) {
            query.addBindValue(draw);
            query.addBindValue(m_game->key);
            query.addBindValue(draw);
        }
        bindNumbers(query, numbers);
        query.addBindValue(id);
        return query.exec() ? StoreFault {} : m_database.failed(query, StoreProblem::Unwritable);
    });
}

StoreFault TicketStore::remove(const std::vector<qint64> &ids)
{
    return m_database.inTransaction([&](QSqlQuery &query) -> StoreFault {
        query.prepare(u"DELETE FROM tickets WHERE id = ?"_s);
        for (const qint64 id : ids) {
            query.addBindValue(id);
            if (!query.exec())
                return m_database.failed(query, StoreProblem::Unwritable);
        }
        return {};
    });
}
