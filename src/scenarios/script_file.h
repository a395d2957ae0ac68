#pragma once
// Scenario files (the working scenario and the user's ".lsc" files): Windows-1251 text, one
// scenario line per text line, each ended by CR LF; an empty text line is a separator.
// Failures throw std::runtime_error with the system's error text.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace pelko {

inline constexpr const char* WORKING_SCRIPT_FILE_NAME = "Pelko_6x45.lss";
inline constexpr const char* SCRIPT_FILE_EXTENSION = "lsc";
inline constexpr const char* SCRIPT_FILE_FILTER = "Файлы сценариев (*.lsc)|*.lsc";

// Lines of a text in any of CR, LF or CR LF; a line end at the very end adds no line.
std::vector<std::string> SplitTextLines(std::string_view text);

// The file's lines in UTF-8.
std::vector<std::string> ReadScriptFile(const std::filesystem::path& file);
// Replaces the file as a whole (temporary file renamed over it).
void WriteScriptFile(const std::filesystem::path& file, const std::vector<std::string>& lines);

} // namespace pelko
