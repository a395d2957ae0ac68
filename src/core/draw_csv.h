#pragma once
// Exchange of the draw archive with other tools as a ";"-separated CP1251 text file:
// number;"date";six numbers per line (the export form), or "date";six numbers.

#include "core/lottery.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pelko {

// Splits one line into fields: ";" separates; outside quotes blanks and control
// characters also end a field and are skipped; a quoted field runs to its closing quote
// with doubled quotes standing for one; a ";" ending the line adds an empty field.
std::vector<std::string> SplitDrawCsvFields(std::string_view line);

// The export file content (CP1251 bytes, CR LF): every draw, oldest first.
std::string DrawsToCsv(const TDrawsArray& draws);
std::string DrawToCsvLine(const TDrawData& draw);

// Bounds of an import file: an archive of every draw ever held is far below them.
inline constexpr std::uint64_t MAX_DRAWS_CSV_BYTES = std::uint64_t(64) << 20;

struct TDrawsImport {
    int Added = 0;
    std::size_t Refused = 0; // lines whose numbers are outside 1..45 or repeated
};
// Appends the draws of a CSV file content that the archive does not have yet (by draw
// number). Lines that do not parse are skipped; lines with impossible numbers are refused
// and counted. A UTF-8 byte-order mark at the start is skipped. Throws std::runtime_error,
// adding nothing, when a line is longer than MAX_TEXT_LINE_BYTES.
TDrawsImport ImportDrawsCsv(std::string_view content, TDrawsArray& draws);


} // namespace pelko
