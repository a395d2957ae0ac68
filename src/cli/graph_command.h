#pragma once

#include "cli/cli_context.h"

#include <CLI/CLI.hpp>

namespace pelko {

// graph CODE --draws N [--offset K] --out FILE.csv|FILE.png|FILE.svg
void AddGraphCommand(CLI::App& app, TCliContext& ctx);

} // namespace pelko
