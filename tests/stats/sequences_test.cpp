#include "core/arithmetic.h"
#include "family_fixture.h"
#include "selection_check.h"
#include "stats/stat_class.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace pelko {
namespace {

using test::FamilyTest;
using test::ForEachCombination;
using Texts_ = std::vector<std::string>;

using test::ClassRow;

class SequenceClasses : public testing::TestWithParam<ClassRow> {};

TEST_P(SequenceClasses, CodeCaptionGroupAndFlags) {
    test::ExpectClassRow(GetParam(), sgSequences);
    EXPECT_FALSE(StandardStatClasses().FindByName(GetParam().Name)->HasTypes());
}

INSTANTIATE_TEST_SUITE_P(
    Registry, SequenceClasses,
    testing::Values(
        ClassRow{"TstSequenceLen", 0, "SEQL", "Длина последовательности в тираже", "SN", true},
        ClassRow{"TstSequenceCnt", 0, "SEQS", "Количество последовательностей в тираже", "SNG", true},
        ClassRow{"TstSequenceLenMax", 0, "LENS", "Макс. длина последовательности в тираже", "SNG", true}));

TEST(SequenceRegistry, TheFamilyFollowsTheSegmentsInTableOrder) {
    TStatList list;
    list.Build();
    const int at = list.IndexOfCode("SEQL");
    ASSERT_GT(at, 0);
    EXPECT_EQ(list.MethodCode(list.Items(at - 1)), "SGMC");
    EXPECT_EQ(list.MethodCode(list.Items(at + 1)), "SEQS");
    EXPECT_EQ(list.MethodCode(list.Items(at + 2)), "LENS");
}

// Draw, then SEQL's lengths with their counts in order, SEQS and LENS.
struct RunsCase {
    std::vector<int> Nums;
    std::vector<std::pair<int, int>> Lengths;
    int Sequences;
    int Longest;
};

class SequenceRuns : public FamilyTest, public testing::WithParamInterface<RunsCase> {};
class SequenceStats : public FamilyTest {};

TEST_P(SequenceRuns, LengthsCountAndLongest) {
    const RunsCase& c = GetParam();
    draws_.push_back(
        test::MakeDraw(1, {c.Nums[0], c.Nums[1], c.Nums[2], c.Nums[3], c.Nums[4], c.Nums[5]}));
    auto len = Create("TstSequenceLen");
    const TStatDrawList lengths = DrawValues(*len, 0, false);
    ASSERT_EQ(lengths.size(), c.Lengths.size());
    for (std::size_t i = 0; i < lengths.size(); ++i) {
        EXPECT_EQ(lengths[i].Key.K(1), c.Lengths[i].first);
        EXPECT_EQ(lengths[i].Count, c.Lengths[i].second);
    }
    auto cnt = Create("TstSequenceCnt");
    auto lens = Create("TstSequenceLenMax");
    EXPECT_EQ(Texts(*cnt, DrawValues(*cnt, 0, false)), Texts_{std::to_string(c.Sequences)});
    EXPECT_EQ(Texts(*lens, DrawValues(*lens, 0, false)), Texts_{std::to_string(c.Longest)});
    EXPECT_EQ(dynamic_cast<TCustomGraphStat&>(*cnt).GraphValueOfDraw(0, 0, false), c.Sequences);
    EXPECT_EQ(dynamic_cast<TCustomGraphStat&>(*lens).GraphValueOfDraw(0, 0, false), c.Longest);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, SequenceRuns,
    testing::Values(RunsCase{{1, 2, 3, 10, 20, 21}, {{3, 1}, {1, 1}, {2, 1}}, 2, 3},
                    RunsCase{{5, 12, 19, 26, 33, 40}, {{1, 6}}, 0, 1},
                    RunsCase{{1, 2, 4, 5, 7, 8}, {{2, 3}}, 3, 2},
                    RunsCase{{40, 41, 42, 43, 44, 45}, {{6, 1}}, 1, 6},
                    RunsCase{{9, 10, 30, 31, 32, 33}, {{2, 1}, {4, 1}}, 2, 4}));

TEST_F(SequenceStats, DrawnOrderStepsOnlyUpwardInTheTableButBothWaysInTheGraph) {
    AddDraw({21, 20, 7, 30, 31, 2}); // drawn order: 21 > 20 is no step; 30, 31 is one
    auto cnt = Create("TstSequenceCnt");
    auto lens = Create("TstSequenceLenMax");
    EXPECT_EQ(Texts(*cnt, DrawValues(*cnt, 0, false)), Texts_{"1"});
    EXPECT_EQ(dynamic_cast<TCustomGraphStat&>(*cnt).GraphValueOfDraw(0, 0, false), 2);
    EXPECT_EQ(Texts(*cnt, DrawValues(*cnt, 0, true)), Texts_{"2"}); // 2, 7, 20, 21, 30, 31
    EXPECT_EQ(Texts(*lens, DrawValues(*lens, 0, false)), Texts_{"2"});
    AddDraw({33, 32, 31, 30, 1, 10});
    EXPECT_EQ(Texts(*lens, DrawValues(*lens, 1, false)), Texts_{"1"});
    EXPECT_EQ(dynamic_cast<TCustomGraphStat&>(*lens).GraphValueOfDraw(1, 0, false), 4);
}

TEST_F(SequenceStats, PreFilledValues) {
    auto len = Create("TstSequenceLen");
    EXPECT_EQ(Texts(*len, WindowValues(*len, 0, -1, false)),
              (Texts_{"1", "2", "3", "4", "5", "6"}));
    auto cnt = Create("TstSequenceCnt");
    EXPECT_EQ(Texts(*cnt, WindowValues(*cnt, 0, -1, false)), (Texts_{"0", "1", "2", "3"}));
    auto lens = Create("TstSequenceLenMax");
    EXPECT_EQ(WindowValues(*lens, 0, -1, false).size(), 6u);
    EXPECT_TRUE(Test(*len, Select({TStatKey::FromK(3)}), {1, 2, 3, 10, 20, 21}));
    EXPECT_FALSE(Test(*len, Select({TStatKey::FromK(4)}), {1, 2, 3, 10, 20, 21}));
}

// Over all combinations: combinations without two consecutive numbers are C(40, 6), a run
// of all six starts at 1..40, and the runs' lengths add up to six per combination.
TEST_F(SequenceStats, DistributionsOverAllCombinations) {
    auto len = Create("TstSequenceLen");
    auto cnt = Create("TstSequenceCnt");
    auto lens = Create("TstSequenceLenMax");
    TStatDrawList lengths, counts, longest;
    ForEachCombination([&](const TComb& c) {
        len->ComputeForCombination(c, lengths);
        cnt->ComputeForCombination(c, counts);
        lens->ComputeForCombination(c, longest);
    });
    EXPECT_EQ(CountOf(counts, TStatKey::FromK(0)), Binomial(40, 6));
    EXPECT_EQ(CountOf(longest, TStatKey::FromK(1)), Binomial(40, 6));
    EXPECT_EQ(CountOf(longest, TStatKey::FromK(6)), 40);
    EXPECT_EQ(CountOf(lengths, TStatKey::FromK(6)), 40);
    std::int64_t numbers = 0, total = 0;
    for (const TStatDraw& v : lengths)
        numbers += static_cast<std::int64_t>(v.Key.K(1)) * v.Count;
    for (const TStatDraw& v : counts)
        total += v.Count;
    EXPECT_EQ(numbers, 6 * COMBS_TOTAL);
    EXPECT_EQ(total, COMBS_TOTAL);
    // Three separate pairs a, a+1 < b, b+1 < c, c+1: moving the second pair down by 2 and the
    // third by 4 maps them one to one onto the 3-subsets of 1..40.
    EXPECT_EQ(CountOf(counts, TStatKey::FromK(3)), Binomial(40, 3));
}

TEST(SequenceBatches, RunsOfCombinationsCountAsOneByOne) {
    for (const char* name : {"TstSequenceLen", "TstSequenceCnt", "TstSequenceLenMax"})
        test::ExpectBatchMatchesSingle(TConfigData{}, name);
}

class SequenceSelections : public testing::TestWithParam<const char*> {};

TEST_P(SequenceSelections, TestAgreesWithTheComputedValues) {
    test::ExpectTestMatchesValues(TConfigData{}, GetParam());
}

INSTANTIATE_TEST_SUITE_P(Families, SequenceSelections,
                         testing::Values("TstSequenceLen", "TstSequenceCnt", "TstSequenceLenMax"));

} // namespace
} // namespace pelko
