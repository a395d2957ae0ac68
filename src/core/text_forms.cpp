#include "core/text_forms.h"

#include "core/format.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <stdexcept>
#include <system_error>

namespace pelko {

namespace {

constexpr std::string_view kCombSeparators = "\t ,-.:;|";
constexpr std::string_view kListSeparators = ",;";

bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Length of the run of decimal digits starting at pos.
std::size_t DigitRun(std::string_view text, std::size_t pos) {
    std::size_t end = pos;
    while (end < text.size() && IsDigit(text[end]))
        ++end;
    return end - pos;
}

// The three parts of "lo-hi;step": a '-' after the first character starts hi, then the
// first ';' or ',' starts the step.
struct TRangeParts {
    std::string lo, hi, step;
};

TRangeParts SplitRange(std::string_view text) {
    TRangeParts parts;
    int part = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (part == 0 && c == '-' && i > 0) {
            part = 1;
        } else if (part == 1 && (c == ';' || c == ',')) {
            part = 2;
        } else {
            (part == 0 ? parts.lo : part == 1 ? parts.hi : parts.step) += c;
        }
    }
    return parts;
}

} // namespace

std::string_view TrimText(std::string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsBlank(text[begin]))
        ++begin;
    while (end > begin && IsBlank(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

std::vector<std::string> SplitWords(std::string_view text, std::string_view separators) {
    std::vector<std::string> words;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t begin = text.find_first_not_of(separators, pos);
        if (begin == std::string_view::npos) break;
        std::size_t end = text.find_first_of(separators, begin);
        if (end == std::string_view::npos) end = text.size();
        words.emplace_back(text.substr(begin, end - begin));
        pos = end;
    }
    return words;
}

bool TryStrToInt(std::string_view text, int& value) {
    text = TrimText(text);
    bool negative = false;
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    if (text.empty() || DigitRun(text, 0) != text.size()) return false;
    // One past INT_MAX is allowed for the negative side only.
    const std::int64_t limit = negative ? 2147483648LL : 2147483647LL;
    std::int64_t magnitude = 0;
    for (char c : text) {
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > limit) return false;
    }
    value = static_cast<int>(negative ? -magnitude : magnitude);
    return true;
}

int StrToIntDef(std::string_view text, int def) {
    int value = def;
    return TryStrToInt(text, value) ? value : def;
}

bool TryStrToFloat(std::string_view text, double& value) {
    text = TrimText(text);
    std::string normal;
    std::size_t pos = 0;
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) {
        if (text[pos] == '-') normal += '-';
        ++pos;
    }
    const std::size_t intDigits = DigitRun(text, pos);
    normal.append(text.substr(pos, intDigits));
    pos += intDigits;
    std::size_t fracDigits = 0;
    if (pos < text.size() && (text[pos] == '.' || text[pos] == ',')) {
        ++pos;
        fracDigits = DigitRun(text, pos);
        normal += '.';
        normal.append(text.substr(pos, fracDigits));
        pos += fracDigits;
    }
    if (intDigits + fracDigits == 0) return false;
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        normal += 'e';
        ++pos;
        if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) normal += text[pos++];
        const std::size_t expDigits = DigitRun(text, pos);
        if (expDigits == 0) return false;
        normal.append(text.substr(pos, expDigits));
        pos += expDigits;
    }
    if (pos != text.size()) return false;
    double parsed = 0.0;
    const auto [end, ec] = std::from_chars(normal.data(), normal.data() + normal.size(), parsed);
    if (ec != std::errc() || end != normal.data() + normal.size() || !std::isfinite(parsed))
        return false;
    value = parsed;
    return true;
}

std::string DrawText(const TDrawData& draw) {
    return Format("Тираж № %d от %s, значения: %s", draw.Number, draw.DateText().c_str(),
                  CombToText(draw.Nums).c_str());
}

std::string CombToText(const std::uint8_t* six) {
    std::string text;
    for (int i = 0; i < LOTTO_COUNT; ++i) {
        if (i > 0) text += ';';
        text += std::to_string(six[i]);
    }
    return text;
}

std::string CombToClipboardText(const std::uint8_t* six) {
    std::string text;
    for (int i = 0; i < LOTTO_COUNT; ++i) {
        if (i > 0) text += ' ';
        text += Format("%02d", six[i]);
    }
    return text;
}

TComb TextToComb(std::string_view text) {
    const std::vector<std::string> words = SplitWords(text, kCombSeparators);
    if (words.size() != LOTTO_COUNT)
        throw std::runtime_error(
            Format("Некорректная комбинация: \"%s\"!", std::string(text).c_str()));
    TComb comb;
    for (int i = 0; i < LOTTO_COUNT; ++i)
        comb[i] = static_cast<std::uint8_t>(StrToIntDef(words[i], 0));
    return comb;
}

std::string NumberSetToText(const TNumberSet& set, std::string_view separator) {
    std::string text;
    const int count = set.Count < 0                     ? 0
                      : set.Count > NUMBER_SET_CAPACITY ? NUMBER_SET_CAPACITY
                                                        : set.Count;
    for (int i = 0; i < count; ++i) {
        if (i > 0) text += separator;
        text += std::to_string(set.Members[i]);
    }
    return text;
}

std::string IntArrayToText(const TIntArray& values, std::string_view separator) {
    std::string text;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0) text += separator;
        text += std::to_string(values[i]);
    }
    return text;
}

bool ParseNumberList(std::string_view text, TIntArray& values) {
    values.clear();
    const std::vector<std::string> words = SplitWords(text, kListSeparators);
    if (words.empty()) return false;
    for (const std::string& word : words) {
        int value = 0;
        if (!TryStrToInt(word, value)) {
            values.clear();
            return false;
        }
        values.push_back(value);
    }
    return true;
}

TIntArray ParseRange(std::string_view text) {
    // Blanks in front would otherwise hide a leading minus of the lower bound.
    const TRangeParts parts = SplitRange(TrimText(text));
    int lo = 0, hi = 0, step = 0;
    if (!TryStrToInt(parts.lo, lo) || !TryStrToInt(parts.hi, hi) || !TryStrToInt(parts.step, step))
        return {};
    if (step == 0) return {};
    const std::int64_t k = (static_cast<std::int64_t>(hi) - lo) / step;
    if (k < 0 || k >= MAX_RANGE_VALUES) return {};
    TIntArray values;
    values.reserve(static_cast<std::size_t>(k + 1));
    for (std::int64_t i = 0; i <= k; ++i)
        values.push_back(static_cast<std::int32_t>(lo + i * step));
    return values;
}

TIntArray ParseNumbers(std::string_view text) {
    if (TrimText(text).empty()) return {};
    TIntArray values;
    if (ParseNumberList(text, values)) return values;
    return ParseRange(text);
}

std::string DiffText(std::string_view text, int base) {
    const int value = StrToIntDef(text, -1);
    if (value < 0) return "-";
    const std::int64_t d = static_cast<std::int64_t>(value) - base;
    return d > 0 ? "+" + std::to_string(d) : std::to_string(d);
}

std::string_view WithoutUtf8Bom(std::string_view text) {
    constexpr std::string_view BOM = "\xEF\xBB\xBF";
    return text.starts_with(BOM) ? text.substr(BOM.size()) : text;
}

std::string LongLineText(std::size_t line) {
    return "Строка " + std::to_string(line) + " длиннее 64 КБ!";
}

} // namespace pelko
