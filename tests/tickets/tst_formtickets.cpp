#include "common/describe.h"
#include "common/history.h"
#include "common/storedraws.h"
#include "common/windowfixture.h"
#include "history/importfile.h"
#include "look/programstyle.h"
#include "settings/toolchoices.h"
#include "tickets/formcheck.h"
#include "tickets/formtickets.h"

#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableView>

#include <numeric>

namespace {

// A label's text, and what a screen reader hears of it where that is more.
QString label(const QWidget &window, const QString &name)
{
    const auto *shown = control<QLabel>(window, name);
    const QString heard = shown->accessibleName();
    return name + u' ' + oneLine(shown->text())
        + (heard.isEmpty() || heard == shown->text() ? QString() : u" heard "_s + oneLine(heard));
}

QStringList describe(const FormTickets &window)
{
    return QStringList {label(window, u"status"_s),
               u"コピー %1, 保存 %2 %3"_s.arg(
                   onOff(control<QPushButton>(window, u"copy"_s)->isEnabled()),
                   onOff(control<QPushButton>(window, u"save"_s)->isEnabled()),
                   control<QSpinBox>(window, u"draw"_s)->text())}
    << rowsHeard(*control<QTableView>(window, u"table"_s));
}

QStringList describe(const FormCheck &window)
{
    return QStringList {label(window, u"summary"_s),
               u"修正 %1, 削除 %2"_s.arg(
                   onOff(control<QPushButton>(window, u"change"_s)->isEnabled()),
                   onOff(control<QPushButton>(window, u"remove"_s)->isEnabled()))}
    << rowsHeard(*control<QTableView>(window, u"tickets"_s))
    << rowsHeard(*control<QTableView>(window, u"grades"_s)) << label(window, u"gradesNote"_s);
}

// Two stored draws: the first with its bonus and prizes, the second with neither.
bool storeDraws(const QString &path)
{
    return StoreResults(path,
               u"開催回,日付,第1数字,第2数字,第3数字,第4数字,第5数字,第6数字,BONUS数字,1等口数,"
               u"2等口数,"
               u"3等口数,4等口数,5等口数,1等賞金,2等賞金,3等賞金,4等賞金,5等賞金,キャリーオーバー\n"
               u"2100,2026/12/3,3,11,19,27,38,42,7,0,5,120,6000,100000,0,12000000,500000,9100,1000,"
               u"0\n"_s)
        && StoreResults(path, u"2101 2026/12/7 1 2 3 4 5 6"_s);
}

} // namespace

class tst_FormTickets : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { InstallProgramLook(); }
    void makeAndSave();
    void check();
    void sideBySide();
    void gameChosen();
};

void tst_FormTickets::makeAndSave()
{
    WindowFixture fixture;
    const QString database = fixture.filePath(u"nmr-history.sqlite"_s);
    const QString log = fixture.filePath(u"nmr.log"_s);
    QVERIFY(storeDraws(database));
    FormTickets window(database, Loto6(), {DefaultLevelString(), u"11231"_s, true, 5}, log);
    Module1::SetHelpDirectory(u"/help"_s);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    auto type = [&](const QString &fixed, const QString &excluded, int count, int overlap) {
        return [&, fixed, excluded, count, overlap] {
            control<QLineEdit>(window, u"fixed"_s)->setText(fixed);
            control<QLineEdit>(window, u"excluded"_s)->setText(excluded);
            control<QSpinBox>(window, u"count"_s)->setValue(count);
            control<QSpinBox>(window, u"overlap"_s)->setValue(overlap);
            window.seed(2026);
            control<QPushButton>(window, u"make"_s)->click();
        };
    };
    const Steps steps {{u"open"_s, [] {}},
        {u"five, 3 and 11 fixed, 1 and 2 excluded, limit 3"_s, type(u"3 １１"_s, u"1,2"_s, 5, 3)},
        {u"copy"_s,
            [&] {
                window.copy(), fixture.records << oneLine(QGuiApplication::clipboard()->text());
            }},
        {u"save for the next draw"_s, [&] { window.save(); }},
        {u"a second batch for it, lettered after the first"_s, type(u"3 3 11"_s, u"1 2 2"_s, 5, 3)},
        {u"copy it"_s,
            [&] {
                window.copy(), fixture.records << oneLine(QGuiApplication::clipboard()->text());
            }},
        {u"save it"_s, [&] { window.save(); }},
        {u"for draw 2100, already stored: No"_s,
            [&] {
                control<QSpinBox>(window, u"draw"_s)->setValue(2100);
                fixture.nextAnswer = QMessageBox::No, window.save();
            }},
        {u"Yes"_s, [&] { fixture.nextAnswer = QMessageBox::Yes, window.save(); }},
        {u"44 fixed: refused, the tickets kept"_s, type(u"44"_s, u""_s, 5, 5)},
        {u"9 both"_s, type(u"9"_s, u"9"_s, 5, 5)},
        {u"limit 0, twenty"_s, type(u""_s, u""_s, 20, 0)},
        {u"the earlier tickets for draw 2102: asked first, No"_s,
            [&] {
                control<QSpinBox>(window, u"draw"_s)->setValue(2102);
                fixture.nextAnswer = QMessageBox::No, window.save();
                const std::vector<SavedTicket> saved = History(database).tickets();
                fixture.records << u"saved for 2102: %1"_s.arg(std::count_if(saved.begin(),
                    saved.end(), [](const SavedTicket &ticket) { return ticket.draw == 2102; }));
            }},
        {u"F1"_s, [&] { QTest::keyClick(&window, Qt::Key_F1); }}};
    const QStringList transcript
        = replay(
              steps, [&] { return describe(window); }, [&] { return fixture.takeRecords(); })
        << u"== nmr.log"_s << fileLines(log);
    NMR_COMPARE_GOLDEN(transcript, u"tickets-window"_s);

    // Unseeded, each 作成 starts from the clock: two in a row differ, and so do the first of two
    // windows opened alike.
    control<QSpinBox>(window, u"overlap"_s)->setValue(5);
    window.make();
    const QStringList first = describe(window);
    window.make();
    QVERIFY(describe(window) != first);
    FormTickets one(database, Loto6(), {DefaultLevelString(), u"11231"_s, true, 5}, {});
    FormTickets other(database, Loto6(), {DefaultLevelString(), u"11231"_s, true, 5}, {});
    one.make(), other.make();
    QVERIFY(describe(one) != describe(other));

    // The letters shown follow the draw they are for, and are the ones stored: after the ten
    // tickets saved for 2102, new ones for it start at K; for 2103, where none is, at A, and
    // are stored from A.
    auto *draw = control<QSpinBox>(window, u"draw"_s);
    auto *made = control<QTableView>(window, u"table"_s);
    const auto firstLetter = [&] { return made->model()->index(0, 0).data().toString(); };
    draw->setValue(2102);
    QCOMPARE(firstLetter(), u"K"_s);
    draw->setValue(2103);
    QCOMPARE(firstLetter(), u"A"_s);
    window.save();
    std::vector<int> lines;
    for (const SavedTicket &ticket : History(database).tickets()) {
        if (ticket.draw == 2103)
            lines.push_back(ticket.line);
    }
    std::vector<int> shown(std::size_t(made->model()->rowCount()));
    std::iota(shown.begin(), shown.end(), 0);
    QCOMPARE(lines, shown);
    draw->setValue(2102);
    QCOMPARE(firstLetter(), u"K"_s);

    // The tickets are kept: the database holds them after the window is gone.
    QCOMPARE(History(database).tickets().size(), std::size_t(5 + 5 + 5 + 20));

    // With no draw stored the draw is empty, and 保存 asks for one: nothing saved on a wrong
    // answer, each told why.
    const QString empty = fixture.filePath(u"empty.sqlite"_s);
    FormTickets fresh(empty, Loto6(), {DefaultLevelString(), {}, false, 0}, {});
    QCOMPARE(control<QSpinBox>(fresh, u"draw"_s)->text(), u" "_s);
    fresh.make();
    fixture.takeRecords();
    for (const QString &answer : {u"x"_s, u"0"_s, u"1000001"_s, u"2103"_s}) {
        fixture.nextInput = answer;
        fresh.save();
    }
    const QStringList records = fixture.takeRecords();
    QCOMPARE(records.size(), 7);
    QCOMPARE(records.filter(u"は回として使えません。1 から 1,000,000 までの数で入力してください"_s)
                 .size(),
        3);
    QVERIFY2(records.join(u' ').contains(u"「1000001」は回として使えません"_s),
        qPrintable(records.join(u' ')));
    QCOMPARE(describe(fresh).at(1), u"コピー on, 保存 off 第 2103 回"_s);
    QCOMPARE(History(empty).tickets().size(), std::size_t(5));
    // An empty draw takes the one after the first draw stored elsewhere, once reloaded.
    const QString later = fixture.filePath(u"later.sqlite"_s);
    FormTickets waiting(later, Loto6(), {DefaultLevelString(), {}, false, 0}, {});
    QVERIFY(storeDraws(later));
    QCOMPARE(control<QSpinBox>(waiting, u"draw"_s)->text(), u" "_s);
    waiting.reload();
    QCOMPARE(control<QSpinBox>(waiting, u"draw"_s)->text(), u"第 2102 回"_s);

    // A database that cannot be used offers no saving.
    QVERIFY(QDir().mkdir(fixture.filePath(u"folder.sqlite"_s)));
    FormTickets unusable(
        fixture.filePath(u"folder.sqlite"_s), Loto6(), {DefaultLevelString(), {}, false, 0}, {});
    QVERIFY(describe(unusable).at(0).contains(u"を開けません。"_s));
    unusable.make();
    QCOMPARE(describe(unusable).at(1), u"コピー on, 保存 off  "_s);

    // A database whose draws cannot be read is told with SQLite's words, never taken for one
    // without draws.
    const QString unreadable = fixture.filePath(u"unreadable.sqlite"_s);
    QVERIFY(History(unreadable).fault().isEmpty());
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"by hand"_s);
        db.setDatabaseName(unreadable);
        QVERIFY(db.open() && QSqlQuery(db).exec(u"DROP TABLE draws"_s));
        db.close();
    }
    QSqlDatabase::removeDatabase(u"by hand"_s);
    FormTickets failing(unreadable, Loto6(), {DefaultLevelString(), {}, false, 0}, {});
    QVERIFY2(describe(failing).at(0).contains(u"を読めません（no such table: draws"_s),
        qPrintable(describe(failing).at(0)));
    failing.make();
    QVERIFY(describe(failing).at(1).startsWith(u"コピー on, 保存 off"_s));
}

void tst_FormTickets::check()
{
    WindowFixture fixture;
    const QString database = fixture.filePath(u"nmr-history.sqlite"_s);
    QVERIFY(storeDraws(database));
    // The first prize of 2100 had no winner, and so no amount.
    QVERIFY(History(database).saveTickets(2100,
        {{3, 11, 19, 27, 40, 41}, {3, 7, 11, 19, 27, 38}, {1, 2, 4, 5, 6, 8},
            {3, 11, 19, 27, 38, 42}}));
    QVERIFY(History(database).saveTickets(2101, {{1, 2, 3, 10, 20, 30}}));
    QVERIFY(History(database).saveTickets(2102, {{1, 2, 3, 4, 5, 6}}));
    FormCheck window(database, Loto6());
    Module1::SetHelpDirectory(u"/help"_s);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    auto *table = control<QTableView>(window, u"tickets"_s);
    // Tab and Shift+Tab leave a table, as any other control.
    for (QTableView *each : window.findChildren<QTableView *>()) {
        each->setFocus();
        QTest::keyClick(each, Qt::Key_Tab);
        QVERIFY2(!each->hasFocus(), qPrintable(each->objectName()));
        each->setFocus();
        QTest::keyClick(each, Qt::Key_Backtab);
        QVERIFY2(!each->hasFocus(), qPrintable(each->objectName()));
    }
    auto choose = [&](std::vector<int> chosen) {
        table->clearSelection();
        for (const int row : chosen)
            table->selectionModel()->select(table->model()->index(row, 0),
                QItemSelectionModel::Select | QItemSelectionModel::Rows);
    };
    auto remove = [&](QMessageBox::StandardButton answer) {
        return [&, answer] { choose({0, 9}), fixture.nextAnswer = answer, window.remove(); };
    };
    const Steps steps {{u"open"_s, [] {}},
        {u"all against every draw"_s, [&] { choose({}), window.checkAll(); }},
        {u"B and C against every draw"_s,
            [&] {
                choose({1, 2}), window.checkAll();
            }},
        {u"enter a line too short, then two bought tickets for 2101 and 2102"_s,
            [&] {
                whenModal(this, [&] {
                    QWidget *dialog = QApplication::activeModalWidget();
                    auto *lines = control<QPlainTextEdit>(*dialog, u"lines"_s);
                    lines->setPlainText(u"1 2 3"_s);
                    control<QSpinBox>(*dialog, u"draw"_s)->setValue(2101);
                    control<QSpinBox>(*dialog, u"repeat"_s)->setValue(2);
                    QTest::keyClick(dialog, Qt::Key_Return);
                    fixture.records
                        << u"faults "_s + oneLine(control<QLabel>(*dialog, u"faults"_s)->text());
                    lines->setPlainText(u"A 01 02 03 10 20 30\n3 11 19 27 38 44\n"_s);
                    QTest::keyClick(dialog, Qt::Key_Return);
                    fixture.records
                        << u"faults "_s + oneLine(control<QLabel>(*dialog, u"faults"_s)->text());
                    lines->setPlainText(u"A 01 02 03 10 20 30\n3 11 19 27 38 42\n"_s);
                    QTest::keyClick(dialog, Qt::Key_Return);
                });
                window.enterTickets();
            }},
        {u"only 第2101回"_s,
            [&] {
                auto *filter = control<QComboBox>(window, u"filter"_s);
                filter->setCurrentIndex(filter->findText(u"第2101回"_s));
            }},
        {u"only 第2101回, winning tickets only"_s,
            [&] { control<QCheckBox>(window, u"wonOnly"_s)->setChecked(true); }},
        {u"every draw, winning tickets only"_s,
            [&] { control<QComboBox>(window, u"filter"_s)->setCurrentIndex(0); }},
        {u"every draw, by grade, best first, and exported"_s,
            [&] {
                control<QCheckBox>(window, u"wonOnly"_s)->setChecked(false);
                table->sortByColumn(SavedTicketsModel::Grade, Qt::AscendingOrder);
                const QString exported = fixture.filePath(u"tickets.csv"_s);
                fixture.records << window.exportTickets(exported, ExportEncoding::CodePage932)
                                << Cp932::decode(readFile(exported)).split(u"\r\n"_s);
            }},
        {u"by draw again"_s,
            [&] { table->sortByColumn(SavedTicketsModel::Draw, Qt::AscendingOrder); }},
        {u"mend 第2102回 C: two tickets refused, then moved to 2101 with 44 mended to 43"_s,
            [&] {
                choose({9});
                whenModal(this, [&] {
                    QWidget *dialog = QApplication::activeModalWidget();
                    auto *lines = control<QPlainTextEdit>(*dialog, u"lines"_s);
                    fixture.records << u"to mend "_s + oneLine(lines->toPlainText());
                    lines->setPlainText(u"1 2 3 4 5 6\n1 2 3 4 5 7"_s);
                    QTest::keyClick(dialog, Qt::Key_Return);
                    fixture.records
                        << u"faults "_s + oneLine(control<QLabel>(*dialog, u"faults"_s)->text());
                    lines->setPlainText(u"3 11 19 27 38 43"_s);
                    control<QSpinBox>(*dialog, u"draw"_s)->setValue(2101);
                    QTest::keyClick(dialog, Qt::Key_Return);
                });
                window.change();
            }},
        {u"remove the first and the last, No"_s, remove(QMessageBox::No)},
        {u"remove them, Yes"_s, remove(QMessageBox::Yes)},
        {u"F1"_s, [&] {
             // The dialog that closed took the window's activation with it.
             QApplication::setActiveWindow(&window);
             QTest::keyClick(&window, Qt::Key_F1);
         }}};
    const QStringList transcript = replay(
        steps, [&] { return describe(window); }, [&] { return fixture.takeRecords(); });
    NMR_COMPARE_GOLDEN(transcript, u"check-window"_s);
}

void tst_FormTickets::sideBySide()
{
    // The tool windows open beside the main window, one of each. What one stores the others
    // show at once; what another program stores shows once a window is activated, or on F5.
    WindowFixture fixture;
    const QString database = fixture.locations().historyDatabase();
    QVERIFY(storeDraws(database));
    FormMain window(fixture.locations());
    QVERIFY(window.Form_Load());
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    for (const Qt::Key key : {Qt::Key_K, Qt::Key_M, Qt::Key_K})
        QTest::keyClick(&window, key, Qt::ControlModifier);
    QCOMPARE(window.findChildren<FormCheck *>().size(), 1);
    auto *check = window.findChild<FormCheck *>();
    auto *tickets = window.findChild<FormTickets *>();
    QVERIFY(check->isVisible() && tickets->isVisible() && !check->isModal());
    const auto saved = [&] { return rowsHeard(*control<QTableView>(*check, u"tickets"_s)).size(); };
    const auto made = [&] { return rowsHeard(*control<QTableView>(*tickets, u"table"_s)); };
    QCOMPARE(saved(), 0);

    // The tickets follow the main window's level switch, as its own draw does.
    const auto makeSeeded = [&] { tickets->seed(7), tickets->make(); };
    makeSeeded();
    const QStringList switchedOn = made();
    control<QCheckBox>(window, u"Chk1"_s)->click();
    makeSeeded();
    QVERIFY(made() != switchedOn);
    control<QCheckBox>(window, u"Chk1"_s)->click();
    makeSeeded();
    QCOMPARE(made(), switchedOn);

    tickets->save();
    QCOMPARE(saved(), 5);
    makeSeeded();
    QVERIFY(made().at(0).startsWith(u"F | "_s));
    const auto storeElsewhere = [&] {
        QVERIFY(History(database).saveTickets(2102, {{1, 2, 3, 4, 5, 6}}));
    };
    storeElsewhere();
    QCOMPARE(saved(), 5);
    QEvent activated(QEvent::WindowActivate);
    QApplication::sendEvent(check, &activated);
    QCOMPARE(saved(), 6);
    QVERIFY(made().at(0).startsWith(u"F | "_s));
    QApplication::sendEvent(tickets, &activated);
    QVERIFY(made().at(0).startsWith(u"G | "_s));
    // F5 in the active window, with nothing that activates it in between.
    QApplication::setActiveWindow(check);
    storeElsewhere();
    QCOMPARE(saved(), 6);
    QTest::keyClick(check, Qt::Key_F5);
    QCOMPARE(saved(), 7);
    // Twenty more run past Z, and sort as they are lettered.
    control<QSpinBox>(*tickets, u"count"_s)->setValue(20);
    makeSeeded();
    QVERIFY(made().front().startsWith(u"H | "_s) && made().back().startsWith(u"AA | "_s));

    // Removed in the check window, the tickets are lettered again after those left.
    control<QTableView>(*check, u"tickets"_s)->selectAll();
    fixture.nextAnswer = QMessageBox::Yes;
    check->remove();
    QCOMPARE(saved(), 0);
    QVERIFY(made().at(0).startsWith(u"A | "_s));

    // Closed, a window is gone, and the next Ctrl+K opens a new one, even before the closed
    // one is deleted; the main window's closing closes the others.
    const QPointer<FormCheck> closed = check;
    check->close();
    QApplication::setActiveWindow(&window);
    QTest::keyClick(&window, Qt::Key_K, Qt::ControlModifier);
    QTRY_VERIFY(!closed);
    const QPointer<FormCheck> reopened = window.findChild<FormCheck *>();
    QVERIFY(reopened && reopened->isVisible());
    window.close();
    QVERIFY(!reopened->isVisible() && !tickets->isVisible());
}

void tst_FormTickets::gameChosen()
{
    // ゲーム chosen in a tool window opens it again in its place for that game, which every tool
    // window opens on from then on, kept in the settings file; each game's tickets apart.
    WindowFixture fixture;
    const QString database = fixture.locations().historyDatabase();
    QVERIFY(storeDraws(database));
    History loto7(database);
    loto7.drawStore.setGame(Loto7());
    loto7.ticketStore.setGame(Loto7());
    QVERIFY(loto7.store(
        ReadResults(Loto7(), u"第2100回 1 2 3 4 5 6 7 (8) (9)"_s, [](const RejectedLine &) {}),
        u"t"_s));
    QVERIFY(loto7.saveTickets(2100, {{1, 2, 3, 4, 5, 6, 8}}));
    FormMain window(fixture.locations());
    QVERIFY(window.Form_Load());
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(&window, Qt::Key_K, Qt::ControlModifier);
    const QPointer<FormCheck> first = window.findChild<FormCheck *>();
    QVERIFY(first);
    QCOMPARE(first->game().key, Loto6().key);
    const QRect place(40, 50, 900, 700);
    first->setGeometry(place);
    auto *choice = control<QComboBox>(*first, u"game"_s);
    QCOMPARE(choice->currentText(), u"ロト6"_s);
    QTest::keyClick(choice, Qt::Key_Down);
    QTRY_VERIFY(!first);
    const auto *check = window.findChild<FormCheck *>();
    QVERIFY(check && check->isVisible());
    QApplication::setActiveWindow(&window);
    QCOMPARE(check->game().key, Loto7().key);
    QCOMPARE(control<QComboBox>(*check, u"game"_s)->currentText(), u"ロト7"_s);
    QCOMPARE(check->geometry(), place);
    QCOMPARE(rowsHeard(*control<QTableView>(*check, u"tickets"_s)).size(), 1);
    QCOMPARE(ReadToolGame().key, Loto7().key);
    QTest::keyClick(&window, Qt::Key_M, Qt::ControlModifier);
    const auto *tickets = window.findChild<FormTickets *>();
    QVERIFY(tickets);
    QCOMPARE(tickets->game().key, Loto7().key);
    QCOMPARE(control<QSpinBox>(*tickets, u"overlap"_s)->maximum(), 6);
    const QList<QLabel *> labels = tickets->findChildren<QLabel *>();
    QVERIFY(std::any_of(labels.begin(), labels.end(), [](const QLabel *label) {
        return label->text().endsWith(
            u"ロト7の券は、プロファイルの出現率も誕生日も使わず、どの数字も同じ確率で選びます。"_s);
    }));
}

QTEST_MAIN(tst_FormTickets)
#include "tst_formtickets.moc"
