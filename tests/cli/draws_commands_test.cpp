#include "core/atomic_file.h"
#include "cli/cli_process.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <sys/wait.h>

namespace pelko {
namespace {

struct TRun {
    int code = -1;
    std::string out;
};

// Runs the command-line tool with the arguments; stderr goes to `errFile`.
TRun RunCli(const std::string& args, const std::filesystem::path& errFile) {
    const std::string cmd =
        std::string("'") + PELKO_CLI_PATH + "' " + args + " 2>'" + errFile.string() + "'";
    TRun r;
    FILE* p = popen(cmd.c_str(), "r");
    if (!p)
        return r;
    std::array<char, 4096> buf{};
    std::size_t n;
    while ((n = fread(buf.data(), 1, buf.size(), p)) > 0)
        r.out.append(buf.data(), n);
    const int status = pclose(p);
    r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

class Cli : public ::testing::Test {
protected:
    test::TTempDir dir;
    std::filesystem::path err = dir.file("stderr.txt");

    TRun Run(const std::string& args) {
        return RunCli("--data-dir '" + (dir.path() / "data").string() + "' " + args, err);
    }
    std::string Err() { return ReadWholeFile(err); }
};

TEST_F(Cli, ImportExportReproducesTheDrawsAndReimportAddsNothing) {
    const std::string csv = "1;\"10.11.2008 00:00\";15;17;22;23;25;33\r\n"
                            "2;\"13.11.2008 00:00\";19;23;24;29;44;45\r\n"
                            "3;\"\";45;4;7;26;38;3\r\n";
    WriteFileAtomically(dir.file("x.csv"), csv);
    EXPECT_EQ(Run("draws import '" + dir.file("x.csv").string() + "'").out, "3\n");
    EXPECT_EQ(Run("draws import '" + dir.file("x.csv").string() + "'").out, "0\n");
    const TRun exp = Run("draws export '" + dir.file("y.csv").string() + "'");
    EXPECT_EQ(exp.code, 0);
    EXPECT_EQ(ReadWholeFile(dir.file("y.csv")), csv);

    EXPECT_EQ(Run("draws list --sorted").out,
              "1;\"10.11.2008 00:00\";15;17;22;23;25;33\n"
              "2;\"13.11.2008 00:00\";19;23;24;29;44;45\n"
              "3;\"\";3;4;7;26;38;45\n");
}

TEST_F(Cli, AddValidatesAndNumbersTheNextDraw) {
    EXPECT_EQ(Run("draws add '1;2;3;4;5;5'").code, 1);
    EXPECT_NE(Err().find("Введена некорректная комбинация!"), std::string::npos);
    EXPECT_EQ(Run("draws add '45,1,2,3,4,5' --date '05.03.2024 21:00'").code, 0);
    EXPECT_EQ(Run("draws add '7;8;9;10;11;12' --date '31.02.2024 21:00'").code, 1);
    EXPECT_EQ(Run("draws add '7;8;9;10;11;12' --number 40 --date '01.03.2024 21:00'").code, 0);
    EXPECT_EQ(Run("draws list").out, "1;\"05.03.2024 21:00\";45;1;2;3;4;5\n"
                                     "40;\"01.03.2024 21:00\";7;8;9;10;11;12\n");
    EXPECT_EQ(Run("draws delete 1").code, 0);
    EXPECT_EQ(Run("draws delete 1").code, 1);
    EXPECT_EQ(Run("draws list").out, "40;\"01.03.2024 21:00\";7;8;9;10;11;12\n");
}

TEST_F(Cli, UsageErrorsExitWithTwoAndMissingFilesWithOne) {
    EXPECT_EQ(Run("").code, 2);
    EXPECT_EQ(Run("draws frobnicate").code, 2);
    EXPECT_EQ(Run("draws add").code, 2);
    EXPECT_EQ(Run("draws import '" + dir.file("nope.csv").string() + "'").code, 1);
    EXPECT_FALSE(Err().empty());
}

TEST_F(Cli, ConfigShowPrintsTheDefaultsOfANewFolder) {
    const TRun r = Run("config show");
    EXPECT_EQ(r.code, 0);
    EXPECT_NE(r.out.find("MatrixCols=5\n"), std::string::npos);
    EXPECT_NE(r.out.find("MaxStake=15\n"), std::string::npos);
    EXPECT_NE(r.out.find("Draws=0\n"), std::string::npos);
}

} // namespace
} // namespace pelko
