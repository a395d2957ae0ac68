#include "family_fixture.h"
#include "stats/families/shredding.h"
#include "stats/families/shredding_program.h"
#include "stats/stat_class.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace pelko {
namespace {

using test::FamilyTest;
using test::ForEachCombination;

TEST(ShreddingRegistry, ThreeMethodsCaptionedWithTheirFormulas) {
    const TStatClassInfo* info = StandardStatClasses().FindByName("TstShreddingStat");
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->GetGroup(), sgShredding);
    EXPECT_EQ(FlagLetters(info->GetAllFlags()), "SNG");
    EXPECT_EQ(info->GetFamilyCode(), "SHRx");
    EXPECT_EQ(info->CaptionOf(1), "Метод шинковки 1: %s");

    TStatList list;
    list.Shredding.Formula[2] = "n1*n2/7";
    list.Build();
    const int first = list.IndexOfCode("SHR1");
    ASSERT_GE(first, 0);
    EXPECT_EQ(list.MethodCode(list.Items(first + 1)), "SHR2");
    EXPECT_EQ(list.MethodCode(list.Items(first + 2)), "SHR3");
    EXPECT_EQ(list.MethodTitle(list.Items(first)), "Метод шинковки 1: (n1+n2+n3)/(n4+n5+n6)");
    EXPECT_EQ(list.MethodTitle(list.Items(first + 2)), "Метод шинковки 3: n1*n2/7");
    EXPECT_EQ(list.DisplayName(first, true),
              "{ shr } Метод шинковки 1: (n1+n2+n3)/(n4+n5+n6) [ SNG ]");
    auto stat = list.CreateStat(first + 1);
    EXPECT_EQ(dynamic_cast<TstShreddingStat&>(*stat).Title(),
              "Метод шинковки 2: (n4+n5+n6)/(n1+n2+n3)");
}

class ShreddingStats : public FamilyTest {
  protected:
    std::unique_ptr<TCustomStat> WithFormula(const std::string& formula, int digits = 2) {
        list_.Shredding.Formula[0] = formula;
        list_.Shredding.Digits[0] = digits;
        return Create("TstShreddingStat", 1);
    }
    static int ValueOfDraw(TCustomStat& stat, int index, bool sorted) {
        const TStatDrawList values = DrawValues(stat, index, sorted);
        EXPECT_EQ(values.size(), 1u);
        return values.empty() ? -1 : values[0].Key.V(1);
    }
};

TEST_F(ShreddingStats, DefaultFormulaDependsOnTheNumbersOrder) {
    AddDraw({1, 2, 5, 3, 4, 9});
    auto stat = Create("TstShreddingStat", 1);
    EXPECT_EQ(ValueOfDraw(*stat, 0, false), 50); // 8 / 16
    EXPECT_EQ(ValueOfDraw(*stat, 0, true), 33);  // 6 / 18
    auto& graph = dynamic_cast<TCustomGraphStat&>(*stat);
    EXPECT_EQ(graph.GraphValueOfDraw(0, 0, false), 50);
    EXPECT_EQ(stat->TextToScalar("50"), 50);
    EXPECT_EQ(Text(*stat, TStatKey::FromV(50)), "50");
    EXPECT_TRUE(WindowValues(*stat, 0, 0, false).size() == 1); // nothing pre-filled
}

TEST_F(ShreddingStats, DigitsChooseHowManyDecimalsAreKept) {
    AddDraw({1, 2, 5, 3, 4, 9});
    EXPECT_EQ(ValueOfDraw(*WithFormula("(n1+n2+n3)/(n4+n5+n6)", 3), 0, false), 500);
    EXPECT_EQ(ValueOfDraw(*WithFormula("n1/3", 1), 0, false), 3);
    // Five decimals pass the 16-bit word: the whole value is kept and selectable.
    auto wide = WithFormula("0.98765", 5);
    EXPECT_EQ(ValueOfDraw(*wide, 0, false), 98765);
    EXPECT_EQ(Text(*wide, TStatKey::FromV(98765)), "98765");
    EXPECT_TRUE(Test(*wide, Select({TStatKey::FromV(98765)}), {1, 2, 3, 4, 5, 6}));
    EXPECT_FALSE(Test(*wide, Select({TStatKey::FromV(98765 & 0xFFFF)}), {1, 2, 3, 4, 5, 6}));
    // Digits outside 1..5 are held to that range.
    EXPECT_EQ(ValueOfDraw(*WithFormula("0.123456789", 9), 0, false), 12345);
}

TEST_F(ShreddingStats, WholeNumbersGiveZero) {
    AddDraw({1, 2, 5, 3, 4, 9});
    AddDraw({6, 2, 5, 3, 4, 9});
    EXPECT_EQ(ValueOfDraw(*WithFormula("p1"), 1, false), 0);
    EXPECT_EQ(ValueOfDraw(*WithFormula("n1*n2"), 1, false), 0);
}

TEST_F(ShreddingStats, EarlierDrawsSupplyPAndT) {
    AddDraw({1, 2, 3, 4, 5, 6});   // 100
    AddDraw({4, 7, 8, 9, 10, 11}); // 101
    AddDraw({2, 12, 13, 14, 15, 16});
    auto stat = WithFormula("1/(p1+4)");
    EXPECT_EQ(ValueOfDraw(*stat, 0, false), 25); // no draw before the oldest: p is all 0
    EXPECT_EQ(ValueOfDraw(*stat, 1, false), 20); // 1 / 5
    EXPECT_EQ(ValueOfDraw(*stat, 2, false), 12); // 1 / 8
    auto t = WithFormula("n1/(t1+p1+n1)");
    EXPECT_EQ(ValueOfDraw(*t, 2, false), 28); // 2 / 7
    auto& graph = dynamic_cast<TCustomGraphStat&>(*t);
    EXPECT_EQ(graph.GraphValue(Comb({3, 20, 21, 22, 23, 24}), 2, 2, false), 37); // 3 / 8
}

TEST_F(ShreddingStats, CombinationsAreJudgedAsTheDrawAfterTheReference) {
    AddDraw({2, 10, 20, 30, 40, 41}); // t for reference 1
    AddDraw({3, 11, 21, 31, 42, 43}); // p for reference 1
    auto stat = WithFormula("(n1+p1)/(t1+4)");
    // Over all combinations p and t are 0: (1 + 0) / 4.
    EXPECT_EQ(CombValues(*stat, {1, 5, 6, 7, 8, 9})[0].Key.V(1), 25);
    EXPECT_TRUE(Test(*stat, Select({TStatKey::FromV(66)}), {1, 5, 6, 7, 8, 9}, 1)); // 4 / 6
    EXPECT_FALSE(Test(*stat, Select({TStatKey::FromV(25)}), {1, 5, 6, 7, 8, 9}, 1));
    EXPECT_TRUE(Test(*stat, Select({TStatKey::FromV(75)}), {1, 5, 6, 7, 8, 9}, 0)); // 3 / 4
}

TEST_F(ShreddingStats, FailuresGiveZeroAndNeverStopThePass) {
    AddDraw({1, 2, 3, 4, 5, 6});
    AddDraw({7, 8, 9, 10, 11, 12});
    for (const char* formula :
         {"(n1+", "n1/p1", "exp(n1*1000)", "sqrt(0-n1)", "", "n7+1", "ln(p1)"}) {
        auto stat = WithFormula(formula);
        const TStatDrawList values = WindowValues(*stat, 0, 1, false);
        int zeros = 0;
        for (const TStatDraw& v : values)
            zeros += v.Key.V(1) == 0 ? v.Count : 0;
        EXPECT_GE(zeros, 1) << formula;
        EXPECT_EQ(CombValues(*stat, {1, 2, 3, 4, 5, 6})[0].Key.V(1), 0) << formula;
        EXPECT_TRUE(Test(*stat, Select({TStatKey::FromV(0)}), {1, 2, 3, 4, 5, 6}, 0)) << formula;
    }
}

TEST_F(ShreddingStats, AnObjectKeepsTheFormulaItWasCreatedWith) {
    AddDraw({1, 2, 5, 3, 4, 9});
    auto before = Create("TstShreddingStat", 1);
    list_.Shredding.Formula[0] = "n1/4";
    auto after = Create("TstShreddingStat", 1);
    EXPECT_EQ(ValueOfDraw(*before, 0, false), 50);
    EXPECT_EQ(ValueOfDraw(*after, 0, false), 25);
    EXPECT_EQ(dynamic_cast<TstShreddingStat&>(*before).Formula(), "(n1+n2+n3)/(n4+n5+n6)");
}

// Every combination through the compiled formula: each counted once, every value two digits.
TEST_F(ShreddingStats, FullSetOfCombinations) {
    auto stat = Create("TstShreddingStat", 3);
    TStatDrawList values;
    std::vector<TComb> batch;
    batch.reserve(4096);
    auto flush = [&] {
        stat->ComputeForCombinations(batch.data(), batch.size(), values);
        batch.clear();
    };
    ForEachCombination([&](const TComb& c) {
        batch.push_back(c);
        if (batch.size() == 4096) flush();
    });
    flush();
    long long total = 0;
    for (const TStatDraw& v : values) {
        total += v.Count;
        EXPECT_LT(v.Key.V(1), 100);
        EXPECT_GE(v.Key.V(1), 0);
    }
    EXPECT_EQ(total, COMBS_TOTAL);
}

// The batch program must give the compiled formula's results exactly, failures included.
TEST_F(ShreddingStats, BatchProgramAgreesWithTheCompiledFormula) {
    AddDraw({1, 2, 3, 4, 5, 6});
    const char* formulas[] = {"(n1+n2+n3)/(n4+n5+n6)",
                              "-n1^2/7 + n2*-3/11",
                              "2^3^0.5*n1/(n6+0.3)",
                              "SQRT(n1)*Ln(n2)/Log(n3+1)",
                              "sin(n1)+cos(n2)*tan(n3)-arctan(n4)",
                              "exp(n1/9)/abs(n2-n3+0.5)",
                              "frac(n1/7)+int(n2/3)-trunc(-n3/4)",
                              "round(n1/2.5)/sqr(n2)+sign(n3-20)",
                              "arcsin(n1/45)+arccos(n2/46)",
                              "not(n1)/n2",
                              "(p1+t1+n1)/(p2+t2+1)",
                              "n1/(p1-t1)",
                              "ln(p1-t1+n1)",
                              "1e-3*n1*n2",
                              ".5+n1/13",
                              "exp(n1*100)",
                              "+n1/-(n2)"};
    std::uint32_t seed = 7;
    auto next = [&](int range) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<int>((seed >> 16) % static_cast<std::uint32_t>(range));
    };
    for (const char* formula : formulas) {
        auto stat = WithFormula(formula, 5);
        auto& shredding = dynamic_cast<TstShreddingStat&>(*stat);
        EXPECT_TRUE(shredding.HasBatchProgram()) << formula;
        const TCompiledFormula reference(formula);
        for (int sample = 0; sample < 300; ++sample) {
            int n[6], p[6], t[6];
            double pd[6], td[6];
            TComb comb;
            for (int i = 0; i < 6; ++i) {
                n[i] = 1 + next(45);
                p[i] = next(46);
                t[i] = next(46);
                comb[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(n[i]);
                pd[i] = p[i];
                td[i] = t[i];
            }
            TCompiledFormula copy(formula);
            ASSERT_EQ(shredding.ValueOf(comb, pd, td), copy.Eval(n, p, t, 5))
                << formula << " sample " << sample;
        }
        // The lanes of a batch give what one-by-one evaluation gives, to the bit.
        const std::optional<TShreddingProgram> program = TShreddingProgram::Compile(formula);
        ASSERT_TRUE(program.has_value()) << formula;
        TComb combs[TShreddingProgram::LANES];
        for (TComb& c : combs)
            for (std::uint8_t& x : c)
                x = static_cast<std::uint8_t>(1 + next(45));
        const double p[6] = {0, 3, 7, 11, 45, 2}, t[6] = {9, 0, 1, 44, 5, 6};
        for (int count : {1, 17, TShreddingProgram::LANES}) {
            double out[TShreddingProgram::LANES];
            program->Eval(combs, count, p, t, out);
            for (int l = 0; l < count; ++l) {
                const double one = program->EvalOne(combs[l], p, t);
                EXPECT_TRUE(std::memcmp(&one, &out[l], sizeof one) == 0 ||
                            (std::isnan(one) && std::isnan(out[l])))
                    << formula << " lane " << l << ": " << one << " vs " << out[l];
            }
        }
    }
}

TEST_F(ShreddingStats, FormulasOutsideTheBatchGrammarStillEvaluate) {
    const int n[6] = {1, 2, 5, 3, 4, 9}, zero[6] = {};
    const TCompiledFormula pi("_pi*n1");
    if (!pi.IsValid()) GTEST_SKIP() << "the evaluator has no constant _pi";
    auto stat = WithFormula("_pi*n1", 3);
    auto& shredding = dynamic_cast<TstShreddingStat&>(*stat);
    EXPECT_FALSE(shredding.HasBatchProgram());
    const double none[6] = {};
    EXPECT_EQ(shredding.ValueOf(Comb({1, 2, 5, 3, 4, 9}), none, none),
              EvalFormula("_pi*n1", n, zero, zero, 3));
    EXPECT_EQ(shredding.ValueOf(Comb({1, 2, 5, 3, 4, 9}), none, none), 141);
}

// A filter pass runs the batch operations; they must answer as the one-by-one ones.
TEST_F(ShreddingStats, BatchOperationsMatchTheSingleOnes) {
    AddDraw({3, 11, 17, 28, 40, 45});
    AddDraw({2, 9, 14, 20, 33, 41});
    auto stat = WithFormula("(n1+n2+p1)/(n4+n5+t6)");
    std::vector<TComb> combs;
    ForEachCombination([&](const TComb& c) {
        if (combs.size() < 1000 && (c[5] % 7 == 0)) combs.push_back(c);
    });
    const TStatSelection selected =
        Select({TStatKey::FromV(50), TStatKey::FromV(33), TStatKey::FromV(7)});
    for (bool exclude : {false, true}) {
        stat->SelectDraws(-1, 1, false);
        stat->PrepareTest(selected, 1, false, exclude);
        std::vector<TComb> out(combs.size());
        const std::size_t kept = stat->TestCombinations(combs.data(), combs.size(), out.data(),
                                                        selected, 1, false, exclude);
        std::vector<TComb> expected;
        for (const TComb& c : combs)
            if (stat->TestCombination(c, selected, 1, false, exclude) != exclude)
                expected.push_back(c);
        ASSERT_EQ(kept, expected.size());
        EXPECT_TRUE(std::equal(expected.begin(), expected.end(), out.begin()));
    }
    TStatDrawList batch, single;
    stat->ComputeForCombinations(combs.data(), combs.size(), batch);
    for (const TComb& c : combs)
        stat->ComputeForCombination(c, single);
    ASSERT_EQ(batch.size(), single.size());
    for (std::size_t i = 0; i < batch.size(); ++i) {
        EXPECT_EQ(batch[i].Key, single[i].Key);
        EXPECT_EQ(batch[i].Count, single[i].Count);
    }
}

} // namespace
} // namespace pelko

namespace pelko {
namespace {

// The batch digits must equal FormulaResultDigits for every value, near the forgiveness
// threshold and decimal steps included.
TEST(ShreddingDigits, AgreeWithFormulaResultDigits) {
    std::vector<double> values = {0.0,
                                  -0.0,
                                  0.5,
                                  0.29,
                                  0.57,
                                  1.0 / 3,
                                  2.0 / 3,
                                  -7.125,
                                  1e-300,
                                  123456.789,
                                  4.4e10,
                                  9.99999e15,
                                  1e19,
                                  2e19,
                                  1e300,
                                  std::numeric_limits<double>::infinity(),
                                  -std::numeric_limits<double>::infinity(),
                                  std::numeric_limits<double>::quiet_NaN()};
    for (int k = 0; k <= 100000; k += 7) {
        const double v = k / 100000.0;
        values.push_back(v);
        values.push_back(std::nextafter(v, 0.0));
        values.push_back(std::nextafter(v, 1.0));
        values.push_back(v + 37);
    }
    // Just below a decimal step by about the forgiveness threshold (1e-12 of the scaled value).
    for (int d = 1; d <= 5; ++d)
        for (double scale : {0.5, 0.99, 0.999, 0.9995, 1.0, 1.0005, 1.001, 1.01, 2.0})
            for (double whole : {0.0, 3.0, 1234.0}) {
                const double p = std::pow(10.0, d);
                const double s =
                    (whole * p + 17) + 1 - scale * 1e-12 * std::max(1.0, whole * p + 17);
                values.push_back(s / p);
            }
    std::uint32_t seed = 99;
    for (int i = 0; i < 20000; ++i) {
        seed = seed * 1664525u + 1013904223u;
        const double mantissa = (seed >> 8) / 16777216.0;
        values.push_back(std::ldexp(mantissa, static_cast<int>(seed % 80) - 30));
    }
    std::vector<int> out(values.size());
    for (int digits = 0; digits <= 7; ++digits) {
        TShreddingProgram::ShredDigits(values.data(), static_cast<int>(values.size()), digits,
                                       out.data());
        for (std::size_t i = 0; i < values.size(); ++i)
            ASSERT_EQ(out[i], FormulaResultDigits(values[i], digits))
                << values[i] << " digits " << digits;
    }
}

} // namespace
} // namespace pelko
