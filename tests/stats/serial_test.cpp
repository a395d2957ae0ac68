#include "family_fixture.h"
#include "stats/families/serial.h"
#include "stats/stat_class.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace pelko {
namespace {

using test::FamilyTest;

TStatKey RunKey(int value, int length) {
    return TStatKey::FromK(static_cast<std::uint16_t>(value), static_cast<std::uint16_t>(length));
}

struct SerialRow {
    const char* Name;
    const char* Code;
    const char* Caption;
};

class SerialClasses : public testing::TestWithParam<SerialRow> {};

TEST_P(SerialClasses, RegisteredAsReferenceDrawStatistics) {
    const SerialRow& row = GetParam();
    const TStatClassInfo* info = StandardStatClasses().FindByName(row.Name);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->CodeOf(0), row.Code);
    EXPECT_EQ(info->CaptionOf(0), row.Caption);
    EXPECT_EQ(info->GetGroup(), sgSerials);
    EXPECT_EQ(FlagLetters(info->GetAllFlags()), "D");
    EXPECT_FALSE(info->HasScalarValues());
    EXPECT_FALSE(info->HasTypes());
}

INSTANTIATE_TEST_SUITE_P(
    Registry, SerialClasses,
    testing::Values(
        SerialRow{"TstNumGroups", "GRPV", "Повторы чисел в нескольких тиражах подряд"},
        SerialRow{"TstNumPauses", "GRPP", "Интервалы между повторениями чисел"},
        SerialRow{"TstChnGroups", "GRCV", "Повторы каналов в нескольких тиражах подряд"},
        SerialRow{"TstChnPauses", "GRCP", "Интервалы между повторениями каналов"},
        SerialRow{"TstSgmGroups", "GRSV", "Повторы сегментов в нескольких тиражах подряд"},
        SerialRow{"TstSgmPauses", "GRSP", "Интервалы между повторениями сегментов"}));

class SerialStats : public FamilyTest {
  protected:
    // 7 runs 100-101 and 103-105; the other numbers of the newest draw appear only there.
    void AddTwoRunsOfSeven() {
        AddDraw({7, 10, 20, 30, 40, 44}); // 100
        AddDraw({7, 11, 21, 31, 41, 45}); // 101
        AddDraw({8, 12, 22, 32, 42, 43}); // 102
        AddDraw({7, 13, 23, 33, 1, 2});   // 103
        AddDraw({7, 14, 24, 34, 3, 4});   // 104
        AddDraw({7, 15, 25, 35, 5, 6});   // 105, newest
    }
    static const TStatDraw& Find(const TStatDrawList& values, const TStatKey& key) {
        const int at = values.Find(key);
        EXPECT_GE(at, 0);
        static const TStatDraw none;
        return at < 0 ? none : values[static_cast<std::size_t>(at)];
    }
};

TEST_F(SerialStats, GroupsRecordEndedAndOpenRunsOfTheNewestDrawsValues) {
    AddTwoRunsOfSeven();
    auto stat = Create("TstNumGroups");
    const TStatDrawList values = WindowValues(*stat, 0, 5, false);
    EXPECT_EQ(Texts(*stat, values), (std::vector<std::string>{"7 x 2", "5 x 1", "6 x 1", "7 x 3",
                                                              "15 x 1", "25 x 1", "35 x 1"}));
    const TStatDraw& ended = Find(values, RunKey(7, 2));
    EXPECT_EQ(ended.LastDraw, 101); // the run's latest draw, not the draw that ended it
    EXPECT_EQ(ended.LastAge, 5);
    const TStatDraw& open = Find(values, RunKey(7, 3));
    EXPECT_EQ(open.LastDraw, 105);
    EXPECT_EQ(open.LastAge, 1);
    EXPECT_EQ(open.Count, 1);
}

TEST_F(SerialStats, PausesRecordOnlyFinishedPausesOfTheNewestDrawsValues) {
    AddTwoRunsOfSeven();
    auto stat = Create("TstNumPauses");
    const TStatDrawList values = WindowValues(*stat, 0, 5, false);
    // 8 is missing from the newest draw: its open pause is never recorded.
    EXPECT_EQ(Texts(*stat, values),
              (std::vector<std::string>{"7 x 1", "5 x 5", "6 x 5", "15 x 5", "25 x 5", "35 x 5"}));
    EXPECT_EQ(Find(values, RunKey(7, 1)).LastDraw, 102);
    EXPECT_EQ(Find(values, RunKey(7, 1)).LastAge, 4);
    EXPECT_EQ(Find(values, RunKey(15, 5)).LastDraw, 104);
    EXPECT_EQ(Find(values, RunKey(15, 5)).LastAge, 2);
}

TEST_F(SerialStats, EqualRunsMergeWithGapsBetweenTheirLatestDraws) {
    AddDraw({7, 1, 2, 3, 4, 5});      // 100
    AddDraw({8, 1, 2, 3, 4, 5});      // 101
    AddDraw({7, 1, 2, 3, 4, 5});      // 102
    AddDraw({8, 1, 2, 3, 4, 5});      // 103
    AddDraw({7, 11, 12, 13, 14, 15}); // 104
    auto stat = Create("TstNumGroups");
    const TStatDrawList values = WindowValues(*stat, 0, 4, false);
    const TStatDraw& single = Find(values, RunKey(7, 1));
    EXPECT_EQ(single.Count, 3);
    EXPECT_EQ(single.MinPeriod, 2);
    EXPECT_EQ(single.MaxPeriod, 2);
    EXPECT_EQ(single.LastDraw, 104);
    EXPECT_EQ(single.LastAge, 1);
    // 1..5 ran four draws but are missing from the newest draw.
    EXPECT_LT(values.Find(RunKey(1, 4)), 0);
}

TEST_F(SerialStats, RunStateIsCarriedInTheCallersWorkArea) {
    AddTwoRunsOfSeven();
    auto stat = Create("TstNumGroups");
    TStatDrawList values;
    TStatWorkArea work;
    TLastValueArray last;
    for (int i = 0; i <= 5; ++i)
        stat->ComputeForDraw(i, 5, false, values, work, last);
    EXPECT_EQ(work[7].RunLength, 3);
    EXPECT_EQ(work[7].RunDraw, 105);
    EXPECT_EQ(work[7].RunAge, 1);
    EXPECT_EQ(work[8].RunLength, 0); // reset when its run ended at 103
    // A pass that does not zero the area first continues the old runs.
    TStatDrawList again;
    stat->ComputeForDraw(5, 5, false, again, work, last);
    EXPECT_GE(again.Find(RunKey(7, 4)), 0);
}

TEST_F(SerialStats, ChannelsRunForFourDrawsUpToTheNewest) {
    AddDraw({1, 2, 3, 4, 5, 6}); // no channel 3
    AddDraw({11, 20, 30, 40, 41, 42});
    AddDraw({12, 13, 30, 40, 41, 42}); // two numbers, one channel
    AddDraw({15, 20, 30, 40, 41, 42});
    AddDraw({14, 22, 30, 40, 41, 45});
    auto stat = Create("TstChnGroups");
    const TStatDrawList values = WindowValues(*stat, 0, 4, false);
    EXPECT_EQ(CountOf(values, RunKey(3, 4)), 1);
    EXPECT_EQ(Text(*stat, RunKey(3, 4)), "03 x 4");
    auto& serial = dynamic_cast<TCustomSerialStat&>(*stat);
    EXPECT_EQ(serial.MinValue, 1);
    EXPECT_EQ(serial.MaxValue, 9);
    EXPECT_EQ(serial.ValueOfNumber(1, 45), 9);

    EXPECT_TRUE(Test(*stat, Select({RunKey(3, 4)}), {1, 2, 3, 4, 5, 13}));
    EXPECT_FALSE(Test(*stat, Select({RunKey(3, 4)}), {1, 2, 3, 4, 5, 16}));
}

TEST_F(SerialStats, SegmentsFollowTheParametersMap) {
    for (int n = 1; n <= 9; ++n)
        list_.Config.Segments[static_cast<std::size_t>(n - 1)] = 2;
    AddDraw({1, 20, 21, 22, 23, 24});  // segments 2 and 1
    AddDraw({10, 20, 21, 22, 23, 24}); // segment 1 only
    AddDraw({9, 20, 21, 22, 23, 24});  // 2 and 1
    auto pauses = Create("TstSgmPauses");
    auto& serial = dynamic_cast<TCustomSerialStat&>(*pauses);
    EXPECT_EQ(serial.MinValue, 1);
    EXPECT_EQ(serial.MaxValue, 2);
    EXPECT_EQ(Texts(*pauses, WindowValues(*pauses, 0, 2, false)),
              std::vector<std::string>{"2 x 1"});
    auto groups = Create("TstSgmGroups");
    EXPECT_EQ(Texts(*groups, WindowValues(*groups, 0, 2, false)),
              (std::vector<std::string>{"2 x 1", "1 x 3"}));
    EXPECT_EQ(CountOf(WindowValues(*groups, 0, 2, false), RunKey(2, 1)), 2);
    EXPECT_TRUE(Test(*groups, Select({RunKey(2, 1)}), {5, 20, 21, 22, 23, 24}));
    EXPECT_FALSE(Test(*groups, Select({RunKey(2, 1)}), {15, 20, 21, 22, 23, 24}));
}

TEST_F(SerialStats, NothingIsPreFilled) {
    AddTwoRunsOfSeven();
    EXPECT_TRUE(WindowValues(*Create("TstNumGroups"), 0, -1, false).empty());
}

// Pseudo-random archive; the fast search must agree with recomputing every draw in full.
TEST_F(SerialStats, NextOccurrenceAgreesWithFullRecomputation) {
    std::uint32_t seed = 12345;
    auto next = [&] { return seed = seed * 1103515245u + 12345u; };
    for (int d = 0; d < 80; ++d) {
        std::vector<int> nums;
        while (nums.size() < 6) {
            const int n = static_cast<int>(next() >> 16) % 20 + 1; // few numbers: long runs
            bool dup = false;
            for (int m : nums)
                dup |= m == n;
            if (!dup) nums.push_back(n);
        }
        draws_.push_back(
            test::MakeDraw(1000 + d, {nums[0], nums[1], nums[2], nums[3], nums[4], nums[5]}));
    }
    for (const char* name : {"TstNumGroups", "TstNumPauses", "TstChnGroups", "TstChnPauses"}) {
        auto stat = Create(name);
        const int lastIndex = 50;
        const TStatDrawList values = WindowValues(*stat, 20, lastIndex, false);
        ASSERT_FALSE(values.empty()) << name;
        int found = 0;
        for (const TStatDraw& item : values) {
            const int from = item.LastDraw - 1000 + 1;
            const int fast = stat->FindNextOccurrence(item, from, false, lastIndex);
            const int full = stat->TCustomStat::FindNextOccurrence(item, from, false, lastIndex);
            EXPECT_EQ(fast, full) << name << " " << stat->ValueToText(item);
            found += fast > 0;
        }
        EXPECT_GT(found, 0) << name; // the draws after the window hold some of them again
    }
}

} // namespace
} // namespace pelko
