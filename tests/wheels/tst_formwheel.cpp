#include "common/describe.h"
#include "common/history.h"
#include "common/storedraws.h"
#include "common/windowfixture.h"
#include "history/importfile.h"
#include "look/programstyle.h"
#include "wheels/formwheel.h"

#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>

namespace {

QStringList describe(const FormWheel &window)
{
    QStringList lines;
    for (const QString &name : {u"status"_s, u"cost"_s, u"coverage"_s, u"expected"_s}) {
        const auto *label = control<QLabel>(window, name);
        lines << name + u' ' + oneLine(label->text())
                + (label->accessibleName() == label->text() || label->accessibleName().isEmpty()
                        ? QString()
                        : u" heard "_s + oneLine(label->accessibleName()));
    }
    QStringList buttons;
    for (const QString &name : {u"make"_s, u"improve"_s, u"copy"_s, u"save"_s})
        buttons << name + u' ' + onOff(control<QPushButton>(window, name)->isEnabled());
    lines << buttons.join(u", "_s) + u", draw "_s + control<QSpinBox>(window, u"draw"_s)->text();
    return lines << rowsHeard(*control<QTableView>(window, u"table"_s))
                 << rowsHeard(*control<QTableView>(window, u"chances"_s));
}

} // namespace

class tst_FormWheel : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { InstallProgramLook(); }
    void session();
};

void tst_FormWheel::session()
{
    WindowFixture fixture;
    const QString database = fixture.filePath(u"nmr-history.sqlite"_s);
    const QString log = fixture.filePath(u"nmr.log"_s);
    QVERIFY(StoreResults(database, u"第2100回 2026/12/3 1 2 3 4 5 6 (7)"_s));
    FormWheel window(database, Loto6(), log);
    connect(&window, &FormWheel::databaseChanged, this,
        [&] { fixture.records << u"told the other windows"_s; });
    Module1::SetHelpDirectory(u"/help"_s);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    const auto make = [&](const QString &chosen, int guarantee, int most) {
        return [&, chosen, guarantee, most] {
            control<QLineEdit>(window, u"chosen"_s)->setText(chosen);
            control<QComboBox>(window, u"guarantee"_s)->setCurrentIndex(guarantee);
            control<QSpinBox>(window, u"most"_s)->setValue(most);
            window.seed(2026);
            control<QPushButton>(window, u"make"_s)->click();
            QTRY_VERIFY(!window.searching());
        };
    };
    const QString ten = u"3 7 11 19 22 27 31 38 40 42"_s;
    const Steps steps {{u"open"_s, [] {}},
        {u"six numbers: refused"_s, make(u"1 2 3 4 5 6"_s, 1, 0)},
        {u"21 numbers: refused"_s,
            make(u"1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 21"_s, 1, 0)},
        {u"ten numbers, 3 given twice, 3/4"_s, make(ten + u" 3"_s, 1, 0)},
        {u"copy"_s,
            [&] {
                window.copy(), fixture.records << oneLine(QGuiApplication::clipboard()->text());
            }},
        {u"save for the next draw, as wheel tickets"_s,
            [&] {
                window.save();
                QStringList sources;
                for (const SavedTicket &ticket : History(database).tickets())
                    sources << QString::number(int(ticket.source));
                fixture.records << u"sources "_s + sources.join(u' ');
            }},
        {u"3/4 at most 4, as many as shipped: no search"_s, make(ten, 1, 4)},
        {u"3/6: two tickets, the least there can be: no 改善"_s, make(ten, 3, 0)},
        {u"4/4 at most 10 tickets: searched, with holes"_s, make(ten, 4, 10)},
        {u"3/3, then 改善 stopped at once: no fewer tickets"_s,
            [&] {
                make(ten, 0, 0)();
                window.improve();
                window.cancelSearch();
                QTRY_VERIFY(!window.searching());
            }},
        {u"F1"_s, [&] { QTest::keyClick(&window, Qt::Key_F1); }}};
    const QStringList transcript
        = replay(
              steps, [&] { return describe(window); }, [&] { return fixture.takeRecords(); })
        << u"== nmr.log"_s << fileLines(log);
    NMR_COMPARE_GOLDEN(transcript, u"wheel-window"_s);

    // Figures past 999 carry their separators.
    make(u"1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20"_s, 9, 0)();
    QCOMPARE(
        control<QLabel>(window, u"status"_s)->text(), u"38,760 口のホイールを作成しました。"_s);
}

QTEST_MAIN(tst_FormWheel)
#include "tst_formwheel.moc"
