#pragma once
// The numbers a selection of one of the analysis views names, each once in the order met,
// with the words for the history row of the filter ("3; 17; 40").

#include <string>
#include <vector>

namespace pelko {

inline constexpr const char* NO_FILTER_VALUES_MESSAGE =
    "В выделенном диапазоне нет значений для фильтра!";

struct TNumbersPick {
    std::vector<int> Numbers;
    std::string Text;

    // A number met again is ignored; the word is what the cell showed for it.
    void Add(int n, const std::string& word);
    bool Empty() const { return Numbers.empty(); }
};

// The week view's pick: every column from left to right (1..45) is a number.
TNumbersPick PickColumns(int left, int right);

} // namespace pelko
