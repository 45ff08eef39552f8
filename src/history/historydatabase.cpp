#include "historydatabase.h"

#include "migrations.h"

#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <QVariant>

using namespace Qt::StringLiterals;

HistoryDatabase::HistoryDatabase(const QString &path)
    : m_path(path)
    , m_connection(u"history-"_s + QUuid::createUuid().toString(QUuid::WithoutBraces))
{
    QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, m_connection);
    db.setDatabaseName(m_path);
    db.setConnectOptions(u"QSQLITE_BUSY_TIMEOUT=%1"_s.arg(BusyTimeoutMs));
    m_fault = open();
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

const StoreFault &HistoryDatabase::fault() const
{
    if (m_fault)
        return m_fault;
    return m_wrongValue[0] ? m_wrongValue[0] : m_wrongValue[1];
}

StoreFault HistoryDatabase::ready()
{
    if (m_fault)
        m_fault = open();
    return m_fault;
}

StoreFault HistoryDatabase::failed(const QSqlQuery &query, StoreProblem otherwise) const
{
    return FaultOf(query.lastError(), otherwise, m_path);
}

StoreFault HistoryDatabase::wrongValue(StoredTable table, const QString &which)
{
    return m_wrongValue[std::size_t(table)] = FaultOf(StoreProblem::Damaged, m_path, which);
}

StoreFault HistoryDatabase::open()
{
    QSqlDatabase db = connection();
    db.close();
    const QFileInfo file(m_path);
    if ((file.exists() && !file.isFile()) || !db.open())
        return FaultOf(StoreProblem::CannotOpen, m_path);

    // An existing file is checked before anything is written to it: SQLite reports a file that
    // is no database only at the first query.
    StoreFault fault;
    QSqlQuery query(db);
    if (!query.exec(u"PRAGMA quick_check"_s) || !query.next())
        fault = failed(query, StoreProblem::Damaged);
    else if (query.value(0).toString() != u"ok"_s)
        fault = FaultOf(StoreProblem::Damaged, m_path);
    else if (!query.exec(u"PRAGMA user_version"_s) || !query.next())
        fault = failed(query, StoreProblem::Unreadable);
    const int version = fault ? 0 : query.value(0).toInt();
    if (!fault && version > SchemaVersion)
        fault = FaultOf(StoreProblem::Newer, m_path);
    // A file without our version that holds tables is some other program's database.
    if (!fault && version == 0) {
        if (!query.exec(u"SELECT count(*) FROM sqlite_master"_s) || !query.next())
            fault = failed(query, StoreProblem::Unreadable);
        else if (query.value(0).toInt() != 0)
            fault = FaultOf(StoreProblem::Foreign, m_path);
    }
    query.finish();
    for (int from = version; !fault && from < SchemaVersion; ++from)
        fault = migrate(from);
    if (fault)
        db.close();
    return fault;
}

StoreFault HistoryDatabase::migrate(int from)
{
    // Each step is one transaction: a step that fails leaves the file at the version before it.
    QSqlQuery query(connection());
    const auto cannot = [&](StoreProblem problem) {
        const StoreFault fault = failed(query, problem);
        query.exec(u"ROLLBACK"_s);
        return fault;
    };
    if (!query.exec(u"BEGIN IMMEDIATE"_s))
        return cannot(StoreProblem::CannotCreate);
    for (const QString &statement : MigrationSteps()[std::size_t(from)]) {
        // Copying the rows into the checked tables fails only on a value no draw or ticket can
        // have.
        if (!query.exec(statement))
            return cannot(from == 2 && statement.startsWith(u"INSERT"_s)
                    ? StoreProblem::Damaged
                    : StoreProblem::CannotCreate);
    }
    if (!query.exec(u"PRAGMA user_version = %1"_s.arg(from + 1)) || !query.exec(u"COMMIT"_s))
        return cannot(StoreProblem::CannotCreate);
    return {};
}

StoreFault HistoryDatabase::inTransaction(const std::function<StoreFault(QSqlQuery &)> &work)
{
    ready();
    if (fault())
        return fault();
    QSqlQuery control(connection());
    // Taking the write lock at once, rather than on the first insert, lets a second writer wait
    // for the busy timeout instead of failing.
    if (!control.exec(u"BEGIN IMMEDIATE"_s))
        return failed(control, StoreProblem::Unwritable);
    QSqlQuery query(connection());
    StoreFault fault = work(query);
    if (!fault && control.exec(u"COMMIT"_s))
        return {};
    if (!fault)
        fault = failed(control, StoreProblem::Unwritable);
    control.exec(u"ROLLBACK"_s);
    return fault;
}

StoreFault HistoryDatabase::read(
    QSqlQuery &query, const QString &statement, const QVariantList &values)
{
    ready();
    if (fault())
        return fault();
    if (!query.prepare(statement))
        return failed(query, StoreProblem::Unreadable);
    for (const QVariant &value : values)
        query.addBindValue(value);
    return query.exec() ? StoreFault {} : failed(query, StoreProblem::Unreadable);
}

qint64 HistoryDatabase::dataVersion() const
{
    QSqlQuery query(connection());
    return query.exec(u"PRAGMA data_version"_s) && query.next() ? query.value(0).toLongLong() : -1;
}
