#include "ui/help/help_file.h"

#include "platform/data_folder.h"

#include <system_error>

namespace pelko {

std::filesystem::path HelpFile() {
    const std::filesystem::path exeDir = ExecutableDir();
    const std::filesystem::path candidates[] = {
        exeDir / "help" / "index.html",
        exeDir / ".." / "share" / "pelko6x45" / "help" / "index.html",
    };
    std::error_code ec;
    for (const auto& candidate : candidates)
        if (std::filesystem::is_regular_file(candidate, ec))
            return std::filesystem::weakly_canonical(candidate, ec);
    return {};
}

} // namespace pelko
