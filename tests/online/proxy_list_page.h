#pragma once
// Pages in the proxy-list service's layout, for the tests.

#include <string>
#include <vector>

namespace pelko::test {

// One table row: the host as a reversed literal and a Base64 piece (may hold "\x" escapes),
// the port as an offset from the page's base.
inline std::string ListRow(const std::string& reversedHead, const std::string& base64Tail,
                           int offset) {
    return "<tr><td><script>var h = '" + reversedHead +
           "'.split('').reverse().join('');document.write(h + atob('" + base64Tail +
           "'));var pp = (" + std::to_string(offset) + " - (0));</script></td><td>HTTP</td></tr>\n";
}

// A row listing 127.0.0.1 ("0.0.721" reversed, then ".1") at base + offset.
inline std::string LoopbackRow(int offset) {
    return ListRow("0.0.721", "\\x4c\\x6a\\x45\\x3d", offset);
}

inline std::string ListPage(int base, const std::vector<std::string>& rows) {
    std::string page = "<html><body><div style=\"display:none\" data-port=\"" +
                       std::to_string(base) +
                       "\"></div>\n<table><thead><tr><th>IP</th>"
                       "</tr></thead><tbody>\n";
    for (const std::string& row : rows)
        page += row;
    return page + "</tbody></table></body></html>";
}

} // namespace pelko::test
