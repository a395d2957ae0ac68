// Speed of a scenario back-test: bench/scenarios/backtest.lsc over the last 100 draws of
// the sample archive, with the wall time split between start lists, statistics tables,
// filtering passes and stakes, and the cost of a "FULL" start list against a memcpy of
// the full list (48,870,360 bytes) measured in the same run.

#include "app/scenario_runner.h"
#include "app/script_desk.h"
#include "app/stakes_workspace.h"
#include "app/workspace.h"
#include "core/lottery.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

#include <unistd.h>

namespace {

using namespace pelko;
using Clock = std::chrono::steady_clock;

constexpr int TEST_DRAWS = 100;
constexpr double BACKTEST_BUDGET_S = 60;
constexpr double OUTSIDE_SHARE_BUDGET = 0.15;
constexpr double FULL_LIST_BUDGET = 2.0; // x memcpy
constexpr std::size_t FULL_BYTES = sizeof(TComb) * COMBS_TOTAL;

class TQuietHost : public Host {
  public:
    void StatusText(const std::string&) override {}
    void ErrorBox(const std::string& text) override { std::fprintf(stderr, "error: %s\n", text.c_str()); }
    void InfoBox(const std::string&) override {}
    void WarningBox(const std::string& text, const std::string&) override {
        std::fprintf(stderr, "warning: %s\n", text.c_str());
    }
    bool AskYesNo(const std::string&, const std::string&, bool) override { return true; }
};

double Seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

double BestMemcpy() {
    std::unique_ptr<char[]> from(new char[FULL_BYTES]), to(new char[FULL_BYTES]);
    std::memset(from.get(), 1, FULL_BYTES);
    std::memset(to.get(), 2, FULL_BYTES);
    double best = 1e9;
    for (int i = 0; i < 7; ++i) {
        const auto t0 = Clock::now();
        std::memcpy(to.get(), from.get(), FULL_BYTES);
        best = std::min(best, Seconds(Clock::now() - t0));
        if (to[FULL_BYTES / 2] != 1)
            std::abort();
    }
    return best;
}

double BestFullStartList(TScenarioRunner& runner) {
    TScriptOptions full;
    double best = 1e9;
    for (int i = 0; i < 7; ++i) {
        const auto t0 = Clock::now();
        runner.PrepareStartList(full);
        best = std::min(best, Seconds(Clock::now() - t0));
    }
    return best;
}

bool Report(const char* what, double value, double budget, const char* unit) {
    const bool ok = value <= budget;
    std::printf("  %-58s %9.3f %-3s (budget %g) %s\n", what, value, unit, budget, ok ? "OK" : "FAIL");
    return ok;
}

} // namespace

int main() {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("pelko_scenarios_bench_" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    bool ok = true;
    {
        TQuietHost host;
        Workspace ws(host, folder);
        ws.Open(false);
        if (ws.ImportDrawsCsv(std::filesystem::path(PELKO_SHARE_DIR) / "sample_draws.csv") <= 0 ||
            !ws.StartStakes() ||
            !ws.Script().LoadScript(std::filesystem::path(PELKO_BENCH_DIR) / "scenarios" / "backtest.lsc", false)) {
            std::fprintf(stderr, "cannot prepare the workspace\n");
            return 2;
        }
        ws.Combs().ReserveAll();
        TScenarioRunner runner(ws);

        const double copy = BestMemcpy();
        const double fullList = BestFullStartList(runner);

        TRunTimings timings;
        runner.MeasureInto(&timings);
        const auto t0 = Clock::now();
        runner.ScriptTest(TEST_DRAWS);
        const double wall = Seconds(Clock::now() - t0);
        const double outside = wall - timings.Filtering - timings.StartLists;

        std::printf("Back-test of backtest.lsc over %d draws (%zu draws in the archive), %d stakes made\n",
                    TEST_DRAWS, ws.Draws().size(), runner.ScriptStakesMade());
        std::printf("  start lists %.2f s, tables %.2f s, filtering passes %.2f s, stakes %.2f s, other %.2f s\n",
                    timings.StartLists, timings.Tables, timings.Filtering, timings.Stakes,
                    wall - timings.StartLists - timings.Tables - timings.Filtering - timings.Stakes);
        std::printf("  memcpy of the full list %.2f ms, \"FULL\" start list %.2f ms\n", copy * 1e3, fullList * 1e3);
        ok &= Report("back-test wall time", wall, BACKTEST_BUDGET_S, "s");
        ok &= Report("share outside filtering passes and start lists", outside / wall, OUTSIDE_SHARE_BUDGET, "");
        ok &= Report("\"FULL\" start list / memcpy of the full list", fullList / copy, FULL_LIST_BUDGET, "x");
    }
    std::filesystem::remove_all(folder);
    return ok ? 0 : 1;
}
