#include "online/proxy_list.h"

#include "core/format.h"
#include "core/text_forms.h"
#include "online/http.h"
#include "online/page_text.h"

#include <algorithm>
#include <iterator>
#include <stdexcept>

namespace pelko {
namespace {

constexpr const char* PROTOCOL_NAMES[] = {"http", "https", "socks4", "socks5"};
constexpr int ANONYMITY_LEVELS = 4;

std::vector<std::string> QueryParts(const TProxyListQuery& query, int page) {
    std::vector<std::string> parts;
    for (int bit = 0; bit < int(std::size(PROTOCOL_NAMES)); ++bit)
        if (query.Protocols & (1 << bit))
            parts.push_back(std::string("protocol=") + PROTOCOL_NAMES[bit]);
    for (int level = 1; level <= ANONYMITY_LEVELS; ++level)
        if (query.Anonymity & (1 << (level - 1))) parts.push_back(Format("anonlvl=%d", level));
    for (const std::string& word : SplitWords(query.Countries, ",;")) {
        const std::string_view code = TrimText(word);
        if (!code.empty()) parts.push_back("country=" + FormUrlEncode(code));
    }
    if (query.MinUptime > 0) parts.push_back(Format("min_uptime=%d", query.MinUptime));
    // Milliseconds asked, seconds sent: below one second says nothing.
    const int seconds = query.MaxResponseTime / 1000;
    if (seconds > 0) parts.push_back(Format("max_response_time=%d", seconds));
    if (page > 1) parts.push_back(Format("offset=%d", (page - 1) * PROXY_LIST_PAGE_ROWS));
    return parts;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// "\x4d" stands for "M", as in a script's string literal; other text stays.
std::string UnescapeHex(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 3 < text.size() && text[i + 1] == 'x') {
            const int high = HexDigit(text[i + 2]);
            const int low = HexDigit(text[i + 3]);
            if (high >= 0 && low >= 0) {
                out += char(high * 16 + low);
                i += 3;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

int Base64Value(char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
}

std::runtime_error BadBase64(std::string_view text) {
    return std::runtime_error(
        Format("Некорректные данные в кодировке Base64: \"%s\"", std::string(text).c_str()));
}

// Padding is optional, but only at the end; anything outside the alphabet is an error.
std::string DecodeBase64(std::string_view text) {
    std::string_view data = text;
    while (!data.empty() && data.back() == '=' && text.size() - data.size() < 2)
        data.remove_suffix(1);
    const bool padded = data.size() != text.size();
    if (data.size() % 4 == 1 || (padded && text.size() % 4 != 0)) throw BadBase64(text);
    std::string out;
    unsigned bits = 0;
    int count = 0;
    for (char c : data) {
        const int value = Base64Value(c);
        if (value < 0) throw BadBase64(text);
        bits = (bits << 6) | unsigned(value);
        count += 6;
        if (count >= 8) {
            count -= 8;
            out += char((bits >> count) & 0xFF);
        }
    }
    return out;
}

struct TListedProxy {
    std::string Host;
    int Port = 0;
};

// The row's script writes the host as a reversed literal followed by an escaped Base64
// piece, and the port as an offset from the page's base.
TListedProxy ParseRow(const std::string& row, int base) {
    const std::string script = ExtractBetween(row, "<script>", "</script>");
    std::string head = ExtractNested(script, "var", "split", "'", "'");
    std::reverse(head.begin(), head.end());
    const std::string tail = DecodeBase64(UnescapeHex(ExtractBetween(script, "atob('", "'")));
    const int offset = StrToIntDef(ExtractNested(script, "pp =", ";", "(", " "), 0);
    return {head + tail, base + offset};
}

} // namespace

std::string ProxyListPageUrl(const std::string& root, const TProxyListQuery& query, int page) {
    const std::vector<std::string> parts = QueryParts(query, page);
    if (parts.empty()) return root;
    std::string url = root + "?";
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) url += '&';
        url += parts[i];
    }
    return url;
}

int ParseProxyListPage(const std::string& page, int portFilter, std::vector<std::string>& list) {
    std::string table = ExtractBetween(page, "<tbody>", "</tbody>");
    if (table.empty()) return 0;
    const int base = StrToIntDef(
        ExtractNested(page, "<div style=\"display:none\" data-", "</div>", "=\"", "\""), 0);
    int rows = 0;
    for (;;) {
        const std::size_t before = table.size();
        const std::string row = NextBlock(table, "<tr>");
        if (table.size() == before) break; // no more rows
        ++rows;
        const TListedProxy proxy = ParseRow(row, base);
        // A row without a host (a caption, say) still counts towards the page size.
        if (proxy.Host.empty()) continue;
        if (portFilter == 0 || portFilter == proxy.Port)
            list.push_back(Format("%s:%d", proxy.Host.c_str(), proxy.Port));
    }
    return rows;
}

void FetchProxyList(std::vector<std::string>& list, const TProxyListQuery& query,
                    const std::string& root,
                    const std::function<std::string(const std::string& url)>& get) {
    list.clear();
    for (int page = 1; page <= PROXY_LIST_MAX_PAGES; ++page) {
        const int rows =
            ParseProxyListPage(get(ProxyListPageUrl(root, query, page)), query.Port, list);
        if (int(list.size()) >= query.Wanted || rows < PROXY_LIST_PAGE_ROWS) break;
    }
}

} // namespace pelko
