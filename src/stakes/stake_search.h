#pragma once
// Whole-file searches over the stakes file.

#include "stakes/stakes_file.h"

#include <cstdint>

namespace pelko {

// A record with this draw number whose numbers equal the set (SameNumberSets).
bool FindStake(TStakesFile& file, std::int32_t drawNumber, const TNumberSet& numbers);

struct TRecentDraws {
    std::int64_t Start = 0; // index of the first record of the last `Groups` draw groups
    int Groups = 0;
};

// Walks back from the last record over the settled stakes (checked, positive draw number,
// match count >= 0), counting runs of equal draw numbers, and stops where group N + 1
// would start; Start is the record right after that one, or 0 when the walk passed the
// first record.
TRecentDraws SeekRecentDraws(TStakesFile& file, int n);

} // namespace pelko
