#include "stats/stat_table.h"

#include "core/config.h"
#include "core/format.h"
#include "core/record_helpers.h"
#include "stats/custom_stat.h"
#include "stats/stat_list.h"
#include "stats/text_compare.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <stdexcept>
#include <unordered_map>

namespace pelko {

namespace {

constexpr const char* COLUMN_TITLES[STAT_COLUMNS] = {
    "Значение",   "Количество", "Кол-во в %", "Норма",    "Отклонение", "Откл-ие в %", "Глубина",
    "Глубина в %", "Вес",        "Посл. тираж", "Период min", "Период",     "Период max",  "Ожд. ПРД",
    "Ожд. СТФ",   "Ожд. КРН",   "Факт",       "+/- ПРД",  "+/- СТФ",    "+/- КРН"};

const char* DASH = "-";

// Nearest integer, halves to the even neighbour.
long long RoundEven(long double v) {
    return std::llrint(v);
}

// A difference column: expectation text minus the fact when the text is a non-negative
// integer, "+" in front of positive results; "-" otherwise.
std::string DiffText(const std::string& expectation, int fact) {
    if (expectation.empty() || !std::all_of(expectation.begin(), expectation.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return DASH;
    const long long diff = std::stoll(expectation) - fact;
    return (diff > 0 ? "+" : "") + std::to_string(diff);
}

// Resets the status text when the computation ends, also by an exception.
class TStatusGuard {
public:
    explicit TStatusGuard(TStatusSink* sink) : sink_(sink) {}
    ~TStatusGuard() { ShowStatus(sink_, ""); }
    TStatusGuard(const TStatusGuard&) = delete;
    TStatusGuard& operator=(const TStatusGuard&) = delete;

private:
    TStatusSink* sink_;
};

} // namespace

const char* StatColumnTitle(int column) {
    return column >= 0 && column < STAT_COLUMNS ? COLUMN_TITLES[column] : "";
}

TStatTable::TStatTable(const TStatList& list, TPrefetchFiles* prefetch) : list_(list), prefetch_(prefetch) {}

void TStatTable::Clear() {
    rows_.clear();
    chart_ = TStatChart{};
    cacheValid_ = false;
    hasPrefetch_ = false;
    prefetchError_.clear();
}

std::string TStatTable::Fixed(int decimals, long double value) const {
    // "%.Nf" of the value, with the table's decimal separator
    char buffer[64];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value),
                                         std::chars_format::fixed, decimals);
    std::string text = ec == std::errc() ? std::string(buffer, end) : Format("%.*f", decimals, static_cast<double>(value));
    if (DecimalSeparator != '.')
        std::replace(text.begin(), text.end(), '.', DecimalSeparator);
    return text;
}

bool TStatTable::ComputeStatTable(const TStatTableQuery& query, bool force, TStatusSink* sink) {
    const TDrawsArray& draws = list_.Draws();
    if (!force && cacheValid_ && cacheDraws_ == draws.size() && cacheOffset_ == query.DrawsOffset &&
        cacheLen_ == query.DrawsLen && cacheMethod_ == query.MethodIndex)
        return false;
    cacheValid_ = true;
    cacheDraws_ = draws.size();
    cacheOffset_ = query.DrawsOffset;
    cacheLen_ = query.DrawsLen;
    cacheMethod_ = query.MethodIndex;

    rows_.clear();
    chart_ = TStatChart{};
    hasPrefetch_ = false;
    scale_ = 0;
    totals_ = TStatDrawSummary{};
    prefetchError_.clear();
    firstIndex_ = 0;
    lastIndex_ = -1;
    windowSize_ = 0;
    if (query.MethodIndex < 0 || query.MethodIndex >= list_.Count() || draws.empty())
        return true;

    ShowStatus(sink, "Анализ тиражей и расчет статистики...");
    TStatusGuard status(sink);

    const int high = static_cast<int>(draws.size()) - 1;
    lastIndex_ = high - query.DrawsOffset;
    firstIndex_ = std::max(0, lastIndex_ - query.DrawsLen + 1);
    windowSize_ = lastIndex_ - firstIndex_ + 1;

    const TStatMethod& method = list_.Items(query.MethodIndex);
    std::unique_ptr<TCustomStat> stat = list_.CreateStat(method);
    std::optional<TPrefetchData> prefetch;
    if (query.PrefetchEnabled && prefetch_ && method.StatClass->SupportsCombinations())
        prefetch = prefetch_->OpenPrefetch(method, sink, &prefetchError_);
    ShowStatus(sink, "Анализ тиражей и расчет статистики...");

    TStatDrawList values;
    if (lastIndex_ >= firstIndex_) {
        stat->FillAllValues(lastIndex_, values);
        TStatWorkArea work;
        TLastValueArray lastValues;
        for (int index = firstIndex_; index <= lastIndex_; ++index)
            stat->ComputeForDraw(index, lastIndex_, query.Sorted, values, work, lastValues);
    }
    totals_ = SummarizeStatDraws(values.Items());

    if (prefetch && prefetch->HasNorms()) {
        const long double tableMax = totals_.MaxCount, tableMin = totals_.MinCount;
        if (prefetch->MaxCount == prefetch->MinCount)
            scale_ = (tableMax + tableMin) / 2.0L / prefetch->MaxCount;
        else
            scale_ = tableMax / prefetch->MaxCount;
        hasPrefetch_ = true;
    }
    if (!values.empty() && hasPrefetch_) {
        for (const TShemaItem& record : prefetch->Records) {
            const int at = values.Find(record.Key);
            if (at >= 0)
                values[static_cast<std::size_t>(at)].Norm = static_cast<std::int32_t>(RoundEven(record.Count * scale_));
        }
    }

    FillRows(*stat, values, query);
    BuildChart(*stat, values, prefetch, query.ShowTotalLine);
    SortRows();
    return true;
}

void TStatTable::FillRows(TCustomStat& stat, const TStatDrawList& values, const TStatTableQuery& query) {
    const TDrawsArray& draws = list_.Draws();
    const TCDLData& cdl = list_.Config.CDL;
    rows_.reserve(values.size());
    // the archive index of each draw number of the window (the newest when repeated)
    std::unordered_map<std::int32_t, int> indexOfDraw;
    for (int i = std::max(firstIndex_, 0); i <= lastIndex_; ++i)
        indexOfDraw[draws[static_cast<std::size_t>(i)].Number] = i;
    // the facts of all rows come from one pass over the draws after the oldest last draw
    int firstFrom = lastIndex_ + 1;
    for (const TStatDraw& v : values)
        if (v.LastAge != 0 && v.Count > 0) {
            const auto found = indexOfDraw.find(v.LastDraw);
            firstFrom = std::min(firstFrom, found == indexOfDraw.end() ? 0 : found->second + 1);
        }
    bool prepared = false;
    for (const TStatDraw& v : values) {
        // filled in place: a row holds twenty strings, moving it costs as much as filling it
        TStatRow& row = rows_.emplace_back();
        row.Item = v;
        row.Caption = stat.ValueToText(v);
        auto& t = row.Texts;
        t[scValue] = row.Caption;
        t[scCount] = std::to_string(v.Count);
        t[scCountPercent] = totals_.Total == 0 ? DASH : Fixed(5, v.Count * 100.0L / totals_.Total);
        if (hasPrefetch_) {
            t[scNorm] = std::to_string(v.Norm);
            t[scDeviation] = std::to_string(static_cast<long long>(v.Count) - v.Norm);
            const long double pct = v.Norm == 0 ? (v.Count > 0 ? 100.0L : 0.0L)
                                                : (static_cast<long double>(v.Count) - v.Norm) * 100.0L / v.Norm;
            t[scDeviationPercent] = Fixed(5, pct);
        } else {
            t[scNorm] = t[scDeviation] = t[scDeviationPercent] = DASH;
        }
        row.Weight = WeightOf(cdl, hasPrefetch_, v.Count, totals_.Total, v.Norm, v.LastAge, totals_.MaxAge);
        if (v.LastAge == 0 || v.Count <= 0) {
            for (int c = scDepth; c < STAT_COLUMNS; ++c)
                t[static_cast<std::size_t>(c)] = DASH;
            continue;
        }
        t[scDepth] = std::to_string(v.LastAge);
        t[scDepthPercent] = Fixed(2, v.LastAge * 100.0L / totals_.MaxAge);
        t[scWeight] = Fixed(2, row.Weight);
        t[scLastDraw] = std::to_string(v.LastDraw);
        if (v.Count < 2) {
            t[scPeriodMin] = t[scPeriod] = t[scPeriodMax] = t[scExpectPRD] = DASH;
        } else {
            t[scPeriodMin] = std::to_string(v.MinPeriod);
            t[scPeriod] = Fixed(4, static_cast<long double>(windowSize_) / v.Count);
            t[scPeriodMax] = std::to_string(v.MaxPeriod);
            t[scExpectPRD] = std::to_string(RoundEven(static_cast<long double>(windowSize_) / v.Count + v.LastDraw));
        }
        const long long count = v.Count, last = v.LastDraw;
        t[scExpectSTF] = std::to_string(RoundEven(static_cast<long double>((count + 1) * last) / count));
        t[scExpectKRN] = std::to_string(RoundEven(static_cast<long double>((count + 2) * (last + 1)) / (count + 1)));

        const auto found = indexOfDraw.find(v.LastDraw);
        const int from = found == indexOfDraw.end() ? 0 : found->second + 1;
        if (!prepared) {
            stat.PrepareNextOccurrences(firstFrom, query.Sorted, lastIndex_);
            prepared = true;
        }
        row.Fact = stat.FindNextOccurrence(v, from, query.Sorted, lastIndex_);
        if (row.Fact < 0) {
            t[scFact] = t[scDiffPRD] = t[scDiffSTF] = t[scDiffKRN] = DASH;
        } else {
            t[scFact] = std::to_string(row.Fact);
            t[scDiffPRD] = DiffText(t[scExpectPRD], row.Fact);
            t[scDiffSTF] = DiffText(t[scExpectSTF], row.Fact);
            t[scDiffKRN] = DiffText(t[scExpectKRN], row.Fact);
        }
    }
}

void TStatTable::BuildChart(TCustomStat& stat, TStatDrawList& values, const std::optional<TPrefetchData>& prefetch,
                            bool showTotalLine) {
    if (values.size() <= 1)
        return;
    // rows_ is still in the order of values here, so row i carries the text of value i
    auto textOf = [this](std::size_t i) -> const std::string& { return rows_[i].Caption; };
    if (hasPrefetch_) {
        chart_.HasTotal = showTotalLine;
        double x = 0;
        for (const TShemaItem& record : prefetch->Records) {
            ++x;
            if (showTotalLine) {
                const TStatDraw item = ShemaToStatDraw(record);
                chart_.Total.push_back({x, static_cast<double>(record.Count * scale_), stat.ValueToText(item)});
            }
            const int at = values.Find(record.Key);
            if (at >= 0) {
                const auto i = static_cast<std::size_t>(at);
                chart_.Actual.push_back({x, static_cast<double>(values[i].Count), textOf(i)});
            }
        }
        return;
    }
    std::vector<std::size_t> byKey(values.size());
    for (std::size_t i = 0; i < byKey.size(); ++i)
        byKey[i] = i;
    std::sort(byKey.begin(), byKey.end(),
              [&](std::size_t a, std::size_t b) { return CompareKeys(values[a].Key, values[b].Key) < 0; });
    chart_.Actual.reserve(byKey.size());
    double x = 0;
    for (std::size_t i : byKey)
        chart_.Actual.push_back({++x, static_cast<double>(values[i].Count), textOf(i)});
}

void TStatTable::SortRows() {
    if (sortColumn_ < 0 || rows_.size() < 2)
        return;
    // each cell is read once: as a number when it is one, else folded for the text order
    struct TCellKey {
        bool IsNumber = false;
        double Number = 0;
        std::string Folded;
    };
    auto keyOf = [](const std::string& text) {
        TCellKey key;
        key.IsNumber = CellToNumber(text, key.Number);
        key.Folded = FoldCase(text); // also for numbers: a number and a text compare as texts
        return key;
    };
    auto compare = [](const TCellKey& a, const TCellKey& b) {
        if (a.IsNumber && b.IsNumber)
            return a.Number < b.Number ? -1 : a.Number > b.Number ? 1 : 0;
        return a.Folded < b.Folded ? -1 : a.Folded > b.Folded ? 1 : 0;
    };
    const auto column = static_cast<std::size_t>(sortColumn_);
    std::vector<TCellKey> cells, captions;
    cells.reserve(rows_.size());
    captions.reserve(rows_.size());
    for (const TStatRow& row : rows_) {
        cells.push_back(keyOf(row.Texts[column]));
        captions.push_back(keyOf(row.Caption));
    }
    std::vector<std::size_t> order(rows_.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        int cmp = compare(cells[a], cells[b]);
        if (cmp == 0)
            cmp = compare(captions[a], captions[b]);
        return descending_ ? cmp > 0 : cmp < 0;
    });
    // the permutation is applied in place, cycle by cycle: each row moves once and no second
    // array of rows is allocated (thousands of rows of twenty strings)
    for (std::size_t start = 0; start < order.size(); ++start) {
        if (order[start] == start)
            continue;
        TStatRow held = std::move(rows_[start]);
        std::size_t at = start;
        while (order[at] != start) {
            const std::size_t from = order[at];
            rows_[at] = std::move(rows_[from]);
            order[at] = at;
            at = from;
        }
        rows_[at] = std::move(held);
        order[at] = at;
    }
}

void TStatTable::SortBy(int column, bool descending) {
    if (column < -1 || column >= STAT_COLUMNS)
        throw std::out_of_range("sort column " + std::to_string(column));
    sortColumn_ = column;
    descending_ = descending;
    SortRows();
}

void TStatTable::ClickColumn(int column) {
    if (column == sortColumn_)
        SortBy(column, !descending_);
    else
        SortBy(column, false);
}

TStatValues TStatTable::RowTexts(int row) const {
    TStatValues values;
    if (row < 0 || static_cast<std::size_t>(row) >= rows_.size())
        return values;
    const auto& t = rows_[static_cast<std::size_t>(row)].Texts;
    values.Caption = rows_[static_cast<std::size_t>(row)].Caption;
    values.Count = t[scCount];
    values.CountPercent = t[scCountPercent];
    values.Deviation = t[scDeviation];
    values.DeviationPercent = t[scDeviationPercent];
    values.Depth = t[scDepth];
    values.DepthPercent = t[scDepthPercent];
    values.Weight = t[scWeight];
    values.PeriodMin = t[scPeriodMin];
    values.Period = t[scPeriod];
    values.PeriodMax = t[scPeriodMax];
    return values;
}

void TStatTable::ClearSelection() {
    for (TStatRow& row : rows_)
        row.Selected = false;
}

void TStatTable::SelectRow(std::size_t row, bool selected) {
    rows_.at(row).Selected = selected;
}

std::vector<std::size_t> TStatTable::SelectedRows() const {
    std::vector<std::size_t> selected;
    for (std::size_t i = 0; i < rows_.size(); ++i)
        if (rows_[i].Selected)
            selected.push_back(i);
    return selected;
}

TStatDrawArray TStatTable::SelectedItems() const {
    TStatDrawArray items;
    for (const TStatRow& row : rows_)
        if (row.Selected)
            items.push_back(row.Item);
    return items;
}

std::string TStatTable::SelectedCaptions() const {
    std::string text;
    for (const TStatRow& row : rows_) {
        if (!row.Selected)
            continue;
        if (!text.empty())
            text += "; ";
        text += row.Caption;
    }
    return text;
}

int TStatTable::SelectByCaptions(const std::vector<std::string>& captions) {
    int count = 0;
    for (TStatRow& row : rows_)
        if (std::find(captions.begin(), captions.end(), row.Caption) != captions.end()) {
            row.Selected = true;
            ++count;
        }
    return count;
}

} // namespace pelko
