#pragma once
// The stored forms of a combination list: the combinations file ".lcv" (text, one
// combination per line, "3;11;17;28;40;45", CR LF), the clipboard text
// ("03 11 17 28 40 45" per line) and the buffer file ".~buff" (raw six-byte records).
//
// Numbers read from text are kept as written, unchecked; a value beyond a byte keeps its
// low eight bits (300 -> 44, -1 -> 255), as a byte store does. Readers of the list must
// therefore expect any byte value, not only 1..45.

#include "core/comb_list.h"
#include "core/comb_selection.h"
#include "core/lottery.h"
#include "core/progress_steps.h"

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace pelko {

inline constexpr const char* COMBS_FILE_EXTENSION = "lcv";
inline constexpr const char* COMBS_FILE_FILTER = "Файлы комбинаций (*.lcv)|*.lcv";
inline constexpr const char* COMBS_BUFFER_EXTENSION = ".~buff";

// Replaces the list's entries by the file's combinations. Lines that do not split into
// exactly six words at "," and ";" are skipped; each word, trimmed, is an integer or 0.
// The capacity grows to the file size / 128 entries and further as needed. Throws
// std::runtime_error with the system's text; the entries read before a failure stay.
void LoadCombsFile(const std::filesystem::path& file, TCombList& list);
// Appends the combinations of text lines in the file's form (the last line may lack its
// break) and returns how many were appended.
std::size_t AppendCombsFileText(std::string_view text, TCombList& list);

// Writes the entries, one "3;11;17;28;40;45" line each ended by CR LF. The new content
// replaces the old file only once it is complete. Throws std::runtime_error.
void SaveCombsFile(const std::filesystem::path& file, const TComb* combs, std::size_t count);
inline void SaveCombsFile(const std::filesystem::path& file, const TCombList& list) {
    SaveCombsFile(file, list.Data(), list.Count());
}

// The selected entries (positions below count), in list order, as clipboard text: every
// line "01 02 03 04 05 06" ended by CR LF.
std::string CombsToClipboardText(const TComb* combs, std::size_t count,
                                 const TCombSelection& selection);
// Lines of a text: each ends at CR, LF or CR LF; a break at the very end adds no line.
std::size_t CountTextLines(std::string_view text);
// Replaces the list's entries by one entry per line (TextToComb). The first line that is
// not a combination throws its message; the list then holds the lines before it.
void ClipboardTextToCombs(std::string_view text, TCombList& list);

// The buffer file: the first count entries as six-byte records, no header. Progress is
// told after every max(1, count div 100)-th record. Throw std::runtime_error.
void WriteCombsBuffer(const std::filesystem::path& file, const TComb* combs, std::size_t count,
                      const TProgressFn& progress = {});
// Replaces the list's entries by the file's records (a trailing partial record is ignored).
void ReadCombsBuffer(const std::filesystem::path& file, TCombList& list,
                     const TProgressFn& progress = {});

} // namespace pelko
