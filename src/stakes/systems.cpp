#include "stakes/systems.h"

#include "core/atomic_file.h"
#include "core/codec.h"
#include "core/format.h"
#include "core/record_helpers.h"
#include "core/text_forms.h"

#include <algorithm>
#include <stdexcept>

namespace pelko {

namespace {

constexpr std::string_view SEPARATORS = " *+,-./:;=\\_|~";

std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        if (end < text.size() && text[end] == '\r' && end + 1 < text.size() &&
            text[end + 1] == '\n')
            ++end;
        start = end + 1;
    }
    return lines;
}

bool ParseUnsigned(std::string_view s, int& value) {
    if (s.empty() || s.size() > 9) return false;
    value = 0;
    for (const char c : s) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    return true;
}

} // namespace

std::string SystemFileName(const tSystemInfo& info) {
    return Format("%d-%.2d-%d_%.4d.dat", LOTTO_COUNT, info.nums, info.olap, info.id);
}

std::optional<tSystemInfo> ParseSystemFileName(std::string_view name) {
    // 6-NN-B_ID.dat
    if (name.size() < 4 || name.substr(name.size() - 4) != ".dat") return std::nullopt;
    name.remove_suffix(4);
    const auto d1 = name.find('-');
    const auto d2 = d1 == std::string_view::npos ? d1 : name.find('-', d1 + 1);
    const auto u = d2 == std::string_view::npos ? d2 : name.find('_', d2 + 1);
    if (u == std::string_view::npos) return std::nullopt;
    int len = 0, nums = 0, olap = 0, id = 0;
    if (!ParseUnsigned(name.substr(0, d1), len) || len != LOTTO_COUNT ||
        !ParseUnsigned(name.substr(d1 + 1, d2 - d1 - 1), nums) ||
        !ParseUnsigned(name.substr(d2 + 1, u - d2 - 1), olap) ||
        !ParseUnsigned(name.substr(u + 1), id) || nums > 255 || olap > 255)
        return std::nullopt;
    tSystemInfo info;
    info.nums = static_cast<std::uint8_t>(nums);
    info.olap = static_cast<std::uint8_t>(olap);
    info.id = id;
    return info;
}

std::vector<TLocalSystem> ListLocalSystems(const std::filesystem::path& systemsFolder) {
    std::vector<TLocalSystem> out;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(systemsFolder, ec)) {
        if (!entry.is_regular_file(ec)) continue;
        auto info = ParseSystemFileName(entry.path().filename().string());
        if (!info) continue;
        try {
            const std::string text = ReadWholeFile(entry.path());
            for (const std::string_view line : Lines(text))
                if (!TrimText(line).empty()) ++info->csize;
        } catch (const std::exception&) {
            info->csize = -1;
        }
        out.push_back({entry.path(), *info});
    }
    std::sort(out.begin(), out.end(),
              [](const TLocalSystem& a, const TLocalSystem& b) { return a.File < b.File; });
    return out;
}

std::vector<TComb> MapSystemCombs(std::string_view text, const TByteArray& numbers) {
    std::vector<TComb> combs;
    for (const std::string_view line : Lines(text)) {
        if (TrimText(line).empty()) continue;
        const std::vector<std::string> words = SplitWords(line, SEPARATORS);
        if (words.size() < LOTTO_COUNT)
            throw std::runtime_error(
                Format("Некорректная комбинация: \"%s\"!", std::string(line).c_str()));
        TComb comb;
        for (int j = 0; j < LOTTO_COUNT; ++j) {
            int p = 0;
            if (!TryStrToInt(words[j], p) || p < 1 || p > static_cast<int>(numbers.size()))
                throw std::runtime_error(
                    Format("Некорректная комбинация: \"%s\"!", std::string(line).c_str()));
            comb[j] = numbers[p - 1];
        }
        // A position twice would stake one number twice.
        if (!ValidComb(comb))
            throw std::runtime_error(
                Format("Некорректная комбинация: \"%s\"!", std::string(line).c_str()));
        combs.push_back(comb);
    }
    return combs;
}

TSystemLookup FindSystem(const std::filesystem::path& systemsFolder, const TByteArray& numbers) {
    TSystemLookup result;
    const int n = static_cast<int>(numbers.size());
    const std::string prefix = Format("%d-%.2d-", LOTTO_COUNT, n);
    std::vector<std::filesystem::path> matches;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(systemsFolder, ec)) {
        const std::string name = entry.path().filename().string();
        if (entry.is_regular_file(ec) && name.rfind(prefix, 0) == 0 &&
            name.find('_', prefix.size()) != std::string::npos && name.size() >= 4 &&
            name.compare(name.size() - 4, 4, ".dat") == 0)
            matches.push_back(entry.path());
    }
    if (matches.empty()) {
        result.Message =
            Format("Система для %d чисел не найдена или не загружена на компьютер!", n);
        result.BoxText = result.Message +
                         "\n\nПеред системной игрой необходимо предварительно загрузить системы на "
                         "Ваш компьютер через меню \"Системы\" - \"Загрузить\".";
        return result;
    }
    std::sort(matches.begin(), matches.end());
    result.File = matches.front();
    try {
        result.Combs = MapSystemCombs(Cp1251ToUtf8(ReadWholeFile(result.File)), numbers);
    } catch (const std::exception& e) {
        result.Combs.clear();
        result.Message = e.what();
        result.BoxText = std::string(SYSTEM_LOAD_ERROR) + "\n\n" + e.what();
    }
    return result;
}

std::string SystemStakeComment(bool wholeSystem, int n, const std::filesystem::path& file) {
    return Format(wholeSystem ? "Системная игра для %d чисел [вся система]: %s"
                              : "Системная игра для %d чисел [комбинации]: %s",
                  n, file.stem().string().c_str());
}

TNormalizedSystem NormalizeSystemCombs(std::string_view text) {
    TNormalizedSystem out;
    int lo = 0, hi = 0;
    bool any = false;
    for (const std::string_view line : Lines(text)) {
        const std::vector<std::string> words = SplitWords(TrimText(line), SEPARATORS);
        if (words.size() != LOTTO_COUNT) continue;
        std::string normal;
        for (int j = 0; j < LOTTO_COUNT; ++j) {
            const int v = StrToIntDef(words[j], 0);
            normal += (j ? " " : "") + Format("%.2d", v);
            lo = any ? std::min(lo, v) : v;
            hi = any ? std::max(hi, v) : v;
            any = true;
        }
        out.Text += (out.Lines ? "\r\n" : "") + normal;
        ++out.Lines;
    }
    out.Nums = any ? hi - lo + 1 : 0;
    return out;
}

std::optional<std::string> ValidateSystem(const tSystemData& system) {
    if (TrimText(system.title).empty())
        return std::string("Название системы должно быть указано обязательно!");
    if (system.nums < 7 || system.nums > 45)
        return std::string("Указано недопустмое количество используемых чисел!");
    if (system.olap > 5) return std::string("Указан недопустмый размер блока!");
    if (TrimText(system.author).empty())
        return std::string("Имя автора должно быть указано обязательно!");
    if (TrimText(system.descr).empty())
        return std::string("Описание системы должно быть указано обязательно!");
    if (TrimText(system.clist).empty())
        return std::string("Содержимое системы должно быть указано обязательно!");
    return std::nullopt;
}

} // namespace pelko
