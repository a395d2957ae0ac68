#include "core/exclude_draws.h"

#include "core/draw_match_set.h"
#include "core/record_helpers.h"
#include "core/text_forms.h"

#include <algorithm>

namespace pelko {

TDrawWindow RecentDrawsWindow(const TDrawsArray& draws, int drawsOffset, int n) {
    if (n <= 0) return {};
    const long long last = static_cast<long long>(draws.size()) - 1;
    const long long h = std::min(last, last - drawsOffset);
    if (h < 0) return {};
    const long long first = std::max<long long>(0, h - n + 1);
    return {static_cast<int>(first), static_cast<int>(h)};
}

void ExcludeDrawsFromCombs(const TComb* source, std::size_t count, const TDrawsArray& draws,
                           TDrawWindow window, TCombList& kept, const TProgressFn& progress) {
    const TDrawMatchSet set(draws, window.First, window.Last);
    kept.Clear();
    kept.Reserve(count);
    TComb* out = kept.Data();
    const bool none = set.Empty();
    RunInSteps(
        count, PercentStep(count),
        [&](std::size_t begin, std::size_t end) {
            if (none) {
                std::copy(source + begin, source + end, out);
                out += end - begin;
                return;
            }
            for (std::size_t i = begin; i < end; ++i) {
                const TComb& c = source[i];
                *out = c;               // written always, kept only when no draw matches:
                out += !set.Matches(c); // no unpredictable branch per entry
            }
        },
        [&](std::size_t i) {
            if (progress) progress(i + 1, count);
        });
    kept.SetCount(static_cast<std::size_t>(out - kept.Data()));
}

std::vector<std::string> FindCombInDraws(const TComb& comb, const TDrawsArray& draws,
                                         std::size_t maxHits) {
    std::vector<std::string> hits;
    for (auto it = draws.rbegin(); it != draws.rend() && hits.size() < maxHits; ++it)
        if (CountMatches(*it, comb) == LOTTO_COUNT) hits.push_back(DrawText(*it));
    return hits;
}

} // namespace pelko
