#include "ui/shell/form_main.h"

#include "app/script_desk.h"
#include "app/stakes_workspace.h"
#include "stakes/rating_view.h"
#include "stakes/stake_grid.h"
#include "core/draw_archive.h"
#include "core/ini_file.h"
#include "platform/data_folder.h"
#include "ui/common/form_graph.h"
#include "ui/common/list_views.h"
#include "ui/combs/combs_model.h"
#include "ui/combs/combs_page.h"
#include "ui/draws/draws_page.h"
#include "ui/online/download_actions.h"
#include "ui/help/help_file.h"
#include "ui/common/message_boxes.h"
#include "ui/shell/signal_close.h"
#include "ui/common/ui_actions.h"
#include "ui/common/ui_icons.h"
#include "ui/common/ui_seams.h"
#include "ui/common/ui_text.h"
#include "ui/shell/window_settings.h"

#include "charts/analysis_graphs.h"
#include "stats/analysis/sum_distribution.h"
#include "ui/analysis/analysis_views.h"
#include "ui/analysis/form_repeats.h"
#include "ui/shell/form_config.h"
#include "ui/shell/form_shredding.h"
#include "ui/ratings/ratings_tab.h"
#include "ui/regulars/regulars_tab.h"
#include "ui/scenario/scenario_tab.h"
#include "ui/stakes/form_stake.h"
#include "ui/stakes/stakes_tab.h"
#include "ui/stats/statistics_tab.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QSysInfo>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace pelko {

namespace {

const QString WINDOW_CAPTION = QStringLiteral("Анализ статистики лотереи \"Сфера 6 из 45\"");
constexpr int DESIGN_LEFT_WIDTH = 480;
constexpr int DESIGN_FILTERS_HEIGHT = 120;

// A status-bar panel: its design width (or its text's, when longer) while there is room,
// squeezed rather than holding the window wide when there is not.
class TStatusPanel : public QLabel {
  public:
    explicit TStatusPanel(int designWidth) : designWidth_(designWidth) {}
    QSize sizeHint() const override {
        const QSize text = QLabel::sizeHint();
        return {std::max(designWidth_, text.width()), text.height()};
    }
    QSize minimumSizeHint() const override { return {24, QLabel::minimumSizeHint().height()}; }

  private:
    int designWidth_;
};

// How long the window waits for a command-line command that writes the data folder.
constexpr std::chrono::milliseconds DATA_FOLDER_LOCK_WAIT{3000};

QString StartupFailure(const char* message, const std::exception& e) {
    return QStr(message) + QStringLiteral("\n\n") + QStr(e.what());
}

} // namespace

TFormMain::TFormMain(TStartupOptions options, std::filesystem::path dataFolder, QWidget* parent)
    : QMainWindow(parent), startup_(std::move(options)) {
    setObjectName(QStringLiteral("TFormMain"));
    setWindowTitle(WINDOW_CAPTION);
    setWindowIcon(ApplicationIcon());
    resize(1100, 700);
    try {
        ws_ = std::make_unique<Workspace>(host_, std::move(dataFolder));
        host_.SetWindow(this);
        host_.OnBusyChanged = [this](bool) { UpdateActions(); };
        CreateWidgets();
        CreateStatusBar();
        CreateMenus();
        ShareAltF4();
        ConnectWorkspace();
        LoadSettings();
        // Parameters, then the statistic methods and their names file.
        ws_->LoadParameters();
        statsTab_->RefillMethods(true);
        views_->RefillMethods(true);
    } catch (const std::exception& e) {
        ErrorBox(this, StartupFailure("Ошибка запуска программы!", e));
    }
    UpdateActions();

    initTimer_ = new QTimer(this);
    initTimer_->setSingleShot(true);
    initTimer_->setInterval(100);
    connect(initTimer_, &QTimer::timeout, this, &TFormMain::DeferredStartup);
    initTimer_->start();

    idleTimer_ = new QTimer(this);
    idleTimer_->setInterval(200);
    connect(idleTimer_, &QTimer::timeout, this, &TFormMain::IdleTick);
    idleTimer_->start();
}

TFormMain::~TFormMain() {
    if (ws_) {
        ws_->OnDrawsViewChanged = nullptr;
        ws_->OnRefreshViews = nullptr;
        ws_->Combs().OnListChanged = nullptr;
        ws_->Combs().OnHistoryChanged = nullptr;
        ws_->Stakes().OnStakesChanged = nullptr;
        ws_->Stakes().Ratings().OnChanged = nullptr;
        ws_->Stakes().Regulars().OnChanged = nullptr;
    }
    disconnect(focusFollower_);
    host_.OnBusyChanged = nullptr;
    host_.SetStatusPanel(nullptr);
    // The pages read the workspace: they go before it does.
    delete takeCentralWidget();
}

std::filesystem::path TFormMain::SettingsFile() const {
    return WindowSettingsPath(ws_->DataFolder());
}

// ------------------------------------------------------------------ widgets

void TFormMain::CreateWidgets() {
    drawsPage_ = new TDrawsPage(*ws_, options_);
    combsPage_ = new TCombsPage(*ws_, options_);

    pcLeft = new QTabWidget;
    pcLeft->setObjectName(QStringLiteral("pcLeft"));
    pcLeft->addTab(drawsPage_, QStringLiteral("Архив тиражей"));
    pcLeft->addTab(combsPage_, QStringLiteral("Комбинации"));

    edDrawsOffset = new QSpinBox;
    edDrawsOffset->setObjectName(QStringLiteral("edDrawsOffset"));
    edDrawsOffset->setRange(0, 0);
    edDrawsOffset->setKeyboardTracking(false);
    const QString offsetHint =
        QStringLiteral("Смещение относительно последнего загруженного номера тиража");
    edDrawsOffset->setToolTip(offsetHint);
    edDrawsOffset->setStatusTip(offsetHint);
    connect(edDrawsOffset, &QSpinBox::valueChanged, this, &TFormMain::OffsetEdited);
    auto* offsetLabel = new QLabel(QStringLiteral("Смещение назад:"));
    offsetLabel->setBuddy(edDrawsOffset);
    auto* offsetRow = new QHBoxLayout;
    offsetRow->setContentsMargins(4, 2, 4, 0);
    offsetRow->addWidget(offsetLabel);
    offsetRow->addWidget(edDrawsOffset);
    offsetRow->addStretch(1);

    auto* left = new QWidget;
    left->setObjectName(QStringLiteral("pnlLeft"));
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    leftLayout->addLayout(offsetRow);
    leftLayout->addWidget(pcLeft, 1);

    pcRight = new QTabWidget;
    pcRight->setObjectName(QStringLiteral("pcRight"));
    statsTab_ = new TStatisticsTab(*ws_);
    statsTab_->setObjectName(QStringLiteral("tsStatistics"));
    pcRight->addTab(statsTab_, QStringLiteral("Статистика"));
    connect(statsTab_, &TStatisticsTab::CombsChanged, this, &TFormMain::UpdateActions);
    connect(pcRight, &QTabWidget::currentChanged, this, [this] {
        if (started_) ws_->RefreshViews();
    });
    views_ = new TAnalysisViews(*ws_, *pcRight, this);
    views_->WriteOption = [this](const QString& key, bool value) { WriteOption(key, value); };
    views_->WriteSetting = [this](const char* key, int value) { WriteSetting(key, value); };
    views_->SettingsFile = [this] { return refused_ ? std::filesystem::path() : SettingsFile(); };
    connect(views_, &TAnalysisViews::CombsChanged, this, &TFormMain::UpdateActions);

    stakesTab_ = new TStakesTab(*ws_, *combsPage_);
    pcRight->addTab(stakesTab_, QStringLiteral("Ставки"));
    connect(stakesTab_, &TStakesTab::OptionToggled, this, &TFormMain::WriteOption);
    combsPage_->AddPopupActions(stakesTab_->CombsActions(), stakesTab_->StakeAdd);

    ratingsTab_ = new TRatingsTab(*ws_);
    pcRight->addTab(ratingsTab_, QStringLiteral("Рейтинг"));
    stakesTab_->AddForeignAction(ratingsTab_->StakesGraphDraws);
    connect(ratingsTab_, &TRatingsTab::SettingChanged, this,
            [this](const QString& key, int value) { WriteSetting(StdStr(key).c_str(), value); });
    regularsTab_ = new TRegularsTab(*ws_);
    pcRight->addTab(regularsTab_, QStringLiteral("Регуляры"));
    regularsTab_->SelectedCombs = [this] {
        std::vector<std::pair<std::size_t, TComb>> combs;
        const TCombList& list = ws_->Combs().List;
        const TCombSelection selection = combsPage_->Selection();
        for (const TCombSelection::TRange& range : selection.Ranges())
            for (std::size_t i = range.Begin; i < range.End && i < list.Count(); ++i)
                combs.emplace_back(i + 1, list[i]);
        return combs;
    };
    regularsTab_->EditStake = [this](TStakeData& stake, int& drawsCount) {
        return TFormStake::Execute(this, stake, drawsCount);
    };
    combsPage_->AddPopupActions({regularsTab_->TablesAdd}, nullptr);
    stakesTab_->AddPopupActions({regularsTab_->TablesStakeAdd});

    // The scenario tab comes last; a run disables the tabs it must not see change.
    scriptTab_ = new TScenarioTab(*ws_, *statsTab_, *combsPage_->edCombsExclude);
    scriptTab_->SetRunLockedWidgets({drawsPage_, combsPage_, statsTab_});
    pcRight->addTab(scriptTab_, QStringLiteral("Сценарий"));
    connect(scriptTab_, &TScenarioTab::OptionToggled, this, &TFormMain::WriteOption);
    connect(ratingsTab_, &TRatingsTab::ScriptLinesAdded, this,
            [this] { pcRight->setCurrentWidget(scriptTab_); });
    connect(scriptTab_, &TScenarioTab::RunStateChanged, this, [this](bool running) {
        host_.PaceStatusTexts = running;
        if (!running) CombsListChanged();
    });

    splMain = new QSplitter(Qt::Horizontal);
    splMain->setObjectName(QStringLiteral("splMain"));
    splMain->addWidget(left);
    splMain->addWidget(pcRight);
    splMain->setStretchFactor(0, 0);
    splMain->setStretchFactor(1, 1);
    splMain->setChildrenCollapsible(false);
    splMain->setSizes({DESIGN_LEFT_WIDTH, width() - DESIGN_LEFT_WIDTH});
    setCentralWidget(splMain);
    combsPage_->SetFiltersHeight(DESIGN_FILTERS_HEIGHT);

    connect(drawsPage_, &TDrawsPage::OptionToggled, this, &TFormMain::WriteOption);
    connect(combsPage_, &TCombsPage::OptionToggled, this, &TFormMain::WriteOption);
}

void TFormMain::CreateStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar"));
    bar->setSizeGripEnabled(true);
    const int widths[STATUS_PANELS] = {150, 180, 130, 150, 120, 125, 0};
    for (int i = 0; i < STATUS_PANELS; ++i) {
        auto* panel = new TStatusPanel(widths[i]);
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        panel->setContentsMargins(3, 0, 3, 0);
        bar->addWidget(panel, widths[i] > 0 ? 0 : 1);
        panels_[static_cast<std::size_t>(i)] = panel;
    }
    panels_[2]->setAlignment(Qt::AlignCenter);
    panels_[4]->setText(QStr(StakesCountText(0)));
    panels_[5]->setText(QStringLiteral("Рейтинг: 0"));
    host_.SetStatusPanel(panels_[STATUS_TEXT_PANEL]);
}

QMenu* TFormMain::AddMenu(const QString& title, const QList<QAction*>& actions) {
    QMenu* menu = menuBar()->addMenu(title);
    AddMenuActions(*menu, actions);
    return menu;
}

void TFormMain::CreateMenus() {
    // "Файл"
    QMenu* file = menuBar()->addMenu(QStringLiteral("Файл"));
    file->setObjectName(QStringLiteral("mnFile"));
    QMenu* language = file->addMenu(QStringLiteral("Язык интерфейса"));
    auto* languages = new QActionGroup(this);
    QAction* russian = language->addAction(QStringLiteral("Русский"));
    russian->setCheckable(true);
    russian->setChecked(true);
    languages->addAction(russian);
    file->addSeparator();
    EditConfig = MakeAction(this, "EditConfig", QStringLiteral("Параметры"));
    EditShredding = MakeAction(this, "EditShredding", QStringLiteral("Формулы шинковки"));
    ExitProgram = MakeAction(this, "ExitProgram", QStringLiteral("Выход"), {},
                             QKeySequence(QStringLiteral("Alt+F4")));
    downloads_ = new TDownloadActions(this, *ws_);
    downloads_->WriteSetting = [this](const char* key, int value) { WriteSetting(key, value); };
    file->addAction(EditConfig);
    file->addAction(EditShredding);
    file->addAction(downloads_->EditProxy);
    file->addSeparator();
    file->addAction(ExitProgram);
    connect(ExitProgram, &QAction::triggered, this, &QWidget::close);
    connect(EditConfig, &QAction::triggered, this, [this] {
        if (ws_->IsIdle()) TFormConfig::Execute(this, *ws_);
    });
    connect(EditShredding, &QAction::triggered, this, [this] {
        if (ws_->IsIdle()) TFormShredding::Execute(this, *ws_);
    });

    QList<QAction*> drawsActions = drawsPage_->MenuActions();
    drawsActions.insert(1, downloads_->DrawsDownload);
    drawsActions.insert(2, downloads_->AutoDownloadEntry);
    AddMenu(QStringLiteral("Архив тиражей"), drawsActions)->setObjectName(QStringLiteral("mnDraws"));
    AddMenu(QStringLiteral("Комбинации"), combsPage_->MenuActions())
        ->setObjectName(QStringLiteral("mnCombs"));
    AddMenu(QStringLiteral("Статистика"), statsTab_->MenuActions() << nullptr << views_->StatsActions())
        ->setObjectName(QStringLiteral("mnStats"));
    AddMenu(QStringLiteral("Ставки"), stakesTab_->MenuActions())
        ->setObjectName(QStringLiteral("mnStakes"));
    AddMenu(QStringLiteral("Рейтинг"), ratingsTab_->MenuActions())
        ->setObjectName(QStringLiteral("mnRatings"));
    AddMenu(QStringLiteral("Регуляры"), regularsTab_->MenuActions())
        ->setObjectName(QStringLiteral("mnTables"));
    AddMenu(QStringLiteral("Сценарий"), scriptTab_->MenuActions())
        ->setObjectName(QStringLiteral("mnScript"));
    TabTables = MakeOption(this, "TabTables", QStringLiteral("Вкладка \"Регуляры\""),
                           ws_->Stakes().Options.TablesVisible,
                           QStringLiteral("Скрыть / показать вкладку \"Регулярные ставки\""));
    connect(TabTables, &QAction::triggered, this, &TFormMain::ShowTablesTab);
    AddMenu(QStringLiteral("Вид"), views_->TabActions() << TabTables << nullptr
                                                        << drawsPage_->ViewColorDraws
                                                        << combsPage_->ViewColorCombs
                                                        << views_->ViewOptions())
        ->setObjectName(QStringLiteral("mnView"));

    GetHelp = MakeAction(this, "GetHelp", QStringLiteral("Справка"), {}, QKeySequence(Qt::Key_F1));
    About = MakeAction(this, "About", QStringLiteral("О программе"));
    AddMenu(QStringLiteral("Справка"), {GetHelp, nullptr, About})
        ->setObjectName(QStringLiteral("mnHelp"));
    connect(About, &QAction::triggered, this, &TFormMain::ShowAbout);
    connect(GetHelp, &QAction::triggered, this, [this] {
        if (!ws_->IsIdle() || helpFile_.empty()) return;
        TUiSeams::Current().OpenUrl(QUrl::fromLocalFile(QPathStr(helpFile_)));
    });

    // Every operation ends with the enable rules evaluated again.
    for (QAction* action : findChildren<QAction*>())
        connect(action, &QAction::triggered, this, &TFormMain::UpdateActions, Qt::QueuedConnection);
}

void TFormMain::ShareAltF4() {
    // Alt+F4 ends the program, and makes stakes of the selected combinations while their
    // list has the focus; two live shortcuts on one key would both be ignored.
    const QKeySequence altF4(QStringLiteral("Alt+F4"));
    auto follow = [this, altF4](QWidget*, QWidget* now) {
        QTableView* list = combsPage_->lvCombs;
        const bool inList = now && (now == list || list->isAncestorOf(now));
        ExitProgram->setShortcut(inList ? QKeySequence() : altF4);
        stakesTab_->StakeAddSelected->setShortcut(inList ? altF4 : QKeySequence());
    };
    focusFollower_ = connect(qApp, &QApplication::focusChanged, this, follow);
    follow(nullptr, QApplication::focusWidget());
}

void TFormMain::ConnectWorkspace() {
    ws_->OnDrawsViewChanged = [this] { DrawsViewChanged(); };
    ws_->OnRefreshViews = [this] { RefreshViews(); };
    ws_->Combs().OnListChanged = [this] { CombsListChanged(); };
    ws_->Combs().OnHistoryChanged = [this] { combsPage_->HistoryChanged(); };
    ws_->Stakes().OnStakesChanged = [this](bool refresh, bool scroll) {
        StakesChanged(refresh, scroll);
    };
    ws_->Stakes().Ratings().OnChanged = [this] { RatingsChanged(); };
    ws_->Stakes().Regulars().OnChanged = [this] { regularsTab_->TablesChanged(); };
}

// ------------------------------------------------------------------ views

void TFormMain::DrawsViewChanged() {
    drawsPage_->UpdateView(false);
    const TDrawsArray& draws = ws_->Draws();
    const int offset = ws_->DrawsOffset();
    panels_[0]->setText(QStringLiteral("Архив тиражей: %1").arg(draws.size()));
    panels_[1]->setText(QStringLiteral("Следующий тираж: %1").arg(NextDrawNumber(draws, offset)));
    panels_[2]->setText(QStr(HiddenDrawText(draws, offset)));
    const QSignalBlocker quiet(edDrawsOffset);
    edDrawsOffset->setMaximum(std::max(0, static_cast<int>(draws.size()) - 1));
    edDrawsOffset->setValue(offset);
    UpdateActions();
}

void TFormMain::CombsListChanged() {
    // A scenario run changes the list many times a line: the list view follows when the
    // run has ended (a reset of millions of rows costs more than the run's own steps).
    if (!scriptTab_->Running()) combsPage_->ListChanged();
    panels_[3]->setText(QStringLiteral("Комбинаций: %1").arg(ws_->Combs().List.Count()));
    UpdateActions();
}

void TFormMain::StakesChanged(bool refresh, bool scroll) {
    stakesTab_->StakesChanged(refresh, scroll);
    panels_[4]->setText(QStr(StakesCountText(ws_->Stakes().StakesCount())));
    // While busy every action is off anyway; the end of the operation re-evaluates them.
    if (ws_->IsIdle()) UpdateActions();
}

void TFormMain::RatingsChanged() {
    panels_[5]->setText(QStr(RatingsCountText(ws_->Stakes().Ratings().Rows().Count())));
    ratingsTab_->RatingsChanged();
    // The ratings change when a check settles stakes, which rewrites their records.
    stakesTab_->RecordsChanged();
}

void TFormMain::RefreshViews() {
    // A scenario run holds the views still; they refresh when it ends.
    if (!started_ || scriptTab_->Running()) return;
    statsTab_->RefreshView();
    views_->RefreshViews();
}

void TFormMain::OffsetEdited(int value) {
    if (!ws_->IsIdle() || !started_) {
        const QSignalBlocker quiet(edDrawsOffset);
        edDrawsOffset->setValue(ws_->DrawsOffset());
        return;
    }
    ws_->ChangeDrawsOffset(value);
    UpdateActions();
}

void TFormMain::ShowTablesTab(bool visible) {
    if (!ws_->IsIdle() || !started_) {
        TabTables->setChecked(ws_->Stakes().Options.TablesVisible);
        return;
    }
    WriteOption(QStringLiteral("TabTables"), visible);
    ws_->Stakes().Regulars().SetVisible(visible);
    // After the option: moving off a hidden tab re-evaluates the actions.
    pcRight->setTabVisible(pcRight->indexOf(regularsTab_), visible);
    if (visible) pcRight->setCurrentWidget(regularsTab_);
}

void TFormMain::UpdateActions() {
    if (!ws_) return;
    const bool idle = ws_->IsIdle();
    drawsPage_->UpdateActions();
    combsPage_->UpdateActions();
    statsTab_->UpdateActions();
    stakesTab_->UpdateActions();
    ratingsTab_->UpdateActions();
    regularsTab_->UpdateActions();
    views_->UpdateActions(started_);
    scriptTab_->UpdateActions();
    if (downloads_) downloads_->UpdateActions(idle && started_);
    EditConfig->setEnabled(idle && started_);
    EditShredding->setEnabled(idle && started_);
    ExitProgram->setEnabled(idle);
    GetHelp->setEnabled(idle && !helpFile_.empty());
    About->setEnabled(idle);
    TabTables->setEnabled(idle && started_);
    TabTables->setChecked(ws_->Stakes().Options.TablesVisible);
    edDrawsOffset->setEnabled(idle && started_);
    combsPage_->edCombsExclude->setEnabled(idle);
}

void TFormMain::IdleTick() {
    if (!ws_ || !ws_->IsIdle()) return;
    UpdateActions();
    if (closePending_) {
        closePending_ = false;
        close();
    }
}

// ------------------------------------------------------------------ settings

void TFormMain::LoadSettings() {
    try {
        const TIniFile ini(SettingsFile());
        RestorePlacement(ini, SECTION, *this);
        const int left = ini.ReadInteger(SECTION, "LeftPanelWidth", DESIGN_LEFT_WIDTH);
        splMain->setSizes({left, std::max(100, width() - left)});
        combsPage_->edCombsExclude->setValue(
            std::max(0, ini.ReadInteger(SECTION, "DrawsExclude", 0)));
        combsPage_->SetFiltersHeight(
            ini.ReadInteger(SECTION, "FiltersHeight", DESIGN_FILTERS_HEIGHT));
        options_.ColorDraws = ini.ReadBool(SECTION, "ColorDraws", true);
        options_.ColorCombs = ini.ReadBool(SECTION, "ColorCombs", true);
        ws_->SetSortedDraws(ini.ReadBool(SECTION, "SortedDraws", false));
        LoadColumns(ini, SECTION, *drawsPage_->lvDraws, false);
        LoadColumns(ini, SECTION, *combsPage_->lvCombs, false);
        LoadColumns(ini, SECTION, *combsPage_->lvFilters, false);
        statsTab_->LoadSettings(ini);
        stakesTab_->LoadSettings(ini);
        ratingsTab_->LoadSettings(ini);
        views_->LoadSettings(ini);
        // Before the stakes desk starts: a hidden tab's file is left unread.
        const bool tables = ini.ReadBool(SECTION, "TabTables", true);
        ws_->Stakes().Options.TablesVisible = tables;
        TabTables->setChecked(tables);
        pcRight->setTabVisible(pcRight->indexOf(regularsTab_), tables);
        LoadColumns(ini, SECTION, *regularsTab_->lvTables, false);
        scriptTab_->LoadSettings(ini);
        downloads_->LoadSettings(ini, SECTION);
    } catch (const std::exception& e) {
        ErrorBox(this, StartupFailure("Ошибка загрузки параметров программы!", e));
    }
}

void TFormMain::SaveSettings() {
    try {
        TIniFile ini(SettingsFile());
        SavePlacement(ini, SECTION, *this);
        ini.WriteInteger(SECTION, "LeftPanelWidth", splMain->sizes().value(0, DESIGN_LEFT_WIDTH));
        ini.WriteInteger(SECTION, "DrawsExclude", combsPage_->edCombsExclude->value());
        ini.WriteInteger(SECTION, "FiltersHeight", combsPage_->FiltersHeight());
        SaveColumns(ini, SECTION, *drawsPage_->lvDraws, false);
        SaveColumns(ini, SECTION, *combsPage_->lvCombs, false);
        SaveColumns(ini, SECTION, *combsPage_->lvFilters, false);
        statsTab_->SaveSettings(ini);
        stakesTab_->SaveSettings(ini);
        ratingsTab_->SaveSettings(ini);
        views_->SaveSettings(ini);
        SaveColumns(ini, SECTION, *regularsTab_->lvTables, false);
        scriptTab_->SaveSettings(ini);
        ini.Save();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
    }
}

void TFormMain::WriteSetting(const char* key, int value) {
    if (refused_) return;
    try {
        TIniFile ini(SettingsFile());
        ini.WriteInteger(SECTION, key, value);
        ini.Save();
    } catch (const std::exception& e) {
        ErrorBox(this, QStr(e.what()));
    }
}

void TFormMain::WriteOption(const QString& key, bool value) {
    if (refused_) return;
    try {
        TIniFile ini(SettingsFile());
        ini.WriteBool(SECTION, StdStr(key), value);
        ini.Save();
    } catch (const std::exception& e) {
        ErrorBox(this, QStr(e.what()));
    }
}

// ------------------------------------------------------------------ start-up

void TFormMain::DeferredStartup() {
    initTimer_->stop();
    QString failure;
    {
        // Busy throughout: no action starts and a close request waits until it is done.
        TBusyScope busy(ws_->Busy(), host_, "Инициализация...");
        try {
            StartupSteps();
        } catch (const std::exception& e) {
            failure = StartupFailure("Ошибка инициализации программы!", e);
        }
    }
    startupDone_ = true;
    if (refused_) {
        // The desk has shown why, and the exclusive-access message.
        Terminate(1);
        Q_EMIT StartupFinished();
        return;
    }
    if (!failure.isEmpty()) ErrorBox(this, failure);
    started_ = true;
    UpdateActions();
    Q_EMIT StartupFinished();
    if (!startup_.ScreenshotsDir.isEmpty())
        QTimer::singleShot(0, this, &TFormMain::TakeScreenshots);
}

void TFormMain::StartupSteps() {
    setWindowTitle(WINDOW_CAPTION + QStringLiteral(" версия ") + QStringLiteral(PELKO_VERSION));
    ws_->ChangeDrawsOffset(0);
    // One writer per data folder: a command-line command that writes is given a moment
    // to finish, a second window stops here.
    if (!ws_->LockDataFolder(DATA_FOLDER_LOCK_WAIT, ExclusiveAccessMessage())) {
        refused_ = true;
        return;
    }
    // The stakes file, opened exclusively: a second copy on this folder stops here.
    if (!ws_->StartStakes()) {
        refused_ = true; // leave every file as it is
        return;
    }
    // A new data folder gets the bundled archive, so there is something to look at.
    std::error_code ec;
    const bool archiveExisted = std::filesystem::exists(ws_->DataFile(DRAWS_FILE_NAME), ec);
    ws_->LoadDraws();
    if (!archiveExisted) {
        const std::filesystem::path sample = SampleArchivePath();
        if (!sample.empty()) ws_->ImportDrawsCsv(sample);
    }
    TIniFile ini(SettingsFile());
    if (!ini.ReadBool(SECTION, "PrefetchsInit", false)) {
        ini.WriteBool(SECTION, "PrefetchsInit", true);
        ini.WriteBool(SECTION, "PrefetchsEnabled", ws_->PrefetchsEnabled);
        ini.Save();
    }
    ws_->GenerateStartupCombs();
    ws_->Script().LoadWorkingScript();
    started_ = true;
    ws_->RefreshViews();
    RunStartupModes();
}

void TFormMain::RunStartupModes() {
    const bool rebuild = startup_.FullRecreate() || startup_.FullRefresh();
    if (startup_.LoadOnly()) {
        const TDownloadResult result = downloads_->RunDownload();
        if (!rebuild) {
            Terminate(result.Completed ? 0 : 1);
            return;
        }
    }
    if (rebuild) {
        // Rebuilds that may run unattended: the progress goes to the terminal too.
        host_.EchoStatus = true;
        ws_->CreateAllPrefetchs(true, startup_.FullRecreate() ? ALL_STAT_GROUPS : TStatGroups(0));
        host_.EchoStatus = false;
        Terminate(0);
        return;
    }
    ws_->CreateAllPrefetchs(false, 0);
    // Nothing to ask about while no site is named: the person has not set up the download.
    if (startup_.ScreenshotsDir.isEmpty() && !ws_->Online().DrawsSite.empty())
        downloads_->DownloadAtStartup();
}

void TFormMain::TakeScreenshots() {
    QDir dir(startup_.ScreenshotsDir);
    dir.mkpath(QStringLiteral("."));
    bool ok = true;
    auto settle = [] {
        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents();
    };
    // One size for every picture, whatever the settings restored.
    setWindowState(Qt::WindowNoState);
    resize(1200, 760);
    settle();
    const int rightTab = pcRight->currentIndex();
    ok = grab().save(dir.filePath(QStringLiteral("window.png"))) && ok;
    // Each tab alone: its page control, so that no two pictures show the same thing.
    for (QTabWidget* pages : {pcLeft, pcRight}) {
        const int current = pages->currentIndex();
        for (int i = 0; i < pages->count(); ++i) {
            pages->setCurrentIndex(i);
            settle();
            const QString name = pages->widget(i)->objectName() + QStringLiteral(".png");
            ok = pages->grab().save(dir.filePath(name)) && ok;
        }
        pages->setCurrentIndex(current);
    }
    pcLeft->setCurrentIndex(0);
    ok = ShootAnalysisWindows(dir) && ok;
    // A back-test of the working scenario: the scenario and stakes tabs while it runs and
    // after it ("tsScript_run.png", "tsStakes_after.png", ...).
    if (ws_->Script().Count() > 0) {
        auto shoot = [&](const QString& moment) {
            for (QWidget* tab :
                 {static_cast<QWidget*>(scriptTab_), static_cast<QWidget*>(stakesTab_)}) {
                pcRight->setCurrentWidget(tab);
                settle();
                const QString name =
                    tab->objectName() + QStringLiteral("_") + moment + QStringLiteral(".png");
                ok = grab().save(dir.filePath(name)) && ok;
            }
            pcRight->setCurrentWidget(scriptTab_);
        };
        pcRight->setCurrentWidget(scriptTab_);
        settle();
        ok = scriptTab_->ShootBackTest(3, shoot) && ok;
        ok = ShootResults(dir) && ok;
    }
    pcRight->setCurrentIndex(rightTab);
    Terminate(ok ? 0 : 1);
}

// The two analysis windows of the menu "Статистика" over the archive.
bool TFormMain::ShootAnalysisWindows(const QDir& dir) {
    TFormRepeats repeats(*ws_, {}, this);
    repeats.resize(1000, 640);
    repeats.Calculate();
    repeats.show();
    TFormGraph sums(SumsGraphData(ComputeSumDistribution(ws_->Draws())), this);
    sums.resize(1000, 640);
    sums.show();
    for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
    const bool ok = repeats.grab().save(dir.filePath(QStringLiteral("repeats.png")));
    return sums.grab().save(dir.filePath(QStringLiteral("sums.png"))) && ok;
}

// After the back-test: the rating and the regulars it fed, and the chart window with the
// match distribution of the rating's first rows.
bool TFormMain::ShootResults(const QDir& dir) {
    bool ok = true;
    for (QWidget* tab : {static_cast<QWidget*>(ratingsTab_), static_cast<QWidget*>(regularsTab_)}) {
        pcRight->setCurrentWidget(tab);
        for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
        ok = grab().save(dir.filePath(tab->objectName() + QStringLiteral("_after.png"))) && ok;
    }
    const std::size_t rows = std::min<std::size_t>(4, ws_->Stakes().Ratings().Rows().Count());
    if (rows == 0) return ok;
    std::vector<std::size_t> first(rows);
    for (std::size_t i = 0; i < rows; ++i) first[i] = i;
    TFormGraph graph(ws_->Stakes().Ratings().GraphRowsDistribution(first), this);
    graph.resize(900, 560);
    graph.show();
    for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
    return graph.grab().save(dir.filePath(QStringLiteral("graph_after.png"))) && ok;
}

void TFormMain::Terminate(int code) {
    exitCode_ = code;
    QTimer::singleShot(0, this, [this] { close(); });
}

bool TFormMain::RestartProgram() {
    QStringList arguments{QStringLiteral("restart")};
    if (!startup_.DataDir.isEmpty()) arguments << QStringLiteral("--data-dir") << startup_.DataDir;
    if (!QProcess::startDetached(QCoreApplication::applicationFilePath(), arguments,
                                 QCoreApplication::applicationDirPath())) {
        ErrorBox(
            this,
            QStringLiteral("SysError #%1: \"%2\"!").arg(errno).arg(QStr(std::strerror(errno))));
        return false;
    }
    Terminate(0);
    return true;
}

void TFormMain::ShowAbout() {
    QDialog dialog(this);
    dialog.setObjectName(QStringLiteral("TFormAbout"));
    dialog.setWindowTitle(QStringLiteral("О программе"));
    auto* layout = new QVBoxLayout(&dialog);
    auto* title = new QLabel(WINDOW_CAPTION, &dialog);
    QFont font = title->font();
    font.setBold(true);
    title->setFont(font);
    layout->addWidget(title);
    layout->addWidget(new QLabel(
        QStringLiteral("%1 ( %2 )").arg(QStringLiteral(PELKO_VERSION), QSysInfo::buildAbi()),
        &dialog));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, &dialog);
    buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("Закрыть"));
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    TUiSeams::Current().ExecDialog(dialog);
}

// ------------------------------------------------------------------ events

void TFormMain::closeEvent(QCloseEvent* event) {
    if (closing_) {
        event->accept();
        return;
    }
    if (ws_ && !ws_->IsIdle()) {
        downloads_->StopForClose();
        // An operation is running inside this very call stack: close when it is done. A
        // scenario run is asked to stop first; declining keeps the window and the run.
        // When the program is ending the run stops without the question.
        if (!scriptTab_->StopForClose(!Terminating())) {
            event->ignore();
            return;
        }
        closePending_ = true;
        event->ignore();
        return;
    }
    closing_ = true;
    if (!refused_ && ws_ && ws_->StakesStarted()) {
        SaveSettings();
        ws_->Stakes().Shutdown();
    }
    initTimer_->stop();
    idleTimer_->stop();
    event->accept();
}

bool TFormMain::event(QEvent* event) {
    if (event->type() == QEvent::StatusTip) {
        // Hints show in the status text panel, but never over an operation's own text.
        if (ws_ && ws_->IsIdle() && host_.CurrentStatus().isEmpty())
            panels_[STATUS_TEXT_PANEL]->setText(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

} // namespace pelko
