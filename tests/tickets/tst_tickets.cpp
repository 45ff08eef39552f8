#include "common/cases.h"
#include "common/history.h"
#include "engine/chance.h"
#include "engine/uniformsource.h"
#include "tickets/gradesmodel.h"
#include "tickets/savedticketsmodel.h"
#include "tickets/ticketcheck.h"
#include "tickets/ticketrules.h"
#include "tickets/ticketsmodel.h"

#include <QAbstractItemModelTester>
#include <QSortFilterProxyModel>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <numeric>

using namespace Qt::StringLiterals;

namespace {

// The numbers in a text, as they stand, none checked; "7-43" stands for 7 to 43.
std::vector<int> numbers(const QString &text)
{
    std::vector<int> list;
    for (const QString &item : text.split(u' ', Qt::SkipEmptyParts)) {
        const QStringList ends = item.split(u'-');
        for (int number = ends.front().toInt(); number <= ends.back().toInt(); ++number)
            list.push_back(number);
    }
    return list;
}

// "count | fixed | excluded | limit", drawn with the given levels.
TicketRequest requestOf(const QString &text, const DrawInput &draw)
{
    const QStringList parts = text.split(u'|');
    return {draw, parts[0].toInt(), numbers(parts[1]), numbers(parts[2]), parts[3].toInt()};
}

PastDraw drawOf(
    int number, const Ticket &numbers, int bonus, GradeFigures prizes = {-1, -1, -1, -1, -1, -1})
{
    PastDraw draw;
    draw.number = number;
    draw.numbers = numbers;
    if (bonus != 0)
        draw.bonuses.push_back(bonus);
    draw.prizes = prizes;
    return draw;
}

const LevelString mixedLevels = u"F0F0F0F0F0123456789ABCDEF0F0F0F0F0F0F08888F"_s;

} // namespace

class tst_Tickets : public QObject
{
    Q_OBJECT

private slots:
    void numberLists_data();
    void numberLists();
    void refusals_data();
    void refusals();
    void mostTickets_data();
    void mostTickets();
    void drawing_data();
    void drawing();
    void plainDrawUnchanged();
    void stepByStep();
    void pickOdds();
    void directPicks();
    void weighting();
    void grading_data();
    void grading();
    void randomTicketChances_data();
    void randomTicketChances();
    void sisterGames_data();
    void sisterGames();
    void sisterGamesDrawAlike();
    void summary();
    void enteredTickets_data();
    void enteredTickets();
    void savedTickets();
    void letters();
    void sortedTables_data();
    void sortedTables();
};

void tst_Tickets::numberLists_data()
{
    AddCaseRows(u"number-lists.txt"_s, {"text", "read", "note"});
}

void tst_Tickets::numberLists()
{
    QFETCH(QString, text);
    const NumberList list = ParseNumberList(Loto6(), text);
    QStringList read;
    for (const int number : list.numbers)
        read << QString::number(number);
    QTEST(list.fault.isEmpty() ? read.join(u' ') : list.fault, "read");
    QTEST(RepeatedNote(u"軸数字"_s, list), "note");
}

void tst_Tickets::refusals_data()
{
    AddCaseRows(u"refusals.txt"_s, {"request", "reason", "badList"});
}

void tst_Tickets::refusals()
{
    QFETCH(QString, request);
    UniformSource random(7);
    const TicketsMade made = DrawTickets(requestOf(request, {mixedLevels, {}, false, 0}), random);
    QFETCH(QString, badList);
    QTEST(made.refusal.reason, "reason");
    QCOMPARE(made.refusal.badList, badList == u"bad list"_s);
    if (made.refusal.reason.isEmpty())
        QCOMPARE(BrokenRule(requestOf(request, {}), made.tickets), QString());
    else
        QCOMPARE(made.tickets.size(), std::size_t(0));
}

void tst_Tickets::mostTickets_data()
{
    QTest::addColumn<int>("pool");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("shared");
    QTest::addColumn<qint64>("most");
    QTest::newRow("any distinct ticket") << 43 << 6 << 5 << qint64(6'096'454);
    QTest::newRow("none shared") << 43 << 6 << 0 << qint64(7);
    QTest::newRow("one shared") << 43 << 6 << 1 << qint64(57);
    QTest::newRow("two shared") << 43 << 6 << 2 << qint64(602);
    QTest::newRow("fewer than needed") << 5 << 6 << 5 << qint64(0);
    QTest::newRow("all fixed") << 37 << 0 << 0 << qint64(1);
    QTest::newRow("fixed beyond the limit") << 40 << 3 << -1 << qint64(1);
}

void tst_Tickets::mostTickets()
{
    QFETCH(int, pool);
    QFETCH(int, size);
    QFETCH(int, shared);
    QTEST(MostTickets(pool, size, shared), "most");
}

void tst_Tickets::drawing_data()
{
    QTest::addColumn<QString>("request"); // count | fixed | excluded | limit
    QTest::addColumn<bool>("levelsOn"); // mixed levels at strength 15, or the switch off
    QTest::newRow("five, nothing fixed") << u"5 | | | 5"_s << true;
    QTest::newRow("twenty, limit 2") << u"20 | | | 2"_s << true;
    QTest::newRow("twenty, limit 1, levels off") << u"20 | | | 1"_s << false;
    QTest::newRow("fixed and excluded, limit 3") << u"12 | 43 1 | 2-5 15 | 3"_s << true;
    QTest::newRow("five fixed, the rest distinct") << u"20 | 10 20 30 40 43 | 1 | 5"_s << true;
    QTest::newRow("seven left: all seven tickets") << u"7 | | 8-43 | 5"_s << false;
    // Requests that drawing whole tickets and throwing away those that broke the limit refused.
    QTest::newRow("7, limit 0: 42 of 43 numbers") << u"7 | | | 0"_s << true;
    QTest::newRow("7, limit 0, 43 excluded: all 42") << u"7 | | 43 | 0"_s << true;
    QTest::newRow("5, limit 0, 1 to 13 excluded: all 30") << u"5 | | 1-13 | 0"_s << true;
    QTest::newRow("6, limit 0, 1 to 7 excluded: all 36") << u"6 | | 1-7 | 0"_s << true;
    QTest::newRow("9, limit 2, 5 and 9 fixed, 1 to 4 excluded") << u"9 | 5 9 | 1-4 | 2"_s << true;
    QTest::newRow("6, limit 0") << u"6 | | | 0"_s << true;
    QTest::newRow("20, limit 1") << u"20 | | | 1"_s << true;
}

void tst_Tickets::drawing()
{
    QFETCH(QString, request);
    QFETCH(bool, levelsOn);
    const TicketRequest asked = requestOf(request, {mixedLevels, u"10512"_s, levelsOn, 15});
    for (quint32 seed = 0; seed < 50; ++seed) {
        UniformSource random(seed);
        const TicketsMade made = DrawTickets(asked, random);
        QCOMPARE(made.refusal.reason, QString());
        QCOMPARE(BrokenRule(asked, made.tickets), QString());
    }
}

void tst_Tickets::plainDrawUnchanged()
{
    // With nothing fixed or excluded, one ticket is the main window's draw, pick for pick.
    for (const DrawInput &input : {DrawInput {mixedLevels, u"11231"_s, true, 15},
             DrawInput {mixedLevels, u"00000"_s, false, 3},
             DrawInput {DefaultLevelString(), u"10101"_s, true, 0}}) {
        for (quint32 seed = 0; seed < 200; ++seed) {
            UniformSource one(seed);
            UniformSource other(seed);
            QCOMPARE(DrawTickets({input, 1, {}, {}, 5}, one).tickets.front(),
                Ticket(DrawNumbers(input, other).numbers));
        }
    }
}

void tst_Tickets::stepByStep()
{
    // Each pick is the plain draw's among the numbers still open: with a limit of 0, the second
    // ticket is the plain draw that makes a pick landing on the first ticket again, pick for pick.
    const TicketRequest asked {{mixedLevels, u"11231"_s, true, 15}, 2, {7}, {1, 2}, 1};
    for (quint32 seed = 0; seed < 200; ++seed) {
        UniformSource random(seed);
        const TicketsMade made = DrawTickets(asked, random);
        UniformSource plain(seed);
        const NumberSet fixed = NumberSet().set(7);
        NumberSet excluded = NumberSet().set(1).set(2);
        const Ticket first(DrawSix(asked.draw, plain, fixed, excluded));
        for (const int number : first)
            excluded.set(std::size_t(number));
        excluded.reset(7);
        QCOMPARE(made.tickets,
            (std::vector<Ticket> {first, Ticket(DrawSix(asked.draw, plain, fixed, excluded))}));
    }
}

void tst_Tickets::pickOdds()
{
    // A pick taken from its odds directly has the plain pick's odds: PickChances against 200,000
    // picks made as the plain draw makes them, with 1 to 30 taken, for mixed levels at strength
    // 15 with a birthday, and with the levels off; each open number within five standard
    // deviations, and two picks besides for the numbers of level 0, picked once in a hundred
    // thousand.
    for (const DrawInput &input :
        {DrawInput {mixedLevels, u"11231"_s, true, 15}, DrawInput {mixedLevels, {}, false, 0}}) {
        UniformSource random(99);
        const LevelString working = WithBirthdayBonus(input, random);
        NumberSet taken;
        for (int number = 1; number <= 30; ++number)
            taken.set(std::size_t(number));
        const auto chances = PickChances(input, working);
        QVERIFY(std::abs(std::accumulate(chances.begin(), chances.end(), 0.0) - 1) < 1e-12);
        const double open = std::accumulate(chances.begin() + 30, chances.end(), 0.0);
        constexpr int picks = 200'000;
        std::array<int, NumberCount + 1> counts {};
        for (int i = 0; i < picks; ++i)
            ++counts[std::size_t(PickNumber(input, working, random, taken))];
        for (int number = 1; number <= NumberCount; ++number) {
            const double p = number <= 30 ? 0 : chances[std::size_t(number - 1)] / open;
            QVERIFY2(std::abs(counts[std::size_t(number)] - picks * p)
                    <= 5 * std::sqrt(picks * p * (1 - p)) + 2,
                qPrintable(
                    u"%1: %2 of %3"_s.arg(number).arg(counts[std::size_t(number)]).arg(picks * p)));
        }
    }
}

void tst_Tickets::directPicks()
{
    // Seven numbers left, 10 to 16, so unlikely together that each pick is taken from its odds
    // directly: with the levels off they are even, and each is the one left out of a ticket
    // once in seven, within five standard deviations.
    std::vector<int> excluded;
    for (int number = 1; number <= NumberCount; ++number) {
        if (number < 10 || number > 16)
            excluded.push_back(number);
    }
    const TicketRequest asked {{mixedLevels, {}, false, 0}, 1, {}, excluded, 5};
    constexpr int tickets = 7'000;
    std::array<int, NumberCount + 1> leftOut {};
    UniformSource random(16);
    for (int i = 0; i < tickets; ++i) {
        const Ticket ticket = DrawTickets(asked, random).tickets.at(0);
        for (int number = 10; number <= 16; ++number)
            leftOut[std::size_t(number)] += std::count(ticket.begin(), ticket.end(), number) == 0;
    }
    for (int number = 10; number <= 16; ++number) {
        QVERIFY2(std::abs(leftOut[std::size_t(number)] - tickets / 7.0)
                <= 5 * std::sqrt(tickets / 7.0 * 6 / 7),
            qPrintable(u"%1: %2"_s.arg(number).arg(leftOut[std::size_t(number)])));
    }
}

void tst_Tickets::weighting()
{
    // Fixed and excluded numbers leave the others as weighted as before: with the levels off and
    // 1 and 43, the numbers picked half as often, excluded, the rest are even. With 20 fixed,
    // each of the other 40 comes up 5 times in 40, within five standard deviations. (With
    // nothing fixed, a ticket is the plain draw, whose chances the engine's tests check.)
    constexpr int tickets = 40'000;
    std::array<int, NumberCount + 1> even {};
    UniformSource random(2026);
    for (int i = 0; i < tickets; ++i) {
        for (const int number : DrawSix({mixedLevels, {}, false, 0}, random, NumberSet().set(20),
                 NumberSet().set(1).set(43)))
            ++even[std::size_t(number)];
    }
    for (int number = 1; number <= NumberCount; ++number) {
        const double q = number == 20 ? 1 : number == 1 || number == 43 ? 0 : 5.0 / 40;
        QVERIFY2(std::abs(even[std::size_t(number)] - tickets * q)
                <= 5 * std::sqrt(tickets * q * (1 - q)),
            qPrintable(QString::number(number)));
    }
}

void tst_Tickets::grading_data()
{
    QTest::addColumn<Ticket>("ticket");
    QTest::addColumn<int>("bonus");
    QTest::addColumn<int>("matches");
    QTest::addColumn<int>("grade");
    // Against the draw 03 11 19 27 38 42.
    QTest::newRow("six") << Ticket {3, 11, 19, 27, 38, 42} << 7 << 6 << 1;
    QTest::newRow("five and the bonus") << Ticket {3, 7, 11, 19, 27, 38} << 7 << 5 << 2;
    QTest::newRow("five") << Ticket {3, 8, 11, 19, 27, 38} << 7 << 5 << 3;
    QTest::newRow("five, no bonus stored") << Ticket {3, 7, 11, 19, 27, 38} << 0 << 5 << 3;
    QTest::newRow("four and the bonus") << Ticket {3, 7, 11, 19, 27, 40} << 7 << 4 << 4;
    QTest::newRow("three and the bonus") << Ticket {3, 7, 11, 19, 28, 40} << 7 << 3 << 5;
    QTest::newRow("two and the bonus") << Ticket {3, 7, 11, 20, 28, 40} << 7 << 2 << 0;
    QTest::newRow("none") << Ticket {1, 2, 4, 5, 6, 8} << 7 << 0 << 0;
}

void tst_Tickets::grading()
{
    QFETCH(Ticket, ticket);
    QFETCH(int, bonus);
    const Grading grading = GradeOf(Loto6(), ticket, drawOf(1, {3, 11, 19, 27, 38, 42}, bonus));
    QTEST(grading.matches, "matches");
    QTEST(grading.grade, "grade");
}

void tst_Tickets::randomTicketChances_data()
{
    // Each game's draw and bonus numbers; every ticket's count by grade with them known and
    // without (the published figures), the least grade of each match, the chance of a number.
    QTest::addColumn<QString>("game");
    QTest::addColumn<Numbers>("drawn");
    QTest::addColumn<Numbers>("bonuses");
    QTest::addColumn<qint64>("all");
    QTest::addColumn<std::vector<qint64>>("withBonus");
    QTest::addColumn<std::vector<qint64>>("withoutBonus");
    QTest::addColumn<QString>("least");
    QTest::addColumn<QString>("chance");
    QTest::newRow("loto6") << u"loto6"_s << Numbers {3, 11, 19, 27, 38, 42} << Numbers {7}
                           << qint64(6'096'454) << std::vector<qint64> {1, 6, 216, 9'990, 155'400}
                           << std::vector<qint64> {1, 0, 222, 9'990, 155'400}
                           << u"— — — 5等 4等 3等 1等"_s << u"6/43（約 14.0%）"_s;
    QTest::newRow("loto7") << u"loto7"_s << Numbers {2, 9, 14, 21, 28, 33, 37} << Numbers {34, 12}
                           << qint64(10'295'472)
                           << std::vector<qint64> {1, 14, 196, 9'135, 142'100, 242'550}
                           << std::vector<qint64> {1, 0, 210, 9'135, 142'100, 0}
                           << u"— — — — 5等 4等 3等 1等"_s << u"7/37（約 18.9%）"_s;
    QTest::newRow("miniloto") << u"miniloto"_s << Numbers {1, 8, 17, 25, 31} << Numbers {4}
                              << qint64(169'911) << std::vector<qint64> {1, 5, 125, 3'250}
                              << std::vector<qint64> {1, 0, 130, 3'250} << u"— — — 4等 3等 1等"_s
                              << u"5/31（約 16.1%）"_s;
}

void tst_Tickets::randomTicketChances()
{
    // Every ticket of the game graded against one draw, with its bonus numbers and without: the
    // counts the grade table gives by counting, and the figures published for the game.
    QFETCH(QString, game);
    QFETCH(Numbers, drawn);
    QFETCH(Numbers, bonuses);
    QFETCH(qint64, all);
    QFETCH(std::vector<qint64>, withBonus);
    QFETCH(std::vector<qint64>, withoutBonus);
    QFETCH(QString, least);
    QFETCH(QString, chance);
    const Game &rules = *FindGame(game);
    PastDraw draw = drawOf(1, drawn, 0);
    const PastDraw noBonus = draw;
    draw.bonuses = bonuses;
    std::vector<qint64> counted(std::size_t(rules.gradeCount()) + 1);
    std::vector<qint64> countedWithout(counted.size());
    qint64 tickets = 0;
    std::vector<bool> chosen(std::size_t(rules.numbers));
    std::fill(chosen.end() - rules.drawn, chosen.end(), true);
    do {
        Ticket t;
        for (int number = 1; number <= rules.numbers; ++number)
            if (chosen[std::size_t(number - 1)])
                t.push_back(number);
        ++counted[std::size_t(GradeOf(rules, t, draw).grade)], ++tickets;
        ++countedWithout[std::size_t(GradeOf(rules, t, noBonus).grade)];
    } while (std::next_permutation(chosen.begin(), chosen.end()));
    QCOMPARE(tickets, rules.combinations());
    QCOMPARE(tickets, all);
    counted.erase(counted.begin());
    countedWithout.erase(countedWithout.begin());
    QCOMPARE(counted, rules.gradeCombinations(true));
    QCOMPARE(counted, withBonus);
    QCOMPARE(countedWithout, rules.gradeCombinations(false));
    QCOMPARE(countedWithout, withoutBonus);
    const std::vector<double> chances = rules.gradeChances();
    for (std::size_t grade = 0; grade < chances.size(); ++grade)
        QCOMPARE(chances[grade] * double(all), double(counted[grade]));
    QCOMPARE(rules.winningChance(),
        double(std::accumulate(withBonus.begin(), withBonus.end(), qint64(0))) / double(all));
    // The least grade of a match, whatever the bonus numbers.
    QStringList grades;
    for (int matches = 0; matches <= rules.drawn; ++matches)
        grades << GradeText(rules.leastGradeOf(matches));
    QCOMPARE(grades.join(u' '), least);
    QVERIFY(SameChanceText(rules).endsWith(u"毎回同じ %1の確率です。"_s.arg(chance)));
}

void tst_Tickets::sisterGames_data()
{
    AddCaseRows(
        u"sister-games.txt"_s, {"game", "count", "fixed", "excluded", "overlap", "refused"});
}

void tst_Tickets::sisterGames()
{
    QFETCH(QString, game);
    QFETCH(QString, count);
    QFETCH(QString, fixed);
    QFETCH(QString, excluded);
    QFETCH(QString, overlap);
    QFETCH(QString, refused);
    const Game &rules = *FindGame(game);
    UniformSource random(5);
    const TypedTicketsMade answer = MakeTickets(rules,
        {{}, count.toInt(), fixed, excluded, overlap.toInt(), u"軸数字"_s, u"除外数字"_s}, random);
    QCOMPARE(answer.made.refusal.reason, refused);
    if (!refused.isEmpty())
        return;
    const std::vector<int> held = ParseNumberList(rules, fixed).numbers;
    const std::vector<int> kept = ParseNumberList(rules, excluded).numbers;
    QCOMPARE(int(answer.made.tickets.size()), count.toInt());
    for (std::size_t i = 0; i < answer.made.tickets.size(); ++i) {
        const Ticket &ticket = answer.made.tickets[i];
        QCOMPARE(ticket.size(), rules.drawn);
        QVERIFY(std::is_sorted(ticket.begin(), ticket.end())
            && std::adjacent_find(ticket.begin(), ticket.end()) == ticket.end());
        QVERIFY(ticket.front() >= 1 && ticket.back() <= rules.numbers);
        QVERIFY(std::all_of(held.begin(), held.end(), [&](int n) { return ticket.contains(n); }));
        QVERIFY(std::none_of(kept.begin(), kept.end(), [&](int n) { return ticket.contains(n); }));
        for (std::size_t j = 0; j < i; ++j) {
            const Ticket &other = answer.made.tickets[j];
            QVERIFY(std::count_if(ticket.begin(), ticket.end(), [&](int n) {
                return other.contains(n);
            }) <= overlap.toInt());
        }
    }
}

void tst_Tickets::sisterGamesDrawAlike()
{
    // Every open number of a sister game as likely, whatever the levels: 37 or 31 numbers each
    // near its share over many tickets, the highest among them.
    for (const Game *game : {&Loto7(), &MiniLoto()}) {
        std::vector<int> seen(std::size_t(game->numbers) + 1);
        UniformSource random(11);
        // Levels that would all but keep the main window's draw to 1 to 6.
        const DrawInput levels {u"FFFFFF"_s + QString(NumberCount - 6, u'0'), {}, true, 15};
        constexpr int rounds = 3000;
        for (int round = 0; round < rounds; ++round) {
            const TicketsMade made = DrawTickets({levels, 1, {}, {}, 0, game}, random);
            QCOMPARE(made.tickets.size(), std::size_t(1));
            for (const int number : made.tickets.front())
                ++seen[std::size_t(number)];
        }
        const double share = double(rounds) * game->drawn / game->numbers;
        QCOMPARE(seen[0], 0);
        for (int number = 1; number <= game->numbers; ++number)
            QVERIFY2(std::abs(seen[std::size_t(number)] - share) < 5 * std::sqrt(share),
                qPrintable(u"%1: %2"_s.arg(number).arg(seen[std::size_t(number)])));
    }
}

void tst_Tickets::summary()
{
    // Draws 100 and 102 stored, 101 missing between them: a ticket for 101 is not yet drawn,
    // never graded against 102. A first prize nobody won has no amount and adds nothing.
    const std::vector<PastDraw> draws {drawOf(100, {1, 2, 3, 4, 5, 6}, 7, {0, 1000, 100, 10, 1}),
        drawOf(102, {1, 2, 3, 4, 5, 6}, 7, {500, 1000, 100, 10, 1})};
    std::vector<PastDraw> stored = draws;
    stored[0].winners = {0, 1, 1, 1, 1, -1};
    stored[1].winners = {1, 1, 1, 1, 1, -1};
    const std::vector<SavedTicket> tickets {{1, 100, 0, {1, 2, 3, 4, 5, 6}},
        {2, 100, 1, {1, 2, 3, 4, 5, 8}}, {3, 101, 0, {1, 2, 3, 4, 5, 6}},
        {4, 102, 0, {1, 2, 3, 4, 5, 6}}, {5, 103, 0, {1, 2, 3, 4, 5, 6}}};
    const TicketSummary summary = Summarise(Loto6(), tickets, stored);
    QCOMPARE(std::tuple(summary.tickets, summary.spent, summary.won, summary.noWinner,
                 summary.unsettled, summary.undrawn),
        std::tuple(5, qint64(1000), qint64(100 + 500), 1, 0, 2));
    QCOMPARE(PrizeOf(GradeOf(Loto6(), {1, 2, 3, 4, 5, 6}, stored[0]), stored[0]), NoWinnerPrize);
    QCOMPARE(PrizeOf(GradeOf(Loto6(), {1, 2, 3, 4, 5, 6}, draws[0]), draws[0]), qint64(0));
    QCOMPARE(FindDraw(stored, 101), nullptr);

    // Against every draw: the counts, and what a random ticket gets, where a draw without its
    // bonus has no 2等 and more 3等.
    const GradeCounts counts = CheckAgainstAll(Loto6(), {{1, 2, 3, 4, 5, 6}, {1, 2, 3, 4, 5, 7}},
        {drawOf(1, {1, 2, 3, 4, 5, 6}, 7), drawOf(2, {1, 2, 3, 4, 5, 6}, 0)});
    QCOMPARE(counts.counted, (std::vector<qint64> {2, 1, 1, 0, 0}));
    QCOMPARE(counts.checks, qint64(4));
    const double all = 6'096'454;
    QCOMPARE(counts.expected[1], 2 * 6 / all);
    QCOMPARE(counts.expected[2], (2 * 216 + 2 * 222) / all);
    // Loto 7: two draws with both bonus numbers and one without; only the first two give 2等.
    PastDraw withBonuses = drawOf(1, {1, 2, 3, 4, 5, 6, 7}, 0);
    withBonuses.bonuses = {8, 9};
    const GradeCounts sister = CheckAgainstAll(Loto7(), {{10, 11, 12, 13, 14, 15, 16}},
        {withBonuses, withBonuses, drawOf(3, {1, 2, 3, 4, 5, 6, 7}, 0)});
    QCOMPARE(sister.expected[1], 2 * 14 / 10'295'472.0);

    // The same as CSV, data a spreadsheet sums: amounts as plain numbers, unknown ones empty,
    // and a row of totals; its ticket rows read back as the tickets they are.
    stored[1].date = QDate(2026, 12, 3);
    std::vector<SavedTicket> some = tickets;
    some[1].source = TicketSource::Entered;
    some[3].source = TicketSource::Wheel;
    const QString csv = CheckedTicketsCsv(Loto6(), some, stored);
    QCOMPARE(csv.split(u"\r\n"_s),
        (QStringList {u"回,日付,券,入手,数字,一致,等級,購入,賞金"_s,
            u"100,,A,作成,01 02 03 04 05 06,6,1,200,"_s,
            u"100,,B,入力,01 02 03 04 05 08,5,3,200,100"_s,
            u"101,,A,作成,01 02 03 04 05 06,,,200,"_s,
            u"102,2026/12/03,A,ホイール,01 02 03 04 05 06,6,1,200,500"_s,
            u"103,,A,作成,01 02 03 04 05 06,,,200,"_s, u"合計,,,,,,,1000,600"_s, QString()}));
    const EnteredTickets back = ParseEnteredTickets(Loto6(), csv);
    QCOMPARE(back.faults, QStringList());
    std::vector<Ticket> numbers;
    for (const SavedTicket &ticket : some)
        numbers.push_back(ticket.numbers);
    QCOMPARE(back.tickets, numbers);
}

void tst_Tickets::enteredTickets_data()
{
    AddCaseRows(u"entered-tickets.txt"_s, {"game", "text", "read"});
}

void tst_Tickets::enteredTickets()
{
    QFETCH(QString, game);
    QFETCH(QString, text);
    const EnteredTickets entered = ParseEnteredTickets(*FindGame(game), text);
    QStringList read;
    for (const Ticket &ticket : entered.tickets)
        read << DrawText(ticket);
    QTEST((read << entered.faults).join(u" | "_s), "read");
    const std::vector<SavedTicket> saved {{1, 7, 1, {1, 2, 3, 4, 5, 6}},
        {2, 8, 0, {1, 2, 3, 4, 5, 6}}, {3, 9, 2, {1, 2, 3, 4, 5, 6}},
        {4, 8, 3, {1, 2, 3, 4, 5, 7}}};
    QCOMPARE(SavedAlready(saved, {8, 9}, {{1, 2, 3, 4, 5, 6}}),
        (QStringList {u"第8回 A"_s, u"第9回 C"_s}));
}

void tst_Tickets::savedTickets()
{
    // Saved in one transaction, lettered after the draw's earlier tickets, kept across a
    // restart, and removed by id; a save that fails halfway leaves nothing. (Each past schema's
    // climb is tst_History::climbs.)
    QTemporaryDir folder;
    const QString path = folder.filePath(u"nmr-history.sqlite"_s);
    QVERIFY(History(path).store(
        ReadResults(Loto6(), u"第2100回 1 2 3 4 5 6"_s, [](const RejectedLine &) {}), u"test"_s));
    {
        History database(path);
        QCOMPARE(database.fault(), QString());
        QCOMPARE(database.drawStore.latestDraw().value, 2100);
        QVERIFY(database.saveTickets(2101, {{1, 2, 3, 4, 5, 6}, {7, 8, 9, 10, 11, 12}}));
        QVERIFY(database.saveTickets(2101, {{13, 14, 15, 16, 17, 18}}));
        QVERIFY(database.saveTickets(2099, {{1, 2, 3, 4, 5, 7}}));
        QSqlQuery failing(QSqlDatabase::database(QSqlDatabase::connectionNames().constFirst()));
        QVERIFY(
            failing.exec(u"CREATE TEMP TRIGGER failing BEFORE INSERT ON tickets WHEN NEW.line = 2 "
                         u"BEGIN SELECT RAISE(ABORT, 'full'); END"_s));
        QVERIFY(!database.saveTickets(
            2102, {{1, 2, 3, 4, 5, 6}, {1, 2, 3, 4, 5, 7}, {1, 2, 3, 4, 5, 8}}));
    }
    History reopened(path);
    QCOMPARE(reopened.draws().size(), std::size_t(1));
    const std::vector<SavedTicket> expected {{4, 2099, 0, {1, 2, 3, 4, 5, 7}},
        {1, 2101, 0, {1, 2, 3, 4, 5, 6}}, {2, 2101, 1, {7, 8, 9, 10, 11, 12}},
        {3, 2101, 2, {13, 14, 15, 16, 17, 18}}};
    QCOMPARE(reopened.tickets(), expected);
    QVERIFY(!reopened.ticketStore.remove({1, 4}));
    QCOMPARE(reopened.tickets(), (std::vector<SavedTicket> {expected[2], expected[3]}));
}

void tst_Tickets::letters()
{
    QCOMPARE((QStringList {TicketLetter(0), TicketLetter(4), TicketLetter(25), TicketLetter(26),
                 TicketLetter(51), TicketLetter(52), TicketLetter(701), TicketLetter(702)}),
        (QStringList {u"A"_s, u"E"_s, u"Z"_s, u"AA"_s, u"AZ"_s, u"BA"_s, u"ZZ"_s, u"AAA"_s}));
    QCOMPARE(DrawText(Ticket {3, 11, 19, 27, 38, 42}), u"03 11 19 27 38 42"_s);
}

void tst_Tickets::sortedTables_data()
{
    // Each table sorted by a column through a proxy, as the windows sort it: what a column
    // shows then, top to bottom. Every row's text sorts otherwise.
    QTest::addColumn<QString>("table");
    QTest::addColumn<int>("column");
    QTest::addColumn<bool>("descending");
    QTest::addColumn<int>("shown");
    QTest::addColumn<QString>("order");
    QTest::newRow("tickets by letter, past Z") << u"made"_s << int(TicketsModel::Letter) << false
                                               << int(TicketsModel::Letter) << u"Y Z AA AB"_s;
    QTest::newRow("tickets by letter, last first") << u"made"_s << int(TicketsModel::Letter) << true
                                                   << int(TicketsModel::Letter) << u"AB AA Z Y"_s;
    QTest::newRow("tickets by numbers") << u"made"_s << int(TicketsModel::Numbers) << false
                                        << int(TicketsModel::Letter) << u"AB Z AA Y"_s;
    QTest::newRow("grades by count, most first") << u"grades"_s << int(GradesModel::Counted) << true
                                                 << int(GradesModel::Counted) << u"100 10 9 2 0"_s;
    QTest::newRow("grades by a random ticket's average")
        << u"grades"_s << int(GradesModel::Expected) << false << int(GradesModel::Grade)
        << u"4等 5等 3等 1等 2等"_s;
    QTest::newRow("grades, worst first") << u"grades"_s << int(GradesModel::Grade) << true
                                         << int(GradesModel::Grade) << u"5等 4等 3等 2等 1等"_s;
    QTest::newRow("saved by prize, not drawn last")
        << u"saved"_s << int(SavedTicketsModel::Prize) << false << int(SavedTicketsModel::Prize)
        << u"0円 1,000円 9,100円 10,000円 —"_s;
    QTest::newRow("saved by prize, most first, not drawn still last")
        << u"saved"_s << int(SavedTicketsModel::Prize) << true << int(SavedTicketsModel::Prize)
        << u"10,000円 9,100円 1,000円 0円 —"_s;
    QTest::newRow("saved by date, not drawn last")
        << u"saved"_s << int(SavedTicketsModel::Date) << false << int(SavedTicketsModel::Draw)
        << u"第10回 第10回 第10回 第10回 第9回"_s;
    QTest::newRow("saved by date, latest first, not drawn still last")
        << u"saved"_s << int(SavedTicketsModel::Date) << true << int(SavedTicketsModel::Draw)
        << u"第10回 第10回 第10回 第10回 第9回"_s;
    QTest::newRow("saved by grade, best first")
        << u"saved"_s << int(SavedTicketsModel::Grade) << false << int(SavedTicketsModel::Letter)
        << u"B C A D A"_s;
    QTest::newRow("saved by numbers, brackets aside")
        << u"saved"_s << int(SavedTicketsModel::Numbers) << false << int(SavedTicketsModel::Letter)
        << u"A B C A D"_s;
}

void tst_Tickets::sortedTables()
{
    QFETCH(QString, table);
    QFETCH(int, column);
    QFETCH(bool, descending);
    QFETCH(int, shown);
    QFETCH(QString, order);
    TicketsModel made;
    QAbstractItemModelTester madeTester(
        &made, QAbstractItemModelTester::FailureReportingMode::QtTest);
    made.setTickets({{10, 20, 30, 40, 41, 42}, {3, 4, 5, 6, 7, 8}, {9, 10, 11, 12, 13, 14},
                        {1, 2, 3, 4, 5, 43}},
        24);
    GradesModel grades(Loto6());
    QAbstractItemModelTester gradesTester(
        &grades, QAbstractItemModelTester::FailureReportingMode::QtTest);
    GradeCounts counts;
    counts.counted = {0, 10, 2, 9, 100};
    counts.expected = {9.5, 10, 0.5, 0.02, 0.3};
    grades.setCounts(counts);
    SavedTicketsModel saved(Loto6());
    QAbstractItemModelTester savedTester(
        &saved, QAbstractItemModelTester::FailureReportingMode::QtTest);
    PastDraw drawn = drawOf(10, {1, 2, 3, 4, 5, 6}, 7, {0, 0, 9100, 10000, 1000});
    drawn.date = QDate(2026, 12, 3);
    saved.setTickets({{1, 10, 0, {1, 2, 3, 20, 21, 22}, TicketSource::Made},
                         {2, 10, 1, {1, 2, 3, 4, 5, 20}, TicketSource::Made},
                         {3, 10, 2, {1, 2, 3, 4, 20, 21}, TicketSource::Made},
                         {4, 10, 3, {30, 31, 32, 33, 34, 35}, TicketSource::Entered},
                         {5, 9, 0, {1, 2, 3, 4, 5, 6}, TicketSource::Made}},
        {drawn});
    const std::map<QString, QAbstractItemModel *> tables {
        {u"made"_s, &made}, {u"grades"_s, &grades}, {u"saved"_s, &saved}};
    RowsProxy proxy;
    proxy.setSourceModel(tables.at(table));
    proxy.sort(column, descending ? Qt::DescendingOrder : Qt::AscendingOrder);
    QStringList cells;
    for (int row = 0; row < proxy.rowCount(); ++row)
        cells << proxy.index(row, shown).data().toString().remove(u' ');
    QCOMPARE(cells.join(u' '), order);
}

QTEST_GUILESS_MAIN(tst_Tickets)
#include "tst_tickets.moc"
