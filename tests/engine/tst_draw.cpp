#include "common/files.h"
#include "engine/draw.h"
#include "engine/resultlog.h"
#include "engine/uniformsource.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <map>

using namespace Qt::StringLiterals;

namespace {

const LevelString eights(NumberCount, u'8');
const LevelString zeros(NumberCount, u'0');

// Within five standard deviations of a binomial share p over n draws.
bool nearShare(int count, int n, double p)
{
    return std::abs(count - n * p) < 5 * std::sqrt(n * p * (1 - p)) + 1;
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
    void appendLog();
};

void tst_Draw::resultShape_data()
{
    QTest::addColumn<QString>("levels");
    QTest::addColumn<bool>("levelsOn");
    QTest::addColumn<int>("strength");

    QTest::newRow("levels off") << eights << false << 5;
    QTest::newRow("default levels, strength 0") << eights << true << 0;
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
    for (int i = 0; i < 3000; ++i) {
        const DrawResult result = DrawNumbers({levels, u"11225"_s, levelsOn, strength}, random);
        QVERIFY2(shape.match(result.text).hasMatch(), qPrintable(result.text));
        QStringList numbers;
        for (const int number : result.numbers)
            numbers << u"%1"_s.arg(number, 2, 10, QChar(u'0'));
        QCOMPARE(numbers.join(u' '), result.text);
        const auto &drawn = result.numbers;
        QVERIFY(drawn.front() >= 1 && drawn.back() <= NumberCount);
        QVERIFY(
            std::adjacent_find(drawn.begin(), drawn.end(), std::greater_equal<>()) == drawn.end());
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

    // A candidate is 1 or 43 with chance 1/84 each and any other number with 1/42, and a number
    // already drawn is drawn again. Walking that chain over (end numbers drawn, others drawn)
    // for six picks gives each number's chance of being among the six: 0.073692 for 1 and 43,
    // 0.142747 for the others (2 x 0.073692 + 41 x 0.142747 = 6).
    constexpr double end = 0.0736915;
    constexpr double middle = 0.1427468;
    constexpr int draws = 40'000;
    UniformSource random(2026);
    std::array<int, NumberCount + 1> counts {};
    for (int i = 0; i < draws; ++i) {
        for (const int number : DrawNumbers({levels, birthday, levelsOn, 15}, random).numbers)
            ++counts[number];
    }
    for (int number = 1; number <= NumberCount; ++number) {
        const double p = number == 1 || number == NumberCount ? end : middle;
        QVERIFY2(nearShare(counts[number], draws, p),
            qPrintable(u"%1 came up %2 times"_s.arg(number).arg(counts[number])));
    }
}

void tst_Draw::favourites_data()
{
    // Six numbers at level 15, the others at 0. A pick of n + 1 attempts, n = round(v + (2v + 5)
    // r), ends on a favourite unless every attempt misses, (6/7)^(n + 1), since 6 of the 42 attempt
    // slots hit one; the six favourites are drawn when each new number is a favourite. Summing
    // over n (whole values v..3v+5, the ends half as likely) gives these shares.
    QTest::addColumn<int>("strength");
    QTest::addColumn<double>("share");

    QTest::newRow("strength 0") << 0 << 0.000204447;
    QTest::newRow("strength 5") << 5 << 0.122288022;
    QTest::newRow("strength 15") << 15 << 0.796223320;
}

void tst_Draw::favourites()
{
    QFETCH(int, strength);
    QFETCH(double, share);

    LevelString levels = zeros;
    const std::array<int, 6> favourites {5, 11, 17, 23, 29, 35};
    for (const int number : favourites)
        levels[number - 1] = u'F';
    constexpr int draws = 20'000;
    UniformSource random(43);
    int onlyFavourites = 0;
    for (int i = 0; i < draws; ++i)
        onlyFavourites
            += DrawNumbers({levels, u"00000"_s, true, strength}, random).numbers == favourites;
    QVERIFY2(nearShare(onlyFavourites, draws, share), qPrintable(QString::number(onlyFavourites)));
}

void tst_Draw::birthdayBonus_data()
{
    QTest::addColumn<QString>("levels");
    QTest::addColumn<QString>("birthday");
    QTest::addColumn<bool>("levelsOn");
    QTest::addColumn<QString>("raised"); // number=level pairs; at strength 0 a bonus is +1

    const QString fifteens(NumberCount, u'F');
    QTest::newRow("1 January raises 1 and 2 twice") << eights << u"10101"_s << true << u"1=A 2=A"_s;
    QTest::newRow("25 December") << eights << u"11225"_s << true << u"12=9 25=9 37=9 10=9"_s;
    QTest::newRow("31 December: 43 is the last")
        << eights << u"11231"_s << true << u"12=9 31=9 43=9 7=9"_s;
    QTest::newRow("level 15 stays 15") << fifteens << u"11225"_s << true << u""_s;
    QTest::newRow("flag 0") << eights << u"01225"_s << true << u""_s;
    QTest::newRow("flag 2 is even") << eights << u"21225"_s << true << u""_s;
    QTest::newRow("flag 3 is odd") << eights << u"30101"_s << true << u"1=A 2=A"_s;
    QTest::newRow("levels off") << eights << u"11225"_s << false << u""_s;
    QTest::newRow("nothing chosen") << eights << u"10000"_s << true << u""_s;
    QTest::newRow("day only: the month is skipped")
        << eights << u"10015"_s << true << u"15=A 6=9"_s;
    QTest::newRow("numbers above 43 change nothing") << eights << u"19900"_s << true << u"18=9"_s;
    QTest::newRow("short text padded with level 0") << u"8"_s << u"10101"_s << true << u"1=A 2=2"_s;
    QTest::newRow("lower-case level rewritten")
        << u"a"_s + eights.mid(1) << u"10101"_s << true << u"1=C 2=A"_s;
    QTest::newRow("field that is no number") << eights << u"1x1y5"_s << true << u"6=9"_s;
}

void tst_Draw::birthdayBonus()
{
    QFETCH(QString, levels);
    QFETCH(QString, birthday);
    QFETCH(bool, levelsOn);
    QFETCH(QString, raised);

    QString expected = levels.leftJustified(NumberCount, u'0');
    for (const QString &change : raised.split(u' ', Qt::SkipEmptyParts))
        expected[change.section(u'=', 0, 0).toInt() - 1] = change.back();
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

void tst_Draw::appendLog()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"nmr.log"_s);
    AppendLogLine(path, QDateTime(QDate(2026, 12, 5), QTime(23, 41, 7)), u"03 11 19 27 38 42"_s);
    AppendLogLine(path, QDateTime(QDate(2001, 2, 3), QTime(4, 5, 6)), u"01 02 03 04 05 43"_s);
    QCOMPARE(readFile(path),
        "26/12/05 23:41:07 | 03 11 19 27 38 42\r\n01/02/03 04:05:06 | 01 02 03 04 05 43\r\n"_ba);

    // Failures are ignored: a directory in the log's place, or a path below a file.
    QVERIFY(QDir().mkdir(dir.filePath(u"folder"_s)) && writeFile(dir.filePath(u"plain"_s), "keep"));
    AppendLogLine(dir.filePath(u"folder"_s), QDateTime::currentDateTime(), u"01 02 03 04 05 06"_s);
    AppendLogLine(
        dir.filePath(u"plain/nmr.log"_s), QDateTime::currentDateTime(), u"01 02 03 04 05 06"_s);
    QVERIFY(QFileInfo(dir.filePath(u"folder"_s)).isDir());
    QCOMPARE(readFile(dir.filePath(u"plain"_s)), "keep"_ba);
}

QTEST_GUILESS_MAIN(tst_Draw)
#include "tst_draw.moc"
