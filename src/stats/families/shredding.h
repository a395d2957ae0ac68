#pragma once
// Group "shr": the user's shredding formulas. Each of the three methods evaluates its
// formula over the six numbers of a draw or combination (n1..n6) and of the two draws
// before it (p1..p6, t1..t6) and keeps the first decimals of the result as the value.

#include "core/formula.h"
#include "stats/custom_stat.h"
#include "stats/families/shredding_program.h"

#include <optional>
#include <string>

namespace pelko {

// Value: V1 = the formula's first Digits decimals (0 .. 10^Digits - 1). With five decimals
// a value may pass 65535, so the whole value is kept in V1 (K1 and K2) rather than cut to
// the low word; below 65536 this is the plain K1.
class TstShreddingStat final : public TCustomGraphStat {
  public:
    // Copies formula Type (1..3) and its digits from the registry and compiles it once;
    // an object keeps the formula it was created with.
    TstShreddingStat(const TStatList& List, int Type);

    const std::string& Formula() const { return formulaText_; }
    int Digits() const { return digits_; }
    // The caption with the formula in place of "%s" (Метод шинковки 1: (n1+n2+n3)/(n4+n5+n6)).
    std::string Title() const;

    std::string ValueToText(const TStatDraw& Item) const override;
    void ComputeForDraw(int DrawIndex, int LastIndex, bool Sorted, TStatDrawList& Values,
                        TStatWorkArea& Work, TLastValueArray& LastValues) override;
    // Over all combinations p and t are all 0.
    void ComputeForCombination(const TComb& Comb, TStatDrawList& Values) override;
    void ComputeForCombinations(const TComb* Combs, std::size_t Count,
                                TStatDrawList& Values) override;
    // n = the six numbers, p = draw DrawIndex - 1, t = draw DrawIndex - 2.
    int GraphValue(const TComb& Comb, int DrawIndex, int RefIndex, bool Sorted) override;
    // Loads p (draw RefIndex) and t (draw RefIndex - 1) once per pass.
    void PrepareTest(const TStatSelection& Selected, int RefIndex, bool Sorted,
                     bool Exclude) override;
    // The combination stands for the draw after the reference draw.
    bool TestCombination(const TComb& Comb, const TStatSelection& Selected, int RefIndex,
                         bool Sorted, bool Exclude) override;
    std::size_t TestCombinations(const TComb* In, std::size_t Count, TComb* Out,
                                 const TStatSelection& Selected, int RefIndex, bool Sorted,
                                 bool Exclude) override;

    // The value of six numbers with the given companions (0 when evaluation fails).
    int ValueOf(const TComb& n, const double p[6], const double t[6]);
    // Whether the batch program evaluates the formula (else every value goes through the
    // compiled formula one by one).
    bool HasBatchProgram() const { return program_.has_value(); }

  private:
    // The numbers of draw Index (zeros outside the archive) in the order Sorted gives.
    void NumbersOfDraw(int Index, bool Sorted, double out[6]) const;
    void LoadCompanions(int RefIndex, bool Sorted);
    // Values of up to LANES combinations with shared p and t.
    void ValuesOf(const TComb* Combs, int Count, const double p[6], const double t[6], int* out);
    // Whether the program gives the compiled formula's results on sample numbers.
    bool AgreesWithFormula(const TShreddingProgram& program);

    std::string formulaText_;
    int digits_ = 2;
    TCompiledFormula formula_;
    std::optional<TShreddingProgram> program_;
    // p and t of the filter pass, for reference draw testRef_ read with testSorted_.
    double testP_[6] = {};
    double testT_[6] = {};
    int testRef_ = 0;
    bool testSorted_ = false;
    bool testReady_ = false;
};

} // namespace pelko
