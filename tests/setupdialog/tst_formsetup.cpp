#include "common/module1.h"
#include "common/windowfixture.h"
#include "layouts/setupgrid.h"
#include "layouts/twips.h"
#include "mainwindow/formmain.h"
#include "settings/inifilesaveload.h"
#include "setupdialog/formsetup.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

const QString eights(NumberCount, u'8');
const QString mixed = u"0123456789ABCDEF0123456789ABCDEF0123456789A"_s;

// The dialog's controls, found in the order they were made.
struct Controls
{
    explicit Controls(const FormSetup &dialog)
        : list(dialog.findChild<QListWidget *>())
        , check(dialog.findChild<QCheckBox *>())
        , combos(dialog.findChildren<QComboBox *>())
        , buttons(dialog.findChildren<QPushButton *>(Qt::FindChildrenRecursively))
    {
        // The level sliders stand directly in the frame; the list has scroll bars of its own.
        for (QScrollBar *slider : dialog.findChildren<QScrollBar *>()) {
            if (qobject_cast<QGroupBox *>(slider->parentWidget()))
                sliders << slider;
        }
        for (QLabel *label : dialog.findChildren<QLabel *>()) {
            if (label->font().bold())
                numbers << label;
            else if (label->text().size() <= 2 && !label->text().startsWith(u'月')
                && !label->text().startsWith(u'日'))
                levels << label;
        }
    }

    QPushButton *button(const QString &caption) const
    {
        for (QPushButton *b : buttons) {
            if (b->text() == caption)
                return b;
        }
        return nullptr;
    }

    QString sliderLevels() const
    {
        QString text;
        for (const QScrollBar *slider : sliders)
            text += LevelDigit(slider->value());
        return text;
    }

    QListWidget *list;
    QCheckBox *check;
    QList<QComboBox *> combos;
    QList<QPushButton *> buttons;
    QList<QScrollBar *> sliders;
    QList<QLabel *> numbers;
    QList<QLabel *> levels;
};

QString stored(const QString &key)
{
    return IniFileSaveLoad::ReadIniString(u"Probability"_s, key, u"(absent)"_s);
}

} // namespace

class tst_FormSetup : public QObject
{
    Q_OBJECT

private slots:
    void openingWithoutFile();
    void editingAndSaving_data();
    void editingAndSaving();
    void openedFromMainWindow();
    void shareString_data();
    void shareString();
    void reset_data();
    void reset();
    void rename_data();
    void rename();
    void birthday_data();
    void birthday();
    void gridGeometry_data();
    void gridGeometry();
    void keys();
    void help();
    void indexWithoutSlot();
};

void tst_FormSetup::openingWithoutFile()
{
    WindowFixture fixture;
    IniFileSaveLoad::SetIniPath(fixture.iniPath());
    FormSetup dialog;
    dialog.Form_Load();
    const Controls c(dialog);

    QCOMPARE(c.list->count(), 10);
    for (int slot = 0; slot < 10; ++slot)
        QCOMPARE(c.list->item(slot)->text(), u"Setting"_s + QString::number(slot + 1));
    QCOMPARE(c.list->currentRow(), 0);
    QCOMPARE(c.sliders.size(), 43);
    QCOMPARE(c.sliderLevels(), eights);
    QCOMPARE(c.levels.size(), 43);
    for (const QLabel *label : c.levels)
        QCOMPARE(label->text(), u"8"_s);
    QCOMPARE(c.numbers.first()->text(), u"01"_s);
    QCOMPARE(c.numbers.last()->text(), u"43"_s);
    QVERIFY(!c.check->isChecked());
    for (const QComboBox *combo : c.combos) {
        QCOMPARE(combo->currentIndex(), -1);
        QVERIFY(combo->isEnabled());
    }
    QCOMPARE(dialog.windowTitle(), u"Numerisphere の設定"_s);

    c.button(u"OK"_s)->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(fixture.ini(), readFile(QStringLiteral(NMR_TEST_DATA "/setup-ok-defaults.expected")));
}

void tst_FormSetup::editingAndSaving_data()
{
    QTest::addColumn<bool>("ok");
    QTest::newRow("OK stores both profiles") << true;
    QTest::newRow("Cancel stores neither") << false;
}

void tst_FormSetup::editingAndSaving()
{
    QFETCH(bool, ok);

    WindowFixture fixture;
    IniFileSaveLoad::SetIniPath(fixture.iniPath());
    FormSetup dialog;
    dialog.Form_Load();
    const Controls c(dialog);

    c.sliders[4]->setValue(15);
    QCOMPARE(c.levels[4]->text(), u"15"_s);
    c.list->setCurrentRow(1);
    QCOMPARE(c.sliders[4]->value(), 8);
    c.sliders[0]->triggerAction(QAbstractSlider::SliderPageStepSub);
    QCOMPARE(c.sliders[0]->value(), 3);
    c.list->setCurrentRow(0);
    QCOMPARE(c.sliders[4]->value(), 15);
    QCOMPARE(c.levels[4]->text(), u"15"_s);

    c.button(ok ? u"OK"_s : u"キャンセル"_s)->click();
    if (ok) {
        QCOMPARE(stored(u"PB0"_s), u"8888F"_s + eights.mid(5) + u" Setting1"_s);
        QCOMPARE(stored(u"PB1"_s), u"3"_s + eights.mid(1) + u" Setting2"_s);
        QCOMPARE(stored(u"PB"_s), u"0"_s);
    } else {
        QVERIFY(!QFile::exists(fixture.iniPath()));
    }
}

void tst_FormSetup::openedFromMainWindow()
{
    WindowFixture fixture;
    FormMain window(fixture.locations());
    QVERIFY(window.Form_Load());
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    // Choose profile 3 and make its first level F, then OK: the next draw uses profile 3.
    QTimer::singleShot(0, this, [] {
        auto *dialog = qobject_cast<FormSetup *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        const Controls c(*dialog);
        c.list->setCurrentRow(2);
        c.sliders[0]->setValue(15);
        c.button(u"OK"_s)->click();
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

void tst_FormSetup::shareString_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("levels");

    QTest::newRow("F alone") << u"F"_s << u"F"_s + QString(42, u'0');
    QTest::newRow("50 digits") << mixed + u"FFFFFFF"_s << mixed;
    QTest::newRow("lower-case start") << u"ff"_s + eights.mid(2) << u"FF"_s + eights.mid(2);
    QTest::newRow("blanks and letters beyond F")
        << u"8 8G8z"_s + eights.mid(6) << u"808080"_s + eights.mid(6);
    QTest::newRow("empty answer") << QString() << mixed;
}

void tst_FormSetup::shareString()
{
    QFETCH(QString, answer);
    QFETCH(QString, levels);

    WindowFixture fixture;
    fixture.writeIni("[Probability]\r\nPB0=\"" + mixed.toLatin1() + " One\"\r\n");
    IniFileSaveLoad::SetIniPath(fixture.iniPath());
    QStringList captions;
    QStringList prompts;
    QStringList defaults;
    Seams::setInputHandler(
        [&](const QString &caption, const QString &prompt, const QString &defaultText) {
            captions << caption;
            prompts << prompt;
            defaults << defaultText;
            return defaults.size() == 1 ? answer : QString();
        });
    FormSetup dialog;
    dialog.Form_Load();
    const Controls c(dialog);

    c.button(u"設定情報(&S)..."_s)->click();
    QCOMPARE(dialog.workingLevels(0), levels);
    QCOMPARE(c.sliderLevels(), levels);
    c.button(u"設定情報(&S)..."_s)->click();
    Seams::setInputHandler({});
    QCOMPARE(defaults, (QStringList {mixed, levels}));
    QCOMPARE(captions.first(), u"設定情報"_s);
    QCOMPARE(prompts.first(),
        u"この文字列をコピーまたは書き換えることで、容易に出現率を設定することができます。"
        u"設定値を他の方へ伝えたり、バックアップする際にご利用ください。"
        u"この文字列は Webサイトなどで公開することもできます。"_s);
}

void tst_FormSetup::reset_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("levels");

    QTest::newRow("Yes: minimum") << int(QMessageBox::Yes) << QString(43, u'0');
    QTest::newRow("No: middle") << int(QMessageBox::No) << eights;
    QTest::newRow("Cancel: nothing") << int(QMessageBox::Cancel) << mixed;
}

void tst_FormSetup::reset()
{
    QFETCH(int, answer);
    QFETCH(QString, levels);

    WindowFixture fixture;
    const QByteArray before = "[Probability]\r\nPB0=\"" + mixed.toLatin1() + " One\"\r\n";
    fixture.writeIni(before);
    IniFileSaveLoad::SetIniPath(fixture.iniPath());
    fixture.nextAnswer = QMessageBox::StandardButton(answer);
    FormSetup dialog;
    dialog.Form_Load();
    const Controls c(dialog);

    c.button(u"リセット(&R)"_s)->click();
    QCOMPARE(fixture.messages,
        QStringList {
            u"現在選択中の設定をリセットします。\r\nすべて最小値にするには [はい] を\r\nすべて中間値にするには [いいえ] を選択してください。"_s});
    QCOMPARE(dialog.workingLevels(0), levels);
    QCOMPARE(c.sliderLevels(), levels);
    QCOMPARE(c.levels[42]->text(), QString::number(LevelAt(levels, 43)));

    c.button(u"キャンセル"_s)->click();
    QCOMPARE(fixture.ini(), before);
}

void tst_FormSetup::rename_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("name");

    QTest::newRow("empty keeps the name") << QString() << u"Setting1"_s;
    QTest::newRow("blanks only") << u"   "_s << u"   "_s;
    QTest::newRow("blanks around, quote inside")
        << u" my \"lucky\" set "_s << u" my \"lucky\" set "_s;
    QTest::newRow("Japanese with a circled one") << u"誕生日①～"_s << u"誕生日①～"_s;
}

void tst_FormSetup::rename()
{
    QFETCH(QString, answer);
    QFETCH(QString, name);

    WindowFixture fixture;
    IniFileSaveLoad::SetIniPath(fixture.iniPath());
    QStringList asked;
    Seams::setInputHandler(
        [&](const QString &caption, const QString &prompt, const QString &defaultText) {
            asked << caption << prompt << defaultText;
            return answer;
        });
    {
        FormSetup dialog;
        dialog.Form_Load();
        Controls(dialog).button(u"名前変更(&N)..."_s)->click();
        Controls(dialog).button(u"OK"_s)->click();
    }
    Seams::setInputHandler({});
    QCOMPARE(asked, (QStringList {u"名前の変更"_s, u"設定名を変更します。"_s, u"Setting1"_s}));

    FormSetup reopened;
    reopened.Form_Load();
    QCOMPARE(Controls(reopened).list->item(0)->text(), name);
}

void tst_FormSetup::birthday_data()
{
    QTest::addColumn<QByteArray>("stored"); // null: no key
    QTest::addColumn<bool>("checked");
    QTest::addColumn<QString>("month");
    QTest::addColumn<QString>("day");
    QTest::addColumn<QString>("chooseMonth"); // empty: leave
    QTest::addColumn<QString>("chooseDay");
    QTest::addColumn<bool>("toggle");
    QTest::addColumn<QString>("saved");

    QTest::newRow("no key") << QByteArray() << false << ""
                            << ""
                            << ""
                            << "" << false << "10000";
    QTest::newRow("off, 31 December, then on") << "01231"_ba << true << "12"
                                               << "31"
                                               << ""
                                               << "" << true << "11231";
    QTest::newRow("on, 25 December") << "11225"_ba << false << "12"
                                     << "25"
                                     << ""
                                     << "" << false << "11225";
    QTest::newRow("31 February is accepted") << QByteArray() << false << ""
                                             << ""
                                             << "2"
                                             << "31" << false << "10231";
    QTest::newRow("day only") << QByteArray() << false << ""
                              << ""
                              << ""
                              << "15" << false << "10015";
    QTest::newRow("month only") << QByteArray() << false << ""
                                << ""
                                << "7"
                                << "" << false << "10700";
    QTest::newRow("values the lists lack") << "11399"_ba << false << ""
                                           << ""
                                           << ""
                                           << "" << false << "10000";
}

void tst_FormSetup::birthday()
{
    QFETCH(QByteArray, stored);
    QFETCH(bool, checked);
    QFETCH(QString, month);
    QFETCH(QString, day);
    QFETCH(QString, chooseMonth);
    QFETCH(QString, chooseDay);
    QFETCH(bool, toggle);
    QFETCH(QString, saved);

    WindowFixture fixture;
    if (!stored.isNull())
        fixture.writeIni("[Probability]\r\nBirthDay=" + stored + "\r\n");
    IniFileSaveLoad::SetIniPath(fixture.iniPath());
    FormSetup dialog;
    dialog.Form_Load();
    const Controls c(dialog);

    QCOMPARE(c.check->isChecked(), checked);
    QCOMPARE(c.combos[0]->currentText(), month);
    QCOMPARE(c.combos[1]->currentText(), day);
    QCOMPARE(c.combos[0]->isEnabled(), !checked);
    QCOMPARE(c.combos[1]->isEnabled(), !checked);

    if (!chooseMonth.isEmpty())
        c.combos[0]->setCurrentText(chooseMonth);
    if (!chooseDay.isEmpty())
        c.combos[1]->setCurrentText(chooseDay);
    if (toggle) {
        c.check->click();
        QCOMPARE(c.combos[0]->isEnabled(), checked);
        QCOMPARE(c.combos[0]->currentText(), month);
    }
    c.button(u"OK"_s)->click();
    QCOMPARE(IniFileSaveLoad::ReadIniString(u"Probability"_s, u"BirthDay"_s, {}), saved);
}

void tst_FormSetup::gridGeometry_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<double>("dpi");
    QTest::addColumn<int>("sliderLeft");
    QTest::addColumn<int>("top");

    QTest::newRow("1 at 96 dpi") << 1 << 96.0 << 405 << 300;
    QTest::newRow("10 ends column 0") << 10 << 96.0 << 405 << 300 + 9 * 315;
    QTest::newRow("11 heads column 1") << 11 << 96.0 << 1980 << 300;
    QTest::newRow("41 heads column 4") << 41 << 96.0 << 6705 << 300;
    QTest::newRow("43 at 96 dpi") << 43 << 96.0 << 6705 << 930;
    QTest::newRow("43 at 144 dpi keeps pixel steps") << 43 << 144.0 << 405 + 4 * 1050 << 620;
}

void tst_FormSetup::gridGeometry()
{
    QFETCH(int, number);
    QFETCH(double, dpi);
    QFETCH(int, sliderLeft);
    QFETCH(int, top);

    const GridPosition at = SetupGridPosition(number, dpi);
    QCOMPARE(at.sliderLeft, sliderLeft);
    QCOMPARE(at.top, top);
    QCOMPARE(at.numberLeft, sliderLeft - 255);
    QCOMPARE(at.levelLeft, sliderLeft + 915);

    if (dpi == 96.0) {
        WindowFixture fixture;
        IniFileSaveLoad::SetIniPath(fixture.iniPath());
        FormSetup dialog;
        dialog.Form_Load();
        const QScrollBar *slider = Controls(dialog).sliders[number - 1];
        QCOMPARE(slider->pos(), QPoint(Twips::toPixels(sliderLeft), Twips::toPixels(top)));
    }
}

void tst_FormSetup::keys()
{
    WindowFixture fixture;
    IniFileSaveLoad::SetIniPath(fixture.iniPath());
    FormSetup dialog;
    dialog.Form_Load();
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    const Controls c(dialog);
    QCOMPARE(QApplication::focusWidget(), c.list);

    // Tab from the help button walks the 43 sliders, then reaches the list.
    c.button(u"ヘルプ(&H)"_s)->setFocus();
    for (QScrollBar *slider : c.sliders) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), slider);
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), c.list);

    // Arrows move a slider by 1, page keys by 5, within 0 to 15.
    QScrollBar *slider = c.sliders[0];
    QTest::keyClick(slider, Qt::Key_Right);
    QCOMPARE(slider->value(), 9);
    QTest::keyClick(slider, Qt::Key_PageUp);
    QCOMPARE(slider->value(), 4);
    QTest::keyClick(slider, Qt::Key_PageUp);
    QCOMPARE(slider->value(), 0);

    // Access keys of the frames: the first slider, then the month list or, while it is greyed,
    // the check box.
    QTest::keyClick(&dialog, Qt::Key_P, Qt::AltModifier);
    QCOMPARE(QApplication::focusWidget(), c.sliders[0]);
    QTest::keyClick(&dialog, Qt::Key_B, Qt::AltModifier);
    QCOMPARE(QApplication::focusWidget(), c.combos[0]);
    QTest::keyClick(&dialog, Qt::Key_D, Qt::AltModifier);
    QTRY_VERIFY(c.check->isChecked()); // an access key clicks with a short animation
    QTest::keyClick(&dialog, Qt::Key_B, Qt::AltModifier);
    QCOMPARE(QApplication::focusWidget(), c.check);
    QTest::keyClick(&dialog, Qt::Key_L, Qt::AltModifier);
    QCOMPARE(QApplication::focusWidget(), c.list);

    // Enter on the list saves and closes.
    QTest::keyClick(c.list, Qt::Key_Return);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(stored(u"PB0"_s).left(1), u"0"_s);
    QCOMPARE(stored(u"BirthDay"_s), u"00000"_s);

    // Esc closes without saving.
    fixture.writeIni({});
    FormSetup again;
    again.Form_Load();
    again.show();
    QVERIFY(QTest::qWaitForWindowActive(&again));
    Controls(again).sliders[3]->setValue(1);
    QTest::keyClick(&again, Qt::Key_Escape);
    QVERIFY(!again.isVisible());
    QCOMPARE(fixture.ini(), QByteArray());
}

void tst_FormSetup::help()
{
    WindowFixture fixture;
    IniFileSaveLoad::SetIniPath(fixture.iniPath());
    Module1::SetHelpDirectory(u"/help"_s);
    FormSetup dialog;
    dialog.Form_Load();
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    const Controls c(dialog);

    QTest::keyClick(c.sliders[10], Qt::Key_F1);
    QTest::keyClick(c.list, Qt::Key_F1);
    c.button(u"ヘルプ(&H)"_s)->click();
    QCOMPARE(fixture.launches.size(), 3u);
    for (const auto &launch : fixture.launches)
        QCOMPARE(launch.arguments, QStringList {u"/help/option.htm"_s});
    QVERIFY(dialog.isVisible());
    QVERIFY(!QFile::exists(fixture.iniPath()));
}

void tst_FormSetup::indexWithoutSlot()
{
    WindowFixture fixture;
    fixture.writeIni("[Probability]\r\nPB=12\r\n");
    IniFileSaveLoad::SetIniPath(fixture.iniPath());
    FormSetup dialog;
    dialog.Form_Load();
    QCOMPARE(Controls(dialog).list->currentRow(), 0);
    Controls(dialog).button(u"OK"_s)->click();
    QCOMPARE(stored(u"PB"_s), u"0"_s);
}

QTEST_MAIN(tst_FormSetup)
#include "tst_formsetup.moc"
