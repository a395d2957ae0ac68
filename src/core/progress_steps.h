#pragma once
// Per-cent progress over long passes without a division per entry: the pass runs in pieces
// that end right after each multiple of the step, and the report comes between pieces.

#include <algorithm>
#include <cstddef>
#include <functional>

namespace pelko {

// Told how many entries of how many are done; called about a hundred times per pass.
using TProgressFn = std::function<void(std::size_t done, std::size_t total)>;

// The step of per-cent reports: max(1, total div 100).
inline std::size_t PercentStep(std::size_t total) {
    return std::max<std::size_t>(1, total / 100);
}

// Calls body(begin, end) over [0, total) and report(i) after every entry i that is a multiple
// of step (0 included), exactly as a check "i mod step = 0" after each entry would.
template <class Body, class Report>
void RunInSteps(std::size_t total, std::size_t step, Body&& body, Report&& report) {
    std::size_t begin = 0;
    std::size_t next = 0; // the next entry after which a report is due
    while (begin < total) {
        const std::size_t end = std::min(total, next + 1);
        body(begin, end);
        if (end == next + 1) {
            report(next);
            next += step;
        }
        begin = end;
    }
}

} // namespace pelko
