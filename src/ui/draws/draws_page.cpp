#include "ui/draws/draws_page.h"

#include "app/workspace.h"
#include "core/draw_archive.h"
#include "ui/common/action_buttons.h"
#include "ui/common/list_views.h"
#include "ui/draws/draws_model.h"
#include "ui/common/file_filters.h"
#include "ui/draws/form_draw.h"
#include "ui/common/spreadsheet_view_export.h"
#include "ui/common/ui_actions.h"
#include "ui/common/ui_seams.h"
#include "ui/common/ui_text.h"

#include "ui/common/form_info.h"

#include <QHeaderView>
#include <QMenu>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace pelko {

TDrawsPage::TDrawsPage(Workspace& ws, TViewOptions& options, QWidget* parent)
    : QWidget(parent), ws_(ws), options_(options) {
    setObjectName(QStringLiteral("tsDraws"));
    CreateActions();

    model_ = new TDrawsModel(ws_, options_, this);
    lvDraws = MakeListView(this, QStringLiteral("lvDraws"), model_);
    lvDraws->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lvDraws->horizontalHeader()->setStretchLastSection(true);
    lvDraws->setColumnWidth(TDrawsModel::colNumber, 60);
    for (int c = TDrawsModel::colN1; c <= TDrawsModel::colSum; ++c)
        lvDraws->setColumnWidth(c, 32);
    lvDraws->setColumnWidth(TDrawsModel::colDate, 110);
    lvDraws->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(lvDraws, &QTableView::customContextMenuRequested, this, [this](const QPoint& at) {
        if (!ws_.IsIdle()) return;
        QMenu menu(this);
        AddMenuActions(menu, MenuActions());
        menu.exec(lvDraws->viewport()->mapToGlobal(at));
    });
    connect(lvDraws, &QTableView::doubleClicked, DrawsInfo, &QAction::trigger);
    connect(lvDraws->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TDrawsPage::UpdateActions);

    LayOutButtonsAbove(this, MakeActionButtons(this, {DrawsAdd, DrawsEdit, DrawsDel, DrawsInfo}), lvDraws);
    UpdateActions();
}

void TDrawsPage::CreateActions() {
    DrawsInfo = MakeAction(this, "DrawsInfo", QStringLiteral("Сведения о тираже"),
                           QStringLiteral("Просмотр подробных сведений о тираже"));
    DrawsImport = MakeAction(this, "DrawsImport", QStringLiteral("Импорт из CSV-файла"),
                             QStringLiteral("Импорт списка тиражей из CSV-файла"));
    DrawsExport = MakeAction(this, "DrawsExport", QStringLiteral("Экспорт в CSV-файл"),
                             QStringLiteral("Экспорт списка тиражей в CSV-файл"));
    DrawsXlsExport = MakeAction(this, "DrawsXlsExport", QStringLiteral("Экспорт в Microsoft Excel"),
                                QStringLiteral("Экспорт списка тиражей в Microsoft Excel"));
    DrawsAdd = MakeAction(this, "DrawsAdd", QStringLiteral("Добавить"),
                          QStringLiteral("Добавить данные тиража вручную"));
    DrawsEdit = MakeAction(this, "DrawsEdit", QStringLiteral("Изменить"),
                           QStringLiteral("Изменить данные тиража вручную"));
    DrawsDel = MakeAction(this, "DrawsDel", QStringLiteral("Удалить"),
                          QStringLiteral("Удалить выделенные тиражи из списка"));
    DrawsSorted =
        MakeOption(this, "DrawsSorted", QStringLiteral("Упорядочить MIN->MAX"), ws_.SortedDraws(),
                   QStringLiteral("Упорядочить числа внутри тиража от меньшего к большему"));
    ViewColorDraws =
        MakeOption(this, "ViewColorDraws", QStringLiteral("Выделять каналы в списке тиражей"),
                   options_.ColorDraws);

    connect(DrawsInfo, &QAction::triggered, this, &TDrawsPage::OnInfo);
    connect(DrawsImport, &QAction::triggered, this, &TDrawsPage::OnImport);
    connect(DrawsExport, &QAction::triggered, this, &TDrawsPage::OnExport);
    connect(DrawsXlsExport, &QAction::triggered, this, &TDrawsPage::OnXlsExport);
    connect(DrawsAdd, &QAction::triggered, this, &TDrawsPage::OnAdd);
    connect(DrawsEdit, &QAction::triggered, this, &TDrawsPage::OnEdit);
    connect(DrawsDel, &QAction::triggered, this, &TDrawsPage::OnDelete);
    connect(DrawsSorted, &QAction::triggered, this, &TDrawsPage::OnSorted);
    connect(ViewColorDraws, &QAction::triggered, this, &TDrawsPage::OnColorDraws);
}

QList<QAction*> TDrawsPage::MenuActions() const {
    return {DrawsInfo, nullptr,   DrawsImport, DrawsExport, DrawsXlsExport, nullptr,
            DrawsAdd,  DrawsEdit, DrawsDel,    nullptr,     DrawsSorted};
}

void TDrawsPage::UpdateActions() {
    const bool idle = ws_.IsIdle();
    const bool hasDraws = !ws_.Draws().empty();
    const bool selected = lvDraws->selectionModel()->hasSelection();
    DrawsInfo->setEnabled(idle && selected);
    DrawsImport->setEnabled(idle);
    DrawsExport->setEnabled(idle && hasDraws);
    DrawsXlsExport->setEnabled(idle && hasDraws);
    DrawsAdd->setEnabled(idle);
    DrawsEdit->setEnabled(idle && selected);
    DrawsDel->setEnabled(idle && selected);
    DrawsSorted->setEnabled(idle);
    DrawsSorted->setChecked(ws_.SortedDraws());
    ViewColorDraws->setEnabled(idle);
    ViewColorDraws->setChecked(options_.ColorDraws);
}

void TDrawsPage::UpdateView(bool force) {
    model_->Refresh(force);
}

std::vector<std::int32_t> TDrawsPage::SelectedNumbers() const {
    QModelIndexList rows = lvDraws->selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    std::vector<std::int32_t> numbers;
    for (const QModelIndex& row : rows) {
        const int index = model_->ArchiveIndex(row.row());
        if (index >= 0) numbers.push_back(ws_.Draws()[index].Number);
    }
    return numbers;
}

int TDrawsPage::FirstSelectedIndex() const {
    int first = -1;
    for (const QModelIndex& row : lvDraws->selectionModel()->selectedRows())
        if (first < 0 || row.row() < first) first = row.row();
    return first < 0 ? -1 : model_->ArchiveIndex(first);
}

void TDrawsPage::OnAdd() {
    if (!ws_.IsIdle()) return;
    TDrawData draw;
    draw.Number = NextDrawNumber(ws_.Draws(), 0);
    if (!TFormDraw::EditDrawDialog(window(), QStringLiteral("Введите данные следующего тиража"),
                                   draw))
        return;
    ws_.AddDraw(draw);
}

void TDrawsPage::OnEdit() {
    const int index = FirstSelectedIndex();
    if (!ws_.IsIdle() || index < 0) return;
    TDrawData draw = ws_.Draws()[index];
    if (!TFormDraw::EditDrawDialog(window(), QStringLiteral("Введите данные следующего тиража"),
                                   draw))
        return;
    ws_.ReplaceDraw(index, draw);
}

void TDrawsPage::OnDelete() {
    const std::vector<std::int32_t> numbers = SelectedNumbers();
    if (!ws_.IsIdle() || numbers.empty()) return;
    if (ws_.DeleteDraws(numbers)) lvDraws->clearSelection();
}

void TDrawsPage::OnInfo() {
    const int index = FirstSelectedIndex();
    if (!ws_.IsIdle() || index < 0) return;
    const TDrawData& draw = ws_.Draws()[index];
    TComb numbers;
    for (int i = 0; i < LOTTO_COUNT; ++i)
        numbers[i] = draw.Nums[i];
    TFormInfo::ShowDetails(window(), ws_, draw.Number, draw.DateText(), numbers, ws_.SortedDraws(),
                           index);
}

void TDrawsPage::OnImport() {
    if (!ws_.IsIdle()) return;
    const QString file =
        TUiSeams::Current().OpenFileName(window(), DrawsImport->text(), DrawsFileFilter());
    if (!file.isEmpty()) ws_.ImportDrawsCsv(PathOf(file));
}

void TDrawsPage::OnExport() {
    if (!ws_.IsIdle() || ws_.Draws().empty()) return;
    const QString file = TUiSeams::Current().SaveFileName(window(), DrawsExport->text(),
                                                          DrawsFileFilter(), QStringLiteral("csv"));
    if (!file.isEmpty()) ws_.ExportDrawsCsv(PathOf(file));
}

void TDrawsPage::OnXlsExport() {
    if (!ws_.IsIdle() || ws_.Draws().empty()) return;
    ExportViewToSpreadsheet(window(), ws_, *lvDraws, QStringLiteral("Архив тиражей"));
}

void TDrawsPage::OnSorted() {
    if (!ws_.IsIdle()) return;
    const bool sorted = !ws_.SortedDraws();
    Q_EMIT OptionToggled(QStringLiteral("SortedDraws"), sorted);
    ws_.SetSortedDraws(sorted); // repaints the list and refreshes the views
}

void TDrawsPage::OnColorDraws() {
    if (!ws_.IsIdle()) return;
    options_.ColorDraws = !options_.ColorDraws;
    Q_EMIT OptionToggled(QStringLiteral("ColorDraws"), options_.ColorDraws);
    model_->Refresh(false);
}

} // namespace pelko
