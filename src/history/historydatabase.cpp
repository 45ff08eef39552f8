#include "historydatabase.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QUuid>
#include <QVariant>

using namespace Qt::StringLiterals;

namespace {

const QString drawColumns = u"number, date, n1, n2, n3, n4, n5, n6, bonus, "
                            u"winners1, winners2, winners3, winners4, winners5, "
                            u"prize1, prize2, prize3, prize4, prize5, carry_over"_s;
constexpr int drawColumnCount = 20;

// A count or amount the source did not give is stored as NULL.
QVariant orNull(qint64 value)
{
    return value < 0 ? QVariant() : QVariant(value);
}

qint64 orMissing(const QVariant &value)
{
    return value.isNull() ? -1 : value.toLongLong();
}

} // namespace

HistoryDatabase::HistoryDatabase(const QString &path)
    : m_path(path)
    , m_connection(u"history-"_s + QUuid::createUuid().toString(QUuid::WithoutBraces))
{
    if (!open())
        QSqlDatabase::database(m_connection, false).close();
}

HistoryDatabase::~HistoryDatabase()
{
    QSqlDatabase::database(m_connection, false).close();
    QSqlDatabase::removeDatabase(m_connection);
}

bool HistoryDatabase::open()
{
    const QFileInfo file(m_path);
    QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, m_connection);
    db.setDatabaseName(m_path);
    db.setConnectOptions(u"QSQLITE_BUSY_TIMEOUT=5000"_s);
    const QString name = QDir::toNativeSeparators(m_path);
    if ((file.exists() && !file.isFile()) || !db.open()) {
        m_fault = u"当せん番号の履歴「%1」を開けません。"_s.arg(name);
        return false;
    }

    // An existing file is checked before anything is written to it: SQLite reports a file that
    // is no database only at the first query.
    QSqlQuery query(db);
    if (!query.exec(u"PRAGMA quick_check"_s) || !query.next()
        || query.value(0).toString() != u"ok"_s) {
        m_fault = u"当せん番号の履歴「%1」は壊れているため使えません。"_s.arg(name);
        return false;
    }
    if (!query.exec(u"PRAGMA user_version"_s) || !query.next()
        || query.value(0).toInt() > SchemaVersion) {
        m_fault
            = u"当せん番号の履歴「%1」は新しい版のプログラムで作られたため使えません。"_s.arg(name);
        return false;
    }
    if (query.value(0).toInt() == SchemaVersion)
        return true;
    const bool made = query.exec(u"BEGIN IMMEDIATE"_s)
        && query.exec(u"CREATE TABLE IF NOT EXISTS draws (number INTEGER PRIMARY KEY, date TEXT, "
                      u"n1 INTEGER NOT NULL, n2 INTEGER NOT NULL, n3 INTEGER NOT NULL, "
                      u"n4 INTEGER NOT NULL, n5 INTEGER NOT NULL, n6 INTEGER NOT NULL, "
                      u"bonus INTEGER, winners1 INTEGER, winners2 INTEGER, winners3 INTEGER, "
                      u"winners4 INTEGER, winners5 INTEGER, prize1 INTEGER, prize2 INTEGER, "
                      u"prize3 INTEGER, prize4 INTEGER, prize5 INTEGER, carry_over INTEGER)"_s)
        && query.exec(u"CREATE TABLE IF NOT EXISTS tickets (id INTEGER PRIMARY KEY, "
                      u"draw INTEGER NOT NULL, line INTEGER NOT NULL, n1 INTEGER NOT NULL, "
                      u"n2 INTEGER NOT NULL, n3 INTEGER NOT NULL, n4 INTEGER NOT NULL, "
                      u"n5 INTEGER NOT NULL, n6 INTEGER NOT NULL, UNIQUE (draw, line))"_s)
        && query.exec(u"PRAGMA user_version = %1"_s.arg(SchemaVersion)) && query.exec(u"COMMIT"_s);
    if (!made) {
        query.exec(u"ROLLBACK"_s);
        m_fault = u"当せん番号の履歴「%1」を作れません。"_s.arg(name);
    }
    return made;
}

bool HistoryDatabase::inTransaction(const std::function<bool(QSqlQuery &)> &work)
{
    if (!m_fault.isEmpty())
        return false;
    QSqlQuery control(QSqlDatabase::database(m_connection, false));
    // Taking the write lock at once, rather than on the first insert, lets a second writer wait
    // for the busy timeout instead of failing.
    if (!control.exec(u"BEGIN IMMEDIATE"_s))
        return false;
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    if (work(query) && control.exec(u"COMMIT"_s))
        return true;
    control.exec(u"ROLLBACK"_s);
    return false;
}

std::optional<HistoryDatabase::Stored> HistoryDatabase::store(const ReadDraws &read)
{
    Stored stored;
    const bool done = inTransaction([&](QSqlQuery &find) {
        find.prepare(u"SELECT n1, n2, n3, n4, n5, n6, bonus FROM draws WHERE number = ?"_s);
        QSqlQuery insert(QSqlDatabase::database(m_connection, false));
        insert.prepare(u"INSERT INTO draws (%1) VALUES (?%2)"_s.arg(
            drawColumns, u", ?"_s.repeated(drawColumnCount - 1)));
        for (std::size_t i = 0; i < read.draws.size(); ++i) {
            const PastDraw &draw = read.draws[i];
            find.addBindValue(draw.number);
            if (!find.exec())
                return false;
            if (find.next()) {
                bool same = true;
                for (int n = 0; n < 6; ++n)
                    same = same && find.value(n).toInt() == draw.numbers[std::size_t(n)];
                same = same
                    && (draw.bonus == 0 || find.value(6).isNull()
                        || find.value(6).toInt() == draw.bonus);
                if (same)
                    ++stored.present;
                else
                    stored.conflicts.push_back(
                        {read.lines[i], u"第%1回は別の数字で登録済みです"_s.arg(draw.number)});
                continue;
            }
            insert.addBindValue(draw.number);
            insert.addBindValue(draw.date.isValid() ? draw.date.toString(Qt::ISODate) : QVariant());
            for (const int number : draw.numbers)
                insert.addBindValue(number);
            insert.addBindValue(draw.bonus == 0 ? QVariant() : QVariant(draw.bonus));
            for (const qint64 winners : draw.winners)
                insert.addBindValue(orNull(winners));
            for (const qint64 prize : draw.prizes)
                insert.addBindValue(orNull(prize));
            insert.addBindValue(orNull(draw.carryOver));
            if (!insert.exec())
                return false;
            ++stored.added;
        }
        return true;
    });
    return done ? std::optional(stored) : std::nullopt;
}

std::vector<PastDraw> HistoryDatabase::draws() const
{
    std::vector<PastDraw> all;
    if (!m_fault.isEmpty())
        return all;
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    if (!query.exec(u"SELECT %1 FROM draws ORDER BY number"_s.arg(drawColumns)))
        return all;
    while (query.next()) {
        PastDraw &draw = all.emplace_back();
        draw.number = query.value(0).toInt();
        draw.date = QDate::fromString(query.value(1).toString(), Qt::ISODate);
        for (int n = 0; n < 6; ++n)
            draw.numbers[std::size_t(n)] = query.value(2 + n).toInt();
        draw.bonus = query.value(8).toInt();
        for (int grade = 0; grade < PrizeGrades; ++grade) {
            draw.winners[std::size_t(grade)] = orMissing(query.value(9 + grade));
            draw.prizes[std::size_t(grade)] = orMissing(query.value(14 + grade));
        }
        draw.carryOver = orMissing(query.value(19));
    }
    return all;
}

int HistoryDatabase::latestDraw() const
{
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    if (!m_fault.isEmpty() || !query.exec(u"SELECT MAX(number) FROM draws"_s) || !query.next())
        return 0;
    return query.value(0).toInt();
}

bool HistoryDatabase::saveTickets(int draw, const std::vector<std::array<int, 6>> &tickets)
{
    return inTransaction([&](QSqlQuery &query) {
        query.prepare(u"SELECT COALESCE(MAX(line) + 1, 0) FROM tickets WHERE draw = ?"_s);
        query.addBindValue(draw);
        if (!query.exec() || !query.next())
            return false;
        int line = query.value(0).toInt();
        query.prepare(u"INSERT INTO tickets (draw, line, n1, n2, n3, n4, n5, n6) "
                      u"VALUES (?, ?, ?, ?, ?, ?, ?, ?)"_s);
        for (const auto &ticket : tickets) {
            query.addBindValue(draw);
            query.addBindValue(line++);
            for (const int number : ticket)
                query.addBindValue(number);
            if (!query.exec())
                return false;
        }
        return true;
    });
}

std::vector<SavedTicket> HistoryDatabase::tickets() const
{
    std::vector<SavedTicket> all;
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    if (!m_fault.isEmpty()
        || !query.exec(u"SELECT id, draw, line, n1, n2, n3, n4, n5, n6 FROM tickets "
                       u"ORDER BY draw, line"_s))
        return all;
    while (query.next()) {
        SavedTicket &ticket = all.emplace_back();
        ticket.id = query.value(0).toLongLong();
        ticket.draw = query.value(1).toInt();
        ticket.line = query.value(2).toInt();
        for (int n = 0; n < 6; ++n)
            ticket.numbers[std::size_t(n)] = query.value(3 + n).toInt();
    }
    return all;
}

bool HistoryDatabase::removeTickets(const std::vector<qint64> &ids)
{
    return inTransaction([&](QSqlQuery &query) {
        query.prepare(u"DELETE FROM tickets WHERE id = ?"_s);
        for (const qint64 id : ids) {
            query.addBindValue(id);
            if (!query.exec())
                return false;
        }
        return true;
    });
}
