#include "ui/ratings/ratings_tab.h"

#include "app/ratings_desk.h"
#include "app/script_desk.h"
#include "app/stakes_workspace.h"
#include "app/workspace.h"
#include "core/ini_file.h"
#include "stakes/rating_view.h"
#include "ui/common/action_buttons.h"
#include "ui/common/form_graph.h"
#include "ui/common/list_views.h"
#include "ui/common/spreadsheet_view_export.h"
#include "ui/common/ui_actions.h"
#include "ui/common/ui_seams.h"
#include "ui/common/ui_text.h"
#include "ui/ratings/ratings_model.h"

#include <QActionGroup>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLocale>
#include <QMenu>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdio>
#include <string>

namespace pelko {

namespace {

// The main window's section; the tab may not see the shell.
constexpr const char* SECTION = "TFormMain";

const char* const EFF_MODE_CAPTIONS[3] = {"Ожидаемые значения совпадений",
                                          "Абсолютные значения эффективности",
                                          "Относительные значения эффективности"};
const char* const EFF_MODE_HINTS[3] = {"Показывать расчетные значения количества совпадений",
                                       "Показывать абсолютные изменения эффективности ставок",
                                       "Показывать относительные изменения эффективности ставок"};

} // namespace

TRatingsTab::TRatingsTab(Workspace& ws, QWidget* parent) : QWidget(parent), ws_(ws) {
    setObjectName(QStringLiteral("tsRatings"));
    CreateActions();
    CreateWidgets();
}

TRatingsDesk& TRatingsTab::Desk() {
    return ws_.Stakes().Ratings();
}

void TRatingsTab::CreateActions() {
    RatingsRefresh = MakeAction(this, "RatingsRefresh", QStringLiteral("Обновить рейтинг"), {},
                                QKeySequence(Qt::Key_F5));
    RatingsRefresh->setIconText(QStringLiteral("Пересчитать рейтинг по текущим данным"));
    RatingsToScript = MakeAction(this, "RatingsToScript", QStringLiteral("Добавить в сценарий"));
    RatingsExport =
        MakeAction(this, "RatingsExport", QStringLiteral("Экспорт рейтинга в CSV-файл"));
    RatingsXlsExport =
        MakeAction(this, "RatingsXlsExport", QStringLiteral("Экспорт рейтинга в Microsoft Excel"));
    RatingsXlsExport->setIconText(QStringLiteral("Экспорт в Excel"));
    StakesGraphOverlap =
        MakeAction(this, "StakesGraphOverlap", QStringLiteral("График совпадений ставок"), {},
                   QKeySequence(QStringLiteral("Ctrl+F6")));
    StakesGraphProfits =
        MakeAction(this, "StakesGraphProfits", QStringLiteral("График профита ставок"), {},
                   QKeySequence(QStringLiteral("Alt+F6")));
    RatingsGraphOverlap =
        MakeAction(this, "RatingsGraphOverlap", QStringLiteral("Количество совпадений"));
    StakesGraphDraws =
        MakeAction(this, "StakesGraphDraws", QStringLiteral("Суммарный профит по тиражам"), {},
                   QKeySequence(Qt::Key_F6));
    effModes_ = new QMenu(QStringLiteral("Значения эффективности"), this);
    effModes_->setObjectName(QStringLiteral("mnRatingsEffMode"));
    auto* modes = new QActionGroup(this);
    for (int i = 0; i < 3; ++i) {
        const QByteArray name = "RatingsEffMode" + QByteArray::number(i);
        RatingsEffMode[i] = MakeOption(this, name.constData(), QStr(EFF_MODE_CAPTIONS[i]),
                                       i == ws_.Stakes().Options.EffMode, QStr(EFF_MODE_HINTS[i]));
        modes->addAction(RatingsEffMode[i]);
        effModes_->addAction(RatingsEffMode[i]);
        connect(RatingsEffMode[i], &QAction::triggered, this, [this, i] { OnEffMode(i); });
    }

    connect(RatingsRefresh, &QAction::triggered, this, &TRatingsTab::OnRefresh);
    connect(RatingsToScript, &QAction::triggered, this, &TRatingsTab::OnToScript);
    connect(RatingsExport, &QAction::triggered, this, &TRatingsTab::OnExport);
    connect(RatingsXlsExport, &QAction::triggered, this, &TRatingsTab::OnXlsExport);
    connect(StakesGraphOverlap, &QAction::triggered, this, [this] { OnGraphRows(false); });
    connect(StakesGraphProfits, &QAction::triggered, this, [this] { OnGraphRows(true); });
    connect(RatingsGraphOverlap, &QAction::triggered, this, &TRatingsTab::OnGraphDistribution);
    connect(StakesGraphDraws, &QAction::triggered, this, &TRatingsTab::OnGraphDraws);
}

void TRatingsTab::CreateWidgets() {
    model_ = new TRatingsModel(Desk(), ws_.Stakes().Options, this);
    lvRatings = MakeListView(this, QStringLiteral("lvRatings"), model_);
    lvRatings->setSelectionMode(QAbstractItemView::ExtendedSelection);
    for (int c = 0; c < rcColumnCount; ++c)
        lvRatings->setColumnWidth(c, RatingColumnWidth(c));
    QHeaderView* header = lvRatings->horizontalHeader();
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(true);
    ShowSortIndicator();
    // The header flips its indicator on a click; the desk does the sorting.
    connect(header, &QHeaderView::sortIndicatorChanged, this, &TRatingsTab::OnHeaderSort);
    connect(lvRatings, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.isValid() && RatingsGraphOverlap->isEnabled()) RatingsGraphOverlap->trigger();
    });
    lvRatings->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(lvRatings, &QTableView::customContextMenuRequested, this, [this](const QPoint& at) {
        UpdateActions();
        QMenu menu(this);
        AddMenuActions(menu, MenuActions());
        menu.exec(lvRatings->viewport()->mapToGlobal(at));
    });
    connect(lvRatings->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TRatingsTab::UpdateActions);

    LayOutButtonsAbove(this, MakeActionButtons(this, {RatingsRefresh, RatingsXlsExport}), lvRatings);
}

QList<QAction*> TRatingsTab::MenuActions() const {
    return {RatingsRefresh,
            nullptr,
            RatingsToScript,
            nullptr,
            RatingsExport,
            RatingsXlsExport,
            nullptr,
            StakesGraphOverlap,
            StakesGraphProfits,
            RatingsGraphOverlap,
            nullptr,
            effModes_->menuAction()};
}

bool TRatingsTab::StakesFileHasStakes() {
    return ws_.Stakes().IsOpen() && ws_.Stakes().StakesCount() > 0;
}

std::vector<std::size_t> TRatingsTab::SelectedRows() const {
    std::vector<std::size_t> rows;
    for (const QModelIndex& index : lvRatings->selectionModel()->selectedRows())
        rows.push_back(static_cast<std::size_t>(index.row()));
    std::sort(rows.begin(), rows.end());
    return rows;
}

void TRatingsTab::UpdateActions() {
    const bool idle = ws_.IsIdle();
    const bool stakes = StakesFileHasStakes();
    const bool rows = !Desk().Rows().Empty();
    const bool selected = rows && lvRatings->selectionModel()->hasSelection();
    RatingsRefresh->setEnabled(idle && ws_.Stakes().IsOpen());
    RatingsToScript->setEnabled(idle && selected);
    RatingsExport->setEnabled(idle && rows);
    RatingsXlsExport->setEnabled(idle && rows);
    // Graphs only read: they may be drawn while an operation runs.
    StakesGraphOverlap->setEnabled(stakes && selected);
    StakesGraphProfits->setEnabled(stakes && selected);
    RatingsGraphOverlap->setEnabled(selected);
    StakesGraphDraws->setEnabled(idle && stakes);
    const int mode = ws_.Stakes().Options.EffMode;
    for (int i = 0; i < 3; ++i) {
        RatingsEffMode[i]->setEnabled(idle);
        RatingsEffMode[i]->setChecked(i == mode);
    }
}

void TRatingsTab::RatingsChanged() {
    model_->Refresh();
    ShowSortIndicator();
    lvRatings->viewport()->update();
}

void TRatingsTab::ShowSortIndicator() {
    const TStakesOptions& options = ws_.Stakes().Options;
    const QSignalBlocker quiet(lvRatings->horizontalHeader());
    lvRatings->horizontalHeader()->setSortIndicator(
        options.SortColumn, options.SortDescending ? Qt::DescendingOrder : Qt::AscendingOrder);
}

void TRatingsTab::OnHeaderSort(int column, Qt::SortOrder order) {
    if (!ws_.IsIdle()) {
        ShowSortIndicator();
        return;
    }
    lvRatings->clearSelection();
    model_->sort(column, order);
    RatingsChanged();
}

// ------------------------------------------------------------------ settings

void TRatingsTab::LoadSettings(const TIniFile& frm) {
    TStakesOptions& options = ws_.Stakes().Options;
    const int mode = frm.ReadInteger(SECTION, "RatingsEffMode", options.EffMode);
    if (mode >= emExpected && mode <= emRelative) options.EffMode = mode;
    int column = -1, direction = 0;
    if (std::sscanf(frm.ReadString(SECTION, "lvRatings.SortType").c_str(), "%d,%d", &column,
                    &direction) == 2 &&
        column >= 0 && column < rcColumnCount) {
        options.SortColumn = column;
        options.SortDescending = direction == 1;
    }
    // The header must not sort now: the desk would save the rating before loading it.
    QHeaderView* header = lvRatings->horizontalHeader();
    for (int c = 0; c < header->count(); ++c) {
        const int width = frm.ReadInteger(SECTION, "lvRatings.Column" + std::to_string(c), -1);
        if (width > 0) header->resizeSection(c, width);
    }
    ShowSortIndicator();
    UpdateActions();
}

void TRatingsTab::SaveSettings(TIniFile& frm) const {
    const QHeaderView* header = lvRatings->horizontalHeader();
    for (int c = 0; c < header->count(); ++c)
        frm.WriteInteger(SECTION, "lvRatings.Column" + std::to_string(c), header->sectionSize(c));
    const TStakesOptions& options = ws_.Stakes().Options;
    frm.WriteString(SECTION, "lvRatings.SortType",
                    std::to_string(options.SortColumn) + "," +
                        std::to_string(options.SortDescending ? 1 : 0));
}

// ------------------------------------------------------------------ actions

void TRatingsTab::OnRefresh() {
    if (!ws_.IsIdle() || !ws_.Stakes().IsOpen()) return;
    Desk().Refresh();
    RatingsChanged();
}

void TRatingsTab::OnToScript() {
    const std::vector<std::size_t> rows = SelectedRows();
    if (!ws_.IsIdle() || rows.empty()) return;
    TScriptDesk& script = ws_.Script();
    const int added = Desk().ToScript(rows, [&](const std::string& line) {
        return IsAcceptableScriptLine(ws_.Stats(), line) &&
               script.AddScriptLine(line) != static_cast<std::size_t>(-1);
    });
    if (added > 0) Q_EMIT ScriptLinesAdded();
}

void TRatingsTab::OnExport() {
    if (!ws_.IsIdle() || Desk().Rows().Empty()) return;
    const QString file = TUiSeams::Current().SaveFileName(
        window(), QStringLiteral("Экспорт рейтинга в CSV-файл"),
        QStringLiteral("CSV-файлы (*.csv)"), QStringLiteral("csv"));
    if (file.isEmpty()) return;
    const QString point = QLocale::system().decimalPoint();
    Desk().ExportCsv(PathOf(file), point.size() == 1 ? point[0].toLatin1() : '.');
}

void TRatingsTab::OnXlsExport() {
    if (ws_.IsIdle() && !Desk().Rows().Empty())
        ExportViewToSpreadsheet(window(), ws_, *lvRatings, QStringLiteral("Рейтинг"));
}

void TRatingsTab::OnGraphRows(bool profits) {
    const std::vector<std::size_t> rows = SelectedRows();
    if (rows.empty() || !StakesFileHasStakes()) return;
    if (const auto graph = Desk().GraphRowsPerDraw(rows, profits))
        TFormGraph::Execute(window(), *graph);
}

void TRatingsTab::OnGraphDistribution() {
    const std::vector<std::size_t> rows = SelectedRows();
    if (!rows.empty()) TFormGraph::Execute(window(), Desk().GraphRowsDistribution(rows));
}

void TRatingsTab::OnGraphDraws() {
    if (!ws_.IsIdle() || !StakesFileHasStakes()) return;
    if (const auto graph = Desk().GraphProfitPerDraw()) TFormGraph::Execute(window(), *graph);
}

void TRatingsTab::OnEffMode(int mode) {
    if (!ws_.IsIdle()) return;
    ws_.Stakes().Options.EffMode = mode;
    Q_EMIT SettingChanged(QStringLiteral("RatingsEffMode"), mode);
    RatingsChanged();
}

} // namespace pelko
