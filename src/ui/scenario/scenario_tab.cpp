#include "ui/scenario/scenario_tab.h"

#include "app/script_desk.h"
#include "app/workspace.h"
#include "core/ini_file.h"
#include "scenarios/script_line.h"
#include "ui/common/list_views.h"
#include "ui/scenario/form_script.h"
#include "ui/common/form_test_cnt.h"
#include "ui/scenario/script_model.h"
#include "ui/stats/statistics_tab.h"
#include "ui/common/ui_actions.h"
#include "ui/common/ui_seams.h"
#include "ui/common/ui_text.h"
#include "ui/shell/window_settings.h"

#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMenu>
#include <QSpinBox>
#include <QTableView>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

namespace pelko {

namespace {

constexpr const char* MAIN_SECTION = "TFormMain";
const QString SCRIPT_FILE_FILTER = QStringLiteral("Файлы сценариев (*.lsc)");
const QString NEW_LINE_CAPTION = QStringLiteral("Создание новой строки");

// A panel of sbScript: its design width, the last one taking the rest. No text may
// change the layout: a run sets them many times a second, and a panel that grew with its
// text would lay out (and repaint) the whole window each time.
QLabel* MakePanel(int index, int width) {
    auto* panel = new QLabel;
    panel->setObjectName(QStringLiteral("ScriptPanel%1").arg(index));
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    panel->setContentsMargins(3, 0, 3, 0);
    if (width > 0)
        panel->setFixedWidth(width);
    else
        panel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    return panel;
}

} // namespace

TScenarioTab::TScenarioTab(Workspace& ws, TStatisticsTab& stats, QSpinBox& combsExclude,
                           QWidget* parent)
    : QWidget(parent), ws_(ws), stats_(stats), combsExclude_(combsExclude), runner_(ws) {
    setObjectName(QStringLiteral("tsScript"));
    CreateActions();
    CreateWidgets();
    ConnectRunner();
    ws_.Script().OnScriptChanged = [this] { ScriptChanged(); };
    ScriptChanged();
}

TScenarioTab::~TScenarioTab() {
    ws_.Script().OnScriptChanged = nullptr;
}

// ------------------------------------------------------------------ actions and widgets

void TScenarioTab::CreateActions() {
    ScriptOpen = MakeAction(this, "ScriptOpen", QStringLiteral("Открыть"),
                            QStringLiteral("Загрузить сценарий из файла"),
                            QKeySequence(QStringLiteral("Ctrl+J")));
    ScriptSave = MakeAction(this, "ScriptSave", QStringLiteral("Сохранить"),
                            QStringLiteral("Сохранить сценарий в файле"),
                            QKeySequence(QStringLiteral("Ctrl+I")));
    ScriptAdd = MakeAction(this, "ScriptAdd", QStringLiteral("Добавить фильтры"),
                           QStringLiteral("Добавить новую команду в сценарий"),
                           QKeySequence(Qt::CTRL | Qt::Key_Insert));
    ScriptEmpty = MakeAction(this, "ScriptEmpty", QStringLiteral("Добавить разделитель"),
                             QStringLiteral("Добавить разделитель в сценарий"),
                             QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Insert));
    ScriptLoad =
        MakeAction(this, "ScriptLoad", QStringLiteral("Добавить сценарий"),
                   QStringLiteral("Добавить выбранный сценарий из файла в текущий сценарий"));
    ScriptClone = MakeAction(
        this, "ScriptClone", QStringLiteral("Клонировать"),
        QStringLiteral(
            "Добавить новую команду в сценарий и скопировать в нее данные из выделенной"),
        QKeySequence(QStringLiteral("Ctrl+K")));
    ScriptEdit = MakeAction(this, "ScriptEdit", QStringLiteral("Изменить"),
                            QStringLiteral("Редактировать выделенную команду"));
    ScriptEdit->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)});
    ScriptDel = MakeAction(this, "ScriptDel", QStringLiteral("Удалить"),
                           QStringLiteral("Удалить выделенные строки"),
                           QKeySequence(Qt::CTRL | Qt::Key_Delete));
    ScriptClr = MakeAction(this, "ScriptClr", QStringLiteral("Удалить все"),
                           QStringLiteral("Удалить весь сценарий"));
    ScriptUp = MakeAction(this, "ScriptUp", QStringLiteral("Переместить вверх"),
                          QStringLiteral("Переместить выделенную строку вверх"),
                          QKeySequence(Qt::CTRL | Qt::Key_Up));
    ScriptDown = MakeAction(this, "ScriptDown", QStringLiteral("Переместить вниз"),
                            QStringLiteral("Переместить выделенную строку вниз"),
                            QKeySequence(Qt::CTRL | Qt::Key_Down));
    ScriptRun = MakeAction(this, "ScriptRun", QStringLiteral("Прогноз"),
                           QStringLiteral("Выполнить сценарий для текущего тиража и смещения"),
                           QKeySequence(Qt::Key_F10));
    ScriptTest =
        MakeAction(this, "ScriptTest", QStringLiteral("Тест"),
                   QStringLiteral("Тестирование сценария на основе результатов предыдуших тиражей"),
                   QKeySequence(Qt::CTRL | Qt::Key_F10));
    ScriptStop = MakeAction(this, "ScriptStop", QStringLiteral("Стоп"),
                            QStringLiteral("Остановить выполнение сценария"),
                            QKeySequence(QStringLiteral("Ctrl+X")));
    LogToggle = MakeOption(
        this, "LogToggle", QStringLiteral("Журнал выполнения сценария"),
        ws_.Script().ScriptLogEnabled,
        QStringLiteral("Создание подробного журнала выполнения сценария для анализа его работы"));
    LogsDelete =
        MakeAction(this, "LogsDelete", QStringLiteral("Удалить журналы выполнения сценариев"),
                   QStringLiteral("Удалить файлы журналов выполнения сценария"));

    // The line-editing keys work where the list is (Ctrl+Del also deletes combinations
    // on the combinations tab); files, runs and the stop work anywhere in the window.
    for (QAction* action :
         {ScriptAdd, ScriptEmpty, ScriptClone, ScriptEdit, ScriptDel, ScriptUp, ScriptDown}) {
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        addAction(action);
    }

    connect(ScriptOpen, &QAction::triggered, this, &TScenarioTab::OnOpen);
    connect(ScriptSave, &QAction::triggered, this, &TScenarioTab::OnSave);
    connect(ScriptAdd, &QAction::triggered, this, &TScenarioTab::OnAdd);
    connect(ScriptEmpty, &QAction::triggered, this, &TScenarioTab::OnEmpty);
    connect(ScriptLoad, &QAction::triggered, this, &TScenarioTab::OnLoad);
    connect(ScriptClone, &QAction::triggered, this, &TScenarioTab::OnClone);
    connect(ScriptEdit, &QAction::triggered, this, &TScenarioTab::OnEdit);
    connect(ScriptDel, &QAction::triggered, this, &TScenarioTab::OnDel);
    connect(ScriptClr, &QAction::triggered, this, &TScenarioTab::OnClr);
    connect(ScriptUp, &QAction::triggered, this, [this] { OnMove(true); });
    connect(ScriptDown, &QAction::triggered, this, [this] { OnMove(false); });
    connect(ScriptRun, &QAction::triggered, this, &TScenarioTab::OnRun);
    connect(ScriptTest, &QAction::triggered, this, &TScenarioTab::OnTest);
    connect(ScriptStop, &QAction::triggered, this, &TScenarioTab::OnStop);
    connect(LogToggle, &QAction::triggered, this, &TScenarioTab::OnLogToggle);
    connect(LogsDelete, &QAction::triggered, this, &TScenarioTab::OnLogsDelete);
}

QList<QAction*> TScenarioTab::MenuActions() const {
    return {ScriptOpen, ScriptSave, ScriptLoad, nullptr, ScriptAdd, ScriptEmpty, ScriptClone,
            ScriptEdit, ScriptDel,  ScriptClr,  nullptr, ScriptUp,  ScriptDown,  nullptr,
            ScriptRun,  ScriptTest, ScriptStop, nullptr, LogToggle, LogsDelete};
}

void TScenarioTab::CreateWidgets() {
    auto* buttons = new QHBoxLayout;
    for (QAction* action : {ScriptRun, ScriptTest, ScriptStop}) {
        auto* button = new QToolButton(this);
        button->setObjectName(QStringLiteral("btn") + action->objectName());
        button->setDefaultAction(action);
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
        buttons->addWidget(button);
    }
    buttons->addStretch(1);

    model_ = new TScriptModel(ws_, this);
    lvScript = MakeListView(this, QStringLiteral("lvScript"), model_);
    lvScript->setSelectionMode(QAbstractItemView::ExtendedSelection);
    for (int c = 0; c < SCRIPT_VIEW_COLUMN_COUNT; ++c)
        lvScript->setColumnWidth(c, COLUMN_WIDTH);
    lvScript->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(lvScript, &QTableView::customContextMenuRequested, this, [this](const QPoint& at) {
        UpdateActions();
        QMenu menu(this);
        AddMenuActions(menu, MenuActions());
        menu.exec(lvScript->viewport()->mapToGlobal(at));
    });
    connect(lvScript, &QTableView::doubleClicked, this, [this] {
        UpdateActions();
        if (ScriptEdit->isEnabled()) OnEdit();
    });
    connect(lvScript->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TScenarioTab::UpdateActions);

    // A row of panels rather than a QStatusBar, which lays itself out anew at every text
    // change.
    sbScript = new QWidget(this);
    sbScript->setObjectName(QStringLiteral("sbScript"));
    sbScript->setAutoFillBackground(true); // opaque: its texts repaint no widget behind it
    auto* panels = new QHBoxLayout(sbScript);
    panels->setContentsMargins(0, 0, 0, 0);
    panels->setSpacing(2);
    const int widths[PANELS] = {80, 80, 85, 120, 0};
    for (int i = 0; i < PANELS; ++i) {
        panels_[static_cast<std::size_t>(i)] = MakePanel(i, widths[i]);
        panels->addWidget(panels_[static_cast<std::size_t>(i)], widths[i] > 0 ? 0 : 1);
    }

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addLayout(buttons);
    layout->addWidget(lvScript, 1);
    layout->addWidget(sbScript);
    locked_.append(lvScript);
}

void TScenarioTab::ConnectRunner() {
    runner_.OnStatusChanged = [this] {
        ShowRunPanels();
        if (duringRun_ && std::function<bool()>(duringRun_)()) duringRun_ = nullptr;
    };
    runner_.OnRunningChanged = [this](bool running) { RunningChanged(running); };
    runner_.OnLineSelected = [this](int line) { SelectOnly(line); };
    runner_.OnLogFinished = [](const std::filesystem::path& log) {
        TUiSeams::Current().OpenUrl(QUrl::fromLocalFile(QPathStr(log)));
    };
}

void TScenarioTab::SetRunLockedWidgets(const QList<QWidget*>& widgets) {
    locked_.clear();
    locked_.append(lvScript);
    for (QWidget* widget : widgets)
        locked_.append(widget);
}

// ------------------------------------------------------------------ state

std::vector<std::size_t> TScenarioTab::SelectedRows() const {
    std::vector<std::size_t> rows;
    for (const QModelIndex& index : lvScript->selectionModel()->selectedRows())
        rows.push_back(static_cast<std::size_t>(index.row()));
    std::sort(rows.begin(), rows.end());
    return rows;
}

int TScenarioTab::SelectedRow() const {
    const std::vector<std::size_t> rows = SelectedRows();
    return rows.empty() ? -1 : static_cast<int>(rows.front());
}

void TScenarioTab::SelectOnly(int row) {
    lvScript->clearSelection();
    if (row < 0 || row >= model_->rowCount()) return;
    const QModelIndex index = model_->index(row, 0);
    lvScript->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                           QItemSelectionModel::Rows);
    lvScript->scrollTo(index);
}

void TScenarioTab::UpdateActions() {
    const bool idle = ws_.IsIdle();
    const std::size_t lines = ws_.Script().Count();
    const int selected = SelectedRow();
    const bool hasSelection = selected >= 0;
    // A separator row cannot be cloned or edited.
    const bool lineSelected =
        hasSelection && static_cast<std::size_t>(selected) < lines &&
        !IsSeparatorLine(ws_.Script().Lines().Get(static_cast<std::size_t>(selected)));
    const bool canRun = idle && lines > 0 && !ws_.Draws().empty();
    ScriptOpen->setEnabled(idle);
    ScriptSave->setEnabled(idle && lines > 0);
    ScriptAdd->setEnabled(idle);
    ScriptEmpty->setEnabled(idle && lines > 0);
    ScriptLoad->setEnabled(idle);
    ScriptClone->setEnabled(idle && lineSelected);
    ScriptEdit->setEnabled(idle && lineSelected);
    ScriptDel->setEnabled(idle && hasSelection);
    ScriptClr->setEnabled(idle && lines > 0);
    ScriptUp->setEnabled(idle && hasSelection && selected > 0);
    ScriptDown->setEnabled(idle && hasSelection && static_cast<std::size_t>(selected) + 1 < lines);
    ScriptRun->setEnabled(canRun);
    ScriptTest->setEnabled(canRun);
    // The busy state of the run does not disable the stop.
    ScriptStop->setEnabled(runner_.CanStop());
    LogToggle->setEnabled(idle && !runner_.ScriptRunning());
    LogToggle->setChecked(ws_.Script().ScriptLogEnabled);
    LogsDelete->setEnabled(idle && !runner_.ScriptRunning());
}

void TScenarioTab::ScriptChanged() {
    model_->Refresh();
    panels_[0]->setText(QStr(ws_.Script().LineCountText()));
    UpdateActions();
}

void TScenarioTab::ShowRunPanels() {
    for (int i = 1; i < PANELS; ++i)
        panels_[static_cast<std::size_t>(i)]->setText(QStr(runner_.PanelText(i)));
}

void TScenarioTab::RunningChanged(bool running) {
    for (const QPointer<QWidget>& widget : locked_)
        if (widget) widget->setEnabled(!running);
    ShowRunPanels();
    UpdateActions();
    Q_EMIT RunStateChanged(running);
}

bool TScenarioTab::StopForClose(bool ask) {
    if (!runner_.ScriptRunning()) return true;
    if (!ask)
        runner_.RequestStop();
    else if (runner_.CanStop())
        runner_.ScriptStop();
    UpdateActions();
    return runner_.ScriptStopRequested();
}

TFilterDialogContext TScenarioTab::FilterContext() const {
    TFilterDialogContext context;
    context.Stats = &ws_.Stats();
    const QComboBox* methods = stats_.cbDrawsStatType;
    for (int i = 0; i < methods->count(); ++i)
        context.Methods.append({methods->itemText(i), methods->itemData(i).toInt()});
    context.MethodPosition = methods->currentIndex();
    context.DrawsStatLen = stats_.edDrawsStatLen->value();
    context.Coefficients = ws_.Config().CDL;
    return context;
}

// ------------------------------------------------------------------ settings

void TScenarioTab::LoadSettings(const TIniFile& frm) {
    ws_.Script().ScriptLogEnabled = frm.ReadBool(MAIN_SECTION, "ScriptLogEnabled", false);
    LoadColumns(frm, MAIN_SECTION, *lvScript, false);
    UpdateActions();
}

void TScenarioTab::SaveSettings(TIniFile& frm) const {
    SaveColumns(frm, MAIN_SECTION, *lvScript, false);
}

// ------------------------------------------------------------------ line editing

void TScenarioTab::AddLine(const std::string& text) {
    lvScript->clearSelection();
    const std::size_t index = ws_.Script().AddScriptLine(text);
    SelectOnly(static_cast<int>(index));
}

void TScenarioTab::OnOpen() {
    UpdateActions();
    if (!ScriptOpen->isEnabled()) return;
    const QString file =
        TUiSeams::Current().OpenFileName(window(), ScriptOpen->toolTip(), SCRIPT_FILE_FILTER);
    if (!file.isEmpty()) ws_.Script().OpenScript(PathOf(file));
}

void TScenarioTab::OnSave() {
    UpdateActions();
    if (!ScriptSave->isEnabled()) return;
    const QString file = TUiSeams::Current().SaveFileName(
        window(), ScriptSave->toolTip(), SCRIPT_FILE_FILTER, QStringLiteral("lsc"));
    if (!file.isEmpty()) ws_.Script().SaveScript(PathOf(file));
}

void TScenarioTab::OnLoad() {
    UpdateActions();
    if (!ScriptLoad->isEnabled()) return;
    const QString file =
        TUiSeams::Current().OpenFileName(window(), ScriptLoad->toolTip(), SCRIPT_FILE_FILTER);
    if (!file.isEmpty()) ws_.Script().AppendScript(PathOf(file));
}

void TScenarioTab::OnAdd() {
    UpdateActions();
    if (!ScriptAdd->isEnabled()) return;
    std::string text;
    if (TFormScript::EditScriptLine(window(), NEW_LINE_CAPTION, combsExclude_.value(), text,
                                    FilterContext()))
        AddLine(text);
}

void TScenarioTab::OnEmpty() {
    UpdateActions();
    if (ScriptEmpty->isEnabled()) AddLine({});
}

void TScenarioTab::OnClone() {
    UpdateActions();
    if (!ScriptClone->isEnabled()) return;
    std::string text = ws_.Script().GetScriptLine(static_cast<std::size_t>(SelectedRow()));
    if (TFormScript::EditScriptLine(window(), NEW_LINE_CAPTION, combsExclude_.value(), text,
                                    FilterContext()))
        AddLine(text);
}

void TScenarioTab::OnEdit() {
    UpdateActions();
    if (!ScriptEdit->isEnabled()) return;
    const std::size_t row = static_cast<std::size_t>(SelectedRow());
    std::string text = ws_.Script().GetScriptLine(row);
    if (TFormScript::EditScriptLine(window(), QStringLiteral("Редактирование строки"),
                                    combsExclude_.value(), text, FilterContext()))
        ws_.Script().SetScriptLine(row, text);
}

void TScenarioTab::OnDel() {
    UpdateActions();
    if (!ScriptDel->isEnabled()) return;
    if (ws_.Script().DeleteScriptRows(SelectedRows())) lvScript->clearSelection();
}

void TScenarioTab::OnClr() {
    UpdateActions();
    if (!ScriptClr->isEnabled()) return;
    if (ws_.Script().ClearScript()) lvScript->clearSelection();
}

void TScenarioTab::OnMove(bool up) {
    UpdateActions();
    if (!(up ? ScriptUp : ScriptDown)->isEnabled()) return;
    const int row = SelectedRow();
    const bool moved = up ? ws_.Script().MoveScriptUp(static_cast<std::size_t>(row))
                          : ws_.Script().MoveScriptDown(static_cast<std::size_t>(row));
    if (moved) SelectOnly(up ? row - 1 : row + 1);
}

// ------------------------------------------------------------------ runs and the log

void TScenarioTab::OnRun() {
    UpdateActions();
    if (!ScriptRun->isEnabled()) return;
    runner_.ScriptRun();
    // The views were held still during the run; they show its outcome now.
    ws_.RefreshViews();
    UpdateActions();
}

void TScenarioTab::OnTest() {
    UpdateActions();
    if (!ScriptTest->isEnabled()) return;
    const int count =
        TFormTestCnt::AskTestCount(window(), static_cast<int>(ws_.Draws().size()) - 1);
    if (count <= 0) return;
    runner_.ScriptTest(count);
    ws_.RefreshViews();
    UpdateActions();
}

bool TScenarioTab::ShootBackTest(int cycles,
                                 const std::function<void(const QString& moment)>& shoot) {
    UpdateActions();
    const int most = static_cast<int>(ws_.Draws().size()) - 1;
    if (!ScriptTest->isEnabled() || most < 1) return false;
    const int count = std::min(cycles, most);
    const int shotCycle = std::min(2, count);
    duringRun_ = [this, shoot, shotCycle] {
        if (runner_.ScriptCycle() != shotCycle || runner_.PanelText(2) == "Строка: 0") return false;
        shoot(QStringLiteral("run"));
        return true;
    };
    const bool ran = runner_.ScriptTest(count);
    duringRun_ = nullptr;
    ws_.RefreshViews();
    UpdateActions();
    shoot(QStringLiteral("after"));
    return ran;
}

void TScenarioTab::OnStop() {
    if (!runner_.CanStop()) return;
    runner_.ScriptStop();
    UpdateActions();
}

void TScenarioTab::OnLogToggle() {
    UpdateActions();
    if (!LogToggle->isEnabled()) return;
    TScriptDesk& desk = ws_.Script();
    desk.ScriptLogEnabled = !desk.ScriptLogEnabled;
    LogToggle->setChecked(desk.ScriptLogEnabled);
    Q_EMIT OptionToggled(QStringLiteral("ScriptLogEnabled"), desk.ScriptLogEnabled);
}

void TScenarioTab::OnLogsDelete() {
    UpdateActions();
    if (LogsDelete->isEnabled()) ws_.Script().DeleteScriptLogs();
}

} // namespace pelko
