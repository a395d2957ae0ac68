#include "core/atomic_file.h"
#include "core/draw_archive.h"
#include "core/draw_csv.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace pelko {
namespace {

std::string Fixture(const std::string& name) {
    return ReadWholeFile(std::filesystem::path(PELKO_FIXTURES_DIR) / "draws" / name);
}

using Fields = std::vector<std::string>;

TEST(DrawCsvFields, SplittingRules) {
    EXPECT_EQ(SplitDrawCsvFields("1;\"10.11.2008 00:00\";15"), (Fields{"1", "10.11.2008 00:00", "15"}));
    // Blanks outside quotes end a field.
    EXPECT_EQ(SplitDrawCsvFields("1;10.11.2008 00:00;15"), (Fields{"1", "10.11.2008", "00:00", "15"}));
    EXPECT_EQ(SplitDrawCsvFields("\"a\"\"b\";\"\""), (Fields{"a\"b", ""}));
    EXPECT_EQ(SplitDrawCsvFields("1;;2"), (Fields{"1", "", "2"}));
    EXPECT_EQ(SplitDrawCsvFields("1;2;"), (Fields{"1", "2", ""}));
    EXPECT_EQ(SplitDrawCsvFields("  1 ;\t2  "), (Fields{"1", "2"}));
    EXPECT_EQ(SplitDrawCsvFields(""), Fields{});
    EXPECT_EQ(SplitDrawCsvFields("\"open;1;2"), (Fields{"open;1;2"}));
}

TEST(DrawCsv, ExportLineForm) {
    TDrawData d;
    d.Number = 17;
    const std::uint8_t nums[] = {25, 3, 41, 7, 33, 12};
    std::copy(std::begin(nums), std::end(nums), d.Nums);
    d.SetRawDate("05.03.2024 \"21\"");
    EXPECT_EQ(DrawToCsvLine(d), "17;\"05.03.2024 \"\"21\"\"\";25;3;41;7;33;12");
    EXPECT_EQ(DrawsToCsv({d, d}).size(), 2 * (DrawToCsvLine(d).size() + 2));
}

TEST(DrawCsv, ImportSkipsWhatDoesNotParse) {
    TDrawsArray draws;
    const int added = ImportDrawsCsv(Fixture("mixed.csv"), draws).Added;
    // Kept: 1 (quoted date), the 7-field line (numbered size + 1 = 2), 5 (empty date),
    // 6 (stray bytes in the date). Skipped: the header, blank lines, the unquoted date
    // (9 fields), the line ending in ";" (9 fields), the unterminated quote, number -3 and abc.
    ASSERT_EQ(added, 4);
    ASSERT_EQ(draws.size(), 4u);
    EXPECT_EQ(draws[0].Number, 1);
    EXPECT_EQ(draws[0].DateText(), "10.11.2008 00:00");
    EXPECT_EQ(draws[1].Number, 2);
    EXPECT_EQ(draws[1].RawDate(), "20.11.2008 \"x\"");
    EXPECT_EQ(draws[1].Nums[0], 26);
    EXPECT_EQ(draws[2].Number, 5);
    EXPECT_EQ(draws[2].DateLen, 0);
    EXPECT_EQ(draws[3].Number, 6);
    EXPECT_EQ(draws[3].DateLen, 12);
}

TEST(DrawCsv, SevenFieldLinesAreNumberedAfterTheArchive) {
    TDrawsArray draws(100);
    for (int i = 0; i < 100; ++i)
        draws[i].Number = i + 1;
    draws[99].Number = 102; // the archive already has a draw numbered 102
    const int added = ImportDrawsCsv("\"a\";1;2;3;4;5;6\r\n\"b\";1;2;3;4;5;6\r\n"
                                     "\"c\";1;2;3;4;5;6\r\n",
                                     draws)
                          .Added;
    // 101 is new; 102 exists; the third line is numbered 102 again (size is 101 then).
    EXPECT_EQ(added, 1);
    EXPECT_EQ(draws.back().Number, 101);
}

TEST(DrawCsv, ExportThenImportAddsNothing) {
    TDrawsArray draws;
    ImportDrawsCsv(Fixture("mixed.csv"), draws);
    TDrawsArray copy = draws;
    EXPECT_EQ(ImportDrawsCsv(DrawsToCsv(draws), copy).Added, 0);
    TDrawsArray fresh;
    EXPECT_EQ(ImportDrawsCsv(DrawsToCsv(draws), fresh).Added, 4);
    EXPECT_EQ(DrawsToCsv(fresh), DrawsToCsv(draws));
}

TEST(DrawCsv, AVeryLongLineRefusesTheWholeFile) {
    TDrawsArray draws;
    EXPECT_THROW(ImportDrawsCsv(Fixture("long_line.csv"), draws), std::runtime_error);
    EXPECT_TRUE(draws.empty());
}

// Every statistic indexes by number: such lines are refused and counted, never stored.
TEST(DrawCsv, ImpossibleNumbersAreRefusedAndCounted) {
    TDrawsArray draws;
    const TDrawsImport import = ImportDrawsCsv("10;\"d\";300;-1;2;3;4;5\r\n"
                                               "11;\"d\";1;2;3;4;5;46\r\n"
                                               "12;\"d\";7;7;8;9;10;11\r\n"
                                               "13;\"d\";0;1;2;3;4;5\r\n"
                                               "14;\"d\";x;1;2;3;4;5\r\n"
                                               "15;\"d\";45;1;2;3;4;5\r\n",
                                               draws);
    EXPECT_EQ(import.Added, 1);
    EXPECT_EQ(import.Refused, 5u);
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0].Number, 15);
}

TEST(DrawCsv, AByteOrderMarkDoesNotEatTheFirstLine) {
    TDrawsArray draws;
    EXPECT_EQ(ImportDrawsCsv("\xEF\xBB\xBF" "1;\"d\";1;2;3;4;5;6\r\n", draws).Added, 1);
}

TEST(DrawCsv, SampleArchiveImportsWhole) {
    const auto content = ReadWholeFile(std::filesystem::path(PELKO_SHARE_DIR) / "sample_draws.csv");
    TDrawsArray draws;
    EXPECT_EQ(ImportDrawsCsv(content, draws).Added, 18930);
    EXPECT_EQ(draws.front().Number, 1);
    EXPECT_EQ(draws.back().Number, 18930);
    EXPECT_EQ(FindDraw(draws, 784), 783);
    EXPECT_EQ(DrawsToCsv(draws), content);
}

} // namespace
} // namespace pelko
