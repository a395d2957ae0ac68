#include "stats/stat_draw.h"

#include <algorithm>

namespace pelko {

namespace {

inline std::size_t HashBits(std::uint64_t bits) {
    bits ^= bits >> 29;
    bits *= 0xBF58476D1CE4E5B9ull;
    bits ^= bits >> 32;
    return static_cast<std::size_t>(bits);
}

} // namespace

TStatDrawList::TStatDrawList() : direct_(DIRECT_SIZE, -1) {}

void TStatDrawList::Clear() {
    for (const TStatDraw& item : items_) {
        const std::uint64_t bits = KeyBits(item.Key);
        if (bits < DIRECT_SIZE)
            direct_[bits] = -1;
    }
    items_.clear();
    for (const std::uint16_t bits : touched_) {
        for (std::size_t b = 0; b < COUNTING_BANKS; ++b)
            counts_[b * DIRECT_SIZE + bits] = 0;
        isTouched_[bits] = 0;
    }
    touched_.clear();
    if (hashed_ > 0) {
        std::fill(hashSlots_.begin(), hashSlots_.end(), -1);
        hashed_ = 0;
    }
}

int TStatDrawList::FindHashed(std::uint64_t bits) const {
    if (hashSlots_.empty())
        return -1;
    const std::size_t mask = hashSlots_.size() - 1;
    for (std::size_t i = HashBits(bits) & mask;; i = (i + 1) & mask) {
        const std::int32_t slot = hashSlots_[i];
        if (slot < 0)
            return -1;
        if (hashKeys_[i] == bits)
            return slot;
    }
}

void TStatDrawList::Append(const TStatDraw& item) {
    items_.push_back(item);
    IndexLast();
}

void TStatDrawList::IndexLast() {
    const auto index = static_cast<std::int32_t>(items_.size() - 1);
    const std::uint64_t bits = KeyBits(items_.back().Key);
    if (bits < DIRECT_SIZE) {
        direct_[bits] = index;
        return;
    }
    if ((hashed_ + 1) * 2 > hashSlots_.size())
        Rehash(hashSlots_.empty() ? 64 : hashSlots_.size() * 2);
    const std::size_t mask = hashSlots_.size() - 1;
    std::size_t i = HashBits(bits) & mask;
    while (hashSlots_[i] >= 0)
        i = (i + 1) & mask;
    hashSlots_[i] = index;
    hashKeys_[i] = bits;
    ++hashed_;
}

void TStatDrawList::Rehash(std::size_t capacity) {
    std::vector<std::uint64_t> keys(capacity, 0);
    std::vector<std::int32_t> slots(capacity, -1);
    const std::size_t mask = capacity - 1;
    for (std::size_t j = 0; j < hashSlots_.size(); ++j) {
        if (hashSlots_[j] < 0)
            continue;
        std::size_t i = HashBits(hashKeys_[j]) & mask;
        while (slots[i] >= 0)
            i = (i + 1) & mask;
        slots[i] = hashSlots_[j];
        keys[i] = hashKeys_[j];
    }
    hashKeys_.swap(keys);
    hashSlots_.swap(slots);
}

void TStatDrawList::SortByKey() {
    TStatDrawArray sorted = items_;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const TStatDraw& a, const TStatDraw& b) { return CompareKeys(a.Key, b.Key) < 0; });
    Assign(sorted);
}

void TStatDrawList::Assign(const TStatDrawArray& items) {
    Clear();
    items_.reserve(items.size());
    for (const TStatDraw& item : items)
        if (Find(item.Key) < 0)
            Append(item);
}

void TStatDrawList::BeginCounting() {
    counts_.assign(COUNTING_BANKS * DIRECT_SIZE, 0);
    bank_ = 0;
    isTouched_.assign(DIRECT_SIZE, 0);
    touched_.clear();
    countingOnly_ = true;
}

void TStatDrawList::Touch(std::uint64_t bits) {
    if (!isTouched_[bits]) {
        isTouched_[bits] = 1;
        touched_.push_back(static_cast<std::uint16_t>(bits));
    }
}

void TStatDrawList::CountHashed(std::uint64_t bits, const TStatDraw& item) {
    const int at = FindHashed(bits);
    if (at >= 0)
        items_[static_cast<std::size_t>(at)].Count += item.Count;
    else
        Append(item);
}

void TStatDrawList::EndCounting() {
    if (!countingOnly_)
        return;
    countingOnly_ = false;
    for (const std::uint16_t bits : touched_) {
        TStatDraw item;
        item.Key.B[0] = static_cast<std::uint8_t>(bits & 0xFF);
        item.Key.B[1] = static_cast<std::uint8_t>(bits >> 8);
        for (std::size_t b = 0; b < COUNTING_BANKS; ++b)
            item.Count += counts_[b * DIRECT_SIZE + bits];
        const int at = direct_[bits];
        if (at >= 0)
            items_[static_cast<std::size_t>(at)].Count += item.Count;
        else
            Append(item);
    }
    counts_.clear();
    isTouched_.clear();
    touched_.clear();
    bank_ = 0;
}

int UpdateLastValue(const TStatDraw& Item, TLastValueArray& LastValues) {
    for (TLastValue& last : LastValues) {
        if (last.Key == Item.Key) {
            const int diff = Item.LastDraw - last.Draw;
            last.Draw = Item.LastDraw;
            return diff;
        }
    }
    LastValues.push_back({Item.LastDraw, Item.Key});
    return -1;
}

} // namespace pelko
