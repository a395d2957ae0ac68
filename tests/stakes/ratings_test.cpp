#include "core/arithmetic.h"
#include "core/codec.h"
#include "stake_fixtures.h"
#include "stakes/rating_view.h"
#include "stakes/ratings.h"
#include "stakes/result_graphs.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <unordered_map>

namespace pelko {
namespace {

TStakeData Settled(const std::string& comment, int m, TMoney profit) {
    TStakeData s = test::MakeStake(1, {1, 2, 3, 4, 5, 6}, comment, profit);
    s.Checked = 1;
    s.Matches.Count = m;
    return s;
}

TRatingData Row(const std::string& comment, std::uint32_t stakes, std::uint32_t matched,
                TMoney profit) {
    TRatingData r;
    r.SetCommentText(comment);
    r.Stakes = stakes;
    r.Matched = matched;
    r.Profit = profit;
    return r;
}

TEST(Ratings, CommentsMeetWithoutRegardToCaseAndKeepTheFirstSpelling) {
    TRatings ratings;
    ratings.AddStake(Settled("abc", 0, MoneyFromDouble(-100)));
    ratings.AddStake(Settled("ABC", 3, MoneyFromDouble(400)));
    ratings.AddStake(Settled("Ёж Прогноз", 1, 0));
    ratings.AddStake(Settled("ёж прогноз", 1, 0));
    ratings.AddStake(Settled("unchecked", -1, 0));
    ratings.AddStake(Settled("damaged", 9, 0));
    ASSERT_EQ(ratings.Count(), 2u);
    EXPECT_EQ(ratings[0].CommentText(), "abc");
    EXPECT_EQ(ratings[0].Stakes, 2u);
    EXPECT_EQ(ratings[0].Matched, 3u);
    EXPECT_EQ(ratings[0].Hits[0], 1u);
    EXPECT_EQ(ratings[0].Hits[3], 1u);
    EXPECT_EQ(ratings[0].Profit, MoneyFromDouble(300));
    EXPECT_EQ(ratings[1].CommentText(), "Ёж Прогноз");
    EXPECT_EQ(ratings[1].Stakes, 2u);
}

TEST(Ratings, TheFirstOfEqualRowsGrowsAlsoAfterSorting) {
    TRatings ratings;
    ratings.Assign({Row("x", 1, 0, 0), Row("dup", 5, 5, 0), Row("DUP", 1, 1, 0)});
    ratings.AddStake(Settled("Dup", 1, 0));
    EXPECT_EQ(ratings[1].Stakes, 6u);
    EXPECT_EQ(ratings[2].Stakes, 1u);
    ratings.Sort(rcStakes, false); // DUP (1), x (1), dup (6) or x first: both 1 stake
    ratings.AddStake(Settled("dup", 1, 0));
    std::uint32_t grown = 0;
    for (std::size_t i = 0; i < ratings.Count(); ++i)
        if (ratings[i].CommentText() == "DUP" || ratings[i].CommentText() == "dup")
            grown += ratings[i].Stakes;
    EXPECT_EQ(grown, 8u);
    // The one that grew is the first of the two in display order.
    for (std::size_t i = 0; i < ratings.Count(); ++i)
        if (ratings[i].CommentText() == "DUP" || ratings[i].CommentText() == "dup") {
            EXPECT_EQ(ratings[i].Stakes, 2u) << "first in display order";
            break;
        }
}

TEST(Ratings, SortingByAverageTreatsNearAveragesAsEqualAndRowsWithoutStakesAsAnyOrder) {
    // 0.3331 and 0.3334 differ by less than half a hundredth: equal.
    EXPECT_EQ(CompareRatings(Row("a", 10000, 3331, 0), Row("b", 10000, 3334, 0), rcAverage), 0);
    EXPECT_LT(CompareRatings(Row("a", 100, 30, 0), Row("b", 100, 40, 0), rcAverage), 0);
    EXPECT_EQ(CompareRatings(Row("a", 0, 0, 0), Row("b", 100, 40, 0), rcStakes), 0);
    EXPECT_EQ(CompareRatings(Row("a", 1, 0, 0), Row("b", 100, 40, 0), rcExpected0 + 3), 0);
    EXPECT_GT(CompareRatings(Row("a", 1, 0, 1000), Row("b", 1, 0, 0), rcProfit), 0);
    EXPECT_EQ(CompareRatings(Row("a", 1, 0, 49), Row("b", 1, 0, 0), rcProfit), 0);

    TRatings ratings;
    ratings.Assign({Row("low", 10, 1, 0), Row("high", 10, 9, 0), Row("mid", 10, 5, 0)});
    ratings.Sort(rcAverage, true);
    EXPECT_EQ(ratings[0].CommentText(), "high");
    EXPECT_EQ(ratings[2].CommentText(), "low");

    // A comparison that is not a strict order must not break the sort.
    TRatingsArray many;
    for (int i = 0; i < 5000; ++i)
        many.push_back(Row("r" + std::to_string(i), i % 3 == 0 ? 0 : 1 + i % 17, i % 29, i));
    ratings.Assign(many);
    for (int c = 0; c < rcColumnCount; ++c) {
        ratings.Sort(c, c % 2 == 0);
        EXPECT_EQ(ratings.Count(), many.size());
    }
}

TEST(RatingView, EfficiencyColumnsFollowTheMatchDistribution) {
    const TExpectedMatches& e = ExpectedMatches();
    std::int64_t sum = 0;
    for (int i = 0; i <= 6; ++i) {
        EXPECT_EQ(e.Combs[i], CombsWithMatches(45, 6, i));
        EXPECT_DOUBLE_EQ(e.Probability[i],
                         static_cast<double>(CombsWithMatches(45, 6, i)) / 8145060.0);
        sum += e.Combs[i];
    }
    EXPECT_EQ(sum, 8145060);

    TRatingData row = Row("r", 10, 6, 0);
    row.Hits[2] = 3;
    EXPECT_EQ(RatingCellText(row, rcExpected0 + 2, emExpected), "2");
    EXPECT_EQ(RatingCellText(row, rcExpected0 + 2, emAbsolute), "14.853%");
    EXPECT_EQ(RatingCellText(row, rcExpected0 + 2, emRelative), "198.054%");
    EXPECT_EQ(RatingCellText(row, rcExpected0 + 6, emExpected), ""); // "%.d" of 0
    for (int i = 0; i <= 6; ++i) {
        const double p = static_cast<double>(CombsWithMatches(45, 6, i)) / 8145060.0;
        EXPECT_NEAR(*RatingEfficiency(row, i, emAbsolute), 100.0 * row.Hits[i] / 10 - 100 * p,
                    1e-9);
    }
    EXPECT_FALSE(RatingEfficiency(Row("z", 0, 0, 0), 2, emRelative));
}

TEST(RatingView, CellTextsOfARowWithOneLosingStake) {
    TRatings ratings;
    ratings.AddStake(Settled("c", 0, MoneyFromDouble(-100)));
    const TRatingData& r = ratings[0];
    const std::vector<std::string> expected = {"c",       "1", "0", "0.000", "-100.00",
                                               "-100.00", "1", "0", "0"};
    for (std::size_t c = 0; c < expected.size(); ++c)
        EXPECT_EQ(RatingCellText(r, static_cast<int>(c), emAbsolute), expected[c]) << c;
    const TRatingData empty = Row("e", 0, 0, 0);
    EXPECT_EQ(RatingCellText(empty, rcAverage, 1), "");
    EXPECT_EQ(RatingCellText(empty, rcAvgProfit, 1), "");
    EXPECT_EQ(RatingCellText(empty, rcExpected0, 1), "");
}

TEST(RatingView, CsvExportHasAllCaptionsAndThirteenFieldsPerRow) {
    TRatingData r = Row("Сценарий \"1\"", 4, 5, MoneyFromDouble(-250));
    r.Hits[1] = 3;
    r.Hits[2] = 1;
    const std::string csv = Cp1251ToUtf8(RatingsToCsv({r}, ','));
    EXPECT_EQ(csv, "\"Комментарий\";\"Ставок\";\"Угадано\";\"Среднее\";\"Профит\";\"Ср. профит\";"
                   "\"0\";\"1\";\"2\";\"3\";\"4\";\"5\";\"6\";\"E0\";\"E1\";\"E2\";\"E3\";\"E4\";"
                   "\"E5\";\"E6\"\r\n"
                   "\"Сценарий \"\"1\"\"\";4;5;1,250;-250,00;-62,50;0;3;1;0;0;0;0\r\n");
}

struct ScriptCase {
    const char* caption;
    const char* line;
};

class RatingToScript : public ::testing::TestWithParam<ScriptCase> {};

TEST_P(RatingToScript, CaptionBecomesAScenarioLine) {
    EXPECT_EQ(RatingCaptionToScriptLine(GetParam().caption), GetParam().line);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, RatingToScript,
    ::testing::Values(
        ScriptCase{
            "01.002: проба @ FULL#EXT + TSD#NUMS:1000#LMV:5#SF:1 + TSD#EVEN:100#LNO:#SF:1",
            "FULL#EXT|TSD#NUMS:1000#LMV:5#SF:1|TSD#EVEN:100#LNO:#SF:1| | | | | |01.002: проба"},
        ScriptCase{"01.002:@ EXCL:5#RAND#NEX + TSD#NUMS:10#LNO:#SF:1",
                   "EXCL:5#RAND#NEX|TSD#NUMS:10#LNO:#SF:1| | | | | | |01.002:"},
        ScriptCase{"Ставка \"вручную\"", "Ставка \"вручную\"| | | | | | | |"},
        ScriptCase{"a @ o + f1 + f2 + f3 + f4 + f5 + f6 + f7 + f8",
                   "o|f1|f2|f3|f4|f5|f6|f7|f8|a"}));

TEST(ResultGraphs, DistributionAgainstRandomPlayUsesTheLargestStakeCount) {
    TRatingData a = Row("a", 8145060, 0, 0), b = Row("B", 10, 0, 0);
    a.Hits[3] = 7;
    const TGraphData g = RatingsGraphOverlap({a, b});
    ASSERT_EQ(g.Series.size(), 3u);
    EXPECT_EQ(g.Series[0].Title, "Нормальные значения");
    EXPECT_EQ(g.Series[0].Points[3].Y, 182780);
    EXPECT_FALSE(g.Series[0].Marks);
    EXPECT_EQ(g.Series[1].Points[3].Y, 7);
    EXPECT_EQ(g.Series[2].Points.size(), 7u);
}

TEST(ResultGraphs, ProfitPerDrawCountsUncheckedStakesAndKeepsFirstSeenOrder) {
    std::string bytes;
    TStakesFile file;
    file.Attach(std::make_unique<test::TMemoryDevice>(&bytes));
    EXPECT_THROW(StakesGraphDraws(file), std::runtime_error);
    for (const auto& [draw, profit] :
         std::vector<std::pair<int, double>>{{5, -100}, {3, 400}, {5, -100}})
        file.Write(TSeekOrigin::End, 0,
                   test::MakeStake(draw, {1, 2, 3, 4, 5, 6}, "c", MoneyFromDouble(profit)));
    file.Write(TSeekOrigin::End, 0, MakeSeparator());
    const TGraphData g = StakesGraphDraws(file);
    ASSERT_EQ(g.Series.size(), 3u);
    ASSERT_EQ(g.Series[0].Points.size(), 2u);
    EXPECT_EQ(g.Series[0].Points[0].X, 5);
    EXPECT_EQ(g.Series[0].Points[0].Y, -200);
    EXPECT_EQ(g.Series[1].Points[1].Y, 100); // average of -200 and 400
    EXPECT_EQ(g.Series[2].Points[1].Y, 200); // running sum
    EXPECT_EQ(g.Series[2].Color, 0xFF0000u);
}

TEST(RatingsFile, WholeRowsAreReadAndWritesReplaceTheFile) {
    test::TTempDir dir;
    const auto path = dir.file(RATINGS_FILE_NAME);
    WriteRatingsFile(path, {Row("a", 1, 1, 1), Row("b", 2, 2, 2)});
    EXPECT_EQ(std::filesystem::file_size(path), 608u);
    {
        std::ofstream out(path, std::ios::binary | std::ios::app);
        out << std::string(100, '\xFF');
    }
    const TRatingsArray rows = ReadRatingsFile(path);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1].CommentText(), "b");
    EXPECT_TRUE(ReadRatingsFile(dir.file("none.lrt")).empty());
}

} // namespace
} // namespace pelko
