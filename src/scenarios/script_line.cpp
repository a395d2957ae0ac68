#include "scenarios/script_line.h"

#include "core/text_forms.h"

#include <vector>

namespace pelko {

std::string ScriptLineText(std::string_view optionsText, const TScriptFilterTexts& filters,
                           std::string_view comment) {
    std::string line(optionsText);
    line += '|';
    for (const std::string& filter : filters) {
        line += TrimText(filter).empty() ? std::string_view(" ") : std::string_view(filter);
        line += '|';
    }
    if (!TrimText(comment).empty()) line += comment;
    return line;
}

std::string ScriptLineField(std::string_view line, int n) {
    if (n < 1) return {};
    const std::vector<std::string> words = SplitWords(line, "|");
    if (static_cast<std::size_t>(n) > words.size()) return {};
    return std::string(TrimText(words[static_cast<std::size_t>(n) - 1]));
}

bool IsSeparatorLine(std::string_view line) {
    return TrimText(line).empty();
}

} // namespace pelko
