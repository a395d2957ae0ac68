#include "cli/graph_command.h"

#include "cli/analysis_commands.h"
#include "cli/cli_output.h"
#include "core/format.h"
#include "stats/analysis/draw_graph.h"
#include "stats/custom_stat.h"

#include <climits>
#include <memory>
#include <string>

#ifdef PELKO_WITH_CHARTS
#include "charts/analysis_graphs.h"
#endif

namespace pelko {
namespace {

struct TStatGraphOptions {
    std::string code;
    int draws = 0;
    int offset = 0;
    std::string out;
};

// One row per draw, oldest first: draw;value;mean;most frequent value.
std::string GraphCsv(const TDrawGraph& graph) {
    std::string csv = "Тираж;Значение;Среднее значение;Наиболее часто встречающееся значение\n";
    const std::string tail = ";" + ValueText(graph.Mean) + ";" + std::to_string(graph.MostFrequent);
    for (std::size_t i = 0; i < graph.Values.size(); ++i)
        csv += std::to_string(graph.DrawNumbers[i]) + ";" + std::to_string(graph.Values[i]) + tail +
               "\n";
    return csv;
}

void DrawStatGraph(TCliContext& ctx, const TStatGraphOptions& o) {
    const bool csv = HasSuffix(o.out, ".csv");
    if (!csv && !HasSuffix(o.out, ".png") && !HasSuffix(o.out, ".svg"))
        throw TCommandError("--out: ожидается файл .png, .svg или .csv, а не \"" + o.out + "\"");
    Workspace& ws = LoadedArchive(ctx);
    const TStatList& stats = ws.Stats();
    const int index = stats.IndexOfCode(o.code);
    if (index < 0)
        throw TCommandError(Format("Неизвестный метод расчета статистики: %s!", o.code.c_str()));
    const std::unique_ptr<TCustomStat> stat =
        stats.Items(index).StatClass->IsGraph() ? stats.CreateStat(index) : nullptr;
    auto* graphStat = dynamic_cast<TCustomGraphStat*>(stat.get());
    if (!graphStat) throw TCommandError(Format("Метод %s не строит графика!", o.code.c_str()));
    CheckDrawsOffset(ws.Draws(), o.offset);
    const TDrawGraph graph =
        ComputeDrawGraph(*graphStat, ws.Draws(), o.offset, o.draws, ws.SortedDraws());
    if (csv) {
        WriteCsv(o.out, GraphCsv(graph));
        return;
    }
#ifdef PELKO_WITH_CHARTS
    WriteGraphPicture(DrawGraphData(graph, stats.DisplayName(index, false), true), o.out);
#else
    WriteGraphPicture({}, o.out); // refuses: this build draws no charts
#endif
}

} // namespace

void AddGraphCommand(CLI::App& app, TCliContext& ctx) {
    static TStatGraphOptions options;
    auto* cmd = app.add_subcommand("graph", "A graph statistic draw by draw, as CSV or a chart");
    cmd->add_option("CODE", options.code, "Method code of a graph statistic (see `methods`)")
        ->required();
    cmd->add_option("--draws", options.draws, "Number of draws N")
        ->required()
        ->check(CLI::Range(1, INT_MAX));
    cmd->add_option("--offset", options.offset, "Draws offset K")->check(CLI::Range(0, INT_MAX));
    cmd->add_option("--out", options.out, "FILE.csv, FILE.png or FILE.svg")->required();
    cmd->callback([&ctx] { DrawStatGraph(ctx, options); });
}

} // namespace pelko
