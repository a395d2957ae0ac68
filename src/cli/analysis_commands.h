#pragma once

#include "cli/cli_context.h"

#include <CLI/CLI.hpp>

namespace pelko {

// analysis repeats | sums | card | layout | week: the tables of the analysis views as CSV
void AddAnalysisCommands(CLI::App& app, TCliContext& ctx);

// The read-only workspace once its archive was read; TCommandAborted (the box said why)
// when the archive could not be loaded.
Workspace& LoadedArchive(TCliContext& ctx);
// TCommandError unless the offset names a draw of the archive (0 .. size - 1).
void CheckDrawsOffset(const TDrawsArray& draws, int offset);

} // namespace pelko
