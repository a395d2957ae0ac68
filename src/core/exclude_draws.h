#pragma once
// Combination lists against the draw archive: removing the combinations of the recent
// draws, and finding the draws that had a given combination.

#include "core/comb_list.h"
#include "core/lottery.h"
#include "core/progress_steps.h"

#include <cstddef>
#include <string>
#include <vector>

namespace pelko {

// Archive indices First..Last of the draws a pass looks at; empty when Last < First.
struct TDrawWindow {
    int First = 0;
    int Last = -1;
    bool Empty() const { return Last < First; }
    friend bool operator==(const TDrawWindow&, const TDrawWindow&) = default;
};

// The n newest draws up to the analysis point h = last index - drawsOffset:
// max(0, h - n + 1) .. h; empty when n <= 0 or h < 0.
TDrawWindow RecentDrawsWindow(const TDrawsArray& draws, int drawsOffset, int n);

// Rebuilds `kept` from source[0 .. count) without the entries that share all six numbers
// (CountMatches = 6, any order) with a draw of the window. `source` must not be `kept`'s
// own storage. Progress is told after every max(1, count div 100)-th entry.
void ExcludeDrawsFromCombs(const TComb* source, std::size_t count, const TDrawsArray& draws,
                           TDrawWindow window, TCombList& kept, const TProgressFn& progress = {});

inline constexpr std::size_t MAX_FIND_HITS = 26;

// DrawText of the draws, newest first, that share all six numbers with the combination;
// the whole archive is searched and at most maxHits texts are returned.
std::vector<std::string> FindCombInDraws(const TComb& comb, const TDrawsArray& draws,
                                         std::size_t maxHits = MAX_FIND_HITS);

} // namespace pelko
