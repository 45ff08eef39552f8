#include "alert.h"

#include <QAccessible>
#include <QLabel>

void ShowAlert(QLabel *label, const QString &text)
{
    label->setText(text);
    label->setAccessibleName(text);
    QAccessibleEvent alert(label, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
}
