// Group "dif": the five differences between neighbouring positions of the six numbers,
// their maximum and repeats, runs of two to four consecutive differences, and the spread
// between the smallest and the largest number. Neighbours follow the numbers' order, so
// over archive draws the values depend on the sorted-draws option.

#include "core/format.h"
#include "core/lottery.h"
#include "stats/custom_stat.h"
#include "stats/families/batch_counts.h"
#include "stats/families/families.h"
#include "stats/families/stat_keys.h"
#include "stats/stat_format.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <string>

namespace pelko {

namespace {

constexpr int DIFF_COUNT = LOTTO_COUNT - 1;
constexpr int DIFF_MAX = LOTTO_MAX - 1;

inline std::uint8_t AbsDiff(int a, int b) {
    return static_cast<std::uint8_t>(a > b ? a - b : b - a);
}

// d1..d5: |n1 - n2|, ..., |n5 - n6|; Packed holds d(i+1) in byte i. Written out, as the
// filter pass runs this for every combination of the list.
struct TNeighbourDiffs {
    std::uint8_t D[DIFF_COUNT];
    std::uint64_t Packed;

    explicit TNeighbourDiffs(const std::uint8_t* n)
        : D{AbsDiff(n[0], n[1]), AbsDiff(n[1], n[2]), AbsDiff(n[2], n[3]), AbsDiff(n[3], n[4]),
            AbsDiff(n[4], n[5])},
          Packed(std::uint64_t{D[0]} | (std::uint64_t{D[1]} << 8) | (std::uint64_t{D[2]} << 16) |
                 (std::uint64_t{D[3]} << 24) | (std::uint64_t{D[4]} << 32)) {}
    int Max() const {
        const int a = D[0] > D[1] ? D[0] : D[1];
        const int b = D[2] > D[3] ? D[2] : D[3];
        const int ab = a > b ? a : b;
        return ab > D[4] ? ab : D[4];
    }
};

// How often each difference occurs among d1..d5 (its multiplicity), and which positions
// hold the first appearance of their difference: the distinct differences in order of
// first appearance are the D[i] whose bit i is set in First. The five differences are
// compared all at once as the bytes of one word, without branches.
struct TDiffRepeats {
    std::uint8_t Times[DIFF_COUNT] = {};
    unsigned First = 0;

    explicit TDiffRepeats(const TNeighbourDiffs& diffs) {
        constexpr std::uint64_t ONES = 0x0101010101ull;  // one per difference byte
        constexpr std::uint64_t HIGHS = 0x8080808080ull; // the top bit of each byte
        constexpr std::uint64_t LOWS = 0x7F7F7F7F7Full;
        for (int i = 0; i < DIFF_COUNT; ++i) {
            const std::uint64_t x = diffs.Packed ^ (diffs.D[i] * ONES);
            // top bit of a byte set where that difference equals D[i]
            const std::uint64_t equal = ~(((x & LOWS) + LOWS) | x) & HIGHS;
            // one per equal byte, summed into byte 4 by the multiplication
            Times[i] = static_cast<std::uint8_t>(((equal >> 7) * ONES) >> 32);
            const std::uint64_t earlier = (std::uint64_t{1} << (8 * i)) - 1;
            First |= static_cast<unsigned>((equal & earlier) == 0) << i;
        }
    }
    int MaxTimes() const {
        int m = Times[0];
        for (int i = 1; i < DIFF_COUNT; ++i)
            m = Times[i] > m ? Times[i] : m;
        return m;
    }
};

inline int SpreadOf(const std::uint8_t* n) {
    const auto lo = [](int a, int b) { return a < b ? a : b; };
    const auto hi = [](int a, int b) { return a > b ? a : b; };
    return hi(hi(hi(n[0], n[1]), hi(n[2], n[3])), hi(n[4], n[5])) -
           lo(lo(lo(n[0], n[1]), lo(n[2], n[3])), lo(n[4], n[5]));
}

class TstDiffTotal final : public TStatBatch<TstDiffTotal, TCustomNumbersStat> {
  public:
    using TStatBatch::TStatBatch;

    void FillAllValues(int LastIndex, TStatDrawList& Values) override {
        TCustomNumbersStat::FillAllValues(LastIndex, Values);
        for (int d = 1; d <= DIFF_MAX; ++d)
            FillValue(Values, WordsKey(static_cast<std::uint16_t>(d)));
    }
    void ComputeForDraw(int DrawIndex, int LastIndex, bool Sorted, TStatDrawList& Values,
                        TStatWorkArea& Work, TLastValueArray& LastValues) override {
        TCustomNumbersStat::ComputeForDraw(DrawIndex, LastIndex, Sorted, Values, Work, LastValues);
        AddDiffs(TNeighbourDiffs(CurDraw.Nums), Values, true);
    }
    void ComputeForCombination(const TComb& Comb, TStatDrawList& Values) override {
        TCustomNumbersStat::ComputeForCombination(Comb, Values);
        AddDiffs(TNeighbourDiffs(Comb.N), Values, false);
    }
    bool TestCombination(const TComb& Comb, const TStatSelection& Selected, int, bool,
                         bool) override {
        const TNeighbourDiffs diffs(Comb.N);
        for (const std::uint8_t d : diffs.D)
            if (Selected.HasWord(1, d)) return true;
        return false;
    }

  private:
    // Gaps are measured on the first difference only.
    void AddDiffs(const TNeighbourDiffs& diffs, TStatDrawList& Values, bool trackGaps) {
        for (int i = 0; i < DIFF_COUNT; ++i)
            AddValue(Values, WordsKey(diffs.D[i]), trackGaps && i == 0);
    }
};

// One K1 value per draw or combination, pre-filled lo..hi, plotted as it is.
template <int (*ValueOf)(const std::uint8_t*), int Lo, int Hi>
class TOneDiffStat final : public TStatBatch<TOneDiffStat<ValueOf, Lo, Hi>, TCustomGraphStat> {
  public:
    using TStatBatch<TOneDiffStat, TCustomGraphStat>::TStatBatch;

    void FillAllValues(int LastIndex, TStatDrawList& Values) override {
        TCustomGraphStat::FillAllValues(LastIndex, Values);
        for (int v = Lo; v <= Hi; ++v)
            this->FillValue(Values, WordsKey(static_cast<std::uint16_t>(v)));
    }
    void ComputeForDraw(int DrawIndex, int LastIndex, bool Sorted, TStatDrawList& Values,
                        TStatWorkArea& Work, TLastValueArray& LastValues) override {
        TCustomGraphStat::ComputeForDraw(DrawIndex, LastIndex, Sorted, Values, Work, LastValues);
        this->AddValue(Values, WordsKey(Value(this->CurDraw.Nums)), true);
    }
    void ComputeForCombination(const TComb& Comb, TStatDrawList& Values) override {
        TCustomGraphStat::ComputeForCombination(Comb, Values);
        this->AddValue(Values, WordsKey(Value(Comb.N)), false);
    }
    int GraphValue(const TComb& Comb, int, int, bool) override { return ValueOf(Comb.N); }
    bool TestCombination(const TComb& Comb, const TStatSelection& Selected, int, bool,
                         bool) override {
        return Selected.HasWord(1, Value(Comb.N));
    }

  private:
    static std::uint16_t Value(const std::uint8_t* n) {
        return static_cast<std::uint16_t>(ValueOf(n));
    }
};

inline int MaxDiffOf(const std::uint8_t* n) {
    return TNeighbourDiffs(n).Max();
}
inline int MaxRepeatOf(const std::uint8_t* n) {
    return TDiffRepeats(TNeighbourDiffs(n)).MaxTimes();
}

using TstDiffMax = TOneDiffStat<MaxDiffOf, 1, DIFF_MAX>;
using TstMinMaxDiffs = TOneDiffStat<SpreadOf, 1, DIFF_MAX>;
using TstDiffSameCnt = TOneDiffStat<MaxRepeatOf, 1, DIFF_COUNT>;

// Each distinct difference with its multiplicity: K1 = difference, K2 = times.
class TstDiffSame final : public TStatBatch<TstDiffSame, TCustomStat> {
  public:
    using TStatBatch::TStatBatch;

    std::string ValueToText(const TStatDraw& Item) const override {
        return Format("%d x %d", Item.Key.K(1), Item.Key.K(2));
    }
    void ComputeForDraw(int DrawIndex, int LastIndex, bool Sorted, TStatDrawList& Values,
                        TStatWorkArea& Work, TLastValueArray& LastValues) override {
        TCustomStat::ComputeForDraw(DrawIndex, LastIndex, Sorted, Values, Work, LastValues);
        AddRepeats(TNeighbourDiffs(CurDraw.Nums), Values, true);
    }
    void ComputeForCombination(const TComb& Comb, TStatDrawList& Values) override {
        TCustomStat::ComputeForCombination(Comb, Values);
        AddRepeats(TNeighbourDiffs(Comb.N), Values, false);
    }
    // The prefetch pass: (difference, multiplicity) pairs counted per run of
    // combinations, merged once each (see batch_counts.h).
    void ComputeForCombinations(const TComb* Combs, std::size_t Count,
                                TStatDrawList& Values) override {
        TBatchCounts<(DIFF_COUNT + 1) * 256> counts; // index: multiplicity * 256 + difference
        for (std::size_t begin = 0; begin < Count; begin += BATCH_COUNT_RUN) {
            const std::size_t end = std::min(Count, begin + BATCH_COUNT_RUN);
            // Every position is counted, without branches: a difference of multiplicity m
            // is counted m times per combination, and its positions after the first add no
            // new key, so dividing by m at the end gives the per-combination counts in the
            // same first-appearance order.
            for (std::size_t i = begin; i < end; ++i) {
                const TNeighbourDiffs diffs(Combs[i].N);
                const TDiffRepeats repeats(diffs);
                for (int at = 0; at < DIFF_COUNT; ++at)
                    counts.Add(repeats.Times[at] * 256 + diffs.D[at], i);
            }
            counts.Drain([&](int index, std::int32_t count) {
                Item = TStatDraw{};
                Item.Count = count / (index >> 8);
                AddValue(Values,
                         WordsKey(static_cast<std::uint16_t>(index & 255),
                                  static_cast<std::uint16_t>(index >> 8)),
                         false);
            });
        }
    }
    // Every position of a repeated difference gives the same pair, so no first-appearance
    // test is needed here.
    bool TestCombination(const TComb& Comb, const TStatSelection& Selected, int, bool,
                         bool) override {
        const TNeighbourDiffs diffs(Comb.N);
        const TDiffRepeats repeats(diffs);
        for (int i = 0; i < DIFF_COUNT; ++i)
            if (Selected.HasKey(diffs.D[i], repeats.Times[i])) return true;
        return false;
    }

  private:
    void AddRepeats(const TNeighbourDiffs& diffs, TStatDrawList& Values, bool trackGaps) {
        const TDiffRepeats repeats(diffs);
        for (unsigned first = repeats.First; first != 0; first &= first - 1) {
            const int i = std::countr_zero(first);
            AddValue(Values, WordsKey(diffs.D[i], repeats.Times[i]), trackGaps);
        }
    }
};

// Runs of Len consecutive differences (di, ..., di+Len-1), Len = 2..4, as K1..K4.
template <int Len> class TCombDiffSeq final : public TStatBatch<TCombDiffSeq<Len>, TCustomStat> {
  public:
    using TStatBatch<TCombDiffSeq, TCustomStat>::TStatBatch;
    static constexpr int WINDOWS = DIFF_COUNT - Len + 1;

    std::string ValueToText(const TStatDraw& Item) const override {
        std::string text = std::to_string(Item.Key.K(1));
        for (int k = 2; k <= Len; ++k)
            text += ":" + std::to_string(Item.Key.K(k));
        return text;
    }
    // Gaps are measured on the first window only.
    void ComputeForDraw(int DrawIndex, int LastIndex, bool Sorted, TStatDrawList& Values,
                        TStatWorkArea& Work, TLastValueArray& LastValues) override {
        TCustomStat::ComputeForDraw(DrawIndex, LastIndex, Sorted, Values, Work, LastValues);
        const TNeighbourDiffs diffs(this->CurDraw.Nums);
        for (int i = 0; i < WINDOWS; ++i)
            this->AddValue(Values, WindowKey(diffs, i), i == 0);
    }
    bool TestCombination(const TComb& Comb, const TStatSelection& Selected, int, bool,
                         bool) override {
        const TNeighbourDiffs diffs(Comb.N);
        for (int i = 0; i < WINDOWS; ++i)
            if (Selected.HasKey(WindowKey(diffs, i))) return true;
        return false;
    }

  private:
    static TStatKey WindowKey(const TNeighbourDiffs& diffs, int i) {
        std::uint16_t k[4] = {};
        for (int j = 0; j < Len; ++j)
            k[j] = diffs.D[i + j];
        return WordsKey(k[0], k[1], k[2], k[3]);
    }
};

using TstCombDiffSeq2 = TCombDiffSeq<2>;
using TstCombDiffSeq3 = TCombDiffSeq<3>;
using TstCombDiffSeq4 = TCombDiffSeq<4>;

TStatClassInfo DiffSeqClass(TStatClassInfo info, int len) {
    info.Code = FormatTemplate("KDS%d", len);
    info.Caption = FormatTemplate("Сочетания из %0:d разностей между числами", len);
    info.Group = sgDiffs;
    info.Flags = sfOrderSensitive;
    info.ScalarValues = false;
    return info;
}

} // namespace

void RegisterDifferenceStats(TStatClassTable& table) {
    table.Add(StatClass<TstDiffTotal>({.Position = 16,
                                       .Name = "TstDiffTotal",
                                       .Code = "DIFA",
                                       .Caption = "Все разности между соседними позициями",
                                       .Group = sgDiffs,
                                       .Flags = sfOrderSensitive | sfCombinable}));
    table.Add(StatClass<TstDiffMax>({.Position = 17,
                                     .Name = "TstDiffMax",
                                     .Code = "DIFM",
                                     .Caption = "Максимальная разность между соседними позициями",
                                     .Group = sgDiffs,
                                     .Flags = sfOrderSensitive | sfCombinable}));
    table.Add(
        StatClass<TstMinMaxDiffs>({.Position = 18,
                                   .Name = "TstMinMaxDiffs",
                                   .Code = "DIFD",
                                   .Caption = "Разность между минимальным и максимальным числом",
                                   .Group = sgDiffs,
                                   .Flags = sfCombinable}));
    table.Add(StatClass<TstDiffSame>({.Position = 19,
                                      .Name = "TstDiffSame",
                                      .Code = "DIFO",
                                      .Caption = "Одинаковые разности между соседними позициями",
                                      .Group = sgDiffs,
                                      .Flags = sfOrderSensitive | sfCombinable,
                                      .ScalarValues = false}));
    table.Add(StatClass<TstDiffSameCnt>(
        {.Position = 20,
         .Name = "TstDiffSameCnt",
         .Code = "DIFK",
         .Caption = "Количество одинаковых разностей между соседними позициями",
         .Group = sgDiffs,
         .Flags = sfOrderSensitive | sfCombinable}));
    table.Add(
        StatClass<TstCombDiffSeq2>(DiffSeqClass({.Position = 74, .Name = "TstCombDiffSeq2"}, 2)));
    table.Add(
        StatClass<TstCombDiffSeq3>(DiffSeqClass({.Position = 75, .Name = "TstCombDiffSeq3"}, 3)));
    table.Add(
        StatClass<TstCombDiffSeq4>(DiffSeqClass({.Position = 76, .Name = "TstCombDiffSeq4"}, 4)));
}

} // namespace pelko
