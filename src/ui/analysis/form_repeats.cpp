#include "ui/analysis/form_repeats.h"

#include "app/busy_state.h"
#include "app/workspace.h"
#include "charts/analysis_graphs.h"
#include "charts/graph_chart.h"
#include "ui/analysis/analysis_grids.h"
#include "ui/analysis/repeats_model.h"
#include "ui/common/graph_view.h"
#include "ui/common/message_boxes.h"
#include "ui/common/ui_seams.h"
#include "ui/common/ui_text.h"
#include "ui/shell/window_settings.h"

#include <QChart>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

#include <cstdio>
#include <random>

namespace pelko {
namespace {

constexpr const char* SECTION = "TFormRepeats";

} // namespace

TFormRepeats::TFormRepeats(Workspace& ws, std::filesystem::path settings, QWidget* parent)
    : QDialog(parent), ws_(ws), settings_(std::move(settings)), seed_(std::random_device{}()) {
    setObjectName(QStringLiteral("TFormRepeats"));
    setWindowTitle(QStr(REPEATS_CAPTION));
    setSizeGripEnabled(true);
    CreateWidgets();
    resize(900, 600);
    LoadSettings();
}

TFormRepeats::~TFormRepeats() {
    SaveSettings();
}

void TFormRepeats::CreateWidgets() {
    edDrawsLen = MakeLengthEdit(
        this, "edDrawsLen", DEFAULT_LEN,
        QStringLiteral("Количество тиражей, использующихся для расчета статистики"),
        [this] { Calculate(); });
    edDeep = MakeLengthEdit(this, "edDeep", DEFAULT_DEEP, {}, [this] { Calculate(); });
    auto* calc = new QPushButton(QStringLiteral("Рассчитать"));
    calc->setObjectName(QStringLiteral("btnDrawsStatCalc"));
    calc->setAutoDefault(false);
    connect(calc, &QPushButton::clicked, this, &TFormRepeats::Calculate);

    model_ = new TRepeatsModel(this);
    lvList = new QTableView;
    lvList->setObjectName(QStringLiteral("lvList"));
    lvList->setModel(model_);
    lvList->setSelectionBehavior(QAbstractItemView::SelectRows);
    lvList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lvList->setShowGrid(true);
    lvList->verticalHeader()->hide();
    lvList->verticalHeader()->setDefaultSectionSize(lvList->fontMetrics().height() + 4);
    const int widths[4] = {80, 80, 80, 2000};
    for (int c = 0; c < 4; ++c) lvList->setColumnWidth(c, widths[c]);

    crtGraph = new TGraphView(new QChart);
    crtGraph->setObjectName(QStringLiteral("crtGraph"));
    splitter_ = new QSplitter(Qt::Vertical);
    splitter_->addWidget(lvList);
    splitter_->addWidget(crtGraph);
    splitter_->setChildrenCollapsible(false);

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("Тиражей:")));
    top->addWidget(edDrawsLen);
    top->addWidget(new QLabel(QStringLiteral("Глубина:")));
    top->addWidget(edDeep);
    top->addWidget(calc);
    top->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(top);
    layout->addWidget(splitter_, 1);
}

void TFormRepeats::Calculate() {
    const TDrawsArray& draws = ws_.Draws();
    const int len = edDrawsLen->value();
    const int steps = std::min(len, static_cast<int>(draws.size()));
    try {
        TBusyScope busy(ws_.Busy(), ws_.GetHost());
        QProgressDialog progress(QStringLiteral("Идет сбор статистики...."), QString(), 0,
                                 std::max(steps, 1), this);
        progress.setWindowModality(Qt::WindowModal);
        progress.setMinimumDuration(400);
        int done = 0;
        TRepeatsAnalysis analysis = AnalyzeRepeats(draws, len, edDeep->value(), [&] {
            if (++done % 64 == 0) progress.setValue(done);
        });
        progress.setLabelText(QStringLiteral("Создание графиков..."));
        const TGraphData graph = RepeatsGraphData(analysis, seed_);
        model_->SetAnalysis(std::move(analysis));
        QChart* old = crtGraph->chart();
        QChart* chart = MakeGraphChart(graph);
        chart->setTitle({});
        crtGraph->setChart(chart);
        delete old;
    } catch (const std::exception& e) {
        ErrorBox(this, QStr(e.what()));
    }
}

void TFormRepeats::LoadSettings() {
    if (settings_.empty()) return;
    try {
        const TIniFile ini(settings_);
        RestorePlacement(ini, SECTION, *this);
        LoadColumns(ini, SECTION, *lvList, false);
        edDrawsLen->setValue(std::max(1, ini.ReadInteger(SECTION, "DrawsLength", DEFAULT_LEN)));
        edDeep->setValue(std::max(1, ini.ReadInteger(SECTION, "DrawsDeep", DEFAULT_DEEP)));
        const int graph = std::max(50, ini.ReadInteger(SECTION, "GraphHeight", DEFAULT_GRAPH_HEIGHT));
        splitter_->setSizes({std::max(100, height() - graph), graph});
    } catch (const std::exception&) {
        // A damaged settings file leaves the design values.
    }
}

void TFormRepeats::SaveSettings() const {
    if (settings_.empty()) return;
    try {
        TIniFile ini(settings_);
        SavePlacement(ini, SECTION, *this);
        SaveColumns(ini, SECTION, *lvList, false);
        ini.WriteInteger(SECTION, "DrawsLength", edDrawsLen->value());
        ini.WriteInteger(SECTION, "DrawsDeep", edDeep->value());
        ini.WriteInteger(SECTION, "GraphHeight", splitter_->sizes().value(1, DEFAULT_GRAPH_HEIGHT));
        ini.Save();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
    }
}

void TFormRepeats::Execute(QWidget* parent, Workspace& ws, const std::filesystem::path& settings) {
    TFormRepeats form(ws, settings, parent);
    form.Calculate();
    TUiSeams::Current().ExecDialog(form);
}

} // namespace pelko
