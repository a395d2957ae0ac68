#include "stats/families/chains.h"

#include "core/format.h"
#include "core/record_helpers.h"
#include "stats/families/families.h"
#include "stats/families/stat_keys.h"
#include "stats/stat_list.h"

#include <algorithm>

namespace pelko {

// ---- bases ----

TCustomChainStat::TCustomChainStat(const TStatList& List, int Type, const TNumberValueMap& Map)
    : TCustomStat(List, Type), map_(Map) {}

std::string TCustomChainStat::WordText(int Word) const {
    return std::to_string(Word);
}

std::string TCustomChainStat::TwoDrawText(const TStatDraw& Item) const {
    return WordText(Item.Key.K(1)) + " -> " + WordText(Item.Key.K(2));
}

std::string TCustomChainStat::ThreeDrawText(const TStatDraw& Item) const {
    return WordText(Item.Key.K(1)) + "-" + WordText(Item.Key.K(2)) + " -> " +
           WordText(Item.Key.K(3));
}

bool TCustomChainStat::AnyTargetSelected(const TComb& Comb, const TStatSelection& Selected,
                                         int word) const {
    for (const std::uint8_t n : Comb)
        if (Selected.HasWord(word, static_cast<std::uint16_t>(map_(n)))) return true;
    return false;
}

TCustomChainValues2Stat::TCustomChainValues2Stat(const TStatList& List, int Type)
    : TCustomChainStat(List, Type, TNumberValueMap::Numbers()) {}

bool TCustomChainValues2Stat::TestCombination(const TComb& Comb, const TStatSelection& Selected,
                                              int, bool, bool) {
    return AnyTargetSelected(Comb, Selected, 2);
}

TCustomChainValues3Stat::TCustomChainValues3Stat(const TStatList& List, int Type)
    : TCustomChainStat(List, Type, TNumberValueMap::Numbers()) {}

bool TCustomChainValues3Stat::TestCombination(const TComb& Comb, const TStatSelection& Selected,
                                              int, bool, bool) {
    return AnyTargetSelected(Comb, Selected, 3);
}

TCustomChainChannelsStat::TCustomChainChannelsStat(const TStatList& List, int Type)
    : TCustomChainStat(List, Type, TNumberValueMap::Channels(List.Config.ChannelSize)),
      ChannelSize(List.Config.ChannelSize) {}

std::string TCustomChainChannels2Stat::WordText(int Word) const {
    return Format("%.2d", Word);
}

bool TCustomChainChannels2Stat::TestCombination(const TComb& Comb, const TStatSelection& Selected,
                                                int, bool, bool) {
    return AnyTargetSelected(Comb, Selected, 2);
}

std::string TCustomChainChannels3Stat::WordText(int Word) const {
    return Format("%.2d", Word);
}

bool TCustomChainChannels3Stat::TestCombination(const TComb& Comb, const TStatSelection& Selected,
                                                int, bool, bool) {
    return AnyTargetSelected(Comb, Selected, 3);
}

TCustomChainSegmentsStat::TCustomChainSegmentsStat(const TStatList& List, int Type)
    : TCustomChainStat(List, Type, TNumberValueMap::Segments(List.Config.Segments)),
      Segments(List.Config.Segments) {}

bool TCustomChainSegments2Stat::TestCombination(const TComb& Comb, const TStatSelection& Selected,
                                                int, bool, bool) {
    return AnyTargetSelected(Comb, Selected, 2);
}

bool TCustomChainSegments3Stat::TestCombination(const TComb& Comb, const TStatSelection& Selected,
                                                int, bool, bool) {
    return AnyTargetSelected(Comb, Selected, 3);
}

// ---- inside channels ----

std::string TCustomChainChannels2Inside::ValueToText(const TStatDraw& Item) const {
    if (InsideMode() == 3) // a count, not a number
        return Format("%d -> %d", Item.Key.K(1), Item.Key.K(2));
    return TCustomChainChannels2Stat::ValueToText(Item);
}

void TCustomChainChannels2Inside::ComputeForDraw(int DrawIndex, int LastIndex, bool Sorted,
                                                 TStatDrawList& Values, TStatWorkArea& Work,
                                                 TLastValueArray& LastValues) {
    TCustomChainChannels2Stat::ComputeForDraw(DrawIndex, LastIndex, Sorted, Values, Work,
                                              LastValues);
    TDrawData prev1;
    LoadDraw(DrawIndex - 1, prev1, false);
    if (prev1.Number <= 0) return;
    const int mode = InsideMode();
    for (const std::uint8_t r : prev1.Nums) {
        if (!DrawHasNumber(r, RefDraw)) continue;
        int target = 0;
        for (const std::uint8_t x : CurDraw.Nums) {
            if (V(x) != V(r)) continue;
            if (mode == 3) {
                ++target;
            } else {
                target = x;
                if (mode != 2) AddValue(Values, WordsKey(r, static_cast<std::uint16_t>(x)), true);
            }
        }
        if (mode == 3 || (target == 0 && mode != 1))
            AddValue(Values, WordsKey(r, static_cast<std::uint16_t>(target)), true);
    }
}

void TCustomChainChannels2Inside::PrepareTest(const TStatSelection& Selected, int RefIndex, bool,
                                              bool) {
    passes_.fill(false);
    TDrawData ref;
    LoadDraw(RefIndex, ref, false);
    const bool anyInChannel = InsideMode() == 3;
    for (const TStatDraw& item : Selected.Items()) {
        const int r = item.Key.K(1);
        if (r > 255 || !DrawHasNumber(r, ref)) continue;
        const int target = item.Key.K(2);
        if (anyInChannel || target == 0) {
            for (int n = 1; n <= LOTTO_MAX; ++n)
                if (V(n) == V(r)) passes_[static_cast<std::size_t>(n)] = true;
        } else if (target < static_cast<int>(passes_.size())) {
            passes_[static_cast<std::size_t>(target)] = true;
        }
    }
    prepared_ = &Selected;
    preparedRef_ = RefIndex;
}

bool TCustomChainChannels2Inside::TestCombination(const TComb& Comb, const TStatSelection& Selected,
                                                  int RefIndex, bool Sorted, bool Exclude) {
    if (prepared_ != &Selected || preparedRef_ != RefIndex)
        PrepareTest(Selected, RefIndex, Sorted, Exclude);
    for (const std::uint8_t n : Comb)
        if (passes_[n]) return true;
    return false;
}

namespace {

// ---- transitions of values ----

enum class TChainRule {
    All,            // every from-value of Prev1 that Ref1 holds, to every value of Cur
    EqualPositions, // positions where the earlier draws agree with the reference draws
    OnePosition,    // the same at position Type only
};

template <class Base, TChainRule Rule>
class TChainTransitions final : public TStatBatch<TChainTransitions<Base, Rule>, Base> {
  public:
    TChainTransitions(const TStatList& List, int Type)
        : TStatBatch<TChainTransitions<Base, Rule>, Base>(List, Type) {}

    void ComputeForDraw(int DrawIndex, int LastIndex, bool Sorted, TStatDrawList& Values,
                        TStatWorkArea& Work, TLastValueArray& LastValues) override {
        Base::ComputeForDraw(DrawIndex, LastIndex, Sorted, Values, Work, LastValues);
        TDrawData prev1, prev2, ref2;
        this->LoadDraw(DrawIndex - 1, prev1, Sorted);
        if (prev1.Number <= 0) return;
        if constexpr (Base::DRAWS == 3) {
            this->LoadDraw(DrawIndex - 2, prev2, Sorted);
            if (prev2.Number <= 0) return;
            this->LoadDraw(LastIndex - 1, ref2, Sorted);
        }
        const TDrawData& cur = this->CurDraw;
        const TDrawData& ref1 = this->RefDraw;
        if constexpr (Rule == TChainRule::All) {
            static_assert(Base::DRAWS == 2, "transitions without position are two-draw chains");
            for (const std::uint8_t from : prev1.Nums) {
                const int a = this->V(from);
                if (!InDraw(ref1, a)) continue;
                // A from-value held twice by Prev1 adds its transitions twice.
                for (const std::uint8_t to : cur.Nums)
                    this->AddValue(Values,
                                   WordsKey(static_cast<std::uint16_t>(a),
                                            static_cast<std::uint16_t>(this->V(to))),
                                   true);
            }
        } else {
            int first = 0, last = LOTTO_COUNT - 1;
            if constexpr (Rule == TChainRule::OnePosition)
                first = last = std::clamp(static_cast<int>(this->StatType), 1, LOTTO_COUNT) - 1;
            for (int i = first; i <= last; ++i) {
                const int p1 = this->V(prev1.Nums[i]);
                if (p1 != this->V(ref1.Nums[i])) continue;
                const auto c = static_cast<std::uint16_t>(this->V(cur.Nums[i]));
                if constexpr (Base::DRAWS == 2) {
                    this->AddValue(Values, WordsKey(static_cast<std::uint16_t>(p1), c), true);
                } else {
                    const int p2 = this->V(prev2.Nums[i]);
                    if (p2 != this->V(ref2.Nums[i])) continue;
                    this->AddValue(
                        Values,
                        WordsKey(static_cast<std::uint16_t>(p2), static_cast<std::uint16_t>(p1), c),
                        true);
                }
            }
        }
    }

  private:
    bool InDraw(const TDrawData& draw, int value) const {
        for (const std::uint8_t n : draw.Nums)
            if (this->V(n) == value) return true;
        return false;
    }
};

// ---- counts of numbers in channel (segment) Type ----

template <class KindBase, int Draws>
class TChainCounts final : public TStatBatch<TChainCounts<KindBase, Draws>, KindBase> {
  public:
    static constexpr int DRAWS = Draws;
    TChainCounts(const TStatList& List, int Type)
        : TStatBatch<TChainCounts<KindBase, Draws>, KindBase>(List, Type) {}

    std::string ValueToText(const TStatDraw& Item) const override {
        return Draws == 2 ? this->TwoDrawText(Item) : this->ThreeDrawText(Item);
    }
    // The newest counts followed by every possible next count (channels) or by 0 (segments).
    void FillAllValues(int LastIndex, TStatDrawList& Values) override {
        KindBase::FillAllValues(LastIndex, Values);
        const auto last = static_cast<std::uint16_t>(CountInDraw(LastIndex));
        const auto before = static_cast<std::uint16_t>(CountInDraw(LastIndex - 1));
        for (int next = 0; next <= this->CountFillMax(); ++next) {
            const auto c = static_cast<std::uint16_t>(next);
            this->FillValue(Values, Draws == 2 ? WordsKey(last, c) : WordsKey(before, last, c));
        }
    }
    void ComputeForDraw(int DrawIndex, int LastIndex, bool Sorted, TStatDrawList& Values,
                        TStatWorkArea& Work, TLastValueArray& LastValues) override {
        KindBase::ComputeForDraw(DrawIndex, LastIndex, Sorted, Values, Work, LastValues);
        TDrawData prev1, prev2;
        this->LoadDraw(DrawIndex - 1, prev1, false);
        if (prev1.Number <= 0) return;
        const int p1 = Count(prev1.Nums);
        if (p1 != Count(this->RefDraw.Nums)) return;
        const auto c = static_cast<std::uint16_t>(Count(this->CurDraw.Nums));
        if constexpr (Draws == 2) {
            this->AddValue(Values, WordsKey(static_cast<std::uint16_t>(p1), c), true);
        } else {
            this->LoadDraw(DrawIndex - 2, prev2, false);
            if (prev2.Number <= 0) return;
            const int p2 = Count(prev2.Nums);
            if (p2 != CountInDraw(LastIndex - 1)) return;
            this->AddValue(
                Values, WordsKey(static_cast<std::uint16_t>(p2), static_cast<std::uint16_t>(p1), c),
                true);
        }
    }
    bool TestCombination(const TComb& Comb, const TStatSelection& Selected, int, bool,
                         bool) override {
        return Selected.HasWord(Draws, static_cast<std::uint16_t>(Count(Comb.N)));
    }

  private:
    int Count(const std::uint8_t* nums) const { return this->map_.CountOf(nums, this->StatType); }
    int CountInDraw(int index) const {
        TDrawData draw;
        this->LoadDraw(index, draw, false);
        return Count(draw.Nums);
    }
};

template <int Mode>
class TChainInside final : public TStatBatch<TChainInside<Mode>, TCustomChainChannels2Inside> {
  public:
    using TStatBatch<TChainInside<Mode>, TCustomChainChannels2Inside>::TStatBatch;
    int InsideMode() const override { return Mode; }
};

using TstChain2DrawsAll = TChainTransitions<TCustomChainValues2Stat, TChainRule::All>;
using TstChain2DrawsPos = TChainTransitions<TCustomChainValues2Stat, TChainRule::EqualPositions>;
using TstChain2Pos = TChainTransitions<TCustomChainValues2Stat, TChainRule::OnePosition>;
using TstChain3DrawsPos = TChainTransitions<TCustomChainValues3Stat, TChainRule::EqualPositions>;
using TstChain3Pos = TChainTransitions<TCustomChainValues3Stat, TChainRule::OnePosition>;
using TstChain2ChannelsAll = TChainTransitions<TCustomChainChannels2Stat, TChainRule::All>;
using TstChain2ChannelsPos =
    TChainTransitions<TCustomChainChannels2Stat, TChainRule::EqualPositions>;
using TstChain2Channel = TChainTransitions<TCustomChainChannels2Stat, TChainRule::OnePosition>;
using TstChain3ChannelsPos =
    TChainTransitions<TCustomChainChannels3Stat, TChainRule::EqualPositions>;
using TstChain3Channel = TChainTransitions<TCustomChainChannels3Stat, TChainRule::OnePosition>;
using TstChain2CnlCnt = TChainCounts<TCustomChainChannelsStat, 2>;
using TstChain3CnlCnt = TChainCounts<TCustomChainChannelsStat, 3>;
using TstChainChannels2InsideAll = TChainInside<0>;
using TstChainChannels2InsideSuc = TChainInside<1>;
using TstChainChannels2InsideBad = TChainInside<2>;
using TstChainChannels2InsideCnt = TChainInside<3>;
using TstChain2SegmentsAll = TChainTransitions<TCustomChainSegments2Stat, TChainRule::All>;
using TstChain2SegmentsPos =
    TChainTransitions<TCustomChainSegments2Stat, TChainRule::EqualPositions>;
using TstChain2Segment = TChainTransitions<TCustomChainSegments2Stat, TChainRule::OnePosition>;
using TstChain3SegmentsPos =
    TChainTransitions<TCustomChainSegments3Stat, TChainRule::EqualPositions>;
using TstChain3Segment = TChainTransitions<TCustomChainSegments3Stat, TChainRule::OnePosition>;
using TstChain2SgmCnt = TChainCounts<TCustomChainSegmentsStat, 2>;
using TstChain3SgmCnt = TChainCounts<TCustomChainSegmentsStat, 3>;

// Order sensitive classes compare positions; the others see the numbers as a set.
template <class T>
TStatClassInfo ChainClass(int position, const char* name, const char* code, const char* caption,
                          TStatFlags order = sfOrderSensitive, TTypeRangeFn types = nullptr,
                          const char* familyCode = "") {
    return StatClass<T>({.Position = position,
                         .Name = name,
                         .Code = code,
                         .Caption = caption,
                         .Group = sgChains,
                         .Flags = static_cast<TStatFlags>(order | sfReferenceDraw),
                         .TypeRange = types,
                         .FamilyCode = familyCode,
                         .ScalarValues = false});
}

constexpr TStatFlags kSetOfNumbers = 0;
constexpr TTypeRangeFn kPositions = &FixedTypes<1, LOTTO_COUNT>;

} // namespace

void RegisterChainStats(TStatClassTable& table) {
    table.Add(ChainClass<TstChain2DrawsAll>(116, "TstChain2DrawsAll", "SDV2",
                                            "Переходы чисел между 2 тиражами без учета позиции",
                                            kSetOfNumbers));
    table.Add(ChainClass<TstChain2DrawsPos>(117, "TstChain2DrawsPos", "SDP2",
                                            "Переходы чисел между 2 тиражами с учетом позиции"));
    table.Add(ChainClass<TstChain2Pos>(118, "TstChain2Pos", "SDN%d",
                                       "Переходы чисел между 2 тиражами в %d позиции",
                                       sfOrderSensitive, kPositions, "SDNx"));
    table.Add(ChainClass<TstChain3DrawsPos>(119, "TstChain3DrawsPos", "SDP3",
                                            "Переходы чисел между 3 тиражами с учетом позиции"));
    table.Add(ChainClass<TstChain3Pos>(120, "TstChain3Pos", "SDM%d",
                                       "Переходы чисел между 3 тиражами в %d позиции",
                                       sfOrderSensitive, kPositions, "SDMx"));
    table.Add(ChainClass<TstChain2ChannelsAll>(
        121, "TstChain2ChannelsAll", "SCV2", "Переходы каналов между 2 тиражами без учета позиции",
        kSetOfNumbers));
    table.Add(ChainClass<TstChain2ChannelsPos>(
        122, "TstChain2ChannelsPos", "SCP2", "Переходы каналов между 2 тиражами с учетом позиции"));
    table.Add(ChainClass<TstChain2Channel>(123, "TstChain2Channel", "SCN%d",
                                           "Переходы каналов между 2 тиражами в %d позиции",
                                           sfOrderSensitive, kPositions, "SCNx"));
    table.Add(ChainClass<TstChain3ChannelsPos>(
        124, "TstChain3ChannelsPos", "SCP3", "Переходы каналов между 3 тиражами с учетом позиции"));
    table.Add(ChainClass<TstChain3Channel>(125, "TstChain3Channel", "SCM%d",
                                           "Переходы каналов между 3 тиражами в %d позиции",
                                           sfOrderSensitive, kPositions, "SCMx"));
    table.Add(ChainClass<TstChain2CnlCnt>(126, "TstChain2CnlCnt", "SC2C%d",
                                          "Переходы кол-ва чисел в %d канале между 2 тиражами",
                                          kSetOfNumbers, &ChannelTypes, "SC2Cx"));
    table.Add(ChainClass<TstChain3CnlCnt>(127, "TstChain3CnlCnt", "SC3C%d",
                                          "Переходы кол-ва чисел в %d канале между 3 тиражами",
                                          kSetOfNumbers, &ChannelTypes, "SC3Cx"));
    table.Add(ChainClass<TstChainChannels2InsideAll>(128, "TstChainChannels2InsideAll", "SDA2",
                                                     "Переходы чисел в пределах каналов (все)",
                                                     kSetOfNumbers));
    table.Add(ChainClass<TstChainChannels2InsideSuc>(
        129, "TstChainChannels2InsideSuc", "SDG2",
        "Переходы чисел в пределах каналов (N-M, удачные)", kSetOfNumbers));
    table.Add(ChainClass<TstChainChannels2InsideBad>(
        130, "TstChainChannels2InsideBad", "SDZ2",
        "Переходы чисел в пределах каналов (N-0, не удачные)", kSetOfNumbers));
    table.Add(ChainClass<TstChainChannels2InsideCnt>(
        131, "TstChainChannels2InsideCnt", "SDC2", "Переходы чисел в пределах каналов (количество)",
        kSetOfNumbers));
    table.Add(ChainClass<TstChain2SegmentsAll>(
        132, "TstChain2SegmentsAll", "SSV2",
        "Переходы сегментов между 2 тиражами без учета позиции", kSetOfNumbers));
    table.Add(
        ChainClass<TstChain2SegmentsPos>(133, "TstChain2SegmentsPos", "SSP2",
                                         "Переходы сегментов между 2 тиражами с учетом позиции"));
    table.Add(ChainClass<TstChain2Segment>(134, "TstChain2Segment", "SSN%d",
                                           "Переходы сегментов между 2 тиражами в %d позиции",
                                           sfOrderSensitive, kPositions, "SSNx"));
    table.Add(
        ChainClass<TstChain3SegmentsPos>(135, "TstChain3SegmentsPos", "SSP3",
                                         "Переходы сегментов между 3 тиражами с учетом позиции"));
    table.Add(ChainClass<TstChain3Segment>(136, "TstChain3Segment", "SSM%d",
                                           "Переходы сегментов между 3 тиражами в %d позиции",
                                           sfOrderSensitive, kPositions, "SSMx"));
    table.Add(ChainClass<TstChain2SgmCnt>(137, "TstChain2SgmCnt", "SS2C%d",
                                          "Переходы кол-ва чисел в %d сегменте между 2 тиражами",
                                          kSetOfNumbers, &SegmentTypes, "SS2Cx"));
    table.Add(ChainClass<TstChain3SgmCnt>(138, "TstChain3SgmCnt", "SS3C%d",
                                          "Переходы кол-ва чисел в %d сегменте между 3 тиражами",
                                          kSetOfNumbers, &SegmentTypes, "SS3Cx"));
}

} // namespace pelko
