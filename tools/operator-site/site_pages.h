#pragma once
// The texts of the site's pages: the archive list, one draw, the proxy list. The markup is
// what the operator's site serves, with the small variations real pages have, kept within
// what the program's page reader accepts.

#include "site_archive.h"

#include <cstddef>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace pelko::site {

struct TProxyAddress {
    std::string Host;
    int Port = 0;
};

struct TPageOptions {
    std::set<int> NoNumbers;         // list blocks without the numbers area
    std::set<int> NoNumbersAnywhere; // ... and draw pages without the winning numbers
    std::set<int> EmptyDate;         // list blocks with an empty date title
    bool LongDates = false;          // date titles with the day of the week appended
    bool CutPages = false;           // list pages end before the end-of-list marker
    std::vector<TProxyAddress> Proxies;
    int PortBase = 1000; // no higher than any proxy port
};

class TSitePages {
  public:
    static constexpr std::size_t PROXIES_PER_PAGE = 15;

    TSitePages(const TSiteArchive& archive, TPageOptions options);

    // Blocks of the draws numbered first..last, newest first; none gives an empty list.
    std::string ArchiveList(int first, int last) const;
    // nullopt when the archive has no such draw.
    std::optional<std::string> DrawPage(int number) const;
    // Up to PROXIES_PER_PAGE rows from `offset`.
    std::string ProxyList(std::size_t offset) const;
    static std::string ErrorPage(int status);

  private:
    std::string ListBlock(const TSiteDraw& draw) const;
    std::string DateTitle(const TSiteDraw& draw) const;
    std::string ProxyRow(const TProxyAddress& proxy, std::size_t row) const;
    bool ListsNumbers(int number) const;

    const TSiteArchive& archive_;
    TPageOptions options_;
};

} // namespace pelko::site
