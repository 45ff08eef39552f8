#pragma once

#include "resultsupdate.h"

#include <QDateTime>
#include <QObject>

#include <memory>

// The program's checks of the official results for its windows, one at a time: started by the
// user or, with consent, when the program starts. The database is opened at the first use; each
// check reads the sources anew, so that a user's nmr-sources.ini changed meanwhile counts.
class UpdateSession : public QObject
{
    Q_OBJECT

public:
    // An automatic check comes at most this often.
    static constexpr qint64 AutomaticIntervalS = 6 * 3600;

    UpdateSession(
        const QString &databasePath, const QString &sourcesFile, QObject *parent = nullptr);
    ~UpdateSession() override;

    bool running() const { return m_update != nullptr; }
    // Checks the games; nothing while a check runs.
    void start(const std::vector<const Game *> &games);
    void cancel();
    // Whether no game was checked in the last AutomaticIntervalS before now.
    bool automaticDue(const QDateTime &now);

signals:
    void progressed(const QString &doing, int done, int total);
    // What the check brought, a line for each game and each problem, and the games whose saved
    // tickets it graded.
    void finished(const QString &report, const std::vector<const Game *> &graded);

private:
    HistoryDatabase &database(); // opened at the first use

    QString m_databasePath;
    QString m_sourcesFile;
    std::unique_ptr<HistoryDatabase> m_database;
    ResultsUpdate *m_update = nullptr;
};

// The lines of a check's report: what was wrong in the sources, then for each game what came,
// what went wrong and the grades of the saved tickets.
QString UpdateReportText(const QStringList &sourceFaults, const std::vector<GameUpdate> &updates);
