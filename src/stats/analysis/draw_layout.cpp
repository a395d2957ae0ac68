#include "stats/analysis/draw_layout.h"

#include "core/draw_archive.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <functional>

namespace pelko {
namespace {

struct TWindow {
    int First = 0;
    int Last = -1;
};

TWindow LayoutWindow(const TDrawsArray& draws, int offset, int n) {
    const int a = static_cast<int>(draws.size()) - 1 - offset;
    if (a < 0 || n < 1) return {};
    return {std::max(0, a - n + 1), a};
}

template <class T, class Key>
std::vector<T> DistinctDescending(const std::vector<TLayoutRecord>& records, Key key) {
    std::vector<T> values;
    for (const TLayoutRecord& r : records) values.push_back(key(r));
    std::sort(values.begin(), values.end(), std::greater<>());
    values.erase(std::unique(values.begin(), values.end()), values.end());
    return values;
}

std::size_t IndexIn(const std::vector<std::int32_t>& descending, std::int32_t value) {
    return static_cast<std::size_t>(
        std::lower_bound(descending.begin(), descending.end(), value, std::greater<>()) -
        descending.begin());
}

void AppendListed(std::string& text, const std::string& item) {
    if (!text.empty()) text += ", ";
    text += item;
}

// Numbers ending in 1 to 5, below 96: the light blocks of the checkerboard.
bool InLightBlock(int index) {
    const int units = index % 10;
    return index < 96 && units >= 1 && units <= 5;
}

std::string Trimmed(const std::string& word) {
    const auto first = word.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return word.substr(first, word.find_last_not_of(" \t") - first + 1);
}

} // namespace

std::vector<TLayoutRecord> LayoutRecords(const TDrawsArray& draws, int offset, int n) {
    std::vector<TLayoutRecord> records;
    int position[256];
    std::fill(std::begin(position), std::end(position), -1);
    const TWindow window = LayoutWindow(draws, offset, n);
    for (int i = window.Last; i >= window.First; --i) {
        const TDrawData& draw = draws[static_cast<std::size_t>(i)];
        for (const std::uint8_t number : draw.Nums) {
            if (position[number] >= 0) {
                ++records[static_cast<std::size_t>(position[number])].Count;
                continue;
            }
            position[number] = static_cast<int>(records.size());
            records.push_back({number, 1, draw.Number});
        }
    }
    return records;
}

TLayoutMap MakeLayoutMap(const TDrawsArray& draws, int offset, int n) {
    TLayoutMap map;
    const std::vector<TLayoutRecord> records = LayoutRecords(draws, offset, n);
    map.Counts = DistinctDescending<std::int32_t>(records, [](auto& r) { return r.Count; });
    map.LastDraws = DistinctDescending<std::int32_t>(records, [](auto& r) { return r.LastDraw; });
    map.Cells.assign(map.Counts.size(), std::vector<std::string>(map.LastDraws.size()));
    const TByteSet hidden = HiddenDrawSet(draws, offset);
    for (const TLayoutRecord& r : records) {
        std::string text = std::to_string(r.Number);
        if (hidden.Has(r.Number)) text = "[" + text + "]";
        AppendListed(map.Cells[IndexIn(map.Counts, r.Count)][IndexIn(map.LastDraws, r.LastDraw)],
                     text);
    }
    return map;
}

TLayoutCompare MakeLayoutCompare(const TDrawsArray& draws, int offset, int n) {
    TLayoutCompare compare;
    const TWindow window = LayoutWindow(draws, offset, n);
    if (window.Last < window.First) return compare;
    compare.Caption = std::to_string(draws[static_cast<std::size_t>(window.First)].Number) + " - " +
                      std::to_string(draws[static_cast<std::size_t>(window.Last)].Number);
    for (const TLayoutRecord& r : LayoutRecords(draws, offset, n)) {
        auto row = std::find_if(compare.Rows.begin(), compare.Rows.end(),
                                [&](const TLayoutCompareRow& c) { return c.Count == r.Count; });
        if (row == compare.Rows.end())
            row = compare.Rows.insert(compare.Rows.end(), {r.Count, {}});
        AppendListed(row->Numbers, std::to_string(r.Number));
    }
    std::stable_sort(compare.Rows.begin(), compare.Rows.end(),
                     [](const TLayoutCompareRow& a, const TLayoutCompareRow& b) {
                         return a.Count > b.Count;
                     });
    return compare;
}

std::uint32_t LayoutCellColor(int row, int column, int rowCount, int colCount, bool gradient) {
    if (gradient && rowCount > 0 && colCount > 0) {
        auto channel = [](double v) {
            return static_cast<std::uint32_t>(std::clamp(std::nearbyint(v), 0.0, 255.0));
        };
        const double down = 155.0 * row / rowCount;
        const double right = 155.0 * column / colCount;
        return channel(255 - down) << 16 | channel(255 - right) << 8 | channel(down + 100);
    }
    return InLightBlock(row) != InLightBlock(column) ? 0xFFEAEAu : 0xEAFFEAu;
}

void AddLayoutCellNumbers(const std::string& text, TNumbersPick& pick) {
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(',', start);
        if (end == std::string::npos) end = text.size();
        std::string word;
        for (const char c : text.substr(start, end - start))
            if (c != '[' && c != ']') word += c;
        word = Trimmed(word);
        int value = 0;
        const auto [ptr, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
        if (ec != std::errc() || ptr != word.data() + word.size()) value = 0;
        pick.Add(value, word);
        start = end + 1;
    }
}

TNumbersPick PickLayoutNumbers(const TLayoutMap& map, int top, int left, int bottom, int right) {
    TNumbersPick pick;
    const int rows = static_cast<int>(map.Cells.size());
    const int columns = static_cast<int>(map.LastDraws.size());
    for (int column = std::max(left, 0); column <= std::min(right, columns - 1); ++column)
        for (int row = std::max(top, 0); row <= std::min(bottom, rows - 1); ++row) {
            const std::string& text =
                map.Cells[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
            if (!text.empty()) AddLayoutCellNumbers(text, pick);
        }
    return pick;
}

} // namespace pelko
