#pragma once
// System play: a system is a fixed list of six-position combinations over positions 1..N
// (a lottery wheel), stored as a text file in the folder "Systems" of the data folder.
// Playing it maps the positions onto the distinct numbers of the combination list in the
// order they first appear there.

#include "core/date_time.h"
#include "core/lottery.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pelko {

inline constexpr const char* SYSTEMS_FOLDER_NAME = "Systems";
inline constexpr const char* SYSTEM_LOAD_ERROR = "Ошибка загрузки комбинаций системы!";

// One system as the catalogue lists it.
struct tSystemInfo {
    std::int32_t id = 0;   // 0 for a new system, -1 for the placeholder row
    std::uint8_t nums = 0; // N, 7..45
    std::uint8_t olap = 0; // block length, 0..5
    std::int32_t csize = 0;
    std::string title;
    std::string author;
    std::string owner;
    std::string descr;
    TDateTime created;
    std::int32_t downloads = 0;
    TDateTime lastDownload;
    std::string url;
};

struct tSystemData : tSystemInfo {
    std::string clist; // one combination per line
};

// "6-12-3_0042.dat".
std::string SystemFileName(const tSystemInfo& info);
// N, block length and id from such a name; nothing for another name.
std::optional<tSystemInfo> ParseSystemFileName(std::string_view name);

// A system file in the folder, as "systems list" shows it.
struct TLocalSystem {
    std::filesystem::path File;
    tSystemInfo Info; // nums, olap, id (from the name) and csize (lines)
};
std::vector<TLocalSystem> ListLocalSystems(const std::filesystem::path& systemsFolder);

// The combinations of a system file's text, mapped onto the numbers: position p of a line
// becomes numbers[p - 1]. Throws std::runtime_error for a word that is not a number, a
// line with fewer than six words, or a position outside 1..numbers.size().
std::vector<TComb> MapSystemCombs(std::string_view text, const TByteArray& numbers);

struct TSystemLookup {
    std::vector<TComb> Combs; // in file order
    std::filesystem::path File;
    std::string Message; // the failure's text (result of the lookup)
    std::string BoxText; // what the error box shows for it
    bool Ok() const { return !Combs.empty(); }
};

// FindSystem: the first file "6-NN-*_*.dat" (N = numbers.size()) in name order, read and
// mapped.
TSystemLookup FindSystem(const std::filesystem::path& systemsFolder, const TByteArray& numbers);

// "Системная игра для %d чисел [вся система]: %s" / "... [комбинации]: %s".
std::string SystemStakeComment(bool wholeSystem, int n, const std::filesystem::path& file);

// Leaving the dialog's combination box: lines of exactly six words become "%.2d" numbers
// joined by blanks, every other line is dropped; nums = max - min + 1 (0 when empty).
struct TNormalizedSystem {
    std::string Text;
    int Nums = 0;
    int Lines = 0;
};
TNormalizedSystem NormalizeSystemCombs(std::string_view text);

// The system dialog's OK checks in order; the first error, or nothing.
std::optional<std::string> ValidateSystem(const tSystemData& system);

} // namespace pelko
