#pragma once
// The lottery operator's draw pages: their addresses and the reading of the draws they
// list. Pages come as the program's CP1251 text (decoded from the site's UTF-8).

#include "core/lottery.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace pelko {

// One draw block of an archive list page, as the page gives it: numbers are not checked.
struct TPageDraw {
    std::int32_t Number = 0;
    std::string Date;                // CP1251, at most 16 characters
    std::array<int, LOTTO_COUNT> Nums{};
    bool HasNumbers = false;         // false: the block had no numbers area
};

// "<site>/6x45/archive?mode=draw&firstDraw=0042&lastDraw=0091" (a trailing "/" of the site dropped).
std::string ArchivePageUrl(const std::string& site, int first, int last);
// "<site>/6x45/archive/0042".
std::string DrawPageUrl(const std::string& site, int number);

// The blocks of an archive list page in page order (newest first), without those whose
// number is below `first` or whose date is empty. No draw list: no blocks. A missing end
// marker throws (the page was cut short). `listFound` tells whether the page had a draw
// list at all (a changed or empty page has none).
std::vector<TPageDraw> ParseArchivePage(const std::string& page, int first,
                                        bool* listFound = nullptr);
// The numbers of a single draw's page; false when the page has no numbers area.
bool ParseDrawPage(const std::string& page, std::array<int, LOTTO_COUNT>& nums);

} // namespace pelko
