#include "core/comb_generation.h"
#include "filters/filter_by_selection.h"
#include "stats/custom_stat.h"
#include "stats/stat_list.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace pelko {
namespace {

// Holds a value when the combination's first number is selected (K1); records what the
// pass asked of it.
class TstFirstNumber final : public TCustomNumbersStat {
public:
    using TCustomNumbersStat::TCustomNumbersStat;
    bool TestCombination(const TComb& Comb, const TStatSelection& Selected, int RefIndex, bool Sorted,
                         bool) override {
        seenRef = RefIndex;
        seenSorted = Sorted;
        return Selected.HasKey(Comb[0]);
    }
    void PrepareTest(const TStatSelection& Selected, int, bool, bool) override { prepared = Selected.Count(); }
    int seenRef = -2;
    bool seenSorted = false;
    std::size_t prepared = 0;
};

const TStatClassTable& Classes() {
    static const TStatClassTable table = [] {
        TStatClassTable t;
        t.Add(StatClass<TstFirstNumber>({.Position = 0, .Name = "TstFirstNumber", .Code = "FRST", .Caption = "f",
                                          .Group = sgNumbers, .Flags = sfCombinable | sfReferenceDraw}));
        return t;
    }();
    return table;
}

TStatDrawArray Selection(std::initializer_list<int> values) {
    TStatDrawArray items;
    for (int v : values) {
        TStatDraw d;
        d.Key = TStatKey::FromK(static_cast<std::uint16_t>(v));
        items.push_back(d);
    }
    return items;
}

class Recorder : public TStatusSink {
public:
    void StatusText(const std::string& text) override { texts.push_back(text); }
    std::vector<std::string> texts;
};

class FilterPass : public ::testing::Test {
protected:
    TDrawsArray draws = TDrawsArray(3);
    TStatList list{draws, TConfigData{}, Classes()};
    TCombList undo, out;

    void SetUp() override {
        list.Build();
        draws[2].Number = 77;
        for (int a = 1; a <= 10; ++a)
            for (int b = a + 1; b <= 12; ++b)
                undo.Append(TComb{{static_cast<std::uint8_t>(a), static_cast<std::uint8_t>(b), 40, 41, 42, 43}});
    }
};

TEST_F(FilterPass, KeepAndDropPartitionTheListInOrder) {
    auto stat = list.CreateStat(0);
    TFilterPass keep;
    keep.RefIndex = FilterRefIndex(draws.size(), 0);
    EXPECT_EQ(FilterBySelection(*stat, Selection({2, 5}), keep, undo, out), 10u + 7u);
    std::vector<TComb> kept(out.begin(), out.end());
    for (const TComb& c : kept)
        EXPECT_TRUE(c[0] == 2 || c[0] == 5);
    EXPECT_TRUE(std::is_sorted(kept.begin(), kept.end(), [](const TComb& x, const TComb& y) {
        return std::lexicographical_compare(x.begin(), x.end(), y.begin(), y.end());
    }));
    TFilterPass drop = keep;
    drop.Exclude = true;
    TCombList rest;
    EXPECT_EQ(FilterBySelection(*stat, Selection({2, 5}), drop, undo, rest), undo.Count() - 17);
    for (const TComb& c : rest)
        EXPECT_FALSE(c[0] == 2 || c[0] == 5);
    EXPECT_EQ(undo.Count(), 65u) << "the undo copy is only read";
}

TEST_F(FilterPass, PreparesTheStatisticOnceWithTheReferenceDraw) {
    auto stat = list.CreateStat(0);
    auto& first = dynamic_cast<TstFirstNumber&>(*stat);
    TFilterPass pass;
    pass.RefIndex = FilterRefIndex(draws.size(), 0);
    pass.Sorted = true;
    FilterBySelection(*stat, Selection({1, 2, 3}), pass, undo, out);
    EXPECT_EQ(first.prepared, 3u);
    EXPECT_EQ(first.seenRef, 2);
    EXPECT_TRUE(first.seenSorted);
    EXPECT_EQ(first.RefDraw.Number, 77) << "D statistics judge against the newest draw of the window";
    EXPECT_EQ(first.CurDraw.Number, 0);
}

TEST(FilterRefIndex, NewestDrawOfTheWindowOrZero) {
    EXPECT_EQ(FilterRefIndex(10, 0), 9);
    EXPECT_EQ(FilterRefIndex(10, 9), 0);
    EXPECT_EQ(FilterRefIndex(10, 10), 0);
    EXPECT_EQ(FilterRefIndex(10, 500), 0);
    EXPECT_EQ(FilterRefIndex(0, 0), 0);
}

TEST_F(FilterPass, EmptyUndoEmptiesTheListAndSameListIsRefused) {
    auto stat = list.CreateStat(0);
    out.Append(TComb{{1, 2, 3, 4, 5, 6}});
    TCombList empty;
    EXPECT_EQ(FilterBySelection(*stat, Selection({1}), TFilterPass{}, empty, out), 0u);
    EXPECT_EQ(out.Count(), 0u);
    EXPECT_THROW(FilterBySelection(*stat, Selection({1}), TFilterPass{}, undo, undo), std::logic_error);
}

TEST_F(FilterPass, ReportsWholePerCentsAndClearsTheStatus) {
    auto stat = list.CreateStat(0);
    TCombList big;
    for (int i = 0; i < 1000; ++i)
        big.Append(TComb{{static_cast<std::uint8_t>(1 + i % 45), 2, 3, 4, 5, 6}});
    Recorder status;
    FilterBySelection(*stat, Selection({1}), TFilterPass{}, big, out, &status);
    ASSERT_GE(status.texts.size(), 3u);
    EXPECT_EQ(status.texts.front(), "Фильтрация комбинаций...");
    EXPECT_EQ(status.texts[1], "Фильтрация комбинаций ( завершено 0 % )...");
    // after entries 0, 10, ..., 990: whole per cents 0..99
    EXPECT_EQ(status.texts[status.texts.size() - 2], "Фильтрация комбинаций ( завершено 99 % )...");
    EXPECT_EQ(status.texts.back(), "");
    EXPECT_EQ(status.texts.size(), 1u + 100u + 1u);
}

// The real number statistic over the full set.
TEST(FilterFullSet, KeepingAndDroppingFiveOfNums) {
    TDrawsArray draws;
    TStatList list(draws, TConfigData{});
    list.Build();
    const int nums = list.IndexOfCode("NUMS");
    if (nums < 0)
        GTEST_SKIP() << "NUMS is not registered";
    TCombList full, out;
    GenerateCombList(full, GEN_ALL, TByteSet{});
    auto stat = list.CreateStat(nums);
    TFilterPass pass;
    EXPECT_EQ(FilterBySelection(*stat, Selection({5}), pass, full, out), 1086008u);
    pass.Exclude = true;
    EXPECT_EQ(FilterBySelection(*stat, Selection({5}), pass, full, out), 7059052u);
}

} // namespace
} // namespace pelko
