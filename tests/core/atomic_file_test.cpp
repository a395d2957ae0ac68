#include "core/atomic_file.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace pelko {
namespace {

using test::TTempDir;

std::vector<std::string> NamesIn(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir))
        names.push_back(entry.path().filename().string());
    return names;
}

TEST(AtomicFile, CreatesAndReplacesFilesLeavingNothingElse) {
    TTempDir dir;
    const fs::path file = dir.file("data.bin");
    const std::string binary("a\0b\r\nc\xFF", 7);

    WriteFileAtomically(file, binary);
    EXPECT_EQ(ReadWholeFile(file), binary);

    WriteFileAtomically(file, "short");
    EXPECT_EQ(ReadWholeFile(file), "short");

    WriteFileAtomically(file, "");
    EXPECT_EQ(ReadWholeFile(file), "");
    EXPECT_EQ(NamesIn(dir.path()), std::vector<std::string>{"data.bin"});
}

TEST(AtomicFile, KeepsThePermissionsOfTheReplacedFile) {
    TTempDir dir;
    const fs::path file = dir.file("settings.ini");
    WriteFileAtomically(file, "old");
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    WriteFileAtomically(file, "new");
    EXPECT_EQ(fs::status(file).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST(AtomicFile, TargetThatIsAFolderIsLeftAloneAndNoTempRemains) {
    TTempDir dir;
    const fs::path target = dir.file("folder");
    fs::create_directory(target);
    WriteFileAtomically(target / "inside.txt", "kept");

    EXPECT_THROW(WriteFileAtomically(target, "data"), std::runtime_error);
    EXPECT_TRUE(fs::is_directory(target));
    EXPECT_EQ(ReadWholeFile(target / "inside.txt"), "kept");
    EXPECT_EQ(NamesIn(dir.path()), std::vector<std::string>{"folder"});
}

TEST(AtomicFile, MissingFolderReportsTheSystemError) {
    TTempDir dir;
    try {
        WriteFileAtomically(dir.file("no/such/file.txt"), "data");
        FAIL() << "no exception";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(std::string(e.what()), SysErrorText(ENOENT));
        EXPECT_NE(std::string(e.what()).find("SysError #"), std::string::npos);
    }
}

#ifndef _WIN32

// Makes every write past `limit` bytes fail with EFBIG, like a full disk, until destroyed.
class TFileSizeLimit {
  public:
    explicit TFileSizeLimit(rlim_t limit) {
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &previous_);
        rlimit lowered = previous_;
        lowered.rlim_cur = limit;
        setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~TFileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousHandler_);
    }

  private:
    rlimit previous_{};
    void (*previousHandler_)(int) = nullptr;
};

TEST(AtomicFile, WriteThatFailsHalfwayKeepsTheOldFile) {
    TTempDir dir;
    const fs::path file = dir.file("archive.ldr");
    WriteFileAtomically(file, "old content");
    {
        TFileSizeLimit limit(16);
        EXPECT_THROW(WriteFileAtomically(file, std::string(4096, 'x')), std::runtime_error);
    }
    EXPECT_EQ(ReadWholeFile(file), "old content");
    EXPECT_EQ(NamesIn(dir.path()), std::vector<std::string>{"archive.ldr"});
}

TEST(AtomicFile, ReadOnlyFolderKeepsTheOldFile) {
    if (geteuid() == 0) GTEST_SKIP() << "root may write into read-only folders";
    TTempDir dir;
    const fs::path file = dir.file("stakes.lsk");
    WriteFileAtomically(file, "old");
    fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_THROW(WriteFileAtomically(file, "new"), std::runtime_error);
    fs::permissions(dir.path(), fs::perms::owner_all);
    EXPECT_EQ(ReadWholeFile(file), "old");
    EXPECT_EQ(NamesIn(dir.path()), std::vector<std::string>{"stakes.lsk"});
}

#endif

TEST(AtomicFile, ReadingAMissingFileOrAFolderThrows) {
    TTempDir dir;
    EXPECT_THROW(ReadWholeFile(dir.file("missing")), std::runtime_error);
    EXPECT_THROW(ReadWholeFile(dir.path()), std::runtime_error);
}

} // namespace
} // namespace pelko
