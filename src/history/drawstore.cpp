#include "drawstore.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

using namespace Qt::StringLiterals;

namespace {

// The table holds every game side by side: columns for the most numbers, bonus numbers and
// grades any game has, NULL where a game has fewer.
constexpr int storedGrades = MostGrades;
constexpr int storedNumbers = Numbers::Capacity;
constexpr int storedBonuses = 2;

// The fields of a draw besides its number and drawn numbers, as stored (NULL where the source
// gave nothing or the game has none), with the names a conflict is told by.
constexpr int optionalCount = 2 + storedBonuses + 2 * storedGrades;
constexpr std::size_t carryOverField = optionalCount - 1;
constexpr std::size_t firstGradeField = 1 + storedBonuses;

const std::array<QString, optionalCount> &optionalColumns()
{
    static const std::array<QString, optionalCount> names = [] {
        std::array<QString, optionalCount> columns {u"date"_s, u"bonus"_s, u"bonus2"_s};
        for (std::size_t grade = 0; grade < storedGrades; ++grade) {
            columns[firstGradeField + grade] = u"winners%1"_s.arg(grade + 1);
            columns[firstGradeField + storedGrades + grade] = u"prize%1"_s.arg(grade + 1);
        }
        columns[carryOverField] = u"carry_over"_s;
        return columns;
    }();
    return names;
}

QString optionalName(std::size_t field)
{
    if (field == 0)
        return u"日付"_s;
    if (field < firstGradeField)
        return u"ボーナス数字"_s;
    if (field == carryOverField)
        return u"キャリーオーバー"_s;
    const std::size_t grade = (field - firstGradeField) % storedGrades + 1;
    return field < firstGradeField + storedGrades ? u"%1等口数"_s.arg(grade)
                                                  : u"%1等賞金"_s.arg(grade);
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

// The i-th of the numbers, NULL past their end.
QVariant nthOrNull(const Numbers &numbers, int i)
{
    return i < numbers.size() ? QVariant(numbers[std::size_t(i)]) : QVariant();
}

std::array<QVariant, optionalCount> optionalFields(const PastDraw &draw)
{
    std::array<QVariant, optionalCount> fields;
    fields[0] = draw.date.isValid() ? QVariant(draw.date.toString(Qt::ISODate)) : QVariant();
    for (int i = 0; i < storedBonuses; ++i)
        fields[std::size_t(1 + i)] = nthOrNull(draw.bonuses, i);
    for (std::size_t grade = 0; grade < storedGrades; ++grade) {
        fields[firstGradeField + grade] = orNull(draw.winners[grade]);
        fields[firstGradeField + storedGrades + grade] = orNull(draw.prizes[grade]);
    }
    fields[carryOverField] = orNull(draw.carryOver);
    return fields;
}

const QString numberColumns = u"n1, n2, n3, n4, n5, n6, n7"_s;

// game, number, n1..n7 and the optional fields, bound in the order allColumns() names them.
void bindDraw(QSqlQuery &query, const Game &game, const PastDraw &draw)
{
    query.addBindValue(game.key);
    query.addBindValue(draw.number);
    for (int n = 0; n < storedNumbers; ++n)
        query.addBindValue(nthOrNull(draw.numbers, n));
    for (const QVariant &field : optionalFields(draw))
        query.addBindValue(field);
}

QString allColumns()
{
    QStringList names {u"game"_s, u"number"_s, numberColumns};
    for (const QString &name : optionalColumns())
        names << name;
    return names.join(u", "_s);
}

const QString insertDraw = u"INSERT INTO draws (%1) VALUES (?, ?%2)"_s.arg(
    allColumns(), u", ?"_s.repeated(storedNumbers + optionalCount));

} // namespace

DrawStore::DrawStore(HistoryDatabase &database, const Game &game)
    : m_database(database)
    , m_game(&game)
{ }

StoreResult<DrawStore::Stored> DrawStore::store(
    const ReadDraws &read, const QString &source, const std::function<bool(qsizetype)> &carryOn)
{
    StoreResult<Stored> result;
    Stored &stored = result.value;
    result.fault = m_database.inTransaction([&](QSqlQuery &find) -> StoreFault {
        const auto &optional = optionalColumns();
        find.prepare(u"SELECT %1, %2 FROM draws WHERE game = ? AND number = ?"_s.arg(
            numberColumns, QStringList(optional.begin(), optional.end()).join(u", "_s)));
        // A new draw is inserted at once; only one already stored is looked up and compared.
        QSqlQuery insert(m_database.connection());
        insert.prepare(insertDraw + u" ON CONFLICT (game, number) DO NOTHING"_s);
        for (std::size_t i = 0; i < read.draws.size(); ++i) {
            if (carryOn && i % 1000 == 0 && !carryOn(qsizetype(i))) {
                stored.cancelled = true;
                return FaultOf(StoreProblem::Unwritable, m_database.path());
            }
            const PastDraw &draw = read.draws[i];
            const auto fields = optionalFields(draw);
            bindDraw(insert, *m_game, draw);
            if (!insert.exec())
                return m_database.failed(insert, StoreProblem::Unwritable);
            if (insert.numRowsAffected() == 1) {
                ++stored.added;
                continue;
            }
            find.addBindValue(m_game->key);
            find.addBindValue(draw.number);
            if (!find.exec() || !find.next())
                return m_database.failed(find, StoreProblem::Unwritable);
            bool same = true;
            for (int n = 0; n < storedNumbers; ++n)
                same = same
                    && find.value(n).toInt() == nthOrNull(draw.numbers, n).toInt(); // NULL as 0
            if (!same) {
                stored.conflicts.push_back(
                    {read.lines[i], u"第%1回は別の数字で登録済みです"_s.arg(draw.number)});
                continue;
            }
            // The fields this line gives that the stored draw lacks; any that differs from a
            // stored value makes the whole line a conflict, naming each.
            QStringList fill;
            QVariantList values;
            QStringList differ;
            for (std::size_t f = 0; f < optionalCount; ++f) {
                const QVariant storedValue = find.value(storedNumbers + int(f));
                if (fields[f].isNull())
                    continue;
                if (storedValue.isNull()) {
                    fill << optional[f] + u" = ?"_s;
                    values << fields[f];
                } else if (storedValue.toString() != fields[f].toString()) {
                    differ << optionalName(f);
                }
            }
            find.finish();
            if (!differ.isEmpty()) {
                stored.conflicts.push_back({read.lines[i],
                    u"第%1回の%2は別の値で登録済みです"_s.arg(draw.number)
                        .arg(differ.join(u'、'))});
            } else if (fill.isEmpty()) {
                ++stored.present;
            } else {
                QSqlQuery update(m_database.connection());
                update.prepare(
                    u"UPDATE draws SET %1 WHERE game = ? AND number = ?"_s.arg(fill.join(u", "_s)));
                for (const QVariant &value : values)
                    update.addBindValue(value);
                update.addBindValue(m_game->key);
                update.addBindValue(draw.number);
                if (!update.exec())
                    return m_database.failed(update, StoreProblem::Unwritable);
                ++stored.completed;
            }
        }
        if (stored.added + stored.completed == 0)
            return {};
        QSqlQuery note(m_database.connection());
        note.prepare(u"INSERT INTO imports (time, source, game) VALUES (?, ?, ?)"_s);
        note.addBindValue(QDateTime::currentDateTime().toString(Qt::ISODate));
        note.addBindValue(source);
        note.addBindValue(m_game->key);
        return note.exec() ? StoreFault {} : m_database.failed(note, StoreProblem::Unwritable);
    });
    if (stored.cancelled) {
        result = {};
        result.value.cancelled = true;
    }
    return result;
}

StoreResult<std::vector<PastDraw>> DrawStore::draws() const
{
    StoreResult<std::vector<PastDraw>> result;
    if ((result.fault = m_database.ready()))
        return result;
    std::vector<PastDraw> &all = result.value;
    QSqlQuery query(m_database.connection());
    query.setForwardOnly(true);
    query.prepare(u"SELECT * FROM draws WHERE game = ? ORDER BY number"_s);
    query.addBindValue(m_game->key);
    if (!query.exec()) {
        result.fault = m_database.failed(query, StoreProblem::Unreadable);
        return result;
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
        result.fault = m_database.wrongValue(StoredTable::Draws, u"列が足りません"_s);
        return result;
    }
    while (query.next()) {
        PastDraw &draw = all.emplace_back();
        draw.number = query.value(number).toInt();
        // Every number stored is taken, so that one the game has not is found below.
        for (const int pick : picks) {
            if (const QVariant value = query.value(pick); !value.isNull())
                draw.numbers.push_back(value.toInt());
        }
        const QVariant date = query.value(optional[0]);
        draw.date = QDate::fromString(date.toString(), Qt::ISODate);
        for (std::size_t i = 1; i < firstGradeField; ++i) {
            if (const QVariant value = query.value(optional[i]); !value.isNull())
                draw.bonuses.push_back(value.toInt());
        }
        for (std::size_t grade = 0; grade < storedGrades; ++grade) {
            draw.winners[grade] = orMissing(query.value(optional[firstGradeField + grade]));
            draw.prizes[grade]
                = orMissing(query.value(optional[firstGradeField + storedGrades + grade]));
        }
        draw.carryOver = orMissing(query.value(optional[carryOverField]));
        // A value no draw can have, written by something else or by hand, makes every figure
        // after it wrong: the database is not used.
        QString reason = StoredDrawFault(game(), draw);
        if (reason.isEmpty() && !date.isNull() && !draw.date.isValid())
            reason = u"日付が正しくありません"_s;
        if (!reason.isEmpty()) {
            result.value.clear();
            result.fault = m_database.wrongValue(
                StoredTable::Draws, u"第%1回：%2"_s.arg(query.value(number).toString(), reason));
            return result;
        }
    }
    if (query.lastError().isValid()) {
        result.value.clear();
        result.fault = m_database.failed(query, StoreProblem::Unreadable);
        return result;
    }
    m_database.valuesChecked(StoredTable::Draws);
    return result;
}

StoreResult<int> DrawStore::latestDraw() const
{
    QSqlQuery query(m_database.connection());
    StoreResult<int> result {0,
        m_database.read(query, u"SELECT MAX(number) FROM draws WHERE game = ?"_s, {m_game->key})};
    if (result.ok() && query.next())
        result.value = query.value(0).toInt();
    return result;
}

StoreResult<bool> DrawStore::hasDraw(int number) const
{
    QSqlQuery query(m_database.connection());
    StoreResult<bool> result {false,
        m_database.read(
            query, u"SELECT 1 FROM draws WHERE game = ? AND number = ?"_s, {m_game->key, number})};
    result.value = result.ok() && query.next();
    return result;
}

StoreResult<std::vector<DrawRange>> DrawStore::missingDraws() const
{
    QSqlQuery query(m_database.connection());
    StoreResult<std::vector<DrawRange>> result {{},
        m_database.read(query,
            u"SELECT number + 1, next - 1 FROM (SELECT number, LEAD(number) OVER "
            u"(ORDER BY number) AS next FROM draws WHERE game = ?) WHERE next > number + 1 "
            u"ORDER BY number"_s,
            {m_game->key})};
    while (result.ok() && query.next())
        result.value.push_back({query.value(0).toInt(), query.value(1).toInt()});
    return result;
}

StoreResult<std::optional<ImportRecord>> DrawStore::lastImport() const
{
    QSqlQuery query(m_database.connection());
    StoreResult<std::optional<ImportRecord>> result {std::nullopt,
        m_database.read(query,
            u"SELECT time, source FROM imports WHERE game = ? ORDER BY id DESC LIMIT 1"_s,
            {m_game->key})};
    if (result.ok() && query.next())
        result.value = ImportRecord {QDateTime::fromString(query.value(0).toString(), Qt::ISODate),
            query.value(1).toString()};
    return result;
}

StoreFault DrawStore::replaceDraw(int number, const PastDraw &draw)
{
    return m_database.inTransaction([&](QSqlQuery &query) -> StoreFault {
        if (draw.number != number) {
            query.prepare(u"SELECT 1 FROM draws WHERE game = ? AND number = ?"_s);
            query.addBindValue(m_game->key);
            query.addBindValue(draw.number);
            if (!query.exec())
                return m_database.failed(query, StoreProblem::Unwritable);
            if (query.next())
                return FaultOf(
                    StoreProblem::Taken, m_database.path(), u"第%1回"_s.arg(draw.number));
        }
        query.prepare(u"DELETE FROM draws WHERE game = ? AND number = ?"_s);
        query.addBindValue(m_game->key);
        query.addBindValue(number);
        if (!query.exec())
            return m_database.failed(query, StoreProblem::Unwritable);
        query.prepare(insertDraw);
        bindDraw(query, *m_game, draw);
        return query.exec() ? StoreFault {} : m_database.failed(query, StoreProblem::Unwritable);
    });
}

StoreFault DrawStore::removeDraws(const std::vector<int> &numbers)
{
    return m_database.inTransaction([&](QSqlQuery &query) -> StoreFault {
        query.prepare(u"DELETE FROM draws WHERE game = ? AND number = ?"_s);
        for (const int number : numbers) {
            query.addBindValue(m_game->key);
            query.addBindValue(number);
            if (!query.exec())
                return m_database.failed(query, StoreProblem::Unwritable);
        }
        return {};
    });
}
