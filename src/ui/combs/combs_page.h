#pragma once
// The tab "Комбинации": the combination list lvCombs (up to all 8,145,060 combinations,
// selected as whole ranges so that selecting everything costs nothing), the
// applied-filters history lvFilters under it, edCombsExclude and the actions of the list.

#include "core/comb_selection.h"
#include "ui/common/view_options.h"

#include <QList>
#include <QWidget>

class QAction;
class QSpinBox;
class QSplitter;
class QTableView;

namespace pelko {

class TCombsModel;
class TFiltersModel;
class Workspace;

class TCombsPage : public QWidget {
    Q_OBJECT
  public:
    TCombsPage(Workspace& ws, TViewOptions& options, QWidget* parent = nullptr);

    QTableView* lvCombs = nullptr;
    QTableView* lvFilters = nullptr;
    QSpinBox* edCombsExclude = nullptr;
    QSplitter* Splitter = nullptr; // lvCombs over lvFilters
    TCombsModel* Model() const { return model_; }
    TFiltersModel* FiltersModel() const { return filters_; }

    QAction* CombsInfo = nullptr;
    QAction* CombsCheckNums = nullptr;
    QAction* CombsFindInDraws = nullptr;
    QAction* CombsGen = nullptr;
    QAction* CombsDelExists = nullptr;
    QAction* CombsDelSelected = nullptr;
    QAction* CombsCopy = nullptr;
    QAction* CombsPaste = nullptr;
    QAction* CombsSelectAll = nullptr;
    QAction* CombsOpen = nullptr;
    QAction* CombsSave = nullptr;
    QAction* CombsUndo = nullptr;
    QAction* CombsXlsExport = nullptr;
    QAction* ViewColorCombs = nullptr;

    // The menu "Комбинации" in its order (nullptr stands for a separator).
    QList<QAction*> MenuActions() const;
    // Actions of other tabs that the list's pop-up menu also offers (after a separator,
    // each call's after the previous), and the one a double click runs instead of the
    // details (none: unchanged).
    void AddPopupActions(const QList<QAction*>& actions, QAction* onDoubleClick);
    void UpdateActions();

    // The list's selection as position ranges (no object per row).
    TCombSelection Selection() const;
    // Height of lvFilters ("FiltersHeight").
    int FiltersHeight() const;
    void SetFiltersHeight(int height);

    // The workspace's list or history changed.
    void ListChanged();
    void HistoryChanged();

  Q_SIGNALS:
    void OptionToggled(const QString& key, bool value);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void CreateActions();
    void OnGen();
    void OnOpen();
    void OnSave();
    void OnUndo();
    void OnDelExists();
    void OnDelSelected();
    void OnSelectAll();
    void OnCopy();
    void OnPaste();
    void OnFindInDraws();
    void OnCheckNums();
    void OnInfo();
    void OnXlsExport();
    void OnColorCombs();

    Workspace& ws_;
    TViewOptions& options_;
    TCombsModel* model_ = nullptr;
    TFiltersModel* filters_ = nullptr;
    bool clipboardHasText_ = false;
    QList<QAction*> popupActions_;
    QAction* doubleClickAction_ = nullptr;
};

} // namespace pelko
