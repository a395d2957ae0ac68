#pragma once

#include "cli/cli_context.h"

#include <CLI/CLI.hpp>

namespace pelko {

// methods | stats | prefetch | filter
void AddStatsCommands(CLI::App& app, TCliContext& ctx);

} // namespace pelko
