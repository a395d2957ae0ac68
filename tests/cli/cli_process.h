#pragma once
// Runs a shell command line (the command-line tool, redirections, `timeout` ...) and
// collects its standard output and exit code.

#include <array>
#include <cstdio>
#include <string>
#include <sys/wait.h>

namespace pelko::test {

struct TProcessRun {
    int code = -1; // -1 when it did not start or did not exit normally
    std::string out;
};

inline TProcessRun RunShell(const std::string& commandLine) {
    TProcessRun run;
    FILE* p = popen(commandLine.c_str(), "r");
    if (!p)
        return run;
    std::array<char, 4096> buf{};
    std::size_t n;
    while ((n = fread(buf.data(), 1, buf.size(), p)) > 0)
        run.out.append(buf.data(), n);
    const int status = pclose(p);
    run.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

// The tool with its arguments, standard error going to the file.
inline std::string CliCommand(const std::string& args, const std::string& errFile) {
    return std::string("'") + PELKO_CLI_PATH + "' " + args + " 2>'" + errFile + "'";
}

} // namespace pelko::test
