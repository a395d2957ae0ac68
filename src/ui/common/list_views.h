#pragma once
// The program's lists and pop-up menus share one look: whole rows selected, no editing,
// no row header, fixed row heights (a list of millions of rows lays out and scrolls for
// nothing), and menus built from action lists where a null entry is a separator.

#include <QList>
#include <QString>

class QAbstractItemModel;
class QAction;
class QMenu;
class QTableView;
class QWidget;

namespace pelko {

QTableView* MakeListView(QWidget* parent, const QString& name, QAbstractItemModel* model = nullptr);

// Appends the actions; a null action appends a separator.
void AddMenuActions(QMenu& menu, const QList<QAction*>& actions);

} // namespace pelko
