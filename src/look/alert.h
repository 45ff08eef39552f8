#pragma once

class QLabel;
class QString;
class QWidget;

// Has a screen reader say at once, as an alert, what the widget is heard as, wherever the focus
// is.
void Alert(QWidget *widget);

// Shows why something was refused in a label of a dialog, heard as it reads, as an alert.
void ShowAlert(QLabel *label, const QString &text);
