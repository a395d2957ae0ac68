#pragma once
// Where numbers stand when shown: the number matrix (row by row, `cols` columns), the
// channels (runs of `width` consecutive numbers) with their cell colours, and the cyclic
// shift of numbers around 1..45.

#include "core/lottery.h"

#include <cstdint>

namespace pelko {

// 1-based column and row of number n in a matrix of `cols` columns.
int MatrixCol(int n, int cols);
int MatrixRow(int n, int cols);
// The number in a cell given by 0-based row and column; the cell is a real number only
// when the result lies in 1..45.
int MatrixNumber(int row, int cols, int column);

// Channel ceil(n / width) of number n.
int ChannelOf(int n, int width);
// Cell colour of number n as 0xRRGGBB: the colour of its channel (the table repeats after
// 19 channels), pure red for numbers outside 1..45 or a width below 1.
std::uint32_t ChannelColor(int n, int width);
inline constexpr std::uint32_t OUT_OF_RANGE_COLOR = 0xFF0000;

// n moved by d around 1..45 with one wrap (|d| < 45); d = 0 keeps n.
int ShiftNumber(int n, int d);
// Every number of the combination shifted by d; the order is kept, not re-sorted.
TComb ShiftComb(const TComb& comb, int d);

} // namespace pelko
