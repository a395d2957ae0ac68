#include "stake_fixtures.h"
#include "stakes/rating_record.h"
#include "stakes/regular_stakes.h"
#include "stakes/stake_grid.h"
#include "stakes/stake_record.h"

#include <gtest/gtest.h>

#include <cstring>

namespace pelko {
namespace {

std::uint32_t U32At(const std::string& b, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = v << 8 | static_cast<unsigned char>(b[at + i]);
    return v;
}

std::uint64_t U64At(const std::string& b, std::size_t at) {
    std::uint64_t v = 0;
    for (int i = 7; i >= 0; --i)
        v = v << 8 | static_cast<unsigned char>(b[at + i]);
    return v;
}

TEST(StakeRecord, LayoutIsByteForByte) {
    TStakeData s;
    s.Kind = skSystem;
    s.DrawNumber = 0x01020304;
    s.Checked = 1;
    s.SampleSize = 0x0A0B0C0D;
    s.Numbers = test::Set({1, 2, 3, 40, 44, 45, 7});
    const std::uint8_t result[6] = {45, 3, 9, 1, 2, 40};
    std::memcpy(s.DrawResult, result, 6);
    s.Matches = test::Set({1, 2, 3, 40, 45});
    s.Profit = -28000000;
    s.SetCommentText("Ставка");
    std::memset(s.Reserved1, 0x77, 2); // reserved bytes are written as 0 whatever they hold

    const std::string b = EncodeStakeRecord(s);
    ASSERT_EQ(b.size(), 328u);
    EXPECT_EQ(b[0], 2);
    EXPECT_EQ(b[1], 4);
    EXPECT_EQ(b[2], 0);
    EXPECT_EQ(b[3], 0);
    EXPECT_EQ(U32At(b, 4), 0x01020304u);
    EXPECT_EQ(b[8], 1);
    EXPECT_EQ(std::string(b, 9, 3), std::string(3, '\0'));
    EXPECT_EQ(U32At(b, 12), 0x0A0B0C0Du);
    EXPECT_EQ(U32At(b, 16), 7u);
    EXPECT_EQ(std::string(b, 20, 7), std::string("\x01\x02\x03\x28\x2C\x2D\x07", 7));
    EXPECT_EQ(std::string(b, 27, 9), std::string(9, '\0'));
    EXPECT_EQ(std::string(b, 36, 6), std::string("\x2D\x03\x09\x01\x02\x28", 6));
    EXPECT_EQ(std::string(b, 42, 2), std::string(2, '\0'));
    EXPECT_EQ(U32At(b, 44), 5u);
    EXPECT_EQ(U64At(b, 64), static_cast<std::uint64_t>(-28000000LL));
    EXPECT_EQ(b[72], 6);
    EXPECT_EQ(std::string(b, 73, 6), "\xD1\xF2\xE0\xE2\xEA\xE0"); // CP1251
    EXPECT_EQ(std::string(b, 79), std::string(328 - 79, '\0'));

    const TStakeData back = DecodeStakeRecord(b.data());
    EXPECT_EQ(EncodeStakeRecord(back), b);
    EXPECT_EQ(back.CommentText(), "Ставка");
    EXPECT_EQ(back.MatchCount(), 5);
}

TEST(StakeRecord, SeparatorAndNewStakeDefaults) {
    const std::string b = EncodeStakeRecord(MakeSeparator());
    EXPECT_EQ(b[0], 2);
    EXPECT_EQ(b[1], 0);
    EXPECT_EQ(U32At(b, 4), 0xFFFFFFFFu);
    EXPECT_EQ(U32At(b, 16), 0u);
    EXPECT_EQ(U32At(b, 44), 0xFFFFFFFFu);
    EXPECT_EQ(U64At(b, 64), 0u);
    EXPECT_EQ(b[72], 0);
    EXPECT_TRUE(MakeSeparator().IsSeparator());
}

TEST(StakeRecord, GarbageCountsAreClampedWhereverTheyAreUsed) {
    std::string garbage(328, '\xFF');
    garbage[16] = static_cast<char>(200); // numbers count 200
    garbage[17] = garbage[18] = garbage[19] = 0;
    garbage[44] = 9; // match count 9
    garbage[45] = garbage[46] = garbage[47] = 0;
    const TStakeData s = DecodeStakeRecord(garbage.data());
    EXPECT_EQ(s.Numbers.Count, 200);
    EXPECT_EQ(s.NumbersCount(), 16);
    EXPECT_EQ(s.MatchCount(), 9);
    EXPECT_EQ(s.MatchesCount(), 9);
    EXPECT_EQ(s.CommentLen, 255);
    EXPECT_EQ(s.RawComment().size(), 255u);
    // The grid texts of such a record stay within the record.
    for (int c = 0; c < scolCount; ++c)
        (void)StakeCellText(s, c);
    EXPECT_EQ(StakeCellNumbers(s, scolNumbers).size(), 0u); // draw -1: a separator row
}

TEST(StakeRecord, CommentIsCutTo255Bytes) {
    TStakeData s;
    s.SetCommentText(std::string(300, 'x'));
    EXPECT_EQ(s.CommentLen, 255);
    EXPECT_EQ(EncodeStakeRecord(s)[72], static_cast<char>(255));
}

TEST(StakeGrid, CellTextsColoursAndPaintedNumbers) {
    TStakeData s = test::MakeStake(1050, {1, 2, 3, 4, 5, 6}, "мой", -1000000);
    s.SampleSize = 77;
    EXPECT_EQ(StakeCellText(s, scolDraw), "1050");
    EXPECT_EQ(StakeCellText(s, scolKind), "Вручную");
    EXPECT_EQ(StakeCellText(s, scolNumbers), "1;2;3;4;5;6");
    EXPECT_EQ(StakeCellText(s, scolSample), "77");
    EXPECT_EQ(StakeCellText(s, scolResult), "");
    EXPECT_EQ(StakeCellText(s, scolMatchCount), "");
    EXPECT_EQ(StakeCellText(s, scolProfit), "-100.00");
    EXPECT_EQ(StakeCellText(s, scolComment), "мой");
    EXPECT_FALSE(StakeCellTextColor(s, scolProfit));
    EXPECT_EQ(StakeCellBackground(s), 0xEAFFEAu);

    s.Checked = 1;
    const std::uint8_t result[6] = {6, 40, 1, 41, 42, 43};
    std::memcpy(s.DrawResult, result, 6);
    s.Matches = test::Set({1, 6});
    EXPECT_EQ(StakeCellText(s, scolResult), "6;40;1;41;42;43");
    EXPECT_EQ(StakeCellText(s, scolMatchCount), "2");
    EXPECT_EQ(StakeCellText(s, scolMatches), "1 6");
    EXPECT_EQ(StakeCellTextColor(s, scolMatches), 0xFF0000u);
    s.Profit = 1;
    EXPECT_EQ(StakeCellTextColor(s, scolProfit), 0x008000u);
    const auto painted = StakeCellNumbers(s, scolResult);
    ASSERT_EQ(painted.size(), 6u);
    EXPECT_TRUE(painted[0].Matched);
    EXPECT_FALSE(painted[1].Matched);
    EXPECT_TRUE(painted[2].Matched);

    const TStakeData sep = MakeSeparator();
    for (int c = 0; c < scolCount; ++c)
        EXPECT_EQ(StakeCellText(sep, c), "") << c;
    EXPECT_FALSE(StakeCellBackground(sep));
}

TEST(RatingRecord, LayoutIsByteForByte) {
    TRatingData r;
    r.SetCommentText("abc");
    r.Stakes = 10;
    r.Matched = 11;
    for (int i = 0; i < 7; ++i)
        r.Hits[i] = 100 + i;
    r.Profit = -5;
    const std::string b = EncodeRatingRecord(r);
    ASSERT_EQ(b.size(), 304u);
    EXPECT_EQ(b[0], 3);
    EXPECT_EQ(std::string(b, 1, 3), "abc");
    EXPECT_EQ(U32At(b, 256), 10u);
    EXPECT_EQ(U32At(b, 260), 11u);
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(U32At(b, 264 + 4 * i), 100u + i);
    EXPECT_EQ(U32At(b, 292), 0u);
    EXPECT_EQ(U64At(b, 296), static_cast<std::uint64_t>(-5LL));
    EXPECT_EQ(EncodeRatingRecord(DecodeRatingRecord(b.data())), b);
}

TEST(TableRecord, LayoutIsByteForByte) {
    TTableData t;
    t.SetCommentText("r");
    t.Mode = tmLastDraw;
    const std::uint8_t start[6] = {1, 2, 3, 4, 5, 6}, cur[6] = {7, 8, 9, 10, 11, 12};
    std::memcpy(t.Start, start, 6);
    std::memcpy(t.Current, cur, 6);
    t.Step = -3;
    t.Stakes = 9;
    const std::string b = EncodeTableRecord(t);
    ASSERT_EQ(b.size(), 280u);
    EXPECT_EQ(b[0], 1);
    EXPECT_EQ(b[1], 'r');
    EXPECT_EQ(b[256], 1);
    EXPECT_EQ(std::string(b, 257, 6), std::string("\1\2\3\4\5\6", 6));
    EXPECT_EQ(std::string(b, 263, 6), std::string("\7\x08\x09\x0A\x0B\x0C", 6));
    EXPECT_EQ(std::string(b, 269, 3), std::string(3, '\0'));
    EXPECT_EQ(U32At(b, 272), static_cast<std::uint32_t>(-3));
    EXPECT_EQ(U32At(b, 276), 9u);
    EXPECT_EQ(EncodeTableRecord(DecodeTableRecord(b.data())), b);
}

} // namespace
} // namespace pelko
