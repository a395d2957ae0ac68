#include "ui/regulars/regulars_tab.h"

#include "app/stakes_workspace.h"
#include "app/workspace.h"
#include "core/record_helpers.h"
#include "core/text_forms.h"
#include "ui/common/action_buttons.h"
#include "ui/common/form_test_cnt.h"
#include "ui/common/list_views.h"
#include "ui/common/ui_actions.h"
#include "ui/regulars/form_table.h"
#include "ui/regulars/tables_model.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenu>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace pelko {

TRegularsTab::TRegularsTab(Workspace& ws, QWidget* parent) : QWidget(parent), ws_(ws) {
    setObjectName(QStringLiteral("tsTables"));
    CreateActions();
    CreateWidgets();
}

TRegularsDesk& TRegularsTab::Desk() {
    return ws_.Stakes().Regulars();
}

bool TRegularsTab::Shown() const {
    return ws_.Stakes().Options.TablesVisible;
}

void TRegularsTab::CreateActions() {
    TablesAdd = MakeAction(this, "TablesAdd", QStringLiteral("Добавить регулярную ставку"),
                           QStringLiteral("Добавить регулярную табличную ставку"));
    TablesDel = MakeAction(this, "TablesDel", QStringLiteral("Удалить регулярную ставку"),
                           QStringLiteral("Удалить выделенные регулярные табличные ставки"));
    TablesStakeAdd =
        MakeAction(this, "TablesStakeAdd", QStringLiteral("Сделать ставку по регуляру"),
                   QStringLiteral("Создать ставку по выделенному регуляру"));
    TablesStakeTest = MakeAction(this, "TablesStakeTest", QStringLiteral("Тест регуляров"),
                                 QStringLiteral("Тестирование регулярных ставок"));
    connect(TablesAdd, &QAction::triggered, this, &TRegularsTab::OnAdd);
    connect(TablesDel, &QAction::triggered, this, &TRegularsTab::OnDelete);
    connect(TablesStakeAdd, &QAction::triggered, this, &TRegularsTab::OnStakeAdd);
    connect(TablesStakeTest, &QAction::triggered, this, &TRegularsTab::OnTest);
}

void TRegularsTab::CreateWidgets() {
    model_ = new TTablesModel(Desk(), this);
    lvTables = MakeListView(this, QStringLiteral("lvTables"), model_);
    lvTables->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lvTables->setSortingEnabled(false);
    lvTables->horizontalHeader()->setSectionsClickable(false);
    lvTables->setColumnWidth(TTablesModel::colComment, 200);
    lvTables->setColumnWidth(TTablesModel::colStart, 150);
    lvTables->setColumnWidth(TTablesModel::colCurrent, 150);
    lvTables->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(lvTables, &QTableView::customContextMenuRequested, this, [this](const QPoint& at) {
        if (!ws_.IsIdle()) return;
        QMenu menu(this);
        AddMenuActions(menu, MenuActions());
        menu.exec(lvTables->viewport()->mapToGlobal(at));
    });
    connect(lvTables->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TRegularsTab::UpdateActions);

    LayOutButtonsAbove(this, MakeActionButtons(this, {TablesAdd, TablesDel, TablesStakeAdd, TablesStakeTest}), lvTables);
}

QList<QAction*> TRegularsTab::MenuActions() const {
    return {TablesAdd, TablesDel, nullptr, TablesStakeAdd, TablesStakeTest};
}

std::vector<std::size_t> TRegularsTab::SelectedRules() const {
    std::vector<std::size_t> rows;
    for (const QModelIndex& index : lvTables->selectionModel()->selectedRows())
        rows.push_back(static_cast<std::size_t>(index.row()));
    std::sort(rows.begin(), rows.end());
    return rows;
}

void TRegularsTab::UpdateActions() {
    const bool ready = ws_.IsIdle() && Shown();
    const bool selected = ready && lvTables->selectionModel()->hasSelection();
    TablesAdd->setEnabled(ready);
    TablesDel->setEnabled(selected);
    TablesStakeAdd->setEnabled(selected);
    TablesStakeTest->setEnabled(selected);
}

void TRegularsTab::TablesChanged() {
    model_->Refresh();
    UpdateActions();
}

void TRegularsTab::OnAdd() {
    if (!ws_.IsIdle() || !Shown()) return;
    const auto selected = SelectedCombs ? SelectedCombs() : decltype(SelectedCombs())();
    std::string start;
    if (selected.size() == 1) {
        TComb comb = selected.front().second;
        std::sort(comb.begin(), comb.end());
        start = NumberSetToText(CombToNumberSet(comb), ";");
    }
    TTableDialogInput input;
    if (!TFormTable::Execute(window(), Desk().Tables(), selected.size(), start, input)) return;
    Desk().Add(input, selected);
}

void TRegularsTab::OnDelete() {
    if (!ws_.IsIdle() || !Shown()) return;
    const std::vector<std::size_t> rows = SelectedRules();
    if (rows.empty()) return;
    if (Desk().Delete(rows)) lvTables->clearSelection();
}

void TRegularsTab::OnStakeAdd() {
    if (!ws_.IsIdle() || !Shown() || !EditStake) return;
    const std::vector<std::size_t> rows = SelectedRules();
    if (rows.empty()) return;
    const QModelIndex current = lvTables->currentIndex();
    const std::size_t row =
        current.isValid() && lvTables->selectionModel()->isRowSelected(current.row())
            ? static_cast<std::size_t>(current.row())
            : rows.front();
    auto prepared = Desk().PrepareStake(row, ws_.Combs().List.Count());
    if (!prepared) return;
    TStakeData stake = prepared->second;
    int drawsCount = 1;
    if (!EditStake(stake, drawsCount)) return;
    ws_.Stakes().PriceStake(stake);
    Desk().CommitStake(row, prepared->first, stake, drawsCount);
}

void TRegularsTab::OnTest() {
    if (!ws_.IsIdle() || !Shown()) return;
    const std::vector<std::size_t> rows = SelectedRules();
    const int draws = static_cast<int>(ws_.Draws().size());
    if (rows.empty() || draws < 2) return;
    const int n = TFormTestCnt::AskTestCount(window(), draws - 1);
    if (n <= 0) return;
    Desk().Test(rows, n, ws_.Combs().List.Count());
}

} // namespace pelko
