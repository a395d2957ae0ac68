#pragma once
// Group "per": the period, in draws, between two consecutive appearances of a value (a
// number, a channel or a segment). The last appearance of every value is carried through
// the pass in its TLastValueArray, which the caller empties. A filter on (value, period)
// looks back into the archive by the period; that look-back depends only on the reference
// draw and the selection, so PrepareTest settles it once per pass.

#include "stats/custom_stat.h"
#include "stats/families/number_value_map.h"

#include <array>
#include <string>

namespace pelko {

// Values: K1 = the value, K2 = the period.
class TCustomPeriodsStat : public TCustomStat {
  public:
    TCustomPeriodsStat(const TStatList& List, int Type, const TNumberValueMap& Map);

    // "<value> x <period>".
    std::string ValueToText(const TStatDraw& Item) const override;
    void ComputeForDraw(int DrawIndex, int LastIndex, bool Sorted, TStatDrawList& Values,
                        TStatWorkArea& Work, TLastValueArray& LastValues) override;
    // The next draw at which the item's value comes back after exactly the item's period,
    // measuring the first return from the value's last appearance before FromIndex.
    int FindNextOccurrence(const TStatDraw& Item, int FromIndex, bool Sorted,
                           int RefIndex) override;
    void PrepareTest(const TStatSelection& Selected, int RefIndex, bool Sorted,
                     bool Exclude) override;
    // A selection or reference other than the prepared one is prepared first.
    bool TestCombination(const TComb& Comb, const TStatSelection& Selected, int RefIndex,
                         bool Sorted, bool Exclude) override;

    // The value the number at a position (1..6) stands for.
    virtual int ValueOfNumber(int Position, int Number) const;

  protected:
    // The value part of the text: decimal; channels use two digits.
    virtual std::string ValueText(int Value) const;

  private:
    // Whether draw Index (all zero outside the archive) has a number standing for Value.
    bool DrawHasValue(int Index, int Value) const;

    TNumberValueMap map_;
    // Per value: some selected period finds it (keep) / misses it (drop) in the draw looked at.
    std::array<bool, 256> keep_{};
    std::array<bool, 256> drop_{};
    const TStatSelection* prepared_ = nullptr;
    int preparedRef_ = 0;
};

} // namespace pelko
