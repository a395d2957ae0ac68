#pragma once
// The tab "Регуляры": the list lvTables over the regular stakes of the stakes desk, the
// panel buttons and the actions of the menu "Регуляры": adding rules (from the selected
// combinations), deleting them, making the next stake of a rule and back-testing rules
// over the last draws. The combination list and the stake dialog belong to other tabs:
// the shell hands them in as callbacks.

#include "core/lottery.h"
#include "stakes/stake_record.h"

#include <QList>
#include <QWidget>

#include <cstddef>
#include <functional>
#include <utility>
#include <vector>

class QAction;
class QTableView;

namespace pelko {

class TRegularsDesk;
class TTablesModel;
class Workspace;

class TRegularsTab : public QWidget {
    Q_OBJECT
  public:
    explicit TRegularsTab(Workspace& ws, QWidget* parent = nullptr);

    QTableView* lvTables = nullptr;
    TTablesModel* Model() const { return model_; }

    QAction* TablesAdd = nullptr;
    QAction* TablesDel = nullptr;
    QAction* TablesStakeAdd = nullptr;
    QAction* TablesStakeTest = nullptr;

    // The selected combinations of the list with their 1-based positions, in list order.
    std::function<std::vector<std::pair<std::size_t, TComb>>()> SelectedCombs;
    // The stake dialog with its draws count; true when accepted.
    std::function<bool(TStakeData&, int&)> EditStake;

    // The menu "Регуляры" in its order (nullptr stands for a separator).
    QList<QAction*> MenuActions() const;
    void UpdateActions();
    // The desk's rules changed.
    void TablesChanged();

  private:
    void CreateActions();
    void CreateWidgets();
    TRegularsDesk& Desk();
    bool Shown() const;
    // Selected rows, ascending.
    std::vector<std::size_t> SelectedRules() const;
    void OnAdd();
    void OnDelete();
    void OnStakeAdd();
    void OnTest();

    Workspace& ws_;
    TTablesModel* model_ = nullptr;
};

} // namespace pelko
