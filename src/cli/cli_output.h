#pragma once
// What the commands that print tables and draw charts share: the output file's kind by its
// suffix, numbers as the CSV files write them, the CSV going to a file or to the standard
// output, and a chart's picture drawn without a screen.

#include "stakes/result_graphs.h"

#include <string>

namespace pelko {

// True when `file` ends in `suffix` (".csv"), ignoring case.
bool HasSuffix(const std::string& file, const char* suffix);
// A whole number without a fraction, anything else with two decimals ("4", "3.25").
std::string ValueText(double value);
// A CSV field for a ';'-separated file: as it is, or in quotes (inner quotes doubled) when
// it holds ';', '"' or a line break.
std::string CsvField(const std::string& text);
// The CSV to the standard output (empty `file`) or, through the atomic save, to `file`,
// which must end in ".csv".
void WriteCsv(const std::string& file, const std::string& csv);
// The chart as PNG or SVG (by the suffix). Throws TCommandError when it was not written or
// when this build has no charts.
void WriteGraphPicture(const TGraphData& graph, const std::string& file);

} // namespace pelko
