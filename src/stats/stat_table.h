#pragma once
// The statistics table as a model without widgets: a statistic's values over the last N
// draws of the archive with counts, shares, recency, gaps, expectations and, with the
// comparison switched on, the norms read from the method's prefetch file. Rows carry their
// twenty column texts; the table sorts, keeps a row selection and gives the chart's series.
// The workspace owns one table and feeds it the options it owns (draws offset, sorted
// draws, comparison, decimal separator).

#include "core/lottery.h"
#include "core/record_helpers.h"
#include "core/status_sink.h"
#include "stats/prefetch_files.h"
#include "stats/stat_draw.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pelko {

class TStatList;
class TPrefetchFiles;

enum TStatColumn : int {
    scValue = 0,        // "Значение"
    scCount,            // "Количество"
    scCountPercent,     // "Кол-во в %"
    scNorm,             // "Норма"
    scDeviation,        // "Отклонение"
    scDeviationPercent, // "Откл-ие в %"
    scDepth,            // "Глубина"
    scDepthPercent,     // "Глубина в %"
    scWeight,           // "Вес"
    scLastDraw,         // "Посл. тираж"
    scPeriodMin,        // "Период min"
    scPeriod,           // "Период"
    scPeriodMax,        // "Период max"
    scExpectPRD,        // "Ожд. ПРД"
    scExpectSTF,        // "Ожд. СТФ"
    scExpectKRN,        // "Ожд. КРН"
    scFact,             // "Факт"
    scDiffPRD,          // "+/- ПРД"
    scDiffSTF,          // "+/- СТФ"
    scDiffKRN,          // "+/- КРН"
    STAT_COLUMNS
};

const char* StatColumnTitle(int column);

// One row as scenario filters read it; Value is left 0 (the scenario step fills it).
struct TStatValues {
    std::string Caption;
    std::int32_t Value = 0;
    std::string Count;
    std::string CountPercent;
    std::string Deviation;
    std::string DeviationPercent;
    std::string Depth;
    std::string DepthPercent;
    std::string Weight;
    std::string PeriodMin;
    std::string Period;
    std::string PeriodMax;
};

struct TStatRow {
    TStatDraw Item;       // the row's own copy of its value
    std::string Caption;  // ValueToText
    std::array<std::string, STAT_COLUMNS> Texts;
    long double Weight = 0;
    int Fact = -1; // draw number of the next occurrence, -1 when none
    bool Selected = false;
};

struct TChartPoint {
    double X = 0;
    double Y = 0;
    std::string Label;
};

// Series data of the statistics chart (only when the table has more than one value).
struct TStatChart {
    static constexpr const char* ACTUAL_TITLE = "Фактические данные";     // green line, magenta markers
    static constexpr const char* TOTAL_TITLE = "Все возможные комбинации"; // red line
    std::vector<TChartPoint> Actual;
    std::vector<TChartPoint> Total;
    bool HasTotal = false;
};

// What a computation needs from the workspace.
struct TStatTableQuery {
    int MethodIndex = -1;   // registry index of the selected method; -1 = none selected
    int DrawsLen = 1000;    // N
    int DrawsOffset = 0;
    bool Sorted = false;    // sorted-draws option
    bool PrefetchEnabled = false; // comparison with the full set
    bool ShowTotalLine = true;
};

class TStatTable {
public:
    // prefetch may be null (then there are never norms).
    TStatTable(const TStatList& list, TPrefetchFiles* prefetch = nullptr);

    // Decimal separator of the "%.2f"-style texts; "." unless set (the window uses the
    // locale's). Takes effect at the next computation.
    char DecimalSeparator = '.';

    // Recomputes. Without force it returns false at once when the archive length, the
    // offset, N and the method are those of the last computation (the rows are kept and
    // only re-sorted by the caller's sort). Status texts go to the sink.
    bool ComputeStatTable(const TStatTableQuery& query, bool force, TStatusSink* sink = nullptr);
    // Forgets the cache keys and the rows.
    void Clear();

    std::size_t RowCount() const { return rows_.size(); }
    const TStatRow& Row(std::size_t i) const { return rows_.at(i); }
    const std::vector<TStatRow>& Rows() const { return rows_; }
    // The row's filter texts; an absent row gives empty texts.
    TStatValues RowTexts(int row) const;

    // Sorting: column -1 keeps the order of computation.
    int SortColumn() const { return sortColumn_; }
    bool SortDescending() const { return descending_; }
    // Sets the sort and re-sorts now (throws std::out_of_range for a column outside 0..19).
    void SortBy(int column, bool descending);
    // A header click: another column sorts ascending, the sort column reverses.
    void ClickColumn(int column);

    // Selection.
    void ClearSelection();
    void SelectRow(std::size_t row, bool selected = true);
    bool IsSelected(std::size_t row) const { return rows_.at(row).Selected; }
    std::vector<std::size_t> SelectedRows() const;
    // Copies of the selected rows' items, top to bottom (the filters' Selected).
    TStatDrawArray SelectedItems() const;
    // The selected rows' captions joined by "; " (the history's values text).
    std::string SelectedCaptions() const;
    // Selects the rows whose caption equals one of the texts; returns how many.
    int SelectByCaptions(const std::vector<std::string>& captions);

    const TStatChart& Chart() const { return chart_; }

    // Facts of the last computation.
    int FirstIndex() const { return firstIndex_; }
    int LastIndex() const { return lastIndex_; }
    int WindowSize() const { return windowSize_; }
    const TStatDrawSummary& Totals() const { return totals_; }
    bool HasPrefetchData() const { return hasPrefetch_; }
    long double Scale() const { return scale_; }
    int MethodIndex() const { return cacheMethod_; }
    // The prefetch error of the last computation (for an error box), empty when none.
    const std::string& PrefetchError() const { return prefetchError_; }

private:
    void FillRows(class TCustomStat& stat, const TStatDrawList& values, const TStatTableQuery& query);
    void BuildChart(class TCustomStat& stat, TStatDrawList& values, const std::optional<TPrefetchData>& prefetch,
                    bool showTotalLine);
    void SortRows();
    std::string Fixed(int decimals, long double value) const;

    const TStatList& list_;
    TPrefetchFiles* prefetch_;
    std::vector<TStatRow> rows_;
    TStatChart chart_;
    int sortColumn_ = -1;
    bool descending_ = false;

    bool cacheValid_ = false;
    std::size_t cacheDraws_ = 0;
    int cacheOffset_ = 0;
    int cacheLen_ = 0;
    int cacheMethod_ = -1;

    int firstIndex_ = 0;
    int lastIndex_ = -1;
    int windowSize_ = 0;
    TStatDrawSummary totals_;
    bool hasPrefetch_ = false;
    long double scale_ = 0;
    std::string prefetchError_;
};

} // namespace pelko
