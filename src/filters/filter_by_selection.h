#pragma once
// Filtering a combination list by a selection of statistic values: every combination of
// the undo copy is judged by the statistic's TestCombination and kept (keep action) or
// dropped (drop action). The workspace takes the undo copy right before, and afterwards
// adds the history row and refreshes the list view; this is the pass itself.

#include "core/comb_list.h"
#include "core/lottery.h"
#include "core/status_sink.h"
#include "stats/stat_selection.h"

#include <cstddef>

namespace pelko {

class TCustomStat;

// The archive index of the newest draw the analysis sees: High - offset, or 0 when the
// offset goes past the oldest draw (also 0 for an empty archive).
int FilterRefIndex(std::size_t drawsCount, int drawsOffset);

struct TFilterPass {
    int RefIndex = 0;     // FilterRefIndex of the archive and the draws offset
    bool Sorted = false;  // the sorted-draws option
    bool Exclude = false; // false: keep the combinations holding a selected value; true: drop them
};

// Rebuilds `list` from `undo`: the list count becomes 0, its capacity grows to the undo
// copy's, then every combination of the undo copy in order is appended when
// TestCombination(...) != Exclude. The statistic gets SelectDraws(-1, RefIndex, Sorted) and
// PrepareTest once. Progress "Фильтрация комбинаций ( завершено N % )..." goes to the sink
// every whole per cent; the status is cleared at the end, also after a failure. The pass
// allocates nothing per combination. Returns the new list count. `undo` and `list` must be
// different lists.
std::size_t FilterBySelection(TCustomStat& stat, const TStatSelection& selection, const TFilterPass& pass,
                              const TCombList& undo, TCombList& list, TStatusSink* sink = nullptr);

// The same with the selection given as items (copies of the selected rows).
std::size_t FilterBySelection(TCustomStat& stat, const TStatDrawArray& selection, const TFilterPass& pass,
                              const TCombList& undo, TCombList& list, TStatusSink* sink = nullptr);

} // namespace pelko
