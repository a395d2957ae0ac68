#pragma once
// The week view (tab "Неделя"): over the last N draws up to the analysis point, how often
// each number was drawn on each day of the week.

#include "core/lottery.h"

#include <array>
#include <cstdint>

namespace pelko {

struct TWeekCounts {
    // Count[n - 1][d - 1]: number n (1..45) on weekday d (1 Monday .. 7 Sunday).
    std::array<std::array<std::int32_t, 7>, LOTTO_MAX> Count{};
    std::int32_t Max = 0;
    std::int32_t At(int n, int day) const { return Count[n - 1][day - 1]; }
};

// Draws whose date cannot be read are skipped; an empty date is the zero date, a Saturday.
TWeekCounts ComputeWeekCounts(const TDrawsArray& draws, int offset, int n);

// ISO weekday (1 Monday .. 7 Sunday) of a civil date.
int IsoWeekday(int year, int month, int day);

// The heat of a filled cell, 0xRRGGBB: white for few, pure red for the largest count.
std::uint32_t WeekCellColor(std::int32_t count, std::int32_t max);

} // namespace pelko
