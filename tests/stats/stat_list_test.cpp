#include "core/ini_file.h"
#include "stats/stat_list.h"
#include "support/temp_dir.h"
#include "test_stats.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>

namespace pelko {
namespace {

class Registry : public ::testing::Test {
protected:
    TDrawsArray draws;
    TStatList list{draws, TConfigData{}, test::TestClasses()};

    std::map<std::string, int> MethodsPerClass() {
        std::map<std::string, int> counts;
        for (const TStatMethod& m : list.Methods())
            ++counts[m.StatClass->Name];
        return counts;
    }
    std::vector<std::string> Codes() {
        std::vector<std::string> codes;
        for (const TStatMethod& m : list.Methods())
            codes.push_back(list.MethodCode(m));
        return codes;
    }
};

TEST_F(Registry, BuildFollowsTableOrderAndTypedRanges) {
    list.Config.ChannelSize = 10; // channels 1..5
    list.Config.MatrixCols = 7;   // columns 1..7, rows 1..7
    list.Config.Segments.fill(2);
    list.Config.Segments[44] = 4; // segments 2..4
    list.Build();
    auto counts = MethodsPerClass();
    EXPECT_EQ(counts["TstTestValues"], 1);
    EXPECT_EQ(counts["TstTestPos"], 6);
    EXPECT_EQ(counts.count("TstTestNone"), 0u) << "Max < Min gives no method";
    EXPECT_EQ(counts.count("TstTestOff"), 0u) << "unavailable classes are never registered";
    EXPECT_EQ(counts["TstTestChn"], 5);
    EXPECT_EQ(counts["TstTestCol"], 7);
    EXPECT_EQ(counts["TstTestRow"], 7);
    EXPECT_EQ(counts["TstTestSgm"], 3);
    const auto codes = Codes();
    ASSERT_GE(codes.size(), 4u);
    EXPECT_EQ(codes[0], "TVAL");
    EXPECT_EQ(codes[1], "TSUM");
    EXPECT_EQ(codes[4], "TPOS1");
    EXPECT_EQ(list.Items(list.IndexOfCode("tsgm2")).StatType, 2);

    // parameters change: the next Build follows them
    list.Config.ChannelSize = 4; // 45 / 4 rounded up
    list.Config.MatrixCols = 9;
    list.Config.ChannelSize = 0;
    list.Build();
    counts = MethodsPerClass();
    EXPECT_EQ(counts.count("TstTestChn"), 0u);
    EXPECT_EQ(counts["TstTestCol"], 9);
    EXPECT_EQ(counts["TstTestRow"], 5);
    list.Config.ChannelSize = 4;
    list.Build();
    EXPECT_EQ(MethodsPerClass()["TstTestChn"], 12);
}

TEST_F(Registry, CodesCaptionsAndDisplayNames) {
    list.Build();
    const int val = list.IndexOfCode("TVAL");
    const int pos3 = list.IndexOfCode("TPOS3");
    const int ref = list.IndexOfCode("TREF");
    EXPECT_EQ(list.Items(val).StatClass->CodeOf(7), "TVAL") << "untyped codes ignore the type";
    EXPECT_EQ(list.MethodCaption(list.Items(pos3)), "Позиция 3");
    EXPECT_EQ(list.MethodCaption(list.Items(ref)), "Переходы между 2 тиражами в 0 позиции");
    EXPECT_EQ(list.DisplayName(val, true), "{ num } Тестовые числа [ N ]");
    EXPECT_EQ(list.DisplayName(list.IndexOfCode("TSUM"), true), "{ sum } Тестовая сумма [ NG ]");
    EXPECT_EQ(list.DisplayName(list.IndexOfCode("TMSK"), false), "{ num } Тестовая маска");
    list.ShowGroupName = false;
    EXPECT_EQ(list.DisplayName(list.IndexOfCode("TCOL1"), true), "Столбец 1") << "no flags: no empty brackets";
    list.ShowMethodFlags = false;
    EXPECT_EQ(list.DisplayName(val, true), "Тестовые числа");
    list.Items(val).UserCaption = "Мои числа";
    EXPECT_EQ(list.MethodTitle(list.Items(val)), "Мои числа");
}

TEST_F(Registry, CreateStatAndCreateStatFromCombo) {
    list.Build();
    auto stat = list.CreateStat(list.IndexOfCode("TPOS4"));
    EXPECT_EQ(stat->StatType, 4);
    EXPECT_EQ(stat->Code(), "TPOS4");
    EXPECT_EQ(stat->Caption(), "Позиция 4");
    EXPECT_NE(list.CreateStatFromCombo(&list.Items(0), "cbDrawsStatType"), nullptr);
    try {
        list.CreateStatFromCombo(nullptr, "cbDrawsStatType");
        FAIL();
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "Не выбран метод расчета статистики (cb: cbDrawsStatType)!");
    }
}

TEST_F(Registry, FavoritesTexts) {
    list.Build();
    EXPECT_EQ(list.GetFavoritesText(), "");
    list.SetFavoritesText("tpos1,TPOS3");
    EXPECT_FALSE(list.AllFavorites);
    EXPECT_EQ(list.GetFavoritesText(), "TPOS1,TPOS3");
    list.SetFavoritesText("TPOS1, TPOS3");
    EXPECT_EQ(list.GetFavoritesText(), "TPOS1") << "a blank after a comma belongs to the next word";
    list.SetFavoritesText(",,,");
    EXPECT_EQ(list.GetFavoritesText(), "TPOS1") << "only commas leave the favourites unchanged";
    list.SetFavoritesText("   ");
    EXPECT_TRUE(list.AllFavorites);
    EXPECT_EQ(list.GetFavoritesText(), "");
    for (int i = 0; i < list.Count(); ++i)
        EXPECT_TRUE(list.Items(i).Favorite);

    list.SetFavoritesText("TVAL");
    EXPECT_TRUE(list.IsFavorite(0));
    EXPECT_FALSE(list.IsFavorite(1));
    list.NormalizeFavorites();
    EXPECT_FALSE(list.AllFavorites);
    for (int i = 0; i < list.Count(); ++i)
        list.Items(i).Favorite = false;
    list.NormalizeFavorites();
    EXPECT_TRUE(list.AllFavorites);
    EXPECT_TRUE(list.Items(3).Favorite) << "all off becomes all on";
    list.SetFavoritesText("TVAL");
    list.SelectAll();
    EXPECT_EQ(list.GetFavoritesText(), "");
}

TEST_F(Registry, ListedMethodsHonourFavoritesGraphsAndOrder) {
    list.Build();
    list.SetFavoritesText("TVAL,TSUM,TMSK");
    EXPECT_EQ(list.ListedMethods(false), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(list.ListedMethods(true), (std::vector<int>{1}));
    list.Ordered = true;
    list.ShowGroupName = false;
    // Тестовая маска < Тестовая сумма < Тестовые числа
    EXPECT_EQ(list.ListedMethods(false), (std::vector<int>{2, 1, 0}));
}

TEST_F(Registry, CDLBackupRestoreApply) {
    list.BackupCDL();
    TCDLData own;
    own.Count = 2;
    own.UsePercents = true;
    list.ApplyCDL(true, own);
    EXPECT_EQ(list.Config.CDL, own);
    list.ApplyCDL(false, own);
    EXPECT_EQ(list.Config.CDL, TCDLData{});
    list.Config.CDL.Level = 5;
    list.RestoreCDL();
    EXPECT_EQ(list.Config.CDL, TCDLData{});
}

TEST_F(Registry, NamesFileRoundTripAndGarbage) {
    test::TTempDir dir;
    const auto file = dir.file("Pelko_6x45.flt");
    list.Build();
    list.SetFavoritesText("TPOS2,TSUM");
    list.Ordered = true;
    list.ShowMethodFlags = false;
    list.Items(list.IndexOfCode("TSUM")).UserCaption = "Сумма для меня";
    std::string error;
    ASSERT_TRUE(list.SaveNames(file, true, false, &error)) << error;

    TStatList other(draws, TConfigData{}, test::TestClasses());
    other.Build();
    ASSERT_TRUE(other.LoadNames(file, true, &error)) << error;
    EXPECT_EQ(other.GetFavoritesText(), "TSUM,TPOS2");
    EXPECT_TRUE(other.Ordered);
    EXPECT_FALSE(other.ShowMethodFlags);
    EXPECT_TRUE(other.ShowGroupName);
    EXPECT_EQ(other.MethodCaption(other.Items(other.IndexOfCode("TSUM"))), "Сумма для меня");
    EXPECT_EQ(other.Items(0).UserCaption, "");

    // WriteAll exports every caption
    const auto all = dir.file("all.flt");
    ASSERT_TRUE(list.SaveNames(all, false, true));
    TIniFile ini(all);
    EXPECT_EQ(ini.ReadString("STRINGS_RUS", "TPOS3"), "Позиция 3");
    EXPECT_FALSE(ini.HasSection("FILTERS"));

    // garbage: unknown codes, binary junk, a very long caption, a bad boolean
    {
        std::ofstream out(file, std::ios::binary);
        out << "\x01\x02garbage without section\r\n[FILTERS]\r\nFavorites=NOPE,,TVAL\r\nOrdered=maybe\r\n"
            << "[STRINGS_RUS]\r\n=empty key\r\nZZZZ=unknown\r\nTVAL=   " << std::string(5000, 'x') << "   \r\n"
            << "[[broken\r\n\xff\xfe\x00junk";
    }
    TStatList third(draws, TConfigData{}, test::TestClasses());
    third.Build();
    third.Ordered = true;
    EXPECT_TRUE(third.LoadNames(file, true, &error)) << error;
    EXPECT_EQ(third.GetFavoritesText(), "TVAL");
    EXPECT_TRUE(third.Ordered) << "a bad boolean keeps the current value";
    EXPECT_EQ(third.Items(0).UserCaption.size(), 5000u);
}

TEST_F(Registry, NamesFileErrorsAreReportedNotThrown) {
    test::TTempDir dir;
    list.Build();
    std::string error;
    EXPECT_FALSE(list.SaveNames(dir.file("missing/dir/x.flt"), true, false, &error));
    EXPECT_EQ(error.rfind("Ошибка сохранения списка фильтров!\r\r", 0), 0u) << error;
    EXPECT_FALSE(list.LoadNames(dir.path(), true, &error)); // a folder is not a file
    EXPECT_EQ(error.rfind("Ошибка загрузки списка фильтров!\r\r", 0), 0u) << error;
}

} // namespace
} // namespace pelko
