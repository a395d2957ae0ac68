#pragma once
// One rating row: the checked stakes of one comment, their matches and profit. The ratings
// file "Pelko_6x45.lrt" is a flat sequence of these 304-byte records.

#include "core/lottery.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace pelko {

inline constexpr const char* RATINGS_FILE_NAME = "Pelko_6x45.lrt";
inline constexpr std::size_t RATING_RECORD_SIZE = 304;

struct TRatingData {
    std::uint8_t CommentLen = 0;
    char Comment[255] = {}; // Windows-1251 bytes; the row's key
    std::uint32_t Stakes = 0;
    std::uint32_t Matched = 0;
    std::uint32_t Hits[LOTTO_COUNT + 1] = {};
    std::uint8_t Reserved[4] = {};
    TMoney Profit = 0;

    std::string CommentText() const;
    void SetCommentText(std::string_view utf8);
    std::string_view RawComment() const { return {Comment, CommentLen}; }
    void SetRawComment(std::string_view cp1251);
};
static_assert(sizeof(TRatingData) == RATING_RECORD_SIZE, "TRatingData is the 304-byte rating row");

using TRatingsArray = std::vector<TRatingData>;

std::string EncodeRatingRecord(const TRatingData& row);
TRatingData DecodeRatingRecord(const char* record);

// Whole rows of the file (a partial row at the end is not read); a missing file gives none.
// Throws std::runtime_error when the file cannot be read.
TRatingsArray ReadRatingsFile(const std::filesystem::path& file);
// Replaces the file atomically.
void WriteRatingsFile(const std::filesystem::path& file, const TRatingsArray& rows);

} // namespace pelko
