#include "engine/chance.h"
#include "engine/uniformsource.h"
#include "tickets/ticketcheck.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// The numbers in a text, as they stand: none is checked.
std::vector<int> numbers(const QString &text)
{
    std::vector<int> list;
    for (const QString &number : text.split(u' ', Qt::SkipEmptyParts))
        list.push_back(number.toInt());
    return list;
}

PastDraw drawOf(int number, const Ticket &numbers, int bonus,
    std::array<qint64, 5> prizes = {-1, -1, -1, -1, -1})
{
    PastDraw draw;
    draw.number = number;
    draw.numbers = numbers;
    draw.bonus = bonus;
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
    void weighting();
    void grading_data();
    void grading();
    void randomTicketChances();
    void summaries();
    void savedTickets();
    void letters();
};

void tst_Tickets::numberLists_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("read"); // the numbers, or the fault
    QTest::newRow("empty") << u""_s << u""_s;
    QTest::newRow("blanks, commas and 、") << u" 3 11,27、9  "_s << u"3 11 27 9"_s;
    QTest::newRow("full-width digits, blank and comma") << u"３　１９，０７"_s << u"3 19 7"_s;
    QTest::newRow("both ends of the range") << u"1 43"_s << u"1 43"_s;
    QTest::newRow("leading zeros, twice") << u"03 003 3"_s << u"3"_s;
    QTest::newRow("zero") << u"0"_s << u"「0」は 1 から 43 までの数字ではありません。"_s;
    QTest::newRow("44") << u"1 44"_s << u"「44」は 1 から 43 までの数字ではありません。"_s;
    QTest::newRow("overlong")
        << u"12345678901234567890"_s
        << u"「12345678901234567890」は 1 から 43 までの数字ではありません。"_s;
    QTest::newRow("a letter") << u"1 2a"_s << u"「2a」は数字として読めません。"_s;
    QTest::newRow("a sign") << u"-3"_s << u"「-3」は数字として読めません。"_s;
    QTest::newRow("a circled digit") << u"①"_s << u"「①」は数字として読めません。"_s;
    QTest::newRow("an Arabic-Indic digit") << u"٣"_s << u"「٣」は数字として読めません。"_s;
}

void tst_Tickets::numberLists()
{
    QFETCH(QString, text);
    const NumberList list = ParseNumberList(text);
    QStringList read;
    for (const int number : list.numbers)
        read << QString::number(number);
    QTEST(list.fault.isEmpty() ? read.join(u' ') : list.fault, "read");
}

void tst_Tickets::refusals_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("fixed");
    QTest::addColumn<QString>("excluded");
    QTest::addColumn<int>("overlap");
    QTest::addColumn<QString>("reason"); // empty when the tickets are made
    QTest::addColumn<bool>("badList");
    const QString most
        = u"共通数字の上限 %1 では %2 口を作れません。この条件で作れるのは多くて %3 口です。"_s;
    QTest::newRow("0 fixed") << 1 << u"0"_s << u""_s << 5
                             << u"「0」は 1 から 43 までの数字ではありません。"_s << true;
    QTest::newRow("44 excluded") << 1 << u""_s << u"44"_s << 5
                                 << u"「44」は 1 から 43 までの数字ではありません。"_s << true;
    QTest::newRow("fixed and excluded") << 1 << u"5 9"_s << u"2 9"_s << 5
                                        << u"9 が軸数字と除外数字の両方に入っています。"_s << true;
    QTest::newRow("five fixed") << 1 << u"1 2 3 4 5"_s << u""_s << 5 << u""_s << false;
    QTest::newRow("six fixed") << 1 << u"1 2 3 4 5 6"_s << u""_s << 5
                               << u"軸数字は 5 個までです（6 個あります）。"_s << false;
    QTest::newRow("six left")
        << 1 << u""_s
        << u"7 8 9 10 11 12 13 14 15 16 17 18 19 20 21 22 23 24 25 26 27 28 29 30 31 32 33 34 35 36 37 38 39 40 41 42 43"_s
        << 5 << u""_s << false;
    QTest::newRow("five left")
        << 1 << u""_s
        << u"6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 21 22 23 24 25 26 27 28 29 30 31 32 33 34 35 36 37 38 39 40 41 42 43"_s
        << 5 << u"除外数字が多すぎます。選べる数字が 5 個しか残りません（6 個必要です）。"_s
        << false;
    QTest::newRow("the only ticket, once")
        << 1 << u"1 2 3 4 5"_s
        << u"7 8 9 10 11 12 13 14 15 16 17 18 19 20 21 22 23 24 25 26 27 28 29 30 31 32 33 34 35 36 37 38 39 40 41 42 43"_s
        << 5 << u""_s << false;
    QTest::newRow("the only ticket, twice")
        << 2 << u"1 2 3 4 5"_s
        << u"7 8 9 10 11 12 13 14 15 16 17 18 19 20 21 22 23 24 25 26 27 28 29 30 31 32 33 34 35 36 37 38 39 40 41 42 43"_s
        << 5 << most.arg(5).arg(2).arg(1) << false;
    QTest::newRow("two fixed, limit 1, one ticket")
        << 1 << u"1 2"_s << u""_s << 1 << u""_s << false;
    QTest::newRow("two fixed, limit 1, two tickets")
        << 2 << u"1 2"_s << u""_s << 1 << most.arg(1).arg(2).arg(1) << false;
    QTest::newRow("limit 0, 5 tickets") << 5 << u""_s << u""_s << 0 << u""_s << false;
    QTest::newRow("limit 0, 8 tickets")
        << 8 << u""_s << u""_s << 0 << most.arg(0).arg(8).arg(7) << false;
    QTest::newRow("limit 0 and 20 tickets")
        << 20 << u""_s << u""_s << 0 << most.arg(0).arg(20).arg(7) << false;
    QTest::newRow("limit 1 and 20 tickets") << 20 << u""_s << u""_s << 1 << u""_s << false;
    QTest::newRow("limit 2 and 20 tickets") << 20 << u""_s << u""_s << 2 << u""_s << false;
    QTest::newRow("limit 0, 7 tickets: counted, not found")
        << 7 << u""_s << u""_s << 0
        << u"共通数字の上限 0 を守る 7 口が見つかりませんでした。上限を上げるか、口数を減らしてください。"_s
        << false;
}

void tst_Tickets::refusals()
{
    QFETCH(int, count);
    QFETCH(QString, fixed);
    QFETCH(QString, excluded);
    QFETCH(int, overlap);
    const TicketRequest request {
        {mixedLevels, u"11231"_s, false, 15}, count, numbers(fixed), numbers(excluded), overlap};
    UniformSource random(7);
    const TicketsMade made = DrawTickets(request, random);
    QTEST(made.refusal.reason, "reason");
    QTEST(made.refusal.badList, "badList");
    QCOMPARE(made.tickets.size(), made.refusal.reason.isEmpty() ? std::size_t(count) : 0);
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
    QTest::newRow("as many as needed") << 6 << 6 << 5 << qint64(1);
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
    QTest::addColumn<TicketRequest>("request");
    const DrawInput levels {mixedLevels, u"10512"_s, true, 15};
    QTest::newRow("five, nothing fixed") << TicketRequest {levels, 5, {}, {}, 5};
    QTest::newRow("twenty, limit 2") << TicketRequest {levels, 20, {}, {}, 2};
    QTest::newRow("twenty, limit 1, levels off")
        << TicketRequest {{mixedLevels, u"00000"_s, false, 0}, 20, {}, {}, 1};
    QTest::newRow("fixed and excluded, limit 3")
        << TicketRequest {levels, 12, {43, 1}, {2, 3, 4, 5, 15}, 3};
    QTest::newRow("five fixed, the rest distinct")
        << TicketRequest {levels, 20, {10, 20, 30, 40, 43}, {1}, 5};
    QTest::newRow("seven left: all seven tickets") << TicketRequest {{mixedLevels, {}, false, 0}, 7,
        {},
        numbers(
            u"8 9 10 11 12 13 14 15 16 17 18 19 20 21 22 23 24 25 26 27 28 29 30 31 32 33 34 35 36 37 38 39 40 41 42 43"_s),
        5};
}

void tst_Tickets::drawing()
{
    QFETCH(TicketRequest, request);
    for (quint32 seed = 0; seed < 20; ++seed) {
        UniformSource random(seed);
        const TicketsMade made = DrawTickets(request, random);
        QCOMPARE(made.refusal.reason, QString());
        QCOMPARE(int(made.tickets.size()), request.count);
        for (std::size_t i = 0; i < made.tickets.size(); ++i) {
            const Ticket &ticket = made.tickets[i];
            QVERIFY(std::is_sorted(ticket.begin(), ticket.end()));
            QVERIFY(std::adjacent_find(ticket.begin(), ticket.end()) == ticket.end());
            QVERIFY(ticket.front() >= 1 && ticket.back() <= NumberCount);
            for (const int number : request.fixed)
                QVERIFY(std::find(ticket.begin(), ticket.end(), number) != ticket.end());
            for (const int number : request.excluded)
                QVERIFY(std::find(ticket.begin(), ticket.end(), number) == ticket.end());
            for (std::size_t j = 0; j < i; ++j) {
                int shared = 0;
                for (const int number : ticket)
                    shared
                        += int(std::count(made.tickets[j].begin(), made.tickets[j].end(), number));
                QVERIFY2(shared <= request.overlap, qPrintable(TicketText(ticket)));
            }
        }
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
                DrawNumbers(input, other).numbers);
        }
    }
}

void tst_Tickets::weighting()
{
    // Over many tickets each number comes up as often as the chance figures say, within five
    // standard deviations. Levels off, with 1 and 43 excluded, the others are even; with one
    // fixed number, each of the remaining 40 has 5 chances in 40.
    constexpr int tickets = 40'000;
    const DrawInput input {mixedLevels, u"11231"_s, true, 12};
    const auto chances = DrawChances(input);
    std::array<int, NumberCount + 1> plain {};
    std::array<int, NumberCount + 1> even {};
    UniformSource random(2026);
    for (int i = 0; i < tickets; ++i) {
        const Ticket weighted = DrawTickets({input, 1, {}, {}, 5}, random).tickets.front();
        const Ticket uniform
            = DrawTickets({{mixedLevels, {}, false, 0}, 1, {20}, {1, 43}, 5}, random)
                  .tickets.front();
        for (std::size_t n = 0; n < 6; ++n)
            ++plain[std::size_t(weighted[n])], ++even[std::size_t(uniform[n])];
    }
    for (int number = 1; number <= NumberCount; ++number) {
        const double p = chances[std::size_t(number - 1)];
        QVERIFY2(std::abs(plain[std::size_t(number)] - tickets * p)
                <= 5 * std::sqrt(tickets * p * (1 - p)) + 1,
            qPrintable(QString::number(number)));
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
    const Grading grading = GradeOf(ticket, drawOf(1, {3, 11, 19, 27, 38, 42}, bonus));
    QTEST(grading.matches, "matches");
    QTEST(grading.grade, "grade");
}

void tst_Tickets::randomTicketChances()
{
    // Every one of the C(43, 6) tickets against one draw: the counts are the exact chances.
    const PastDraw draw = drawOf(1, {3, 11, 19, 27, 38, 42}, 7);
    std::array<qint64, PrizeGrades + 1> withBonus {};
    std::array<qint64, PrizeGrades + 1> withoutBonus {};
    qint64 all = 0;
    Ticket t {};
    for (t[0] = 1; t[0] <= 38; ++t[0])
        for (t[1] = t[0] + 1; t[1] <= 39; ++t[1])
            for (t[2] = t[1] + 1; t[2] <= 40; ++t[2])
                for (t[3] = t[2] + 1; t[3] <= 41; ++t[3])
                    for (t[4] = t[3] + 1; t[4] <= 42; ++t[4])
                        for (t[5] = t[4] + 1; t[5] <= 43; ++t[5], ++all) {
                            ++withBonus[std::size_t(GradeOf(t, draw).grade)];
                            ++withoutBonus[std::size_t(
                                GradeOf(t, drawOf(1, draw.numbers, 0)).grade)];
                        }
    const auto known = RandomTicketChances(true);
    const auto unknown = RandomTicketChances(false);
    for (std::size_t grade = 1; grade <= PrizeGrades; ++grade) {
        QCOMPARE(known[grade - 1] * double(all), double(withBonus[grade]));
        QCOMPARE(unknown[grade - 1] * double(all), double(withoutBonus[grade]));
    }

    // Over several tickets and draws the expectation adds up, and the counts are the grades.
    const std::vector<PastDraw> draws {draw, drawOf(2, {1, 2, 3, 4, 5, 6}, 0)};
    const GradeCounts counts
        = CheckAgainstAll({{3, 7, 11, 19, 27, 38}, {1, 2, 3, 11, 19, 43}}, draws);
    QCOMPARE(counts.checks, 4);
    QCOMPARE(counts.counted, (std::array<qint64, PrizeGrades> {0, 1, 0, 0, 2}));
    for (std::size_t grade = 0; grade < PrizeGrades; ++grade)
        QCOMPARE(counts.expected[grade], 2 * known[grade] + 2 * unknown[grade]);
}

void tst_Tickets::summaries()
{
    const std::vector<PastDraw> draws {
        drawOf(10, {3, 11, 19, 27, 38, 42}, 7, {200'000'000, 10'000'000, 500'000, 9'100, 1'000}),
        drawOf(11, {1, 2, 3, 4, 5, 6}, 9)};
    const std::vector<SavedTicket> tickets {{1, 10, 0, {3, 11, 19, 27, 40, 41}},
        {2, 10, 1, {3, 11, 19, 30, 40, 41}}, {3, 10, 2, {1, 2, 4, 5, 6, 7}},
        {4, 11, 0, {1, 2, 3, 10, 20, 30}}, {5, 11, 1, {7, 8, 9, 10, 20, 30}},
        {6, 12, 0, {1, 2, 3, 4, 5, 6}}};
    const TicketSummary summary = Summarise(tickets, draws);
    QCOMPARE(summary.tickets, 6);
    QCOMPARE(summary.spent, 1'200);
    QCOMPARE(summary.won, 10'100); // 4等 and 5等; a miss adds nothing
    QCOMPARE(summary.unsettled, 1); // 5等 of draw 11, which has no amounts
    QCOMPARE(summary.undrawn, 1);
    QCOMPARE(summary.balance(), 8'900);
    QCOMPARE(FindDraw(draws, 9), nullptr);
    QCOMPARE(FindDraw(draws, 11)->number, 11);
}

void tst_Tickets::savedTickets()
{
    // Saved in one transaction, lettered after the draw's earlier tickets, kept across a
    // restart, and removed by id. A database of the first schema gains the table and keeps its
    // draws; a save that fails halfway leaves nothing.
    QTemporaryDir folder;
    const QString path = folder.filePath(u"nmr-history.sqlite"_s);
    {
        QSqlDatabase old = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"old"_s);
        old.setDatabaseName(path);
        QVERIFY(old.open());
        QSqlQuery query(old);
        QVERIFY(query.exec(
            u"CREATE TABLE draws (number INTEGER PRIMARY KEY, date TEXT, n1 INTEGER NOT NULL, n2 "
            u"INTEGER NOT NULL, "
            u"n3 INTEGER NOT NULL, n4 INTEGER NOT NULL, n5 INTEGER NOT NULL, n6 INTEGER NOT NULL, "
            u"bonus INTEGER, "
            u"winners1 INTEGER, winners2 INTEGER, winners3 INTEGER, winners4 INTEGER, winners5 "
            u"INTEGER, prize1 INTEGER, "
            u"prize2 INTEGER, prize3 INTEGER, prize4 INTEGER, prize5 INTEGER, carry_over INTEGER)"_s));
        QVERIFY(query.exec(
            u"INSERT INTO draws (number, n1, n2, n3, n4, n5, n6) VALUES (2100, 1, 2, 3, 4, 5, 6)"_s));
        QVERIFY(query.exec(u"PRAGMA user_version = 1"_s));
    }
    QSqlDatabase::removeDatabase(u"old"_s);
    {
        HistoryDatabase database(path);
        QCOMPARE(database.fault(), QString());
        QCOMPARE(database.latestDraw(), 2100);
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
    HistoryDatabase reopened(path);
    QCOMPARE(reopened.draws().size(), std::size_t(1));
    const std::vector<SavedTicket> expected {{4, 2099, 0, {1, 2, 3, 4, 5, 7}},
        {1, 2101, 0, {1, 2, 3, 4, 5, 6}}, {2, 2101, 1, {7, 8, 9, 10, 11, 12}},
        {3, 2101, 2, {13, 14, 15, 16, 17, 18}}};
    QCOMPARE(reopened.tickets(), expected);
    QVERIFY(reopened.removeTickets({1, 4}));
    QCOMPARE(reopened.tickets(), (std::vector<SavedTicket> {expected[2], expected[3]}));
}

void tst_Tickets::letters()
{
    QCOMPARE((QStringList {TicketLetter(0), TicketLetter(4), TicketLetter(25), TicketLetter(26),
                 TicketLetter(51), TicketLetter(52), TicketLetter(701), TicketLetter(702)}),
        (QStringList {u"A"_s, u"E"_s, u"Z"_s, u"AA"_s, u"AZ"_s, u"BA"_s, u"ZZ"_s, u"AAA"_s}));
    QCOMPARE(TicketText({3, 11, 19, 27, 38, 42}), u"03 11 19 27 38 42"_s);
}

QTEST_GUILESS_MAIN(tst_Tickets)
#include "tst_tickets.moc"
