#include "core/ini_file.h"

#include "core/atomic_file.h"
#include "core/codec.h"

// The only user of SimpleIni, so its implementation is compiled here.
#define SI_NO_CONVERSION
#define SI_IMPLEMENTATION
#include <SimpleIni.h>

#include <charconv>
#include <cmath>
#include <limits>
#include <new>
#include <stdexcept>
#include <system_error>

namespace fs = std::filesystem;

namespace pelko {

namespace {

constexpr std::string_view UTF8_BOM = "\xEF\xBB\xBF";

std::string_view Trim(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool TextToInt64(std::string_view text, std::int64_t& value) {
    text = Trim(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (text.starts_with('$')) {
        base = 16;
        text.remove_prefix(1);
    } else if (text.starts_with("0x") || text.starts_with("0X")) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty() || text.front() == '-' || text.front() == '+') return false;
    std::uint64_t magnitude = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), magnitude, base);
    if (ec != std::errc{} || end != text.data() + text.size()) return false;
    constexpr auto MAX = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
    if (magnitude > MAX + (negative ? 1 : 0)) return false;
    value =
        negative ? static_cast<std::int64_t>(0 - magnitude) : static_cast<std::int64_t>(magnitude);
    return true;
}

template <typename Float> bool TextToFloating(std::string_view text, Float& value) {
    text = Trim(text);
    // from_chars takes no '+'; allow one in front of the digits.
    if (text.starts_with('+')) {
        text.remove_prefix(1);
        if (text.starts_with('+') || text.starts_with('-')) return false;
    }
    std::string normal(text);
    for (char& c : normal)
        if (c == ',') c = '.';
    Float parsed{};
    const auto [end, ec] = std::from_chars(normal.data(), normal.data() + normal.size(), parsed,
                                           std::chars_format::general);
    if (ec != std::errc{} || end != normal.data() + normal.size() || !std::isfinite(parsed))
        return false;
    value = parsed;
    return true;
}

template <typename Float> std::string FloatingToText(Float value) {
    if (value == 0) return "0"; // also for -0
    // Plain decimals where they stay short; exponent form for the extremes.
    const Float magnitude = std::fabs(value);
    const bool plain = magnitude >= Float(1e-5) && magnitude < Float(1e16);
    char buffer[128];
    const auto [end, ec] =
        plain ? std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed)
              : std::to_chars(buffer, buffer + sizeof buffer, value);
    if (ec != std::errc{}) return "0";
    return std::string(buffer, end);
}

std::string ValueForFile(std::string_view utf8) {
    std::string bytes = Utf8ToCp1251(utf8);
    for (char& c : bytes)
        if (c == '\r' || c == '\n' || c == '\0') c = ' ';
    return bytes;
}

std::string NameForFile(std::string_view utf8) {
    return Utf8ToCp1251(utf8);
}

void CheckStored(SI_Error result) {
    if (result == SI_NOMEM) throw std::bad_alloc();
    if (result < 0) throw std::runtime_error(SysErrorText(EINVAL));
}

std::string CrLfLines(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (const char c : text) {
        if (c == '\r') continue;
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

} // namespace

std::string FloatToText(double value) {
    return FloatingToText(value);
}
std::string ExtendedToText(long double value) {
    return FloatingToText(value);
}
bool TextToFloat(std::string_view text, double& value) {
    return TextToFloating(text, value);
}
bool TextToExtended(std::string_view text, long double& value) {
    return TextToFloating(text, value);
}

struct TIniFile::TImpl {
    CSimpleIniA ini{false, false, false};

    const char* Get(std::string_view section, std::string_view key) const {
        return ini.GetValue(NameForFile(section).c_str(), NameForFile(key).c_str(), nullptr);
    }
    void Set(std::string_view section, std::string_view key, const std::string& bytes) {
        CheckStored(
            ini.SetValue(NameForFile(section).c_str(), NameForFile(key).c_str(), bytes.c_str()));
    }
};

TIniFile::TIniFile(fs::path path) : path_(std::move(path)), impl_(std::make_unique<TImpl>()) {
    impl_->ini.SetSpaces(false);
    std::error_code ec;
    if (fs::status(path_, ec).type() == fs::file_type::not_found) return;
    std::string bytes = ReadWholeFile(path_);
    // A file saved as UTF-8 by some editor still reads correctly.
    if (std::string_view(bytes).starts_with(UTF8_BOM))
        bytes = Utf8ToCp1251(std::string_view(bytes).substr(UTF8_BOM.size()));
    CheckStored(impl_->ini.LoadData(bytes.data(), bytes.size()));
}

TIniFile::~TIniFile() = default;
TIniFile::TIniFile(TIniFile&&) noexcept = default;
TIniFile& TIniFile::operator=(TIniFile&&) noexcept = default;

std::string TIniFile::ReadString(std::string_view section, std::string_view key,
                                 std::string_view def) const {
    const char* value = impl_->Get(section, key);
    return value ? Cp1251ToUtf8(value) : std::string(def);
}

std::int32_t TIniFile::ReadInteger(std::string_view section, std::string_view key,
                                   std::int32_t def) const {
    const std::int64_t value = ReadInt64(section, key, def);
    if (value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::int32_t>::max())
        return def;
    return static_cast<std::int32_t>(value);
}

std::int64_t TIniFile::ReadInt64(std::string_view section, std::string_view key,
                                 std::int64_t def) const {
    const char* text = impl_->Get(section, key);
    std::int64_t value = 0;
    return text && TextToInt64(text, value) ? value : def;
}

double TIniFile::ReadFloat(std::string_view section, std::string_view key, double def) const {
    const char* text = impl_->Get(section, key);
    double value = 0;
    return text && TextToFloat(text, value) ? value : def;
}

long double TIniFile::ReadExtended(std::string_view section, std::string_view key,
                                   long double def) const {
    const char* text = impl_->Get(section, key);
    long double value = 0;
    return text && TextToExtended(text, value) ? value : def;
}

bool TIniFile::ReadBool(std::string_view section, std::string_view key, bool def) const {
    return ReadInt64(section, key, def ? 1 : 0) != 0;
}

void TIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    impl_->Set(section, key, ValueForFile(value));
}

void TIniFile::WriteInteger(std::string_view section, std::string_view key, std::int32_t value) {
    impl_->Set(section, key, std::to_string(value));
}

void TIniFile::WriteInt64(std::string_view section, std::string_view key, std::int64_t value) {
    impl_->Set(section, key, std::to_string(value));
}

void TIniFile::WriteFloat(std::string_view section, std::string_view key, double value) {
    impl_->Set(section, key, FloatToText(value));
}

void TIniFile::WriteExtended(std::string_view section, std::string_view key, long double value) {
    impl_->Set(section, key, ExtendedToText(value));
}

void TIniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
    impl_->Set(section, key, value ? "1" : "0");
}

bool TIniFile::HasSection(std::string_view section) const {
    return impl_->ini.GetSection(NameForFile(section).c_str()) != nullptr;
}

bool TIniFile::HasKey(std::string_view section, std::string_view key) const {
    return impl_->Get(section, key) != nullptr;
}

std::vector<std::string> TIniFile::ReadSections() const {
    CSimpleIniA::TNamesDepend names;
    impl_->ini.GetAllSections(names);
    names.sort(CSimpleIniA::Entry::LoadOrder());
    std::vector<std::string> result;
    for (const auto& name : names)
        if (*name.pItem) // keys above the first section header have no section
            result.push_back(Cp1251ToUtf8(name.pItem));
    return result;
}

std::vector<std::string> TIniFile::ReadSection(std::string_view section) const {
    CSimpleIniA::TNamesDepend names;
    impl_->ini.GetAllKeys(NameForFile(section).c_str(), names);
    names.sort(CSimpleIniA::Entry::LoadOrder());
    std::vector<std::string> result;
    for (const auto& name : names)
        result.push_back(Cp1251ToUtf8(name.pItem));
    return result;
}

void TIniFile::EraseSection(std::string_view section) {
    impl_->ini.Delete(NameForFile(section).c_str(), nullptr);
}

void TIniFile::EraseKey(std::string_view section, std::string_view key) {
    impl_->ini.Delete(NameForFile(section).c_str(), NameForFile(key).c_str(), false);
}

std::string TIniFile::ToBytes() const {
    std::string text;
    CheckStored(impl_->ini.Save(text, false));
    return CrLfLines(text);
}

void TIniFile::Save() const {
    WriteFileAtomically(path_, ToBytes(), ownerOnly_ ? TFileAccess::OwnerOnly : TFileAccess::Keep);
}

} // namespace pelko
