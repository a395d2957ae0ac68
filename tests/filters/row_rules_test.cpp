// The level test of a table row and the stop conditions of a filter walk.
#include "filters/row_level.h"
#include "filters/stop_rules.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace pelko {
namespace {

TStatValues Row() {
    TStatValues row;
    row.Caption = "7";
    row.Value = 7;
    row.Count = "12";
    row.CountPercent = "1,20";
    row.Deviation = "-3";
    row.DeviationPercent = "-2.5";
    row.Depth = "4";
    row.DepthPercent = "40,00";
    row.Weight = "0.75";
    row.PeriodMin = "2";
    row.Period = "8.5";
    row.PeriodMax = "20";
    return row;
}

TFilterPart Part(int mode, const std::string& values) {
    TFilterPart part;
    part.Active = true;
    part.LevelMode = static_cast<std::uint8_t>(mode);
    part.LevelValues = values;
    return part;
}

struct TLevelCase {
    int Mode;
    const char* Values;
    bool Expected;
};

TEST(RowMatchesLevel, EveryColumnKind) {
    const TLevelCase cases[] = {
        {lmNone, "", true},
        {lmDepthMinValue, "4", true},         {lmDepthMinValue, "5", false},
        {lmDepthMaxValue, "4", true},         {lmDepthMaxValue, "3", false},
        {lmDepthMinPercent, "40", true},      {lmDepthMaxPercent, "39.5", false},
        {lmDepthListValue, "1, 4", true},     {lmDepthListPercent, "40", true},
        {lmDevMinValue, "-3", true},          {lmDevMaxPercent, "-3", false},
        {lmDevListValue, "3;-3", true},       {lmDevListPercent, "-2.5", true},
        {lmCountMinValue, "13", false},       {lmCountMinPercent, "1.2", true},
        {lmCountMaxValue, "12", true},        {lmCountListPercent, "1.2,1.3", true},
        {lmCountListValue, "11,13", false},   {lmWeightMin, "0.75", true},
        {lmWeightMax, "0.7", false},          {lmWeightList, "0.75", true},
        {lmPeriodMinMin, "2", true},          {lmPeriodMinMax, "1", false},
        {lmPeriodMinList, "2", true},         {lmPeriodMin, "8.5", true},
        {lmPeriodMax, "8", false},            {lmPeriodList, "8.5", true},
        {lmPeriodMaxMin, "21", false},        {lmPeriodMaxMax, "20", true},
        {lmPeriodMaxList, "20", true},        {lmValueList, "1,7", true},
        {lmValueList, "8", false},            {99, "x", true},
        {lmDepthListValue, "", false}, // an empty list converts nothing
    };
    for (const TLevelCase& c : cases)
        EXPECT_EQ(RowMatchesLevel(Part(c.Mode, c.Values), Row()), c.Expected) << "mode " << c.Mode << " " << c.Values;
}

TEST(RowMatchesLevel, ColumnsThatAreNotNumbers) {
    TStatValues row = Row();
    row.Depth = "-";
    row.DepthPercent = "-";
    row.Weight = "-";
    // Thresholds read them as 0 (not less) or far away (not more, values and shares).
    EXPECT_FALSE(RowMatchesLevel(Part(lmDepthMinValue, "1"), row));
    EXPECT_TRUE(RowMatchesLevel(Part(lmDepthMinValue, "0"), row));
    EXPECT_FALSE(RowMatchesLevel(Part(lmDepthMaxValue, "100"), row));
    EXPECT_FALSE(RowMatchesLevel(Part(lmDepthMaxPercent, "100"), row));
    EXPECT_TRUE(RowMatchesLevel(Part(lmWeightMax, "0"), row));
    // List modes fail with the conversion error, naming the offending text.
    try {
        RowMatchesLevel(Part(lmDepthListValue, "1"), row);
        FAIL();
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "'-' - неверное целое значение");
    }
    try {
        RowMatchesLevel(Part(lmDepthListPercent, "1"), row);
        FAIL();
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "'-' - неверное дробное значение");
    }
    // A word that is not a number fails when it is reached, not before.
    EXPECT_TRUE(RowMatchesLevel(Part(lmCountListValue, "12,x"), Row()));
    EXPECT_THROW(RowMatchesLevel(Part(lmCountListValue, "11,x"), Row()), std::runtime_error);
    // The value mode converts only the words.
    EXPECT_THROW(RowMatchesLevel(Part(lmValueList, "x"), Row()), std::runtime_error);
}

TFilterPart StopPart(int mode, int value, bool bottomUp = false, bool multi = false) {
    TFilterPart part = Part(lmNone, "");
    part.StopMode = static_cast<std::uint8_t>(mode);
    part.StopValue = value;
    part.BottomUp = bottomUp;
    part.MultiSelect = multi;
    return part;
}

TEST(StopBeforeRow, SingleSelectModes) {
    TWalkState state;
    state.ListCount = 5;
    state.MaxStake = 15;
    int uniqueAsked = 0;
    state.UniqueNumbers = [&] { ++uniqueAsked; return 15; };
    const TStatValues row = Row(); // count 12, share 1.20

    EXPECT_FALSE(StopBeforeRow(StopPart(smAll, 1), row, state));
    EXPECT_FALSE(StopBeforeRow(StopPart(smCombsCount, 4), row, state));
    EXPECT_TRUE(StopBeforeRow(StopPart(smCombsCount, 5), row, state));
    // Extended stake: a limit outside 7..max means the largest stake.
    EXPECT_TRUE(StopBeforeRow(StopPart(smExtendedStake, 3), row, state));
    EXPECT_FALSE(StopBeforeRow(StopPart(smExtendedStake, 14), row, state));
    EXPECT_EQ(uniqueAsked, 2);
    state.ListCount = 1;
    EXPECT_TRUE(StopBeforeRow(StopPart(smExtendedStake, 7), row, state));
    state.ListCount = 5;
    state.Steps = 2;
    EXPECT_TRUE(StopBeforeRow(StopPart(smSteps, 2), row, state));
    EXPECT_FALSE(StopBeforeRow(StopPart(smSteps, 3), row, state));
    EXPECT_FALSE(StopBeforeRow(StopPart(smUntilEmpty, 1), row, state));
    // Count and share: top-down stops at or below the limit, bottom-up at or above.
    EXPECT_TRUE(StopBeforeRow(StopPart(smCountValue, 12), row, state));
    EXPECT_FALSE(StopBeforeRow(StopPart(smCountValue, 11), row, state));
    EXPECT_TRUE(StopBeforeRow(StopPart(smCountValue, 12, true), row, state));
    EXPECT_FALSE(StopBeforeRow(StopPart(smCountValue, 13, true), row, state));
    EXPECT_TRUE(StopBeforeRow(StopPart(smCountPercent, 2), row, state));
    EXPECT_FALSE(StopBeforeRow(StopPart(smCountPercent, 2, true), row, state));
}

TEST(StopBeforeRow, MultiSelectKnowsOnlyStepsAndRowLimits) {
    TWalkState state;
    state.ListCount = 0;
    state.UniqueNumbers = [] { return 0; };
    const TStatValues row = Row();
    EXPECT_FALSE(StopBeforeRow(StopPart(smCombsCount, 100, false, true), row, state));
    EXPECT_FALSE(StopBeforeRow(StopPart(smExtendedStake, 7, false, true), row, state));
    EXPECT_TRUE(StopBeforeRow(StopPart(smSteps, 0, false, true), row, state));
    EXPECT_TRUE(StopBeforeRow(StopPart(smCountValue, 20, false, true), row, state));
}

} // namespace
} // namespace pelko
