#include "core/atomic_file.h"
#include "cli/cli_process.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <sstream>
#include <sys/wait.h>

namespace pelko {
namespace {

std::string RunCli(const std::string& args, int* code = nullptr) {
    const test::TProcessRun run = test::RunShell(test::CliCommand(args, "/dev/null"));
    if (code)
        *code = run.code;
    return run.out;
}

// One data folder with the first 300 draws of the sample archive for the whole suite.
class StatsCli : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir = new test::TTempDir;
        std::istringstream sample(
            ReadWholeFile(std::filesystem::path(PELKO_SHARE_DIR) / "sample_draws.csv"));
        std::string csv, line;
        for (int i = 0; i < 300 && std::getline(sample, line); ++i)
            csv += line + "\n";
        WriteFileAtomically(dir->file("d.csv"), csv);
        RunCli(Args("draws import '" + dir->file("d.csv").string() + "'"));
    }
    static void TearDownTestSuite() { delete dir; }
    static std::string Args(const std::string& rest) {
        return "--data-dir '" + (dir->path() / "data").string() + "' " + rest;
    }
    static test::TTempDir* dir;
};
test::TTempDir* StatsCli::dir = nullptr;

TEST_F(StatsCli, MethodsListCodesTagsFlagsAndNames) {
    const std::string out = RunCli(Args("methods"));
    EXPECT_EQ(out.rfind("NUMS\tnum\tN\t{ num } Числа тиража\n", 0), 0u) << out.substr(0, 200);
    EXPECT_NE(out.find("\nSUMS\tsum\t"), std::string::npos);
}

TEST_F(StatsCli, TableHasTheTwentyTitlesAndOneRowPerValue) {
    std::istringstream out(RunCli(Args("stats NUMS --draws 50 --sort 1 --desc")));
    std::string header, row;
    std::getline(out, header);
    EXPECT_EQ(header.rfind("Значение\tКоличество\tКол-во в %\t", 0), 0u);
    EXPECT_EQ(std::count(header.begin(), header.end(), '\t'), 19);
    int rows = 0, previous = 1 << 30;
    while (std::getline(out, row)) {
        ++rows;
        const auto first = row.find('\t');
        const int count = std::stoi(row.substr(first + 1));
        EXPECT_LE(count, previous); // sorted by "Количество", descending
        previous = count;
    }
    EXPECT_EQ(rows, 45);
}

TEST_F(StatsCli, DecimalCommaChangesOnlyTheSeparator) {
    // The header holds dots of its own ("Посл. тираж"): compare the rows.
    const auto rows = [](std::string text) { return text.substr(text.find('\n')); };
    const std::string dot = rows(RunCli(Args("stats SUMS --draws 40")));
    const std::string comma = rows(RunCli(Args("stats SUMS --draws 40 --decimal-comma")));
    EXPECT_NE(dot.find('.'), std::string::npos);
    std::string expected = dot;
    std::replace(expected.begin(), expected.end(), '.', ',');
    EXPECT_EQ(comma, expected);
}

TEST_F(StatsCli, KeepingAndDroppingAValuePartitionTheFullList) {
    EXPECT_EQ(RunCli(Args("filter NUMS --draws 100 --select 5")), "1086008\n");
    EXPECT_EQ(RunCli(Args("filter NUMS --draws 100 --select 5 --exclude")), "7059052\n");
    const std::string out = dir->file("kept.lcv").string();
    EXPECT_EQ(RunCli(Args("filter NUMS --draws 100 --select \"1;2\" --out '" + out + "'")),
              std::to_string(8145060 - 6096454) + "\n");
    // From a file: the kept list filtered again by the other number.
    EXPECT_EQ(RunCli(Args("filter NUMS --draws 100 --select 1 --exclude --from '" + out + "'")),
              std::to_string(8145060 - 6096454 - 1086008) + "\n");
    int code = 0;
    RunCli(Args("filter NUMS --draws 100 --select 99"), &code);
    EXPECT_EQ(code, 1);
    RunCli(Args("stats NOPE --draws 10"), &code);
    EXPECT_EQ(code, 1);
}

} // namespace
} // namespace pelko
