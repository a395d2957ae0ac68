#include "core/arithmetic.h"
#include "family_fixture.h"
#include "stats/stat_class.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace pelko {
namespace {

using test::FamilyTest;

struct CombRow {
    const char* Name;
    int Type;
    const char* Code;
    const char* Caption;
    const char* FamilyCode;
};

class NumberCombinationClasses : public testing::TestWithParam<CombRow> {};

TEST_P(NumberCombinationClasses, Descriptor) {
    const CombRow& row = GetParam();
    const TStatClassInfo* info = StandardStatClasses().FindByName(row.Name);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->CodeOf(row.Type), row.Code);
    EXPECT_EQ(info->CaptionOf(row.Type), row.Caption);
    EXPECT_EQ(info->GetFamilyCode(), row.FamilyCode);
    EXPECT_EQ(info->GetGroup(), sgNumbers);
    EXPECT_FALSE(info->HasScalarValues());
    EXPECT_FALSE(info->SupportsCombinations());
    EXPECT_FALSE(info->IsGraph());
    const bool sortClass = std::string(row.Name).starts_with("TstCombValSort");
    EXPECT_EQ(FlagLetters(info->GetAllFlags()), sortClass ? "" : "S");
    EXPECT_EQ(info->IsAvailable(), !sortClass);
}

INSTANTIATE_TEST_SUITE_P(
    Registry, NumberCombinationClasses,
    testing::Values(
        CombRow{"TstCombValMix2", 0, "KNM2", "Сочетания из 2 чисел по всем числам тиража", "KNM2"},
        CombRow{"TstCombValMix4", 0, "KNM4", "Сочетания из 4 чисел по всем числам тиража", "KNM4"},
        CombRow{"TstCombValSeq3", 0, "KNS3", "Сочетания из 3 соседних чисел тиража", "KNS3"},
        CombRow{"TstCombValPos2", 4, "KNP24", "Сочетания из 2-х чисел тиража начиная с 4 позиции", "KNP2"},
        CombRow{"TstCombValPos3", 1, "KNP31", "Сочетания из 3-х чисел тиража начиная с 1 позиции", "KNP3"},
        CombRow{"TstCombValPos4", 3, "KNP43", "Сочетания из 4-х чисел тиража начиная с 3 позиции", "KNP4"},
        CombRow{"TstCombValSort2", 0, "KNO2", "Сочетания из 2 чисел тиража по возрастанию", "KNO2"},
        CombRow{"TstCombValSort4", 0, "KNO4", "Сочетания из 4 чисел тиража по возрастанию", "KNO4"}));

TEST(NumberCombinationRegistry, MethodsInTableOrderWithoutTheSortClasses) {
    TStatList list;
    list.Build();
    std::vector<std::string> codes;
    for (const TStatMethod& m : list.Methods()) {
        const std::string code = list.MethodCode(m);
        if (code.starts_with("KN"))
            codes.push_back(code);
    }
    EXPECT_EQ(codes, (std::vector<std::string>{"KNM2", "KNM3", "KNM4", "KNS2", "KNS3", "KNS4", "KNP21", "KNP22",
                                               "KNP23", "KNP24", "KNP25", "KNP31", "KNP32", "KNP33", "KNP34",
                                               "KNP41", "KNP42", "KNP43"}));
    const int mix2 = list.IndexOfCode("KNM2");
    ASSERT_GE(mix2, 1);
    EXPECT_EQ(list.MethodCode(list.Items(mix2 - 1)), "PRC-2"); // right after the repeats
}

class NumberCombinationStats : public FamilyTest {
protected:
    std::vector<std::string> DrawTexts(const char* className, int type, bool sorted) {
        auto stat = Create(className, type);
        return Texts(*stat, DrawValues(*stat, 0, sorted));
    }
    long Kept(const char* className, int type, std::initializer_list<TStatKey> keys) {
        return static_cast<long>(KeptOfAll(*Create(className, type), Select(keys)));
    }
};

TEST_F(NumberCombinationStats, ValuesOfAnAscendingDraw) {
    AddDraw({3, 7, 19, 25, 33, 41});
    const std::vector<std::string> pairs = DrawTexts("TstCombValMix2", 0, false);
    ASSERT_EQ(pairs.size(), 15u);
    EXPECT_EQ(pairs.front(), "3:7");
    EXPECT_EQ(pairs[1], "3:19");
    EXPECT_EQ(pairs[5], "7:19");
    EXPECT_EQ(pairs.back(), "33:41");
    const std::vector<std::string> triples = DrawTexts("TstCombValMix3", 0, false);
    ASSERT_EQ(triples.size(), 20u);
    EXPECT_EQ(triples.front(), "3:7:19");
    EXPECT_EQ(triples.back(), "25:33:41");
    const std::vector<std::string> quads = DrawTexts("TstCombValMix4", 0, false);
    ASSERT_EQ(quads.size(), 15u);
    EXPECT_EQ(quads.front(), "3:7:19:25");
    EXPECT_EQ(quads[4], "3:7:25:41");
    EXPECT_EQ(quads.back(), "19:25:33:41");

    EXPECT_EQ(DrawTexts("TstCombValSeq3", 0, false),
              (std::vector<std::string>{"3:7:19", "7:19:25", "19:25:33", "25:33:41"}));
    EXPECT_EQ(DrawTexts("TstCombValSeq2", 0, false).size(), 5u);
    EXPECT_EQ(DrawTexts("TstCombValSeq4", 0, false).back(), "19:25:33:41");
    EXPECT_EQ(DrawTexts("TstCombValPos2", 4, false), std::vector<std::string>{"25:33"});
    EXPECT_EQ(DrawTexts("TstCombValPos4", 1, false), std::vector<std::string>{"3:7:19:25"});
    EXPECT_EQ(DrawTexts("TstCombValPos3", 4, false), std::vector<std::string>{"25:33:41"});
}

TEST_F(NumberCombinationStats, DrawnOrderKeepsPairsAsDrawn) {
    AddDraw({19, 7, 41, 3, 25, 33});
    EXPECT_EQ(DrawTexts("TstCombValMix2", 0, false).front(), "19:7");
    EXPECT_EQ(DrawTexts("TstCombValMix2", 0, true).front(), "3:7");
    EXPECT_EQ(DrawTexts("TstCombValPos2", 1, false), std::vector<std::string>{"19:7"});
    EXPECT_EQ(DrawTexts("TstCombValPos2", 1, true), std::vector<std::string>{"3:7"});
    // The ascending class ignores the option.
    EXPECT_EQ(DrawTexts("TstCombValSort2", 0, false).front(), "3:7");
    // A descending value never matches a combination, which is always taken ascending.
    EXPECT_EQ(Kept("TstCombValMix2", 0, {TStatKey::FromK(19, 7)}), 0);
}

TEST_F(NumberCombinationStats, PairInTwoDrawsOfTheWindow) {
    AddDraw({7, 19, 20, 21, 22, 23});
    AddDraw({1, 2, 3, 4, 5, 6});
    AddDraw({1, 2, 3, 7, 19, 45});
    auto stat = Create("TstCombValMix2");
    const TStatDrawList values = WindowValues(*stat, 0, 2, true);
    const int at = values.Find(TStatKey::FromK(7, 19));
    ASSERT_GE(at, 0);
    const TStatDraw& pair = values[static_cast<std::size_t>(at)];
    EXPECT_EQ(pair.Count, 2);
    EXPECT_EQ(pair.MinPeriod, 2);
    EXPECT_EQ(pair.MaxPeriod, 2);
    EXPECT_EQ(pair.LastDraw, 102);
    EXPECT_EQ(pair.LastAge, 1);
    EXPECT_EQ(CountOf(values, TStatKey::FromK(1, 2)), 2);
    EXPECT_EQ(values.size(), 15u + 15u + 15u - 1u - 3u); // 7:19 and 1:2, 1:3, 2:3 repeat
}

// Counts over the full set computed by hand.
TEST_F(NumberCombinationStats, SelectionsOverTheFullSet) {
    // Both numbers of the pair: C(43, 4); all three or four numbers: C(42, 3), C(41, 2).
    EXPECT_EQ(Kept("TstCombValMix2", 0, {TStatKey::FromK(7, 19)}), Binomial(43, 4));
    EXPECT_EQ(Kept("TstCombValMix3", 0, {TStatKey::FromK(7, 19, 33)}), Binomial(42, 3));
    EXPECT_EQ(Kept("TstCombValMix4", 0, {TStatKey::FromK(7, 19, 25, 33)}), Binomial(41, 2));
    // Two pairs: inclusion and exclusion.
    EXPECT_EQ(Kept("TstCombValMix2", 0, {TStatKey::FromK(7, 19), TStatKey::FromK(1, 2)}),
              2 * Binomial(43, 4) - Binomial(41, 2));
    // 7 and 19 neighbours: none of 8..18, four of the other 32 numbers.
    EXPECT_EQ(Kept("TstCombValSeq2", 0, {TStatKey::FromK(7, 19)}), Binomial(32, 4));
    // Consecutive numbers are always neighbours.
    EXPECT_EQ(Kept("TstCombValSeq4", 0, {TStatKey::FromK(10, 11, 12, 13)}), Binomial(41, 2));
    EXPECT_EQ(Kept("TstCombValSeq3", 0, {TStatKey::FromK(1, 2, 3), TStatKey::FromK(43, 44, 45)}),
              2 * Binomial(42, 3) - 1);
    // 7, 19 first: four of 20..45.
    EXPECT_EQ(Kept("TstCombValPos2", 1, {TStatKey::FromK(7, 19)}), Binomial(26, 4));
    // 10..13 in positions 2..5: one of 1..9 before, one of 14..45 after.
    EXPECT_EQ(Kept("TstCombValPos4", 2, {TStatKey::FromK(10, 11, 12, 13)}), 9 * 32);
    // 40..42 last: three of 1..39 before.
    EXPECT_EQ(Kept("TstCombValPos3", 4, {TStatKey::FromK(40, 41, 42)}), Binomial(39, 3));
}

// Keys a combination can hold of class (k, pick), taken the plain way: every subset, run
// or window of its ascending numbers, looked up whole.
bool ReferenceTest(const TStatSelection& selected, TComb comb, int k, char pick, int type) {
    std::sort(comb.begin(), comb.end());
    auto has = [&](const int* at) {
        std::uint16_t w[4] = {};
        for (int i = 0; i < k; ++i)
            w[i] = comb[static_cast<std::size_t>(at[i])];
        return selected.HasKey(w[0], w[1], w[2], w[3]);
    };
    int at[4];
    if (pick == 'P') {
        for (int i = 0; i < k; ++i)
            at[i] = type - 1 + i;
        return has(at);
    }
    if (pick == 'S') {
        for (int s = 0; s + k <= LOTTO_COUNT; ++s) {
            for (int i = 0; i < k; ++i)
                at[i] = s + i;
            if (has(at))
                return true;
        }
        return false;
    }
    for (int mask = 0; mask < 64; ++mask) {
        if (__builtin_popcount(static_cast<unsigned>(mask)) != k)
            continue;
        int n = 0;
        for (int i = 0; i < LOTTO_COUNT; ++i)
            if (mask & (1 << i))
                at[n++] = i;
        if (has(at))
            return true;
    }
    return false;
}

struct LookupCase {
    const char* Name;
    int K;
    char Pick;
    int Type;
};

class NumberCombinationLookup : public testing::TestWithParam<LookupCase> {};

// The per-pass tables against the plain lookup, on random selections (values of random
// draws in both orders, plus keys with zero or repeated words) and random combinations,
// some of them not ascending.
TEST_P(NumberCombinationLookup, AgreesWithThePlainKeyLookup) {
    const LookupCase& c = GetParam();
    std::mt19937 random(42u + static_cast<unsigned>(c.K * 10 + c.Type));
    std::vector<std::uint8_t> numbers(LOTTO_MAX);
    for (int n = 0; n < LOTTO_MAX; ++n)
        numbers[static_cast<std::size_t>(n)] = static_cast<std::uint8_t>(n + 1);
    auto randomComb = [&] {
        std::shuffle(numbers.begin(), numbers.end(), random);
        TComb comb;
        std::copy_n(numbers.begin(), LOTTO_COUNT, comb.begin());
        return comb;
    };

    TDrawsArray draws;
    for (int i = 0; i < 40; ++i) {
        const TComb comb = randomComb();
        draws.push_back(test::MakeDraw(i + 1, {comb[0], comb[1], comb[2], comb[3], comb[4], comb[5]}));
    }
    TStatList list(draws, TConfigData{});
    const auto stat = StandardStatClasses().FindByName(c.Name)->New(list, c.Type);
    TStatDrawList values;
    TStatWorkArea work;
    TLastValueArray last;
    for (int i = 0; i < static_cast<int>(draws.size()); ++i)
        stat->ComputeForDraw(i, i, i % 2 == 0, values, work, last);
    TStatDrawArray items(values.begin(), values.end());
    for (const TStatKey& odd : {TStatKey::FromK(5, 5), TStatKey::FromK(0, 9, 12), TStatKey::FromK(46, 47, 48, 49),
                                TStatKey::FromK(1, 2, 3, 4)}) {
        TStatDraw item;
        item.Key = odd;
        items.push_back(item);
    }
    const TStatSelection selection(items);
    stat->SelectDraws(-1, 0, false);
    stat->PrepareTest(selection, 0, false, false);

    int hits = 0;
    for (int i = 0; i < 200000; ++i) {
        TComb comb = randomComb();
        if (i % 4 != 0)
            std::sort(comb.begin(), comb.end());
        const bool expected = ReferenceTest(selection, comb, c.K, c.Pick, c.Type);
        ASSERT_EQ(stat->TestCombination(comb, selection, 0, false, false), expected)
            << int(comb[0]) << " " << int(comb[1]) << " " << int(comb[2]) << " " << int(comb[3]) << " "
            << int(comb[4]) << " " << int(comb[5]);
        hits += expected;
    }
    EXPECT_GT(hits, 0);
    // Generation order over sixteen numbers: neighbours share their first numbers, so the
    // kept verdicts of a prefix are exercised.
    std::shuffle(numbers.begin(), numbers.end(), random);
    std::vector<std::uint8_t> some(numbers.begin(), numbers.begin() + 16);
    std::sort(some.begin(), some.end());
    int inOrder = 0;
    std::vector<int> pick{0, 1, 2, 3, 4, 5};
    for (;;) {
        TComb comb;
        for (int i = 0; i < LOTTO_COUNT; ++i)
            comb[static_cast<std::size_t>(i)] = some[static_cast<std::size_t>(pick[static_cast<std::size_t>(i)])];
        ASSERT_EQ(stat->TestCombination(comb, selection, 0, false, false),
                  ReferenceTest(selection, comb, c.K, c.Pick, c.Type));
        ++inOrder;
        int i = LOTTO_COUNT - 1;
        while (i >= 0 && pick[static_cast<std::size_t>(i)] == 16 - LOTTO_COUNT + i)
            --i;
        if (i < 0)
            break;
        ++pick[static_cast<std::size_t>(i)];
        for (int j = i + 1; j < LOTTO_COUNT; ++j)
            pick[static_cast<std::size_t>(j)] = pick[static_cast<std::size_t>(j - 1)] + 1;
    }
    EXPECT_EQ(inOrder, Binomial(16, 6));
    // The draws computed ascending always hold one of their values.
    for (std::size_t i = 0; i < draws.size(); i += 2) {
        TComb comb;
        std::copy_n(draws[i].Nums, LOTTO_COUNT, comb.begin());
        std::sort(comb.begin(), comb.end());
        EXPECT_TRUE(stat->TestCombination(comb, selection, 0, false, false)) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(AllKinds, NumberCombinationLookup,
                         testing::Values(LookupCase{"TstCombValMix2", 2, 'M', 0}, LookupCase{"TstCombValMix3", 3, 'M', 0},
                                         LookupCase{"TstCombValMix4", 4, 'M', 0}, LookupCase{"TstCombValSeq2", 2, 'S', 0},
                                         LookupCase{"TstCombValSeq3", 3, 'S', 0}, LookupCase{"TstCombValSeq4", 4, 'S', 0},
                                         LookupCase{"TstCombValPos2", 2, 'P', 5}, LookupCase{"TstCombValPos3", 3, 'P', 2},
                                         LookupCase{"TstCombValPos4", 4, 'P', 1}));

} // namespace
} // namespace pelko
