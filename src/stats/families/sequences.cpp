// Group "seq": runs of consecutive numbers (20, 21, 22) along the six positions. A step is
// a neighbouring pair whose second number is one more than the first; runs are the
// stretches joined by steps, so a draw in drawn order may have fewer steps than sorted.

#include "core/lottery.h"
#include "stats/custom_stat.h"
#include "stats/families/batched_stat.h"
#include "stats/families/families.h"
#include "stats/families/stat_keys.h"

#include <array>
#include <cstdint>

namespace pelko {

namespace {

constexpr int STEPS = LOTTO_COUNT - 1;
constexpr int STEP_PATTERNS = 1 << STEPS;
constexpr int MOST_SEQUENCES = LOTTO_COUNT / 2;

// Bit i set when the number at position i + 1 makes a step from the one before it.
// AnyDirection also takes a pair falling by one as a step (the plotted values read steps
// that way).
int StepPattern(const std::uint8_t* n, bool anyDirection) {
    const auto step = [anyDirection](int a, int b) {
        return b - a == 1 || (anyDirection && a - b == 1);
    };
    return step(n[0], n[1]) | step(n[1], n[2]) << 1 | step(n[2], n[3]) << 2 |
           step(n[3], n[4]) << 3 | step(n[4], n[5]) << 4;
}

// The run lengths of a step pattern in position order.
struct TRuns {
    int Count = 0;
    std::uint8_t Length[LOTTO_COUNT] = {};

    constexpr TRuns() = default;
    constexpr explicit TRuns(int pattern) {
        int length = 1;
        for (int i = 0; i < STEPS; ++i) {
            if ((pattern >> i) & 1) {
                ++length;
                continue;
            }
            Length[Count++] = static_cast<std::uint8_t>(length);
            length = 1;
        }
        Length[Count++] = static_cast<std::uint8_t>(length);
    }
    // Runs of two numbers or more.
    constexpr int Sequences() const {
        int count = 0;
        for (int i = 0; i < Count; ++i)
            count += Length[i] >= 2 ? 1 : 0;
        return count;
    }
    constexpr int Longest() const {
        int longest = 0;
        for (int i = 0; i < Count; ++i)
            longest = Length[i] > longest ? Length[i] : longest;
        return longest;
    }
};

// The runs of every step pattern, made once at compile time.
constexpr std::array<TRuns, STEP_PATTERNS> RUNS = [] {
    std::array<TRuns, STEP_PATTERNS> runs{};
    for (int p = 0; p < STEP_PATTERNS; ++p)
        runs[static_cast<std::size_t>(p)] = TRuns(p);
    return runs;
}();

const TRuns& RunsOf(const std::uint8_t* n, bool anyDirection) {
    return RUNS[static_cast<std::size_t>(StepPattern(n, anyDirection))];
}

// A test by the step pattern alone: one bit per pattern that holds a selected value,
// prepared once per selection.
class TPatternTest {
  public:
    template <class Passes> void Prepare(const TStatSelection& selected, Passes passes) {
        patterns_ = 0;
        for (int p = 0; p < STEP_PATTERNS; ++p)
            if (passes(RUNS[static_cast<std::size_t>(p)])) patterns_ |= std::uint32_t{1} << p;
        prepared_ = &selected;
    }
    bool PreparedFor(const TStatSelection& selected) const { return prepared_ == &selected; }
    bool Passes(const std::uint8_t* n) const { return (patterns_ >> StepPattern(n, false)) & 1u; }

  private:
    std::uint32_t patterns_ = 0;
    const TStatSelection* prepared_ = nullptr;
};

class TstSequenceLen : public TCustomNumbersStat {
  public:
    using TCustomNumbersStat::TCustomNumbersStat;

    void FillAllValues(int LastIndex, TStatDrawList& Values) override {
        TCustomNumbersStat::FillAllValues(LastIndex, Values);
        for (int length = 1; length <= LOTTO_COUNT; ++length)
            FillValue(Values, WordsKey(static_cast<std::uint16_t>(length)));
    }
    void ComputeForDraw(int DrawIndex, int LastIndex, bool Sorted, TStatDrawList& Values,
                        TStatWorkArea& Work, TLastValueArray& LastValues) override {
        TCustomNumbersStat::ComputeForDraw(DrawIndex, LastIndex, Sorted, Values, Work, LastValues);
        AddRuns(RunsOf(CurDraw.Nums, false), Values, true);
    }
    void ComputeForCombination(const TComb& Comb, TStatDrawList& Values) override {
        TCustomNumbersStat::ComputeForCombination(Comb, Values);
        AddRuns(RunsOf(Comb.N, false), Values, false);
    }
    // Some run's length is selected.
    void PrepareTest(const TStatSelection& Selected, int RefIndex, bool Sorted,
                     bool Exclude) override {
        TCustomNumbersStat::PrepareTest(Selected, RefIndex, Sorted, Exclude);
        test_.Prepare(Selected, [&](const TRuns& runs) {
            for (int i = 0; i < runs.Count; ++i)
                if (Selected.HasWord(1, runs.Length[i])) return true;
            return false;
        });
    }
    bool TestCombination(const TComb& Comb, const TStatSelection& Selected, int RefIndex,
                         bool Sorted, bool Exclude) override {
        if (!test_.PreparedFor(Selected)) PrepareTest(Selected, RefIndex, Sorted, Exclude);
        return test_.Passes(Comb.N);
    }

  private:
    void AddRuns(const TRuns& runs, TStatDrawList& Values, bool trackGaps) {
        for (int i = 0; i < runs.Count; ++i)
            AddValue(Values, WordsKey(runs.Length[i]), trackGaps);
    }

    TPatternTest test_;
};

// One value of the runs per draw, pre-filled Lo..Hi and plotted.
template <int (TRuns::*ValueOf)() const, int Lo, int Hi>
class TRunsValueStat : public TCustomGraphStat {
  public:
    using TCustomGraphStat::TCustomGraphStat;

    void FillAllValues(int LastIndex, TStatDrawList& Values) override {
        TCustomGraphStat::FillAllValues(LastIndex, Values);
        for (int v = Lo; v <= Hi; ++v)
            FillValue(Values, WordsKey(static_cast<std::uint16_t>(v)));
    }
    void ComputeForDraw(int DrawIndex, int LastIndex, bool Sorted, TStatDrawList& Values,
                        TStatWorkArea& Work, TLastValueArray& LastValues) override {
        TCustomGraphStat::ComputeForDraw(DrawIndex, LastIndex, Sorted, Values, Work, LastValues);
        AddValue(Values, WordsKey(Value(RunsOf(CurDraw.Nums, false))), true);
    }
    void ComputeForCombination(const TComb& Comb, TStatDrawList& Values) override {
        TCustomGraphStat::ComputeForCombination(Comb, Values);
        AddValue(Values, WordsKey(Value(RunsOf(Comb.N, false))), false);
    }
    int GraphValue(const TComb& Comb, int, int, bool) override {
        return Value(RunsOf(Comb.N, true));
    }
    void PrepareTest(const TStatSelection& Selected, int RefIndex, bool Sorted,
                     bool Exclude) override {
        TCustomGraphStat::PrepareTest(Selected, RefIndex, Sorted, Exclude);
        test_.Prepare(Selected,
                      [&](const TRuns& runs) { return Selected.HasWord(1, Value(runs)); });
    }
    bool TestCombination(const TComb& Comb, const TStatSelection& Selected, int RefIndex,
                         bool Sorted, bool Exclude) override {
        if (!test_.PreparedFor(Selected)) PrepareTest(Selected, RefIndex, Sorted, Exclude);
        return test_.Passes(Comb.N);
    }

  private:
    static std::uint16_t Value(const TRuns& runs) {
        return static_cast<std::uint16_t>((runs.*ValueOf)());
    }

    TPatternTest test_;
};

using TstSequenceCnt = TRunsValueStat<&TRuns::Sequences, 0, MOST_SEQUENCES>;
using TstSequenceLenMax = TRunsValueStat<&TRuns::Longest, 1, LOTTO_COUNT>;

} // namespace

void RegisterSequenceStats(TStatClassTable& table) {
    table.Add(StatClass<TBatched<TstSequenceLen>>({.Position = 39,
                                                   .Name = "TstSequenceLen",
                                                   .Code = "SEQL",
                                                   .Caption = "Длина последовательности в тираже",
                                                   .Group = sgSequences,
                                                   .Flags = sfOrderSensitive | sfCombinable}));
    table.Add(
        StatClass<TBatched<TstSequenceCnt>>({.Position = 40,
                                             .Name = "TstSequenceCnt",
                                             .Code = "SEQS",
                                             .Caption = "Количество последовательностей в тираже",
                                             .Group = sgSequences,
                                             .Flags = sfOrderSensitive | sfCombinable}));
    table.Add(StatClass<TBatched<TstSequenceLenMax>>(
        {.Position = 41,
         .Name = "TstSequenceLenMax",
         .Code = "LENS",
         .Caption = "Макс. длина последовательности в тираже",
         .Group = sgSequences,
         .Flags = sfOrderSensitive | sfCombinable}));
}

} // namespace pelko
