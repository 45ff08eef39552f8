#include "common/describe.h"
#include "common/windowfixture.h"
#include "history/formhistory.h"
#include "layouts/mainlayout.h"
#include "look/programstyle.h"

#include <QClipboard>
#include <QMimeData>
#include <QPushButton>
#include <QTableWidget>

#include <optional>

namespace {

// The window as a few lines: what is stored, the last read's report, the chart's description,
// whether 反映 can be pressed, and the table's rows for numbers 1, 2 and 43.
QStringList describe(const FormHistory &window)
{
    QStringList lines {oneLine(control<QLabel>(window, u"stored"_s)->text()),
        oneLine(control<QLabel>(window, u"report"_s)->text()),
        u"chart: "_s + control<QWidget>(window, u"chart"_s)->accessibleDescription()};
    lines << u"反映 "_s + onOff(control<QPushButton>(window, u"apply"_s)->isEnabled());
    const auto *table = control<QTableWidget>(window, u"table"_s);
    for (const int row : {0, 1, 42}) {
        QStringList cells;
        for (int column = 0; column < table->columnCount(); ++column)
            cells << table->item(row, column)->text();
        lines << cells.join(u" | ");
    }
    return lines;
}

} // namespace

class tst_FormHistory : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { InstallProgramLook(); }
    void session();
    void unusableDatabase();
    void openedFromMainWindow();
};

void tst_FormHistory::session()
{
    WindowFixture fixture;
    const QString database = fixture.filePath(u"nmr-history.sqlite"_s);
    const QString file = fixture.filePath(u"results.csv"_s);
    QVERIFY(writeFile(file,
        Cp932::encode(u"開催回,日付,第1数字,第2数字,第3数字,第4数字,第5数字,第6数字,BONUS数字\r\n"
                      u"3,2000/10/19,1,2,3,4,5,43,7\r\n1,2000/10/5,9,10,11,12,13,14,15\r\n"_s)));
    std::optional<FormHistory> window(std::in_place, database, true, 5);
    Module1::SetHelpDirectory(u"/help"_s);
    window->show();
    QVERIFY(QTest::qWaitForWindowActive(&*window));
    auto choose = [&](const QString &name, int index) {
        return [&, name, index] { control<QComboBox>(*window, name)->setCurrentIndex(index); };
    };
    auto apply = [&](QMessageBox::StandardButton answer) {
        return [&, answer] { fixture.nextAnswer = answer, window->apply(); };
    };
    const Steps steps {{u"open, no database yet"_s, [] {}},
        {u"paste three draws and a bad line"_s,
            [&] {
                QGuiApplication::clipboard()->setText(
                    u"第1回 2000/10/5 1 2 3 4 5 6 (7)\n2 2000/10/12 1 2 3 4 5 8 (9)\n2 1 2 3\n"_s);
                control<QPushButton>(*window, u"paste"_s)->click();
            }},
        {u"read a file: one new, one with other numbers"_s, [&] { window->readFile(file); }},
        {u"drop it, F1"_s,
            [&] {
                QMimeData files;
                files.setUrls({QUrl::fromLocalFile(file)});
                QDragEnterEvent enter({10, 10}, Qt::CopyAction, &files, Qt::LeftButton, {});
                QDropEvent drop({10, 10}, Qt::CopyAction, &files, Qt::LeftButton, {});
                QApplication::sendEvent(&*window, &enter), QApplication::sendEvent(&*window, &drop);
                QTest::keyClick(&*window, Qt::Key_F1);
            }},
        {u"the last 50"_s, choose(u"period"_s, 0)},
        {u"seldom drawn higher"_s, choose(u"rule"_s, 1)},
        {u"into Setting3"_s, choose(u"target"_s, 2)}, {u"反映, No"_s, apply(QMessageBox::No)},
        {u"反映, Yes"_s, apply(QMessageBox::Yes)}};
    const QStringList transcript
        = replay(
              steps, [&] { return describe(*window); }, [&] { return fixture.takeRecords(); })
        << u"== nmr.ini"_s << fileLines(fixture.path());
    NMR_COMPARE_GOLDEN(transcript, u"history-window"_s);
}

void tst_FormHistory::unusableDatabase()
{
    // A damaged database: the window says so, reads nothing into it, offers no levels, and the
    // file is left as it was.
    WindowFixture fixture;
    const QString database = fixture.filePath(u"nmr-history.sqlite"_s);
    QVERIFY(writeFile(database, QByteArray(4096, 'x')));
    FormHistory window(database, true, 5);
    window.readText(u"1 1 2 3 4 5 6"_s);
    QCOMPARE(describe(window).mid(0, 3),
        (QStringList {
            oneLine(u"当せん番号の履歴「%1」は壊れているため使えません。"_s.arg(database)),
            oneLine(u"当せん番号を登録できません。"_s), u"chart: 当せん番号がありません"_s}));
    QVERIFY(!control<QPushButton>(window, u"apply"_s)->isEnabled());
    QCOMPARE(readFile(database), QByteArray(4096, 'x'));

    // A profile that cannot be written is told, as the settings dialog tells it.
    QVERIFY(QFile::remove(database) && QDir().mkdir(fixture.path()));
    FormHistory usable(database, true, 5);
    usable.readText(u"1 1 2 3 4 5 6"_s);
    fixture.takeRecords(), fixture.nextAnswer = QMessageBox::Yes, usable.apply();
    QCOMPARE(fixture.takeRecords().constLast(),
        u"said as a failure \"設定を保存できませんでした。\\r\\n設定ファイルに書き込めません。\""_s);
}

void tst_FormHistory::openedFromMainWindow()
{
    // Ctrl+H opens the window; on closing, the main window rereads the active profile.
    WindowFixture fixture;
    FormMain window(fixture.locations());
    QVERIFY(window.Form_Load());
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QString title;
    whenModal(this, [&] {
        title = QApplication::activeModalWidget()->windowTitle();
        IniFileSaveLoad::WriteIniString(u"Probability"_s, u"PB0"_s, u"\"FFFF\""_s);
        QApplication::activeModalWidget()->close();
    });
    QTest::keyClick(&window, Qt::Key_H, Qt::ControlModifier);
    QCOMPARE(title, u"当せん番号の履歴"_s);
    QCOMPARE(window.activeLevels(), u"FFFF"_s);
}

QTEST_MAIN(tst_FormHistory)
#include "tst_formhistory.moc"
