#pragma once

#include "layouts/layoutdata.h"

#include <QAction>
#include <QMenu>

#include <array>
#include <functional>

// Adds the items of a menu table in index order; a chosen item runs choose with its index. Qt
// flips a checkable item before choose runs; the window's dispatcher owns the check marks, so
// the flip is undone first.
template<std::size_t Count>
void AddMenuItems(QMenu *menu, const std::array<MenuItem, Count> &items,
    std::array<QAction *, Count> &actions, QObject *context, const std::function<void(int)> &choose)
{
    for (std::size_t index = 0; index < Count; ++index) {
        const MenuItem &item = items[index];
        if (item.isSeparator()) {
            actions[index] = menu->addSeparator();
            continue;
        }
        QAction *action = menu->addAction(QString::fromUtf16(item.caption));
        action->setCheckable(item.checkable);
        action->setEnabled(item.enabled);
        if (item.shortcut)
            action->setShortcut(QKeySequence(QString::fromLatin1(item.shortcut)));
        QObject::connect(action, &QAction::triggered, context, [action, index, choose] {
            if (action->isCheckable())
                action->setChecked(!action->isChecked());
            choose(static_cast<int>(index));
        });
        actions[index] = action;
    }
}
