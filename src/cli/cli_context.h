#pragma once
// What every command of pelko6x45-cli shares: the global options and the workspace, opened
// on first use over the chosen data folder.

#include "app/workspace.h"
#include "cli/cli_host.h"

#include <chrono>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

namespace pelko {

// A failure that ends the command with exit code 1 after its message is printed.
class TCommandError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The command ends with exit code 1; its message was shown already.
class TCommandAborted : public std::runtime_error {
public:
    TCommandAborted() : std::runtime_error("") {}
};

class TCliContext {
public:
    std::string dataDir; // --data-dir

    TCliHost& host() { return host_; }
    // Opens the workspace (parameters and archive) on first use, holding the data folder's
    // lock for the whole command: for the commands that change files of the folder. Throws
    // TCommandError when another program keeps the folder longer than LOCK_WAIT.
    Workspace& ws();
    // The same for the commands that only read: no lock; nothing is created or saved.
    Workspace& reader();
    static constexpr std::chrono::milliseconds LOCK_WAIT{10000};
    // Exit code after a command: 1 when an error box was shown.
    int ExitCode() const { return host_.ErrorCount() > 0 ? 1 : 0; }

private:
    Workspace& Open(TDataAccess access);

    TCliHost host_;
    std::unique_ptr<Workspace> ws_;
};

} // namespace pelko
