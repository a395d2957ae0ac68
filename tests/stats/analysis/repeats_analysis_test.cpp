#include "stats/analysis/repeats_analysis.h"
#include "stats/analysis/sum_distribution.h"

#include "../test_stats.h"

#include <gtest/gtest.h>

namespace pelko::test {
namespace {

TDrawsArray RepeatDraws() {
    return {MakeDraw(100, {1, 2, 3, 4, 5, 6}), MakeDraw(101, {1, 2, 10, 11, 12, 13}),
            MakeDraw(102, {1, 2, 20, 21, 22, 23}), MakeDraw(103, {1, 2, 3, 30, 31, 32})};
}

// Rows of a draw in the order their match counts were met going back; draw lists newest
// first; one series per match count, the first one empty here.
TEST(RepeatsAnalysis, NewestDrawAgainstThreeEarlierOnes) {
    int steps = 0;
    const TRepeatsAnalysis r = AnalyzeRepeats(RepeatDraws(), 1, 3, [&] { ++steps; });
    ASSERT_EQ(r.Rows.size(), 2u);
    EXPECT_EQ(r.Rows[0].DrawNumber, 103);
    EXPECT_EQ(r.Rows[0].Matches, 2);
    EXPECT_EQ(r.Rows[0].Count, 2);
    EXPECT_EQ(RepeatDrawsText(r.Rows[0]), "102 101");
    EXPECT_EQ(r.Rows[1].Matches, 3);
    EXPECT_EQ(RepeatDrawsText(r.Rows[1]), "100");
    EXPECT_EQ(steps, 1);
    const auto series = r.Series();
    ASSERT_EQ(series.size(), 3u);
    EXPECT_TRUE(series[0].empty());
    EXPECT_EQ(series[1].size(), 1u);
}

// Deep beyond the archive compares with everything; the oldest draw yields no rows; the
// series run from the oldest analysed draw to the newest.
TEST(RepeatsAnalysis, DeepBeyondTheArchiveAndSeriesOrder) {
    const TRepeatsAnalysis r = AnalyzeRepeats(RepeatDraws(), 100, 100);
    EXPECT_EQ(r.Rows.back().DrawNumber, 101);
    const auto series = r.Series();
    ASSERT_EQ(series[1].size(), 3u);
    EXPECT_EQ(series[1].front().DrawNumber, 101);
    EXPECT_EQ(series[1].back().DrawNumber, 103);
    EXPECT_TRUE(AnalyzeRepeats({}, 10, 10).Rows.empty());
}

TEST(SumDistribution, AllCombinationsAndTheThreeRanges) {
    const TSumDistribution d = ComputeSumDistribution({});
    ASSERT_EQ(d.Combinations.size(), 235u);
    std::int64_t total = 0;
    for (const TStatSimple& q : d.Combinations) total += q.Count;
    EXPECT_EQ(total, COMBS_TOTAL);
    EXPECT_EQ(d.Combinations.front().Key, 21);
    EXPECT_EQ(d.Combinations[1].Count, 1);
    EXPECT_EQ(d.Combinations[138 - 21].Count, 105690);
    EXPECT_EQ(d.MaxCombinations, 105690);
    EXPECT_EQ(d.MinCombinations, 1);
    const int expected[3][3] = {{35231, 93, 183}, {52846, 102, 174}, {70461, 110, 166}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(d.Levels[i].Level, expected[i][0]);
        EXPECT_EQ(d.Levels[i].Left, expected[i][1]);
        EXPECT_EQ(d.Levels[i].Right, expected[i][2]);
    }
    EXPECT_EQ(SumLevelTitle(d, 0), "Диапазон 1 (от 1/3 и выше по оси Y) - суммы 93-183");
    // No draws: the theoretical curve lies at 0.
    EXPECT_EQ(d.MaxDraws, 0);
    EXPECT_EQ(d.Scaled(105690), 0);
}

TEST(SumDistribution, DrawsBySumScaleTheCurve) {
    const TSumDistribution d = ComputeSumDistribution(
        {MakeDraw(1, {1, 2, 3, 4, 5, 6}), MakeDraw(2, {40, 41, 42, 43, 44, 45}),
         MakeDraw(3, {1, 2, 3, 4, 5, 6})});
    ASSERT_EQ(d.Draws.size(), 2u);
    EXPECT_EQ(d.Draws[0].Key, 21);
    EXPECT_EQ(d.DrawsWithSum(21), 2);
    EXPECT_EQ(d.DrawsWithSum(255), 1);
    EXPECT_EQ(d.DrawsWithSum(100), 0);
    EXPECT_DOUBLE_EQ(d.Scaled(105690), 2.0);
}

} // namespace
} // namespace pelko::test
