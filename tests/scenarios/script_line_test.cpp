#include "scenarios/script_line.h"

#include <gtest/gtest.h>

namespace pelko {
namespace {

TEST(ScriptLine, FiltersOneAndThreeOnlyRoundTripInPlace) {
    TScriptFilterTexts filters;
    filters[0] = "TSD1#NUMS:100#LNO:#SF:1";
    filters[2] = "TSD1#EVEN:100#LNO:#SF:1";
    const std::string line = ScriptLineText("EXCL:3#EXT#NEX", filters, "");
    EXPECT_EQ(line, "EXCL:3#EXT#NEX|TSD1#NUMS:100#LNO:#SF:1| |TSD1#EVEN:100#LNO:#SF:1| | | | |");
    EXPECT_EQ(ScriptLineField(line, 1), "EXCL:3#EXT#NEX");
    EXPECT_EQ(ScriptLineField(line, 2), filters[0]);
    EXPECT_EQ(ScriptLineField(line, 3), "");
    EXPECT_EQ(ScriptLineField(line, 4), filters[2]);
    for (int n = 5; n <= 9; ++n)
        EXPECT_EQ(ScriptLineField(line, n), "") << n;
}

TEST(ScriptLine, CommentIsKeptAsTypedAndABlankOneIsLeftOut) {
    TScriptFilterTexts filters;
    filters[0] = "TSD1#NUMS:1000#LMV:5#SF:1";
    EXPECT_EQ(ScriptLineText("FULL:0#EXT", filters, "проба"),
              "FULL:0#EXT|TSD1#NUMS:1000#LMV:5#SF:1| | | | | | |проба");
    const std::string blank = ScriptLineText("FULL:0#EXT", filters, "   ");
    EXPECT_EQ(blank.back(), '|');
    EXPECT_EQ(ScriptLineField(blank, 9), "");
    // Blank filters become one blank, not the typed blanks.
    filters[1] = "  \t";
    EXPECT_EQ(ScriptLineText("FULL:0#EXT", filters, " a b "),
              "FULL:0#EXT|TSD1#NUMS:1000#LMV:5#SF:1| | | | | | | a b ");
    EXPECT_EQ(ScriptLineField("FULL:0#EXT|F| | | | | | | a b ", 9), "a b");
}

TEST(ScriptLine, ABarInsideACommentShiftsAndRunsOfBarsMerge) {
    const std::string line = "FULL:0#EXT|F1| | | | | | |left|right";
    EXPECT_EQ(ScriptLineField(line, 9), "left");
    EXPECT_EQ(ScriptLineField("|FULL:0#EXT||F1|", 1), "FULL:0#EXT");
    EXPECT_EQ(ScriptLineField("|FULL:0#EXT||F1|", 2), "F1");
    EXPECT_EQ(ScriptLineField(line, 0), "");
    EXPECT_EQ(ScriptLineField(line, 10), "right");
    EXPECT_EQ(ScriptLineField("", 1), "");
}

TEST(ScriptLine, BlankLinesAreSeparators) {
    EXPECT_TRUE(IsSeparatorLine(""));
    EXPECT_TRUE(IsSeparatorLine(" \t "));
    EXPECT_FALSE(IsSeparatorLine(" | "));
}

} // namespace
} // namespace pelko
