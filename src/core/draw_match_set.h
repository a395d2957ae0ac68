#pragma once
// A set of draws asked one question many million times: does some draw share all six
// numbers with this combination (CountMatches = 6)? A combination of six distinct numbers
// in 1..63 is looked up by its bit mask in a small hash table, so the answer costs about
// one probe however many draws the set holds. Anything else (repeated numbers, numbers
// from a file outside that range, draws with repeated numbers) takes the exact pair count.

#include "core/lottery.h"

#include <bit>
#include <cstdint>
#include <vector>

namespace pelko {

class TDrawMatchSet {
public:
    TDrawMatchSet() = default;
    // The draws at archive indices first .. last (clamped to the archive).
    TDrawMatchSet(const TDrawsArray& draws, int first, int last);

    void Add(const TDrawData& draw);
    bool Empty() const { return simpleCount_ == 0 && odd_.empty(); }

    // True when some draw of the set has CountMatches = 6 with the combination.
    bool Matches(const TComb& comb) const {
        std::uint64_t mask = 0;
        bool inRange = true;
        for (const std::uint8_t v : comb) {
            inRange &= v >= 1 && v <= 63;
            mask |= std::uint64_t{1} << (v & 63);
        }
        if (inRange && std::popcount(mask) == LOTTO_COUNT && odd_.empty())
            return HasMask(mask);
        return MatchesSlowly(comb, inRange ? mask : 0);
    }

private:
    static std::size_t Slot(std::uint64_t mask, unsigned bits) {
        return static_cast<std::size_t>((mask * 0x9E3779B97F4A7C15ull) >> (64 - bits));
    }
    bool HasMask(std::uint64_t mask) const {
        for (std::size_t i = Slot(mask, bits_);; i = (i + 1) & (table_.size() - 1)) {
            if (table_[i] == mask)
                return true;
            if (table_[i] == 0)
                return false;
        }
    }
    void InsertMask(std::uint64_t mask);
    bool MatchesSlowly(const TComb& comb, std::uint64_t maskInRange) const;

    // Open addressing over the masks of the simple draws; 0 marks a free slot (no draw
    // of six distinct numbers has the mask 0). At most a quarter of the slots are used.
    std::vector<std::uint64_t> table_ = std::vector<std::uint64_t>(16, 0);
    unsigned bits_ = 4;
    std::size_t simpleCount_ = 0;
    std::vector<std::uint64_t> simpleMasks_; // for combinations with repeated numbers
    std::vector<TDrawData> odd_;             // draws that are not six distinct 1..63
};

} // namespace pelko
