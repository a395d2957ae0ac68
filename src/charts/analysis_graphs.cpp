#include "charts/analysis_graphs.h"

#include "core/format.h"

#include <random>

namespace pelko {
namespace {

constexpr std::uint32_t GREEN = 0x008000;
constexpr std::uint32_t BLUE = 0x0000FF;
constexpr std::uint32_t RED = 0xFF0000;
constexpr std::uint32_t MAROON = 0x800000;
constexpr std::uint32_t FUCHSIA = 0xFF00FF;

TGraphSeries Series(std::string title, bool pointer, bool marks, std::uint32_t color) {
    TGraphSeries series;
    series.Title = std::move(title);
    series.Pointer = pointer;
    series.Marks = marks;
    series.Color = color;
    return series;
}

void AddPoint(TGraphSeries& series, double x, double y) {
    series.Points.push_back({x, y, std::to_string(static_cast<long long>(x))});
}

} // namespace

TGraphData DrawGraphData(const TDrawGraph& graph, const std::string& title, bool marks) {
    TGraphData data;
    TGraphSeries values = Series(title, true, marks, GREEN);
    TGraphSeries mean = Series(GRAPH_MEAN_TITLE, false, false, BLUE);
    TGraphSeries frequent = Series(GRAPH_MOST_FREQUENT_TITLE, false, false, RED);
    for (std::size_t i = 0; i < graph.Values.size(); ++i) {
        const double x = graph.DrawNumbers[i];
        AddPoint(values, x, graph.Values[i]);
        AddPoint(mean, x, graph.Mean);
        AddPoint(frequent, x, graph.MostFrequent);
    }
    data.Series = {std::move(values), std::move(mean), std::move(frequent)};
    return data;
}

TGraphData RepeatsGraphData(const TRepeatsAnalysis& repeats, unsigned seed) {
    TGraphData data;
    data.Caption = REPEATS_CAPTION;
    std::mt19937 random(seed);
    std::uniform_int_distribution<std::uint32_t> channel(0, 255);
    const auto series = repeats.Series();
    for (std::size_t k = 0; k < series.size(); ++k) {
        const std::uint32_t color = channel(random) << 16 | channel(random) << 8 | channel(random);
        TGraphSeries line = Series(Format("Совпадений: %zu", k + 1), true, false, color);
        for (const TRepeatPoint& point : series[k]) AddPoint(line, point.DrawNumber, point.Count);
        data.Series.push_back(std::move(line));
    }
    return data;
}

TGraphData SumsGraphData(const TSumDistribution& sums) {
    TGraphData data;
    data.Caption = SUMS_CAPTION;
    TGraphSeries draws = Series(SUMS_DRAWS_TITLE, true, true, RED);
    for (const TStatSimple& r : sums.Draws) AddPoint(draws, r.Key, r.Count);
    TGraphSeries combinations = Series(SUMS_COMBINATIONS_TITLE, false, false, MAROON);
    const std::uint32_t levelColors[3] = {GREEN, BLUE, FUCHSIA};
    std::vector<TGraphSeries> levels;
    for (int i = 0; i < 3; ++i)
        levels.push_back(Series(SumLevelTitle(sums, i), false, false, levelColors[i]));
    for (const TStatSimple& q : sums.Combinations) {
        AddPoint(combinations, q.Key, sums.Scaled(q.Count));
        for (int i = 0; i < 3; ++i)
            AddPoint(levels[static_cast<std::size_t>(i)], q.Key,
                     sums.Scaled(sums.Levels[static_cast<std::size_t>(i)].Level));
    }
    data.Series.push_back(std::move(draws));
    data.Series.push_back(std::move(combinations));
    for (TGraphSeries& level : levels) data.Series.push_back(std::move(level));
    return data;
}

} // namespace pelko
