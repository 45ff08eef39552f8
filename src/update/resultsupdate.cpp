#include "resultsupdate.h"

#include "drawfile.h"
#include "sourcecheck.h"

#include "history/importfile.h"
#include "tickets/ticketcheck.h"

#include <map>
#include <set>

using namespace Qt::StringLiterals;

namespace {

QString DrawsText(const std::vector<int> &numbers)
{
    const auto [low, high] = std::minmax_element(numbers.begin(), numbers.end());
    return *low == *high ? u"第%1回"_s.arg(*low) : u"第%1回〜第%2回"_s.arg(*low).arg(*high);
}

bool LacksPrizes(const Game &game, const PastDraw &draw)
{
    for (int grade = 0; grade < game.gradeCount(); ++grade) {
        if (draw.winners[std::size_t(grade)] < 0 || draw.prizes[std::size_t(grade)] < 0)
            return true;
    }
    return false;
}

// "第2125回：保存した券 5 枚のうち 4等 1 枚、5等 2 枚", or nothing for a draw without saved
// tickets.
QString GradesText(const Game &game, const PastDraw &draw, const std::vector<SavedTicket> &tickets)
{
    std::map<int, int> byGrade;
    int count = 0;
    for (const SavedTicket &ticket : tickets) {
        if (ticket.draw != draw.number)
            continue;
        ++count;
        if (const int grade = GradeOf(game, ticket.numbers, draw).grade; grade > 0)
            ++byGrade[grade];
    }
    if (count == 0)
        return {};
    QStringList won;
    for (const auto &[grade, tickets] : byGrade)
        won << u"%1等 %2 枚"_s.arg(grade).arg(tickets);
    return won.isEmpty()
        ? u"第%1回：保存した券 %2 枚、当せんなし"_s.arg(draw.number).arg(count)
        : u"第%1回：保存した券 %2 枚のうち %3"_s.arg(draw.number).arg(count).arg(won.join(u'、'));
}

} // namespace

QString GameUpdate::summary() const
{
    QStringList parts;
    parts << (added.empty() ? u"新規 0 回"_s
                            : u"新規 %1 回（%2）"_s.arg(added.size()).arg(DrawsText(added)));
    if (!completed.empty())
        parts << u"補完 %1 回（%2）"_s.arg(completed.size()).arg(DrawsText(completed));
    if (!pending.empty())
        parts << u"%1 はまだ公開されていません"_s.arg(DrawsText(pending));
    if (cancelled)
        parts << u"中止しました"_s;
    else if (failed)
        parts << u"取得できないものがありました"_s;
    else if (pending.empty())
        parts << u"最新です"_s;
    return game->name + u'：' + parts.join(u'、');
}

ResultsUpdate::ResultsUpdate(
    HistoryDatabase &database, const Sources &sources, FetchTiming timing, QObject *parent)
    : QObject(parent)
    , m_database(database)
    , m_sources(sources)
    , m_fetcher(new Fetcher(timing, this))
{ }

void ResultsUpdate::start(const std::vector<const Game *> &games)
{
    m_games = games;
    std::reverse(m_games.begin(), m_games.end());
    m_running = true;
    nextGame();
}

void ResultsUpdate::cancel()
{
    if (!m_running)
        return;
    m_fetcher->cancel();
    m_update.cancelled = true;
    m_games.clear();
    endGame();
}

void ResultsUpdate::problem(const QUrl &url, const QString &reason)
{
    m_update.problems << u"%1：%2（%3）"_s.arg(m_update.game->name, reason, AddressText(url));
    m_update.failed = true;
}

void ResultsUpdate::nextGame()
{
    if (m_games.empty()) {
        m_running = false;
        emit finished(m_updates);
        return;
    }
    const Game &game = *m_games.back();
    m_games.pop_back();
    m_update = GameUpdate();
    m_update.game = &game;
    m_source = m_sources.of(game);
    m_store.emplace(m_database, game);
    m_check = SourceCheck {};
    m_indexAnswered = false;
    m_todo.clear();
    m_done = 0;
    const auto fault = [&](const QString &reason) {
        m_update.problems << game.name + u'：' + reason;
        m_update.failed = true;
        m_source = nullptr; // nothing was asked of it: its last check stays as it was
        endGame();
    };
    if (!m_source || m_source->index.isEmpty() || m_source->draw.isEmpty())
        return fault(u"取得元が決まっていません"_s);
    const StoreResult<std::optional<SourceCheck>> last = LastSourceCheck(m_database, game);
    if (!last.ok())
        return fault(last.fault.text);
    const StoreResult<int> latest = m_store->latestDraw();
    if (!latest.ok())
        return fault(latest.fault.text);
    m_last = last.value;
    if (latest.value == 0 && !m_source->history.isEmpty())
        fetchHistory();
    else
        fetchIndex(0);
}

void ResultsUpdate::fetchHistory()
{
    const QUrl url = m_source->history;
    emit progressed(u"%1：これまでの結果を取得しています"_s.arg(m_update.game->name), 0, 0);
    if (!m_running) // cancelled by whoever heard it
        return;
    m_fetcher->get(url, MostHistoryBytes, {}, [this, url](const FetchAnswer &answer) {
        if (answer.kind != FetchAnswer::Kind::Body) {
            problem(url,
                answer.kind == FetchAnswer::Kind::Failed
                    ? answer.failure
                    : u"ファイルがありません（HTTP %1）"_s.arg(answer.status));
        } else {
            const StoreResult<std::vector<PastDraw>> before = m_store->draws();
            qsizetype rejected = 0;
            const ImportReport report = ImportText(*m_store, DecodeResults(answer.body),
                url.toString(), [&](const RejectedLine &) { ++rejected; });
            const StoreResult<std::vector<PastDraw>> after = m_store->draws();
            if (!report.stored())
                problem(url, report.failure);
            else if (rejected > 0)
                problem(url, u"%1 行が読めませんでした"_s.arg(rejected));
            if (before.ok() && after.ok() && before.value.empty()) {
                for (const PastDraw &draw : after.value)
                    m_update.added.push_back(draw.number);
            }
        }
        fetchIndex(0);
    });
}

void ResultsUpdate::fetchIndex(qsizetype at)
{
    if (at >= m_source->index.size()) {
        if (!m_indexAnswered)
            m_update.failed = true;
        return endGame();
    }
    const QUrl url = m_source->index[at];
    const Validators validators
        = m_last && m_last->address == url ? m_last->validators : Validators {};
    emit progressed(u"%1：一覧を取得しています"_s.arg(m_update.game->name), 0, 0);
    if (!m_running) // cancelled by whoever heard it
        return;
    m_fetcher->get(url, MostBytes, validators, [this, url, at](const FetchAnswer &answer) {
        int newest = 0;
        if (answer.kind == FetchAnswer::Kind::NotModified && m_last && m_last->newest > 0) {
            newest = m_last->newest;
            m_check.validators = m_last->validators;
        } else if (answer.kind == FetchAnswer::Kind::Body) {
            newest = NewestIndexedDraw(
                *m_update.game, m_source->fileStem(), DecodeResults(answer.body));
            m_check.validators = answer.validators;
            if (newest == 0)
                problem(url, u"一覧に%1の回が見つかりません"_s.arg(m_update.game->name));
        } else {
            problem(url,
                answer.kind == FetchAnswer::Kind::Failed
                    ? answer.failure
                    : u"一覧がありません（HTTP %1）"_s.arg(answer.status));
        }
        if (newest == 0)
            return fetchIndex(at + 1);
        m_indexAnswered = true;
        m_check.address = url;
        m_update.newest = m_check.newest = newest;
        // An index that answered clears the faults of those tried before it.
        m_update.problems.clear();
        m_update.failed = false;
        plan();
    });
}

void ResultsUpdate::plan()
{
    const StoreResult<std::vector<PastDraw>> stored = m_store->draws();
    if (!stored.ok()) {
        m_update.problems << m_update.game->name + u'：' + stored.fault.text;
        m_update.failed = true;
        return endGame();
    }
    std::set<int> complete;
    for (const PastDraw &draw : stored.value) {
        if (!LacksPrizes(*m_update.game, draw))
            complete.insert(draw.number);
    }
    for (int number = m_update.newest; number >= std::max(m_source->firstDraw, 1); --number) {
        if (!complete.contains(number))
            m_todo.push_back(number);
    }
    fetchDraw();
}

void ResultsUpdate::fetchDraw()
{
    if (m_done >= m_todo.size())
        return endGame();
    const int number = m_todo[m_done];
    const QUrl url = m_source->drawUrl(number);
    emit progressed(u"%1：第%2回を取得しています"_s.arg(m_update.game->name).arg(number),
        int(m_done), int(m_todo.size()));
    if (!m_running) // cancelled by whoever heard it
        return;
    m_fetcher->get(url, MostBytes, {}, [this, number, url](const FetchAnswer &answer) {
        ++m_done;
        if (answer.kind == FetchAnswer::Kind::NotFound) {
            m_update.pending.push_back(number);
        } else if (answer.kind == FetchAnswer::Kind::Failed) {
            // The site does not answer, or refuses: asking it for more would not help.
            problem(url, answer.failure);
            return endGame();
        } else {
            storeDraw(number, url, answer);
        }
        fetchDraw();
    });
}

void ResultsUpdate::storeDraw(int number, const QUrl &url, const FetchAnswer &answer)
{
    const DrawFileRead read = ReadDrawFile(*m_update.game, number, answer.body);
    if (!read.draw)
        return problem(url, read.reason);
    ReadDraws one;
    one.draws = {*read.draw};
    one.lines = {1};
    const StoreResult<DrawStore::Stored> stored = m_store->store(one, url.toString());
    if (!stored.ok())
        return problem(url, stored.fault.text);
    if (!stored.value.conflicts.empty())
        problem(url,
            u"第%1回が保存済みの結果と違うので、保存済みのままにしました（%2）"_s.arg(number).arg(
                stored.value.conflicts.front().reason));
    else if (stored.value.added > 0)
        m_update.added.push_back(number);
    else if (stored.value.completed > 0)
        m_update.completed.push_back(number);
}

void ResultsUpdate::endGame()
{
    const Game &game = *m_update.game;
    std::vector<int> came = m_update.added;
    came.insert(came.end(), m_update.completed.begin(), m_update.completed.end());
    if (!came.empty()) {
        const StoreResult<std::vector<SavedTicket>> tickets
            = TicketStore(m_database, game).tickets();
        const StoreResult<std::vector<PastDraw>> draws = m_store->draws();
        if (tickets.ok() && draws.ok()) {
            std::sort(came.begin(), came.end());
            for (const int number : came) {
                if (const PastDraw *draw = FindDraw(draws.value, number)) {
                    if (const QString text = GradesText(game, *draw, tickets.value);
                        !text.isEmpty())
                        m_update.grades << text;
                }
            }
        }
    }
    if (!m_indexAnswered && m_source && !m_source->index.isEmpty()) {
        // What the last check that reached the source learnt stays for the next one.
        if (m_last)
            m_check = *m_last;
        else
            m_check.address = m_source->index.front();
    }
    if (m_source && !m_check.address.isEmpty()) {
        m_check.time = QDateTime::currentDateTimeUtc();
        m_check.brought = m_update.summary();
        if (const StoreFault fault = NoteSourceCheck(m_database, game, m_check))
            m_update.problems << game.name + u'：' + fault.text;
    }
    m_updates.push_back(m_update);
    emit gameChecked(m_update);
    nextGame();
}
