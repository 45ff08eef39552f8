#include "common/inifixture.h"
#include "settings/cp932.h"
#include "settings/inifilesaveload.h"

#include <QTest>

using namespace IniFileSaveLoad;
using namespace Qt::StringLiterals;

class tst_IniRead : public QObject
{
    Q_OBJECT

private slots:
    void readString_data();
    void readString();
    void readDefault_data();
    void readDefault();
    void readInt_data();
    void readInt();
    void leadBytes_data();
    void leadBytes();
};

void tst_IniRead::readString_data()
{
    QTest::addColumn<QByteArray>("content"); // null: no file
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected"); // the default is "d"

    const QByteArray x252(252, 'x');
    const QByteArray x300(300, 'x');
    const QString s252(252, u'x');
    QTest::newRow("CR LF lines") << "[S]\r\nk=v\r\n"_ba << u"S"_s << u"k"_s << u"v"_s;
    QTest::newRow("LF lines") << "[S]\nj=w\nk=v\n"_ba << u"S"_s << u"k"_s << u"v"_s;
    QTest::newRow("CR lines") << "[S]\rj=w\rk=v"_ba << u"S"_s << u"k"_s << u"v"_s;
    QTest::newRow("blanks around")
        << " \t[S] \r\n \v k \t= \t v  v \v"_ba << u"S"_s << u"k"_s << u"v  v"_s;
    QTest::newRow("text after ] ignored") << "[S] junk]\r\nk=v"_ba << u"S"_s << u"k"_s << u"v"_s;
    QTest::newRow("header without ]") << "[S\r\nk=v"_ba << u"S"_s << u"k"_s << u"v"_s;
    QTest::newRow("header name trimmed") << "[  S \t]\r\nk=v"_ba << u"S"_s << u"k"_s << u"v"_s;
    QTest::newRow("empty section name") << "[]\r\nk=v"_ba << u""_s << u"k"_s << u"v"_s;
    QTest::newRow("line before any header") << "k=v\r\n[S]\r\n"_ba << u"S"_s << u"k"_s << u"d"_s;
    QTest::newRow("value after first =") << "[S]\r\nk=a=b"_ba << u"S"_s << u"k"_s << u"a=b"_s;
    QTest::newRow("line without =") << "[S]\r\nk\r\n"_ba << u"S"_s << u"k"_s << u"d"_s;
    QTest::newRow("comment never matches")
        << "[S]\r\n ;k=c\r\nk=v"_ba << u"S"_s << u"k"_s << u"v"_s;
    QTest::newRow("commented key only") << "[S]\r\n;k=c\r\n"_ba << u"S"_s << u";k"_s << u"d"_s;
    QTest::newRow("no inline comment") << "[S]\r\nk=v ;x"_ba << u"S"_s << u"k"_s << u"v ;x"_s;
    QTest::newRow("# is no comment") << "[S]\r\n#k=v"_ba << u"S"_s << u"#k"_s << u"v"_s;
    QTest::newRow("names ignore case")
        << "[SETUP]\r\nlevel=7"_ba << u"Setup"_s << u"Level"_s << u"7"_s;
    QTest::newRow("first section wins")
        << "[S]\r\nk=1\r\n[s]\r\nj=3"_ba << u"S"_s << u"j"_s << u"d"_s;
    QTest::newRow("first key wins") << "[S]\r\nk=1\r\nK=2"_ba << u"S"_s << u"k"_s << u"1"_s;
    QTest::newRow("double quotes keep blanks")
        << "[S]\r\nk=\"  v  \""_ba << u"S"_s << u"k"_s << u"  v  "_s;
    QTest::newRow("one pair removed") << "[S]\r\nk=\"'v'\""_ba << u"S"_s << u"k"_s << u"'v'"_s;
    QTest::newRow("single quotes") << "[S]\r\nk='v'"_ba << u"S"_s << u"k"_s << u"v"_s;
    QTest::newRow("mismatched quotes") << "[S]\r\nk=\"v'"_ba << u"S"_s << u"k"_s << u"\"v'"_s;
    QTest::newRow("lone quote") << "[S]\r\nk=\""_ba << u"S"_s << u"k"_s << u"\""_s;
    QTest::newRow("empty quotes") << "[S]\r\nk=\"\""_ba << u"S"_s << u"k"_s << u""_s;
    QTest::newRow("keys never unquoted") << "[S]\r\n\"k\"=v"_ba << u"S"_s << u"k"_s << u"d"_s;
    QTest::newRow("empty value is no default") << "[S]\r\nk=\r\n"_ba << u"S"_s << u"k"_s << u""_s;
    QTest::newRow("missing file") << QByteArray() << u"S"_s << u"k"_s << u"d"_s;
    QTest::newRow("missing section") << "[T]\r\nk=v"_ba << u"S"_s << u"k"_s << u"d"_s;
    QTest::newRow("missing key") << "[S]\r\nj=v"_ba << u"S"_s << u"k"_s << u"d"_s;
    QTest::newRow("300 bytes cut to 254")
        << "[S]\r\nk="_ba + x300 << u"S"_s << u"k"_s << QString(254, u'x');
    QTest::newRow("quotes gone before the cut")
        << "[S]\r\nk=\"" + x300 + '"' << u"S"_s << u"k"_s << QString(254, u'x');
    QTest::newRow("two bytes ending at 254")
        << "[S]\r\nk="_ba + x252 + "\x83\x41" << u"S"_s << u"k"_s << s252 + u"ア"_s;
    QTest::newRow("two bytes across 254")
        << "[S]\r\nk=x"_ba + x252 + "\x83\x41" << u"S"_s << u"k"_s << u'x' + s252;
    QTest::newRow("81 60 is the fullwidth tilde")
        << "[S]\r\nk=\x81\x60"_ba << u"S"_s << u"k"_s << u"\uFF5E"_s;
    QTest::newRow("] as a trail byte")
        << "[\x83\x5d\x81\x5b\x83\x93]\r\nk=v"_ba << u"ゾーン"_s << u"k"_s << u"v"_s;
    QTest::newRow("trail bytes no letters")
        << "[S]\r\n\x83\x41=1\r\n\x83\x61=2"_ba << u"S"_s << u"ヂ"_s << u"2"_s;
    QTest::newRow("invalid bytes replaced")
        << "[S]\r\nk=a\xa0"_ba << u"S"_s << u"k"_s << u"a\uFFFD"_s;
}

void tst_IniRead::readString()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);

    IniFixture ini;
    ini.setContent(content);
    QCOMPARE(ReadIniString(section, key, u"d"_s), expected);
}

void tst_IniRead::readDefault_data()
{
    QTest::addColumn<QString>("fallback");
    QTest::addColumn<QString>("expected");

    QTest::newRow("trailing spaces only go") << u"  d \t  "_s << u"  d \t"_s;
    QTest::newRow("not unquoted") << u"\"d\""_s << u"\"d\""_s;
    QTest::newRow("cut to 254") << QString(300, u'x') << QString(254, u'x');
}

void tst_IniRead::readDefault()
{
    QFETCH(QString, fallback);
    QFETCH(QString, expected);

    IniFixture ini;
    QCOMPARE(ReadIniString(u"S"_s, u"k"_s, fallback), expected);
}

void tst_IniRead::readInt_data()
{
    QTest::addColumn<QByteArray>("content"); // null: no file
    QTest::addColumn<int>("expected"); // the default is 77

    QTest::newRow("missing file") << QByteArray() << 77;
    QTest::newRow("missing key") << "[Setup]\r\nLog=1"_ba << 77;
    QTest::newRow("empty value") << "[Setup]\r\nLevel=\r\n"_ba << 77;
    QTest::newRow("plain number") << "[Setup]\r\nLevel=105"_ba << 105;
    QTest::newRow("0 and 9") << "[Setup]\r\nLevel=90"_ba << 90;
    QTest::newRow("digits then letters") << "[Setup]\r\nLevel=105abc"_ba << 105;
    QTest::newRow("stops at / and :") << "[Setup]\r\nLevel=1/2:3"_ba << 1;
    QTest::newRow("no digit at all") << "[Setup]\r\nLevel=abc"_ba << 0;
    QTest::newRow("negative") << "[Setup]\r\nLevel=-1200"_ba << -1200;
    QTest::newRow("plus sign") << "[Setup]\r\nLevel=+5"_ba << 0;
    QTest::newRow("quoted") << "[Setup]\r\nLevel=\"12\""_ba << 12;
    QTest::newRow("any case") << "[SETUP]\r\nlevel=7"_ba << 7;
    QTest::newRow("largest") << "[Setup]\r\nLevel=2147483647"_ba << 2147483647;
    QTest::newRow("wraps modulo 2^32") << "[Setup]\r\nLevel=4294967297"_ba << 1;
    QTest::newRow("wraps negative") << "[Setup]\r\nLevel=2147483648"_ba << int(-2147483647 - 1);
}

void tst_IniRead::readInt()
{
    QFETCH(QByteArray, content);
    QFETCH(int, expected);

    IniFixture ini;
    ini.setContent(content);
    QCOMPARE(ReadIniInt(u"Setup"_s, u"Level"_s, 77), expected);
}

void tst_IniRead::leadBytes_data()
{
    QTest::addColumn<char>("byte");
    QTest::addColumn<bool>("lead");

    QTest::newRow("80") << '\x80' << false;
    QTest::newRow("81") << '\x81' << true;
    QTest::newRow("9F") << '\x9f' << true;
    QTest::newRow("A0") << '\xa0' << false;
    QTest::newRow("DF") << '\xdf' << false;
    QTest::newRow("E0") << '\xe0' << true;
    QTest::newRow("FC") << '\xfc' << true;
    QTest::newRow("FD") << '\xfd' << false;
}

void tst_IniRead::leadBytes()
{
    QFETCH(char, byte);
    QFETCH(bool, lead);

    // A lead byte takes the next byte with it, so a cut after it moves back before it.
    const QByteArray bytes = 'x' + QByteArray(1, byte) + 'A';
    QCOMPARE(Cp932::characterBoundary(bytes, 2), lead ? 1 : 2);
}

QTEST_GUILESS_MAIN(tst_IniRead)
#include "tst_iniread.moc"
