#include "stats/analysis/numbers_pick.h"

#include <algorithm>

namespace pelko {

void TNumbersPick::Add(int n, const std::string& word) {
    if (std::find(Numbers.begin(), Numbers.end(), n) != Numbers.end()) return;
    Numbers.push_back(n);
    if (!Text.empty()) Text += "; ";
    Text += word;
}

TNumbersPick PickColumns(int left, int right) {
    TNumbersPick pick;
    for (int column = std::max(left, 1); column <= std::min(right, 45); ++column)
        pick.Add(column, std::to_string(column));
    return pick;
}

} // namespace pelko
