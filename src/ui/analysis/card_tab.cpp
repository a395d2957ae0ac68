#include "ui/analysis/card_tab.h"

#include "app/workspace.h"
#include "core/draw_archive.h"
#include "core/ini_file.h"
#include "stats/analysis/draw_card.h"
#include "ui/analysis/analysis_grids.h"
#include "ui/analysis/card_model.h"
#include "ui/common/action_buttons.h"
#include "ui/common/list_views.h"
#include "ui/common/spreadsheet_view_export.h"
#include "ui/common/ui_actions.h"

#include <QHeaderView>
#include <QMenu>
#include <QTableView>

#include <algorithm>

namespace pelko {

namespace {

// The main window's section; the tab may not see the shell.
constexpr const char* SECTION = "TFormMain";
constexpr const char* COLOR_CARD = "ColorCard";
constexpr const char* COLOR_SEQUENCES = "ColorCardSequences";
constexpr int CELL_SIZE = 18;

} // namespace

TCardTab::TCardTab(Workspace& ws, QWidget* parent) : QWidget(parent), ws_(ws) {
    setObjectName(QStringLiteral("tsCard"));
    CreateActions();
    CreateWidgets();
    ApplyColors();
    UpdateActions();
}

void TCardTab::CreateActions() {
    CardFilter_Include = MakeAction(
        this, "CardFilter_Include", QStringLiteral("Оставить выделенные"),
        QStringLiteral("В списке комбинаций оставить комбинации с выделенными значениями"));
    CardFilter_Exclude = MakeAction(
        this, "CardFilter_Exclude", QStringLiteral("Удалить выделенные"),
        QStringLiteral("Из списка комбинаций удалить комбинации с выделенными  значениями"));
    const QString exportCaption = QStringLiteral("Экспорт карты тиражей в Microsoft Excel");
    CardXlsExport = MakeAction(this, "CardXlsExport", exportCaption, exportCaption);
    CardXlsExport->setIconText(QStringLiteral("Экспорт в Excel"));
    ViewColorCard =
        MakeOption(this, "ViewColorCard", QStringLiteral("Выделять каналы в карте тиражей"), true,
                   QStringLiteral("Выделять цветами каналы в карте тиражей"));
    ViewColorCardSequences =
        MakeOption(this, "ViewColorCardSequences",
                   QStringLiteral("Выделять последовательности в карте тиражей"), true,
                   QStringLiteral("Выделять цветами последовательности в карте тиражей"));

    connect(CardFilter_Include, &QAction::triggered, this, [this] { OnFilter(false); });
    connect(CardFilter_Exclude, &QAction::triggered, this, [this] { OnFilter(true); });
    connect(CardXlsExport, &QAction::triggered, this, &TCardTab::OnExport);
    connect(ViewColorCard, &QAction::triggered, this,
            [this] { OnColorOption(ViewColorCard, COLOR_CARD); });
    connect(ViewColorCardSequences, &QAction::triggered, this,
            [this] { OnColorOption(ViewColorCardSequences, COLOR_SEQUENCES); });
}

void TCardTab::CreateWidgets() {
    model_ = new TCardModel(this);
    const QFontMetrics metrics = fontMetrics();
    sgCard = MakeGridView(this, QStringLiteral("sgCard"), model_,
                          std::max(CELL_SIZE, metrics.horizontalAdvance(QStringLiteral("45")) + 10),
                          std::max(CELL_SIZE, metrics.height() + 2));
    sgCard->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    sgCard->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(sgCard, &QTableView::customContextMenuRequested, this, [this](const QPoint& at) {
        UpdateActions();
        QMenu menu(this);
        AddMenuActions(menu, {CardFilter_Include, CardFilter_Exclude, nullptr, CardXlsExport});
        menu.exec(sgCard->viewport()->mapToGlobal(at));
    });
    connect(sgCard->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TCardTab::UpdateActions);

    LayOutButtonsAbove(
        this, MakeActionButtons(this, {CardFilter_Include, CardFilter_Exclude, CardXlsExport}),
        sgCard);
}

QList<QAction*> TCardTab::ViewMenuActions() const {
    return {ViewColorCard, ViewColorCardSequences};
}

void TCardTab::SetShown(bool shown) {
    shown_ = shown;
    if (shown_) RefreshView(false);
    UpdateActions();
}

void TCardTab::ApplyColors() {
    model_->SetColors(ViewColorCard->isChecked(), ViewColorCardSequences->isChecked(),
                      ws_.Config().ChannelSize);
}

void TCardTab::RefreshCard(bool force) {
    if (!shown_) return;
    ApplyColors(); // the channel size may have changed with the parameters
    const std::uint64_t fingerprint = DrawsFingerprint(ws_.Draws());
    if (!force && model_->rowCount() == static_cast<int>(ws_.Draws().size()) &&
        fingerprint == fingerprint_)
        return;
    fingerprint_ = fingerprint;
    {
        TBusyScope busy(ws_.Busy(), ws_.GetHost(), "Обновление карты тиражей...");
        model_->SetCard(TDrawCard(ws_.Draws()));
    }
    UpdateActions();
}

void TCardTab::RefreshView(bool force) {
    RefreshCard(force);
}

bool TCardTab::CanFilter() const {
    // Every column is a number: any selection lies within them.
    return ws_.IsIdle() && shown_ && ws_.Combs().List.Count() > 0 &&
           SelectionBounds(*sgCard).has_value();
}

void TCardTab::UpdateActions() {
    const bool ready = ws_.IsIdle() && shown_;
    const bool filter = CanFilter();
    CardFilter_Include->setEnabled(filter);
    CardFilter_Exclude->setEnabled(filter);
    CardXlsExport->setEnabled(ready && model_->rowCount() > 0);
    ViewColorCard->setEnabled(ready);
    ViewColorCardSequences->setEnabled(ready);
}

void TCardTab::OnFilter(bool exclude) {
    if (!CanFilter()) return;
    const QRect bounds = *SelectionBounds(*sgCard);
    const TNumbersPick pick = PickCardNumbers(model_->Card(), bounds.top(), bounds.left() + 1,
                                              bounds.bottom(), bounds.right() + 1);
    ws_.NumbersFilter(pick, exclude, "Карта");
    Q_EMIT CombsChanged();
    UpdateActions();
}

void TCardTab::OnExport() {
    if (!ws_.IsIdle() || !shown_ || model_->rowCount() == 0) return;
    ExportToSpreadsheet(
        window(), ws_,
        SheetWithRowHeaders(*sgCard, QStringLiteral("Карта"), QStringLiteral("Тираж")));
}

void TCardTab::OnColorOption(QAction* option, const char* key) {
    if (!ws_.IsIdle() || !shown_) {
        option->setChecked(!option->isChecked()); // the toggle is refused
        return;
    }
    ApplyColors();
    Q_EMIT SettingChanged(QString::fromLatin1(key), option->isChecked() ? 1 : 0);
}

void TCardTab::LoadSettings(const TIniFile& frm) {
    ViewColorCard->setChecked(frm.ReadBool(SECTION, COLOR_CARD, true));
    ViewColorCardSequences->setChecked(frm.ReadBool(SECTION, COLOR_SEQUENCES, true));
    ApplyColors();
    UpdateActions();
}

void TCardTab::SaveSettings(TIniFile& frm) const {
    frm.WriteBool(SECTION, COLOR_CARD, ViewColorCard->isChecked());
    frm.WriteBool(SECTION, COLOR_SEQUENCES, ViewColorCardSequences->isChecked());
}

} // namespace pelko
