#pragma once
// The text of one scenario line: the options text, seven filter texts and a comment joined
// by "|". Runs of "|" count as one separator, so an empty filter is written as one blank
// and a line whose text is blank is a separator that runs pass over.

#include <array>
#include <string>
#include <string_view>

namespace pelko {

inline constexpr int SCRIPT_FILTER_COUNT = 7;
inline constexpr int SCRIPT_FIELD_COUNT = 9;
inline constexpr int SCRIPT_OPTIONS_FIELD = 1;
inline constexpr int SCRIPT_FIRST_FILTER_FIELD = 2;
inline constexpr int SCRIPT_COMMENT_FIELD = 9;

using TScriptFilterTexts = std::array<std::string, SCRIPT_FILTER_COUNT>;

// Filters and the comment go in as typed; blank ones become " " (filters) or are left out
// (the comment; the line then ends with the "|" after filter 7).
std::string ScriptLineText(std::string_view optionsText, const TScriptFilterTexts& filters,
                           std::string_view comment);
// Field n (1..9) trimmed; "" when the line has fewer fields.
std::string ScriptLineField(std::string_view line, int n);
bool IsSeparatorLine(std::string_view line);

} // namespace pelko
