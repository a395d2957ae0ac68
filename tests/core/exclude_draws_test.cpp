#include "core/comb_generation.h"
#include "core/draw_match_set.h"
#include "core/exclude_draws.h"
#include "core/record_helpers.h"
#include "core/text_forms.h"

#include <gtest/gtest.h>

#include <random>

namespace pelko {
namespace {

TComb Comb(std::initializer_list<int> nums) {
    TComb c;
    int i = 0;
    for (const int n : nums)
        c[i++] = static_cast<std::uint8_t>(n);
    return c;
}

TDrawData Draw(const TComb& c, int number = 1) {
    TDrawData d;
    d.Number = number;
    std::copy(c.begin(), c.end(), d.Nums);
    return d;
}

TDrawsArray DrawsOf(std::initializer_list<TComb> combs) {
    TDrawsArray draws;
    for (const TComb& c : combs)
        draws.push_back(Draw(c, static_cast<int>(draws.size()) + 1));
    return draws;
}

TEST(ExcludeDraws, WindowEndsAtTheAnalysisPoint) {
    struct {
        std::size_t Size;
        int Offset, N;
        TDrawWindow Expected;
    } cases[] = {{10, 0, 3, {7, 9}},   {10, 2, 3, {5, 7}},
                 {10, 0, 100, {0, 9}}, {10, 4, 100, {0, 5}},
                 {10, 9, 1, {0, 0}},   {10, 10, 5, {}},
                 {10, 0, 0, {}},       {10, 0, -3, {}},
                 {0, 0, 5, {}},        {10, 0, 2147483647, {0, 9}}};
    for (const auto& c : cases) {
        const TDrawsArray draws(c.Size);
        const TDrawWindow w = RecentDrawsWindow(draws, c.Offset, c.N);
        EXPECT_EQ(w.Empty(), c.Expected.Empty()) << c.Size << " " << c.Offset << " " << c.N;
        if (!c.Expected.Empty()) {
            EXPECT_EQ(w, c.Expected) << c.Size << " " << c.Offset << " " << c.N;
        }
    }
}

// The set must answer exactly as a scan of CountMatches = 6 would, also for repeated
// numbers and numbers outside 1..45 as files may hold them.
TEST(ExcludeDraws, MatchSetAgreesWithCountMatchesForAnyBytes) {
    std::mt19937 random(12345);
    auto number = [&](bool wild) {
        if (wild && random() % 8 == 0) {
            const int odd[] = {0, 46, 59, 60, 61, 62, 63, 64, 200, 255};
            return odd[random() % 10];
        }
        return static_cast<int>(1 + random() % 9); // small range: many repeats and hits
    };
    auto six = [&](bool wild) {
        TComb c;
        for (auto& v : c)
            v = static_cast<std::uint8_t>(number(wild));
        return c;
    };
    for (int round = 0; round < 40; ++round) {
        const bool wildDraws = round % 2 == 1;
        TDrawsArray draws;
        for (int i = 0; i < 1 + round; ++i)
            draws.push_back(Draw(six(wildDraws), i + 1));
        const TDrawMatchSet set(draws, 0, static_cast<int>(draws.size()) - 1);
        for (int k = 0; k < 3000; ++k) {
            const TComb c = six(true);
            bool expected = false;
            for (const TDrawData& d : draws)
                expected |= CountMatches(d, c) == LOTTO_COUNT;
            ASSERT_EQ(set.Matches(c), expected) << "round " << round << " comb " << CombToText(c);
        }
    }
}

// Repeated high numbers whose bits would add up past 64 bits.
TEST(ExcludeDraws, RepeatedNumbersAtTheTopOfTheMaskRange) {
    for (const int high : {58, 59, 60, 61, 62, 63}) {
        const TDrawsArray draws = DrawsOf({Comb({high, 1, 2, 3, 4, 5})});
        const TDrawMatchSet set(draws, 0, 0);
        const TComb combs[] = {Comb({high, high, high, 1, 2, 3}),
                               Comb({high, high, high, high, high, 1}),
                               Comb({high, high, 1, 1, 2, 2}), Comb({5, 4, 3, 2, 1, high}),
                               Comb({high, high, high, 1, 2, 9})};
        for (const TComb& c : combs)
            EXPECT_EQ(set.Matches(c), CountMatches(draws[0], c) == LOTTO_COUNT)
                << high << ": " << CombToText(c);
    }
}

TEST(ExcludeDraws, SameSixNumbersInAnyOrderAreExcluded) {
    const TDrawsArray draws = DrawsOf({Comb({1, 2, 3, 4, 5, 6}), Comb({45, 7, 30, 12, 1, 19})});
    const TComb source[] = {Comb({6, 5, 4, 3, 2, 1}),     Comb({1, 2, 3, 4, 5, 7}),
                            Comb({1, 7, 12, 19, 30, 45}), Comb({1, 1, 2, 3, 4, 5}),
                            Comb({0, 2, 3, 4, 5, 6}),     Comb({7, 12, 19, 30, 45, 46})};
    TCombList kept;
    ExcludeDrawsFromCombs(source, 6, draws, RecentDrawsWindow(draws, 0, 2), kept);
    // 1, 1, 2, 3, 4, 5 shares six pairs with 1..6, as CountMatches counts them.
    ASSERT_EQ(kept.Count(), 3u);
    EXPECT_EQ(kept[0], source[1]);
    EXPECT_EQ(kept[1], source[4]);
    EXPECT_EQ(kept[2], source[5]);
}

TEST(ExcludeDraws, OffsetKeepsTheNewestDrawsAndTellsProgress) {
    const TDrawsArray draws = DrawsOf({Comb({1, 2, 3, 4, 5, 6}), Comb({2, 3, 4, 5, 6, 7}),
                                       Comb({3, 4, 5, 6, 7, 8}), Comb({4, 5, 6, 7, 8, 9})});
    TCombList full;
    GenerateCombList(full, GEN_ONLY_MINE, ParseMyNumbers("1,2,3,4,5,6,7,8,9")); // 84
    ASSERT_EQ(full.Count(), 84u);
    TCombList kept;
    std::size_t reports = 0, lastDone = 0;
    // Offset 1: the newest draw 4..9 is hidden; two draws before it are excluded.
    ExcludeDrawsFromCombs(full.Data(), full.Count(), draws, RecentDrawsWindow(draws, 1, 2), kept,
                          [&](std::size_t done, std::size_t total) {
                              EXPECT_EQ(total, 84u);
                              EXPECT_GT(done, lastDone);
                              lastDone = done;
                              ++reports;
                          });
    EXPECT_EQ(reports, 84u); // step 1 for fewer than 200 entries
    ASSERT_EQ(kept.Count(), 82u);
    auto has = [&](const TComb& c) { return std::find(kept.begin(), kept.end(), c) != kept.end(); };
    EXPECT_TRUE(has(Comb({1, 2, 3, 4, 5, 6})));
    EXPECT_FALSE(has(Comb({2, 3, 4, 5, 6, 7})));
    EXPECT_FALSE(has(Comb({3, 4, 5, 6, 7, 8})));
    EXPECT_TRUE(has(Comb({4, 5, 6, 7, 8, 9})));
    EXPECT_TRUE(std::is_sorted(kept.begin(), kept.end(), [](const TComb& a, const TComb& b) {
        return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end());
    }));
}

TEST(ExcludeDraws, EmptyWindowCopiesEverything) {
    const TDrawsArray draws = DrawsOf({Comb({1, 2, 3, 4, 5, 6})});
    TCombList full;
    GenerateCombList(full, GEN_ONLY_MINE, ParseMyNumbers("1,2,3,4,5,6,7"));
    TCombList kept;
    ExcludeDrawsFromCombs(full.Data(), full.Count(), draws, RecentDrawsWindow(draws, 0, 0), kept);
    ASSERT_EQ(kept.Count(), 7u);
    EXPECT_TRUE(std::equal(full.begin(), full.end(), kept.begin()));
}

TEST(ExcludeDraws, FindReportsAtMostTwentySixDrawsNewestFirst) {
    TDrawsArray draws;
    for (int i = 1; i <= 40; ++i)
        draws.push_back(Draw(i % 2 ? Comb({6, 5, 4, 3, 2, 1}) : Comb({1, 2, 3, 4, 5, 7}), i));
    const std::vector<std::string> hits = FindCombInDraws(Comb({1, 2, 3, 4, 5, 6}), draws);
    ASSERT_EQ(hits.size(), 20u);
    EXPECT_EQ(hits.front(), DrawText(draws[38]));
    EXPECT_EQ(hits.back(), DrawText(draws[0]));
    EXPECT_EQ(FindCombInDraws(Comb({7, 5, 4, 3, 2, 1}), draws).size(), 20u);
    for (int i = 41; i <= 80; ++i)
        draws.push_back(Draw(Comb({1, 2, 3, 4, 5, 6}), i));
    const std::vector<std::string> many = FindCombInDraws(Comb({1, 2, 3, 4, 5, 6}), draws);
    ASSERT_EQ(many.size(), MAX_FIND_HITS);
    EXPECT_EQ(many.front(), DrawText(draws[79]));
    EXPECT_TRUE(FindCombInDraws(Comb({9, 9, 9, 9, 9, 9}), draws).empty());
}

} // namespace
} // namespace pelko
