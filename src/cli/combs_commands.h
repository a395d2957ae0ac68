#pragma once

#include "cli/cli_context.h"

#include <CLI/CLI.hpp>

namespace pelko {

// combs gen [--mode M] [--params TEXT] [--exclude N] [--offset K] [--out FILE.lcv]
// combs unique FILE.lcv
void AddCombsCommands(CLI::App& app, TCliContext& ctx);

} // namespace pelko
