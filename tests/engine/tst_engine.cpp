#include "common/inifixture.h"
#include "engine/chance.h"
#include "engine/draw.h"
#include "engine/resultlog.h"
#include "engine/uniformsource.h"

#include <QDir>
#include <QTest>

#include <cmath>
#include <limits>
#include <numeric>

using namespace Qt::StringLiterals;

namespace {

const LevelString eights(NumberCount, u'8');
const LevelString zeros(NumberCount, u'0');

ProfileTable namedDefaults()
{
    ProfileTable table;
    for (int slot = 0; slot < ProfileCount; ++slot)
        table[slot] = {u"Setting"_s + QString::number(slot + 1), eights};
    return table;
}

// Within five standard deviations of a binomial share p over n draws.
bool nearShare(int count, int n, double p)
{
    return std::abs(count - n * p) < 5 * std::sqrt(n * p * (1 - p)) + 1;
}

// Six distinct numbers 1..43 in ascending order, shown as two digits each with single blanks.
bool wellFormed(const DrawResult &result)
{
    QStringList numbers;
    for (const int number : result.numbers)
        numbers << u"%1"_s.arg(number, 2, 10, QChar(u'0'));
    const auto &drawn = result.numbers;
    return numbers.join(u' ') == result.text && drawn.front() >= 1 && drawn.back() <= NumberCount
        && std::adjacent_find(drawn.begin(), drawn.end(), std::greater_equal<>()) == drawn.end();
}

} // namespace

class tst_Engine : public QObject
{
    Q_OBJECT

private slots:
    void levels();
    void nameRoundTrip_data();
    void nameRoundTrip();
    void activeProfile_data();
    void activeProfile();
    void birthdayBonus_data();
    void birthdayBonus();

    void appendLog();
    void logPaths_data();
    void logPaths();
    void chances_data();
    void chances();
};

void tst_Engine::levels()
{
    // Each end of the three digit ranges and the character just outside it, a blank, a fullwidth
    // digit and 7; places past the end read 0, and a 44th character is ignored.
    const QString edges = u"/09:@AFG`afg \uFF177"_s;
    QList<int> read;
    for (int number = 0; number <= edges.size() + 1; ++number)
        read << LevelAt(edges, number);
    QCOMPARE(read, (QList<int> {0, 0, 0, 9, 0, 0, 10, 15, 0, 0, 10, 15, 0, 0, 0, 7, 0}));
    QCOMPARE(CanonicalLevels(edges), u"00900AF00AF0007"_s + QString(28, u'0'));
    QCOMPARE(CanonicalLevels(QString(44, u'f')), QString(NumberCount, u'F'));

    // Leading digits that stand for more than an int saturate.
    QCOMPARE(LeadingDecimal(u"2147483646x"), 2147483646);
    QCOMPARE(LeadingDecimal(u"2147483648"), std::numeric_limits<int>::max());
    QCOMPARE(LeadingDecimal(u"99999999999999999999"), std::numeric_limits<int>::max());
}

void tst_Engine::nameRoundTrip_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("readBack");

    QTest::newRow("leading and trailing blank") << u" lucky "_s << u" lucky "_s;
    QTest::newRow("double quote inside") << u"my \"best\" set"_s << u"my \"best\" set"_s;
    QTest::newRow("ends in a double quote") << u"say \""_s << u"say \""_s;
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("blanks only") << u"   "_s << u"   "_s;
    QTest::newRow("line breaks") << u"A\r\nB\nC\rD"_s << u"A B C D"_s;
    QTest::newRow("Japanese with circled one") << u"誕生日①～"_s << u"誕生日①～"_s;
    QTest::newRow("cut after 210 bytes") << QString(250, u'n') << QString(210, u'n');
    QTest::newRow("漢 not split at cut") << QString(209, u'n') + u"漢字"_s << QString(209, u'n');
    QTest::newRow("what the code page lacks") << u"a\U0001F600b\u00E9"_s << u"a?b?"_s;
    QTest::newRow("a lone surrogate and line breaks")
        << QChar(0xDC00) + u"A\r\nB\rC"_s << u"?A B C"_s;
}

void tst_Engine::nameRoundTrip()
{
    QFETCH(QString, name);
    QFETCH(QString, readBack);

    IniFixture ini;
    ProfileTable table = namedDefaults();
    table[4] = {name, u"0123456789ABCDEF0123456789ABCDEF0123456789A"_s};
    WriteProfileTable(4, table, u"11225"_s);

    // What the rename box shows is what the file gives back.
    const StoredProfiles stored = ReadProfileTable();
    QCOMPARE(stored.profiles[4].name, readBack);
    QCOMPARE(StoreName(OneLineName(name)).name, readBack);
    QCOMPARE(stored.profiles[3], table[3]); // the next profile is read as it was written
}

void tst_Engine::activeProfile_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("levels");
    QTest::addColumn<QString>("birthday");

    const QString twos(NumberCount, u'2');
    QTest::newRow("no file") << QByteArray() << eights << u"00000"_s;
    QTest::newRow("chosen slot") << "PB=2\r\nBirthDay=11225"_ba << twos << u"11225"_s;
    QTest::newRow("low eight bits") << "PB=258"_ba << twos << u"00000"_s;
    QTest::newRow("-1: no slot") << "PB=-1\r\nPB255=1"_ba << u"1"_s << u"00000"_s;
    QTest::newRow("10: no slot") << "PB=10"_ba << eights << u"00000"_s;
    QTest::newRow("no index") << "PB0=0123456789abcdefZ"_ba << u"0123456789abcdefZ"_s << u"00000"_s;
}

void tst_Engine::activeProfile()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, levels);
    QFETCH(QString, birthday);

    // Slot 2 holds a named profile of level 2.
    IniFixture ini;
    if (!content.isNull())
        ini.setContent("[Probability]\r\nPB2=\"" + QByteArray(43, '2') + " Two\"\r\n" + content);
    const ActiveProfile active = ReadActiveProfile();
    QCOMPARE(QStringList({active.levels, active.birthday}), QStringList({levels, birthday}));
}

void tst_Engine::birthdayBonus_data()
{
    QTest::addColumn<QString>("levels");
    QTest::addColumn<QString>("birthday");
    QTest::addColumn<bool>("levelsOn");
    QTest::addColumn<QString>("raised"); // number=level pairs; at strength 0 a bonus is +1

    const QString fifteens(NumberCount, u'F');
    QTest::newRow("1 January raises 1 and 2 twice") << eights << u"10101"_s << true << u"1=A 2=A"_s;
    QTest::newRow("25 December") << eights << u"11225"_s << true << u"12=9 25=9 37=9 10=9"_s;
    QTest::newRow("31 December") << eights << u"11231"_s << true << u"12=9 31=9 43=9 7=9"_s;
    QTest::newRow("level 15 stays 15") << fifteens << u"11225"_s << true << u""_s;
    QTest::newRow("flag 0") << eights << u"01225"_s << true << u""_s;
    QTest::newRow("flag 2 is even") << eights << u"21225"_s << true << u""_s;
    QTest::newRow("flag 3 is odd") << eights << u"30101"_s << true << u"1=A 2=A"_s;
    QTest::newRow("levels off") << eights << u"11225"_s << false << u""_s;
    QTest::newRow("nothing chosen") << eights << u"10000"_s << true << u""_s;
    QTest::newRow("day only") << eights << u"10015"_s << true << u"15=A 6=9"_s;
    QTest::newRow("numbers above 43 change nothing") << eights << u"19900"_s << true << u"18=9"_s;
    QTest::newRow("short text padded with level 0") << u"8"_s << u"10101"_s << true << u"1=A 2=2"_s;
    QTest::newRow("lower case") << u"a"_s + eights.mid(1) << u"10101"_s << true << u"1=C 2=A"_s;
    QTest::newRow("field that is no number") << eights << u"1x1y5"_s << true << u"6=9"_s;
}

void tst_Engine::birthdayBonus()
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

void tst_Engine::appendLog()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"nmr.log"_s);
    AppendLogLine(path, QDateTime(QDate(2026, 12, 5), QTime(23, 41, 7)), u"03 11 19 27 38 42"_s);
    AppendLogLine(path, QDateTime(QDate(2001, 2, 3), QTime(4, 5, 6)), u"01 02 03 04 05 43"_s);
    const QByteArray twoLines
        = "26/12/05 23:41:07 | 03 11 19 27 38 42\r\n01/02/03 04:05:06 | 01 02 03 04 05 43\r\n";
    QCOMPARE(readFile(path), twoLines);
#ifdef Q_OS_UNIX
    // A line that does not fit on a full disk leaves the log as it was.
    onFullDisk(twoLines.size() + 20,
        [&] { AppendLogLine(path, QDateTime::currentDateTime(), u"01 02 03 04 05 06"_s); });
    QCOMPARE(readFile(path), twoLines);
#endif

    // Failures are ignored: a directory in the log's place, or a path below a file.
    QVERIFY(QDir().mkdir(dir.filePath(u"folder"_s)) && writeFile(dir.filePath(u"plain"_s), "keep"));
    AppendLogLine(dir.filePath(u"folder"_s), QDateTime::currentDateTime(), u"01 02 03 04 05 06"_s);
    AppendLogLine(
        dir.filePath(u"plain/nmr.log"_s), QDateTime::currentDateTime(), u"01 02 03 04 05 06"_s);
    QVERIFY(QFileInfo(dir.filePath(u"folder"_s)).isDir());
    QCOMPARE(readFile(dir.filePath(u"plain"_s)), "keep"_ba);
}

void tst_Engine::logPaths_data()
{
    // LogFile, LogViewer and whether it names a file, the private folder; then the log, the
    // copy and the viewer, in the program's folder /p/ and the private folder /r/.
    QTest::addColumn<QStringList>("given");
    QTest::addColumn<QStringList>("expected");

    auto row = [](const char *tag, QStringList given, QStringList expected) {
        QTest::newRow(tag) << given << expected;
    };
    row("defaults", {"", "", "", "/r/"}, {"/p/nmr.log", "/r/nmr.log", "xdg-open"});
    row("outside the folder", {"../keep/notes.txt", "", "", "/r/"},
        {"/p/../keep/notes.txt", "/r/notes.txt", "xdg-open"});
    for (const char *dots : {"..", ".", "sub/"})
        row(dots, {dots, "", "", "/r/"},
            {u"/p/"_s + QString::fromLatin1(dots), "/r/nmr.log", "xdg-open"});
    row("no private folder", {"", "", "", ""}, {"/p/nmr.log", "", "xdg-open"});
    row("the default viewer", {"", "xdg-open", "", "/r/"},
        {"/p/nmr.log", "/r/nmr.log", "xdg-open"});
    row("no file, other case", {"", "Xdg-Open", "", "/r/"},
        {"/p/nmr.log", "/r/nmr.log", "xdg-open"});
    row("a file", {"", "/v/my viewer", "file", "/r/"},
        {"/p/nmr.log", "/r/nmr.log", "/v/my viewer"});
}

void tst_Engine::logPaths()
{
    QFETCH(QStringList, given);
    QFETCH(QStringList, expected);

    const LogPaths paths = ResolveLogPaths(
        {given[0], given[1], !given[2].isEmpty()}, u"/p/"_s, given[3], u"xdg-open"_s);
    QCOMPARE(QStringList({paths.log, paths.copy, paths.viewer}), expected);
}

void tst_Engine::chances_data()
{
    QTest::addColumn<QString>("levels");
    QTest::addColumn<QString>("birthday");
    QTest::addColumn<bool>("levelsOn");
    QTest::addColumn<int>("strength");

    const QString six = u"0000F00000F00000F00000F00000F00000F00000000"_s;
    QTest::newRow("every level 0") << zeros << u"00000"_s << true << 15;
    QTest::newRow("levels off") << u"F0F0F0F0F0"_s << u"10101"_s << false << 15;
    QTest::newRow("default profile") << eights << u"00000"_s << true << 5;
    QTest::newRow("six at 15, strength 0") << six << u"00000"_s << true << 0;
    QTest::newRow("six at 15, strength 5") << six << u"00000"_s << true << 5;
    QTest::newRow("six at 15, strength 15") << six << u"00000"_s << true << 15;
    QTest::newRow("birthday bonus on") << eights << u"11225"_s << true << 15;
    QTest::newRow("four birthday numbers")
        << u"65B6411EF5126CB23F3230A01505E8BC80D009859B0"_s << u"11231"_s << true << 13;
    QTest::newRow("two at 15") << u"0000000F0F"_s << u"00000"_s << true << 15;
}

void tst_Engine::chances()
{
    QFETCH(QString, levels);
    QFETCH(QString, birthday);
    QFETCH(bool, levelsOn);
    QFETCH(int, strength);

    // The figures add up to 6, within the integration's accuracy of a few billionths each; and
    // against the real draw run 40,000 times, every figure lies within five standard deviations.
    const DrawInput input {levels, birthday, levelsOn, strength};
    const auto chances = DrawChances(input);
    QVERIFY(std::abs(std::accumulate(chances.begin(), chances.end(), 0.0) - 6) < 1e-6);

    // With the levels off, or on and every level 0, a candidate is 1 or 43 with chance 1/84 each
    // and any other number with 1/42, and a number already drawn is drawn again. Walking that
    // chain over (end numbers drawn, others drawn) for six picks gives each number's chance of
    // being among the six: 0.073692 for 1 and 43, 0.142747 for the others (2 x 0.073692 +
    // 41 x 0.142747 = 6). The profile and the birthday play no part.
    if (!levelsOn || levels == zeros) {
        for (int number = 1; number <= NumberCount; ++number)
            QVERIFY(std::abs(chances[number - 1]
                        - (number == 1 || number == NumberCount ? 0.0736915 : 0.1427468))
                < 1e-5);
    }
    constexpr int draws = 40'000;
    UniformSource random(7);
    std::array<int, NumberCount + 1> counts {};
    for (int i = 0; i < draws; ++i) {
        const DrawResult result = DrawNumbers(input, random);
        QVERIFY2(wellFormed(result), qPrintable(result.text));
        for (const int number : result.numbers)
            ++counts[number];
    }
    for (int number = 1; number <= NumberCount; ++number)
        QVERIFY2(nearShare(counts[number], draws, chances[number - 1]),
            qPrintable(u"%1: %2 drawn, %3 expected"_s.arg(number)
                           .arg(counts[number])
                           .arg(chances[number - 1] * draws)));
}

QTEST_GUILESS_MAIN(tst_Engine)
#include "tst_engine.moc"
