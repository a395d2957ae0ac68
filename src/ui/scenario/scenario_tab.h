#pragma once
// The tab "Сценарий": the scenario list lvScript with its status bar sbScript (line count,
// cycle, line, stakes made, run text), the panel buttons "Прогноз", "Тест", "Стоп" and
// the actions of the menu "Сценарий" (files, line editing, runs, the run log). The
// workspace's scenario desk owns the lines; the tab owns the runner and drives forecasts
// and back-tests from the window: while one runs every action but "Стоп" is disabled,
// and the widgets that must not change under the run (the draws, combinations and
// statistics tabs and the list) are disabled too.

#include "app/scenario_runner.h"
#include "ui/filters/form_filter.h"

#include <QList>
#include <QPointer>
#include <QWidget>

#include <array>
#include <cstddef>
#include <functional>
#include <vector>

class QAction;
class QLabel;
class QSpinBox;
class QTableView;

namespace pelko {

class TIniFile;
class TScriptModel;
class TStatisticsTab;
class Workspace;

class TScenarioTab : public QWidget {
    Q_OBJECT
  public:
    static constexpr int PANELS = 5;
    static constexpr int COLUMN_WIDTH = 200;

    // The filter dialog offers the statistics tab's methods and number of draws; new lines
    // take the number of excluded draws from `combsExclude`.
    TScenarioTab(Workspace& ws, TStatisticsTab& stats, QSpinBox& combsExclude,
                 QWidget* parent = nullptr);
    ~TScenarioTab() override;

    QTableView* lvScript = nullptr;
    QWidget* sbScript = nullptr; // the run's status panels under the list
    QLabel* Panel(int i) const { return panels_.at(static_cast<std::size_t>(i)); }
    TScriptModel* Model() const { return model_; }
    TScenarioRunner& Runner() { return runner_; }

    QAction* ScriptOpen = nullptr;
    QAction* ScriptSave = nullptr;
    QAction* ScriptAdd = nullptr;
    QAction* ScriptEmpty = nullptr;
    QAction* ScriptLoad = nullptr;
    QAction* ScriptClone = nullptr;
    QAction* ScriptEdit = nullptr;
    QAction* ScriptDel = nullptr;
    QAction* ScriptClr = nullptr;
    QAction* ScriptUp = nullptr;
    QAction* ScriptDown = nullptr;
    QAction* ScriptRun = nullptr;
    QAction* ScriptTest = nullptr;
    QAction* ScriptStop = nullptr;
    QAction* LogToggle = nullptr;
    QAction* LogsDelete = nullptr;

    // The menu "Сценарий" and the list's pop-up menu (nullptr stands for a separator).
    QList<QAction*> MenuActions() const;
    // Every enable rule; all but ScriptStop start with the workspace being idle.
    void UpdateActions();
    // Disabled while a run goes on (the list is always among them).
    void SetRunLockedWidgets(const QList<QWidget*>& widgets);
    bool Running() const { return runner_.ScriptRunning(); }
    // The window is asked to close: during a run the stop question comes first (unless
    // `ask` is false: the program is ending). True when the window may close once the
    // current operation has ended.
    bool StopForClose(bool ask = true);

    // What the filter dialog offers right now.
    TFilterDialogContext FilterContext() const;
    // Selected rows, ascending; the first of them is "the selected row" (-1: none).
    std::vector<std::size_t> SelectedRows() const;
    int SelectedRow() const;
    void SelectOnly(int row);

    // Pictures of a back-test over `cycles` draws: `shoot("run")` once while its second
    // cycle runs a line, `shoot("after")` when it has ended. False when it could not run.
    bool ShootBackTest(int cycles, const std::function<void(const QString& moment)>& shoot);

    // "ScriptLogEnabled" and the columns of lvScript ("StakesCheckOnLine", which runs read,
    // belongs to the stakes tab's options).
    void LoadSettings(const TIniFile& frm);
    void SaveSettings(TIniFile& frm) const;

  Q_SIGNALS:
    // A window option changed and must be written at once.
    void OptionToggled(const QString& key, bool value);
    // A run started or ended (at its end the views it held still may show its outcome).
    void RunStateChanged(bool running);

  private:
    void CreateActions();
    void CreateWidgets();
    void ConnectRunner();
    void ScriptChanged();
    void ShowRunPanels();
    void RunningChanged(bool running);
    void AddLine(const std::string& text);

    void OnOpen();
    void OnSave();
    void OnAdd();
    void OnEmpty();
    void OnLoad();
    void OnClone();
    void OnEdit();
    void OnDel();
    void OnClr();
    void OnMove(bool up);
    void OnRun();
    void OnTest();
    void OnStop();
    void OnLogToggle();
    void OnLogsDelete();

    Workspace& ws_;
    TStatisticsTab& stats_;
    QSpinBox& combsExclude_;
    TScenarioRunner runner_;
    TScriptModel* model_ = nullptr;
    std::array<QLabel*, PANELS> panels_{};
    QList<QPointer<QWidget>> locked_;
    // Looks at the run after each panel change until it returns true.
    std::function<bool()> duringRun_;
};

} // namespace pelko
