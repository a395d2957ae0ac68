#pragma once
// The stored forms of a combination list: the combinations file ".lcv" (text, one
// combination per line, "3;11;17;28;40;45", CR LF), the clipboard text
// ("03 11 17 28 40 45" per line) and the buffer file ".~buff" (raw six-byte records).
//
// Every reader refuses a combination whose numbers are not six distinct values of 1..45
// (every statistic indexes by number) and counts it, so a list only ever holds valid
// combinations.

#include "core/comb_list.h"
#include "core/comb_selection.h"
#include "core/lottery.h"
#include "core/progress_steps.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace pelko {

inline constexpr const char* COMBS_FILE_EXTENSION = "lcv";
inline constexpr const char* COMBS_FILE_FILTER = "Файлы комбинаций (*.lcv)|*.lcv";
inline constexpr const char* COMBS_BUFFER_EXTENSION = ".~buff";

// Bounds of a combinations file: the full list in this form is about 190 MB.
inline constexpr std::uint64_t MAX_COMBS_FILE_BYTES = std::uint64_t(512) << 20;

// Replaces the list's entries by the file's combinations and returns how many lines were
// refused for impossible numbers. Lines that do not split into exactly six words at ","
// and ";" are skipped; each word, trimmed, is an integer or 0. A UTF-8 byte-order mark at
// the start is skipped. The capacity grows to the file size / 128 entries and further as
// needed. Throws std::runtime_error with the system's text, or when a line is longer than
// 64 KiB or the file larger than MAX_COMBS_FILE_BYTES; the entries read before stay.
std::size_t LoadCombsFile(const std::filesystem::path& file, TCombList& list);
// Appends the combinations of text lines in the file's form (the last line may lack its
// break).
struct TCombsTextLoad {
    std::size_t Added = 0;
    std::size_t Refused = 0;
};
TCombsTextLoad AppendCombsFileText(std::string_view text, TCombList& list);

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
// Replaces the list's entries by one entry per line (TextToComb) and returns how many lines
// were refused for impossible numbers. The first line that is not six words throws its
// message; the list then holds the lines before it.
std::size_t ClipboardTextToCombs(std::string_view text, TCombList& list);

// The buffer file: the first count entries as six-byte records, no header. Progress is
// told after every max(1, count div 100)-th record. Throw std::runtime_error.
void WriteCombsBuffer(const std::filesystem::path& file, const TComb* combs, std::size_t count,
                      const TProgressFn& progress = {});
// Replaces the list's entries by the file's records (a trailing partial record is ignored).
// A record with impossible numbers means the file is damaged: it throws.
void ReadCombsBuffer(const std::filesystem::path& file, TCombList& list,
                     const TProgressFn& progress = {});

} // namespace pelko
