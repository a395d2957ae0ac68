#pragma once
// An independent check of a statistic's TestCombination: sample combinations are stored as
// archive draws, their values computed the ordinary way (ComputeForDraw, ascending), and a
// combination must pass a selection exactly when one of its computed values is selected.
// This catches per-pass lookup tables that drift from the values the table shows.

#include "core/lottery.h"
#include "core/text_forms.h"
#include "stats/custom_stat.h"
#include "stats/stat_list.h"
#include "test_stats.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace pelko::test {

inline std::vector<TComb> SampleCombinations(int count, unsigned seed) {
    std::vector<TComb> combs;
    std::mt19937 random(seed);
    std::vector<int> numbers(LOTTO_MAX);
    for (int n = 0; n < LOTTO_MAX; ++n)
        numbers[static_cast<std::size_t>(n)] = n + 1;
    // The corners of the space and some long runs first.
    for (const auto& fixed :
         {std::vector<int>{1, 2, 3, 4, 5, 6}, std::vector<int>{40, 41, 42, 43, 44, 45},
          std::vector<int>{1, 6, 11, 12, 30, 45}, std::vector<int>{5, 6, 10, 11, 15, 16}}) {
        TComb c;
        for (int i = 0; i < LOTTO_COUNT; ++i)
            c[static_cast<std::size_t>(i)] =
                static_cast<std::uint8_t>(fixed[static_cast<std::size_t>(i)]);
        combs.push_back(c);
    }
    while (static_cast<int>(combs.size()) < count) {
        std::shuffle(numbers.begin(), numbers.end(), random);
        TComb c;
        for (int i = 0; i < LOTTO_COUNT; ++i)
            c[static_cast<std::size_t>(i)] =
                static_cast<std::uint8_t>(numbers[static_cast<std::size_t>(i)]);
        std::sort(c.begin(), c.end());
        combs.push_back(c);
    }
    return combs;
}

inline std::uint64_t KeyOrder(const TStatKey& key) {
    return KeyBits(key);
}

// Runs the check for the class `className` (type `type`) under `config`.
inline void ExpectTestMatchesValues(const TConfigData& config, const char* className, int type = 0,
                                    int samples = 1500) {
    SCOPED_TRACE(std::string(className) + " type " + std::to_string(type));
    const std::vector<TComb> combs =
        SampleCombinations(samples, 2024u + static_cast<unsigned>(type));
    TDrawsArray draws;
    for (const TComb& c : combs)
        draws.push_back(
            MakeDraw(static_cast<int>(draws.size()) + 1, {c[0], c[1], c[2], c[3], c[4], c[5]}));
    TStatList list(draws, config);
    const TStatClassInfo* info = StandardStatClasses().FindByName(className);
    ASSERT_NE(info, nullptr);
    auto stat = info->New(list, type);

    // Every combination's own keys, and the pool of keys seen anywhere.
    std::vector<std::vector<std::uint64_t>> keysOf(combs.size());
    std::set<std::uint64_t> seen;
    std::vector<TStatKey> pool;
    for (std::size_t i = 0; i < combs.size(); ++i) {
        TStatDrawList values;
        TStatWorkArea work;
        TLastValueArray last;
        stat->ComputeForDraw(static_cast<int>(i), static_cast<int>(i), true, values, work, last);
        for (const TStatDraw& v : values) {
            keysOf[i].push_back(KeyOrder(v.Key));
            if (seen.insert(KeyOrder(v.Key)).second) pool.push_back(v.Key);
        }
    }
    if (pool.empty()) // a statistic without values here (no adjacency in a one-row matrix)
        pool.push_back(TStatKey::FromK(1, 2));

    std::mt19937 random(7u);
    for (int round = 0; round < 12; ++round) {
        // Single keys, then growing random shares of the pool.
        TStatDrawArray selectedItems;
        std::set<std::uint64_t> selected;
        const double share = round < 4 ? 0.0 : 0.03 * round;
        for (const TStatKey& key : pool)
            if (std::uniform_real_distribution<double>(0, 1)(random) < share) {
                TStatDraw item;
                item.Key = key;
                selectedItems.push_back(item);
                selected.insert(KeyOrder(key));
            }
        if (selectedItems.empty()) {
            TStatDraw item;
            item.Key = pool[std::uniform_int_distribution<std::size_t>(0, pool.size() - 1)(random)];
            selectedItems.push_back(item);
            selected.insert(KeyOrder(item.Key));
        }
        const TStatSelection selection(selectedItems);
        stat->SelectDraws(-1, 0, false);
        stat->PrepareTest(selection, 0, false, false);
        int mismatches = 0;
        for (std::size_t i = 0; i < combs.size() && mismatches < 5; ++i) {
            const bool expected =
                std::any_of(keysOf[i].begin(), keysOf[i].end(),
                            [&](std::uint64_t k) { return selected.count(k) > 0; });
            if (stat->TestCombination(combs[i], selection, 0, false, false) != expected) {
                ++mismatches;
                ADD_FAILURE() << "round " << round << ": combination " << CombToText(combs[i])
                              << " should " << (expected ? "" : "not ") << "pass";
            }
        }
    }
}

// The prefetch pass over a run of combinations (ComputeForCombinations, which a class may
// count locally) must leave the same list as ComputeForCombination one by one: same keys in
// the same order with the same counts.
inline void ExpectBatchMatchesSingle(const TConfigData& config, const char* className,
                                     int type = 0) {
    SCOPED_TRACE(std::string(className) + " type " + std::to_string(type));
    std::vector<TComb> combs = SampleCombinations(20000, 99u);
    TDrawsArray draws;
    TStatList list(draws, config);
    const TStatClassInfo* info = StandardStatClasses().FindByName(className);
    ASSERT_NE(info, nullptr);
    auto single = info->New(list, type);
    auto batch = info->New(list, type);
    TStatDrawList one, all;
    batch->FillAllValues(-1, all); // merging into pre-filled rows too
    single->FillAllValues(-1, one);
    for (const TComb& c : combs)
        single->ComputeForCombination(c, one);
    batch->ComputeForCombinations(combs.data(), 7000, all);
    batch->ComputeForCombinations(combs.data() + 7000, combs.size() - 7000, all);
    ASSERT_EQ(all.size(), one.size());
    for (std::size_t i = 0; i < one.size(); ++i) {
        EXPECT_TRUE(all[i].Key == one[i].Key) << i;
        EXPECT_EQ(all[i].Count, one[i].Count) << i;
    }
}

} // namespace pelko::test
