#pragma once
// What a stake costs and wins: C(n, 6) single stakes at the configured cost, and the prize
// of the first prize-table row for its match count, added once whatever n is.

#include "core/config.h"
#include "core/lottery.h"

#include <array>

namespace pelko {

// The costs and prizes of one parameter set, looked up without recomputing binomials.
class TProfitTable {
  public:
    explicit TProfitTable(const TConfigData& config);

    // Cost of a stake of n numbers (n clamped to 0..16; fewer than 7 cost one stake).
    TMoney Cost(int n) const;
    // Minus the cost, plus the prize for m matches when 0 <= m <= 6 and a row has it.
    TMoney Profit(int n, int m) const;

  private:
    std::array<TMoney, NUMBER_SET_CAPACITY + 1> cost_{};
    std::array<TMoney, LOTTO_COUNT + 1> prize_{};
};

// StakeProfit(n, m) of the parameters: m < 0 gives minus the cost (an unchecked stake).
TMoney StakeProfit(const TConfigData& config, int n, int m);

} // namespace pelko
