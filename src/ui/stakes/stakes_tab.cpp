#include "ui/stakes/stakes_tab.h"

#include "app/stakes_workspace.h"
#include "app/workspace.h"
#include "core/ini_file.h"
#include "core/record_helpers.h"
#include "stakes/stake_grid.h"
#include "stakes/stake_making.h"
#include "ui/common/list_views.h"
#include "ui/combs/combs_page.h"
#include "ui/shell/form_main.h"
#include "ui/stakes/form_multi.h"
#include "ui/stakes/form_stake.h"
#include "ui/stakes/form_stake_filter.h"
#include "ui/common/spreadsheet_view_export.h"
#include "ui/stakes/stakes_delegate.h"
#include "ui/stakes/stakes_model.h"
#include "ui/common/ui_actions.h"
#include "ui/common/ui_text.h"
#include "ui/shell/window_settings.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenu>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace pelko {

namespace {

constexpr const char* SECTION = TFormMain::SECTION;

// The column's design width, widened when this platform's font needs more room for the
// header or for six two-digit numbers.
int DesignWidth(const QTableView& grid, int column) {
    const QFontMetrics header(grid.horizontalHeader()->font());
    int width = std::max(StakeColumnWidth(column),
                         header.horizontalAdvance(QStr(StakeColumnCaption(column))) + 16);
    if (column == scolNumbers || column == scolResult)
        width = std::max(
            width, grid.fontMetrics().horizontalAdvance(QStringLiteral("00;00;00;00;00;00")) + 16);
    return width;
}

} // namespace

TStakesTab::TStakesTab(Workspace& ws, TCombsPage& combs, QWidget* parent)
    : QWidget(parent), ws_(ws), combs_(combs) {
    setObjectName(QStringLiteral("tsStakes"));
    CreateActions();
    CreateWidgets();
}

TStakesDesk& TStakesTab::Desk() {
    return ws_.Stakes();
}

void TStakesTab::CreateActions() {
    StakeAdd = MakeAction(this, "StakeAdd", QStringLiteral("Сделать ставку"), {},
                          QKeySequence(Qt::Key_F4));
    StakeAddRandom = MakeAction(this, "StakeAddRandom", QStringLiteral("Сделать случайную ставку"),
                                {}, QKeySequence(QStringLiteral("Ctrl+F4")));
    StakeAddRandom->setIconText(QStringLiteral("Случайная ставка"));
    StakeAddSelected = MakeAction(this, "StakeAddSelected",
                                  QStringLiteral("Сделать ставки для выделенных комбинаций"), {},
                                  QKeySequence(QStringLiteral("Alt+F4")));
    StakeAddAll =
        MakeAction(this, "StakeAddAll", QStringLiteral("Сделать ставки для всех комбинаций"), {},
                   QKeySequence(QStringLiteral("Ctrl+Alt+F4")));
    StakeDel = MakeAction(this, "StakeDel", QStringLiteral("Удалить ставку"), {},
                          QKeySequence(QStringLiteral("Ctrl+Del")));
    StakeFilter = MakeAction(this, "StakeFilter", QStringLiteral("Удалить по условию"), {},
                             QKeySequence(QStringLiteral("Alt+D")));
    StakeClear = MakeAction(this, "StakeClear", QStringLiteral("Удалить все ставки"), {},
                            QKeySequence(QStringLiteral("Ctrl+Shift+Del")));
    StakesCheckManual = MakeAction(this, "StakesCheckManual", QStringLiteral("Проверить ставки"),
                                   QStringLiteral("Выполнить проверку ставок по архиву тиражей"),
                                   QKeySequence(QStringLiteral("Ctrl+F5")));
    const TStakesOptions& options = Desk().Options;
    LogStakes = MakeOption(this, "LogStakes", QStringLiteral("Журналы ставок"), options.LogEnabled);
    LogStakesDelete = MakeAction(this, "LogStakesDelete", QStringLiteral("Удалить журналы ставок"));
    StakesScroll =
        MakeOption(this, "StakesScroll", QStringLiteral("Прокручивать список при добавлении"),
                   options.ScrollEnabled);
    StakesCheckLine = MakeOption(this, "StakesCheckLine",
                                 QStringLiteral("Проверять ставки после каждой строки сценария"),
                                 options.CheckOnLine);
    StakesXlsExport =
        MakeAction(this, "StakesXlsExport", QStringLiteral("Экспорт ставок в Microsoft Excel"));
    StakesXlsExport->setIconText(QStringLiteral("Экспорт в Excel"));

    connect(StakeAdd, &QAction::triggered, this, &TStakesTab::OnAdd);
    connect(StakeAddRandom, &QAction::triggered, this, &TStakesTab::OnAddRandom);
    connect(StakeAddSelected, &QAction::triggered, this, [this] { OnAddForCombs(true); });
    connect(StakeAddAll, &QAction::triggered, this, [this] { OnAddForCombs(false); });
    connect(StakeDel, &QAction::triggered, this, &TStakesTab::OnDelete);
    connect(StakeFilter, &QAction::triggered, this, &TStakesTab::OnFilter);
    connect(StakeClear, &QAction::triggered, this, &TStakesTab::OnClear);
    connect(StakesCheckManual, &QAction::triggered, this, &TStakesTab::OnCheck);
    connect(LogStakes, &QAction::triggered, this, &TStakesTab::OnToggleLog);
    connect(LogStakesDelete, &QAction::triggered, this, &TStakesTab::OnDeleteLogs);
    connect(StakesScroll, &QAction::triggered, this, &TStakesTab::OnToggleScroll);
    connect(StakesCheckLine, &QAction::triggered, this, &TStakesTab::OnToggleCheckLine);
    connect(StakesXlsExport, &QAction::triggered, this, &TStakesTab::OnExport);
}

void TStakesTab::CreateWidgets() {
    model_ = new TStakesModel(Desk(), this);
    sgStakes = MakeListView(this, QStringLiteral("sgStakes"), model_);
    sgStakes->setItemDelegate(new TStakesDelegate(*model_, sgStakes));
    // Deleting takes one range of rows.
    sgStakes->setSelectionMode(QAbstractItemView::ContiguousSelection);
    // The column header would ask whether each column is wholly selected, walking the rows.
    sgStakes->horizontalHeader()->setSelectionModel(new QItemSelectionModel(model_, sgStakes));
    for (int c = 0; c < scolCount; ++c)
        sgStakes->setColumnWidth(c, DesignWidth(*sgStakes, c));
    sgStakes->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(sgStakes, &QTableView::customContextMenuRequested, this, [this](const QPoint& at) {
        if (!ws_.IsIdle()) return;
        QMenu menu(this);
        AddMenuActions(menu, MenuActions());
        if (!popupActions_.isEmpty()) {
            menu.addSeparator();
            AddMenuActions(menu, popupActions_);
        }
        menu.exec(sgStakes->viewport()->mapToGlobal(at));
    });
    connect(sgStakes->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TStakesTab::UpdateActions);
    connect(combs_.lvCombs->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TStakesTab::UpdateActions);

    auto* buttons = buttons_ = new QHBoxLayout;
    auto addButton = [&](QAction* action) {
        auto* button = new QToolButton(this);
        button->setDefaultAction(action);
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
        buttons->addWidget(button);
    };
    addButton(StakeAdd);
    addButton(StakeAddRandom);
    buttons->addSpacing(8);
    addButton(StakeFilter);
    addButton(StakeClear);
    buttons->addSpacing(8);
    addButton(StakesXlsExport);
    buttons->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addLayout(buttons);
    layout->addWidget(sgStakes, 1);

    // Ctrl+Del deletes stakes here and combinations in their list.
    StakeDel->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(StakeDel);
}

QList<QAction*> TStakesTab::MenuActions() const {
    QList<QAction*> actions{StakeAdd,        StakeAddRandom,    StakeAddSelected, StakeAddAll,
                            nullptr,         StakeDel,          StakeFilter,      StakeClear,
                            nullptr,         StakesCheckManual, nullptr,          LogStakes,
                            LogStakesDelete, StakesScroll,      StakesCheckLine,  nullptr,
                            StakesXlsExport};
    if (!foreign_.isEmpty()) actions << nullptr << foreign_;
    return actions;
}

void TStakesTab::AddForeignAction(QAction* action) {
    foreign_ << action;
    auto* button = new QToolButton(this);
    button->setDefaultAction(action);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    // It may be squeezed rather than hold the window wider than its settings say.
    button->setMinimumWidth(24);
    // Before the stretch that ends the row.
    buttons_->insertWidget(buttons_->count() - 1, button);
}

void TStakesTab::AddPopupActions(const QList<QAction*>& actions) {
    popupActions_ += actions;
}

QList<QAction*> TStakesTab::CombsActions() const {
    return {StakeAdd, StakeAddRandom, StakeAddSelected, StakeAddAll};
}

bool TStakesTab::FileHasStakes() {
    return Desk().IsOpen() && Desk().StakesCount() > 0;
}

void TStakesTab::UpdateActions() {
    const bool idle = ws_.IsIdle();
    const bool open = Desk().IsOpen();
    const bool stakes = FileHasStakes();
    const bool combs = ws_.Combs().List.Count() > 0;
    const bool combsSelected = combs && combs_.lvCombs->selectionModel()->hasSelection();
    StakeAdd->setEnabled(idle && open);
    StakeAddRandom->setEnabled(idle && open && combs);
    StakeAddSelected->setEnabled(idle && open && combsSelected);
    StakeAddAll->setEnabled(idle && open && combs);
    StakeDel->setEnabled(idle && stakes && sgStakes->selectionModel()->hasSelection());
    StakeFilter->setEnabled(idle && stakes);
    StakeClear->setEnabled(idle && stakes);
    StakesCheckManual->setEnabled(idle && stakes);
    LogStakes->setEnabled(idle);
    LogStakesDelete->setEnabled(idle);
    StakesScroll->setEnabled(idle);
    StakesCheckLine->setEnabled(idle);
    StakesXlsExport->setEnabled(idle && stakes);
    const TStakesOptions& options = Desk().Options;
    LogStakes->setChecked(options.LogEnabled);
    StakesScroll->setChecked(options.ScrollEnabled);
    StakesCheckLine->setChecked(options.CheckOnLine);
}

void TStakesTab::StakesChanged(bool refresh, bool scroll) {
    pendingRefresh_ = pendingRefresh_ || refresh;
    pendingScroll_ = pendingScroll_ || scroll;
    if (!pendingRefresh_ && !pendingScroll_) return;
    if (ws_.IsIdle()) {
        FollowFile();
        return;
    }
    // A long operation (a scenario run) appends stake after stake: the grid follows once
    // per pass of the event loop, not once per stake.
    if (followQueued_) return;
    followQueued_ = true;
    QTimer::singleShot(0, this, [this] {
        followQueued_ = false;
        FollowFile();
    });
}

void TStakesTab::FollowFile() {
    const bool scroll = pendingScroll_;
    pendingRefresh_ = pendingScroll_ = false;
    model_->Refresh();
    if (scroll && model_->rowCount() > 0) {
        const QModelIndex last = model_->index(model_->rowCount() - 1, 0);
        sgStakes->setCurrentIndex(last);
        sgStakes->scrollTo(last);
    }
}

void TStakesTab::RecordsChanged() {
    model_->DropCache();
    sgStakes->viewport()->update();
}

// ------------------------------------------------------------------ settings

void TStakesTab::LoadSettings(const TIniFile& frm) {
    TStakesOptions& options = Desk().Options;
    options.LogEnabled = frm.ReadBool(SECTION, "StakesLogEnabled", options.LogEnabled);
    options.ScrollEnabled = frm.ReadBool(SECTION, "StakesScrollEnabled", options.ScrollEnabled);
    options.CheckOnLine = frm.ReadBool(SECTION, "StakesCheckOnLine", options.CheckOnLine);
    LoadColumns(frm, SECTION, *sgStakes, false);
    UpdateActions();
}

void TStakesTab::SaveSettings(TIniFile& frm) const {
    SaveColumns(frm, SECTION, *sgStakes, false);
}

// ------------------------------------------------------------------ making

void TStakesTab::AddThroughDialog(TStakeData stake) {
    int drawsCount = 1;
    if (!TFormStake::Execute(window(), stake, drawsCount)) return;
    Desk().PriceStake(stake);
    Desk().AddStake(stake, drawsCount);
}

void TStakesTab::OnAdd() {
    if (!ws_.IsIdle() || !Desk().IsOpen()) return;
    TStakeData stake = Desk().NewStake(ws_.Combs().List.Count());
    if (auto comb = ws_.Combs().FirstSelected(combs_.Selection())) {
        std::sort(comb->begin(), comb->end());
        stake.Numbers = CombToNumberSet(*comb);
    }
    AddThroughDialog(stake);
}

void TStakesTab::OnAddRandom() {
    if (!ws_.IsIdle() || !Desk().IsOpen()) return;
    if (const auto stake = Desk().NewRandomStake(ws_.Combs().List)) AddThroughDialog(*stake);
}

void TStakesTab::OnAddForCombs(bool selectedOnly) {
    const TCombList& list = ws_.Combs().List;
    if (!ws_.IsIdle() || !Desk().IsOpen() || list.Count() == 0) return;
    const TCombSelection selection = combs_.Selection();
    if (selectedOnly && selection.Empty()) return;
    TMultiStakeInput input;
    input.DrawNumber = Desk().NextDrawNumber();
    input.Comment = MANUAL_STAKE_COMMENT;
    if (!TFormMulti::Execute(window(), input)) return;
    Desk().AddStakesForCombs(list, selectedOnly ? &selection : nullptr, input.DrawNumber,
                             input.Comment, input.DrawsCount);
    if (selectedOnly) combs_.lvCombs->clearSelection();
}

// ------------------------------------------------------------------ deleting

void TStakesTab::OnDelete() {
    if (!ws_.IsIdle() || !FileHasStakes()) return;
    int first = -1, last = -1;
    for (const QItemSelectionRange& range : sgStakes->selectionModel()->selection()) {
        if (!range.isValid()) continue;
        first = first < 0 ? range.top() : std::min(first, range.top());
        last = std::max(last, range.bottom());
    }
    if (first < 0) return;
    // Grid rows count from 1 below the header.
    if (Desk().DeleteStakeRows(first + 1, last + 1)) sgStakes->clearSelection();
}

void TStakesTab::OnFilter() {
    if (!ws_.IsIdle() || !FileHasStakes()) return;
    int condition = scEqual, value = 0;
    if (!TFormStakeFilter::Execute(window(), condition, value)) return;
    Desk().DeleteStakesByCondition(condition, value);
}

void TStakesTab::OnClear() {
    if (ws_.IsIdle() && FileHasStakes()) Desk().ClearStakes();
}

void TStakesTab::OnCheck() {
    if (!ws_.IsIdle() || !FileHasStakes()) return;
    Desk().CheckStakesAndSave();
    StakesChanged(true, false);
}

// ------------------------------------------------------------------ options and logs

void TStakesTab::OnToggleLog() {
    if (!ws_.IsIdle()) return;
    TStakesOptions& options = Desk().Options;
    options.LogEnabled = !options.LogEnabled;
    Q_EMIT OptionToggled(QStringLiteral("StakesLogEnabled"), options.LogEnabled);
}

void TStakesTab::OnToggleScroll() {
    if (!ws_.IsIdle()) return;
    TStakesOptions& options = Desk().Options;
    options.ScrollEnabled = !options.ScrollEnabled;
    Q_EMIT OptionToggled(QStringLiteral("StakesScrollEnabled"), options.ScrollEnabled);
}

void TStakesTab::OnToggleCheckLine() {
    if (!ws_.IsIdle()) return;
    TStakesOptions& options = Desk().Options;
    options.CheckOnLine = !options.CheckOnLine;
    Q_EMIT OptionToggled(QStringLiteral("StakesCheckOnLine"), options.CheckOnLine);
}

void TStakesTab::OnDeleteLogs() {
    if (ws_.IsIdle()) Desk().DeleteStakeLogs();
}

// ------------------------------------------------------------------ export

void TStakesTab::OnExport() {
    if (!ws_.IsIdle() || !FileHasStakes()) return;
    // Straight from the file, row by row: the numbers stay numbers in the sheet.
    std::vector<int> columns;
    TSheetTable table = SheetColumnsFromView(*sgStakes, QStringLiteral("Ставки"), columns);
    table.RowCount = static_cast<std::size_t>(model_->rowCount());
    TStakesModel* model = model_;
    table.FillRow = [model, columns](std::size_t row, std::vector<TSheetCell>& cells) {
        const TStakeData& stake = model->Stake(static_cast<int>(row));
        for (std::size_t c = 0; c < columns.size(); ++c) {
            const int column = columns[c];
            const std::string text = StakeCellText(stake, column);
            const bool number = !text.empty() && (column == scolDraw || column == scolSample ||
                                                  column == scolMatchCount);
            if (number)
                cells[c] = TSheetCell::Of(std::stod(text));
            else if (column == scolProfit && !text.empty())
                cells[c] = TSheetCell::Of(MoneyToDouble(stake.Profit));
            else
                cells[c] = TSheetCell::Of(text);
        }
    };
    ExportToSpreadsheet(window(), ws_, table);
}

} // namespace pelko
