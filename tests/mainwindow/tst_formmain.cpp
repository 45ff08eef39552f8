#include "aboutbox/formabout.h"
#include "common/describe.h"
#include "common/windowfixture.h"
#include "layouts/mainlayout.h"
#include "look/programstyle.h"

#include <QClipboard>
#include <QMenuBar>
#include <QScreen>

#include <optional>

class tst_FormMain : public QObject
{
    Q_OBJECT

    // A window on a fresh program directory, started with [Setup] and the given lines (no file
    // at all for a null array).
    void start(const QByteArray &setup = {});
    bool show() { return window->show(), QTest::qWaitForWindowActive(&*window); }
    // The window, its files and what it said and started since the last look.
    QStringList state();
    // The steps' transcript and the settings file after them, compared with <name>.state.
    void compareSession(const QString &name, const Steps &steps);

    std::optional<WindowFixture> fixture;
    std::optional<FormMain> window;

private slots:
    void initTestCase() { InstallProgramLook(); }
    void init() { fixture.emplace(); }
    void cleanup() { window.reset(), fixture.reset(); }
    void startAndExit_data();
    void startAndExit();
    void indicatorThemesAndSwitches();
    void animation();
    void openLog();
    void openLogWithoutPrivateDirectory();
    void deleteLog();
    void help();
    void keys();
    void programLook();
    void aboutBox();
};

void tst_FormMain::start(const QByteArray &setup)
{
    if (!setup.isNull())
        fixture->setContent("[Setup]\r\n" + setup + "\r\n");
    window.emplace(fixture->locations());
    QVERIFY(window->Form_Load());
}

QStringList tst_FormMain::state()
{
    const QString logPath = window->logFilePath();
    const QString copy = window->logViewCopyPath();
    const QByteArray log = readFile(logPath);
    return describe(*window) << fixture->local(u"log %1 %2, copy %3 %4, viewer %5"_s.arg(logPath,
               QFileInfo(logPath).isFile() ? u"%1 line(s)"_s.arg(log.count('\n')) : u"missing"_s,
               copy,
               !QFile::exists(copy)        ? u"missing"_s
                   : readFile(copy) == log ? u"as log"_s
                                           : u"edited"_s,
               window->logViewerCommand()));
}

void tst_FormMain::compareSession(const QString &name, const Steps &steps)
{
    const QStringList transcript
        = replay(
              steps, [this] { return state(); }, [this] { return fixture->takeRecords(); })
        << u"== nmr.ini"_s << fileLines(fixture->path());
    NMR_COMPARE_GOLDEN(transcript, name);
}

void tst_FormMain::startAndExit_data()
{
    // Each range the window reads, at both ends and one past; Level and Log are 16-bit.
    QTest::addColumn<QByteArray>("setup");
    QTest::newRow("no file") << QByteArray();
    for (const char *setup :
        {"Level=5", "Level=99", "Level=100", "Level=115", "Level=116", "Level=-1", "Level=65636",
            "Display=0", "Display=4", "Display=5", "Display=-1", "Display=10", "Display=12",
            "Display=16", "Display=19", "WinPos=1", "Log=0", "Log=65536"})
        QTest::newRow(setup) << QByteArray(setup);
    QTest::newRow("WinPos=1 at 300, 450") << "WinPos=1\r\nWinPosX=300\r\nWinPosY=450"_ba;
    QTest::newRow("WinPos=1 at the least int")
        << "WinPos=1\r\nWinPosX=-2147483648\r\nWinPosY=-2147483648"_ba;
    QTest::newRow("WinPos=1 below the screen") << "WinPos=1\r\nWinPosY=100000"_ba;
    QTest::newRow("LogViewer is a file") << "LogViewer=$DIR/my viewer"_ba;
    QTest::newRow("LogFile outside the folder") << "LogFile=../keep/notes.txt"_ba;
}

void tst_FormMain::startAndExit()
{
    QFETCH(QByteArray, setup);
    writeFile(fixture->filePath(u"my viewer"_s), "#!/bin/sh\n");
    start(setup.replace("$DIR", QFile::encodeName(fixture->directory())));
    QVERIFY(!FormMain(fixture->locations()).Form_Load()); // a second copy ends at once
    QStringList transcript = state();
    window->close();
    transcript << u"== nmr.ini"_s
               << fixture->local(fileLines(fixture->path()).join(u'\n')).split(u'\n');
    NMR_COMPARE_GOLDEN(
        transcript, u"start-and-exit/"_s + QString::fromLatin1(QTest::currentDataTag()));
    QVERIFY(FormMain(fixture->locations()).Form_Load()); // once the first has gone
}

void tst_FormMain::indicatorThemesAndSwitches()
{
    start();
    auto *chk1 = control<QCheckBox>(*window, u"Chk1"_s);
    auto *scr1 = control<QScrollBar>(*window, u"Scr1"_s);
    auto item = [&](int index) { return [&, index] { window->sys1(index)->trigger(); }; };
    compareSession(u"indicator-themes-switches"_s,
        {{u"start"_s, [] {}}, {u"Scr1 to 0"_s, [&] { scr1->setValue(0); }},
            {u"Scr1 to 15"_s, [&] { scr1->setValue(15); }}, {u"Chk1 off"_s, [&] { chk1->click(); }},
            {u"Scr1 to 9 while off"_s, [&] { scr1->setValue(9); }},
            {u"Chk1 on"_s, [&] { chk1->click(); }}, {u"theme 0"_s, item(0)},
            {u"theme 4"_s, item(4)}, {u"theme 3"_s, item(3)}, {u"theme 3 again"_s, item(3)},
            {u"items 5, 8, 20, -1 and 255 do nothing"_s,
                [&] {
                    for (const int index : {5, 8, 20, -1, 255})
                        window->mSys1_Click(index);
                }},
            {u"centring off"_s, item(MainLayout::CentreOnScreen)},
            {u"logging off"_s, item(MainLayout::RecordLog)},
            {u"draw"_s, [&] { window->Com1_Click(); }}, {u"exit"_s, item(MainLayout::Exit)}});
}

void tst_FormMain::animation()
{
    start();
    auto tick = [&] { window->Timer1_Timer(); };
    auto reset = [&] { window->mSys1_Click(MainLayout::Reset), tick(); };
    Steps steps {{u"start"_s, [] {}}};
    steps.insert(steps.end(), 23, {u"tick"_s, tick});
    steps.insert(steps.end(),
        {{u"open the menu"_s, [&] { window->mSys_Click(); }}, {u"reset, tick"_s, reset},
            {u"tick"_s, tick}, {u"draw"_s, [&] { window->Com1_Click(); }},
            {u"open the menu"_s, [&] { window->mSys_Click(); }}, {u"reset, tick"_s, reset},
            {u"Chk1 click"_s, [&] { control<QCheckBox>(*window, u"Chk1"_s)->click(); }},
            {u"reset, tick"_s, reset}});
    compareSession(u"animation"_s, steps);
}

void tst_FormMain::openLog()
{
    start();
    auto open = [&] { window->mSys1_Click(MainLayout::OpenLog); };
    compareSession(u"open-log"_s,
        {{u"open the menu"_s, [&] { window->mSys_Click(); }}, {u"open a missing log"_s, open},
            {u"draw"_s, [&] { window->Com1_Click(); }}, {u"open"_s, open},
            {u"edit the copy"_s, [&] { writeFile(window->logViewCopyPath(), "edited"); }},
            {u"open again"_s, open},
            {u"viewer cannot start"_s, [&] { fixture->launchSucceeds = false, open(); }},
            {u"exit"_s, [&] { window->close(); }},
            {u"a copy left behind, start and exit"_s, [&] {
                 writeFile(window->logViewCopyPath(), "left over"), start(), window->close();
             }}});
}

void tst_FormMain::openLogWithoutPrivateDirectory()
{
#ifndef Q_OS_UNIX
    QSKIP("the temporary folder here is always the user's own");
#endif
    // Neither the runtime directory nor the fallback below the temporary one: the log is copied
    // nowhere another user could reach, and no viewer starts.
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR"), tmp = qgetenv("TMPDIR");
    qputenv("XDG_RUNTIME_DIR", "/"), qputenv("TMPDIR", QFile::encodeName(fixture->path()));
    start("Log=1");
    qputenv("XDG_RUNTIME_DIR", runtime), qputenv("TMPDIR", tmp);
    window->Com1_Click();
    window->mSys1_Click(MainLayout::OpenLog);
    QCOMPARE(platformNeutral(state()).constLast(),
        u"log $DIR/nmr.log 1 line(s), copy  missing, viewer $VIEWER"_s);
    QCOMPARE(fixture->takeRecords(), QStringList {u"said as a failure \"実行できません。\""_s});
}

void tst_FormMain::deleteLog()
{
    start();
    auto remove = [&](QMessageBox::StandardButton answer) {
        return [&, answer] {
            fixture->nextAnswer = answer, window->mSys1_Click(MainLayout::DeleteLog);
        };
    };
    compareSession(u"delete-log"_s,
        {{u"draw twice"_s, [&] { window->Com1_Click(), window->Com1_Click(); }},
            {u"delete, No"_s, remove(QMessageBox::No)},
            {u"delete, Yes"_s, remove(QMessageBox::Yes)},
            {u"draw"_s, [&] { window->Com1_Click(); }},
            {u"a directory in the log's place"_s,
                [&] {
                    QFile::remove(window->logFilePath());
                    QDir().mkpath(window->logFilePath() + u"/inside"_s);
                }},
            {u"delete, Yes"_s, remove(QMessageBox::Yes)}});
}

void tst_FormMain::help()
{
    start();
    auto f1 = [&](const QString &name, Qt::KeyboardModifiers modifiers = {}) {
        return [&, name, modifiers] {
            QTest::keyClick(control<QWidget>(*window, name), Qt::Key_F1, modifiers);
        };
    };
    compareSession(u"help"_s,
        {{u"F1 on Scr1"_s, f1(u"Scr1"_s)},
            {u"Shift+Ctrl+F1 on Com1"_s, f1(u"Com1"_s, Qt::ShiftModifier | Qt::ControlModifier)},
            {u"F1 on TxtDisp"_s, f1(u"TxtDisp"_s)},
            {u"F1 on the menu bar"_s, [&] { QTest::keyClick(window->menuBar(), Qt::Key_F1); }},
            {u"contents"_s, [&] { window->mHelp1_Click(MainLayout::Contents); }},
            {u"separator"_s, [&] { window->mHelp1_Click(1); }},
            {u"viewer cannot start, F1 on Chk1"_s,
                [&] { fixture->launchSucceeds = false, f1(u"Chk1"_s)(); }}});
}

void tst_FormMain::keys()
{
    start();
    const auto *display = control<LcdDisplay>(*window, u"TxtDisp"_s);
    // Enter on the check box, the slider or the button draws at once, each press; a held key
    // draws once.
    for (const QString &name : {u"Chk1"_s, u"Scr1"_s, u"Com1"_s}) {
        for (int press = 0; press < 10; ++press)
            QTest::keyClick(control<QWidget>(*window, name), Qt::Key_Return);
    }
    QKeyEvent held(QEvent::KeyPress, Qt::Key_Enter, Qt::NoModifier, {}, true);
    QApplication::sendEvent(control<QWidget>(*window, u"Com1"_s), &held);
    QCOMPARE(readFile(window->logFilePath()).count('\n'), 30);
    QCOMPARE(display->displayText().size(), 17);

    // Ctrl+C copies the result; F2 moves to Chk1 and restarts the animation.
    QVERIFY(show());
    QWidget *com1 = control<QWidget>(*window, u"Com1"_s);
    com1->setFocus();
    QTest::keyClick(com1, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), display->displayText());
    QTest::keyClick(com1, Qt::Key_F2);
    QCOMPARE(QApplication::focusWidget(), control<QWidget>(*window, u"Chk1"_s));
    QTRY_COMPARE(window->timer1Tag(), u"1"_s); // the real timer runs again
}

void tst_FormMain::programLook()
{
    // The strength slider's tooltip follows the slider. What a screen reader hears of the
    // window, the end-to-end test hears through the accessibility bus.
    start();
    auto *scr1 = control<QScrollBar>(*window, u"Scr1"_s);
    QTRY_COMPARE(
        scr1->toolTip(), u"強さ 5：最も出やすい 02（約 14.3%）、最も出にくい 43（約 7.4%）"_s);
    scr1->setValue(15);
    QTRY_VERIFY(scr1->toolTip().startsWith(u"強さ 15："_s));

    // Under the level row: a one-pixel shadow line on row 55, a two-pixel highlight on 56 and 57.
    const QImage panel = window->centralWidget()->grab().toImage();
    const QPalette &palette = window->centralWidget()->palette();
    for (const auto &[row, role] : {std::pair(54, QPalette::Window), {55, QPalette::Dark},
             {56, QPalette::Light}, {57, QPalette::Light}, {58, QPalette::Window}})
        QCOMPARE(panel.pixel(100, row), palette.color(role).rgb());

    // Menus and message boxes in the program's font; a checkable item marked only while checked.
    QMenu *menu = window->menuBar()->actions().constFirst()->menu();
    QCOMPARE(QFontInfo(menu->font()).family(), QFontInfo(window->font()).family());
    QCOMPARE(QFontInfo(QMessageBox().font()).family(), QFontInfo(window->font()).family());
    menu->adjustSize();
    const QImage unchecked = menu->grab().toImage();
    window->sys1(0)->setCheckable(false);
    QCOMPARE(menu->grab().toImage(), unchecked);
    window->sys1(0)->setCheckable(true);
    window->sys1(0)->setChecked(true);
    QVERIFY(menu->grab().toImage() != unchecked);

    // Once shown, centred by the frame the platform gives it (two pixels offscreen).
    QVERIFY(show());
    const QRect frame = window->frameGeometry();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QVERIFY2(frame != window->geometry(), "the platform gives the window no frame");
    QVERIFY(std::abs((frame.left() - screen.left()) - (screen.right() - frame.right())) <= 1);
    QCOMPARE(window->x(), frame.x()); // what WinPosX stores
}

void tst_FormMain::aboutBox()
{
    start();
    QList<QUrl> opened;
    Seams::setUrlOpener([&](const QUrl &url) {
        opened << url;
        return false; // a failure is ignored
    });
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        whenModal(this, [&] {
            auto *about = qobject_cast<FormAbout *>(QApplication::activeModalWidget());
            QVERIFY(about && QTest::qWaitForWindowActive(about));
            QCOMPARE(about->lab1(1)->cursor().shape(), Qt::PointingHandCursor);
            QTest::mouseClick(about->lab1(1), Qt::LeftButton);
            QTest::mousePress(about->lab1(1), Qt::LeftButton); // dragged off, released elsewhere
            QTest::mouseRelease(about->lab1(1), Qt::LeftButton, {}, QPoint(-4, -4));
            QTest::mouseRelease(about->lab1(1), Qt::LeftButton); // no press before
            QTest::keyClick(QApplication::focusWidget(), key);
        });
        window->mHelp1_Click(MainLayout::About);
    }
    Seams::setUrlOpener({});
    QCOMPARE(opened, QList<QUrl>(2, QUrl(u"https://numerisphere.example/"_s)));
}

QTEST_MAIN(tst_FormMain)
#include "tst_formmain.moc"
