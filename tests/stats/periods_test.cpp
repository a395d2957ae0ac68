#include "family_fixture.h"
#include "stats/families/periods.h"
#include "stats/stat_class.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace pelko {
namespace {

using test::FamilyTest;

TStatKey Period(int value, int period) {
    return TStatKey::FromK(static_cast<std::uint16_t>(value), static_cast<std::uint16_t>(period));
}

TEST(PeriodRegistry, ThreeClassesWithFlagP) {
    const char* rows[][3] = {{"TstNumPeriods", "PRDV", "Периоды повторения чисел"},
                             {"TstChnPeriods", "PRDC", "Периоды повторения каналов"},
                             {"TstSgmPeriods", "PRDG", "Периоды повторения сегментов"}};
    for (const auto& row : rows) {
        const TStatClassInfo* info = StandardStatClasses().FindByName(row[0]);
        ASSERT_NE(info, nullptr) << row[0];
        EXPECT_EQ(info->CodeOf(0), row[1]);
        EXPECT_EQ(info->CaptionOf(0), row[2]);
        EXPECT_EQ(info->GetGroup(), sgPeriods);
        EXPECT_EQ(FlagLetters(info->GetAllFlags()), "P");
        EXPECT_FALSE(info->HasScalarValues());
    }
}

class PeriodStats : public FamilyTest {
  protected:
    // Draws numbered first..last; `seven` lists the draw numbers that hold 7, the others
    // hold 8 in its place. The rest of each draw is 40..44.
    void AddDraws(int first, int last, std::initializer_list<int> seven) {
        for (int number = first; number <= last; ++number) {
            bool has = false;
            for (int s : seven)
                has |= s == number;
            draws_.push_back(test::MakeDraw(number, {has ? 7 : 8, 40, 41, 42, 43, 44}));
        }
    }
    int IndexOf(int drawNumber) const { return drawNumber - draws_.front().Number; }
    static TStatDraw Item(const TStatKey& key) {
        TStatDraw item;
        item.Key = key;
        return item;
    }

    bool TestWith(TCustomStat& stat, const TStatSelection& selected,
                  std::initializer_list<int> nums, int refIndex, bool exclude) {
        stat.SelectDraws(-1, refIndex, false);
        stat.PrepareTest(selected, refIndex, false, exclude);
        return stat.TestCombination(Comb(nums), selected, refIndex, false, exclude);
    }
};

TEST_F(PeriodStats, GapsBetweenConsecutiveAppearances) {
    AddDraws(100, 110, {100, 103, 110});
    auto stat = Create("TstNumPeriods");
    const TStatDrawList values = WindowValues(*stat, 0, 10, false);
    EXPECT_EQ(CountOf(values, Period(7, 3)), 1);
    EXPECT_EQ(CountOf(values, Period(7, 7)), 1);
    EXPECT_EQ(values[static_cast<std::size_t>(values.Find(Period(7, 7)))].LastDraw, 110);
    int sevens = 0;
    for (const TStatDraw& v : values)
        sevens += v.Key.K(1) == 7;
    EXPECT_EQ(sevens, 2); // the first appearance adds nothing
    EXPECT_EQ(CountOf(values, Period(40, 1)), 10);
    EXPECT_EQ(Text(*stat, Period(7, 3)), "7 x 3");
    EXPECT_TRUE(WindowValues(*stat, 0, -1, false).empty()); // no pre-fill
}

TEST_F(PeriodStats, LastAppearancesAreCarriedInTheCallersList) {
    AddDraws(100, 110, {100, 103, 110});
    auto stat = Create("TstNumPeriods");
    TStatDrawList values;
    TStatWorkArea work;
    TLastValueArray last;
    for (int i = 0; i <= 3; ++i)
        stat->ComputeForDraw(i, 10, false, values, work, last);
    ASSERT_EQ(last.size(), 7u); // 7, 40..44, 8
    EXPECT_EQ(last[0].Key, TStatKey::FromK(7));
    EXPECT_EQ(last[0].Draw, 103);
    // A list that is not emptied between passes measures from the old pass.
    TStatDrawList again;
    stat->ComputeForDraw(10, 10, false, again, work, last);
    EXPECT_EQ(CountOf(again, Period(7, 7)), 1);
}

TEST_F(PeriodStats, ChannelMetTwiceInOneDrawCountsOnce) {
    AddDraw({11, 20, 30, 40, 41, 42});
    AddDraw({12, 14, 21, 31, 43, 44});
    auto stat = Create("TstChnPeriods");
    const TStatDrawList values = WindowValues(*stat, 0, 1, false);
    EXPECT_EQ(CountOf(values, Period(3, 1)), 1);
    EXPECT_EQ(CountOf(values, Period(9, 1)), 1);
    EXPECT_EQ(Text(*stat, Period(3, 1)), "03 x 1");
    EXPECT_EQ(dynamic_cast<TCustomPeriodsStat&>(*stat).ValueOfNumber(1, 14), 3);
}

TEST_F(PeriodStats, SegmentsOfTheDefaultMapRecurEveryDraw) {
    AddDraws(100, 104, {});
    auto stat = Create("TstSgmPeriods");
    const TStatDrawList values = WindowValues(*stat, 0, 4, false);
    ASSERT_EQ(values.size(), 1u);
    EXPECT_EQ(stat->ValueToText(values[0]), "1 x 1");
    EXPECT_EQ(values[0].Count, 4);
}

// The combination stands for draw r + 1: a selected period p looks at draw r + 1 - p.
TEST_F(PeriodStats, TestLooksBackByTheSelectedPeriod) {
    AddDraws(100, 110, {108});
    auto stat = Create("TstNumPeriods");
    const int r = IndexOf(110);
    const TStatSelection three = Select({Period(7, 3)}); // looks at draw 108
    const TStatSelection two = Select({Period(7, 2)});   // looks at draw 109
    EXPECT_TRUE(TestWith(*stat, three, {1, 2, 3, 4, 5, 7}, r, false));
    EXPECT_FALSE(TestWith(*stat, three, {1, 2, 3, 4, 5, 6}, r, false));
    EXPECT_FALSE(TestWith(*stat, two, {1, 2, 3, 4, 5, 7}, r, false));
    // Dropping: true when the value was missing there.
    EXPECT_FALSE(TestWith(*stat, three, {1, 2, 3, 4, 5, 7}, r, true));
    EXPECT_TRUE(TestWith(*stat, two, {1, 2, 3, 4, 5, 7}, r, true));
    EXPECT_FALSE(TestWith(*stat, two, {1, 2, 3, 4, 5, 6}, r, true));
    // A period reaching before the archive looks at an empty draw.
    EXPECT_FALSE(TestWith(*stat, Select({Period(7, 40)}), {7, 8, 9, 10, 11, 12}, r, false));
}

TEST_F(PeriodStats, LookBackIsPreparedOncePerPass) {
    AddDraws(100, 110, {108});
    auto stat = Create("TstNumPeriods");
    const int r = IndexOf(110);
    const TStatSelection three = Select({Period(7, 3)});
    stat->SelectDraws(-1, r, false);
    stat->PrepareTest(three, r, false, false);
    draws_[static_cast<std::size_t>(IndexOf(108))].Nums[0] = 9; // not read again during the pass
    EXPECT_TRUE(stat->TestCombination(Comb({1, 2, 3, 4, 5, 7}), three, r, false, false));
    // A new reference index is prepared afresh, even without PrepareTest.
    EXPECT_FALSE(stat->TestCombination(Comb({1, 2, 3, 4, 5, 7}), three, r - 1, false, false));
}

TEST_F(PeriodStats, ChannelTestLooksForTheChannel) {
    AddDraw({13, 20, 30, 40, 41, 42});
    AddDraw({1, 20, 30, 40, 41, 42});
    auto stat = Create("TstChnPeriods");
    const TStatSelection selected = Select({Period(3, 2)}); // draw 0 held channel 3
    EXPECT_TRUE(TestWith(*stat, selected, {1, 2, 3, 4, 5, 11}, 1, false));
    EXPECT_FALSE(TestWith(*stat, selected, {1, 2, 3, 4, 5, 16}, 1, false));
}

TEST_F(PeriodStats, NextOccurrenceMeasuresFromTheLastAppearance) {
    AddDraws(100, 125, {100, 103, 110, 113, 120});
    auto stat = Create("TstNumPeriods");
    const int last = IndexOf(110); // the window ends at 110
    const TStatDrawList values = WindowValues(*stat, 0, last, false);
    const TStatDraw& three = values[static_cast<std::size_t>(values.Find(Period(7, 3)))];
    const TStatDraw& seven = values[static_cast<std::size_t>(values.Find(Period(7, 7)))];
    EXPECT_EQ(stat->FindNextOccurrence(three, IndexOf(three.LastDraw) + 1, false, last), 113);
    EXPECT_EQ(stat->FindNextOccurrence(seven, IndexOf(seven.LastDraw) + 1, false, last), 120);
    EXPECT_EQ(stat->FindNextOccurrence(Item(Period(7, 5)), IndexOf(110) + 1, false, last), -1);
    EXPECT_EQ(stat->FindNextOccurrence(three, IndexOf(125) + 1, false, last), -1);
}

} // namespace
} // namespace pelko
