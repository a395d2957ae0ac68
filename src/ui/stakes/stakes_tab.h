#pragma once
// The tab "Ставки": the grid sgStakes over the stakes file (read row by row on demand),
// the panel buttons and the actions of the menu "Ставки": making stakes from the stake
// dialog or from the combination list (one, a random one, the selected ones, all),
// deleting by selection, by a condition or all, checking, the stake-log and scroll
// options and the spreadsheet export. The stakes desk of the workspace owns the file and
// does the work; the tab asks the person, hands the answers over and follows the file.

#include "stakes/stake_record.h"

#include <QList>
#include <QWidget>

class QAction;
class QHBoxLayout;
class QTableView;

namespace pelko {

class TCombsPage;
class TIniFile;
class TStakesDesk;
class TStakesModel;
class Workspace;

class TStakesTab : public QWidget {
    Q_OBJECT
  public:
    TStakesTab(Workspace& ws, TCombsPage& combs, QWidget* parent = nullptr);

    QTableView* sgStakes = nullptr;
    TStakesModel* Model() const { return model_; }

    QAction* StakeAdd = nullptr;
    QAction* StakeAddRandom = nullptr;
    QAction* StakeAddSelected = nullptr;
    QAction* StakeAddAll = nullptr;
    QAction* StakeDel = nullptr;
    QAction* StakeFilter = nullptr;
    QAction* StakeClear = nullptr;
    QAction* StakesCheckManual = nullptr;
    QAction* LogStakes = nullptr;
    QAction* LogStakesDelete = nullptr;
    QAction* StakesScroll = nullptr;
    QAction* StakesCheckLine = nullptr;
    QAction* StakesXlsExport = nullptr;

    // The menu "Ставки" in its order (nullptr stands for a separator).
    QList<QAction*> MenuActions() const;
    // An action of another tab shown here too: a button, the end of the menu and pop-up.
    void AddForeignAction(QAction* action);
    // The four stake actions of the combination list's pop-up menu.
    QList<QAction*> CombsActions() const;
    // Actions of other tabs that the grid's pop-up menu also offers (after a separator).
    void AddPopupActions(const QList<QAction*>& actions);
    void UpdateActions();

    // RefreshStakesGrid: with refresh or scroll the grid follows the file's length; with
    // scroll the last row becomes the current one; with refresh the rows are read again.
    void StakesChanged(bool refresh, bool scroll);
    // Records were rewritten in place (a check): read the rows shown again.
    void RecordsChanged();

    // "StakesLogEnabled", "StakesScrollEnabled", "StakesCheckOnLine" (into the desk's
    // options, before the desk starts) and the columns of sgStakes.
    void LoadSettings(const TIniFile& frm);
    void SaveSettings(TIniFile& frm) const;

  Q_SIGNALS:
    void OptionToggled(const QString& key, bool value);

  private:
    void CreateActions();
    void CreateWidgets();
    TStakesDesk& Desk();
    bool FileHasStakes();
    void OnAdd();
    void OnAddRandom();
    void OnAddForCombs(bool selectedOnly);
    void OnDelete();
    void OnFilter();
    void OnClear();
    void OnCheck();
    void OnToggleLog();
    void OnDeleteLogs();
    void OnToggleScroll();
    void OnToggleCheckLine();
    void OnExport();
    // Runs the stake dialog over the stake and adds what it accepts.
    void AddThroughDialog(TStakeData stake);
    // Applies the pending refresh and scroll.
    void FollowFile();

    Workspace& ws_;
    TCombsPage& combs_;
    QHBoxLayout* buttons_ = nullptr;
    QList<QAction*> foreign_;
    TStakesModel* model_ = nullptr;
    QList<QAction*> popupActions_;
    bool pendingRefresh_ = false;
    bool pendingScroll_ = false;
    bool followQueued_ = false;
};

} // namespace pelko
