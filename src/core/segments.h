#pragma once
// Text form of the matrix segments: one value per lottery number, kept in the data ini file.

#include "core/lottery.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace pelko {

using TSegments = std::array<std::uint8_t, LOTTO_MAX>; // number n at [n - 1]

// The 45 values in decimal without separators (one digit each for values 1..9).
std::string SegmentsToText(const TSegments& segments);

// Position i takes the i-th character as a digit value; a missing or non-digit character
// gives 1. "0" gives 0: range checks are the caller's business.
TSegments TextToSegments(std::string_view text);

} // namespace pelko
