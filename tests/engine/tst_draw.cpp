#include "common/files.h"
#include "engine/draw.h"
#include "engine/resultlog.h"
#include "engine/uniformsource.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <map>

using namespace Qt::StringLiterals;

namespace {

const LevelString eights(NumberCount, u'8');
const LevelString zeros(NumberCount, u'0');

// Tolerance for a count or share: five standard deviations of a binomial over the draws.
double fiveSigma(double draws, double p)
{
    return 5 * std::sqrt(draws * p * (1 - p));
}

// Unweighted picks, as when the levels are off or every level is 0: a candidate is number 1 or
// 43 with probability 1/84 each and any other number with 1/42, and a repeated number is drawn
// again. Walks the chain over (end numbers drawn, middle numbers drawn) to give each number's
// chance of being among the six.
std::pair<double, double> inclusionOfEndAndMiddle()
{
    std::map<std::pair<int, int>, double> states {{{0, 0}, 1.0}};
    for (int drawnSoFar = 0; drawnSoFar < 6; ++drawnSoFar) {
        std::map<std::pair<int, int>, double> next;
        for (const auto &[state, p] : states) {
            const auto [ends, middles] = state;
            const double endWeight = 2 - ends;
            const double middleWeight = 2.0 * (41 - middles);
            const double total = endWeight + middleWeight;
            if (ends < 2)
                next[{ends + 1, middles}] += p * endWeight / total;
            next[{ends, middles + 1}] += p * middleWeight / total;
        }
        states = std::move(next);
    }
    double ends = 0;
    double middles = 0;
    for (const auto &[state, p] : states) {
        ends += p * state.first;
        middles += p * state.second;
    }
    return {ends / 2, middles / 41};
}

// Six middle numbers at level 15, all others at 0. An attempt hits a favourite with chance
// 6/42, and a pick of n + 1 attempts falls back to a level-0 number only when all miss. The
// draw returns exactly the favourites when every new number it adds is a favourite.
double shareOfFavouritesOnly(int strength)
{
    // n = round(v + (2v + 5) r): each whole value in v..3v+5 is equally likely, the two
    // ends half as likely.
    const int lowest = strength;
    const int highest = 3 * strength + 5;
    double hit = 0;
    for (int n = lowest; n <= highest; ++n) {
        const double weight = (n == lowest || n == highest ? 0.5 : 1.0) / (2 * strength + 5);
        hit += weight * (1 - std::pow(6.0 / 7.0, n + 1));
    }
    double share = 1;
    for (int favouritesDrawn = 0; favouritesDrawn < 6; ++favouritesDrawn) {
        const double newFavourite = hit * (6 - favouritesDrawn) / 6;
        share *= newFavourite / (newFavourite + (1 - hit));
    }
    return share;
}

} // namespace

class tst_Draw : public QObject
{
    Q_OBJECT

private slots:
    void resultShape_data();
    void resultShape();
    void unweightedDistribution_data();
    void unweightedDistribution();
    void favourites_data();
    void favourites();
    void birthdayBonus_data();
    void birthdayBonus();
    void birthdayBonusRange();
    void logLine();
    void appendLog();
    void appendLogIgnoresFailures();
};

void tst_Draw::resultShape_data()
{
    QTest::addColumn<QString>("levels");
    QTest::addColumn<bool>("levelsOn");
    QTest::addColumn<int>("strength");

    QTest::newRow("levels off") << eights << false << 5;
    QTest::newRow("default levels, strength 0") << eights << true << 0;
    QTest::newRow("default levels, strength 15") << eights << true << 15;
    QTest::newRow("every level 0") << zeros << true << 15;
    QTest::newRow("every level 15") << QString(NumberCount, u'F') << true << 15;
    QTest::newRow("short, odd level text") << u"F0z"_s << true << 7;
}

void tst_Draw::resultShape()
{
    QFETCH(QString, levels);
    QFETCH(bool, levelsOn);
    QFETCH(int, strength);

    static const QRegularExpression shape(u"^\\d\\d( \\d\\d){5}$"_s);
    UniformSource random(7);
    const DrawInput input {levels, u"11225"_s, levelsOn, strength};
    for (int i = 0; i < 3000; ++i) {
        const DrawResult result = DrawNumbers(input, random);
        QVERIFY2(shape.match(result.text).hasMatch(), qPrintable(result.text));
        QCOMPARE(result.text.size(), 17);
        for (std::size_t k = 0; k < result.numbers.size(); ++k) {
            QVERIFY(result.numbers[k] >= 1 && result.numbers[k] <= NumberCount);
            QVERIFY(k == 0 || result.numbers[k - 1] < result.numbers[k]);
            QCOMPARE(result.text.mid(3 * qsizetype(k), 2).toInt(), result.numbers[k]);
        }
    }
}

void tst_Draw::unweightedDistribution_data()
{
    QTest::addColumn<QString>("levels");
    QTest::addColumn<QString>("birthday");
    QTest::addColumn<bool>("levelsOn");

    QTest::newRow("levels off, profile and birthday ignored")
        << u"F0F0F0F0F0"_s << u"10101"_s << false;
    QTest::newRow("levels on, every level 0") << zeros << u"00000"_s << true;
}

void tst_Draw::unweightedDistribution()
{
    QFETCH(QString, levels);
    QFETCH(QString, birthday);
    QFETCH(bool, levelsOn);

    constexpr int draws = 40'000;
    UniformSource random(2026);
    const DrawInput input {levels, birthday, levelsOn, 15};
    std::array<int, NumberCount + 1> counts {};
    for (int i = 0; i < draws; ++i) {
        for (const int number : DrawNumbers(input, random).numbers)
            ++counts[number];
    }

    const auto [end, middle] = inclusionOfEndAndMiddle();
    QVERIFY(end / middle > 0.5 && end / middle < 0.53); // "about half as often"
    for (int number = 1; number <= NumberCount; ++number) {
        const double p = number == 1 || number == NumberCount ? end : middle;
        QVERIFY2(std::abs(counts[number] - draws * p) < fiveSigma(draws, p),
            qPrintable(u"number %1 came up %2 times, expected %3"_s.arg(number)
                           .arg(counts[number])
                           .arg(draws * p)));
    }
}

void tst_Draw::favourites_data()
{
    QTest::addColumn<int>("strength");

    QTest::newRow("strength 0") << 0;
    QTest::newRow("strength 5") << 5;
    QTest::newRow("strength 15") << 15;
}

void tst_Draw::favourites()
{
    QFETCH(int, strength);

    LevelString levels = zeros;
    const std::array<int, 6> favourites {5, 11, 17, 23, 29, 35};
    for (const int number : favourites)
        levels[number - 1] = u'F';

    constexpr int draws = 20'000;
    UniformSource random(43);
    const DrawInput input {levels, u"00000"_s, true, strength};
    int onlyFavourites = 0;
    for (int i = 0; i < draws; ++i)
        onlyFavourites += DrawNumbers(input, random).numbers == favourites ? 1 : 0;

    const double expected = shareOfFavouritesOnly(strength);
    const double tolerance = fiveSigma(draws, expected) / draws + 1.0 / draws;
    QVERIFY2(std::abs(double(onlyFavourites) / draws - expected) < tolerance,
        qPrintable(u"share %1, expected %2"_s.arg(double(onlyFavourites) / draws).arg(expected)));
}

void tst_Draw::birthdayBonus_data()
{
    QTest::addColumn<QString>("levels");
    QTest::addColumn<QString>("birthday");
    QTest::addColumn<bool>("levelsOn");
    QTest::addColumn<QString>("expected");

    // At strength 0 every bonus is exactly +1.
    auto with = [](QString levels, std::initializer_list<std::pair<int, char16_t>> changes) {
        for (const auto &[number, digit] : changes)
            levels[number - 1] = QChar(digit);
        return levels;
    };
    QTest::newRow("1 January raises 1 and 2 twice")
        << eights << u"10101"_s << true << with(eights, {{1, u'A'}, {2, u'A'}});
    QTest::newRow("25 December") << eights << u"11225"_s << true
                                 << with(eights, {{12, u'9'}, {25, u'9'}, {37, u'9'}, {10, u'9'}});
    QTest::newRow("level 15 stays 15")
        << QString(NumberCount, u'F') << u"11225"_s << true << QString(NumberCount, u'F');
    QTest::newRow("flag 0") << eights << u"01225"_s << true << eights;
    QTest::newRow("levels off") << eights << u"11225"_s << false << eights;
    QTest::newRow("nothing chosen") << eights << u"10000"_s << true << eights;
    QTest::newRow("day only: the month is skipped")
        << eights << u"10015"_s << true << with(eights, {{15, u'A'}, {6, u'9'}});
    QTest::newRow("numbers above 43 change nothing")
        << eights << u"19900"_s << true << with(eights, {{18, u'9'}});
    QTest::newRow("short text padded with level 0")
        << u"8"_s << u"10101"_s << true << with(zeros, {{1, u'A'}, {2, u'2'}});
    QTest::newRow("lower-case level rewritten upper-case")
        << u"a"_s + eights.mid(1) << u"10101"_s << true << with(eights, {{1, u'C'}, {2, u'A'}});
    QTest::newRow("field that is no number")
        << eights << u"1x1y5"_s << true << with(eights, {{6, u'9'}});
}

void tst_Draw::birthdayBonus()
{
    QFETCH(QString, levels);
    QFETCH(QString, birthday);
    QFETCH(bool, levelsOn);
    QFETCH(QString, expected);

    UniformSource random(1);
    QCOMPARE(WithBirthdayBonus({levels, birthday, levelsOn, 0}, random), expected);
}

void tst_Draw::birthdayBonusRange()
{
    // At strength 15 one bonus on level 8 gives round(9 + 7.5 r): 9 to 16.5, held at 15.
    UniformSource random(99);
    std::map<int, int> seen;
    for (int i = 0; i < 2000; ++i)
        ++seen[LevelAt(WithBirthdayBonus({eights, u"11225"_s, true, 15}, random), 25)];
    QCOMPARE(seen.begin()->first, 9);
    QCOMPARE(seen.rbegin()->first, 15);
    QVERIFY(seen[15] > seen[14]); // 15 also takes everything that would go above it
}

void tst_Draw::logLine()
{
    const QDateTime when(QDate(2026, 12, 5), QTime(23, 41, 7));
    QCOMPARE(LogLine(when, u"03 11 19 27 38 42"_s), "26/12/05 23:41:07 | 03 11 19 27 38 42\r\n"_ba);
    const QDateTime morning(QDate(2001, 2, 3), QTime(4, 5, 6));
    QCOMPARE(
        LogLine(morning, u"01 02 03 04 05 43"_s), "01/02/03 04:05:06 | 01 02 03 04 05 43\r\n"_ba);
}

void tst_Draw::appendLog()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"nmr.log"_s);
    const QDateTime when(QDate(2026, 12, 5), QTime(23, 41, 7));

    AppendLogLine(path, when, u"03 11 19 27 38 42"_s);
    AppendLogLine(path, when.addSecs(1), u"01 02 03 04 05 06"_s);

    QCOMPARE(readFile(path),
        "26/12/05 23:41:07 | 03 11 19 27 38 42\r\n"
        "26/12/05 23:41:08 | 01 02 03 04 05 06\r\n"_ba);
}

void tst_Draw::appendLogIgnoresFailures()
{
    QTemporaryDir dir;
    const QString directory = dir.filePath(u"a-directory"_s);
    QVERIFY(QDir().mkpath(directory));
    const QString plain = dir.filePath(u"plain"_s);
    QVERIFY(writeFile(plain, "keep"));

    AppendLogLine(directory, QDateTime::currentDateTime(), u"01 02 03 04 05 06"_s);
    AppendLogLine(plain + u"/nmr.log"_s, QDateTime::currentDateTime(), u"01 02 03 04 05 06"_s);

    QVERIFY(QFileInfo(directory).isDir());
    QCOMPARE(readFile(plain), "keep"_ba);
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
        (QStringList {u"a-directory"_s, u"plain"_s}));
}

QTEST_GUILESS_MAIN(tst_Draw)
#include "tst_draw.moc"
