#include "stats/analysis/week_stats.h"

#include "core/date_time.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace pelko {

int IsoWeekday(int year, int month, int day) {
    // Sakamoto's method: 0 Sunday .. 6 Saturday, proleptic Gregorian.
    static const int offsets[12] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    if (month < 3) year -= 1;
    const int weekday =
        (year + year / 4 - year / 100 + year / 400 + offsets[month - 1] + day) % 7;
    return weekday == 0 ? 7 : weekday;
}

TWeekCounts ComputeWeekCounts(const TDrawsArray& draws, int offset, int n) {
    TWeekCounts counts;
    const int a = static_cast<int>(draws.size()) - 1 - offset;
    if (a < 0 || n < 1) return counts;
    for (int i = std::max(0, a - n + 1); i <= a; ++i) {
        const TDrawData& draw = draws[static_cast<std::size_t>(i)];
        int day = 6; // the zero date of an empty date text
        try {
            const TDateTime date = ParseDrawDate(draw.DateText());
            if (!date.IsNull()) day = IsoWeekday(date.Year, date.Month, date.Day);
        } catch (const std::runtime_error&) {
            continue;
        }
        for (const std::uint8_t number : draw.Nums)
            if (number >= 1 && number <= LOTTO_MAX) ++counts.Count[number - 1][day - 1];
    }
    for (const auto& row : counts.Count)
        for (const std::int32_t c : row) counts.Max = std::max(counts.Max, c);
    return counts;
}

std::uint32_t WeekCellColor(std::int32_t count, std::int32_t max) {
    if (max <= 0) return 0xFFFFFF;
    const double fade = 255.0 - 255.0 * count / max;
    const auto gb = static_cast<std::uint32_t>(std::clamp(std::nearbyint(fade), 0.0, 255.0));
    return 0xFF0000u | gb << 8 | gb;
}

} // namespace pelko
