#include "historydatabase.h"

#include "migrations.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUuid>
#include <QVariant>

using namespace Qt::StringLiterals;

namespace {

// The game the tables hold, and its grades as the columns winners1 to prize5 store them.
const Game &storedGame()
{
    return Loto6();
}
constexpr int storedGrades = 5;
constexpr int storedNumbers = 6;

// The fields of a draw besides its number and drawn numbers, as stored (NULL where the source
// gave nothing), with the names a conflict is told by.
constexpr int optionalCount = 3 + 2 * storedGrades;

const std::array<QString, optionalCount> &optionalColumns()
{
    static const std::array<QString, optionalCount> names {u"date"_s, u"bonus"_s, u"winners1"_s,
        u"winners2"_s, u"winners3"_s, u"winners4"_s, u"winners5"_s, u"prize1"_s, u"prize2"_s,
        u"prize3"_s, u"prize4"_s, u"prize5"_s, u"carry_over"_s};
    return names;
}

QString optionalName(std::size_t field)
{
    if (field == 0)
        return u"日付"_s;
    if (field == 1)
        return u"ボーナス数字"_s;
    if (field == optionalCount - 1)
        return u"キャリーオーバー"_s;
    const std::size_t grade = (field - 2) % storedGrades + 1;
    return field < 2 + storedGrades ? u"%1等口数"_s.arg(grade) : u"%1等賞金"_s.arg(grade);
}

// A count or amount the source did not give is stored as NULL.
QVariant orNull(qint64 value)
{
    return value < 0 ? QVariant() : QVariant(value);
}

qint64 orMissing(const QVariant &value)
{
    return value.isNull() ? -1 : value.toLongLong();
}

std::array<QVariant, optionalCount> optionalFields(const PastDraw &draw)
{
    std::array<QVariant, optionalCount> fields;
    fields[0] = draw.date.isValid() ? QVariant(draw.date.toString(Qt::ISODate)) : QVariant();
    fields[1] = draw.bonus == 0 ? QVariant() : QVariant(draw.bonus);
    for (std::size_t grade = 0; grade < storedGrades; ++grade) {
        fields[2 + grade] = orNull(draw.winners[grade]);
        fields[2 + storedGrades + grade] = orNull(draw.prizes[grade]);
    }
    fields[optionalCount - 1] = orNull(draw.carryOver);
    return fields;
}

const QString numberColumns = u"n1, n2, n3, n4, n5, n6"_s;

// number, n1..n6 and the optional fields, bound in the order allColumns() names them.
void bindDraw(QSqlQuery &query, const PastDraw &draw)
{
    query.addBindValue(draw.number);
    for (const int number : draw.numbers)
        query.addBindValue(number);
    for (const QVariant &field : optionalFields(draw))
        query.addBindValue(field);
}

QString allColumns()
{
    QStringList names {u"number"_s, numberColumns};
    for (const QString &name : optionalColumns())
        names << name;
    return names.join(u", "_s);
}

} // namespace

HistoryDatabase::HistoryDatabase(const QString &path)
    : m_path(path)
    , m_connection(u"history-"_s + QUuid::createUuid().toString(QUuid::WithoutBraces))
{
    if (!open())
        connection().close();
}

HistoryDatabase::~HistoryDatabase()
{
    connection().close();
    QSqlDatabase::removeDatabase(m_connection);
}

QSqlDatabase HistoryDatabase::connection() const
{
    return QSqlDatabase::database(m_connection, false);
}

bool HistoryDatabase::failed(const QSqlQuery &query)
{
    m_error = u"当せん番号の履歴「%1」に書き込めません（%2）。"_s.arg(
        QDir::toNativeSeparators(m_path), query.lastError().text());
    return false;
}

bool HistoryDatabase::unreadable(const QSqlQuery &query) const
{
    m_fault = u"当せん番号の履歴「%1」を読めません（%2）。"_s.arg(
        QDir::toNativeSeparators(m_path), query.lastError().text());
    return false;
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
    if (!query.exec(u"PRAGMA user_version"_s) || !query.next())
        return unreadable(query);
    const int version = query.value(0).toInt();
    if (version > SchemaVersion) {
        m_fault
            = u"当せん番号の履歴「%1」は新しい版のプログラムで作られたため使えません。"_s.arg(name);
        return false;
    }
    // A file without our version that holds tables is some other program's database.
    if (version == 0
        && (!query.exec(u"SELECT count(*) FROM sqlite_master"_s) || !query.next()
            || query.value(0).toInt() != 0)) {
        m_fault
            = u"「%1」は当せん番号の履歴ではありません（ほかのプログラムのデータベースです）。"_s
                  .arg(name);
        return false;
    }
    query.finish();
    for (int from = version; from < SchemaVersion; ++from) {
        if (!migrate(from))
            return false;
    }
    return true;
}

bool HistoryDatabase::migrate(int from)
{
    // Each step is one transaction: a step that fails leaves the file at the version before it.
    QSqlQuery query(connection());
    // Copying the rows into the checked tables fails only on a value no draw or ticket can have.
    const auto cannot = [&](bool damaged) {
        m_fault = (damaged ? u"当せん番号の履歴「%1」は壊れているため使えません（%2）。"_s
                           : u"当せん番号の履歴「%1」を作れません（%2）。"_s)
                      .arg(QDir::toNativeSeparators(m_path), query.lastError().text());
        query.exec(u"ROLLBACK"_s);
        return false;
    };
    if (!query.exec(u"BEGIN IMMEDIATE"_s))
        return cannot(false);
    for (const QString &statement : MigrationSteps()[std::size_t(from)]) {
        if (!query.exec(statement))
            return cannot(from == 2 && statement.startsWith(u"INSERT"_s));
    }
    if (!query.exec(u"PRAGMA user_version = %1"_s.arg(from + 1)) || !query.exec(u"COMMIT"_s))
        return cannot(false);
    return true;
}

bool HistoryDatabase::inTransaction(const std::function<bool(QSqlQuery &)> &work)
{
    if (!m_fault.isEmpty())
        return false;
    m_error.clear();
    QSqlQuery control(connection());
    // Taking the write lock at once, rather than on the first insert, lets a second writer wait
    // for the busy timeout instead of failing.
    if (!control.exec(u"BEGIN IMMEDIATE"_s))
        return failed(control);
    QSqlQuery query(connection());
    if (work(query)) {
        if (control.exec(u"COMMIT"_s))
            return true;
        failed(control);
    }
    control.exec(u"ROLLBACK"_s);
    return false;
}

std::optional<HistoryDatabase::Stored> HistoryDatabase::store(
    const ReadDraws &read, const QString &source, const std::function<bool(qsizetype)> &carryOn)
{
    Stored stored;
    const bool done = inTransaction([&](QSqlQuery &find) {
        const auto &optional = optionalColumns();
        find.prepare(u"SELECT %1, %2 FROM draws WHERE number = ?"_s.arg(
            numberColumns, QStringList(optional.begin(), optional.end()).join(u", "_s)));
        // A new draw is inserted at once; only one already stored is looked up and compared.
        QSqlQuery insert(connection());
        insert.prepare(u"INSERT INTO draws (%1) VALUES (?%2) ON CONFLICT (number) DO NOTHING"_s.arg(
            allColumns(), u", ?"_s.repeated(storedNumbers + optionalCount)));
        for (std::size_t i = 0; i < read.draws.size(); ++i) {
            if (carryOn && i % 1000 == 0 && !carryOn(qsizetype(i))) {
                stored.cancelled = true;
                return false;
            }
            const PastDraw &draw = read.draws[i];
            const auto fields = optionalFields(draw);
            bindDraw(insert, draw);
            if (!insert.exec())
                return failed(insert);
            if (insert.numRowsAffected() == 1) {
                ++stored.added;
                continue;
            }
            find.addBindValue(draw.number);
            if (!find.exec() || !find.next())
                return failed(find);
            bool same = true;
            for (int n = 0; n < storedNumbers; ++n)
                same = same && find.value(n).toInt() == draw.numbers[std::size_t(n)];
            if (!same) {
                stored.conflicts.push_back(
                    {read.lines[i], u"第%1回は別の数字で登録済みです"_s.arg(draw.number)});
                continue;
            }
            // The fields this line gives that the stored draw lacks; one that differs from a
            // stored value makes the whole line a conflict.
            QStringList fill;
            QVariantList values;
            std::optional<std::size_t> differs;
            for (std::size_t f = 0; f < optionalCount && !differs; ++f) {
                const QVariant storedValue = find.value(storedNumbers + int(f));
                if (fields[f].isNull())
                    continue;
                if (storedValue.isNull()) {
                    fill << optional[f] + u" = ?"_s;
                    values << fields[f];
                } else if (storedValue.toString() != fields[f].toString()) {
                    differs = f;
                }
            }
            find.finish();
            if (differs) {
                stored.conflicts.push_back({read.lines[i],
                    u"第%1回の%2は別の値で登録済みです"_s.arg(draw.number)
                        .arg(optionalName(*differs))});
            } else if (fill.isEmpty()) {
                ++stored.present;
            } else {
                QSqlQuery update(connection());
                update.prepare(u"UPDATE draws SET %1 WHERE number = ?"_s.arg(fill.join(u", "_s)));
                for (const QVariant &value : values)
                    update.addBindValue(value);
                update.addBindValue(draw.number);
                if (!update.exec())
                    return failed(update);
                ++stored.completed;
            }
        }
        if (stored.added + stored.completed == 0)
            return true;
        QSqlQuery note(connection());
        note.prepare(u"INSERT INTO imports (time, source) VALUES (?, ?)"_s);
        note.addBindValue(QDateTime::currentDateTime().toString(Qt::ISODate));
        note.addBindValue(source);
        return note.exec() || failed(note);
    });
    if (stored.cancelled) {
        m_error.clear();
        Stored none;
        none.cancelled = true;
        return none;
    }
    return done ? std::optional(stored) : std::nullopt;
}

std::vector<PastDraw> HistoryDatabase::draws() const
{
    std::vector<PastDraw> all;
    if (!m_fault.isEmpty())
        return all;
    QSqlQuery query(connection());
    query.setForwardOnly(true);
    if (!query.exec(u"SELECT * FROM draws ORDER BY number"_s)) {
        unreadable(query);
        return all;
    }
    const QSqlRecord record = query.record();
    const auto column = [&](const QString &name) { return record.indexOf(name); };
    const int number = column(u"number"_s);
    std::array<int, storedNumbers> picks;
    for (int n = 0; n < storedNumbers; ++n)
        picks[std::size_t(n)] = column(u"n%1"_s.arg(n + 1));
    std::array<int, optionalCount> optional;
    for (std::size_t f = 0; f < optionalCount; ++f)
        optional[f] = column(optionalColumns()[f]);
    if (std::min({number, *std::min_element(picks.begin(), picks.end()),
            *std::min_element(optional.begin(), optional.end())})
        < 0) {
        m_fault = u"当せん番号の履歴「%1」は壊れているため使えません（列が足りません）。"_s.arg(
            QDir::toNativeSeparators(m_path));
        return all;
    }
    while (query.next()) {
        PastDraw &draw = all.emplace_back();
        draw.number = query.value(number).toInt();
        for (const int pick : picks)
            draw.numbers.push_back(query.value(pick).toInt());
        const QVariant date = query.value(optional[0]);
        draw.date = QDate::fromString(date.toString(), Qt::ISODate);
        draw.bonus = query.value(optional[1]).toInt();
        for (std::size_t grade = 0; grade < storedGrades; ++grade) {
            draw.winners[grade] = orMissing(query.value(optional[2 + grade]));
            draw.prizes[grade] = orMissing(query.value(optional[2 + storedGrades + grade]));
        }
        draw.carryOver = orMissing(query.value(optional[optionalCount - 1]));
        // A value no draw can have, written by something else or by hand, makes every figure
        // after it wrong: the database is not used.
        QString reason = StoredDrawFault(storedGame(), draw);
        if (reason.isEmpty() && !date.isNull() && !draw.date.isValid())
            reason = u"日付が正しくありません"_s;
        if (!reason.isEmpty()) {
            m_fault = u"当せん番号の履歴「%1」は壊れているため使えません（第%2回：%3）。"_s
                          .arg(QDir::toNativeSeparators(m_path))
                          .arg(query.value(number).toString(), reason);
            return {};
        }
    }
    if (query.lastError().isValid()) {
        unreadable(query);
        return {};
    }
    return all;
}

int HistoryDatabase::latestDraw() const
{
    QSqlQuery query(connection());
    if (!m_fault.isEmpty())
        return 0;
    if (!query.exec(u"SELECT MAX(number) FROM draws"_s) || !query.next()) {
        unreadable(query);
        return 0;
    }
    return query.value(0).toInt();
}

qint64 HistoryDatabase::dataVersion() const
{
    QSqlQuery query(connection());
    return query.exec(u"PRAGMA data_version"_s) && query.next() ? query.value(0).toLongLong() : -1;
}

std::vector<DrawRange> HistoryDatabase::missingDraws() const
{
    std::vector<DrawRange> missing;
    QSqlQuery query(connection());
    if (!m_fault.isEmpty())
        return missing;
    if (!query.exec(u"SELECT number + 1, next - 1 FROM (SELECT number, LEAD(number) OVER "
                    u"(ORDER BY number) AS next FROM draws) WHERE next > number + 1 "
                    u"ORDER BY number"_s)) {
        unreadable(query);
        return missing;
    }
    while (query.next())
        missing.push_back({query.value(0).toInt(), query.value(1).toInt()});
    return missing;
}

std::optional<ImportRecord> HistoryDatabase::lastImport() const
{
    QSqlQuery query(connection());
    if (!m_fault.isEmpty())
        return std::nullopt;
    if (!query.exec(u"SELECT time, source FROM imports ORDER BY id DESC LIMIT 1"_s)) {
        unreadable(query);
        return std::nullopt;
    }
    if (!query.next())
        return std::nullopt;
    return ImportRecord {
        QDateTime::fromString(query.value(0).toString(), Qt::ISODate), query.value(1).toString()};
}

QString HistoryDatabase::replaceDraw(int number, const PastDraw &draw)
{
    bool taken = false;
    const bool done = inTransaction([&](QSqlQuery &query) {
        if (draw.number != number) {
            query.prepare(u"SELECT 1 FROM draws WHERE number = ?"_s);
            query.addBindValue(draw.number);
            if (!query.exec())
                return failed(query);
            if ((taken = query.next()))
                return false;
        }
        query.prepare(u"DELETE FROM draws WHERE number = ?"_s);
        query.addBindValue(number);
        if (!query.exec())
            return failed(query);
        query.prepare(u"INSERT INTO draws (%1) VALUES (?%2)"_s.arg(
            allColumns(), u", ?"_s.repeated(storedNumbers + optionalCount)));
        bindDraw(query, draw);
        return query.exec() || failed(query);
    });
    if (taken)
        return u"第%1回は登録済みです。"_s.arg(draw.number);
    return done ? QString() : error();
}

QString HistoryDatabase::removeDraws(const std::vector<int> &numbers)
{
    const bool done = inTransaction([&](QSqlQuery &query) {
        query.prepare(u"DELETE FROM draws WHERE number = ?"_s);
        for (const int number : numbers) {
            query.addBindValue(number);
            if (!query.exec())
                return failed(query);
        }
        return true;
    });
    return done ? QString() : error();
}

bool HistoryDatabase::hasDraw(int number) const
{
    QSqlQuery query(connection());
    if (!m_fault.isEmpty())
        return false;
    query.prepare(u"SELECT 1 FROM draws WHERE number = ?"_s);
    query.addBindValue(number);
    if (!query.exec())
        return unreadable(query);
    return query.next();
}

int HistoryDatabase::nextLine(int draw) const
{
    QSqlQuery query(connection());
    if (!m_fault.isEmpty())
        return 0;
    query.prepare(u"SELECT COALESCE(MAX(line) + 1, 0) FROM tickets WHERE draw = ?"_s);
    query.addBindValue(draw);
    if (!query.exec() || !query.next()) {
        unreadable(query);
        return 0;
    }
    return query.value(0).toInt();
}

bool HistoryDatabase::saveTickets(
    int draw, const std::vector<Numbers> &tickets, TicketSource source)
{
    return saveTickets(std::vector {draw}, tickets, source);
}

bool HistoryDatabase::saveTickets(
    const std::vector<int> &draws, const std::vector<Numbers> &tickets, TicketSource source)
{
    return inTransaction([&](QSqlQuery &query) {
        for (const int draw : draws) {
            query.prepare(u"SELECT COALESCE(MAX(line) + 1, 0) FROM tickets WHERE draw = ?"_s);
            query.addBindValue(draw);
            if (!query.exec() || !query.next())
                return failed(query);
            int line = query.value(0).toInt();
            query.prepare(u"INSERT INTO tickets (draw, line, n1, n2, n3, n4, n5, n6, source) "
                          u"VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"_s);
            for (const auto &ticket : tickets) {
                query.addBindValue(draw);
                query.addBindValue(line++);
                for (const int number : ticket)
                    query.addBindValue(number);
                query.addBindValue(int(source));
                if (!query.exec())
                    return failed(query);
            }
        }
        return true;
    });
}

std::vector<SavedTicket> HistoryDatabase::tickets() const
{
    std::vector<SavedTicket> all;
    QSqlQuery query(connection());
    if (!m_fault.isEmpty())
        return all;
    if (!query.exec(u"SELECT id, draw, line, n1, n2, n3, n4, n5, n6, source FROM tickets "
                    u"ORDER BY draw, line"_s)) {
        unreadable(query);
        return all;
    }
    while (query.next()) {
        SavedTicket &ticket = all.emplace_back();
        ticket.id = query.value(0).toLongLong();
        ticket.draw = query.value(1).toInt();
        ticket.line = query.value(2).toInt();
        const int source = query.value(9).toInt();
        ticket.source = TicketSource(source);
        PastDraw asDrawn;
        asDrawn.number = ticket.draw;
        for (int n = 0; n < storedNumbers; ++n)
            ticket.numbers.push_back(query.value(3 + n).toInt());
        asDrawn.numbers = ticket.numbers;
        // Checked as a draw's number and numbers are, so that no window indexes by a value
        // out of range.
        QString reason = StoredDrawFault(storedGame(), asDrawn);
        if (reason.isEmpty() && ticket.line < 0)
            reason = u"券の順番 %1 が正しくありません"_s.arg(ticket.line);
        if (reason.isEmpty() && (source < 0 || source > int(TicketSource::Wheel)))
            reason = u"入手元 %1 が正しくありません"_s.arg(source);
        if (!reason.isEmpty()) {
            m_fault = u"当せん番号の履歴「%1」は壊れているため使えません（第%2回の券：%3）。"_s
                          .arg(QDir::toNativeSeparators(m_path))
                          .arg(query.value(1).toString(), reason);
            return {};
        }
    }
    if (query.lastError().isValid()) {
        unreadable(query);
        return {};
    }
    return all;
}

bool HistoryDatabase::changeTicket(qint64 id, int draw, const Numbers &numbers)
{
    return inTransaction([&](QSqlQuery &query) {
        query.prepare(u"SELECT draw FROM tickets WHERE id = ?"_s);
        query.addBindValue(id);
        if (!query.exec())
            return failed(query);
        if (!query.next())
            return false;
        const bool moved = query.value(0).toInt() != draw;
        query.prepare(moved
                ? u"UPDATE tickets SET draw = ?, line = (SELECT COALESCE(MAX(line) + 1, 0) "
                  u"FROM tickets WHERE draw = ?), n1 = ?, n2 = ?, n3 = ?, n4 = ?, n5 = ?, "
                  u"n6 = ? WHERE id = ?"_s
                : u"UPDATE tickets SET n1 = ?, n2 = ?, n3 = ?, n4 = ?, n5 = ?, n6 = ? "
                  u"WHERE id = ?"_s);
        if (moved) {
            query.addBindValue(draw);
            query.addBindValue(draw);
        }
        for (const int number : numbers)
            query.addBindValue(number);
        query.addBindValue(id);
        return query.exec() || failed(query);
    });
}

bool HistoryDatabase::removeTickets(const std::vector<qint64> &ids)
{
    return inTransaction([&](QSqlQuery &query) {
        query.prepare(u"DELETE FROM tickets WHERE id = ?"_s);
        for (const qint64 id : ids) {
            query.addBindValue(id);
            if (!query.exec())
                return failed(query);
        }
        return true;
    });
}
