#pragma once
// The final class of a statistic G for the passes over millions of combinations: the filter
// pass calls G's own TestCombination without a virtual call per combination (TStatBatch),
// and the prefetch pass uses G's CountCombinations when G has one (values counted locally
// over a run of combinations, then merged once each).

#include "core/lottery.h"
#include "stats/custom_stat.h"

#include <cstddef>

namespace pelko {

template <class G> class TBatched final : public TStatBatch<TBatched<G>, G> {
  public:
    using TStatBatch<TBatched<G>, G>::TStatBatch;

    void ComputeForCombinations(const TComb* Combs, std::size_t Count,
                                TStatDrawList& Values) override {
        if constexpr (requires(G & g, const TComb* c, std::size_t n, TStatDrawList& v) {
                          g.CountCombinations(c, n, v);
                      })
            G::CountCombinations(Combs, Count, Values);
        else
            TStatBatch<TBatched<G>, G>::ComputeForCombinations(Combs, Count, Values);
    }
};

} // namespace pelko
