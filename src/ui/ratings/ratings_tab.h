#pragma once
// The tab "Рейтинг": the list lvRatings over the rating of the stakes desk and the actions
// of the menu "Рейтинг": rebuilding, turning rows back into scenario lines, the CSV and
// spreadsheet exports, the result graphs and the efficiency mode of the "E0".."E6"
// columns. The graph of the total profit per draw belongs to the tab "Ставки"; its action
// lives here and the shell hands it over.

#include <QList>
#include <QString>
#include <QWidget>

#include <cstddef>
#include <vector>

class QAction;
class QMenu;
class QTableView;

namespace pelko {

class TIniFile;
class TRatingsDesk;
class TRatingsModel;
class Workspace;

class TRatingsTab : public QWidget {
    Q_OBJECT
  public:
    explicit TRatingsTab(Workspace& ws, QWidget* parent = nullptr);

    QTableView* lvRatings = nullptr;
    TRatingsModel* Model() const { return model_; }

    QAction* RatingsRefresh = nullptr;
    QAction* RatingsToScript = nullptr;
    QAction* RatingsExport = nullptr;
    QAction* RatingsXlsExport = nullptr;
    QAction* StakesGraphOverlap = nullptr;
    QAction* StakesGraphProfits = nullptr;
    QAction* RatingsGraphOverlap = nullptr;
    QAction* StakesGraphDraws = nullptr;
    QAction* RatingsEffMode[3] = {};

    // The menu "Рейтинг" in its order (nullptr stands for a separator).
    QList<QAction*> MenuActions() const;
    void UpdateActions();
    // ShowRatings: the list follows the desk's rows.
    void RatingsChanged();

    // "RatingsEffMode" and "lvRatings.SortType" (into the desk's options, before the desk
    // loads the rating) and the columns of lvRatings.
    void LoadSettings(const TIniFile& frm);
    void SaveSettings(TIniFile& frm) const;

  Q_SIGNALS:
    void SettingChanged(const QString& key, int value);
    // Rows became scenario lines: the window shows the scenario.
    void ScriptLinesAdded();

  private:
    void CreateActions();
    void CreateWidgets();
    TRatingsDesk& Desk();
    bool StakesFileHasStakes();
    // Selected rows in list order.
    std::vector<std::size_t> SelectedRows() const;
    void ShowSortIndicator();
    void OnHeaderSort(int column, Qt::SortOrder order);
    void OnRefresh();
    void OnToScript();
    void OnExport();
    void OnXlsExport();
    void OnGraphRows(bool profits);
    void OnGraphDistribution();
    void OnGraphDraws();
    void OnEffMode(int mode);

    Workspace& ws_;
    TRatingsModel* model_ = nullptr;
    QMenu* effModes_ = nullptr; // the submenu of the efficiency modes
};

} // namespace pelko
