#include "core/atomic_file.h"
#include "platform/data_folder.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace pelko {
namespace {

namespace fs = std::filesystem;

// Sets or clears environment variables for one test and puts them back afterwards.
class TEnvGuard {
public:
    void Set(const char* name, const std::string& value) {
        Remember(name);
        setenv(name, value.c_str(), 1);
    }
    void Clear(const char* name) {
        Remember(name);
        unsetenv(name);
    }
    ~TEnvGuard() {
        for (auto& [name, value] : saved_)
            value ? setenv(name.c_str(), value->c_str(), 1) : unsetenv(name.c_str());
    }

private:
    void Remember(const char* name) {
        const char* v = std::getenv(name);
        saved_.emplace_back(name, v ? std::optional<std::string>(v) : std::nullopt);
    }
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

class DataFolder : public ::testing::Test {
protected:
    test::TTempDir dir;
    TEnvGuard env;
    void SetUp() override {
        env.Clear("PELKO_DATA_DIR");
        env.Set("XDG_DATA_HOME", (dir.path() / "xdg").string());
    }
};

TEST_F(DataFolder, ExplicitFolderWinsAndIsCreated) {
    env.Set("PELKO_DATA_DIR", (dir.path() / "env").string());
    const fs::path got = ResolveDataFolder(dir.path() / "explicit" / "deep", dir.path());
    EXPECT_EQ(got, dir.path() / "explicit" / "deep");
    EXPECT_TRUE(fs::is_directory(got));
}

TEST_F(DataFolder, EnvironmentBeforePortableAndXdg) {
    WriteFileAtomically(dir.file(DATA_INI_NAME), "");
    env.Set("PELKO_DATA_DIR", (dir.path() / "env").string());
    EXPECT_EQ(ResolveDataFolder(std::nullopt, dir.path()), dir.path() / "env");
}

TEST_F(DataFolder, PortableInstallWhenTheExecutableFolderHoldsTheIni) {
    const fs::path exeDir = dir.path() / "bin";
    fs::create_directories(exeDir);
    EXPECT_EQ(ResolveDataFolder(std::nullopt, exeDir), dir.path() / "xdg" / "Pelko_6x45");
    WriteFileAtomically(exeDir / DATA_INI_NAME, "");
    EXPECT_EQ(ResolveDataFolder(std::nullopt, exeDir), exeDir);
}

TEST_F(DataFolder, HomeFallbackWithoutXdg) {
    env.Clear("XDG_DATA_HOME");
    env.Set("HOME", (dir.path() / "home").string());
    EXPECT_EQ(ResolveDataFolder(std::nullopt, {}),
              dir.path() / "home" / ".local" / "share" / "Pelko_6x45");
}

TEST_F(DataFolder, AFolderThatCannotBeCreatedIsAnError) {
    WriteFileAtomically(dir.file("plain"), "x");
    EXPECT_THROW(ResolveDataFolder(dir.path() / "plain" / "sub", {}), std::runtime_error);
}

TEST(SampleArchive, IsFoundFromTheBuildTree) {
    const fs::path sample = SampleArchivePath();
    ASSERT_FALSE(sample.empty());
    EXPECT_GT(fs::file_size(sample), 500000u);
}

} // namespace
} // namespace pelko
