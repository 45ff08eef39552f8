#include "wheels/coversearch.h"
#include "wheels/subsets.h"
#include "wheels/wheelchancesmodel.h"
#include "wheels/wheelmaker.h"
#include "wheels/wheelsearch.h"
#include "wheels/wheelsizes.h"
#include "wheels/wheeltable.h"

#include <QAbstractItemModelTester>
#include <QProcess>
#include <QSortFilterProxyModel>
#include <QTemporaryDir>
#include <QTest>

#include <bit>
#include <numeric>
#include <random>
#include <set>

using namespace Qt::StringLiterals;

namespace {

// Designs written as the shipped table writes them: a ticket as six letters, a to t.
std::vector<Block> designOf(const QString &text)
{
    return ReadWheelTable(u"0 0 0 "_s + text).begin()->second;
}

QString lettersOf(Block subset)
{
    QString letters;
    for (; subset; subset &= subset - 1)
        letters += QChar(u'a' + std::countr_zero(subset));
    return letters;
}

// The best match of a subset among the tickets, counted plainly.
int bestMatch(Block subset, const std::vector<Block> &blocks)
{
    int best = 0;
    for (const Block block : blocks)
        best = std::max(best, std::popcount(subset & block));
    return best;
}

// Every subset of size k of v positions, plainly.
std::vector<Block> subsetsOf(int v, int k)
{
    std::vector<Block> all;
    for (Block mask = 0; mask < (Block(1) << v); ++mask) {
        if (std::popcount(mask) == k)
            all.push_back(mask);
    }
    return all;
}

// The most tickets a full guarantee may take, where a target is set.
const std::map<std::tuple<int, int, int>, int> targets {{{8, 3, 3}, 4}, {{10, 3, 3}, 10},
    {{12, 3, 3}, 15}, {{15, 3, 3}, 31}, {{18, 3, 3}, 60}, {{20, 3, 3}, 84}, {{8, 3, 4}, 3},
    {{10, 3, 4}, 4}, {{12, 3, 4}, 6}, {{15, 3, 4}, 15}, {{18, 3, 4}, 25}, {{20, 3, 4}, 40},
    {{8, 3, 6}, 1}, {{10, 3, 6}, 2}, {{12, 3, 6}, 2}, {{15, 3, 6}, 4}, {{18, 3, 6}, 10},
    {{20, 3, 6}, 14}, {{8, 4, 4}, 7}, {{10, 4, 4}, 20}, {{12, 4, 4}, 41}, {{15, 4, 4}, 135},
    {{8, 4, 5}, 3}, {{10, 4, 5}, 7}, {{12, 4, 5}, 14}, {{15, 4, 5}, 45}, {{8, 4, 6}, 1},
    {{10, 4, 6}, 3}, {{12, 4, 6}, 6}, {{15, 4, 6}, 21}, {{18, 4, 6}, 52}, {{8, 5, 5}, 12},
    {{10, 5, 5}, 50}, {{12, 5, 5}, 132}, {{8, 5, 6}, 4}, {{10, 5, 6}, 14}, {{12, 5, 6}, 39}};

} // namespace

class tst_Wheels : public QObject
{
    Q_OBJECT

private slots:
    void bitCount_data();
    void bitCount();
    void guarantees_data();
    void guarantees();
    void coverage_data();
    void coverage();
    void againstCounting();
    void chances();
    void bounds_data();
    void bounds();
    void search_data();
    void search();
    void limited();
    void mapping();
    void refusals_data();
    void refusals();
    void chanceTableSorted();
    void groups_data();
    void groups();
    void coverSearch_data();
    void coverSearch();
    void fewerExist_data();
    void fewerExist();
    void shipped_data();
    void shipped();
    void sizesDocumented();
    void searchTool_data();
    void searchTool();
};

void tst_Wheels::bitCount_data()
{
    QTest::addColumn<Block>("set");
    QTest::addColumn<int>("count");
    QTest::newRow("none") << Block(0) << 0;
    QTest::newRow("the lowest bit") << Block(1) << 1;
    QTest::newRow("the highest bit") << Block(0x8000'0000u) << 1;
    QTest::newRow("every bit") << Block(0xFFFF'FFFFu) << 32;
    QTest::newRow("the twenty numbers") << Block(0x000F'FFFFu) << 20;
    QTest::newRow("every other bit") << Block(0xAAAA'AAAAu) << 16;
    QTest::newRow("one in each byte") << Block(0x8040'2010u) << 4;
}

void tst_Wheels::bitCount()
{
    QFETCH(Block, set);
    QFETCH(int, count);
    QCOMPARE(BitCount(set), count);
}

void tst_Wheels::guarantees_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("t"); // 0: no guarantee offered
    QTest::addColumn<int>("m");
    QTest::newRow("3/4") << u"3/4"_s << 3 << 4;
    QTest::newRow("blanks") << u" 5 / 6 "_s << 5 << 6;
    QTest::newRow("6/6, every combination") << u"6/6"_s << 6 << 6;
    QTest::newRow("t above m") << u"4/3"_s << 0 << 0;
    QTest::newRow("t below 3") << u"2/3"_s << 0 << 0;
    QTest::newRow("m above 6") << u"3/7"_s << 0 << 0;
    QTest::newRow("one number") << u"3"_s << 0 << 0;
    QTest::newRow("three parts") << u"3/4/5"_s << 0 << 0;
    QTest::newRow("empty") << u""_s << 0 << 0;
    QTest::newRow("letters") << u"a/b"_s << 0 << 0;
}

void tst_Wheels::guarantees()
{
    QFETCH(QString, text);
    QFETCH(int, t);
    QFETCH(int, m);
    const auto read = ParseGuarantee(Loto6(), text);
    QCOMPARE(read.has_value(), t != 0);
    if (read)
        QCOMPARE((std::pair(read->t, read->m)), (std::pair(t, m)));
}

void tst_Wheels::coverage_data()
{
    QTest::addColumn<int>("v");
    QTest::addColumn<QString>("guarantee");
    QTest::addColumn<QString>("design");
    QTest::addColumn<qint64>("cases");
    QTest::addColumn<qint64>("holes");
    QTest::addColumn<QString>("hole"); // the first, as letters
    QTest::newRow("7, 5/5, every combination")
        << 7 << u"5/5"_s << u"abcdef abcdeg abcdfg abcefg abdefg acdefg bcdefg"_s << qint64(21)
        << qint64(0) << u""_s;
    QTest::newRow("7, 5/5, two tickets short")
        << 7 << u"5/5"_s << u"abcdef abcdeg abcdfg abcefg abdefg"_s << qint64(21) << qint64(1)
        << u"cdefg"_s;
    QTest::newRow("8, 3/6, one ticket holds 4 of any six")
        << 8 << u"3/6"_s << u"abcdef"_s << qint64(28) << qint64(0) << u""_s;
    QTest::newRow("8, 4/4, one ticket")
        << 8 << u"4/4"_s << u"abcdef"_s << qint64(70) << qint64(55) << u"abcg"_s;
    QTest::newRow("10, 3/4, four tickets, whole")
        << 10 << u"3/4"_s << u"abdefi acghij bcdghj cdefhj"_s << qint64(210) << qint64(0) << u""_s;
    QTest::newRow("10, 3/4, the last ticket left out")
        << 10 << u"3/4"_s << u"abdefi acghij bcdghj"_s << qint64(210) << qint64(6) << u"cefg"_s;
    QTest::newRow("20, 6/6, no ticket at all")
        << 20 << u"6/6"_s << u""_s << qint64(38760) << qint64(38760) << u"abcdef"_s;
}

void tst_Wheels::coverage()
{
    QFETCH(int, v);
    QFETCH(QString, guarantee);
    QFETCH(QString, design);
    QFETCH(qint64, cases);
    QFETCH(qint64, holes);
    QFETCH(QString, hole);
    const std::vector<Block> blocks = design.isEmpty() ? std::vector<Block> {} : designOf(design);
    const Coverage found = WheelMatches(v, 6, blocks).coverage(*ParseGuarantee(Loto6(), guarantee));
    QCOMPARE(found.cases, cases);
    QCOMPARE(found.holes, holes);
    QCOMPARE(lettersOf(found.exampleHole), hole);
}

void tst_Wheels::againstCounting()
{
    // Random designs from 7 to 10 positions: every guarantee's holes and every row's best
    // matches as a plain count over every subset finds them.
    std::mt19937 random(2026);
    for (int v = FewestChosen(Loto6()); v <= 10; ++v) {
        for (int size : {1, 3, 6}) {
            const std::vector<Block> all = subsetsOf(v, DrawnCount);
            std::vector<Block> blocks;
            std::sample(all.begin(), all.end(), std::back_inserter(blocks), size, random);
            const WheelMatches matches(v, DrawnCount, blocks);
            for (const Guarantee guarantee : Guarantees(Loto6())) {
                qint64 holes = 0;
                for (const Block subset : subsetsOf(v, guarantee.m))
                    holes += bestMatch(subset, blocks) < guarantee.t;
                QCOMPARE(matches.coverage(guarantee).holes, holes);
            }
            for (const MatchRow &row : matches.rows(Loto6())) {
                int smallest = DrawnCount;
                qint64 sum = 0;
                for (const Block subset : subsetsOf(v, row.k)) {
                    smallest = std::min(smallest, bestMatch(subset, blocks));
                    sum += bestMatch(subset, blocks);
                }
                QCOMPARE(row.smallest, smallest);
                QCOMPARE(row.average, double(sum) / double(Binomial(v, row.k)));
            }
        }
    }
}

void tst_Wheels::chances()
{
    // Summed over k the chances give 1; for 7 and 20 chosen numbers they match a count of every
    // draw of six from 43.
    for (int v = FewestChosen(Loto6()); v <= MostChosen; ++v) {
        double sum = 0;
        for (const MatchRow &row : WheelMatches(v, DrawnCount, {}).rows(Loto6()))
            sum += row.chance;
        QVERIFY2(std::abs(sum - 1) < 1e-12, qPrintable(QString::number(v)));
    }
    for (const int v : {FewestChosen(Loto6()), MostChosen}) {
        std::array<qint64, 7> counted {};
        const quint64 chosen = (quint64(1) << v) - 1;
        for (quint64 draw = 0b111111; draw < (quint64(1) << NumberCount);) {
            ++counted[std::size_t(std::popcount(draw & chosen))];
            const quint64 lowest = draw & -draw;
            const quint64 ripple = draw + lowest;
            draw = (((ripple ^ draw) >> 2) / lowest) | ripple;
        }
        for (const MatchRow &row : WheelMatches(v, DrawnCount, {}).rows(Loto6()))
            QCOMPARE(row.chance, double(counted[std::size_t(row.k)]) / 6'096'454.0);
    }
}

void tst_Wheels::bounds_data()
{
    QTest::addColumn<int>("v");
    QTest::addColumn<QString>("guarantee");
    QTest::addColumn<qint64>("bound");
    QTest::newRow("12, 5/5: Schönheim, reached") << 12 << u"5/5"_s << qint64(132);
    QTest::newRow("12, 4/4: Schönheim") << 12 << u"4/4"_s << qint64(36);
    QTest::newRow("8, 3/3") << 8 << u"3/3"_s << qint64(4);
    QTest::newRow("10, 3/6: counting") << 10 << u"3/6"_s << qint64(2);
    QTest::newRow("7, 5/6: one ticket") << 7 << u"5/6"_s << qint64(1);
    QTest::newRow("20, 6/6: every combination") << 20 << u"6/6"_s << qint64(38760);
}

void tst_Wheels::bounds()
{
    QFETCH(int, v);
    QFETCH(QString, guarantee);
    QFETCH(qint64, bound);
    QCOMPARE(LowerBound(v, DrawnCount, *ParseGuarantee(Loto6(), guarantee)), bound);
}

void tst_Wheels::search_data()
{
    QTest::addColumn<int>("v");
    QTest::addColumn<QString>("guarantee");
    for (const auto &[v, guarantee] :
        {std::pair(8, u"3/3"_s), std::pair(8, u"5/5"_s), std::pair(10, u"3/4"_s),
            std::pair(10, u"4/5"_s), std::pair(12, u"3/6"_s), std::pair(10, u"5/6"_s)})
        QTest::addRow("%d, %s", v, qPrintable(guarantee)) << v << guarantee;
}

void tst_Wheels::search()
{
    // From nothing, three seeds each reach the target, and the design passes the check.
    QFETCH(int, v);
    QFETCH(QString, guarantee);
    const Guarantee wanted = *ParseGuarantee(Loto6(), guarantee);
    for (quint32 seed = 1; seed <= 3; ++seed) {
        const std::vector<Block> blocks = SearchWheel({v, wanted, std::nullopt, seed, {}, 400'000});
        QVERIFY2(int(blocks.size()) <= targets.at({v, wanted.t, wanted.m}),
            qPrintable(u"seed %1: %2 tickets"_s.arg(seed).arg(blocks.size())));
        QCOMPARE(WheelMatches(v, DrawnCount, blocks).coverage(wanted).holes, 0);
        QVERIFY(std::all_of(blocks.begin(), blocks.end(), [&](Block block) {
            return std::popcount(block) == DrawnCount && block < (Block(1) << v);
        }));
    }
}

void tst_Wheels::limited()
{
    // Ten tickets for 4/4 over 10 positions cannot cover all 210 cases: the search leaves as few
    // holes as it finds, the same for the same seed, and a limit above the need changes nothing.
    const Guarantee fourOfFour {4, 4};
    const WheelSearchRequest request {10, fourOfFour, 10, 7, {}, 200'000};
    const std::vector<Block> blocks = SearchWheel(request);
    QCOMPARE(blocks.size(), std::size_t(10));
    const qint64 holes = WheelMatches(10, DrawnCount, blocks).coverage(fourOfFour).holes;
    QVERIFY(holes > 0 && holes < 210 - 10 * 15 + 40);
    QCOMPARE(SearchWheel(request), blocks);
    std::vector<WheelSearchProgress> reports;
    SearchWheel(request, [&](const WheelSearchProgress &progress) {
        reports.push_back(progress);
        return reports.size() < 3;
    });
    QCOMPARE(reports.size(), std::size_t(3));
    QVERIFY(reports.back().done > 0 && reports.back().done < 1);
    // The same seed walks the same way: more steps never end with more holes.
    qint64 fewer = holes;
    for (const qint64 steps : {50'000, 30'000, 20'000}) {
        const qint64 found
            = WheelMatches(10, DrawnCount, SearchWheel({10, fourOfFour, 10, 7, {}, steps}))
                  .coverage(fourOfFour)
                  .holes;
        QVERIFY2(found >= fewer, qPrintable(u"%1 steps: %2 holes"_s.arg(steps).arg(found)));
        fewer = found;
    }
    // Twenty tickets cover every case; held at a temperature that takes no worse move, the
    // search sticks short of that.
    WheelSearchRequest twenty {10, fourOfFour, 20, 7, {}, 400'000};
    QCOMPARE(WheelMatches(10, DrawnCount, SearchWheel(twenty)).coverage(fourOfFour).holes, 0);
    twenty.temperature = 1e-9;
    QCOMPARE_GT(WheelMatches(10, DrawnCount, SearchWheel(twenty)).coverage(fourOfFour).holes, 0);
    // A limit of one ticket gives one, the fewest holes one ticket leaves.
    const std::vector<Block> one = SearchWheel({10, fourOfFour, 1, 7, {}, 20'000});
    QCOMPARE(one.size(), std::size_t(1));
    QCOMPARE(WheelMatches(10, DrawnCount, one).coverage(fourOfFour).holes, qint64(210 - 15));
    // Under a limit, 6/6 takes as many combinations as allowed, each a case of its own.
    const Guarantee everyOne {6, 6};
    const std::vector<Block> some = SearchWheel({8, everyOne, 10, 7, {}, 1000});
    QCOMPARE(some.size(), std::size_t(10));
    QCOMPARE(WheelMatches(8, DrawnCount, some).coverage(everyOne).holes, Binomial(8, 6) - 10);
    const std::vector<Block> whole = SearchWheel({10, fourOfFour, 30, 7, {}, 200'000});
    QVERIFY(whole.size() <= 30);
    QCOMPARE(WheelMatches(10, DrawnCount, whole).coverage(fourOfFour).holes, 0);
}

void tst_Wheels::mapping()
{
    // A design is put onto the chosen numbers in the order its seed gives: the same seed gives
    // the same tickets, another seed other ones, always of the chosen numbers and as whole.
    const std::vector<int> chosen {3, 7, 11, 19, 22, 27, 31, 38, 40, 42};
    const Guarantee threeOfFour {3, 4};
    const auto made = [&](quint32 seed) {
        return MakeWheel(
            Loto6(), chosen, threeOfFour, designOf(u"abdefi acghij bcdghj cdefhj"_s), seed);
    };
    const Wheel first = made(1);
    QCOMPARE(made(1).tickets, first.tickets);
    QVERIFY(made(2).tickets != first.tickets);
    QCOMPARE(first.coverage.holes, 0);
    for (const Ticket &ticket : first.tickets) {
        QVERIFY(std::is_sorted(ticket.begin(), ticket.end()));
        QVERIFY(std::all_of(ticket.begin(), ticket.end(), [&](int number) {
            return std::find(chosen.begin(), chosen.end(), number) != chosen.end();
        }));
    }
    const Wheel holed
        = MakeWheel(Loto6(), chosen, threeOfFour, designOf(u"abdefi acghij bcdghj"_s), 1);
    QStringList hole;
    for (const int number : NumbersOf(holed.coverage.exampleHole, holed.order))
        hole << u"%1"_s.arg(number, 2, 10, QChar(u'0'));
    QCOMPARE(hole.size(), 4);
    QCOMPARE(CoverageText(holed),
        u"保証を満たす割合 97.1%（全 210 通りのうち 6 通りが欠けています。例：%1）"_s.arg(
            hole.join(u' ')));
    QCOMPARE(CostText(first), u"4 口、800 円"_s);
    // The grade column: the least grade a row's least match gets, from the game's grade table.
    QStringList grades;
    for (const QStringList &row : ChanceTable(first))
        grades << row.last();
    QCOMPARE(grades.join(u' '), u"— — — — 5等 5等 4等"_s);
    const Wheel full
        = MakeWheel(Loto6(), {1, 2, 3, 4, 5, 6, 7}, {6, 6}, ShippedWheel(Loto6(), 7, {6, 6}), 1);
    QCOMPARE(ChanceTable(full).back(),
        (QStringList {u"6 個"_s, u"0.000115%"_s, u"6"_s, u"6.0"_s, u"1等"_s}));
}

void tst_Wheels::refusals_data()
{
    // The chosen numbers as typed, and why they make no wheel.
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("refusal");
    QTest::newRow("six, one too few")
        << u"1 2 3 4 5 6"_s << u"選ぶ数字は 7 個から 20 個までです（いまは 6 個）。"_s;
    QTest::newRow("seven, the fewest") << u"1 2 3 4 5 6 7"_s << QString();
    QTest::newRow("twenty, the most")
        << u"1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20"_s << QString();
    QTest::newRow("twenty-one, one too many")
        << u"1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 21"_s
        << u"選ぶ数字は 7 個から 20 個までです（いまは 21 個）。"_s;
    QTest::newRow("a list that cannot be read")
        << u"1 2 3 4 5 6 x"_s << u"選んだ数字の「x」は数字として読めません。"_s;
}

void tst_Wheels::refusals()
{
    QFETCH(QString, chosen);
    QTEST(ReadChosen(Loto6(), chosen, {}).refusal, "refusal");
}

void tst_Wheels::chanceTableSorted()
{
    // The chance column sorts by the chance, not by its text ("5.85%" before "11.0%").
    std::vector<int> twenty(20);
    std::iota(twenty.begin(), twenty.end(), 1);
    const Wheel wheel = MakeWheel(Loto6(), twenty, {3, 3}, ShippedWheel(Loto6(), 20, {3, 3}), 1);
    WheelChancesModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.setWheel(&wheel);
    QSortFilterProxyModel proxy;
    proxy.setSourceModel(&model);
    proxy.setSortRole(RowsModel::SortRole);
    proxy.sort(WheelChancesModel::Chance, Qt::AscendingOrder);
    QStringList hits;
    for (int row = 0; row < proxy.rowCount(); ++row)
        hits << proxy.index(row, WheelChancesModel::Hits).data().toString();
    QCOMPARE(hits.join(u' '), u"6 個 0 個 5 個 1 個 4 個 2 個 3 個"_s);
}

void tst_Wheels::shipped_data()
{
    QTest::addColumn<QString>("game");
    for (const Game *game : Games())
        QTest::newRow(game->key.toUtf8()) << game->key;
}

void tst_Wheels::shipped()
{
    // Every shipped design of each game is whole, of tickets of the game's size, within its
    // target where one is set, and no larger than every combination; drawn/drawn is every
    // combination.
    QFETCH(QString, game);
    const Game &rules = *FindGame(game);
    for (int v = FewestChosen(rules); v <= MostChosen; ++v) {
        for (const Guarantee guarantee : Guarantees(rules)) {
            const std::vector<Block> blocks = ShippedWheel(rules, v, guarantee);
            const QString cell = u"%1 numbers, %2/%3"_s.arg(v).arg(guarantee.t).arg(guarantee.m);
            QVERIFY2(!blocks.empty(), qPrintable(cell));
            QVERIFY2(WheelMatches(v, rules.drawn, blocks).coverage(guarantee).holes == 0,
                qPrintable(cell));
            QVERIFY2(qint64(blocks.size()) >= LowerBound(v, rules.drawn, guarantee)
                    && qint64(blocks.size()) <= Binomial(v, rules.drawn),
                qPrintable(cell));
            const auto target = targets.find({v, guarantee.t, guarantee.m});
            if (&rules == &Loto6() && target != targets.end())
                QVERIFY2(int(blocks.size()) <= target->second,
                    qPrintable(cell + u": %1"_s.arg(blocks.size())));
        }
    }
    QCOMPARE(qint64(ShippedWheel(rules, 20, {rules.drawn, rules.drawn}).size()),
        Binomial(20, rules.drawn));
}

void tst_Wheels::groups_data()
{
    QTest::addColumn<int>("v");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("order"); // 0: not among the groups
    QTest::newRow("shift on all") << 20 << u"Z20"_s << 20;
    QTest::newRow("shift with a point fixed") << 20 << u"Z19+1"_s << 19;
    QTest::newRow("multiplier of order 3") << 20 << u"Z19·7+1"_s << 57;
    QTest::newRow("every multiplier") << 20 << u"Z19·2+1"_s << 342;
    QTest::newRow("multiplier, composite") << 16 << u"Z15·2+1"_s << 60;
    QTest::newRow("five fixed, the most") << 20 << u"Z15+5"_s << 15;
    QTest::newRow("six fixed, too many") << 20 << u"Z14+6"_s << 0;
    QTest::newRow("multiplier of order 9") << 20 << u"Z19·4+1"_s << 171;
    QTest::newRow("a multiplier's powers once") << 20 << u"Z19·11+1"_s << 0;
    QTest::newRow("cycles at once") << 20 << u"4×Z5"_s << 5;
    QTest::newRow("cycles turned round") << 20 << u"Z5×Z4"_s << 20;
    QTest::newRow("cycles and fixed") << 15 << u"4×Z3+3"_s << 3;
    QTest::newRow("an involution") << 15 << u"7×Z2+1"_s << 2;
    QTest::newRow("pairs turned round") << 15 << u"Z2×Z6+3"_s << 12;
    QTest::newRow("cycles, a multiplier") << 20 << u"4×Z5·2"_s << 20;
    QTest::newRow("cycles turned, a multiplier") << 20 << u"Z5×Z4·4"_s << 40;
    QTest::newRow("cycles, the same multiplier") << 20 << u"4×Z5·3"_s << 0;
    QTest::newRow("no symmetry") << 12 << u"1"_s << 1;
    QTest::newRow("projective") << 20 << u"PSL2(19)"_s << 3420;
    QTest::newRow("projective, all") << 20 << u"PGL2(19)"_s << 6840;
    QTest::newRow("projective and fixed") << 20 << u"PSL2(17)+2"_s << 2448;
    QTest::newRow("projective, too many fixed") << 20 << u"PSL2(13)+6"_s << 0;
    QTest::newRow("projective, small") << 12 << u"PGL2(11)+0"_s << 0;
    QTest::newRow("projective on 12") << 12 << u"PGL2(11)"_s << 1320;
    QTest::newRow("field of 16, translations") << 16 << u"F16·1"_s << 16;
    QTest::newRow("field of 16, affine") << 16 << u"F16·15"_s << 240;
    QTest::newRow("field of 16, its automorphism") << 16 << u"F16·15·φ"_s << 960;
    QTest::newRow("field of 16, fifth powers") << 16 << u"F16·5"_s << 80;
    QTest::newRow("field of 16, fixed") << 20 << u"F16·3+4"_s << 48;
    QTest::newRow("field of 9, affine") << 9 << u"F9·8·φ"_s << 144;
    QTest::newRow("field of 4") << 9 << u"F4·3·φ+5"_s << 24;
    QTest::newRow("field of 9, two copies") << 20 << u"2×F9·1+2"_s << 9;
    QTest::newRow("field of 9, two copies, all") << 19 << u"2×F9·8·φ+1"_s << 144;
    QTest::newRow("field of 4, five copies") << 20 << u"5×F4·3"_s << 12;
    QTest::newRow("field of 4, too few copies") << 20 << u"3×F4·3+8"_s << 0;
    QTest::newRow("a prime field, among the shifts") << 13 << u"F13·12"_s << 0;
    QTest::newRow("not a field") << 12 << u"F12·11"_s << 0;
    QTest::newRow("line over 9") << 10 << u"PSL2(F9)"_s << 360;
    QTest::newRow("line over 9, all") << 10 << u"PGL2(F9)"_s << 720;
    QTest::newRow("line over 9, automorphism") << 10 << u"PGL2(F9)·φ"_s << 1440;
    QTest::newRow("line over 8") << 9 << u"PGL2(F8)·φ"_s << 1512;
    QTest::newRow("line over 8, no PSL apart") << 9 << u"PSL2(F8)"_s << 0;
    QTest::newRow("line over 16") << 18 << u"PGL2(F16)+1"_s << 4080;
    QTest::newRow("line over 4") << 5 << u"PGL2(F4)·φ"_s << 120;
    QTest::newRow("cycles of two lengths") << 15 << u"Z6=6+6+3"_s << 6;
    QTest::newRow("two lengths, all positions") << 20 << u"Z12=12+4+4"_s << 12;
    QTest::newRow("two lengths, five fixed") << 15 << u"Z6=6+2+2+1+1+1+1+1"_s << 6;
    QTest::newRow("two lengths, six fixed") << 15 << u"Z6=6+3+1+1+1+1+1+1"_s << 0;
    QTest::newRow("lengths not dividing") << 20 << u"Z99=11+9"_s << 99;
    QTest::newRow("three lengths") << 15 << u"Z12=4+3+2+2+2+1+1"_s << 12;
    QTest::newRow("named by the order") << 15 << u"Z6=6+4+4+1"_s << 0;
    QTest::newRow("one length, named as cycles") << 15 << u"Z5=5+5+5"_s << 0;
}

void tst_Wheels::groups()
{
    // The groups a search tries, each of the order its generators make, of permutations that
    // leave every position from v on in place.
    QFETCH(int, v);
    QFETCH(QString, name);
    QFETCH(int, order);
    static std::map<int, std::vector<PositionGroup>> searched;
    if (!searched.contains(v))
        searched[v] = SearchGroups(v, 7000);
    const std::vector<PositionGroup> &groups = searched[v];
    QCOMPARE(groups.front().name, u"1"_s);
    const auto found = std::ranges::find(groups, name, &PositionGroup::name);
    QCOMPARE(found == groups.end() ? 0 : int(found->elements.size()), order);
    if (found == groups.end())
        return;
    std::set<Permutation> distinct(found->elements.begin(), found->elements.end());
    QCOMPARE(int(distinct.size()), order);
    QVERIFY(distinct.contains(Identity()));
    for (const Permutation &element : found->elements) {
        QCOMPARE(ImageOf(element, (Block(1) << v) - 1), (Block(1) << v) - 1);
        // Closed under products, where checking every pair is quick.
        for (const Permutation &other :
            order <= 400 ? found->elements : std::vector<Permutation> {}) {
            Permutation product {};
            for (std::size_t x = 0; x < product.size(); ++x)
                product[x] = element[other[x]];
            QVERIFY(distinct.contains(product));
        }
    }
    // A group named by its cycles moves the positions in cycles of those lengths.
    if (name.contains(u'=')) {
        std::vector<int> lengths;
        for (int x = 0; x < v; ++x) {
            const auto moved = std::ranges::count_if(found->elements,
                [&](const Permutation &element) { return element[std::size_t(x)] != x; });
            lengths.push_back(int(order / (order - moved)));
        }
        QStringList named = name.section(u'=', 1).split(u'+');
        std::vector<int> expected;
        for (const QString &length : named) {
            for (int copy = 0; copy < length.toInt(); ++copy)
                expected.push_back(length.toInt());
        }
        QCOMPARE(lengths, expected);
    }
    QVERIFY(std::ranges::none_of(SearchGroups(v, 50),
        [](const PositionGroup &group) { return group.elements.size() > 50; }));
}

void tst_Wheels::coverSearch_data()
{
    QTest::addColumn<QString>("game");
    QTest::addColumn<int>("v");
    QTest::addColumn<QString>("guarantee");
    QTest::addColumn<QString>("group");
    QTest::addColumn<int>("most"); // tickets
    QTest::newRow("loto6 10 3/3") << u"loto6"_s << 10 << u"3/3"_s << u"1"_s << 10;
    QTest::newRow("loto6 12 4/4") << u"loto6"_s << 12 << u"4/4"_s << u"1"_s << 41;
    QTest::newRow("loto6 15 4/4 cycles") << u"loto6"_s << 15 << u"4/4"_s << u"5×Z3"_s << 140;
    QTest::newRow("loto6 13 4/4 shift") << u"loto6"_s << 13 << u"4/4"_s << u"Z13"_s << 78;
    QTest::newRow("loto6 10 4/5") << u"loto6"_s << 10 << u"4/5"_s << u"1"_s << 7;
    QTest::newRow("loto6 12 5/6 fixed") << u"loto6"_s << 12 << u"5/6"_s << u"Z11+1"_s << 55;
    QTest::newRow("loto7 11 5/5") << u"loto7"_s << 11 << u"5/5"_s << u"Z11"_s << 44;
    QTest::newRow("miniloto 12 4/4") << u"miniloto"_s << 12 << u"4/4"_s << u"1"_s << 115;
    // Enough tickets that the search keeps its chosen ones in order, to the same end.
    QTest::newRow("loto7 17 6/6 many") << u"loto7"_s << 17 << u"6/6"_s << u"1"_s << 2473;
}

void tst_Wheels::coverSearch()
{
    // A few hundred steps reach the size, with a design that is whole and that every element of
    // the group maps onto itself. Searched again from it, the design never grows.
    QFETCH(QString, game);
    QFETCH(int, v);
    QFETCH(QString, guarantee);
    QFETCH(QString, group);
    QFETCH(int, most);
    const Game &rules = *FindGame(game);
    const Guarantee wanted = *ParseGuarantee(rules, guarantee);
    const std::vector<PositionGroup> groups = SearchGroups(v, 1000);
    const auto symmetry = std::ranges::find(groups, group, &PositionGroup::name);
    QVERIFY(symmetry != groups.end());
    int asked = 0;
    const auto steps = [&](int) { return ++asked < 200; };
    const std::vector<Block> blocks
        = SearchCover({v, rules.drawn, wanted, 3, {}}, *symmetry, steps);
    QVERIFY2(int(blocks.size()) <= most, qPrintable(QString::number(blocks.size())));
    QCOMPARE(WheelMatches(v, rules.drawn, blocks).coverage(wanted).holes, 0);
    const std::set<Block> design(blocks.begin(), blocks.end());
    QCOMPARE(design.size(), blocks.size());
    for (const Block block : blocks) {
        QCOMPARE(std::popcount(block), rules.drawn);
        for (const Permutation &element : symmetry->elements)
            QVERIFY(design.contains(ImageOf(element, block)));
    }
    asked = 0;
    const std::vector<Block> again
        = SearchCover({v, rules.drawn, wanted, 4, blocks}, groups.front(), steps);
    QVERIFY(again.size() <= blocks.size());
    QCOMPARE(WheelMatches(v, rules.drawn, again).coverage(wanted).holes, 0);
}

void tst_Wheels::fewerExist_data()
{
    QTest::addColumn<QString>("game");
    QTest::addColumn<int>("v");
    QTest::addColumn<QString>("guarantee");
    QTest::addColumn<int>("tickets");
    QTest::addColumn<int>("answer"); // 0: none fewer, 1: fewer exist, -1: not within the steps
    QTest::newRow("at the bound") << u"loto6"_s << 9 << u"3/5"_s << 2 << 0;
    QTest::newRow("one above the bound") << u"loto6"_s << 8 << u"3/4"_s << 3 << 0;
    QTest::newRow("one above the best") << u"loto6"_s << 8 << u"3/4"_s << 4 << 1;
    QTest::newRow("the first ticket alone") << u"loto6"_s << 8 << u"3/6"_s << 2 << 1;
    QTest::newRow("second ticket apart") << u"loto6"_s << 12 << u"3/6"_s << 3 << 1;
    QTest::newRow("second ticket sharing one") << u"loto6"_s << 11 << u"3/6"_s << 3 << 1;
    QTest::newRow("loto7, above the bound") << u"loto7"_s << 10 << u"3/3"_s << 6 << 0;
    QTest::newRow("miniloto, above the bound") << u"miniloto"_s << 7 << u"3/4"_s << 3 << 0;
    QTest::newRow("too many steps") << u"loto6"_s << 12 << u"4/4"_s << 41 << -1;
}

void tst_Wheels::fewerExist()
{
    // Whether fewer tickets can give the guarantee, against every pair of tickets where the
    // question is about one or two.
    QFETCH(QString, game);
    QFETCH(int, v);
    QFETCH(QString, guarantee);
    QFETCH(int, tickets);
    QFETCH(int, answer);
    const Game &rules = *FindGame(game);
    const Guarantee wanted = *ParseGuarantee(rules, guarantee);
    const std::optional<bool> fewer = FewerExist(v, rules.drawn, wanted, tickets, 200'000);
    QCOMPARE(fewer ? int(*fewer) : -1, answer);
    if (tickets > 3)
        return;
    const std::vector<Block> all = subsetsOf(v, rules.drawn);
    bool found = false;
    for (const Block first : all) {
        for (const Block second : all) {
            if (tickets - 1 == 1 && second != first)
                continue;
            found = found
                || WheelMatches(v, rules.drawn, {first, second}).coverage(wanted).holes == 0;
        }
    }
    QCOMPARE(found, answer == 1);
}

void tst_Wheels::sizesDocumented()
{
    // The README and the help page show each game's sizes as they are: the shipped designs, the
    // records, the bounds and the proofs. Every cell is at its record up to 15 numbers and at
    // most 5% above it from 16, but for the cells still searched for.
    const auto read = [](const QString &path) {
        QFile file(QStringLiteral(NMR_TEST_DATA "/../../") + path);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    };
    const WheelRecords records = ReadWheelRecords(read(u"src/wheels/records.txt"_s));
    QCOMPARE(records.size(), std::size_t(124));
    const QString readme = read(u"README.md"_s);
    const QString help = read(u"help/_RESOURCE/wheel.htm"_s);
    // Cells still above their targets: game, v and t = m (searched for further, issue 35).
    const std::set<std::tuple<QString, int, int>> searchedFor {
        {u"loto6"_s, 15, 5}, {u"loto7"_s, 19, 6}, {u"miniloto"_s, 14, 4}, {u"miniloto"_s, 15, 4}};
    for (const Game *game : Games()) {
        const std::vector<WheelSize> sizes = WheelSizes(*game, records, ProofSteps);
        QVERIFY2(readme.contains(WheelSizesMarkdown(sizes)), qPrintable(game->key));
        QVERIFY2(help.contains(WheelSizesHtml(sizes)), qPrintable(game->key));
        for (const WheelSize &size : sizes) {
            const QString cell = u"%1 %2 %3/%4: %5"_s.arg(game->key)
                                     .arg(size.v)
                                     .arg(size.guarantee.t)
                                     .arg(size.guarantee.m)
                                     .arg(size.shipped);
            QCOMPARE(size.record.has_value(), size.guarantee.t == size.guarantee.m);
            if (!size.record || searchedFor.contains({game->key, size.v, size.guarantee.t}))
                continue;
            QVERIFY2(size.shipped <= (size.v <= 15 ? *size.record : *size.record * 105 / 100),
                qPrintable(cell));
        }
    }
}

void tst_Wheels::searchTool_data()
{
    // FILE in the arguments stands for the table's file, FOLDER for the folder it is in. A search
    // stops once a design is as small as the bound allows, long before its time is up.
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("start"); // the table's file before, none when null
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("printed");
    QTest::addColumn<int>("v"); // of the design the file must hold whole after, 0 for none
    QTest::addColumn<QString>("guarantee");
    QTest::addColumn<int>("most"); // tickets
    QTest::newRow("at the bound at once")
        << QStringList {u"loto6"_s, u"FILE"_s, u"2000"_s, u"1"_s, u"8:3/3"_s} << QString() << 0
        << u"8 3/3: 4 tickets (bound 4)"_s << 8 << u"3/3"_s << 4;
    QTest::newRow("a start not whole is dropped")
        << QStringList {u"loto6"_s, u"FILE"_s, u"2000"_s, u"1"_s, u"8:3/3"_s} << u"8 3 3 abcdef\n"_s
        << 0 << u"8 3/3: 4 tickets"_s << 8 << u"3/3"_s << 4;
    // A design of Loto 7 15 3/3 at the bound.
    const QString atBound
        = u"15 3 3 bdegijk aefghkn bfghjmo ahijklm abcgjln cegklmo bdfklmn abcdhko adefjlo behilno cdfghil adgimno cfijkno abcefim cdehjmn\n"_s;
    QTest::newRow("a design at the bound kept at once")
        << QStringList {u"loto7"_s, u"FILE"_s, u"2000"_s, u"1"_s, u"15:3/3"_s} << atBound << 0
        << u"15 3/3: 15 tickets (bound 15), shipped, "_s << 15 << u"3/3"_s << 15;
    QTest::newRow("searched afresh, the smaller design in the file kept")
        << QStringList {u"loto7"_s, u"FILE"_s, u"0"_s, u"1"_s, u"15:3/3"_s, u"--groups=none"_s,
               u"--afresh"_s}
        << atBound << 0 << u"15 3/3: 15 tickets (bound 15), shipped (this search: "_s << 15
        << u"3/3"_s << 15;
    QTest::newRow("searched afresh, as small as the file's")
        << QStringList {u"miniloto"_s, u"FILE"_s, u"1"_s, u"2"_s, u"9:3/3"_s, u"--groups=none"_s,
               u"--afresh"_s}
        << u"9 3 3 abcdh cdegi afghi abcef adegh bdfgi cefhi adefi bdehi abcgi cdfgh befgh\n"_s << 0
        << u"9 3/3: 12 tickets (bound 11), shipped (this search: 12)"_s << 9 << u"3/3"_s << 12;
    std::vector<Block> everyTicket;
    ForEachSubset(12, 6, [&](Block ticket) { everyTicket.push_back(ticket); });
    QTest::newRow("a whole design searched further")
        << QStringList {u"loto6"_s, u"FILE"_s, u"3"_s, u"1"_s, u"12:4/4"_s}
        << WheelTableText({{{12, 4, 4}, everyTicket}}) << 0 << u"12 4/4: 41 tickets"_s << 12
        << u"4/4"_s << 41;
    std::vector<Block> everyEight;
    ForEachSubset(8, 6, [&](Block ticket) { everyEight.push_back(ticket); });
    QTest::newRow("annealed at a temperature")
        << QStringList {u"loto6"_s, u"FILE"_s, u"2000"_s, u"1"_s, u"8:3/3"_s, u"--groups=none"_s,
               u"--anneal=0.3"_s}
        << WheelTableText({{{8, 3, 3}, everyEight}}) << 0
        << u"8 3/3: 4 tickets (bound 4), shipped, then annealing at 0.3, "_s << 8 << u"3/3"_s << 4;
    QTest::newRow("a temperature of 0")
        << QStringList {u"loto6"_s, u"FILE"_s, u"1"_s, u"1"_s, u"8:3/3"_s, u"--anneal=0"_s}
        << QString() << 2 << u"usage"_s << 0 << QString() << 0;
    QTest::newRow("a temperature with a letter o for its zero")
        << QStringList {u"loto6"_s, u"FILE"_s, u"1"_s, u"1"_s, u"8:3/3"_s, u"--anneal=o.3"_s}
        << QString() << 2 << u"usage"_s << 0 << QString() << 0;
    QTest::newRow("a group named")
        << QStringList {u"miniloto"_s, u"FILE"_s, u"1"_s, u"2"_s, u"9:3/3"_s, u"--groups=Z9"_s}
        << QString() << 0 << u"9 3/3: 12 tickets (bound 11), Z9"_s << 9 << u"3/3"_s << 12;
    QTest::newRow("none in the file, no symmetry")
        << QStringList {u"miniloto"_s, u"FILE"_s, u"1"_s, u"2"_s, u"9:3/3"_s, u"--groups=none"_s}
        << QString() << 0 << u"9 3/3: 12 tickets (bound 11), 1,"_s << 9 << u"3/3"_s << 12;
    QTest::newRow("a file that cannot be written")
        << QStringList {u"loto6"_s, u"FOLDER"_s, u"1"_s, u"1"_s, u"8:3/3"_s} << QString() << 1
        << u"cannot write"_s << 0 << QString() << 0;
    QTest::newRow("a folder, and nothing more")
        << QStringList {u"loto6"_s, u"FOLDER"_s} << QString() << 1 << u"cannot write"_s << 0
        << QString() << 0;
    QTest::newRow("no such game") << QStringList {u"loto8"_s, u"FILE"_s} << QString() << 2
                                  << u"usage"_s << 0 << QString() << 0;
    QTest::newRow("no file") << QStringList {u"loto6"_s} << QString() << 2 << u"usage"_s << 0
                             << QString() << 0;
    QTest::newRow("records unreadable") << QStringList {u"--table"_s, u"FILE"_s} << QString() << 1
                                        << u"cannot read"_s << 0 << QString() << 0;
}

void tst_Wheels::searchTool()
{
    // The offline search, run as anyone would: the file it writes holds whole designs only.
    QFETCH(QStringList, arguments);
    QFETCH(QString, start);
    QFETCH(int, status);
    QFETCH(QString, printed);
    QFETCH(int, v);
    QFETCH(QString, guarantee);
    QFETCH(int, most);
    QTemporaryDir folder;
    const QString path = folder.filePath(u"wheels.txt"_s);
    if (!start.isNull()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(start.toUtf8());
    }
    arguments.replaceInStrings(u"FILE"_s, path);
    arguments.replaceInStrings(u"FOLDER"_s, folder.path());
    QProcess tool;
    tool.start(QStringLiteral(NMR_SEARCHWHEELS), arguments);
    QVERIFY(tool.waitForFinished(60'000));
    QCOMPARE(tool.exitCode(), status);
    QVERIFY2(
        (tool.readAllStandardOutput() + tool.readAllStandardError()).contains(printed.toUtf8()),
        qPrintable(printed));
    if (v == 0)
        return;
    const Game &game = *FindGame(arguments[0]);
    const Guarantee wanted = *ParseGuarantee(game, guarantee);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const WheelTable table = ReadWheelTable(QString::fromUtf8(file.readAll()));
    const auto found = table.find({v, wanted.t, wanted.m});
    QVERIFY(found != table.end());
    const std::vector<Block> &design = found->second;
    QVERIFY(!design.empty() && int(design.size()) <= most);
    QVERIFY(std::ranges::all_of(
        design, [&](Block ticket) { return std::popcount(ticket) == game.drawn; }));
    QCOMPARE(WheelMatches(v, game.drawn, design).coverage(wanted).holes, 0);
}

QTEST_GUILESS_MAIN(tst_Wheels)
#include "tst_wheels.moc"
