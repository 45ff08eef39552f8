#include "updatesession.h"

UpdateSession::UpdateSession(
    const QString &databasePath, const QString &sourcesFile, QObject *parent)
    : QObject(parent)
    , m_databasePath(databasePath)
    , m_sourcesFile(sourcesFile)
{ }

UpdateSession::~UpdateSession()
{
    delete m_update; // before the database it reads
}

void UpdateSession::start(const std::vector<const Game *> &games)
{
    if (running())
        return;
    const Sources sources = LoadSources(m_sourcesFile);
    m_update = new ResultsUpdate(database(), sources, {}, this);
    connect(m_update, &ResultsUpdate::progressed, this, &UpdateSession::progressed);
    connect(m_update, &ResultsUpdate::finished, this,
        [this, faults = sources.faults](const std::vector<GameUpdate> &updates) {
            std::vector<const Game *> graded;
            for (const GameUpdate &update : updates) {
                if (!update.grades.isEmpty())
                    graded.push_back(update.game);
            }
            m_update->deleteLater();
            m_update = nullptr;
            emit finished(UpdateReportText(faults, updates), graded);
        });
    m_update->start(games);
}

void UpdateSession::cancel()
{
    if (m_update)
        m_update->cancel();
}

HistoryDatabase &UpdateSession::database()
{
    if (!m_database)
        m_database = std::make_unique<HistoryDatabase>(m_databasePath);
    return *m_database;
}

bool UpdateSession::automaticDue(const QDateTime &now)
{
    for (const Game *game : Games()) {
        const StoreResult<std::optional<SourceCheck>> last = LastSourceCheck(database(), *game);
        if (!last.ok())
            return false;
        // A check stamped after now (the clock was set back) does not hold the next one off.
        const qint64 since = last.value ? last.value->time.secsTo(now) : -1;
        if (since >= 0 && since < AutomaticIntervalS)
            return false;
    }
    return true;
}

QString UpdateReportText(const QStringList &sourceFaults, const std::vector<GameUpdate> &updates)
{
    QStringList lines = sourceFaults;
    for (const GameUpdate &update : updates)
        lines << update.summary() << update.problems << update.grades;
    return lines.join(u'\n');
}
