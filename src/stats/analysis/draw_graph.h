#pragma once
// The series of the tab "Графики": a graph statistic's value draw by draw over the newest N
// draws visible with the draws offset (oldest first, each computed with the newest of them
// as reference), the mean of those values and the most frequent one.

#include "core/lottery.h"

#include <cstdint>
#include <vector>

namespace pelko {

class TCustomGraphStat;

struct TDrawGraph {
    std::vector<std::int32_t> DrawNumbers; // oldest first
    std::vector<int> Values;
    double Mean = 0;
    // The first value (oldest draw first) whose count no earlier value reaches.
    int MostFrequent = 0;
};

// Empty for an empty archive or an offset that hides every draw.
TDrawGraph ComputeDrawGraph(TCustomGraphStat& stat, const TDrawsArray& draws, int offset, int n,
                            bool sorted);

} // namespace pelko
