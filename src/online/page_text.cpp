#include "online/page_text.h"

#include "core/text_forms.h"

#include <stdexcept>

namespace pelko {
namespace {

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

// Position of the first `what` in text at or after `from`, ASCII case folded; npos if none.
std::size_t FindNoCase(std::string_view text, std::string_view what, std::size_t from = 0) {
    if (what.empty()) return from <= text.size() ? from : std::string_view::npos;
    if (text.size() < what.size()) return std::string_view::npos;
    for (std::size_t i = from; i + what.size() <= text.size(); ++i) {
        std::size_t k = 0;
        while (k < what.size() && LowerAscii(text[i + k]) == LowerAscii(what[k]))
            ++k;
        if (k == what.size()) return i;
    }
    return std::string_view::npos;
}

struct TFound {
    bool Found = false;     // start marker present
    std::string Piece;      // trimmed and unquoted
    std::size_t CutTo = 0;  // how much of the text a cut removes
};

TFound Locate(std::string_view text, std::string_view start, std::string_view end, int mode) {
    TFound found;
    const std::size_t at = FindNoCase(text, start);
    if (at == std::string_view::npos) return found;
    const std::size_t begin = at + start.size();
    std::size_t stop = text.size();
    found.CutTo = text.size();
    if (!end.empty()) {
        stop = FindNoCase(text, end, begin);
        if (stop == std::string_view::npos) {
            if (mode == EXTRACT_FAIL)
                throw std::runtime_error(MarkerPairNotFoundText(text, start, end));
            if (mode != EXTRACT_REST) return found;
            stop = text.size();
        } else {
            found.CutTo = stop + end.size();
        }
    }
    found.Found = true;
    found.Piece = Unquote(TrimText(text.substr(begin, stop - begin)));
    return found;
}

} // namespace

std::string MarkerPairNotFoundText(std::string_view text, std::string_view start,
                                   std::string_view end) {
    std::string message = "Не удалось найти пару идентификаторов \"";
    message.append(start).append("\" - \"").append(end).append("\" в тексте\n\n[");
    message.append(text).append("]!");
    return message;
}

std::string ExtractBetween(std::string_view text, std::string_view start, std::string_view end,
                           int mode) {
    return Locate(text, start, end, mode).Piece;
}

std::string CutBetween(std::string& text, std::string_view start, std::string_view end,
                       int mode) {
    TFound found = Locate(text, start, end, mode);
    if (found.Found) text.erase(0, found.CutTo);
    return std::move(found.Piece);
}

std::string NextBlock(std::string& text, std::string_view marker) {
    const std::size_t at = FindNoCase(text, marker);
    if (at == std::string::npos) return {};
    const std::size_t begin = at + marker.size();
    // The next marker is looked for from one past the block's start, so a marker that
    // follows the first one directly still belongs to this block.
    std::size_t next = begin + 1 <= text.size() ? FindNoCase(text, marker, begin + 1)
                                                : std::string::npos;
    if (next == std::string::npos) next = text.size();
    std::string block = Unquote(TrimText(std::string_view(text).substr(begin, next - begin)));
    text.erase(0, next);
    return block;
}

std::string ExtractNested(std::string_view text, std::string_view outerStart,
                          std::string_view outerEnd, std::string_view innerStart,
                          std::string_view innerEnd, int mode) {
    const std::string outer = ExtractBetween(text, outerStart, outerEnd, mode);
    return ExtractBetween(outer, innerStart, innerEnd, mode);
}

std::string Unquote(std::string_view text) {
    if (text.size() <= 1 || text.front() != '"' || text.back() != '"') return std::string(text);
    std::string inner(text.substr(1, text.size() - 2));
    // From the end backwards: a quote stays only when another quote stands before it.
    for (std::size_t i = inner.size(); i-- > 0;) {
        if (inner[i] == '"' && (i == 0 || inner[i - 1] != '"')) inner.erase(i, 1);
    }
    return inner;
}

} // namespace pelko
