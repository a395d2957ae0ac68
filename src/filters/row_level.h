#pragma once
// Which rows of the statistics table a filter part selects: the level test reads one
// column of the row as the table shows it and compares it with the part's values.

#include "filters/filter_item.h"
#include "stats/stat_table.h"

#include <string>
#include <string_view>

namespace pelko {

inline constexpr const char* BAD_INTEGER_MESSAGE = "'%s' - неверное целое значение";
inline constexpr const char* BAD_DECIMAL_MESSAGE = "'%s' - неверное дробное значение";

// The level test. In the list modes every word of the values and the column must be
// numbers: the first that is not throws std::runtime_error with the conversion message.
bool RowMatchesLevel(const TFilterPart& part, const TStatValues& row);

// Conversions of table and filter texts; the throwing ones raise the conversion messages.
int RowTextToInt(std::string_view text);
long double RowTextToDecimal(std::string_view text);
int RowTextToIntDef(std::string_view text, int def);
long double RowTextToDecimalDef(std::string_view text, long double def);

} // namespace pelko
