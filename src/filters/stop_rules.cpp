#include "filters/stop_rules.h"

#include "filters/row_level.h"

namespace pelko {

namespace {

// Count and share stops: the walk has reached rows at (top-down: below) the limit.
bool ReachedLimit(const TFilterPart& part, long double columnValue) {
    const long double limit = part.StopValue;
    return part.BottomUp ? columnValue >= limit : columnValue <= limit;
}

int ExtendedStakeLimit(const TFilterPart& part, int maxStake) {
    return part.StopValue >= 7 && part.StopValue <= maxStake ? part.StopValue : maxStake;
}

} // namespace

bool StopBeforeRow(const TFilterPart& part, const TStatValues& row, const TWalkState& state) {
    switch (part.StopMode) {
    case smSteps:
        return state.Steps >= part.StopValue;
    case smCountValue:
        return ReachedLimit(part, RowTextToIntDef(row.Count, 0));
    case smCountPercent:
        return ReachedLimit(part, RowTextToDecimalDef(row.CountPercent, 0));
    default:
        break;
    }
    if (part.MultiSelect)
        return false;
    switch (part.StopMode) {
    case smCombsCount:
        return part.StopValue >= 0 && state.ListCount <= static_cast<std::size_t>(part.StopValue);
    case smExtendedStake:
        return state.ListCount <= 1 ||
               (state.UniqueNumbers && state.UniqueNumbers() <= ExtendedStakeLimit(part, state.MaxStake));
    default:
        return false;
    }
}

} // namespace pelko
