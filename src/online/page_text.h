#pragma once
// Small helpers that pick pieces out of web pages by their surrounding markers. Markers
// are found without regard to ASCII case; pieces come back trimmed and unquoted. They
// work on bytes, so they serve CP1251 and UTF-8 pages alike.

#include <string>
#include <string_view>

namespace pelko {

// What a piece becomes when its start marker is found but its end marker is not.
enum : int {
    EXTRACT_FAIL = 0,  // throw std::runtime_error (the pair text below)
    EXTRACT_EMPTY = 1, // the empty text
    EXTRACT_REST = 2,  // the rest of the text
};

// The text between the first `start` and the first `end` after it; an empty `end` runs to
// the end of the text. A missing `start` gives the empty text in every mode.
std::string ExtractBetween(std::string_view text, std::string_view start, std::string_view end,
                           int mode = EXTRACT_FAIL);

// As ExtractBetween, and the text then loses everything up to the end of `end`, so that
// repeated calls walk through successive pairs. Nothing is cut when nothing is found
// (missing start, or missing end in mode 1); mode 2 with a missing end empties the text.
std::string CutBetween(std::string& text, std::string_view start, std::string_view end,
                       int mode = EXTRACT_FAIL);

// The block after the first `marker` up to the next one (or the end); the text then
// starts at that next marker, or is empty. No marker: empty result, text unchanged.
std::string NextBlock(std::string& text, std::string_view marker);

// ExtractBetween of the inner pair inside the ExtractBetween of the outer pair.
std::string ExtractNested(std::string_view text, std::string_view outerStart,
                          std::string_view outerEnd, std::string_view innerStart,
                          std::string_view innerEnd, int mode = EXTRACT_FAIL);

// "\"a \"\"b\"\"\"" -> "a \"b\"": a text of two or more characters wrapped in double
// quotes loses them, and doubled quotes inside become single (lone ones are dropped).
std::string Unquote(std::string_view text);

// The mode-0 failure text: pair not found, with the whole text in brackets.
std::string MarkerPairNotFoundText(std::string_view text, std::string_view start,
                                   std::string_view end);

} // namespace pelko
