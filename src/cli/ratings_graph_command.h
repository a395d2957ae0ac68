#pragma once

#include "cli/cli_context.h"

#include <CLI/CLI.hpp>

namespace pelko {

// ratings graph ROW --kind overlap|profit|distribution --out FILE.png|FILE.svg|FILE.csv
void AddRatingsGraphCommand(CLI::App& ratings, TCliContext& ctx);

} // namespace pelko
