#pragma once
// Export of a list (the draw list, the combination list, the statistics table...) into a
// new .xlsx workbook: the title on top, the column headers under it, then the rows. Rows
// are streamed one by one, so a list of all 8,145,060 combinations never sits in memory
// twice; a list longer than a sheet continues on further sheets.

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace pelko {

struct TSheetColumn {
    std::string Header;
    double Width = 10.0; // in characters, as spreadsheets measure it
};

// One cell: a number when IsNumber, the text otherwise.
struct TSheetCell {
    bool IsNumber = false;
    double Number = 0.0;
    std::string Text;

    static TSheetCell Of(double value) { return {true, value, {}}; }
    static TSheetCell Of(std::string text) { return {false, 0.0, std::move(text)}; }
};

struct TSheetTable {
    std::string Title; // the tab caption of the list
    std::vector<TSheetColumn> Columns;
    std::size_t RowCount = 0;
    // Fills `cells` (one per column) for the row; called once per row in ascending order.
    std::function<void(std::size_t row, std::vector<TSheetCell>& cells)> FillRow;
};

// Rows a sheet takes below its title and header rows.
inline constexpr std::size_t SHEET_DATA_ROWS = 1048576 - 2;

// Writes the workbook; `progress` (may be empty) gets the rows written so far and the
// total every 1 % or so. Throws std::runtime_error with the writer's text on failure.
void WriteSpreadsheet(
    const std::filesystem::path& file, const TSheetTable& table,
    const std::function<void(std::size_t done, std::size_t total)>& progress = {});

// A sheet name the format accepts: at most 31 characters, none of []:*?/\ .
std::string SheetName(const std::string& title, int part);

} // namespace pelko
