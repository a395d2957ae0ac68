// The scenario commands as processes: editing the working scenario, a back-test on the
// sample archive whose stakes are checked and rated, and Ctrl+C stopping a long run.
#include "cli/cli_process.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <regex>
#include <string>
#include <sys/wait.h>

namespace pelko {
namespace {

using TRun = test::TProcessRun;
using test::RunShell;

class ScenarioCli : public ::testing::Test {
  protected:
    test::TTempDir dir;
    std::filesystem::path data = dir.path() / "data";

    std::string Cli(const std::string& args, const std::string& prefix = "") const {
        return prefix + test::CliCommand("--data-dir '" + data.string() + "' " + args, dir.file("stderr.txt").string());
    }
    TRun Run(const std::string& args) const { return RunShell(Cli(args)); }
    void ImportSample() const {
        ASSERT_EQ(Run(std::string("draws import '") + PELKO_SHARE_DIR + "/sample_draws.csv'").code, 0);
    }
    int Number(const std::string& out, const std::string& label) const {
        std::smatch m;
        if (!std::regex_search(out, m, std::regex(label + ": (\\d+)")))
            return -1;
        return std::stoi(m[1]);
    }
};

TEST_F(ScenarioCli, LinesAreAddedShownSavedAndLoaded) {
    ASSERT_EQ(Run("scenario add 'excl:7#rand#nex|tsd1#nums:100#lmv:5#sf:2| | | | | | |проба'").code, 0);
    ASSERT_EQ(Run("scenario add ''").code, 0);
    TRun show = Run("scenario show");
    ASSERT_EQ(show.code, 0);
    EXPECT_NE(show.out.find("проба\tИсключить 7 тиражей; Случайно; Только новые ставки\tTSD1#NUMS:100#LMV:5#SF:2"),
              std::string::npos)
        << show.out;

    const std::string file = dir.file("copy.lsc").string();
    ASSERT_EQ(Run("scenario save '" + file + "'").code, 0);
    ASSERT_EQ(Run("scenario load '" + file + "' --append").code, 0);
    show = Run("scenario show");
    // The scenario ended with a separator, so the appended lines follow it directly.
    EXPECT_NE(show.out.find("\n  3\tпроба"), std::string::npos) << show.out;
    EXPECT_EQ(show.out.find("\n  5\t"), std::string::npos);
    EXPECT_EQ(Run("scenario load '" + dir.file("missing.lsc").string() + "'").code, 2);
}

TEST_F(ScenarioCli, BackTestOnTheSampleArchiveIsCheckedAndRated) {
    ImportSample();
    const std::string file = dir.file("test.lsc").string();
    std::ofstream(file) << "FULL:0#FIRST|TSD1#NUMS:100#LLV:1#ST:2| | | | | | |cli\r\n"
                        << "CURR:0#LAST|TMD1#EVEN:50#CMV:10#ST:3| | | | | | |\r\n";
    const TRun run = Run("scenario test '" + file + "' --draws 3");
    ASSERT_EQ(run.code, 0) << run.out;
    EXPECT_EQ(Number(run.out, "Ставок сделано"), 6) << run.out;
    EXPECT_EQ(Number(run.out, "Проверено"), 6);
    EXPECT_EQ(Number(run.out, "Строк рейтинга"), 2);
    const TRun ratings = Run("ratings list --tsv");
    ASSERT_EQ(ratings.code, 0);
    EXPECT_NE(ratings.out.find("01.001: cli @ FULL#FIRST + TSD#NUMS:100#LLV:1#ST:2\t3\t"), std::string::npos)
        << ratings.out;
    EXPECT_NE(ratings.out.find("02.001: @ CURR#LAST + TMD#EVEN:50#CMV:10#ST:3\t3\t"), std::string::npos);
}

TEST_F(ScenarioCli, InterruptStopsTheRunAndPrintsTheSummary) {
    ImportSample();
    const std::string file = dir.file("long.lsc").string();
    std::ofstream(file) << "FULL:0#FIRST|TSD1#SUMS:100#LNO:#SF:1| | | | | | |long\r\n";
    // Every sum row of every cycle is a filtering pass: far more than two seconds of work.
    const TRun run = RunShell(Cli("scenario test '" + file + "' --draws 2000", "timeout -s INT -k 20 2 "));
    const int made = Number(run.out, "Ставок сделано");
    EXPECT_GE(made, 0) << run.out;
    EXPECT_LT(made, 2000);
}

TEST_F(ScenarioCli, RunsRefuseWhatCannotRun) {
    EXPECT_EQ(Run("scenario run").code, 1); // empty scenario
    ImportSample();
    ASSERT_EQ(Run("scenario add 'CURR:0#NONE|'").code, 0);
    EXPECT_EQ(Run("scenario test --draws 0").code, 1);
    EXPECT_EQ(Run("scenario test --draws 18930").code, 1);
    EXPECT_EQ(Run("scenario run --offset 5").code, 0);
}

} // namespace
} // namespace pelko
