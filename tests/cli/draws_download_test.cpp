// `draws download` against the local operator site serving the bundled sample archive.
#include "cli/cli_process.h"
#include "core/atomic_file.h"
#include "support/operator_site.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <sstream>

namespace pelko {
namespace {

const std::string SAMPLE = PELKO_SHARE_DIR "/sample_draws.csv";

class DownloadCli : public ::testing::Test {
  protected:
    test::TTempDir dir;
    std::string err = dir.file("stderr.txt").string();

    test::TProcessRun Run(const std::string& folder, const std::string& args) {
        return test::RunShell(
            test::CliCommand("--data-dir '" + dir.file(folder).string() + "' " + args, err));
    }
    std::string Err() const { return ReadWholeFile(err); }
    // The sample archive without its last `missing` lines.
    std::string ShortSample(int missing) {
        std::istringstream in(ReadWholeFile(SAMPLE));
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);) lines.push_back(line + "\n");
        std::string out;
        for (std::size_t i = 0; i + missing < lines.size(); ++i) out += lines[i];
        return out;
    }
};

// 1,000 draws short of the site: brought up to date, byte for byte the site's archive.
TEST_F(DownloadCli, BringsAShortArchiveUpToTheSite) {
    test::TOperatorSite site({"--archive", SAMPLE});
    WriteFileAtomically(dir.file("short.csv"), ShortSample(1000));
    ASSERT_EQ(Run("data", "draws import '" + dir.file("short.csv").string() + "'").code, 0);
    const test::TProcessRun run = Run("data", "draws download --site " + site.Url());
    ASSERT_EQ(run.code, 0) << Err();
    EXPECT_EQ(run.out, "1000\n");
    EXPECT_NE(Err().find("Загрузка тиражей 17931 - 17980..."), std::string::npos);
    ASSERT_EQ(Run("full", "draws import '" + SAMPLE + "'").code, 0);
    EXPECT_EQ(ReadWholeFile(dir.file("data") / "Pelko_6x45.ldr"),
              ReadWholeFile(dir.file("full") / "Pelko_6x45.ldr"));
}

TEST_F(DownloadCli, WithoutASiteAddressItFailsAndSaysWhereToSetIt) {
    const test::TProcessRun run = Run("data", "draws download");
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(Err().find("DrawsSite"), std::string::npos) << Err();
}

// Ctrl+C during the second (slow) chunk: the first stays saved, exit 1.
TEST_F(DownloadCli, InterruptKeepsTheSavedChunk) {
    test::TOperatorSite site({"--archive", SAMPLE, "--delay", "2000"});
    const test::TProcessRun run = test::RunShell(
        "timeout --preserve-status -s INT 3 " +
        test::CliCommand("--data-dir '" + dir.file("data").string() + "' draws download --site " +
                             site.Url(), err));
    EXPECT_EQ(run.code, 1) << Err();
    EXPECT_EQ(run.out, "50\n");
    EXPECT_EQ(ReadWholeFile(dir.file("data") / "Pelko_6x45.ldr").size(), 50u * 28);
}

} // namespace
} // namespace pelko
