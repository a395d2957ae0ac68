#pragma once
// Text forms of draws and combinations, number lists typed into dialog fields, and the
// small text-to-number helpers that every reader of user text and text files relies on.
// All texts are UTF-8.

#include "core/lottery.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pelko {

// The text without leading and trailing blanks and control characters (bytes <= ' ').
std::string_view TrimText(std::string_view text);

// Words of the text between any of the separator characters: a run of separators counts
// as one and no empty word is produced (so separators at the ends are ignored).
std::vector<std::string> SplitWords(std::string_view text, std::string_view separators);

// The text without a leading UTF-8 byte-order mark (an editor's, in a file meant as CP1251).
std::string_view WithoutUtf8Bom(std::string_view text);
// The longest line a reader of text files takes; a longer one refuses the whole input.
inline constexpr std::size_t MAX_TEXT_LINE_BYTES = 64 * 1024;
// "Строка %zu длиннее 64 КБ!" (1-based line number)
std::string LongLineText(std::size_t line);

// Decimal integer with an optional leading '-' or '+', surrounding blanks allowed. Fails
// (value untouched) on anything else, including values outside the int range.
bool TryStrToInt(std::string_view text, int& value);
int StrToIntDef(std::string_view text, int def);
// Decimal number with '.' or ',' as the decimal point and an optional exponent; fails
// (value untouched) on anything else, on overflow and on inf/nan spellings.
bool TryStrToFloat(std::string_view text, double& value);

// "Тираж № 123 от 05.03.2024 21:00, значения: 3;11;17;28;40;45" (numbers in drawn order).
std::string DrawText(const TDrawData& draw);
// "3;11;17;28;40;45": the six numbers in their order, no padding.
std::string CombToText(const std::uint8_t* six);
inline std::string CombToText(const TComb& comb) {
    return CombToText(comb.N);
}
// "03 11 17 28 40 45": two digits each, one blank between.
std::string CombToClipboardText(const std::uint8_t* six);
inline std::string CombToClipboardText(const TComb& comb) {
    return CombToClipboardText(comb.N);
}
// Six numbers separated by any of TAB, blank , - . : ; | in the order written; words that
// are not numbers count as 0 and values are not range-checked. Throws std::runtime_error
// "Некорректная комбинация: \"<text>\"!" unless there are exactly six words.
TComb TextToComb(std::string_view text);

std::string NumberSetToText(const TNumberSet& set, std::string_view separator);
std::string IntArrayToText(const TIntArray& values, std::string_view separator);

// "1, 2; 3": integers separated by ',' or ';'. False (values emptied) when there is no
// word or any word is not an integer.
bool ParseNumberList(std::string_view text, TIntArray& values);
// "lo-hi;step": lo, lo + step, ... up to hi; empty for anything malformed, a zero step,
// a step pointing away from hi, or a range of more than MAX_RANGE_VALUES values.
TIntArray ParseRange(std::string_view text);
inline constexpr std::int64_t MAX_RANGE_VALUES = 1000000;
// One value, a list or a range; empty for a blank text or anything unreadable.
TIntArray ParseNumbers(std::string_view text);

// The text's value compared with base: "-" when the text is not a non-negative integer,
// "+d" for a positive difference, plain "d" ("0", "-3") otherwise.
std::string DiffText(std::string_view text, int base);

} // namespace pelko
