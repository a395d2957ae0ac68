// Speed of the statistics engine against two baselines measured in the same run:
// B1 = memcpy of the full combination list (48,870,360 bytes) and B2 = one plain pass over
// all 8,145,060 combinations building the histogram of their sums. Filtering by a
// selection and making prefetch files are printed as ratios to them, the statistics table
// in milliseconds, "prefetch --force --groups all" in seconds of wall time. Every family is
// one line of FAMILIES and takes the budgets of its line of BUDGETS; methods that are not
// registered (yet) are skipped. PELKO_BENCH_NO_PREFETCH_ALL=1 skips the long wall-time runs.

#include "core/atomic_file.h"
#include "core/comb_generation.h"
#include "core/draw_csv.h"
#include "filters/filter_by_selection.h"
#include "stats/families/families.h"
#include "stats/prefetch_files.h"
#include "stats/stat_list.h"
#include "stats/stat_table.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

using namespace pelko;

constexpr std::size_t FULL_BYTES = sizeof(TComb) * COMBS_TOTAL; // 48,870,360

// --- the cases: one line each ---

// The budgets of one set of families.
struct TBudgets {
    const char* Title;
    double FilterB1;     // FilterBySelection over the full list, typical selection, x B1
    double PrefetchB2;   // CreatePrefetch of a method with flag N, x B2
    double TableMs;      // the table over TABLE_DRAWS draws, any method
    double PrefetchAllS; // "prefetch --force --groups all" over this set and every set before it
};
enum TBudgetSet : int { bsEngine, bsPlain, bsLookBack, BUDGET_SETS };
const TBudgets BUDGETS[BUDGET_SETS] = {
    {"numbers, sums, differences", 12, 20, 5, 5},
    {"channels, matrix, segments, sequences, repeats, number combinations, characteristic numbers", 15, 25, 20, 12},
    {"runs and pauses, periods, chains, shredding", 15, 40, 50, 15},
};

struct TFamily {
    const char* Name;
    void (*Register)(TStatClassTable&);
    TBudgetSet Budgets;
    // Filter every method, not only those with flag N, D or P (the pair and triple
    // statistics carry flag S alone but are filtered like the others).
    bool FilterEvery = false;
};
const TFamily FAMILIES[] = {
    {"numbers", RegisterNumberStats, bsEngine},
    {"sums", RegisterSumStats, bsEngine},
    {"differences", RegisterDifferenceStats, bsEngine},
    {"channels", RegisterChannelStats, bsPlain},
    {"matrix", RegisterMatrixStats, bsPlain},
    {"segments", RegisterSegmentStats, bsPlain},
    {"sequences", RegisterSequenceStats, bsPlain},
    {"repeats", RegisterRepeatStats, bsPlain},
    {"number combinations", RegisterNumberCombinationStats, bsPlain, true},
    {"characteristic numbers", RegisterSigmaStats, bsPlain},
    {"runs and pauses", RegisterSerialStats, bsLookBack},
    {"periods", RegisterPeriodStats, bsLookBack},
    {"chains", RegisterChainStats, bsLookBack},
    {"shredding", RegisterShreddingStats, bsLookBack},
};

// The engine's families are filtered on these cases only (the others: every method with a
// typical selection, TypicalRows).
struct TFilterCase {
    const char* Code;
    int Values;   // how many rows of the table are selected (the most frequent ones)
    double Budget; // x B1
};
const TFilterCase FILTER_CASES[] = {
    {"NUMS", 1, 10}, {"NUMS", 20, 12}, {"EVEN", 1, 10}, {"EVEN", 4, 12}, {"SUMS", 1, 10},
    {"SUMS", 20, 12}, {"DIFM", 1, 10}, {"DIFM", 20, 12},
};

// A typical selection: the most frequent third of the table's rows, 1 to 10 of them.
int TypicalRows(std::size_t rows) {
    return std::clamp(static_cast<int>(rows / 3), 1, 10);
}

// Methods whose prefetch budget is tighter than their set's.
struct TPrefetchCase {
    const char* Code;
    double Budget; // x B2
};
const TPrefetchCase PREFETCH_BUDGETS[] = {{"SUMS", 3}, {"NUMS", 5}};

constexpr int TABLE_DRAWS = 1000;

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

// The selection: the `values` most frequent rows of the method's table over TABLE_DRAWS
// draws, as a user would pick them; a typical selection (TypicalRows) when `values` < 0.
TStatDrawArray SelectionOf(int method, int values) {
    TState& s = State();
    TStatTable table(s.list);
    TStatTableQuery q;
    q.MethodIndex = method;
    q.DrawsLen = TABLE_DRAWS;
    table.ComputeStatTable(q, true);
    table.SortBy(scCount, true);
    if (values < 0)
        values = TypicalRows(table.RowCount());
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
    st.counters["selected"] = static_cast<double>(selection.size());
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
        // with --benchmark_repetitions the mean of the repetitions counts, not the last one
        // nor the other aggregates (stddev, cv)
        for (const Run& run : runs) {
            const bool mean = run.run_type == Run::RT_Aggregate && run.aggregate_name == "mean";
            if (run.run_type == Run::RT_Aggregate && !mean)
                continue;
            if (mean || !means.count(run.run_name.function_name))
                results[run.run_name.function_name] = {run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
            if (mean)
                means.insert(run.run_name.function_name);
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, TResult> results;

private:
    std::set<std::string> means;
};

// --- budget lines ---

enum TMeasure : int { mFilter, mPrefetch, mTable, MEASURES };
const char* const MEASURE_NAMES[MEASURES] = {"FilterBySelection", "CreatePrefetch", "table over 1000 draws"};

// One measured case with its budget; Value is filled after the run.
struct TBudgetLine {
    std::string Name; // the benchmark's name
    TMeasure Measure;
    TBudgetSet Set;
    double Budget;
};

int failures = 0;
int passes = 0;

void Verdict(const std::string& name, double value, const char* unit, double budget, const std::string& extra = {}) {
    const bool ok = value <= budget;
    (ok ? passes : failures)++;
    std::printf("%-44s %9.2f %-3s (budget <= %6.2f %s)%-14s %s\n", name.c_str(), value, unit, budget, unit,
                extra.c_str(), ok ? "OK" : "FAIL");
}

std::string Ms(double ms) {
    char text[32];
    std::snprintf(text, sizeof text, "  [%.2f ms]", ms);
    return text;
}

double PrefetchBudget(const std::string& code, TBudgetSet set) {
    for (const TPrefetchCase& c : PREFETCH_BUDGETS)
        if (code == c.Code)
            return c.Budget;
    return BUDGETS[set].PrefetchB2;
}

// Which family each class position belongs to, from the families' own registrations.
std::map<int, const TFamily*> FamilyOfPositions() {
    std::map<int, const TFamily*> result;
    for (const TFamily& family : FAMILIES) {
        TStatClassTable table;
        family.Register(table);
        for (std::size_t i = 0; i < table.size(); ++i)
            result[table[i].Position] = &family;
    }
    return result;
}

// "prefetch --force --groups all" in a fresh folder, once, over the methods of `list`.
double MeasureAllPrefetchs(const TStatList& list) {
    const auto dir = std::filesystem::temp_directory_path() / "pelko_bench_prefetch";
    std::filesystem::remove_all(dir);
    TPrefetchFiles files(list, dir);
    const auto start = std::chrono::steady_clock::now();
    const TPrefetchBatchResult result = files.CreateAllPrefetchs(true, ALL_STAT_GROUPS, false, nullptr);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::filesystem::remove_all(dir);
    std::printf("  (%d files, %zu errors)\n", result.Created, result.Errors.size());
    return seconds;
}

// The wall time of every set's families together with those of the sets before it.
void VerdictsOfAllPrefetchs(const TDrawsArray& draws) {
    TStatClassTable classes;
    for (int set = 0; set < BUDGET_SETS; ++set) {
        for (const TFamily& family : FAMILIES)
            if (family.Budgets == set)
                family.Register(classes);
        TStatList list(draws, TConfigData{}, classes);
        list.Build();
        const std::string name = std::string("prefetch --force --groups all, up to set ") + std::to_string(set + 1);
        std::printf("%s: %s and every set before\n", name.c_str(), BUDGETS[set].Title);
        Verdict(name, MeasureAllPrefetchs(list), "s", BUDGETS[set].PrefetchAllS);
    }
}

} // namespace

int main(int argc, char** argv) {
    TState& s = State();
    benchmark::RegisterBenchmark("B1_Memcpy", BM_B1_Memcpy)->Unit(benchmark::kMillisecond)->MinTime(1.0);
    benchmark::RegisterBenchmark("B2_SumHistogram", BM_B2_SumHistogram)->Unit(benchmark::kMillisecond)->MinTime(1.0);

    std::vector<TBudgetLine> lines;
    const std::map<int, const TFamily*> familyOf = FamilyOfPositions();
    for (const TFilterCase& c : FILTER_CASES) {
        const int method = s.list.IndexOfCode(c.Code);
        if (method < 0)
            continue;
        const std::string name = std::string("Filter/") + c.Code + "/" + std::to_string(c.Values);
        const int values = c.Values;
        benchmark::RegisterBenchmark(name.c_str(), [method, values](benchmark::State& st) { RunFilter(st, method, values); })
            ->Unit(benchmark::kMillisecond)
            ->MinTime(0.5);
        lines.push_back({name, mFilter, bsEngine, c.Budget});
    }
    for (int method = 0; method < s.list.Count(); ++method) {
        const TStatMethod& m = s.list.Items(method);
        const auto family = familyOf.find(m.StatClass->Position);
        if (family == familyOf.end())
            continue;
        const TBudgetSet set = family->second->Budgets;
        const std::string code = s.list.MethodCode(m);
        const bool filtered = family->second->FilterEvery ||
                              (m.StatClass->GetFlags() & (sfCombinable | sfReferenceDraw | sfPeriodic)) != 0;
        if (set != bsEngine && filtered) {
            // two passes each: with every method of the families measured, more would cost minutes
            const std::string name = "Filter/" + code;
            benchmark::RegisterBenchmark(name.c_str(), [method](benchmark::State& st) { RunFilter(st, method, -1); })
                ->Unit(benchmark::kMillisecond)
                ->Iterations(2);
            lines.push_back({name, mFilter, set, BUDGETS[set].FilterB1});
        }
        if (m.StatClass->SupportsCombinations()) {
            const std::string name = "CreatePrefetch/" + code;
            benchmark::RegisterBenchmark(name.c_str(), [method](benchmark::State& st) { RunPrefetch(st, method); })
                ->Unit(benchmark::kMillisecond)
                ->Iterations(set == bsEngine ? 2 : 1);
            lines.push_back({name, mPrefetch, set, PrefetchBudget(code, set)});
        }
        const std::string table = "Table1000/" + code;
        benchmark::RegisterBenchmark(table.c_str(), [method](benchmark::State& st) { RunTable(st, method); })
            ->Unit(benchmark::kMillisecond)
            ->MinTime(0.05);
        lines.push_back({table, mTable, set, BUDGETS[set].TableMs});
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
    // the largest value of each measure and set, for the summary
    struct TWorst {
        double Value = -1;
        std::string Name;
        int Count = 0;
    } worst[MEASURES][BUDGET_SETS];
    for (int set = 0; set < BUDGET_SETS; ++set) {
        std::printf("\n-- set %d: %s\n", set + 1, BUDGETS[set].Title);
        for (const TBudgetLine& line : lines) {
            if (line.Set != set || !r.count(line.Name))
                continue;
            const double cpu = r[line.Name].CpuMs;
            double value = cpu;
            const char* unit = "ms";
            if (line.Measure == mFilter)
                value = cpu / b1, unit = "xB1";
            else if (line.Measure == mPrefetch)
                value = cpu / b2, unit = "xB2";
            Verdict(line.Name, value, unit, line.Budget, line.Measure == mTable ? std::string() : Ms(cpu));
            TWorst& w = worst[line.Measure][set];
            ++w.Count;
            if (value / line.Budget > w.Value)
                w.Value = value / line.Budget, w.Name = line.Name;
        }
    }
    std::printf("\n-- worst of each set (measured / budget)\n");
    for (int set = 0; set < BUDGET_SETS; ++set)
        for (int measure = 0; measure < MEASURES; ++measure)
            if (worst[measure][set].Count > 0)
                std::printf("set %d %-22s %3d methods, worst %-30s at %3.0f %% of its budget\n", set + 1,
                            MEASURE_NAMES[measure], worst[measure][set].Count, worst[measure][set].Name.c_str(),
                            worst[measure][set].Value * 100);
    std::printf("\n");
    if (!std::getenv("PELKO_BENCH_NO_PREFETCH_ALL"))
        VerdictsOfAllPrefetchs(s.draws);
    else
        std::printf("(PELKO_BENCH_NO_PREFETCH_ALL is set: \"prefetch --force --groups all\" not timed)\n");
    std::printf("\nstats budgets: %d OK, %d FAIL\n", passes, failures);
    return failures ? 1 : 0;
}
