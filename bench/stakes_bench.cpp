// Speed of the stakes engine on a million stakes: the check against the sample archive
// (with the count of bytes read and written per record), the rating accumulation over ten
// thousand comments, and bulk appending. Each result is printed with its budget.

#include "core/atomic_file.h"
#include "core/draw_csv.h"
#include "core/format.h"
#include "platform/file_lock.h"
#include "stakes/ratings.h"
#include "stakes/stake_appender.h"
#include "stakes/stake_check.h"
#include "stakes/stake_profit.h"
#include "stakes/stakes_file.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace pelko;

constexpr int STAKES = 1000000;

const TDrawsArray& SampleDraws() {
    static const TDrawsArray draws = [] {
        TDrawsArray d;
        ImportDrawsCsv(ReadWholeFile(std::filesystem::path(PELKO_SHARE_DIR) / "sample_draws.csv"),
                       d);
        return d;
    }();
    return draws;
}

TConfigData Priced() {
    TConfigData c;
    c.Cost = MoneyFromDouble(100);
    c.Profits = {{2, MoneyFromDouble(100)}, {3, MoneyFromDouble(500)}, {4, MoneyFromDouble(5000)}};
    return c;
}

// Counts the bytes that pass through the device.
class TCountingDevice : public TRandomAccessFile {
  public:
    explicit TCountingDevice(std::unique_ptr<TRandomAccessFile> inner) : inner_(std::move(inner)) {}
    std::int64_t Size() override { return inner_->Size(); }
    std::size_t ReadAt(std::int64_t offset, void* buffer, std::size_t n) override {
        const std::size_t got = inner_->ReadAt(offset, buffer, n);
        bytesRead += got;
        ++reads;
        return got;
    }
    std::size_t WriteSomeAt(std::int64_t offset, const void* data, std::size_t n) override {
        const std::size_t put = inner_->WriteSomeAt(offset, data, n);
        bytesWritten += put;
        ++writes;
        return put;
    }
    void Truncate(std::int64_t size) override { inner_->Truncate(size); }
    void Sync() override { inner_->Sync(); }

    std::uint64_t bytesRead = 0, bytesWritten = 0, reads = 0, writes = 0;

  private:
    std::unique_ptr<TRandomAccessFile> inner_;
};

struct TBudget {
    double seconds;
    double best = 1e9;
    double bestCpu = 1e9;
};
std::map<std::string, TBudget>& Budgets() {
    static std::map<std::string, TBudget> budgets = {
        {"CheckStakes", {3.0}}, {"AddStakeToRatings", {1.0}}, {"AppendStakes", {3.0}}};
    return budgets;
}
// Wall time of the measured part, and the process CPU time it took (the machine may be
// shared with other work; the CPU figure shows what the code itself costs).
class TStopwatch {
  public:
    TStopwatch() : wall_(std::chrono::steady_clock::now()), cpu_(std::clock()) {}
    double Wall() const {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - wall_).count();
    }
    double Cpu() const { return static_cast<double>(std::clock() - cpu_) / CLOCKS_PER_SEC; }

  private:
    std::chrono::steady_clock::time_point wall_;
    std::clock_t cpu_;
};

void Record(const std::string& name, const TStopwatch& watch) {
    TBudget& b = Budgets().at(name);
    b.best = std::min(b.best, watch.Wall());
    b.bestCpu = std::min(b.bestCpu, watch.Cpu());
}

std::filesystem::path BenchFile() {
    return std::filesystem::temp_directory_path() / "pelko_bench_stakes.lsk";
}

// A million unchecked six-number stakes for draws of the sample archive.
void WriteUncheckedStakes(const std::filesystem::path& path) {
    std::filesystem::remove(path);
    TStakesFile file;
    file.Open(path);
    const TDrawsArray& draws = SampleDraws();
    std::mt19937 random(42);
    std::uniform_int_distribution<int> number(1, LOTTO_MAX);
    TStakeAppender appender(file);
    TStakeData stake;
    stake.SetCommentText("01.001: Сценарий @ FULL#EXT + TSD#NUMS:1000#LMV:5#SF:1");
    stake.Profit = -MoneyFromDouble(100);
    for (int i = 0; i < STAKES; ++i) {
        stake.DrawNumber = draws[static_cast<std::size_t>(i / 50) % draws.size()].Number;
        TComb c;
        for (int k = 0; k < LOTTO_COUNT; ++k) {
            int v;
            do
                v = number(random);
            while (std::find(c.begin(), c.begin() + k, v) != c.begin() + k);
            c[k] = static_cast<std::uint8_t>(v);
        }
        std::sort(c.begin(), c.end());
        stake.Numbers.Count = LOTTO_COUNT;
        std::copy(c.begin(), c.end(), stake.Numbers.Members);
        appender.Append(stake, 1);
    }
    appender.Flush();
}

void BM_CheckStakes(benchmark::State& state) {
    const TConfigData config = Priced();
    for (auto _ : state) {
        state.PauseTiming();
        WriteUncheckedStakes(BenchFile());
        auto device = std::make_unique<TCountingDevice>(OpenLockedFile(BenchFile()));
        TCountingDevice* counter = device.get();
        TStakesFile file;
        file.Attach(std::move(device), BenchFile());
        TRatings ratings;
        state.ResumeTiming();

        const TStopwatch watch;
        const TCheckOutcome out = CheckStakes(
            file, SampleDraws(), config, [&](const TStakeData& s) { ratings.AddStake(s); },
            nullptr);
        Record("CheckStakes", watch);

        state.PauseTiming();
        if (out.Settled != STAKES || out.Error) state.SkipWithError("not every stake was settled");
        state.counters["reads_per_record"] =
            static_cast<double>(counter->bytesRead) / (STAKES * 328.0);
        state.counters["writes_per_record"] =
            static_cast<double>(counter->bytesWritten) / (STAKES * 328.0);
        state.counters["write_calls"] = static_cast<double>(counter->writes);
        file.Close();
        std::filesystem::remove(BenchFile());
        state.ResumeTiming();
    }
}
BENCHMARK(BM_CheckStakes)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);

void BM_AddStakeToRatings(benchmark::State& state) {
    // A million settled stakes, in file order as the check hands them over, each with one
    // of 10,000 scenario-like comments picked at random (no two neighbours alike by design).
    std::vector<TStakeData> stakes(STAKES);
    std::mt19937 random(7);
    int previous = -1;
    for (TStakeData& s : stakes) {
        int comment;
        do
            comment = static_cast<int>(random() % 10000);
        while (comment == previous);
        previous = comment;
        s.SetCommentText(Format("%.2d.%.3d: Прогноз @ EXCL:5#RAND#NEX + TSD#NUMS:%d#LMV:5#SF:1",
                                comment / 1000, comment % 1000, 100 + comment));
        s.Checked = 1;
        s.Matches.Count = static_cast<int>(random() % 7);
        s.Profit = -MoneyFromDouble(100);
    }
    for (auto _ : state) {
        TRatings ratings;
        const TStopwatch watch;
        for (const TStakeData& s : stakes)
            ratings.AddStake(s);
        Record("AddStakeToRatings", watch);
        if (ratings.Count() != 10000) state.SkipWithError("expected 10,000 rows");
        benchmark::DoNotOptimize(ratings.Rows().data());
    }
}
BENCHMARK(BM_AddStakeToRatings)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);

void BM_AppendStakes(benchmark::State& state) {
    const TConfigData config = Priced();
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::remove(BenchFile());
        auto device = std::make_unique<TCountingDevice>(OpenLockedFile(BenchFile()));
        TCountingDevice* counter = device.get();
        TStakesFile file;
        file.Attach(std::move(device), BenchFile());
        state.ResumeTiming();

        // The "every combination of the list" case: the list's combinations in order.
        const TStopwatch watch;
        TStakeAppender appender(file);
        TStakeData stake;
        stake.DrawNumber = 5000;
        stake.SampleSize = STAKES;
        stake.SetCommentText("Мультиставка");
        stake.Profit = TProfitTable(config).Profit(LOTTO_COUNT, -1);
        stake.Numbers.Count = LOTTO_COUNT;
        TComb c{{1, 2, 3, 4, 5, 6}};
        for (int i = 0; i < STAKES; ++i) {
            std::copy(c.begin(), c.end(), stake.Numbers.Members);
            appender.Append(stake, 1);
            // next combination in generation order
            int k = LOTTO_COUNT - 1;
            while (c[k] == LOTTO_MAX - (LOTTO_COUNT - 1 - k))
                --k;
            ++c[k];
            for (int j = k + 1; j < LOTTO_COUNT; ++j)
                c[j] = static_cast<std::uint8_t>(c[j - 1] + 1);
        }
        appender.Flush();
        Record("AppendStakes", watch);

        state.PauseTiming();
        if (file.Count() != STAKES) state.SkipWithError("wrong record count");
        state.counters["write_calls"] = static_cast<double>(counter->writes);
        file.Close();
        std::filesystem::remove(BenchFile());
        state.ResumeTiming();
    }
}
BENCHMARK(BM_AppendStakes)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::printf("\nBudgets (best of the runs, 1,000,000 stakes):\n");
    for (const auto& [name, b] : Budgets())
        if (b.best < 1e9)
            std::printf("  %-18s %7.3f s (CPU %.3f s)  budget %.0f s  %s\n", name.c_str(), b.best,
                        b.bestCpu, b.seconds, b.best <= b.seconds ? "ok" : "OVER BUDGET");
    return 0;
}
