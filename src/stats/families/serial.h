#pragma once
// Group "ser": runs of consecutive draws in which a value (a number, a channel or a segment)
// keeps appearing (groups) or keeps missing (pauses). Run lengths are recorded only for the
// values of the reference draw (the newest of the window); the run state of every value is
// carried from draw to draw in the pass's TStatWorkArea, which the caller zeroes.

#include "stats/custom_stat.h"
#include "stats/families/number_value_map.h"

#include <string>

namespace pelko {

// Values: K1 = the value, K2 = the run length.
class TCustomSerialStat : public TCustomStat {
  public:
    // Mode true counts groups, false pauses; the map and range give the kind of value.
    TCustomSerialStat(const TStatList& List, int Type, bool Mode, const TNumberValueMap& Map,
                      TTypeRange Range);

    // "<value> x <run>".
    std::string ValueToText(const TStatDraw& Item) const override;
    void ComputeForDraw(int DrawIndex, int LastIndex, bool Sorted, TStatDrawList& Values,
                        TStatWorkArea& Work, TLastValueArray& LastValues) override;
    // Follows only the item's value instead of recomputing every value of every draw.
    int FindNextOccurrence(const TStatDraw& Item, int FromIndex, bool Sorted,
                           int RefIndex) override;
    bool TestCombination(const TComb& Comb, const TStatSelection& Selected, int RefIndex,
                         bool Sorted, bool Exclude) override;

    // The value the number at a position (1..6) stands for.
    virtual int ValueOfNumber(int Position, int Number) const;
    // Some number of RefDraw stands for Value.
    virtual bool InRefDraw(int Value) const;

    const bool Mode;
    const int MinValue;
    const int MaxValue;

  protected:
    // The value part of the text: decimal; channels use two digits.
    virtual std::string ValueText(int Value) const;

  private:
    void AddRun(TStatDrawList& Values, int Value, const TStatWorkEntry& Run);

    TNumberValueMap map_;
};

} // namespace pelko
