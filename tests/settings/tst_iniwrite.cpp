#include "common/inifixture.h"
#include "settings/inifilesaveload.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#endif

using namespace IniFileSaveLoad;
using namespace Qt::StringLiterals;

class tst_IniWrite : public QObject
{
    Q_OBJECT

private slots:
    void golden_data();
    void golden();
    void encoding_data();
    void encoding();
    void reshapingRefused_data();
    void reshapingRefused();
    void notAFile_data();
    void notAFile();
    void pathBelowAFile();
    void failedWriteKeepsOldFile();
    void permissionsAndLinksKept();
};

void tst_IniWrite::golden_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");

    QTest::newRow("new file") << u"write-new-file"_s << u"Setup"_s << u"Log"_s;
    QTest::newRow("new section after unterminated line")
        << u"write-new-section"_s << u"B"_s << u"k"_s;
    QTest::newRow("new key after the last key") << u"write-new-key"_s << u"s"_s << u"k"_s;
    QTest::newRow("replaced value keeps spelling") << u"write-replace"_s << u"S"_s << u"k"_s;
    QTest::newRow("other lines kept byte for byte") << u"write-keep-others"_s << u"S"_s << u"k"_s;
    QTest::newRow("key into an empty section") << u"write-empty-section"_s << u"S"_s << u"k"_s;
    QTest::newRow("key after an unterminated header") << u"write-header-last"_s << u"S"_s << u"k"_s;
}

void tst_IniWrite::golden()
{
    QFETCH(QString, name);
    QFETCH(QString, section);
    QFETCH(QString, key);

    const QString data = QStringLiteral(NMR_TEST_DATA "/") + name;
    IniFixture ini;
    if (QFileInfo::exists(data + u".ini"_s))
        ini.setContent(readFile(data + u".ini"_s));

    WriteIniString(section, key, name == u"write-new-file"_s ? u"1"_s : u"v"_s);

    const QByteArray expected = readFile(data + u".expected"_s);
    QVERIFY(!expected.isEmpty());
    QCOMPARE(ini.content(), expected);
}

void tst_IniWrite::encoding_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QString>("readBack");

    QTest::newRow("circled one, rare kanji")
        << u"S"_s << u"①髙"_s << "\x87\x40\xfb\xfc"_ba << u"①髙"_s;
    QTest::newRow("katakana section") << u"ゾーン"_s << u"ア"_s << "\x83\x41"_ba << u"ア"_s;
    QTest::newRow("wave dash to fullwidth tilde")
        << u"S"_s << u"\u301C"_s << "\x81\x60"_ba << u"\uFF5E"_s;
    QTest::newRow("yen sign to fullwidth yen")
        << u"S"_s << u"\u00A5"_s << "\x81\x8f"_ba << u"\uFFE5"_s;
    QTest::newRow("unencodable becomes ?")
        << u"S"_s << u"a\U0001F600b\u00E9"_s << "a?b?"_ba << u"a?b?"_s;
}

void tst_IniWrite::encoding()
{
    QFETCH(QString, section);
    QFETCH(QString, value);
    QFETCH(QByteArray, stored);
    QFETCH(QString, readBack);

    IniFixture ini;
    WriteIniString(section, u"k"_s, value);
    QVERIFY2(ini.content().contains("k=" + stored + "\r\n"), ini.content().toHex(' '));
    QCOMPARE(ReadIniString(section, u"k"_s, u"missing"_s), readBack);
}

void tst_IniWrite::reshapingRefused_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");

    QTest::newRow("line feed in value") << u"S"_s << u"k"_s << u"a\nb=c"_s;
    QTest::newRow("carriage return in value") << u"S"_s << u"k"_s << u"a\r[T]"_s;
    QTest::newRow("] in section") << u"S]x"_s << u"k"_s << u"v"_s;
    QTest::newRow("line break in section") << u"S\r\n[T"_s << u"k"_s << u"v"_s;
    QTest::newRow("key starting with ;") << u"S"_s << u";k"_s << u"v"_s;
    QTest::newRow("key starting with [") << u"S"_s << u" [k"_s << u"v"_s;
    QTest::newRow("= in key") << u"S"_s << u"a=b"_s << u"v"_s;
}

void tst_IniWrite::reshapingRefused()
{
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);

    IniFixture ini;
    const QByteArray before = "[S]\r\nk=old\r\n";
    ini.setContent(before);
    WriteIniString(section, key, value);
    QCOMPARE(ini.content(), before);
}

void tst_IniWrite::notAFile_data()
{
    QTest::addColumn<bool>("fifo");
    QTest::newRow("directory") << false;
    QTest::newRow("FIFO") << true;
}

void tst_IniWrite::notAFile()
{
    QFETCH(bool, fifo);

    // Neither is ever read as settings nor replaced, for root as for anyone; a FIFO would block.
    IniFixture ini;
#ifdef Q_OS_UNIX
    QVERIFY(fifo ? mkfifo(QFile::encodeName(ini.path()).constData(), 0600) == 0
                 : QDir().mkdir(ini.path()));
#else
    if (fifo)
        QSKIP("no FIFO here");
    QVERIFY(QDir().mkdir(ini.path()));
#endif
    QCOMPARE(ReadIniString(u"S"_s, u"k"_s, u"d"_s), u"d"_s);
    WriteIniString(u"S"_s, u"k"_s, u"v"_s);
    QCOMPARE(QFileInfo(ini.path()).isDir(), !fifo);
    QVERIFY(!QFileInfo(ini.path()).isFile());
    QCOMPARE(QDir(ini.filePath({}))
                 .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot | QDir::Hidden),
        QStringList {u"nmr.ini"_s});
}

void tst_IniWrite::pathBelowAFile()
{
    IniFixture ini;
    const QString plain = ini.filePath(u"plain"_s);
    QVERIFY(writeFile(plain, "keep"));
    SetIniPath(plain + u"/nmr.ini"_s);
    WriteIniString(u"S"_s, u"k"_s, u"v"_s);
    QCOMPARE(readFile(plain), "keep"_ba);
}

void tst_IniWrite::failedWriteKeepsOldFile()
{
#ifdef Q_OS_UNIX
    // A file size limit makes the write fail part-way, for root as for anyone.
    IniFixture ini;
    const QByteArray before = "[S]\r\nk=old\r\n";
    ini.setContent(before);

    rlimit saved {};
    QVERIFY(getrlimit(RLIMIT_FSIZE, &saved) == 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 64;
    QVERIFY(setrlimit(RLIMIT_FSIZE, &small) == 0);
    WriteIniString(u"S"_s, u"k"_s, QString(200, u'v'));
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    QCOMPARE(ini.content(), before);
    QCOMPARE(
        QDir(ini.filePath({})).entryList(QDir::Files | QDir::Hidden), QStringList {u"nmr.ini"_s});
#else
    QSKIP("needs a file size limit");
#endif
}

void tst_IniWrite::permissionsAndLinksKept()
{
    IniFixture ini;
    const QString target = ini.filePath(u"real.ini"_s);
    QVERIFY(writeFile(target, "[S]\r\nk=old\r\n"));
    QVERIFY(QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    const auto permissions = QFileInfo(target).permissions();
    QVERIFY(QFile::link(target, ini.path()));

    WriteIniString(u"S"_s, u"k"_s, u"new"_s);

    QVERIFY(QFileInfo(ini.path()).isSymLink());
    QCOMPARE(readFile(target), "[S]\r\nk=new\r\n"_ba);
    QCOMPARE(QFileInfo(target).permissions(), permissions);
}

QTEST_GUILESS_MAIN(tst_IniWrite)
#include "tst_iniwrite.moc"
