#include "tooltable.h"

#include <QEvent>
#include <QHeaderView>
#include <QLayout>
#include <QScrollBar>
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
    constexpr int leastRows = 3;
    view->setMinimumHeight(view->horizontalHeader()->sizeHint().height()
        + leastRows * view->verticalHeader()->defaultSectionSize()
        + view->horizontalScrollBar()->sizeHint().height() + 2 * view->frameWidth());
    return view;
}

namespace {

class WholeWindow : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *window = static_cast<QWidget *>(watched);
        if ((event->type() == QEvent::Resize || event->type() == QEvent::LayoutRequest)
            && window->layout()) {
            QLayout *layout = window->layout();
            const int least = layout->hasHeightForWidth()
                ? layout->totalHeightForWidth(window->width())
                : layout->totalMinimumSize().height();
            if (least != window->minimumHeight())
                window->setMinimumHeight(least);
        }
        return false;
    }
};

} // namespace

void KeepToolWindowWhole(QWidget *window)
{
    window->installEventFilter(new WholeWindow(window));
}
