#pragma once
// "Распределение сумм тиражей и всех возможных комбинаций": how many of all 8,145,060
// combinations have each sum 21..255, how many archive draws have it, and the three levels
// (1/3, 1/2 and 2/3 of the combination counts' span) with the sum ranges where the
// combinations' distribution reaches them (the fixed ranges of SUM1..SUM3).

#include "core/lottery.h"

#include <array>
#include <cstdint>

namespace pelko {

struct TSumLevel {
    std::int32_t Level = 0;
    int Left = 0; // 0 when no sum reaches the level
    int Right = 0;
};

struct TSumDistribution {
    TStatSimpleArray Combinations; // sum -> combinations, by sum (235 entries)
    TStatSimpleArray Draws;        // sum -> archive draws, by sum
    std::int32_t MaxCombinations = 0;
    std::int32_t MinCombinations = 0;
    std::int32_t MaxDraws = 0; // 0 for an empty archive
    std::array<TSumLevel, 3> Levels{};

    // A combination count (or level) scaled onto the draws' axis: count / MaxQ * MaxR.
    double Scaled(std::int32_t count) const;
    // Draws of the archive with this sum (0 when none).
    std::int32_t DrawsWithSum(int sum) const;
};

TSumDistribution ComputeSumDistribution(const TDrawsArray& draws);

// "Диапазон %d (от %s и выше по оси Y) - суммы %d-%d" of level 0..2.
std::string SumLevelTitle(const TSumDistribution& d, int level);

} // namespace pelko
