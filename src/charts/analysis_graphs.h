#pragma once
// The charts of the analysis views as graph data, so the tab, the windows and the command
// line draw the same series: the graph statistic over the draws with its mean and most
// frequent value, the repeats per match count, the sums of the draws over the sums of all
// combinations with the three levels.

#include "stakes/result_graphs.h"
#include "stats/analysis/draw_graph.h"
#include "stats/analysis/repeats_analysis.h"
#include "stats/analysis/sum_distribution.h"

#include <string>

namespace pelko {

inline constexpr const char* GRAPH_MEAN_TITLE = "Среднее значение";
inline constexpr const char* GRAPH_MOST_FREQUENT_TITLE = "Наиболее часто встречающееся значение";
inline constexpr const char* SUMS_DRAWS_TITLE = "Фактическое распределение сумм (по тиражам)";
inline constexpr const char* SUMS_COMBINATIONS_TITLE =
    "Теоретическое распределение сумм (по комбинациям)";
inline constexpr const char* SUMS_CAPTION =
    "Распределение сумм тиражей и всех возможных комбинаций";
inline constexpr const char* REPEATS_CAPTION = "Количество повторов в зависимости от тиража";

// The value series (titled with the method's name), the mean and the most frequent value.
TGraphData DrawGraphData(const TDrawGraph& graph, const std::string& title, bool marks);
// One series "Совпадений: k" per match count, in colours drawn from `seed`.
TGraphData RepeatsGraphData(const TRepeatsAnalysis& repeats, unsigned seed);
TGraphData SumsGraphData(const TSumDistribution& sums);

} // namespace pelko
