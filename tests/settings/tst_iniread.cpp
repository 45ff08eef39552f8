#include "common/inifixture.h"
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
    void readInt_data();
    void readInt();
};

void tst_IniRead::readString_data()
{
    QTest::addColumn<QByteArray>("content"); // null: no file
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("fallback");
    QTest::addColumn<QString>("expected");

    const QString x300(300, u'x');
    const QByteArray a = "\x83\x41"; // ア, whose trail byte is 'A'

    QTest::newRow("CR LF lines") << "[S]\r\nk=v\r\n"_ba
                                 << "S"
                                 << "k"
                                 << "d"
                                 << "v";
    QTest::newRow("LF lines") << "[S]\nj=w\nk=v\n"_ba
                              << "S"
                              << "k"
                              << "d"
                              << "v";
    QTest::newRow("CR lines") << "[S]\rj=w\rk=v"_ba
                              << "S"
                              << "k"
                              << "d"
                              << "v";
    QTest::newRow("blanks around line, key and value") << " \t[S] \r\n \v k \t= \t v  v \v\r\n"_ba
                                                       << "S"
                                                       << "k"
                                                       << "d"
                                                       << "v  v";
    QTest::newRow("text after ] ignored") << "[S] junk]\r\nk=v"_ba
                                          << "S"
                                          << "k"
                                          << "d"
                                          << "v";
    QTest::newRow("header without ]") << "[S\r\nk=v"_ba
                                      << "S"
                                      << "k"
                                      << "d"
                                      << "v";
    QTest::newRow("header name trimmed") << "[  S \t]\r\nk=v"_ba
                                         << "S"
                                         << "k"
                                         << "d"
                                         << "v";
    QTest::newRow("empty section name") << "[]\r\nk=v"_ba
                                        << ""
                                        << "k"
                                        << "d"
                                        << "v";
    QTest::newRow("line before any header") << "k=v\r\n[S]\r\n"_ba
                                            << "S"
                                            << "k"
                                            << "d"
                                            << "d";
    QTest::newRow("value after first =") << "[S]\r\nk=a=b"_ba
                                         << "S"
                                         << "k"
                                         << "d"
                                         << "a=b";
    QTest::newRow("line without =") << "[S]\r\nk\r\n"_ba
                                    << "S"
                                    << "k"
                                    << "d"
                                    << "d";
    QTest::newRow("comment never matches") << "[S]\r\n ;k=c\r\nk=v"_ba
                                           << "S"
                                           << "k"
                                           << "d"
                                           << "v";
    QTest::newRow("commented key only") << "[S]\r\n;k=c\r\n"_ba
                                        << "S"
                                        << ";k"
                                        << "d"
                                        << "d";
    QTest::newRow("no inline comment") << "[S]\r\nk=v ;x"_ba
                                       << "S"
                                       << "k"
                                       << "d"
                                       << "v ;x";
    QTest::newRow("# is no comment") << "[S]\r\n#k=v"_ba
                                     << "S"
                                     << "#k"
                                     << "d"
                                     << "v";
    QTest::newRow("names ignore case") << "[SETUP]\r\nlevel=7"_ba
                                       << "Setup"
                                       << "Level"
                                       << "d"
                                       << "7";
    QTest::newRow("first section wins") << "[S]\r\nk=1\r\n[s]\r\nk=2\r\nj=3"_ba
                                        << "S"
                                        << "j"
                                        << "d"
                                        << "d";
    QTest::newRow("first key wins") << "[S]\r\nk=1\r\nK=2"_ba
                                    << "S"
                                    << "k"
                                    << "d"
                                    << "1";
    QTest::newRow("double quotes keep blanks") << "[S]\r\nk=\"  v  \""_ba
                                               << "S"
                                               << "k"
                                               << "d"
                                               << "  v  ";
    QTest::newRow("one pair removed") << "[S]\r\nk=\"'v'\""_ba
                                      << "S"
                                      << "k"
                                      << "d"
                                      << "'v'";
    QTest::newRow("single quotes") << "[S]\r\nk='v'"_ba
                                   << "S"
                                   << "k"
                                   << "d"
                                   << "v";
    QTest::newRow("mismatched quotes") << "[S]\r\nk=\"v'"_ba
                                       << "S"
                                       << "k"
                                       << "d"
                                       << "\"v'";
    QTest::newRow("lone quote") << "[S]\r\nk=\""_ba
                                << "S"
                                << "k"
                                << "d"
                                << "\"";
    QTest::newRow("empty quotes") << "[S]\r\nk=\"\""_ba
                                  << "S"
                                  << "k"
                                  << "d"
                                  << "";
    QTest::newRow("keys never unquoted") << "[S]\r\n\"k\"=v"_ba
                                         << "S"
                                         << "k"
                                         << "d"
                                         << "d";
    QTest::newRow("empty value is no default") << "[S]\r\nk=\r\n"_ba
                                               << "S"
                                               << "k"
                                               << "d"
                                               << "";
    QTest::newRow("missing file") << QByteArray() << "S"
                                  << "k"
                                  << "d"
                                  << "d";
    QTest::newRow("missing section") << "[T]\r\nk=v"_ba
                                     << "S"
                                     << "k"
                                     << "d"
                                     << "d";
    QTest::newRow("missing key") << "[S]\r\nj=v"_ba
                                 << "S"
                                 << "k"
                                 << "d"
                                 << "d";
    QTest::newRow("default loses trailing spaces only") << QByteArray() << "S"
                                                        << "k"
                                                        << "  d \t  "
                                                        << "  d \t";
    QTest::newRow("default not unquoted") << QByteArray() << "S"
                                          << "k"
                                          << "\"d\""
                                          << "\"d\"";
    QTest::newRow("300 bytes cut to 254") << "[S]\r\nk="_ba + x300.toLatin1() << "S"
                                          << "k"
                                          << "d" << x300.left(254);
    QTest::newRow("quotes stripped before the cut")
        << "[S]\r\nk=\""_ba + x300.left(255).toLatin1() + '"' << "S"
        << "k"
        << "d" << x300.left(254);
    QTest::newRow("long default cut") << QByteArray() << "S"
                                      << "k" << x300 << x300.left(254);
    QTest::newRow("two-byte character ending at 254")
        << "[S]\r\nk="_ba + QByteArray(252, 'x') + a << "S"
        << "k"
        << "d" << QString(252, u'x') + u"ア"_s;
    QTest::newRow("two-byte character straddling 254")
        << "[S]\r\nk="_ba + QByteArray(253, 'x') + a << "S"
        << "k"
        << "d" << QString(253, u'x');
    QTest::newRow("81 60 is the fullwidth tilde") << "[S]\r\nk=\x81\x60"_ba
                                                  << "S"
                                                  << "k"
                                                  << "d" << u"\uFF5E"_s;
    QTest::newRow("section with ] as a trail byte")
        << "[\x83\x5d\x81\x5b\x83\x93]\r\nk=v"_ba << u"ゾーン"_s << "k"
        << "d"
        << "v";
    QTest::newRow("trail bytes are not letters") << "[S]\r\n\x83\x41=1\r\n\x83\x61=2"_ba
                                                 << "S" << u"ヂ"_s << "d"
                                                 << "2";
    QTest::newRow("invalid bytes replaced") << "[S]\r\nk=a\xa0"_ba
                                            << "S"
                                            << "k"
                                            << "d" << u"a\uFFFD"_s;
}

void tst_IniRead::readString()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, fallback);
    QFETCH(QString, expected);

    IniFixture ini;
    ini.setContent(content);
    QCOMPARE(ReadIniString(section, key, fallback), expected);
}

void tst_IniRead::readInt_data()
{
    QTest::addColumn<QByteArray>("content"); // null: no file
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("expected"); // the default is always 77

    QTest::newRow("missing file") << QByteArray() << "Level" << 77;
    QTest::newRow("missing key") << "[Setup]\r\nLog=1"_ba
                                 << "Level" << 77;
    QTest::newRow("empty value") << "[Setup]\r\nLevel=\r\n"_ba
                                 << "Level" << 77;
    QTest::newRow("plain number") << "[Setup]\r\nLevel=105"_ba
                                  << "Level" << 105;
    QTest::newRow("digits then letters") << "[Setup]\r\nLevel=105abc"_ba
                                         << "Level" << 105;
    QTest::newRow("no digit at all") << "[Setup]\r\nLevel=abc"_ba
                                     << "Level" << 0;
    QTest::newRow("negative") << "[Setup]\r\nWinPosX=-1200"_ba
                              << "WinPosX" << -1200;
    QTest::newRow("plus sign") << "[Setup]\r\nLevel=+5"_ba
                               << "Level" << 0;
    QTest::newRow("quoted") << "[Setup]\r\nLevel=\"12\""_ba
                            << "Level" << 12;
    QTest::newRow("any case") << "[SETUP]\r\nlevel=7"_ba
                              << "Level" << 7;
    QTest::newRow("largest") << "[Setup]\r\nLevel=2147483647"_ba
                             << "Level" << 2147483647;
    QTest::newRow("wraps modulo 2^32") << "[Setup]\r\nLevel=4294967297"_ba
                                       << "Level" << 1;
    QTest::newRow("wraps negative") << "[Setup]\r\nLevel=2147483648"_ba
                                    << "Level" << int(-2147483647 - 1);
}

void tst_IniRead::readInt()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, key);
    QFETCH(int, expected);

    IniFixture ini;
    ini.setContent(content);
    QCOMPARE(ReadIniInt(u"Setup"_s, key, 77), expected);
}

QTEST_GUILESS_MAIN(tst_IniRead)
#include "tst_iniread.moc"
