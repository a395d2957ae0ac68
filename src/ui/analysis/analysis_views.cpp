#include "ui/analysis/analysis_views.h"

#include "app/busy_state.h"
#include "app/workspace.h"
#include "charts/analysis_graphs.h"
#include "core/ini_file.h"
#include "stats/analysis/sum_distribution.h"
#include "ui/analysis/card_tab.h"
#include "ui/analysis/form_repeats.h"
#include "ui/analysis/graphs_tab.h"
#include "ui/analysis/layout_tab.h"
#include "ui/analysis/week_tab.h"
#include "ui/common/form_graph.h"
#include "ui/common/message_boxes.h"
#include "ui/common/ui_actions.h"
#include "ui/common/ui_text.h"

#include <QAction>
#include <QTabWidget>

namespace pelko {
namespace {

constexpr const char* SECTION = "TFormMain";

template <class Tab>
void ForwardSignals(Tab* tab, TAnalysisViews* views) {
    QObject::connect(tab, &Tab::SettingChanged, views, [views](const QString& key, int value) {
        if (views->WriteSetting) views->WriteSetting(StdStr(key).c_str(), value);
    });
    QObject::connect(tab, &Tab::CombsChanged, views, &TAnalysisViews::CombsChanged);
}

} // namespace

TAnalysisViews::TAnalysisViews(Workspace& ws, QTabWidget& tabs, QWidget* window)
    : QObject(window), ws_(ws), tabs_(tabs), window_(window) {
    Graphs = new TGraphsTab(ws_);
    Card = new TCardTab(ws_);
    Card->setObjectName(QStringLiteral("tsCard"));
    Layout = new TLayoutTab(ws_);
    Layout->setObjectName(QStringLiteral("tsLayout"));
    Week = new TWeekTab(ws_);
    Week->setObjectName(QStringLiteral("tsWeek"));
    ForwardSignals(Card, this);
    ForwardSignals(Layout, this);
    ForwardSignals(Week, this);

    TabGraps = MakeOption(this, "TabGraps", QStringLiteral("Вкладка \"Графики\""), true,
                          QStringLiteral("Скрыть / показать вкладку \"Графики\""));
    TabCard = MakeOption(this, "TabCard", QStringLiteral("Вкладка \"Карта\""), true,
                         QStringLiteral("Скрыть / показать вкладку \"Карта тиражей\""));
    TabLayout = MakeOption(this, "TabLayout", QStringLiteral("Вкладка \"Схема\""), true,
                           QStringLiteral("Скрыть / показать вкладку \"Схема выпадения номеров\""));
    TabWeek = MakeOption(this, "TabWeek", QStringLiteral("Вкладка \"Неделя\""), true,
                         QStringLiteral("Скрыть / показать вкладку \"Неделя\""));

    AddView({Graphs, TabGraps, "TabGraphs", [this](bool s) { Graphs->SetShown(s); },
             [this] { return Graphs->Shown(); }, [this](bool f) { Graphs->RefreshView(f); }},
            QStringLiteral("Графики"));
    AddView({Card, TabCard, "TabCard", [this](bool s) { Card->SetShown(s); },
             [this] { return Card->Shown(); }, [this](bool f) { Card->RefreshView(f); }},
            QStringLiteral("Карта"));
    AddView({Layout, TabLayout, "TabLayout", [this](bool s) { Layout->SetShown(s); },
             [this] { return Layout->Shown(); }, [this](bool f) { Layout->RefreshView(f); }},
            QStringLiteral("Схема"));
    AddView({Week, TabWeek, "TabWeek", [this](bool s) { Week->SetShown(s); },
             [this] { return Week->Shown(); }, [this](bool f) { Week->RefreshView(f); }},
            QStringLiteral("Неделя"));

    const QString repeats = QStr(REPEATS_CAPTION);
    AnalyzeRepeats = MakeAction(this, "AnalyzeRepeats", repeats, repeats);
    connect(AnalyzeRepeats, &QAction::triggered, this, &TAnalysisViews::OnAnalyzeRepeats);
    TotalSumCombs = MakeAction(
        this, "TotalSumCombs", QStr(SUMS_CAPTION),
        QStringLiteral("Распределение сумм всех возможных комбинаций и архива тиражей одновременно"));
    connect(TotalSumCombs, &QAction::triggered, this, &TAnalysisViews::OnTotalSumCombs);
}

void TAnalysisViews::AddView(TView view, const QString& caption) {
    tabs_.addTab(view.Page, caption);
    TView& stored = views_[count_++];
    stored = std::move(view);
    connect(stored.Toggle, &QAction::triggered, this,
            [this, &stored](bool visible) { ShowView(stored, visible); });
}

void TAnalysisViews::ShowView(TView& view, bool visible) {
    if (!ws_.IsIdle()) {
        view.Toggle->setChecked(view.Shown());
        return;
    }
    if (WriteOption) WriteOption(QString::fromLatin1(view.Key), visible);
    view.SetShown(visible);
    tabs_.setTabVisible(tabs_.indexOf(view.Page), visible);
    if (!visible) return;
    view.Refresh(true);
    tabs_.setCurrentWidget(view.Page);
}

QList<QAction*> TAnalysisViews::TabActions() const {
    return {TabGraps, TabCard, TabLayout, TabWeek};
}

QList<QAction*> TAnalysisViews::ViewOptions() const {
    QList<QAction*> actions = Card->ViewMenuActions();
    actions += Layout->ViewMenuActions();
    return actions;
}

QList<QAction*> TAnalysisViews::StatsActions() const {
    return {AnalyzeRepeats, TotalSumCombs};
}

void TAnalysisViews::RefreshViews() {
    // Only the page on the screen recomputes now; the others catch up by their refresh keys
    // when they are brought up (a change of page refreshes the views again).
    for (TView& view : views_)
        if (view.Shown() && tabs_.currentWidget() == view.Page) view.Refresh(false);
}

void TAnalysisViews::RefillMethods(bool keepSelection) {
    Graphs->RefillMethods(keepSelection);
}

void TAnalysisViews::UpdateActions(bool started) {
    const bool idle = ws_.IsIdle();
    for (TView& view : views_) {
        view.Toggle->setEnabled(idle && started);
        view.Toggle->setChecked(view.Shown());
    }
    AnalyzeRepeats->setEnabled(idle && started && !ws_.Draws().empty());
    TotalSumCombs->setEnabled(idle && started);
    Graphs->UpdateActions();
    Card->UpdateActions();
    Layout->UpdateActions();
    Week->UpdateActions();
}

void TAnalysisViews::LoadSettings(const TIniFile& frm) {
    for (TView& view : views_) {
        const bool visible = frm.ReadBool(SECTION, view.Key, true);
        view.SetShown(visible);
        view.Toggle->setChecked(visible);
        tabs_.setTabVisible(tabs_.indexOf(view.Page), visible);
    }
    Graphs->LoadSettings(frm);
    Card->LoadSettings(frm);
    Layout->LoadSettings(frm);
    Week->LoadSettings(frm);
}

void TAnalysisViews::SaveSettings(TIniFile& frm) const {
    Graphs->SaveSettings(frm);
    Card->SaveSettings(frm);
    Layout->SaveSettings(frm);
    Week->SaveSettings(frm);
}

void TAnalysisViews::OnAnalyzeRepeats() {
    if (!ws_.IsIdle() || ws_.Draws().empty()) return;
    TFormRepeats::Execute(window_, ws_, SettingsFile ? SettingsFile() : std::filesystem::path());
}

void TAnalysisViews::OnTotalSumCombs() {
    if (!ws_.IsIdle()) return;
    TGraphData graph;
    try {
        TBusyScope busy(ws_.Busy(), ws_.GetHost(), "Идет сбор статистики....");
        graph = SumsGraphData(ComputeSumDistribution(ws_.Draws()));
    } catch (const std::exception& e) {
        ErrorBox(window_, QStr(e.what()));
        return;
    }
    TFormGraph::Execute(window_, graph);
}

} // namespace pelko
