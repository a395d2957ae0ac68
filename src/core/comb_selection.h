#pragma once
// The selected positions of a combination list, held as sorted, disjoint, non-adjacent
// ranges: selecting all 8,145,060 entries costs one range, and every pass over the
// selection (copy, delete) walks whole runs instead of single positions.

#include <cstddef>
#include <optional>
#include <vector>

namespace pelko {

class TCombSelection {
  public:
    // Positions begin .. end - 1.
    struct TRange {
        std::size_t Begin = 0;
        std::size_t End = 0;
        friend bool operator==(const TRange&, const TRange&) = default;
    };

    TCombSelection() = default;
    // Any order, duplicates allowed.
    static TCombSelection FromPositions(std::vector<std::size_t> positions);
    static TCombSelection All(std::size_t count);

    void Add(std::size_t position) { AddRange(position, position + 1); }
    // Adds positions begin .. end - 1; merges with the ranges it touches.
    void AddRange(std::size_t begin, std::size_t end);
    void Clear() { ranges_.clear(); }

    bool Empty() const { return ranges_.empty(); }
    bool Contains(std::size_t position) const;
    // Number of selected positions below `limit` (the list count).
    std::size_t CountBelow(std::size_t limit) const;
    // The lowest selected position below `limit`, if any.
    std::optional<std::size_t> FirstBelow(std::size_t limit) const;
    const std::vector<TRange>& Ranges() const { return ranges_; }

  private:
    std::vector<TRange> ranges_;
};

} // namespace pelko
