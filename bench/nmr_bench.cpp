// Prints how fast the draw runs, how long reading the profile table takes on a large settings
// file, how long past results take to read, store, show and sort, and how long tickets take to
// make, how long wheels take to show, check and search, and what a check of the official results
// costs. It measures; it asserts nothing.

#include "common/httpserver.h"
#include "engine/chance.h"
#include "engine/draw.h"
#include "engine/profile.h"
#include "engine/uniformsource.h"
#include "history/formhistory.h"
#include "history/importfile.h"
#include "history/statistics.h"
#include "settings/inifilesaveload.h"
#include "tickets/formcheck.h"
#include "tickets/ticketdraw.h"
#include "update/drawfile.h"
#include "update/resultsupdate.h"
#include "wheels/coversearch.h"
#include "wheels/formwheel.h"
#include "wheels/wheelmaker.h"
#include "wheels/wheelsearch.h"
#include "wheels/wheeltable.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QTableView>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <atomic>
#include <ctime>
#include <limits>
#include <numeric>
#include <random>
#include <thread>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif

namespace {

constexpr qint64 measuringNs = 500'000'000;

void benchmarkDraws(QTextStream &out, const QString &label, const LevelString &levels)
{
    for (const int strength : {0, 5, 15}) {
        UniformSource random(12345);
        const DrawInput input {levels, QStringLiteral("11225"), true, strength};
        QElapsedTimer timer;
        timer.start();
        qint64 draws = 0;
        int checksum = 0;
        while (timer.nsecsElapsed() < measuringNs) {
            for (int i = 0; i < 1000; ++i)
                checksum += DrawNumbers(input, random).numbers[0];
            draws += 1000;
        }
        const double perSecond = static_cast<double>(draws) * 1e9 / timer.nsecsElapsed();
        out << QStringLiteral("draws/s  %1  strength %2: %3  (checksum %4)\n")
                   .arg(label)
                   .arg(strength, 2)
                   .arg(perSecond, 12, 'f', 0)
                   .arg(checksum);
    }
}

void benchmarkProfileRead(QTextStream &out)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("nmr.ini"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return;
    for (int i = 0; i < 10'000; ++i) {
        if (i % 100 == 0)
            file.write(QStringLiteral("[Other%1]\r\n").arg(i).toLatin1());
        file.write(QStringLiteral("Key%1=Some unrelated value %1\r\n").arg(i).toLatin1());
    }
    file.close();
    IniFileSaveLoad::SetIniPath(path);
    IniFileSaveLoad::WriteIniString(
        QStringLiteral("Probability"), QStringLiteral("PB"), QStringLiteral("3"));

    constexpr int rounds = 20;
    QElapsedTimer timer;
    timer.start();
    qint32 checksum = 0;
    for (int i = 0; i < rounds; ++i)
        checksum += ReadProfileTable().activeIndex;
    out << QStringLiteral("ReadProfileTable on 10,000 unrelated lines: %1 ms  (checksum %2)\n")
               .arg(static_cast<double>(timer.nsecsElapsed()) / 1e6 / rounds, 0, 'f', 2)
               .arg(checksum);
}

// Start-up's reads on 50 MB settings files of the worst kinds: bare line feeds, and one value of
// invalid two-byte pairs. Both should take about as long as 50 MB of ordinary lines.
void benchmarkPathological(QTextStream &out)
{
    constexpr qsizetype size = 50 << 20;
    const std::pair<const char *, QByteArray> files[] {
        {"ordinary lines", QByteArray("Key=Some value\r\n").repeated(size / 16)},
        {"bare line feeds", QByteArray(size, '\n')},
        {"invalid pairs", "[Setup]\r\nLogFile=" + QByteArray("\x85\x40").repeated(size / 2)},
    };
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("nmr.ini"));
    IniFileSaveLoad::SetIniPath(path);
    for (const auto &[label, content] : files) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
            return;
        file.close();
        QElapsedTimer timer;
        timer.start();
        const ActiveProfile active = ReadActiveProfile();
        const QString log = IniFileSaveLoad::ReadIniString(
            QStringLiteral("Setup"), QStringLiteral("LogFile"), QString());
        out << QStringLiteral("50 MB of %1: active profile and log name read in %2 ms  (%3)\n")
                   .arg(QString::fromLatin1(label))
                   .arg(static_cast<double>(timer.nsecsElapsed()) / 1e6, 0, 'f', 0)
                   .arg(active.levels.size() + log.size());
    }
#ifdef Q_OS_UNIX
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    out << QStringLiteral("peak memory: %1 MB\n").arg(usage.ru_maxrss / 1024);
#endif
}

// The time to compute all 43 chances of a draw: without a birthday, and with the birthdays
// whose bonus has the most outcomes (four birthday numbers at a high strength, on low levels
// and on many different ones); then the slowest of them.
void benchmarkChances(QTextStream &out)
{
    const std::pair<const char *, DrawInput> inputs[] {
        {"default levels, strength 5", {DefaultLevelString(), QStringLiteral("00000"), true, 5}},
        {"levels 0 to F, strength 15",
            {QStringLiteral("0123456789ABCDEF0123456789ABCDEF0123456789A"), QStringLiteral("00000"),
                true, 15}},
        {"birthday 12/25, strength 15", {DefaultLevelString(), QStringLiteral("11225"), true, 15}},
        {"levels 7, birthday 12/31, strength 15",
            {QString(NumberCount, u'7'), QStringLiteral("11231"), true, 15}},
        {"mixed levels, birthday 12/31, strength 15",
            {QStringLiteral("0B8B9004646075A57BEA4AAE96970828F93D1CB4910"), QStringLiteral("11231"),
                true, 15}},
    };
    double slowest = 0;
    for (const auto &[label, input] : inputs) {
        constexpr int rounds = 5;
        QElapsedTimer timer;
        timer.start();
        double sum = 0;
        for (int i = 0; i < rounds; ++i) {
            const auto chances = DrawChances(input);
            sum += std::accumulate(chances.begin(), chances.end(), 0.0);
        }
        const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6 / rounds;
        slowest = std::max(slowest, ms);
        out << QStringLiteral("chances of all 43 numbers, %1: %2 ms  (sum %3)\n")
                   .arg(QString::fromLatin1(label))
                   .arg(ms, 0, 'f', 2)
                   .arg(sum / rounds, 0, 'f', 9);
    }
    out << QStringLiteral("chances of all 43 numbers, slowest input: %1 ms\n")
               .arg(slowest, 0, 'f', 2);
}

// Reading past results: the official file of 2,100 draws, into a new database; 50 MB of junk
// lines, which are refused in time linear in their size; and with 10,000 draws stored, reading
// them all, then one period's statistics, the levels by a rule and their chances, as the
// history window does on every change.
// 300,000 rows read into a new database, with the process's peak memory after it; then the
// same read cancelled halfway, and the time from the Cancel to the database as it was.
void benchmarkLongImport(QTextStream &out)
{
#ifdef Q_OS_UNIX
    rusage before {};
    getrusage(RUSAGE_SELF, &before);
#endif
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("many.txt"));
    {
        QString text;
        for (int draw = 1; draw <= 300'000; ++draw)
            text += QStringLiteral("第%1回 2000/1/1 1 2 3 4 5 6 (7)\n").arg(draw);
        QFile written(file);
        if (!written.open(QIODevice::WriteOnly) || written.write(text.toUtf8()) < 0)
            return;
    }
    QElapsedTimer timer;
    timer.start();
    {
        QFile text(file);
        qsizetype draws = 0;
        if (text.open(QIODevice::ReadOnly))
            draws = qsizetype(ReadResults(Loto6(), DecodeResults(text.readAll()), {}).draws.size());
        out << QStringLiteral("reading 300,000 rows without storing them: %1 ms  (%2 draws)\n")
                   .arg(timer.restart())
                   .arg(draws);
    }
    {
        HistoryDatabase database(dir.filePath(QStringLiteral("first.sqlite")));
        DrawStore store(database, Loto6());
        const ImportReport report = ImportFile(store, file, [](const RejectedLine &) {});
        out << QStringLiteral("reading 300,000 rows into a new database: %1 ms  (%2 added)\n")
                   .arg(timer.elapsed())
                   .arg(report.added);
    }
#ifdef Q_OS_UNIX
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    out << QStringLiteral("peak memory: %1 MB before it, %2 MB after it\n")
               .arg(before.ru_maxrss / 1024)
               .arg(usage.ru_maxrss / 1024);
#endif

    {
        // The window reads them in the background: the longest its own thread was busy, as the
        // gap between ticks of a 10 ms timer, from the start to the report shown.
        FormHistory window(
            dir.filePath(QStringLiteral("window.sqlite")), Loto6(), QString(), true, 5);
        QElapsedTimer since;
        since.start();
        qint64 longest = 0;
        QTimer tick;
        QObject::connect(
            &tick, &QTimer::timeout, [&] { longest = std::max(longest, since.restart()); });
        tick.start(10);
        QElapsedTimer whole;
        whole.start();
        window.readFile(file);
        while (window.importing())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        QCoreApplication::processEvents();
        longest = std::max(longest, since.elapsed());
        out << QStringLiteral("the window reading them: %1 ms in all, its thread busy at most "
                              "%2 ms at a time\n")
                   .arg(whole.elapsed())
                   .arg(longest);
    }

    HistoryDatabase database(dir.filePath(QStringLiteral("second.sqlite")));
    DrawStore second(database, Loto6());
    second.store(
        ReadResults(Loto6(), QStringLiteral("第1回 1 2 3 4 5 6"), {}), QStringLiteral("bench"));
    std::atomic<bool> cancel = false;
    std::atomic<qint64> cancelledAt = 0;
    QElapsedTimer clock;
    clock.start();
    std::thread worker([&] {
        HistoryDatabase own(database.path());
        DrawStore store(own, Loto6());
        ImportFile(
            store, file, [](const RejectedLine &) {},
            [&](double done) {
                if (done >= 0.5 && !cancel.exchange(true))
                    cancelledAt = clock.nsecsElapsed();
                return !cancel;
            });
    });
    worker.join();
    const qint64 finished = clock.nsecsElapsed();
    out << QStringLiteral("cancelling it halfway: %1 ms from Cancel to the database as before  "
                          "(%2 draw stored)\n")
               .arg(double(finished - cancelledAt) / 1e6, 0, 'f', 1)
               .arg(second.draws().value.size());
}

void benchmarkPastResults(QTextStream &out)
{
    UniformSource random(2100);
    const auto sixAndBonus = [&] {
        std::array<bool, NumberCount + 1> drawn {};
        QStringList numbers;
        while (numbers.size() < 7) {
            const int number = 1 + int(random.next() * NumberCount);
            if (!std::exchange(drawn[std::size_t(number)], true))
                numbers << QString::number(number);
        }
        return numbers;
    };
    QString csv
        = QStringLiteral("開催回,日付,第1数字,第2数字,第3数字,第4数字,第5数字,第6数字,BONUS数字,"
                         "1等口数,2等口数,3等口数,4等口数,5等口数,1等賞金,2等賞金,3等賞金,"
                         "4等賞金,5等賞金,キャリーオーバー\r\n");
    for (int draw = 1; draw <= 2100; ++draw) {
        csv += QStringLiteral(
            "%1,%2,%3,2,2,262,12413,174452,45513600,40961900,375200,6900,1000,0\r\n")
                   .arg(draw)
                   .arg(QDate(2000, 10, 5).addDays(7 * draw).toString(QStringLiteral("yyyy/M/d")),
                       sixAndBonus().join(u','));
    }
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("results.csv"));
    QFile written(file);
    if (!written.open(QIODevice::WriteOnly) || written.write(csv.toUtf8()) < 0)
        return;
    written.close();
    auto took = [timer = QElapsedTimer()]() mutable {
        const double ms = timer.isValid() ? static_cast<double>(timer.nsecsElapsed()) / 1e6 : 0;
        timer.start();
        return QString::number(ms, 'f', 1);
    };
    took();
    HistoryDatabase database(dir.filePath(QStringLiteral("nmr-history.sqlite")));
    DrawStore store(database, Loto6());
    TicketStore tickets(database, Loto6());
    const ImportReport report = ImportFile(store, file, [](const RejectedLine &) {});
    out << QStringLiteral("reading 2,100 draws into a new database: %1 ms  (%2 added)\n")
               .arg(took())
               .arg(report.added);

    // 1,000 saved tickets, twenty at a time, for the last 21 stored draws and 29 to come; then
    // the check window opens with them all and checks them all against every stored draw.
    took();
    for (int save = 0; save < 50; ++save) {
        tickets.save({2080 + save},
            DrawTickets(
                {{DefaultLevelString(), QStringLiteral("00000"), true, 5}, 20, {}, {}, 5}, random)
                .tickets,
            TicketSource::Made);
    }
    out << QStringLiteral("saving 1,000 tickets in 50 transactions: %1 ms\n").arg(took());
    {
        FormCheck check(database.path(), Loto6());
        out << QStringLiteral("opening the check window with 1,000 tickets: %1 ms\n").arg(took());
        check.checkAll();
        out << QStringLiteral("checking 1,000 tickets against 2,100 draws: %1 ms\n").arg(took());
    }

    const QString junk = QString(QStringLiteral("x,y,z 1 2 3 \r\n")).repeated((50 << 20) / 14);
    qsizetype rejected = 0;
    took();
    ReadResults(Loto6(), junk, [&](const RejectedLine &) { ++rejected; });
    out << QStringLiteral("50 MB of junk lines refused in %1 ms  (%2 lines)\n")
               .arg(took())
               .arg(rejected);

    QString more;
    for (int draw = 2101; draw <= 10'000; ++draw)
        more += QStringLiteral("%1 %2\n").arg(draw).arg(sixAndBonus().join(u' '));
    store.store(ReadResults(Loto6(), more, [](const RejectedLine &) {}), QStringLiteral("bench"));
    took();
    const std::vector<PastDraw> stored = store.draws().value;
    out << QStringLiteral("reading 10,000 stored draws: %1 ms  (%2 draws)\n")
               .arg(took())
               .arg(stored.size());
    {
        took();
        FormHistory window(
            dir.filePath(QStringLiteral("nmr-history.sqlite")), Loto6(), QString(), true, 15);
        out << QStringLiteral("opening the history window with 10,000 draws: %1 ms\n").arg(took());
        for (const char *choice : {"period", "rule"}) {
            auto *list = window.findChild<QComboBox *>(QString::fromLatin1(choice));
            took();
            list->setCurrentIndex(list->currentIndex() == 0 ? 1 : 0);
            out << QStringLiteral("changing the history window's %1: %2 ms\n")
                       .arg(QString::fromLatin1(choice), took());
        }
        // Every column of both tables, each way; the slowest sort.
        for (const char *name : {"table", "draws"}) {
            auto *table = window.findChild<QTableView *>(QString::fromLatin1(name));
            double slowest = 0;
            for (int column = 0; column < table->model()->columnCount(); ++column) {
                for (const Qt::SortOrder order : {Qt::DescendingOrder, Qt::AscendingOrder}) {
                    took();
                    table->sortByColumn(column, order);
                    slowest = std::max(slowest, took().toDouble());
                }
            }
            out << QStringLiteral(
                "sorting the history window's %1 (%2 rows) by any column: at most "
                "%3 ms\n")
                       .arg(QString::fromLatin1(name))
                       .arg(table->model()->rowCount())
                       .arg(slowest, 0, 'f', 1);
        }
    }
    took();
    const auto levels = LevelsFromHistory(
        StatisticsOf(Loto6(), stored, LastDraws(stored, 0)), LevelRule::SeldomDrawnHigher)
                            .value_or(DefaultLevelString());
    const auto chances = DrawChances({levels, QStringLiteral("11231"), true, 15});
    out << QStringLiteral("statistics, levels and chances over 10,000 draws: %1 ms  (sum %2)\n")
               .arg(took())
               .arg(std::accumulate(chances.begin(), chances.end(), 0.0), 0, 'f', 6);
}

// Tickets at once: the mean and the slowest of 100 requests each, from different seeds. The
// refusals pass the counting and are given up only once every draw allowed has been tried.
void benchmarkTickets(QTextStream &out)
{
    const LevelString mixed = QStringLiteral("F0F0F0F0F0123456789ABCDEF0F0F0F0F0F0F08888F");
    const auto range = [](int first, int last) {
        std::vector<int> numbers(std::size_t(last - first + 1));
        std::iota(numbers.begin(), numbers.end(), first);
        return numbers;
    };
    const DrawInput plain {DefaultLevelString(), QStringLiteral("11231"), true, 5};
    const DrawInput strong {mixed, QStringLiteral("11231"), true, 15};
    const std::pair<const char *, TicketRequest> requests[] {
        {"20 tickets, limit 2, default levels, strength 5", {plain, 20, {}, {}, 2}},
        {"20 tickets, limit 2, mixed levels, strength 15", {strong, 20, {}, {}, 2}},
        {"20 tickets, limit 1, mixed levels, strength 15", {strong, 20, {}, {}, 1}},
        {"7 tickets, limit 0 (42 of 43 numbers)", {strong, 7, {}, {}, 0}},
        {"7 tickets, limit 0, 43 excluded", {strong, 7, {}, {43}, 0}},
        {"5 tickets, limit 0, 1 to 13 excluded", {strong, 5, {}, range(1, 13), 0}},
        {"6 tickets, limit 0, 1 to 7 excluded", {strong, 6, {}, range(1, 7), 0}},
        {"9 tickets, limit 2, 5 and 9 fixed, 1 to 4 excluded", {strong, 9, {5, 9}, range(1, 4), 2}},
        {"6 tickets, limit 0, default levels", {plain, 6, {}, {}, 0}},
        {"refused after trying every way: 5 tickets, limit 4, 8 numbers left",
            {strong, 5, {}, range(1, 35), 4}},
    };
    for (const auto &[label, request] : requests) {
        qint64 slowest = 0;
        qint64 total = 0;
        std::size_t made = 0;
        for (quint32 seed = 0; seed < 100; ++seed) {
            UniformSource random(seed);
            QElapsedTimer timer;
            timer.start();
            made += DrawTickets(request, random).tickets.size();
            slowest = std::max(slowest, timer.nsecsElapsed());
            total += timer.nsecsElapsed();
        }
        out << QStringLiteral("tickets  %1: mean %2 ms, slowest %3 ms  (%4 made)\n")
                   .arg(QString::fromLatin1(label))
                   .arg(double(total) / 100 / 1e6, 0, 'f', 2)
                   .arg(double(slowest) / 1e6, 0, 'f', 2)
                   .arg(made);
    }
}

// Wheels: the slowest shipped design to show (put onto the numbers and checked) and to check
// alone, over every cell; a search under a limit one below the shipped design, for a few cells;
// and the wheel window showing the largest design.
void benchmarkWheels(QTextStream &out)
{
    using namespace Qt::StringLiterals;
    for (const Game *game : Games()) {
        qint64 slowestShown = 0;
        qint64 slowestChecked = 0;
        QString shownCell;
        QString checkedCell;
        for (int v = FewestChosen(*game); v <= MostChosen; ++v) {
            std::vector<int> chosen(static_cast<std::size_t>(v));
            std::iota(chosen.begin(), chosen.end(), 1);
            for (const Guarantee guarantee : Guarantees(*game)) {
                const QString cell = u"%1, %2/%3"_s.arg(v).arg(guarantee.t).arg(guarantee.m);
                QElapsedTimer timer;
                timer.start();
                const Wheel wheel
                    = MakeWheel(*game, chosen, guarantee, ShippedWheel(*game, v, guarantee), 1);
                const qint64 shown = timer.nsecsElapsed();
                timer.restart();
                const qint64 holes
                    = WheelMatches(v, game->drawn, wheel.blocks).coverage(guarantee).holes;
                const qint64 checked = timer.nsecsElapsed() + holes;
                if (shown > slowestShown)
                    slowestShown = shown, shownCell = cell;
                if (checked > slowestChecked)
                    slowestChecked = checked, checkedCell = cell;
            }
        }
        out << u"wheels, %1: slowest shipped design shown in %2 ms (%3), slowest check %4 ms "
               u"(%5)\n"_s.arg(game->key)
                   .arg(double(slowestShown) / 1e6, 0, 'f', 1)
                   .arg(shownCell)
                   .arg(double(slowestChecked) / 1e6, 0, 'f', 1)
                   .arg(checkedCell);
    }
    for (const auto &[v, guarantee] : {std::pair(12, Guarantee {4, 4}),
             std::pair(12, Guarantee {5, 6}), std::pair(20, Guarantee {3, 6}),
             std::pair(20, Guarantee {4, 4}), std::pair(20, Guarantee {5, 5})}) {
        const auto shipped = int(ShippedWheel(Loto6(), v, guarantee).size());
        QElapsedTimer timer;
        timer.start();
        const std::vector<Block> found = DesignFor(Loto6(), v, guarantee, shipped - 1, 1);
        out << u"wheels: search for %1 numbers, %2/%3, at most %4 tickets: %5 ms, %6 holes\n"_s
                   .arg(v)
                   .arg(guarantee.t)
                   .arg(guarantee.m)
                   .arg(shipped - 1)
                   .arg(timer.elapsed())
                   .arg(WheelMatches(v, DrawnCount, found).coverage(guarantee).holes);
    }
    FormWheel window {QString(), Loto6(), QString()};
    window.findChild<QLineEdit *>(u"chosen"_s)
        ->setText(u"1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20"_s);
    window.findChild<QComboBox *>(u"guarantee"_s)
        ->setCurrentIndex(int(Guarantees(Loto6()).size()) - 1);
    QElapsedTimer timer;
    timer.start();
    window.make();
    out << u"wheels: the window showing 20 numbers at 6/6 (38,760 tickets): %1 ms\n"_s.arg(
        timer.elapsed());
}

// The searches from a shipped design, 3 s each: how many of their steps run in a second. The
// cover search without symmetry (a step takes a ticket out and puts one in) on a small design and
// on the largest one searched, and the annealing held at one temperature (a step moves one number
// of a ticket) on the designs it is run on the longest.
void benchmarkWheelSearches(QTextStream &out)
{
    using namespace Qt::StringLiterals;
    using Cell = std::tuple<const Game *, int, Guarantee>;
    // A search that asks whether to carry on once every so many steps.
    const auto rate = [&](const QString &search, const Cell &cell, qint64 every, const auto &run) {
        const auto &[game, v, guarantee] = cell;
        const std::vector<Block> shipped = ShippedWheel(*game, v, guarantee);
        qint64 asked = 0;
        QElapsedTimer timer;
        timer.start();
        run(shipped, [&] {
            ++asked;
            return timer.elapsed() < 3000;
        });
        out << u"wheels: %1, %2 %3 numbers %4/%5 from %6 tickets: %7 steps a second\n"_s.arg(search)
                   .arg(game->key)
                   .arg(v)
                   .arg(guarantee.t)
                   .arg(guarantee.m)
                   .arg(shipped.size())
                   .arg(double(asked * every) / (double(timer.elapsed()) / 1000), 0, 'f', 0);
    };
    for (const Cell &cell :
        {Cell(&MiniLoto(), 15, {3, 3}), Cell(&Loto6(), 15, {5, 5}), Cell(&Loto7(), 19, {6, 6})}) {
        const auto &[game, v, guarantee] = cell;
        rate(u"cover search"_s, cell, 256, [&](const std::vector<Block> &shipped, const auto &on) {
            SearchCover({v, game->drawn, guarantee, 1, shipped}, SearchGroups(v, 1).front(),
                [&](int) { return on(); });
        });
    }
    for (const Cell &cell :
        {Cell(&MiniLoto(), 14, {4, 4}), Cell(&Loto6(), 15, {5, 5}), Cell(&Loto7(), 19, {6, 6})}) {
        const auto &[game, v, guarantee] = cell;
        rate(u"annealing at 0.25"_s, cell, 4096,
            [&](const std::vector<Block> &shipped, const auto &on) {
                SearchWheel({v, guarantee, std::nullopt, 1, shipped,
                                std::numeric_limits<qint64>::max(), game->drawn, 0.25},
                    [&](const WheelSearchProgress &) { return on(); });
            });
    }
}

// The sister games: 700 Loto 7 draws (the length of the real history) read into a new
// database, and each game's statistics over each period of its stored draws.
void benchmarkGames(QTextStream &out)
{
    using namespace Qt::StringLiterals;
    QTemporaryDir dir;
    for (const Game *game : Games()) {
        QRandomGenerator random(1);
        QString text = OfficialHeader(*game).join(u',') + u"\n"_s;
        const int count = game == &MiniLoto() ? 1350 : game == &Loto7() ? 700 : 2100;
        for (int number = 1; number <= count; ++number) {
            std::vector<int> all(std::size_t(game->numbers));
            std::iota(all.begin(), all.end(), 1);
            std::shuffle(all.begin(), all.end(), random);
            QStringList fields {QString::number(number), u"2013/4/5"_s};
            for (int i = 0; i < game->drawn + game->bonuses; ++i)
                fields << QString::number(all[std::size_t(i)]);
            while (fields.size() < OfficialHeader(*game).size())
                fields << QString::number(random.bounded(1'000'000));
            text += fields.join(u',') + u'\n';
        }
        HistoryDatabase database(dir.filePath(game->key + u".sqlite"_s));
        DrawStore store(database, *game);
        QElapsedTimer timer;
        timer.start();
        const ImportReport report
            = ImportText(store, text, u"bench"_s, [](const RejectedLine &) {});
        out << u"%1: reading %2 draws into a new database: %3 ms  (%4 added)\n"_s.arg(game->key)
                   .arg(count)
                   .arg(timer.elapsed())
                   .arg(report.added);
        const std::vector<PastDraw> draws = store.draws().value;
        qint64 slowest = 0;
        qint64 checksum = 0;
        for (const int period : {50, 100, 200, count}) {
            timer.restart();
            const PeriodStatistics figures = StatisticsOf(*game, draws, LastDraws(draws, period));
            slowest = std::max(slowest, timer.nsecsElapsed());
            checksum += figures.draws;
        }
        out << u"%1: statistics of a period, slowest of the last 50, 100, 200 and all: %2 ms  "
               u"(%3 draws counted)\n"_s.arg(game->key)
                   .arg(double(slowest) / 1e6, 0, 'f', 2)
                   .arg(checksum);
    }
}

// Reading the per-draw files, and a check with nothing new against a server of its own on
// 127.0.0.1: its requests, and the time it takes from start to report, of which the program's
// own is the CPU time (the server, in the same process, answers at once).
void benchmarkUpdate(QTextStream &out)
{
    using namespace Qt::StringLiterals;
    QFile sample(QStringLiteral(NMR_TEST_DATA "/update/A1022124.CSV"));
    sample.open(QIODevice::ReadOnly);
    const QByteArray file = sample.readAll();
    QElapsedTimer timer;
    timer.start();
    int read = 0;
    for (int i = 0; i < 1000; ++i)
        read += ReadDrawFile(Loto6(), 2124, file).draw ? 1 : 0;
    out << u"reading 1,000 per-draw files: %1 ms  (%2 read)\n"_s
               .arg(double(timer.nsecsElapsed()) / 1e6, 0, 'f', 1)
               .arg(read);

    HttpServer server;
    server.answer("/index.txt", {200, "A1022124.CSV", {{"ETag", "\"1\""}}});
    server.answer("/A1022124.CSV", {200, file});
    const QString address = server.url({}).toString();
    const Sources sources = ReadSources(ShippedSources(),
        u"[loto6]\nIndex=%1/index.txt\nDraw=%1/A102{draw:4}.CSV\nFirstDraw=2124\n"_s.arg(address)
            .toUtf8(),
        u"bench"_s);
    QTemporaryDir dir;
    HistoryDatabase database(dir.filePath(u"update.sqlite"_s));
    const auto check = [&] {
        ResultsUpdate update(database, sources, {0, 30'000, {1000, 4000}, 120});
        QEventLoop loop;
        QObject::connect(&update, &ResultsUpdate::finished, &loop, &QEventLoop::quit);
        update.start({&Loto6()});
        if (update.running())
            loop.exec();
        return update.requestsSent();
    };
    check();
    server.answer("/index.txt", {304, {}});
    server.requests.clear();
    qint64 slowest = 0;
    double slowestCpu = 0;
    int requests = 0;
    for (int i = 0; i < 20; ++i) {
        const std::clock_t cpu = std::clock();
        timer.restart();
        requests = std::max(requests, check());
        slowest = std::max(slowest, timer.nsecsElapsed());
        slowestCpu = std::max(slowestCpu, double(std::clock() - cpu) * 1000.0 / CLOCKS_PER_SEC);
    }
    out << u"a check with nothing new, slowest of 20: %1 ms, %2 ms of CPU time  (%3 request(s) "
           u"each, %4 in all, answered %5)\n"_s.arg(double(slowest) / 1e6, 0, 'f', 1)
               .arg(slowestCpu, 0, 'f', 1)
               .arg(requests)
               .arg(server.requests.size())
               .arg(server.requests.empty() ? QString()
                                            : QString::fromLatin1(server.requests.front().path));
}

} // namespace

int main(int argc, char *argv[])
{
    // The history window is measured without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTextStream out(stdout);
    benchmarkDraws(out, QStringLiteral("default levels"), DefaultLevelString());
    benchmarkDraws(out, QStringLiteral("every level 0 "), LevelString(NumberCount, u'0'));
    benchmarkChances(out);
    benchmarkTickets(out);
    benchmarkWheels(out);
    benchmarkWheelSearches(out);
    benchmarkGames(out);
    benchmarkUpdate(out);
    benchmarkLongImport(out);
    benchmarkPastResults(out);
    benchmarkProfileRead(out);
    benchmarkPathological(out);
    return 0;
}
