#pragma once
// The containers statistics fill: the value list with its merge rule (AddStatDraw), the
// last-occurrence list of the periods family and the per-number work area of the serial
// family.

#include "core/lottery.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <vector>

namespace pelko {

// The key's eight bytes as one number; equal keys give equal numbers. Keys holding only a
// word K1 (K2..K4 zero) give values below 65536.
inline std::uint64_t KeyBits(const TStatKey& key) {
    std::uint64_t v;
    std::memcpy(&v, key.B, sizeof v); // one load: the key was usually just stored whole
    if constexpr (std::endian::native == std::endian::big)
        v = __builtin_bswap64(v);
    return v;
}

// The values of one computation in order of first appearance (or key order after
// SortByKey), each key at most once. Lookup by key takes constant time: small K1-only keys
// index a direct table, all others an open-addressing hash, so merging millions of
// combination values costs no linear scans.
class TStatDrawList {
public:
    TStatDrawList();

    std::size_t size() const { return items_.size(); }
    bool empty() const { return items_.empty(); }
    const TStatDraw& operator[](std::size_t i) const { return items_[i]; }
    // Counters may be changed in place; the key must not be.
    TStatDraw& operator[](std::size_t i) { return items_[i]; }
    const TStatDraw* begin() const { return items_.data(); }
    const TStatDraw* end() const { return items_.data() + items_.size(); }
    TStatDraw* begin() { return items_.data(); }
    TStatDraw* end() { return items_.data() + items_.size(); }
    const TStatDrawArray& Items() const { return items_; }

    void Clear();
    // Index of the element with this key, -1 when absent.
    int Find(const TStatKey& key) const {
        const std::uint64_t bits = KeyBits(key);
        if (bits < DIRECT_SIZE)
            return direct_[bits];
        return FindHashed(bits);
    }
    // Appends without looking (the key must be new).
    void Append(const TStatDraw& item);
    // Sorts ascending by key (CompareKeys) and re-indexes.
    void SortByKey();
    // Replaces the content; duplicate keys keep their first element only.
    void Assign(const TStatDrawArray& items);

    // Counting mode: merging only adds up Count per key (new keys are kept with the rest of
    // their first item). Prefetch files keep nothing else of a value, so the pass over all
    // combinations counts this way; small keys then cost one counter increment. The list's
    // elements are complete again after EndCounting.
    void BeginCounting();
    void EndCounting();
    bool CountingOnly() const { return countingOnly_; }
    void CountItem(const TStatDraw& item) {
        const std::uint64_t bits = KeyBits(item.Key);
        if (bits < DIRECT_SIZE) {
            std::int32_t& c = counts_[bank_ + bits];
            if (c == 0)
                Touch(bits);
            c += item.Count;
            return;
        }
        CountHashed(bits, item);
    }
    // Consecutive combinations count into different banks of counters, so that increments
    // of one value do not wait for each other through memory.
    void SelectCountingBank(std::size_t combination) {
        bank_ = (combination & (COUNTING_BANKS - 1)) * DIRECT_SIZE;
    }

private:
    static constexpr std::uint64_t DIRECT_SIZE = 1024;
    static constexpr std::size_t COUNTING_BANKS = 4;
    int FindHashed(std::uint64_t bits) const;
    void IndexLast();
    void Touch(std::uint64_t bits);
    void CountHashed(std::uint64_t bits, const TStatDraw& item);
    void Rehash(std::size_t capacity);

    TStatDrawArray items_;
    std::vector<std::int32_t> direct_; // DIRECT_SIZE entries, -1 = none
    std::vector<std::uint64_t> hashKeys_;
    std::vector<std::int32_t> hashSlots_; // -1 = empty
    std::size_t hashed_ = 0;
    bool countingOnly_ = false;
    std::vector<std::int32_t> counts_; // counting mode: COUNTING_BANKS x DIRECT_SIZE counters
    std::size_t bank_ = 0; // offset of the current bank
    std::vector<std::uint16_t> touched_; // small keys counted, in order of first count
    std::vector<std::uint8_t> isTouched_;
};

// Merges one occurrence into Values (see TStatDrawList): a present key adds Count, takes
// LastDraw/LastAge when its own age is unset or not younger, measures the gap to PrevDraw
// when TrackGaps, and always moves PrevDraw on; a new key is appended as it is.
inline void AddStatDraw(TStatDrawList& Values, const TStatDraw& Item, bool TrackGaps) {
    if (Values.CountingOnly()) {
        Values.CountItem(Item);
        return;
    }
    const int at = Values.Find(Item.Key);
    if (at < 0) {
        Values.Append(Item);
        return;
    }
    // Item is often the statistic's own member: read it before writing the element
    const std::int32_t count = Item.Count, lastDraw = Item.LastDraw, lastAge = Item.LastAge;
    TStatDraw& v = Values[static_cast<std::size_t>(at)];
    v.Count += count;
    if (v.LastAge == 0 || (lastAge > 0 && v.LastAge >= lastAge)) {
        v.LastDraw = lastDraw;
        v.LastAge = lastAge;
    }
    if (TrackGaps && lastDraw > 0 && v.PrevDraw > 0) {
        const std::int32_t d = v.PrevDraw - lastDraw;
        const auto gap = static_cast<std::uint16_t>(d < 0 ? -d : d);
        if (gap < v.MinPeriod || v.MinPeriod == 0)
            v.MinPeriod = gap;
        if (gap > v.MaxPeriod || v.MaxPeriod == 0)
            v.MaxPeriod = gap;
    }
    v.PrevDraw = lastDraw;
}

// The latest draw number seen for a key; owned by the caller, emptied before each pass.
struct TLastValue {
    std::int32_t Draw = 0;
    TStatKey Key;
};
using TLastValueArray = std::vector<TLastValue>;

// Stores Item's draw number under its key. Returns new minus old draw number when the key
// was present, -1 when it was appended.
int UpdateLastValue(const TStatDraw& Item, TLastValueArray& LastValues);

// Run state of one value 1..45, kept by the serial statistics from draw to draw.
struct TStatWorkEntry {
    std::int32_t RunLength = 0;
    std::int32_t RunDraw = 0; // draw number of the run's latest draw
    std::int32_t RunAge = 0;  // age of that draw
};

// 45 entries, value v at index v - 1; the caller zeroes it before each computation pass.
struct TStatWorkArea {
    TStatWorkEntry Entries[LOTTO_MAX] = {};
    TStatWorkEntry& operator[](int value) { return Entries[value - 1]; }
    const TStatWorkEntry& operator[](int value) const { return Entries[value - 1]; }
    void Clear() {
        for (TStatWorkEntry& e : Entries)
            e = TStatWorkEntry{};
    }
};

} // namespace pelko
