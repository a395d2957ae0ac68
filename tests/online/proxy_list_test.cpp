#include "online/proxy_list.h"

#include "local_server.h"
#include "online/http.h"
#include "proxy_list_page.h"

#include <gtest/gtest.h>

#include <mutex>

namespace pelko {
namespace {

using test::ListPage;
using test::ListRow;
using test::LoopbackRow;

TEST(ProxyListPageUrlTest, JoinsTheAskedPartsAfterTheRoot) {
    const std::string root = "http://127.0.0.1:1/list/";
    const TProxyListQuery none{.Protocols = 0, .MaxResponseTime = 0, .MinUptime = 0};
    EXPECT_EQ(ProxyListPageUrl(root, none, 1), root);
    const TProxyListQuery all{.Protocols = LIST_HTTP | LIST_HTTPS | LIST_SOCKS4 | LIST_SOCKS5,
                              .Anonymity = 1 | 4 | 8,
                              .MaxResponseTime = 2500,
                              .Countries = " ru; ua ,,by "};
    EXPECT_EQ(ProxyListPageUrl(root, all, 3),
              root + "?protocol=http&protocol=https&protocol=socks4&protocol=socks5"
                     "&anonlvl=1&anonlvl=3&anonlvl=4&country=ru&country=ua&country=by"
                     "&min_uptime=75&max_response_time=2&offset=30");
}

TEST(ProxyListParseTest, DecodesHostsAndPortsAndCountsFilteredRows) {
    const std::string page =
        ListPage(8000, {ListRow("0.0.721", "\\x4c\\x6a\\x45\\x3d", 80), // 127.0.0 + ".1", 8080
                        ListRow("2.1.721", "L\\x6aM=", 0),              // 127.1.2 + ".3", 8000
                        ListRow("", "MTI3LjAuMC4y", 80),                // unpadded "127.0.0.2"
                        "<tr><td>no script</td></tr>\n"});
    struct TCase {
        int PortFilter;
        std::vector<std::string> Listed;
    };
    const TCase cases[] = {
        {0, {"127.0.0.1:8080", "127.1.2.3:8000", "127.0.0.2:8080"}},
        {8080, {"127.0.0.1:8080", "127.0.0.2:8080"}},
        {3128, {}},
    };
    for (const TCase& c : cases) {
        std::vector<std::string> list = {"kept:1"};
        EXPECT_EQ(ParseProxyListPage(page, c.PortFilter, list), 4) << c.PortFilter;
        std::vector<std::string> expected = {"kept:1"};
        expected.insert(expected.end(), c.Listed.begin(), c.Listed.end());
        EXPECT_EQ(list, expected) << c.PortFilter;
    }
}

TEST(ProxyListParseTest, NoTableOrNoBaseAndBrokenRows) {
    std::vector<std::string> list;
    EXPECT_EQ(ParseProxyListPage("<html>maintenance</html>", 0, list), 0);
    EXPECT_EQ(ParseProxyListPage("<tbody>" + LoopbackRow(3128) + "</tbody>", 0, list), 1);
    EXPECT_EQ(list, std::vector<std::string>{"127.0.0.1:3128"});
    for (const std::string& row : {ListRow("0.0.721", "Lj=E", 1), ListRow("0.0.721", "L*E=", 1),
                                   std::string("<tr><script>var h = '1.0.0.721';</script></tr>")})
        EXPECT_THROW(ParseProxyListPage(ListPage(0, {row}), 0, list), std::runtime_error) << row;
}

struct TPagingCase {
    int Rows; // rows the service has in all
    int Wanted;
    int Requests; // pages read
    std::size_t Listed;
};

class ProxyListPagingTest : public ::testing::TestWithParam<TPagingCase> {};

TEST_P(ProxyListPagingTest, StopsAfterAShortPageOrOnceEnoughAreListed) {
    const TPagingCase c = GetParam();
    test::TLocalServer server;
    std::mutex lock;
    std::vector<std::string> offsets;
    server.Routes().Get("/list", [&](const httplib::Request& req, httplib::Response& res) {
        const std::string offset = req.get_param_value("offset");
        {
            std::lock_guard<std::mutex> guard(lock);
            offsets.push_back(offset);
        }
        const int first = offset.empty() ? 0 : std::stoi(offset);
        std::vector<std::string> rows;
        for (int i = first; i < c.Rows && i < first + PROXY_LIST_PAGE_ROWS; ++i)
            rows.push_back(LoopbackRow(i));
        res.set_content(ListPage(1000, rows), "text/html");
    });
    server.Start();

    TProxyListQuery query;
    query.Wanted = c.Wanted;
    std::vector<std::string> list = {"old:1"};
    FetchProxyList(list, query, server.Url("/list"),
                   [](const std::string& url) { return HttpGet(url); });
    ASSERT_EQ(list.size(), c.Listed);
    EXPECT_EQ(list.front(), "127.0.0.1:1000");
    EXPECT_EQ(list.back(), "127.0.0.1:" + std::to_string(1000 + c.Listed - 1));
    ASSERT_EQ(offsets.size(), std::size_t(c.Requests));
    for (int page = 0; page < c.Requests; ++page)
        EXPECT_EQ(offsets[page], page == 0 ? "" : std::to_string(page * 15));
}

INSTANTIATE_TEST_SUITE_P(Pages, ProxyListPagingTest,
                         ::testing::Values(TPagingCase{20, 30, 2, 20}, // short second page
                                           TPagingCase{45, 50, 4, 45}, // empty fourth page
                                           TPagingCase{100, 30, 2, 30}));

} // namespace
} // namespace pelko
