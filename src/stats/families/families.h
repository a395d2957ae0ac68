#pragma once
// The registration functions of the statistic families, one per source file of this
// folder. families.cpp calls them in one place (see the note at the top of custom_stat.h).

#include "stats/stat_class_table.h"

namespace pelko {

void RegisterNumberStats(TStatClassTable& table);     // numbers.cpp
void RegisterSumStats(TStatClassTable& table);        // sums.cpp
void RegisterDifferenceStats(TStatClassTable& table); // differences.cpp
void RegisterChannelStats(TStatClassTable& table);    // channels.cpp
void RegisterMatrixStats(TStatClassTable& table);     // matrix.cpp
void RegisterSegmentStats(TStatClassTable& table);    // segments.cpp
void RegisterSequenceStats(TStatClassTable& table);   // sequences.cpp
void RegisterRepeatStats(TStatClassTable& table);     // repeats.cpp
void RegisterNumberCombinationStats(TStatClassTable& table); // number_combinations.cpp
void RegisterSigmaStats(TStatClassTable& table);      // sigma.cpp
void RegisterSerialStats(TStatClassTable& table);     // serial.cpp
void RegisterPeriodStats(TStatClassTable& table);     // periods.cpp
void RegisterChainStats(TStatClassTable& table);      // chains.cpp
void RegisterShreddingStats(TStatClassTable& table);  // shredding.cpp

// Every family of the program, in one call.
void RegisterAllStatFamilies(TStatClassTable& table);

} // namespace pelko
