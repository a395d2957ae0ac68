#pragma once
// Templates of statistic codes and captions use the Pascal-style format language:
// "%d", "%s", "%0:d" (argument index), "%.3d", "%%". Codes like "POS%d" and captions like
// "Число в %0:d позиции тиража" are formatted with the type number this way.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>

namespace pelko {

using TFormatArg = std::variant<std::int64_t, std::string>;

// Formats `tmpl` with `args`. A specifier whose argument is missing is copied unchanged, so
// a template without placeholders (or with more than the arguments) never fails.
std::string FormatTemplate(std::string_view tmpl, std::initializer_list<TFormatArg> args);

inline std::string FormatTemplate(std::string_view tmpl, int value) {
    return FormatTemplate(tmpl, {TFormatArg{std::int64_t{value}}});
}
inline std::string FormatTemplate(std::string_view tmpl, const std::string& value) {
    return FormatTemplate(tmpl, {TFormatArg{value}});
}

// True when the template still holds a specifier that takes an argument (not just "%%").
bool HasPlaceholder(std::string_view tmpl);

} // namespace pelko
