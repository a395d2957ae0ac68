#pragma once
// When a filter part's walk over the statistics table stops: checked before each row is
// tested. The single-select walk knows every mode; the multi-select walk only the modes
// that do not depend on the list (steps and the row's count or share).

#include "filters/filter_item.h"
#include "stats/stat_table.h"

#include <cstddef>
#include <functional>

namespace pelko {

struct TWalkState {
    std::size_t ListCount = 0; // combinations in the list now
    int Steps = 0;
    int MaxStake = 15; // the lottery parameters' largest stake
    // Distinct numbers of the list; asked only by the extended-stake mode.
    std::function<int()> UniqueNumbers;
};

bool StopBeforeRow(const TFilterPart& part, const TStatValues& row, const TWalkState& state);

} // namespace pelko
