#pragma once
// The public proxy-list service: its page query and the parsing of its rows.

#include <functional>
#include <string>
#include <vector>

namespace pelko {

// Bits of the protocols and anonymity levels asked for.
enum : int { LIST_HTTP = 1, LIST_HTTPS = 2, LIST_SOCKS4 = 4, LIST_SOCKS5 = 8 };

struct TProxyListQuery {
    int Protocols = LIST_HTTP | LIST_HTTPS;
    int Anonymity = 0;          // bits 1, 2, 4, 8 for levels 1..4; 0 any
    int Wanted = 30;
    int MaxResponseTime = 10;   // milliseconds, sent divided by 1000 when positive
    int MinUptime = 75;
    int Port = 0;               // 0 any
    std::string Countries;      // codes separated by "," or ";"
};

// A full page of the service; a shorter one is its last.
inline constexpr int PROXY_LIST_PAGE_ROWS = 15;
// A service that ignores the offset would otherwise be read for ever.
inline constexpr int PROXY_LIST_MAX_PAGES = 50;

// The service's root followed by "?" and the query parts (the root alone without parts);
// page 1 has no offset.
std::string ProxyListPageUrl(const std::string& root, const TProxyListQuery& query, int page);

// Adds the "host:port" entries of one page that pass the port filter (a row without a host
// is not listed); returns the number of table rows (every row counts, listed or not).
// Broken markup or Base64 inside a row throws std::runtime_error.
int ParseProxyListPage(const std::string& page, int portFilter, std::vector<std::string>& list);

// Empties the list, then reads pages while it has fewer than Wanted entries and the last
// page had at least 15 rows (PROXY_LIST_MAX_PAGES at most). `get` fetches one page's text
// (plain HTTP, no proxy, redirects followed).
void FetchProxyList(std::vector<std::string>& list, const TProxyListQuery& query,
                    const std::string& root,
                    const std::function<std::string(const std::string& url)>& get);

} // namespace pelko
