#include "core/atomic_file.h"
#include "core/config.h"
#include "platform/file_lock.h"
#include "stakes/rating_record.h"
#include "stakes/stake_record.h"
#include "cli/cli_process.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <sstream>
#include <sys/wait.h>
#include <vector>

namespace pelko {
namespace {

using TRun = test::TProcessRun;

TRun RunCli(const std::string& args, const std::filesystem::path& errFile) {
    return test::RunShell(test::CliCommand(args, errFile.string()));
}

std::vector<std::vector<std::string>> TsvRows(const std::string& out) {
    std::vector<std::vector<std::string>> rows;
    std::istringstream in(out);
    std::string line;
    while (std::getline(in, line)) {
        std::vector<std::string> cells;
        std::size_t start = 0;
        for (;;) {
            const std::size_t tab = line.find('\t', start);
            cells.push_back(line.substr(start, tab - start));
            if (tab == std::string::npos) break;
            start = tab + 1;
        }
        rows.push_back(cells);
    }
    return rows;
}

class StakesCli : public ::testing::Test {
  protected:
    test::TTempDir dir;
    std::filesystem::path data = dir.path() / "data";
    std::filesystem::path err = dir.file("stderr.txt");

    void SetUp() override {
        std::filesystem::create_directories(data);
        TConfigData config;
        config.Cost = MoneyFromDouble(100);
        config.Profits = {{3, MoneyFromDouble(500)}, {4, MoneyFromDouble(5000)}};
        SaveConfig(data / "Pelko_6x45.ini", config);
    }
    TRun Run(const std::string& args) {
        return RunCli("--data-dir '" + data.string() + "' " + args, err);
    }
    std::string Err() { return ReadWholeFile(err); }
};

TEST_F(StakesCli, AddDrawsCheckAndListRoundTrip) {
    EXPECT_EQ(Run("draws add '1;2;3;4;5;6' --number 100 --date '01.03.2024 21:00'").code, 0);
    // Two draws ahead: 101 and 102 are not in the archive yet.
    EXPECT_EQ(Run("stakes add '3,1;2,45;10;7' --draws 2 --comment 'Серия'").code, 0);
    EXPECT_EQ(Run("stakes add '1;2;3;4;5;6;7;8' --draw 100 --comment 'серия'").code, 0);
    EXPECT_EQ(Run("stakes add '1;2;3;4;5;46'").code, 1);
    EXPECT_NE(Err().find("Введена некорректная комбинация!"), std::string::npos);

    auto rows = TsvRows(Run("stakes list --tsv").out);
    ASSERT_EQ(rows.size(), 5u); // header, 101, separator, 102, 100
    EXPECT_EQ(rows[0][0], "№ тиража");
    EXPECT_EQ(rows[1][0], "101");
    EXPECT_EQ(rows[1][2], "1;2;3;7;10;45");
    EXPECT_EQ(rows[1][7], "-100.00");
    EXPECT_EQ(rows[2], std::vector<std::string>(9, ""));
    EXPECT_EQ(rows[4][0], "100");
    EXPECT_EQ(rows[4][5], "6");        // settled at once: the draw is in the archive
    EXPECT_EQ(rows[4][7], "-2800.00"); // 28 stakes of 100, no prize for 6 matches

    EXPECT_EQ(Run("draws add '45;3;7;1;20;30' --number 101 --date '05.03.2024 21:00'").code, 0);
    EXPECT_EQ(Run("draws add '3;4;5;6;8;9' --number 102 --date '08.03.2024 21:00'").code, 0);
    EXPECT_EQ(Run("stakes check").out, "2\n");
    EXPECT_EQ(Run("stakes check").out, "0\n");

    rows = TsvRows(Run("stakes list --tsv").out);
    EXPECT_EQ(rows[1][4], "45;3;7;1;20;30");
    EXPECT_EQ(rows[1][5], "4");
    EXPECT_EQ(rows[1][6], "1 3 7 45");
    EXPECT_EQ(rows[1][7], "4900.00");
    EXPECT_EQ(rows[3][5], "1");
    EXPECT_EQ(rows[3][7], "-100.00");

    // One row for both spellings of the comment, keeping the first one settled.
    rows = TsvRows(Run("ratings list --tsv --sort Ставок").out);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1][0], "серия");
    EXPECT_EQ(rows[1][1], "3");       // stakes
    EXPECT_EQ(rows[1][2], "11");      // matched: 6 + 4 + 1
    EXPECT_EQ(rows[1][4], "2000.00"); // -2800 + 4900 - 100
    EXPECT_EQ(rows[1][7], "1");       // one stake with 1 match
    EXPECT_EQ(rows[1][10], "1");      // one with 4
    EXPECT_EQ(rows[1][12], "1");      // one with 6

    EXPECT_EQ(Run("ratings rebuild").code, 0);
    EXPECT_EQ(TsvRows(Run("ratings list --tsv").out)[1][4], "2000.00");
}

TEST_F(StakesCli, RatingsExportWritesTheListByAverageDescending) {
    TRatingData low, high;
    low.SetCommentText("низ;\"1\"");
    low.Stakes = 2;
    low.Matched = 1;
    low.Hits[0] = 1;
    low.Hits[1] = 1;
    low.Profit = MoneyFromDouble(-200);
    high.SetCommentText("верх");
    high.Stakes = 1;
    high.Matched = 3;
    high.Hits[3] = 1;
    high.Profit = MoneyFromDouble(400);
    WriteRatingsFile(data / RATINGS_FILE_NAME, {low, high});
    const std::filesystem::path out = dir.file("рейтинг.csv");
    ASSERT_EQ(Run("ratings export '" + out.string() + "'").code, 0) << Err();
    EXPECT_EQ(ReadWholeFile(out),
              "Комментарий;Ставок;Угадано;Среднее;Профит;Ср. профит;0;1;2;3;4;5;6;"
              "E0;E1;E2;E3;E4;E5;E6\n"
              "верх;1;3;3.000;400.00;400.00;0;0;0;1;0;0;0;-40.056%;-42.413%;-15.147%;"
              "97.756%;-0.136%;-0.003%;-0.000%\n"
              "\"низ;\"\"1\"\"\";2;1;0.500;-200.00;-100.00;1;1;0;0;0;0;0;9.944%;7.587%;"
              "-15.147%;-2.244%;-0.136%;-0.003%;-0.000%\n");
}

// The row's own series: one line per stake for "overlap", pictures drawn offscreen.
TEST_F(StakesCli, RatingsGraphWritesTheRowsSeries) {
    for (const char* draw : {"'1;2;3;4;5;6' --number 1", "'7;8;9;10;11;12' --number 2",
                             "'1;8;13;14;15;16' --number 3"})
        ASSERT_EQ(Run(std::string("draws add ") + draw).code, 0);
    ASSERT_EQ(Run("stakes add '1;2;3;7;8;9' --draw 1 --draws 3 --comment ряд").code, 0) << Err();
    const std::string csv = dir.file("o.csv").string();
    ASSERT_EQ(Run("ratings graph 1 --kind overlap --out '" + csv + "'").code, 0) << Err();
    EXPECT_EQ(ReadWholeFile(csv), "1;3\n2;3\n3;2\n");
    ASSERT_EQ(Run("ratings graph 1 --kind distribution --out '" + csv + "'").code, 0) << Err();
    EXPECT_EQ(ReadWholeFile(csv), "0;0\n1;0\n2;1\n3;2\n4;0\n5;0\n6;0\n");
    const std::string png = dir.file("g.png").string(), svg = dir.file("g.svg").string();
    ASSERT_EQ(Run("ratings graph 1 --kind profit --out '" + png + "'").code, 0) << Err();
    EXPECT_EQ(ReadWholeFile(png).substr(0, 4), "\x89PNG");
    ASSERT_EQ(Run("ratings graph 1 --out '" + svg + "'").code, 0) << Err();
    EXPECT_NE(ReadWholeFile(svg).find("<svg"), std::string::npos);
    EXPECT_EQ(Run("ratings graph 2 --out '" + csv + "'").code, 1);
}

TEST_F(StakesCli, DeleteByConditionAndAll) {
    EXPECT_EQ(Run("draws add '1;2;3;4;5;6' --number 1").code, 0);
    EXPECT_EQ(Run("stakes add '1;2;3;40;41;42' --draw 1").code, 0);
    EXPECT_EQ(Run("stakes add '1;20;30;40;41;42' --draw 1").code, 0);
    EXPECT_EQ(Run("stakes add '1;20;30;40;41;42' --draw 5").code, 0);
    EXPECT_EQ(Run("stakes delete --matches '>=3'").code, 0);
    auto rows = TsvRows(Run("stakes list --tsv").out);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[1][5], "1");
    EXPECT_EQ(Run("stakes delete --matches '<0'").code, 0); // the unchecked one
    EXPECT_EQ(TsvRows(Run("stakes list --tsv").out).size(), 2u);
    EXPECT_EQ(Run("stakes delete --matches 'x'").code, 1);
    EXPECT_EQ(Run("stakes delete").code, 1);
    EXPECT_EQ(Run("stakes delete --all").code, 0);
    EXPECT_EQ(TsvRows(Run("stakes list --tsv").out).size(), 1u);
    EXPECT_EQ(TsvRows(Run("ratings list --tsv").out).size(), 1u); // rebuilt from no stakes
}

TEST_F(StakesCli, ASecondWorkspaceOnTheSameFolderIsRefused) {
    auto held = OpenLockedFile(data / STAKES_FILE_NAME);
    EXPECT_EQ(Run("stakes list").code, 0); // a reader needs no lock
    const TRun r = Run("stakes check");
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(Err().find("открыт другой копией программы (PID " + std::to_string(::getpid())),
              std::string::npos) << Err();
    EXPECT_NE(Err().find("Невозможно получить монопольный доступ к файлам данных!"),
              std::string::npos);
    EXPECT_NE(Err().find("Программа будет закрыта!"), std::string::npos);
}

TEST_F(StakesCli, AnOutdatedStakesFileIsEmptiedAfterTheWarning) {
    WriteFileAtomically(data / STAKES_FILE_NAME, std::string(329, '\3'));
    const std::string out = Run("stakes list --tsv").out;
    EXPECT_EQ(out.find('\n') + 1, out.size()); // the header only
    EXPECT_NE(Err().find("Обнаружен файл ставок устаревшей версии"), std::string::npos);
    EXPECT_EQ(std::filesystem::file_size(data / STAKES_FILE_NAME), 329u); // a reader keeps it
    EXPECT_EQ(Run("stakes check").code, 0);
    EXPECT_NE(Err().find("Обнаружен файл ставок устаревшей версии"), std::string::npos);
    EXPECT_EQ(std::filesystem::file_size(data / STAKES_FILE_NAME), 0u);
    EXPECT_EQ(std::filesystem::file_size(data / "Pelko_6x45.lsk.bak"), 329u);
}

TEST_F(StakesCli, RegularsAndSystemsLists) {
    EXPECT_EQ(Run("regulars list").out.substr(0, 22), "Комментарий");
    EXPECT_EQ(Run("regulars test --draws 1").code, 1); // no rules
    std::filesystem::create_directories(data / "Systems");
    WriteFileAtomically(data / "Systems" / "6-07-2_0005.dat", "01 02 03 04 05 07\r\n");
    const TRun r = Run("systems list");
    EXPECT_EQ(r.code, 0);
    EXPECT_NE(r.out.find("6-07-2_0005.dat"), std::string::npos);
}

TEST_F(StakesCli, RegularsAddStakeTestAndDelete) {
    EXPECT_EQ(Run("draws add '1;2;3;4;5;6' --number 1 --date '01.03.2024 21:00'").code, 0);
    EXPECT_EQ(Run("draws add '5;12;19;23;38;41' --number 2 --date '05.03.2024 21:00'").code, 0);
    EXPECT_EQ(Run("regulars add --comment 'Сдвиг' --start '1;2;3;40;44;45' --step 2").code, 0);
    EXPECT_EQ(Run("regulars add --comment 'Тираж' --last-draw").code, 0);
    EXPECT_EQ(Run("regulars add --comment 'сдвиг' --last-draw").code, 1);
    EXPECT_NE(Err().find("Выберите другой комментарий."), std::string::npos);
    EXPECT_EQ(Run("regulars add --comment 'Плохо' --start '1;2;3'").code, 1);
    EXPECT_EQ(Run("regulars add --comment 'Без начала'").code, 1);

    EXPECT_EQ(Run("regulars stake 1").out, "3\t1;2;3;4;5;42\n");
    EXPECT_EQ(Run("regulars stake 2 --draws 2").out, "3\t6;13;20;24;39;42\n");
    EXPECT_EQ(Run("regulars stake 3").code, 1);

    // One draw back: rule 2 shifts draw 1, settled against draw 2 at once.
    EXPECT_EQ(Run("regulars test 2 --draws 1").code, 0);
    auto rows = TsvRows(Run("stakes list --tsv").out);
    EXPECT_EQ(rows.back()[0], "2");
    EXPECT_EQ(rows.back()[2], "2;3;4;5;6;7");
    EXPECT_EQ(rows.back()[5], "1");
    const std::string list = Run("regulars list").out;
    EXPECT_NE(list.find("1;2;3;4;5;42"), std::string::npos); // rule 1 as its stake left it
    EXPECT_NE(list.find("2;3;4;5;6;7"), std::string::npos);  // rule 2 as the test left it

    EXPECT_EQ(Run("regulars delete 1").code, 0);
    EXPECT_NE(Err().find("Удалить выделенную запись? Да"), std::string::npos);
    EXPECT_EQ(Run("regulars list").out.find("Сдвиг"), std::string::npos);
    EXPECT_EQ(Run("regulars delete 5").code, 1);
}

} // namespace
} // namespace pelko
