#pragma once
// One line per request, appended and flushed at once: tests read the file while the site runs.

#include <cstdio>
#include <mutex>
#include <string>

namespace pelko::site {

class TRequestLog {
  public:
    // An empty path keeps no log. Throws std::runtime_error when the file cannot be opened.
    explicit TRequestLog(const std::string& path);
    ~TRequestLog();
    TRequestLog(const TRequestLog&) = delete;
    TRequestLog& operator=(const TRequestLog&) = delete;

    void Append(const std::string& line);

  private:
    std::FILE* file_ = nullptr;
    std::mutex mutex_;
};

} // namespace pelko::site
