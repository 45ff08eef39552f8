#pragma once

#include "golden.h"
#include "look/lcddisplay.h"
#include "mainwindow/formmain.h"
#include "setupdialog/formsetup.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTableView>

// Every observable state of a window as a few lines of text, for golden transcripts.

template<typename Control>
Control *control(const QWidget &window, const QString &name)
{
    auto *found = window.findChild<Control *>(name);
    if (!found)
        qFatal("no control %s", qPrintable(name));
    return found;
}

// Each row's cells as shown, and what a screen reader hears of the row.
inline QStringList rowsHeard(const QTableView &table)
{
    const QAbstractItemModel &model = *table.model();
    QStringList lines;
    for (int row = 0; row < model.rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < model.columnCount(); ++column)
            cells << model.index(row, column).data().toString();
        cells << u"heard "_s + model.index(row, 0).data(Qt::AccessibleTextRole).toString();
        lines << cells.join(u" | ");
    }
    return lines;
}

inline const auto onOff = [](bool on) { return on ? u"on"_s : u"off"_s; };

inline QStringList describe(const FormMain &window)
{
    // Menu items by their captions, without access keys and ellipses.
    static const QRegularExpression marks(u"\\(&.\\)|&|\\.\\.\\.$"_s);
    QStringList checked;
    QStringList disabled;
    for (int index = 0; index < 20; ++index) {
        const QAction *item = window.sys1(index);
        if (item->isChecked())
            checked << item->text().remove(marks);
        if (!item->isSeparator() && !item->isEnabled())
            disabled << item->text().remove(marks);
    }
    const auto *chk1 = control<QCheckBox>(window, u"Chk1"_s);
    const auto *scr1 = control<QScrollBar>(window, u"Scr1"_s);
    const auto *display = control<LcdDisplay>(window, u"TxtDisp"_s);
    // A draw's numbers are random; their shape is what a window test can check.
    static const QRegularExpression drawn(u"^\\d\\d( \\d\\d){5}$"_s);
    const QString text = display->displayText();
    const QPalette colours = display->palette();

    return {
        u"window at %1,%2, title %3"_s.arg(window.x()).arg(window.y()).arg(window.windowTitle()),
        u"menu checked [%1] disabled [%2]"_s.arg(checked.join(u", "_s), disabled.join(u", "_s)),
        u"Chk1 %1 \"%2\", Scr1 %3 %4"_s.arg(onOff(chk1->isChecked()), chk1->text())
            .arg(scr1->value())
            .arg(scr1->isEnabled() ? u"enabled"_s : u"disabled"_s),
        u"TxtDisp %1 pt, %2 on %3, timer %4 at step %5"_s.arg(display->pointSize())
            .arg(colours.color(QPalette::Text).name(), colours.color(QPalette::Base).name(),
                onOff(window.isTimer1Enabled()), window.timer1Tag()),
        u"TxtDisp text "_s + (drawn.match(text).hasMatch() ? u"(six numbers)"_s : oneLine(text)),
    };
}

inline QStringList describe(const FormSetup &dialog)
{
    const auto *list = control<QListWidget>(dialog, u"LstPB"_s);
    QStringList names;
    for (int row = 0; row < list->count(); ++row)
        names << list->item(row)->text();
    QString sliders;
    QStringList labels;
    for (int index = 0; index < NumberCount; ++index) {
        const QString element = u"(%1)"_s.arg(index);
        sliders += LevelDigit(control<QScrollBar>(dialog, u"ScrPB"_s + element)->value());
        labels << control<QLabel>(dialog, u"LabPB2"_s + element)->text();
    }
    auto combo = [&](int index) {
        const auto *box = control<QComboBox>(dialog, u"CmbBD(%1)"_s.arg(index));
        return u"\"%1\" %2"_s.arg(
            box->currentText(), box->isEnabled() ? u"enabled"_s : u"disabled"_s);
    };

    return {
        u"title "_s + dialog.windowTitle(),
        u"LstPB row %1, %2 selected, of %3"_s.arg(list->currentRow())
            .arg(list->selectedItems().size())
            .arg(names.join(u'|')),
        u"ScrPB %1"_s.arg(sliders),
        u"LabPB2 %1"_s.arg(labels.join(u' ')),
        u"ChkBD %1, month %2, day %3"_s.arg(
            onOff(control<QCheckBox>(dialog, u"ChkBD"_s)->isChecked()), combo(0), combo(1)),
    };
}
