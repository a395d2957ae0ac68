#include "stats/analysis/sum_distribution.h"

#include "core/format.h"
#include "core/record_helpers.h"

#include <algorithm>

namespace pelko {
namespace {

// Combinations of six distinct numbers of 1..45 by their sum: ways[k][s] counts the
// k-subsets of the numbers seen so far with sum s. The same table as enumerating all
// 8,145,060 combinations, in a few thousand steps.
TStatSimpleArray CombinationSums() {
    std::int64_t ways[LOTTO_COUNT + 1][SUM_MAX + 1] = {};
    ways[0][0] = 1;
    for (int n = 1; n <= LOTTO_MAX; ++n)
        for (int k = LOTTO_COUNT; k >= 1; --k)
            for (int s = SUM_MAX; s >= n; --s) ways[k][s] += ways[k - 1][s - n];
    TStatSimpleArray sums;
    for (int s = SUM_MIN; s <= SUM_MAX; ++s)
        sums.push_back({s, static_cast<std::int32_t>(ways[LOTTO_COUNT][s])});
    return sums;
}

TSumLevel LevelRange(const TStatSimpleArray& q, std::int32_t level) {
    TSumLevel range;
    range.Level = level;
    const std::size_t half = q.size() / 2;
    for (std::size_t i = 0; i <= half && i < q.size(); ++i)
        if (q[i].Count >= level) {
            range.Left = q[i].Key;
            break;
        }
    for (std::size_t i = q.size(); i-- > half;)
        if (q[i].Count >= level) {
            range.Right = q[i].Key;
            break;
        }
    return range;
}

} // namespace

TSumDistribution ComputeSumDistribution(const TDrawsArray& draws) {
    TSumDistribution d;
    d.Combinations = CombinationSums();
    for (const TDrawData& draw : draws) {
        int sum = 0;
        for (const std::uint8_t n : draw.Nums) sum += n;
        AddStatSimple(d.Draws, sum, 1);
    }
    SortStatSimple(d.Draws);
    const auto [minQ, maxQ] = std::minmax_element(
        d.Combinations.begin(), d.Combinations.end(),
        [](const TStatSimple& a, const TStatSimple& b) { return a.Count < b.Count; });
    d.MinCombinations = minQ->Count;
    d.MaxCombinations = maxQ->Count;
    for (const TStatSimple& r : d.Draws) d.MaxDraws = std::max(d.MaxDraws, r.Count);
    const double w = d.MaxCombinations - d.MinCombinations + 1;
    const double parts[3] = {w / 3, w / 2, 2 * w / 3};
    for (int i = 0; i < 3; ++i)
        d.Levels[static_cast<std::size_t>(i)] = LevelRange(
            d.Combinations, d.MinCombinations + static_cast<std::int32_t>(parts[i]));
    return d;
}

double TSumDistribution::Scaled(std::int32_t count) const {
    if (MaxCombinations == 0) return 0;
    return static_cast<double>(count) / MaxCombinations * MaxDraws;
}

std::int32_t TSumDistribution::DrawsWithSum(int sum) const {
    for (const TStatSimple& r : Draws)
        if (r.Key == sum) return r.Count;
    return 0;
}

std::string SumLevelTitle(const TSumDistribution& d, int level) {
    static const char* const parts[3] = {"1/3", "1/2", "2/3"};
    const TSumLevel& l = d.Levels[static_cast<std::size_t>(level)];
    return Format("Диапазон %d (от %s и выше по оси Y) - суммы %d-%d", level + 1, parts[level],
                  l.Left, l.Right);
}

} // namespace pelko
