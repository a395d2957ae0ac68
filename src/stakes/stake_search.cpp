#include "stakes/stake_search.h"

#include "core/record_helpers.h"
#include "core/record_io.h"

#include <vector>

namespace pelko {

bool FindStake(TStakesFile& file, std::int32_t drawNumber, const TNumberSet& numbers) {
    bool found = false;
    ForEachStakeRecord(file, 0, [&](std::int64_t, const char* raw) {
        TRecordReader r(raw + stake_offsets::DrawNumber);
        if (r.I32() != drawNumber) return true;
        const TStakeData s = DecodeStakeRecord(raw);
        found = IsValidStakeRecord(s) && SameNumberSets(s.Numbers, numbers);
        return !found;
    });
    return found;
}

TRecentDraws SeekRecentDraws(TStakesFile& file, int n) {
    constexpr std::size_t BLOCK = 4096;
    TRecentDraws result;
    std::vector<char> block;
    std::int64_t end = file.Count();
    bool any = false;
    std::int32_t previous = 0;
    while (end > 0) {
        const std::int64_t begin = end > static_cast<std::int64_t>(BLOCK) ? end - BLOCK : 0;
        const std::size_t got =
            file.ReadRecords(begin, static_cast<std::size_t>(end - begin), block);
        for (std::size_t i = got; i-- > 0;) {
            const TStakeData s = DecodeStakeRecord(block.data() + i * STAKE_RECORD_SIZE);
            if (!s.IsChecked() || s.DrawNumber <= 0 || s.MatchCount() < 0 ||
                !IsValidStakeRecord(s))
                continue;
            if (!any || s.DrawNumber != previous) {
                if (result.Groups == n) {
                    result.Start = begin + static_cast<std::int64_t>(i) + 1;
                    return result;
                }
                ++result.Groups;
            }
            any = true;
            previous = s.DrawNumber;
        }
        end = begin;
    }
    result.Start = 0;
    return result;
}

} // namespace pelko
