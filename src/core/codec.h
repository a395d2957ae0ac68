#pragma once
// The one Windows-1251 codec: UTF-8 inside the program, CP1251 in files and on the wire.

#include <string>
#include <string_view>

namespace pelko {

// Every byte maps to a character; the one unassigned byte (0x98) becomes U+FFFD.
std::string Cp1251ToUtf8(std::string_view cp1251);
// Characters that CP1251 lacks become '?'; invalid UTF-8 bytes become '?' too.
std::string Utf8ToCp1251(std::string_view utf8);

} // namespace pelko
