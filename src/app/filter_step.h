#pragma once
// One filter part of a scenario variant applied to the workspace's combination list: the
// statistics table is computed for the part's method and draws count, ordered by its
// column, walked in its direction, and the rows passing its level test are applied (one
// by one, or all at once in multi-select mode) until its stop condition holds.

#include "app/run_control.h"
#include "filters/filter_item.h"

#include <optional>
#include <string>

#include "core/config.h"

namespace pelko {

class Workspace;
class TCustomStat;
struct TStatValues;

inline constexpr const char* METHOD_NOT_FOUND_MESSAGE =
    "Метод расчета статистики \"%s\" на найден!\r%s\r\rВозможно, Вы отключили данных метод расчета "
    "либо использовали сценарий от другой модификации программы.";
inline constexpr const char* BAD_SORT_COLUMN_MESSAGE = "Некорректное занчение номера столбца сортировки (%d)";

// The log's text of a table row: "< [caption] кол-во: ... вес: ... >".
std::string RowLogText(const TStatValues& row);

class TFilterStep {
  public:
    TFilterStep(Workspace& ws, TRunControl& run);

    // Errors (method not listed, bad sort column, conversion errors of the level test)
    // throw std::runtime_error with the message to show; the list keeps what the last
    // completed application left.
    void ApplyFilterPart(const TFilterPart& part);
    // The active parts in order, each only while the list holds more than one combination.
    void ApplyFilterRec(const TFilterRec& rec);

  private:
    int SelectMethod(const TFilterPart& part);
    void ComputeTable(const TFilterPart& part, int method);
    void LogTable();
    void WalkRows(const TFilterPart& part, TCustomStat& stat, int method);
    // Applies the table's selected rows; returns false when the list came out empty and
    // the application was undone.
    bool ApplySelection(const TFilterPart& part, TCustomStat& stat, int method);
    TStatValues RowValues(std::size_t row, const TCustomStat& stat) const;

    Workspace& ws_;
    TRunControl& run_;
    // The weight coefficients the table's "Вес" column was computed with.
    std::optional<TCDLData> tableCDL_;
};

} // namespace pelko
