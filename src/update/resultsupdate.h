#pragma once

#include "fetcher.h"
#include "sourcecheck.h"
#include "sources.h"

#include "history/drawstore.h"

#include <QObject>

#include <vector>

// What a check of one game's source brought.
struct GameUpdate
{
    const Game *game = nullptr;
    std::vector<int> added; // the draws stored, in the order they came
    std::vector<int> completed; // stored draws whose missing prizes came
    std::vector<int> pending; // listed, but their files not published yet (404)
    int newest = 0; // the newest draw the index lists
    QStringList problems; // each naming the address and the reason, in Japanese
    QStringList grades; // the saved tickets of the draws that came, graded
    bool failed = false; // a source did not answer, or an answer was refused
    bool cancelled = false;

    // "ロト6：新規 2 回（第2125回〜第2126回）、最新です"
    QString summary() const;
};

// Fetches the official results of games, a game at a time: its index (asking only whether it
// changed since the last check), then, newest first, the file of each listed draw from the
// source's first one that is not stored or lacks its prizes. Each draw read is checked as an
// import checks it and stored in its own transaction, so a check that is cancelled or fails keeps
// every draw it completed, and a draw that differs from a stored one is told, never stored. A
// first fill reads the source's whole-history file instead, where it has one. The saved tickets
// of each draw that came are graded.
class ResultsUpdate : public QObject
{
    Q_OBJECT

public:
    // The most bytes of an index or a draw's file, and of a whole-history file.
    static constexpr qint64 MostBytes = qint64(1) << 20;
    static constexpr qint64 MostHistoryBytes = qint64(64) << 20;

    ResultsUpdate(HistoryDatabase &database, const Sources &sources, FetchTiming timing = {},
        QObject *parent = nullptr);

    // Checks the games in turn; an update is started once.
    void start(const std::vector<const Game *> &games);
    // Stops at once; what was stored stays stored.
    void cancel();
    bool running() const { return m_running; }
    int requestsSent() const { return m_fetcher->requestsSent(); }

signals:
    // What is being fetched, and how many of the game's files are done of how many (0 of 0 while
    // that is not known).
    void progressed(const QString &doing, int done, int total);
    void gameChecked(const GameUpdate &update);
    void finished(const std::vector<GameUpdate> &updates);

private:
    void nextGame();
    void fetchHistory();
    void fetchIndex(qsizetype at);
    void plan();
    void fetchDraw();
    void storeDraw(int number, const QUrl &url, const FetchAnswer &answer);
    void endGame();
    void problem(const QUrl &url, const QString &reason);

    HistoryDatabase &m_database;
    Sources m_sources;
    Fetcher *m_fetcher;
    bool m_running = false;
    std::vector<const Game *> m_games;
    std::vector<GameUpdate> m_updates;

    // The game in hand.
    const Source *m_source = nullptr;
    std::optional<DrawStore> m_store;
    GameUpdate m_update;
    std::optional<SourceCheck> m_last;
    SourceCheck m_check;
    bool m_indexAnswered = false;
    std::vector<int> m_todo; // newest first
    std::size_t m_done = 0;
};
