#include "online/page_text.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace pelko {
namespace {

struct TExtractCase {
    const char* Name;
    const char* Text;
    const char* Start;
    const char* End;
    int Mode;
    const char* Expected;
};

class ExtractBetweenTest : public ::testing::TestWithParam<TExtractCase> {};

TEST_P(ExtractBetweenTest, GivesThePieceBetweenTheMarkers) {
    const TExtractCase& c = GetParam();
    EXPECT_EQ(ExtractBetween(c.Text, c.Start, c.End, c.Mode), c.Expected);
}

const TExtractCase EXTRACT_CASES[] = {
    {"Plain", "<b>12</b>", "<b>", "</b>", 0, "12"},
    {"FirstPairOnly", "<b>1</b><b>2</b>", "<b>", "</b>", 0, "1"},
    {"MarkersIgnoreCase", "<DIV Class=\"x\"> 7 </div>", "<div class=\"X\">", "</DIV>", 0, "7"},
    {"CaseFoldIsAsciiOnly", "\xC0<b>5</b>", "\xE0<b>", "</b>", 1, ""},
    {"Trimmed", "[ \t\r\n x y \n]", "[", "]", 0, "x y"},
    {"Unquoted", "title=\"x \"\"y\"\"\">", "title=", ">", 0, "x \"y\""},
    {"EndSearchedAfterStart", "]x[y]", "[", "]", 0, "y"},
    {"MissingStartMode0", "<b>1</b>", "<i>", "</i>", 0, ""},
    {"MissingStartMode1", "<b>1</b>", "<i>", "</b>", 1, ""},
    {"MissingStartMode2", "<b>1</b>", "<i>", "</b>", 2, ""},
    {"MissingEndMode1", "<b> 1 2", "<b>", "</b>", 1, ""},
    {"MissingEndMode2", "<b> 1 2 ", "<b>", "</b>", 2, "1 2"},
    {"EmptyEndRunsToTheEnd", "x=  tail  ", "x=", "", 0, "tail"},
    {"EmptyStartFromTheBeginning", "  head|", "", "|", 0, "head"},
    {"EmptyPiece", "<b></b>", "<b>", "</b>", 0, ""},
};

INSTANTIATE_TEST_SUITE_P(Cases, ExtractBetweenTest, ::testing::ValuesIn(EXTRACT_CASES),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(PageText, MissingEndInMode0FailsWithThePairAndTheText) {
    try {
        ExtractBetween("<p>1<p>", "<P>", "</p>", 0);
        FAIL() << "no failure";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "Не удалось найти пару идентификаторов \"<P>\" - \"</p>\" в "
                               "тексте\n\n[<p>1<p>]!");
    }
}

TEST(PageText, CutBetweenWalksSuccessivePairs) {
    std::string text = "<b>1</b>&nbsp;<B>22</B> <b> 3 </b>tail";
    std::vector<std::string> pieces;
    for (std::string piece; !(piece = CutBetween(text, "<b>", "</b>", 0)).empty();)
        pieces.push_back(piece);
    EXPECT_EQ(pieces, (std::vector<std::string>{"1", "22", "3"}));
    EXPECT_EQ(text, "tail");
}

struct TCutCase {
    const char* Name;
    const char* Text;
    const char* End;
    int Mode;
    const char* Expected;
    const char* Left; // the text after the cut
};

class CutBetweenTest : public ::testing::TestWithParam<TCutCase> {};

TEST_P(CutBetweenTest, CutsUpToTheEndMarker) {
    const TCutCase& c = GetParam();
    std::string text = c.Text;
    EXPECT_EQ(CutBetween(text, "<b>", c.End, c.Mode), c.Expected);
    EXPECT_EQ(text, c.Left);
}

const TCutCase CUT_CASES[] = {
    {"Found", "a<b>1</b>z", "</b>", 0, "1", "z"},
    {"NoStartLeavesText", "a<i>1</i>", "</b>", 0, "", "a<i>1</i>"},
    {"NoEndMode1LeavesText", "a<b>1", "</b>", 1, "", "a<b>1"},
    {"NoEndMode2TakesTheRest", "a<b> 1 ", "</b>", 2, "1", ""},
    {"EmptyEndTakesTheRest", "a<b>1 2", "", 0, "1 2", ""},
    {"EmptyPieceStillCuts", "<b></b>next", "</b>", 0, "", "next"},
};

INSTANTIATE_TEST_SUITE_P(Cases, CutBetweenTest, ::testing::ValuesIn(CUT_CASES),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(PageText, CutBetweenMode0LeavesTheTextWhenItFails) {
    std::string text = "<b>1</b><b>2";
    EXPECT_EQ(CutBetween(text, "<b>", "</b>", 0), "1");
    EXPECT_THROW(CutBetween(text, "<b>", "</b>", 0), std::runtime_error);
    EXPECT_EQ(text, "<b>2");
}

TEST(PageText, NextBlockWalksBlocksAndKeepsTheMarkerInFront) {
    std::string text = "head<div class=\"elem\"> one <DIV CLASS=\"elem\">two\n"
                       "<div class=\"elem\">three";
    std::vector<std::string> blocks;
    std::vector<std::string> rests;
    for (std::string block; !(block = NextBlock(text, "<div class=\"elem\">")).empty();) {
        blocks.push_back(block);
        rests.push_back(text.substr(0, 5));
    }
    EXPECT_EQ(blocks, (std::vector<std::string>{"one", "two", "three"}));
    EXPECT_EQ(rests, (std::vector<std::string>{"<DIV ", "<div ", ""}));
    EXPECT_EQ(text, "");
}

struct TBlockCase {
    const char* Name;
    const char* Text;
    const char* Expected;
    const char* Left;
};

class NextBlockTest : public ::testing::TestWithParam<TBlockCase> {};

TEST_P(NextBlockTest, TakesOneBlock) {
    const TBlockCase& c = GetParam();
    std::string text = c.Text;
    EXPECT_EQ(NextBlock(text, "<tr>"), c.Expected);
    EXPECT_EQ(text, c.Left);
}

const TBlockCase BLOCK_CASES[] = {
    {"NoMarkerLeavesText", "<td>1</td>", "", "<td>1</td>"},
    {"MarkerAtTheEnd", "x<tr>", "", ""},
    {"LastBlockRunsToTheEnd", "<tr> a </tr>", "a </tr>", ""},
    {"EmptyBlockStopsAWalk", "<tr> <tr>b", "", "<tr>b"},
    // The next marker is looked for one character into the block, so a marker right
    // after the first belongs to the block.
    {"AdjacentMarkers", "<tr><tr>b<tr>c", "<tr>b", "<tr>c"},
    {"QuotedBlock", "<tr>\"q\"\"\"<tr>", "q\"", "<tr>"},
};

INSTANTIATE_TEST_SUITE_P(Cases, NextBlockTest, ::testing::ValuesIn(BLOCK_CASES),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(PageText, ExtractNestedLooksInsideTheOuterPieceOnly) {
    const char* page = "<p>0</p><div class=\"c\" id=1><p> 5 </p></div><p>9</p>";
    EXPECT_EQ(ExtractNested(page, "<div class=\"c\"", "</div>", "<p>", "</p>", 0), "5");
    // The inner pair exists only outside the outer piece.
    EXPECT_EQ(ExtractNested(page, "<div class=\"c\"", "</div>", "<i>", "</i>", 0), "");
    EXPECT_EQ(ExtractNested(page, "<table>", "</table>", "<p>", "</p>", 0), "");
    EXPECT_THROW(ExtractNested(page, "<div", "</div>", "<p>", "</b>", 0), std::runtime_error);
    EXPECT_EQ(ExtractNested(page, "<div", "</div>", "<p>", "</b>", 2), "5 </p>");
}

struct TUnquoteCase {
    const char* Name;
    const char* Text;
    const char* Expected;
};

class UnquoteTest : public ::testing::TestWithParam<TUnquoteCase> {};

TEST_P(UnquoteTest, Unquotes) {
    EXPECT_EQ(Unquote(GetParam().Text), GetParam().Expected);
}

const TUnquoteCase UNQUOTE_CASES[] = {
    {"Wrapped", "\"abc\"", "abc"},
    {"DoubledInside", "\"a\"\"b\"", "a\"b"},
    {"OnlyQuotes", "\"\"\"\"\"\"", "\"\"\""}, // only the first inner quote has none before it
    {"LoneInsideDropped", "\"a\"b\"", "ab"},
    {"OneCharacter", "\"", "\""},
    {"TwoQuotes", "\"\"", ""},
    {"OpenOnly", "\"abc", "\"abc"},
    {"CloseOnly", "abc\"", "abc\""},
    {"NotWrappedKeepsDoubles", "a\"\"b", "a\"\"b"},
    {"Empty", "", ""},
};

INSTANTIATE_TEST_SUITE_P(Cases, UnquoteTest, ::testing::ValuesIn(UNQUOTE_CASES),
                         [](const auto& info) { return std::string(info.param.Name); });

} // namespace
} // namespace pelko
