#include "cli/cli_context.h"

#include "core/text_forms.h"
#include "platform/data_folder.h"

#include <cstdlib>

namespace pelko {

Workspace& TCliContext::ws() {
    return Open(TDataAccess::Write);
}

Workspace& TCliContext::reader() {
    return Open(TDataAccess::ReadOnly);
}

namespace {
// PELKO_LOCK_WAIT_MS shortens (or lengthens) the wait for a busy data folder.
std::chrono::milliseconds LockWait() {
    int ms = 0;
    if (const char* text = std::getenv("PELKO_LOCK_WAIT_MS"); text && TryStrToInt(text, ms) && ms >= 0)
        return std::chrono::milliseconds(ms);
    return TCliContext::LOCK_WAIT;
}
} // namespace

Workspace& TCliContext::Open(TDataAccess access) {
    if (!ws_) {
        std::optional<std::filesystem::path> dir;
        if (!dataDir.empty())
            dir = dataDir;
        ws_ = std::make_unique<Workspace>(host_, ResolveDataFolder(dir, ExecutableDir()), access);
        // The lock comes before any load: what is loaded stays what is saved over.
        if (!ws_->LockDataFolder(LockWait())) throw TCommandAborted();
        ws_->Open(false); // the commands that need the combination list make it
    }
    return *ws_;
}

} // namespace pelko
