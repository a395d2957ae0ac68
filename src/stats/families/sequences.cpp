// Group "seq": runs of consecutive numbers (20, 21, 22) along the six positions. A step is
// a neighbouring pair whose second number is one more than the first; runs are the
// stretches joined by steps, so a draw in drawn order may have fewer steps than sorted.

#include "core/lottery.h"
#include "stats/custom_stat.h"
#include "stats/families/families.h"
#include "stats/families/stat_keys.h"

#include <algorithm>
#include <cstdint>

namespace pelko {

namespace {

// The run lengths of the six numbers in position order. AnyDirection also takes a pair
// falling by one as a step (the plotted values read steps that way).
struct TRuns {
    int Count = 0;
    std::uint8_t Length[LOTTO_COUNT] = {};

    TRuns(const std::uint8_t* n, bool anyDirection) {
        int length = 1;
        for (int i = 1; i < LOTTO_COUNT; ++i) {
            const int d = n[i] - n[i - 1];
            if (d == 1 || (anyDirection && d == -1)) {
                ++length;
                continue;
            }
            Length[Count++] = static_cast<std::uint8_t>(length);
            length = 1;
        }
        Length[Count++] = static_cast<std::uint8_t>(length);
    }
    // Runs of two numbers or more.
    int Sequences() const {
        return static_cast<int>(std::count_if(Length, Length + Count, [](std::uint8_t l) { return l >= 2; }));
    }
    int Longest() const { return *std::max_element(Length, Length + Count); }
};

constexpr int MOST_SEQUENCES = LOTTO_COUNT / 2;

class TstSequenceLen final : public TCustomNumbersStat {
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
        AddRuns(TRuns(CurDraw.Nums, false), Values, true);
    }
    void ComputeForCombination(const TComb& Comb, TStatDrawList& Values) override {
        TCustomNumbersStat::ComputeForCombination(Comb, Values);
        AddRuns(TRuns(Comb.N, false), Values, false);
    }
    bool TestCombination(const TComb& Comb, const TStatSelection& Selected, int, bool, bool) override {
        const TRuns runs(Comb.N, false);
        for (int i = 0; i < runs.Count; ++i)
            if (Selected.HasWord(1, runs.Length[i]))
                return true;
        return false;
    }

private:
    void AddRuns(const TRuns& runs, TStatDrawList& Values, bool trackGaps) {
        for (int i = 0; i < runs.Count; ++i)
            AddValue(Values, WordsKey(runs.Length[i]), trackGaps);
    }
};

// One value of the runs per draw, pre-filled Lo..Hi and plotted.
template <int (TRuns::*ValueOf)() const, int Lo, int Hi>
class TRunsValueStat final : public TCustomGraphStat {
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
        AddValue(Values, WordsKey(Value(CurDraw.Nums, false)), true);
    }
    void ComputeForCombination(const TComb& Comb, TStatDrawList& Values) override {
        TCustomGraphStat::ComputeForCombination(Comb, Values);
        AddValue(Values, WordsKey(Value(Comb.N, false)), false);
    }
    int GraphValue(const TComb& Comb, int, int, bool) override { return Value(Comb.N, true); }
    bool TestCombination(const TComb& Comb, const TStatSelection& Selected, int, bool, bool) override {
        return Selected.HasWord(1, Value(Comb.N, false));
    }

private:
    static std::uint16_t Value(const std::uint8_t* n, bool anyDirection) {
        return static_cast<std::uint16_t>((TRuns(n, anyDirection).*ValueOf)());
    }
};

using TstSequenceCnt = TRunsValueStat<&TRuns::Sequences, 0, MOST_SEQUENCES>;
using TstSequenceLenMax = TRunsValueStat<&TRuns::Longest, 1, LOTTO_COUNT>;

} // namespace

void RegisterSequenceStats(TStatClassTable& table) {
    table.Add(StatClass<TstSequenceLen>({.Position = 39,
                                         .Name = "TstSequenceLen",
                                         .Code = "SEQL",
                                         .Caption = "Длина последовательности в тираже",
                                         .Group = sgSequences,
                                         .Flags = sfOrderSensitive | sfCombinable}));
    table.Add(StatClass<TstSequenceCnt>({.Position = 40,
                                         .Name = "TstSequenceCnt",
                                         .Code = "SEQS",
                                         .Caption = "Количество последовательностей в тираже",
                                         .Group = sgSequences,
                                         .Flags = sfOrderSensitive | sfCombinable}));
    table.Add(StatClass<TstSequenceLenMax>({.Position = 41,
                                            .Name = "TstSequenceLenMax",
                                            .Code = "LENS",
                                            .Caption = "Макс. длина последовательности в тираже",
                                            .Group = sgSequences,
                                            .Flags = sfOrderSensitive | sfCombinable}));
}

} // namespace pelko
