#pragma once

#include "cli/cli_context.h"

#include <CLI/CLI.hpp>

namespace pelko {

// stakes list | add | check | delete, ratings list | rebuild, regulars list | test,
// systems list
void AddStakesCommands(CLI::App& app, TCliContext& ctx);

} // namespace pelko
