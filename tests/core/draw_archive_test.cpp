#include "core/atomic_file.h"
#include "core/codec.h"
#include "core/draw_archive.h"
#include "core/record_helpers.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <random>

namespace pelko {
namespace {

TDrawData Draw(int number, std::initializer_list<int> nums, std::string_view date = {}) {
    TDrawData d;
    d.Number = number;
    int i = 0;
    for (const int n : nums)
        d.Nums[i++] = static_cast<std::uint8_t>(n);
    d.SetDateText(date);
    return d;
}

TDrawsArray Numbered(std::initializer_list<int> numbers) {
    TDrawsArray a;
    for (const int n : numbers)
        a.push_back(Draw(n, {1, 2, 3, 4, 5, 6}));
    return a;
}

TEST(DrawRecord, LayoutIsByteExactWithACp1251Date) {
    // "Пн" in CP1251 is CF ED.
    const TDrawData d = Draw(0x01020304, {25, 3, 41, 7, 33, 12}, "Пн 05.03.2024");
    const std::string bytes = EncodeDrawRecord(d);
    ASSERT_EQ(bytes.size(), 28u);
    const unsigned char expected[28] = {0x04, 0x03, 0x02, 0x01, 25,  3,   41,  7,   33, 12,
                                        13,   0xCF, 0xED, ' ',  '0', '5', '.', '0', '3', '.',
                                        '2',  '0',  '2',  '4',  0,   0,   0,   0};
    EXPECT_EQ(0, std::memcmp(bytes.data(), expected, 28));

    const TDrawData back = DecodeDrawRecord(bytes.data());
    EXPECT_EQ(back.Number, d.Number);
    EXPECT_EQ(0, std::memcmp(back.Nums, d.Nums, 6));
    EXPECT_EQ(back.DateText(), "Пн 05.03.2024");
}

TEST(DrawRecord, DateIsCutToSixteenBytes) {
    const TDrawData d = Draw(1, {1, 2, 3, 4, 5, 6}, "05.03.2024 21:00:59 extra");
    EXPECT_EQ(d.DateLen, 16);
    EXPECT_EQ(d.DateText(), "05.03.2024 21:00");
}

TEST(DrawRecord, DamagedLengthByteNeverReadsPastTheField) {
    std::string bytes = EncodeDrawRecord(Draw(7, {1, 2, 3, 4, 5, 6}, "01.01.2020 00:00"));
    bytes[10] = static_cast<char>(200);
    EXPECT_EQ(DecodeDrawRecord(bytes.data()).DateLen, 16);
}

class DrawsFile : public ::testing::Test {
protected:
    test::TTempDir dir;
    std::filesystem::path file = dir.file(DRAWS_FILE_NAME);
};

TEST_F(DrawsFile, RoundTripAndMissingFile) {
    TDrawsArray draws;
    ReadDrawsFile(file, draws);
    EXPECT_TRUE(draws.empty());

    const TDrawsArray saved = {Draw(1, {1, 2, 3, 4, 5, 6}, "10.11.2008 00:00"),
                               Draw(2, {45, 44, 43, 42, 41, 40})};
    WriteDrawsFile(file, saved);
    EXPECT_EQ(std::filesystem::file_size(file), 56u);
    ReadDrawsFile(file, draws);
    ASSERT_EQ(draws.size(), 2u);
    EXPECT_EQ(draws[0].DateText(), "10.11.2008 00:00");
    EXPECT_EQ(draws[1].Nums[0], 45); // drawn order kept
}

TEST_F(DrawsFile, TrailingPartialRecordIsNotADraw) {
    WriteDrawsFile(file, Numbered({1, 2, 3}));
    { std::ofstream(file, std::ios::app | std::ios::binary) << "garbage"; }
    TDrawsArray draws;
    ReadDrawsFile(file, draws);
    EXPECT_EQ(draws.size(), 3u);
}

TEST_F(DrawsFile, RandomBytesLoadWithoutCrashing) {
    std::mt19937 rng(42);
    std::string junk(28 * 50 + 13, '\0');
    for (auto& c : junk)
        c = static_cast<char>(rng());
    WriteFileAtomically(file, junk);
    TDrawsArray draws;
    const TDrawsLoad load = ReadDrawsFile(file, draws);
    EXPECT_EQ(draws.size() + load.Refused, 50u);
    EXPECT_GT(load.Refused, 0u);
    EXPECT_EQ(load.Partial, 13u);
    for (const auto& d : draws) {
        EXPECT_LE(d.DateLen, 16);
        EXPECT_TRUE(ValidDrawNumbers(d));
    }
}

TEST(FindDraw, FindsEveryPresentNumberWhateverTheOrder) {
    const std::vector<TDrawsArray> archives = {
        Numbered({1, 2, 3, 5, 9, 10, 11, 40}),     // gaps
        Numbered({10, 11, 12, 3, 4, 13, 1, 2}),    // appended out of order
        Numbered({5, 5, 6, 7, 7, 7, 8}),           // duplicates
        Numbered({100, 90, 80, 70, 60, 50, 40}),   // descending
        Numbered({7}),
    };
    for (const auto& a : archives)
        for (std::size_t i = 0; i < a.size(); ++i) {
            const int found = FindDraw(a, a[i].Number);
            ASSERT_GE(found, 0);
            EXPECT_EQ(a[found].Number, a[i].Number);
        }
    EXPECT_EQ(FindDraw(archives[0], 4), -1);
    EXPECT_EQ(FindDraw(archives[0], 1000), -1);
    EXPECT_EQ(FindDraw(archives[0], -1000), -1);
    EXPECT_EQ(FindDraw({}, 1), -1);
}

TEST(FindDraw, PrefersTheEndsForDuplicates) {
    const TDrawsArray a = Numbered({5, 6, 5});
    EXPECT_EQ(FindDraw(a, 5), 0);
}

TEST(DeleteDraw, ShiftsLaterEntriesAndRefusesBadIndexes) {
    TDrawsArray a = Numbered({1, 2, 3});
    DeleteDraw(a, 1);
    ASSERT_EQ(a.size(), 2u);
    EXPECT_EQ(a[1].Number, 3);
    try {
        DeleteDraw(a, 5);
        FAIL();
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "Запись со индексом 5 в файле данных не найдена!");
    }
    EXPECT_THROW(DeleteDraw(a, -1), std::runtime_error);
}

TEST(DrawsOffset, AnalysisPointAndHiddenDraw) {
    TDrawsArray a;
    a.push_back(Draw(10, {1, 2, 3, 4, 5, 6}));
    a.push_back(Draw(11, {7, 8, 9, 10, 11, 12}));
    a.push_back(Draw(12, {25, 3, 41, 7, 33, 12}));

    EXPECT_EQ(NextDrawNumber({}, 0), 1);
    EXPECT_EQ(NextDrawNumber(a, 0), 13);
    EXPECT_EQ(NextDrawNumber(a, 2), 11);
    EXPECT_EQ(NextDrawNumber(a, 3), -1);
    EXPECT_EQ(OffsetDrawNumbers(a, 1)[0], 7);
    EXPECT_EQ(OffsetDrawNumbers(a, 9), TComb{});

    EXPECT_EQ(HiddenDrawText(a, 0), "");
    EXPECT_EQ(HiddenDrawText(a, 1), "25;3;41;7;33;12");
    // The offset on the oldest draw shows the second-oldest as hidden.
    EXPECT_EQ(HiddenDrawText(a, 2), "7;8;9;10;11;12");
    EXPECT_EQ(HiddenDrawText(a, 3), "");
    EXPECT_TRUE(HiddenDrawSet(a, 0).Empty());
    EXPECT_TRUE(HiddenDrawSet(a, 1).Has(41));
    EXPECT_FALSE(HiddenDrawSet(a, 1).Has(1));

    EXPECT_EQ(ClampDrawsOffset(a, 7), 2);
    EXPECT_EQ(ClampDrawsOffset(a, -1), 0);
    EXPECT_EQ(ClampDrawsOffset({}, 3), 0);
}

TEST(DrawsOffset, SortedCopyLeavesTheStoredOrder) {
    const TDrawsArray a = {Draw(1, {25, 3, 41, 7, 33, 12})};
    const TDrawData sorted = DrawAt(a, 0, true);
    EXPECT_EQ(sorted.Nums[0], 3);
    EXPECT_EQ(sorted.Nums[5], 41);
    EXPECT_EQ(a[0].Nums[0], 25);
    EXPECT_EQ(DrawAt(a, 0, false).Nums[0], 25);
    EXPECT_EQ(DrawAt(a, 5, false).Number, 0);
}

TEST(DrawDialog, AcceptanceRule) {
    for (const char* bad : {"1;2;3;4;5;5", "0;1;2;3;4;5", "1;2;3;4;5", "1;2;3;4;5;46",
                            "1;2;3;4;5;x", "1;2;3;4;5;6;7", "", "1 2 3 4 5 6"})
        EXPECT_FALSE(AcceptDrawNumbersText(bad)) << bad;
    const auto ok = AcceptDrawNumbersText("45,1,2,3,4,5");
    ASSERT_TRUE(ok);
    EXPECT_EQ((*ok)[0], 45);
    EXPECT_EQ((*ok)[5], 5);
    EXPECT_TRUE(AcceptDrawNumbersText(" 1 ; 2;3;4;5; 6 "));
}

} // namespace
} // namespace pelko
