#pragma once

#include "cli/cli_context.h"

#include <CLI/CLI.hpp>

namespace pelko {

// scenario show | add | load | save | run | test
void AddScenarioCommands(CLI::App& app, TCliContext& ctx);

} // namespace pelko
