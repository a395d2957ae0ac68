#include "core/draw_match_set.h"

#include "core/record_helpers.h"

#include <algorithm>
#include <bit>

namespace pelko {

namespace {

// The number mask of six distinct numbers in 1..MASK_MAX, or 0 for any other six bytes.
std::uint64_t SimpleMask(const std::uint8_t* six) {
    std::uint64_t mask = 0;
    for (int i = 0; i < LOTTO_COUNT; ++i) {
        if (six[i] < 1 || six[i] > TDrawMatchSet::MASK_MAX) return 0;
        mask |= std::uint64_t{1} << six[i];
    }
    return std::popcount(mask) == LOTTO_COUNT ? mask : 0;
}

} // namespace

TDrawMatchSet::TDrawMatchSet(const TDrawsArray& draws, int first, int last) {
    first = std::max(first, 0);
    last = std::min(last, static_cast<int>(draws.size()) - 1);
    for (int i = first; i <= last; ++i)
        Add(draws[static_cast<std::size_t>(i)]);
}

void TDrawMatchSet::Add(const TDrawData& draw) {
    const std::uint64_t mask = SimpleMask(draw.Nums);
    if (mask == 0) {
        odd_.push_back(draw);
        return;
    }
    if (HasMask(mask)) return;
    simpleMasks_.push_back(mask);
    InsertMask(mask);
}

void TDrawMatchSet::InsertMask(std::uint64_t mask) {
    if (4 * (simpleCount_ + 1) > table_.size()) {
        std::vector<std::uint64_t> old = std::move(table_);
        ++bits_;
        table_.assign(std::size_t{1} << bits_, 0);
        simpleCount_ = 0;
        for (const std::uint64_t m : old)
            if (m != 0) InsertMask(m);
    }
    const std::uint64_t hash = mask * HASH_FACTOR;
    filter_[hash >> 54] |= std::uint64_t{1} << (hash >> 48 & 63);
    std::size_t i = Slot(mask, bits_);
    while (table_[i] != 0)
        i = (i + 1) & (table_.size() - 1);
    table_[i] = mask;
    ++simpleCount_;
}

bool TDrawMatchSet::MatchesSlowly(const TComb& comb) const {
    for (const TDrawData& draw : odd_)
        if (CountMatches(draw, comb) == LOTTO_COUNT) return true;
    std::uint64_t maskInRange = 0;
    for (const std::uint8_t v : comb) {
        if (v < 1 || v > MASK_MAX) // a number outside the masks is in no simple draw
            return false;
        maskInRange |= std::uint64_t{1} << v;
    }
    if (std::popcount(maskInRange) == LOTTO_COUNT) return HasMask(maskInRange);
    // Repeated numbers: every position matches exactly when all the combination's
    // numbers are among the draw's six distinct ones.
    return std::any_of(simpleMasks_.begin(), simpleMasks_.end(),
                       [&](std::uint64_t m) { return (maskInRange & ~m) == 0; });
}

} // namespace pelko
