#include "scenarios/script_file.h"

#include "core/atomic_file.h"
#include "core/codec.h"

namespace pelko {

std::vector<std::string> SplitTextLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.emplace_back(text.substr(start));
            break;
        }
        lines.emplace_back(text.substr(start, end - start));
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
    }
    return lines;
}

std::vector<std::string> ReadScriptFile(const std::filesystem::path& file) {
    std::vector<std::string> lines = SplitTextLines(ReadWholeFile(file));
    for (std::string& line : lines)
        line = Cp1251ToUtf8(line);
    return lines;
}

void WriteScriptFile(const std::filesystem::path& file, const std::vector<std::string>& lines) {
    std::string bytes;
    for (const std::string& line : lines) {
        bytes += Utf8ToCp1251(line);
        bytes += "\r\n";
    }
    WriteFileAtomically(file, bytes);
}

} // namespace pelko
