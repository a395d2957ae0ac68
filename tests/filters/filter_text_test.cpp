#include "filters/filter_text.h"
#include "filters/registry_fixture.h"

#include <gtest/gtest.h>

#include <clocale>

namespace pelko {
namespace {

using test::Registry;

TEST(FilterText, EveryWrittenTextReadsBackUnchanged) {
    const char* texts[] = {
        "TSD1#NUMS:1000#LMV:5#SF:1",
        "BMF11#EVEN:100-500;100#CDV:1,2,3#ST:3#0:-1:1:0:0",
        "TSD12#NUMS:1000#LNO:#SF:1",
        "BSF19#SUMS:100, 200#WMV:0#SV:7#0.25:-1.5:2:1:1",
        "TMD0#NUMS:50#LVA:1-45;2#SP:3",
        "TSD1#QQQQ:100#LMV:5#SF:1", // a code the registry does not hold survives
    };
    for (const char* text : texts)
        EXPECT_EQ(FilterToText(TextToFilter(Registry(), text)), text);
}

TEST(FilterText, ReadingFillsTheItem) {
    const TFilterItem item = TextToFilter(Registry(), "BMF11#EVEN:100-500;100#CDV:1,2,3#ST:3#0:-1:1:0:1");
    ASSERT_TRUE(item.Active);
    ASSERT_NE(item.Method, nullptr);
    EXPECT_EQ(FilterMethodCode(item.Method), "EVEN");
    EXPECT_EQ(item.DrawsLen, "100-500;100");
    EXPECT_EQ(item.SortOrder, 11);
    EXPECT_TRUE(item.BottomUp && item.MultiSelect && item.KeepSelected);
    EXPECT_EQ(item.LevelMode, lmCountListValue);
    EXPECT_EQ(item.LevelValue, "1,2,3");
    EXPECT_EQ(item.StopMode, smSteps);
    EXPECT_EQ(item.StopValue, 3);
    EXPECT_TRUE(item.CDLOverride);
    EXPECT_EQ(item.CDL.Count, 0);
    EXPECT_EQ(item.CDL.Deviation, -1);
    EXPECT_EQ(item.CDL.Level, 1);
    EXPECT_FALSE(item.CDL.UsePercents);
    EXPECT_TRUE(item.CDL.UseAbsValues);
}

TEST(FilterText, MissingAndUnknownWordsLeaveDefaults) {
    // No level and no stop word.
    const TFilterItem bare = TextToFilter(Registry(), "TSD1#NUMS:1000");
    EXPECT_EQ(bare.LevelMode, lmNone);
    EXPECT_EQ(bare.StopMode, smAll);
    EXPECT_EQ(bare.StopValue, 0);
    EXPECT_EQ(FilterToText(bare), "TSD1#NUMS:1000#LNO:#SF:0");

    // Unknown statistic: no method, no draws, the word kept.
    const TFilterItem unknown = TextToFilter(Registry(), "TSD1#QQQQ:100#LMV:5#SF:1");
    EXPECT_EQ(unknown.Method, nullptr);
    EXPECT_TRUE(unknown.DrawsLen.empty());
    EXPECT_EQ(unknown.StatText, "QQQQ:100");

    // Unknown level and stop codes, a stop value that is not a number.
    const TFilterItem odd = TextToFilter(Registry(), "TSD1#NUMS:10#XYZ:5#ST:abc");
    EXPECT_EQ(odd.LevelMode, lmNone);
    EXPECT_TRUE(odd.LevelValue.empty());
    EXPECT_EQ(odd.StopMode, smSteps);
    EXPECT_EQ(odd.StopValue, 1);

    // Runs of separators count as one; separators at the ends make no words.
    const TFilterItem spaced = TextToFilter(Registry(), "##TSD3###NUMS::20##LMV:5#SF:2#");
    EXPECT_EQ(FilterToText(spaced), "TSD3#NUMS:20#LMV:5#SF:2");
}

TEST(FilterText, FlagsAreUpperCaseLettersButCodesIgnoreCase) {
    const TFilterItem lower = TextToFilter(Registry(), "tsd1#nums:100#lmv:5#sf:2");
    EXPECT_FALSE(lower.BottomUp || lower.MultiSelect || lower.KeepSelected);
    EXPECT_EQ(lower.SortOrder, 1);
    EXPECT_EQ(FilterToText(lower), "TSD1#NUMS:100#LMV:5#SF:2");

    EXPECT_EQ(TextToFilter(Registry(), "BM").SortOrder, 1);      // shorter than four characters
    EXPECT_EQ(TextToFilter(Registry(), "TSDx").SortOrder, 1);    // not a number
    EXPECT_TRUE(TextToFilter(Registry(), "xxFxx").KeepSelected); // anywhere in the word
}

TEST(FilterText, EmptyTextAndInactiveItem) {
    const TFilterItem item = TextToFilter(Registry(), "");
    EXPECT_FALSE(item.Active);
    EXPECT_EQ(item.SortOrder, 0);
    EXPECT_EQ(FilterToText(item), "");
    EXPECT_EQ(FilterPartToText(TFilterPart{}), "");
}

TEST(FilterText, DecimalsIgnoreTheLocale) {
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous ? previous : "C";
    std::setlocale(LC_NUMERIC, "ru_RU.UTF-8"); // may not exist; the test holds either way
    EXPECT_EQ(FilterDecimalText(0.5L), "0.5");
    EXPECT_EQ(FilterDecimalText(-1), "-1");
    EXPECT_EQ(FilterDecimalText(0), "0");
    EXPECT_EQ(FilterDecimalText(0.1L), "0.1");
    EXPECT_EQ(ReadFilterDecimal("0,5"), 0.5L);
    EXPECT_EQ(ReadFilterDecimal("0.25"), 0.25L);
    EXPECT_EQ(ReadFilterDecimal(" -1x"), -1.0L);
    EXPECT_EQ(ReadFilterDecimal("1.2.3"), 0.0L);
    EXPECT_EQ(ReadFilterDecimal("abc"), 0.0L);
    const TFilterItem item = TextToFilter(Registry(), "TSD1#NUMS:10#WMV:1#SF:1#0,5:0.5:1:0:0");
    EXPECT_EQ(item.CDL.Count, static_cast<long double>(0.5));
    EXPECT_EQ(FilterToText(item), "TSD1#NUMS:10#WMV:1#SF:1#0.5:0.5:1:0:0");
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(FilterText, PartsAndVariants) {
    TFilterPart part;
    part.Active = true;
    part.Method = TextToFilter(Registry(), "TSD1#NUMS:1").Method;
    part.DrawsLen = 1000;
    part.SortOrder = 7;
    part.LevelMode = lmDepthListValue;
    part.LevelValues = "1,2,3,4,5";
    part.LevelText = "1-5;1";
    part.StopMode = smAll;
    part.StopValue = 1;
    EXPECT_EQ(FilterPartToText(part), "TSD#NUMS:1000#LDV:1-5;1#SF:1");

    TFilterRec rec{};
    rec[0] = part;
    rec[2] = part;
    rec[2].KeepSelected = true;
    EXPECT_EQ(FilterRecToText(rec), "TSD#NUMS:1000#LDV:1-5;1#SF:1 + TSF#NUMS:1000#LDV:1-5;1#SF:1");
}

TEST(FilterText, CaptionsAndCodes) {
    EXPECT_STREQ(LevelModeCaption(0), "Весь список (без условий)");
    EXPECT_STREQ(LevelModeCaption(31), "\"Значения\": из заданного списка значений");
    EXPECT_STREQ(LevelModeCaption(31 + 128), LevelModeCaption(31)); // top bit cleared
    EXPECT_STREQ(LevelModeCaption(32), "# ERROR #");
    EXPECT_STREQ(StopModeCaption(6), "Процентному соотношению в списке статистики");
    EXPECT_STREQ(StopModeCaption(7), "# ERROR #");
    EXPECT_STREQ(LevelModeCode(lmPeriodMaxList), "PXR");
    EXPECT_STREQ(StopModeCode(smUntilEmpty), "SZ");
}

} // namespace
} // namespace pelko
