#include "core/arithmetic.h"
#include "family_fixture.h"
#include "stats/families/repeats.h"
#include "stats/stat_class.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <random>
#include <string>
#include <vector>

namespace pelko {
namespace {

using test::FamilyTest;

struct RepeatRow {
    const char* Name;
    const char* Code;
    const char* Caption;
    int Shift;    // -99: a three-draw class without the two slots
    int Distance;
    bool Counts;
};

class RepeatClasses : public testing::TestWithParam<RepeatRow> {};

TEST_P(RepeatClasses, DescriptorAndSlots) {
    const RepeatRow& row = GetParam();
    const TStatClassInfo* info = StandardStatClasses().FindByName(row.Name);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->CodeOf(0), row.Code);
    EXPECT_EQ(info->CaptionOf(0), row.Caption);
    EXPECT_EQ(info->GetGroup(), sgRepeats);
    EXPECT_EQ(FlagLetters(info->GetAllFlags()), "D");
    EXPECT_TRUE(info->HasScalarValues());
    EXPECT_FALSE(info->HasTypes());

    TDrawsArray draws;
    TStatList list(draws, TConfigData{});
    const auto stat = info->New(list, 0);
    if (row.Shift == -99) {
        EXPECT_EQ(dynamic_cast<TCustomRepValues2Stat*>(stat.get()), nullptr);
        EXPECT_EQ(dynamic_cast<TCustomRepCount2Stat*>(stat.get()), nullptr);
    } else if (row.Counts) {
        auto* counts = dynamic_cast<TCustomRepCount2Stat*>(stat.get());
        ASSERT_NE(counts, nullptr);
        EXPECT_EQ(counts->Shift(), row.Shift);
        EXPECT_EQ(counts->Distance(), row.Distance);
    } else {
        auto* values = dynamic_cast<TCustomRepValues2Stat*>(stat.get());
        ASSERT_NE(values, nullptr);
        EXPECT_EQ(values->Shift(), row.Shift);
        EXPECT_EQ(values->Distance(), row.Distance);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Registry, RepeatClasses,
    testing::Values(
        RepeatRow{"TstRepValues2", "RPV2", "Повторяющиеся числа в 2-х тиражах подряд", 0, 1, false},
        RepeatRow{"TstRepValues3", "RPV3", "Повторяющиеся числа в 3-х тиражах подряд", -99, 0, false},
        RepeatRow{"TstRepValues2B3", "PRL2", "Повторяющиеся числа не более чем в 2-х тиражах", -99, 0, false},
        RepeatRow{"TstRepValues2over1", "PRV2O1", "Повторяющиеся числа в 2-х тиражах через 1 тираж(а)", 0, 2, false},
        RepeatRow{"TstRepValues2over2", "PRV2O2", "Повторяющиеся числа в 2-х тиражах через 2 тираж(а)", 0, 3, false},
        RepeatRow{"TstRepValues2over3", "PRV2O3", "Повторяющиеся числа в 2-х тиражах через 3 тираж(а)", 0, 4, false},
        RepeatRow{"TstRepValues2P1", "PRV+1", "Данные предыдущего тиража + 1", 1, 1, false},
        RepeatRow{"TstRepValues2N1", "PRV-1", "Данные предыдущего тиража - 1", -1, 1, false},
        RepeatRow{"TstRepValues2P2", "PRV+2", "Данные предыдущего тиража + 2", 2, 1, false},
        RepeatRow{"TstRepValues2N2", "PRV-2", "Данные предыдущего тиража - 2", -2, 1, false},
        RepeatRow{"TstRepCount2", "RPC2", "Количество повторов в 2-х тиражах подряд", 0, 1, true},
        RepeatRow{"TstRepCount3", "RPC3", "Количество повторов в 3-х тиражах подряд", -99, 0, true},
        RepeatRow{"TstRepCount2B3", "PRB2", "Количество повторов не более чем в 2-х тиражах", -99, 0, true},
        RepeatRow{"TstRepCount2over1", "RPO1", "Количество повторов в 2-х тиражах через 1 тираж(а)", 0, 2, true},
        RepeatRow{"TstRepCount2over2", "PRC2O2", "Количество повторов в 2-х тиражах через 2 тираж(а)", 0, 3, true},
        RepeatRow{"TstRepCount2over3", "PRC2O3", "Количество повторов в 2-х тиражах через 3 тираж(а)", 0, 4, true},
        RepeatRow{"TstRepCount2P1", "PRC+1", "Количество совпадений \"значений + 1\"", 1, 1, true},
        RepeatRow{"TstRepCount2N1", "PRC-1", "Количество совпадений \"значений - 1\"", -1, 1, true},
        RepeatRow{"TstRepCount2P2", "PRC+2", "Количество совпадений \"значений + 2\"", 2, 1, true},
        RepeatRow{"TstRepCount2N2", "PRC-2", "Количество совпадений \"значений - 2\"", -2, 1, true}));

TEST(RepeatRegistry, BuildListsTheGroupInTableOrder) {
    TStatList list;
    list.Build();
    std::vector<std::string> codes;
    for (const TStatMethod& m : list.Methods())
        if (m.StatClass->GetGroup() == sgRepeats)
            codes.push_back(list.MethodCode(m));
    EXPECT_EQ(codes, (std::vector<std::string>{"RPV2", "RPV3", "PRL2", "PRV2O1", "PRV2O2", "PRV2O3", "PRV+1",
                                               "PRV-1", "PRV+2", "PRV-2", "RPC2", "RPC3", "PRB2", "RPO1",
                                               "PRC2O2", "PRC2O3", "PRC+1", "PRC-1", "PRC+2", "PRC-2"}));
}

class RepeatStats : public FamilyTest {
protected:
    // Counts of the window over every draw, in list order, as "key=count" texts.
    std::vector<std::string> Window(const char* className) {
        auto stat = Create(className);
        const int last = static_cast<int>(Draws().size()) - 1;
        std::vector<std::string> rows;
        for (const TStatDraw& v : WindowValues(*stat, 0, last, false))
            rows.push_back(stat->ValueToText(v) + "=" + std::to_string(v.Count));
        return rows;
    }
    // Combinations of the full set that the class keeps with these selected K1 values,
    // judged against the newest draw.
    long Kept(const char* className, std::initializer_list<int> selected) {
        TStatDrawArray items;
        for (int k : selected) {
            TStatDraw item;
            item.Key = TStatKey::FromK(static_cast<std::uint16_t>(k));
            items.push_back(item);
        }
        const int ref = static_cast<int>(Draws().size()) - 1;
        return static_cast<long>(KeptOfAll(*Create(className), TStatSelection(items), ref));
    }
};

TEST_F(RepeatStats, TwoDrawsInARow) {
    AddDraw({1, 2, 3, 4, 5, 6});
    AddDraw({1, 2, 10, 11, 12, 13});
    AddDraw({1, 10, 20, 30, 40, 45});
    // 2 repeated into 101 but is not a number of the newest draw.
    EXPECT_EQ(Window("TstRepValues2"), (std::vector<std::string>{"1=2", "10=1", "20=0", "30=0", "40=0", "45=0"}));
    // The oldest draw is compared with an empty one: count 0, appended after the pre-fill.
    EXPECT_EQ(Window("TstRepCount2"),
              (std::vector<std::string>{"1=0", "2=2", "3=0", "4=0", "5=0", "6=0", "0=1"}));
}

TEST_F(RepeatStats, GapsAndAgesOfARepeatedNumber) {
    AddDraw({1, 2, 3, 4, 5, 6});
    AddDraw({1, 7, 8, 9, 10, 11});
    AddDraw({12, 13, 14, 15, 16, 17});
    AddDraw({1, 18, 19, 20, 21, 22});
    AddDraw({1, 23, 24, 25, 26, 27});
    auto stat = Create("TstRepValues2");
    const TStatDrawList values = WindowValues(*stat, 0, 4, false);
    const TStatDraw& one = values[0];
    EXPECT_EQ(one.Key.K(1), 1);
    EXPECT_EQ(one.Count, 2); // into 101 and into 104
    EXPECT_EQ(one.LastDraw, 104);
    EXPECT_EQ(one.LastAge, 1);
    EXPECT_EQ(one.MinPeriod, 3);
    EXPECT_EQ(one.MaxPeriod, 3);
}

TEST_F(RepeatStats, ShiftedNeighboursWrapAround) {
    AddDraw({45, 10, 11, 12, 13, 14});
    AddDraw({1, 20, 21, 22, 23, 24});
    AddDraw({45, 30, 31, 32, 33, 34});
    // 1 followed 45 (drawn in 100) in 101, and 45 is a number of the newest draw.
    EXPECT_EQ(Window("TstRepValues2P1"), (std::vector<std::string>{"1=1", "31=0", "32=0", "33=0", "34=0", "35=0"}));

    SetDraws({});
    AddDraw({1, 10, 11, 12, 13, 14});
    AddDraw({44, 20, 21, 22, 23, 24});
    AddDraw({1, 30, 31, 32, 33, 34});
    EXPECT_EQ(Window("TstRepValues2N2"), (std::vector<std::string>{"44=1", "28=0", "29=0", "30=0", "31=0", "32=0"}));
}

TEST_F(RepeatStats, ShiftedCountsOfAnEmptyEarlierDrawAreZero) {
    // Before the first draw there are no numbers to shift, so nothing can match the 1 here.
    AddDraw({1, 2, 3, 4, 5, 6});
    EXPECT_EQ(Window("TstRepCount2P1"),
              (std::vector<std::string>{"1=0", "2=0", "3=0", "4=0", "5=0", "6=0", "0=1"}));
    AddDraw({3, 4, 5, 6, 7, 40}); // 2..7 of the previous draw shifted by +1: 3, 4, 5, 6, 7
    EXPECT_EQ(Window("TstRepCount2P1")[4], "5=1");
    EXPECT_EQ(Window("TstRepCount2N1")[1], "2=0"); // 1..6 shifted by -1: 45, 1..5; 3, 4, 5 came
    EXPECT_EQ(Window("TstRepCount2N1")[2], "3=1");
}

TEST_F(RepeatStats, OverDistanceComparesWithEmptyDrawsAtTheStart) {
    AddDraw({1, 2, 3, 4, 5, 6});
    AddDraw({7, 8, 9, 10, 11, 12});
    AddDraw({13, 14, 15, 16, 17, 18});
    AddDraw({19, 20, 21, 22, 23, 24});
    AddDraw({1, 2, 3, 30, 31, 32}); // three numbers back from four draws before
    EXPECT_EQ(Window("TstRepCount2over3"),
              (std::vector<std::string>{"1=0", "2=0", "3=1", "4=0", "5=0", "6=0", "0=4"}));
    EXPECT_EQ(Window("TstRepValues2over3"),
              (std::vector<std::string>{"1=1", "2=1", "3=1", "30=0", "31=0", "32=0"}));
    // One draw between: 105 against 103 shares nothing.
    EXPECT_EQ(Window("TstRepCount2over1").back(), "0=5");
}

class ThreeDraws : public RepeatStats {
protected:
    void SetUp() override {
        AddDraw({1, 2, 3, 4, 5, 6});
        AddDraw({1, 2, 3, 10, 11, 12});
        AddDraw({1, 2, 10, 20, 21, 22});
        AddDraw({1, 10, 20, 30, 31, 32});
    }
};

TEST_F(ThreeDraws, ValuesInThreeDrawsAndInAtMostTwo) {
    // In 102: 1 and 2 came in all three draws, 2 is not in the newest; in 103: 1 and 10.
    EXPECT_EQ(Window("TstRepValues3"),
              (std::vector<std::string>{"1=2", "10=1", "20=0", "30=0", "31=0", "32=0"}));
    // 101 repeats 1 (from 100); 102 repeats 10 (new in 101); 103 repeats 20 (new in 102).
    EXPECT_EQ(Window("TstRepValues2B3"),
              (std::vector<std::string>{"1=1", "10=1", "20=1", "30=0", "31=0", "32=0"}));
}

TEST_F(ThreeDraws, CountsInThreeDrawsAndInAtMostTwo) {
    EXPECT_EQ(Window("TstRepCount3"), (std::vector<std::string>{"1=0", "2=2", "3=0", "4=0", "5=0", "6=0", "0=2"}));
    EXPECT_EQ(Window("TstRepCount2B3"), (std::vector<std::string>{"1=2", "2=0", "3=1", "4=0", "5=0", "6=0", "0=1"}));
}

TEST_F(ThreeDraws, CombinationsAreJudgedAgainstTheNewestDraws) {
    const long c42_4 = Binomial(42, 4), c42_6 = Binomial(42, 6);
    // The newest draw and the one before share 1, 10, 20: two of them in the combination.
    EXPECT_EQ(Kept("TstRepCount3", {2}), 3 * c42_4);
    // 30, 31, 32 are new in the newest draw: none of them.
    EXPECT_EQ(Kept("TstRepCount2B3", {0}), c42_6);
    // Value statistics keep the combinations holding a selected number.
    EXPECT_EQ(Kept("TstRepValues3", {1, 10}), COMBS_TOTAL - Binomial(43, 6));
    EXPECT_EQ(Kept("TstRepValues2P1", {2}), Binomial(44, 5));
}

TEST_F(ThreeDraws, TwoDrawCountSelectionsOverTheFullSet) {
    // Exactly one number of the newest draw.
    EXPECT_EQ(Kept("TstRepCount2", {1}), 6 * Binomial(39, 5));
    // Distance 2 compares with the draw before the newest: 1 2 10 20 21 22.
    EXPECT_EQ(Kept("TstRepCount2over1", {6}), 1);
    // No neighbour +1 of the newest numbers (2, 11, 21, 31, 32, 33).
    EXPECT_EQ(Kept("TstRepCount2P1", {0}), Binomial(39, 6));
    // Every combination has some count 0..6.
    EXPECT_EQ(Kept("TstRepCount2", {0, 1, 2, 3, 4, 5, 6}), COMBS_TOTAL);
}

TEST_F(ThreeDraws, CountTestsDoNotDependOnTheOrderOfCombinations) {
    auto stat = Create("TstRepCount2");
    const TStatSelection two = Select({TStatKey::FromK(2)});
    stat->SelectDraws(-1, 3, false);
    stat->PrepareTest(two, 3, false, false);
    const std::uint64_t newest = NumberMask(Draws()[3].Nums);
    std::mt19937 random(5);
    std::vector<std::uint8_t> numbers(LOTTO_MAX);
    for (int n = 0; n < LOTTO_MAX; ++n)
        numbers[static_cast<std::size_t>(n)] = static_cast<std::uint8_t>(n + 1);
    for (int i = 0; i < 20000; ++i) {
        // Neighbours that share their first five numbers, in both orders, then a jump.
        if (i % 3 == 0)
            std::shuffle(numbers.begin(), numbers.end(), random);
        TComb c;
        std::copy_n(numbers.begin(), LOTTO_COUNT, c.begin());
        c[5] = numbers[static_cast<std::size_t>(LOTTO_COUNT + i % 3)];
        const bool expected = std::popcount(NumberMask(c.N) & newest) == 2;
        ASSERT_EQ(stat->TestCombination(c, two, 3, false, false), expected) << i;
    }
}

} // namespace
} // namespace pelko
