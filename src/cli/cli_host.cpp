#include "cli/cli_host.h"

#include <atomic>
#include <csignal>
#include <cstdio>

namespace pelko {

namespace {
std::atomic<bool> interrupted{false};
extern "C" void OnInterrupt(int) { interrupted = true; }
} // namespace

bool TCliHost::StopRequested() {
    return interrupted.load();
}

void TCliHost::WatchInterrupt() {
    interrupted = false;
    std::signal(SIGINT, OnInterrupt);
}

void TCliHost::StatusText(const std::string& text) {
    if (verbose && !text.empty())
        std::fprintf(stderr, "%s\n", text.c_str());
}

void TCliHost::ErrorBox(const std::string& text) {
    ++errors_;
    std::fprintf(stderr, "Ошибка: %s\n", text.c_str());
}

void TCliHost::InfoBox(const std::string& text) {
    std::printf("%s\n", text.c_str());
}

void TCliHost::WarningBox(const std::string& text, const std::string& caption) {
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
}

bool TCliHost::AskYesNo(const std::string& text, const std::string& /*caption*/,
                        bool /*defaultYes*/) {
    // The person asked for the operation: the question is shown with its answer.
    std::fprintf(stderr, "%s Да\n", text.c_str());
    return true;
}

void TCliHost::Remark(const std::string& text) {
    std::fprintf(stderr, "%s\n", text.c_str());
}

void TCliHost::LogLine(const std::string& line) {
    if (verbose)
        std::fprintf(stderr, "%s\n", line.c_str());
}

} // namespace pelko
