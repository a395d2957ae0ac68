// SIGKILL at random moments of the operations that save: whatever moment the kill hits,
// the archive is its old or its new version, the stakes file keeps every record it had
// (a torn last record is dropped by the next writer), and the next command works.

#include "cli/cli_process.h"
#include "core/atomic_file.h"
#include "stakes/stake_record.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <random>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

extern char** environ;

namespace pelko {
namespace {

namespace fs = std::filesystem;
constexpr int RUNS = 30;

struct TKillCase {
    const char* Name;
    const char* Prepare; // run once on the prepared folder; "{csv}" stands for the draws file
    const char* Args;
};

const TKillCase CASES[] = {
    {"DrawsImport", "", "draws import {csv}"},
    {"StakesSeries", "", "stakes add 1;2;3;4;5;6 --draw 5 --draws 5000"},
    {"StakesCheck", "draws import {csv}", "stakes check"},
};

std::string DrawsCsv(int from, int to) {
    std::string csv;
    for (int n = from; n <= to; ++n)
        csv += std::to_string(n) + ";\"01.02.2024 21:00\";" + std::to_string(n % 30 + 1) +
               ";32;33;34;35;36\r\n";
    return csv;
}

std::vector<std::string> Words(const std::string& text) {
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t end = std::min(text.find(' ', i), text.size());
        if (end > i) words.push_back(text.substr(i, end - i));
        i = end + 1;
    }
    return words;
}

// Starts the tool and kills it after `delay`; true when the kill came before its end.
bool RunAndKill(const std::vector<std::string>& args, std::chrono::microseconds delay) {
    std::vector<char*> argv;
    std::string program = PELKO_CLI_PATH;
    argv.push_back(program.data());
    std::vector<std::string> copy = args;
    for (std::string& a : copy)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return false;
    const auto deadline = std::chrono::steady_clock::now() + delay;
    int status = 0;
    while (std::chrono::steady_clock::now() < deadline) {
        if (::waitpid(pid, &status, WNOHANG) == pid) return false; // ended by itself
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    ::kill(pid, SIGKILL);
    ::waitpid(pid, &status, 0);
    return WIFSIGNALED(status);
}

class RandomKill : public ::testing::TestWithParam<TKillCase> {
  protected:
    test::TTempDir dir;
    fs::path prepared = dir.file("prepared"), work = dir.file("work"), csv = dir.file("d.csv");

    int Cli(const fs::path& folder, const std::string& args) {
        return test::RunShell(test::CliCommand("--data-dir '" + folder.string() + "' " + args,
                                               dir.file("err").string()) +
                              " >/dev/null")
            .code;
    }
    void SetUp() override {
        fs::create_directories(prepared);
        WriteFileAtomically(dir.file("first.csv"), DrawsCsv(1, 10));
        ASSERT_EQ(Cli(prepared, "draws import '" + dir.file("first.csv").string() + "'"), 0);
        ASSERT_EQ(Cli(prepared, "stakes add '1;2;3;4;5;6' --draw 11 --draws 1000"), 0);
        WriteFileAtomically(csv, DrawsCsv(11, 5000));
        if (*GetParam().Prepare) {
            ASSERT_EQ(Cli(prepared, Expand(GetParam().Prepare)), 0);
        }
    }
    std::string Expand(const std::string& args) const {
        std::string out;
        for (const std::string& w : Words(args))
            out += (out.empty() ? "" : " ") + (w == "{csv}" ? "'" + csv.string() + "'" : w);
        return out;
    }
    std::vector<std::string> Args() const {
        std::vector<std::string> args = {"--data-dir", work.string()};
        for (std::string w : Words(GetParam().Args))
            args.push_back(w == "{csv}" ? csv.string() : w);
        return args;
    }
};

TEST_P(RandomKill, StoredFilesStayWhole) {
    // A clean run gives the new archive and how long the operation takes.
    fs::copy(prepared, work, fs::copy_options::recursive);
    const auto started = std::chrono::steady_clock::now();
    ASSERT_FALSE(RunAndKill(Args(), std::chrono::seconds(20)));
    const auto took = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now() - started);
    const std::string oldDraws = ReadWholeFile(prepared / "Pelko_6x45.ldr");
    const std::string newDraws = ReadWholeFile(work / "Pelko_6x45.ldr");
    const std::string oldStakes = ReadWholeFile(prepared / "Pelko_6x45.lsk");

    std::mt19937 random(12345);
    std::uniform_int_distribution<long> moment(0, took.count());
    for (int run = 0; run < RUNS; ++run) {
        fs::remove_all(work);
        fs::copy(prepared, work, fs::copy_options::recursive);
        const std::chrono::microseconds delay(moment(random));
        RunAndKill(Args(), delay);
        const std::string at = " (kill after " + std::to_string(delay.count()) + " us)";
        const std::string draws = ReadWholeFile(work / "Pelko_6x45.ldr");
        EXPECT_TRUE(draws == oldDraws || draws == newDraws) << "archive torn" << at;
        const std::string stakes = ReadWholeFile(work / "Pelko_6x45.lsk");
        ASSERT_GE(stakes.size(), oldStakes.size()) << "stakes lost" << at;
        // A check rewrites records in place; every other operation only appends.
        if (std::string(GetParam().Name) != "StakesCheck") {
            EXPECT_TRUE(stakes.substr(0, oldStakes.size()) == oldStakes) << "stakes changed" << at;
        }
        // The next writer works, and the file is whole records afterwards.
        EXPECT_EQ(Cli(work, "stakes check"), 0) << at;
        EXPECT_EQ(fs::file_size(work / "Pelko_6x45.lsk") % STAKE_RECORD_SIZE, 0u) << at;
        EXPECT_GE(fs::file_size(work / "Pelko_6x45.lsk"), oldStakes.size()) << at;
    }
}

INSTANTIATE_TEST_SUITE_P(Operations, RandomKill, ::testing::ValuesIn(CASES),
                         [](const auto& info) { return std::string(info.param.Name); });

} // namespace
} // namespace pelko
