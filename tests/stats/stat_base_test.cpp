#include "core/record_helpers.h"
#include "stats/stat_draw.h"
#include "stats/stat_format.h"
#include "stats/stat_selection.h"
#include "test_stats.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace pelko {
namespace {

using test::MakeDraw;

TStatDraw Occurrence(int draw, int age, TStatKey key = TStatKey::FromK(7)) {
    TStatDraw d;
    d.LastDraw = draw;
    d.PrevDraw = draw;
    d.LastAge = age;
    d.Count = 1;
    d.Key = key;
    return d;
}

TEST(AddStatDraw, MergesOccurrencesOldestFirstWithGaps) {
    TStatDrawList values;
    AddStatDraw(values, Occurrence(100, 11), true);
    AddStatDraw(values, Occurrence(103, 8), true);
    AddStatDraw(values, Occurrence(110, 1), true);
    ASSERT_EQ(values.size(), 1u);
    const TStatDraw& v = values[0];
    EXPECT_EQ(v.Count, 3);
    EXPECT_EQ(v.MinPeriod, 3);
    EXPECT_EQ(v.MaxPeriod, 7);
    EXPECT_EQ(v.PrevDraw, 110);
    EXPECT_EQ(v.LastDraw, 110);
    EXPECT_EQ(v.LastAge, 1);
}

TEST(AddStatDraw, WithoutGapTrackingOnlyMovesPrevDraw) {
    TStatDrawList values;
    AddStatDraw(values, Occurrence(100, 2), false);
    AddStatDraw(values, Occurrence(105, 1), false);
    EXPECT_EQ(values[0].MinPeriod, 0);
    EXPECT_EQ(values[0].MaxPeriod, 0);
    EXPECT_EQ(values[0].PrevDraw, 105);
}

TEST(AddStatDraw, OlderOccurrenceNeverReplacesYoungerAgeButEqualAgeTakesNewerCall) {
    TStatDrawList values;
    AddStatDraw(values, Occurrence(110, 1), false);
    AddStatDraw(values, Occurrence(100, 5), false);
    EXPECT_EQ(values[0].LastDraw, 110);
    AddStatDraw(values, Occurrence(111, 1), false);
    EXPECT_EQ(values[0].LastDraw, 111);
    // an item without age never displaces a set one
    AddStatDraw(values, Occurrence(120, 0), false);
    EXPECT_EQ(values[0].LastDraw, 111);
}

TEST(AddStatDraw, PrefilledZeroCountTakesFirstOccurrence) {
    TStatDrawList values;
    TStatDraw empty;
    empty.Key = TStatKey::FromK(7);
    AddStatDraw(values, empty, false);
    AddStatDraw(values, Occurrence(50, 4), true);
    EXPECT_EQ(values[0].Count, 1);
    EXPECT_EQ(values[0].LastDraw, 50);
    EXPECT_EQ(values[0].LastAge, 4);
    // count 0 on a present key leaves the count but takes an unset age
    TStatDrawList other;
    AddStatDraw(other, Occurrence(0, 0), false);
    other[0].Count = 2;
    TStatDraw zero = Occurrence(60, 3);
    zero.Count = 0;
    AddStatDraw(other, zero, false);
    EXPECT_EQ(other[0].Count, 2);
    EXPECT_EQ(other[0].LastDraw, 60);
}

TEST(TStatDrawList, FindsEveryKindOfKeyAndKeepsFirstAppearanceOrder) {
    TStatDrawList values;
    std::vector<TStatKey> keys;
    for (int i = 0; i < 3000; ++i) // small, hashed and negative keys mixed
        keys.push_back(i % 3 == 0 ? TStatKey::FromK(static_cast<std::uint16_t>(i))
                       : i % 3 == 1 ? TStatKey::FromV(-i, i) : TStatKey::FromK(1, 2, 3, static_cast<std::uint16_t>(i)));
    for (int round = 0; round < 2; ++round)
        for (const TStatKey& k : keys) {
            TStatDraw d;
            d.Key = k;
            d.Count = 1;
            AddStatDraw(values, d, false);
        }
    ASSERT_EQ(values.size(), keys.size());
    for (std::size_t i = 0; i < keys.size(); ++i) {
        EXPECT_EQ(values[i].Key, keys[i]);
        EXPECT_EQ(values[i].Count, 2);
        EXPECT_EQ(values.Find(keys[i]), static_cast<int>(i));
    }
    EXPECT_EQ(values.Find(TStatKey::FromV(1, 1)), -1);
    values.Clear();
    EXPECT_TRUE(values.empty());
    EXPECT_EQ(values.Find(keys[0]), -1);
    EXPECT_EQ(values.Find(keys[1]), -1);
}

TEST(TStatDrawList, CountingModeGivesTheCountsOfMerging) {
    TStatDrawList merged, counted;
    counted.BeginCounting();
    std::uint32_t seed = 12345;
    for (int i = 0; i < 20000; ++i) {
        seed = seed * 1103515245u + 12345u;
        const std::uint32_t r = seed >> 8;
        TStatDraw d;
        d.Key = r % 4 == 0 ? TStatKey::FromV(static_cast<std::int32_t>(r % 5000)) : TStatKey::FromK(static_cast<std::uint16_t>(r % 300));
        d.Count = 1;
        AddStatDraw(merged, d, false);
        counted.SelectCountingBank(static_cast<std::size_t>(i));
        AddStatDraw(counted, d, false);
    }
    counted.EndCounting();
    EXPECT_FALSE(counted.CountingOnly());
    ASSERT_EQ(counted.size(), merged.size());
    for (const TStatDraw& d : merged) {
        const int at = counted.Find(d.Key);
        ASSERT_GE(at, 0);
        EXPECT_EQ(counted[static_cast<std::size_t>(at)].Count, d.Count);
    }
    // a pre-filled value is counted into, not duplicated
    TStatDrawList prefilled;
    TStatDraw zero;
    zero.Key = TStatKey::FromK(3);
    AddStatDraw(prefilled, zero, false);
    prefilled.BeginCounting();
    zero.Count = 1;
    AddStatDraw(prefilled, zero, false);
    AddStatDraw(prefilled, zero, false);
    prefilled.EndCounting();
    ASSERT_EQ(prefilled.size(), 1u);
    EXPECT_EQ(prefilled[0].Count, 2);
}

TEST(TStatDrawList, SortByKeyPutsNegativeV1AfterPositives) {
    TStatDrawList values;
    for (int v : {5, -1, 0, 70000, 3}) {
        TStatDraw d;
        d.Key = TStatKey::FromV(v);
        AddStatDraw(values, d, false);
    }
    values.SortByKey();
    std::vector<int> order;
    for (const TStatDraw& d : values)
        order.push_back(d.Key.V(1));
    // K1 first: 70000 has K1 = 4464, -1 has K1 = 65535
    EXPECT_EQ(order, (std::vector<int>{0, 3, 5, 70000, -1}));
    EXPECT_EQ(values.Find(TStatKey::FromV(-1)), 4);
}

TEST(UpdateLastValue, ReturnsDistanceOrMinusOne) {
    TLastValueArray last;
    EXPECT_EQ(UpdateLastValue(Occurrence(100, 1), last), -1);
    EXPECT_EQ(UpdateLastValue(Occurrence(104, 1), last), 4);
    EXPECT_EQ(UpdateLastValue(Occurrence(7, 1, TStatKey::FromK(8)), last), -1);
    EXPECT_EQ(last.size(), 2u);
    EXPECT_EQ(last[0].Draw, 104);
}

TEST(TStatSelection, LookupsAnswerLikeALinearScan) {
    TStatDrawArray items;
    for (TStatKey k : {TStatKey::FromK(5), TStatKey::FromV(-3, 7), TStatKey::FromK(300, 2, 9, 4),
                       TStatKey::FromV(123456, -1)}) {
        TStatDraw d;
        d.Key = k;
        items.push_back(d);
    }
    const TStatSelection sel(items);
    auto scan = [&](auto pred) { return std::any_of(items.begin(), items.end(), pred); };
    for (int w = 0; w < 65536; w += 1) {
        const auto word = static_cast<std::uint16_t>(w);
        for (int i = 1; i <= 4; ++i)
            ASSERT_EQ(sel.HasWord(i, word), scan([&](const TStatDraw& d) { return d.Key.K(i) == word; })) << i << " " << w;
    }
    for (int i = 1; i <= 8; ++i)
        for (int b = 0; b < 256; ++b)
            ASSERT_EQ(sel.HasByte(i, static_cast<std::uint8_t>(b)),
                      scan([&](const TStatDraw& d) { return d.Key.B[i - 1] == b; }));
    for (int v : {5, -3, 7, 123456, -1, 0, 300, 65536 * 2 + 300})
        for (int i = 1; i <= 2; ++i)
            EXPECT_EQ(sel.HasLong(i, v), scan([&](const TStatDraw& d) { return d.Key.V(i) == v; })) << i << " " << v;
    EXPECT_TRUE(sel.HasKey(5));
    EXPECT_TRUE(sel.HasKey(TStatKey::FromV(-3, 7)));
    EXPECT_TRUE(sel.HasKey(300, 2, 9, 4));
    EXPECT_FALSE(sel.HasKey(300, 2, 9, 5));
    EXPECT_FALSE(sel.HasKey(6));
    EXPECT_TRUE(sel.HasWords13(300, 9));
    EXPECT_TRUE(sel.HasWords13(5, 0));
    EXPECT_FALSE(sel.HasWords13(300, 0));
    EXPECT_EQ(sel.Count(), 4u);
}

TEST(FormatTemplate, PascalStyleSpecifiers) {
    struct Case {
        const char* tmpl;
        int arg;
        const char* expected;
    };
    for (const Case& c : {Case{"POS%d", 3, "POS3"}, Case{"NUMS", 3, "NUMS"}, Case{"Число в %0:d позиции", 2, "Число в 2 позиции"},
                          Case{"из %0:d в %%d позиции", 2, "из 2 в %d позиции"}, Case{"(%.3d)", 18, "(018)"},
                          Case{"диапазон %d (%d/%d)", 1, "диапазон 1 (%d/%d)"}, Case{"100%", 1, "100%"}})
        EXPECT_EQ(FormatTemplate(c.tmpl, c.arg), c.expected) << c.tmpl;
    EXPECT_EQ(FormatTemplate("{ %1:s } %0:s", {std::string("Числа"), std::string("num")}), "{ num } Числа");
    EXPECT_TRUE(HasPlaceholder("a %d b"));
    EXPECT_FALSE(HasPlaceholder("a %%d b"));
}

TEST(StatGroups, CaptionsTagsAndFlagLetters) {
    EXPECT_EQ(GroupCaption(0), "{ num } Числа тиража");
    EXPECT_EQ(GroupCaption(12), "{ shr } Методы шинковки");
    EXPECT_EQ(GroupCaption(13), "#ERROR#");
    EXPECT_EQ(GroupCaption(-1), "#ERROR#");
    EXPECT_EQ(FlagLetters(sfGraph | sfOrderSensitive | sfCombinable), "SNG");
    EXPECT_EQ(FlagLetters(0), "");
}

class ValueKinds : public ::testing::Test {
protected:
    TDrawsArray draws;
    TStatList list{draws, TConfigData{}, test::TestClasses()};
    std::unique_ptr<TCustomStat> Create(const char* name) { return list.Classes().FindByName(name)->New(list, 0); }
};

TEST_F(ValueKinds, MaskTextsRoundTrip) {
    auto mask = Create("TstTestMask");
    TStatDraw d;
    d.Key = TStatKey::FromV(18);
    EXPECT_EQ(mask->ValueToText(d), "ЧнЧЧнЧ (018)");
    for (int m = 0; m < 64; ++m) {
        d.Key = TStatKey::FromV(m);
        EXPECT_EQ(mask->TextToValue(mask->ValueToText(d)), m);
    }
    EXPECT_EQ(mask->TextToValue("н"), 32);
    EXPECT_EQ(mask->TextToValue(""), 0);
    TStatDrawList values;
    mask->FillAllValues(0, values);
    ASSERT_EQ(values.size(), 64u);
    EXPECT_EQ(values[63].Key.V(1), 63);
    EXPECT_EQ(values[63].Count, 0);
}

TEST_F(ValueKinds, RatioAndNumberTexts) {
    auto ratio = Create("TstTestRatio");
    TStatDraw d;
    d.Key = TStatKey::FromK(2);
    EXPECT_EQ(ratio->ValueToText(d), "2:4");
    EXPECT_EQ(ratio->TextToValue("2:4"), 2);
    EXPECT_EQ(ratio->TextToValue("x:4"), 0);
    EXPECT_EQ(ratio->TextToScalar("5:1"), 5);
    auto values = Create("TstTestValues");
    d.Key = TStatKey::FromK(45);
    EXPECT_EQ(values->ValueToText(d), "45");
    EXPECT_EQ(values->TextToValue("17"), 17);
    EXPECT_EQ(values->TextToValue("17a"), 0);
    EXPECT_EQ(values->TextToValue("-4"), -4);
}

TEST_F(ValueKinds, DrawsAreLoadedSortedOnlyWhenAsked) {
    draws = {MakeDraw(1, {9, 3, 40, 1, 22, 15}), MakeDraw(2, {2, 4, 6, 8, 10, 12})};
    auto mask = Create("TstTestMask");
    mask->SelectDraws(0, 1, false);
    EXPECT_EQ(mask->CurDraw.Nums[0], 9);
    mask->SelectDraws(0, 1, true);
    EXPECT_EQ(mask->CurDraw.Nums[0], 1);
    EXPECT_EQ(mask->CurDraw.Nums[5], 40);
    EXPECT_EQ(mask->RefDraw.Number, 0) << "no D flag: the reference draw is not loaded";
    mask->SelectDraws(5, -1, false);
    EXPECT_EQ(mask->CurDraw.Number, 0);
    EXPECT_EQ(mask->CurDraw.Nums[0], 0);

    auto sum = list.Classes().FindByName("TstTestSum")->New(list, 0);
    auto* graph = dynamic_cast<TCustomGraphStat*>(sum.get());
    ASSERT_NE(graph, nullptr);
    EXPECT_EQ(graph->GraphValueOfDraw(1, 1, false), 42);
    EXPECT_EQ(graph->GraphValueOfDraw(7, 1, false), 0);
}

TEST_F(ValueKinds, ReferenceDrawLoadedForDStatistics) {
    draws = {MakeDraw(1, {1, 2, 3, 4, 5, 6}), MakeDraw(2, {7, 8, 9, 10, 11, 12})};
    auto ref = Create("TstTestRef");
    ref->SelectDraws(-1, 1, false);
    EXPECT_EQ(ref->CurDraw.Number, 0);
    EXPECT_EQ(ref->RefDraw.Number, 2);
}

TEST_F(ValueKinds, ComputeForDrawSetsAgeAndFindNextOccurrenceLooksPastTheWindow) {
    draws = {MakeDraw(10, {1, 2, 3, 4, 5, 6}), MakeDraw(11, {7, 8, 9, 10, 11, 12}),
             MakeDraw(12, {1, 8, 13, 14, 15, 16}), MakeDraw(13, {2, 20, 21, 22, 23, 24})};
    auto stat = Create("TstTestValues");
    TStatDrawList values;
    TStatWorkArea work;
    TLastValueArray last;
    for (int i = 0; i <= 1; ++i)
        stat->ComputeForDraw(i, 1, false, values, work, last);
    const TStatDraw one = values[static_cast<std::size_t>(values.Find(TStatKey::FromK(1)))];
    EXPECT_EQ(one.LastDraw, 10);
    EXPECT_EQ(one.LastAge, 2);
    EXPECT_EQ(stat->FindNextOccurrence(one, 1, false, 1), 12);
    TStatDraw two = one;
    two.Key = TStatKey::FromK(2);
    EXPECT_EQ(stat->FindNextOccurrence(two, 1, false, 1), 13);
    two.Key = TStatKey::FromK(45);
    EXPECT_EQ(stat->FindNextOccurrence(two, 1, false, 1), -1);
    EXPECT_EQ(stat->FindNextOccurrence(one, 4, false, 1), -1);
}

// Keeps the run length of number 1 in the work area: its values depend on earlier draws.
class TstTestRun final : public TCustomNumbersStat {
public:
    using TCustomNumbersStat::TCustomNumbersStat;
    void ComputeForDraw(int DrawIndex, int LastIndex, bool Sorted, TStatDrawList& Values, TStatWorkArea& Work,
                        TLastValueArray& LastValues) override {
        TCustomNumbersStat::ComputeForDraw(DrawIndex, LastIndex, Sorted, Values, Work, LastValues);
        TStatWorkEntry& run = Work[1];
        run.RunLength = DrawHasNumber(1, CurDraw) ? run.RunLength + 1 : 0;
        AddValue(Values, TStatKey::FromK(static_cast<std::uint16_t>(run.RunLength)), true);
    }
    bool TestCombination(const TComb&, const TStatSelection&, int, bool, bool) override { return false; }
};

TEST_F(ValueKinds, PreparedNextOccurrencesAnswerLikeTheScan) {
    for (int i = 0; i < 60; ++i)
        draws.push_back(MakeDraw(500 + i, {i % 3 == 0 ? 1 : 2, 3 + i % 7, 11 + i % 5, 20 + i % 11, 33 + i % 4, 40 + i % 6}));
    TStatClassTable runs;
    runs.Add(StatClass<TstTestRun>({.Position = 0, .Name = "TstTestRun", .Code = "TRUN", .Caption = "r"}));
    for (const TStatClassInfo* cls : {list.Classes().FindByName("TstTestValues"), &runs[0]}) {
        auto scan = cls->New(list, 0);
        auto prepared = cls->New(list, 0);
        prepared->PrepareNextOccurrences(5, false, 40);
        for (int key = 0; key <= 45; ++key)
            for (int from = 5; from <= 61; from += 4) {
                TStatDraw item;
                item.Key = TStatKey::FromK(static_cast<std::uint16_t>(key));
                ASSERT_EQ(prepared->FindNextOccurrence(item, from, false, 40), scan->FindNextOccurrence(item, from, false, 40))
                    << cls->Name << " key " << key << " from " << from;
            }
    }
}

TEST(TCustomStat, DirectlyBuiltObjectHasNoClass) {
    TStatList list(test::TestClasses());
    test::TstTestValues stat(list, 0);
    EXPECT_THROW(stat.Class(), std::logic_error);
}

} // namespace
} // namespace pelko
