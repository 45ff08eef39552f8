#include "platform/instancelock.h"
#include "platform/module1.h"

#include <QDir>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace Qt::StringLiterals;

class tst_Platform : public QObject
{
    Q_OBJECT

private slots:
    void tempDirectory_data();
    void tempDirectory();
    void instanceLock_data();
    void instanceLock();
};

void tst_Platform::tempDirectory_data()
{
    // What stands at $XDG_RUNTIME_DIR and at the fallback $TMPDIR/numerisphere-<uid> beforehand:
    // nothing (empty), a directory with the octal mode given, a symbolic link to a private
    // directory, or a private directory of another user.
    QTest::addColumn<QString>("runtime");
    QTest::addColumn<QString>("fallback");
    QTest::addColumn<QString>("chosen"); // runtime, fallback or none

    QTest::newRow("runtime 700") << u"700"_s << u""_s << u"runtime"_s;
    QTest::newRow("runtime 710") << u"710"_s << u""_s << u"fallback"_s;
    QTest::newRow("runtime 701") << u"701"_s << u""_s << u"fallback"_s;
    QTest::newRow("runtime 500") << u"500"_s << u""_s << u"fallback"_s;
    QTest::newRow("runtime a link") << u"link"_s << u""_s << u"fallback"_s;
    QTest::newRow("runtime of another user") << u"other"_s << u""_s << u"fallback"_s;
    QTest::newRow("fallback made") << u""_s << u""_s << u"fallback"_s;
    QTest::newRow("fallback 700 kept") << u""_s << u"700"_s << u"fallback"_s;
    QTest::newRow("fallback 750") << u""_s << u"750"_s << u"none"_s;
    QTest::newRow("fallback 705") << u""_s << u"705"_s << u"none"_s;
    QTest::newRow("fallback a link") << u""_s << u"link"_s << u"none"_s;
    QTest::newRow("fallback of another user") << u""_s << u"other"_s << u"none"_s;
}

void tst_Platform::tempDirectory()
{
#ifdef Q_OS_UNIX
    QFETCH(QString, runtime);
    QFETCH(QString, fallback);
    QFETCH(QString, chosen);

    if ((runtime == u"other"_s || fallback == u"other"_s) && geteuid() != 0)
        QSKIP("giving a directory to another user needs root");
    QTemporaryDir root;
    const QString tmp = root.filePath(u"tmp"_s);
    QVERIFY(QDir().mkdir(tmp));
    const QMap<QString, QString> paths {{u"runtime"_s, root.filePath(u"runtime"_s)},
        {u"fallback"_s, tmp + u"/numerisphere-"_s + QString::number(geteuid())}};
    for (const auto &[path, how] :
        {std::pair(paths[u"runtime"_s], runtime), {paths[u"fallback"_s], fallback}}) {
        const QByteArray name = QFile::encodeName(path);
        QVERIFY(how.isEmpty()
            || (how == u"link"_s
                    ? mkdir(name + ".real", 0700) == 0 && symlink(name + ".real", name) == 0
                    : mkdir(name, 0700) == 0
                        && (how == u"other"_s ? chown(name, 65534, 65534)
                                              : chmod(name, how.toUInt(nullptr, 8)))
                            == 0));
    }

    // Every row sets both variables; an empty XDG_RUNTIME_DIR counts as unset.
    qputenv("XDG_RUNTIME_DIR",
        runtime.isEmpty() ? QByteArray() : QFile::encodeName(paths[u"runtime"_s]));
    qputenv("TMPDIR", QFile::encodeName(tmp));
    QCOMPARE(Module1::GetTempDirectory(), paths.value(chosen));
#else
    QSKIP("the private directory is the system's temporary directory");
#endif
}

void tst_Platform::instanceLock_data()
{
    // What stands where the lock goes: nothing, another copy's lock, a dead copy's, a lock with
    // no content or garbage (taken over after a second), or a directory, where no lock can be
    // had and the program starts without one.
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<bool>("acquired");

    // The host as the lock names it: on Windows the computer's name, which needs no look-up.
#ifdef Q_OS_WIN
    const QByteArray host = qgetenv("COMPUTERNAME");
#else
    const QByteArray host = QSysInfo::machineHostName().toUtf8();
#endif
    QTest::newRow("nothing") << QByteArray() << true;
    QTest::newRow("a live copy's lock") << "live"_ba << false;
    QTest::newRow("a dead copy's lock") << "2147483646\nnumerisphere\n" + host + '\n' << true;
    QTest::newRow("an empty lock") << ""_ba << true;
    QTest::newRow("garbage") << "\x01\xff garbage\n"_ba << true;
    QTest::newRow("a directory") << "directory"_ba << true;
}

void tst_Platform::instanceLock()
{
    QFETCH(QByteArray, before);
    QFETCH(bool, acquired);

    // In the private directory, or beside the settings file without one; named by the file.
    QTemporaryDir root;
    const QString ini = root.filePath(u"nmr.ini"_s);
    const QString name = QFileInfo(InstanceLock(ini, {}).path()).fileName();
    QCOMPARE(InstanceLock(ini, {}).path(), root.filePath(name));
    QVERIFY(name.startsWith(u"nmr-"_s)
        && name != QFileInfo(InstanceLock(ini + u'x', {}).path()).fileName());

    InstanceLock other(ini, root.path());
    QFile place(InstanceLock(ini, root.path()).path());
    QVERIFY(before != "live" || other.acquire());
    QVERIFY(before != "directory" || QDir().mkdir(place.fileName()));
    QVERIFY(before.isNull() || before == "live" || before == "directory"
        || (place.open(QIODevice::WriteOnly) && place.write(before) == before.size()));
    place.close();
    InstanceLock lock(ini, root.path());
    QCOMPARE(lock.acquire(), acquired);
}

QTEST_MAIN(tst_Platform)
#include "tst_platform.moc"
