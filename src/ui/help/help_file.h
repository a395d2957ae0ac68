#pragma once
// The help pages: "help/index.html" beside the executable or in the install tree's share
// folder. F1 is enabled only when they are there.

#include <filesystem>

namespace pelko {

// The start page of the help, or empty when no help pages are installed.
std::filesystem::path HelpFile();

} // namespace pelko
