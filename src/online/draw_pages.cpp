#include "online/draw_pages.h"

#include "core/format.h"
#include "core/text_forms.h"
#include "online/page_text.h"

namespace pelko {
namespace {

constexpr std::size_t PAGE_DATE_LEN = 16;

std::string SiteRoot(const std::string& site) {
    std::string root = site;
    while (!root.empty() && root.back() == '/') root.pop_back();
    return root;
}

void EraseAll(std::string& text, std::string_view what) {
    for (std::size_t at; (at = text.find(what)) != std::string::npos;) text.erase(at, what.size());
}

// "<b class=n>&nbsp;17</b>" pieces: ">" and "&nbsp;" dropped, 0 when no number is left.
int BlockNumber(std::string& area) {
    std::string piece = CutBetween(area, "<b", "</b>");
    EraseAll(piece, "&nbsp;");
    EraseAll(piece, ">");
    return StrToIntDef(TrimText(piece), 0);
}

TPageDraw ReadBlock(const std::string& block) {
    TPageDraw draw;
    draw.Number = StrToIntDef(ExtractBetween(block, "<a href=\"/6x45/archive/", "\">"), 0);
    draw.Date = ExtractBetween(block, "<div class=\"draw_date\" title=\"", "\">");
    if (draw.Date.size() > PAGE_DATE_LEN) draw.Date.resize(PAGE_DATE_LEN);
    std::string area = ExtractNested(block, "<div class=\"container cleared\"",
                                     "<div class=\"controls\">", ">", "</div>");
    draw.HasNumbers = !area.empty();
    if (draw.HasNumbers)
        for (int& n : draw.Nums) n = BlockNumber(area);
    return draw;
}

} // namespace

std::string ArchivePageUrl(const std::string& site, int first, int last) {
    return SiteRoot(site) + Format("/6x45/archive?mode=draw&firstDraw=%.4d&lastDraw=%.4d", first, last);
}

std::string DrawPageUrl(const std::string& site, int number) {
    return SiteRoot(site) + Format("/6x45/archive/%.4d", number);
}

std::vector<TPageDraw> ParseArchivePage(const std::string& page, int first, bool* listFound) {
    constexpr std::string_view LIST_START = "<div class=\"data drawings_data\">";
    std::vector<TPageDraw> draws;
    std::string body = ExtractBetween(page, LIST_START, "<div class=\"content_decor\">");
    if (listFound) *listFound = !ExtractBetween(page, LIST_START, "", EXTRACT_REST).empty();
    for (std::string block; !(block = NextBlock(body, "<div class=\"elem\">")).empty();) {
        TPageDraw draw = ReadBlock(block);
        if (draw.Number < first || draw.Date.empty()) continue;
        draws.push_back(std::move(draw));
    }
    return draws;
}

bool ParseDrawPage(const std::string& page, std::array<int, LOTTO_COUNT>& nums) {
    std::string area = ExtractBetween(page, "<div class=\"winning_numbers cleared\">", "</div>");
    if (area.empty()) return false;
    for (int& n : nums) n = StrToIntDef(CutBetween(area, "<p class=\"number\">", "</p>"), 0);
    return true;
}

} // namespace pelko
