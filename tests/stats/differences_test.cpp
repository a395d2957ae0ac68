#include "family_fixture.h"
#include "stats/stat_class.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace pelko {
namespace {

using test::FamilyTest;
using test::ForEachCombination;

using test::ClassRow;

class DifferenceClasses : public testing::TestWithParam<ClassRow> {};

TEST_P(DifferenceClasses, CodeCaptionGroupAndFlags) { test::ExpectClassRow(GetParam(), sgDiffs); }

INSTANTIATE_TEST_SUITE_P(
    Registry, DifferenceClasses,
    testing::Values(
        ClassRow{"TstDiffTotal", 0, "DIFA", "Все разности между соседними позициями", "SN", true},
        ClassRow{"TstDiffMax", 0, "DIFM", "Максимальная разность между соседними позициями", "SNG",
                 true},
        ClassRow{"TstMinMaxDiffs", 0, "DIFD", "Разность между минимальным и максимальным числом", "NG",
                 true},
        ClassRow{"TstDiffSame", 0, "DIFO", "Одинаковые разности между соседними позициями", "SN",
                 false},
        ClassRow{"TstDiffSameCnt", 0, "DIFK",
                 "Количество одинаковых разностей между соседними позициями", "SNG", true},
        ClassRow{"TstCombDiffSeq2", 0, "KDS2", "Сочетания из 2 разностей между числами", "S", false},
        ClassRow{"TstCombDiffSeq3", 0, "KDS3", "Сочетания из 3 разностей между числами", "S", false},
        ClassRow{"TstCombDiffSeq4", 0, "KDS4", "Сочетания из 4 разностей между числами", "S", false}));

TEST(DifferenceRegistry, BuildListsTheFamilyInTableOrder) {
    TStatList list;
    list.Build();
    std::vector<std::string> codes;
    for (const TStatMethod& m : list.Methods())
        for (const std::string_view name :
             {"TstDiffTotal", "TstDiffMax", "TstMinMaxDiffs", "TstDiffSame", "TstDiffSameCnt",
              "TstCombDiffSeq2", "TstCombDiffSeq3", "TstCombDiffSeq4"})
            if (m.StatClass->Name == name) codes.push_back(list.MethodCode(m));
    EXPECT_EQ(codes, (std::vector<std::string>{"DIFA", "DIFM", "DIFD", "DIFO", "DIFK", "KDS2",
                                               "KDS3", "KDS4"}));
}

class DifferenceStats : public FamilyTest {
  protected:
    std::vector<std::string> DrawTexts(const char* name, int index, bool sorted) {
        auto stat = Create(name);
        return Texts(*stat, DrawValues(*stat, index, sorted));
    }
    int DrawCount(const char* name, int index, bool sorted, const TStatKey& key) {
        auto stat = Create(name);
        return CountOf(DrawValues(*stat, index, sorted), key);
    }
};

TEST_F(DifferenceStats, EvenlySpacedDraw) {
    AddDraw({5, 12, 19, 26, 33, 40});
    EXPECT_EQ(DrawCount("TstDiffTotal", 0, false, TStatKey::FromK(7)), 5);
    EXPECT_EQ(DrawTexts("TstDiffMax", 0, false), std::vector<std::string>{"7"});
    EXPECT_EQ(DrawTexts("TstMinMaxDiffs", 0, false), std::vector<std::string>{"35"});
    EXPECT_EQ(DrawTexts("TstDiffSame", 0, false), std::vector<std::string>{"7 x 5"});
    EXPECT_EQ(DrawTexts("TstDiffSameCnt", 0, false), std::vector<std::string>{"5"});
    EXPECT_EQ(DrawTexts("TstCombDiffSeq2", 0, false), std::vector<std::string>{"7:7"});
    EXPECT_EQ(DrawCount("TstCombDiffSeq2", 0, false, TStatKey::FromK(7, 7)), 4);
    EXPECT_EQ(DrawCount("TstCombDiffSeq3", 0, false, TStatKey::FromK(7, 7, 7)), 3);
    EXPECT_EQ(DrawCount("TstCombDiffSeq4", 0, false, TStatKey::FromK(7, 7, 7, 7)), 2);
    EXPECT_EQ(DrawTexts("TstCombDiffSeq4", 0, false), std::vector<std::string>{"7:7:7:7"});
}

TEST_F(DifferenceStats, DrawnOrderUnlessSorted) {
    AddDraw({40, 5, 33, 12, 26, 19}); // differences 35, 28, 21, 14, 7
    EXPECT_EQ(DrawTexts("TstDiffMax", 0, false), std::vector<std::string>{"35"});
    EXPECT_EQ(DrawTexts("TstDiffMax", 0, true), std::vector<std::string>{"7"});
    EXPECT_EQ(DrawTexts("TstMinMaxDiffs", 0, false), std::vector<std::string>{"35"});
    EXPECT_EQ(DrawTexts("TstMinMaxDiffs", 0, true), std::vector<std::string>{"35"});
    EXPECT_EQ(DrawTexts("TstDiffTotal", 0, false),
              (std::vector<std::string>{"35", "28", "21", "14", "7"}));
    EXPECT_EQ(DrawTexts("TstCombDiffSeq3", 0, false),
              (std::vector<std::string>{"35:28:21", "28:21:14", "21:14:7"}));
    EXPECT_EQ(DrawTexts("TstDiffSameCnt", 0, true), std::vector<std::string>{"5"});
    auto max = Create("TstDiffMax");
    EXPECT_EQ(dynamic_cast<TCustomGraphStat&>(*max).GraphValueOfDraw(0, 0, false), 35);
}

TEST_F(DifferenceStats, Spread) {
    auto stat = Create("TstMinMaxDiffs");
    EXPECT_EQ(Texts(*stat, CombValues(*stat, {1, 2, 3, 4, 5, 45})), std::vector<std::string>{"44"});
    EXPECT_EQ(Texts(*stat, CombValues(*stat, {1, 2, 3, 4, 5, 6})), std::vector<std::string>{"5"});
    EXPECT_EQ(WindowValues(*stat, 0, -1, false).size(), 44u);
    EXPECT_EQ(WindowValues(*Create("TstDiffSameCnt"), 0, -1, false).size(), 5u);
}

TEST_F(DifferenceStats, RepeatsInOrderOfFirstAppearance) {
    AddDraw({1, 3, 10, 20, 30, 40}); // differences 2, 7, 10, 10, 10
    EXPECT_EQ(DrawTexts("TstDiffSame", 0, false),
              (std::vector<std::string>{"2 x 1", "7 x 1", "10 x 3"}));
    EXPECT_EQ(DrawTexts("TstDiffSameCnt", 0, false), std::vector<std::string>{"3"});
    auto stat = Create("TstDiffSame");
    EXPECT_TRUE(Test(*stat, Select({TStatKey::FromK(10, 3)}), {1, 3, 10, 20, 30, 40}));
    EXPECT_FALSE(Test(*stat, Select({TStatKey::FromK(10, 2)}), {1, 3, 10, 20, 30, 40}));
    EXPECT_TRUE(WindowValues(*stat, 0, -1, false).empty());
}

// Gaps between occurrences are measured on the first difference (first window) only.
TEST_F(DifferenceStats, GapsTrackedOnTheFirstValueOnly) {
    AddDraw({1, 3, 10, 20, 30, 40});
    AddDraw({1, 3, 10, 20, 30, 40});
    auto total = Create("TstDiffTotal");
    const TStatDrawList totals = WindowValues(*total, 0, 1, false);
    const TStatDraw& two = totals[static_cast<std::size_t>(totals.Find(TStatKey::FromK(2)))];
    const TStatDraw& seven = totals[static_cast<std::size_t>(totals.Find(TStatKey::FromK(7)))];
    EXPECT_EQ(two.MinPeriod, 1);
    EXPECT_EQ(seven.MinPeriod, 0);
    EXPECT_EQ(seven.PrevDraw, 101);
    EXPECT_EQ(seven.Count, 2);

    auto seq = Create("TstCombDiffSeq2");
    const TStatDrawList windows = WindowValues(*seq, 0, 1, false);
    EXPECT_EQ(windows[static_cast<std::size_t>(windows.Find(TStatKey::FromK(2, 7)))].MaxPeriod, 1);
    EXPECT_EQ(windows[static_cast<std::size_t>(windows.Find(TStatKey::FromK(7, 10)))].MaxPeriod, 0);

    auto same = Create("TstDiffSame"); // every distinct difference is tracked
    const TStatDrawList repeats = WindowValues(*same, 0, 1, false);
    EXPECT_EQ(repeats[static_cast<std::size_t>(repeats.Find(TStatKey::FromK(10, 3)))].MaxPeriod, 1);
}

TEST_F(DifferenceStats, SequenceSelectionKeepsTheOrderOfDifferences) {
    auto stat = Create("TstCombDiffSeq2");
    const TStatSelection threeSeven = Select({TStatKey::FromK(3, 7)});
    EXPECT_TRUE(Test(*stat, threeSeven, {1, 4, 11, 20, 30, 40}));   // 3, 7, ...
    EXPECT_FALSE(Test(*stat, threeSeven, {1, 8, 11, 20, 30, 40}));  // 7, 3, ...
    EXPECT_TRUE(CombValues(*stat, {1, 4, 11, 20, 30, 40}).empty()); // not combinable
    EXPECT_TRUE(Test(*Create("TstCombDiffSeq4"), Select({TStatKey::FromK(7, 9, 10, 10)}),
                     {1, 4, 11, 20, 30, 40}));
    EXPECT_TRUE(
        Test(*Create("TstDiffTotal"), Select({TStatKey::FromK(9)}), {1, 4, 11, 20, 30, 40}));
    EXPECT_FALSE(
        Test(*Create("TstDiffTotal"), Select({TStatKey::FromK(8)}), {1, 4, 11, 20, 30, 40}));
}

TEST_F(DifferenceStats, RunsOfCombinationsMergeLikeSingleOnes) {
    std::vector<TComb> combs = test::FirstCombinations(70000); // more than one counting run
    combs.insert(combs.begin(), {Comb({45, 1, 1, 0, 7, 200}), Comb({40, 5, 33, 12, 26, 19})});
    test::ExpectRunMatchesSingleCombinations(*Create("TstDiffSame"), combs);
}

long long Choose(int n, int k) {
    if (k < 0 || k > n) return 0;
    long long r = 1;
    for (int i = 1; i <= k; ++i)
        r = r * (n - k + i) / i;
    return r;
}

// Ascending combinations whose five gaps are all at most g: gap totals T by compositions,
// each placed at 45 - T starting numbers.
long long CombsWithGapsUpTo(int g) {
    std::vector<long long> ways(LOTTO_MAX, 0); // compositions by total
    ways[0] = 1;
    for (int part = 0; part < LOTTO_COUNT - 1; ++part) {
        std::vector<long long> next(LOTTO_MAX, 0);
        for (int t = 0; t < LOTTO_MAX; ++t)
            for (int d = 1; d <= g && t + d < LOTTO_MAX; ++d)
                next[static_cast<std::size_t>(t + d)] += ways[static_cast<std::size_t>(t)];
        ways = next;
    }
    long long total = 0;
    for (int t = 0; t < LOTTO_MAX; ++t)
        total += ways[static_cast<std::size_t>(t)] * (LOTTO_MAX - t);
    return total;
}

TEST_F(DifferenceStats, FullSetOfCombinations) {
    auto total = Create("TstDiffTotal");
    auto max = Create("TstDiffMax");
    auto spread = Create("TstMinMaxDiffs");
    auto same = Create("TstDiffSame");
    auto sameCnt = Create("TstDiffSameCnt");
    const TStatDrawList totalValues = test::FullDistribution(*total);
    const TStatDrawList maxValues = test::FullDistribution(*max);
    const TStatDrawList spreadValues = test::FullDistribution(*spread);
    const TStatDrawList sameValues = test::FullDistribution(*same);
    const TStatDrawList sameCntValues = test::FullDistribution(*sameCnt);
    const TStatSelection max7 = Select({TStatKey::FromK(7)});
    const TStatSelection twiceFive = Select({TStatKey::FromK(5, 2)});
    auto& sameCntGraph = dynamic_cast<TCustomGraphStat&>(*sameCnt);
    long keptMax = 0, keptSame = 0, sameCntWrong = 0, index = 0;
    ForEachCombination([&](const TComb& c) {
        if (index++ % 8 == 0) { // largest multiplicity, counted pair by pair, on a sample
            int most = 0;
            for (int i = 0; i < 5; ++i) {
                int times = 0;
                for (int j = 0; j < 5; ++j)
                    times += c[j + 1] - c[j] == c[i + 1] - c[i];
                most = std::max(most, times);
            }
            sameCntWrong += sameCntGraph.GraphValue(c, 0, 0, false) != most;
        }
        keptMax += max->TestCombination(c, max7, 0, false, false);
        keptSame += same->TestCombination(c, twiceFive, 0, false, false);
    });

    for (int d = 1; d <= 44; ++d) {
        const TStatKey key = TStatKey::FromK(d);
        // A gap d between neighbours a and a + d leaves four numbers outside [a, a + d].
        EXPECT_EQ(std::max(CountOf(totalValues, key), 0), (45 - d) * Choose(44 - d, 4)) << d;
        // Smallest a, largest a + d, four numbers strictly between.
        const long long bySpread = (45 - d) * Choose(d - 1, 4);
        EXPECT_EQ(std::max(CountOf(spreadValues, key), 0), bySpread) << d;
        EXPECT_EQ(std::max(CountOf(maxValues, key), 0),
                  CombsWithGapsUpTo(d) - CombsWithGapsUpTo(d - 1))
            << d;
    }
    EXPECT_EQ(sameCntWrong, 0);
    EXPECT_EQ(keptMax, CountOf(maxValues, TStatKey::FromK(7)));
    EXPECT_EQ(keptSame, CountOf(sameValues, TStatKey::FromK(5, 2)));

    long long weighted = 0, sameCntTotal = 0;
    for (const TStatDraw& v : sameValues)
        weighted += static_cast<long long>(v.Count) * v.Key.K(2);
    for (const TStatDraw& v : sameCntValues)
        sameCntTotal += v.Count;
    EXPECT_EQ(weighted, 5LL * COMBS_TOTAL);
    EXPECT_EQ(sameCntTotal, COMBS_TOTAL);
    long long evenlySpaced = 0; // five equal gaps d: 45 - 5d starting numbers
    for (int d = 1; 1 + 5 * d <= LOTTO_MAX; ++d)
        evenlySpaced += LOTTO_MAX - 5 * d;
    EXPECT_EQ(CountOf(sameCntValues, TStatKey::FromK(5)), evenlySpaced);
}

} // namespace
} // namespace pelko
