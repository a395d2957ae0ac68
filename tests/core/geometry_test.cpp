#include "core/geometry.h"

#include <gtest/gtest.h>

namespace pelko {
namespace {

TEST(GeometryTest, MatrixPlacesEveryNumberInItsOwnCell) {
    for (int cols = 1; cols <= LOTTO_MAX; ++cols)
        for (int n = 1; n <= LOTTO_MAX; ++n) {
            const int row = MatrixRow(n, cols);
            const int col = MatrixCol(n, cols);
            ASSERT_GE(col, 1);
            ASSERT_LE(col, cols);
            ASSERT_EQ(MatrixNumber(row - 1, cols, col - 1), n) << n << " in " << cols;
        }
}

TEST(GeometryTest, MatrixWithFiveAndSevenColumns) {
    EXPECT_EQ(MatrixCol(45, 5), 5);
    EXPECT_EQ(MatrixRow(45, 5), 9);
    EXPECT_EQ(MatrixCol(6, 5), 1);
    EXPECT_EQ(MatrixRow(6, 5), 2);

    EXPECT_EQ(MatrixRow(45, 7), 7);
    EXPECT_EQ(MatrixCol(45, 7), 3);
    int lastRow = 0;
    for (int n = 1; n <= LOTTO_MAX; ++n)
        if (MatrixRow(n, 7) == 7) ++lastRow;
    EXPECT_EQ(lastRow, 3); // 43, 44, 45
    EXPECT_EQ(MatrixNumber(6, 7, 0), 43);
    EXPECT_GT(MatrixNumber(6, 7, 3), LOTTO_MAX); // empty cell of the short row
}

TEST(GeometryTest, ChannelsAndTheirColours) {
    EXPECT_EQ(ChannelOf(1, 5), 1);
    EXPECT_EQ(ChannelOf(5, 5), 1);
    EXPECT_EQ(ChannelOf(6, 5), 2);
    EXPECT_EQ(ChannelOf(41, 5), 9);
    EXPECT_EQ(ChannelOf(45, 5), 9);

    EXPECT_EQ(ChannelColor(1, 5), 0xAAFFAAu);
    EXPECT_EQ(ChannelColor(6, 5), 0xFFFFAAu);
    EXPECT_EQ(ChannelColor(45, 5), 0xAAD5FFu); // channel 9
    EXPECT_EQ(ChannelColor(45, 3), 0xD5D5FFu); // channel 15
    EXPECT_EQ(ChannelColor(19, 1), 0xD5EAFFu); // last entry of the table
    EXPECT_EQ(ChannelColor(20, 1), 0xAAFFAAu); // channel 20 starts over
    EXPECT_EQ(ChannelColor(45, 1), 0xD5AAFFu); // channel 45 uses entry 7
    EXPECT_EQ(ChannelColor(0, 5), 0xFF0000u);
    EXPECT_EQ(ChannelColor(46, 5), 0xFF0000u);
    EXPECT_EQ(ChannelColor(-3, 5), 0xFF0000u);
}

TEST(GeometryTest, ShiftWrapsOnceAroundTheNumbers) {
    struct Case {
        int n, d, expected;
    };
    const Case cases[] = {
        {45, 1, 1},    {1, -1, 45}, {7, 0, 7},   {44, 1, 45},  {40, 10, 5},
        {10, -10, 45}, {10, -9, 1}, {1, 44, 45}, {45, -44, 1}, {20, 5, 25},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ShiftNumber(c.n, c.d), c.expected) << c.n << " by " << c.d;
}

TEST(GeometryTest, ShiftedCombinationKeepsItsOrder) {
    const TComb comb{{40, 41, 42, 43, 44, 45}};
    EXPECT_EQ(ShiftComb(comb, 3), (TComb{{43, 44, 45, 1, 2, 3}}));
    EXPECT_EQ(ShiftComb(comb, 0), comb);
}

} // namespace
} // namespace pelko
