#include "ui/common/list_views.h"

#include <QHeaderView>
#include <QMenu>
#include <QTableView>

namespace pelko {

QTableView* MakeListView(QWidget* parent, const QString& name, QAbstractItemModel* model) {
    auto* list = new QTableView(parent);
    list->setObjectName(name);
    if (model)
        list->setModel(model);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setWordWrap(false);
    list->verticalHeader()->hide();
    list->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    list->verticalHeader()->setDefaultSectionSize(list->fontMetrics().height() + 4);
    list->horizontalHeader()->setHighlightSections(false);
    return list;
}

void AddMenuActions(QMenu& menu, const QList<QAction*>& actions) {
    for (QAction* action : actions) {
        if (action)
            menu.addAction(action);
        else
            menu.addSeparator();
    }
}

} // namespace pelko
