#include "family_fixture.h"
#include "stats/families/chains.h"
#include "stats/stat_class.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace pelko {
namespace {

using test::FamilyTest;
using Texts_ = std::vector<std::string>;

TStatKey Key(int a, int b, int c = 0) {
    return TStatKey::FromK(static_cast<std::uint16_t>(a), static_cast<std::uint16_t>(b),
                           static_cast<std::uint16_t>(c));
}

struct ChainRow {
    const char* Name;
    int Type;
    const char* Code;
    const char* Caption;
    const char* Flags;
    const char* FamilyCode;
};

class ChainClasses : public testing::TestWithParam<ChainRow> {};

TEST_P(ChainClasses, CodeCaptionFlags) {
    const ChainRow& row = GetParam();
    const TStatClassInfo* info = StandardStatClasses().FindByName(row.Name);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->CodeOf(row.Type), row.Code);
    EXPECT_EQ(info->CaptionOf(row.Type), row.Caption);
    EXPECT_EQ(FlagLetters(info->GetAllFlags()), row.Flags);
    EXPECT_EQ(info->GetFamilyCode(), row.FamilyCode);
    EXPECT_EQ(info->GetGroup(), sgChains);
    EXPECT_FALSE(info->HasScalarValues());
    EXPECT_FALSE(info->SupportsCombinations());
}

INSTANTIATE_TEST_SUITE_P(
    Registry, ChainClasses,
    testing::Values(ChainRow{"TstChain2DrawsAll", 0, "SDV2",
                             "Переходы чисел между 2 тиражами без учета позиции", "D", "SDV2"},
                    ChainRow{"TstChain2DrawsPos", 0, "SDP2",
                             "Переходы чисел между 2 тиражами с учетом позиции", "SD", "SDP2"},
                    ChainRow{"TstChain2Pos", 3, "SDN3",
                             "Переходы чисел между 2 тиражами в 3 позиции", "SD", "SDNx"},
                    ChainRow{"TstChain3DrawsPos", 0, "SDP3",
                             "Переходы чисел между 3 тиражами с учетом позиции", "SD", "SDP3"},
                    ChainRow{"TstChain3Pos", 2, "SDM2",
                             "Переходы чисел между 3 тиражами в 2 позиции", "SD", "SDMx"},
                    ChainRow{"TstChain2ChannelsAll", 0, "SCV2",
                             "Переходы каналов между 2 тиражами без учета позиции", "D", "SCV2"},
                    ChainRow{"TstChain2ChannelsPos", 0, "SCP2",
                             "Переходы каналов между 2 тиражами с учетом позиции", "SD", "SCP2"},
                    ChainRow{"TstChain2Channel", 1, "SCN1",
                             "Переходы каналов между 2 тиражами в 1 позиции", "SD", "SCNx"},
                    ChainRow{"TstChain3ChannelsPos", 0, "SCP3",
                             "Переходы каналов между 3 тиражами с учетом позиции", "SD", "SCP3"},
                    ChainRow{"TstChain3Channel", 6, "SCM6",
                             "Переходы каналов между 3 тиражами в 6 позиции", "SD", "SCMx"},
                    ChainRow{"TstChain2CnlCnt", 4, "SC2C4",
                             "Переходы кол-ва чисел в 4 канале между 2 тиражами", "D", "SC2Cx"},
                    ChainRow{"TstChain3CnlCnt", 9, "SC3C9",
                             "Переходы кол-ва чисел в 9 канале между 3 тиражами", "D", "SC3Cx"},
                    ChainRow{"TstChainChannels2InsideAll", 0, "SDA2",
                             "Переходы чисел в пределах каналов (все)", "D", "SDA2"},
                    ChainRow{"TstChainChannels2InsideSuc", 0, "SDG2",
                             "Переходы чисел в пределах каналов (N-M, удачные)", "D", "SDG2"},
                    ChainRow{"TstChainChannels2InsideBad", 0, "SDZ2",
                             "Переходы чисел в пределах каналов (N-0, не удачные)", "D", "SDZ2"},
                    ChainRow{"TstChainChannels2InsideCnt", 0, "SDC2",
                             "Переходы чисел в пределах каналов (количество)", "D", "SDC2"},
                    ChainRow{"TstChain2SegmentsAll", 0, "SSV2",
                             "Переходы сегментов между 2 тиражами без учета позиции", "D", "SSV2"},
                    ChainRow{"TstChain2SegmentsPos", 0, "SSP2",
                             "Переходы сегментов между 2 тиражами с учетом позиции", "SD", "SSP2"},
                    ChainRow{"TstChain2Segment", 5, "SSN5",
                             "Переходы сегментов между 2 тиражами в 5 позиции", "SD", "SSNx"},
                    ChainRow{"TstChain3SegmentsPos", 0, "SSP3",
                             "Переходы сегментов между 3 тиражами с учетом позиции", "SD", "SSP3"},
                    ChainRow{"TstChain3Segment", 4, "SSM4",
                             "Переходы сегментов между 3 тиражами в 4 позиции", "SD", "SSMx"},
                    ChainRow{"TstChain2SgmCnt", 1, "SS2C1",
                             "Переходы кол-ва чисел в 1 сегменте между 2 тиражами", "D", "SS2Cx"},
                    ChainRow{"TstChain3SgmCnt", 2, "SS3C2",
                             "Переходы кол-ва чисел в 2 сегменте между 3 тиражами", "D", "SS3Cx"}));

int CountCodes(const TStatList& list, const std::string& prefix) {
    int count = 0;
    for (const TStatMethod& m : list.Methods())
        count += list.MethodCode(m).rfind(prefix, 0) == 0;
    return count;
}

TEST(ChainRegistry, TypeRangesFollowTheParametersAtBuild) {
    TStatList list;
    list.Build();
    EXPECT_EQ(CountCodes(list, "SDN"), 6);
    EXPECT_EQ(CountCodes(list, "SC2C"), 9);
    EXPECT_EQ(CountCodes(list, "SS3C"), 1); // every number in segment 1
    list.Config.ChannelSize = 7;
    list.Config.Segments[44] = 3;
    list.Config.Segments[0] = 2;
    list.Build();
    EXPECT_EQ(CountCodes(list, "SC3C"), 7);
    EXPECT_EQ(CountCodes(list, "SS2C"), 3);
    list.Config.ChannelSize = 0;
    list.Build();
    EXPECT_EQ(CountCodes(list, "SC2C"), 0);
}

class ChainStats : public FamilyTest {
  protected:
    void AddExampleDraws() {
        AddDraw({1, 5, 12, 20, 33, 41});  // 100
        AddDraw({5, 9, 14, 20, 38, 45});  // 101
        AddDraw({5, 14, 22, 30, 38, 44}); // 102, newest
    }
    // Positions 1 and 2 alternate a, b, a, b.
    void AddAlternatingDraws() {
        AddDraw({3, 10, 30, 31, 32, 33}); // 100
        AddDraw({5, 12, 34, 35, 36, 37}); // 101
        AddDraw({3, 10, 38, 39, 40, 41}); // 102
        AddDraw({5, 12, 42, 43, 44, 45}); // 103, newest
    }
    Texts_ Window(const char* name, int type = 0, bool sorted = false) {
        auto stat = Create(name, type);
        return Texts(*stat, WindowValues(*stat, 0, static_cast<int>(draws_.size()) - 1, sorted));
    }
};

TEST_F(ChainStats, AllTransitionsFromNumbersTheNewestDrawHolds) {
    AddExampleDraws();
    auto stat = Create("TstChain2DrawsAll");
    TStatDrawList oldest;
    TStatWorkArea work;
    TLastValueArray last;
    stat->ComputeForDraw(0, 2, false, oldest, work, last);
    EXPECT_TRUE(oldest.empty());

    const TStatDrawList values = WindowValues(*stat, 0, 2, false);
    const Texts_ texts = Texts(*stat, values);
    ASSERT_EQ(texts.size(), 21u);
    EXPECT_EQ(Texts_(texts.begin(), texts.begin() + 6),
              (Texts_{"5 -> 5", "5 -> 9", "5 -> 14", "5 -> 20", "5 -> 38", "5 -> 45"}));
    int total = 0;
    for (const TStatDraw& v : values)
        total += v.Count;
    EXPECT_EQ(total, 24);
    EXPECT_EQ(CountOf(values, Key(5, 5)), 2);
    EXPECT_EQ(CountOf(values, Key(5, 9)), 1);
    EXPECT_EQ(CountOf(values, Key(14, 44)), 1);
    EXPECT_EQ(CountOf(values, Key(38, 38)), 1);
    EXPECT_EQ(CountOf(values, Key(9, 5)), -1); // 9 is not in the newest draw
}

TEST_F(ChainStats, EqualPositionsAgreeWithTheNewestDraw) {
    AddExampleDraws();
    EXPECT_EQ(Window("TstChain2DrawsPos"), (Texts_{"5 -> 5", "38 -> 38"}));
    EXPECT_EQ(Window("TstChain2Pos", 5), (Texts_{"38 -> 38"}));
    EXPECT_EQ(Window("TstChain2Pos", 1), (Texts_{"5 -> 5"}));
    EXPECT_TRUE(Window("TstChain2Pos", 2).empty());
}

TEST_F(ChainStats, PositionsFollowTheSortedOption) {
    AddDraw({20, 5, 30, 31, 32, 33});
    AddDraw({5, 21, 40, 41, 42, 43});
    EXPECT_TRUE(Window("TstChain2DrawsPos", 0, false).empty());
    EXPECT_EQ(Window("TstChain2DrawsPos", 0, true), (Texts_{"5 -> 5"}));
}

TEST_F(ChainStats, ThreeDrawChainsNeedBothEarlierDrawsToAgree) {
    AddAlternatingDraws();
    EXPECT_EQ(Window("TstChain3DrawsPos"), (Texts_{"3-5 -> 3", "10-12 -> 10"}));
    EXPECT_EQ(Window("TstChain3Pos", 2), (Texts_{"10-12 -> 10"}));
    EXPECT_TRUE(Window("TstChain3Pos", 3).empty());
    // The two oldest draws of the archive add nothing even when their positions agree.
    draws_.resize(2);
    EXPECT_TRUE(Window("TstChain3DrawsPos").empty());
}

TEST_F(ChainStats, ChannelChainsShowTwoDigits) {
    AddAlternatingDraws();
    auto stat = Create("TstChain3ChannelsPos");
    const TStatDrawList values = WindowValues(*stat, 0, 3, false);
    EXPECT_EQ(Texts(*stat, values), (Texts_{"01-01 -> 01", "02-03 -> 02"}));
    EXPECT_EQ(CountOf(values, Key(1, 1, 1)), 2);
}

TEST_F(ChainStats, ChannelHeldTwiceByThePreviousDrawCountsTwice) {
    AddDraw({12, 14, 30, 31, 32, 33});
    AddDraw({11, 20, 21, 22, 23, 24});
    auto stat = Create("TstChain2ChannelsAll");
    const TStatDrawList values = WindowValues(*stat, 0, 1, false);
    EXPECT_EQ(Texts(*stat, values), (Texts_{"03 -> 03", "03 -> 04", "03 -> 05"}));
    EXPECT_EQ(CountOf(values, Key(3, 3)), 2);
    EXPECT_EQ(CountOf(values, Key(3, 4)), 2);
    EXPECT_EQ(CountOf(values, Key(3, 5)), 8);
}

TEST_F(ChainStats, SegmentChainsUseTheSegmentMap) {
    for (int n = 1; n <= 9; ++n)
        list_.Config.Segments[static_cast<std::size_t>(n - 1)] = 2;
    AddDraw({1, 20, 21, 22, 23, 24}); // 2 1 1 1 1 1
    AddDraw({30, 2, 21, 22, 23, 24}); // 1 2 1 1 1 1
    AddDraw({3, 20, 21, 22, 23, 24}); // 2 1 1 1 1 1
    EXPECT_EQ(Window("TstChain2Segment", 1), (Texts_{"2 -> 1"}));
    auto all = Create("TstChain2SegmentsAll");
    const TStatDrawList values = WindowValues(*all, 0, 2, false);
    EXPECT_EQ(CountOf(values, Key(2, 1)), 5 + 5); // from segment 2 in both earlier draws
    EXPECT_EQ(CountOf(values, Key(1, 2)), 5 + 5);
}

TEST_F(ChainStats, CountsOfOneChannelPreFillEveryNextCount) {
    AddDraw({11, 20, 30, 40, 41, 42}); // one number in channel 3
    AddDraw({11, 12, 30, 40, 41, 42}); // two
    AddDraw({13, 20, 30, 40, 41, 42}); // one
    AddDraw({14, 15, 30, 40, 41, 42}); // two, newest
    auto two = Create("TstChain2CnlCnt", 3);
    const TStatDrawList values = WindowValues(*two, 0, 3, false);
    EXPECT_EQ(Texts(*two, values),
              (Texts_{"2 -> 0", "2 -> 1", "2 -> 2", "2 -> 3", "2 -> 4", "2 -> 5"}));
    EXPECT_EQ(CountOf(values, Key(2, 1)), 1);
    EXPECT_EQ(CountOf(values, Key(2, 2)), 0);

    auto three = Create("TstChain3CnlCnt", 3);
    const TStatDrawList values3 = WindowValues(*three, 0, 3, false);
    EXPECT_EQ(values3.size(), 6u);
    EXPECT_EQ(three->ValueToText(values3[0]), "1-2 -> 0");
    EXPECT_EQ(CountOf(values3, Key(1, 2, 1)), 1);

    const TStatSelection one = Select({Key(2, 1)});
    EXPECT_TRUE(Test(*two, one, {1, 2, 3, 4, 5, 13}));
    EXPECT_FALSE(Test(*two, one, {1, 2, 3, 4, 12, 13}));
    EXPECT_FALSE(Test(*two, one, {1, 2, 3, 4, 5, 6}));
    EXPECT_TRUE(Test(*three, Select({Key(1, 2, 1)}), {1, 2, 3, 4, 5, 13}));
    EXPECT_FALSE(Test(*three, Select({Key(1, 2, 1)}), {1, 2, 3, 4, 12, 13}));

    list_.Config.ChannelSize = 7;
    EXPECT_EQ(WindowValues(*Create("TstChain2CnlCnt", 3), 0, -1, false).size(), 8u);
}

TEST_F(ChainStats, SegmentCountsPreFillOneRow) {
    AddDraw({1, 2, 3, 4, 5, 6});
    AddDraw({7, 8, 9, 10, 11, 12});
    auto two = Create("TstChain2SgmCnt", 1);
    EXPECT_EQ(Texts(*two, WindowValues(*two, 0, 1, false)), (Texts_{"6 -> 0", "6 -> 6"}));
    auto three = Create("TstChain3SgmCnt", 1);
    EXPECT_EQ(Texts(*three, WindowValues(*three, 0, 1, false)), (Texts_{"6-6 -> 0"}));
}

struct InsideCase {
    std::array<int, 6> Cur;
    Texts_ All, Suc, Bad, Cnt;
};

TEST_F(ChainStats, InsideChannelModes) {
    const InsideCase cases[] = {
        {{1, 2, 3, 11, 12, 13}, {"07 -> 00"}, {}, {"07 -> 00"}, {"7 -> 0"}},
        {{8, 9, 40, 41, 42, 43},
         {"07 -> 08", "07 -> 09"},
         {"07 -> 08", "07 -> 09"},
         {},
         {"7 -> 2"}},
    };
    for (const InsideCase& c : cases) {
        draws_.clear();
        AddDraw({7, 20, 21, 22, 23, 24});
        draws_.push_back(
            test::MakeDraw(101, {c.Cur[0], c.Cur[1], c.Cur[2], c.Cur[3], c.Cur[4], c.Cur[5]}));
        AddDraw({7, 30, 31, 32, 33, 34});
        EXPECT_EQ(Window("TstChainChannels2InsideAll"), c.All);
        EXPECT_EQ(Window("TstChainChannels2InsideSuc"), c.Suc);
        EXPECT_EQ(Window("TstChainChannels2InsideBad"), c.Bad);
        EXPECT_EQ(Window("TstChainChannels2InsideCnt"), c.Cnt);
    }
    EXPECT_EQ(dynamic_cast<TCustomChainChannels2Inside&>(*Create("TstChainChannels2InsideAll"))
                  .InsideMode(),
              0);
    EXPECT_EQ(dynamic_cast<TCustomChainChannels2Inside&>(*Create("TstChainChannels2InsideSuc"))
                  .InsideMode(),
              1);
    EXPECT_EQ(dynamic_cast<TCustomChainChannels2Inside&>(*Create("TstChainChannels2InsideBad"))
                  .InsideMode(),
              2);
    EXPECT_EQ(dynamic_cast<TCustomChainChannels2Inside&>(*Create("TstChainChannels2InsideCnt"))
                  .InsideMode(),
              3);
}

TEST_F(ChainStats, InsideTestFollowsTheReferenceDrawsNumbers) {
    AddDraw({1, 20, 30, 40, 41, 42});
    AddDraw({7, 20, 30, 40, 41, 42}); // reference, index 1
    auto all = Create("TstChainChannels2InsideAll");
    const TStatSelection none = Select({Key(7, 0)});
    EXPECT_TRUE(Test(*all, none, {1, 2, 3, 4, 5, 6}, 1));
    EXPECT_TRUE(Test(*all, none, {1, 2, 3, 4, 5, 10}, 1));
    EXPECT_FALSE(Test(*all, none, {1, 2, 3, 4, 5, 11}, 1));
    EXPECT_FALSE(Test(*all, none, {1, 2, 3, 4, 5, 6}, 0)); // 7 is not in draw 0

    const TStatSelection nine = Select({Key(7, 9)});
    EXPECT_TRUE(Test(*all, nine, {1, 2, 3, 4, 9, 45}, 1));
    EXPECT_FALSE(Test(*all, nine, {1, 2, 3, 4, 8, 45}, 1));

    auto count = Create("TstChainChannels2InsideCnt");
    EXPECT_TRUE(Test(*count, Select({Key(7, 2)}), {1, 2, 3, 4, 6, 45}, 1)); // the count is ignored
    EXPECT_FALSE(Test(*count, Select({Key(7, 2)}), {1, 2, 3, 4, 11, 45}, 1));
}

TEST_F(ChainStats, TestsLookForTheTargetAtAnyPosition) {
    AddExampleDraws();
    EXPECT_TRUE(Test(*Create("TstChain2Pos", 2), Select({Key(9, 14)}), {1, 2, 3, 4, 14, 20}));
    EXPECT_FALSE(Test(*Create("TstChain2Pos", 2), Select({Key(9, 14)}), {1, 2, 3, 4, 9, 20}));
    auto three = Create("TstChain3DrawsPos");
    EXPECT_TRUE(Test(*three, Select({Key(3, 5, 3)}), {3, 6, 7, 8, 9, 10}));
    EXPECT_FALSE(Test(*three, Select({Key(3, 5, 3)}), {5, 6, 7, 8, 9, 10}));
    EXPECT_TRUE(Test(*Create("TstChain2Channel", 1), Select({Key(1, 3)}), {1, 2, 3, 4, 5, 12}));
    EXPECT_FALSE(Test(*Create("TstChain2ChannelsAll"), Select({Key(1, 3)}), {1, 2, 3, 4, 5, 16}));
}

TEST_F(ChainStats, NextOccurrenceIsFoundAfterTheWindow) {
    AddDraw({5, 10, 20, 30, 40, 41});
    AddDraw({5, 11, 21, 31, 42, 43});
    AddDraw({5, 12, 22, 32, 44, 45});
    auto stat = Create("TstChain2DrawsPos");
    const TStatDrawList values = WindowValues(*stat, 0, 1, false);
    ASSERT_EQ(Texts(*stat, values), (Texts_{"5 -> 5"}));
    EXPECT_EQ(values[0].LastDraw, 101);
    EXPECT_EQ(stat->FindNextOccurrence(values[0], 2, false, 1), 102);
    EXPECT_EQ(stat->FindNextOccurrence(values[0], 3, false, 1), -1);
}

} // namespace
} // namespace pelko
