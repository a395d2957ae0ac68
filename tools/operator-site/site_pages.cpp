#include "site_pages.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace pelko::site {

namespace {

const char* const PAGE_END = "</body></html>\n";

std::string PageStart(const std::string& title) {
    return "<html><head><title>" + title +
           "</title></head><body>\n<div class=\"header\">...</div>\n";
}

// Real pages differ in how the balls are tagged; every form keeps the number between "<b" and
// "</b>" once "&nbsp;" and ">" are dropped.
std::string BallMarkup(int ball, std::size_t index, int drawNumber) {
    const std::string value = std::to_string(ball);
    switch ((static_cast<unsigned>(drawNumber) + index) % 4) {
    case 1:
        return "<b>&nbsp;" + value + "</b>";
    case 2:
        return "<B>" + value + "</B>";
    case 3:
        return "<b>" + value + "&nbsp;</b>";
    default:
        return "<b>" + value + "</b>";
    }
}

std::string NumbersArea(const TSiteDraw& draw) {
    std::string area = "<div class=\"container cleared\">";
    for (std::size_t i = 0; i < draw.Balls.size(); ++i)
        area += BallMarkup(draw.Balls[i], i, draw.Number);
    return area + "</div>";
}

const char* WeekdayName(unsigned cEncoding) {
    static const char* const NAMES[] = {"воскресенье", "понедельник", "вторник", "среда",
                                        "четверг",     "пятница",     "суббота"};
    return NAMES[cEncoding % 7];
}

// " (понедельник)" for "dd.mm.yyyy ...", or a fixed suffix for a date that does not read.
std::string WeekdaySuffix(const std::string& date) {
    unsigned day = 0, month = 0;
    int year = 0;
    if (std::sscanf(date.c_str(), "%2u.%2u.%4d", &day, &month, &year) == 3) {
        const std::chrono::year_month_day ymd{std::chrono::year{year}, std::chrono::month{month},
                                              std::chrono::day{day}};
        if (ymd.ok())
            return std::string(" (") +
                   WeekdayName(std::chrono::weekday{std::chrono::sys_days{ymd}}.c_encoding()) + ")";
    }
    return " (день тиража)";
}

std::string Base64(std::string_view bytes) {
    static const char ALPHABET[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t n = std::min<std::size_t>(3, bytes.size() - i);
        unsigned chunk = 0;
        for (std::size_t k = 0; k < 3; ++k)
            chunk = chunk << 8 | (k < n ? static_cast<unsigned char>(bytes[i + k]) : 0u);
        for (std::size_t k = 0; k < 4; ++k)
            out.push_back(k <= n ? ALPHABET[(chunk >> (18 - 6 * k)) & 63] : '=');
    }
    return out;
}

std::string HexEscaped(std::string_view text) {
    std::string out;
    char escape[5];
    for (const char c : text) {
        std::snprintf(escape, sizeof escape, "\\x%02x", static_cast<unsigned char>(c));
        out += escape;
    }
    return out;
}

} // namespace

TSitePages::TSitePages(const TSiteArchive& archive, TPageOptions options)
    : archive_(archive), options_(std::move(options)) {}

std::string TSitePages::ArchiveList(int first, int last) const {
    std::string page = PageStart("6 из 45 - архив") + "<div class=\"data drawings_data\">\n";
    for (const TSiteDraw* draw : archive_.NewestFirstInRange(first, last))
        page += ListBlock(*draw);
    page += "</div>\n";
    if (options_.CutPages) return page;
    return page + "<div class=\"content_decor\"></div>\n" + PAGE_END;
}

std::string TSitePages::ListBlock(const TSiteDraw& draw) const {
    const std::string number = std::to_string(draw.Number);
    const std::string title = DateTitle(draw);
    std::string block = "<div class=\"elem\">\n<a href=\"/6x45/archive/" + number + "\">Тираж № " +
                        number + "</a>\n<div class=\"draw_date\" title=\"" + title + "\">" +
                        title.substr(0, 10) + "</div>\n";
    if (ListsNumbers(draw.Number)) block += NumbersArea(draw);
    return block + "<div class=\"controls\"><a href=\"#\">...</a></div>\n</div>\n";
}

// Dates go out as written, unescaped: the reader takes the title up to the next "\">".
std::string TSitePages::DateTitle(const TSiteDraw& draw) const {
    if (options_.EmptyDate.contains(draw.Number)) return "";
    return options_.LongDates ? draw.Date + WeekdaySuffix(draw.Date) : draw.Date;
}

bool TSitePages::ListsNumbers(int number) const {
    return !options_.NoNumbers.contains(number) && !options_.NoNumbersAnywhere.contains(number);
}

std::optional<std::string> TSitePages::DrawPage(int number) const {
    const TSiteDraw* draw = archive_.Find(number);
    if (!draw) return std::nullopt;
    const std::string title = "Тираж № " + std::to_string(number);
    std::string page = PageStart("6 из 45 - " + title) + "<div class=\"draw_info\"><h1>" + title +
                       "</h1><div class=\"draw_date\">" + draw->Date + "</div></div>\n";
    if (!options_.NoNumbersAnywhere.contains(number)) {
        page += "<div class=\"winning_numbers cleared\">";
        for (const int ball : draw->Balls)
            page += "<p class=\"number\">" + std::to_string(ball) + "</p>";
        page += "</div>\n";
    }
    return page + PAGE_END;
}

std::string TSitePages::ProxyList(std::size_t offset) const {
    std::string page = PageStart("Список прокси-серверов") +
                       "<div style=\"display:none\" data-port-base=\"" +
                       std::to_string(options_.PortBase) + "\"></div>\n<table><tbody>\n";
    const std::size_t end = std::min(options_.Proxies.size(), offset + PROXIES_PER_PAGE);
    for (std::size_t row = offset; row < end; ++row)
        page += ProxyRow(options_.Proxies[row], row);
    return page + "</tbody></table>\n" + PAGE_END;
}

// The host's first half is written reversed, the second half in Base64 (on every other row
// with each character as a \xNN escape); the port is an offset from the page's base.
std::string TSitePages::ProxyRow(const TProxyAddress& proxy, std::size_t row) const {
    const std::size_t half = proxy.Host.size() / 2;
    std::string reversed = proxy.Host.substr(0, half);
    std::reverse(reversed.begin(), reversed.end());
    std::string encoded = Base64(std::string_view(proxy.Host).substr(half));
    if (row % 2 == 0) encoded = HexEscaped(encoded);
    return "<tr><td><script>var h = '" + reversed +
           "'.split('').reverse().join(''); document.write(h + atob('" + encoded +
           "')); var pp = (" + std::to_string(proxy.Port - options_.PortBase) +
           " - 0); document.write(':' + (pp + base));</script></td></tr>\n";
}

std::string TSitePages::ErrorPage(int status) {
    return PageStart("Ошибка " + std::to_string(status)) + "<p>Ошибка " + std::to_string(status) +
           "</p>\n" + PAGE_END;
}

} // namespace pelko::site
