#include "stakes/stake_profit.h"

#include "core/arithmetic.h"

#include <algorithm>
#include <limits>

namespace pelko {

namespace {

// Saturating product: an absurd cost must not wrap round into a profit.
TMoney MulMoney(std::int64_t count, TMoney cost) {
    TMoney out;
    if (__builtin_mul_overflow(count, cost, &out))
        return (count < 0) != (cost < 0) ? std::numeric_limits<TMoney>::min()
                                         : std::numeric_limits<TMoney>::max();
    return out;
}

} // namespace

TProfitTable::TProfitTable(const TConfigData& config) {
    for (int n = 0; n <= NUMBER_SET_CAPACITY; ++n)
        cost_[n] = MulMoney(Binomial(n, LOTTO_COUNT), config.Cost);
    // The first row for a match count wins; later rows with the same count are ignored.
    std::array<bool, LOTTO_COUNT + 1> seen{};
    for (const TProfitItem& item : config.Profits)
        if (item.Matches <= LOTTO_COUNT && !seen[item.Matches]) {
            seen[item.Matches] = true;
            prize_[item.Matches] = item.Prize;
        }
}

TMoney TProfitTable::Cost(int n) const {
    return cost_[std::clamp(n, 0, NUMBER_SET_CAPACITY)];
}

TMoney TProfitTable::Profit(int n, int m) const {
    const TMoney cost = Cost(n);
    const TMoney loss =
        cost == std::numeric_limits<TMoney>::min() ? std::numeric_limits<TMoney>::max() : -cost;
    if (m < 0 || m > LOTTO_COUNT) return loss;
    TMoney out;
    if (__builtin_add_overflow(loss, prize_[m], &out))
        return prize_[m] > 0 ? std::numeric_limits<TMoney>::max()
                             : std::numeric_limits<TMoney>::min();
    return out;
}

TMoney StakeProfit(const TConfigData& config, int n, int m) {
    return TProfitTable(config).Profit(n, m);
}

} // namespace pelko
