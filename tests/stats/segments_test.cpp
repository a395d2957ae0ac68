#include "core/arithmetic.h"
#include "core/segments.h"
#include "family_fixture.h"
#include "selection_check.h"
#include "stats/stat_class.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace pelko {
namespace {

using test::FamilyTest;
using test::ForEachCombination;
using Texts_ = std::vector<std::string>;

// Numbers 1..15 in segment 1, 16..30 in 2, 31..45 in 3.
TSegments ThreeThirds() {
    return TextToSegments(std::string(15, '1') + std::string(15, '2') + std::string(15, '3'));
}

using test::ClassRow;

class SegmentClasses : public testing::TestWithParam<ClassRow> {};

TEST_P(SegmentClasses, CodeCaptionGroupAndFlags) { test::ExpectClassRow(GetParam(), sgSegments); }

INSTANTIATE_TEST_SUITE_P(
    Registry, SegmentClasses,
    testing::Values(
        ClassRow{"TstSegments", 0, "SGMS", "Сегменты матрицы", "N", true},
        ClassRow{"TstSegmValues", 0, "SGMV", "Количество чисел в сегменте матрицы", "N", false},
        ClassRow{"TstSegmCount", 0, "SGMC", "Количество не пустых сегментов в матрице", "NG", true},
        ClassRow{"TstSgmValCnt", 2, "SGM2", "Количество чисел в 2 сегменте матрицы", "NG", true},
        ClassRow{"TstCombSegmMix2", 0, "KGM2", "Сочетания из 2 сегментов по всем числам тиража",
                 "S", false},
        ClassRow{"TstCombSegmSeq4", 0, "KGS4", "Сочетания из 4 сегментов по соседним числам", "S",
                 false}));

std::vector<std::string> GroupCodes(const TStatList& list) {
    return test::GroupCodes(list, sgSegments);
}

TEST(SegmentRegistry, TypesRunFromTheSmallestToTheLargestSegment) {
    TStatList list;
    list.Build();
    EXPECT_EQ(GroupCodes(list), (Texts_{"SGMS", "SGMV", "SGMC", "KGM2", "KGM3", "KGM4", "KGS2",
                                        "KGS3", "KGS4", "SGM1"}));
    list.Config.Segments = TextToSegments(std::string(20, '4') + std::string(25, '7'));
    list.Build();
    const Texts_ codes = GroupCodes(list);
    EXPECT_EQ(Texts_(codes.begin() + 9, codes.end()), (Texts_{"SGM4", "SGM5", "SGM6", "SGM7"}));
    EXPECT_EQ(StandardStatClasses().FindByName("TstSgmValCnt")->GetFamilyCode(), "SGMx");
}

class SegmentStats : public FamilyTest {};

TEST_F(SegmentStats, DefaultMapHasOneSegment) {
    AddDraw({3, 11, 17, 28, 40, 45});
    auto segments = Create("TstSegments");
    const TStatDrawList window = WindowValues(*segments, 0, 0, false);
    ASSERT_EQ(window.size(), 1u);
    EXPECT_EQ(window[0].Count, 6);
    auto values = Create("TstSegmValues");
    EXPECT_EQ(Texts(*values, DrawValues(*values, 0, false)), Texts_{"1 x 6"});
    EXPECT_EQ(
        dynamic_cast<TCustomGraphStat&>(*Create("TstSegmCount")).GraphValueOfDraw(0, 0, false), 1);
    EXPECT_EQ(
        dynamic_cast<TCustomGraphStat&>(*Create("TstSgmValCnt", 1)).GraphValueOfDraw(0, 0, false),
        6);
}

TEST_F(SegmentStats, WorkedDrawOfThreeSegments) {
    list_.Config.Segments = ThreeThirds();
    AddDraw({2, 17, 18, 33, 40, 44});
    auto segments = Create("TstSegments");
    const TStatDrawList values = DrawValues(*segments, 0, false);
    EXPECT_EQ(CountOf(values, TStatKey::FromK(1)), 1);
    EXPECT_EQ(CountOf(values, TStatKey::FromK(2)), 2);
    EXPECT_EQ(CountOf(values, TStatKey::FromK(3)), 3);
    auto counts = Create("TstSegmValues");
    EXPECT_EQ(Texts(*counts, DrawValues(*counts, 0, false)), (Texts_{"1 x 1", "2 x 2", "3 x 3"}));
    EXPECT_EQ(
        dynamic_cast<TCustomGraphStat&>(*Create("TstSegmCount")).GraphValueOfDraw(0, 0, false), 3);
    EXPECT_EQ(
        dynamic_cast<TCustomGraphStat&>(*Create("TstSgmValCnt", 2)).GraphValueOfDraw(0, 0, false),
        2);
    auto seq = Create("TstCombSegmSeq2");
    const TStatDrawList pairs = DrawValues(*seq, 0, false);
    EXPECT_EQ(Texts(*seq, pairs), (Texts_{"1:2", "2:2", "2:3", "3:3"}));
    EXPECT_EQ(CountOf(pairs, TStatKey::FromK(3, 3)), 2);
    EXPECT_TRUE(Test(*seq, Select({TStatKey::FromK(2, 3)}), {2, 17, 18, 33, 40, 44}));
    EXPECT_FALSE(Test(*seq, Select({TStatKey::FromK(1, 3)}), {2, 17, 18, 33, 40, 44}));
    auto mix = Create("TstCombSegmMix2");
    EXPECT_TRUE(Test(*mix, Select({TStatKey::FromK(1, 3)}), {2, 17, 18, 33, 40, 44}));
}

TEST_F(SegmentStats, DomainFollowsTheFirstNumberOfEachSegment) {
    // 1..10 in segment 5, 11..30 in 2, 31..45 in 8: the domain is 5, 2, 8.
    list_.Config.Segments =
        TextToSegments(std::string(10, '5') + std::string(20, '2') + std::string(15, '8'));
    AddDraw({1, 2, 3, 4, 5, 6});
    auto segments = Create("TstSegments");
    EXPECT_EQ(Texts(*segments, WindowValues(*segments, 0, -1, false)), (Texts_{"5", "2", "8"}));
    auto counts = Create("TstSegmValues");
    EXPECT_TRUE(WindowValues(*counts, 0, -1, false).empty());
    EXPECT_EQ(Texts(*counts, DrawValues(*counts, 0, false)), (Texts_{"5 x 6", "2 x 0", "8 x 0"}));
    EXPECT_TRUE(Test(*counts, Select({TStatKey::FromK(8, 0)}), {1, 2, 3, 4, 5, 6}));
    EXPECT_FALSE(Test(*counts, Select({TStatKey::FromK(8, 0)}), {1, 2, 3, 4, 5, 45}));
    EXPECT_TRUE(WindowValues(*Create("TstSegmCount"), 0, -1, false).empty());
    EXPECT_TRUE(WindowValues(*Create("TstSgmValCnt", 5), 0, -1, false).empty());
    // A segment number between the smallest and largest that no number has counts 0.
    EXPECT_EQ(
        dynamic_cast<TCustomGraphStat&>(*Create("TstSgmValCnt", 3)).GraphValueOfDraw(0, 0, false),
        0);
}

TEST_F(SegmentStats, ParameterChangeAndRebuildChangeTheValues) {
    AddDraw({2, 17, 18, 33, 40, 44});
    auto before = Create("TstSegmCount");
    list_.Config.Segments = ThreeThirds();
    list_.Build();
    auto after = Create("TstSegmCount");
    EXPECT_EQ(dynamic_cast<TCustomGraphStat&>(*before).GraphValueOfDraw(0, 0, false), 1);
    EXPECT_EQ(dynamic_cast<TCustomGraphStat&>(*after).GraphValueOfDraw(0, 0, false), 3);
    EXPECT_GE(list_.IndexOfCode("SGM3"), 0);
    EXPECT_LT(list_.IndexOfCode("SGM4"), 0);
}

// Over all combinations: a segment of w numbers holds k of the six in C(w, k) * C(45 - w, 6 - k).
TEST_F(SegmentStats, CountsOverAllCombinationsFollowTheBinomials) {
    list_.Config.Segments = TextToSegments(std::string(9, '1') + std::string(36, '2'));
    auto counts = Create("TstSegmValues");
    auto used = Create("TstSegmCount");
    TStatDrawList all, usedAll;
    ForEachCombination([&](const TComb& c) {
        counts->ComputeForCombination(c, all);
        used->ComputeForCombination(c, usedAll);
    });
    for (int k = 0; k <= 6; ++k) {
        EXPECT_EQ(CountOf(all, TStatKey::FromK(1, k)), Binomial(9, k) * Binomial(36, 6 - k)) << k;
        EXPECT_EQ(CountOf(all, TStatKey::FromK(2, k)), Binomial(36, k) * Binomial(9, 6 - k)) << k;
    }
    EXPECT_EQ(CountOf(usedAll, TStatKey::FromK(1)), Binomial(9, 6) + Binomial(36, 6));
    EXPECT_EQ(CountOf(usedAll, TStatKey::FromK(2)), COMBS_TOTAL - Binomial(9, 6) - Binomial(36, 6));
}

class SegmentSelections : public testing::TestWithParam<std::tuple<const char*, int, const char*>> {
};

TEST_P(SegmentSelections, TestAgreesWithTheComputedValues) {
    const auto [name, type, map] = GetParam();
    TConfigData config;
    config.Segments = TextToSegments(map);
    test::ExpectTestMatchesValues(config, name, type);
}

constexpr const char* MIXED_MAP = "123456789987654321135792468246813579111222333";

INSTANTIATE_TEST_SUITE_P(
    Families, SegmentSelections,
    testing::Combine(testing::Values("TstSegments", "TstSegmValues", "TstSegmCount",
                                     "TstCombSegmMix2", "TstCombSegmMix3", "TstCombSegmMix4",
                                     "TstCombSegmSeq2", "TstCombSegmSeq3", "TstCombSegmSeq4"),
                     testing::Values(0), testing::Values("", MIXED_MAP)));

TEST(SegmentBatches, RunsOfCombinationsCountAsOneByOne) {
    TConfigData config;
    for (const char* map : {"", MIXED_MAP}) {
        config.Segments = TextToSegments(map);
        for (const char* name : {"TstSegments", "TstSegmValues", "TstSegmCount"})
            test::ExpectBatchMatchesSingle(config, name);
        test::ExpectBatchMatchesSingle(config, "TstSgmValCnt", 2);
    }
}

INSTANTIATE_TEST_SUITE_P(Typed, SegmentSelections,
                         testing::Values(std::make_tuple("TstSgmValCnt", 4, MIXED_MAP),
                                         std::make_tuple("TstSgmValCnt", 1, "")));

} // namespace
} // namespace pelko
