#include "scenarios/script_file.h"

#include "core/atomic_file.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace pelko {
namespace {

using Lines = std::vector<std::string>;

TEST(ScriptFile, WritesCp1251WithCrLfAfterEveryLineAndReadsItBack) {
    test::TTempDir dir;
    const auto file = dir.file("a.lsc");
    const Lines lines{"FULL:0#EXT|F| | | | | | |проба", "", "Ё"};
    WriteScriptFile(file, lines);
    const std::string bytes = ReadWholeFile(file);
    EXPECT_EQ(bytes, "FULL:0#EXT|F| | | | | | |\xEF\xF0\xEE\xE1\xE0\r\n\r\n\xA8\r\n");
    EXPECT_EQ(ReadScriptFile(file), lines);

    WriteScriptFile(file, {});
    EXPECT_EQ(ReadWholeFile(file), "");
    EXPECT_TRUE(ReadScriptFile(file).empty());
}

struct SplitCase {
    const char* text;
    Lines lines;
};

class ScriptFileLineEnds : public ::testing::TestWithParam<SplitCase> {};

TEST_P(ScriptFileLineEnds, AcceptsCrLfAndCrLfAndKeepsEmptyLines) {
    test::TTempDir dir;
    WriteFileAtomically(dir.file("x.lsc"), GetParam().text);
    EXPECT_EQ(ReadScriptFile(dir.file("x.lsc")), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ScriptFileLineEnds,
    ::testing::Values(SplitCase{"a\r\nb\r\n", {"a", "b"}}, SplitCase{"a\nb", {"a", "b"}},
                      SplitCase{"a\rb\r", {"a", "b"}}, SplitCase{"a\r\rb", {"a", "", "b"}},
                      SplitCase{"a\n\r\nb", {"a", "", "b"}}, SplitCase{"\r\n", {""}},
                      SplitCase{"a\n\rb", {"a", "", "b"}}, SplitCase{"a\r\n\r\n", {"a", ""}},
                      SplitCase{"", {}}));

TEST(ScriptFile, GarbageAndManyLinesLoad) {
    test::TTempDir dir;
    std::string text;
    for (int i = 0; i < 10000; ++i)
        text +=
            (i % 3 == 0 ? "\x01\xFF|||garbage" : "FULL:0#XYZ|what|") + std::to_string(i) + "\r\n";
    WriteFileAtomically(dir.file("big.lsc"), text);
    const Lines lines = ReadScriptFile(dir.file("big.lsc"));
    ASSERT_EQ(lines.size(), 10000u);
    EXPECT_EQ(lines[0], "\x01я|||garbage0");
    EXPECT_EQ(lines[9999], "\x01я|||garbage9999");
}

TEST(ScriptFile, AMissingFileFailsWithTheSystemText) {
    test::TTempDir dir;
    try {
        ReadScriptFile(dir.file("none.lsc"));
        FAIL();
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(std::string(e.what()).rfind("SysError #2: ", 0), 0u) << e.what();
    }
    EXPECT_THROW(WriteScriptFile(dir.file("no/such/folder.lsc"), {"a"}), std::runtime_error);
}

} // namespace
} // namespace pelko
