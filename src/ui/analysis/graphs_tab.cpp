#include "ui/analysis/graphs_tab.h"

#include "app/busy_state.h"
#include "app/workspace.h"
#include "charts/analysis_graphs.h"
#include "charts/graph_chart.h"
#include "core/draw_archive.h"
#include "core/ini_file.h"
#include "stats/analysis/draw_graph.h"
#include "stats/custom_stat.h"
#include "ui/analysis/analysis_grids.h"
#include "ui/common/graph_view.h"
#include "ui/common/message_boxes.h"
#include "ui/common/ui_actions.h"
#include "ui/common/ui_text.h"

#include <QAction>
#include <QChart>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineSeries>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <stdexcept>

namespace pelko {
namespace {

constexpr const char* SECTION = "TFormMain";

} // namespace

TGraphsTab::TGraphsTab(Workspace& ws, QWidget* parent) : QWidget(parent), ws_(ws) {
    setObjectName(QStringLiteral("tsGraphs"));
    DrawsGraphDraw = MakeAction(this, "DrawsGraphDraw", QStringLiteral("Обновить"),
                                QStringLiteral("Построить графики по выбранным параметрам"));
    connect(DrawsGraphDraw, &QAction::triggered, this, [this] { RefreshGraph(true); });
    CreateWidgets();
    ClearChart();
}

void TGraphsTab::CreateWidgets() {
    // Enter in the count is the user's "draw it", as the method list's change is.
    edDrawsGraphLen = MakeLengthEdit(
        this, "edDrawsGraphLen", DEFAULT_GRAPH_LEN,
        QStringLiteral("Количество тиражей, использующихся для построения графиков"),
        [this] { OnMethodChosen(); });

    cbDrawsGraphType = new QComboBox;
    cbDrawsGraphType->setObjectName(QStringLiteral("cbDrawsGraphType"));
    cbDrawsGraphType->setToolTip(QStringLiteral("Тип графика"));
    cbDrawsGraphType->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cbDrawsGraphType->setMinimumContentsLength(30);
    cbDrawsGraphType->setMaxVisibleItems(30);
    connect(cbDrawsGraphType, &QComboBox::currentIndexChanged, this, &TGraphsTab::OnMethodChosen);

    auto* draw = new QPushButton(DrawsGraphDraw->text());
    draw->setObjectName(QStringLiteral("btnDrawsGraphDraw"));
    draw->setToolTip(DrawsGraphDraw->toolTip());
    connect(draw, &QPushButton::clicked, DrawsGraphDraw, &QAction::trigger);
    connect(DrawsGraphDraw, &QAction::changed, draw,
            [draw, this] { draw->setEnabled(DrawsGraphDraw->isEnabled()); });

    cbDrawsGraphShowMarks = new QCheckBox(QStringLiteral("Отображать метки на графике"));
    cbDrawsGraphShowMarks->setObjectName(QStringLiteral("cbDrawsGraphShowMarks"));
    connect(cbDrawsGraphShowMarks, &QCheckBox::toggled, this, &TGraphsTab::ShowMarks);

    crtDrawsGraph = new TGraphView(new QChart);
    crtDrawsGraph->setObjectName(QStringLiteral("crtDrawsGraph"));
    crtDrawsGraph->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(crtDrawsGraph, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu menu(this);
        menu.addAction(DrawsGraphDraw);
        menu.exec(crtDrawsGraph->mapToGlobal(at));
    });

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("Тиражей:")));
    top->addWidget(edDrawsGraphLen);
    top->addWidget(cbDrawsGraphType, 1);
    top->addWidget(draw);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(top);
    layout->addWidget(cbDrawsGraphShowMarks);
    layout->addWidget(crtDrawsGraph, 1);
}

TGraphsTab::TGraphKey TGraphsTab::CurrentKey() const {
    TGraphKey key;
    key.Draws = DrawsFingerprint(ws_.Draws());
    key.Count = static_cast<int>(ws_.Draws().size());
    key.Offset = ws_.DrawsOffset();
    key.Len = edDrawsGraphLen->value();
    key.Method = cbDrawsGraphType->currentIndex() >= 0
                     ? cbDrawsGraphType->currentData().toInt()
                     : -1;
    key.Sorted = ws_.SortedDraws();
    return key;
}

void TGraphsTab::ClearChart() {
    QChart* old = crtDrawsGraph->chart();
    auto* empty = new QChart;
    empty->legend()->setAlignment(Qt::AlignBottom);
    crtDrawsGraph->setChart(empty);
    delete old;
}

void TGraphsTab::RefreshGraph(bool force) {
    if (!shown_) return;
    const TGraphKey key = CurrentKey();
    if (!force && key == drawn_) return;
    drawn_ = key;
    ClearChart();
    if (key.Method < 0 || ws_.Draws().empty()) return;
    try {
        TBusyScope busy(ws_.Busy(), ws_.GetHost(), "Анализ тиражей и построение графиков...");
        auto stat = ws_.Stats().CreateStat(key.Method);
        auto* graphStat = dynamic_cast<TCustomGraphStat*>(stat.get());
        if (!graphStat)
            throw std::runtime_error("Метод \"" + StdStr(cbDrawsGraphType->currentText()) +
                                     "\" не строит графиков!");
        const TDrawGraph graph = ComputeDrawGraph(*graphStat, ws_.Draws(), key.Offset, key.Len,
                                                  key.Sorted);
        const TGraphData data = DrawGraphData(graph, StdStr(cbDrawsGraphType->currentText()),
                                              cbDrawsGraphShowMarks->isChecked());
        QChart* old = crtDrawsGraph->chart();
        crtDrawsGraph->setChart(MakeGraphChart(data));
        delete old;
    } catch (const std::exception& e) {
        ErrorBox(this, QStr(e.what()));
    }
    UpdateActions();
}

void TGraphsTab::RefillMethods(bool keepSelection) {
    const int previous = cbDrawsGraphType->currentIndex();
    {
        const QSignalBlocker quiet(cbDrawsGraphType);
        cbDrawsGraphType->clear();
        const TStatList& stats = ws_.Stats();
        for (const int index : stats.ListedMethods(true))
            cbDrawsGraphType->addItem(QStr(stats.DisplayName(index, true)), index);
        int position = cbDrawsGraphType->count() > 0 ? 0 : -1;
        if (keepSelection && previous >= 0 && previous < cbDrawsGraphType->count())
            position = previous;
        cbDrawsGraphType->setCurrentIndex(position);
    }
    // The registry may have been rebuilt under the same positions.
    RefreshGraph(true);
}

void TGraphsTab::OnMethodChosen() {
    if (ws_.IsIdle() && !ws_.Draws().empty() && cbDrawsGraphType->currentIndex() >= 0)
        RefreshGraph(false);
}

void TGraphsTab::ShowMarks(bool visible) {
    const QList<QAbstractSeries*> all = crtDrawsGraph->chart()->series();
    if (!all.isEmpty()) static_cast<QLineSeries*>(all.front())->setPointLabelsVisible(visible);
}

int TGraphsTab::SeriesCount() const {
    return static_cast<int>(crtDrawsGraph->chart()->series().size());
}

void TGraphsTab::UpdateActions() {
    const bool idle = ws_.IsIdle();
    DrawsGraphDraw->setEnabled(idle && !ws_.Draws().empty() &&
                               cbDrawsGraphType->currentIndex() >= 0);
    cbDrawsGraphType->setEnabled(idle);
    edDrawsGraphLen->setEnabled(idle);
}

void TGraphsTab::LoadSettings(const TIniFile& frm) {
    edDrawsGraphLen->setValue(frm.ReadInteger(SECTION, "DrawsGraphLen", DEFAULT_GRAPH_LEN));
}

void TGraphsTab::SaveSettings(TIniFile& frm) const {
    frm.WriteInteger(SECTION, "DrawsGraphLen", edDrawsGraphLen->value());
}

} // namespace pelko
