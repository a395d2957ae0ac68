#pragma once
// Text comparisons of the method lists and the statistics table: codes ignoring ASCII case,
// captions ignoring the case of Latin and Cyrillic letters, and cells read as numbers.

#include <string>
#include <string_view>

namespace pelko {

bool SameTextAscii(std::string_view a, std::string_view b);
// Lower case of ASCII and Cyrillic letters of a UTF-8 text; other characters unchanged.
std::string FoldCase(std::string_view text);
// <0, 0, >0 comparing the folded texts.
int CompareTextFolded(std::string_view a, std::string_view b);
// A cell as a decimal number, "," read as "."; false unless the whole text (blanks at the
// ends aside) is one finite number.
bool CellToNumber(std::string_view text, double& value);

} // namespace pelko
