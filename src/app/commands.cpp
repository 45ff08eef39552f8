#include "commands.h"

#include "engine/figures.h"
#include "engine/uniformsource.h"
#include "history/exportresults.h"
#include "history/importfile.h"
#include "platform/console.h"
#include "platform/programlocations.h"
#include "settings/inifilesaveload.h"
#include "tickets/ticketdraw.h"
#include "update/resultsupdate.h"
#include "wheels/wheelmaker.h"

#include <QDir>
#include <QEventLoop>
#include <QRandomGenerator>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

// The database beside the settings, made if need be; none, with the fault told, when it cannot be
// used.
std::unique_ptr<HistoryDatabase> OpenDatabase()
{
    const ProgramLocations locations = ProgramLocations::detect();
    QDir().mkpath(locations.programDirectory);
    auto database = std::make_unique<HistoryDatabase>(locations.historyDatabase());
    if (const StoreFault &fault = database->fault()) {
        Console::Err(u"numerisphere: %1\n"_s.arg(fault.text));
        return nullptr;
    }
    return database;
}

} // namespace

// Reads each file into the database beside the settings: a line for each file on standard
// output, each rejected line on standard error, and the share done while a file is read when
// standard output is a terminal. 0 when every line was stored or already present, 1 when a file
// could not be read, held no draw, or a line was rejected (the good lines are stored). Without a
// game given, each file is its header's game's, and lines without a header the 6-of-43 game's.
int RunImport(const QStringList &files, const Game *game)
{
    const std::unique_ptr<HistoryDatabase> opened = OpenDatabase();
    if (!opened)
        return 1;
    HistoryDatabase &database = *opened;
    DrawStore store(database, game ? *game : Loto6());
    const bool terminal = Console::OutputIsTerminal();
    int status = 0;
    for (const QString &file : files) {
        store.setGame(game ? *game : Loto6());
        int shown = -1;
        const auto progress = [&](double done) {
            if (const int percent = int(done * 100); percent != shown) {
                shown = percent;
                Console::Out(u'\r' + file + u": "_s + QString::number(percent) + u'%');
            }
            return true;
        };
        const ImportReport report = ImportFile(
            store, file,
            [&](const RejectedLine &line) {
                Console::Err((shown >= 0 ? u"\r\033[K"_s : QString()) + file + u':'
                    + QString::number(line.line) + u": "_s + line.reason + u'\n');
                shown = -1;
            },
            terminal ? ImportProgress(progress) : nullptr,
            game ? ImportGame::Store : ImportGame::FromHeader);
        if (shown >= 0)
            Console::Out(u"\r\033[K"_s);
        Console::Out(ImportSummary(file, report) + u'\n');
        if (!report.stored() || report.rejected > 0)
            status = 1;
    }
    return status;
}

// Prints tickets drawn as the tickets window draws them, with the settings it would use; writes
// nothing. 2 for a list that is wrong, 1 when the tickets cannot be made.
int RunDraw(
    const Game &game, int count, const QString &fixedText, const QString &excludedText, int overlap)
{
    IniFileSaveLoad::SetIniPath(ProgramLocations::detect().settingsFile());
    const ActiveProfile active = ReadActiveProfile();
    const LevelSetting level = ReadLevelSetting();
    UniformSource random;
    random.reseedFromClock();
    const TypedTicketsMade answer = MakeTickets(game,
        {{active.levels, active.birthday, level.on, level.strength}, count, fixedText, excludedText,
            overlap, u"--fixed "_s, u"--exclude "_s},
        random);
    for (const QString &note : answer.notes)
        Console::Err(u"numerisphere: %1\n"_s.arg(note));
    if (const TicketRefusal &refusal = answer.made.refusal; !refusal.reason.isEmpty()) {
        Console::Err(u"numerisphere: %1\n"_s.arg(refusal.reason));
        return refusal.badList ? 2 : 1;
    }
    for (const Ticket &ticket : answer.made.tickets)
        Console::Out(DrawText(ticket) + u'\n');
    return 0;
}

// Prints a wheel over the chosen numbers: its tickets a line each, then what it costs, the
// guarantee as checked, the chance table and the expected winning tickets; writes nothing. 2 for
// a list that is wrong, 1 when the limit leaves the guarantee unmet.
int RunWheel(const CommandLine &line)
{
    const Game &game = line.game ? *line.game : Loto6();
    const ChosenNumbers chosen = ReadChosen(game, line.chosen, u"--wheel "_s);
    if (!chosen.refusal.isEmpty()) {
        Console::Err(u"numerisphere: --wheel の%1\n"_s.arg(chosen.refusal));
        return 2;
    }
    if (!chosen.note.isEmpty())
        Console::Err(u"numerisphere: %1\n"_s.arg(chosen.note));
    const std::vector<int> &numbers = chosen.numbers;
    const quint32 seed = line.seed.value_or(QRandomGenerator::global()->generate());
    const Wheel wheel = MakeWheel(game, numbers, line.guarantee,
        DesignFor(game, int(numbers.size()), line.guarantee, line.most, seed), seed);
    if (wheel.blocks.empty()) {
        Console::Err(
            u"numerisphere: %1 個の数字の「%2」のホイールがありません。\n"_s.arg(numbers.size())
                .arg(GuaranteeText(line.guarantee)));
        return 1;
    }
    for (const Ticket &ticket : wheel.tickets)
        Console::Out(DrawText(ticket) + u'\n');
    QString summary = u"\n%1\n%2：%3\n"_s.arg(
        CostText(wheel), GuaranteeText(line.guarantee), CoverageText(wheel));
    summary += ChanceHeaders().join(u" | "_s) + u'\n';
    for (const QStringList &row : ChanceTable(wheel))
        summary += row.join(u" | "_s) + u'\n';
    Console::Out(summary + ExpectedWinsText(wheel) + u'\n');
    if (wheel.coverage.holes == 0)
        return 0;
    Console::Err(u"numerisphere: %1 口では保証を満たせません。\n"_s.arg(
        Grouped(qint64(wheel.tickets.size()))));
    return 1;
}

// Writes the game's stored draws in its official layout, the bytes the window's export writes.
// 1 when nothing is stored or the file cannot be written, saying which.
int RunExport(const Game &game, const QString &path, bool codePage932)
{
    const ProgramLocations locations = ProgramLocations::detect();
    HistoryDatabase database(locations.historyDatabase());
    const StoreResult<std::vector<PastDraw>> draws = DrawStore(database, game).draws();
    if (!draws.ok() || draws.value.empty()) {
        Console::Err(u"numerisphere: %1\n"_s.arg(draws.ok()
                ? u"%1の当せん番号はまだ登録されていません。"_s.arg(game.name)
                : draws.fault.text));
        return 1;
    }
    if (const QString failure = WriteExport(path, DrawsCsv(game, draws.value),
            codePage932 ? ExportEncoding::CodePage932 : ExportEncoding::Utf8WithMark);
        !failure.isEmpty()) {
        Console::Err(u"numerisphere: %1\n"_s.arg(failure));
        return 1;
    }
    Console::Out(u"%1: %2の %3 回を書き出しました\n"_s.arg(
        path, game.name, Grouped(qint64(draws.value.size()))));
    return 0;
}

int RunUpdate(const Game *game)
{
    const std::unique_ptr<HistoryDatabase> opened = OpenDatabase();
    if (!opened)
        return 1;
    HistoryDatabase &database = *opened;
    const Sources sources = LoadSources(ProgramLocations::detect().sourcesFile());
    for (const QString &fault : sources.faults)
        Console::Err(u"numerisphere: %1\n"_s.arg(fault));
    const bool terminal = Console::OutputIsTerminal();
    ResultsUpdate update(database, sources);
    QEventLoop loop;
    int status = 0;
    QObject::connect(&update, &ResultsUpdate::progressed, &loop,
        [terminal](const QString &doing, int done, int total) {
            if (terminal)
                Console::Out(u"\r\033[K"_s + doing
                    + (total > 0 ? u"（%1/%2）"_s.arg(done).arg(total) : QString()));
        });
    QObject::connect(&update, &ResultsUpdate::gameChecked, &loop, [&](const GameUpdate &checked) {
        if (terminal)
            Console::Out(u"\r\033[K"_s);
        Console::Out(checked.summary() + u'\n');
        for (const QString &problem : checked.problems)
            Console::Err(u"numerisphere: %1\n"_s.arg(problem));
        for (const QString &grades : checked.grades)
            Console::Out(grades + u'\n');
        if (checked.failed)
            status = 1;
    });
    QObject::connect(&update, &ResultsUpdate::finished, &loop, &QEventLoop::quit);
    update.start(game ? std::vector<const Game *> {game} : Games());
    if (update.running())
        loop.exec();
    return status;
}
