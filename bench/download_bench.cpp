// Speed of the draw download: the whole sample archive (18,930 draws, 379 chunks of 50)
// fetched from the local operator site into an empty data folder, each chunk saved before
// the next is asked for; and the parsing of one 50-draw archive page. Each is shown with
// its budget and as a share of it.

#include "app/draws_download.h"
#include "app/workspace.h"
#include "core/draw_archive.h"
#include "online/draw_pages.h"
#include "online/http.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

using namespace pelko;
using Clock = std::chrono::steady_clock;

constexpr double DOWNLOAD_BUDGET_S = 15;
constexpr double PARSE_BUDGET_MS = 2;
constexpr std::size_t SAMPLE_DRAWS = 18930;

class TQuietHost : public Host {
  public:
    void StatusText(const std::string&) override {}
    void ErrorBox(const std::string& text) override { std::fprintf(stderr, "error: %s\n", text.c_str()); }
    void InfoBox(const std::string&) override {}
    void WarningBox(const std::string& text, const std::string&) override {
        std::fprintf(stderr, "warning: %s\n", text.c_str());
    }
    bool AskYesNo(const std::string& text, const std::string&, bool) override {
        std::fprintf(stderr, "question: %s\n", text.c_str());
        return false;
    }
};

// The local site as a child process, ended with the object.
class TSite {
  public:
    TSite() {
        int out[2];
        if (::pipe(out) != 0) throw std::runtime_error("pipe");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        std::string archive = PELKO_SHARE_DIR "/sample_draws.csv";
        const char* argv[] = {PELKO_OPERATOR_SITE_PATH, "--archive", archive.c_str(),
                              "--lifetime", "300", nullptr};
        if (posix_spawn(&pid_, argv[0], &actions, nullptr, const_cast<char**>(argv), environ) != 0)
            throw std::runtime_error("the operator site did not start");
        posix_spawn_file_actions_destroy(&actions);
        ::close(out[1]);
        std::string line;
        char c;
        while (::read(out[0], &c, 1) == 1 && c != '\n') line += c;
        ::close(out[0]);
        const std::string prefix = "listening on ";
        if (line.rfind(prefix, 0) != 0) throw std::runtime_error("the operator site said: " + line);
        url_ = line.substr(prefix.size());
    }
    ~TSite() {
        ::kill(pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
    }
    const std::string& Url() const { return url_; }

  private:
    pid_t pid_ = -1;
    std::string url_;
};

double Seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

bool Report(const char* what, double value, double budget, const char* unit) {
    const bool ok = value <= budget;
    std::printf("  %-52s %9.3f %-2s (budget %g %s, %.0f %% of it) %s\n", what, value, unit, budget,
                unit, 100 * value / budget, ok ? "OK" : "FAIL");
    return ok;
}

} // namespace

int main() {
    const TSite site;
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("pelko-download-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    bool ok = true;
    {
        TQuietHost host;
        Workspace ws(host, folder);
        ws.Open(false, true);
        TDownloadRequest request;
        request.Site = site.Url();
        const auto t0 = Clock::now();
        const TDownloadResult result = DrawsDownload(ws, request);
        const double s = Seconds(Clock::now() - t0);
        std::printf("draw download from the local site: %d draws added, %s\n", result.Added,
                    result.Completed ? "complete" : "NOT complete");
        ok = result.Completed && ws.Draws().size() == SAMPLE_DRAWS;
        ok &= Report("download of 18,930 draws (379 chunks, each saved)", s, DOWNLOAD_BUDGET_S, "s");

        const std::string page = HttpGetText(ArchivePageUrl(site.Url(), 5001, 5050), true);
        constexpr int ROUNDS = 2000;
        std::size_t blocks = 0;
        const auto p0 = Clock::now();
        for (int i = 0; i < ROUNDS; ++i) blocks += ParseArchivePage(page, 5001).size();
        const double ms = Seconds(Clock::now() - p0) * 1000 / ROUNDS;
        ok &= blocks == std::size_t(50) * ROUNDS;
        ok &= Report("parsing one 50-draw archive page", ms, PARSE_BUDGET_MS, "ms");
    }
    std::filesystem::remove_all(folder);
    return ok ? 0 : 1;
}
