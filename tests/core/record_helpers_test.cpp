#include "core/comb_list.h"
#include "core/record_helpers.h"

#include <gtest/gtest.h>

namespace pelko {
namespace {

TDrawData Draw(std::initializer_list<int> nums, int number = 1) {
    TDrawData d;
    d.Number = number;
    int i = 0;
    for (const int n : nums)
        d.Nums[i++] = static_cast<std::uint8_t>(n);
    return d;
}

TComb Comb(std::initializer_list<int> nums) {
    TComb c;
    int i = 0;
    for (const int n : nums)
        c[i++] = static_cast<std::uint8_t>(n);
    return c;
}

TEST(RecordHelpers, CountMatchesCountsCommonNumbersInAnyOrder) {
    const TDrawData d = Draw({25, 3, 41, 7, 33, 12});
    EXPECT_EQ(CountMatches(d, d), 6);
    EXPECT_EQ(CountMatches(d, Comb({3, 7, 12, 25, 33, 41})), 6);
    EXPECT_EQ(CountMatches(d, Comb({1, 2, 4, 5, 6, 8})), 0);
    EXPECT_EQ(CountMatches(d, Comb({3, 7, 1, 2, 4, 5})), 2);
}

TEST(RecordHelpers, IntersectNumbersIsSortedAndKeepsOnlyCommonMembers) {
    TNumberSet set;
    set.Count = 5;
    const std::uint8_t members[] = {41, 9, 3, 12, 44};
    std::copy(std::begin(members), std::end(members), set.Members);
    const TNumberSet r = IntersectNumbers(Draw({25, 3, 41, 7, 33, 12}), set);
    ASSERT_EQ(r.Count, 3);
    EXPECT_EQ(r.Members[0], 3);
    EXPECT_EQ(r.Members[1], 12);
    EXPECT_EQ(r.Members[2], 41);
    EXPECT_EQ(r.Members[3], 0);
}

TEST(RecordHelpers, SameNumberSetsIgnoresOrderButNotCount) {
    TNumberSet a = CombToNumberSet(Comb({1, 2, 3, 4, 5, 6}));
    TNumberSet b = CombToNumberSet(Comb({6, 5, 4, 3, 2, 1}));
    EXPECT_TRUE(SameNumberSets(a, b));
    b.Count = 5;
    EXPECT_FALSE(SameNumberSets(a, b));
    b = CombToNumberSet(Comb({6, 5, 4, 3, 2, 7}));
    EXPECT_FALSE(SameNumberSets(a, b));
    a.Count = 99; // damaged counts never read past the members
    b.Count = 99;
    EXPECT_TRUE(SameNumberSets(a, a));
}

TEST(RecordHelpers, ChannelAndMappedValueMembership) {
    const TDrawData d = Draw({5, 6, 45, 200, 0, 11});
    EXPECT_TRUE(DrawHasChannel(1, d, 5));
    EXPECT_TRUE(DrawHasChannel(2, d, 5));
    EXPECT_TRUE(DrawHasChannel(9, d, 5));
    EXPECT_FALSE(DrawHasChannel(4, d, 5));
    EXPECT_FALSE(DrawHasChannel(1, d, 0));
    std::uint8_t table[LOTTO_MAX];
    std::fill(std::begin(table), std::end(table), 1);
    table[44] = 7;
    EXPECT_TRUE(DrawHasMappedValue(7, d, table));
    EXPECT_FALSE(DrawHasMappedValue(9, d, table)); // 200 and 0 are never looked up
}

TEST(RecordHelpers, UniqueNumbersStopAtFortyFive) {
    TCombList list;
    EXPECT_EQ(CountUniqueNumbers(list), 0);
    // Lexicographic order: all 45 numbers appear within the first 40 combinations.
    for (int last = 6; last <= 45; ++last)
        list.Append(Comb({1, 2, 3, 4, 5, last}));
    EXPECT_EQ(CountUniqueNumbers(list.Data(), 0), 0);
    EXPECT_EQ(CountUniqueNumbers(list), 45);
    const TByteArray first = UniqueNumbers(list.Data(), 2);
    EXPECT_EQ(first, (TByteArray{1, 2, 3, 4, 5, 6, 7}));
}

TEST(RecordHelpers, RandomUniqueNumbersKeepsOrderAndLimit) {
    const TComb combs[] = {Comb({9, 2, 7, 4, 5, 6}), Comb({9, 2, 7, 4, 5, 8})};
    const TNumberSet all = RandomUniqueNumbers(combs, 2, 15);
    ASSERT_EQ(all.Count, 7);
    const std::uint8_t expected[] = {9, 2, 7, 4, 5, 6, 8};
    EXPECT_TRUE(std::equal(std::begin(expected), std::end(expected), all.Members));
    EXPECT_EQ(RandomUniqueNumbers(combs, 0, 15).Count, 0);

    const TNumberSet thin = RandomUniqueNumbers(combs, 2, 3);
    ASSERT_EQ(thin.Count, 3);
    // The survivors keep their first-seen order.
    const auto pos = [&](std::uint8_t v) {
        return std::find(std::begin(expected), std::end(expected), v) - std::begin(expected);
    };
    EXPECT_LT(pos(thin.Members[0]), pos(thin.Members[1]));
    EXPECT_LT(pos(thin.Members[1]), pos(thin.Members[2]));
    EXPECT_EQ(RandomUniqueNumbers(combs, 2, 99).Count, 7); // limit is capped at 16
}

TEST(RecordHelpers, SortsAreInPlace) {
    TDrawData d = Draw({25, 3, 41, 7, 33, 12});
    SortDrawNumbers(d);
    EXPECT_EQ(DrawToComb(d), Comb({3, 7, 12, 25, 33, 41}));
    TIntArray v{3, -1, 10, 3};
    SortIntsDesc(v);
    EXPECT_EQ(v, (TIntArray{10, 3, 3, -1}));
}

TEST(RecordHelpers, AddStatSimpleAppendsNewKeysWhateverTheAmount) {
    TStatSimpleArray a;
    AddStatSimple(a, 5, 0);
    ASSERT_EQ(a.size(), 1u);
    EXPECT_EQ(a[0].Count, 0);
    AddStatSimple(a, 5, 0);
    AddStatSimple(a, 5, -3);
    EXPECT_EQ(a[0].Count, 0);
    AddStatSimple(a, 5, 2);
    AddStatSimple(a, -1, 4);
    EXPECT_EQ(a[0].Count, 2);
    SortStatSimple(a);
    EXPECT_EQ(a[0].Key, -1);
    EXPECT_EQ(a[1].Key, 5);
}

TEST(RecordHelpers, ProfitDrawsAccumulatePerDraw) {
    TProfitDrawArray a;
    AddProfitDraw(a, 10, 5 * MONEY_SCALE);
    AddProfitDraw(a, 11, -1);
    AddProfitDraw(a, 10, 1);
    ASSERT_EQ(a.size(), 2u);
    EXPECT_EQ(a[0].Amount, 5 * MONEY_SCALE + 1);
}

TEST(RecordHelpers, SummarizeStatDraws) {
    EXPECT_EQ(SummarizeStatDraws({}).MinCount, 2147483647);
    TStatDrawArray items(3);
    items[0].Count = 4;
    items[0].LastAge = 0;
    items[1].Count = 1;
    items[1].LastAge = 7;
    items[2].Count = 9;
    items[2].LastAge = 3;
    const auto s = SummarizeStatDraws(items);
    EXPECT_EQ(s.MinCount, 1);
    EXPECT_EQ(s.MaxCount, 9);
    EXPECT_EQ(s.Total, 14);
    EXPECT_EQ(s.MaxAge, 7);
}

TEST(RecordHelpers, ShemaConversionKeepsKeyAndCount) {
    TStatDraw d;
    d.Key = TStatKey::FromV(-5, 7);
    d.Count = 12;
    d.LastDraw = 99;
    const TStatDraw back = ShemaToStatDraw(StatDrawToShema(d));
    EXPECT_EQ(back.Key, d.Key);
    EXPECT_EQ(back.Count, 12);
    EXPECT_EQ(back.LastDraw, 0);
}

TEST(StatKey, ViewsShareTheLittleEndianBytes) {
    const TStatKey k = TStatKey::FromV(0x04030201, -1);
    EXPECT_EQ(k.B[0], 1);
    EXPECT_EQ(k.K(1), 0x0201);
    EXPECT_EQ(k.K(2), 0x0403);
    EXPECT_EQ(k.K(3), 0xFFFF);
    EXPECT_EQ(k.V(2), -1);
}

TEST(StatKey, NegativeValuesSortAfterPositiveOnes) {
    EXPECT_LT(TStatKey::FromV(5), TStatKey::FromV(-1));
    EXPECT_LT(TStatKey::FromK(1, 9), TStatKey::FromK(2, 0));
    EXPECT_EQ(CompareKeys(TStatKey::FromV(3, 4), TStatKey::FromV(3, 4)), 0);
}

TEST(Money, RoundsToTheNearestTenThousandth) {
    EXPECT_EQ(MoneyFromDouble(12.345), 123450);
    EXPECT_EQ(MoneyFromDouble(0.00005), 1);
    EXPECT_EQ(MoneyFromDouble(-1.5), -15000);
    EXPECT_DOUBLE_EQ(MoneyToDouble(123450), 12.345);
}

} // namespace
} // namespace pelko
