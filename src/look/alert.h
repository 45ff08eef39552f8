#pragma once

class QLabel;
class QString;

// Shows why something was refused in a label of a dialog, and has a screen reader say it at
// once, as an alert, wherever the focus is.
void ShowAlert(QLabel *label, const QString &text);
