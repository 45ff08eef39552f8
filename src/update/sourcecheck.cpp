#include "sourcecheck.h"

#include <QSqlQuery>
#include <QVariant>

using namespace Qt::StringLiterals;

StoreResult<std::optional<SourceCheck>> LastSourceCheck(HistoryDatabase &database, const Game &game)
{
    QSqlQuery query(database.connection());
    StoreResult<std::optional<SourceCheck>> result {std::nullopt,
        database.read(query,
            u"SELECT time, address, etag, last_modified, newest, brought FROM source_checks "
            u"WHERE game = ?"_s,
            {game.key})};
    if (result.ok() && query.next())
        result.value = SourceCheck {QDateTime::fromString(query.value(0).toString(), Qt::ISODate),
            QUrl(query.value(1).toString()),
            {query.value(2).toByteArray(), query.value(3).toByteArray()}, query.value(4).toInt(),
            query.value(5).toString()};
    return result;
}

StoreFault NoteSourceCheck(HistoryDatabase &database, const Game &game, const SourceCheck &check)
{
    return database.inTransaction([&](QSqlQuery &query) -> StoreFault {
        query.prepare(u"INSERT OR REPLACE INTO source_checks (game, time, address, etag, "
                      u"last_modified, newest, brought) VALUES (?, ?, ?, ?, ?, ?, ?)"_s);
        const auto text = [](const QByteArray &bytes) {
            return bytes.isEmpty() ? QVariant() : QVariant(QString::fromLatin1(bytes));
        };
        for (const QVariant &value :
            {QVariant(game.key), QVariant(check.time.toUTC().toString(Qt::ISODate)),
                QVariant(check.address.toString()), text(check.validators.etag),
                text(check.validators.lastModified), QVariant(check.newest),
                QVariant(check.brought)})
            query.addBindValue(value);
        return query.exec() ? StoreFault() : database.failed(query, StoreProblem::Unwritable);
    });
}
