#pragma once
// printf-style formatting into a std::string (UTF-8 texts pass through unchanged).
// "%.0f" and friends always use "." as the decimal point: the C locale is never changed.

#include <string>

namespace pelko {

std::string Format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

// "<text> ( завершено 12 % )..." style progress texts: 100 * done / total, whole per cent.
std::string PercentText(const std::string& prefix, double done, double total,
                        const std::string& suffix = ")...");

} // namespace pelko
