#include "stats/analysis/draw_graph.h"

#include "core/record_helpers.h"
#include "stats/custom_stat.h"

#include <algorithm>

namespace pelko {

TDrawGraph ComputeDrawGraph(TCustomGraphStat& stat, const TDrawsArray& draws, int offset, int n,
                            bool sorted) {
    TDrawGraph graph;
    const int last = static_cast<int>(draws.size()) - 1 - offset;
    if (last < 0 || n < 1) return graph;
    const int first = std::max(0, last - n + 1);
    TStatSimpleArray counts;
    double sum = 0;
    for (int i = first; i <= last; ++i) {
        const int v = stat.GraphValueOfDraw(i, last, sorted);
        graph.DrawNumbers.push_back(draws[static_cast<std::size_t>(i)].Number);
        graph.Values.push_back(v);
        AddStatSimple(counts, v, 1);
        sum += v;
    }
    graph.Mean = sum / static_cast<double>(graph.Values.size());
    std::int32_t best = 0;
    for (const TStatSimple& c : counts)
        if (c.Count > best) {
            best = c.Count;
            graph.MostFrequent = c.Key;
        }
    return graph;
}

} // namespace pelko
