// What the draw download tests do not show of the local operator site: the proxy list's
// paging, and that the program ends by itself and refuses bad switches.

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
