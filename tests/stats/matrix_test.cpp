#include "core/arithmetic.h"
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

using test::ClassRow;

class MatrixClasses : public testing::TestWithParam<ClassRow> {};

TEST_P(MatrixClasses, CodeCaptionGroupAndFlags) { test::ExpectClassRow(GetParam(), sgMatrix); }

INSTANTIATE_TEST_SUITE_P(
    Registry, MatrixClasses,
    testing::Values(
        ClassRow{"TstColumns", 0, "COLS", "Столбцы матрицы (не пустые)", "N", true},
        ClassRow{"TstRows", 0, "ROWS", "Строки матрицы (не пустые)", "N", true},
        ClassRow{"TstColValues", 0, "COLV", "Количество чисел в столбце матрицы", "N", false},
        ClassRow{"TstRowValues", 0, "ROWV", "Количество чисел в строке матрицы", "N", false},
        ClassRow{"TstColCount", 0, "COLN", "Количество не пустых столбцов в матрице", "NG", true},
        ClassRow{"TstRowCount", 0, "ROWN", "Количество не пустых строк в матрице", "NG", true},
        ClassRow{"TstColMask", 0, "COLM", "Сочетания столбцов матрицы", "N", true},
        ClassRow{"TstRowMask", 0, "ROWM", "Сочетания строк матрицы", "N", true},
        ClassRow{"TstColAjacent", 0, "COLA", "Столбцы матрицы со смежными числами", "N", true},
        ClassRow{"TstRowAjacent", 0, "ROWA", "Строки матрицы со смежными числами", "N", true},
        ClassRow{"TstColAjacentCnt", 0, "COLC", "Количество столбцов матрицы со смежными числами",
                 "NG", true},
        ClassRow{"TstRowAjacentCnt", 0, "ROWC", "Количество строк матрицы со смежными числами",
                 "NG", true},
        ClassRow{"TstColValCnt", 2, "COL2", "Количество чисел в 2 столбце матрицы", "NG", true},
        ClassRow{"TstRowValCnt", 8, "ROW8", "Количество чисел в 8 строке матрицы", "NG", true},
        ClassRow{"TstCombColMix3", 0, "KFM3", "Сочетания из 3 столбцов по всем числам тиража", "S",
                 false},
        ClassRow{"TstCombColSeq2", 0, "KFS2", "Сочетания из 2 столбцов по соседним числам", "S",
                 false},
        ClassRow{"TstCombRowMix4", 0, "KRM4", "Сочетания из 4 строк по всем числам тиража", "S",
                 false},
        ClassRow{"TstCombRowSeq3", 0, "KRS3", "Сочетания из 3 строк по соседним числам", "S",
                 false}));

std::vector<std::string> GroupCodes(const TStatList& list) {
    return test::GroupCodes(list, sgMatrix);
}

TEST(MatrixRegistry, TypesFollowTheColumnsAtEveryBuild) {
    TStatList list;
    list.Build();
    std::vector<std::string> expected = {"COLS", "ROWS", "COLV", "ROWV", "COLN", "ROWN",
                                         "COLM", "ROWM", "COLA", "ROWA", "COLC", "ROWC",
                                         "KFM2", "KFM3", "KFM4", "KFS2", "KFS3", "KFS4",
                                         "KRM2", "KRM3", "KRM4", "KRS2", "KRS3", "KRS4"};
    for (int c = 1; c <= 5; ++c)
        expected.push_back("COL" + std::to_string(c));
    for (int r = 1; r <= 9; ++r)
        expected.push_back("ROW" + std::to_string(r));
    EXPECT_EQ(GroupCodes(list), expected);

    list.Config.MatrixCols = 6; // 8 rows, the last holding 43-45
    list.Build();
    const std::vector<std::string> codes = GroupCodes(list);
    EXPECT_EQ(codes.size(), 24u + 6u + 8u);
    EXPECT_EQ(codes[24 + 5], "COL6");
    EXPECT_EQ(codes.back(), "ROW8");
    EXPECT_EQ(StandardStatClasses().FindByName("TstColValCnt")->GetFamilyCode(), "COLx");
    EXPECT_EQ(StandardStatClasses().FindByName("TstRowValCnt")->GetFamilyCode(), "ROWx");
}

class MatrixStats : public FamilyTest {
  protected:
    std::vector<std::string> DrawTexts(const char* name, int type = 0, bool sorted = true) {
        auto stat = Create(name, type);
        return Texts(*stat, DrawValues(*stat, static_cast<int>(Draws().size()) - 1, sorted));
    }
    int Graph(const char* name, int type = 0) {
        auto stat = Create(name, type);
        return dynamic_cast<TCustomGraphStat&>(*stat).GraphValueOfDraw(
            static_cast<int>(Draws().size()) - 1, 0, true);
    }
    using Texts_ = std::vector<std::string>;
};

TEST_F(MatrixStats, WorkedDrawOfFiveColumns) {
    AddDraw({1, 6, 11, 12, 30, 45});
    auto columns = Create("TstColumns");
    const TStatDrawList cols = DrawValues(*columns, 0, true);
    EXPECT_EQ(CountOf(cols, TStatKey::FromK(1)), 3);
    EXPECT_EQ(CountOf(cols, TStatKey::FromK(2)), 1);
    EXPECT_EQ(CountOf(cols, TStatKey::FromK(5)), 2);
    EXPECT_EQ(DrawTexts("TstColValues"), (Texts_{"1 x 3", "2 x 1", "3 x 0", "4 x 0", "5 x 2"}));
    EXPECT_EQ(Graph("TstColCount"), 3);
    EXPECT_EQ(DrawTexts("TstColMask"), Texts_{"11001 (025)"});
    EXPECT_EQ(DrawTexts("TstColAjacent"), Texts_{"1 x 3"}); // 1-6 and 6-11
    EXPECT_EQ(Graph("TstColAjacentCnt"), 1);
    EXPECT_EQ(DrawTexts("TstRowAjacent"), Texts_{"3 x 2"}); // 11 and 12 side by side
    EXPECT_EQ(Graph("TstRowAjacentCnt"), 1);
    EXPECT_EQ(DrawTexts("TstRows"), (Texts_{"1", "2", "3", "6", "9"}));
    EXPECT_EQ(DrawTexts("TstRowMask"), Texts_{"111001001 (457)"});
    EXPECT_EQ(Graph("TstRowCount"), 5);
    EXPECT_EQ(Graph("TstColValCnt", 1), 3);
    EXPECT_EQ(Graph("TstRowValCnt", 3), 2);
    EXPECT_EQ(DrawTexts("TstCombColSeq2"), (Texts_{"1:1", "1:2", "2:5", "5:5"}));
    EXPECT_EQ(CountOf(DrawValues(*Create("TstCombColSeq2"), 0, true), TStatKey::FromK(1, 1)), 2);
    EXPECT_EQ(DrawTexts("TstCombRowSeq3"), (Texts_{"1:2:3", "2:3:3", "3:3:6", "3:6:9"}));
}

TEST_F(MatrixStats, AdjacencyKeepsRowsApartAndOrdersByFirstPair) {
    AddDraw({12, 11, 3, 2, 1, 40}); // drawn order: row 3 pair first
    EXPECT_EQ(DrawTexts("TstRowAjacent", 0, false), (Texts_{"3 x 2", "1 x 3"}));
    EXPECT_EQ(DrawTexts("TstRowAjacent", 0, true), (Texts_{"1 x 3", "3 x 2"}));
    EXPECT_EQ(Graph("TstRowAjacentCnt"), 2);
    EXPECT_TRUE(DrawTexts("TstColAjacent").empty());
    AddDraw({5, 6, 10, 15, 20, 44}); // 5 and 6 are in different rows; 5-10-15-20 share column 5
    EXPECT_TRUE(DrawTexts("TstRowAjacent").empty());
    EXPECT_EQ(DrawTexts("TstColAjacent"), Texts_{"5 x 4"});
    EXPECT_EQ(Graph("TstColAjacentCnt"), 1);
}

TEST_F(MatrixStats, SevenColumnsGiveSevenRows) {
    list_.Config.MatrixCols = 7;
    AddDraw({43, 44, 45, 1, 8, 15});
    EXPECT_EQ(Texts(*Create("TstColumns"), WindowValues(*Create("TstColumns"), 0, -1, false)),
              (Texts_{"1", "2", "3", "4", "5", "6", "7"}));
    EXPECT_EQ(WindowValues(*Create("TstRows"), 0, -1, false).size(), 7u);
    EXPECT_EQ(DrawTexts("TstRowValues"),
              (Texts_{"1 x 1", "2 x 1", "3 x 1", "4 x 0", "5 x 0", "6 x 0", "7 x 3"}));
    EXPECT_EQ(DrawTexts("TstRowMask"), Texts_{"1110001 (113)"});
    EXPECT_EQ(DrawTexts("TstColMask"), Texts_{"1110000 (112)"});
    EXPECT_EQ(DrawTexts("TstRowAjacent"), Texts_{"7 x 3"});
    EXPECT_EQ(DrawTexts("TstColAjacent"), Texts_{"1 x 3"}); // 1, 8, 15
}

TEST_F(MatrixStats, PreFilledDomains) {
    EXPECT_EQ(WindowValues(*Create("TstColValues"), 0, -1, false).size(), 5u * 7u); // 0..min(9, 6)
    EXPECT_EQ(WindowValues(*Create("TstRowValues"), 0, -1, false).size(), 9u * 6u); // 0..min(5, 6)
    EXPECT_EQ(WindowValues(*Create("TstColCount"), 0, -1, false).size(), 5u);
    EXPECT_EQ(WindowValues(*Create("TstRowCount"), 0, -1, false).size(), 6u);
    EXPECT_EQ(WindowValues(*Create("TstColValCnt", 1), 0, -1, false).size(), 9u);
    EXPECT_EQ(WindowValues(*Create("TstRowValCnt", 1), 0, -1, false).size(), 5u);
    for (const char* name : {"TstColMask", "TstColAjacent", "TstRowAjacentCnt", "TstCombRowMix2"})
        EXPECT_TRUE(WindowValues(*Create(name), 0, -1, false).empty()) << name;
}

TEST_F(MatrixStats, MasksReadBackAndStayDistinctPastThirtyOneRows) {
    auto mask = Create("TstColMask");
    EXPECT_EQ(mask->TextToValue("10110 (022)"), 22);
    EXPECT_EQ(mask->TextToScalar("11001 (025)"), 25);
    EXPECT_TRUE(Test(*mask, Select({TStatKey::FromV(25)}), {1, 6, 11, 12, 30, 45}));
    EXPECT_FALSE(Test(*mask, Select({TStatKey::FromV(24)}), {1, 6, 11, 12, 30, 45}));

    list_.Config.MatrixCols = 1; // 45 rows of one number
    auto rows = Create("TstRowMask");
    const TStatDrawList a = CombValues(*rows, {1, 20, 21, 22, 23, 24});
    const TStatDrawList b = CombValues(*rows, {2, 20, 21, 22, 23, 24});
    ASSERT_EQ(a.size(), 1u);
    EXPECT_FALSE(a[0].Key == b[0].Key);
    const std::string text = Text(*rows, a[0].Key);
    EXPECT_EQ(text.substr(0, 45), "100000000000000000011111000000000000000000000");
    EXPECT_TRUE(Test(*rows, Select({a[0].Key}), {1, 20, 21, 22, 23, 24}));
    EXPECT_FALSE(Test(*rows, Select({a[0].Key}), {2, 20, 21, 22, 23, 24}));
}

TEST_F(MatrixStats, ParameterChangeAndRebuildChangeTheValues) {
    AddDraw({1, 2, 3, 4, 5, 6});
    auto before = Create("TstColCount");
    list_.Config.MatrixCols = 3;
    list_.Build();
    auto after = Create("TstColCount");
    EXPECT_EQ(dynamic_cast<TCustomGraphStat&>(*before).GraphValueOfDraw(0, 0, true), 5);
    EXPECT_EQ(dynamic_cast<TCustomGraphStat&>(*after).GraphValueOfDraw(0, 0, true), 3);
    EXPECT_EQ(WindowValues(*after, 0, -1, false).size(), 3u);
    EXPECT_EQ(WindowValues(*Create("TstRowValCnt", 1), 0, -1, false).size(), 3u);
}

TEST_F(MatrixStats, SelectingAnEmptyColumnKeepsCombinationsAvoidingIt) {
    auto values = Create("TstColValues");
    const TStatSelection empty1 = Select({TStatKey::FromK(1, 0)});
    EXPECT_EQ(KeptOfAll(*values, empty1), Binomial(36, 6)); // column 1 holds nine numbers
}

// Independent counts over all combinations: every number occurs in C(44, 5) of them, so a
// column's total is its size times that; seven columns give columns of 7 and 6 numbers.
TEST_F(MatrixStats, ColumnTotalsOverAllCombinations) {
    list_.Config.MatrixCols = 7;
    auto columns = Create("TstColumns");
    auto adjacentRows = Create("TstRowAjacentCnt");
    TStatDrawList all, adjacency;
    ForEachCombination([&](const TComb& c) {
        columns->ComputeForCombination(c, all);
        adjacentRows->ComputeForCombination(c, adjacency);
    });
    for (int col = 1; col <= 7; ++col)
        EXPECT_EQ(CountOf(all, TStatKey::FromK(col)), (col <= 3 ? 7 : 6) * Binomial(44, 5)) << col;
    std::int64_t total = 0;
    for (const TStatDraw& v : adjacency)
        total += v.Count;
    EXPECT_EQ(total, COMBS_TOTAL);
    // No two numbers side by side within a row: no step of one except across row ends.
    std::int64_t none = 0;
    ForEachCombination([&](const TComb& c) {
        bool touching = false;
        for (int i = 0; i + 1 < LOTTO_COUNT; ++i)
            touching |= c[i + 1] == c[i] + 1 && (c[i] - 1) / 7 == (c[i + 1] - 1) / 7;
        none += !touching;
    });
    EXPECT_EQ(CountOf(adjacency, TStatKey::FromK(0)), none);
}

// Lists read from files may hold numbers outside 1..45; the tests then take the slow road
// and still agree with the values.
TEST_F(MatrixStats, NumbersOutsideTheLotteryAgreeWithTheirValues) {
    AddDraw({1, 6, 70, 11, 200, 12});
    for (const char* name :
         {"TstColAjacent", "TstRowAjacent", "TstColAjacentCnt", "TstCombColMix3"}) {
        auto stat = Create(name);
        const TStatDrawList values = DrawValues(*stat, 0, false);
        ASSERT_FALSE(values.empty()) << name;
        for (const TStatDraw& v : values)
            EXPECT_TRUE(Test(*stat, Select({v.Key}), {1, 6, 70, 11, 200, 12}))
                << name << " " << stat->ValueToText(v);
        EXPECT_FALSE(Test(*stat, Select({TStatKey::FromK(4, 4)}), {1, 6, 70, 11, 200, 12})) << name;
    }
}

class MatrixSelections : public testing::TestWithParam<std::tuple<const char*, int, int>> {};

TEST_P(MatrixSelections, TestAgreesWithTheComputedValues) {
    const auto [name, type, cols] = GetParam();
    TConfigData config;
    config.MatrixCols = cols;
    test::ExpectTestMatchesValues(config, name, type);
}

INSTANTIATE_TEST_SUITE_P(
    Families, MatrixSelections,
    testing::Combine(testing::Values("TstColumns", "TstRows", "TstColValues", "TstRowValues",
                                     "TstColCount", "TstRowCount", "TstColMask", "TstRowMask",
                                     "TstColAjacent", "TstRowAjacent", "TstColAjacentCnt",
                                     "TstRowAjacentCnt", "TstCombColMix2", "TstCombColMix4",
                                     "TstCombColSeq3", "TstCombRowMix3", "TstCombRowSeq2",
                                     "TstCombRowSeq4"),
                     testing::Values(0), testing::Values(5, 7, 1, 45)));

TEST(MatrixBatches, RunsOfCombinationsCountAsOneByOne) {
    TConfigData config;
    for (int cols : {5, 7, 1, 45}) {
        config.MatrixCols = cols;
        for (const char* name :
             {"TstColumns", "TstRowValues", "TstColValues", "TstColCount", "TstRowMask",
              "TstColAjacent", "TstRowAjacent", "TstRowAjacentCnt"})
            test::ExpectBatchMatchesSingle(config, name);
        test::ExpectBatchMatchesSingle(config, "TstRowValCnt", 1);
    }
}

INSTANTIATE_TEST_SUITE_P(Typed, MatrixSelections,
                         testing::Values(std::make_tuple("TstColValCnt", 3, 5),
                                         std::make_tuple("TstRowValCnt", 7, 7)));

} // namespace
} // namespace pelko
