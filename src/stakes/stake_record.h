#pragma once
// One stake: 6 to 15 numbers played on one draw, its result once the draw is known, and
// the comment that names where it came from (the ratings' key). The stakes file is a flat
// sequence of these 328-byte records; separator records (draw number -1) only group
// stakes visually and every operation skips records whose draw number is not positive.
//
// Records read from a file keep whatever counts they carry (a damaged file may say 200
// numbers or 9 matches); the accessors below clamp them, and nothing indexes by raw counts.

#include "core/lottery.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pelko {

inline constexpr const char* STAKES_FILE_NAME = "Pelko_6x45.lsk";
inline constexpr std::uint8_t STAKE_VERSION = 2;
inline constexpr std::size_t STAKE_RECORD_SIZE = 328;
inline constexpr int MIN_STAKE_NUMBERS = 6;
inline constexpr int MAX_STAKE_NUMBERS = 15;
inline constexpr int STAKE_COMMENT_MAX = 255; // CP1251 bytes

enum TStakeKind : std::uint8_t {
    skSeparator = 0,
    skManual = 1,   // "Вручную"
    skRegular = 2,  // "Регуляр"
    skScenario = 3, // "Сценарий"
    skSystem = 4,   // "Система"
};

// Field offsets of the record, as the file stores them.
namespace stake_offsets {
inline constexpr std::size_t Version = 0, Kind = 1, DrawNumber = 4, Checked = 8, SampleSize = 12,
                             Numbers = 16, DrawResult = 36, Matches = 44, Profit = 64, Comment = 72;
}

struct TStakeData {
    std::uint8_t Version = STAKE_VERSION;
    std::uint8_t Kind = skManual;
    std::uint8_t Reserved1[2] = {};
    std::int32_t DrawNumber = 0;
    std::uint8_t Checked = 0;
    std::uint8_t Reserved2[3] = {};
    std::int32_t SampleSize = 0;
    TNumberSet Numbers;                        // ascending
    std::uint8_t DrawResult[LOTTO_COUNT] = {}; // drawn order; 0 until checked
    std::uint8_t Reserved3[2] = {};
    TNumberSet Matches{-1, {}}; // count -1 until checked
    TMoney Profit = 0;          // minus the cost until checked
    std::uint8_t CommentLen = 0;
    char Comment[STAKE_COMMENT_MAX] = {}; // Windows-1251 bytes, CommentLen of them count

    bool IsSeparator() const { return DrawNumber <= 0; }
    bool IsChecked() const { return Checked != 0; }
    // Numbers and matches with their counts clamped to what the record can hold.
    int NumbersCount() const;
    int MatchesCount() const;
    // The raw match count: -1 unchecked, 0..6 normally, anything in a damaged file.
    std::int32_t MatchCount() const { return Matches.Count; }

    std::string CommentText() const;            // UTF-8
    void SetCommentText(std::string_view utf8); // converted and cut to 255 bytes
    std::string_view RawComment() const { return {Comment, CommentLen}; }
    void SetRawComment(std::string_view cp1251);
};
static_assert(sizeof(TStakeData) == STAKE_RECORD_SIZE, "TStakeData is the 328-byte stake record");

// Encodes into exactly STAKE_RECORD_SIZE bytes (reserved bytes written as 0).
void EncodeStakeRecord(const TStakeData& stake, char* out);
std::string EncodeStakeRecord(const TStakeData& stake);
TStakeData DecodeStakeRecord(const char* record);

// Whether a record read from the file can be used: version 2; a separator (draw number not
// positive), or a stake of kind 1..4 with 6..15 distinct numbers of 1..45, a checked flag
// of 0 or 1, a match count of -1..6 and, once checked, a draw result of six valid numbers.
// A damaged record is shown as such and left out of checks, ratings and graphs.
bool IsValidStakeRecord(const TStakeData& stake);
inline constexpr const char* STAKE_READ_ERROR = "Ошибка чтения записи из файла ставок!";
inline constexpr const char* DAMAGED_STAKE_CAPTION = "Повреждена";

// Version 2, kind 0, draw -1, nothing else but matches count -1.
TStakeData MakeSeparator();

// "Вручную", "Регуляр", "Сценарий", "Система"; "" for any other code.
std::string StakeKindText(int kind);
// Row background as 0xRRGGBB; none for the window colour (separators, unknown kinds).
std::optional<std::uint32_t> StakeKindColor(int kind);

// A number set from the numbers in the given order (at most 16 kept).
TNumberSet MakeNumberSet(const std::uint8_t* numbers, int count);

} // namespace pelko
