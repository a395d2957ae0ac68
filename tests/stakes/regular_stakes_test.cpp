#include "stake_fixtures.h"
#include "stakes/regular_stakes.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <vector>

namespace pelko {
namespace {

TTableData Rule(std::uint8_t mode, std::vector<int> current, int step) {
    TTableData r;
    r.SetCommentText("r");
    r.Mode = mode;
    for (int i = 0; i < 6; ++i)
        r.Current[i] = r.Start[i] = static_cast<std::uint8_t>(current[i]);
    r.Step = step;
    return r;
}

std::vector<int> Current(const TTableData& r) {
    return {r.Current, r.Current + 6};
}

struct AdvanceCase {
    std::vector<int> start;
    int step;
    std::vector<int> next;
};

class AdvanceConstant : public ::testing::TestWithParam<AdvanceCase> {};

TEST_P(AdvanceConstant, ShiftsAroundTheCircleAndSorts) {
    TTableData r = Rule(tmConstant, GetParam().start, GetParam().step);
    AdvanceTable({}, 0, r);
    EXPECT_EQ(Current(r), GetParam().next);
    EXPECT_EQ(r.Stakes, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, AdvanceConstant,
    ::testing::Values(AdvanceCase{{1, 2, 3, 40, 44, 45}, 2, {1, 2, 3, 4, 5, 42}},
                      AdvanceCase{{1, 2, 3, 10, 20, 30}, -3, {7, 17, 27, 43, 44, 45}},
                      AdvanceCase{{1, 2, 3, 10, 20, 30}, 0, {1, 2, 3, 10, 20, 30}},
                      AdvanceCase{{1, 2, 3, 10, 20, 30}, 45, {1, 2, 3, 10, 20, 30}},
                      AdvanceCase{{1, 2, 3, 10, 20, 30}, -45, {1, 2, 3, 10, 20, 30}}));

TEST(AdvanceTable, ConstantRulesMoveOnFromTheirLastCombination) {
    TTableData r = Rule(tmConstant, {1, 2, 3, 4, 5, 6}, 1);
    AdvanceTable({}, 0, r);
    AdvanceTable({}, 0, r);
    EXPECT_EQ(Current(r), (std::vector<int>{3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(r.Stakes, 2);
}

TEST(AdvanceTable, LastDrawRulesShiftTheDrawVisibleAtTheOffset) {
    const TDrawsArray draws = {test::MakeDraw(1, {1, 2, 3, 4, 5, 6}),
                               test::MakeDraw(2, {5, 12, 19, 23, 38, 41})};
    TTableData r = Rule(tmLastDraw, {0, 0, 0, 0, 0, 0}, 1);
    AdvanceTable(draws, 0, r);
    EXPECT_EQ(Current(r), (std::vector<int>{6, 13, 20, 24, 39, 42}));
    AdvanceTable(draws, 1, r);
    EXPECT_EQ(Current(r), (std::vector<int>{2, 3, 4, 5, 6, 7}));
    AdvanceTable(draws, 5, r); // outside the archive: the base is six zeros
    EXPECT_EQ(Current(r), (std::vector<int>{1, 1, 1, 1, 1, 1}));
}

TEST(AdvanceTable, ADamagedStepNeverLeavesTheCircle) {
    TTableData r = Rule(tmConstant, {1, 2, 3, 4, 5, 45}, 1000);
    AdvanceTable({}, 0, r);
    for (const int v : Current(r)) {
        EXPECT_GE(v, 1);
        EXPECT_LE(v, 45);
    }
}

TEST(RegularStakes, TheStakeCarriesTheRulesCommentAndCombination) {
    TTableData r = Rule(tmConstant, {3, 4, 5, 6, 7, 8}, 1);
    r.SetCommentText("Регуляр А");
    const TStakeData s = MakeRegularStake(r, 77, 1234, test::PricedConfig());
    EXPECT_EQ(s.Kind, skRegular);
    EXPECT_EQ(s.DrawNumber, 77);
    EXPECT_EQ(s.SampleSize, 1234);
    EXPECT_EQ(s.CommentText(), "Регуляр А");
    EXPECT_EQ(s.Numbers, test::Set({3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(s.MatchCount(), -1);
    EXPECT_EQ(s.Profit, MoneyFromDouble(-100));
}

TEST(RegularStakes, DialogRulesAndTheRulesTheyMake) {
    const TTablesArray existing = {Rule(tmConstant, {1, 2, 3, 4, 5, 6}, 1)};
    TTableDialogInput in;
    in.Comment = "R";
    in.StartEditable = true;
    in.StartText = "1;2;3;4;5";
    EXPECT_EQ(ValidateTableDialog(in, existing), "Введена некорректная комбинация!");
    in.StartText = "6,5,4,3,2,1";
    EXPECT_EQ(
        ValidateTableDialog(in, existing),
        "Запись с таким комментарией уже присутствует в списке!\nВыберите другой комментарий.");
    in.Comment = "";
    EXPECT_EQ(ValidateTableDialog(in, existing), "Необходимо ввести комментарий!");
    in.Comment = "new";
    EXPECT_FALSE(ValidateTableDialog(in, existing));

    TComb c1{{9, 8, 7, 6, 5, 4}};
    TTablesArray one = MakeTableRules(in, {{3, c1}});
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(Current(one[0]), (std::vector<int>{1, 2, 3, 4, 5, 6})); // typed, sorted

    in.StartEditable = false;
    const TComb c2{{10, 11, 12, 13, 14, 15}}, c3{{20, 21, 22, 23, 24, 25}};
    const TTablesArray several = MakeTableRules(in, {{1, c1}, {2, c2}, {3, c3}});
    ASSERT_EQ(several.size(), 3u);
    EXPECT_EQ(several[1].CommentText(), "new (2)");
    EXPECT_EQ(several[2].Start[0], 20);
    EXPECT_TRUE(MakeTableRules(in, {}).empty());
    in.Mode = tmLastDraw;
    EXPECT_EQ(MakeTableRules(in, {}).size(), 1u);
}

TEST(RegularStakes, FileRoundTripReadsWholeRecordsOnly) {
    test::TTempDir dir;
    const auto path = dir.file(TABLES_FILE_NAME);
    WriteTablesFile(
        path, {Rule(tmConstant, {1, 2, 3, 4, 5, 6}, 1), Rule(tmLastDraw, {0, 0, 0, 0, 0, 0}, -7)});
    {
        std::ofstream out(path, std::ios::binary | std::ios::app);
        out << std::string(279, '\xEE');
    }
    const TTablesArray rules = ReadTablesFile(path);
    ASSERT_EQ(rules.size(), 2u);
    EXPECT_EQ(rules[1].Step, -7);
    EXPECT_EQ(TableCellText(rules[0], 1), "1;2;3;4;5;6");
}

} // namespace
} // namespace pelko
