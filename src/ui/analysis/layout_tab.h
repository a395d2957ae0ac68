#pragma once
// The tab "Схема": the layout map sgLayout over the last edLayoutLen draws up to the
// analysis point and, in the pane below, five comparison lists over their own numbers of
// draws; keeping or dropping the combinations holding a number of the selected cells, the
// gradient option of the menu "Вид" and the spreadsheet export of the map. Both parts are
// computed only while the tab is shown, and again only when their inputs changed (or
// forced).

#include "ui/analysis/analysis_grids.h"

#include <QList>
#include <QString>
#include <QWidget>

class QAction;
class QSpinBox;
class QTableView;

namespace pelko {

class TIniFile;
class TLayoutCompareModel;
class TLayoutModel;
class TPaneSplitter;
class Workspace;

class TLayoutTab : public QWidget {
    Q_OBJECT
  public:
    static constexpr int COMPARE_LISTS = 5;
    static constexpr int DEFAULT_LAYOUT_LEN = 100;
    static constexpr int DEFAULT_COMPARE_LENS[COMPARE_LISTS] = {50, 100, 200, 300, 400};
    static constexpr int DEFAULT_COMPARE_HEIGHT = 200;

    explicit TLayoutTab(Workspace& ws, QWidget* parent = nullptr);

    QSpinBox* edLayoutLen = nullptr;
    QTableView* sgLayout = nullptr;
    QSpinBox* edLayoutCmp[COMPARE_LISTS] = {};
    QTableView* lvLayoutCmp[COMPARE_LISTS] = {};
    TPaneSplitter* Splitter = nullptr; // the map over the comparison lists
    TLayoutModel* Model() const { return model_; }
    TLayoutCompareModel* CompareModel(int list) const { return compareModels_[list]; }

    QAction* LayoutCalc = nullptr;
    QAction* LayoutCmpCalc = nullptr;
    QAction* LayoutFilter_Include = nullptr;
    QAction* LayoutFilter_Exclude = nullptr;
    QAction* LayoutXlsExport = nullptr;
    QAction* ViewShemaGradient = nullptr;

    // The window tells whether the tab is the current one; becoming shown refreshes it.
    void SetShown(bool shown);
    bool Shown() const { return shown_; }

    void RefreshLayout(bool force);
    void RefreshLayoutCompare(bool force);
    void RefreshView(bool force);
    void UpdateActions();
    // The options of the menu "Вид".
    QList<QAction*> ViewMenuActions() const;

    // "LayoutGradient", "LayoutLen", "LayoutCompareLen1".."LayoutCompareLen5" and
    // "LayoutCompareHeight" of the main window's section.
    void LoadSettings(const TIniFile& frm);
    void SaveSettings(TIniFile& frm) const;

  Q_SIGNALS:
    void SettingChanged(const QString& key, int value);
    // A keep or a drop changed the combination list.
    void CombsChanged();

  private:
    void CreateActions();
    void CreateWidgets();
    QWidget* CreateComparePane();
    void FitColumns();
    void OnFilter(bool exclude);
    void OnExport();
    void OnGradientToggled();

    Workspace& ws_;
    TLayoutModel* model_ = nullptr;
    TLayoutCompareModel* compareModels_[COMPARE_LISTS] = {};
    bool shown_ = false;
    TRefreshKey layoutKey_;
    TRefreshKey compareKey_;
};

} // namespace pelko
