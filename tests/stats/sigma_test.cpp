#include "core/arithmetic.h"
#include "core/diff_chain.h"
#include "family_fixture.h"
#include "stats/prefetch_files.h"
#include "stats/stat_class.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace pelko {
namespace {

using test::FamilyTest;
using test::ForEachCombination;

struct SigmaRow {
    const char* Name;
    const char* Code;
    const char* Caption;
    const char* Flags;
    bool Scalar;
};

class SigmaClasses : public testing::TestWithParam<SigmaRow> {};

TEST_P(SigmaClasses, Descriptor) {
    const SigmaRow& row = GetParam();
    const TStatClassInfo* info = StandardStatClasses().FindByName(row.Name);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->CodeOf(5), row.Code); // the class formats its own number
    EXPECT_EQ(info->CaptionOf(0), row.Caption);
    EXPECT_EQ(info->GetGroup(), sgSigma);
    EXPECT_EQ(FlagLetters(info->GetAllFlags()), row.Flags);
    EXPECT_EQ(info->HasScalarValues(), row.Scalar);
}

INSTANTIATE_TEST_SUITE_P(
    Registry, SigmaClasses,
    testing::Values(SigmaRow{"TstSigma1", "HCS1", "Число Сигмы 1 (только разность)", "SNG", true},
                    SigmaRow{"TstSigma2", "HCS2", "Число Сигмы 2 (разность + сложение, если {0,1})", "SNG", true},
                    SigmaRow{"TstSigma3", "HCS3", "Числа Сигмы 3 (динамический, только фильтр)", "SD", false}));

TEST(SigmaRegistry, MethodsInTableOrder) {
    TStatList list;
    list.Build();
    std::vector<std::string> codes;
    for (const TStatMethod& m : list.Methods())
        if (m.StatClass->GetGroup() == sgSigma)
            codes.push_back(list.MethodCode(m));
    EXPECT_EQ(codes, (std::vector<std::string>{"HCS1", "HCS2", "HCS3"}));
}

class SigmaStats : public FamilyTest {
protected:
    int Graph(const char* className, std::initializer_list<int> nums) {
        auto stat = Create(className);
        return dynamic_cast<TCustomGraphStat&>(*stat).GraphValue(Comb(nums), 0, 0, false);
    }
    // Texts and counts of TstSigma3 over a window ending at the first draw.
    std::vector<std::string> Candidates() {
        auto stat = Create("TstSigma3");
        std::vector<std::string> rows;
        for (const TStatDraw& v : WindowValues(*stat, 0, 0, false))
            rows.push_back(stat->ValueToText(v) + "=" + std::to_string(v.Count));
        return rows;
    }
};

struct ChainCase {
    std::vector<int> Nums;
    int Mode0;
    int Mode1;
};

TEST_F(SigmaStats, ChainValuesOfWorkedExamples) {
    const ChainCase cases[] = {
        {{1, 2, 3, 4, 5, 6}, 0, 0},       // rows of 1s then 0s; the final (0, 0) sums to 0
        {{1, 3, 6, 10, 15, 21}, 0, 0},    // 2..6, then 1s, then 0s
        {{2, 5, 7, 12, 20, 33}, 0, 4},    // ... 2, 2 -> 0; mode 1: 2 + 2
        {{1, 2, 3, 4, 5, 7}, 1, 1},       // final pair (0, 1)
    };
    for (const ChainCase& c : cases) {
        SCOPED_TRACE(c.Nums[5]);
        TComb comb;
        for (int i = 0; i < LOTTO_COUNT; ++i)
            comb[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(c.Nums[static_cast<std::size_t>(i)]);
        auto s1 = Create("TstSigma1");
        auto s2 = Create("TstSigma2");
        EXPECT_EQ(dynamic_cast<TCustomGraphStat&>(*s1).GraphValue(comb, 0, 0, false), c.Mode0);
        EXPECT_EQ(dynamic_cast<TCustomGraphStat&>(*s2).GraphValue(comb, 0, 0, false), c.Mode1);
        TStatDrawList values;
        s2->ComputeForCombination(comb, values);
        ASSERT_EQ(values.size(), 1u);
        EXPECT_EQ(values[0].Key, TStatKey::FromK(static_cast<std::uint16_t>(c.Mode1)));
    }
}

TEST_F(SigmaStats, DrawValuesFollowTheSortedOption) {
    AddDraw({33, 2, 5, 7, 12, 20});
    auto stat = Create("TstSigma1");
    EXPECT_EQ(Texts(*stat, DrawValues(*stat, 0, true)), std::vector<std::string>{"0"});
    EXPECT_EQ(Texts(*stat, DrawValues(*stat, 0, false)), std::vector<std::string>{"23"});
    EXPECT_EQ(dynamic_cast<TCustomGraphStat&>(*stat).GraphValueOfDraw(0, 0, false), 23);
    EXPECT_TRUE(WindowValues(*stat, 0, -1, false).empty()); // nothing pre-filled
    EXPECT_TRUE(Test(*stat, Select({TStatKey::FromK(0)}), {2, 5, 7, 12, 20, 33}));
    EXPECT_FALSE(Test(*stat, Select({TStatKey::FromK(23)}), {2, 5, 7, 12, 20, 33}));
}

TEST_F(SigmaStats, DynamicCandidatesAreMultiplesOfTheNumber) {
    AddDraw({1, 2, 3, 4, 5, 13}); // mode 2 gives 7; 49 is beyond 45
    EXPECT_EQ(Candidates(), (std::vector<std::string>{"7=0", "42=0", "35=0", "28=0", "21=0", "14=0"}));
    SetDraws({});
    AddDraw({1, 2, 3, 4, 5, 9}); // 3: from 3³ = 27 down
    EXPECT_EQ(Candidates(),
              (std::vector<std::string>{"3=0", "27=0", "24=0", "21=0", "18=0", "15=0", "12=0", "9=0", "6=0"}));
    SetDraws({});
    AddDraw({1, 2, 3, 4, 5, 6}); // 0
    EXPECT_EQ(Candidates(), std::vector<std::string>{"0=0"});
    SetDraws({});
    AddDraw({1, 2, 3, 4, 5, 7}); // the pair (1, 1): f = 1
    EXPECT_EQ(Candidates(), std::vector<std::string>{"1 (1)=0"});
    SetDraws({});
    AddDraw({1, 2, 3, 4, 11, 37}); // the pair (1, 13): from 169 down by 13
    EXPECT_EQ(Candidates(), (std::vector<std::string>{"13 (1)=0", "39=0", "26=0"}));
}

TEST_F(SigmaStats, CandidatesAreMarkedByTheDrawAfterTheWindow) {
    AddDraw({1, 2, 3, 4, 5, 13});
    AddDraw({7, 42, 8, 9, 10, 11});
    AddDraw({1, 2, 3, 4, 5, 6});
    EXPECT_EQ(Candidates(), (std::vector<std::string>{"7=1", "42=1", "35=0", "28=0", "21=0", "14=0"}));
    auto stat = Create("TstSigma3");
    // Only the reference draw adds values, so a window gives what its newest draw gives
    // and a later draw never holds a value.
    EXPECT_EQ(Texts(*stat, WindowValues(*stat, 0, 1, false)), Texts(*stat, DrawValues(*stat, 1, false)));
    TStatDraw seven;
    seven.Key = TStatKey::FromK(7);
    EXPECT_EQ(stat->FindNextOccurrence(seven, 1, false, 0), -1);
}

TEST_F(SigmaStats, DynamicSelectionKeepsCombinationsWithTheNumbers) {
    AddDraw({1, 2, 3, 4, 5, 13});
    auto stat = Create("TstSigma3");
    const TStatSelection selection = Select({TStatKey::FromK(7), TStatKey::FromK(13, 1, 0, 2)});
    EXPECT_EQ(KeptOfAll(*stat, selection), COMBS_TOTAL - Binomial(43, 6)); // 7 or 13
}

// Every combination: the statistics' chain equals DiffChain of core, and the prefetch
// distribution equals the histogram of those values.
TEST_F(SigmaStats, FullSetAgreesWithDiffChain) {
    auto s1 = Create("TstSigma1");
    auto s2 = Create("TstSigma2");
    auto& g1 = dynamic_cast<TCustomGraphStat&>(*s1);
    auto& g2 = dynamic_cast<TCustomGraphStat&>(*s2);
    std::map<int, int> histogram1, histogram2;
    long mismatches = 0, kept1 = 0, kept2 = 0;
    const TStatSelection zero = Select({TStatKey::FromK(0)});
    const TStatSelection four = Select({TStatKey::FromK(4)});
    s1->PrepareTest(zero, 0, false, false);
    s2->PrepareTest(four, 0, false, false);
    ForEachCombination([&](const TComb& c) {
        const int v1 = DiffChain(c.N, LOTTO_COUNT, dcmPlain)[0];
        const int v2 = DiffChain(c.N, LOTTO_COUNT, dcmSmallToSum)[0];
        mismatches += g1.GraphValue(c, 0, 0, false) != v1;
        mismatches += g2.GraphValue(c, 0, 0, false) != v2;
        kept1 += s1->TestCombination(c, zero, 0, false, false);
        kept2 += s2->TestCombination(c, four, 0, false, false);
        ++histogram1[v1];
        ++histogram2[v2];
    });
    EXPECT_EQ(mismatches, 0);
    EXPECT_EQ(kept1, histogram1[0]);
    EXPECT_EQ(kept2, histogram2[4]);

    for (auto [stat, histogram] : {std::pair{s1.get(), &histogram1}, std::pair{s2.get(), &histogram2}}) {
        const TPrefetchData data = ComputePrefetch(*stat);
        std::map<int, int> fromPrefetch;
        long total = 0;
        for (const TShemaItem& r : data.Records) {
            fromPrefetch[r.Key.K(1)] = r.Count;
            total += r.Count;
        }
        EXPECT_EQ(total, COMBS_TOTAL);
        EXPECT_EQ(fromPrefetch, *histogram);
    }
}

} // namespace
} // namespace pelko
