#pragma once
// Expanding a scenario line's filter items into variants: every combination of the
// listed draws counts and (for the per-value level modes) level values, depth first, so
// item 1 varies slowest. TSD1#NUMS:100-300;100#LMV:1-3;1#SF:1 gives (100, 1), (100, 2),
// (100, 3), (200, 1), ... (300, 3).

#include "filters/filter_item.h"

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace pelko {

inline constexpr const char* BAD_FILTER_MESSAGE = "Некорректное описание фильтра: %s!";
inline constexpr const char* TOO_MANY_VARIANTS_MESSAGE =
    "Вы задали слишком много вариантов фильтров - программа не сможет обработать их все!\r"
    "Пожалуйста, уменьшите в каждом из фильтров количество вариантов длины выборки и глубины, "
    "а затем повторите попытку.";
// More variants than a line may hold: each one costs a starting list and its filtering
// passes, so far fewer are ever practical; the cap keeps the list well inside memory.
inline constexpr std::int64_t MAX_FILTER_VARIANTS = 100000;

// Thrown when a line's variants cannot all be held; what() is the full box text.
class TTooManyVariants : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

struct TVariantCallbacks {
    // Polled before each draws count and level value; true ends the expansion (the
    // result is then incomplete and must not run).
    std::function<bool()> StopRequested;
    // After every 1000th variant, with the count so far.
    std::function<void(std::size_t)> Progress;
};

// The item as a part with one draws count; the level values are left to the caller.
TFilterPart FilterPartOf(const TFilterItem& item, int drawsLen);

// Whether a level mode makes one variant per listed value (the threshold modes and the
// weight and period list modes) or keeps the whole list in one part.
bool IsPerValueLevelMode(int mode);

// How many variants the items give (saturating at INT64_MAX); throws the bad-filter error
// for an item whose draws or level values do not parse.
std::int64_t CountVariants(const std::vector<TFilterItem>& items);

// Throws std::runtime_error with BAD_FILTER_MESSAGE for an item without draws counts (an
// unknown statistic code has none) or a level mode without values, and TTooManyVariants
// past MAX_FILTER_VARIANTS or when memory runs out. Returns false when stopped.
bool ExpandVariants(const std::vector<TFilterItem>& items, std::vector<TFilterRec>& variants,
                    const TVariantCallbacks& callbacks = {});

} // namespace pelko
