#include "cli/cli_process.h"
#include "core/atomic_file.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <sstream>

namespace pelko {
namespace {

namespace fs = std::filesystem;

// Four draws, Monday to Thursday, sharing 1 and 2; 103 shares 3 with 100 as well.
class AnalysisCli : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        dir = new test::TTempDir;
        WriteFileAtomically(dir->file("d.csv"), "100;\"02.03.2026 21:00\";1;2;3;4;5;6\r\n"
                                                "101;\"03.03.2026 21:00\";1;2;10;11;12;13\r\n"
                                                "102;\"04.03.2026 21:00\";1;2;20;21;22;23\r\n"
                                                "103;\"05.03.2026 21:00\";1;2;3;30;31;32\r\n");
        Run("draws import '" + dir->file("d.csv").string() + "'");
    }
    static void TearDownTestSuite() { delete dir; }
    static test::TProcessRun Run(const std::string& args, const fs::path& data = {}) {
        const fs::path folder = data.empty() ? dir->path() / "data" : data;
        return test::RunShell(test::CliCommand("--data-dir '" + folder.string() + "' " + args,
                                               dir->file("err.txt").string()));
    }
    static std::string Out(const char* name) { return "--out '" + dir->file(name).string() + "'"; }
    static std::string Lines(const std::string& text, int count) {
        std::istringstream in(text);
        std::string lines, line;
        for (int i = 0; i < count && std::getline(in, line); ++i)
            lines += line + "\n";
        return lines;
    }
    // A row of 45 number columns after its first field, filled where given.
    static std::string NumberRow(const std::string& first,
                                 const std::map<int, std::string>& cells) {
        std::string row = first;
        for (int n = 1; n <= 45; ++n)
            row += ";" + (cells.count(n) ? cells.at(n) : std::string());
        return row + "\n";
    }
    static std::string NumberHeader(const std::string& first) {
        std::string row = first;
        for (int n = 1; n <= 45; ++n)
            row += ";" + std::to_string(n);
        return row + "\n";
    }
    static test::TTempDir* dir;
};
test::TTempDir* AnalysisCli::dir = nullptr;

TEST_F(AnalysisCli, RepeatsAndSumsMatchHandCountedValues) {
    EXPECT_EQ(Run("analysis repeats --len 1 --deep 3").out,
              "Тираж;Совпадений;Кол-во повторов;Список тиражей\n103;2;2;102 101\n103;3;1;100\n");
    const std::string sums = Run("analysis sums").out;
    EXPECT_EQ(Lines(sums, 2), "Сумма;Комбинаций;Тиражей\n21;1;1\n"); // draw 100 sums to 21
    EXPECT_NE(sums.find("\n138;105690;0\n"), std::string::npos);
    EXPECT_EQ(std::count(sums.begin(), sums.end(), '\n'), 1 + 235);
}

TEST_F(AnalysisCli, GraphCsvHasTheValuesMeanAndMostFrequentOldestFirst) {
    ASSERT_EQ(Run("graph sums --draws 4 " + Out("g.csv")).code, 0);
    EXPECT_EQ(ReadWholeFile(dir->file("g.csv")),
              "Тираж;Значение;Среднее значение;Наиболее часто встречающееся значение\n"
              "100;21;64.50;21\n101;49;64.50;21\n102;89;64.50;21\n103;99;64.50;21\n");
}

TEST_F(AnalysisCli, ViewTablesStartAsTheViewsShowThem) {
    const std::map<int, std::string> numbers = {{1, "1"},   {2, "2"},   {3, "3"},
                                                {30, "30"}, {31, "31"}, {32, "32"}};
    const std::map<int, std::string> once = {{1, "1"}, {2, "1"}, {3, "1"},
                                             {4, "1"}, {5, "1"}, {6, "1"}};
    const struct {
        const char* args;
        std::string firstLines;
    } cases[] = {
        {"analysis card", NumberHeader("Тираж") + NumberRow("103", numbers)},
        // The draw after the analysis point is 103: its numbers in brackets; cells unquoted.
        {"analysis layout --len 2 --offset 1", "Кол-во;102;101\n2;[1], [2];\n"},
        {"analysis week", NumberHeader("День") + NumberRow("Пн", once)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Lines(Run(c.args).out, 2), c.firstLines) << c.args;
}

TEST_F(AnalysisCli, RefusalsExitWithOneAndWriteNothing) {
    const fs::path damaged = dir->path() / "damaged";
    fs::create_directories(damaged / "Pelko_6x45.ldr"); // cannot be read as an archive
    struct {
        std::string args;
        fs::path data;
    } cases[] = {
        {"graph NUMS --draws 4 " + Out("x.csv"), {}}, // not a graph statistic
        {"graph NONE --draws 4 " + Out("x.csv"), {}}, // no such method
        {"graph SUMS --draws 4 --offset 4 " + Out("x.csv"), {}},
        {"analysis week --offset 4 " + Out("x.csv"), {}},
        {"analysis sums " + Out("x.png"), {}},
        {"analysis sums " + Out("x.csv"), damaged},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Run(c.args, c.data).code, 1) << c.args;
        EXPECT_FALSE(fs::remove(dir->file("x.csv")) || fs::remove(dir->file("x.png"))) << c.args;
    }
}

TEST_F(AnalysisCli, GraphPictureIsAPng) {
    const test::TProcessRun run = Run("graph SUMS --draws 4 " + Out("g.png"));
    if (run.code != 0 && ReadWholeFile(dir->file("err.txt")).find("не рисует") != std::string::npos)
        GTEST_SKIP() << "built without charts";
    ASSERT_EQ(run.code, 0) << ReadWholeFile(dir->file("err.txt"));
    EXPECT_EQ(ReadWholeFile(dir->file("g.png")).substr(0, 8), "\x89PNG\r\n\x1a\n");
}

} // namespace
} // namespace pelko
