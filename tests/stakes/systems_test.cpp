#include "core/atomic_file.h"
#include "core/record_helpers.h"
#include "stakes/systems.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace pelko {
namespace {

TByteArray Bytes(std::initializer_list<int> v) {
    TByteArray out;
    for (const int n : v)
        out.push_back(static_cast<std::uint8_t>(n));
    return out;
}

std::vector<int> Six(const TComb& c) {
    return {c.begin(), c.end()};
}

TEST(Systems, FileNamesCarryLengthNumbersBlockAndId) {
    tSystemInfo info;
    info.nums = 12;
    info.olap = 3;
    info.id = 42;
    EXPECT_EQ(SystemFileName(info), "6-12-3_0042.dat");
    const auto back = ParseSystemFileName("6-12-3_0042.dat");
    ASSERT_TRUE(back);
    EXPECT_EQ(back->nums, 12);
    EXPECT_EQ(back->olap, 3);
    EXPECT_EQ(back->id, 42);
    EXPECT_FALSE(ParseSystemFileName("5-12-3_0042.dat"));
    EXPECT_FALSE(ParseSystemFileName("6-12-3_0042.txt"));
    EXPECT_FALSE(ParseSystemFileName("6-12_0042.dat"));
}

class SystemPlay : public ::testing::Test {
  protected:
    test::TTempDir dir;
    std::filesystem::path folder = dir.file("Systems");
    void SetUp() override { std::filesystem::create_directories(folder); }
    void Put(const std::string& name, const std::string& text) {
        WriteFileAtomically(folder / name, text);
    }
};

TEST_F(SystemPlay, PositionsMapOntoTheNumbersInFirstAppearanceOrder) {
    Put("6-07-2_0005.dat", "01 02 03 04 05 07\r\n7*6+5,4-3.2\r\n");
    const TSystemLookup r = FindSystem(folder, Bytes({3, 7, 12, 20, 25, 33, 41}));
    ASSERT_TRUE(r.Ok()) << r.Message;
    ASSERT_EQ(r.Combs.size(), 2u);
    EXPECT_EQ(Six(r.Combs[0]), (std::vector<int>{3, 7, 12, 20, 25, 41}));
    EXPECT_EQ(Six(r.Combs[1]), (std::vector<int>{41, 33, 25, 20, 12, 7}));
    EXPECT_EQ(r.File.filename(), "6-07-2_0005.dat");
    EXPECT_EQ(SystemStakeComment(true, 7, r.File),
              "Системная игра для 7 чисел [вся система]: 6-07-2_0005");
    EXPECT_EQ(SystemStakeComment(false, 7, r.File),
              "Системная игра для 7 чисел [комбинации]: 6-07-2_0005");
}

TEST_F(SystemPlay, TheListsFirstAppearanceOrderDecides) {
    const TComb list[] = {TComb{{1, 2, 3, 4, 5, 9}}, TComb{{1, 2, 3, 4, 5, 7}}};
    const TByteArray numbers = UniqueNumbers(list, 2);
    Put("6-07-0_0001.dat", "1 2 3 4 6 7\r\n");
    const TSystemLookup r = FindSystem(folder, numbers);
    ASSERT_TRUE(r.Ok());
    EXPECT_EQ(Six(r.Combs[0]), (std::vector<int>{1, 2, 3, 4, 9, 7}));
}

TEST_F(SystemPlay, MissingSystemsAndBadFilesGiveTheirMessages) {
    const TSystemLookup none = FindSystem(folder, Bytes({1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_FALSE(none.Ok());
    EXPECT_EQ(none.Message, "Система для 8 чисел не найдена или не загружена на компьютер!");
    EXPECT_NE(none.BoxText.find("\"Системы\" - \"Загрузить\""), std::string::npos);

    for (const std::string text :
         {"1 2 3 4 5 9\r\n", "1 2 3 4 5\r\n", "1 2 x 4 5 6\r\n", "0 1 2 3 4 5\r\n"}) {
        test::TTempDir other;
        WriteFileAtomically(other.path() / "6-08-0_0001.dat", text);
        const TSystemLookup bad = FindSystem(other.path(), Bytes({1, 2, 3, 4, 5, 6, 7, 8}));
        EXPECT_FALSE(bad.Ok()) << text;
        EXPECT_EQ(bad.BoxText.rfind("Ошибка загрузки комбинаций системы!\n\n", 0), 0u) << text;
    }
}

TEST_F(SystemPlay, ListingReadsNamesAndCountsLines) {
    Put("6-07-2_0005.dat", "01 02 03 04 05 07\r\n01 02 03 04 06 07\r\n");
    Put("notes.txt", "x");
    const auto systems = ListLocalSystems(folder);
    ASSERT_EQ(systems.size(), 1u);
    EXPECT_EQ(systems[0].Info.nums, 7);
    EXPECT_EQ(systems[0].Info.csize, 2);
}

TEST(SystemDialog, NormalisingAndChecking) {
    const TNormalizedSystem n = NormalizeSystemCombs("1,2,3,4,5,6\r\n1 2 3\n 7 8 9 10 11 12 \n");
    EXPECT_EQ(n.Text, "01 02 03 04 05 06\r\n07 08 09 10 11 12");
    EXPECT_EQ(n.Lines, 2);
    EXPECT_EQ(n.Nums, 12);
    EXPECT_EQ(NormalizeSystemCombs("").Nums, 0);

    tSystemData s;
    EXPECT_EQ(ValidateSystem(s), "Название системы должно быть указано обязательно!");
    s.title = "t";
    EXPECT_EQ(ValidateSystem(s), "Указано недопустмое количество используемых чисел!");
    s.nums = 12;
    s.olap = 6;
    EXPECT_EQ(ValidateSystem(s), "Указан недопустмый размер блока!");
    s.olap = 3;
    s.author = "a";
    s.descr = "d";
    EXPECT_EQ(ValidateSystem(s), "Содержимое системы должно быть указано обязательно!");
    s.clist = n.Text;
    EXPECT_FALSE(ValidateSystem(s));
}

} // namespace
} // namespace pelko
