#include "stats/analysis/repeats_analysis.h"

#include "core/record_helpers.h"

#include <algorithm>

namespace pelko {
namespace {

// The row of draw p for `matches` among the rows from `first` on, appended when missing.
TRepeatRow& RowFor(std::vector<TRepeatRow>& rows, std::size_t first, std::int32_t draw,
                   int matches) {
    for (std::size_t i = first; i < rows.size(); ++i)
        if (rows[i].Matches == matches) return rows[i];
    rows.push_back({draw, matches, 0, {}});
    return rows.back();
}

} // namespace

TRepeatsAnalysis AnalyzeRepeats(const TDrawsArray& draws, int len, int deep,
                                const std::function<void()>& step) {
    TRepeatsAnalysis result;
    const int a = static_cast<int>(draws.size()) - 1;
    if (a < 0 || len < 1) return result;
    const int b = std::max(0, a - len + 1);
    for (int p = a; p >= b; --p) {
        const TDrawData& draw = draws[static_cast<std::size_t>(p)];
        const std::size_t first = result.Rows.size();
        const int e = std::max(0, p - std::max(deep, 0));
        for (int m = p - 1; m >= e; --m) {
            const TDrawData& earlier = draws[static_cast<std::size_t>(m)];
            const int k = CountMatches(draw, earlier);
            result.MaxMatches = std::max(result.MaxMatches, k);
            if (k == 0) continue;
            TRepeatRow& row = RowFor(result.Rows, first, draw.Number, k);
            ++row.Count;
            row.Draws.push_back(earlier.Number);
        }
        if (step) step();
    }
    return result;
}

std::vector<std::vector<TRepeatPoint>> TRepeatsAnalysis::Series() const {
    std::vector<std::vector<TRepeatPoint>> series(static_cast<std::size_t>(MaxMatches));
    for (auto row = Rows.rbegin(); row != Rows.rend(); ++row)
        series[static_cast<std::size_t>(row->Matches - 1)].push_back({row->DrawNumber, row->Count});
    return series;
}

std::string RepeatDrawsText(const TRepeatRow& row) {
    std::string text;
    for (const std::int32_t number : row.Draws) {
        if (!text.empty()) text += ' ';
        text += std::to_string(number);
    }
    return text;
}

} // namespace pelko
