#pragma once
// The draw archive: the record file "Pelko_6x45.ldr" and the lookups every part of the
// program makes in the archive array (index 0 = oldest draw).

#include "core/lottery.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace pelko {

inline constexpr const char* DRAWS_FILE_NAME = "Pelko_6x45.ldr";

// Encodes / decodes archive records (28 bytes each, no header).
std::string EncodeDrawRecord(const TDrawData& draw);
TDrawData DecodeDrawRecord(const char* record28);

// What a load of the archive file found beside the draws it kept.
struct TDrawsLoad {
    std::size_t Refused = 0; // records with a number outside 1..45 or a repeated number
    std::size_t Partial = 0; // bytes of a trailing partial record
};
// Reads the archive file into `draws`, records one after another; a trailing partial
// record is not a draw, and a record whose numbers are impossible is left out and counted.
// A missing file leaves `draws` as it is. Throws std::runtime_error on a read failure,
// keeping the draws read before it.
TDrawsLoad ReadDrawsFile(const std::filesystem::path& file, TDrawsArray& draws);
// Rewrites the whole file atomically; throws std::runtime_error on failure (old file intact).
void WriteDrawsFile(const std::filesystem::path& file, const TDrawsArray& draws);

// Index of the entry with this draw number, or -1 (see the lookup order in the source).
int FindDraw(const TDrawsArray& draws, std::int32_t number);
// Removes the entry; throws "Запись со индексом %d в файле данных не найдена!" when absent.
void DeleteDraw(TDrawsArray& draws, int index);

// A hash of every draw's number, numbers and date: views that cache what they show by the
// archive's length also notice a draw edited in place.
std::uint64_t DrawsFingerprint(const TDrawsArray& draws);

// Archive index of the analysis point for offset k: last index - k (may be < 0).
int AnalysisIndex(const TDrawsArray& draws, int k);
// 0..size-1; 0 for an empty archive.
int ClampDrawsOffset(const TDrawsArray& draws, int k);
int NextDrawNumber(const TDrawsArray& draws, int k);
TComb OffsetDrawNumbers(const TDrawsArray& draws, int k);
std::string HiddenDrawText(const TDrawsArray& draws, int k);
TByteSet HiddenDrawSet(const TDrawsArray& draws, int k);

// A copy of the draw as analysis reads it: numbers ascending when `sorted`.
TDrawData DrawForAnalysis(const TDrawData& draw, bool sorted);
// The draw at an index, or an all-zero record outside the archive.
TDrawData DrawAt(const TDrawsArray& draws, int index, bool sorted);

// The draw dialog's acceptance rule: six words split at "," and ";", each an integer
// 1..45, all distinct. Returns the numbers in the order typed, or nothing.
std::optional<TComb> AcceptDrawNumbersText(std::string_view text);
inline constexpr const char* BAD_COMBINATION_MESSAGE = "Введена некорректная комбинация!";

} // namespace pelko
