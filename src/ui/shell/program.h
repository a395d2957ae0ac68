#pragma once
// The window program from its command line to its exit code.

namespace pelko {

int RunProgram(int argc, char** argv);

} // namespace pelko
