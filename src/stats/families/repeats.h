#pragma once
// Group "rep": numbers of a draw that came back from an earlier draw. The two-draw
// statistics compare draw k with draw k - Distance, optionally with the neighbours of the
// earlier numbers (each shifted by Shift around 1..45); Shift and Distance are constants
// of each class. Value statistics list the repeated numbers, restricted to those of the
// reference draw (the newest of the window); count statistics list how many repeated.
//
// A combination stands for the draw after the reference draw, so it is compared with the
// draws before that one.

#include "core/lottery.h"
#include "stats/custom_stat.h"

#include <cstdint>

namespace pelko {

// Bit n set for every number n (1..45) of the six; zero bytes (an empty draw) set nothing.
std::uint64_t NumberMask(const std::uint8_t* nums);
// The same for every number shifted by `shift` around 1..45.
std::uint64_t ShiftedNumberMask(const std::uint8_t* nums, int shift);

// How many of a combination's numbers lie in a set. Combinations mostly come in generation
// order, where the first five numbers stay the same for several in a row: their count is
// kept until they change. Reset whenever the set changes.
class TPrefixCounter {
public:
    void Reset() { prefix_ = NO_PREFIX; }
    int Count(const std::uint8_t* n, std::uint64_t set);

private:
    static constexpr std::uint64_t NO_PREFIX = ~std::uint64_t{0};
    std::uint64_t prefix_ = NO_PREFIX;
    int count_ = 0;
};

// Which repeated numbers of the reference draw came back, with their counts over the window.
class TCustomRepValues2Stat : public TCustomValuesStat {
public:
    using TCustomValuesStat::TCustomValuesStat;

    // Added to every earlier number before it is compared (0, +1, -1, +2, -2).
    virtual int Shift() const = 0;
    // How many draws back the earlier draw lies (1 = the previous draw).
    virtual int Distance() const = 0;

    // The reference draw's numbers (in drawn order), shifted.
    void FillAllValues(int LastIndex, TStatDrawList& Values) override;
    void ComputeForDraw(int DrawIndex, int LastIndex, bool Sorted, TStatDrawList& Values,
                        TStatWorkArea& Work, TLastValueArray& LastValues) override;
    void PrepareTest(const TStatSelection& Selected, int RefIndex, bool Sorted, bool Exclude) override;
    // Some number of the combination is selected.
    bool TestCombination(const TComb& Comb, const TStatSelection& Selected, int RefIndex, bool Sorted,
                         bool Exclude) override;

private:
    const TStatSelection* prepared_ = nullptr;
    std::uint64_t selectedNumbers_ = 0;
};

// How many (shifted) numbers of draw k - Distance came back in draw k, 0..6.
class TCustomRepCount2Stat : public TCustomNumbersStat {
public:
    using TCustomNumbersStat::TCustomNumbersStat;

    virtual int Shift() const = 0;
    virtual int Distance() const = 0;

    // The counts 1..6.
    void FillAllValues(int LastIndex, TStatDrawList& Values) override;
    void ComputeForDraw(int DrawIndex, int LastIndex, bool Sorted, TStatDrawList& Values,
                        TStatWorkArea& Work, TLastValueArray& LastValues) override;
    void PrepareTest(const TStatSelection& Selected, int RefIndex, bool Sorted, bool Exclude) override;
    // The count of the combination against draw RefIndex - Distance + 1 is selected.
    bool TestCombination(const TComb& Comb, const TStatSelection& Selected, int RefIndex, bool Sorted,
                         bool Exclude) override;

private:
    void Prepare(const TStatSelection& Selected, int RefIndex);

    const TStatSelection* prepared_ = nullptr;
    int preparedRef_ = 0;
    std::uint64_t earlier_ = 0;       // the shifted numbers the combination is compared with
    std::uint8_t selectedCounts_ = 0; // bit c: count c is selected
    TPrefixCounter counter_;
};

} // namespace pelko
