#include "ui/analysis/layout_tab.h"

#include "app/workspace.h"
#include "core/draw_archive.h"
#include "core/ini_file.h"
#include "stats/analysis/draw_layout.h"
#include "ui/analysis/layout_compare_model.h"
#include "ui/analysis/layout_model.h"
#include "ui/analysis/pane_splitter.h"
#include "ui/common/action_buttons.h"
#include "ui/common/list_views.h"
#include "ui/common/spreadsheet_view_export.h"
#include "ui/common/ui_actions.h"
#include "ui/common/ui_text.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <string>

namespace pelko {

namespace {

// The main window's section; the tab may not see the shell.
constexpr const char* SECTION = "TFormMain";
constexpr const char* GRADIENT = "LayoutGradient";
constexpr const char* LAYOUT_LEN = "LayoutLen";
constexpr const char* COMPARE_HEIGHT = "LayoutCompareHeight";
constexpr int CELL_HEIGHT = 18;
constexpr int COLUMN_PADDING = 10;

std::string CompareLenKey(int list) {
    return "LayoutCompareLen" + std::to_string(list + 1);
}

int ReadLength(const TIniFile& frm, const std::string& key, int def) {
    const int value = frm.ReadInteger(SECTION, key, def);
    return value >= 1 ? value : def;
}

} // namespace

TLayoutTab::TLayoutTab(Workspace& ws, QWidget* parent) : QWidget(parent), ws_(ws) {
    setObjectName(QStringLiteral("tsLayout"));
    CreateActions();
    CreateWidgets();
    UpdateActions();
}

void TLayoutTab::CreateActions() {
    LayoutCalc = MakeAction(this, "LayoutCalc", QStringLiteral("Обновить"),
                            QStringLiteral("Пересчитать схему"));
    LayoutCmpCalc = MakeAction(this, "LayoutCmpCalc", QStringLiteral("Обновить"),
                               QStringLiteral("Пересчитать таблицы сравнения"));
    LayoutFilter_Include = MakeAction(
        this, "LayoutFilter_Include", QStringLiteral("Оставить выделенные"),
        QStringLiteral("В списке комбинаций оставить комбинации с выделенными значениями"));
    LayoutFilter_Exclude = MakeAction(
        this, "LayoutFilter_Exclude", QStringLiteral("Удалить выделенные"),
        QStringLiteral("Из списка комбинаций удалить комбинации с выделенными  значениями"));
    const QString exportCaption = QStringLiteral("Экспорт схемы в Microsoft Excel");
    LayoutXlsExport = MakeAction(this, "LayoutXlsExport", exportCaption, exportCaption);
    LayoutXlsExport->setIconText(QStringLiteral("Экспорт в Excel"));
    ViewShemaGradient =
        MakeOption(this, "ViewShemaGradient", QStringLiteral("Градиентная раскраска схемы"), true,
                   QStringLiteral("Градиентная раскраска схемы выпадения номеров"));

    connect(LayoutCalc, &QAction::triggered, this, [this] { RefreshLayout(true); });
    connect(LayoutCmpCalc, &QAction::triggered, this, [this] { RefreshLayoutCompare(true); });
    connect(LayoutFilter_Include, &QAction::triggered, this, [this] { OnFilter(false); });
    connect(LayoutFilter_Exclude, &QAction::triggered, this, [this] { OnFilter(true); });
    connect(LayoutXlsExport, &QAction::triggered, this, &TLayoutTab::OnExport);
    connect(ViewShemaGradient, &QAction::triggered, this, &TLayoutTab::OnGradientToggled);
}

void TLayoutTab::CreateWidgets() {
    edLayoutLen = MakeLengthEdit(this, "edLayoutLen", DEFAULT_LAYOUT_LEN, {},
                                 [this] { RefreshLayout(false); });
    auto* lenLabel = new QLabel(QStringLiteral("Тиражей:"), this);
    lenLabel->setBuddy(edLayoutLen);
    QHBoxLayout* top = MakeActionButtons(
        this, {LayoutCalc, LayoutFilter_Include, LayoutFilter_Exclude, LayoutXlsExport});
    top->insertWidget(0, lenLabel);
    top->insertWidget(1, edLayoutLen);

    model_ = new TLayoutModel(this);
    sgLayout = MakeGridView(this, QStringLiteral("sgLayout"), model_, 40,
                            std::max(CELL_HEIGHT, fontMetrics().height() + 4));
    sgLayout->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(sgLayout, &QTableView::customContextMenuRequested, this, [this](const QPoint& at) {
        UpdateActions();
        QMenu menu(this);
        AddMenuActions(menu,
                       {LayoutFilter_Include, LayoutFilter_Exclude, nullptr, LayoutXlsExport});
        menu.exec(sgLayout->viewport()->mapToGlobal(at));
    });
    connect(sgLayout->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TLayoutTab::UpdateActions);

    auto* mapPane = new QWidget(this);
    auto* mapLayout = new QVBoxLayout(mapPane);
    mapLayout->setContentsMargins(0, 0, 0, 0);
    mapLayout->addLayout(top);
    mapLayout->addWidget(sgLayout, 1);

    Splitter = new TPaneSplitter(QStringLiteral("splLayout"), mapPane, CreateComparePane(),
                                 DEFAULT_COMPARE_HEIGHT, this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(Splitter, 1);
}

QWidget* TLayoutTab::CreateComparePane() {
    auto* pane = new QWidget(this);
    auto* lists = new QHBoxLayout;
    lists->setContentsMargins(0, 0, 0, 0);
    for (int i = 0; i < COMPARE_LISTS; ++i) {
        const QByteArray edit = "edLayoutCmp" + QByteArray::number(i + 1);
        edLayoutCmp[i] = MakeLengthEdit(
            pane, edit.constData(), DEFAULT_COMPARE_LENS[i],
            QStringLiteral("Количество тиражей, использующихся для расчета статистики в списке %1")
                .arg(i + 1),
            [this] { RefreshLayoutCompare(true); });
        compareModels_[i] = new TLayoutCompareModel(this);
        QTableView* list =
            MakeListView(pane, QStringLiteral("lvLayoutCmp%1").arg(i + 1), compareModels_[i]);
        QHeaderView* header = list->horizontalHeader();
        header->setStretchLastSection(true);
        header->setSectionsClickable(true);
        header->setSortIndicatorShown(true);
        header->setSortIndicator(TLayoutCompareModel::colCount, Qt::DescendingOrder);
        list->setSortingEnabled(true);
        // Room for the caption and the sort indicator.
        list->setColumnWidth(TLayoutCompareModel::colCount,
                             header->fontMetrics().horizontalAdvance(QStringLiteral("Кол-во")) +
                                 24);
        lvLayoutCmp[i] = list;
        // Five abreast must not widen the main window: each may shrink to a narrow column.
        edLayoutCmp[i]->setMinimumWidth(60);
        edLayoutCmp[i]->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
        list->setMinimumWidth(60);

        auto* column = new QVBoxLayout;
        column->addWidget(edLayoutCmp[i]);
        column->addWidget(list, 1);
        lists->addLayout(column, 1); // every list a fifth of the width
    }
    QHBoxLayout* buttons = MakeActionButtons(pane, {LayoutCmpCalc});
    buttons->insertWidget(0, new QLabel(QStringLiteral("Сравнение:"), pane));
    auto* layout = new QVBoxLayout(pane);
    layout->setContentsMargins(0, 2, 0, 0);
    layout->addLayout(buttons);
    layout->addLayout(lists, 1);
    return pane;
}

QList<QAction*> TLayoutTab::ViewMenuActions() const {
    return {ViewShemaGradient};
}

void TLayoutTab::SetShown(bool shown) {
    shown_ = shown;
    if (shown_) RefreshView(false);
    UpdateActions();
}

void TLayoutTab::RefreshLayout(bool force) {
    if (!shown_) return;
    const TRefreshKey key{DrawsFingerprint(ws_.Draws()), static_cast<int>(ws_.Draws().size()), ws_.DrawsOffset(),
                          edLayoutLen->value()};
    if (!force && key == layoutKey_) return;
    {
        TBusyScope busy(ws_.Busy(), ws_.GetHost(), "Построение схемы выпадения номеров...");
        model_->SetMap(MakeLayoutMap(ws_.Draws(), key.Offset, key.Length));
    }
    layoutKey_ = key;
    FitColumns();
    UpdateActions();
}

void TLayoutTab::RefreshLayoutCompare(bool force) {
    if (!shown_) return;
    const TRefreshKey key{DrawsFingerprint(ws_.Draws()), static_cast<int>(ws_.Draws().size()), ws_.DrawsOffset(), -1};
    if (!force && key == compareKey_) return;
    {
        TBusyScope busy(ws_.Busy(), ws_.GetHost());
        for (int i = 0; i < COMPARE_LISTS; ++i)
            compareModels_[i]->SetCompare(
                MakeLayoutCompare(ws_.Draws(), key.Offset, edLayoutCmp[i]->value()));
    }
    compareKey_ = key;
    UpdateActions();
}

void TLayoutTab::RefreshView(bool force) {
    RefreshLayout(force);
    RefreshLayoutCompare(force);
}

void TLayoutTab::FitColumns() {
    const QFontMetrics cells(sgLayout->font());
    const QFontMetrics headers(sgLayout->horizontalHeader()->font());
    for (int column = 0; column < model_->columnCount(); ++column) {
        int width =
            headers.horizontalAdvance(model_->headerData(column, Qt::Horizontal).toString());
        for (int row = 0; row < model_->rowCount(); ++row)
            width = std::max(width, cells.horizontalAdvance(QStr(model_->CellText(row, column))));
        sgLayout->setColumnWidth(column, width + COLUMN_PADDING);
    }
}

void TLayoutTab::UpdateActions() {
    const bool ready = ws_.IsIdle() && shown_;
    const bool draws = ready && !ws_.Draws().empty();
    LayoutCalc->setEnabled(draws);
    LayoutCmpCalc->setEnabled(draws);
    const bool filter = ready && ws_.Combs().List.Count() > 0;
    LayoutFilter_Include->setEnabled(filter);
    LayoutFilter_Exclude->setEnabled(filter);
    // The map's columns with its header column.
    LayoutXlsExport->setEnabled(ready && model_->columnCount() + 1 > 2);
    ViewShemaGradient->setEnabled(ready);
    edLayoutLen->setEnabled(ws_.IsIdle());
    for (QSpinBox* edit : edLayoutCmp)
        edit->setEnabled(ws_.IsIdle());
}

void TLayoutTab::OnFilter(bool exclude) {
    if (!ws_.IsIdle() || !shown_ || ws_.Combs().List.Count() == 0) return;
    TNumbersPick pick;
    if (const auto bounds = SelectionBounds(*sgLayout))
        pick = PickLayoutNumbers(model_->Map(), bounds->top(), bounds->left(), bounds->bottom(),
                                 bounds->right());
    ws_.NumbersFilter(pick, exclude, "Схема");
    Q_EMIT CombsChanged();
    UpdateActions();
}

void TLayoutTab::OnExport() {
    if (!LayoutXlsExport->isEnabled()) return;
    ExportToSpreadsheet(
        window(), ws_,
        SheetWithRowHeaders(*sgLayout, QStringLiteral("Схема"), QStringLiteral("Кол-во")));
}

void TLayoutTab::OnGradientToggled() {
    if (!ws_.IsIdle() || !shown_) {
        ViewShemaGradient->setChecked(!ViewShemaGradient->isChecked()); // the toggle is refused
        return;
    }
    model_->SetGradient(ViewShemaGradient->isChecked());
    Q_EMIT SettingChanged(QString::fromLatin1(GRADIENT), ViewShemaGradient->isChecked() ? 1 : 0);
}

void TLayoutTab::LoadSettings(const TIniFile& frm) {
    ViewShemaGradient->setChecked(frm.ReadBool(SECTION, GRADIENT, true));
    model_->SetGradient(ViewShemaGradient->isChecked());
    {
        const QSignalBlocker quiet(edLayoutLen);
        edLayoutLen->setValue(ReadLength(frm, LAYOUT_LEN, DEFAULT_LAYOUT_LEN));
    }
    for (int i = 0; i < COMPARE_LISTS; ++i) {
        const QSignalBlocker quiet(edLayoutCmp[i]);
        edLayoutCmp[i]->setValue(ReadLength(frm, CompareLenKey(i), DEFAULT_COMPARE_LENS[i]));
    }
    Splitter->SetBottomHeight(frm.ReadInteger(SECTION, COMPARE_HEIGHT, DEFAULT_COMPARE_HEIGHT));
    UpdateActions();
}

void TLayoutTab::SaveSettings(TIniFile& frm) const {
    frm.WriteBool(SECTION, GRADIENT, ViewShemaGradient->isChecked());
    frm.WriteInteger(SECTION, LAYOUT_LEN, edLayoutLen->value());
    for (int i = 0; i < COMPARE_LISTS; ++i)
        frm.WriteInteger(SECTION, CompareLenKey(i), edLayoutCmp[i]->value());
    frm.WriteInteger(SECTION, COMPARE_HEIGHT, Splitter->BottomHeight());
}

} // namespace pelko
