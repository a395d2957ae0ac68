#pragma once
// How the run, period and chain statistics see a lottery number: as itself, as its channel
// or as its matrix segment. The map is a table built once when the statistic is created
// (from the parameters it copies then), so the per-combination tests pay one load per number.

#include "core/config.h"
#include "core/geometry.h"
#include "core/lottery.h"

#include <array>
#include <cstdint>

namespace pelko {

class TNumberValueMap {
  public:
    // Number n stands for n.
    static TNumberValueMap Numbers() {
        TNumberValueMap map;
        for (int n = 0; n < 256; ++n)
            map.of_[static_cast<std::size_t>(n)] = static_cast<std::uint8_t>(n);
        return map;
    }
    // Number n stands for its channel; a width of 0 or less makes every value 0.
    static TNumberValueMap Channels(int width) {
        TNumberValueMap map;
        if (width > 0)
            for (int n = 1; n < 256; ++n)
                map.of_[static_cast<std::size_t>(n)] =
                    static_cast<std::uint8_t>(ChannelOf(n, width));
        return map;
    }
    // Number n (1..45) stands for its segment digit; other numbers for 0.
    static TNumberValueMap Segments(const std::array<std::uint8_t, LOTTO_MAX>& segments) {
        TNumberValueMap map;
        for (int n = 1; n <= LOTTO_MAX; ++n)
            map.of_[static_cast<std::size_t>(n)] = segments[static_cast<std::size_t>(n - 1)];
        return map;
    }

    int operator()(int n) const { return of_[static_cast<std::size_t>(n & 0xFF)]; }

    // Bit v set for every value v (below 64) that some of the six numbers stands for.
    std::uint64_t MaskOf(const std::uint8_t* nums) const {
        std::uint64_t mask = 0;
        for (int i = 0; i < LOTTO_COUNT; ++i) {
            const int v = of_[nums[i]];
            if (v < 64) mask |= std::uint64_t{1} << v;
        }
        return mask;
    }
    // How many of the six numbers stand for value v.
    int CountOf(const std::uint8_t* nums, int v) const {
        int count = 0;
        for (int i = 0; i < LOTTO_COUNT; ++i)
            count += of_[nums[i]] == v ? 1 : 0;
        return count;
    }
    bool AnyOf(const std::uint8_t* nums, int v) const { return CountOf(nums, v) > 0; }

  private:
    std::array<std::uint8_t, 256> of_{};
};

} // namespace pelko
