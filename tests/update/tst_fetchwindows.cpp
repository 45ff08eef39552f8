#include "common/files.h"
#include "common/history.h"
#include "common/httpserver.h"
#include "common/windowfixture.h"
#include "history/formhistory.h"
#include "layouts/mainlayout.h"
#include "look/programstyle.h"
#include "mainwindow/formmain.h"
#include "settings/cp932.h"
#include "settings/toolchoices.h"
#include "tickets/formcheck.h"
#include "update/updatesession.h"

#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

// The official results fetched from the windows: the past results window's command for its game,
// the tools menu's for all games, the question of the first fetch, the check at start-up at most
// every six hours, and the check window showing the grades of the tickets saved for a new draw.
class tst_FetchWindows : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { InstallProgramLook(); }
    void fetchedFromTheWindows();
};

void tst_FetchWindows::fetchedFromTheWindows()
{
    WindowFixture fixture;
    HttpServer server;
    const QString address = server.url({}).toString();
    QVERIFY(writeFile(fixture.filePath(u"nmr-sources.ini"_s),
        u"[loto6]\nIndex=%1/loto6.txt\nDraw=%1/A102{draw:4}.CSV\nFirstDraw=2124\n[loto7]\nIndex=%1/"
        u"loto7.txt\nFirstDraw=2\n[miniloto]\nIndex=%1/mini.txt\nFirstDraw=2\n"_s.arg(address)
            .toUtf8()));
    server.answer("/loto6.txt", {200, Cp932::encode(u"第2124回ロト６"_s)});
    server.answer("/loto7.txt", {200, Cp932::encode(u"第1回ロト７"_s)});
    server.answer("/mini.txt", {200, Cp932::encode(u"第1回ミニロト"_s)});
    server.answer(
        "/A1022124.CSV", {200, readFile(QStringLiteral(NMR_TEST_DATA "/update/A1022124.CSV"))});
    {
        History history(fixture.locations().historyDatabase());
        QVERIFY(history.saveTickets(2124, {{6, 19, 20, 29, 36, 37}, {1, 2, 3, 4, 5, 7}}));
    }
    FormMain window(fixture.locations());
    QVERIFY(window.Form_Load());
    window.show();
    window.checkAtStart(); // not agreed to yet: nothing is fetched
    QVERIFY(server.requests.empty());

    window.mTool1_Click(MainLayout::History);
    auto *history = window.findChild<FormHistory *>();
    QVERIFY(history);
    fixture.nextAnswer = QMessageBox::Yes;
    history->findChild<QPushButton *>(u"update"_s)->click();
    QCOMPARE(fixture.takeRecords(),
        QStringList {
            u"said as a question \"これからは、起動したときにも最新の結果を取得しますか？\\n"
            u"（6 時間に 1 回まで。ツール メニューの「起動時に最新の結果を取得」でいつでも変え"
            u"られます）\""_s});
    auto *report = history->findChild<QPlainTextEdit *>(u"report"_s);
    QTRY_COMPARE(report->toPlainText(),
        u"ロト6：新規 1 回（第2124回）、最新です\n第2124回：保存した券 2 枚のうち 2等 1 枚"_s);
    QCOMPARE(server.paths().join(' '), "/loto6.txt /A1022124.CSV");
    QVERIFY(history->findChild<QLabel *>(u"source"_s)->text().contains(u"最後の取得："_s));
    // The check window comes up beside the main window with the grades, not taking the focus.
    auto *check = window.findChild<FormCheck *>();
    QVERIFY(check && check->isVisible());
    QVERIFY(check->testAttribute(Qt::WA_ShowWithoutActivating));
    QCOMPARE(ReadCheckAtStart(), std::optional(true));

    // All games from the tools menu: the question is not asked again.
    window.mTool1_Click(MainLayout::Update);
    QTRY_COMPARE(report->toPlainText(),
        u"ロト6：新規 0 回、最新です\nロト7：新規 0 回、最新です\nミニロト：新規 0 回、最新です"_s);
    QVERIFY(fixture.takeRecords().isEmpty());

    // At start-up, not within six hours of the last check; after that, all games.
    server.requests.clear();
    fixture.now = QDateTime::currentDateTime().addSecs(UpdateSession::AutomaticIntervalS - 60);
    window.checkAtStart();
    QTest::qWait(100);
    QVERIFY(server.requests.empty());
    fixture.now = QDateTime::currentDateTime().addSecs(UpdateSession::AutomaticIntervalS + 60);
    window.checkAtStart();
    QTRY_COMPARE(server.paths().join(' '), "/loto6.txt /loto7.txt /mini.txt");

    // Turned off from the menu, kept in the settings.
    QTRY_VERIFY(history->findChild<QPushButton *>(u"update"_s)->isEnabled());
    window.mTool1_Click(MainLayout::CheckAtStart);
    QCOMPARE(ReadCheckAtStart(), std::optional(false));
    QVERIFY(!window.menuBar()
                 ->actions()
                 .at(1)
                 ->menu()
                 ->actions()
                 .at(MainLayout::CheckAtStart)
                 ->isChecked());
}

QTEST_MAIN(tst_FetchWindows)
#include "tst_fetchwindows.moc"
