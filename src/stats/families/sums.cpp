// Group "sum": the sum of the six numbers (all, even or prime ones), three fixed sum
// ranges, and the transitions of the sum after draws whose sum was like the newest one's.
// Sums do not depend on the numbers' order, so the sorted-draws option changes nothing.

#include "core/format.h"
#include "core/lottery.h"
#include "stats/custom_stat.h"
#include "stats/families/families.h"
#include "stats/families/number_classes.h"
#include "stats/families/stat_keys.h"
#include "stats/stat_format.h"

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace pelko {

namespace {

int SumOf(const std::uint8_t* n) {
    return n[0] + n[1] + n[2] + n[3] + n[4] + n[5];
}

// Sum of the numbers of the class.
template <TNumberClass Cls> int SumOfClass(const std::uint8_t* nums) {
    const auto part = [](std::uint8_t n) { return HasNumberClass(n, Cls) ? n : 0; };
    return part(nums[0]) + part(nums[1]) + part(nums[2]) + part(nums[3]) + part(nums[4]) +
           part(nums[5]);
}

int SignOf(int v) {
    return (v > 0) - (v < 0);
}

// A statistic of one plain sum-like integer per draw or combination, kept in V1; the
// selected rows are matched by K1 with K3 = 0 as for every V1 value below 65536.
template <int (*ValueOf)(const std::uint8_t*), bool PreFillSums>
class TSumStat final : public TStatBatch<TSumStat<ValueOf, PreFillSums>, TCustomGraphStat> {
  public:
    using TStatBatch<TSumStat, TCustomGraphStat>::TStatBatch;

    void FillAllValues(int LastIndex, TStatDrawList& Values) override {
        TCustomGraphStat::FillAllValues(LastIndex, Values);
        if (PreFillSums)
            for (int sum = SUM_MIN; sum <= SUM_MAX; ++sum)
                this->FillValue(Values, LongsKey(sum));
    }
    void ComputeForDraw(int DrawIndex, int LastIndex, bool Sorted, TStatDrawList& Values,
                        TStatWorkArea& Work, TLastValueArray& LastValues) override {
        TCustomGraphStat::ComputeForDraw(DrawIndex, LastIndex, Sorted, Values, Work, LastValues);
        this->AddValue(Values, LongsKey(ValueOf(this->CurDraw.Nums)), true);
    }
    void ComputeForCombination(const TComb& Comb, TStatDrawList& Values) override {
        TCustomGraphStat::ComputeForCombination(Comb, Values);
        this->AddValue(Values, LongsKey(ValueOf(Comb.N)), false);
    }
    int GraphValue(const TComb& Comb, int, int, bool) override { return ValueOf(Comb.N); }
    bool TestCombination(const TComb& Comb, const TStatSelection& Selected, int, bool,
                         bool) override {
        return Selected.HasWords13(static_cast<std::uint16_t>(ValueOf(Comb.N)), 0);
    }
};

using TstSumValues = TSumStat<SumOf, true>;
using TstSumEvenValues = TSumStat<SumOfClass<ncEven>, false>;
using TstSumPrimeValues = TSumStat<SumOfClass<ncPrime>, false>;

// Ways one number equals the sum of two others: triples (i, j < k) of distinct positions
// with n[j] + n[k] = n[i].
int SumsOfTwoEqualToThirdByPositions(const std::uint8_t* n) {
    int count = 0;
    for (int j = 0; j < LOTTO_COUNT; ++j)
        for (int k = j + 1; k < LOTTO_COUNT; ++k) {
            const int sum = n[j] + n[k];
            for (int i = 0; i < LOTTO_COUNT; ++i)
                count += (n[i] == sum) & (i != j) & (i != k);
        }
    return count;
}

// The same count. For six distinct numbers 1..63 (every real combination) a sum of two
// exceeds both and matches at most one number, so the count is the number of the 15 pairs
// whose sum is among the numbers. Other byte sextets take the positional loop.
int SumsOfTwoEqualToThird(const std::uint8_t* n) {
    std::uint64_t present = 0;
    unsigned large = 0;
    int duplicates = 0;
    for (int i = 0; i < LOTTO_COUNT; ++i) {
        const std::uint64_t bit = std::uint64_t{1} << (n[i] & 63);
        duplicates += (present & bit) != 0;
        present |= bit;
        large |= n[i] & ~63u;
    }
    if (large | duplicates | (present & 1)) return SumsOfTwoEqualToThirdByPositions(n);
    // written out: a fixed, branch-free sequence of the 15 pairs
    const auto sumPresent = [&](int j, int k) {
        const unsigned sum = n[j] + n[k];
        return static_cast<int>((present >> (sum & 63)) & (sum < 64));
    };
    return sumPresent(0, 1) + sumPresent(0, 2) + sumPresent(0, 3) + sumPresent(0, 4) +
           sumPresent(0, 5) + sumPresent(1, 2) + sumPresent(1, 3) + sumPresent(1, 4) +
           sumPresent(1, 5) + sumPresent(2, 3) + sumPresent(2, 4) + sumPresent(2, 5) +
           sumPresent(3, 4) + sumPresent(3, 5) + sumPresent(4, 5);
}

class TstSum2To3 final : public TStatBatch<TstSum2To3, TCustomGraphStat> {
  public:
    using TStatBatch::TStatBatch;

    void ComputeForDraw(int DrawIndex, int LastIndex, bool Sorted, TStatDrawList& Values,
                        TStatWorkArea& Work, TLastValueArray& LastValues) override {
        TCustomGraphStat::ComputeForDraw(DrawIndex, LastIndex, Sorted, Values, Work, LastValues);
        AddValue(Values, WordsKey(Count(CurDraw.Nums)), true);
    }
    void ComputeForCombination(const TComb& Comb, TStatDrawList& Values) override {
        TCustomGraphStat::ComputeForCombination(Comb, Values);
        AddValue(Values, WordsKey(Count(Comb.N)), false);
    }
    int GraphValue(const TComb& Comb, int, int, bool) override { return Count(Comb.N); }
    bool TestCombination(const TComb& Comb, const TStatSelection& Selected, int, bool,
                         bool) override {
        return Selected.HasWord(1, Count(Comb.N));
    }

  private:
    static std::uint16_t Count(const std::uint8_t* n) {
        return static_cast<std::uint16_t>(SumsOfTwoEqualToThird(n));
    }
};

struct TSumRange {
    int Lo, Hi;     // inclusive
    int Caption[3]; // arguments of the caption template
};

constexpr TSumRange SUM_RANGES[] = {
    {93, 183, {1, 1, 3}},
    {102, 174, {2, 1, 2}},
    {110, 166, {3, 2, 3}},
};
constexpr int SUM_RANGE_TYPES = sizeof SUM_RANGES / sizeof SUM_RANGES[0];

const TSumRange* SumRangeOf(int type) {
    return type >= 1 && type <= SUM_RANGE_TYPES ? &SUM_RANGES[type - 1] : nullptr;
}

std::string SumRangeCaption(const TStatClassInfo& info, int type) {
    const TSumRange* range = SumRangeOf(type);
    if (!range) return FormatTemplate(info.Caption, type);
    return FormatTemplate(info.Caption,
                          {std::int64_t{range->Caption[0]}, std::int64_t{range->Caption[1]},
                           std::int64_t{range->Caption[2]}});
}

// 1 when the sum lies in the type's range, else 0 ("Остальные").
class TstSumRanges final : public TStatBatch<TstSumRanges, TCustomGraphStat> {
  public:
    TstSumRanges(const TStatList& List, int Type)
        : TStatBatch(List, Type), range_(SumRangeOf(Type)) {}

    std::string ValueToText(const TStatDraw& Item) const override {
        if (Item.Key.V(1) == 1 && range_) return Format("%d-%d", range_->Lo, range_->Hi);
        return "Остальные";
    }
    void FillAllValues(int LastIndex, TStatDrawList& Values) override {
        TCustomGraphStat::FillAllValues(LastIndex, Values);
        FillValue(Values, LongsKey(0));
        FillValue(Values, LongsKey(1));
    }
    void ComputeForDraw(int DrawIndex, int LastIndex, bool Sorted, TStatDrawList& Values,
                        TStatWorkArea& Work, TLastValueArray& LastValues) override {
        TCustomGraphStat::ComputeForDraw(DrawIndex, LastIndex, Sorted, Values, Work, LastValues);
        AddValue(Values, LongsKey(InRange(SumOf(CurDraw.Nums))), true);
    }
    void ComputeForCombination(const TComb& Comb, TStatDrawList& Values) override {
        TCustomGraphStat::ComputeForCombination(Comb, Values);
        AddValue(Values, LongsKey(InRange(SumOf(Comb.N))), false);
    }
    int GraphValue(const TComb& Comb, int, int, bool) override { return InRange(SumOf(Comb.N)); }
    // With the range row selected the range passes, otherwise everything outside it;
    // selecting both rows therefore acts as the range row alone.
    bool TestCombination(const TComb& Comb, const TStatSelection& Selected, int, bool,
                         bool) override {
        const bool inside = InRange(SumOf(Comb.N)) == 1;
        return Selected.HasKey(1, 0, 0, 0) ? inside : !inside;
    }

  private:
    int InRange(int sum) const { return range_ && sum >= range_->Lo && sum <= range_->Hi; }
    const TSumRange* range_;
};

// The transition statistics. For draw k of the window they look at the previous draw
// k - 1 (all zero before the first draw) and compare its sum with the reference draw's;
// a combination is judged against the sum of the reference draw.
template <class Kind> class TSumTransition : public Kind {
  public:
    using Kind::Kind;

    void PrepareTest(const TStatSelection&, int RefIndex, bool Sorted, bool) override {
        SelectReference(RefIndex, Sorted);
    }

  protected:
    // Sum of archive draw `index`, 0 outside the archive; the order does not matter.
    int SumOfDraw(int index) const {
        if (index < 0 || index >= static_cast<int>(this->Draws.size())) return 0;
        return SumOf(this->Draws[static_cast<std::size_t>(index)].Nums);
    }
    // Loads draw RefIndex as both the current and the reference draw, once per index.
    int ReferenceSum(int RefIndex, bool Sorted) {
        if (RefIndex != refIndex_) SelectReference(RefIndex, Sorted);
        return refSum_;
    }

  private:
    void SelectReference(int RefIndex, bool Sorted) {
        this->SelectDraws(RefIndex, RefIndex, Sorted);
        refIndex_ = RefIndex;
        refSum_ = SumOf(this->RefDraw.Nums);
    }

    int refIndex_ = INT_MIN;
    int refSum_ = 0;
};

// Exact transitions: after every earlier draw whose predecessor had the reference sum,
// which sum came next (V1 = previous sum, V2 = this sum).
class TstSumChange final : public TStatBatch<TstSumChange, TSumTransition<TCustomGraphStat>> {
  public:
    using TStatBatch::TStatBatch;

    std::string ValueToText(const TStatDraw& Item) const override {
        const std::int64_t a = Item.Key.V(1), b = Item.Key.V(2);
        if (b < a) return FormatTemplate("- %0:.2d : %1:d - %0:d = %2:d", {a - b, a, b});
        return FormatTemplate("+%0:.2d : %1:d + %0:d = %2:d", {b - a, a, b});
    }
    void ComputeForDraw(int DrawIndex, int LastIndex, bool Sorted, TStatDrawList& Values,
                        TStatWorkArea& Work, TLastValueArray& LastValues) override {
        TSumTransition::ComputeForDraw(DrawIndex, LastIndex, Sorted, Values, Work, LastValues);
        const int previous = SumOfDraw(DrawIndex - 1);
        if (previous != SumOf(RefDraw.Nums)) return;
        AddValue(Values, LongsKey(previous, SumOf(CurDraw.Nums)), true);
    }
    int GraphValue(const TComb& Comb, int DrawIndex, int, bool) override {
        return SumOf(Comb.N) - SumOfDraw(DrawIndex - 1);
    }
    bool TestCombination(const TComb& Comb, const TStatSelection& Selected, int, bool,
                         bool) override {
        return Selected.HasLong(2, SumOf(Comb.N));
    }
};

// Transitions after draws whose predecessor's sum lay within SUM_TOLERANCE of the
// reference sum: the signed change of the sum.
class TstSumChangeSome final
    : public TStatBatch<TstSumChangeSome, TSumTransition<TCustomNumbersStat>> {
  public:
    using TStatBatch::TStatBatch;

    std::string ValueToText(const TStatDraw& Item) const override {
        const std::int64_t change = Item.Key.V(1);
        if (change < 0) return FormatTemplate("- %0:.2d", {-change});
        return FormatTemplate("+%0:.2d", {change});
    }
    void ComputeForDraw(int DrawIndex, int LastIndex, bool Sorted, TStatDrawList& Values,
                        TStatWorkArea& Work, TLastValueArray& LastValues) override {
        TSumTransition::ComputeForDraw(DrawIndex, LastIndex, Sorted, Values, Work, LastValues);
        const int previous = SumOfDraw(DrawIndex - 1);
        if (std::abs(SumOf(RefDraw.Nums) - previous) > SUM_TOLERANCE) return;
        AddValue(Values, LongsKey(SumOf(CurDraw.Nums) - previous), true);
    }
    bool TestCombination(const TComb& Comb, const TStatSelection& Selected, int RefIndex,
                         bool Sorted, bool) override {
        return Selected.HasLong(1, SumOf(Comb.N) - ReferenceSum(RefIndex, Sorted));
    }
};

// Direction of the exact transitions: 1 up, 0 equal, -1 down.
class TstSumTrend final : public TStatBatch<TstSumTrend, TSumTransition<TCustomGraphStat>> {
  public:
    using TStatBatch::TStatBatch;

    std::string ValueToText(const TStatDraw& Item) const override {
        const std::int32_t sign = Item.Key.V(1);
        return sign == 0 ? "=" : sign > 0 ? "+" : "-";
    }
    void FillAllValues(int LastIndex, TStatDrawList& Values) override {
        TSumTransition::FillAllValues(LastIndex, Values);
        for (const int sign : {0, 1, -1})
            FillValue(Values, LongsKey(sign));
    }
    void ComputeForDraw(int DrawIndex, int LastIndex, bool Sorted, TStatDrawList& Values,
                        TStatWorkArea& Work, TLastValueArray& LastValues) override {
        TSumTransition::ComputeForDraw(DrawIndex, LastIndex, Sorted, Values, Work, LastValues);
        const int previous = SumOfDraw(DrawIndex - 1);
        if (previous != SumOf(RefDraw.Nums)) return;
        AddValue(Values, LongsKey(SignOf(SumOf(CurDraw.Nums) - previous)), true);
    }
    int GraphValue(const TComb& Comb, int DrawIndex, int, bool) override {
        return SignOf(SumOf(Comb.N) - SumOfDraw(DrawIndex - 1));
    }
    bool TestCombination(const TComb& Comb, const TStatSelection& Selected, int RefIndex,
                         bool Sorted, bool) override {
        return Selected.HasLong(1, SignOf(SumOf(Comb.N) - ReferenceSum(RefIndex, Sorted)));
    }
};

} // namespace

void RegisterSumStats(TStatClassTable& table) {
    table.Add(StatClass<TstSumValues>({.Position = 8,
                                       .Name = "TstSumValues",
                                       .Code = "SUMS",
                                       .Caption = "Сумма тиража: все значения",
                                       .Group = sgSums,
                                       .Flags = sfCombinable}));
    table.Add(StatClass<TstSumRanges>({.Position = 9,
                                       .Name = "TstSumRanges",
                                       .Code = "SUM%d",
                                       .Caption = "Сумма тиража: диапазон %d (%d/%d)",
                                       .Group = sgSums,
                                       .Flags = sfCombinable,
                                       .TypeRange = &FixedTypes<1, SUM_RANGE_TYPES>,
                                       .FamilyCode = "SUM%d",
                                       .ScalarValues = false,
                                       .CaptionOfFn = &SumRangeCaption}));
    table.Add(StatClass<TstSumChange>({.Position = 10,
                                       .Name = "TstSumChange",
                                       .Code = "SUMC",
                                       .Caption = "Сумма тиража: изменения (точно)",
                                       .Group = sgSums,
                                       .Flags = sfReferenceDraw,
                                       .ScalarValues = false}));
    table.Add(StatClass<TstSumChangeSome>({.Position = 11,
                                           .Name = "TstSumChangeSome",
                                           .Code = "SUMV",
                                           .Caption = "Сумма тиража: изменения (диапазон)",
                                           .Group = sgSums,
                                           .Flags = sfReferenceDraw,
                                           .ScalarValues = false}));
    table.Add(StatClass<TstSumTrend>({.Position = 12,
                                      .Name = "TstSumTrend",
                                      .Code = "SUMT",
                                      .Caption = "Сумма тиража: направление изменения",
                                      .Group = sgSums,
                                      .Flags = sfReferenceDraw,
                                      .ScalarValues = false}));
    table.Add(StatClass<TstSumEvenValues>({.Position = 13,
                                           .Name = "TstSumEvenValues",
                                           .Code = "SUME",
                                           .Caption = "Сумма тиража: только четные",
                                           .Group = sgSums,
                                           .Flags = sfCombinable}));
    table.Add(StatClass<TstSumPrimeValues>({.Position = 14,
                                            .Name = "TstSumPrimeValues",
                                            .Code = "SUMP",
                                            .Caption = "Сумма тиража: только простые",
                                            .Group = sgSums,
                                            .Flags = sfCombinable}));
    table.Add(StatClass<TstSum2To3>({.Position = 15,
                                     .Name = "TstSum2To3",
                                     .Code = "S2T3",
                                     .Caption = "Сумма двух чисел тиража равна третьему числу",
                                     .Group = sgSums,
                                     .Flags = sfCombinable}));
}

} // namespace pelko
