#include "request_log.h"

#include <stdexcept>

namespace pelko::site {

TRequestLog::TRequestLog(const std::string& path) {
    if (path.empty()) return;
    file_ = std::fopen(path.c_str(), "a");
    if (!file_) throw std::runtime_error("cannot open the log " + path);
}

TRequestLog::~TRequestLog() {
    if (file_) std::fclose(file_);
}

void TRequestLog::Append(const std::string& line) {
    if (!file_) return;
    const std::lock_guard lock(mutex_);
    std::fputs((line + "\n").c_str(), file_);
    std::fflush(file_);
}

} // namespace pelko::site
