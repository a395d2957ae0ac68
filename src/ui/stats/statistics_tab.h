#pragma once
// The tab "Статистика": the method list cbDrawsStatType, the number of draws
// edDrawsStatLen, the table lvDrawsStat over the workspace's statistics table and its chart
// crtDrawsStat, with the actions of the menu "Статистика" (recompute, keep or drop the
// combinations holding the selected values, the comparison with the full set of
// combinations, the ideal-distribution line, the spreadsheet export). The workspace owns
// the table, the method, N and the two options; the tab shows them and changes them only
// through the workspace.

#include <QList>
#include <QWidget>

#include <string>

class QAction;
class QComboBox;
class QItemSelection;
class QSpinBox;
class QSplitter;
class QTableView;

namespace pelko {

class TIniFile;
class TStatChartView;
class TStatTableModel;
class Workspace;

class TStatisticsTab : public QWidget {
    Q_OBJECT
  public:
    static constexpr int DEFAULT_STAT_LEN = 1000;
    static constexpr int DEFAULT_CHART_HEIGHT = 200;
    static constexpr int NORM_COLUMN_WIDTH = 80;

    TStatisticsTab(Workspace& ws, QWidget* parent = nullptr);

    QComboBox* cbDrawsStatType = nullptr;
    QSpinBox* edDrawsStatLen = nullptr;
    QTableView* lvDrawsStat = nullptr;
    TStatChartView* crtDrawsStat = nullptr;
    QSplitter* Splitter = nullptr; // the table over the chart
    TStatTableModel* Model() const { return model_; }

    QAction* DrawsStatCalc = nullptr;
    QAction* StatFilter_Include = nullptr;
    QAction* StatFilter_Exclude = nullptr;
    QAction* DrawsStatePrefetchsEnabled = nullptr;
    QAction* DrawsStatShowTotalLine = nullptr;
    QAction* DrawsStatExportToExcel = nullptr;

    // The menu "Статистика" in its order (nullptr stands for a separator).
    QList<QAction*> MenuActions() const;
    // Every enable rule, each starting with the workspace being idle.
    void UpdateActions();
    // The views refresh: recompute without force (the table's cache decides) and show.
    void RefreshView();
    // Fills cbDrawsStatType from the registry: the listed favourites with their names and
    // flags, in registry order or alphabetical when the registry says Ordered. With
    // keepSelection the previous position stays when still in range; otherwise (and when
    // there was none) the first method is selected. The workspace's method follows.
    void RefillMethods(bool keepSelection);

    // "DrawsStatLen", "DrawsStatHeight", "PrefetchsEnabled", "ShowTotalLine" and the
    // columns of lvDrawsStat from the main window's section of the window settings.
    void LoadSettings(const TIniFile& frm);
    // The same keys, and "PrefetchsInit" (the first run has passed).
    void SaveSettings(TIniFile& frm) const;

    // Chart height ("DrawsStatHeight").
    int ChartHeight() const;
    void SetChartHeight(int height);

  Q_SIGNALS:
    // The combination list changed by a keep or a drop.
    void CombsChanged();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void CreateWidgets();
    void CreateActions();
    void OnCalc();
    void OnMethodChosen(int position);
    void OnStatLenEntered();
    void OnFilter(bool exclude);
    void OnPrefetchsToggled();
    void OnShowTotalLineToggled();
    void OnExport();
    void OnHeaderClicked(int column);
    void OnSelectionChanged();

    // Workspace settings the view shows: N, the method, the decimal separator.
    void PushStatLen();
    void PullWorkspaceState();
    bool MethodListChanged() const;
    // Recomputes (with force or by the cache rule) and shows the result.
    void Compute(bool force);
    // Shows the table as it is: rows, selection, sort indicator and chart.
    void ShowTable();
    void ApplySelectionFromTable();
    void ShowNormColumns();
    void WriteOption(const char* key, bool value);
    void PlaceChart();
    bool PrefetchFilesMissing();

    Workspace& ws_;
    TStatTableModel* model_ = nullptr;
    bool syncingSelection_ = false;
    int pushedStatLen_ = DEFAULT_STAT_LEN; // N last handed to the workspace
    int chartHeight_ = DEFAULT_CHART_HEIGHT;
    bool chartPlaced_ = false; // the splitter has been laid out with chartHeight_
};

} // namespace pelko
