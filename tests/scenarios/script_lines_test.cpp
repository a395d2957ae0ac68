#include "scenarios/script_lines.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace pelko {
namespace {

using Lines = std::vector<std::string>;

TScriptLines Make(const Lines& lines) {
    TScriptLines s;
    s.Replace(lines);
    return s;
}

TEST(ScriptLines, IndexOutsideTheListFailsWithTheNotFoundText) {
    TScriptLines s = Make({"a"});
    EXPECT_EQ(s.Add("b"), 1u);
    try {
        s.Get(2);
        FAIL();
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "Запись со индексом 2 в файле данных не найдена!");
    }
    EXPECT_THROW(s.Set(5, "x"), std::runtime_error);
    EXPECT_EQ(s.Lines(), (Lines{"a", "b"}));
}

TEST(ScriptLines, DeletingSeparatorsWithOtherRowsKeepsTheOrderOfTheRest) {
    TScriptLines s = Make({"a", "", "b", "c", " ", "d", "e"});
    s.DeleteRows({4, 1, 3, 4});
    EXPECT_EQ(s.Lines(), (Lines{"a", "b", "d", "e"}));
    s.DeleteRows({0, 3});
    EXPECT_EQ(s.Lines(), (Lines{"b", "d"}));
    // One bad index deletes nothing.
    EXPECT_THROW(s.DeleteRows({0, 2}), std::runtime_error);
    EXPECT_EQ(s.Lines(), (Lines{"b", "d"}));
    s.DeleteRows({});
    EXPECT_EQ(s.Count(), 2u);
}

TEST(ScriptLines, MovingExchangesOnlyTwoTextsAndStopsAtTheEnds) {
    TScriptLines s = Make({"a", "b", "c"});
    EXPECT_FALSE(s.MoveUp(0));
    EXPECT_FALSE(s.MoveDown(2));
    EXPECT_FALSE(s.MoveDown(7));
    EXPECT_FALSE(s.MoveUp(7));
    EXPECT_EQ(s.Lines(), (Lines{"a", "b", "c"}));
    EXPECT_TRUE(s.MoveDown(0));
    EXPECT_EQ(s.Lines(), (Lines{"b", "a", "c"}));
    EXPECT_TRUE(s.MoveUp(2));
    EXPECT_EQ(s.Lines(), (Lines{"b", "c", "a"}));
}

struct AppendCase {
    const char* name;
    Lines before;
    Lines file;
    Lines after;
};

class ScriptAppend : public ::testing::TestWithParam<AppendCase> {};

TEST_P(ScriptAppend, PutsOneSeparatorBetweenAtMost) {
    TScriptLines s = Make(GetParam().before);
    s.Append(GetParam().file);
    EXPECT_EQ(s.Lines(), GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, ScriptAppend,
    ::testing::Values(AppendCase{"ToEmpty", {}, {"x", "y"}, {"x", "y"}},
                      AppendCase{"ToEmptyKeepsLeadingSeparatorOfTheFile", {}, {"", "x"}, {"", "x"}},
                      AppendCase{"AddsSeparator", {"a"}, {"x"}, {"a", "", "x"}},
                      AppendCase{"AfterSeparator", {"a", ""}, {"x"}, {"a", "", "x"}},
                      AppendCase{"AfterBlankSeparator", {"a", "  "}, {"x"}, {"a", "  ", "x"}},
                      AppendCase{"EmptyFile", {"a"}, {}, {"a"}},
                      AppendCase{"FileOfOneSeparator", {"a"}, {""}, {"a", "", ""}}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace pelko
