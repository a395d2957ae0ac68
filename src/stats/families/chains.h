#pragma once
// Group "mov": transitions of values between consecutive draws. Each statistic looks over
// the window for earlier situations that match the present one (the reference draw, the
// newest of the window, and for three-draw chains the draw before it too) and counts what
// came next. Values are the numbers themselves, their channels or their segments; the
// "inside" kind follows each number of the reference draw to the numbers of its own
// channel in the next draw.
//
// Draws named here, for draw k computed with newest window index LastIndex: Cur = draw k,
// Ref1 = draw LastIndex (RefDraw), Ref2 = draw LastIndex - 1, Prev1 = draw k - 1,
// Prev2 = draw k - 2. Keys: two-draw items K1 = from-value, K2 = target; three-draw items
// K1 = value two draws back, K2 = one draw back, K3 = target.

#include "stats/custom_stat.h"
#include "stats/families/number_value_map.h"

#include <array>
#include <string>

namespace pelko {

class TCustomChainStat : public TCustomStat {
  public:
    TCustomChainStat(const TStatList& List, int Type, const TNumberValueMap& Map);

    // The value number n stands for.
    int V(int n) const { return map_(n); }

  protected:
    // One key word as text: decimal unless the kind shows two digits.
    virtual std::string WordText(int Word) const;
    // "a -> b" and "a-b -> c".
    std::string TwoDrawText(const TStatDraw& Item) const;
    std::string ThreeDrawText(const TStatDraw& Item) const;
    // Some number of the combination stands for a selected target (key word `word`).
    bool AnyTargetSelected(const TComb& Comb, const TStatSelection& Selected, int word) const;

    const TNumberValueMap map_;
};

class TCustomChainValues2Stat : public TCustomChainStat {
  public:
    static constexpr int DRAWS = 2;
    TCustomChainValues2Stat(const TStatList& List, int Type);
    std::string ValueToText(const TStatDraw& Item) const override { return TwoDrawText(Item); }
    bool TestCombination(const TComb& Comb, const TStatSelection& Selected, int RefIndex,
                         bool Sorted, bool Exclude) override;
};

class TCustomChainValues3Stat : public TCustomChainStat {
  public:
    static constexpr int DRAWS = 3;
    TCustomChainValues3Stat(const TStatList& List, int Type);
    std::string ValueToText(const TStatDraw& Item) const override { return ThreeDrawText(Item); }
    bool TestCombination(const TComb& Comb, const TStatSelection& Selected, int RefIndex,
                         bool Sorted, bool Exclude) override;
};

// Channels with the channel size copied from the parameters at creation.
class TCustomChainChannelsStat : public TCustomChainStat {
  public:
    TCustomChainChannelsStat(const TStatList& List, int Type);
    const int ChannelSize;
    // The largest count of numbers in one channel the count chains pre-fill.
    int CountFillMax() const { return ChannelSize; }
};

class TCustomChainChannels2Stat : public TCustomChainChannelsStat {
  public:
    static constexpr int DRAWS = 2;
    using TCustomChainChannelsStat::TCustomChainChannelsStat;
    std::string ValueToText(const TStatDraw& Item) const override { return TwoDrawText(Item); }
    bool TestCombination(const TComb& Comb, const TStatSelection& Selected, int RefIndex,
                         bool Sorted, bool Exclude) override;

  protected:
    std::string WordText(int Word) const override;
};

class TCustomChainChannels3Stat : public TCustomChainChannelsStat {
  public:
    static constexpr int DRAWS = 3;
    using TCustomChainChannelsStat::TCustomChainChannelsStat;
    std::string ValueToText(const TStatDraw& Item) const override { return ThreeDrawText(Item); }
    bool TestCombination(const TComb& Comb, const TStatSelection& Selected, int RefIndex,
                         bool Sorted, bool Exclude) override;

  protected:
    std::string WordText(int Word) const override;
};

// Each number r of Prev1 that is also in Ref1, followed to the numbers of r's channel in
// Cur. Items: K1 = r, K2 = a same-channel number of Cur, 0 for none, or (mode 3) how many.
class TCustomChainChannels2Inside : public TCustomChainChannels2Stat {
  public:
    using TCustomChainChannels2Stat::TCustomChainChannels2Stat;

    // 0 all transitions, 1 only "N-M", 2 only "N-0", 3 the number of same-channel numbers.
    virtual int InsideMode() const = 0;

    std::string ValueToText(const TStatDraw& Item) const override;
    void ComputeForDraw(int DrawIndex, int LastIndex, bool Sorted, TStatDrawList& Values,
                        TStatWorkArea& Work, TLastValueArray& LastValues) override;
    // Settles once per pass which numbers a selected item of the reference draw lets pass.
    void PrepareTest(const TStatSelection& Selected, int RefIndex, bool Sorted,
                     bool Exclude) override;
    bool TestCombination(const TComb& Comb, const TStatSelection& Selected, int RefIndex,
                         bool Sorted, bool Exclude) override;

  private:
    std::array<bool, 256> passes_{};
    const TStatSelection* prepared_ = nullptr;
    int preparedRef_ = 0;
};

// Segments with the segment map copied from the parameters at creation.
class TCustomChainSegmentsStat : public TCustomChainStat {
  public:
    TCustomChainSegmentsStat(const TStatList& List, int Type);
    const std::array<std::uint8_t, LOTTO_MAX> Segments;
    // Segment counts pre-fill the single target 0.
    int CountFillMax() const { return 0; }
};

class TCustomChainSegments2Stat : public TCustomChainSegmentsStat {
  public:
    static constexpr int DRAWS = 2;
    using TCustomChainSegmentsStat::TCustomChainSegmentsStat;
    std::string ValueToText(const TStatDraw& Item) const override { return TwoDrawText(Item); }
    bool TestCombination(const TComb& Comb, const TStatSelection& Selected, int RefIndex,
                         bool Sorted, bool Exclude) override;
};

class TCustomChainSegments3Stat : public TCustomChainSegmentsStat {
  public:
    static constexpr int DRAWS = 3;
    using TCustomChainSegmentsStat::TCustomChainSegmentsStat;
    std::string ValueToText(const TStatDraw& Item) const override { return ThreeDrawText(Item); }
    bool TestCombination(const TComb& Comb, const TStatSelection& Selected, int RefIndex,
                         bool Sorted, bool Exclude) override;
};

} // namespace pelko
