#include "stats/families/shredding.h"

#include "stats/families/families.h"
#include "stats/families/stat_keys.h"
#include "stats/stat_format.h"
#include "stats/stat_list.h"

#include <algorithm>

namespace pelko {

namespace {

constexpr int MIN_DIGITS = 1;
constexpr int MAX_DIGITS = 5;
constexpr int LANES = TShreddingProgram::LANES;

const std::string& FormulaOf(const TStatList& list, int type) {
    static const std::string none;
    if (type < 1 || type > SHREDDING_FORMULAS)
        return none; // an empty formula does not compile and always gives 0
    return list.Shredding.Formula[static_cast<std::size_t>(type - 1)];
}

int DigitsOf(const TStatList& list, int type) {
    if (type < 1 || type > SHREDDING_FORMULAS) return TShreddingFormulas{}.Digits[0];
    return std::clamp(list.Shredding.Digits[static_cast<std::size_t>(type - 1)], MIN_DIGITS,
                      MAX_DIGITS);
}

TComb CombOf(const std::uint8_t* nums) {
    TComb comb;
    for (int i = 0; i < LOTTO_COUNT; ++i)
        comb.N[i] = nums[i];
    return comb;
}

} // namespace

TstShreddingStat::TstShreddingStat(const TStatList& List, int Type)
    : TCustomGraphStat(List, Type), formulaText_(FormulaOf(List, Type)),
      digits_(DigitsOf(List, Type)), formula_(formulaText_) {
    if (!formula_.IsValid()) return;
    std::optional<TShreddingProgram> program = TShreddingProgram::Compile(formulaText_);
    if (program && AgreesWithFormula(*program)) program_ = std::move(program);
}

bool TstShreddingStat::AgreesWithFormula(const TShreddingProgram& program) {
    // The program follows the compiled formula's grammar and arithmetic; this guards
    // against a text the two read differently. Nine decimals show any such difference.
    constexpr int SAMPLE_DIGITS = 9;
    std::uint32_t seed = 0x5EED;
    auto next = [&](int range) {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<int>((seed >> 16) % static_cast<std::uint32_t>(range));
    };
    for (int sample = 0; sample < 24; ++sample) {
        int n[6], p[6], t[6];
        double pd[6], td[6];
        TComb comb;
        for (int i = 0; i < 6; ++i) {
            n[i] = 1 + next(LOTTO_MAX);
            p[i] = sample < 8 ? 0 : next(LOTTO_MAX + 1);
            t[i] = sample < 4 ? 0 : next(LOTTO_MAX + 1);
            comb.N[i] = static_cast<std::uint8_t>(n[i]);
            pd[i] = p[i];
            td[i] = t[i];
        }
        if (formula_.Eval(n, p, t, SAMPLE_DIGITS) !=
            FormulaResultDigits(program.EvalOne(comb, pd, td), SAMPLE_DIGITS))
            return false;
    }
    return true;
}

std::string TstShreddingStat::Title() const {
    return FormatTemplate(Caption(), formulaText_);
}

std::string TstShreddingStat::ValueToText(const TStatDraw& Item) const {
    return std::to_string(Item.Key.V(1));
}

int TstShreddingStat::ValueOf(const TComb& n, const double p[6], const double t[6]) {
    if (program_) return FormulaResultDigits(program_->EvalOne(n, p, t), digits_);
    const int ni[6] = {n.N[0], n.N[1], n.N[2], n.N[3], n.N[4], n.N[5]};
    int pi[6], ti[6];
    for (int i = 0; i < 6; ++i) {
        pi[i] = static_cast<int>(p[i]);
        ti[i] = static_cast<int>(t[i]);
    }
    return formula_.Eval(ni, pi, ti, digits_);
}

void TstShreddingStat::ValuesOf(const TComb* Combs, int Count, const double p[6], const double t[6],
                                int* out) {
    if (!program_) {
        for (int i = 0; i < Count; ++i)
            out[i] = ValueOf(Combs[i], p, t);
        return;
    }
    double raw[LANES];
    program_->Eval(Combs, Count, p, t, raw);
    TShreddingProgram::ShredDigits(raw, Count, digits_, out);
}

void TstShreddingStat::NumbersOfDraw(int Index, bool Sorted, double out[6]) const {
    TDrawData draw;
    LoadDraw(Index, draw, Sorted);
    for (int i = 0; i < LOTTO_COUNT; ++i)
        out[i] = draw.Nums[i];
}

void TstShreddingStat::ComputeForDraw(int DrawIndex, int LastIndex, bool Sorted,
                                      TStatDrawList& Values, TStatWorkArea& Work,
                                      TLastValueArray& LastValues) {
    TCustomGraphStat::ComputeForDraw(DrawIndex, LastIndex, Sorted, Values, Work, LastValues);
    double p[6], t[6];
    NumbersOfDraw(DrawIndex - 1, Sorted, p);
    NumbersOfDraw(DrawIndex - 2, Sorted, t);
    AddValue(Values, LongsKey(ValueOf(CombOf(CurDraw.Nums), p, t)), true);
}

void TstShreddingStat::ComputeForCombination(const TComb& Comb, TStatDrawList& Values) {
    TCustomGraphStat::ComputeForCombination(Comb, Values);
    static constexpr double zeros[6] = {};
    AddValue(Values, LongsKey(ValueOf(Comb, zeros, zeros)), false);
}

void TstShreddingStat::ComputeForCombinations(const TComb* Combs, std::size_t Count,
                                              TStatDrawList& Values) {
    static constexpr double zeros[6] = {};
    int values[LANES];
    for (std::size_t begin = 0; begin < Count; begin += LANES) {
        const int lanes = static_cast<int>(std::min<std::size_t>(LANES, Count - begin));
        ValuesOf(Combs + begin, lanes, zeros, zeros, values);
        for (int l = 0; l < lanes; ++l) {
            Values.SelectCountingBank(begin + static_cast<std::size_t>(l));
            TCustomGraphStat::ComputeForCombination(Combs[begin + static_cast<std::size_t>(l)],
                                                    Values);
            AddValue(Values, LongsKey(values[l]), false);
        }
    }
}

int TstShreddingStat::GraphValue(const TComb& Comb, int DrawIndex, int, bool Sorted) {
    double p[6], t[6];
    NumbersOfDraw(DrawIndex - 1, Sorted, p);
    NumbersOfDraw(DrawIndex - 2, Sorted, t);
    return ValueOf(Comb, p, t);
}

void TstShreddingStat::LoadCompanions(int RefIndex, bool Sorted) {
    NumbersOfDraw(RefIndex, Sorted, testP_);
    NumbersOfDraw(RefIndex - 1, Sorted, testT_);
    testRef_ = RefIndex;
    testSorted_ = Sorted;
    testReady_ = true;
}

void TstShreddingStat::PrepareTest(const TStatSelection&, int RefIndex, bool Sorted, bool) {
    LoadCompanions(RefIndex, Sorted);
}

bool TstShreddingStat::TestCombination(const TComb& Comb, const TStatSelection& Selected,
                                       int RefIndex, bool Sorted, bool) {
    if (!testReady_ || testRef_ != RefIndex || testSorted_ != Sorted)
        LoadCompanions(RefIndex, Sorted);
    return Selected.HasLong(1, ValueOf(Comb, testP_, testT_));
}

std::size_t TstShreddingStat::TestCombinations(const TComb* In, std::size_t Count, TComb* Out,
                                               const TStatSelection& Selected, int RefIndex,
                                               bool Sorted, bool Exclude) {
    if (!testReady_ || testRef_ != RefIndex || testSorted_ != Sorted)
        LoadCompanions(RefIndex, Sorted);
    int values[LANES];
    std::size_t kept = 0;
    for (std::size_t begin = 0; begin < Count; begin += LANES) {
        const int lanes = static_cast<int>(std::min<std::size_t>(LANES, Count - begin));
        ValuesOf(In + begin, lanes, testP_, testT_, values);
        for (int l = 0; l < lanes; ++l) {
            Out[kept] = In[begin + static_cast<std::size_t>(l)];
            kept += Selected.HasLong(1, values[l]) != Exclude;
        }
    }
    return kept;
}

void RegisterShreddingStats(TStatClassTable& table) {
    table.Add(StatClass<TstShreddingStat>({.Position = 142,
                                           .Name = "TstShreddingStat",
                                           .Code = "SHR%d",
                                           .Caption = "Метод шинковки %0:d: %%s",
                                           .Group = sgShredding,
                                           .Flags = sfOrderSensitive | sfCombinable,
                                           .TypeRange = &FixedTypes<1, SHREDDING_FORMULAS>,
                                           .FamilyCode = "SHRx"}));
}

} // namespace pelko
