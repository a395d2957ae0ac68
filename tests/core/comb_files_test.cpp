#include "core/comb_files.h"
#include "core/record_helpers.h"
#include "core/comb_generation.h"
#include "core/text_forms.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace pelko {
namespace {

TComb Comb(std::initializer_list<int> nums) {
    TComb c;
    int i = 0;
    for (const int n : nums)
        c[i++] = static_cast<std::uint8_t>(n);
    return c;
}

std::string ReadBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteBytes(const std::filesystem::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
}

// Entries that use every byte value in every position.
TCombList AllByteValues() {
    TCombList list;
    for (int v = 0; v < 256; ++v)
        list.Append(
            Comb({v, (v + 1) % 256, (v + 9) % 256, (v + 90) % 256, 255 - v, (v * 7) % 256}));
    return list;
}

TEST(CombFiles, SavedLinesAreCombToTextWithCrLf) {
    test::TTempDir dir;
    const TCombList list = AllByteValues();
    SaveCombsFile(dir.file("a.lcv"), list);
    std::string expected;
    for (const TComb& c : list)
        expected += CombToText(c) + "\r\n";
    EXPECT_EQ(ReadBytes(dir.file("a.lcv")), expected);
    EXPECT_EQ(std::string(ReadBytes(dir.file("a.lcv")), 0, 18), "0;1;9;90;255;0\r\n1;");
}

TEST(CombFiles, SaveAndLoadRoundTripAcrossReadChunks) {
    test::TTempDir dir;
    TCombList full;
    GenerateCombList(full, GEN_ANY_OF_MINE, ParseMyNumbers("1")); // 1.2 M lines, > 4 MB
    SaveCombsFile(dir.file("big.lcv"), full);
    TCombList back;
    LoadCombsFile(dir.file("big.lcv"), back);
    ASSERT_EQ(back.Count(), full.Count());
    EXPECT_TRUE(std::equal(full.begin(), full.end(), back.begin()));

    // Combinations with impossible numbers are refused and counted, the others kept.
    const TCombList bytes = AllByteValues();
    SaveCombsFile(dir.file("bytes.lcv"), bytes);
    std::vector<TComb> valid;
    for (const TComb& c : bytes)
        if (ValidComb(c)) valid.push_back(c);
    EXPECT_EQ(LoadCombsFile(dir.file("bytes.lcv"), back), bytes.Count() - valid.size());
    ASSERT_EQ(back.Count(), valid.size());
    EXPECT_TRUE(std::equal(valid.begin(), valid.end(), back.begin()));
}

TEST(CombFiles, SaveReplacesAnOldFileAndFailsOnAMissingFolder) {
    test::TTempDir dir;
    WriteBytes(dir.file("a.lcv"), "old content that is longer than the new one\r\n");
    TCombList one;
    one.Append(Comb({1, 2, 3, 4, 5, 6}));
    SaveCombsFile(dir.file("a.lcv"), one);
    EXPECT_EQ(ReadBytes(dir.file("a.lcv")), "1;2;3;4;5;6\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
    EXPECT_THROW(SaveCombsFile(dir.file("no/such/dir.lcv"), one), std::runtime_error);
}

struct TLoadCase {
    const char* Text;
    std::vector<TComb> Expected;
};

class CombFilesLoad : public ::testing::TestWithParam<TLoadCase> {};

TEST_P(CombFilesLoad, ReadsTheLinesOfSixWords) {
    test::TTempDir dir;
    WriteBytes(dir.file("in.lcv"), GetParam().Text);
    TCombList list;
    list.Append(Comb({9, 9, 9, 9, 9, 9})); // replaced, not appended to
    LoadCombsFile(dir.file("in.lcv"), list);
    ASSERT_EQ(list.Count(), GetParam().Expected.size()) << GetParam().Text;
    for (std::size_t i = 0; i < list.Count(); ++i)
        EXPECT_EQ(list[i], GetParam().Expected[i]) << GetParam().Text << " entry " << i;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, CombFilesLoad,
    ::testing::Values(
        TLoadCase{"", {}}, TLoadCase{"1;2;3;4;5;6", {Comb({1, 2, 3, 4, 5, 6})}}, // no final break
        TLoadCase{"6,5,4;3;2,1\n", {Comb({6, 5, 4, 3, 2, 1})}},
        TLoadCase{"1;2;3;4;5\r\n7;8;9;10;11;12\r\n", {Comb({7, 8, 9, 10, 11, 12})}},
        TLoadCase{"1;2;3;4;5;6;7\r\n\r\n\r\n;;1;;2;3;4;5;6;;\r", {Comb({1, 2, 3, 4, 5, 6})}},
        TLoadCase{"1;2;3;4;5;6\r2;3;4;5;6;7\n3;4;5;6;7;8",
                  {Comb({1, 2, 3, 4, 5, 6}), Comb({2, 3, 4, 5, 6, 7}), Comb({3, 4, 5, 6, 7, 8})}},
        // words are trimmed; anything not an integer is 0, and 0, numbers beyond 45 and a
        // number twice refuse the line
        TLoadCase{" 1 ; 02;7;\t4\t;+5;45\r\n", {Comb({1, 2, 7, 4, 5, 45})}},
        TLoadCase{" 1 ; 02;x;\t4\t;+5;1 6\r\n", {}},
        TLoadCase{"300;-1;256;255;0;99999999999\r\n46;1;2;3;4;5\r\n7;7;8;9;10;11\r\n", {}},
        TLoadCase{"\xEF\xBB\xBF" "1;2;3;4;5;6\r\n", {Comb({1, 2, 3, 4, 5, 6})}},
        TLoadCase{"1 2 3 4 5 6\r\n", {}}));

TEST(CombFiles, LoadGrowsTheListBeyondItsCapacity) {
    test::TTempDir dir;
    std::string text;
    for (int i = 0; i < 5000; ++i)
        text += "1;2;3;4;5;" + std::to_string(6 + i % 40) + "\r\n";
    WriteBytes(dir.file("in.lcv"), text);
    TCombList list;
    list.Reserve(10);
    LoadCombsFile(dir.file("in.lcv"), list);
    EXPECT_EQ(list.Count(), 5000u);
    EXPECT_GE(list.Capacity(), 5000u);
    EXPECT_EQ(list[4999], Comb({1, 2, 3, 4, 5, 6 + 4999 % 40}));
}

TEST(CombFiles, EndlessInputIsRefused) {
    test::TTempDir dir;
    TCombList list;
    WriteBytes(dir.file("long.lcv"), "1;2;3;4;5;6\r\n" + std::string(70 * 1024, '1'));
    EXPECT_THROW(LoadCombsFile(dir.file("long.lcv"), list), std::runtime_error);
    EXPECT_THROW(LoadCombsFile("/dev/zero", list), std::runtime_error);
}

TEST(CombFiles, LoadOfAMissingFileFailsWithTheSystemText) {
    test::TTempDir dir;
    TCombList list;
    list.Append(Comb({1, 2, 3, 4, 5, 6}));
    try {
        LoadCombsFile(dir.file("missing.lcv"), list);
        FAIL() << "no error";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(std::string(e.what()).rfind("SysError #2: \"", 0), 0u) << e.what();
    }
    EXPECT_THROW(LoadCombsFile(dir.path(), list), std::runtime_error); // a folder
}

TEST(CombFiles, ClipboardTextOfSelectedEntriesInListOrder) {
    TCombList list;
    list.Append(Comb({1, 2, 3, 4, 5, 6}));
    list.Append(Comb({7, 8, 9, 10, 11, 12}));
    list.Append(Comb({40, 41, 42, 43, 44, 45}));
    list.Append(Comb({0, 100, 255, 5, 50, 9}));
    TCombSelection selection;
    selection.Add(2);
    selection.Add(0);
    selection.Add(3);
    selection.Add(17); // beyond the count
    const std::string text = CombsToClipboardText(list.Data(), 3, selection);
    EXPECT_EQ(text, "01 02 03 04 05 06\r\n40 41 42 43 44 45\r\n");
    EXPECT_EQ(CombsToClipboardText(list.Data(), 4, TCombSelection::FromPositions({3})),
              CombToClipboardText(list[3]) + "\r\n");
    EXPECT_EQ(CombsToClipboardText(list.Data(), 4, TCombSelection{}), "");

    TCombList pasted;
    ClipboardTextToCombs(text, pasted);
    ASSERT_EQ(pasted.Count(), 2u);
    EXPECT_EQ(pasted[0], list[0]);
    EXPECT_EQ(pasted[1], list[2]);
}

TEST(CombFiles, TextLinesEndAtCrLfOrCrLf) {
    const std::pair<const char*, std::size_t> cases[] = {
        {"", 0},     {"a", 1},      {"a\r\n", 1},  {"a\r\n\r\n", 2}, {"\r\n", 1},
        {"a\rb", 2}, {"a\nb\n", 2}, {"a\n\rb", 3}, {"a\r\r\nb", 3}};
    for (const auto& [text, lines] : cases)
        EXPECT_EQ(CountTextLines(text), lines) << text;
}

TEST(CombFiles, PasteTextFailsAtTheFirstBadLineWithItsMessage) {
    const std::pair<const char*, const char*> cases[] = {
        {"1 2 3 4 5 6\r\n\r\n7 8 9 10 11 12\r\n", "Некорректная комбинация: \"\"!"},
        {"1 2 3 4 5 6\n1 2 3 4 5\n1 2\n", "Некорректная комбинация: \"1 2 3 4 5\"!"},
        {"1|2:3.4-5\t6 7", "Некорректная комбинация: \"1|2:3.4-5\t6 7\"!"}};
    for (const auto& [text, message] : cases) {
        TCombList list;
        try {
            ClipboardTextToCombs(text, list);
            ADD_FAILURE() << "accepted " << text;
        } catch (const std::runtime_error& e) {
            EXPECT_EQ(std::string(e.what()), message);
        }
    }
    TCombList list;
    EXPECT_EQ(ClipboardTextToCombs("1|2:3.4-5\t6\r45,44,43;42 41  40", list), 0u);
    ASSERT_EQ(list.Count(), 2u);
    EXPECT_EQ(list[1], Comb({45, 44, 43, 42, 41, 40}));
    // Six words with an impossible number: the line is refused and counted, not pasted.
    EXPECT_EQ(ClipboardTextToCombs("1 2 3 4 5 46\r\n1 2 3 4 5 6\r\n7 7 8 9 10 11\r\n", list), 2u);
    ASSERT_EQ(list.Count(), 1u);
    EXPECT_EQ(list[0], Comb({1, 2, 3, 4, 5, 6}));
}

TEST(CombFiles, BufferFileHoldsRawRecords) {
    test::TTempDir dir;
    TCombList list;
    for (int i = 0; i < 256; ++i)
        list.Append(Comb({1 + i % 3, 4, 5, 6, 7 + i % 30, 40 + i % 6}));
    std::vector<std::size_t> told;
    WriteCombsBuffer(dir.file("b.~buff"), list.Data(), list.Count(),
                     [&](std::size_t done, std::size_t total) {
                         EXPECT_EQ(total, list.Count());
                         told.push_back(done);
                     });
    EXPECT_EQ(told.front(), 1u);
    EXPECT_EQ(told.size(), 128u); // after entries 0, 2, 4, ... 254 (step 2)
    const std::string bytes = ReadBytes(dir.file("b.~buff"));
    ASSERT_EQ(bytes.size(), 6 * list.Count());
    EXPECT_EQ(static_cast<std::uint8_t>(bytes[6 * 200 + 4]), list[200][4]);

    WriteBytes(dir.file("b.~buff"), bytes + "xyz"); // a partial record at the end
    TCombList back;
    ReadCombsBuffer(dir.file("b.~buff"), back);
    ASSERT_EQ(back.Count(), list.Count());
    EXPECT_TRUE(std::equal(list.begin(), list.end(), back.begin()));
    EXPECT_THROW(ReadCombsBuffer(dir.file("none"), back), std::runtime_error);
    WriteBytes(dir.file("b.~buff"), ReadBytes(dir.file("b.~buff")).replace(6 * 7, 1, "\x2e"));
    EXPECT_THROW(ReadCombsBuffer(dir.file("b.~buff"), back), std::runtime_error); // 46: damaged
}

TEST(ProgressSteps, ReportsAfterEveryMultipleOfTheStepAndCoversEveryEntry) {
    for (const std::size_t total : {0u, 1u, 2u, 99u, 100u, 101u, 250u, 1000u, 12345u}) {
        const std::size_t step = PercentStep(total);
        std::vector<std::size_t> expected;
        for (std::size_t i = 0; i < total; ++i)
            if (i % step == 0) expected.push_back(i);
        std::vector<std::size_t> reported;
        std::size_t covered = 0;
        RunInSteps(
            total, step,
            [&](std::size_t b, std::size_t e) {
                EXPECT_EQ(b, covered);
                covered = e;
            },
            [&](std::size_t i) {
                EXPECT_EQ(i + 1, covered); // right after entry i
                reported.push_back(i);
            });
        EXPECT_EQ(covered, total);
        EXPECT_EQ(reported, expected) << total;
    }
}

TEST(CombSelection, RangesStaySortedAndMerged) {
    TCombSelection s;
    s.AddRange(10, 20);
    s.AddRange(30, 40);
    s.AddRange(5, 8);
    s.AddRange(19, 31); // bridges two ranges
    s.Add(8);           // adjacent to 5..7
    using R = TCombSelection::TRange;
    EXPECT_EQ(s.Ranges(), (std::vector<R>{{5, 9}, {10, 40}}));
    EXPECT_TRUE(s.Contains(5));
    EXPECT_FALSE(s.Contains(9));
    EXPECT_TRUE(s.Contains(39));
    EXPECT_FALSE(s.Contains(40));
    EXPECT_EQ(s.CountBelow(1000), 34u);
    EXPECT_EQ(s.CountBelow(12), 6u);
    EXPECT_EQ(s.FirstBelow(100), 5u);
    EXPECT_FALSE(s.FirstBelow(5).has_value());
    EXPECT_EQ(TCombSelection::FromPositions({7, 3, 4, 3, 9}).Ranges(),
              (std::vector<R>{{3, 5}, {7, 8}, {9, 10}}));
}

} // namespace
} // namespace pelko
