// The faults of an ordinary user's machine, hit as a user would hit them: a read error, a
// kill in the middle of an append, two programs on one folder, damaged files, impossible
// numbers. Each case runs the command-line tool on a real data folder and checks what is
// stored afterwards.

#include "cli/cli_process.h"
#include "core/atomic_file.h"
#include "core/config.h"
#include "core/draw_archive.h"
#include "core/sys_io.h"
#include "platform/data_folder_lock.h"
#include "stakes/stake_record.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace pelko {
namespace {

namespace fs = std::filesystem;

class DataSafety : public ::testing::Test {
  protected:
    test::TTempDir dir;
    fs::path data = dir.path() / "data";
    fs::path err = dir.file("stderr.txt");

    void SetUp() override {
        fs::create_directories(data);
        TConfigData config;
        config.Cost = MoneyFromDouble(100);
        config.Profits = {{3, MoneyFromDouble(500)}};
        SaveConfig(data / "Pelko_6x45.ini", config);
        WriteFileAtomically(dir.file("draws.csv"), DrawsCsv(1, 20));
        ASSERT_EQ(Run("draws import '" + dir.file("draws.csv").string() + "'").code, 0);
    }
    static std::string DrawsCsv(int from, int to) {
        std::string csv;
        for (int n = from; n <= to; ++n)
            csv += std::to_string(n) + ";\"01.02.2024 21:00\";" + std::to_string(n % 30 + 1) +
                   ";32;33;34;35;36\r\n";
        return csv;
    }
    test::TProcessRun Run(const std::string& args, const std::string& env = "") {
        return test::RunShell(env + " " +
                              test::CliCommand("--data-dir '" + data.string() + "' " + args,
                                               err.string()));
    }
    std::string Err() { return ReadWholeFile(err); }
    std::string File(const char* name) { return ReadWholeFile(data / name); }
    bool FaultsBuilt() const { return FaultInjectionBuilt(); }
};

// A read error on a file the command loads: the command fails and saves nothing.
TEST_F(DataSafety, AFailedLoadIsNeverFollowedByASave) {
    if (!FaultsBuilt()) GTEST_SKIP();
    ASSERT_EQ(Run("stakes add '1;2;3;4;5;6' --draw 19 --draws 3").code, 0);
    const struct {
        const char* Args;
        const char* File;
    } cases[] = {{"draws add '1;2;3;4;5;6' --date '01.01.2026 10:00'", "Pelko_6x45.ldr"},
                 {"draws import draws.csv", "Pelko_6x45.ldr"},
                 {"stakes check", "Pelko_6x45.lrt"},
                 {"stakes add '7;8;9;10;11;12' --draw 20", "Pelko_6x45.lrt"},
                 {"stakes add '7;8;9;10;11;12' --draw 20", "Pelko_6x45.lsk"}};
    ASSERT_EQ(Run("draws add '1;2;3;4;5;6' --number 21 --date '01.01.2026 10:00'").code, 0);
    for (const auto& c : cases) {
        const std::string before = File(c.File);
        const std::string env = std::string("PELKO_FAULT=read:1:EIO:") + c.File;
        std::string args = c.Args;
        if (args == "draws import draws.csv") args = "draws import '" + dir.file("draws.csv").string() + "'";
        EXPECT_EQ(Run(args, env).code, 1) << c.Args;
        EXPECT_NE(Err().find("pelko: injected read"), std::string::npos) << c.Args;
        EXPECT_EQ(File(c.File), before) << c.Args << " changed " << c.File;
    }
    EXPECT_EQ(Run("stakes check").code, 0); // the files were whole all along
}

TEST_F(DataSafety, ATornStakesFileKeepsEveryWholeRecord) {
    ASSERT_EQ(Run("stakes add '1;2;3;4;5;6' --draw 30 --draws 3").code, 0);
    const std::string whole = File("Pelko_6x45.lsk");
    ASSERT_EQ(whole.size(), 5 * STAKE_RECORD_SIZE);
    WriteFileAtomically(data / "Pelko_6x45.lsk", whole + whole.substr(0, 100));

    // Listing only reads: the partial record is not shown and nothing is written.
    const auto list = Run("stakes list --tsv");
    EXPECT_EQ(list.code, 0);
    EXPECT_EQ(std::count(list.out.begin(), list.out.end(), '\n'), 6);
    EXPECT_EQ(File("Pelko_6x45.lsk").size(), whole.size() + 100);

    // The next writer drops the tail after copying the file aside.
    EXPECT_EQ(Run("stakes add '7;8;9;10;11;12' --draw 40").code, 0);
    EXPECT_NE(Err().find("отброшено байт - 100"), std::string::npos) << Err();
    EXPECT_EQ(File("Pelko_6x45.lsk.bak"), whole + whole.substr(0, 100));
    EXPECT_EQ(File("Pelko_6x45.lsk").substr(0, whole.size()), whole);
    EXPECT_EQ(File("Pelko_6x45.lsk").size(), whole.size() + STAKE_RECORD_SIZE);

    // An outdated file is copied aside before it is emptied; three copies are kept.
    for (int i = 0; i < 4; ++i) {
        WriteFileAtomically(data / "Pelko_6x45.lsk", std::string(STAKE_RECORD_SIZE, char(10 + i)));
        EXPECT_EQ(Run("stakes add '7;8;9;10;11;12' --draw 40").code, 0);
    }
    EXPECT_EQ(File("Pelko_6x45.lsk.bak"), std::string(STAKE_RECORD_SIZE, char(13)));
    EXPECT_EQ(File("Pelko_6x45.lsk.bak.2"), std::string(STAKE_RECORD_SIZE, char(11)));
    EXPECT_FALSE(fs::exists(data / "Pelko_6x45.lsk.bak.3"));
}

TEST_F(DataSafety, OneWriterPerDataFolder) {
    {
        // A writer waits for the folder, then refuses with who holds it.
        auto held = TDataFolderLock::Acquire(data, std::chrono::milliseconds(0));
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(Run("draws add '1;2;3;4;5;6'", "PELKO_LOCK_WAIT_MS=300").code, 1);
        EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(300));
        EXPECT_NE(Err().find("Папка данных занята другой копией программы (PID " +
                             std::to_string(::getpid()) + ")"),
                  std::string::npos)
            << Err();
        // Readers take no lock.
        EXPECT_EQ(Run("draws list").code, 0);
        EXPECT_EQ(Run("stakes list").code, 0);
    }
    // Two imports at once: both sets of draws are kept.
    WriteFileAtomically(dir.file("a.csv"), DrawsCsv(100, 3000));
    WriteFileAtomically(dir.file("b.csv"), DrawsCsv(5000, 8000));
    const std::string a = test::CliCommand("--data-dir '" + data.string() + "' draws import '" +
                                               dir.file("a.csv").string() + "'",
                                           dir.file("a.err").string());
    const std::string b = test::CliCommand("--data-dir '" + data.string() + "' draws import '" +
                                               dir.file("b.csv").string() + "'",
                                           dir.file("b.err").string());
    EXPECT_EQ(test::RunShell("(" + a + " & " + b + "; wait) >/dev/null").code, 0);
    EXPECT_EQ(Run("draws list").out.size() > 0, true);
    TDrawsArray draws;
    ReadDrawsFile(data / DRAWS_FILE_NAME, draws);
    EXPECT_EQ(draws.size(), 20u + 2901u + 3001u);
}

TEST_F(DataSafety, CommandsThatOnlyReadCreateNothing) {
    for (const char* args : {"stakes list", "ratings list --sort 3", "regulars list", "draws list",
                             "config show", "scenario show", "systems list"}) {
        EXPECT_EQ(Run(args).code, 0) << args << ": " << Err();
        for (const auto& e : fs::directory_iterator(data)) {
            const std::string name = e.path().filename().string();
            EXPECT_TRUE(name == "Pelko_6x45.ini" || name == DRAWS_FILE_NAME ||
                        name == DATA_FOLDER_LOCK_NAME)
                << args << " made " << name;
        }
    }
}

// Every statistic indexes by number: impossible numbers never reach the engine.
TEST_F(DataSafety, ImpossibleNumbersAreRefusedWithACount) {
    WriteFileAtomically(dir.file("bad.lcv"), "-1;-1;-1;-1;-1;-1\r\n");
    const auto filter = Run("filter KNM4 --draws 20 --select 5:6:12:29 --from '" +
                            dir.file("bad.lcv").string() + "'");
    EXPECT_TRUE(filter.code == 0 || filter.code == 1) << "a crash";
    EXPECT_NE(Err().find("вне 1..45 или повторяющимися): 1"), std::string::npos) << Err();

    WriteFileAtomically(dir.file("bad.csv"), "\xEF\xBB\xBF" "30;\"d\";1;2;3;4;5;46\r\n"
                                             "31;\"d\";7;7;8;9;10;11\r\n32;\"d\";1;2;3;4;5;6\r\n");
    const auto import = Run("draws import '" + dir.file("bad.csv").string() + "'");
    EXPECT_EQ(import.out, "1\n");
    EXPECT_NE(Err().find("вне 1..45 или повторяющимися): 2"), std::string::npos) << Err();

    WriteFileAtomically(dir.file("nums.lcv"), "\xEF\xBB\xBF" "1;2;3;4;5;6\r\n46;200;7;7;8;9\r\n");
    EXPECT_EQ(Run("combs unique '" + dir.file("nums.lcv").string() + "'").out, "6\n");
}

TEST_F(DataSafety, DamagedStakeRecordsAreShownAndLeftOut) {
    ASSERT_EQ(Run("stakes add '1;2;3;4;5;6' --draw 25").code, 0);
    std::string file = File("Pelko_6x45.lsk");
    file[stake_offsets::Numbers] = '\xA0'; // numbers count 100,000
    file[stake_offsets::Numbers + 1] = '\x86';
    file[stake_offsets::Numbers + 2] = '\x01';
    WriteFileAtomically(data / "Pelko_6x45.lsk", file);
    ASSERT_EQ(Run("draws add '1;2;3;4;5;6' --number 25 --date '01.01.2026 10:00'").code, 0);
    EXPECT_EQ(Run("stakes check").code, 1);
    EXPECT_NE(Err().find("Ошибка чтения записи из файла ставок!"), std::string::npos) << Err();
    EXPECT_EQ(File("Pelko_6x45.lsk"), file); // never rewritten
    EXPECT_NE(Run("stakes list --tsv").out.find(DAMAGED_STAKE_CAPTION), std::string::npos);
    EXPECT_EQ(Run("ratings list --tsv").out.find("-800800"), std::string::npos);
}

TEST_F(DataSafety, FailuresLeaveOutputsAndStakesAsTheyWere) {
    WriteFileAtomically(dir.file("keep.lcv"), "1;2;3;4;5;6\r\n");
    EXPECT_EQ(Run("combs gen --mode 4 --params missing.lcv --out '" + dir.file("keep.lcv").string() +
                  "'")
                  .code,
              1);
    EXPECT_EQ(ReadWholeFile(dir.file("keep.lcv")), "1;2;3;4;5;6\r\n");

    EXPECT_EQ(Run("stakes add '1;2;3;4;5;6' --draw 2147483646 --draws 4").code, 1);
    EXPECT_EQ(File("Pelko_6x45.lsk"), "");
    if (FaultsBuilt()) {
        // A full disk part way through a series stores none of it.
        EXPECT_EQ(Run("stakes add '1;2;3;4;5;6' --draw 30 --draws 50",
                      "PELKO_FAULT=write:1:ENOSPC:Pelko_6x45.lsk")
                      .code,
                  1);
        EXPECT_EQ(File("Pelko_6x45.lsk"), "");
        // The count of imported draws is printed only once they are saved.
        const auto import = Run("draws import '" + dir.file("draws.csv").string() + "'",
                                "PELKO_FAULT=write:1:ENOSPC:" + std::string(DRAWS_FILE_NAME));
        EXPECT_EQ(import.out, "");
    }
    // Endless inputs end with an error.
    EXPECT_EQ(Run("draws import /dev/zero").code, 1);
    EXPECT_EQ(Run("combs unique /dev/zero").code, 1);
}

TEST_F(DataSafety, TheNextWriterRemovesTemporaryFilesOfAKilledSave) {
    for (const char* name : {".Pelko_6x45.ldr.tmpAb12Cd", ".Pelko_6x45.lss.tmpXy34Zw",
                             ".keep.lcv.tmp1234567"})
        WriteFileAtomically(data / name, "partial");
    EXPECT_EQ(Run("draws list").code, 0);
    EXPECT_TRUE(fs::exists(data / ".Pelko_6x45.ldr.tmpAb12Cd")); // a reader leaves them
    EXPECT_EQ(Run("draws add '1;2;3;4;5;6'").code, 0);
    for (const auto& e : fs::directory_iterator(data))
        EXPECT_EQ(e.path().filename().string().find(".tmp"), std::string::npos) << e.path();
}

} // namespace
} // namespace pelko
