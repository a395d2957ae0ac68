#include "ui/analysis/week_tab.h"

#include "app/workspace.h"
#include "core/draw_archive.h"
#include "core/ini_file.h"
#include "stats/analysis/numbers_pick.h"
#include "stats/analysis/week_stats.h"
#include "ui/analysis/pane_splitter.h"
#include "ui/analysis/week_chart_view.h"
#include "ui/analysis/week_model.h"
#include "ui/common/action_buttons.h"
#include "ui/common/list_views.h"
#include "ui/common/ui_actions.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace pelko {

namespace {

// The main window's section; the tab may not see the shell.
constexpr const char* SECTION = "TFormMain";
constexpr const char* WEEK_LEN = "WeekLen";
constexpr const char* WEEK_HEIGHT = "WeekHeight";
constexpr const char* CHART_MODE = "WeekChartMode";
constexpr const char* CHART_TYPE = "WeekChartType";
constexpr int CELL_SIZE = 18;

// Wide enough for the largest count (and for "45" in the header).
int CellWidth(const QFontMetrics& metrics, int max) {
    return std::max(CELL_SIZE, metrics.horizontalAdvance(QString::number(std::max(max, 45))) + 10);
}

} // namespace

TWeekTab::TWeekTab(Workspace& ws, QWidget* parent) : QWidget(parent), ws_(ws) {
    setObjectName(QStringLiteral("tsWeek"));
    CreateActions();
    CreateWidgets();
    RefreshWeekChart();
    UpdateActions();
}

void TWeekTab::CreateActions() {
    WeekStatCalc = MakeAction(this, "WeekStatCalc", QStringLiteral("Обновить"),
                              QStringLiteral("Пересчитать статистику по выбранным параметрам"));
    WeekFilter_Include = MakeAction(
        this, "WeekFilter_Include", QStringLiteral("Оставить выделенные"),
        QStringLiteral("В списке комбинаций оставить комбинации с выделенными значениями"));
    WeekFilter_Exclude = MakeAction(
        this, "WeekFilter_Exclude", QStringLiteral("Удалить выделенные"),
        QStringLiteral("Из списка комбинаций удалить комбинации с выделенными  значениями"));
    ViewWeekChartMode =
        MakeOption(this, "ViewWeekChartMode", QStringLiteral("График по дням недели"), false,
                   QStringLiteral("Режим графика на вкладке \"дни недели\""));
    ViewWeekChartType = MakeOption(this, "ViewWeekChartType", QStringLiteral("График / диаграмма"),
                                   false, QStringLiteral("Вид графика на вкладке \"Дни недели\""));

    connect(WeekStatCalc, &QAction::triggered, this, [this] { RefreshWeek(true); });
    connect(WeekFilter_Include, &QAction::triggered, this, [this] { OnFilter(false); });
    connect(WeekFilter_Exclude, &QAction::triggered, this, [this] { OnFilter(true); });
    connect(ViewWeekChartMode, &QAction::triggered, this,
            [this] { OnChartOption(ViewWeekChartMode, CHART_MODE); });
    connect(ViewWeekChartType, &QAction::triggered, this,
            [this] { OnChartOption(ViewWeekChartType, CHART_TYPE); });
}

void TWeekTab::CreateWidgets() {
    edWeekLen =
        MakeLengthEdit(this, "edWeekLen", DEFAULT_WEEK_LEN, {}, [this] { RefreshWeek(false); });
    auto* lenLabel = new QLabel(QStringLiteral("Количество тиражей:"), this);
    lenLabel->setBuddy(edWeekLen);
    QHBoxLayout* top =
        MakeActionButtons(this, {WeekStatCalc, WeekFilter_Include, WeekFilter_Exclude});
    top->insertWidget(0, lenLabel);
    top->insertWidget(1, edWeekLen);

    model_ = new TWeekModel(this);
    const QFontMetrics metrics = fontMetrics();
    sgWeek = MakeGridView(this, QStringLiteral("sgWeek"), model_, CellWidth(metrics, 0),
                          std::max(CELL_SIZE, metrics.height() + 4));
    sgWeek->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(sgWeek, &QTableView::customContextMenuRequested, this, [this](const QPoint& at) {
        UpdateActions();
        QMenu menu(this);
        AddMenuActions(menu, {WeekFilter_Include, WeekFilter_Exclude, nullptr, ViewWeekChartMode,
                              ViewWeekChartType});
        menu.exec(sgWeek->viewport()->mapToGlobal(at));
    });
    connect(sgWeek->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &TWeekTab::RefreshWeekChart);

    crtWeek = new TWeekChartView(this);
    crtWeek->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(crtWeek, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        UpdateActions();
        QMenu menu(this);
        AddMenuActions(menu, ViewMenuActions());
        menu.exec(crtWeek->mapToGlobal(at));
    });

    auto* gridPane = new QWidget(this);
    auto* gridLayout = new QVBoxLayout(gridPane);
    gridLayout->setContentsMargins(0, 0, 0, 0);
    gridLayout->addLayout(top);
    gridLayout->addWidget(sgWeek, 1);

    Splitter =
        new TPaneSplitter(QStringLiteral("splWeek"), gridPane, crtWeek, DEFAULT_CHART_HEIGHT, this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(Splitter, 1);
}

QList<QAction*> TWeekTab::ViewMenuActions() const {
    return {ViewWeekChartMode, ViewWeekChartType};
}

void TWeekTab::SetShown(bool shown) {
    shown_ = shown;
    if (shown_) RefreshView(false);
    UpdateActions();
}

void TWeekTab::RefreshWeek(bool force) {
    if (!shown_) return;
    const TRefreshKey key{DrawsFingerprint(ws_.Draws()), static_cast<int>(ws_.Draws().size()), ws_.DrawsOffset(),
                          edWeekLen->value()};
    if (!force && key == key_) return;
    {
        TBusyScope busy(ws_.Busy(), ws_.GetHost(), "Построение статистики по дням недели...");
        model_->SetCounts(ComputeWeekCounts(ws_.Draws(), key.Offset, key.Length));
    }
    sgWeek->horizontalHeader()->setDefaultSectionSize(
        CellWidth(sgWeek->fontMetrics(), model_->Counts().Max));
    key_ = key;
    RefreshWeekChart();
    UpdateActions();
}

void TWeekTab::RefreshWeekChart() {
    const QModelIndex current = sgWeek->currentIndex();
    const int row = current.isValid() ? current.row() : 0;
    const int column = current.isValid() ? current.column() : 0;
    QStringList labels;
    QList<int> values;
    QString title;
    if (ViewWeekChartMode->isChecked()) {
        for (int day = 0; day < TWeekModel::DAYS; ++day) {
            labels.append(model_->DayName(day));
            values.append(model_->Count(day, column));
        }
        title = QString::number(column + 1);
    } else {
        for (int number = 0; number < LOTTO_MAX; ++number) {
            labels.append(QString::number(number + 1));
            values.append(model_->Count(row, number));
        }
        title = model_->DayName(row);
    }
    crtWeek->Show(title, labels, values, ViewWeekChartType->isChecked());
}

void TWeekTab::RefreshView(bool force) {
    RefreshWeek(force);
}

void TWeekTab::UpdateActions() {
    const bool ready = ws_.IsIdle() && shown_;
    WeekStatCalc->setEnabled(ready && !ws_.Draws().empty());
    const bool filter = ready && ws_.Combs().List.Count() > 0;
    WeekFilter_Include->setEnabled(filter);
    WeekFilter_Exclude->setEnabled(filter);
    ViewWeekChartMode->setEnabled(ready);
    ViewWeekChartType->setEnabled(ready);
    edWeekLen->setEnabled(ws_.IsIdle());
}

void TWeekTab::OnFilter(bool exclude) {
    if (!ws_.IsIdle() || !shown_ || ws_.Combs().List.Count() == 0) return;
    TNumbersPick pick;
    if (const auto bounds = SelectionBounds(*sgWeek))
        pick = PickColumns(bounds->left() + 1, bounds->right() + 1);
    ws_.NumbersFilter(pick, exclude, "Неделя");
    Q_EMIT CombsChanged();
    UpdateActions();
}

void TWeekTab::OnChartOption(QAction* option, const char* key) {
    if (!ws_.IsIdle() || !shown_) {
        option->setChecked(!option->isChecked()); // the toggle is refused
        return;
    }
    RefreshWeekChart();
    Q_EMIT SettingChanged(QString::fromLatin1(key), option->isChecked() ? 1 : 0);
}

void TWeekTab::LoadSettings(const TIniFile& frm) {
    int len = frm.ReadInteger(SECTION, WEEK_LEN, DEFAULT_WEEK_LEN);
    if (len < 1) len = DEFAULT_WEEK_LEN;
    {
        const QSignalBlocker quiet(edWeekLen);
        edWeekLen->setValue(len);
    }
    Splitter->SetBottomHeight(frm.ReadInteger(SECTION, WEEK_HEIGHT, DEFAULT_CHART_HEIGHT));
    ViewWeekChartMode->setChecked(frm.ReadInteger(SECTION, CHART_MODE, cmNumbers) == cmWeekdays);
    ViewWeekChartType->setChecked(frm.ReadBool(SECTION, CHART_TYPE, false));
    RefreshWeekChart();
    UpdateActions();
}

void TWeekTab::SaveSettings(TIniFile& frm) const {
    frm.WriteInteger(SECTION, WEEK_LEN, edWeekLen->value());
    frm.WriteInteger(SECTION, WEEK_HEIGHT, Splitter->BottomHeight());
    frm.WriteInteger(SECTION, CHART_MODE, ViewWeekChartMode->isChecked() ? cmWeekdays : cmNumbers);
    frm.WriteBool(SECTION, CHART_TYPE, ViewWeekChartType->isChecked());
}

} // namespace pelko
