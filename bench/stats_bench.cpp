// Speed of the statistics engine against two baselines measured in the same run:
// B1 = memcpy of the full combination list (48,870,360 bytes) and B2 = one plain pass over
// all 8,145,060 combinations building the histogram of their sums. Filtering by a
// selection and making prefetch files are printed as ratios to them, the statistics table
// in milliseconds. Every case is one line of the tables below; methods that are not
// registered (yet) are skipped.

#include "core/atomic_file.h"
#include "core/comb_generation.h"
#include "core/draw_csv.h"
#include "filters/filter_by_selection.h"
#include "stats/families/families.h"
#include "stats/prefetch_files.h"
#include "stats/stat_list.h"
#include "stats/stat_table.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace pelko;

constexpr std::size_t FULL_BYTES = sizeof(TComb) * COMBS_TOTAL; // 48,870,360

// --- the cases: one line each ---

struct TFilterCase {
    const char* Code;
    int Values;   // how many rows of the table are selected (the first ones)
    double Budget; // x B1
};
const TFilterCase FILTER_CASES[] = {
    {"NUMS", 1, 10}, {"NUMS", 20, 12}, {"EVEN", 1, 10}, {"EVEN", 4, 12}, {"SUMS", 1, 10},
    {"SUMS", 20, 12}, {"DIFM", 1, 10}, {"DIFM", 20, 12},
};

struct TPrefetchCase {
    const char* Code;
    double Budget; // x B2
};
// Methods not named here get the general budget.
const TPrefetchCase PREFETCH_BUDGETS[] = {{"SUMS", 3}, {"NUMS", 5}};
constexpr double PREFETCH_GENERAL_BUDGET = 20;
// Rows of the class table (TStatClassInfo::Position) of the number, sum and difference
// families: their methods are timed (prefetch for those with flag N, the table for all).
constexpr std::pair<int, int> TIMED_POSITIONS[] = {{0, 20}, {74, 76}, {101, 102}};

bool IsTimed(const TStatClassInfo& cls) {
    for (const auto& [lo, hi] : TIMED_POSITIONS)
        if (cls.Position >= lo && cls.Position <= hi)
            return true;
    return false;
}

constexpr double TABLE_BUDGET_MS = 5.0; // 1000 draws, texts and sort
constexpr int TABLE_DRAWS = 1000;
constexpr double PREFETCH_ALL_BUDGET_S = 5.0;

// --- shared state ---

struct TState {
    TDrawsArray draws;
    TStatList list;
    TCombList full;
    TCombList out;
    std::unique_ptr<char[]> from{new char[FULL_BYTES]};
    std::unique_ptr<char[]> to{new char[FULL_BYTES]};

    TState() : list(draws, TConfigData{}) {
        ImportDrawsCsv(ReadWholeFile(std::filesystem::path(PELKO_SHARE_DIR) / "sample_draws.csv"), draws);
        list.Build();
        std::memset(from.get(), 7, FULL_BYTES);
        std::memset(to.get(), 0, FULL_BYTES);
        full.Reserve(COMBS_TOTAL);
        out.Reserve(COMBS_TOTAL);
        GenerateCombList(full, GEN_ALL, TByteSet{});
    }
};

TState& State() {
    static TState state;
    return state;
}

void BM_B1_Memcpy(benchmark::State& st) {
    TState& s = State();
    for (auto _ : st) {
        std::memcpy(s.to.get(), s.from.get(), FULL_BYTES);
        benchmark::ClobberMemory();
    }
}

void BM_B2_SumHistogram(benchmark::State& st) {
    TState& s = State();
    for (auto _ : st) {
        std::int32_t histogram[SUM_MAX + 1] = {};
        for (const TComb& c : s.full)
            ++histogram[c[0] + c[1] + c[2] + c[3] + c[4] + c[5]];
        benchmark::DoNotOptimize(histogram);
    }
}

// The selection: the first `values` rows of the method's table over TABLE_DRAWS draws.
TStatDrawArray SelectionOf(int method, int values) {
    TState& s = State();
    TStatTable table(s.list);
    TStatTableQuery q;
    q.MethodIndex = method;
    q.DrawsLen = TABLE_DRAWS;
    table.ComputeStatTable(q, true);
    table.SortBy(scCount, true); // the most frequent values, as a user would pick them
    for (std::size_t i = 0; i < table.RowCount() && static_cast<int>(i) < values; ++i)
        table.SelectRow(i);
    return table.SelectedItems();
}

void RunFilter(benchmark::State& st, int method, int values) {
    TState& s = State();
    const TStatDrawArray selection = SelectionOf(method, values);
    std::unique_ptr<TCustomStat> stat = s.list.CreateStat(method);
    TFilterPass pass;
    pass.RefIndex = FilterRefIndex(s.draws.size(), 0);
    for (auto _ : st)
        FilterBySelection(*stat, selection, pass, s.full, s.out);
    st.counters["kept"] = static_cast<double>(s.out.Count());
}

void RunPrefetch(benchmark::State& st, int method) {
    TState& s = State();
    for (auto _ : st) {
        std::unique_ptr<TCustomStat> stat = s.list.CreateStat(method);
        TPrefetchData data = ComputePrefetch(*stat);
        benchmark::DoNotOptimize(PrefetchToBytes(data));
    }
}

void RunTable(benchmark::State& st, int method) {
    TState& s = State();
    TStatTable table(s.list);
    table.SortBy(scWeight, true);
    TStatTableQuery q;
    q.MethodIndex = method;
    q.DrawsLen = TABLE_DRAWS;
    q.DrawsOffset = 10; // so the "Факт" column has draws to look into
    for (auto _ : st)
        table.ComputeStatTable(q, true);
    st.counters["rows"] = static_cast<double>(table.RowCount());
}

struct TResult {
    double Ms = 0;    // real time per iteration
    double CpuMs = 0; // CPU time per iteration: steadier than real time on a shared machine
};

class TCollectingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            results[run.run_name.function_name] = {run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, TResult> results;
};

bool failed = false;

void Verdict(const std::string& name, double value, const char* unit, double budget, const std::string& extra = {}) {
    const bool ok = value <= budget;
    failed |= !ok;
    std::printf("%-40s %9.2f %-3s (budget <= %.2f %s)%s %s\n", name.c_str(), value, unit, budget, unit, extra.c_str(),
                ok ? "OK" : "FAIL");
}

std::string Ms(double ms) {
    char text[32];
    std::snprintf(text, sizeof text, "  [%.2f ms]", ms);
    return text;
}

double PrefetchBudget(const std::string& code) {
    for (const TPrefetchCase& c : PREFETCH_BUDGETS)
        if (code == c.Code)
            return c.Budget;
    return PREFETCH_GENERAL_BUDGET;
}

// "prefetch --force --groups all" in a fresh folder, once, over the methods of `list`.
double MeasureAllPrefetchs(const TStatList& list, const char* what) {
    const auto dir = std::filesystem::temp_directory_path() / "pelko_bench_prefetch";
    std::filesystem::remove_all(dir);
    TPrefetchFiles files(list, dir);
    const auto start = std::chrono::steady_clock::now();
    const TPrefetchBatchResult result = files.CreateAllPrefetchs(true, ALL_STAT_GROUPS, false, nullptr);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::filesystem::remove_all(dir);
    std::printf("prefetch --force --groups all, %s: %d files in %.2f s (wall)\n", what, result.Created, seconds);
    return seconds;
}

} // namespace

int main(int argc, char** argv) {
    TState& s = State();
    benchmark::RegisterBenchmark("B1_Memcpy", BM_B1_Memcpy)->Unit(benchmark::kMillisecond)->MinTime(1.0);
    benchmark::RegisterBenchmark("B2_SumHistogram", BM_B2_SumHistogram)->Unit(benchmark::kMillisecond)->MinTime(1.0);

    std::vector<std::pair<std::string, double>> filterBudgets, prefetchBudgets;
    for (const TFilterCase& c : FILTER_CASES) {
        const int method = s.list.IndexOfCode(c.Code);
        if (method < 0)
            continue;
        const std::string name = std::string("Filter/") + c.Code + "/" + std::to_string(c.Values);
        const int values = c.Values;
        benchmark::RegisterBenchmark(name.c_str(), [method, values](benchmark::State& st) { RunFilter(st, method, values); })
            ->Unit(benchmark::kMillisecond)
            ->MinTime(0.5);
        filterBudgets.emplace_back(name, c.Budget);
    }
    std::vector<std::string> tableNames;
    for (int method = 0; method < s.list.Count(); ++method) {
        const TStatMethod& m = s.list.Items(method);
        if (!IsTimed(*m.StatClass))
            continue;
        const std::string code = s.list.MethodCode(m);
        if (m.StatClass->SupportsCombinations()) {
            const std::string name = "CreatePrefetch/" + code;
            benchmark::RegisterBenchmark(name.c_str(), [method](benchmark::State& st) { RunPrefetch(st, method); })
                ->Unit(benchmark::kMillisecond)
                ->Iterations(2);
            prefetchBudgets.emplace_back(name, PrefetchBudget(code));
        }
        const std::string table = "Table1000/" + code;
        benchmark::RegisterBenchmark(table.c_str(), [method](benchmark::State& st) { RunTable(st, method); })
            ->Unit(benchmark::kMillisecond)
            ->MinTime(0.2);
        tableNames.push_back(table);
    }

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    TCollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    auto& r = reporter.results;
    const double b1 = r["B1_Memcpy"].CpuMs, b2 = r["B2_SumHistogram"].CpuMs;
    if (b1 <= 0 || b2 <= 0) {
        std::printf("baselines not measured\n");
        return 1;
    }
    std::printf("\nRatios of CPU times. B1: memcpy of %zu bytes = %.2f ms; B2: sum histogram of %d combinations = "
                "%.2f ms\n",
                FULL_BYTES, b1, COMBS_TOTAL, b2);
    for (const auto& [name, budget] : filterBudgets)
        if (r.count(name))
            Verdict(name, r[name].CpuMs / b1, "xB1", budget, Ms(r[name].CpuMs));
    for (const auto& [name, budget] : prefetchBudgets)
        if (r.count(name))
            Verdict(name, r[name].CpuMs / b2, "xB2", budget, Ms(r[name].CpuMs));
    for (const std::string& name : tableNames)
        if (r.count(name))
            Verdict(name, r[name].CpuMs, "ms", TABLE_BUDGET_MS);
    if (std::getenv("PELKO_BENCH_PREFETCH_ALL")) {
        // the budget covers the number, sum and difference families; every family for the record
        TStatClassTable timed;
        RegisterNumberStats(timed);
        RegisterSumStats(timed);
        RegisterDifferenceStats(timed);
        TStatList timedList(s.draws, TConfigData{}, timed);
        timedList.Build();
        Verdict("prefetch --force --groups all (num/sum/dif)", MeasureAllPrefetchs(timedList, "numbers, sums, differences"),
                "s", PREFETCH_ALL_BUDGET_S);
        MeasureAllPrefetchs(s.list, "every registered family");
    } else
        std::printf("(set PELKO_BENCH_PREFETCH_ALL=1 to time \"prefetch --force --groups all\")\n");
    return failed ? 1 : 0;
}
