#include "tooltable.h"

#include <QHeaderView>
#include <QTableView>

QTableView *ToolTable(
    QWidget *parent, QAbstractItemModel *model, const QString &name, const QString &heard)
{
    auto *view = new QTableView(parent);
    view->setObjectName(name);
    view->setAccessibleName(heard);
    view->setModel(model);
    view->setSortingEnabled(true);
    view->setTabKeyNavigation(false);
    view->verticalHeader()->hide();
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    return view;
}
