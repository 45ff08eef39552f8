#include "common/module1.h"
#include "common/windowfixture.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

using namespace Qt::StringLiterals;

class tst_Module1 : public QObject
{
    Q_OBJECT

private slots:
    void appendBackslash_data();
    void appendBackslash();
    void tempDirectoryIsPrivate();
    void helpPageIsOneArgument();
};

void tst_Module1::appendBackslash_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("expected");

    const QString s = QDir::separator();
    QTest::newRow("root stays") << s << s;
    QTest::newRow("separator added") << u"a"_s + s + u"b"_s << u"a"_s + s + u"b"_s + s;
    QTest::newRow("already ends in one") << u"dir"_s + s << u"dir"_s + s;
    QTest::newRow("empty gives a lone separator") << QString() << s;
}

void tst_Module1::appendBackslash()
{
    QFETCH(QString, path);
    QFETCH(QString, expected);
    QCOMPARE(Module1::AppendBackslash(path), expected);
}

void tst_Module1::tempDirectoryIsPrivate()
{
    const QString directory = Module1::GetTempDirectory();
    QVERIFY(!directory.isEmpty());
    const QFileInfo info(directory);
    QVERIFY(info.isDir());
    QVERIFY(!info.isSymLink());
    QVERIFY(info.isWritable());
    const auto others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther
        | QFile::WriteOther | QFile::ExeOther;
    QCOMPARE(info.permissions() & others, QFile::Permissions());
    QCOMPARE(Module1::GetTempDirectory(), directory);
}

void tst_Module1::helpPageIsOneArgument()
{
    WindowFixture fixture;
    const QString help = fixture.filePath(u"a folder; with $(odd) name"_s);
    Module1::SetHelpDirectory(help);
    Module1::ShowHelpPage(u"index.htm"_s);
    QCOMPARE(fixture.launches.size(), 1u);
    QCOMPARE(fixture.launches[0].program, u"xdg-open"_s);
    QCOMPARE(
        fixture.launches[0].arguments, QStringList {help + QDir::separator() + u"index.htm"_s});
}

QTEST_MAIN(tst_Module1)
#include "tst_module1.moc"
