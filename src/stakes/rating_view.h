#pragma once
// What the rating list shows: captions, cell texts by efficiency mode, the expected match
// distribution of random play, the CSV export and the way back from a row to a scenario
// line.

#include "stakes/rating_record.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace pelko {

// How the "E0".."E6" columns compare a row with random play.
enum TRatingsEffMode : int {
    emExpected = 0, // expected number of stakes with i matches
    emAbsolute = 1, // percentage points above or below random play (the default)
    emRelative = 2, // percent of the random expectation
};

// N_i = CombsWithMatches(45, 6, i) and P_i = N_i / C(45, 6), i = 0..6.
struct TExpectedMatches {
    std::array<std::int64_t, 7> Combs{};
    std::array<double, 7> Probability{};
};
const TExpectedMatches& ExpectedMatches();

// "Комментарий", "Ставок", ..., "E6".
const char* RatingColumnCaption(int column);
int RatingColumnWidth(int column);

// Ei as a number, by mode; nothing when the row has no stakes.
std::optional<double> RatingEfficiency(const TRatingData& row, int i, int mode);
// The text of a cell; "" where the row has no stakes to average over.
std::string RatingCellText(const TRatingData& row, int column, int mode);

// "Рейтинг: %d", the status bar text of the rating.
std::string RatingsCountText(std::size_t rows);

// The export file content: Windows-1251, CR LF, captions of all twenty columns, then per
// row the comment and twelve numbers (efficiency columns are not written); numbers use
// the given decimal point.
std::string RatingsToCsv(const TRatingsArray& rows, char decimalPoint);

// The list as text: the twenty captions, then per row the twenty cell texts; fields
// separated by ";" (quoted when they hold ";" or a quote), UTF-8, LF line ends.
std::string RatingsToText(const TRatingsArray& rows, int mode);

// The scenario line a rating row's caption stands for: the part before the first "@" is
// the comment, the part after it the options and filters joined by " + " (text level; the
// scenario decides whether the line is acceptable).
std::string RatingCaptionToScriptLine(std::string_view caption);

} // namespace pelko
