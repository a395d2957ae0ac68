#include "cli/ratings_graph_command.h"

#include "app/stakes_workspace.h"
#include "core/atomic_file.h"
#include "core/format.h"

#include <cmath>
#include <cstdio>
#include <string>

#ifdef PELKO_WITH_CHARTS
#include "charts/graph_chart.h"

#include <QApplication>
#endif

namespace pelko {
namespace {

struct TGraphOptions {
    int row = 0;
    std::string kind = "overlap";
    std::string out;
};

bool EndsWith(const std::string& text, const char* suffix) {
    const std::string s(suffix);
    if (text.size() < s.size()) return false;
    std::string tail = text.substr(text.size() - s.size());
    for (char& c : tail) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return tail == s;
}

std::string ValueText(double value) {
    if (std::nearbyint(value) == value) return std::to_string(static_cast<long long>(value));
    return Format("%.2f", value);
}

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

void WritePicture(const TGraphData& graph, const std::string& file) {
#ifdef PELKO_WITH_CHARTS
    // Drawn without a screen: the offscreen platform unless the caller chose one.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char name[] = "pelko6x45-cli";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    if (!RenderGraphImage(graph, QString::fromStdString(file)))
        throw TCommandError(Format("Ошибка записи в файл \"%s\"!", file.c_str()));
#else
    (void)graph;
    throw TCommandError("Эта сборка не рисует графики: укажите файл .csv (" + file + ")");
#endif
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
    if (EndsWith(o.out, ".csv"))
        WriteFileAtomically(o.out, SeriesCsv(*graph, ratings.Rows()[rows[0]].CommentText()));
    else if (EndsWith(o.out, ".png") || EndsWith(o.out, ".svg"))
        WritePicture(*graph, o.out);
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
