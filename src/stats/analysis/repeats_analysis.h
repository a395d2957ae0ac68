#pragma once
// "Количество повторов в зависимости от тиража": for each of the newest draws, how many of
// the earlier draws within a look-back depth share 1, 2, ... numbers with it. Always over the
// whole archive (the draws offset does not apply).

#include "core/lottery.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace pelko {

struct TRepeatRow {
    std::int32_t DrawNumber = 0;
    int Matches = 0;
    int Count = 0;
    // The earlier draws sharing Matches numbers, newest first.
    std::vector<std::int32_t> Draws;
};

struct TRepeatPoint {
    std::int32_t DrawNumber = 0;
    int Count = 0;
};

struct TRepeatsAnalysis {
    // Newest analysed draw first; the rows of one draw in the order their match counts
    // were first met going back in time.
    std::vector<TRepeatRow> Rows;
    int MaxMatches = 0;

    // The chart: one series per match count 1..MaxMatches, each oldest analysed draw first.
    std::vector<std::vector<TRepeatPoint>> Series() const;
};

// `len` newest draws, each compared with up to `deep` earlier ones. `step` (when set) is
// called once per analysed draw.
TRepeatsAnalysis AnalyzeRepeats(const TDrawsArray& draws, int len, int deep,
                                const std::function<void()>& step = {});

// The draw list of a row as the list shows it: numbers separated by blanks.
std::string RepeatDrawsText(const TRepeatRow& row);

} // namespace pelko
