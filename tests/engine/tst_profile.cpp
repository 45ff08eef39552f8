#include "common/inifixture.h"
#include "engine/profile.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString eights = QString(NumberCount, u'8');

ProfileTable namedDefaults()
{
    ProfileTable table;
    for (int slot = 0; slot < ProfileCount; ++slot)
        table[slot] = {u"Setting"_s + QString::number(slot + 1), eights};
    return table;
}

} // namespace

class tst_Profile : public QObject
{
    Q_OBJECT

private slots:
    void levelAt_data();
    void levelAt();
    void profileFromValue_data();
    void profileFromValue();
    void birthday_data();
    void birthday();
    void nameRoundTrip_data();
    void nameRoundTrip();
    void activeProfile_data();
    void activeProfile();
};

void tst_Profile::levelAt_data()
{
    QTest::addColumn<QString>("levels");
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("level");

    // Each end of the three digit ranges and the character just outside it.
    const QString edges = u"/09:@AFG`afg 7"_s;
    const int expected[] = {0, 0, 9, 0, 0, 10, 15, 0, 0, 10, 15, 0, 0, 7};
    for (int number = 1; number <= edges.size(); ++number)
        QTest::addRow("%c", edges[number - 1].toLatin1())
            << edges << number << expected[number - 1];
    QTest::newRow("past the end") << u"8"_s << 2 << 0;
    QTest::newRow("number 0") << u"8"_s << 0 << 0;
    QTest::newRow("number 43") << eights << 43 << 8;
    QTest::newRow("44th character ignored") << QString(44, u'F') << 44 << 0;
    QTest::newRow("fullwidth digit") << u"\uFF17"_s << 1 << 0;
}

void tst_Profile::levelAt()
{
    QFETCH(QString, levels);
    QFETCH(int, number);
    QFETCH(int, level);
    QCOMPARE(LevelAt(levels, number), level);
}

void tst_Profile::profileFromValue_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("levels");
    QTest::addColumn<QString>("name");

    QTest::newRow("named") << eights + u" Setting3"_s << eights << u"Setting3"_s;
    QTest::newRow("44 characters: empty name") << eights + u' ' << eights << QString();
    QTest::newRow("43 characters: empty name") << eights << eights << QString();
    QTest::newRow("shorter than 43") << u"ABC"_s << u"ABC"_s << QString();
    QTest::newRow("44th character skipped") << eights + u"xName"_s << eights << u"Name"_s;
    QTest::newRow("blanks kept") << eights + u"  two  "_s << eights << u" two  "_s;
}

void tst_Profile::profileFromValue()
{
    QFETCH(QString, value);
    QFETCH(QString, levels);
    QFETCH(QString, name);

    const AppearanceProfile profile = ProfileFromValue(value);
    QCOMPARE(profile.levels, levels);
    QCOMPARE(profile.name, name);
}

void tst_Profile::birthday_data()
{
    QTest::addColumn<bool>("on");
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("day");
    QTest::addColumn<QString>("stored");

    QTest::newRow("on, July, no day") << true << 7 << 0 << u"10700"_s;
    QTest::newRow("off, 31 December") << false << 12 << 31 << u"01231"_s;
    QTest::newRow("on, nothing chosen") << true << 0 << 0 << u"10000"_s;
    QTest::newRow("day without month") << true << 0 << 15 << u"10015"_s;
}

void tst_Profile::birthday()
{
    QFETCH(bool, on);
    QFETCH(int, month);
    QFETCH(int, day);
    QFETCH(QString, stored);

    QCOMPARE(ComposeBirthday(on, month, day), stored);
    const BirthdayFields fields = ParseBirthday(stored);
    QCOMPARE(fields.on, on);
    QCOMPARE(fields.month, month);
    QCOMPARE(fields.day, day);
}

void tst_Profile::nameRoundTrip_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("readBack");

    QTest::newRow("leading and trailing blank") << u" lucky "_s << u" lucky "_s;
    QTest::newRow("double quote inside") << u"my \"best\" set"_s << u"my \"best\" set"_s;
    QTest::newRow("ends in a double quote") << u"say \""_s << u"say \""_s;
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("blanks only") << u"   "_s << u"   "_s;
    QTest::newRow("Japanese with circled one") << u"誕生日①～"_s << u"誕生日①～"_s;
    QTest::newRow("cut after 210 bytes") << QString(250, u'n') << QString(210, u'n');
    QTest::newRow("two-byte character not split at the cut")
        << QString(209, u'n') + u"漢字"_s << QString(209, u'n');
}

void tst_Profile::nameRoundTrip()
{
    QFETCH(QString, name);
    QFETCH(QString, readBack);

    IniFixture ini;
    ProfileTable table = namedDefaults();
    table[4] = {name, u"0123456789ABCDEF0123456789ABCDEF0123456789A"_s};
    WriteProfileTable(4, table, u"11225"_s);

    const StoredProfiles stored = ReadProfileTable();
    QCOMPARE(stored.profiles[4].name, readBack);
    QCOMPARE(stored.profiles[4].levels, table[4].levels);
    QCOMPARE(stored.profiles[3], table[3]);
    QCOMPARE(stored.activeIndex, 4);
    QCOMPARE(stored.birthday, u"11225"_s);
}

void tst_Profile::activeProfile_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("levels");
    QTest::addColumn<QString>("birthday");

    const QByteArray slot2 = "PB2=\"" + QByteArray(43, '2') + " Two\"\r\n";
    const QString twos(NumberCount, u'2');
    QTest::newRow("no file") << QByteArray() << eights << u"00000"_s;
    QTest::newRow("chosen slot, name dropped")
        << "[Probability]\r\nPB=2\r\n"_ba + slot2 + "BirthDay=11225" << twos << u"11225"_s;
    QTest::newRow("index from its low eight bits")
        << "[Probability]\r\nPB=258\r\n"_ba + slot2 << twos << u"00000"_s;
    QTest::newRow("index with no slot")
        << "[Probability]\r\nPB=-1\r\nPB255=1\r\n"_ba + slot2 << u"1"_s << u"00000"_s;
    QTest::newRow("index 10 has no slot")
        << "[Probability]\r\nPB=10\r\n"_ba + slot2 << eights << u"00000"_s;
    QTest::newRow("no index means slot 0")
        << "[Probability]\r\nPB0=\"0123456789abcdefZ\"\r\n"_ba + slot2 << u"0123456789abcdefZ"_s
        << u"00000"_s;
}

void tst_Profile::activeProfile()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, levels);
    QFETCH(QString, birthday);

    IniFixture ini;
    ini.setContent(content);
    const ActiveProfile active = ReadActiveProfile();
    QCOMPARE(active.levels, levels);
    QCOMPARE(active.birthday, birthday);
}

QTEST_GUILESS_MAIN(tst_Profile)
#include "tst_profile.moc"
