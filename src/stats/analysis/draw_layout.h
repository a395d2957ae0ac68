#pragma once
// The layout of drawn numbers (tab "Схема"): over the last N draws up to the analysis point,
// each number placed by how often it was drawn (rows, most first) and by the draw it was
// last drawn in (columns, newest first); below, the counts for five other window lengths.

#include "core/lottery.h"
#include "stats/analysis/numbers_pick.h"

#include <cstdint>
#include <string>
#include <vector>

namespace pelko {

struct TLayoutRecord {
    std::uint8_t Number = 0;
    std::int32_t Count = 0;
    std::int32_t LastDraw = 0; // the draw number of its newest occurrence in the window
};

// The window's numbers in first-met order (newest draw first, drawn order within a draw).
// Empty when the offset hides every draw.
std::vector<TLayoutRecord> LayoutRecords(const TDrawsArray& draws, int offset, int n);

struct TLayoutMap {
    std::vector<std::int32_t> Counts;    // row headers, descending
    std::vector<std::int32_t> LastDraws; // column headers, descending
    // Cells[row][column] without the headers: "3, [17], 40" (the first hidden draw's
    // numbers in brackets).
    std::vector<std::vector<std::string>> Cells;
};
TLayoutMap MakeLayoutMap(const TDrawsArray& draws, int offset, int n);

struct TLayoutCompareRow {
    std::int32_t Count = 0;
    std::string Numbers; // "5, 12, 33" in first-met order
};
struct TLayoutCompare {
    std::string Caption; // "4801 - 4900": oldest and newest draw of the window
    std::vector<TLayoutCompareRow> Rows; // largest count first
};
TLayoutCompare MakeLayoutCompare(const TDrawsArray& draws, int offset, int n);

// A map cell's colour (0xRRGGBB) at 1-based row and column of a grid of rowCount x colCount
// cells, headers included: the gradient, or the 5 x 5 checkerboard. The hidden draw's
// lime and the selection are the view's.
std::uint32_t LayoutCellColor(int row, int column, int rowCount, int colCount, bool gradient);

// The numbers a map cell's text names ("3, [17], 40" -> 3, 17, 40; a word that is not a
// number reads as 0), with the words as written without the brackets.
void AddLayoutCellNumbers(const std::string& text, TNumbersPick& pick);
// The numbers of the map's cells in a rectangle (0-based cell rows and columns, headers
// left out), column by column, top to bottom, empty cells skipped.
TNumbersPick PickLayoutNumbers(const TLayoutMap& map, int top, int left, int bottom, int right);

} // namespace pelko
