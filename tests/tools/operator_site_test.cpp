// The local operator site as the draw download and the proxy search read it.

#include "support/local_certificate.h"
#include "support/operator_site.h"
#include "support/temp_dir.h"

#include <httplib.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace pelko::test {
namespace {

// Lenient on purpose: impossible numbers, a repeated draw number with five numbers, a blank
// line, CR LF and LF ends.
const char* const ARCHIVE = "1001;\"01.02.2020 11:00\";1;2;3;4;5;6\r\n"
                            "1002;\"04.02.2020 11:00\";0;46;99;7;8;9\r\n"
                            "\r\n"
                            "1003;\"08.02.2020 11:00\";5;5;10;11;12;13\n"
                            "1003;\"09.02.2020 11:00\";14;15;16;17;18\r\n"
                            "1004;\"11.02.2020 11:00\";40;41;42;43;44;45\r\n";
const char* const RANGE = "/6x45/archive?mode=draw&firstDraw=1001&lastDraw=1050";

std::string Between(const std::string& text, const std::string& start, const std::string& end) {
    const std::size_t from = text.find(start);
    if (from == std::string::npos) return "";
    const std::size_t to = text.find(end, from + start.size());
    return text.substr(from + start.size(),
                       to == std::string::npos ? to : to - from - start.size());
}

std::string Lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return std::tolower(c); });
    return text;
}

struct TBlock {
    int Number = 0;
    std::string Date;
    std::vector<int> Balls;
    bool HasNumbersArea = true;
    bool operator==(const TBlock&) const = default;
};

// Reads the list the way the draw download does (markers without regard to case).
std::vector<TBlock> ReadBlocks(const std::string& page) {
    std::string list =
        Between(page, "<div class=\"data drawings_data\">", "<div class=\"content_decor\">");
    std::vector<TBlock> blocks;
    const std::string marker = "<div class=\"elem\">";
    for (std::size_t at = list.find(marker); at != std::string::npos;) {
        const std::size_t next = list.find(marker, at + 1);
        const std::string block =
            Lowered(list.substr(at, next == std::string::npos ? next : next - at));
        at = next;
        TBlock read{std::stoi(Between(block, "<a href=\"/6x45/archive/", "\">")),
                    Between(block, "<div class=\"draw_date\" title=\"", "\">"),
                    {}};
        read.HasNumbersArea = block.find("<div class=\"container cleared\"") != std::string::npos;
        std::string area =
            Between(Between(block, "<div class=\"container cleared\"", "<div class=\"controls\">"),
                    ">", "</div>");
        for (std::string ball; !(ball = Between(area, "<b", "</b>")).empty();
             area = area.substr(area.find("</b>") + 4)) {
            for (const std::string junk : {"&nbsp;", ">"})
                for (std::size_t p; (p = ball.find(junk)) != std::string::npos;)
                    ball.erase(p, junk.size());
            read.Balls.push_back(std::stoi(ball));
        }
        blocks.push_back(read);
    }
    return blocks;
}

class OperatorSiteTest : public ::testing::Test {
  protected:
    TTempDir dir_;
    std::string archive_ = dir_.file("draws.csv").string();

    void SetUp() override { std::ofstream(archive_, std::ios::binary) << ARCHIVE; }
    std::vector<std::string> With(std::vector<std::string> switches) const {
        switches.insert(switches.begin(), {"--archive", archive_});
        return switches;
    }
    static httplib::Result Get(const TOperatorSite& site, const std::string& path,
                               const httplib::Headers& headers = {}) {
        httplib::Client client(site.Url());
        return client.Get(path.c_str(), headers);
    }
};

TEST_F(OperatorSiteTest, ARangeListsItsDrawsNewestFirstWithTheNumbersAsWritten) {
    const TOperatorSite site(With({}));
    const std::vector<TBlock> d1001{{1001, "01.02.2020 11:00", {1, 2, 3, 4, 5, 6}}};
    const TBlock d1002{1002, "04.02.2020 11:00", {0, 46, 99, 7, 8, 9}};
    const TBlock d1003a{1003, "08.02.2020 11:00", {5, 5, 10, 11, 12, 13}};
    const TBlock d1003b{1003, "09.02.2020 11:00", {14, 15, 16, 17, 18}};
    const TBlock d1004{1004, "11.02.2020 11:00", {40, 41, 42, 43, 44, 45}};
    const struct {
        const char* Range;
        std::vector<TBlock> Expected;
    } cases[] = {
        {"firstDraw=0001002&lastDraw=0001003", {d1003b, d1003a, d1002}},
        {"firstDraw=1001&lastDraw=1050", {d1004, d1003b, d1003a, d1002, d1001[0]}},
        {"firstDraw=2001&lastDraw=2050", {}},
    };
    for (const auto& c : cases) {
        const auto res = Get(site, std::string("/6x45/archive?mode=draw&") + c.Range);
        ASSERT_TRUE(res) << c.Range;
        EXPECT_EQ(res->status, 200);
        EXPECT_EQ(res->get_header_value("Content-Type"), "text/html; charset=utf-8");
        EXPECT_NE(res->body.find("<div class=\"content_decor\">"), std::string::npos);
        EXPECT_EQ(ReadBlocks(res->body), c.Expected) << c.Range;
    }
}

TEST_F(OperatorSiteTest, PageSwitchesChangeOnlyTheirBlocks) {
    const struct {
        std::vector<std::string> Switches;
        TBlock Expected;
        bool EndMarker = true;
    } cases[] = {
        {{"--no-numbers", "1002,1001"}, {1001, "01.02.2020 11:00", {}, false}},
        {{"--no-numbers-anywhere", "1001"}, {1001, "01.02.2020 11:00", {}, false}},
        {{"--no-numbers", "1002"}, {1004, "11.02.2020 11:00", {40, 41, 42, 43, 44, 45}}},
        {{"--empty-date", "1001"}, {1001, "", {1, 2, 3, 4, 5, 6}}},
        {{"--long-dates"}, {1001, "01.02.2020 11:00 (суббота)", {1, 2, 3, 4, 5, 6}}},
        {{"--cut-pages"}, {1001, "01.02.2020 11:00", {1, 2, 3, 4, 5, 6}}, false},
    };
    for (const auto& c : cases) {
        const TOperatorSite site(With(c.Switches));
        const auto res = Get(site, RANGE);
        ASSERT_TRUE(res);
        const std::vector<TBlock> blocks = ReadBlocks(res->body);
        const auto found = std::find_if(blocks.begin(), blocks.end(), [&](const TBlock& b) {
            return b.Number == c.Expected.Number;
        });
        ASSERT_NE(found, blocks.end()) << c.Switches[0];
        EXPECT_EQ(*found, c.Expected) << c.Switches[0];
        EXPECT_EQ(blocks.size(), 5u);
        EXPECT_EQ(res->body.find("<div class=\"content_decor\">") != std::string::npos, c.EndMarker)
            << c.Switches[0];
    }
}

TEST_F(OperatorSiteTest, TheDrawPageHasTheWinningNumbersOfTheNewestDrawOfThatNumber) {
    const struct {
        std::vector<std::string> Switches;
        const char* Path;
        int Status;
        const char* Numbers;
    } cases[] = {
        {{},
         "/6x45/archive/1003",
         200,
         "<p class=\"number\">14</p><p class=\"number\">15</p><p class=\"number\">16</p>"
         "<p class=\"number\">17</p><p class=\"number\">18</p>"},
        {{}, "/6x45/archive/0001002", 200, "<p class=\"number\">0</p><p class=\"number\">46</p>"},
        {{}, "/6x45/archive/999", 404, nullptr},
        {{"--no-numbers", "1001"}, "/6x45/archive/1001", 200, "<p class=\"number\">1</p>"},
        {{"--no-numbers-anywhere", "1001"}, "/6x45/archive/1001", 200, nullptr},
    };
    for (const auto& c : cases) {
        const TOperatorSite site(With(c.Switches));
        const auto res = Get(site, c.Path);
        ASSERT_TRUE(res) << c.Path;
        EXPECT_EQ(res->status, c.Status) << c.Path;
        const std::string numbers =
            Between(res->body, "<div class=\"winning_numbers cleared\">", "</div>");
        if (c.Numbers)
            EXPECT_TRUE(numbers.starts_with(c.Numbers)) << c.Path << ": " << numbers;
        else
            EXPECT_EQ(res->body.find("winning_numbers"), std::string::npos) << c.Path;
    }
}

TEST_F(OperatorSiteTest, FailuresAndRedirectsComeAsAskedAndAreLogged) {
    const struct {
        std::vector<std::string> Switches;
        std::vector<int> Statuses;
    } cases[] = {
        {{"--fail-first", "2"}, {500, 500, 200}},
        {{"--fail-first", "1", "--fail-status", "503"}, {503, 200, 200}},
        {{"--redirect"}, {302, 302}},
    };
    for (const auto& c : cases) {
        const TOperatorSite site(With(c.Switches));
        std::vector<std::string> expectedLog;
        for (const int status : c.Statuses) {
            const auto res = Get(site, RANGE);
            ASSERT_TRUE(res);
            EXPECT_EQ(res->status, status) << c.Switches[0];
            expectedLog.push_back(std::string("GET ") + RANGE +
                                  " status=" + std::to_string(status) + " gzip=0");
            if (status != 302) continue;
            const std::string moved = res->get_header_value("Location");
            EXPECT_EQ(moved, std::string("/moved") + RANGE);
            EXPECT_EQ(ReadBlocks(Get(site, moved)->body).size(), 5u);
            expectedLog.push_back("GET " + moved + " status=200 gzip=0");
        }
        EXPECT_EQ(site.LogLines(), expectedLog);
    }
}

TEST_F(OperatorSiteTest, RepliesAreGzippedWhenTheClientAsks) {
    const TOperatorSite site(With({}));
    const auto plain = Get(site, RANGE, {{"Accept-Encoding", "identity"}});
    const auto gzipped = Get(site, RANGE, {{"Accept-Encoding", "gzip, deflate"}});
    ASSERT_TRUE(plain && gzipped);
    EXPECT_EQ(plain->get_header_value("Content-Encoding"), "");
    EXPECT_EQ(gzipped->get_header_value("Content-Encoding"), "gzip");
    EXPECT_EQ(gzipped->body, plain->body); // the client undid the gzip, once
    EXPECT_EQ(site.LogLines(),
              (std::vector<std::string>{std::string("GET ") + RANGE + " status=200 gzip=0",
                                        std::string("GET ") + RANGE + " status=200 gzip=1"}));
}

// host:port of every row, decoded the way the proxy search does.
std::vector<std::string> ReadProxyRows(std::string page) {
    const int base = std::stoi(
        Between(Between(page, "<div style=\"display:none\" data-", "</div>"), "=\"", "\""));
    std::vector<std::string> rows;
    for (std::string script; !(script = Between(page, "<script>", "</script>")).empty();
         page = page.substr(page.find("</script>") + 9)) {
        std::string host = Between(Between(script, "var", "split"), "'", "'");
        std::reverse(host.begin(), host.end());
        std::string b64 = Between(script, "atob('", "'");
        for (std::size_t p; (p = b64.find("\\x")) != std::string::npos;)
            b64.replace(p, 4, 1, static_cast<char>(std::stoi(b64.substr(p + 2, 2), nullptr, 16)));
        const std::string alphabet =
            "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
        unsigned bits = 0, count = 0;
        for (const char c : b64.substr(0, b64.find('='))) {
            bits = bits << 6 | static_cast<unsigned>(alphabet.find(c));
            if ((count += 6) >= 8) host.push_back(static_cast<char>(bits >> (count -= 8) & 0xFF));
        }
        const int g = std::stoi(Between(Between(script, "pp =", ";"), "(", " "));
        rows.push_back(host + ":" + std::to_string(base + g));
    }
    return rows;
}

TEST_F(OperatorSiteTest, TheProxyListServesFifteenDecodableRowsAPage) {
    std::vector<std::string> proxies = {"proxy-one.example.test:8080", "a:1080"};
    for (int i = 0; i < 16; ++i)
        proxies.push_back("10.0.0." + std::to_string(i) + ":" + std::to_string(3128 + i));
    std::string list;
    for (const std::string& p : proxies)
        list += (list.empty() ? "" : ",") + p;
    const TOperatorSite site({"--proxies", list});
    const struct {
        int Offset;
        std::size_t First, Count;
    } cases[] = {{0, 0, 15}, {15, 15, 3}, {30, 18, 0}};
    for (const auto& c : cases) {
        const auto res =
            Get(site, "/proxylist?protocol=http&anonlvl=4&offset=" + std::to_string(c.Offset));
        ASSERT_TRUE(res);
        EXPECT_EQ(ReadProxyRows(res->body),
                  std::vector<std::string>(proxies.begin() + c.First,
                                           proxies.begin() + c.First + c.Count));
    }
}

TEST_F(OperatorSiteTest, HttpsWithALocalCertificate) {
    const TLocalCertificate cert = MakeLocalCertificate(dir_.path());
    const TOperatorSite site(
        With({"--tls-cert", cert.Cert.string(), "--tls-key", cert.Key.string()}));
    ASSERT_EQ(site.Url(), "https://127.0.0.1:" + std::to_string(site.Port()));
    httplib::Client client(site.Url());
    client.set_ca_cert_path(cert.Cert.string().c_str());
    client.enable_server_certificate_verification(true);
    const auto res = client.Get("/6x45/archive/1001");
    ASSERT_TRUE(res) << httplib::to_string(res.error());
    EXPECT_NE(res->body.find("<p class=\"number\">6</p>"), std::string::npos);
}

TEST_F(OperatorSiteTest, ItStopsByItselfAndRefusesBadSwitches) {
    TOperatorSite limited(With({"--max-requests", "2"}));
    Get(limited, RANGE);
    Get(limited, RANGE);
    EXPECT_EQ(limited.WaitForExit(std::chrono::seconds(5)), 0);
    TOperatorSite shortLived(With({"--lifetime", "1"}));
    EXPECT_EQ(shortLived.WaitForExit(std::chrono::seconds(5)), 0);

    for (const std::string& bad : std::vector<std::string>{
             "--port 70000", "--bogus", "--lifetime 0", "--fail-status 200",
             "--tls-cert " + archive_, "--proxies 10.0.0.1", "--proxies a:1 --port-base 2"}) {
        const std::string command =
            std::string(TOperatorSite::ProgramPath()) + " " + bad + " >/dev/null 2>&1";
        const int status = std::system(command.c_str());
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 2) << bad;
    }
}

} // namespace
} // namespace pelko::test
