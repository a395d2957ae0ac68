#include "platform/temp_files.h"

#include <string>

namespace pelko {

namespace {

bool IsSaveLeftover(const std::string& name) {
    // ".Pelko_6x45.ldr.tmpAb12Cd", ".keep.lcv.tmp123456"; and the stakes rewrite's file.
    return (name.size() > 5 && name[0] == '.' && name.find(".tmp", 1) != std::string::npos) ||
           name == "Pelko_6x45.~tmp";
}

int RemoveIn(const std::filesystem::path& folder) {
    int removed = 0;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
        std::error_code fileEc;
        if (!entry.is_regular_file(fileEc) || !IsSaveLeftover(entry.path().filename().string()))
            continue;
        if (std::filesystem::remove(entry.path(), fileEc)) ++removed;
    }
    return removed;
}

} // namespace

int RemoveStaleTempFiles(const std::filesystem::path& dataFolder) {
    return RemoveIn(dataFolder) + RemoveIn(dataFolder / "Prefetchs") +
           RemoveIn(dataFolder / "Systems");
}

} // namespace pelko
