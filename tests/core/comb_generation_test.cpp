#include "core/comb_files.h"
#include "core/comb_generation.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>

namespace pelko {
namespace {

TComb Comb(std::initializer_list<int> nums) {
    TComb c;
    int i = 0;
    for (const int n : nums)
        c[i++] = static_cast<std::uint8_t>(n);
    return c;
}

bool LexLess(const TComb& a, const TComb& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end());
}

TCombList Generate(int mode, std::string_view params) {
    TCombList list;
    GenerateCombs(list, TGenerateParams{static_cast<std::uint8_t>(mode), std::string(params)});
    return list;
}

const TCombList& FullList() {
    static const TCombList full = Generate(GEN_ALL, "");
    return full;
}

TEST(CombGeneration, FullListIsEveryCombinationInLexicographicOrder) {
    const TCombList& full = FullList();
    ASSERT_EQ(full.Count(), static_cast<std::size_t>(COMBS_TOTAL));
    EXPECT_EQ(full[0], Comb({1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(full[1], Comb({1, 2, 3, 4, 5, 7}));
    EXPECT_EQ(full[40], Comb({1, 2, 3, 4, 6, 7}));
    EXPECT_EQ(full[full.Count() - 1], Comb({40, 41, 42, 43, 44, 45}));
    // Strictly increasing and each entry ascending within 1..45: no repeats, no gaps
    // (the count is the number of all combinations).
    for (std::size_t i = 0; i < full.Count(); ++i) {
        const TComb& c = full[i];
        ASSERT_GE(c[0], 1);
        ASSERT_LE(c[5], 45);
        ASSERT_TRUE(std::is_sorted(c.begin(), c.end()) &&
                    std::adjacent_find(c.begin(), c.end()) == c.end())
            << i;
        if (i > 0) {
            ASSERT_TRUE(LexLess(full[i - 1], c)) << i;
        }
    }
}

TEST(CombGeneration, OnlyMyNumbersOneToSevenGivesSevenInOrder) {
    const TCombList list = Generate(GEN_ONLY_MINE, "1, 2;3,4 ;; 5,6,7");
    const TComb expected[] = {Comb({1, 2, 3, 4, 5, 6}), Comb({1, 2, 3, 4, 5, 7}),
                              Comb({1, 2, 3, 4, 6, 7}), Comb({1, 2, 3, 5, 6, 7}),
                              Comb({1, 2, 4, 5, 6, 7}), Comb({1, 3, 4, 5, 6, 7}),
                              Comb({2, 3, 4, 5, 6, 7})};
    ASSERT_EQ(list.Count(), 7u);
    for (std::size_t i = 0; i < 7; ++i)
        EXPECT_EQ(list[i], expected[i]) << i;
}

TEST(CombGeneration, AnyOfFortyFiveGivesEveryCombinationWithIt) {
    const TCombList list = Generate(GEN_ANY_OF_MINE, "45");
    EXPECT_EQ(list.Count(), 1086008u);
    EXPECT_EQ(list[0], Comb({1, 2, 3, 4, 5, 45}));
}

TEST(CombGeneration, NoneOfOneToThirtyNineLeavesOneCombination) {
    std::string params;
    for (int n = 1; n <= 39; ++n)
        params += std::to_string(n) + ";";
    const TCombList list = Generate(GEN_NONE_OF_MINE, params);
    ASSERT_EQ(list.Count(), 1u);
    EXPECT_EQ(list[0], Comb({40, 41, 42, 43, 44, 45}));
}

TEST(CombGeneration, MyNumbersAreWordsBetweenCommasAndSemicolonsAsBytes) {
    const TByteSet set = ParseMyNumbers(" 7 ;abc;; 256, -1,255,12 13, 45");
    TByteSet expected;
    for (unsigned v : {7u, 0u, 255u, 45u}) // "abc" and "12 13" read as 0
        expected.Add(v);
    EXPECT_EQ(set, expected);
    EXPECT_TRUE(ParseMyNumbers("").Empty());
}

// Every narrowed mode must give exactly the full list's entries that pass the mode's test,
// in the same order.
struct TModeCase {
    int Mode;
    const char* Params;
};

class CombGenerationModes : public ::testing::TestWithParam<TModeCase> {};

TEST_P(CombGenerationModes, EqualsTheFullListFilteredByTheModesTest) {
    const TModeCase c = GetParam();
    const TByteSet mine = ParseMyNumbers(c.Params);
    std::function<bool(const TComb&)> keep = [](const TComb&) { return true; };
    auto inMine = [&](std::uint8_t v) { return mine.Has(v); };
    if (c.Mode == GEN_ANY_OF_MINE)
        keep = [&](const TComb& x) { return std::any_of(x.begin(), x.end(), inMine); };
    else if (c.Mode == GEN_ONLY_MINE)
        keep = [&](const TComb& x) { return std::all_of(x.begin(), x.end(), inMine); };
    else if (c.Mode == GEN_NONE_OF_MINE)
        keep = [&](const TComb& x) { return std::none_of(x.begin(), x.end(), inMine); };

    const TCombList list = Generate(c.Mode, c.Params);
    EXPECT_EQ(list.Count(), CountGeneratedCombs(c.Mode, mine));
    std::size_t j = 0;
    for (const TComb& x : FullList()) {
        if (!keep(x)) continue;
        ASSERT_LT(j, list.Count());
        ASSERT_EQ(list[j], x) << "entry " << j;
        ++j;
    }
    EXPECT_EQ(j, list.Count());
}

INSTANTIATE_TEST_SUITE_P(
    All, CombGenerationModes,
    ::testing::Values(TModeCase{GEN_ANY_OF_MINE, ""}, TModeCase{GEN_ANY_OF_MINE, "1"},
                      TModeCase{GEN_ANY_OF_MINE, "3;17;44"},
                      TModeCase{GEN_ANY_OF_MINE, "0,46,200,abc"}, // no lottery number
                      TModeCase{GEN_ANY_OF_MINE, "2,4,6,8,10,12,14,16,18,20,22,24,26,28,30"},
                      TModeCase{GEN_ONLY_MINE, "1,2,3,4,5"},
                      TModeCase{GEN_ONLY_MINE, "45,1,30,12,7,19,33,40,0,255"},
                      TModeCase{GEN_NONE_OF_MINE, ""}, TModeCase{GEN_NONE_OF_MINE, "45"},
                      TModeCase{GEN_NONE_OF_MINE, "1-10"}, // one word, not a number
                      TModeCase{7, "1,2,3"}));             // unknown mode: everything

TEST(CombGeneration, EmptyResultsOfTheModes) {
    EXPECT_EQ(Generate(GEN_ANY_OF_MINE, "").Count(), 0u);
    EXPECT_EQ(Generate(GEN_ONLY_MINE, "1,2,3,4,5,46").Count(), 0u);
    EXPECT_EQ(Generate(GEN_NONE_OF_MINE, "").Count(), static_cast<std::size_t>(COMBS_TOTAL));
}

TEST(CombGeneration, CapacityOnlyGrows) {
    TCombList list;
    list.Reserve(100);
    GenerateCombList(list, GEN_ONLY_MINE, ParseMyNumbers("1,2,3,4,5,6,7,8"));
    EXPECT_EQ(list.Count(), 28u);
    EXPECT_EQ(list.Capacity(), 100u);
    GenerateCombList(list, GEN_ONLY_MINE, ParseMyNumbers("1,2,3,4,5,6,7,8,9,10,11,12"));
    EXPECT_EQ(list.Count(), 924u);
    EXPECT_GE(list.Capacity(), 924u);
}

TEST(CombGeneration, FileModeReadsTheNamedFile) {
    test::TTempDir dir;
    const auto file = dir.file("mine.lcv");
    std::ofstream(file, std::ios::binary) << "1;2;3;4;5;6\r\n9,8,7,6,5,4\r\n";
    TCombList list;
    GenerateCombs(list, TGenerateParams{GEN_FROM_FILE, file.string()});
    ASSERT_EQ(list.Count(), 2u);
    EXPECT_EQ(list[1], Comb({9, 8, 7, 6, 5, 4}));
    EXPECT_THROW(GenerateCombs(list, TGenerateParams{GEN_FROM_FILE, dir.file("no").string()}),
                 std::runtime_error);
}

} // namespace
} // namespace pelko
