#include "online/draw_pages.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace pelko {
namespace {

std::string Block(int number, const std::string& date, const std::string& area) {
    return "<div class=\"elem\">\n<a href=\"/6x45/archive/" + std::to_string(number) + "\">Тираж</a>\n"
           "<div class=\"draw_date\" title=\"" + date + "\">x</div>\n" + area + "\n</div>\n";
}

std::string Area(const std::string& numbers) {
    return "<div class=\"container cleared\">" + numbers + "</div><div class=\"controls\">i</div>";
}

std::string Page(const std::string& blocks) {
    return "<html><DIV CLASS=\"data drawings_data\">\n" + blocks +
           "</div>\n<div class=\"content_decor\"></div></html>";
}

const std::string SIX = "<b>1</b><b>&nbsp;2</b><b >3</b><b>4</b><b> 5 </b><b>45</b>";

TEST(DrawPages, AddressesHaveAtLeastFourDigits) {
    EXPECT_EQ(ArchivePageUrl("http://127.0.0.1:1/", 42, 91),
              "http://127.0.0.1:1/6x45/archive?mode=draw&firstDraw=0042&lastDraw=0091");
    EXPECT_EQ(ArchivePageUrl("http://127.0.0.1", 1001, 1050),
              "http://127.0.0.1/6x45/archive?mode=draw&firstDraw=1001&lastDraw=1050");
    EXPECT_EQ(DrawPageUrl("https://127.0.0.1", 7), "https://127.0.0.1/6x45/archive/0007");
}

TEST(DrawPages, BlocksAreReadInPageOrderWithTheirRules) {
    const std::string page = Page(Block(1003, "03.01.2020 21:00 (пятница)", Area(SIX)) +
                                  Block(1002, "", Area(SIX)) +          // empty date: skipped
                                  Block(1001, "01.01.2020 21:00", "") + // no numbers area
                                  Block(999, "31.12.2019 21:00", Area(SIX)) + // below first
                                  Block(0, "x", Area("<b>7</b>")));           // not a number
    bool listFound = false;
    const auto draws = ParseArchivePage(page, 1000, &listFound);
    EXPECT_TRUE(listFound);
    ASSERT_EQ(draws.size(), 2u);
    EXPECT_EQ(draws[0].Number, 1003);
    EXPECT_EQ(draws[0].Date, "03.01.2020 21:00"); // cut to 16 characters
    EXPECT_TRUE(draws[0].HasNumbers);
    EXPECT_EQ(draws[0].Nums, (std::array<int, 6>{1, 2, 3, 4, 5, 45}));
    EXPECT_EQ(draws[1].Number, 1001);
    EXPECT_FALSE(draws[1].HasNumbers);
}

TEST(DrawPages, MissingNumbersReadAsZeroForTheCallerToRefuse) {
    const auto draws = ParseArchivePage(Page(Block(5, "d", Area("<b>1</b><b>x</b>"))), 1);
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0].Nums, (std::array<int, 6>{1, 0, 0, 0, 0, 0}));
}

TEST(DrawPages, PagesWithoutAListOrCutShort) {
    bool listFound = true;
    EXPECT_TRUE(ParseArchivePage("<html>maintenance</html>", 1, &listFound).empty());
    EXPECT_FALSE(listFound);
    EXPECT_TRUE(ParseArchivePage(Page(""), 1, &listFound).empty());
    EXPECT_TRUE(listFound);
    const std::string cut = Page(Block(5, "d", Area(SIX))).substr(0, 120);
    EXPECT_THROW(ParseArchivePage(cut, 1), std::runtime_error);
}

TEST(DrawPages, TheSingleDrawPage) {
    std::array<int, 6> nums{};
    std::string page = "<div class=\"winning_numbers cleared\">";
    for (int n : {9, 19, 29, 39, 44, 45}) page += "<p class=\"number\">" + std::to_string(n) + "</p>";
    EXPECT_TRUE(ParseDrawPage(page + "</div>", nums));
    EXPECT_EQ(nums, (std::array<int, 6>{9, 19, 29, 39, 44, 45}));
    EXPECT_FALSE(ParseDrawPage("<p class=\"number\">1</p>", nums));
}

} // namespace
} // namespace pelko
