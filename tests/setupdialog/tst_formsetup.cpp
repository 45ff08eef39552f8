#include "common/describe.h"
#include "common/programstyle.h"
#include "common/windowfixture.h"
#include "layouts/setupgrid.h"
#include "settings/inifilesaveload.h"

#include <QApplication>
#include <QPushButton>
#include <QStyleOptionSlider>
#include <QTest>
#include <QTimer>

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
    template<typename Control = QWidget>
    Control *find(const QString &name) const
    {
        return control<Control>(*dialog, name);
    }
    QScrollBar *slider(int number) const
    {
        return find<QScrollBar>(u"ScrPB(%1)"_s.arg(number - 1));
    }
    void click(const QString &button) const { find<QPushButton>(button)->click(); }
    void show();

    std::optional<WindowFixture> fixture;
    std::optional<FormSetup> dialog;

private slots:
    void initTestCase() { InstallProgramLook(); }
    void init() { fixture.emplace(); }
    void cleanup() { dialog.reset(), fixture.reset(); }
    void openAndOk();
    void profileSession();
    void keyboardAndClosing();
    void levelLabelsAndSliders();
    void gridGeometry_data();
    void gridGeometry();
    void openedFromMainWindow();
};

void tst_FormSetup::open(const QByteArray &probability)
{
    if (!probability.isNull())
        fixture->setContent("[Probability]\r\n" + probability + "\r\n");
    dialog.emplace();
    dialog->Form_Load();
}

void tst_FormSetup::show()
{
    dialog->show();
    QVERIFY(QTest::qWaitForWindowActive(&*dialog));
}

void tst_FormSetup::openAndOk()
{
    auto choose = [&](int month, int day) {
        return [&, month, day] {
            find<QComboBox>(u"CmbBD(0)"_s)->setCurrentText(QString::number(month));
            find<QComboBox>(u"CmbBD(1)"_s)->setCurrentText(QString::number(day));
        };
    };
    // What the file holds, then what is done before OK; each range at both ends and one past.
    const Steps cases {{{}, [] {}},
        {u"BirthDay=01231"_s, [&] { find<QCheckBox>(u"ChkBD"_s)->click(); }},
        {u"BirthDay=11225"_s, [] {}}, {u"BirthDay=21225"_s, [] {}}, {u"BirthDay=11300"_s, [] {}},
        {u"BirthDay=10032"_s, [] {}}, {u"BirthDay=10101"_s, [] {}},
        {u"BirthDay=10000"_s, choose(2, 31)}, {u"BirthDay=10000"_s, choose(0, 15)},
        {u"BirthDay=10000"_s, choose(7, 0)}, {u"PB=-1"_s, [] {}},
        {u"PB=0\r\nPB0=F"_s, [&] { slider(2)->setValue(9); }}, {u"PB=9\r\nPB9=A"_s, [] {}},
        {u"PB=10"_s, [] {}}, {u"PB=1\r\nPB1=\"8888 x\""_s, [&] {
                                  fixture->nextInput = u"Foo"_s;
                                  click(u"ComPB(0)"_s);
                                  fixture->nextInput.clear();
                                  click(u"ComPB(1)"_s);
                              }}};
    QStringList transcript;
    for (const auto &[stored, action] : cases) {
        cleanup();
        init();
        open(stored.isNull() ? QByteArray() : stored.toLatin1());
        transcript << u"== "_s + oneLine(stored) << describe(*dialog);
        action();
        click(u"Com1(0)"_s);
        transcript << fixture->takeRecords() << u"-- then OK"_s << describe(*dialog).constLast()
                   << fileLines(fixture->path());
    }
    QCOMPARE(transcript, goldenState(u"open-and-ok"_s, transcript));
}

void tst_FormSetup::profileSession()
{
    open(mixedOne);
    auto *list = find<QListWidget>(u"LstPB"_s);
    auto reset = [&](QMessageBox::StandardButton answer) {
        return [&, answer] { fixture->nextAnswer = answer, click(u"ComPB(2)"_s); };
    };
    auto tool = [&](int index, const QString &answer) {
        return
            [&, index, answer] { fixture->nextInput = answer, click(u"ComPB(%1)"_s.arg(index)); };
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
        {u"Ctrl+click the selected item"_s,
            [&] {
                QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier,
                    list->visualItemRect(list->item(0)).center());
            }},
        {u"Ctrl+Space"_s, [&] { QTest::keyClick(list, Qt::Key_Space, Qt::ControlModifier); }},
        {u"OK"_s, [&] { click(u"Com1(0)"_s); }}};
    const QStringList transcript
        = replay(steps, [&] { return describe(*dialog) << fixture->takeRecords(); })
        << fileLines(fixture->path());
    QCOMPARE(transcript, goldenState(u"profile-session"_s, transcript));
}

void tst_FormSetup::keyboardAndClosing()
{
    Module1::SetHelpDirectory(u"/help"_s);
    for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Return}) {
        open();
        show();
        slider(4)->setValue(1);
        QTest::keyClick(key == Qt::Key_Escape ? &*dialog : find(u"Com1(1)"_s), key);
        QVERIFY(!dialog->isVisible() && !QFile::exists(fixture->path()));
    }

    open();
    show();
    QWidget *list = find(u"LstPB"_s);
    QCOMPARE(QApplication::focusWidget(), list);
    QTest::keyClick(slider(11), Qt::Key_F1);
    QTest::keyClick(list, Qt::Key_F1);
    click(u"Com1(2)"_s);
    QCOMPARE(fixture->takeRecords(), QStringList(3, u"started xdg-open /help/option.htm"_s));

    // A frame's access key: the first slider; the month list or, while it is greyed, the check box.
    QTest::keyClick(&*dialog, Qt::Key_P, Qt::AltModifier);
    QCOMPARE(QApplication::focusWidget(), slider(1));
    QTest::keyClick(&*dialog, Qt::Key_B, Qt::AltModifier);
    QCOMPARE(QApplication::focusWidget(), find(u"CmbBD(0)"_s));
    QTest::keyClick(&*dialog, Qt::Key_D, Qt::AltModifier);
    QTRY_VERIFY(find<QCheckBox>(u"ChkBD"_s)->isChecked()); // clicked with a short animation
    QTest::keyClick(&*dialog, Qt::Key_B, Qt::AltModifier);
    QCOMPARE(QApplication::focusWidget(), find(u"ChkBD"_s));
    QTest::keyClick(&*dialog, Qt::Key_L, Qt::AltModifier);
    QCOMPARE(QApplication::focusWidget(), list);

    // Enter presses the button with the focus; elsewhere it presses OK.
    QTest::keyClick(find(u"ComPB(0)"_s), Qt::Key_Return);
    QCOMPARE(fixture->takeRecords().size(), 1); // the rename box
    QVERIFY(dialog->isVisible() && !QFile::exists(fixture->path()));
    QTest::keyClick(list, Qt::Key_Return);
    QVERIFY(!dialog->isVisible());
    QCOMPARE(IniFileSaveLoad::ReadIniString(u"Probability"_s, u"BirthDay"_s, {}), u"00000"_s);
}

void tst_FormSetup::levelLabelsAndSliders()
{
    open();
    show();
    QLabel *label = find<QLabel>(u"LabPB2(42)"_s);
    const int left = label->x();
    for (int level = 10; level <= 15; ++level) {
        slider(43)->setValue(level);
        QVERIFY2(label->sizeHint().width() <= label->width(), qPrintable(label->text()));
    }
    QCOMPARE(label->x(), left);

    // The thumb stands out from the groove (a contrast of at least 3 : 1), and the keyboard
    // focus shows.
    auto luminance = [](QRgb rgb) {
        auto channel = [](int value) {
            const double c = value / 255.0;
            return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(qRed(rgb)) + 0.7152 * channel(qGreen(rgb))
            + 0.0722 * channel(qBlue(rgb));
    };
    QScrollBar *bar = slider(1);
    bar->setValue(0);
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.orientation = Qt::Horizontal;
    option.maximum = bar->maximum();
    const QRect thumb = bar->style()->subControlRect(
        QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, bar);
    const QImage plain = bar->grab().toImage();
    const double lighter = std::max(luminance(plain.pixel(thumb.center())),
        luminance(plain.pixel(bar->width() * 2 / 3, thumb.center().y())));
    const double darker = std::min(luminance(plain.pixel(thumb.center())),
        luminance(plain.pixel(bar->width() * 2 / 3, thumb.center().y())));
    QVERIFY((lighter + 0.05) / (darker + 0.05) >= 3);
    bar->setFocus();
    QVERIFY(bar->grab().toImage() != plain);
}

void tst_FormSetup::gridGeometry_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<double>("dpi");
    QTest::addColumn<QPoint>("sliderAt"); // twips

    QTest::newRow("1 at 96 dpi") << 1 << 96.0 << QPoint(405, 300);
    QTest::newRow("10 ends column 0") << 10 << 96.0 << QPoint(405, 3135);
    QTest::newRow("11 heads column 1") << 11 << 96.0 << QPoint(1980, 300);
    QTest::newRow("41 heads column 4") << 41 << 96.0 << QPoint(6705, 300);
    QTest::newRow("43 at 96 dpi") << 43 << 96.0 << QPoint(6705, 930);
    QTest::newRow("43 at 144 dpi keeps pixel steps") << 43 << 144.0 << QPoint(4605, 620);
}

void tst_FormSetup::gridGeometry()
{
    QFETCH(int, number);
    QFETCH(double, dpi);
    QFETCH(QPoint, sliderAt);

    const GridPosition at = SetupGridPosition(number, dpi);
    QCOMPARE(QPoint(at.sliderLeft, at.top), sliderAt);
}

void tst_FormSetup::openedFromMainWindow()
{
    FormMain window(fixture->locations());
    QVERIFY(window.Form_Load());
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    // Choose profile 3 and make its first level F, then OK: the next draw uses profile 3.
    QTimer::singleShot(0, this, [] {
        auto *opened = qobject_cast<FormSetup *>(QApplication::activeModalWidget());
        QVERIFY(opened);
        control<QListWidget>(*opened, u"LstPB"_s)->setCurrentRow(2);
        control<QScrollBar>(*opened, u"ScrPB(0)"_s)->setValue(15);
        control<QPushButton>(*opened, u"Com1(0)"_s)->click();
    });
    QTest::keyClick(&window, Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(window.activeLevels(), u"F"_s + eights.mid(1));
    QCOMPARE(window.activeBirthday(), u"10000"_s);

    // Cancel still rereads the file: a change made behind the window's back shows.
    IniFileSaveLoad::WriteIniString(u"Probability"_s, u"PB2"_s, u"\"1234\""_s);
    QTimer::singleShot(0, this, [] { QApplication::activeModalWidget()->close(); });
    window.sys1(12)->trigger();
    QCOMPARE(window.activeLevels(), u"1234"_s);
}

QTEST_MAIN(tst_FormSetup)
#include "tst_formsetup.moc"
