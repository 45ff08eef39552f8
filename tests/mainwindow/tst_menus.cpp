#include "common/formabout.h"
#include "common/module1.h"
#include "common/windowfixture.h"
#include "mainwindow/formmain.h"
#include "mainwindow/lcddisplay.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

const LcdDisplay *displayOf(const FormMain &window)
{
    return window.findChild<LcdDisplay *>(u"TxtDisp"_s);
}

} // namespace

class tst_Menus : public QObject
{
    Q_OBJECT

private slots:
    void menuEnabling();
    void openLog();
    void openLogFailures_data();
    void openLogFailures();
    void deleteLog();
    void deleteLogFails();
    void exitRemovesTheCopy();
    void copy();
    void reset();
    void exitSavesLikeTheCloseBox();
    void shortcuts();
    void helpMenu();
    void aboutBox();
};

void tst_Menus::menuEnabling()
{
    WindowFixture fixture;
    FormMain window(fixture.locations());
    QVERIFY(window.Form_Load());
    auto enabled = [&](int index) {
        window.mSys_Click();
        return window.sys1(index)->isEnabled();
    };

    QVERIFY(!enabled(14));
    QVERIFY(!enabled(9));
    QVERIFY(!enabled(10));
    window.Com1_Click();
    QVERIFY(enabled(14));
    QVERIFY(enabled(9));
    QVERIFY(enabled(10));
    window.sys1(17)->trigger();
    QVERIFY(!enabled(14));

    // The level indicator is no draw result either.
    window.Com1_Click();
    window.findChild<QCheckBox *>(u"Chk1"_s)->click();
    QVERIFY(!enabled(14));
}

void tst_Menus::openLog()
{
    WindowFixture fixture;
    FormMain window(fixture.locations());
    QVERIFY(window.Form_Load());
    window.Com1_Click();
    const QByteArray log = readFile(window.logFilePath());

    window.sys1(9)->trigger();
    QCOMPARE(fixture.launches.size(), 1u);
    QCOMPARE(fixture.launches[0].program, u"xdg-open"_s);
    QCOMPARE(fixture.launches[0].arguments, QStringList {window.logViewCopyPath()});
    QCOMPARE(readFile(window.logViewCopyPath()), log);

    // Edits in the viewer change the copy only; the next opening copies the log afresh.
    writeFile(window.logViewCopyPath(), "edited");
    window.sys1(9)->trigger();
    QCOMPARE(readFile(window.logViewCopyPath()), log);
    QVERIFY(fixture.messages.isEmpty());
    window.close();
}

void tst_Menus::openLogFailures_data()
{
    QTest::addColumn<bool>("logExists");
    QTest::addColumn<bool>("viewerStarts");

    QTest::newRow("viewer cannot start") << true << false;
    QTest::newRow("missing log") << false << true;
    QTest::newRow("both") << false << false;
}

void tst_Menus::openLogFailures()
{
    QFETCH(bool, logExists);
    QFETCH(bool, viewerStarts);

    WindowFixture fixture;
    FormMain window(fixture.locations());
    QVERIFY(window.Form_Load());
    if (logExists)
        window.Com1_Click();
    fixture.launchSucceeds = viewerStarts;

    window.mSys1_Click(9);
    QCOMPARE(fixture.launches.size(), 1u); // the viewer is tried even without a copy
    QCOMPARE(fixture.messages, QStringList {u"実行できません。"_s});
    window.close();
}

void tst_Menus::deleteLog()
{
    WindowFixture fixture;
    FormMain window(fixture.locations());
    QVERIFY(window.Form_Load());
    window.Com1_Click();
    window.Com1_Click();

    fixture.nextAnswer = QMessageBox::No;
    window.mSys1_Click(10);
    QCOMPARE(fixture.messages, QStringList {u"ログファイルを削除します。よろしいですか？"_s});
    QCOMPARE(readFile(window.logFilePath()).count('\n'), 2);

    fixture.nextAnswer = QMessageBox::Yes;
    window.mSys1_Click(10);
    QVERIFY(!QFile::exists(window.logFilePath()));
    QCOMPARE(fixture.messages.size(), 2);
    window.Com1_Click();
    QCOMPARE(readFile(window.logFilePath()).count('\n'), 1);
}

void tst_Menus::deleteLogFails()
{
    WindowFixture fixture;
    // A directory where the log should be cannot be removed as a file, even by root.
    QVERIFY(QDir().mkpath(fixture.filePath(u"nmr.log/inside"_s)));
    FormMain window(fixture.locations());
    QVERIFY(window.Form_Load());

    fixture.nextAnswer = QMessageBox::Yes;
    window.mSys1_Click(10);
    QCOMPARE(fixture.messages.last(), u"削除できません。"_s);
    QVERIFY(QFileInfo(window.logFilePath()).isDir());
}

void tst_Menus::exitRemovesTheCopy()
{
    WindowFixture fixture;
    FormMain window(fixture.locations());
    QVERIFY(window.Form_Load());
    window.Com1_Click();
    window.mSys1_Click(9);
    QVERIFY(QFile::exists(window.logViewCopyPath()));
    window.mSys1_Click(19);
    QVERIFY(!QFile::exists(window.logViewCopyPath()));

    // A copy left behind by an earlier run goes at the next exit too.
    writeFile(window.logViewCopyPath(), "left over");
    FormMain next(fixture.locations());
    QVERIFY(next.Form_Load());
    next.close();
    QVERIFY(!QFile::exists(next.logViewCopyPath()));
}

void tst_Menus::copy()
{
    WindowFixture fixture;
    FormMain window(fixture.locations());
    QVERIFY(window.Form_Load());
    window.Com1_Click();
    const QString result = displayOf(window)->displayText();
    QCOMPARE(result.size(), 17);

    window.mSys_Click();
    window.sys1(14)->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text(), result);
}

void tst_Menus::reset()
{
    WindowFixture fixture;
    FormMain window(fixture.locations());
    QVERIFY(window.Form_Load());
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    window.Timer1_Timer();
    window.Timer1_Timer();
    window.Com1_Click(); // interrupts the animation at step 3

    window.sys1(17)->trigger();
    QCOMPARE(displayOf(window)->displayText(), QString());
    QCOMPARE(window.timer1Tag(), u"0"_s);
    QVERIFY(window.isTimer1Enabled());
    QCOMPARE(QApplication::focusWidget(), window.findChild<QCheckBox *>(u"Chk1"_s));
    QTRY_COMPARE(window.timer1Tag(), u"1"_s);
    QCOMPARE(displayOf(window)->displayText(), u"N           "_s);
    QCOMPARE(displayOf(window)->pointSize(), 25);
}

void tst_Menus::exitSavesLikeTheCloseBox()
{
    QByteArray saved[2];
    for (int way = 0; way < 2; ++way) {
        WindowFixture fixture;
        fixture.writeIni("[Setup]\r\nLevel=12\r\nDisplay=4\r\nLog=0\r\n");
        FormMain window(fixture.locations());
        QVERIFY(window.Form_Load());
        if (way == 0)
            window.sys1(19)->trigger();
        else
            window.close();
        saved[way] = fixture.ini();
    }
    QVERIFY(saved[0].contains("Level=12\r\n"));
    QCOMPARE(saved[0], saved[1]);
}

void tst_Menus::shortcuts()
{
    WindowFixture fixture;
    FormMain window(fixture.locations());
    QVERIFY(window.Form_Load());
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QWidget *com1 = window.findChild<QPushButton *>(u"Com1"_s);
    com1->setFocus();

    QTest::keyClick(com1, Qt::Key_G, Qt::ControlModifier);
    const QString result = displayOf(window)->displayText();
    QCOMPARE(result.size(), 17);
    QTest::keyClick(com1, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), result);
    QTest::keyClick(com1, Qt::Key_L, Qt::ControlModifier);
    QCOMPARE(fixture.launches.size(), 1u);
    QTest::keyClick(com1, Qt::Key_F2);
    QCOMPARE(displayOf(window)->displayText(), QString());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_W, Qt::ControlModifier);
    QVERIFY(!window.isVisible());
    QVERIFY(fixture.ini().startsWith("[Setup]\r\nLog=1\r\n"));
}

void tst_Menus::helpMenu()
{
    WindowFixture fixture;
    FormMain window(fixture.locations());
    QVERIFY(window.Form_Load());

    window.mHelp1_Click(1);
    QVERIFY(fixture.launches.empty());
    window.mHelp1_Click(0);
    QCOMPARE(fixture.launches.size(), 1u);
    QCOMPARE(fixture.launches[0].arguments,
        QStringList {fixture.filePath(u"nmr-help/_RESOURCE/index.htm"_s)});

    bool shown = false;
    QTimer::singleShot(0, this, [&] {
        auto *about = qobject_cast<FormAbout *>(QApplication::activeModalWidget());
        shown = about != nullptr;
        if (about)
            about->reject();
    });
    window.mHelp1_Click(2);
    QVERIFY(shown);
}

void tst_Menus::aboutBox()
{
    WindowFixture fixture;
    QList<QUrl> opened;
    Seams::setUrlOpener([&](const QUrl &url) {
        opened << url;
        return false; // a failure is ignored
    });

    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        FormAbout about;
        about.show();
        QVERIFY(QTest::qWaitForWindowActive(&about));
        QCOMPARE(about.lab1(2)->text(), u"Numerisphere"_s);
        QCOMPARE(about.windowTitle(), u"バージョン情報"_s);

        QLabel *link = about.lab1(1);
        QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);
        QTest::mouseClick(link, Qt::LeftButton);
        QTest::mouseClick(link, Qt::LeftButton);
        QVERIFY(about.isVisible());

        QTest::keyClick(QApplication::focusWidget(), key);
        QVERIFY(!about.isVisible());
    }
    Seams::setUrlOpener({});
    QCOMPARE(opened.size(), 4);
    for (const QUrl &url : opened)
        QCOMPARE(url, QUrl(u"https://numerisphere.example/"_s));
}

QTEST_MAIN(tst_Menus)
#include "tst_menus.moc"
