// Speed and memory of the combination list against a memcpy of the full list (48.9 MB)
// measured in the same run: generation, backup, exclusion of 1000 draws, ".lcv" save and
// load, the cost of per-cent progress, and the memory of the list with its undo copy.

#include "app/busy_state.h"
#include "app/comb_lists.h"
#include "core/atomic_file.h"
#include "core/comb_files.h"
#include "core/comb_generation.h"
#include "core/draw_csv.h"
#include "core/exclude_draws.h"
#include "core/format.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>

namespace {

using namespace pelko;

constexpr std::size_t FULL_BYTES = sizeof(TComb) * COMBS_TOTAL; // 48,870,360

class TQuietHost : public Host {
  public:
    void StatusText(const std::string& text) override { last = text; }
    void ErrorBox(const std::string& text) override {
        std::fprintf(stderr, "error: %s\n", text.c_str());
    }
    void InfoBox(const std::string&) override {}
    void WarningBox(const std::string&, const std::string&) override {}
    bool AskYesNo(const std::string&, const std::string&, bool d) override { return d; }
    std::string last;
};

// Peak resident memory so far, in kB (VmHWM of /proc/self/status; 0 where unknown).
long PeakRssKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
    return 0;
}

const TDrawsArray& SampleDraws() {
    static const TDrawsArray draws = [] {
        TDrawsArray d;
        ImportDrawsCsv(ReadWholeFile(std::filesystem::path(PELKO_SHARE_DIR) / "sample_draws.csv"),
                       d);
        return d;
    }();
    return draws;
}

struct TState {
    TQuietHost host;
    TBusyState busy{host};
    TCombLists lists{host, busy};
    std::unique_ptr<char[]> from{new char[FULL_BYTES]};
    std::unique_ptr<char[]> to{new char[FULL_BYTES]};
    std::filesystem::path lcv = std::filesystem::temp_directory_path() / "pelko_bench_full.lcv";

    TState() {
        std::memset(from.get(), 7, FULL_BYTES);
        std::memset(to.get(), 0, FULL_BYTES);
        lists.ReserveAll();
        lists.GenerateCombs(false, TGenerateParams{});
        lists.BackupCombs(false);
    }
    ~TState() {
        std::error_code ignored;
        std::filesystem::remove(lcv, ignored);
    }
};

TState& State() {
    static TState state;
    return state;
}

void BM_MemcpyBaseline(benchmark::State& st) {
    TState& s = State();
    for (auto _ : st) {
        std::memcpy(s.to.get(), s.from.get(), FULL_BYTES);
        benchmark::ClobberMemory();
    }
}

void BM_GenerateFull(benchmark::State& st) {
    TState& s = State();
    for (auto _ : st) {
        GenerateCombList(s.lists.List, GEN_ALL, TByteSet{});
        benchmark::ClobberMemory();
    }
}

void BM_BackupCombs(benchmark::State& st) {
    TState& s = State();
    GenerateCombList(s.lists.List, GEN_ALL, TByteSet{});
    for (auto _ : st) {
        s.lists.BackupCombs(false);
        benchmark::ClobberMemory();
    }
}

// The whole operation, status texts every 1 % included.
void BM_ExcludeRecentDraws1000(benchmark::State& st) {
    TState& s = State();
    GenerateCombList(s.lists.Undo, GEN_ALL, TByteSet{});
    for (auto _ : st)
        s.lists.ExcludeRecentDraws(1000, SampleDraws(), 0);
    st.counters["kept"] = static_cast<double>(s.lists.List.Count());
}

// The same pass without any progress report: the difference is the cost of progress.
void BM_ExcludeWithoutProgress(benchmark::State& st) {
    TState& s = State();
    GenerateCombList(s.lists.Undo, GEN_ALL, TByteSet{});
    const TDrawWindow window = RecentDrawsWindow(SampleDraws(), 0, 1000);
    for (auto _ : st)
        ExcludeDrawsFromCombs(s.lists.Undo.Data(), s.lists.Undo.Count(), SampleDraws(), window,
                              s.lists.List);
}

void BM_SaveLcv(benchmark::State& st) {
    TState& s = State();
    GenerateCombList(s.lists.List, GEN_ALL, TByteSet{});
    for (auto _ : st)
        SaveCombsFile(s.lcv, s.lists.List);
    st.counters["bytes"] = static_cast<double>(std::filesystem::file_size(s.lcv));
}

void BM_LoadLcv(benchmark::State& st) {
    TState& s = State();
    if (!std::filesystem::exists(s.lcv)) {
        GenerateCombList(s.lists.List, GEN_ALL, TByteSet{});
        SaveCombsFile(s.lcv, s.lists.List);
    }
    for (auto _ : st)
        LoadCombsFile(s.lcv, s.lists.List);
    if (s.lists.List.Count() != static_cast<std::size_t>(COMBS_TOTAL))
        st.SkipWithError("the loaded list is not the full list");
    st.counters["bytes"] = static_cast<double>(std::filesystem::file_size(s.lcv));
}

double Smallest(const std::vector<double>& v) {
    return *std::min_element(v.begin(), v.end());
}

// Several short repetitions, judged by the fastest: other work on a shared machine only
// ever makes a repetition slower.
#define PELKO_BENCH(fn)                                                                            \
    BENCHMARK(fn)                                                                                  \
        ->Unit(benchmark::kMillisecond)                                                            \
        ->MinTime(0.3)                                                                             \
        ->Repetitions(7)                                                                           \
        ->ComputeStatistics("min", Smallest)                                                       \
        ->ReportAggregatesOnly(true)

PELKO_BENCH(BM_MemcpyBaseline);
PELKO_BENCH(BM_GenerateFull);
PELKO_BENCH(BM_BackupCombs);
PELKO_BENCH(BM_ExcludeRecentDraws1000);
PELKO_BENCH(BM_ExcludeWithoutProgress);
PELKO_BENCH(BM_SaveLcv);
PELKO_BENCH(BM_LoadLcv);

// Times per iteration in ms. Ratios use CPU time: the machines we run on are shared, and
// a budget is about this program's work, not about the scheduler; wall time is shown too.
struct TResult {
    double Ms = 0;     // CPU time
    double WallMs = 0; // real time
    double Bytes = 0;  // bytes handled per iteration, when the benchmark counts them
};

// Collects every run's time while the console shows the usual table.
class TCollectingReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Aggregate || run.aggregate_name != "min") continue;
            TResult& r = results[run.run_name.function_name];
            r.Ms = run.GetAdjustedCPUTime(); // in the benchmark's unit, ms here
            r.WallMs = run.GetAdjustedRealTime();
            const auto bytes = run.counters.find("bytes");
            if (bytes != run.counters.end()) r.Bytes = bytes->second.value;
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, TResult> results;
};

bool failed = false;

void Verdict(const char* name, double value, const char* unit, double budget, bool atMost,
             const std::string& extra = {}) {
    const bool ok = atMost ? value <= budget : value >= budget;
    failed |= !ok;
    std::printf("%-32s %9.2f %-4s (budget %s %.2f %s) %s%s\n", name, value, unit,
                atMost ? "<=" : ">=", budget, unit, ok ? "OK  " : "FAIL", extra.c_str());
}

// Memory of the list and its undo copy, full, measured before anything else is allocated.
long MeasureListMemoryKb() {
    const long base = PeakRssKb();
    {
        TQuietHost host;
        TBusyState busy(host);
        TCombLists lists(host, busy);
        lists.ReserveAll();
        lists.GenerateCombs(true, TGenerateParams{});
        lists.BackupCombs(true);
        benchmark::DoNotOptimize(lists.Undo.Data());
    }
    return PeakRssKb() - base;
}

} // namespace

int main(int argc, char** argv) {
    const long listKb = MeasureListMemoryKb();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    TCollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    auto& r = reporter.results;
    const double base = r["BM_MemcpyBaseline"].Ms;
    if (base <= 0) {
        std::printf("no baseline measured\n");
        return 1;
    }
    std::printf("\nBaseline: memcpy of %zu bytes = %.2f ms CPU (%.2f ms wall)\n", FULL_BYTES, base,
                r["BM_MemcpyBaseline"].WallMs);
    auto ratio = [&](const char* name, const char* key, double budget) {
        if (!r.count(key)) return;
        Verdict(name, r[key].Ms / base, "x", budget, true,
                Format("  [%.1f ms CPU, %.2f x by wall time]", r[key].Ms,
                       r[key].WallMs / r["BM_MemcpyBaseline"].WallMs));
    };
    auto speed = [&](const char* name, const char* key) {
        if (!r.count(key) || r[key].Bytes <= 0) return;
        Verdict(name, r[key].Bytes / 1e3 / r[key].Ms, "MB/s", 100.0, false,
                Format("  [%.0f MB/s by wall time]", r[key].Bytes / 1e3 / r[key].WallMs));
    };
    ratio("full generation", "BM_GenerateFull", 3.0);
    ratio("BackupCombs of the full list", "BM_BackupCombs", 1.5);
    ratio("ExcludeRecentDraws N=1000", "BM_ExcludeRecentDraws1000", 20.0);
    if (r.count("BM_ExcludeRecentDraws1000") && r.count("BM_ExcludeWithoutProgress")) {
        const double with = r["BM_ExcludeRecentDraws1000"].Ms;
        const double without = r["BM_ExcludeWithoutProgress"].Ms;
        Verdict("progress cost in the exclusion", 100.0 * (with - without) / without, "%", 5.0,
                true);
    }
    speed("save .lcv", "BM_SaveLcv");
    speed("load .lcv", "BM_LoadLcv");
    if (listKb > 0)
        Verdict("peak memory of list + undo", listKb / 1024.0, "MB", 120.0, true);
    else
        std::printf("peak memory of list + undo: not measurable here\n");
    return failed ? 1 : 0;
}
