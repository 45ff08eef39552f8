#include "common/module1.h"
#include "common/windowfixture.h"
#include "layouts/twips.h"
#include "mainwindow/formmain.h"
#include "mainwindow/lcddisplay.h"
#include "settings/inifilesaveload.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTest>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

struct Controls
{
    QCheckBox *chk1;
    QScrollBar *scr1;
    LcdDisplay *txtDisp;
    QPushButton *com1;
};

Controls controlsOf(const FormMain &window)
{
    return {window.findChild<QCheckBox *>(u"Chk1"_s), window.findChild<QScrollBar *>(u"Scr1"_s),
        window.findChild<LcdDisplay *>(u"TxtDisp"_s), window.findChild<QPushButton *>(u"Com1"_s)};
}

int checkedTheme(const FormMain &window)
{
    int checked = -1;
    for (int theme = 0; theme <= 4; ++theme) {
        if (window.sys1(theme)->isChecked()) {
            if (checked >= 0)
                return -2; // more than one
            checked = theme;
        }
    }
    return checked;
}

QByteArray setupSection(const FormMain &window, const QByteArray &log, const QByteArray &display,
    const QByteArray &level, const QByteArray &winPos)
{
    return "[Setup]\r\nLog=" + log + "\r\nDisplay=" + display + "\r\nLevel=" + level + "\r\nWinPos="
        + winPos + "\r\nWinPosX=" + QByteArray::number(Twips::fromPixels(window.x()))
        + "\r\nWinPosY=" + QByteArray::number(Twips::fromPixels(window.y())) + "\r\n";
}

} // namespace

class tst_FormMain : public QObject
{
    Q_OBJECT

private slots:
    void firstStart();
    void restoredControls_data();
    void restoredControls();
    void logSettings_data();
    void logSettings();
    void levelIndicator_data();
    void levelIndicator();
    void animationTimeline();
    void drawAndRefreshStopTheAnimation();
    void enterDrawsFromEveryControl();
    void drawLogsOnlyWhileRecording();
    void themesAndSwitches();
    void helpKey();
    void tabOrder();
    void secondInstance();
    void titleOnActivation();
};

void tst_FormMain::firstStart()
{
    WindowFixture fixture;
    FormMain window(fixture.locations());
    QVERIFY(window.Form_Load());
    const Controls c = controlsOf(window);

    QCOMPARE(checkedTheme(window), 1);
    QCOMPARE(c.txtDisp->palette().color(QPalette::Base), QColor(176, 232, 32));
    QVERIFY(window.sys1(6)->isChecked());
    QVERIFY(window.sys1(7)->isChecked());
    QVERIFY(c.chk1->isChecked());
    QCOMPARE(c.scr1->value(), 5);

    // Centred in twips, lifted 128 twips above the middle.
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const double left
        = std::lrint((Twips::fromPixels(screen.width()) - Twips::fromPixels(window.width())) / 2.0);
    const double top
        = std::lrint(
              (Twips::fromPixels(screen.height()) - Twips::fromPixels(window.height())) / 2.0)
        - 128;
    QCOMPARE(window.pos(), QPoint(Twips::toPixels(int(left)), Twips::toPixels(int(top))));

    QCOMPARE(window.logFilePath(), fixture.filePath(u"nmr.log"_s));
    QCOMPARE(window.logViewCopyPath(),
        Module1::AppendBackslash(Module1::GetTempDirectory()) + u"nmr.log"_s);
    QCOMPARE(window.logViewerCommand(), u"xdg-open"_s);
    QVERIFY(!QFile::exists(fixture.iniPath()));

    window.close();
    QCOMPARE(fixture.ini(), setupSection(window, "1", "1", "105", "0"));
}

void tst_FormMain::restoredControls_data()
{
    QTest::addColumn<QByteArray>("setup");
    QTest::addColumn<bool>("checked");
    QTest::addColumn<int>("strength");
    QTest::addColumn<int>("theme");
    QTest::addColumn<QPoint>("position"); // pixels; (-1, -1): centred
    QTest::addColumn<QByteArray>("written"); // Display and Level as written at exit

    const QPoint centred(-1, -1);
    QTest::newRow("Level 5") << "Level=5"_ba << false << 5 << 1 << centred << "1 5"_ba;
    QTest::newRow("Level 100") << "Level=100"_ba << true << 0 << 1 << centred << "1 100"_ba;
    QTest::newRow("Level 115") << "Level=115"_ba << true << 15 << 1 << centred << "1 115"_ba;
    QTest::newRow("Level 1") << "Level=1"_ba << false << 1 << 1 << centred << "1 1"_ba;
    QTest::newRow("Level beyond the slider held at 15")
        << "Level=150"_ba << true << 15 << 1 << centred << "1 115"_ba;
    QTest::newRow("Display 3") << "Display=3"_ba << true << 5 << 3 << centred << "3 105"_ba;
    QTest::newRow("Display 5 selects none")
        << "Display=5"_ba << true << 5 << -1 << centred << "5 105"_ba;
    QTest::newRow("WinPos 1 at a saved place") << "WinPos=1\r\nWinPosX=300\r\nWinPosY=450"_ba
                                               << true << 5 << 1 << QPoint(20, 30) << "1 105"_ba;
    QTest::newRow("WinPos 1 without a place")
        << "WinPos=1"_ba << true << 5 << 1 << QPoint(0, 0) << "1 105"_ba;
}

void tst_FormMain::restoredControls()
{
    QFETCH(QByteArray, setup);
    QFETCH(bool, checked);
    QFETCH(int, strength);
    QFETCH(int, theme);
    QFETCH(QPoint, position);
    QFETCH(QByteArray, written);

    WindowFixture fixture;
    fixture.writeIni("[Setup]\r\n" + setup + "\r\n");
    FormMain window(fixture.locations());
    QVERIFY(window.Form_Load());
    const Controls c = controlsOf(window);

    QCOMPARE(c.chk1->isChecked(), checked);
    QCOMPARE(c.scr1->value(), strength);
    QCOMPARE(c.scr1->isEnabled(), checked);
    QCOMPARE(checkedTheme(window), theme);
    const bool centred = position == QPoint(-1, -1);
    QCOMPARE(window.sys1(6)->isChecked(), centred);
    if (!centred)
        QCOMPARE(window.pos(), position);

    window.close();
    const QList<QByteArray> values = written.split(' ');
    QCOMPARE(IniFileSaveLoad::ReadIniString(u"Setup"_s, u"Display"_s, {}).toLatin1(), values[0]);
    QCOMPARE(IniFileSaveLoad::ReadIniString(u"Setup"_s, u"Level"_s, {}).toLatin1(), values[1]);
    QCOMPARE(IniFileSaveLoad::ReadIniInt(u"Setup"_s, u"WinPos"_s, -1), centred ? 0 : 1);
}

void tst_FormMain::logSettings_data()
{
    QTest::addColumn<QByteArray>("setup");
    QTest::addColumn<QString>("logName");
    QTest::addColumn<QString>("viewer");

    const QString self = QCoreApplication::applicationFilePath();
    QTest::newRow("nothing set") << QByteArray() << u"nmr.log"_s << u"xdg-open"_s;
    QTest::newRow("the default viewer by name")
        << "LogViewer=xdg-open"_ba << u"nmr.log"_s << u"xdg-open"_s;
    QTest::newRow("a name no lookup finds")
        << "LogViewer=Xdg-Open"_ba << u"nmr.log"_s << u"xdg-open"_s;
    QTest::newRow("an existing program") << "LogViewer="_ba + self.toUtf8() << u"nmr.log"_s << self;
    QTest::newRow("a bare log name")
        << "LogFile=results.txt"_ba << u"results.txt"_s << u"xdg-open"_s;
}

void tst_FormMain::logSettings()
{
    QFETCH(QByteArray, setup);
    QFETCH(QString, logName);
    QFETCH(QString, viewer);

    WindowFixture fixture;
    fixture.writeIni("[Setup]\r\n" + setup + "\r\n");
    FormMain window(fixture.locations());
    QVERIFY(window.Form_Load());

    QCOMPARE(window.logFilePath(), fixture.filePath(logName));
    QCOMPARE(
        window.logViewCopyPath(), Module1::AppendBackslash(Module1::GetTempDirectory()) + logName);
    QCOMPARE(window.logViewerCommand(), viewer);
    window.close();
    QVERIFY(!fixture.ini().contains("LogFile=\"\""));
}

void tst_FormMain::levelIndicator_data()
{
    QTest::addColumn<bool>("checked");
    QTest::addColumn<int>("strength");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("display");

    const QString scale = u"弱　・　・　・｜・　・　・　強\r\n"_s;
    QTest::newRow("strength 0") << true << 0 << u"出現レベル : 0"_s << scale + u"□□□□□□□□□□□□□□□"_s;
    QTest::newRow("strength 5") << true << 5 << u"出現レベル : 5"_s << scale + u"■■■■■□□□□□□□□□□"_s;
    QTest::newRow("strength 15") << true << 15 << u"出現レベル : 15"_s
                                 << scale + u"■■■■■■■■■■■■■■■"_s;
    QTest::newRow("switched off") << false << 9 << u"出現レベル : OFF"_s
                                  << u"\r\n 出現率を無効にしました。"_s;
}

void tst_FormMain::levelIndicator()
{
    QFETCH(bool, checked);
    QFETCH(int, strength);
    QFETCH(QString, caption);
    QFETCH(QString, display);

    WindowFixture fixture;
    FormMain window(fixture.locations());
    QVERIFY(window.Form_Load());
    const Controls c = controlsOf(window);

    c.scr1->setValue(strength);
    c.chk1->setChecked(!checked);
    c.chk1->setChecked(checked);
    QCOMPARE(c.chk1->text(), caption);
    QCOMPARE(c.txtDisp->displayText(), display);
    QCOMPARE(c.txtDisp->pointSize(), 10);
    QCOMPARE(c.scr1->isEnabled(), checked);
    QVERIFY(!window.isTimer1Enabled());

    // Switching back on shows the bar for the slider's unchanged value.
    c.chk1->setChecked(true);
    QCOMPARE(c.chk1->text(), u"出現レベル : "_s + QString::number(strength));
}

void tst_FormMain::animationTimeline()
{
    WindowFixture fixture;
    FormMain window(fixture.locations());
    QVERIFY(window.Form_Load());
    const LcdDisplay *display = controlsOf(window).txtDisp;

    QCOMPARE(display->displayText(), u"N           "_s);
    QCOMPARE(display->pointSize(), 25);
    QCOMPARE(window.timer1Tag(), u"1"_s);
    QVERIFY(window.isTimer1Enabled());

    for (int step = 2; step <= 22; ++step) {
        window.Timer1_Timer();
        const QString title = u"Numerisphere"_s.left(step) + QString(qMax(12 - step, 0), u' ');
        QCOMPARE(display->displayText(), title);
    }
    window.Timer1_Timer();
    QCOMPARE(display->displayText(), QString());
    QVERIFY(window.isTimer1Enabled());

    window.Timer1_Timer();
    QCOMPARE(display->displayText(), u"\r\n本日は  2026年 12月 5日 (土) です。"_s);
    QCOMPARE(display->pointSize(), 10);
    QVERIFY(!window.isTimer1Enabled());
    QCOMPARE(window.timer1Tag(), u"24"_s);
}

void tst_FormMain::drawAndRefreshStopTheAnimation()
{
    WindowFixture fixture;
    FormMain window(fixture.locations());
    QVERIFY(window.Form_Load());
    const Controls c = controlsOf(window);

    QTest::mouseClick(c.com1, Qt::LeftButton);
    QVERIFY(!window.isTimer1Enabled());
    const QString result = c.txtDisp->displayText();
    QCOMPARE(result.size(), 17);
    QCOMPARE(c.txtDisp->pointSize(), 25);
    QTest::qWait(350);
    QCOMPARE(c.txtDisp->displayText(), result);

    // A later start-up of the animation is interrupted just the same by a level refresh.
    window.Timer1_Timer();
    QCOMPARE(c.txtDisp->pointSize(), 25);
    c.chk1->click();
    QVERIFY(!window.isTimer1Enabled());
    QCOMPARE(c.txtDisp->pointSize(), 10);
}

void tst_FormMain::enterDrawsFromEveryControl()
{
    WindowFixture fixture;
    FormMain window(fixture.locations());
    QVERIFY(window.Form_Load());
    const Controls c = controlsOf(window);

    for (QWidget *control : {static_cast<QWidget *>(c.chk1), static_cast<QWidget *>(c.scr1)}) {
        c.chk1->click(); // the indicator replaces any earlier result
        QCOMPARE(c.txtDisp->pointSize(), 10);
        QTest::keyClick(control, Qt::Key_Return);
        QTRY_COMPARE(c.txtDisp->displayText().size(), 17);
        QCOMPARE(c.txtDisp->pointSize(), 25);
    }
}

void tst_FormMain::drawLogsOnlyWhileRecording()
{
    WindowFixture fixture;
    FormMain window(fixture.locations());
    QVERIFY(window.Form_Load());

    window.Com1_Click();
    const QString first = controlsOf(window).txtDisp->displayText();
    QCOMPARE(readFile(window.logFilePath()), "26/12/05 23:41:07 | " + first.toLatin1() + "\r\n");

    window.sys1(7)->trigger();
    QVERIFY(!window.sys1(7)->isChecked());
    window.Com1_Click();
    QCOMPARE(readFile(window.logFilePath()).count('\n'), 1);
}

void tst_FormMain::themesAndSwitches()
{
    WindowFixture fixture;
    FormMain window(fixture.locations());
    QVERIFY(window.Form_Load());
    const LcdDisplay *display = controlsOf(window).txtDisp;

    window.sys1(3)->trigger();
    QCOMPARE(checkedTheme(window), 3);
    QCOMPARE(display->palette().color(QPalette::Base), QColor(64, 176, 255));
    QCOMPARE(display->palette().color(QPalette::Text), QColor(16, 32, 48));
    window.sys1(3)->trigger();
    QCOMPARE(checkedTheme(window), 3);

    for (const int index : {5, 8, 20, -1, 255}) {
        window.mSys1_Click(index);
        QCOMPARE(checkedTheme(window), 3);
        QCOMPARE(display->palette().color(QPalette::Base), QColor(64, 176, 255));
        QVERIFY(window.sys1(6)->isChecked());
        QVERIFY(window.sys1(7)->isChecked());
    }

    const QPoint before = window.pos();
    window.sys1(6)->trigger();
    QVERIFY(!window.sys1(6)->isChecked());
    QCOMPARE(window.pos(), before);
    window.close();
    QVERIFY(fixture.ini().contains("Log=1\r\nDisplay=3\r\nLevel=105\r\nWinPos=1\r\n"));
}

void tst_FormMain::helpKey()
{
    WindowFixture fixture;
    FormMain window(fixture.locations());
    QVERIFY(window.Form_Load());
    const Controls c = controlsOf(window);
    const QString page = fixture.filePath(u"nmr-help/_RESOURCE/main.htm"_s);

    QTest::keyClick(c.scr1, Qt::Key_F1);
    QTest::keyClick(c.com1, Qt::Key_F1, Qt::ShiftModifier | Qt::ControlModifier);
    QCOMPARE(fixture.launches.size(), 2u);
    for (const auto &launch : fixture.launches) {
        QCOMPARE(launch.program, u"xdg-open"_s);
        QCOMPARE(launch.arguments, QStringList {page});
    }
    QVERIFY(fixture.messages.isEmpty());

    fixture.launchSucceeds = false;
    QTest::keyClick(c.chk1, Qt::Key_F1);
    QCOMPARE(fixture.messages, QStringList {u"ヘルプの実行に失敗しました。"_s});
}

void tst_FormMain::tabOrder()
{
    WindowFixture fixture;
    FormMain window(fixture.locations());
    QVERIFY(window.Form_Load());
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    const Controls c = controlsOf(window);

    c.chk1->setFocus();
    for (QWidget *next : std::initializer_list<QWidget *> {c.scr1, c.txtDisp, c.com1, c.chk1}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), next);
    }
}

void tst_FormMain::secondInstance()
{
    WindowFixture fixture;
    FormMain first(fixture.locations());
    QVERIFY(first.Form_Load());

    {
        FormMain second(fixture.locations());
        QVERIFY(!second.Form_Load());
        second.close();
    }
    QVERIFY(!QFile::exists(fixture.iniPath()));
    QVERIFY(first.isTimer1Enabled());

    first.close();
    FormMain third(fixture.locations());
    QVERIFY(third.Form_Load());
}

void tst_FormMain::titleOnActivation()
{
    WindowFixture fixture;
    FormMain window(fixture.locations());
    QVERIFY(window.Form_Load());
    QCOMPARE(window.windowTitle(), u"xdg-open"_s);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QCOMPARE(window.windowTitle(), u"Numerisphere"_s);
}

QTEST_MAIN(tst_FormMain)
#include "tst_formmain.moc"
