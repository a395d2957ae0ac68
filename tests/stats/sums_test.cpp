#include "family_fixture.h"
#include "stats/stat_class.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

namespace pelko {
namespace {

using test::FamilyTest;
using test::ForEachCombination;

using test::ClassRow;

class SumClasses : public testing::TestWithParam<ClassRow> {};

TEST_P(SumClasses, CodeCaptionGroupAndFlags) { test::ExpectClassRow(GetParam(), sgSums); }

INSTANTIATE_TEST_SUITE_P(
    Registry, SumClasses,
    testing::Values(
        ClassRow{"TstSumValues", 0, "SUMS", "Сумма тиража: все значения", "NG", true},
        ClassRow{"TstSumRanges", 1, "SUM1", "Сумма тиража: диапазон 1 (1/3)", "NG", false},
        ClassRow{"TstSumRanges", 2, "SUM2", "Сумма тиража: диапазон 2 (1/2)", "NG", false},
        ClassRow{"TstSumRanges", 3, "SUM3", "Сумма тиража: диапазон 3 (2/3)", "NG", false},
        ClassRow{"TstSumChange", 0, "SUMC", "Сумма тиража: изменения (точно)", "DG", false},
        ClassRow{"TstSumChangeSome", 0, "SUMV", "Сумма тиража: изменения (диапазон)", "D", false},
        ClassRow{"TstSumTrend", 0, "SUMT", "Сумма тиража: направление изменения", "DG", false},
        ClassRow{"TstSumEvenValues", 0, "SUME", "Сумма тиража: только четные", "NG", true},
        ClassRow{"TstSumPrimeValues", 0, "SUMP", "Сумма тиража: только простые", "NG", true},
        ClassRow{"TstSum2To3", 0, "S2T3", "Сумма двух чисел тиража равна третьему числу", "NG",
                 true}));

TEST(SumRegistry, BuildListsTheFamilyInTableOrder) {
    TStatList list;
    list.Build();
    std::vector<std::string> codes;
    for (const TStatMethod& m : list.Methods())
        if (m.StatClass->GetGroup() == sgSums) codes.push_back(list.MethodCode(m));
    EXPECT_EQ(codes, (std::vector<std::string>{"SUMS", "SUM1", "SUM2", "SUM3", "SUMC", "SUMV",
                                               "SUMT", "SUME", "SUMP", "S2T3"}));
    EXPECT_EQ(StandardStatClasses().FindByName("TstSumRanges")->GetFamilyCode(), "SUM%d");
}

class SumStats : public FamilyTest {
  protected:
    // Appends a draw of five consecutive numbers and one more whose six numbers add up to
    // `sum`, drawn with the largest number first.
    void AddDrawWithSum(int sum) {
        for (int b = 1; b <= 40; ++b)
            for (int x = b + 5; x <= LOTTO_MAX; ++x)
                if (5 * b + 10 + x == sum) {
                    AddDraw({x, b, b + 1, b + 2, b + 3, b + 4});
                    return;
                }
        FAIL() << "no draw with sum " << sum;
    }
    int Graph(const char* name, int drawIndex) {
        auto stat = Create(name);
        return dynamic_cast<TCustomGraphStat&>(*stat).GraphValueOfDraw(drawIndex, drawIndex, false);
    }
};

TEST_F(SumStats, SumsPreFillEverySum) {
    AddDrawWithSum(100);
    auto stat = Create("TstSumValues");
    const TStatDrawList values = WindowValues(*stat, 0, 0, true);
    ASSERT_EQ(values.size(), 235u);
    EXPECT_EQ(values[0].Key, TStatKey::FromV(SUM_MIN));
    EXPECT_EQ(values[234].Key, TStatKey::FromV(SUM_MAX));
    EXPECT_EQ(CountOf(values, TStatKey::FromV(100)), 1);
    EXPECT_TRUE(Test(*stat, Select({TStatKey::FromV(21)}), {1, 2, 3, 4, 5, 6}));
    EXPECT_FALSE(Test(*stat, Select({TStatKey::FromV(22)}), {1, 2, 3, 4, 5, 6}));
}

TEST_F(SumStats, EvenAndPrimeSums) {
    auto even = Create("TstSumEvenValues");
    auto prime = Create("TstSumPrimeValues");
    EXPECT_EQ(CountOf(CombValues(*even, {1, 2, 3, 4, 5, 6}), TStatKey::FromV(12)), 1);
    EXPECT_EQ(CountOf(CombValues(*prime, {1, 2, 3, 4, 5, 6}), TStatKey::FromV(11)), 1);
    EXPECT_EQ(CountOf(CombValues(*prime, {4, 6, 8, 9, 10, 12}), TStatKey::FromV(0)), 1);
    EXPECT_TRUE(WindowValues(*even, 0, -1, false).empty());
}

TEST_F(SumStats, SumOfTwoEqualToThird) {
    AddDraw({6, 1, 5, 2, 4, 3});
    auto stat = Create("TstSum2To3");
    EXPECT_EQ(CountOf(CombValues(*stat, {1, 2, 3, 4, 5, 6}), TStatKey::FromK(6)), 1);
    EXPECT_EQ(CountOf(CombValues(*stat, {1, 2, 4, 8, 16, 32}), TStatKey::FromK(0)), 1);
    EXPECT_EQ(CountOf(DrawValues(*stat, 0, false), TStatKey::FromK(6)), 1); // any order
    EXPECT_EQ(CountOf(CombValues(*stat, {1, 2, 3, 10, 20, 30}), TStatKey::FromK(2)), 1);
    // Sextets that are no real combination still follow the positional definition.
    EXPECT_EQ(CountOf(CombValues(*stat, {0, 0, 0, 0, 0, 0}), TStatKey::FromK(60)), 1);
    EXPECT_EQ(CountOf(CombValues(*stat, {2, 1, 1, 3, 70, 140}), TStatKey::FromK(3)), 1);
}

TEST_F(SumStats, RangesSelectInsideOrOutside) {
    auto stat = Create("TstSumRanges", 1);
    EXPECT_EQ(Text(*stat, TStatKey::FromV(1)), "93-183");
    EXPECT_EQ(Text(*stat, TStatKey::FromV(0)), "Остальные");
    EXPECT_EQ(Text(*Create("TstSumRanges", 3), TStatKey::FromV(1)), "110-166");
    EXPECT_EQ(Texts(*stat, WindowValues(*stat, 0, -1, false)),
              (std::vector<std::string>{"Остальные", "93-183"}));

    const TStatSelection others = Select({TStatKey::FromV(0)});
    const TStatSelection range = Select({TStatKey::FromV(1)});
    const TStatSelection both = Select({TStatKey::FromV(0), TStatKey::FromV(1)});
    struct Case {
        std::initializer_list<int> Nums;
        bool Inside;
    };
    for (const Case& c : {Case{{1, 2, 3, 4, 37, 45}, false},        // 92
                          Case{{1, 2, 3, 5, 37, 45}, true},         // 93
                          Case{{14, 20, 30, 33, 41, 45}, true},     // 183
                          Case{{15, 20, 30, 33, 41, 45}, false}}) { // 184
        EXPECT_EQ(Test(*stat, range, c.Nums), c.Inside);
        EXPECT_EQ(Test(*stat, both, c.Nums), c.Inside);
        EXPECT_EQ(Test(*stat, others, c.Nums), !c.Inside);
    }
}

TEST_F(SumStats, ExactChangeListsWhatFollowedTheNewestSum) {
    for (int sum : {100, 105, 100, 98, 100})
        AddDrawWithSum(sum);
    auto stat = Create("TstSumChange");
    const TStatDrawList values = WindowValues(*stat, 0, 4, false);
    EXPECT_EQ(Texts(*stat, values),
              (std::vector<std::string>{"+05 : 100 + 5 = 105", "- 02 : 100 - 2 = 98"}));
    EXPECT_EQ(values[0].Key, TStatKey::FromV(100, 105));
    EXPECT_EQ(values[0].LastDraw, 101);
    EXPECT_EQ(values[0].LastAge, 4);
    EXPECT_TRUE(Test(*stat, Select({TStatKey::FromV(100, 105)}), {10, 11, 12, 13, 14, 45}, 4));
    EXPECT_FALSE(Test(*stat, Select({TStatKey::FromV(100, 105)}), {10, 11, 12, 13, 14, 40}, 4));
    EXPECT_EQ(Graph("TstSumChange", 1), 5);
    EXPECT_EQ(Graph("TstSumChange", 3), -2);
    EXPECT_EQ(Graph("TstSumChange", 0), 100); // before the first draw the sum is 0

    // The newest sum 98 never preceded another draw: nothing to list.
    EXPECT_TRUE(WindowValues(*stat, 0, 3, false).empty());
}

TEST_F(SumStats, RangeChangeCountsPredecessorsWithinTolerance) {
    for (int sum : {117, 130, 116, 120, 140})
        AddDrawWithSum(sum);
    auto stat = Create("TstSumChangeSome");
    // 117 -> 130 counts (23 from 140), 130 -> 116 counts, 116 -> 120 does not (24),
    // 120 -> 140 counts.
    EXPECT_EQ(Texts(*stat, WindowValues(*stat, 0, 4, false)),
              (std::vector<std::string>{"+13", "- 14", "+20"}));
    EXPECT_EQ(Text(*stat, TStatKey::FromV(0)), "+00");
    const TStatSelection up13 = Select({TStatKey::FromV(13)});
    EXPECT_TRUE(Test(*stat, up13, {20, 21, 22, 23, 24, 43}, 4));  // 153 = 140 + 13
    EXPECT_FALSE(Test(*stat, up13, {20, 21, 22, 23, 24, 44}, 4)); // 154
    EXPECT_TRUE(Test(*stat, up13, {1, 2, 3, 40, 43, 44}, 3));     // 133 = 120 + 13
    EXPECT_FALSE(Test(*stat, up13, {20, 21, 22, 23, 24, 43}, 3));
}

TEST_F(SumStats, TrendListsSignsAfterTheNewestSum) {
    for (int sum : {100, 105, 100, 98, 100})
        AddDrawWithSum(sum);
    auto stat = Create("TstSumTrend");
    const TStatDrawList values = WindowValues(*stat, 0, 4, false);
    EXPECT_EQ(Texts(*stat, values), (std::vector<std::string>{"=", "+", "-"}));
    EXPECT_EQ(values[0].Count, 0);
    EXPECT_EQ(values[1].Count, 1);
    EXPECT_EQ(values[2].Count, 1);
    const TStatSelection up = Select({TStatKey::FromV(1)});
    EXPECT_TRUE(Test(*stat, up, {10, 11, 12, 13, 14, 41}, 4)); // 101 > 100
    EXPECT_FALSE(Test(*stat, up, {10, 11, 12, 13, 14, 40}, 4));
    EXPECT_TRUE(Test(*stat, Select({TStatKey::FromV(-1)}), {10, 11, 12, 13, 14, 39}, 4));
    EXPECT_EQ(Graph("TstSumTrend", 3), -1);
    EXPECT_EQ(Graph("TstSumTrend", 1), 1);
}

// Ways to choose six of 1..45 by the total of weight(n) over the chosen numbers.
template <class Weight> std::array<long long, 256> WaysBySum(Weight weight) {
    long long ways[LOTTO_COUNT + 1][256] = {};
    ways[0][0] = 1;
    for (int n = 1; n <= LOTTO_MAX; ++n)
        for (int c = LOTTO_COUNT - 1; c >= 0; --c)
            for (int s = 255 - weight(n); s >= 0; --s)
                ways[c + 1][s + weight(n)] += ways[c][s];
    std::array<long long, 256> result{};
    for (int s = 0; s < 256; ++s)
        result[static_cast<std::size_t>(s)] = ways[LOTTO_COUNT][s];
    return result;
}

void ExpectSumsMatch(const TStatDrawList& values, const std::array<long long, 256>& ways,
                     const char* what) {
    long long total = 0;
    for (int s = 0; s < 256; ++s) {
        const int at = values.Find(TStatKey::FromV(s));
        const long long count = at < 0 ? 0 : values[static_cast<std::size_t>(at)].Count;
        EXPECT_EQ(count, ways[static_cast<std::size_t>(s)]) << what << " " << s;
        total += count;
    }
    EXPECT_EQ(total, COMBS_TOTAL) << what;
}

TEST_F(SumStats, FullSetOfCombinations) {
    auto sums = Create("TstSumValues");
    auto evens = Create("TstSumEvenValues");
    auto primes = Create("TstSumPrimeValues");
    auto range = Create("TstSumRanges", 1);
    auto twoToThree = Create("TstSum2To3");
    const TStatDrawList sumValues = test::FullDistribution(*sums);
    const TStatDrawList evenValues = test::FullDistribution(*evens);
    const TStatDrawList primeValues = test::FullDistribution(*primes);
    const TStatDrawList rangeValues = test::FullDistribution(*range);
    const TStatDrawList s2t3Values = test::FullDistribution(*twoToThree);
    const TStatSelection sum135 = Select({TStatKey::FromV(135)});
    auto& s2t3Graph = dynamic_cast<TCustomGraphStat&>(*twoToThree);
    long kept = 0, s2t3Wrong = 0, index = 0;
    ForEachCombination([&](const TComb& c) {
        if (index++ % 8 == 0) { // the definition, position by position, on a sample
            int triples = 0;
            for (int i = 0; i < 6; ++i)
                for (int j = 0; j < 6; ++j)
                    for (int k = j + 1; k < 6; ++k)
                        triples += i != j && i != k && c[i] == c[j] + c[k];
            s2t3Wrong += s2t3Graph.GraphValue(c, 0, 0, false) != triples;
        }
        kept += sums->TestCombination(c, sum135, 0, false, false);
    });

    const auto plain = WaysBySum([](int n) { return n; });
    ExpectSumsMatch(sumValues, plain, "SUMS");
    ExpectSumsMatch(evenValues, WaysBySum([](int n) { return n % 2 == 0 ? n : 0; }), "SUME");
    constexpr std::array<int, 15> primeSet = {1,  2,  3,  5,  7,  11, 13, 17,
                                              19, 23, 29, 31, 37, 41, 43};
    ExpectSumsMatch(primeValues, WaysBySum([&](int n) {
                        return std::find(primeSet.begin(), primeSet.end(), n) != primeSet.end() ? n
                                                                                                : 0;
                    }),
                    "SUMP");
    EXPECT_EQ(kept, plain[135]);

    long long inside = 0;
    for (int s = 93; s <= 183; ++s)
        inside += plain[static_cast<std::size_t>(s)];
    EXPECT_EQ(CountOf(rangeValues, TStatKey::FromV(1)), inside);
    EXPECT_EQ(CountOf(rangeValues, TStatKey::FromV(0)), COMBS_TOTAL - inside);

    EXPECT_EQ(s2t3Wrong, 0);
    long long s2t3Total = 0;
    for (const TStatDraw& v : s2t3Values)
        s2t3Total += v.Count;
    EXPECT_EQ(s2t3Total, COMBS_TOTAL);
}

} // namespace
} // namespace pelko
