#include "stats/analysis/draw_layout.h"

#include "../test_stats.h"

#include <gtest/gtest.h>

namespace pelko::test {
namespace {

TDrawsArray LayoutDraws() {
    return {MakeDraw(100, {1, 2, 3, 4, 5, 6}), MakeDraw(101, {7, 2, 9, 10, 11, 12}),
            MakeDraw(102, {13, 1, 15, 16, 17, 18}), MakeDraw(103, {3, 17, 40, 41, 42, 43})};
}

TEST(DrawLayout, OneDrawIsATwoByTwoMapInDrawnOrder) {
    const TLayoutMap map = MakeLayoutMap(LayoutDraws(), 0, 1);
    EXPECT_EQ(map.Counts, (std::vector<std::int32_t>{1}));
    EXPECT_EQ(map.LastDraws, (std::vector<std::int32_t>{103}));
    EXPECT_EQ(map.Cells[0][0], "3, 17, 40, 41, 42, 43");
    EXPECT_TRUE(MakeLayoutMap(LayoutDraws(), 4, 10).Cells.empty());
}

// With offset 1 the newest draw is hidden and its numbers in the window are bracketed;
// rows by count, columns by last draw, both descending; numbers in first-met order.
TEST(DrawLayout, HiddenDrawNumbersAreBracketed) {
    const TLayoutMap map = MakeLayoutMap(LayoutDraws(), 1, 3);
    EXPECT_EQ(map.Counts, (std::vector<std::int32_t>{2, 1}));
    EXPECT_EQ(map.LastDraws, (std::vector<std::int32_t>{102, 101, 100}));
    EXPECT_EQ(map.Cells[0][0], "1");
    EXPECT_EQ(map.Cells[0][1], "2");
    EXPECT_EQ(map.Cells[1][0], "13, 15, 16, [17], 18");
    EXPECT_EQ(map.Cells[1][2], "[3], 4, 5, 6");
    EXPECT_EQ(map.Cells[0][2], "");
    TNumbersPick pick = PickLayoutNumbers(map, 0, 0, 1, 0);
    EXPECT_EQ(pick.Text, "1; 13; 15; 16; 17; 18");
    pick = {};
    AddLayoutCellNumbers("3, [17], x", pick);
    EXPECT_EQ(pick.Numbers, (std::vector<int>{3, 17, 0}));
}

TEST(DrawLayout, CompareListCaptionAndRows) {
    const TLayoutCompare c = MakeLayoutCompare(LayoutDraws(), 1, 100);
    EXPECT_EQ(c.Caption, "100 - 102");
    ASSERT_EQ(c.Rows.size(), 2u);
    EXPECT_EQ(c.Rows[0].Count, 2);
    EXPECT_EQ(c.Rows[0].Numbers, "1, 2");
    EXPECT_TRUE(MakeLayoutCompare({}, 0, 10).Caption.empty());
}

// Gradient with halves to even (255 - 155 * 1/2 = 177.5 -> 178, 100 + 77.5 -> 178); the
// checkerboard is pink where exactly one of row and column lies in a light block.
TEST(DrawLayout, CellColours) {
    EXPECT_EQ(LayoutCellColor(1, 1, 2, 2, true), 0xB2B2B2u);
    EXPECT_EQ(LayoutCellColor(1, 1, 10, 10, false), 0xEAFFEAu);
    EXPECT_EQ(LayoutCellColor(1, 6, 10, 10, false), 0xFFEAEAu);
    EXPECT_EQ(LayoutCellColor(6, 6, 10, 10, false), 0xEAFFEAu);
    EXPECT_EQ(LayoutCellColor(96, 1, 100, 10, false), 0xFFEAEAu);
}

} // namespace
} // namespace pelko::test
