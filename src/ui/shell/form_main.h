#pragma once
// The main window: owns the workspace for the whole run, restores and saves the window
// settings, starts the program in two steps (window creation, then a deferred start-up a
// timer tick later), hosts every action in its menus and shows the progress of long
// operations in its seven-panel status bar. Left: "Архив тиражей" and "Комбинации";
// right: the analysis tabs.

#include "app/workspace.h"
#include "ui/common/gui_host.h"
#include "ui/help/help_file.h"
#include "ui/shell/startup_options.h"
#include "ui/common/view_options.h"

#include <QMainWindow>

#include <array>
#include <filesystem>
#include <memory>

class QAction;
class QDir;
class QLabel;
class QMenu;
class QSpinBox;
class QSplitter;
class QTabWidget;
class QTimer;

namespace pelko {

class TAnalysisViews;
class TCombsPage;
class TDownloadActions;
class TDrawsPage;
class TIniFile;
class TRatingsTab;
class TRegularsTab;
class TScenarioTab;
class TStakesTab;
class TStatisticsTab;

class TFormMain : public QMainWindow {
    Q_OBJECT
  public:
    static constexpr const char* SECTION = "TFormMain";
    static constexpr int STATUS_PANELS = 7;
    static constexpr int STATUS_TEXT_PANEL = 6;

    TFormMain(TStartupOptions options, std::filesystem::path dataFolder, QWidget* parent = nullptr);
    ~TFormMain() override;

    Workspace& Ws() { return *ws_; }
    TGuiHost& GuiHost() { return host_; }
    const TViewOptions& ViewOptions() const { return options_; }
    std::filesystem::path SettingsFile() const;

    // The deferred start-up ran (whatever its outcome).
    bool StartupDone() const { return startupDone_; }
    // Non-zero when start-up decided the program must end with this code.
    int ExitCode() const { return exitCode_; }

    TDrawsPage* DrawsPage() const { return drawsPage_; }
    TCombsPage* CombsPage() const { return combsPage_; }
    TStakesTab* StakesTab() const { return stakesTab_; }
    TRatingsTab* RatingsTab() const { return ratingsTab_; }
    TRegularsTab* RegularsTab() const { return regularsTab_; }
    TAnalysisViews* AnalysisViews() const { return views_; }
    TDownloadActions* Downloads() const { return downloads_; }
    QTabWidget* pcLeft = nullptr;
    QTabWidget* pcRight = nullptr;
    QSplitter* splMain = nullptr;
    QSpinBox* edDrawsOffset = nullptr;
    QLabel* StatusPanel(int i) const { return panels_.at(static_cast<std::size_t>(i)); }

    QAction* EditConfig = nullptr;
    QAction* EditShredding = nullptr;
    QAction* ExitProgram = nullptr;
    QAction* GetHelp = nullptr;
    QAction* About = nullptr;
    QAction* TabTables = nullptr;

    // Every action's enable rule (each starts with IsIdle); run after each operation, on
    // busy changes and periodically while idle.
    void UpdateActions();
    // RefreshViews of the workspace: the analysis tabs recompute.
    void RefreshViews();
    // Starts the program again with "restart" and ends this one; false when it could not.
    bool RestartProgram();

  Q_SIGNALS:
    void StartupFinished();

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

  private:
    void CreateWidgets();
    void CreateStatusBar();
    void CreateMenus();
    void ConnectWorkspace();
    void ShareAltF4();
    void LoadSettings();
    void SaveSettings();
    void WriteOption(const QString& key, bool value);
    void WriteSetting(const char* key, int value);
    void DeferredStartup();
    void StartupSteps();
    void RunStartupModes();
    void TakeScreenshots();
    bool ShootResults(const QDir& dir);
    bool ShootAnalysisWindows(const QDir& dir);
    void Terminate(int code);
    void DrawsViewChanged();
    void CombsListChanged();
    void StakesChanged(bool refresh, bool scroll);
    void RatingsChanged();
    void OffsetEdited(int value);
    void ShowTablesTab(bool visible);
    void IdleTick();
    void ShowAbout();
    QMenu* AddMenu(const QString& title, const QList<QAction*>& actions);

    TStartupOptions startup_;
    TGuiHost host_;
    std::unique_ptr<Workspace> ws_;
    TViewOptions options_;
    std::filesystem::path helpFile_ = HelpFile();
    bool started_ = false; // deferred start-up reached the interactive state
    bool startupDone_ = false;
    bool refused_ = false; // no exclusive access: leave every file alone
    bool closePending_ = false;
    bool closing_ = false; // the close was accepted; the stakes file is being closed
    int exitCode_ = 0;

    TDrawsPage* drawsPage_ = nullptr;
    TCombsPage* combsPage_ = nullptr;
    TStatisticsTab* statsTab_ = nullptr;
    TAnalysisViews* views_ = nullptr;
    TStakesTab* stakesTab_ = nullptr;
    TRatingsTab* ratingsTab_ = nullptr;
    TRegularsTab* regularsTab_ = nullptr;
    QMetaObject::Connection focusFollower_;
    TScenarioTab* scriptTab_ = nullptr;
    TDownloadActions* downloads_ = nullptr;
    std::array<QLabel*, STATUS_PANELS> panels_{};
    QTimer* initTimer_ = nullptr;
    QTimer* idleTimer_ = nullptr;
};

} // namespace pelko
