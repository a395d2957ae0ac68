#include "cli/ratings_graph_command.h"

#include "app/stakes_workspace.h"
#include "cli/cli_output.h"
#include "core/atomic_file.h"
#include "core/format.h"

#include <string>

namespace pelko {
namespace {

struct TGraphOptions {
    int row = 0;
    std::string kind = "overlap";
    std::string out;
};

// One line per point of the row's own series: x;value.
std::string SeriesCsv(const TGraphData& graph, const std::string& title) {
    std::string csv;
    for (const TGraphSeries& series : graph.Series) {
        if (series.Title != title) continue;
        for (const TGraphPoint& point : series.Points)
            csv += ValueText(point.X) + ";" + ValueText(point.Y) + "\n";
    }
    return csv;
}

void DrawRatingsGraph(TCliContext& ctx, const TGraphOptions& o) {
    Workspace& ws = ctx.reader();
    if (!ws.StartStakes()) throw TCommandAborted();
    TRatingsDesk& ratings = ws.Stakes().Ratings();
    const std::size_t count = ratings.Rows().Count();
    if (o.row < 1 || static_cast<std::size_t>(o.row) > count)
        throw TCommandError(Format("Строка рейтинга %d не найдена (всего строк: %zu)", o.row, count));
    const std::vector<std::size_t> rows{static_cast<std::size_t>(o.row - 1)};
    std::optional<TGraphData> graph;
    if (o.kind == "distribution")
        graph = ratings.GraphRowsDistribution(rows);
    else
        graph = ratings.GraphRowsPerDraw(rows, o.kind == "profit");
    if (!graph) throw TCommandAborted(); // the box said why
    if (HasSuffix(o.out, ".csv"))
        WriteFileAtomically(o.out, SeriesCsv(*graph, ratings.Rows()[rows[0]].CommentText()));
    else if (HasSuffix(o.out, ".png") || HasSuffix(o.out, ".svg"))
        WriteGraphPicture(*graph, o.out);
    else
        throw TCommandError("--out: ожидается файл .png, .svg или .csv, а не \"" + o.out + "\"");
}

} // namespace

void AddRatingsGraphCommand(CLI::App& ratings, TCliContext& ctx) {
    auto* graph = ratings.add_subcommand("graph", "Draw a rating row's result graph");
    static TGraphOptions options;
    graph->add_option("ROW", options.row, "Row of the rating, from 1, in its stored order")
        ->required();
    graph->add_option("--kind", options.kind, "overlap, profit or distribution")
        ->check(CLI::IsMember({"overlap", "profit", "distribution"}));
    graph->add_option("--out", options.out, "FILE.png, FILE.svg or FILE.csv")->required();
    graph->callback([&ctx] { DrawRatingsGraph(ctx, options); });
}

} // namespace pelko
