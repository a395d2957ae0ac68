#include "core/segments.h"

namespace pelko {

std::string SegmentsToText(const TSegments& segments) {
    std::string text;
    text.reserve(segments.size());
    for (const std::uint8_t value : segments)
        text += std::to_string(value);
    return text;
}

TSegments TextToSegments(std::string_view text) {
    TSegments segments{};
    for (std::size_t i = 0; i < segments.size(); ++i) {
        const bool isDigit = i < text.size() && text[i] >= '0' && text[i] <= '9';
        segments[i] = isDigit ? static_cast<std::uint8_t>(text[i] - '0') : 1;
    }
    return segments;
}

} // namespace pelko
