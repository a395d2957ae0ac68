#include "stats/analysis/draw_card.h"
#include "stats/analysis/week_stats.h"

#include "../test_stats.h"

#include <gtest/gtest.h>

namespace pelko::test {
namespace {

// Draw 2 (newest, row 0) holds 12 and 13, draw 1 holds 12 alone among its neighbours.
TEST(DrawCard, RepeatedAndSequenceMarks) {
    const TDrawCard card({MakeDraw(1, {12, 20, 30, 33, 40, 45}),
                          MakeDraw(2, {12, 13, 25, 35, 41, 44})});
    ASSERT_EQ(card.Rows(), 2);
    EXPECT_EQ(card.DrawNumber(0), 2);
    const struct {
        int Row, N;
        TCardMark Mark;
    } cells[] = {{0, 12, TCardMark::RepeatedSequence},
                 {1, 12, TCardMark::Repeated},
                 {0, 13, TCardMark::Sequence},
                 {0, 25, TCardMark::None},
                 {0, 14, TCardMark::None}, // empty
                 {1, 45, TCardMark::None},
                 {0, 44, TCardMark::None}};
    for (const auto& c : cells) EXPECT_EQ(card.Mark(c.Row, c.N), c.Mark) << c.Row << "/" << c.N;
}

// Column by column, each number once, empty cells skipped.
TEST(DrawCard, PickReadsTheRectangleColumnByColumn) {
    const TDrawCard card({MakeDraw(1, {3, 17, 40, 41, 42, 43}), MakeDraw(2, {3, 5, 6, 7, 8, 9})});
    TNumbersPick pick = PickCardNumbers(card, 0, 1, 1, 45);
    EXPECT_EQ(pick.Text, "3; 5; 6; 7; 8; 9; 17; 40; 41; 42; 43");
    pick = PickCardNumbers(card, 1, 1, 1, 45);
    EXPECT_EQ(pick.Numbers, (std::vector<int>{3, 17, 40, 41, 42, 43}));
    EXPECT_TRUE(PickCardNumbers(card, 0, 20, 1, 39).Empty());
    EXPECT_EQ(PickColumns(7, 9).Text, "7; 8; 9");
}

TDrawData Dated(int number, const char* date) {
    TDrawData d = MakeDraw(number, {1, 2, 3, 4, 5, 6});
    d.SetDateText(date);
    return d;
}

// 9 December 2026 is a Wednesday; a broken date is skipped; an empty one is the zero date,
// a Saturday; the offset hides the newest draws.
TEST(WeekStats, CountsByWeekday) {
    EXPECT_EQ(IsoWeekday(2026, 12, 9), 3);
    EXPECT_EQ(IsoWeekday(1899, 12, 30), 6);
    EXPECT_EQ(IsoWeekday(2024, 2, 29), 4);
    const TDrawsArray draws{Dated(1, ""), Dated(2, "31.02.2020 20:00"),
                            Dated(3, "09.12.2026 20:00"), Dated(4, "13.12.2026 20:00")};
    const TWeekCounts one = ComputeWeekCounts(draws, 1, 1);
    EXPECT_EQ(one.At(1, 3), 1);
    EXPECT_EQ(one.Max, 1);
    EXPECT_EQ(one.At(7, 3), 0);
    const TWeekCounts all = ComputeWeekCounts(draws, 0, 1000);
    EXPECT_EQ(all.At(6, 6), 1);
    EXPECT_EQ(all.At(6, 7), 1);
    int total = 0;
    for (const auto& row : all.Count)
        for (const int c : row) total += c;
    EXPECT_EQ(total, 18);
    EXPECT_EQ(ComputeWeekCounts(draws, 4, 10).Max, 0);
}

TEST(WeekStats, CellHeatRunsFromWhiteToRed) {
    EXPECT_EQ(WeekCellColor(4, 4), 0xFF0000u);
    EXPECT_EQ(WeekCellColor(0, 4), 0xFFFFFFu);
    EXPECT_EQ(WeekCellColor(1, 3), 0xFFAAAAu);
}

} // namespace
} // namespace pelko::test
