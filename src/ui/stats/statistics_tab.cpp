#include "ui/stats/statistics_tab.h"

#include "app/workspace.h"
#include "core/ini_file.h"
#include "ui/common/message_boxes.h"
#include "ui/common/operation_progress.h"
#include "ui/common/spreadsheet_view_export.h"
#include "ui/stats/stat_chart_view.h"
#include "ui/stats/stat_table_model.h"
#include "ui/common/ui_actions.h"
#include "ui/common/ui_text.h"
#include "ui/shell/window_settings.h"

#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QSplitter>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <climits>
#include <filesystem>

namespace pelko {

namespace {

// The window settings of the tab live in the main window's section.
constexpr const char* MAIN_SECTION = "TFormMain";
const QString TAB_CAPTION = QStringLiteral("Статистика");
const QString PREFETCH_PROGRESS =
    QStringLiteral("Создание файлов для полного набора комбинаций...");

// The table's "%.2f"-style texts use the locale's decimal separator (one ASCII character).
char LocaleDecimalSeparator() {
    const QString point = QLocale().decimalPoint();
    return point.size() == 1 && point.at(0).unicode() < 128
               ? static_cast<char>(point.at(0).unicode())
               : '.';
}

} // namespace

TStatisticsTab::TStatisticsTab(Workspace& ws, QWidget* parent)
    : QWidget(parent), ws_(ws), pushedStatLen_(ws.DrawsStatLen) {
    ws_.StatTable().DecimalSeparator = LocaleDecimalSeparator();
    model_ = new TStatTableModel(ws_.StatTable(), this);
    CreateActions();
    CreateWidgets();
    ShowNormColumns();
    UpdateActions();
}

// ------------------------------------------------------------------ widgets and actions

void TStatisticsTab::CreateActions() {
    DrawsStatCalc = MakeAction(this, "DrawsStatCalc", QStringLiteral("Обновить"));
    StatFilter_Include = MakeAction(
        this, "StatFilter_Include", QStringLiteral("Оставить выделенные"),
        QStringLiteral("В списке комбинаций оставить комбинации с выделенными характеристиками"),
        QKeySequence(Qt::Key_F7));
    StatFilter_Exclude = MakeAction(
        this, "StatFilter_Exclude", QStringLiteral("Удалить выделенные"),
        QStringLiteral("Из списка комбинаций удалить комбинации с выделенными характеристиками"),
        QKeySequence(Qt::CTRL | Qt::Key_F7));
    DrawsStatePrefetchsEnabled = MakeOption(
        this, "DrawsStatePrefetchsEnabled",
        QStringLiteral("Использовать сравнение с полным набором комбинаций"), ws_.PrefetchsEnabled);
    DrawsStatShowTotalLine =
        MakeOption(this, "DrawsStatShowTotalLine",
                   QStringLiteral("График идеального распределения"), ws_.ShowTotalLine);
    DrawsStatExportToExcel = MakeAction(this, "DrawsStatExportToExcel",
                                        QStringLiteral("Экспорт статистики в Microsoft Excel"));

    connect(DrawsStatCalc, &QAction::triggered, this, &TStatisticsTab::OnCalc);
    connect(StatFilter_Include, &QAction::triggered, this, [this] { OnFilter(false); });
    connect(StatFilter_Exclude, &QAction::triggered, this, [this] { OnFilter(true); });
    connect(DrawsStatePrefetchsEnabled, &QAction::triggered, this,
            &TStatisticsTab::OnPrefetchsToggled);
    connect(DrawsStatShowTotalLine, &QAction::triggered, this,
            &TStatisticsTab::OnShowTotalLineToggled);
    connect(DrawsStatExportToExcel, &QAction::triggered, this, &TStatisticsTab::OnExport);
}

void TStatisticsTab::CreateWidgets() {
    cbDrawsStatType = new QComboBox;
    cbDrawsStatType->setObjectName(QStringLiteral("cbDrawsStatType"));
    cbDrawsStatType->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cbDrawsStatType->setMinimumContentsLength(30);
    cbDrawsStatType->setMaxVisibleItems(30);
    connect(cbDrawsStatType, &QComboBox::currentIndexChanged, this,
            &TStatisticsTab::OnMethodChosen);

    edDrawsStatLen = new QSpinBox;
    edDrawsStatLen->setObjectName(QStringLiteral("edDrawsStatLen"));
    edDrawsStatLen->setRange(1, INT_MAX);
    edDrawsStatLen->setValue(ws_.DrawsStatLen);
    edDrawsStatLen->setKeyboardTracking(false);
    edDrawsStatLen->installEventFilter(this);
    auto* lenLabel = new QLabel(QStringLiteral("Количество тиражей:"));
    lenLabel->setBuddy(edDrawsStatLen);

    auto* btnDrawsStatCalc = new QToolButton;
    btnDrawsStatCalc->setObjectName(QStringLiteral("btnDrawsStatCalc"));
    btnDrawsStatCalc->setDefaultAction(DrawsStatCalc);
    btnDrawsStatCalc->setToolButtonStyle(Qt::ToolButtonTextOnly);

    auto* top = new QHBoxLayout;
    top->setContentsMargins(4, 4, 4, 0);
    top->addWidget(cbDrawsStatType, 1);
    top->addWidget(lenLabel);
    top->addWidget(edDrawsStatLen);
    top->addWidget(btnDrawsStatCalc);

    lvDrawsStat = new QTableView;
    lvDrawsStat->setObjectName(QStringLiteral("lvDrawsStat"));
    lvDrawsStat->setModel(model_);
    lvDrawsStat->setSelectionBehavior(QAbstractItemView::SelectRows);
    lvDrawsStat->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lvDrawsStat->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lvDrawsStat->setWordWrap(false);
    lvDrawsStat->verticalHeader()->hide();
    lvDrawsStat->verticalHeader()->setDefaultSectionSize(lvDrawsStat->fontMetrics().height() + 4);
    QHeaderView* header = lvDrawsStat->horizontalHeader();
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(true);
    header->setSortIndicator(-1, Qt::AscendingOrder);
    header->setHighlightSections(false);
    connect(header, &QHeaderView::sectionClicked, this, &TStatisticsTab::OnHeaderClicked);
    connect(lvDrawsStat->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TStatisticsTab::OnSelectionChanged);
    // After every reset (a computation, a sort) the view selects what the table has selected.
    connect(model_, &QAbstractItemModel::modelReset, this,
            &TStatisticsTab::ApplySelectionFromTable);
    lvDrawsStat->setContextMenuPolicy(Qt::ActionsContextMenu);
    lvDrawsStat->addAction(StatFilter_Include);
    lvDrawsStat->addAction(StatFilter_Exclude);

    crtDrawsStat = new TStatChartView;

    Splitter = new QSplitter(Qt::Vertical);
    Splitter->setObjectName(QStringLiteral("splDrawsStat"));
    Splitter->addWidget(lvDrawsStat);
    Splitter->addWidget(crtDrawsStat);
    Splitter->setStretchFactor(0, 1);
    Splitter->setStretchFactor(1, 0);
    Splitter->setChildrenCollapsible(false);
    Splitter->installEventFilter(this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(top);
    layout->addWidget(Splitter, 1);
}

QList<QAction*> TStatisticsTab::MenuActions() const {
    return {DrawsStatCalc,          nullptr, StatFilter_Include,
            StatFilter_Exclude,     nullptr, DrawsStatePrefetchsEnabled,
            DrawsStatShowTotalLine, nullptr, DrawsStatExportToExcel};
}

void TStatisticsTab::UpdateActions() {
    const bool idle = ws_.IsIdle();
    const TStatTable& table = ws_.StatTable();
    const bool anySelected = std::any_of(table.Rows().begin(), table.Rows().end(),
                                         [](const TStatRow& row) { return row.Selected; });
    DrawsStatCalc->setEnabled(idle && !ws_.Draws().empty() && cbDrawsStatType->currentIndex() >= 0);
    const bool canFilter = idle && ws_.Combs().List.Count() > 0 && anySelected;
    StatFilter_Include->setEnabled(canFilter);
    StatFilter_Exclude->setEnabled(canFilter);
    DrawsStatePrefetchsEnabled->setEnabled(idle);
    DrawsStatePrefetchsEnabled->setChecked(ws_.PrefetchsEnabled);
    DrawsStatShowTotalLine->setEnabled(idle && ws_.PrefetchsEnabled);
    DrawsStatShowTotalLine->setChecked(ws_.ShowTotalLine);
    DrawsStatExportToExcel->setEnabled(idle && table.RowCount() > 0);
    cbDrawsStatType->setEnabled(idle);
    edDrawsStatLen->setEnabled(idle);
}

// ------------------------------------------------------------------ method list

bool TStatisticsTab::MethodListChanged() const {
    const TStatList& stats = ws_.Stats();
    const std::vector<int> listed = stats.ListedMethods(false);
    if (static_cast<int>(listed.size()) != cbDrawsStatType->count()) return true;
    for (int i = 0; i < cbDrawsStatType->count(); ++i)
        if (cbDrawsStatType->itemData(i).toInt() != listed[static_cast<std::size_t>(i)] ||
            cbDrawsStatType->itemText(i) !=
                QStr(stats.DisplayName(listed[static_cast<std::size_t>(i)], true)))
            return true;
    return false;
}

void TStatisticsTab::RefillMethods(bool keepSelection) {
    const int previous = cbDrawsStatType->currentIndex();
    int position = -1;
    {
        const QSignalBlocker quiet(cbDrawsStatType);
        cbDrawsStatType->clear();
        const TStatList& stats = ws_.Stats();
        for (int index : stats.ListedMethods(false))
            cbDrawsStatType->addItem(QStr(stats.DisplayName(index, true)), index);
        if (cbDrawsStatType->count() > 0)
            position = keepSelection && previous >= 0 && previous < cbDrawsStatType->count()
                           ? previous
                           : 0;
        cbDrawsStatType->setCurrentIndex(position);
    }
    ws_.StatMethod = position >= 0 ? cbDrawsStatType->itemData(position).toInt() : -1;
    // A rebuild of the registry clears the table: the view must not show its old rows.
    ShowTable();
}

void TStatisticsTab::OnMethodChosen(int position) {
    ws_.StatMethod = position >= 0 ? cbDrawsStatType->itemData(position).toInt() : -1;
    if (ws_.IsIdle() && !ws_.Draws().empty() && position >= 0)
        Compute(false);
    else
        UpdateActions();
}

// ------------------------------------------------------------------ computing

void TStatisticsTab::PushStatLen() {
    ws_.DrawsStatLen = edDrawsStatLen->value();
    pushedStatLen_ = ws_.DrawsStatLen;
}

void TStatisticsTab::PullWorkspaceState() {
    // Another operation (a scenario step) may have set N or the method.
    if (ws_.DrawsStatLen != pushedStatLen_) {
        const QSignalBlocker quiet(edDrawsStatLen);
        edDrawsStatLen->setValue(std::max(1, ws_.DrawsStatLen));
        pushedStatLen_ = ws_.DrawsStatLen;
    }
    const QVariant current = cbDrawsStatType->currentData();
    if (!current.isValid() || current.toInt() != ws_.StatMethod) {
        const QSignalBlocker quiet(cbDrawsStatType);
        cbDrawsStatType->setCurrentIndex(cbDrawsStatType->findData(ws_.StatMethod));
    }
}

void TStatisticsTab::Compute(bool force) {
    PushStatLen();
    ws_.ComputeStatTable(force);
    ShowTable();
}

void TStatisticsTab::RefreshView() {
    if (MethodListChanged()) RefillMethods(true);
    PullWorkspaceState();
    ws_.ComputeStatTable(false);
    ShowTable();
}

void TStatisticsTab::ShowTable() {
    model_->Refresh();
    const TStatTable& table = ws_.StatTable();
    lvDrawsStat->horizontalHeader()->setSortIndicator(
        table.SortColumn(), table.SortDescending() ? Qt::DescendingOrder : Qt::AscendingOrder);
    crtDrawsStat->Show(table.Chart());
    UpdateActions();
}

void TStatisticsTab::OnCalc() {
    if (!DrawsStatCalc->isEnabled()) return;
    Compute(true);
}

void TStatisticsTab::OnStatLenEntered() {
    edDrawsStatLen->interpretText();
    if (!ws_.IsIdle()) return;
    Compute(false);
}

bool TStatisticsTab::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edDrawsStatLen && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            OnStatLenEntered();
            return true;
        }
    }
    if (watched == Splitter && (event->type() == QEvent::Resize || event->type() == QEvent::Show) &&
        !chartPlaced_)
        PlaceChart();
    return QWidget::eventFilter(watched, event);
}

// ------------------------------------------------------------------ table

void TStatisticsTab::OnHeaderClicked(int column) {
    if (!ws_.IsIdle()) return;
    model_->ClickColumn(column);
    const TStatTable& table = ws_.StatTable();
    lvDrawsStat->horizontalHeader()->setSortIndicator(
        table.SortColumn(), table.SortDescending() ? Qt::DescendingOrder : Qt::AscendingOrder);
}

void TStatisticsTab::OnSelectionChanged() {
    if (syncingSelection_) return;
    TStatTable& table = ws_.StatTable();
    table.ClearSelection();
    const int rows = static_cast<int>(table.RowCount());
    for (const QItemSelectionRange& range : lvDrawsStat->selectionModel()->selection())
        for (int row = range.top(); row <= range.bottom() && row < rows; ++row)
            table.SelectRow(static_cast<std::size_t>(row));
    UpdateActions();
}

void TStatisticsTab::ApplySelectionFromTable() {
    const TStatTable& table = ws_.StatTable();
    QItemSelection selection;
    const int rows = std::min(model_->rowCount(), static_cast<int>(table.RowCount()));
    for (int row = 0; row < rows;) {
        if (!table.IsSelected(static_cast<std::size_t>(row))) {
            ++row;
            continue;
        }
        const int first = row;
        while (row < rows && table.IsSelected(static_cast<std::size_t>(row)))
            ++row;
        selection.select(model_->index(first, 0), model_->index(row - 1, STAT_COLUMNS - 1));
    }
    syncingSelection_ = true;
    lvDrawsStat->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    syncingSelection_ = false;
}

void TStatisticsTab::ShowNormColumns() {
    for (int column : {int(scNorm), int(scDeviation), int(scDeviationPercent)}) {
        lvDrawsStat->setColumnHidden(column, !ws_.PrefetchsEnabled);
        if (ws_.PrefetchsEnabled) lvDrawsStat->setColumnWidth(column, NORM_COLUMN_WIDTH);
    }
}

// ------------------------------------------------------------------ actions

void TStatisticsTab::OnFilter(bool exclude) {
    if (!ws_.IsIdle()) return;
    ws_.StatFilterFromTable(exclude);
    Q_EMIT CombsChanged();
    UpdateActions();
}

bool TStatisticsTab::PrefetchFilesMissing() {
    const TStatList& stats = ws_.Stats();
    for (const TStatMethod& method : stats.Methods()) {
        if (!method.StatClass->SupportsCombinations()) continue;
        std::error_code ec;
        if (!std::filesystem::exists(ws_.Prefetch().PrefetchFileName(method), ec)) return true;
    }
    return false;
}

void TStatisticsTab::OnPrefetchsToggled() {
    if (!ws_.IsIdle()) {
        UpdateActions();
        return;
    }
    ws_.PrefetchsEnabled = DrawsStatePrefetchsEnabled->isChecked();
    WriteOption("PrefetchsEnabled", ws_.PrefetchsEnabled);
    if (ws_.PrefetchsEnabled && PrefetchFilesMissing()) {
        const TOperationProgress progress(window(), PREFETCH_PROGRESS, ws_.GetHost());
        ws_.CreateAllPrefetchs(false, 0);
    }
    ShowNormColumns();
    Compute(true);
}

void TStatisticsTab::OnShowTotalLineToggled() {
    if (!ws_.IsIdle()) {
        UpdateActions();
        return;
    }
    ws_.ShowTotalLine = DrawsStatShowTotalLine->isChecked();
    WriteOption("ShowTotalLine", ws_.ShowTotalLine);
    crtDrawsStat->Clear();
    ws_.GetHost().StatusText("Создание графиков...");
    Compute(true);
    ws_.GetHost().StatusText({});
}

void TStatisticsTab::OnExport() {
    if (!ws_.IsIdle() || ws_.StatTable().RowCount() == 0) return;
    ExportViewToSpreadsheet(window(), ws_, *lvDrawsStat, TAB_CAPTION);
}

// ------------------------------------------------------------------ settings

void TStatisticsTab::WriteOption(const char* key, bool value) {
    try {
        TIniFile ini(WindowSettingsPath(ws_.DataFolder()));
        ini.WriteBool(MAIN_SECTION, key, value);
        ini.Save();
    } catch (const std::exception& e) {
        ErrorBox(window(), QStr(e.what()));
    }
}

void TStatisticsTab::LoadSettings(const TIniFile& frm) {
    int len = frm.ReadInteger(MAIN_SECTION, "DrawsStatLen", DEFAULT_STAT_LEN);
    if (len < 1) len = DEFAULT_STAT_LEN;
    {
        const QSignalBlocker quiet(edDrawsStatLen);
        edDrawsStatLen->setValue(len);
    }
    PushStatLen();
    SetChartHeight(frm.ReadInteger(MAIN_SECTION, "DrawsStatHeight", DEFAULT_CHART_HEIGHT));
    ws_.PrefetchsEnabled = frm.ReadBool(MAIN_SECTION, "PrefetchsEnabled", false);
    ws_.ShowTotalLine = frm.ReadBool(MAIN_SECTION, "ShowTotalLine", true);
    LoadColumns(frm, MAIN_SECTION, *lvDrawsStat, true);
    ShowNormColumns();
    UpdateActions();
}

void TStatisticsTab::SaveSettings(TIniFile& frm) const {
    frm.WriteInteger(MAIN_SECTION, "DrawsStatLen", edDrawsStatLen->value());
    frm.WriteInteger(MAIN_SECTION, "DrawsStatHeight", ChartHeight());
    frm.WriteBool(MAIN_SECTION, "PrefetchsEnabled", ws_.PrefetchsEnabled);
    frm.WriteBool(MAIN_SECTION, "PrefetchsInit", true);
    frm.WriteBool(MAIN_SECTION, "ShowTotalLine", ws_.ShowTotalLine);
    SaveColumns(frm, MAIN_SECTION, *lvDrawsStat, true);
}

int TStatisticsTab::ChartHeight() const {
    return chartPlaced_ ? Splitter->sizes().value(1, chartHeight_) : chartHeight_;
}

void TStatisticsTab::SetChartHeight(int height) {
    chartHeight_ = std::max(20, height);
    chartPlaced_ = false;
    PlaceChart();
}

void TStatisticsTab::PlaceChart() {
    const QList<int> sizes = Splitter->sizes();
    const int total = sizes.value(0) + sizes.value(1);
    if (!Splitter->isVisible() || total <= 0) return; // placed when the splitter is first laid out
    const int chart = std::min(chartHeight_, std::max(20, total - 20));
    Splitter->setSizes({total - chart, chart});
    chartPlaced_ = true;
}

} // namespace pelko
