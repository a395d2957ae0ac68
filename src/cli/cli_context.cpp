#include "cli/cli_context.h"

#include "platform/data_folder.h"

namespace pelko {

Workspace& TCliContext::ws() {
    if (!ws_) {
        std::optional<std::filesystem::path> dir;
        if (!dataDir.empty())
            dir = dataDir;
        ws_ = std::make_unique<Workspace>(host_, ResolveDataFolder(dir, ExecutableDir()));
        ws_->Open(false); // the commands that need the combination list make it
    }
    return *ws_;
}

} // namespace pelko
