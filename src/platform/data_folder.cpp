#include "platform/data_folder.h"

#include <cstdlib>
#include <stdexcept>
#include <system_error>
#include <unistd.h>

namespace pelko {

namespace fs = std::filesystem;

namespace {

std::string EnvOrEmpty(const char* name) {
    const char* v = std::getenv(name);
    return v ? std::string(v) : std::string();
}

fs::path XdgDataFolder() {
    if (const auto xdg = EnvOrEmpty("XDG_DATA_HOME"); !xdg.empty())
        return fs::path(xdg) / "Pelko_6x45";
    if (const auto home = EnvOrEmpty("HOME"); !home.empty())
        return fs::path(home) / ".local" / "share" / "Pelko_6x45";
    return fs::current_path() / "Pelko_6x45";
}

fs::path EnsureFolder(const fs::path& folder) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec || !fs::is_directory(folder))
        throw std::runtime_error("Не удалось создать папку данных \"" + folder.string() +
                                 "\": " + ec.message());
    return fs::absolute(folder);
}

} // namespace

fs::path ResolveDataFolder(const std::optional<fs::path>& explicitDir, const fs::path& executableDir) {
    if (explicitDir && !explicitDir->empty())
        return EnsureFolder(*explicitDir);
    if (const auto env = EnvOrEmpty("PELKO_DATA_DIR"); !env.empty())
        return EnsureFolder(env);
    std::error_code ec;
    if (!executableDir.empty() && fs::exists(executableDir / DATA_INI_NAME, ec))
        return executableDir;
    return EnsureFolder(XdgDataFolder());
}

fs::path ExecutableDir() {
    std::error_code ec;
    const auto exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec)
        return fs::current_path();
    return exe.parent_path();
}

fs::path SampleArchivePath() {
    const fs::path exeDir = ExecutableDir();
    const fs::path candidates[] = {
        exeDir / "sample_draws.csv",
        exeDir / ".." / "share" / "pelko6x45" / "sample_draws.csv",
#ifdef PELKO_SOURCE_SHARE_DIR
        fs::path(PELKO_SOURCE_SHARE_DIR) / "sample_draws.csv",
#endif
    };
    std::error_code ec;
    for (const auto& c : candidates)
        if (fs::exists(c, ec))
            return fs::weakly_canonical(c, ec);
    return {};
}

} // namespace pelko
