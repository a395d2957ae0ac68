#pragma once
// Where the program keeps its files (archive, ini, stakes, scenarios, prefetch files...).

#include <filesystem>
#include <optional>
#include <string>

namespace pelko {

inline constexpr const char* DATA_INI_NAME = "Pelko_6x45.ini";

// The data folder: the explicit folder when given (--data-dir), else $PELKO_DATA_DIR, else
// the executable's folder when it holds a Pelko_6x45.ini (portable install), else
// $XDG_DATA_HOME/Pelko_6x45 (or ~/.local/share/Pelko_6x45). The folder is created when
// missing; failure to create it throws std::runtime_error.
std::filesystem::path ResolveDataFolder(const std::optional<std::filesystem::path>& explicitDir,
                                        const std::filesystem::path& executableDir);

// The folder of the running executable (from /proc/self/exe), or the current folder.
std::filesystem::path ExecutableDir();

// The bundled sample archive (CSV), searched beside the executable and in the install
// tree; empty when not found.
std::filesystem::path SampleArchivePath();

} // namespace pelko
