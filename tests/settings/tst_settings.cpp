#include "common/inifixture.h"
#include "settings/cp932.h"
#include "settings/inifilesaveload.h"
#include "settings/toolchoices.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStringEncoder>
#include <QTest>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace IniFileSaveLoad;
using namespace Qt::StringLiterals;

class tst_Settings : public QObject
{
    Q_OBJECT

private slots:
    void readString_data();
    void readString();
    void readDefault();
    void readInt_data();
    void readInt();
    void leadBytes();
    void toolChoices_data();
    void toolChoices();
    void codePageRoundTrip();
    void golden_data();
    void golden();
    void encoding_data();
    void encoding();
    void reshapingRefused_data();
    void reshapingRefused();
    void notAFile_data();
    void notAFile();
    void failedWriteKeepsOldFile();
    void inPlaceWhenTheFolderRefuses();
    void byteOrderMarks_data();
    void byteOrderMarks();
    void permissionsAndLinksKept();
};

void tst_Settings::readString_data()
{
    QTest::addColumn<QByteArray>("content"); // null: no file
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected"); // the default is "d"

    const QByteArray k252 = "[S]\r\nk="_ba + QByteArray(252, 'x');
    const QByteArray x300(300, 'x');
    const QString s252(252, u'x');
    const QString x254(254, u'x');
    QTest::newRow("CR LF lines") << "[S]\r\nk=v\r\n"_ba << u"S"_s << u"k"_s << u"v"_s;
    QTest::newRow("LF lines") << "[S]\nj=w\nk=v\n"_ba << u"S"_s << u"k"_s << u"v"_s;
    QTest::newRow("CR lines") << "[S]\rj=w\rk=v"_ba << u"S"_s << u"k"_s << u"v"_s;
    QTest::newRow("blanks") << " \t[S] \r\n\v k\t= v  v \v"_ba << u"S"_s << u"k"_s << u"v  v"_s;
    QTest::newRow("text after ] ignored") << "[S] junk]\r\nk=v"_ba << u"S"_s << u"k"_s << u"v"_s;
    QTest::newRow("header without ]") << "[S\r\nk=v"_ba << u"S"_s << u"k"_s << u"v"_s;
    QTest::newRow("header name trimmed") << "[  S \t]\r\nk=v"_ba << u"S"_s << u"k"_s << u"v"_s;
    QTest::newRow("empty section name") << "[]\r\nk=v"_ba << u""_s << u"k"_s << u"v"_s;
    QTest::newRow("line before any header") << "k=v\r\n[S]\r\n"_ba << u"S"_s << u"k"_s << u"d"_s;
    QTest::newRow("value after first =") << "[S]\r\nk=a=b"_ba << u"S"_s << u"k"_s << u"a=b"_s;
    QTest::newRow("line without =") << "[S]\r\nk\r\n"_ba << u"S"_s << u"k"_s << u"d"_s;
    QTest::newRow("comment") << "[S]\r\n ;k=c\r\nk=v"_ba << u"S"_s << u"k"_s << u"v"_s;
    QTest::newRow("commented key only") << "[S]\r\n;k=c\r\n"_ba << u"S"_s << u";k"_s << u"d"_s;
    QTest::newRow("no inline comment") << "[S]\r\nk=v ;x"_ba << u"S"_s << u"k"_s << u"v ;x"_s;
    QTest::newRow("# is no comment") << "[S]\r\n#k=v"_ba << u"S"_s << u"#k"_s << u"v"_s;
    QTest::newRow("any case") << "[SETUP]\r\nlevel=7"_ba << u"Setup"_s << u"Level"_s << u"7"_s;
    QTest::newRow("first section") << "[S]\r\nk=1\r\n[s]\r\nj=3"_ba << u"S"_s << u"j"_s << u"d"_s;
    QTest::newRow("first key wins") << "[S]\r\nk=1\r\nK=2"_ba << u"S"_s << u"k"_s << u"1"_s;
    QTest::newRow("quoted blanks") << "[S]\r\nk=\"  v  \""_ba << u"S"_s << u"k"_s << u"  v  "_s;
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
    QTest::newRow("cut at 254") << "[S]\r\nk="_ba + x300 << u"S"_s << u"k"_s << x254;
    QTest::newRow("unquoted, then cut") << "[S]\r\nk=\"" + x300 + '"' << u"S"_s << u"k"_s << x254;
    QTest::newRow("ア ends at 254") << k252 + "\x83\x41" << u"S"_s << u"k"_s << s252 + u"ア"_s;
    QTest::newRow("ア across 254") << k252 + "x\x83\x41" << u"S"_s << u"k"_s << s252 + u'x';
    QTest::newRow("lone lead byte ends 254")
        << k252 + "x\x83" << u"S"_s << u"k"_s << s252 + u"x\uFFFD"_s;
    QTest::newRow("lone lead byte past 254")
        << k252 + "xx\x83" << u"S"_s << u"k"_s << s252 + u"xx"_s;
    QTest::newRow("UTF-8 é ends at 254")
        << "\xEF\xBB\xBF" + k252 + "\xC3\xA9" << u"S"_s << u"k"_s << s252 + u"é"_s;
    QTest::newRow("UTF-8 é across 254")
        << "\xEF\xBB\xBF" + k252 + "x\xC3\xA9" << u"S"_s << u"k"_s << s252 + u'x';
    QTest::newRow("81 60 is ～") << "[S]\r\nk=\x81\x60"_ba << u"S"_s << u"k"_s << u"\uFF5E"_s;
    QTest::newRow("]") << "[\x83\x5d\x81\x5b\x83\x93]\nk=v"_ba << u"ゾーン"_s << u"k"_s << u"v"_s;
    QTest::newRow("trail case") << "[S]\n\x83\x41=1\n\x83\x61=2"_ba << u"S"_s << u"ヂ"_s << u"2"_s;
    QTest::newRow("invalid byte") << "[S]\r\nk=a\xa0"_ba << u"S"_s << u"k"_s << u"a\uFFFD"_s;
}

void tst_Settings::readString()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);

    IniFixture ini;
    ini.setContent(content);
    QCOMPARE(ReadIniString(section, key, u"d"_s), expected);
}

void tst_Settings::readDefault()
{
    // Without a value the default comes back without its trailing spaces, still quoted, and cut.
    IniFixture ini;
    QCOMPARE(ReadIniString(u"S"_s, u"k"_s, u"  d \t  "_s), u"  d \t"_s);
    QCOMPARE(ReadIniString(u"S"_s, u"k"_s, u"\"d\""_s), u"\"d\""_s);
    QCOMPARE(ReadIniString(u"S"_s, u"k"_s, QString(300, u'x')), QString(254, u'x'));
}

void tst_Settings::readInt_data()
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
    QTest::newRow("largest") << "[Setup]\r\nLevel=2147483647"_ba << 2147483647;
    QTest::newRow("wraps modulo 2^32") << "[Setup]\r\nLevel=4294967297"_ba << 1;
    QTest::newRow("wraps negative") << "[Setup]\r\nLevel=2147483648"_ba << int(-2147483647 - 1);
}

void tst_Settings::readInt()
{
    QFETCH(QByteArray, content);
    QFETCH(int, expected);

    IniFixture ini;
    ini.setContent(content);
    QCOMPARE(ReadIniInt(u"Setup"_s, u"Level"_s, 77), expected);
}

void tst_Settings::toolChoices_data()
{
    QTest::addColumn<QByteArray>("file"); // "dir": a directory stands at the path
    QTest::addColumn<QString>("read");
    QTest::newRow("missing") << QByteArray() << u"-1 0..0 0"_s;
    QTest::newRow("a directory") << QByteArray("dir") << u"-1 0..0 0"_s;
    QTest::newRow("garbage") << QByteArray("\x00\xff[[=\n=x") << u"-1 0..0 0"_s;
    QTest::newRow("no numbers") << QByteArray("[Statistics]\nPeriod=x\nFrom=\nAxisFromZero=yes\n")
                                << u"-1 0..0 0"_s;
    QTest::newRow("as written") << QByteArray(
        "[Statistics]\nPeriod=4\nFrom=2\nTo=9\nAxisFromZero=1\n")
                                << u"4 2..9 1"_s;
}

void tst_Settings::toolChoices()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, read);
    IniFixture fixture;
    const QString path = fixture.filePath(u"nmr-tools.ini"_s);
    QVERIFY(file == "dir" ? QDir().mkdir(path) : file.isEmpty() || writeFile(path, file));
    const auto shown = [](const StatisticsChoice &choice) {
        return u"%1 %2..%3 %4"_s.arg(choice.period)
            .arg(choice.from)
            .arg(choice.to)
            .arg(int(choice.axisFromZero));
    };
    QCOMPARE(shown(ReadStatisticsChoice(path)), read);
    if (file == "dir")
        return;
    WriteStatisticsChoice(path, {3, 10, 20, true});
    QCOMPARE(shown(ReadStatisticsChoice(path)), u"3 10..20 1"_s);
    QCOMPARE(shown(ReadStatisticsChoice(QString())), u"-1 0..0 0"_s);
}

void tst_Settings::leadBytes()
{
    // A lead byte takes the next byte with it, so a cut after it moves back before it. Each end
    // of the lead ranges 81..9F and E0..FC, and the byte just outside.
    const std::pair<char, bool> bytes[] {{'\x80', false}, {'\x81', true}, {'\x9f', true},
        {'\xa0', false}, {'\xdf', false}, {'\xe0', true}, {'\xfc', true}, {'\xfd', false}};
    for (const auto &[byte, lead] : bytes) {
        QVERIFY2(Cp932::characterBoundary(QByteArray("x") + byte + 'A', 2) == (lead ? 1 : 2),
            qPrintable(QString::number(uchar(byte), 16)));
    }
}

void tst_Settings::codePageRoundTrip()
{
    // Every character the code page holds comes back from the bytes it is written as: ASCII as
    // itself (the control codes 1A, 1C and 7F included), every other byte and pair as whatever
    // it decodes to.
    for (int code = 1; code < 0x10000; ++code) {
        const QByteArray bytes = code < 0x100 ? QByteArray(1, char(code))
                                              : QByteArray {char(code >> 8), char(code & 0xFF)};
        const QString text = Cp932::decode(bytes);
        if (text.size() != 1 || text == u"\uFFFD"_s)
            continue;
        QVERIFY2(Cp932::decode(Cp932::encode(text)) == text, qPrintable(QString::number(code, 16)));
        QVERIFY(code >= 0x80 || (text.front().unicode() == code && Cp932::encode(text) == bytes));
    }
    // A lone surrogate is one unencodable character, and the next one is kept.
    QCOMPARE(Cp932::encode(QChar(0xD800) + u"AB"_s), "?AB"_ba);
    QCOMPARE(Cp932::encode(u"A"_s + QChar(0xDC00)), "A?"_ba);
}

void tst_Settings::golden_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");

    QTest::newRow("new file") << u"write-new-file"_s << u"Setup"_s << u"Log"_s;
    QTest::newRow("new section, no line end") << u"write-new-section"_s << u"B"_s << u"k"_s;
    QTest::newRow("new key after the last key") << u"write-new-key"_s << u"s"_s << u"k"_s;
    QTest::newRow("replaced value keeps spelling") << u"write-replace"_s << u"S"_s << u"k"_s;
    QTest::newRow("other lines kept byte for byte") << u"write-keep-others"_s << u"S"_s << u"k"_s;
    QTest::newRow("key into an empty section") << u"write-empty-section"_s << u"S"_s << u"k"_s;
    QTest::newRow("key after an unterminated header") << u"write-header-last"_s << u"S"_s << u"k"_s;
    QTest::newRow("names trimmed") << u"write-names-trimmed"_s << u" S "_s << u"\tk "_s;
}

void tst_Settings::golden()
{
    QFETCH(QString, name);
    QFETCH(QString, section);
    QFETCH(QString, key);

    const QString data = QStringLiteral(NMR_TEST_DATA "/") + name;
    IniFixture ini;
    ini.setContent(readFile(data + u".ini"_s)); // none for a new file

    QVERIFY(WriteIniString(section, key, name == u"write-new-file"_s ? u"1"_s : u"v"_s));

    const QByteArray expected = readFile(data + u".expected"_s);
    QVERIFY(!expected.isEmpty());
    QCOMPARE(ini.content(), expected);
}

void tst_Settings::encoding_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QString>("readBack");

    QTest::newRow("① 髙") << u"S"_s << u"①髙"_s << "\x87\x40\xfb\xfc"_ba << u"①髙"_s;
    QTest::newRow("katakana section") << u"ゾーン"_s << u"ア"_s << "\x83\x41"_ba << u"ア"_s;
    QTest::newRow("〜 to ～") << u"S"_s << u"\u301C"_s << "\x81\x60"_ba << u"\uFF5E"_s;
    QTest::newRow("¥ to ￥") << u"S"_s << u"\u00A5"_s << "\x81\x8f"_ba << u"\uFFE5"_s;
    QTest::newRow("unencodable") << u"S"_s << u"a\U0001F600b\u00E9"_s << "a?b?"_ba << u"a?b?"_s;
}

void tst_Settings::encoding()
{
    QFETCH(QString, section);
    QFETCH(QString, value);
    QFETCH(QByteArray, stored);
    QFETCH(QString, readBack);

    IniFixture ini;
    QVERIFY(WriteIniString(section, u"k"_s, value));
    QVERIFY2(ini.content().contains("k=" + stored + "\r\n"), ini.content().toHex(' '));
    QCOMPARE(ReadIniString(section, u"k"_s, u"missing"_s), readBack);
}

void tst_Settings::reshapingRefused_data()
{
    // Section, key and value that would reshape the file or not read back: nothing is written.
    QTest::addColumn<QStringList>("names");
    QTest::newRow("value with LF") << QStringList {u"S"_s, u"k"_s, u"a\nb=c"_s};
    QTest::newRow("value with CR") << QStringList {u"S"_s, u"k"_s, u"a\r[T]"_s};
    QTest::newRow("section with ]") << QStringList {u"S]x"_s, u"k"_s, u"v"_s};
    QTest::newRow("section with CR LF") << QStringList {u"S\r\n[T"_s, u"k"_s, u"v"_s};
    QTest::newRow("section ending in LF") << QStringList {u"S\n"_s, u"k"_s, u"v"_s};
    QTest::newRow("key with LF") << QStringList {u"S"_s, u"k\nj"_s, u"v"_s};
    QTest::newRow("comment key") << QStringList {u"S"_s, u";k"_s, u"v"_s};
    QTest::newRow("header key") << QStringList {u"S"_s, u" [k"_s, u"v"_s};
    QTest::newRow("key with =") << QStringList {u"S"_s, u"a=b"_s, u"v"_s};
    QTest::newRow("section é") << QStringList {u"S\u00E9"_s, u"k"_s, u"v"_s};
    QTest::newRow("key with an emoji") << QStringList {u"S"_s, u"k\U0001F600"_s, u"v"_s};
    QTest::newRow("key with a wave dash") << QStringList {u"S"_s, u"k\u301C"_s, u"v"_s};
}

void tst_Settings::reshapingRefused()
{
    QFETCH(QStringList, names);
    IniFixture ini;
    const QByteArray before = "[S]\r\nk=old\r\n";
    ini.setContent(before);
    QVERIFY(!WriteIniString(names[0], names[1], names[2]));
    QCOMPARE(ini.content(), before);
}

void tst_Settings::notAFile_data()
{
    // None is ever read as settings nor replaced, for root as for anyone; a FIFO would block.
    QTest::addColumn<QString>("kind");
    QTest::newRow("directory") << u"directory"_s;
#ifdef Q_OS_UNIX
    QTest::newRow("FIFO") << u"FIFO"_s;
#endif
    QTest::newRow("below a file") << u"below a file"_s;
}

void tst_Settings::notAFile()
{
    QFETCH(QString, kind);
    IniFixture ini;
#ifdef Q_OS_UNIX
    QVERIFY(kind != u"FIFO"_s || mkfifo(QFile::encodeName(ini.path()), 0600) == 0);
#endif
    QVERIFY(kind != u"directory"_s || QDir().mkdir(ini.path()));
    QVERIFY(kind != u"below a file"_s || writeFile(ini.filePath(u"plain"_s), "keep"));
    if (kind == u"below a file"_s)
        SetIniPath(ini.filePath(u"plain/nmr.ini"_s));
    const QDir::Filters all = QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot | QDir::Hidden;
    const QStringList before = QDir(ini.filePath({})).entryList(all);
    QCOMPARE(ReadIniString(u"S"_s, u"k"_s, u"d"_s), u"d"_s);
    QVERIFY(!WriteIniString(u"S"_s, u"k"_s, u"v"_s));
    QVERIFY(QDir(ini.filePath({})).entryList(all) == before && !QFileInfo(ini.path()).isFile());
    QCOMPARE(
        readFile(ini.filePath(u"plain"_s)), kind == u"below a file"_s ? "keep"_ba : QByteArray());
}

void tst_Settings::failedWriteKeepsOldFile()
{
#ifdef Q_OS_UNIX
    IniFixture ini;
    const QByteArray before = "[S]\r\nk=old\r\n";
    ini.setContent(before);
    bool written = true;
    onFullDisk(64, [&] { written = WriteIniString(u"S"_s, u"k"_s, QString(200, u'v')); });
    QVERIFY(!written);

    QCOMPARE(ini.content(), before);
    QCOMPARE(
        QDir(ini.filePath({})).entryList(QDir::Files | QDir::Hidden), QStringList {u"nmr.ini"_s});
#else
    QSKIP("needs a file size limit");
#endif
}

void tst_Settings::inPlaceWhenTheFolderRefuses()
{
#ifdef Q_OS_UNIX
    // A folder that takes no new file, for root as for anyone: a tmpfs with room for one file.
    // Where mounting is not allowed, a folder without write permission serves an ordinary user.
    IniFixture ini;
    const QString folder = ini.filePath(u"folder"_s);
    const QString path = folder + u"/nmr.ini"_s;
    QVERIFY(QDir().mkdir(folder));
    const bool mounted
        = QProcess::execute(u"mount"_s,
              {u"-t"_s, u"tmpfs"_s, u"-o"_s, u"size=64k,nr_inodes=2"_s, u"tmpfs"_s, folder})
        == 0;
    if (!mounted && geteuid() == 0)
        QSKIP("root can write any folder, and no tmpfs can be mounted here");
    QVERIFY(writeFile(path, "[S]\r\nk=old and longer\r\n")
        && (mounted || chmod(QFile::encodeName(folder), 0555) == 0));
    SetIniPath(path);
    const bool written = WriteIniString(u"S"_s, u"k"_s, u"new"_s);
    const QByteArray readBack = readFile(path);
    mounted ? QProcess::execute(u"umount"_s, {folder}) : chmod(QFile::encodeName(folder), 0755);
    QVERIFY(written);
    QCOMPARE(readBack, "[S]\r\nk=new\r\n"_ba); // no tail of the longer old content
#else
    QSKIP("needs a folder that refuses new files");
#endif
}

void tst_Settings::byteOrderMarks_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after"); // after Level=8 and Name=ア are written

    auto utf16 = [](const QString &text) {
        return "\xFF\xFE"_ba + QStringEncoder(QStringConverter::Utf16LE)(text);
    };
    const QByteArray utf8 = "\xEF\xBB\xBF";
    QTest::newRow("UTF-8") << utf8 + "[Setup]\r\nLevel=7\r\n"
                           << utf8 + "[Setup]\r\nLevel=8\r\nName=\xE3\x82\xA2\r\n";
    QTest::newRow("UTF-16LE") << utf16(u"[Setup]\r\nLevel=7\r\n"_s)
                              << utf16(u"[Setup]\r\nLevel=8\r\nName=ア\r\n"_s);
    QTest::newRow("UTF-16LE, odd: read only")
        << utf16(u"[Setup]\r\nLevel=7"_s) + 'x' << utf16(u"[Setup]\r\nLevel=7"_s) + 'x';
}

void tst_Settings::byteOrderMarks()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);

    IniFixture ini;
    ini.setContent(before);
    QCOMPARE(ReadIniInt(u"Setup"_s, u"Level"_s, 0), 7);
    QCOMPARE(WriteIniString(u"Setup"_s, u"Level"_s, u"8"_s), after != before);
    QCOMPARE(WriteIniString(u"Setup"_s, u"Name"_s, u"ア"_s), after != before);
    QCOMPARE(ini.content(), after);
    QCOMPARE(
        ReadIniString(u"Setup"_s, u"Name"_s, u"none"_s), after == before ? u"none"_s : u"ア"_s);
}

void tst_Settings::permissionsAndLinksKept()
{
#ifdef Q_OS_WIN
    QSKIP("a link made here is a shell shortcut, which programs that open files do not follow");
#endif
    IniFixture ini;
    const QString target = ini.filePath(u"real.ini"_s);
    QVERIFY(writeFile(target, "[S]\r\nk=old\r\n"));
    QVERIFY(QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    const auto permissions = QFileInfo(target).permissions();
    QVERIFY(QFile::link(target, ini.path()));

    QVERIFY(WriteIniString(u"S"_s, u"k"_s, u"new"_s));
    QVERIFY(QFileInfo(ini.path()).isSymLink());
    QCOMPARE(readFile(target), "[S]\r\nk=new\r\n"_ba);
    QCOMPARE(QFileInfo(target).permissions(), permissions);
}

QTEST_GUILESS_MAIN(tst_Settings)
#include "tst_settings.moc"
