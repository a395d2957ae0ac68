#pragma once

#include "cli/cli_context.h"

#include <CLI/CLI.hpp>

namespace pelko {

// config show
void AddConfigCommands(CLI::App& app, TCliContext& ctx);

} // namespace pelko
