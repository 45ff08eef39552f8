#include "alert.h"

#include <QAccessible>
#include <QLabel>

void Alert(QWidget *widget)
{
    QAccessibleEvent alert(widget, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
}

void ShowAlert(QLabel *label, const QString &text)
{
    label->setText(text);
    label->setAccessibleName(text);
    Alert(label);
}
