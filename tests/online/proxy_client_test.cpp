#include "online/proxy_client.h"

#include "local_server.h"
#include "proxy_list_page.h"
#include "support/proxy_servers.h"

#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <thread>

namespace pelko {
namespace {

using test::TLocalServer;
using test::TProxyServer;
using namespace std::chrono_literals;

// The lottery site and the proxy-list service, both local; each remembers what it was asked.
class ProxyClientTest : public ::testing::Test {
  protected:
    void SetUp() override {
        site_.Routes().Get("/draws", [this](const httplib::Request& req, httplib::Response& res) {
            std::lock_guard<std::mutex> guard(lock_);
            via_.push_back(req.get_header_value("Via"));
            res.set_content("draws", "text/html");
        });
        list_.Routes().Get("/list/", [this](const httplib::Request& req, httplib::Response& res) {
            std::lock_guard<std::mutex> guard(lock_);
            queries_.push_back(req.target.substr(req.target.find('?') + 1));
            res.set_content(listPage_, "text/html");
        });
        site_.Start();
        list_.Start();
        settings_.ProxyListService = list_.Url("/list/");
    }

    std::unique_ptr<TProxyClient> Client() {
        auto client = std::make_unique<TProxyClient>(proxy_, settings_);
        client->WaitText = [this](const std::string& text) { waits_.push_back(text); };
        client->ShowError = [this](const std::string& text) { errors_.push_back(text); };
        return client;
    }

    void UseManualProxy(int type, int port, std::string username = {}, std::string password = {}) {
        proxy_ = TProxy{.Mode = PROXY_MODE_MANUAL,
                        .Server = "127.0.0.1",
                        .Port = port,
                        .Username = username,
                        .Password = password,
                        .Type = type};
    }

    std::string AttemptText(int attempt, int port) const {
        return "Загрузка архива тиражей...\n\nПопытка " + std::to_string(attempt) +
               ", proxy 127.0.0.1 : " + std::to_string(port);
    }

    TLocalServer site_, list_;
    std::mutex lock_;
    std::vector<std::string> via_, queries_;
    std::string listPage_ = test::ListPage(0, {});
    TProxy proxy_;
    TOnlineSettings settings_;
    std::vector<std::string> waits_, errors_;
};

TEST_F(ProxyClientTest, FailedSearchShowsTheNestedErrorAndRequestsNothing) {
    struct TCase {
        bool Service;
        bool Https;
        const char* Query; // what the service was asked, "" when not asked
        std::string Reason;
    };
    const std::string none = "Не найдено ни одного proxy-сервера с заданными параметрами";
    const TCase cases[] = {
        {true, false, "protocol=http&protocol=https&min_uptime=75", none},
        {true, true, "protocol=https&min_uptime=75", none},
        {false, false, "", NoProxyListServiceText()},
    };
    for (const TCase& c : cases) {
        proxy_ = TProxy{};
        proxy_.Mode = PROXY_MODE_AUTO;
        settings_.ProxyListService = c.Service ? list_.Url("/list/") : "";
        queries_.clear();
        waits_.clear();
        errors_.clear();
        // Never asked: the https site stands for the protocol of the search only.
        const std::string url = c.Https ? "https://127.0.0.1:1/draws" : site_.Url("/draws");
        EXPECT_EQ(Client()->HttpGetText(url, true), "") << url;
        EXPECT_EQ(errors_, std::vector<std::string>{"Ошибка получения списка proxy-серверов!\n\n" +
                                                    c.Reason});
        EXPECT_EQ(queries_,
                  c.Service ? std::vector<std::string>{c.Query} : std::vector<std::string>{});
        EXPECT_EQ(waits_,
                  (std::vector<std::string>{"Загрузка архива тиражей...\n\nПоиск proxy-серверов",
                                            "Загрузка архива тиражей..."}));
    }
    EXPECT_TRUE(via_.empty()) << "the site was asked";
}

TEST_F(ProxyClientTest, AutomaticModeMovesFromADeadProxyToALiveOne) {
    TProxyServer tinyproxy(TProxyServer::TKind::Tinyproxy);
    const int dead = TProxyServer::FreePort();
    listPage_ = test::ListPage(0, {test::LoopbackRow(dead), test::LoopbackRow(tinyproxy.Port())});
    proxy_.Mode = PROXY_MODE_AUTO;
    auto client = Client();

    EXPECT_THROW(client->HttpGetText(site_.Url("/draws"), false), std::runtime_error);
    EXPECT_EQ(proxy_.Port, dead);
    EXPECT_EQ(client->CurrentProxy().Port, dead);
    EXPECT_FALSE(proxy_.Saved);
    EXPECT_EQ(waits_.back(), AttemptText(1, dead));

    ASSERT_TRUE(client->DropFailedProxy());
    client->Attempt = 2;
    EXPECT_EQ(client->HttpGetText(site_.Url("/draws"), false), "draws");
    EXPECT_EQ(proxy_.Port, tinyproxy.Port());
    EXPECT_EQ(waits_.back(), AttemptText(2, tinyproxy.Port()));
    ASSERT_EQ(via_.size(), 1u);
    EXPECT_NE(via_[0].find("tinyproxy"), std::string::npos) << via_[0];
    EXPECT_EQ(queries_.size(), 1u) << "the list is kept for the download";

    // The last listed one failing too leaves nothing to move on to.
    EXPECT_FALSE(client->DropFailedProxy());
    client->ReleaseList();
    EXPECT_FALSE(proxy_.HasList);
    EXPECT_TRUE(errors_.empty());
}

TEST_F(ProxyClientTest, ManualHttpProxyGetsTheCredentials) {
    TProxyServer tinyproxy(TProxyServer::TKind::Tinyproxy, "tester", "secret");
    struct TCase {
        const char* Username;
        const char* Password;
        long Status; // 0: the page arrives
    };
    for (const TCase& c : {TCase{"tester", "secret", 0}, TCase{"", "", 407}}) {
        UseManualProxy(PROXY_HTTP, tinyproxy.Port(), c.Username, c.Password);
        auto client = Client();
        try {
            EXPECT_EQ(client->HttpGetText(site_.Url("/draws"), false), "draws");
            EXPECT_EQ(c.Status, 0);
        } catch (const THttpStatusError& e) {
            EXPECT_EQ(e.Code, c.Status) << e.what();
        }
        EXPECT_EQ(waits_.back(), AttemptText(1, tinyproxy.Port()));
    }
    ASSERT_EQ(via_.size(), 1u);
    EXPECT_NE(via_[0].find("tinyproxy"), std::string::npos) << via_[0];
}

class ProxyClientSocksTest : public ProxyClientTest, public ::testing::WithParamInterface<int> {};

TEST_P(ProxyClientSocksTest, ManualSocksProxyRelaysTheRequest) {
    TProxyServer danted(TProxyServer::TKind::Danted);
    UseManualProxy(GetParam(), danted.Port());
    EXPECT_EQ(Client()->HttpGetText(site_.Url("/draws"), false), "draws");
    // danted writes the relayed connection "... -> client proxy-side target" to its log.
    const std::string target = "127.0.0.1." + std::to_string(site_.Port());
    for (int i = 0; i < 100 && danted.Log().find(target) == std::string::npos; ++i)
        std::this_thread::sleep_for(20ms);
    EXPECT_NE(danted.Log().find(target), std::string::npos) << danted.Log();
}

INSTANTIATE_TEST_SUITE_P(Types, ProxyClientSocksTest, ::testing::Values(PROXY_SOCKS4, PROXY_SOCKS5),
                         [](const auto& info) {
                             return std::string(info.param == PROXY_SOCKS4 ? "Socks4" : "Socks5");
                         });

} // namespace
} // namespace pelko
