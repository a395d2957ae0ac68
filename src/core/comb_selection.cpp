#include "core/comb_selection.h"

#include <algorithm>

namespace pelko {

TCombSelection TCombSelection::FromPositions(std::vector<std::size_t> positions) {
    std::sort(positions.begin(), positions.end());
    TCombSelection selection;
    for (const std::size_t p : positions)
        selection.AddRange(p, p + 1); // ascending: always the cheap append path
    return selection;
}

TCombSelection TCombSelection::All(std::size_t count) {
    TCombSelection selection;
    selection.AddRange(0, count);
    return selection;
}

void TCombSelection::AddRange(std::size_t begin, std::size_t end) {
    if (begin >= end) return;
    // Selections arrive mostly in ascending order: extend or append at the back.
    if (ranges_.empty() || begin > ranges_.back().End) {
        ranges_.push_back({begin, end});
        return;
    }
    if (begin >= ranges_.back().Begin) {
        ranges_.back().End = std::max(ranges_.back().End, end);
        return;
    }
    // General case: the first range that ends at or after `begin` may merge, and so may
    // every following range that starts at or before `end`.
    auto first = std::lower_bound(ranges_.begin(), ranges_.end(), begin,
                                  [](const TRange& r, std::size_t b) { return r.End < b; });
    auto last = first;
    TRange merged{begin, end};
    while (last != ranges_.end() && last->Begin <= end) {
        merged.Begin = std::min(merged.Begin, last->Begin);
        merged.End = std::max(merged.End, last->End);
        ++last;
    }
    first = ranges_.erase(first, last);
    ranges_.insert(first, merged);
}

bool TCombSelection::Contains(std::size_t position) const {
    auto it = std::upper_bound(ranges_.begin(), ranges_.end(), position,
                               [](std::size_t p, const TRange& r) { return p < r.End; });
    return it != ranges_.end() && it->Begin <= position;
}

std::size_t TCombSelection::CountBelow(std::size_t limit) const {
    std::size_t count = 0;
    for (const TRange& r : ranges_) {
        if (r.Begin >= limit) break;
        count += std::min(r.End, limit) - r.Begin;
    }
    return count;
}

std::optional<std::size_t> TCombSelection::FirstBelow(std::size_t limit) const {
    if (ranges_.empty() || ranges_.front().Begin >= limit) return std::nullopt;
    return ranges_.front().Begin;
}

} // namespace pelko
