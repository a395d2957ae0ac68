#pragma once
// Counting the values of a run of combinations locally before merging them. Combinations
// merge without gap tracking and with no draw of their own, so adding a value k times
// leaves the list exactly as one add with Count k; counting a run of combinations in a
// dense local table and merging each value once (in order of first appearance) gives the
// same list as merging every occurrence, at a fraction of the cost.

#include <cstddef>
#include <cstdint>

namespace pelko {

// Counters for the value indices 0..Size-1 with the order of their first count.
// Consecutive combinations count into different banks, so that increments of one value
// (the same first numbers recur for long runs) do not wait for each other through memory.
template <int Size> class TBatchCounts {
  public:
    static constexpr std::size_t BANKS = 4;

    // Counts one occurrence of the index for the combination with this running number.
    void Add(int index, std::size_t combination) {
        if (!seen_[index]) {
            seen_[index] = true;
            order_[used_++] = static_cast<std::uint16_t>(index);
        }
        ++counts_[combination % BANKS][index];
    }
    // Counts one occurrence in the first bank (for callers without a running number).
    void Add(int index) { Add(index, 0); }
    // Calls f(index, count) for every counted index in first-appearance order, then
    // forgets the counts.
    template <class F> void Drain(F&& f) {
        for (int i = 0; i < used_; ++i) {
            const int index = order_[i];
            std::int32_t count = 0;
            for (std::size_t b = 0; b < BANKS; ++b) {
                count += counts_[b][index];
                counts_[b][index] = 0;
            }
            seen_[index] = false;
            f(index, count);
        }
        used_ = 0;
    }

  private:
    std::int32_t counts_[BANKS][Size] = {};
    bool seen_[Size] = {};
    std::uint16_t order_[Size] = {};
    int used_ = 0;
};

// Combinations per local count: keeps every counter far below overflow whatever the
// caller's run length.
inline constexpr std::size_t BATCH_COUNT_RUN = 1 << 16;

} // namespace pelko
