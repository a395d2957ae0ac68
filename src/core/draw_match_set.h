#pragma once
// A set of draws asked one question many million times: does some draw share all six
// numbers with this combination (CountMatches = 6)? A combination of six distinct numbers
// in 1..60 is looked up by its bit mask in a small hash table, so the answer costs about
// one probe however many draws the set holds. Anything else (repeated numbers, numbers
// from a file outside that range, draws with repeated numbers) takes the exact pair count.

#include "core/lottery.h"

#include <array>
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
        // Sum and union of the numbers' bits agree exactly when no bit comes twice: six
        // distinct numbers, at most one of them outside 1..60 (all those share bit 0, which
        // no stored mask has, so such a combination is simply not found). Bits stay below
        // 61 so that the sum of six of them cannot overflow into a false agreement.
        std::uint64_t sum = 0, bits = 0;
        for (const std::uint8_t v : comb) {
            sum += BIT_OF[v];
            bits |= BIT_OF[v];
        }
        if (sum != bits || !odd_.empty()) return MatchesSlowly(comb);
        const std::uint64_t hash = bits * HASH_FACTOR;
        if (!(filter_[hash >> 54] >> (hash >> 48 & 63) & 1)) return false;
        return HasMask(bits);
    }

    // Numbers 1..MASK_MAX have a bit of their own in the masks.
    static constexpr int MASK_MAX = 60;

  private:
    static constexpr std::uint64_t HASH_FACTOR = 0x9E3779B97F4A7C15ull;
    static inline const std::array<std::uint64_t, 256> BIT_OF = [] {
        std::array<std::uint64_t, 256> bits{};
        for (int v = 0; v < 256; ++v)
            bits[v] = v >= 1 && v <= MASK_MAX ? std::uint64_t{1} << v : 1;
        return bits;
    }();

    static std::size_t Slot(std::uint64_t mask, unsigned bits) {
        return static_cast<std::size_t>((mask * HASH_FACTOR) >> (64 - bits));
    }
    bool HasMask(std::uint64_t mask) const {
        for (std::size_t i = Slot(mask, bits_);; i = (i + 1) & (table_.size() - 1)) {
            if (table_[i] == mask) return true;
            if (table_[i] == 0) return false;
        }
    }
    void InsertMask(std::uint64_t mask);
    bool MatchesSlowly(const TComb& comb) const;

    // One bit per top 16 bits of a stored mask's hash: with 1000 draws a combination that
    // is not there almost always stops at this 8 KB filter.
    std::array<std::uint64_t, 1024> filter_{};
    // Open addressing over the masks of the simple draws; 0 marks a free slot (no draw
    // of six distinct numbers has the mask 0). At most a quarter of the slots are used.
    std::vector<std::uint64_t> table_ = std::vector<std::uint64_t>(16, 0);
    unsigned bits_ = 4;
    std::size_t simpleCount_ = 0;
    std::vector<std::uint64_t> simpleMasks_; // for combinations with repeated numbers
    std::vector<TDrawData> odd_;             // draws that are not six distinct 1..60
};

} // namespace pelko
