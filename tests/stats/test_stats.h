#pragma once
// Small statistic classes for the engine's own tests, so the base, the registry and the
// table are tested without the real families.

#include "stats/custom_stat.h"
#include "stats/stat_class_table.h"
#include "stats/stat_list.h"

#include <initializer_list>

namespace pelko::test {

TDrawData MakeDraw(int number, std::initializer_list<int> nums);

// Every number of the draw, K1 (like NUMS); flag N.
class TstTestValues : public TCustomValuesStat {
public:
    using TCustomValuesStat::TCustomValuesStat;
    void FillAllValues(int LastIndex, TStatDrawList& Values) override;
    void ComputeForCombination(const TComb& Comb, TStatDrawList& Values) override;
    void ComputeForDraw(int DrawIndex, int LastIndex, bool Sorted, TStatDrawList& Values,
                        TStatWorkArea& Work, TLastValueArray& LastValues) override;
    bool TestCombination(const TComb& Comb, const TStatSelection& Selected, int RefIndex, bool Sorted,
                         bool Exclude) override;
};

// The sum of the six numbers, V1; no pre-fill; graph.
class TstTestSum : public TCustomGraphStat {
public:
    using TCustomGraphStat::TCustomGraphStat;
    void ComputeForCombination(const TComb& Comb, TStatDrawList& Values) override;
    void ComputeForDraw(int DrawIndex, int LastIndex, bool Sorted, TStatDrawList& Values,
                        TStatWorkArea& Work, TLastValueArray& LastValues) override;
    bool TestCombination(const TComb& Comb, const TStatSelection& Selected, int RefIndex, bool Sorted,
                         bool Exclude) override;
    int GraphValue(const TComb& Comb, int DrawIndex, int RefIndex, bool Sorted) override;
};

// Parity mask of the numbers in their order (odd = 1, shown "н"); order sensitive.
class TstTestMask : public TCustomMaskStat {
public:
    using TCustomMaskStat::TCustomMaskStat;
    void ComputeForCombination(const TComb& Comb, TStatDrawList& Values) override;
    void ComputeForDraw(int DrawIndex, int LastIndex, bool Sorted, TStatDrawList& Values,
                        TStatWorkArea& Work, TLastValueArray& LastValues) override;
    bool TestCombination(const TComb& Comb, const TStatSelection& Selected, int RefIndex, bool Sorted,
                         bool Exclude) override;
    std::string ZeroLetter() const override { return "Ч"; }
    std::string OneLetter() const override { return "н"; }
};

// Count of even numbers as a ratio (like EVEN).
class TstTestRatio : public TCustomRatioStat {
public:
    using TCustomRatioStat::TCustomRatioStat;
    void FillAllValues(int LastIndex, TStatDrawList& Values) override;
    void ComputeForCombination(const TComb& Comb, TStatDrawList& Values) override;
    void ComputeForDraw(int DrawIndex, int LastIndex, bool Sorted, TStatDrawList& Values,
                        TStatWorkArea& Work, TLastValueArray& LastValues) override;
    bool TestCombination(const TComb& Comb, const TStatSelection& Selected, int RefIndex, bool Sorted,
                         bool Exclude) override;
    int GraphValue(const TComb& Comb, int DrawIndex, int RefIndex, bool Sorted) override;
};

// The table: TVAL (0), TSUM (1), TMSK (2), TRAT (3), typed ones and an unavailable one.
const TStatClassTable& TestClasses();

} // namespace pelko::test
