#include "filters/filter_text.h"
#include "filters/filter_variants.h"
#include "filters/registry_fixture.h"

#include <gtest/gtest.h>

namespace pelko {
namespace {

using test::Registry;

std::vector<TFilterItem> Items(std::initializer_list<const char*> texts) {
    std::vector<TFilterItem> items;
    for (const char* text : texts)
        items.push_back(TextToFilter(Registry(), text));
    return items;
}

TEST(ExpandVariants, DepthFirstOrderOfDrawsAndLevels) {
    std::vector<TFilterRec> variants;
    ASSERT_TRUE(ExpandVariants(Items({"TSD1#NUMS:100-300;100#LMV:1-3;1#SF:1"}), variants));
    ASSERT_EQ(variants.size(), 9u);
    for (std::size_t k = 0; k < 9; ++k) {
        EXPECT_EQ(variants[k][0].DrawsLen, 100 * static_cast<int>(k / 3 + 1));
        EXPECT_EQ(variants[k][0].LevelValues, std::to_string(k % 3 + 1));
        EXPECT_EQ(variants[k][0].LevelText, variants[k][0].LevelValues);
        EXPECT_FALSE(variants[k][1].Active);
    }
    EXPECT_EQ(FilterRecToText(variants[4]), "TSD#NUMS:200#LMV:2#SF:1");
}

TEST(ExpandVariants, ListModesKeepOneVariantAndTheWrittenText) {
    std::vector<TFilterRec> variants;
    ASSERT_TRUE(ExpandVariants(Items({"TSD1#NUMS:100#LDV:1-5;1#SF:1"}), variants));
    ASSERT_EQ(variants.size(), 1u);
    EXPECT_EQ(variants[0][0].LevelValues, "1,2,3,4,5");
    EXPECT_EQ(FilterRecToText(variants[0]), "TSD#NUMS:100#LDV:1-5;1#SF:1");
    // Weight and period lists are expanded per value like thresholds.
    ASSERT_TRUE(ExpandVariants(Items({"TSD1#NUMS:100#WDV:1,2#SF:1"}), variants));
    EXPECT_EQ(variants.size(), 2u);
    EXPECT_EQ(variants[1][0].LevelValues, "2");
}

TEST(ExpandVariants, ItemOneVariesSlowest) {
    std::vector<TFilterRec> variants;
    ASSERT_TRUE(ExpandVariants(Items({"TSD1#NUMS:10,20#LNO:#SF:1", "TSD1#EVEN:5#CMV:1,2,3#SF:1"}), variants));
    ASSERT_EQ(variants.size(), 6u);
    EXPECT_EQ(variants[2][0].DrawsLen, 10);
    EXPECT_EQ(variants[2][1].LevelValues, "3");
    EXPECT_EQ(variants[3][0].DrawsLen, 20);
    EXPECT_EQ(variants[3][1].LevelValues, "1");
    EXPECT_EQ(CountVariants(Items({"TSD1#NUMS:10,20#LNO:#SF:1", "TSD1#EVEN:5#CMV:1,2,3#SF:1"})), 6);
}

TEST(ExpandVariants, BadDescriptionsNameTheFilter) {
    std::vector<TFilterRec> variants;
    try {
        ExpandVariants(Items({"TSD1#QQQQ:100#LMV:5#SF:1"}), variants);
        FAIL();
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "Некорректное описание фильтра: TSD1#QQQQ:100#LMV:5#SF:1!");
    }
    EXPECT_THROW(ExpandVariants(Items({"TSD1#NUMS:100#LMV:#SF:1"}), variants), std::runtime_error);
}

TEST(ExpandVariants, TooManyVariantsAreRefusedBeforeAllocating) {
    std::vector<TFilterRec> variants;
    // 1000 x 1000 x 1000 variants.
    const auto items = Items({"TSD1#NUMS:1-1000;1#LMV:1-1000;1#SF:1", "TSD1#EVEN:1-1000;1#LNO:#SF:1"});
    EXPECT_GT(CountVariants(items), MAX_FILTER_VARIANTS);
    try {
        ExpandVariants(items, variants);
        FAIL();
    } catch (const TTooManyVariants& e) {
        EXPECT_EQ(std::string(e.what()).rfind(TOO_MANY_VARIANTS_MESSAGE, 0), 0u);
    }
    EXPECT_TRUE(variants.empty());
}

TEST(ExpandVariants, StopAndProgress) {
    std::vector<TFilterRec> variants;
    std::vector<std::size_t> progress;
    int polls = 0;
    TVariantCallbacks callbacks;
    callbacks.Progress = [&](std::size_t n) { progress.push_back(n); };
    callbacks.StopRequested = [&] { return ++polls > 1500; };
    EXPECT_FALSE(ExpandVariants(Items({"TSD1#NUMS:1-50;1#LMV:1-50;1#SF:1"}), variants, callbacks));
    EXPECT_EQ(progress, (std::vector<std::size_t>{1000}));
    EXPECT_LT(variants.size(), 2500u);
}

} // namespace
} // namespace pelko
