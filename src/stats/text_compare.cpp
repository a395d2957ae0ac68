#include "stats/text_compare.h"

#include <charconv>
#include <cmath>

namespace pelko {

namespace {

char AsciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

} // namespace

bool SameTextAscii(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (AsciiUpper(a[i]) != AsciiUpper(b[i]))
            return false;
    return true;
}

std::string FoldCase(std::string_view text) {
    std::string out(text);
    for (std::size_t i = 0; i < out.size(); ++i) {
        const auto c = static_cast<unsigned char>(out[i]);
        if (c >= 'A' && c <= 'Z') {
            out[i] = static_cast<char>(c - 'A' + 'a');
        } else if (c == 0xD0 && i + 1 < out.size()) {
            const auto d = static_cast<unsigned char>(out[i + 1]);
            if (d >= 0x90 && d <= 0x9F) { // А..П -> а..п
                out[i + 1] = static_cast<char>(d + 0x20);
            } else if (d >= 0xA0 && d <= 0xAF) { // Р..Я -> р..я
                out[i] = static_cast<char>(0xD1);
                out[i + 1] = static_cast<char>(d - 0x20);
            } else if (d == 0x81) { // Ё -> ё
                out[i] = static_cast<char>(0xD1);
                out[i + 1] = static_cast<char>(0x91);
            }
            ++i;
        }
    }
    return out;
}

int CompareTextFolded(std::string_view a, std::string_view b) {
    const std::string x = FoldCase(a), y = FoldCase(b);
    return x < y ? -1 : x > y ? 1 : 0;
}

bool CellToNumber(std::string_view text, double& value) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    std::string s(text);
    for (char& c : s)
        if (c == ',')
            c = '.';
    std::string_view v = s;
    if (!v.empty() && v.front() == '+')
        v.remove_prefix(1);
    if (v.empty() || v.front() == '+')
        return false;
    const auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), value, std::chars_format::general);
    return ec == std::errc() && end == v.data() + v.size() && std::isfinite(value);
}

} // namespace pelko
