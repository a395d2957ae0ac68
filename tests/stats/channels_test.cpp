#include "core/arithmetic.h"
#include "family_fixture.h"
#include "selection_check.h"
#include "stats/stat_class.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pelko {
namespace {

using test::FamilyTest;
using test::ForEachCombination;

using test::ClassRow;

class ChannelClasses : public testing::TestWithParam<ClassRow> {};

TEST_P(ChannelClasses, CodeCaptionGroupAndFlags) { test::ExpectClassRow(GetParam(), sgChannels); }

INSTANTIATE_TEST_SUITE_P(
    Registry, ChannelClasses,
    testing::Values(ClassRow{"TstChannels", 0, "CHAN", "Каналы", "N", true},
                    ClassRow{"TstChanValues", 0, "CHNV", "Количество чисел в канале", "N", false},
                    ClassRow{"TstChanCount", 0, "CHNC", "Количество каналов в тираже", "NG", true},
                    ClassRow{"TstCombChnMix2", 0, "KCM2",
                             "Сочетания из 2 каналов по всем числам тиража", "S", false},
                    ClassRow{"TstCombChnMix4", 0, "KCM4",
                             "Сочетания из 4 каналов по всем числам тиража", "S", false},
                    ClassRow{"TstCombChnSeq3", 0, "KCS3",
                             "Сочетания из 3 каналов по соседним числам", "S", false},
                    ClassRow{"TstChnValCnt", 4, "CHN4", "Количество чисел в 4 канале", "NG",
                             true}));

using test::GroupCodes;

TEST(ChannelRegistry, TypesFollowTheChannelSizeAtEveryBuild) {
    TStatList list;
    list.Build();
    EXPECT_EQ(GroupCodes(list, sgChannels),
              (std::vector<std::string>{"CHAN", "CHNV", "CHNC", "KCM2", "KCM3", "KCM4", "KCS2",
                                        "KCS3", "KCS4", "CHN1", "CHN2", "CHN3", "CHN4", "CHN5",
                                        "CHN6", "CHN7", "CHN8", "CHN9"}));
    list.Config.ChannelSize = 7;
    list.Build();
    const std::vector<std::string> codes = GroupCodes(list, sgChannels);
    EXPECT_EQ(codes.back(), "CHN7");
    EXPECT_EQ(codes.size(), 9u + 7u);
    list.Config.ChannelSize = 0;
    list.Build();
    EXPECT_EQ(GroupCodes(list, sgChannels).size(), 9u);
    EXPECT_EQ(StandardStatClasses().FindByName("TstChnValCnt")->GetFamilyCode(), "CHNx");
}

class ChannelStats : public FamilyTest {};

TEST_F(ChannelStats, WorkedDrawOfWidthFive) {
    AddDraw({40, 3, 12, 8, 45, 14});
    auto chan = Create("TstChannels");
    const TStatDrawList channels = DrawValues(*chan, 0, true);
    EXPECT_EQ(Texts(*chan, channels),
              (std::vector<std::string>{"01 [1-5]", "02 [6-10]", "03 [11-15]", "08 [36-40]",
                                        "09 [41-45]"}));
    EXPECT_EQ(CountOf(channels, TStatKey::FromK(3)), 2);

    auto values = Create("TstChanValues");
    EXPECT_EQ(Texts(*values, DrawValues(*values, 0, true)),
              (std::vector<std::string>{"01 [1-5] x 1", "02 [6-10] x 1", "03 [11-15] x 2",
                                        "04 [16-20] x 0", "05 [21-25] x 0", "06 [26-30] x 0",
                                        "07 [31-35] x 0", "08 [36-40] x 1", "09 [41-45] x 1"}));

    auto count = Create("TstChanCount");
    EXPECT_EQ(dynamic_cast<TCustomGraphStat&>(*count).GraphValueOfDraw(0, 0, false), 5);
    EXPECT_EQ(CountOf(DrawValues(*count, 0, false), TStatKey::FromK(5)), 1);
    auto third = Create("TstChnValCnt", 3);
    EXPECT_EQ(dynamic_cast<TCustomGraphStat&>(*third).GraphValueOfDraw(0, 0, false), 2);

    auto seq = Create("TstCombChnSeq2");
    EXPECT_EQ(Texts(*seq, DrawValues(*seq, 0, true)),
              (std::vector<std::string>{"1:2", "2:3", "3:3", "3:8", "8:9"}));
    // In drawn order the neighbours differ: 40, 3, 12, 8, 45, 14.
    EXPECT_EQ(Texts(*seq, DrawValues(*seq, 0, false)),
              (std::vector<std::string>{"8:1", "1:3", "3:2", "2:9", "9:3"}));
}

TEST_F(ChannelStats, MixTakesEverySubsetInLexicographicOrder) {
    AddDraw({1, 6, 11, 16, 21, 26}); // channels 1..6
    auto mix3 = Create("TstCombChnMix3");
    const std::vector<std::string> texts = Texts(*mix3, DrawValues(*mix3, 0, true));
    ASSERT_EQ(texts.size(), 20u);
    EXPECT_EQ(texts.front(), "1:2:3");
    EXPECT_EQ(texts[1], "1:2:4");
    EXPECT_EQ(texts.back(), "4:5:6");
    EXPECT_EQ(DrawValues(*Create("TstCombChnMix2"), 0, true).size(), 15u);
    EXPECT_EQ(DrawValues(*Create("TstCombChnMix4"), 0, true).size(), 15u);
    EXPECT_EQ(DrawValues(*Create("TstCombChnSeq4"), 0, true).size(), 3u);
    // The same pair twice counts twice.
    AddDraw({1, 2, 3, 4, 5, 45});
    auto mix2 = Create("TstCombChnMix2");
    EXPECT_EQ(CountOf(DrawValues(*mix2, 1, true), TStatKey::FromK(1, 1)), 10);
    EXPECT_TRUE(Test(*mix2, Select({TStatKey::FromK(1, 9)}), {1, 2, 3, 4, 5, 45}));
    EXPECT_FALSE(Test(*mix2, Select({TStatKey::FromK(9, 1)}), {1, 2, 3, 4, 5, 45}));
}

TEST_F(ChannelStats, ChannelTextsAndReadingThemBack) {
    auto chan = Create("TstChannels");
    EXPECT_EQ(chan->TextToValue("03 [11-15]"), 3);
    EXPECT_EQ(chan->TextToValue("12"), 12);
    EXPECT_EQ(chan->TextToScalar("09 [41-45]"), 9);
    EXPECT_EQ(Create("TstChanValues")->TextToScalar("03 [11-15] x 2"), 0);
    list_.Config.ChannelSize = 7;
    EXPECT_EQ(Text(*Create("TstChannels"), TStatKey::FromK(7)), "07 [43-49]");
}

TEST_F(ChannelStats, PreFilledDomains) {
    AddDraw({1, 6, 11, 16, 21, 26}); // six channels
    auto count = Create("TstChanCount");
    EXPECT_EQ(Texts(*count, WindowValues(*count, 0, 0, false)),
              (std::vector<std::string>{"1", "2", "3", "4", "5", "6"}));
    EXPECT_EQ(WindowValues(*count, 0, -1, false).size(), 5u); // 1..min(5, 6)

    auto seventh = Create("TstChnValCnt", 7); // 31-35: no number of the draw
    EXPECT_EQ(Texts(*seventh, WindowValues(*seventh, 0, 0, false)),
              (std::vector<std::string>{"1", "2", "3", "4", "5", "0"}));

    EXPECT_EQ(WindowValues(*Create("TstChannels"), 0, -1, false).size(), 9u);
    EXPECT_EQ(WindowValues(*Create("TstChanValues"), 0, -1, false).size(), 9u * 6u);
    EXPECT_TRUE(WindowValues(*Create("TstCombChnMix2"), 0, -1, false).empty());
}

TEST_F(ChannelStats, ParametersAreCopiedWhenTheStatisticIsCreated) {
    AddDraw({7, 8, 9, 10, 11, 12});
    auto before = Create("TstChannels");
    list_.Config.ChannelSize = 7;
    list_.Build();
    auto after = Create("TstChannels");
    EXPECT_EQ(CountOf(DrawValues(*before, 0, true), TStatKey::FromK(2)), 4); // 7..10 in 6-10
    EXPECT_EQ(CountOf(DrawValues(*after, 0, true), TStatKey::FromK(1)), 1);  // 7 in 1-7
    EXPECT_EQ(CountOf(DrawValues(*after, 0, true), TStatKey::FromK(2)), 5);  // 8..12 in 8-14
    EXPECT_EQ(WindowValues(*after, 0, -1, false).size(), 7u);
    EXPECT_EQ(WindowValues(*Create("TstChanValues"), 0, -1, false).size(), 7u * 7u);
}

TEST_F(ChannelStats, SelectingAnEmptyChannelKeepsCombinationsAvoidingIt) {
    auto values = Create("TstChanValues");
    const TStatSelection empty4 = Select({TStatKey::FromK(4, 0)});
    EXPECT_TRUE(Test(*values, empty4, {1, 2, 3, 4, 5, 6}));
    EXPECT_FALSE(Test(*values, empty4, {1, 2, 3, 4, 5, 16}));
    EXPECT_EQ(KeptOfAll(*values, empty4), Binomial(40, 6));
}

// Over all combinations, channel c of width w holds k numbers in C(w, k) * C(45 - w, 6 - k)
// of them; width 7 leaves a last channel of three numbers.
TEST_F(ChannelStats, DistributionOverAllCombinationsFollowsTheBinomials) {
    list_.Config.ChannelSize = 7;
    auto values = Create("TstChanValues");
    TStatDrawList all;
    ForEachCombination([&](const TComb& c) { values->ComputeForCombination(c, all); });
    for (int channel = 1; channel <= 7; ++channel) {
        const int width = channel < 7 ? 7 : 3;
        std::int64_t total = 0;
        for (int k = 0; k <= std::min(width, 6); ++k) {
            const int count = CountOf(all, TStatKey::FromK(channel, k));
            EXPECT_EQ(count, Binomial(width, k) * Binomial(LOTTO_MAX - width, LOTTO_COUNT - k))
                << "channel " << channel << " count " << k;
            total += count;
        }
        EXPECT_EQ(total, COMBS_TOTAL);
    }
    EXPECT_EQ(CountOf(all, TStatKey::FromK(7, 4)), -1); // three numbers never make four
}

TEST_F(ChannelStats, ChannelCountDistributionIsSymmetricInTheChannels) {
    auto first = Create("TstChnValCnt", 1);
    auto last = Create("TstChnValCnt", 9);
    TStatDrawList a, b;
    ForEachCombination([&](const TComb& c) {
        first->ComputeForCombination(c, a);
        last->ComputeForCombination(c, b);
    });
    for (int k = 0; k <= 5; ++k)
        EXPECT_EQ(CountOf(a, TStatKey::FromK(k)), CountOf(b, TStatKey::FromK(k))) << k;
    EXPECT_EQ(CountOf(a, TStatKey::FromK(5)), Binomial(40, 1));
}

// Parameters set in memory outside their dialog ranges (no channels, no columns, segment 0)
// must not divide by zero or read outside the tables, in any statistic of the geometry
// families.
TEST_F(ChannelStats, DegenerateParametersNeitherCrashNorDivideByZero) {
    AddDraw({3, 8, 12, 14, 40, 45});
    AddDraw({0, 46, 70, 255, 1, 2});
    list_.Config.ChannelSize = 0;
    list_.Config.MatrixCols = 0;
    list_.Config.Segments.fill(0);
    const TStatClassTable& classes = StandardStatClasses();
    for (std::size_t i = 0; i < classes.size(); ++i) {
        const TStatClassInfo& info = classes[i];
        if (info.GetGroup() < sgChannels || info.GetGroup() > sgSequences) continue;
        SCOPED_TRACE(info.Name);
        auto stat = info.New(list_, 1);
        TStatDrawList values;
        TStatWorkArea work;
        TLastValueArray last;
        stat->FillAllValues(1, values);
        stat->ComputeForDraw(0, 1, false, values, work, last);
        stat->ComputeForDraw(1, 1, false, values, work, last);
        for (const TStatDraw& v : values)
            (void)stat->ValueToText(v);
        const TStatSelection selection(values.Items());
        stat->SelectDraws(-1, 1, false);
        stat->PrepareTest(selection, 1, false, false);
        // The second draw's own values are selected, so it passes as a combination too.
        if (!values.empty()) {
            EXPECT_EQ(
                stat->TestCombination(Comb({0, 46, 70, 255, 1, 2}), selection, 1, false, false),
                !DrawValues(*stat, 1, false).empty());
        }
        const TComb combs[2] = {Comb({1, 2, 3, 4, 5, 6}), Comb({0, 46, 70, 255, 1, 2})};
        TStatDrawList all;
        stat->ComputeForCombinations(combs, 2, all);
    }
}

class ChannelSelections : public testing::TestWithParam<std::tuple<const char*, int, int>> {};

TEST_P(ChannelSelections, TestAgreesWithTheComputedValues) {
    const auto [name, type, width] = GetParam();
    TConfigData config;
    config.ChannelSize = width;
    test::ExpectTestMatchesValues(config, name, type);
}

INSTANTIATE_TEST_SUITE_P(
    Families, ChannelSelections,
    testing::Combine(testing::Values("TstChannels", "TstChanValues", "TstChanCount",
                                     "TstCombChnMix2", "TstCombChnMix3", "TstCombChnMix4",
                                     "TstCombChnSeq2", "TstCombChnSeq3", "TstCombChnSeq4"),
                     testing::Values(0), testing::Values(5, 7, 3)));

TEST(ChannelBatches, RunsOfCombinationsCountAsOneByOne) {
    TConfigData config;
    for (int width : {5, 7, 3}) {
        config.ChannelSize = width;
        for (const char* name : {"TstChannels", "TstChanValues", "TstChanCount"})
            test::ExpectBatchMatchesSingle(config, name);
        test::ExpectBatchMatchesSingle(config, "TstChnValCnt", 2);
    }
}

INSTANTIATE_TEST_SUITE_P(Typed, ChannelSelections,
                         testing::Values(std::make_tuple("TstChnValCnt", 2, 5),
                                         std::make_tuple("TstChnValCnt", 7, 7)));

} // namespace
} // namespace pelko
