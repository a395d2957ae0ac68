#pragma once
// What the stakes grid shows for a record: cell texts, alignment, colours and which
// numbers are painted as matched. The grid itself (a widget) reads rows on demand.

#include "stakes/stake_record.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pelko {

enum TStakeColumn : int {
    scolDraw = 0,   // "№ тиража"
    scolKind,       // "Вид ставки"
    scolNumbers,    // "Моя ставка"
    scolSample,     // "Выборка"
    scolResult,     // "Результаты тиража"
    scolMatchCount, // "Совпадений"
    scolMatches,    // "Совпадения"
    scolProfit,     // "Профит"
    scolComment,    // "Комментарий"
    scolCount,
};

enum class TCellAlign { Center, Right, Left };

const char* StakeColumnCaption(int column);
int StakeColumnWidth(int column);
TCellAlign StakeColumnAlign(int column); // right and left cells keep 2 px from the edge

// The cell text; separators show nothing, result and match columns only once checked.
std::string StakeCellText(const TStakeData& stake, int column);
// Background of unselected cells: the kind's colour, or none for the window colour.
std::optional<std::uint32_t> StakeCellBackground(const TStakeData& stake);
// Text colour of columns 5..7 of a checked stake: green (0x008000) for a profit above 0,
// red (0xFF0000) otherwise; none for the window text colour.
std::optional<std::uint32_t> StakeCellTextColor(const TStakeData& stake, int column);

// Columns 2 and 4 are painted number by number; each matched number bold blue.
struct TPaintedNumber {
    std::uint8_t Number = 0;
    bool Matched = false;
};
std::vector<TPaintedNumber> StakeCellNumbers(const TStakeData& stake, int column);

// "Ставок: %d".
std::string StakesCountText(std::int64_t count);

} // namespace pelko
