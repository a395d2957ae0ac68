#pragma once

#include "cli/cli_context.h"

#include <CLI/CLI.hpp>

namespace pelko {

// draws list | import | export | add | delete
void AddDrawsCommands(CLI::App& app, TCliContext& ctx);

} // namespace pelko
