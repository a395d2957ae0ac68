// Group "num": statistics that look at the six numbers one by one — which numbers and
// digits occur, how many are even, small or prime and in which positions, and which
// number stands in a given position.

#include "core/lottery.h"
#include "stats/custom_stat.h"
#include "stats/families/batch_counts.h"
#include "stats/families/families.h"
#include "stats/families/number_classes.h"
#include "stats/families/stat_keys.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>

namespace pelko {

namespace {

// Every number of the combination that holds a selected key K1.
bool AnyNumberSelected(const TComb& comb, const TStatSelection& selected) {
    for (const std::uint8_t n : comb)
        if (selected.HasKey(n)) return true;
    return false;
}

// How many of the six numbers are odd: their lowest bits, summed into byte 5 of one
// multiplication (the even count runs in the filter pass over every combination).
inline int OddCount(const std::uint8_t* nums) {
    const std::uint64_t v = std::uint64_t{nums[0]} | (std::uint64_t{nums[1]} << 8) |
                            (std::uint64_t{nums[2]} << 16) | (std::uint64_t{nums[3]} << 24) |
                            (std::uint64_t{nums[4]} << 32) | (std::uint64_t{nums[5]} << 40);
    constexpr std::uint64_t LOW_BITS = 0x010101010101ull;
    return static_cast<int>((((v & LOW_BITS) * LOW_BITS) >> 40) & 0xFF);
}

// How many of the six numbers are of the class.
template <TNumberClass Cls> std::uint16_t CountOfClass(const std::uint8_t* nums) {
    if constexpr (Cls == ncEven) return static_cast<std::uint16_t>(LOTTO_COUNT - OddCount(nums));
    return static_cast<std::uint16_t>(HasNumberClass(nums[0], Cls) + HasNumberClass(nums[1], Cls) +
                                      HasNumberClass(nums[2], Cls) + HasNumberClass(nums[3], Cls) +
                                      HasNumberClass(nums[4], Cls) + HasNumberClass(nums[5], Cls));
}

// The six-bit mask of the numbers in their order (first number = bit 5); a bit is 1 when
// the number is of the class, or when it is not for an inverted mask.
template <TNumberClass Cls, bool Invert> std::int32_t MaskOfClass(const std::uint8_t* nums) {
    const auto bit = [](std::uint8_t n, int at) {
        return static_cast<std::int32_t>(HasNumberClass(n, Cls) != Invert) << at;
    };
    return bit(nums[0], 5) | bit(nums[1], 4) | bit(nums[2], 3) | bit(nums[3], 2) | bit(nums[4], 1) |
           bit(nums[5], 0);
}

class TstValues final : public TStatBatch<TstValues, TCustomValuesStat> {
  public:
    using TStatBatch::TStatBatch;

    void FillAllValues(int LastIndex, TStatDrawList& Values) override {
        TCustomValuesStat::FillAllValues(LastIndex, Values);
        for (int n = 1; n <= LOTTO_MAX; ++n)
            FillValue(Values, WordsKey(static_cast<std::uint16_t>(n)));
    }
    void ComputeForDraw(int DrawIndex, int LastIndex, bool Sorted, TStatDrawList& Values,
                        TStatWorkArea& Work, TLastValueArray& LastValues) override {
        TCustomValuesStat::ComputeForDraw(DrawIndex, LastIndex, Sorted, Values, Work, LastValues);
        AddNumbers(CurDraw.Nums, Values, true);
    }
    void ComputeForCombination(const TComb& Comb, TStatDrawList& Values) override {
        TCustomValuesStat::ComputeForCombination(Comb, Values);
        AddNumbers(Comb.N, Values, false);
    }
    // The prefetch pass: the numbers of a run of combinations are counted locally and
    // merged once each (see batch_counts.h).
    void ComputeForCombinations(const TComb* Combs, std::size_t Count,
                                TStatDrawList& Values) override {
        TBatchCounts<256> counts;
        for (std::size_t begin = 0; begin < Count; begin += BATCH_COUNT_RUN) {
            const std::size_t end = std::min(Count, begin + BATCH_COUNT_RUN);
            for (std::size_t i = begin; i < end; ++i) {
                const TComb& c = Combs[i]; // written out: the loop is not unrolled otherwise
                counts.Add(c[0], i);
                counts.Add(c[1], i);
                counts.Add(c[2], i);
                counts.Add(c[3], i);
                counts.Add(c[4], i);
                counts.Add(c[5], i);
            }
            counts.Drain([&](int n, std::int32_t count) {
                MergeCounted(Values, WordsKey(static_cast<std::uint16_t>(n)), count);
            });
        }
    }
    bool TestCombination(const TComb& Comb, const TStatSelection& Selected, int, bool,
                         bool) override {
        return AnyNumberSelected(Comb, Selected);
    }

  private:
    void AddNumbers(const std::uint8_t* nums, TStatDrawList& Values, bool trackGaps) {
        for (int i = 0; i < LOTTO_COUNT; ++i)
            AddValue(Values, WordsKey(nums[i]), trackGaps);
    }
    void MergeCounted(TStatDrawList& Values, const TStatKey& key, std::int32_t count) {
        Item = TStatDraw{};
        Item.Count = count;
        AddValue(Values, key, false);
    }
};

// The decimal digits of a number written without leading zeros, most significant first.
struct TDigits {
    std::uint8_t Count = 0;
    std::uint8_t Digit[3] = {};
};

inline constexpr std::array<TDigits, 256> DIGITS_OF = [] {
    std::array<TDigits, 256> table{};
    for (int n = 0; n < 256; ++n) {
        TDigits& d = table[static_cast<std::size_t>(n)];
        if (n >= 100) d.Digit[d.Count++] = static_cast<std::uint8_t>(n / 100);
        if (n >= 10) d.Digit[d.Count++] = static_cast<std::uint8_t>(n / 10 % 10);
        d.Digit[d.Count++] = static_cast<std::uint8_t>(n % 10);
    }
    return table;
}();

class TstDigits final : public TStatBatch<TstDigits, TCustomNumbersStat> {
  public:
    using TStatBatch::TStatBatch;

    // One item per character: a digit twice in one number (11) is added twice.
    void ComputeForDraw(int DrawIndex, int LastIndex, bool Sorted, TStatDrawList& Values,
                        TStatWorkArea& Work, TLastValueArray& LastValues) override {
        TCustomNumbersStat::ComputeForDraw(DrawIndex, LastIndex, Sorted, Values, Work, LastValues);
        AddDigits(CurDraw.Nums, Values, true);
    }
    void ComputeForCombination(const TComb& Comb, TStatDrawList& Values) override {
        TCustomNumbersStat::ComputeForCombination(Comb, Values);
        AddDigits(Comb.N, Values, false);
    }
    // The prefetch pass: digits counted per run of combinations, merged once each.
    void ComputeForCombinations(const TComb* Combs, std::size_t Count,
                                TStatDrawList& Values) override {
        TBatchCounts<10> counts;
        for (std::size_t begin = 0; begin < Count; begin += BATCH_COUNT_RUN) {
            const std::size_t end = std::min(Count, begin + BATCH_COUNT_RUN);
            for (std::size_t i = begin; i < end; ++i)
                for (const std::uint8_t n : Combs[i]) {
                    const TDigits& digits = DIGITS_OF[n];
                    for (int d = 0; d < digits.Count; ++d)
                        counts.Add(digits.Digit[d], i);
                }
            counts.Drain([&](int digit, std::int32_t count) {
                Item = TStatDraw{};
                Item.Count = count;
                AddValue(Values, WordsKey(static_cast<std::uint16_t>(digit)), false);
            });
        }
    }
    bool TestCombination(const TComb& Comb, const TStatSelection& Selected, int, bool,
                         bool) override {
        for (const std::uint8_t n : Comb) {
            const TDigits& digits = DIGITS_OF[n];
            for (int d = 0; d < digits.Count; ++d)
                if (Selected.HasKey(digits.Digit[d])) return true;
        }
        return false;
    }

  private:
    void AddDigits(const std::uint8_t* nums, TStatDrawList& Values, bool trackGaps) {
        for (int i = 0; i < LOTTO_COUNT; ++i) {
            const TDigits& digits = DIGITS_OF[nums[i]];
            for (int d = 0; d < digits.Count; ++d)
                AddValue(Values, WordsKey(digits.Digit[d]), trackGaps);
        }
    }
};

// How many of the six numbers are of the class; pre-fills the counts 1..6 (not 0).
template <TNumberClass Cls>
class TCountStat final : public TStatBatch<TCountStat<Cls>, TCustomRatioStat> {
  public:
    using TStatBatch<TCountStat<Cls>, TCustomRatioStat>::TStatBatch;

    void FillAllValues(int LastIndex, TStatDrawList& Values) override {
        TCustomRatioStat::FillAllValues(LastIndex, Values);
        for (int k = 1; k <= LOTTO_COUNT; ++k)
            this->FillValue(Values, WordsKey(static_cast<std::uint16_t>(k)));
    }
    void ComputeForDraw(int DrawIndex, int LastIndex, bool Sorted, TStatDrawList& Values,
                        TStatWorkArea& Work, TLastValueArray& LastValues) override {
        TCustomRatioStat::ComputeForDraw(DrawIndex, LastIndex, Sorted, Values, Work, LastValues);
        this->AddValue(Values, WordsKey(CountOfClass<Cls>(this->CurDraw.Nums)), true);
    }
    void ComputeForCombination(const TComb& Comb, TStatDrawList& Values) override {
        TCustomRatioStat::ComputeForCombination(Comb, Values);
        this->AddValue(Values, WordsKey(CountOfClass<Cls>(Comb.N)), false);
    }
    int GraphValue(const TComb& Comb, int, int, bool) override { return CountOfClass<Cls>(Comb.N); }
    bool TestCombination(const TComb& Comb, const TStatSelection& Selected, int, bool,
                         bool) override {
        return Selected.HasWord(1, CountOfClass<Cls>(Comb.N));
    }
};

using TstEvenCount = TCountStat<ncEven>;
using TstSmallCount = TCountStat<ncSmall>;
using TstPrimeCount = TCountStat<ncPrime>;

// The six-bit mask of a class in the numbers' order. Letters are UTF-8 texts; PreFill says
// whether all 64 masks are listed before any draw.
template <TNumberClass Cls, bool Invert, const char* Zero, const char* One, bool PreFill>
class TMaskStat final
    : public TStatBatch<TMaskStat<Cls, Invert, Zero, One, PreFill>, TCustomMaskStat> {
  public:
    using TStatBatch<TMaskStat, TCustomMaskStat>::TStatBatch;

    void FillAllValues(int LastIndex, TStatDrawList& Values) override {
        if (PreFill)
            TCustomMaskStat::FillAllValues(LastIndex, Values);
        else
            TCustomStat::FillAllValues(LastIndex, Values);
    }
    void ComputeForDraw(int DrawIndex, int LastIndex, bool Sorted, TStatDrawList& Values,
                        TStatWorkArea& Work, TLastValueArray& LastValues) override {
        TCustomMaskStat::ComputeForDraw(DrawIndex, LastIndex, Sorted, Values, Work, LastValues);
        this->AddValue(Values, LongsKey(Mask(this->CurDraw.Nums)), true);
    }
    void ComputeForCombination(const TComb& Comb, TStatDrawList& Values) override {
        TCustomMaskStat::ComputeForCombination(Comb, Values);
        this->AddValue(Values, LongsKey(Mask(Comb.N)), false);
    }
    bool TestCombination(const TComb& Comb, const TStatSelection& Selected, int, bool,
                         bool) override {
        return Selected.HasLong(1, Mask(Comb.N));
    }
    std::string ZeroLetter() const override { return Zero; }
    std::string OneLetter() const override { return One; }

  private:
    static std::int32_t Mask(const std::uint8_t* nums) { return MaskOfClass<Cls, Invert>(nums); }
};

constexpr char EVEN_LETTER[] = "Ч";
constexpr char ODD_LETTER[] = "н";
constexpr char FIRST_HALF_LETTER[] = "1";
constexpr char SECOND_HALF_LETTER[] = "2";
constexpr char COMPOSITE_LETTER[] = "С";
constexpr char PRIME_LETTER[] = "П";

// Bit 1 for an odd number, for a number 23..45, for a prime.
using TstEvenValues = TMaskStat<ncEven, true, EVEN_LETTER, ODD_LETTER, true>;
using TstSmallValues = TMaskStat<ncSmall, true, FIRST_HALF_LETTER, SECOND_HALF_LETTER, false>;
using TstPrimeValues = TMaskStat<ncPrime, false, COMPOSITE_LETTER, PRIME_LETTER, true>;

// The number in position Type (1 = first of the six in their order).
class TstPosVal final : public TStatBatch<TstPosVal, TCustomGraphStat> {
  public:
    TstPosVal(const TStatList& List, int Type)
        : TStatBatch(List, Type), at_(std::clamp(Type, 1, LOTTO_COUNT) - 1) {}

    void FillAllValues(int LastIndex, TStatDrawList& Values) override {
        TCustomGraphStat::FillAllValues(LastIndex, Values);
        for (int n = 1; n <= LOTTO_MAX; ++n)
            FillValue(Values, WordsKey(static_cast<std::uint16_t>(n)));
    }
    void ComputeForDraw(int DrawIndex, int LastIndex, bool Sorted, TStatDrawList& Values,
                        TStatWorkArea& Work, TLastValueArray& LastValues) override {
        TCustomGraphStat::ComputeForDraw(DrawIndex, LastIndex, Sorted, Values, Work, LastValues);
        AddValue(Values, WordsKey(CurDraw.Nums[at_]), true);
    }
    void ComputeForCombination(const TComb& Comb, TStatDrawList& Values) override {
        TCustomGraphStat::ComputeForCombination(Comb, Values);
        AddValue(Values, WordsKey(Comb.N[at_]), false);
    }
    int GraphValue(const TComb& Comb, int, int, bool) override { return Comb.N[at_]; }
    bool TestCombination(const TComb& Comb, const TStatSelection& Selected, int, bool,
                         bool) override {
        return Selected.HasWord(1, Comb.N[at_]);
    }

  private:
    int at_;
};

// The extra (bonus) numbers of lotteries that have them. This lottery's draw record has
// none, so the type range is empty and the class is never computed; it exists to keep the
// class table whole.
class TstPosExt final : public TStatBatch<TstPosExt, TCustomGraphStat> {
  public:
    using TStatBatch::TStatBatch;

    int GraphValue(const TComb&, int, int, bool) override { return 0; }
    bool TestCombination(const TComb&, const TStatSelection&, int, bool, bool) override {
        return false;
    }
};

} // namespace

void RegisterNumberStats(TStatClassTable& table) {
    table.Add(StatClass<TstValues>({.Position = 0,
                                    .Name = "TstValues",
                                    .Code = "NUMS",
                                    .Caption = "Числа тиража",
                                    .Group = sgNumbers,
                                    .Flags = sfCombinable}));
    table.Add(StatClass<TstDigits>({.Position = 1,
                                    .Name = "TstDigits",
                                    .Code = "DIGS",
                                    .Caption = "Цифры тиража",
                                    .Group = sgNumbers,
                                    .Flags = sfCombinable}));
    table.Add(StatClass<TstEvenCount>({.Position = 2,
                                       .Name = "TstEvenCount",
                                       .Code = "EVEN",
                                       .Caption = "Количество четных чисел в тираже (Ч:Н)",
                                       .Group = sgNumbers,
                                       .Flags = sfCombinable}));
    table.Add(StatClass<TstEvenValues>({.Position = 3,
                                        .Name = "TstEvenValues",
                                        .Code = "EVNV",
                                        .Caption = "Четные и нечетные числа в тираже (Чн..нЧ)",
                                        .Group = sgNumbers,
                                        .Flags = sfOrderSensitive | sfCombinable}));
    table.Add(StatClass<TstSmallCount>(
        {.Position = 4,
         .Name = "TstSmallCount",
         .Code = "SMAL",
         .Caption = "Количество чисел из первой половины диапазона (1П:2П)",
         .Group = sgNumbers,
         .Flags = sfCombinable}));
    table.Add(StatClass<TstSmallValues>({.Position = 5,
                                         .Name = "TstSmallValues",
                                         .Code = "SMLV",
                                         .Caption = "Числа из первой половины диапазона (12..12)",
                                         .Group = sgNumbers,
                                         .Flags = sfOrderSensitive | sfCombinable}));
    table.Add(StatClass<TstPrimeCount>({.Position = 6,
                                        .Name = "TstPrimeCount",
                                        .Code = "PRIM",
                                        .Caption = "Количество простых чисел (П:С)",
                                        .Group = sgNumbers,
                                        .Flags = sfCombinable}));
    table.Add(StatClass<TstPrimeValues>({.Position = 7,
                                         .Name = "TstPrimeValues",
                                         .Code = "PRMV",
                                         .Caption = "Простые и составные числа (ПС..СП)",
                                         .Group = sgNumbers,
                                         .Flags = sfOrderSensitive | sfCombinable}));
    table.Add(StatClass<TstPosVal>({.Position = 101,
                                    .Name = "TstPosVal",
                                    .Code = "POS%d",
                                    .Caption = "Число в %0:d позиции тиража",
                                    .Group = sgNumbers,
                                    .Flags = sfOrderSensitive | sfCombinable,
                                    .TypeRange = &FixedTypes<1, LOTTO_COUNT>,
                                    .FamilyCode = "POSx"}));
    table.Add(StatClass<TstPosExt>({.Position = 102,
                                    .Name = "TstPosExt",
                                    .Code = "POE%d",
                                    .Caption = "Extra (Bonus, Star...) - число (!без фильтра!)",
                                    .Group = sgNumbers,
                                    .Flags = 0,
                                    .TypeRange = &FixedTypes<1, 0>,
                                    .FamilyCode = "POSx"}));
}

} // namespace pelko
