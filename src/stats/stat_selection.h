#pragma once
// The values a user selected, prepared once per filter pass so that the five key lookups
// of TestCombination (HasKey, HasWord, HasByte, HasLong, HasWords13) take constant time
// and allocate nothing, whatever the number of selected values.

#include "core/lottery.h"
#include "stats/stat_draw.h"

#include <cstdint>
#include <vector>

namespace pelko {

// A set of 64-bit numbers: a bit table for values below 65536, a hash for the rest.
class TKeySet {
public:
    TKeySet();
    void Add(std::uint64_t v);
    bool Has(std::uint64_t v) const {
        if (v < SMALL)
            return (small_[v >> 6] >> (v & 63)) & 1u;
        return HasLarge(v);
    }
    bool Empty() const { return count_ == 0; }

private:
    static constexpr std::uint64_t SMALL = 65536;
    bool HasLarge(std::uint64_t v) const;
    void Grow();

    std::vector<std::uint64_t> small_;
    std::vector<std::uint64_t> large_; // open addressing; `used_` marks the slots
    std::vector<std::uint8_t> used_;
    std::size_t largeCount_ = 0;
    std::size_t count_ = 0;
};

class TStatSelection {
public:
    TStatSelection() = default;
    explicit TStatSelection(const TStatDrawArray& items);
    void Assign(const TStatDrawArray& items);

    // The selected items themselves, in selection order.
    const TStatDrawArray& Items() const { return items_; }
    std::size_t Count() const { return items_.size(); }
    bool Empty() const { return items_.empty(); }

    bool HasKey(const TStatKey& key) const { return keys_.Has(KeyBits(key)); }
    bool HasKey(std::uint16_t k1, std::uint16_t k2 = 0, std::uint16_t k3 = 0, std::uint16_t k4 = 0) const {
        return keys_.Has(static_cast<std::uint64_t>(k1) | (static_cast<std::uint64_t>(k2) << 16) |
                         (static_cast<std::uint64_t>(k3) << 32) | (static_cast<std::uint64_t>(k4) << 48));
    }
    // Key word i (1..4) equal to w.
    bool HasWord(int i, std::uint16_t w) const {
        return (words_[static_cast<std::size_t>(i - 1) * WORD_BLOCKS + (w >> 6)] >> (w & 63)) & 1u;
    }
    // Key byte i (1..8) equal to b.
    bool HasByte(int i, std::uint8_t b) const {
        return (bytes_[static_cast<std::size_t>(i - 1) * 4 + (b >> 6)] >> (b & 63)) & 1u;
    }
    // V1 (i = 1) or V2 (i = 2) equal to l.
    bool HasLong(int i, std::int32_t l) const {
        return (i == 1 ? v1_ : v2_).Has(static_cast<std::uint32_t>(l));
    }
    // K1 equal to w1 and K3 equal to w3.
    bool HasWords13(std::uint16_t w1, std::uint16_t w3) const {
        return words13_.Has(static_cast<std::uint64_t>(w1) | (static_cast<std::uint64_t>(w3) << 16));
    }

private:
    static constexpr std::size_t WORD_BLOCKS = 65536 / 64;

    TStatDrawArray items_;
    TKeySet keys_;
    TKeySet v1_;
    TKeySet v2_;
    TKeySet words13_;
    std::vector<std::uint64_t> words_ = std::vector<std::uint64_t>(4 * WORD_BLOCKS, 0);
    std::uint64_t bytes_[8 * 4] = {};
};

} // namespace pelko
