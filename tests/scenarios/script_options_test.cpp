#include "scenarios/script_options.h"

#include <gtest/gtest.h>

namespace pelko {
namespace {

TScriptOptions Options(TStartCombsType start, int exclude, TResultCombsMode mode, bool clear,
                       bool newOnly) {
    TScriptOptions o;
    o.StartType = start;
    o.DrawsExclude = exclude;
    o.ResultMode = mode;
    o.ClearStakes = clear;
    o.NewOnly = newOnly;
    return o;
}

struct TextsCase {
    TScriptOptions options;
    const char* full;
    const char* brief;
    const char* caption;
};

class OptionsTexts : public ::testing::TestWithParam<TextsCase> {};

TEST_P(OptionsTexts, AllThreeFormsAndTheFullTextReadsBack) {
    const TextsCase& c = GetParam();
    EXPECT_EQ(OptionsToText(c.options), c.full);
    EXPECT_EQ(OptionsToShortText(c.options), c.brief);
    EXPECT_EQ(OptionsCaption(c.options), c.caption);
    EXPECT_EQ(TextToOptions(c.full), c.options);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, OptionsTexts,
    ::testing::Values(
        TextsCase{Options(TStartCombsType::Full, 0, TResultCombsMode::Ext, false, false),
                  "FULL:0#EXT", "FULL#EXT", "Исходный список; Расширенная; Все создаваемые ставки"},
        TextsCase{Options(TStartCombsType::Excl, 5, TResultCombsMode::Rand, true, true),
                  "EXCL:5#RAND#CLR#NEX", "EXCL:5#RAND#NEX",
                  "Исключить 5 тиражей; Случайно; Удалить ставки; Только новые ставки"},
        // CURR keeps its number in the full text (here a leftover 3) but not in the short.
        TextsCase{Options(TStartCombsType::Curr, 3, TResultCombsMode::None, true, false),
                  "CURR:3#NONE#CLR", "CURR#NONE",
                  "Текущий список; Не делать ставок; Удалить ставки; Все создаваемые ставки"},
        TextsCase{Options(TStartCombsType::Full, 0, TResultCombsMode::Sysc, false, true),
                  "FULL:0#SYSC#NEX", "FULL#SYSC#NEX",
                  "Исходный список; Система [комб]; Только новые ставки"}));

struct ReadCase {
    const char* text;
    TScriptOptions expected;
};

class OptionsReading : public ::testing::TestWithParam<ReadCase> {};

TEST_P(OptionsReading, ReadsCodesIgnoringCaseAndLeavesDefaultsForUnknownOnes) {
    EXPECT_EQ(TextToOptions(GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, OptionsReading,
    ::testing::Values(
        ReadCase{"excl:7#rand#nex",
                 Options(TStartCombsType::Excl, 7, TResultCombsMode::Rand, false, true)},
        ReadCase{"FULL:0#XYZ",
                 Options(TStartCombsType::Full, 0, TResultCombsMode::Ext, false, false)},
        // The short text loses CLR.
        ReadCase{"EXCL:5#RAND#NEX",
                 Options(TStartCombsType::Excl, 5, TResultCombsMode::Rand, false, true)},
        // The start code is a prefix; the result code must be a whole word.
        ReadCase{"CURRENT:x#LASTING#clr",
                 Options(TStartCombsType::Curr, 0, TResultCombsMode::Ext, true, false)},
        ReadCase{" Excl : 12 ## last # foo # nex ",
                 Options(TStartCombsType::Excl, 12, TResultCombsMode::Last, false, true)},
        ReadCase{"", Options(TStartCombsType::Full, 0, TResultCombsMode::Ext, false, false)},
        ReadCase{"garbage", Options(TStartCombsType::Full, 0, TResultCombsMode::Ext, false, false)},
        ReadCase{"EXCL:99999999999#SKIP",
                 Options(TStartCombsType::Excl, 0, TResultCombsMode::Skip, false, false)}));

TEST(OptionsCaptions, ValuesOutsideTheTablesGiveTheErrorCaptionAndTheTopBitIsIgnored) {
    EXPECT_EQ(StartTypeListCaption(3, 0), ERROR_CAPTION);
    EXPECT_EQ(StartTypeDialogCaption(-1), ERROR_CAPTION);
    EXPECT_EQ(ResultModeListCaption(10), ERROR_CAPTION);
    EXPECT_EQ(ResultModeDialogCaption(127), ERROR_CAPTION);
    EXPECT_EQ(StartTypeListCaption(128 + 1, 4), "Исключить 4 тиражей");
    EXPECT_EQ(ResultModeDialogCaption(128 + 9),
              "Не делать ставок (для последовательного выполнения)");
    TScriptOptions bad;
    bad.ResultMode = static_cast<TResultCombsMode>(12);
    EXPECT_EQ(OptionsCaption(bad), "Исходный список; # ERROR #; Все создаваемые ставки");
}

TEST(OptionsCaptions, EveryCodeReadsBackToItsValue) {
    for (int start = 0; start < START_COMBS_TYPE_COUNT; ++start)
        for (int mode = 0; mode < RESULT_COMBS_MODE_COUNT; ++mode) {
            const TScriptOptions o = Options(static_cast<TStartCombsType>(start), 2,
                                             static_cast<TResultCombsMode>(mode), true, true);
            EXPECT_EQ(TextToOptions(OptionsToText(o)), o) << OptionsToText(o);
            EXPECT_NE(ResultModeListCaption(mode), ERROR_CAPTION);
        }
}

} // namespace
} // namespace pelko
