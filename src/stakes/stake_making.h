#pragma once
// Making stakes as the stake and multi-stake dialogs do, and deleting them: by a range of
// grid rows, by a condition on the match count, or all at once.

#include "core/comb_list.h"
#include "core/config.h"
#include "core/lottery.h"
#include "stakes/stakes_file.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pelko {

inline constexpr const char* MANUAL_STAKE_COMMENT = "Ставка \"вручную\"";
inline constexpr const char* BAD_STAKE_MESSAGE = "Введена некорректная комбинация!";
inline constexpr const char* NO_COMMENT_MESSAGE = "Необходимо ввести комментарий!";
inline constexpr int STAKE_DIALOG_COMMENT_MAX = 64; // characters
inline constexpr int MAX_DRAWS_COUNT = 65535;

// A new stake as the stakes tab makes it: kind "Вручную", the next draw after the analysis
// point, the default comment, the list's size as sample, not checked, no numbers yet.
TStakeData NewStakeDefaults(std::int32_t nextDrawNumber, std::size_t sampleSize);

// The numbers field of the stake dialog: 6 to 15 words split at ";" and ",", each an
// integer 1..45, all different; returned ascending.
std::optional<TNumberSet> ParseStakeNumbers(std::string_view text);
// The sum field: every word read as an integer, 0 when it is not one.
int StakeNumbersSum(std::string_view text);

// The stake dialog's OK: the first error message, or nothing when the input is accepted.
std::optional<std::string> ValidateStakeDialog(std::string_view numbersText,
                                               std::string_view comment);
// The multi-stake dialog's OK.
std::optional<std::string> ValidateMultiStakeDialog(std::string_view comment);

// Sets the numbers and the price of a stake: profit = minus the cost of its numbers.
void SetStakeNumbers(TStakeData& stake, const TNumberSet& numbers, const TConfigData& config);
// A multi-stake member: the defaults with this draw, comment and combination.
TStakeData StakeFromComb(const TStakeData& defaults, const TComb& comb, const TConfigData& config);

// The comment of a scenario stake: "%.2d.%.3d:" with the line and variant numbers, " ",
// the line's comment and " " (both left out when it is blank), "@ ", then the short
// options text and the filter texts joined by " + "; cut to 255 bytes as the record keeps it.
std::string ScenarioStakeComment(int line, int variant, std::string_view lineComment,
                                 std::string_view shortOptions,
                                 const std::vector<std::string>& filterTexts);

// "Равно [ = ]", "Более [ > ]", "Не менее [ >= ]", "Менее [ < ]", "Не более [ <= ]".
enum TStakeCondition : int { scEqual, scMore, scNotLess, scLess, scNotMore };
const char* StakeConditionCaption(int condition);
// Whether a stake with match count m (-1 unchecked) is deleted.
bool StakeConditionHolds(int condition, int m, int value);
// "=3", ">3", ">=3", "<3", "<=3" (the command line's form).
std::optional<std::pair<TStakeCondition, int>> ParseStakeCondition(std::string_view text);

// DeleteSelectedStakes: removes the records of grid rows first..last (row = index + 1).
void DeleteSelectedStakes(TStakesFile& file, std::int64_t firstRow, std::int64_t lastRow);
// DeleteStakesByCondition: removes the stakes whose match count meets the condition;
// separators stay.
void DeleteStakesByCondition(TStakesFile& file, int condition, int value);

} // namespace pelko
