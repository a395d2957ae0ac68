#pragma once
// The tab "Неделя": sgWeek, the counts of every number per day of the week over the last
// edWeekLen draws up to the analysis point, and under it crtWeek, the chart of the current
// cell's row (the 45 numbers on that day) or column (the number on the seven days); keeping
// or dropping the combinations holding a number of the selected columns. The counts are
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
class TPaneSplitter;
class TWeekChartView;
class TWeekModel;
class Workspace;

class TWeekTab : public QWidget {
    Q_OBJECT
  public:
    static constexpr int DEFAULT_WEEK_LEN = 1000;
    static constexpr int DEFAULT_CHART_HEIGHT = 200;
    // "WeekChartMode": the current row's numbers, or the current column's weekdays.
    enum TChartMode { cmNumbers = 0, cmWeekdays = 1 };

    explicit TWeekTab(Workspace& ws, QWidget* parent = nullptr);

    QSpinBox* edWeekLen = nullptr;
    QTableView* sgWeek = nullptr;
    TWeekChartView* crtWeek = nullptr;
    TPaneSplitter* Splitter = nullptr; // the grid over the chart
    TWeekModel* Model() const { return model_; }

    QAction* WeekStatCalc = nullptr;
    QAction* WeekFilter_Include = nullptr;
    QAction* WeekFilter_Exclude = nullptr;
    QAction* ViewWeekChartMode = nullptr;
    QAction* ViewWeekChartType = nullptr;

    // The window tells whether the tab is the current one; becoming shown refreshes it.
    void SetShown(bool shown);
    bool Shown() const { return shown_; }

    void RefreshWeek(bool force);
    // The chart of the current cell (the first one when there is none).
    void RefreshWeekChart();
    void RefreshView(bool force);
    void UpdateActions();
    // The options of the menu "Вид": the chart's mode and type.
    QList<QAction*> ViewMenuActions() const;

    // "WeekLen", "WeekHeight", "WeekChartMode" and "WeekChartType" of the main window's
    // section.
    void LoadSettings(const TIniFile& frm);
    void SaveSettings(TIniFile& frm) const;

  Q_SIGNALS:
    void SettingChanged(const QString& key, int value);
    // A keep or a drop changed the combination list.
    void CombsChanged();

  private:
    void CreateActions();
    void CreateWidgets();
    void OnFilter(bool exclude);
    void OnChartOption(QAction* option, const char* key);

    Workspace& ws_;
    TWeekModel* model_ = nullptr;
    bool shown_ = false;
    TRefreshKey key_;
};

} // namespace pelko
