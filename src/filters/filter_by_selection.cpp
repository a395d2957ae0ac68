#include "filters/filter_by_selection.h"

#include "core/format.h"
#include "core/progress_steps.h"
#include "stats/custom_stat.h"

#include <stdexcept>

namespace pelko {

namespace {

constexpr const char* FILTER_STATUS = "Фильтрация комбинаций";

class TStatusClear {
public:
    explicit TStatusClear(TStatusSink* sink) : sink_(sink) {}
    ~TStatusClear() { ShowStatus(sink_, ""); }
    TStatusClear(const TStatusClear&) = delete;
    TStatusClear& operator=(const TStatusClear&) = delete;

private:
    TStatusSink* sink_;
};

} // namespace

int FilterRefIndex(std::size_t drawsCount, int drawsOffset) {
    const long long ref = static_cast<long long>(drawsCount) - 1 - drawsOffset;
    return ref < 0 ? 0 : static_cast<int>(ref);
}

std::size_t FilterBySelection(TCustomStat& stat, const TStatSelection& selection, const TFilterPass& pass,
                              const TCombList& undo, TCombList& list, TStatusSink* sink) {
    if (&undo == &list)
        throw std::logic_error("FilterBySelection reads the undo copy and writes the list: they must differ");
    ShowStatus(sink, std::string(FILTER_STATUS) + "...");
    TStatusClear clear(sink);

    list.Clear();
    list.Reserve(undo.Count());
    const std::size_t total = undo.Count();
    if (total == 0)
        return 0;

    stat.SelectDraws(-1, pass.RefIndex, pass.Sorted);
    stat.PrepareTest(selection, pass.RefIndex, pass.Sorted, pass.Exclude);

    const TComb* in = undo.Data();
    TComb* out = list.Data();
    std::size_t kept = 0;
    const bool exclude = pass.Exclude;
    RunInSteps(
        total, PercentStep(total),
        [&](std::size_t begin, std::size_t end) {
            kept += stat.TestCombinations(in + begin, end - begin, out + kept, selection, pass.RefIndex, pass.Sorted,
                                          exclude);
        },
        [&](std::size_t done) {
            if (sink)
                sink->StatusText(PercentText(FILTER_STATUS, static_cast<double>(done), static_cast<double>(total)));
        });
    list.SetCount(kept);
    return kept;
}

std::size_t FilterBySelection(TCustomStat& stat, const TStatDrawArray& selection, const TFilterPass& pass,
                              const TCombList& undo, TCombList& list, TStatusSink* sink) {
    const TStatSelection prepared(selection);
    return FilterBySelection(stat, prepared, pass, undo, list, sink);
}

} // namespace pelko
