#pragma once
// Helpers for the tests of the statistic families: a registry over a hand-made archive,
// statistics created by class name, the values of one draw or combination, and a walk over
// all 8,145,060 combinations without holding them in memory.

#include "core/record_helpers.h"
#include "stats/custom_stat.h"
#include "stats/prefetch_files.h"
#include "stats/stat_list.h"
#include "stats/stat_selection.h"
#include "test_stats.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace pelko::test {

class FamilyTest : public testing::Test {
  protected:
    FamilyTest() : list_(draws_, TConfigData{}) {}

    void SetDraws(std::vector<TDrawData> draws) { draws_ = std::move(draws); }
    void AddDraw(std::initializer_list<int> nums) {
        draws_.push_back(MakeDraw(static_cast<int>(draws_.size()) + 100, nums));
    }
    const TDrawsArray& Draws() const { return draws_; }

    // A statistic of the standard class table, by class name.
    std::unique_ptr<TCustomStat> Create(const char* className, int type = 0) {
        const TStatClassInfo* info = StandardStatClasses().FindByName(className);
        if (!info) ADD_FAILURE() << "class not registered: " << className;
        return info ? info->New(list_, type) : nullptr;
    }

    // The values of draw `index` alone, computed as the newest draw of the window.
    static TStatDrawList DrawValues(TCustomStat& stat, int index, bool sorted) {
        TStatDrawList values;
        TStatWorkArea work;
        TLastValueArray last;
        stat.ComputeForDraw(index, index, sorted, values, work, last);
        return values;
    }
    // The distribution over draws first..last (oldest first), pre-filled.
    static TStatDrawList WindowValues(TCustomStat& stat, int first, int last, bool sorted) {
        TStatDrawList values;
        TStatWorkArea work;
        TLastValueArray lastValues;
        stat.FillAllValues(last, values);
        for (int i = first; i <= last; ++i)
            stat.ComputeForDraw(i, last, sorted, values, work, lastValues);
        return values;
    }
    static TStatDrawList CombValues(TCustomStat& stat, std::initializer_list<int> nums) {
        TStatDrawList values;
        stat.ComputeForCombination(Comb(nums), values);
        return values;
    }
    static TComb Comb(std::initializer_list<int> nums) {
        TComb c;
        int i = 0;
        for (int n : nums)
            c[static_cast<std::size_t>(i++)] = static_cast<std::uint8_t>(n);
        return c;
    }

    // Count of the value with this key, -1 when the key is absent.
    static int CountOf(const TStatDrawList& values, const TStatKey& key) {
        const int at = values.Find(key);
        return at < 0 ? -1 : values[static_cast<std::size_t>(at)].Count;
    }
    static std::vector<std::string> Texts(const TCustomStat& stat, const TStatDrawList& values) {
        std::vector<std::string> texts;
        for (const TStatDraw& v : values)
            texts.push_back(stat.ValueToText(v));
        return texts;
    }
    static std::string Text(const TCustomStat& stat, const TStatKey& key) {
        TStatDraw item;
        item.Key = key;
        return stat.ValueToText(item);
    }
    static TStatSelection Select(std::initializer_list<TStatKey> keys) {
        TStatDrawArray items;
        for (const TStatKey& k : keys) {
            TStatDraw item;
            item.Key = k;
            items.push_back(item);
        }
        return TStatSelection(items);
    }
    static bool Test(TCustomStat& stat, const TStatSelection& selected,
                     std::initializer_list<int> nums, int refIndex = 0) {
        stat.SelectDraws(-1, refIndex, false);
        stat.PrepareTest(selected, refIndex, false, false);
        return stat.TestCombination(Comb(nums), selected, refIndex, false, false);
    }
    // How many of all combinations the statistic keeps with this selection, prepared once
    // as the filter pass does.
    static std::int64_t KeptOfAll(TCustomStat& stat, const TStatSelection& selected, int refIndex = 0);

    TDrawsArray draws_;
    TStatList list_;
};

// One row of a family's class table: the descriptor of the class with that type.
struct ClassRow {
    const char* Name;
    int Type;
    const char* Code;
    const char* Caption;
    const char* Flags;
    bool Scalar;
};

inline void ExpectClassRow(const ClassRow& row, TStatGroup group) {
    const TStatClassInfo* info = StandardStatClasses().FindByName(row.Name);
    ASSERT_NE(info, nullptr) << row.Name;
    EXPECT_EQ(info->CodeOf(row.Type), row.Code);
    EXPECT_EQ(info->CaptionOf(row.Type), row.Caption);
    EXPECT_EQ(info->GetGroup(), group);
    EXPECT_EQ(FlagLetters(info->GetAllFlags()), row.Flags);
    EXPECT_EQ(info->HasScalarValues(), row.Scalar);
}

// The codes of the group's methods in list order.
inline std::vector<std::string> GroupCodes(const TStatList& list, TStatGroup group) {
    std::vector<std::string> codes;
    for (const TStatMethod& m : list.Methods())
        if (m.StatClass->GetGroup() == group) codes.push_back(list.MethodCode(m));
    return codes;
}

// The first n ascending combinations in generation order.
inline std::vector<TComb> FirstCombinations(std::size_t n) {
    std::vector<TComb> combs;
    TComb c = {{1, 2, 3, 4, 5, 6}};
    while (combs.size() < n) {
        combs.push_back(c);
        int i = LOTTO_COUNT - 1;
        while (i >= 0 && c.N[i] == LOTTO_MAX - (LOTTO_COUNT - 1 - i))
            --i;
        if (i < 0) break;
        ++c.N[i];
        for (int j = i + 1; j < LOTTO_COUNT; ++j)
            c.N[j] = static_cast<std::uint8_t>(c.N[j - 1] + 1);
    }
    return combs;
}

// The run form of the prefetch pass must leave the same list (items, counts, order) as
// merging the combinations one by one.
inline void ExpectRunMatchesSingleCombinations(TCustomStat& stat, const std::vector<TComb>& combs) {
    TStatDrawList single, run;
    for (const TComb& c : combs)
        stat.ComputeForCombination(c, single);
    stat.ComputeForCombinations(combs.data(), combs.size(), run);
    ASSERT_EQ(run.size(), single.size());
    for (std::size_t i = 0; i < run.size(); ++i) {
        EXPECT_EQ(run[i].Key, single[i].Key) << i;
        EXPECT_EQ(run[i].Count, single[i].Count) << i;
        EXPECT_EQ(run[i].LastDraw, single[i].LastDraw) << i;
        EXPECT_EQ(run[i].LastAge, single[i].LastAge) << i;
    }
}

// The distribution over all combinations as the prefetch files hold it.
inline TStatDrawList FullDistribution(TCustomStat& stat) {
    TStatDrawArray items;
    for (const TShemaItem& r : ComputePrefetch(stat).Records)
        items.push_back(ShemaToStatDraw(r));
    TStatDrawList list;
    list.Assign(items);
    return list;
}

// Calls f(comb) for every ascending combination, in generation order.
template <class F> void ForEachCombination(F&& f) {
    TComb c;
    for (int a = 1; a <= 40; ++a)
        for (int b = a + 1; b <= 41; ++b)
            for (int d = b + 1; d <= 42; ++d)
                for (int e = d + 1; e <= 43; ++e)
                    for (int g = e + 1; g <= 44; ++g)
                        for (int h = g + 1; h <= 45; ++h) {
                            c.N[0] = static_cast<std::uint8_t>(a);
                            c.N[1] = static_cast<std::uint8_t>(b);
                            c.N[2] = static_cast<std::uint8_t>(d);
                            c.N[3] = static_cast<std::uint8_t>(e);
                            c.N[4] = static_cast<std::uint8_t>(g);
                            c.N[5] = static_cast<std::uint8_t>(h);
                            f(c);
                        }
}

inline std::int64_t FamilyTest::KeptOfAll(TCustomStat& stat, const TStatSelection& selected, int refIndex) {
    stat.SelectDraws(-1, refIndex, false);
    stat.PrepareTest(selected, refIndex, false, false);
    std::int64_t kept = 0;
    ForEachCombination([&](const TComb& c) { kept += stat.TestCombination(c, selected, refIndex, false, false); });
    return kept;
}

} // namespace pelko::test
