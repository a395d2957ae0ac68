// Group "rep": repeated numbers between two draws (next to each other, one to three draws
// apart, or at the neighbours of the earlier numbers) and over three draws in a row.
// Sets of numbers are 64-bit masks, so a combination is judged with a few bit operations.

#include "stats/families/repeats.h"

#include "core/geometry.h"
#include "core/lottery.h"
#include "stats/families/families.h"
#include "stats/families/stat_keys.h"
#include "stats/stat_format.h"

#include <bit>
#include <cstdint>
#include <string>

namespace pelko {

namespace {

// Bits 1..45.
constexpr std::uint64_t ALL_NUMBERS = ((std::uint64_t{1} << (LOTTO_MAX + 1)) - 1) & ~std::uint64_t{1};

} // namespace

std::uint64_t NumberMask(const std::uint8_t* nums) {
    std::uint64_t mask = 0;
    for (int i = 0; i < LOTTO_COUNT; ++i)
        mask |= std::uint64_t{1} << (nums[i] & 63);
    return mask & ALL_NUMBERS;
}

std::uint64_t ShiftedNumberMask(const std::uint8_t* nums, int shift) {
    std::uint64_t mask = 0;
    for (int i = 0; i < LOTTO_COUNT; ++i)
        if (nums[i] >= 1 && nums[i] <= LOTTO_MAX)
            mask |= std::uint64_t{1} << ShiftNumber(nums[i], shift);
    return mask;
}

int TPrefixCounter::Count(const std::uint8_t* n, std::uint64_t set) {
    const std::uint64_t prefix = std::uint64_t{n[0]} | std::uint64_t{n[1]} << 8 | std::uint64_t{n[2]} << 16 |
                                 std::uint64_t{n[3]} << 24 | std::uint64_t{n[4]} << 32;
    if (prefix != prefix_) {
        prefix_ = prefix;
        count_ = 0;
        for (int i = 0; i < LOTTO_COUNT - 1; ++i)
            count_ += static_cast<int>((set >> (n[i] & 63)) & 1u);
    }
    return count_ + static_cast<int>((set >> (n[5] & 63)) & 1u);
}

namespace {

bool HasNumber(std::uint64_t mask, int n) {
    return n >= 1 && n <= LOTTO_MAX && ((mask >> n) & 1u) != 0;
}

// Numbers 1..45 whose K1 is selected.
std::uint64_t SelectedNumbers(const TStatSelection& Selected) {
    std::uint64_t mask = 0;
    for (int n = 1; n <= LOTTO_MAX; ++n)
        if (Selected.HasWord(1, static_cast<std::uint16_t>(n)))
            mask |= std::uint64_t{1} << n;
    return mask;
}

// Bit c set when the count c (0..6) is selected.
std::uint8_t SelectedCounts(const TStatSelection& Selected) {
    std::uint8_t bits = 0;
    for (int c = 0; c <= LOTTO_COUNT; ++c)
        if (Selected.HasWord(1, static_cast<std::uint16_t>(c)))
            bits = static_cast<std::uint8_t>(bits | (1u << c));
    return bits;
}

} // namespace

// ---- two draws --------------------------------------------------------------------------

void TCustomRepValues2Stat::FillAllValues(int LastIndex, TStatDrawList& Values) {
    TCustomValuesStat::FillAllValues(LastIndex, Values);
    TDrawData newest;
    LoadDraw(LastIndex, newest, false);
    for (const std::uint8_t n : newest.Nums)
        if (n >= 1 && n <= LOTTO_MAX)
            FillValue(Values, WordsKey(static_cast<std::uint16_t>(ShiftNumber(n, Shift()))));
}

void TCustomRepValues2Stat::ComputeForDraw(int DrawIndex, int LastIndex, bool Sorted,
                                           TStatDrawList& Values, TStatWorkArea& Work,
                                           TLastValueArray& LastValues) {
    TCustomValuesStat::ComputeForDraw(DrawIndex, LastIndex, Sorted, Values, Work, LastValues);
    TDrawData earlier;
    LoadDraw(DrawIndex - Distance(), earlier, Sorted);
    const std::uint64_t reference = ShiftedNumberMask(RefDraw.Nums, Shift());
    const std::uint64_t current = NumberMask(CurDraw.Nums);
    for (const std::uint8_t n : earlier.Nums) {
        if (n < 1 || n > LOTTO_MAX)
            continue;
        const int x = ShiftNumber(n, Shift());
        if (HasNumber(reference, x) && HasNumber(current, x))
            AddValue(Values, WordsKey(static_cast<std::uint16_t>(x)), true);
    }
}

void TCustomRepValues2Stat::PrepareTest(const TStatSelection& Selected, int RefIndex, bool Sorted,
                                        bool Exclude) {
    TCustomValuesStat::PrepareTest(Selected, RefIndex, Sorted, Exclude);
    selectedNumbers_ = SelectedNumbers(Selected);
    prepared_ = &Selected;
}

bool TCustomRepValues2Stat::TestCombination(const TComb& Comb, const TStatSelection& Selected,
                                            int RefIndex, bool Sorted, bool Exclude) {
    if (prepared_ != &Selected)
        PrepareTest(Selected, RefIndex, Sorted, Exclude);
    return (NumberMask(Comb.N) & selectedNumbers_) != 0;
}

void TCustomRepCount2Stat::FillAllValues(int LastIndex, TStatDrawList& Values) {
    TCustomNumbersStat::FillAllValues(LastIndex, Values);
    for (int c = 1; c <= LOTTO_COUNT; ++c)
        FillValue(Values, WordsKey(static_cast<std::uint16_t>(c)));
}

void TCustomRepCount2Stat::ComputeForDraw(int DrawIndex, int LastIndex, bool Sorted,
                                          TStatDrawList& Values, TStatWorkArea& Work,
                                          TLastValueArray& LastValues) {
    TCustomNumbersStat::ComputeForDraw(DrawIndex, LastIndex, Sorted, Values, Work, LastValues);
    TDrawData earlier;
    LoadDraw(DrawIndex - Distance(), earlier, Sorted);
    const int count = std::popcount(ShiftedNumberMask(earlier.Nums, Shift()) & NumberMask(CurDraw.Nums));
    AddValue(Values, WordsKey(static_cast<std::uint16_t>(count)), true);
}

void TCustomRepCount2Stat::PrepareTest(const TStatSelection& Selected, int RefIndex, bool Sorted,
                                       bool Exclude) {
    TCustomNumbersStat::PrepareTest(Selected, RefIndex, Sorted, Exclude);
    Prepare(Selected, RefIndex);
}

void TCustomRepCount2Stat::Prepare(const TStatSelection& Selected, int RefIndex) {
    TDrawData earlier;
    LoadDraw(RefIndex - Distance() + 1, earlier, false);
    earlier_ = ShiftedNumberMask(earlier.Nums, Shift());
    selectedCounts_ = SelectedCounts(Selected);
    prepared_ = &Selected;
    preparedRef_ = RefIndex;
    counter_.Reset();
}

bool TCustomRepCount2Stat::TestCombination(const TComb& Comb, const TStatSelection& Selected,
                                           int RefIndex, bool, bool) {
    if (prepared_ != &Selected || preparedRef_ != RefIndex)
        Prepare(Selected, RefIndex);
    return (selectedCounts_ >> counter_.Count(Comb.N, earlier_)) & 1u;
}

namespace {

template <int S, int D>
class TRepValues2 final : public TCustomRepValues2Stat {
public:
    using TCustomRepValues2Stat::TCustomRepValues2Stat;
    int Shift() const override { return S; }
    int Distance() const override { return D; }
};

template <int S, int D>
class TRepCount2 final : public TCustomRepCount2Stat {
public:
    using TCustomRepCount2Stat::TCustomRepCount2Stat;
    int Shift() const override { return S; }
    int Distance() const override { return D; }
};

using TstRepValues2 = TRepValues2<0, 1>;
using TstRepValues2over1 = TRepValues2<0, 2>;
using TstRepValues2over2 = TRepValues2<0, 3>;
using TstRepValues2over3 = TRepValues2<0, 4>;
using TstRepValues2P1 = TRepValues2<+1, 1>;
using TstRepValues2N1 = TRepValues2<-1, 1>;
using TstRepValues2P2 = TRepValues2<+2, 1>;
using TstRepValues2N2 = TRepValues2<-2, 1>;
using TstRepCount2 = TRepCount2<0, 1>;
using TstRepCount2over1 = TRepCount2<0, 2>;
using TstRepCount2over2 = TRepCount2<0, 3>;
using TstRepCount2over3 = TRepCount2<0, 4>;
using TstRepCount2P1 = TRepCount2<+1, 1>;
using TstRepCount2N1 = TRepCount2<-1, 1>;
using TstRepCount2P2 = TRepCount2<+2, 1>;
using TstRepCount2N2 = TRepCount2<-2, 1>;

// ---- three draws ------------------------------------------------------------------------

// The numbers of `first` that are also in `second` (InBoth) or not in it.
template <bool InBoth>
std::uint64_t ThreeDrawRule(std::uint64_t first, std::uint64_t second) {
    return InBoth ? first & second : first & ~second;
}

// Numbers of draw k that are in draw k - 1 and, by the rule, in draw k - 2 (or not),
// restricted to the reference draw.
template <bool InBoth>
class TRepValues3 final : public TCustomValuesStat {
public:
    using TCustomValuesStat::TCustomValuesStat;

    void FillAllValues(int LastIndex, TStatDrawList& Values) override {
        TCustomValuesStat::FillAllValues(LastIndex, Values);
        TDrawData newest;
        LoadDraw(LastIndex, newest, false);
        for (const std::uint8_t n : newest.Nums)
            if (n >= 1 && n <= LOTTO_MAX)
                FillValue(Values, WordsKey(n));
    }
    void ComputeForDraw(int DrawIndex, int LastIndex, bool Sorted, TStatDrawList& Values,
                        TStatWorkArea& Work, TLastValueArray& LastValues) override {
        TCustomValuesStat::ComputeForDraw(DrawIndex, LastIndex, Sorted, Values, Work, LastValues);
        TDrawData prev1, prev2;
        LoadDraw(DrawIndex - 1, prev1, Sorted);
        LoadDraw(DrawIndex - 2, prev2, Sorted);
        const std::uint64_t kept =
            NumberMask(RefDraw.Nums) & ThreeDrawRule<InBoth>(NumberMask(prev1.Nums), NumberMask(prev2.Nums));
        for (const std::uint8_t n : CurDraw.Nums)
            if (HasNumber(kept, n))
                AddValue(Values, WordsKey(n), true);
    }
    void PrepareTest(const TStatSelection& Selected, int RefIndex, bool Sorted, bool Exclude) override {
        TCustomValuesStat::PrepareTest(Selected, RefIndex, Sorted, Exclude);
        selectedNumbers_ = SelectedNumbers(Selected);
        prepared_ = &Selected;
    }
    bool TestCombination(const TComb& Comb, const TStatSelection& Selected, int RefIndex, bool Sorted,
                         bool Exclude) override {
        if (prepared_ != &Selected)
            PrepareTest(Selected, RefIndex, Sorted, Exclude);
        return (NumberMask(Comb.N) & selectedNumbers_) != 0;
    }

private:
    const TStatSelection* prepared_ = nullptr;
    std::uint64_t selectedNumbers_ = 0;
};

// How many numbers of draw k are in draw k - 1 and, by the rule, in draw k - 2 (or not).
template <bool InBoth>
class TRepCount3 final : public TCustomNumbersStat {
public:
    using TCustomNumbersStat::TCustomNumbersStat;

    void FillAllValues(int LastIndex, TStatDrawList& Values) override {
        TCustomNumbersStat::FillAllValues(LastIndex, Values);
        for (int c = 1; c <= LOTTO_COUNT; ++c)
            FillValue(Values, WordsKey(static_cast<std::uint16_t>(c)));
    }
    void ComputeForDraw(int DrawIndex, int LastIndex, bool Sorted, TStatDrawList& Values,
                        TStatWorkArea& Work, TLastValueArray& LastValues) override {
        TCustomNumbersStat::ComputeForDraw(DrawIndex, LastIndex, Sorted, Values, Work, LastValues);
        const int count = std::popcount(NumberMask(CurDraw.Nums) & RepeatedFrom(DrawIndex - 1, Sorted));
        AddValue(Values, WordsKey(static_cast<std::uint16_t>(count)), true);
    }
    void PrepareTest(const TStatSelection& Selected, int RefIndex, bool Sorted, bool Exclude) override {
        TCustomNumbersStat::PrepareTest(Selected, RefIndex, Sorted, Exclude);
        Prepare(Selected, RefIndex);
    }
    // The combination stands for draw RefIndex + 1.
    bool TestCombination(const TComb& Comb, const TStatSelection& Selected, int RefIndex, bool,
                         bool) override {
        if (prepared_ != &Selected || preparedRef_ != RefIndex)
            Prepare(Selected, RefIndex);
        return (selectedCounts_ >> counter_.Count(Comb.N, earlier_)) & 1u;
    }

private:
    // The numbers a draw after `index` counts: those of draw index, by the rule with draw
    // index - 1.
    std::uint64_t RepeatedFrom(int index, bool Sorted) const {
        TDrawData prev1, prev2;
        LoadDraw(index, prev1, Sorted);
        LoadDraw(index - 1, prev2, Sorted);
        return ThreeDrawRule<InBoth>(NumberMask(prev1.Nums), NumberMask(prev2.Nums));
    }
    void Prepare(const TStatSelection& Selected, int RefIndex) {
        earlier_ = RepeatedFrom(RefIndex, false);
        selectedCounts_ = SelectedCounts(Selected);
        prepared_ = &Selected;
        preparedRef_ = RefIndex;
        counter_.Reset();
    }

    const TStatSelection* prepared_ = nullptr;
    int preparedRef_ = 0;
    std::uint64_t earlier_ = 0;
    std::uint8_t selectedCounts_ = 0;
    TPrefixCounter counter_;
};

using TstRepValues3 = TRepValues3<true>;
using TstRepValues2B3 = TRepValues3<false>;
using TstRepCount3 = TRepCount3<true>;
using TstRepCount2B3 = TRepCount3<false>;

template <class T>
void AddRepeatClass(TStatClassTable& table, int position, const char* name, std::string code,
                    std::string caption) {
    TStatClassInfo info;
    info.Position = position;
    info.Name = name;
    info.Code = std::move(code);
    info.Caption = std::move(caption);
    info.Group = sgRepeats;
    info.Flags = sfReferenceDraw;
    table.Add(StatClass<T>(std::move(info)));
}

} // namespace

void RegisterRepeatStats(TStatClassTable& table) {
    const std::string overValues = "Повторяющиеся числа в 2-х тиражах через %d тираж(а)";
    const std::string overCounts = "Количество повторов в 2-х тиражах через %d тираж(а)";
    const std::string shiftValues = "Данные предыдущего тиража %s";
    const std::string shiftCounts = "Количество совпадений \"значений %s\"";
    auto over = [](const std::string& tmpl, int n) { return FormatTemplate(tmpl, n); };
    auto shift = [](const std::string& tmpl, const char* s) { return FormatTemplate(tmpl, std::string(s)); };

    AddRepeatClass<TstRepValues2>(table, 42, "TstRepValues2", "RPV2",
                                  "Повторяющиеся числа в 2-х тиражах подряд");
    AddRepeatClass<TstRepValues3>(table, 43, "TstRepValues3", "RPV3",
                                  "Повторяющиеся числа в 3-х тиражах подряд");
    AddRepeatClass<TstRepValues2B3>(table, 44, "TstRepValues2B3", "PRL2",
                                    "Повторяющиеся числа не более чем в 2-х тиражах");
    AddRepeatClass<TstRepValues2over1>(table, 45, "TstRepValues2over1", over("PRV2O%d", 1), over(overValues, 1));
    AddRepeatClass<TstRepValues2over2>(table, 46, "TstRepValues2over2", over("PRV2O%d", 2), over(overValues, 2));
    AddRepeatClass<TstRepValues2over3>(table, 47, "TstRepValues2over3", over("PRV2O%d", 3), over(overValues, 3));
    AddRepeatClass<TstRepValues2P1>(table, 48, "TstRepValues2P1", shift("PRV%s", "+1"), shift(shiftValues, "+ 1"));
    AddRepeatClass<TstRepValues2N1>(table, 49, "TstRepValues2N1", shift("PRV%s", "-1"), shift(shiftValues, "- 1"));
    AddRepeatClass<TstRepValues2P2>(table, 50, "TstRepValues2P2", shift("PRV%s", "+2"), shift(shiftValues, "+ 2"));
    AddRepeatClass<TstRepValues2N2>(table, 51, "TstRepValues2N2", shift("PRV%s", "-2"), shift(shiftValues, "- 2"));
    AddRepeatClass<TstRepCount2>(table, 52, "TstRepCount2", "RPC2", "Количество повторов в 2-х тиражах подряд");
    AddRepeatClass<TstRepCount3>(table, 53, "TstRepCount3", "RPC3", "Количество повторов в 3-х тиражах подряд");
    AddRepeatClass<TstRepCount2B3>(table, 54, "TstRepCount2B3", "PRB2",
                                   "Количество повторов не более чем в 2-х тиражах");
    // The first over-count code is "RPO1", unlike its sisters; stored codes keep it.
    AddRepeatClass<TstRepCount2over1>(table, 55, "TstRepCount2over1", "RPO1", over(overCounts, 1));
    AddRepeatClass<TstRepCount2over2>(table, 56, "TstRepCount2over2", over("PRC2O%d", 2), over(overCounts, 2));
    AddRepeatClass<TstRepCount2over3>(table, 57, "TstRepCount2over3", over("PRC2O%d", 3), over(overCounts, 3));
    AddRepeatClass<TstRepCount2P1>(table, 58, "TstRepCount2P1", shift("PRC%s", "+1"), shift(shiftCounts, "+ 1"));
    AddRepeatClass<TstRepCount2N1>(table, 59, "TstRepCount2N1", shift("PRC%s", "-1"), shift(shiftCounts, "- 1"));
    AddRepeatClass<TstRepCount2P2>(table, 60, "TstRepCount2P2", shift("PRC%s", "+2"), shift(shiftCounts, "+ 2"));
    AddRepeatClass<TstRepCount2N2>(table, 61, "TstRepCount2N2", shift("PRC%s", "-2"), shift(shiftCounts, "- 2"));
}

} // namespace pelko
