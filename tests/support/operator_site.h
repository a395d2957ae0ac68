#pragma once
// The local operator site (tools/operator-site) as a child process for one test: started with
// the test's switches on a free port of 127.0.0.1, always with a request log in a folder of
// its own, and ended when the object goes.

#include "support/temp_dir.h"

#include <chrono>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace pelko::test {

class TOperatorSite {
  public:
    // Waits up to 10 s for the "listening on URL" line; throws std::runtime_error when it does
    // not come (the program refused its switches, or hangs).
    explicit TOperatorSite(const std::vector<std::string>& args = {});
    ~TOperatorSite();
    TOperatorSite(const TOperatorSite&) = delete;
    TOperatorSite& operator=(const TOperatorSite&) = delete;

    static const char* ProgramPath() { return PELKO_OPERATOR_SITE_PATH; }

    // "http://127.0.0.1:PORT" or "https://127.0.0.1:PORT".
    const std::string& Url() const { return url_; }
    int Port() const { return port_; }
    // Lines of the request log so far: "METHOD PATH?QUERY status=N gzip=0|1".
    std::vector<std::string> LogLines() const;
    // Waits for the program to end by itself: its exit code (128 + signal when killed), or
    // nullopt when it still runs after `timeout`.
    std::optional<int> WaitForExit(std::chrono::milliseconds timeout);

  private:
    void Spawn(const std::vector<std::string>& args);
    std::string ReadListeningLine();
    void Kill();

    TTempDir dir_;
    pid_t pid_ = -1;
    int output_ = -1; // the child's standard output
    std::string url_;
    int port_ = 0;
};

} // namespace pelko::test
