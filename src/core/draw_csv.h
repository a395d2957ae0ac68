#pragma once
// Exchange of the draw archive with other tools as a ";"-separated CP1251 text file:
// number;"date";six numbers per line (the export form), or "date";six numbers.

#include "core/lottery.h"

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

// Appends the draws of a CSV file content that the archive does not have yet (by draw
// number); returns how many were added. Lines that do not parse are skipped.
int ImportDrawsCsv(std::string_view content, TDrawsArray& draws);

} // namespace pelko
