#include "common/describe.h"
#include "common/history.h"
#include "common/storedraws.h"
#include "common/windowfixture.h"
#include "history/databasewatch.h"
#include "history/drawsmodel.h"
#include "history/formhistory.h"
#include "history/importfile.h"
#include "history/statisticsmodel.h"
#include "layouts/mainlayout.h"
#include "look/programstyle.h"

#include <QCheckBox>
#include <QClipboard>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QTableView>

#include <optional>

namespace {

// A table's rows as shown, cells joined by " | ".
QStringList rows(const QTableView &table, QList<int> which = {})
{
    const QAbstractItemModel &model = *table.model();
    if (which.isEmpty()) {
        for (int row = 0; row < model.rowCount(); ++row)
            which << row;
    }
    QStringList lines;
    for (const int row : which) {
        QStringList cells;
        for (int column = 0; column < model.columnCount(); ++column)
            cells << model.index(row, column).data().toString();
        lines << cells.join(u" | ");
    }
    return lines;
}

// The window as a few lines: what is stored and where it came from (the time left out), the
// last read's report, the period's range, the chart's description, the period and axis chosen,
// whether 反映 can be pressed, the statistics' first two rows and last row as shown, then every
// stored draw.
QStringList describe(const FormHistory &window)
{
    static const QRegularExpression time(u"\\d{4}/\\d\\d/\\d\\d \\d\\d:\\d\\d"_s);
    QStringList lines {oneLine(control<QLabel>(window, u"stored"_s)->text()),
        oneLine(control<QLabel>(window, u"source"_s)->text().replace(time, u"(time)"_s)),
        oneLine(control<QPlainTextEdit>(window, u"report"_s)->toPlainText()),
        oneLine(control<QLabel>(window, u"range"_s)->text()),
        u"chart: "_s + control<QWidget>(window, u"chart"_s)->accessibleDescription(),
        u"period %1 %2〜%3, axis from 0 %4"_s.arg(
            control<QComboBox>(window, u"period"_s)->currentText(),
            control<QSpinBox>(window, u"from"_s)->text(),
            control<QSpinBox>(window, u"to"_s)->text(),
            onOff(control<QCheckBox>(window, u"fromZero"_s)->isChecked()))};
    lines << u"反映 "_s + onOff(control<QPushButton>(window, u"apply"_s)->isEnabled());
    lines << rows(*control<QTableView>(window, u"table"_s), {0, 1, 42});
    return lines << rows(*control<QTableView>(window, u"draws"_s));
}

// The import under way, finished.
void waitForImport(const FormHistory &window)
{
    QTRY_VERIFY_WITH_TIMEOUT(!window.importing(), 20000);
}

} // namespace

class tst_FormHistory : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { InstallProgramLook(); }
    void session();
    void storedDraws();
    void unusableDatabase();
    void longImport();
    void openedFromMainWindow();
    void watchNotesWhatItSaw();
    void sisterGame();
};

void tst_FormHistory::session()
{
    WindowFixture fixture;
    const QString database = fixture.filePath(u"nmr-history.sqlite"_s);
    const QString file = fixture.filePath(u"results.csv"_s);
    QVERIFY(writeFile(file,
        Cp932::encode(u"開催回,日付,第1数字,第2数字,第3数字,第4数字,第5数字,第6数字,BONUS数字\r\n"
                      u"3,2000/10/19,1,2,3,4,5,43,7\r\n1,2000/10/5,9,10,11,12,13,14,15\r\n"_s)));
    const QString choices = fixture.filePath(u"nmr-tools.ini"_s);
    std::optional<FormHistory> window(std::in_place, database, Loto6(), choices, true, 5);
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
                QGuiApplication::clipboard()->setText(u"第1回 2000/10/5 1 2 3 4 5 6 (7)\n"
                                                      u"2 2000/10/12 1 2 3 4 5 8 (9)\n2 1 2 3\n"_s);
                control<QPushButton>(*window, u"paste"_s)->click();
                waitForImport(*window);
            }},
        {u"read a file: one new, one with other numbers"_s,
            [&] { window->readFile(file), waitForImport(*window); }},
        {u"drop it and a missing file, F1"_s,
            [&] {
                QMimeData files;
                files.setUrls({QUrl::fromLocalFile(file),
                    QUrl::fromLocalFile(fixture.filePath(u"missing.csv"_s))});
                QDragEnterEvent enter({10, 10}, Qt::CopyAction, &files, Qt::LeftButton, {});
                QDropEvent drop({10, 10}, Qt::CopyAction, &files, Qt::LeftButton, {});
                QApplication::sendEvent(&*window, &enter), QApplication::sendEvent(&*window, &drop);
                waitForImport(*window);
                QTest::keyClick(&*window, Qt::Key_F1);
            }},
        {u"paste draw 9, after a gap"_s,
            [&] {
                window->readText(u"第9回 2000/12/7 40 41 42 43 1 2 (3)"_s), waitForImport(*window);
            }},
        {u"the last 50"_s, choose(u"period"_s, 0)},
        {u"draws 2 to 3"_s,
            [&] {
                choose(u"period"_s, 4)();
                // The ends given the wrong way round still make the same period.
                control<QSpinBox>(*window, u"from"_s)->setValue(3);
                control<QSpinBox>(*window, u"to"_s)->setValue(2);
            }},
        {u"the axis from 0"_s, [&] { control<QCheckBox>(*window, u"fromZero"_s)->click(); }},
        {u"all, sorted by count, most first"_s,
            [&] {
                choose(u"period"_s, 3)();
                control<QTableView>(*window, u"table"_s)->sortByColumn(1, Qt::DescendingOrder);
            }},
        {u"seldom drawn higher"_s, choose(u"rule"_s, 2)},
        {u"into Setting3"_s, choose(u"target"_s, 2)}, {u"反映, No"_s, apply(QMessageBox::No)},
        {u"反映, Yes"_s, apply(QMessageBox::Yes)},
        {u"within chance, 反映, Yes"_s, [&] { choose(u"rule"_s, 0)(), apply(QMessageBox::Yes)(); }},
        {u"draws 3 to 9, closed and opened again"_s, [&] {
             choose(u"period"_s, 4)();
             control<QSpinBox>(*window, u"from"_s)->setValue(3);
             control<QSpinBox>(*window, u"to"_s)->setValue(9);
             window.reset();
             window.emplace(database, Loto6(), choices, true, 5);
         }}};
    const QStringList transcript = replay(
                                       steps,
                                       [&] {
                                           return QStringList(describe(*window))
                                               .replaceInStrings(fixture.directory(), u"$DIR"_s);
                                       },
                                       [&] { return fixture.takeRecords(); })
        << u"== nmr.ini"_s << fileLines(fixture.path());
    NMR_COMPARE_GOLDEN(transcript, u"history-window"_s);
}

void tst_FormHistory::storedDraws()
{
    // The stored draws' tab: 修正 checks a draw as an import does and keeps the dialog open on
    // a fault; 削除 asks first, いいえ by default, and leaves the saved tickets; the export
    // gives the official header and reads back to the same draws.
    WindowFixture fixture;
    const QString database = fixture.filePath(u"nmr-history.sqlite"_s);
    {
        History stored(database);
        QVERIFY(stored.saveTickets(2, {{1, 2, 3, 4, 5, 6}}));
    }
    FormHistory window(database, Loto6(), QString(), true, 5);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    window.readText(u"第1回 2000/10/5 1 2 3 4 5 6 (7)\n第2回 2000/10/12 1 2 3 4 5 8 (9)\n"
                    u"第4回 2000/10/26 10 20 30 40 41 42"_s);
    waitForImport(window);
    auto *table = control<QTableView>(window, u"draws"_s);
    // The statistics export is data: its period first, then numbers as numbers, empty where
    // there is none.
    const QString statistics = fixture.filePath(u"statistics.csv"_s);
    QCOMPARE(window.exportStatistics(statistics, ExportEncoding::Utf8WithMark), QString());
    const QStringList lines = QString::fromUtf8(readFile(statistics)).split(u"\r\n"_s);
    QCOMPARE(lines.mid(0, 3),
        (QStringList {u"期間,第1回,第4回,2000/10/05,2000/10/26,3"_s,
            u"数字,出た回数,期待値,差,最後に出てから,ボーナス,現在のレベル,新しいレベル,"
            u"予想に入る確率"_s,
            u"1,2,0.418605,1.5814,2,0,8,10,0.0890875"_s}));
    QCOMPARE(lines[8], u"7,0,0.418605,-0.418605,,1,8,8,0.13929"_s);
    // 回へ移動 selects the draw typed, whatever the table is sorted by, or says why not.
    table->sortByColumn(DrawsModel::Date, Qt::DescendingOrder);
    const auto goTo = [&](const QString &typed) {
        auto *field = control<QLineEdit>(window, u"goTo"_s);
        field->setText(typed);
        QTest::keyClick(field, Qt::Key_Return);
        const QModelIndexList rows = table->selectionModel()->selectedRows();
        return (rows.size() == 1 ? rows.front().data().toString() : u"none"_s) + u' '
            + control<QLabel>(window, u"goToReason"_s)->text();
    };
    QCOMPARE(goTo(u"第4回"_s), u"第4回 "_s);
    QCOMPARE(goTo(u"2"_s), u"第2回 "_s);
    QCOMPARE(goTo(u"1"_s), u"第1回 "_s);
    QCOMPARE(goTo(u"第3回"_s), u"第3回 "_s);
    QCOMPARE(goTo(u"9"_s), u"第3回 第9回は登録されていません。"_s);
    QCOMPARE(goTo(u"x"_s), u"第3回 「x」は回として読めません。"_s);
    table->sortByColumn(DrawsModel::Draw, Qt::AscendingOrder);
    // 修正 takes one draw, 削除 any number of them; neither takes a row of missing draws.
    const auto buttons = [&](std::initializer_list<int> rows) {
        table->clearSelection();
        for (const int row : rows)
            table->selectionModel()->select(table->model()->index(row, 0),
                QItemSelectionModel::Select | QItemSelectionModel::Rows);
        return u"%1 %2"_s.arg(control<QPushButton>(window, u"mend"_s)->isEnabled())
            .arg(control<QPushButton>(window, u"remove"_s)->isEnabled());
    };
    QCOMPARE((QStringList {buttons({0}), buttons({0, 1}), buttons({2}), buttons({})}),
        (QStringList {u"1 1"_s, u"0 1"_s, u"0 0"_s, u"0 0"_s}));
    table->clearSelection();

    // What a refusal leaves: the reason, heard by a screen reader, and the fields as typed.
    const auto mend = [&](const QString &numbers, const QString &draw) {
        QString reason;
        whenModal(this, [&] {
            QWidget *dialog = QApplication::activeModalWidget();
            control<QLineEdit>(*dialog, u"numbers"_s)->setText(numbers);
            control<QLineEdit>(*dialog, u"draw"_s)->setText(draw);
            QTest::keyClick(dialog, Qt::Key_Return);
            const auto *label = control<QLabel>(*dialog, u"reason"_s);
            reason = label->text();
            QCOMPARE(label->accessibleName(), reason);
            if (dialog->isVisible()) {
                reason += u" | "_s + control<QLineEdit>(*dialog, u"numbers"_s)->text() + u' '
                    + control<QLineEdit>(*dialog, u"draw"_s)->text();
                dialog->close();
            }
        });
        table->selectRow(1), control<QPushButton>(window, u"mend"_s)->click();
        return reason;
    };
    QCOMPARE(mend(u"1 2 3 4 5 44"_s, u"2"_s),
        u"数字「44」は 1 から 43 までではありません | 1 2 3 4 5 44 2"_s);
    QCOMPARE(mend(u"1 2 3 4 5"_s, u"2"_s), u"本数字が 6 つではありません | 1 2 3 4 5 2"_s);
    QCOMPARE(mend(u"1 2 3 4 5 10"_s, u"4"_s), u"第4回は登録済みです。 | 1 2 3 4 5 10 4"_s);
    QCOMPARE(fixture.takeRecords(), QStringList {});
    QCOMPARE(mend(u"1、2、3、4、5、11"_s, u"3"_s), QString());
    fixture.nextAnswer = QMessageBox::No;
    window.removeDraws({0, 2});
    fixture.nextAnswer = QMessageBox::Yes;
    window.removeDraws({0});
    const QString exported = fixture.filePath(u"export.csv"_s);
    QCOMPARE(window.exportDraws(exported, ExportEncoding::CodePage932), QString());
    const QStringList transcript = QStringList {u"== the draws"_s}
        << rows(*table) << u"== said"_s << fixture.takeRecords() << u"== exported"_s
        << Cp932::decode(readFile(exported)).split(u"\r\n"_s);
    NMR_COMPARE_GOLDEN(transcript, u"history-draws"_s);
    QCOMPARE(History(database).tickets().size(), 1u);
    QVERIFY(window.exportDraws(fixture.directory(), ExportEncoding::Utf8WithMark)
                .contains(u"に書き込めません"_s));
}

void tst_FormHistory::unusableDatabase()
{
    // A damaged database: the window says so, reads nothing into it, offers no levels, and the
    // file is left as it was.
    WindowFixture fixture;
    const QString database = fixture.filePath(u"nmr-history.sqlite"_s);
    QVERIFY(writeFile(database, QByteArray(4096, 'x')));
    FormHistory window(database, Loto6(), QString(), true, 5);
    window.readText(u"第1回 1 2 3 4 5 6"_s);
    waitForImport(window);
    const QStringList seen = describe(window);
    const QString damaged = u"当せん番号の履歴「%1」は壊れているため使えません（file is not a "
                            u"database Unable to execute statement）。"_s.arg(database);
    QCOMPARE(seen[0], oneLine(damaged));
    QCOMPARE(seen[2], oneLine(u"当せん番号を登録できません："_s + damaged));
    QCOMPARE(seen[4], u"chart: 当せん番号がありません"_s);
    QVERIFY(!control<QPushButton>(window, u"apply"_s)->isEnabled());
    QCOMPARE(readFile(database), QByteArray(4096, 'x'));

    // A profile that cannot be written is told, as the settings dialog tells it.
    QVERIFY(QFile::remove(database) && QDir().mkdir(fixture.path()));
    FormHistory usable(database, Loto6(), QString(), true, 5);
    usable.readText(u"第1回 1 2 3 4 5 6"_s);
    waitForImport(usable);
    fixture.takeRecords(), fixture.nextAnswer = QMessageBox::Yes, usable.apply();
    QCOMPARE(fixture.takeRecords().constLast(),
        u"said as a failure \"設定を保存できませんでした。\\r\\n設定ファイルに書き込めません。\""_s);
}

void tst_FormHistory::longImport()
{
    // A long read shows its progress and Cancel while the window stays live; Cancel leaves the
    // database as it was. A report of many reasons scrolls, and the window stays on the screen.
    WindowFixture fixture;
    const QString database = fixture.filePath(u"nmr-history.sqlite"_s);
    FormHistory window(database, Loto6(), QString(), true, 5);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    window.readText(u"第1回 1 2 3 4 5 6"_s);
    waitForImport(window);
    QString many;
    for (int draw = 2; draw < 300'000; ++draw)
        many += u"第%1回 1 2 3 4 5 6\n"_s.arg(draw);
    window.readText(many);
    QVERIFY(window.importing());
    QVERIFY(control<QProgressBar>(window, u"progress"_s)->isVisible());
    QTRY_VERIFY(control<QProgressBar>(window, u"progress"_s)->value() > 0);
    control<QPushButton>(window, u"cancel"_s)->click();
    waitForImport(window);
    QVERIFY(!control<QProgressBar>(window, u"progress"_s)->isVisible());
    QCOMPARE(control<QPlainTextEdit>(window, u"report"_s)->toPlainText(),
        u"読み込みを取り消しました。何も登録していません"_s);
    QCOMPARE(History(database).draws().size(), 1u);

    QString bad;
    for (int line = 0; line < 500; ++line)
        bad += u"第%1回 1 2 3\n"_s.arg(line + 1);
    window.readText(bad);
    waitForImport(window);
    const QSize screen = window.screen()->availableSize();
    QCOMPARE(window.maximumSize(), screen);
    QVERIFY2(window.height() <= screen.height() && window.width() <= screen.width(),
        qPrintable(u"%1x%2"_s.arg(window.width()).arg(window.height())));
    const auto *report = control<QPlainTextEdit>(window, u"report"_s);
    QVERIFY(report->height() < report->fontMetrics().lineSpacing() * 8);
    QCOMPARE(report->toPlainText().count(u'\n'), 21);
    QVERIFY(report->accessibleDescription().startsWith(
        u"新規 0 回、補完 0 回、登録済み 0 回、読めなかった行 500\n"_s));
}

void tst_FormHistory::openedFromMainWindow()
{
    // Ctrl+H opens the window beside the main window, which takes the levels it writes at once
    // and tells it of every change of the switch, the strength or the profiles.
    WindowFixture fixture;
    QVERIFY(StoreResults(
        fixture.locations().historyDatabase(), u"第1回 1 2 3 4 5 6\n第2回 1 2 3 4 5 7\n"_s));
    FormMain window(fixture.locations());
    QVERIFY(window.Form_Load());
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(&window, Qt::Key_H, Qt::ControlModifier);
    auto *history = window.findChild<FormHistory *>();
    QVERIFY(history && history->isVisible() && !history->isModal());
    QCOMPARE(history->windowTitle(), u"当せん番号の履歴"_s);
    const auto chances = [&] {
        const QAbstractItemModel &figures = *control<QTableView>(*history, u"table"_s)->model();
        QStringList column;
        for (int row = 0; row < figures.rowCount(); ++row)
            column << figures.index(row, StatisticsModel::Chance).data().toString();
        return column;
    };
    control<QComboBox>(*history, u"rule"_s)->setCurrentIndex(1); // uneven levels
    const QStringList atStrength5 = chances();
    control<QScrollBar>(window, u"Scr1"_s)->setValue(15);
    QVERIFY(chances() != atStrength5);
    control<QScrollBar>(window, u"Scr1"_s)->setValue(5);
    QCOMPARE(chances(), atStrength5);

    const LevelString before = window.activeLevels();
    fixture.nextAnswer = QMessageBox::Yes;
    history->apply();
    QVERIFY(window.activeLevels() != before);
    QCOMPARE(window.activeLevels(), ReadActiveProfile().levels);
}

void tst_FormHistory::watchNotesWhatItSaw()
{
    // A change from outside reloads once on activation; the reload notes the database's state,
    // so a second activation reloads nothing; F5 reloads whatever changed.
    WindowFixture fixture;
    const QString path = fixture.filePath(u"nmr-history.sqlite"_s);
    History database(path);
    QWidget window;
    int reloads = 0;
    DatabaseWatch watch(&window, database.database, [&] { ++reloads; });
    QEvent activated(QEvent::WindowActivate);
    QApplication::sendEvent(&window, &activated);
    QCOMPARE(reloads, 0);
    QVERIFY(StoreResults(path, u"第1回 1 2 3 4 5 6"_s));
    QApplication::sendEvent(&window, &activated);
    QCOMPARE(reloads, 1);
    QApplication::sendEvent(&window, &activated);
    QCOMPARE(reloads, 1);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTest::keyClick(&window, Qt::Key_F5);
    QCOMPARE(reloads, 2);
}

void tst_FormHistory::sisterGame()
{
    // For Loto 7 the window reads its draws, counts its 37 numbers with its own chance and no
    // levels (the profiles hold the 6-of-43 game's, and the controls say so), and refuses
    // another game's file by name.
    WindowFixture fixture;
    FormHistory window(fixture.filePath(u"nmr-history.sqlite"_s), Loto7(), QString(), true, 5);
    window.readText(u"第1回 1 2 3 4 5 6 7 (8) (9)\n第2回 31 32 33 34 35 36 37 (1) (2)"_s);
    waitForImport(window);
    QVERIFY(control<QLabel>(window, u"stored"_s)->text().startsWith(u"登録済み 2 回"_s));
    const QAbstractItemModel *table = control<QTableView>(window, u"table"_s)->model();
    QCOMPARE(std::pair(table->rowCount(), table->columnCount()),
        std::pair(37, int(StatisticsModel::Level)));
    QCOMPARE(table->index(36, StatisticsModel::Drawn).data().toString(), u"1"_s);
    for (const QString &name : {u"apply"_s, u"target"_s, u"rule"_s}) {
        const auto *levels = control<QWidget>(window, name);
        QVERIFY(!levels->isEnabled()
            && levels->toolTip().startsWith(u"出現率を反映できるのはロト6だけ"_s));
    }
    window.readText(
        u"開催回,日付,第1数字,第2数字,第3数字,第4数字,第5数字,第6数字,BONUS数字\n1,2000/10/5,1,2,3,4,5,6,7"_s);
    waitForImport(window);
    QVERIFY(control<QPlainTextEdit>(window, u"report"_s)
                ->toPlainText()
                .contains(u"ロト6の当せん番号のファイルです。ロト7としては読めません"_s));
}

QTEST_MAIN(tst_FormHistory)
#include "tst_formhistory.moc"
