#include "core/arithmetic.h"
#include "family_fixture.h"
#include "stats/stat_class.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <string_view>

namespace pelko {
namespace {

using test::FamilyTest;
using test::ForEachCombination;

// Registry rows of the number family as the method lists show them.
using test::ClassRow;

class NumberClasses : public testing::TestWithParam<ClassRow> {};

TEST_P(NumberClasses, CodeCaptionGroupAndFlags) { test::ExpectClassRow(GetParam(), sgNumbers); }

INSTANTIATE_TEST_SUITE_P(
    Registry, NumberClasses,
    testing::Values(
        ClassRow{"TstValues", 0, "NUMS", "Числа тиража", "N", true},
        ClassRow{"TstDigits", 0, "DIGS", "Цифры тиража", "N", true},
        ClassRow{"TstEvenCount", 0, "EVEN", "Количество четных чисел в тираже (Ч:Н)", "NG", true},
        ClassRow{"TstEvenValues", 0, "EVNV", "Четные и нечетные числа в тираже (Чн..нЧ)", "SN",
                 true},
        ClassRow{"TstSmallCount", 0, "SMAL",
                 "Количество чисел из первой половины диапазона (1П:2П)", "NG", true},
        ClassRow{"TstSmallValues", 0, "SMLV", "Числа из первой половины диапазона (12..12)", "SN",
                 true},
        ClassRow{"TstPrimeCount", 0, "PRIM", "Количество простых чисел (П:С)", "NG", true},
        ClassRow{"TstPrimeValues", 0, "PRMV", "Простые и составные числа (ПС..СП)", "SN", true},
        ClassRow{"TstPosVal", 3, "POS3", "Число в 3 позиции тиража", "SNG", true},
        ClassRow{"TstPosExt", 1, "POE1", "Extra (Bonus, Star...) - число (!без фильтра!)", "G",
                 true}));

TEST(NumberRegistry, BuildListsTheFamilyInTableOrder) {
    TStatList list;
    list.Build();
    std::vector<std::string> codes;
    for (const TStatMethod& m : list.Methods())
        for (const std::string_view name :
             {"TstValues", "TstDigits", "TstEvenCount", "TstEvenValues", "TstSmallCount",
              "TstSmallValues", "TstPrimeCount", "TstPrimeValues", "TstPosVal", "TstPosExt"})
            if (m.StatClass->Name == name) codes.push_back(list.MethodCode(m));
    // TstPosExt has an empty type range and yields no method.
    EXPECT_EQ(codes,
              (std::vector<std::string>{"NUMS", "DIGS", "EVEN", "EVNV", "SMAL", "SMLV", "PRIM",
                                        "PRMV", "POS1", "POS2", "POS3", "POS4", "POS5", "POS6"}));
    EXPECT_EQ(StandardStatClasses().FindByName("TstPosVal")->GetFamilyCode(), "POSx");
}

class NumberStats : public FamilyTest {};

TEST_F(NumberStats, ValuesAddsEachNumberOnceAndPreFillsAllNumbers) {
    AddDraw({3, 11, 17, 28, 40, 45});
    auto stat = Create("TstValues");
    const TStatDrawList one = DrawValues(*stat, 0, false);
    ASSERT_EQ(one.size(), 6u);
    for (int n : {3, 11, 17, 28, 40, 45})
        EXPECT_EQ(CountOf(one, TStatKey::FromK(n)), 1);
    const TStatDrawList window = WindowValues(*stat, 0, 0, false);
    EXPECT_EQ(window.size(), 45u);
    EXPECT_EQ(Text(*stat, TStatKey::FromK(17)), "17");
}

TEST_F(NumberStats, DigitsCountEveryCharacterOfEveryNumber) {
    AddDraw({1, 10, 11, 20, 30, 45});
    auto stat = Create("TstDigits");
    const TStatDrawList values = DrawValues(*stat, 0, false);
    EXPECT_EQ(CountOf(values, TStatKey::FromK(1)), 4);
    EXPECT_EQ(CountOf(values, TStatKey::FromK(0)), 3);
    for (int d : {2, 3, 4, 5})
        EXPECT_EQ(CountOf(values, TStatKey::FromK(d)), 1) << d;
    EXPECT_EQ(values.size(), 6u);
    EXPECT_TRUE(WindowValues(*stat, 0, -1, false).empty()); // no pre-fill
    EXPECT_TRUE(Test(*stat, Select({TStatKey::FromK(0)}), {1, 2, 3, 4, 5, 40}));
    EXPECT_FALSE(Test(*stat, Select({TStatKey::FromK(0)}), {1, 2, 3, 4, 5, 45}));
}

TEST_F(NumberStats, CountsPreFillOneToSixAndAppendZero) {
    AddDraw({1, 3, 5, 7, 9, 11}); // no even number
    auto stat = Create("TstEvenCount");
    const TStatDrawList values = WindowValues(*stat, 0, 0, false);
    EXPECT_EQ(Texts(*stat, values),
              (std::vector<std::string>{"1:5", "2:4", "3:3", "4:2", "5:1", "6:0", "0:6"}));
    EXPECT_EQ(values[6].Count, 1);
    EXPECT_EQ(stat->TextToValue("4:2"), 4);
}

TEST_F(NumberStats, CountsOfPrimeAndSmallNumbers) {
    auto prime = Create("TstPrimeCount");
    auto small = Create("TstSmallCount");
    auto& primeGraph = dynamic_cast<TCustomGraphStat&>(*prime);
    auto& smallGraph = dynamic_cast<TCustomGraphStat&>(*small);
    EXPECT_EQ(primeGraph.GraphValue(Comb({1, 2, 3, 4, 5, 6}), 0, 0, false), 4); // 1 is prime
    EXPECT_EQ(smallGraph.GraphValue(Comb({22, 23, 24, 40, 41, 45}), 0, 0, false), 1);
    EXPECT_EQ(CountOf(CombValues(*prime, {4, 6, 8, 9, 10, 43}), TStatKey::FromK(1)), 1);
    EXPECT_TRUE(Test(*small, Select({TStatKey::FromK(1)}), {22, 23, 24, 40, 41, 45}));
    EXPECT_FALSE(Test(*small, Select({TStatKey::FromK(2)}), {22, 23, 24, 40, 41, 45}));
}

TEST_F(NumberStats, MasksFollowTheNumbersOrder) {
    AddDraw({9, 2, 14, 20, 33, 40}); // drawn order; ascending it is 2, 9, 14, 20, 33, 40
    auto even = Create("TstEvenValues");
    EXPECT_EQ(Texts(*even, DrawValues(*even, 0, true)), std::vector<std::string>{"ЧнЧЧнЧ (018)"});
    EXPECT_EQ(Texts(*even, DrawValues(*even, 0, false)), std::vector<std::string>{"нЧЧЧнЧ (034)"});
    EXPECT_EQ(even->TextToValue("ЧнЧЧнЧ (018)"), 18);
    EXPECT_TRUE(Test(*even, Select({TStatKey::FromV(18)}), {2, 9, 14, 20, 33, 40}));

    auto small = Create("TstSmallValues");
    EXPECT_EQ(Texts(*small, DrawValues(*small, 0, true)), std::vector<std::string>{"111122 (003)"});
    auto prime = Create("TstPrimeValues");
    EXPECT_EQ(Texts(*prime, CombValues(*prime, {1, 4, 6, 8, 9, 43})),
              std::vector<std::string>{"ПССССП (033)"});
}

TEST_F(NumberStats, OnlySmallMasksAreNotPreFilled) {
    EXPECT_EQ(WindowValues(*Create("TstEvenValues"), 0, -1, false).size(), 64u);
    EXPECT_EQ(WindowValues(*Create("TstPrimeValues"), 0, -1, false).size(), 64u);
    EXPECT_TRUE(WindowValues(*Create("TstSmallValues"), 0, -1, false).empty());
}

TEST_F(NumberStats, PositionFollowsTheSortedOption) {
    AddDraw({30, 7, 45, 12, 1, 20});
    auto first = Create("TstPosVal", 1);
    EXPECT_EQ(CountOf(DrawValues(*first, 0, false), TStatKey::FromK(30)), 1);
    EXPECT_EQ(CountOf(DrawValues(*first, 0, true), TStatKey::FromK(1)), 1);
    auto& graph = dynamic_cast<TCustomGraphStat&>(*first);
    EXPECT_EQ(graph.GraphValueOfDraw(0, 0, false), 30);
    EXPECT_EQ(graph.GraphValueOfDraw(0, 0, true), 1);

    auto last = Create("TstPosVal", 6);
    EXPECT_EQ(CountOf(CombValues(*last, {1, 7, 12, 20, 30, 45}), TStatKey::FromK(45)), 1);
    EXPECT_TRUE(Test(*last, Select({TStatKey::FromK(45)}), {1, 7, 12, 20, 30, 45}));
    EXPECT_FALSE(Test(*last, Select({TStatKey::FromK(1)}), {1, 7, 12, 20, 30, 45}));
    EXPECT_EQ(WindowValues(*last, 0, 0, true).size(), 45u);
}

TEST_F(NumberStats, ExtraNumberIsNeverSelected) {
    AddDraw({1, 2, 3, 4, 5, 6});
    auto stat = Create("TstPosExt", 1);
    EXPECT_FALSE(Test(*stat, Select({TStatKey::FromK(1), TStatKey::FromK(0)}), {1, 2, 3, 4, 5, 6}));
    EXPECT_TRUE(CombValues(*stat, {1, 2, 3, 4, 5, 6}).empty());
}

TEST_F(NumberStats, RunsOfCombinationsMergeLikeSingleOnes) {
    std::vector<TComb> combs = test::FirstCombinations(70000); // more than one counting run
    combs.insert(combs.begin(), {Comb({45, 1, 1, 0, 7, 200}), Comb({9, 19, 29, 39, 11, 10})});
    for (const char* name : {"TstValues", "TstDigits"}) {
        SCOPED_TRACE(name);
        test::ExpectRunMatchesSingleCombinations(*Create(name), combs);
    }
}

// Every combination, checked against counts derived independently.
TEST_F(NumberStats, FullSetOfCombinations) {
    auto nums = Create("TstValues");
    auto digits = Create("TstDigits");
    auto even = Create("TstEvenCount");
    auto small = Create("TstSmallCount");
    auto prime = Create("TstPrimeCount");
    const TStatDrawList numsValues = test::FullDistribution(*nums);
    const TStatDrawList digitValues = test::FullDistribution(*digits);
    const TStatDrawList evenValues = test::FullDistribution(*even);
    const TStatDrawList smallValues = test::FullDistribution(*small);
    const TStatDrawList primeValues = test::FullDistribution(*prime);
    const TStatSelection five = Select({TStatKey::FromK(5)});
    long kept = 0;
    ForEachCombination(
        [&](const TComb& c) { kept += nums->TestCombination(c, five, 0, false, false); });

    const int perNumber = 1086008; // C(44, 5)
    ASSERT_EQ(numsValues.size(), 45u);
    for (const TStatDraw& v : numsValues)
        EXPECT_EQ(v.Count, perNumber) << v.Key.K(1);
    EXPECT_EQ(kept, perNumber);

    std::array<int, 10> chars{};
    for (int n = 1; n <= LOTTO_MAX; ++n)
        for (char ch : std::to_string(n))
            ++chars[static_cast<std::size_t>(ch - '0')];
    for (int d = 0; d <= 9; ++d)
        EXPECT_EQ(CountOf(digitValues, TStatKey::FromK(d)),
                  static_cast<long long>(chars[static_cast<std::size_t>(d)]) * perNumber)
            << d;

    // 22 even and 22 small numbers, 15 prime ones.
    for (int k = 0; k <= LOTTO_COUNT; ++k) {
        const TStatKey key = TStatKey::FromK(k);
        const long long evenWays = Binomial(22, k) * Binomial(23, 6 - k);
        const long long primeWays = Binomial(15, k) * Binomial(30, 6 - k);
        EXPECT_EQ(CountOf(evenValues, key), evenWays) << k;
        EXPECT_EQ(CountOf(smallValues, key), evenWays) << k;
        EXPECT_EQ(CountOf(primeValues, key), primeWays) << k;
    }
}

} // namespace
} // namespace pelko
