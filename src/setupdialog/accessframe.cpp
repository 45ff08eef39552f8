#include "accessframe.h"

#include <QEvent>

AccessFrame::AccessFrame(const QString &title, QWidget *parent)
    : QGroupBox(title, parent)
{ }

bool AccessFrame::event(QEvent *event)
{
    if (event->type() == QEvent::Shortcut && m_target) {
        if (QWidget *target = m_target())
            target->setFocus(Qt::ShortcutFocusReason);
        return true;
    }
    return QGroupBox::event(event);
}
