#include "app/stakes_workspace.h"
#include "app/workspace.h"
#include "core/atomic_file.h"
#include "core/comb_list.h"
#include "stakes/stake_record.h"
#include "support/temp_dir.h"
#include "support/test_host.h"

#include <gtest/gtest.h>

#include <vector>

namespace pelko {
namespace {

TDrawData Draw(int number, std::vector<int> nums) {
    TDrawData d;
    d.Number = number;
    for (int i = 0; i < LOTTO_COUNT; ++i)
        d.Nums[i] = static_cast<std::uint8_t>(nums[i]);
    return d;
}

class StakesDesk : public ::testing::Test {
  protected:
    test::TTempDir dir;
    test::TTestHost host;
    Workspace ws{host, dir.path()};
    TStakesDesk desk{ws};

    void SetUp() override {
        ws.Open(false);
        for (int n = 1; n <= 8; ++n)
            ws.AddDraw(Draw(n, {n, n + 1, n + 2, n + 10, n + 20, n + 30}));
        ASSERT_TRUE(desk.Start());
    }
    std::vector<TStakeData> Stakes() {
        std::vector<TStakeData> out;
        for (std::int64_t i = 0; i < desk.StakesCount(); ++i)
            out.push_back(desk.StakeAt(i));
        return out;
    }
};

TEST_F(StakesDesk, ASecondDeskOnTheSameFolderGetsTheExclusiveAccessMessage) {
    test::TTestHost other;
    Workspace second{other, dir.path()};
    TStakesDesk secondDesk{second};
    EXPECT_FALSE(secondDesk.Start());
    ASSERT_EQ(other.Errors().size(), 2u);
    EXPECT_EQ(other.Errors()[0].rfind("Ошибка чтения файла ставок!\n\nФайл \"Pelko_6x45.lsk\" "
                                      "открыт другой копией программы (PID ",
                                      0),
              0u)
        << other.Errors()[0];
    EXPECT_EQ(other.Errors()[1], ExclusiveAccessMessage());
    desk.Shutdown();
    EXPECT_TRUE(secondDesk.Start());
}

TEST_F(StakesDesk, AddingAStakeForAKnownDrawSettlesItAndSavesTheRating) {
    TStakeData stake = desk.NewStake(100);
    EXPECT_EQ(stake.DrawNumber, 9);
    stake.DrawNumber = 3;
    stake.Numbers = CombToNumberSet(TComb{{3, 4, 5, 6, 7, 8}});
    desk.PriceStake(stake);
    ASSERT_TRUE(desk.AddStake(stake, 1));
    const TStakeData back = desk.StakeAt(0);
    EXPECT_TRUE(back.IsChecked());
    EXPECT_EQ(back.MatchCount(), 3);
    ASSERT_EQ(desk.Ratings().Rows().Count(), 1u);
    EXPECT_EQ(desk.Ratings().Rows()[0].Hits[3], 1u);
    EXPECT_EQ(std::filesystem::file_size(dir.file(RATINGS_FILE_NAME)), 304u);
    EXPECT_TRUE(ws.IsIdle());
    EXPECT_TRUE(host.LastStatus().empty() || host.statuses.back().empty());
}

TEST_F(StakesDesk, StakeAddAllOverTwoDrawsAppendsSeriesAndChecksOnce) {
    TCombList list;
    for (int i = 0; i < 1000; ++i)
        list.Append(TComb{{1, 2, 3, 4, 5, static_cast<std::uint8_t>(6 + i % 39)}});
    ASSERT_TRUE(desk.AddStakesForCombs(list, nullptr, 8, "Все", 2));
    const std::vector<TStakeData> stakes = Stakes();
    ASSERT_EQ(stakes.size(), 3 + 999 * 4u);
    int checked = 0, separators = 0;
    for (const TStakeData& s : stakes) {
        separators += s.IsSeparator();
        checked += s.IsChecked();
        if (!s.IsSeparator()) {
            EXPECT_EQ(s.SampleSize, 1000);
        }
    }
    EXPECT_EQ(separators, 1999);
    EXPECT_EQ(checked, 1000); // draw 8 is known, draw 9 not yet
    EXPECT_EQ(desk.Ratings().Rows()[0].Stakes, 1000u);

    TCombSelection selection;
    selection.AddRange(10, 12);
    ASSERT_TRUE(desk.AddStakesForCombs(list, &selection, 9, "Выделенные", 1));
    EXPECT_EQ(desk.StakesCount(), static_cast<std::int64_t>(stakes.size()) + 2);
}

TEST_F(StakesDesk, RegularBackTestMakesOneStakePerRuleAndDrawOldestFirst) {
    TTableDialogInput in;
    in.Comment = "Константа";
    in.StartEditable = true; // one combination selected: its numbers may be edited
    in.StartText = "1;2;3;4;5;6";
    ASSERT_TRUE(desk.Regulars().Add(in, {{1, TComb{{9, 10, 11, 12, 13, 14}}}}));
    in.Comment = "Прошлый тираж";
    in.Mode = tmLastDraw;
    in.StartEditable = false;
    ASSERT_TRUE(desk.Regulars().Add(in, {}));
    ASSERT_EQ(desk.Regulars().Tables().size(), 2u);

    ASSERT_TRUE(desk.Regulars().Test({0, 1}, 5, 0));
    const std::vector<TStakeData> stakes = Stakes();
    ASSERT_EQ(stakes.size(), 10u);
    for (int k = 0; k < 5; ++k) {
        EXPECT_EQ(stakes[2 * k].DrawNumber, 4 + k);
        EXPECT_EQ(stakes[2 * k].CommentText(), "Константа");
        EXPECT_EQ(stakes[2 * k + 1].CommentText(), "Прошлый тираж");
        EXPECT_TRUE(stakes[2 * k].IsChecked());
        EXPECT_EQ(stakes[2 * k].Kind, skRegular);
    }
    EXPECT_EQ(stakes[0].Numbers, CombToNumberSet(TComb{{2, 3, 4, 5, 6, 7}}));
    // Draw 3 = 3 4 5 13 23 33 shifted by one is the stake for draw 4.
    EXPECT_EQ(stakes[1].Numbers, CombToNumberSet(TComb{{4, 5, 6, 14, 24, 34}}));
    EXPECT_EQ(desk.Regulars().Tables()[0].Stakes, 5);
    EXPECT_EQ(desk.Regulars().Tables()[1].Stakes, 5);
    EXPECT_EQ(ReadTablesFile(dir.file(TABLES_FILE_NAME))[0].Stakes, 5);
    EXPECT_EQ(desk.Ratings().Rows().Count(), 2u);
    EXPECT_FALSE(desk.Regulars().Test({0}, 8, 0)); // at most draws - 1
}

TEST_F(StakesDesk, SystemPlayStakesTheSystemOrNothingWhenNoneOfItIsListed) {
    std::filesystem::create_directories(desk.Systems().SystemsFolder());
    WriteFileAtomically(desk.Systems().SystemsFolder() / "6-07-0_0003.dat",
                        "01 02 03 04 05 07\r\n02 03 04 05 06 07\r\n");
    TCombList list;
    list.Append(TComb{{3, 7, 12, 20, 25, 33}});
    list.Append(TComb{{3, 7, 12, 20, 25, 41}});
    auto play = desk.Systems().FindSystemForList(list, false);
    ASSERT_TRUE(play);
    EXPECT_EQ(play->DefaultComment, "Системная игра для 7 чисел [комбинации]: 6-07-0_0003");
    ASSERT_TRUE(desk.Systems().PlaySystem(*play, list, 9, play->DefaultComment, 1));
    ASSERT_EQ(desk.StakesCount(), 1); // only 3 7 12 20 25 41 is in the list
    EXPECT_EQ(desk.StakeAt(0).Kind, skSystem);

    TCombList other;
    other.Append(TComb{{1, 2, 3, 4, 5, 6}});
    other.Append(TComb{{1, 2, 3, 4, 6, 7}}); // the system makes 1 2 3 4 5 7 and 2 3 4 5 6 7
    play = desk.Systems().FindSystemForList(other, false);
    ASSERT_TRUE(play);
    ASSERT_TRUE(desk.Systems().PlaySystem(*play, other, 9, "x", 1));
    EXPECT_EQ(desk.StakesCount(), 1); // nothing appended, not even a separator

    play = desk.Systems().FindSystemForList(other, true);
    ASSERT_TRUE(desk.Systems().PlaySystem(*play, other, 9, "x", 1));
    EXPECT_EQ(desk.StakesCount(), 4); // separator and both system combinations
    EXPECT_EQ(desk.StakeAt(3).SampleSize, 2);

    TCombList eight;
    eight.Append(TComb{{1, 2, 3, 4, 5, 6}});
    eight.Append(TComb{{1, 2, 3, 4, 7, 8}});
    EXPECT_FALSE(desk.Systems().FindSystemForList(eight, true));
    EXPECT_NE(host.Errors().back().find("Система для 8 чисел не найдена"), std::string::npos);
}

TEST_F(StakesDesk, ClearingOffersTheRebuildAndNoKeepsTheRating) {
    TStakeData stake = desk.NewStake(1);
    stake.DrawNumber = 2;
    stake.Numbers = CombToNumberSet(TComb{{1, 2, 3, 4, 5, 6}});
    desk.AddStake(stake, 1);
    host.answers = {true, false}; // delete: yes; rebuild: no
    ASSERT_TRUE(desk.ClearStakes());
    EXPECT_EQ(desk.StakesCount(), 0);
    EXPECT_EQ(desk.Ratings().Rows().Count(), 1u);
    EXPECT_EQ(host.questions.front(), "Удалить выделенную запись?");

    desk.AddStake(stake, 1);
    host.answers = {true, true};
    ASSERT_TRUE(desk.ClearStakes());
    EXPECT_EQ(desk.Ratings().Rows().Count(), 0u);
    EXPECT_EQ(std::filesystem::file_size(dir.file(RATINGS_FILE_NAME)), 0u);
}

TEST_F(StakesDesk, AnOutdatedFileIsEmptiedAtStartUp) {
    desk.Shutdown();
    WriteFileAtomically(dir.file(STAKES_FILE_NAME), std::string(328, '\1'));
    TStakesDesk again{ws};
    host.answers = {false}; // the person keeps the file: it stays, and nothing is written
    ASSERT_TRUE(again.Start());
    EXPECT_EQ(again.StakesCount(), 1);
    EXPECT_FALSE(again.AddStake(again.NewStake(0), 1));
    EXPECT_EQ(ReadWholeFile(dir.file(STAKES_FILE_NAME)), std::string(328, '\1'));
    again.Shutdown();
    TStakesDesk third{ws};
    ASSERT_TRUE(third.Start()); // Yes this time
    EXPECT_EQ(third.StakesCount(), 0);
    EXPECT_EQ(host.questions.back().rfind(
                  "Обнаружен файл ставок устаревшей версии - имеющиеся в файле ставки будут удалены!",
                  0),
              0u);
    EXPECT_EQ(ReadWholeFile(dir.file("Pelko_6x45.lsk.bak")), std::string(328, '\1'));
}

} // namespace
} // namespace pelko
