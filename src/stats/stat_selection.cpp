#include "stats/stat_selection.h"

#include <algorithm>

namespace pelko {

namespace {

inline std::size_t HashBits(std::uint64_t bits) {
    bits ^= bits >> 31;
    bits *= 0x9E3779B97F4A7C15ull;
    bits ^= bits >> 29;
    return static_cast<std::size_t>(bits);
}

} // namespace

TKeySet::TKeySet() : small_(SMALL / 64, 0) {}

void TKeySet::Add(std::uint64_t v) {
    if (Has(v))
        return;
    ++count_;
    if (v < SMALL) {
        small_[v >> 6] |= std::uint64_t{1} << (v & 63);
        return;
    }
    if ((largeCount_ + 1) * 2 > large_.size())
        Grow();
    const std::size_t mask = large_.size() - 1;
    std::size_t i = HashBits(v) & mask;
    while (used_[i])
        i = (i + 1) & mask;
    large_[i] = v;
    used_[i] = 1;
    ++largeCount_;
}

bool TKeySet::HasLarge(std::uint64_t v) const {
    if (large_.empty())
        return false;
    const std::size_t mask = large_.size() - 1;
    for (std::size_t i = HashBits(v) & mask; used_[i]; i = (i + 1) & mask)
        if (large_[i] == v)
            return true;
    return false;
}

void TKeySet::Grow() {
    const std::size_t capacity = large_.empty() ? 16 : large_.size() * 2;
    std::vector<std::uint64_t> keys(capacity, 0);
    std::vector<std::uint8_t> used(capacity, 0);
    const std::size_t mask = capacity - 1;
    for (std::size_t j = 0; j < large_.size(); ++j) {
        if (!used_[j])
            continue;
        std::size_t i = HashBits(large_[j]) & mask;
        while (used[i])
            i = (i + 1) & mask;
        keys[i] = large_[j];
        used[i] = 1;
    }
    large_.swap(keys);
    used_.swap(used);
}

TStatSelection::TStatSelection(const TStatDrawArray& items) {
    Assign(items);
}

void TStatSelection::Assign(const TStatDrawArray& items) {
    *this = TStatSelection();
    items_ = items;
    for (const TStatDraw& item : items_) {
        const TStatKey& k = item.Key;
        keys_.Add(KeyBits(k));
        v1_.Add(static_cast<std::uint32_t>(k.V(1)));
        v2_.Add(static_cast<std::uint32_t>(k.V(2)));
        words13_.Add(static_cast<std::uint64_t>(k.K(1)) | (static_cast<std::uint64_t>(k.K(3)) << 16));
        for (int i = 1; i <= 4; ++i) {
            const std::uint16_t w = k.K(i);
            words_[static_cast<std::size_t>(i - 1) * WORD_BLOCKS + (w >> 6)] |= std::uint64_t{1} << (w & 63);
        }
        for (int i = 1; i <= 8; ++i) {
            const std::uint8_t b = k.B[i - 1];
            bytes_[static_cast<std::size_t>(i - 1) * 4 + (b >> 6)] |= std::uint64_t{1} << (b & 63);
        }
    }
}

} // namespace pelko
