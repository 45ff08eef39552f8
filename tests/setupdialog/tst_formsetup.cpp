#include "common/describe.h"
#include "common/windowfixture.h"
#include "layouts/mainlayout.h"
#include "layouts/setupgrid.h"
#include "look/programstyle.h"

#include <QAccessible>
#include <QLineEdit>
#include <QPushButton>
#include <QStyleOptionSlider>

#include <cmath>

#include <optional>

namespace {

const QString eights(NumberCount, u'8');
const QString mixed = u"0123456789ABCDEF0123456789ABCDEF0123456789A"_s;
const QByteArray mixedOne = "PB0=\"0123456789ABCDEF0123456789ABCDEF0123456789A One\"";

} // namespace

class tst_FormSetup : public QObject
{
    Q_OBJECT

    // The dialog on a settings file of [Probability] and the given lines (no file for null).
    void open(const QByteArray &probability = {});
    QScrollBar *slider(int number) const
    {
        return control<QScrollBar>(*dialog, u"ScrPB(%1)"_s.arg(number - 1));
    }
    void click(const QString &button) const { control<QPushButton>(*dialog, button)->click(); }
    bool show() { return dialog->show(), QTest::qWaitForWindowActive(&*dialog); }

    std::optional<WindowFixture> fixture;
    std::optional<FormSetup> dialog;

private slots:
    void initTestCase() { InstallProgramLook(); }
    void init() { fixture.emplace(); }
    void cleanup() { dialog.reset(), fixture.reset(); }
    void openAndOk_data();
    void openAndOk();
    void profileSession();
    void closingWithoutSaving_data();
    void closingWithoutSaving();
    void keyboard();
    void levelLabelsAndSliders();
    void openedFromMainWindow();
    void chancesAndNames();
    void failedSave();
};

void tst_FormSetup::open(const QByteArray &probability)
{
    if (!probability.isNull())
        fixture->setContent("[Probability]\r\n" + probability + "\r\n");
    dialog.emplace();
    dialog->Form_Load();
}

void tst_FormSetup::openAndOk_data()
{
    // What the file holds, then what is done before OK; each range at both ends and one past.
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QString>("action");
    QTest::newRow("no file") << QByteArray() << QString();
    for (const char *stored : {"BirthDay=11225", "BirthDay=21225", "BirthDay=11300",
             "BirthDay=10032", "BirthDay=10101", "PB=-1", "PB=10"})
        QTest::newRow(stored) << QByteArray(stored) << QString();
    QTest::newRow("PB=9, PB9=A") << "PB=9\r\nPB9=A"_ba << QString();
    QTest::newRow("BirthDay=01231, switched on") << "BirthDay=01231"_ba << u"switch"_s;
    for (const auto &[tag, date] :
        {std::pair("chosen 2 31", "2/31"), {"chosen - 15", "0/15"}, {"chosen 7 -", "7/0"}})
        QTest::newRow(tag) << "BirthDay=10000"_ba << QString::fromLatin1(date);
    QTest::newRow("PB0=F, slider 2 to 9") << "PB=0\r\nPB0=F"_ba << u"slider"_s;
    QTest::newRow("PB1=8888 x, renamed, share cancelled")
        << "PB=1\r\nPB1=\"8888 x\""_ba << u"rename"_s;
}

void tst_FormSetup::openAndOk()
{
    QFETCH(QByteArray, stored);
    QFETCH(QString, action);

    // Each row notes what differs from a dialog on no file: the lines shown that differ, the
    // lines saved that a default save lacks. That row notes everything.
    QStringList shownByDefault;
    QStringList savedByDefault;
    if (!stored.isNull()) {
        open(), shownByDefault = describe(*dialog), click(u"Com1(0)"_s);
        savedByDefault = fileLines(fixture->path()), cleanup(), init();
    }
    open(stored);
    QStringList transcript = changedLines(shownByDefault, describe(*dialog));
    if (action == u"switch"_s) {
        control<QCheckBox>(*dialog, u"ChkBD"_s)->click();
    } else if (action.contains(u'/')) {
        control<QComboBox>(*dialog, u"CmbBD(0)"_s)->setCurrentText(action.section(u'/', 0, 0));
        control<QComboBox>(*dialog, u"CmbBD(1)"_s)->setCurrentText(action.section(u'/', 1));
    } else if (action == u"slider"_s) {
        slider(2)->setValue(9);
    } else if (action == u"rename"_s) {
        fixture->nextInput = u"Foo"_s, click(u"ComPB(0)"_s);
        fixture->nextInput.clear(), click(u"ComPB(1)"_s);
    }
    click(u"Com1(0)"_s);
    QStringList saved = fileLines(fixture->path());
    saved.removeIf([&](const QString &line) { return savedByDefault.contains(line); });
    transcript << fixture->takeRecords() << u"== then OK, saved"_s << saved;
    NMR_COMPARE_GOLDEN(
        transcript, u"open-and-ok/"_s + QString::fromLatin1(QTest::currentDataTag()));
}

void tst_FormSetup::profileSession()
{
    open(mixedOne);
    auto *list = control<QListWidget>(*dialog, u"LstPB"_s);
    auto reset = [&](QMessageBox::StandardButton answer) {
        return [&, answer] { fixture->nextAnswer = answer, click(u"ComPB(2)"_s); };
    };
    auto tool = [&](int index, const QString &answer, QMessageBox::StandardButton reply = {}) {
        return [&, index, answer, reply] {
            fixture->nextInput = answer, fixture->nextAnswer = reply;
            click(u"ComPB(%1)"_s.arg(index));
        };
    };
    auto key = [&](Qt::Key key) { return [&, key] { QTest::keyClick(slider(43), key); }; };
    const Steps steps {{u"open"_s, [] {}}, {u"slider 5 to 15"_s, [&] { slider(5)->setValue(15); }},
        {u"Setting2, slider 1 to 3"_s, [&] { list->setCurrentRow(1), slider(1)->setValue(3); }},
        {u"One"_s, [&] { list->setCurrentRow(0); }},
        {u"reset, Cancel"_s, reset(QMessageBox::Cancel)},
        {u"reset, Yes"_s, reset(QMessageBox::Yes)}, {u"reset, No"_s, reset(QMessageBox::No)},
        {u"slider 43 Left"_s, key(Qt::Key_Left)}, {u"Home"_s, key(Qt::Key_Home)},
        {u"Left"_s, key(Qt::Key_Left)}, {u"Right"_s, key(Qt::Key_Right)},
        {u"Page Up"_s, key(Qt::Key_PageUp)}, {u"Page Down"_s, key(Qt::Key_PageDown)},
        {u"End"_s, key(Qt::Key_End)}, {u"Right"_s, key(Qt::Key_Right)},
        {u"Page Up"_s, key(Qt::Key_PageUp)}, {u"Page Down"_s, key(Qt::Key_PageDown)},
        {u"share F"_s, tool(1, u"F"_s)}, {u"share 50 digits"_s, tool(1, mixed + u"FFFFFFF"_s)},
        {u"share lower case"_s, tool(1, u"ff"_s + eights.mid(2))},
        {u"share blanks and letters beyond F"_s, tool(1, u"8 8G8z"_s + eights.mid(6))},
        {u"share cancelled"_s, tool(1, QString())}, {u"rename cancelled"_s, tool(0, QString())},
        {u"rename to blanks"_s, tool(0, u"  "_s)},
        {u"rename to two lines"_s, tool(0, u"A\r\nB\nC"_s)},
        {u"rename to 211 bytes, No"_s, tool(0, QString(211, u'x'), QMessageBox::No)},
        {u"rename to what the code page lacks, Yes"_s,
            tool(0, u"A\U0001F600B\u00E9\U0001F601\U0001F600?"_s, QMessageBox::Yes)},
        {u"rename to 212 bytes, Yes"_s, tool(0, QString(106, u'\u3042'), QMessageBox::Yes)},
        {u"Ctrl+click the selected item"_s,
            [&] {
                QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier,
                    list->visualItemRect(list->item(0)).center());
            }},
        {u"Ctrl+Space"_s, [&] { QTest::keyClick(list, Qt::Key_Space, Qt::ControlModifier); }},
        {u"OK"_s, [&] { click(u"Com1(0)"_s); }}};
    const QStringList transcript
        = replay(
              steps, [&] { return describe(*dialog); }, [&] { return fixture->takeRecords(); })
        << fileLines(fixture->path());
    NMR_COMPARE_GOLDEN(transcript, u"profile-session"_s);
}

void tst_FormSetup::closingWithoutSaving_data()
{
    QTest::addColumn<Qt::Key>("key");
    QTest::newRow("Esc") << Qt::Key_Escape;
    QTest::newRow("Enter on Cancel") << Qt::Key_Return;
}

void tst_FormSetup::closingWithoutSaving()
{
    // Esc, or Enter on Cancel: the dialog closes and nothing is saved.
    QFETCH(Qt::Key, key);
    open();
    QVERIFY(show());
    slider(4)->setValue(1);
    QTest::keyClick(
        key == Qt::Key_Escape ? &*dialog : control<QWidget>(*dialog, u"Com1(1)"_s), key);
    QVERIFY(!dialog->isVisible() && !QFile::exists(fixture->path()));
}

void tst_FormSetup::keyboard()
{
    Module1::SetHelpDirectory(u"/help"_s);
    open();
    QVERIFY(show());
    QWidget *list = control<QWidget>(*dialog, u"LstPB"_s);
    QCOMPARE(QApplication::focusWidget(), list);
    QTest::keyClick(slider(11), Qt::Key_F1);
    QTest::keyClick(list, Qt::Key_F1);
    click(u"Com1(2)"_s);
    QCOMPARE(platformNeutral(fixture->takeRecords()),
        QStringList(3, u"started $VIEWER /help/option.htm"_s));

    // A frame's access key: the first slider; the month list or, while it is greyed, the check box.
    QTest::keyClick(&*dialog, Qt::Key_P, Qt::AltModifier);
    QCOMPARE(QApplication::focusWidget(), slider(1));
    QTest::keyClick(&*dialog, Qt::Key_B, Qt::AltModifier);
    QCOMPARE(QApplication::focusWidget(), control<QWidget>(*dialog, u"CmbBD(0)"_s));
    QTest::keyClick(&*dialog, Qt::Key_D, Qt::AltModifier);
    QTRY_VERIFY(
        control<QCheckBox>(*dialog, u"ChkBD"_s)->isChecked()); // clicked with a short animation
    QTest::keyClick(&*dialog, Qt::Key_B, Qt::AltModifier);
    QCOMPARE(QApplication::focusWidget(), control<QWidget>(*dialog, u"ChkBD"_s));
    QTest::keyClick(&*dialog, Qt::Key_L, Qt::AltModifier);
    QCOMPARE(QApplication::focusWidget(), list);

    // Enter presses the button with the focus (elsewhere OK, which the end-to-end test presses).
    QTest::keyClick(control<QWidget>(*dialog, u"ComPB(0)"_s), Qt::Key_Return);
    QCOMPARE(fixture->takeRecords().size(), 1); // the rename box
    QVERIFY(dialog->isVisible() && !QFile::exists(fixture->path()));

    // F1 from a drop-down's open list, a window of its own.
    auto *month = control<QComboBox>(*dialog, u"CmbBD(0)"_s);
    month->showPopup();
    QTest::keyClick(month->view(), Qt::Key_F1);
    QCOMPARE(platformNeutral(fixture->takeRecords()),
        QStringList {u"started $VIEWER /help/option.htm"_s});
}

void tst_FormSetup::levelLabelsAndSliders()
{
    // Numbers 1, 10, 11, 41 and 43 at 96 dots per inch, and 43 at 144, where the grid keeps its
    // pixel steps: the slider's left and top in twips.
    QList<QPoint> at;
    for (const auto &[number, dpi] :
        {std::pair(1, 96.0), {10, 96.0}, {11, 96.0}, {41, 96.0}, {43, 96.0}, {43, 144.0}})
        at << QPoint(SetupGridPosition(number, dpi).sliderLeft, SetupGridPosition(number, dpi).top);
    QCOMPARE(at,
        (QList<QPoint> {
            {405, 300}, {405, 3135}, {1980, 300}, {6705, 300}, {6705, 930}, {4605, 620}}));

    open();
    QVERIFY(show());
    QLabel *label = control<QLabel>(*dialog, u"LabPB2(42)"_s);
    for (int level = 10; level <= 15; ++level) {
        slider(43)->setValue(level);
        QVERIFY2(label->sizeHint().width() <= label->width(), qPrintable(label->text()));
    }

    // Where the thumb stands at level 0, its grey differs from the groove's at level 15 by at
    // least 96 of 255; and the keyboard focus shows.
    QScrollBar *bar = slider(1);
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.maximum = MaximumLevel;
    const QPoint thumb
        = bar->style()
              ->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, bar)
              .center();
    bar->setValue(0);
    const QImage low = bar->grab().toImage();
    bar->setValue(15);
    const QImage high = bar->grab().toImage();
    QVERIFY(std::abs(qGray(low.pixel(thumb)) - qGray(high.pixel(thumb))) >= 96);
    bar->setFocus();
    QVERIFY(bar->grab().toImage() != high);
}

void tst_FormSetup::openedFromMainWindow()
{
    FormMain window(fixture->locations());
    QVERIFY(window.Form_Load());
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    // Choose profile 3 and make its first level F, then OK, which fails while a directory
    // stands in the settings file's place; the dialog stays, and OK again saves. The next draw
    // uses profile 3.
    QVERIFY(QDir().mkdir(fixture->path()));
    whenModal(this, [this] {
        auto *opened = qobject_cast<FormSetup *>(QApplication::activeModalWidget());
        QVERIFY(opened);
        control<QListWidget>(*opened, u"LstPB"_s)->setCurrentRow(2);
        control<QScrollBar>(*opened, u"ScrPB(0)"_s)->setValue(15);
        control<QPushButton>(*opened, u"Com1(0)"_s)->click();
        QVERIFY(opened->isVisible() && QDir().rmdir(fixture->path()));
        whenModal(this, [opened] { control<QPushButton>(*opened, u"Com1(0)"_s)->click(); });
    });
    QTest::keyClick(&window, Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(window.activeLevels(), u"F"_s + eights.mid(1));
    QCOMPARE(window.activeBirthday(), u"10000"_s);

    // Cancel still rereads the file: a change made behind the window's back shows.
    IniFileSaveLoad::WriteIniString(u"Probability"_s, u"PB2"_s, u"\"1234\""_s);
    whenModal(this, [] { QApplication::activeModalWidget()->close(); });
    window.sys1(MainLayout::Settings)->trigger();
    QCOMPARE(window.activeLevels(), u"1234"_s);
}

void tst_FormSetup::chancesAndNames()
{
    // Each slider's tooltip and description give its number's chance and follow the slider.
    open();
    QTRY_COMPARE(
        slider(7)->toolTip(), u"07：出現レベル 8 ─ 1 回の予想に入る確率 約 14.3%（強さ 5）"_s);
    slider(7)->setValue(15);
    QTRY_VERIFY(slider(7)->toolTip().startsWith(u"07：出現レベル 15 "_s));
    QCOMPARE(QAccessible::queryAccessibleInterface(slider(7))->text(QAccessible::Description),
        slider(7)->toolTip());

    // The share string's box, the real one, is named after its caption.
    QString name;
    Seams::setInputHandler({});
    whenModal(this, [&] {
        auto *box = QApplication::activeModalWidget();
        name = box->findChild<QLineEdit *>()->accessibleName();
        box->close();
    });
    click(u"ComPB(1)"_s);
    QCOMPARE(name, u"設定情報"_s);

    // A long name stays on one line: all four rows show, and the whole name is in the item's
    // tooltip and what a screen reader hears.
    const QString longName = QString(60, u'\u3042');
    open("PB0=\"" + eights.toLatin1() + ' ' + Cp932::encode(longName) + "\"\r\n");
    QVERIFY(show());
    auto *list = control<QListWidget>(*dialog, u"LstPB"_s);
    QVERIFY(!list->horizontalScrollBar()->isVisible());
    QVERIFY(list->viewport()->rect().contains(list->visualItemRect(list->item(3)).topRight()));
    QCOMPARE(list->item(0)->toolTip(), longName);
    QCOMPARE(
        QAccessible::queryAccessibleInterface(list)->child(0)->text(QAccessible::Name), longName);
}

void tst_FormSetup::failedSave()
{
    // OK that cannot save says so and keeps the dialog open with the edits, and OK again saves
    // them: here a disk full from the tenth profile on, which leaves the birthday's line, of the
    // same length, written. (A directory in the file's place: openedFromMainWindow.)
#ifndef Q_OS_UNIX
    QSKIP("a full disk is made with a file-size limit, which only Unix has");
#else
    open(), click(u"Com1(0)"_s), open();
    QVERIFY(show());
    slider(1)->setValue(15);
    control<QListWidget>(*dialog, u"LstPB"_s)->setCurrentRow(9);
    fixture->nextInput = u"A longer name"_s, click(u"ComPB(0)"_s);
    onFullDisk(fixture->content().size(), [&] { click(u"Com1(0)"_s); });
    QVERIFY(dialog->isVisible());
    QCOMPARE(fixture->takeRecords().constLast(),
        u"said as a failure \"設定を保存できませんでした。\\r\\n設定ファイルに書き込めません。\""_s);
    click(u"Com1(0)"_s);
    QVERIFY(!dialog->isVisible());
    QVERIFY(
        fixture->content().contains("PB0=\"F8") && fixture->content().contains(" A longer name\""));
#endif
}

QTEST_MAIN(tst_FormSetup)
#include "tst_formsetup.moc"
