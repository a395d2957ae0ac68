#pragma once
// The text forms of filter items and parts, in both directions. A scenario line keeps its
// filters as these texts, scenario stakes carry the part texts in their comments, and the
// filter dialog reads and writes them:
//   TSD1#NUMS:1000#LMV:5#SF:1      BMF11#EVEN:100-500;100#CDV:1,2,3#ST:3#0:-1:1:0:0
// Reading never fails: unknown codes leave defaults, and an unknown statistic code is
// kept as it was written.

#include "filters/filter_item.h"

#include <string>
#include <string_view>

namespace pelko {

class TStatList;

std::string FilterToText(const TFilterItem& item);
TFilterItem TextToFilter(const TStatList& stats, std::string_view text);
// As FilterToText, but the mode letters carry no column and the values are the part's own.
std::string FilterPartToText(const TFilterPart& part);
// The texts of the active parts joined by " + ".
std::string FilterRecToText(const TFilterRec& rec);

// The method's code (its class code with the type), empty for none.
std::string FilterMethodCode(const TStatMethod* method);

// Decimal numbers in filter texts: the shortest general form with up to 15 significant
// digits and "." as the decimal point, whatever the locale ("0", "-1", "0.25").
std::string FilterDecimalText(long double value);
// Keeps "-" and the digits, takes "." and "," as the decimal point and drops everything
// else; 0 when what is left is not a number.
long double ReadFilterDecimal(std::string_view text);

} // namespace pelko
