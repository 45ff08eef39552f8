#include "formhistory.h"

#include "databasewatch.h"
#include "engine/figures.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QPlainTextEdit>

using namespace Qt::StringLiterals;

// Reading past results into the database, off the user-interface thread: from files chosen or
// dropped, or pasted text, with progress and 中止, and the report afterwards.

namespace {

constexpr int shownReasons = 20; // of the lines not read, each file's first

} // namespace

struct FormHistory::Outcome
{
    struct Read
    {
        QString name; // the file's path, or empty for pasted text
        ImportReport report;
        std::vector<RejectedLine> reasons; // the first few
    };
    std::vector<Read> reads;
    // Every stored draw after the reads, read in the background too: a large database would
    // otherwise hold up the window once the reads are done.
    std::vector<PastDraw> draws;
    bool drawsRead = false;
};

void FormHistory::readFile(const QString &path)
{
    startImport({{path, {}}});
}

void FormHistory::readText(const QString &text)
{
    startImport({{{}, text}});
}

void FormHistory::cancelImport()
{
    m_import->cancel();
}

void FormHistory::startImport(std::vector<Source> sources)
{
    if (importing())
        return;
    for (QWidget *writer : std::as_const(m_writers))
        writer->setEnabled(false);
    m_report->setPlainText(u"読み込んでいます…"_s);
    // The worker opens a connection of its own: a connection belongs to the thread that opened
    // it, and the transaction lives and dies with the worker, so a Cancel is a rollback.
    m_import->start([&game = m_store.game(), path = m_database.path(),
                        sources = std::move(sources)](JobState &state) {
        auto outcome = std::make_shared<Outcome>();
        HistoryDatabase database(path);
        DrawStore store(database, game);
        for (std::size_t i = 0; i < sources.size() && !state.cancelled(); ++i) {
            Outcome::Read &read = outcome->reads.emplace_back();
            read.name = sources[i].path;
            const auto reject = [&read](const RejectedLine &line) {
                if (read.reasons.size() < shownReasons)
                    read.reasons.push_back(line);
            };
            const ImportProgress step = [&, i](double done) {
                return state.advance((double(i) + done) / double(sources.size()));
            };
            read.report = read.name.isEmpty()
                ? ImportText(store, sources[i].text, u"貼り付け"_s, reject, step)
                : ImportFile(store, read.name, reject, step);
        }
        StoreResult<std::vector<PastDraw>> draws = store.draws();
        outcome->draws = std::move(draws.value);
        outcome->drawsRead = draws.ok();
        return outcome;
    });
}

void FormHistory::importDone(Outcome &outcome)
{
    for (QWidget *writer : std::as_const(m_writers))
        writer->setEnabled(true);
    QStringList lines;
    for (const Outcome::Read &read : outcome.reads) {
        const QString file = QDir::toNativeSeparators(read.name);
        if (!read.report.stored() && !read.report.cancelled) {
            lines << (file.isEmpty()
                    ? u"当せん番号を登録できません：%1"_s.arg(read.report.failure)
                    : u"「%1」を読み込めません：%2"_s.arg(file, read.report.failure));
            continue;
        }
        lines << (outcome.reads.size() > 1 ? file + u"："_s : QString())
                + ImportCounts(read.report);
        for (const RejectedLine &line : read.reasons)
            lines << u"%1 行目：%2"_s.arg(Grouped(line.line), line.reason);
        if (read.report.rejected > qsizetype(read.reasons.size()))
            lines << u"ほか %1 行"_s.arg(
                Grouped(read.report.rejected - qsizetype(read.reasons.size())));
    }
    m_report->setPlainText(lines.join(u'\n'));
    m_report->setAccessibleDescription(m_report->toPlainText());
    if (outcome.drawsRead) {
        m_watch->seen();
        reload(std::move(outcome.draws));
    } else {
        m_watch->reload();
    }
    emit databaseChanged();
}

void FormHistory::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasUrls() && !importing())
        event->acceptProposedAction();
}

void FormHistory::dropEvent(QDropEvent *event)
{
    std::vector<Source> files;
    for (const QUrl &url : event->mimeData()->urls()) {
        if (url.isLocalFile())
            files.push_back({url.toLocalFile(), {}});
    }
    if (!files.empty())
        startImport(std::move(files));
}
