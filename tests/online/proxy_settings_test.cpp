#include "online/online_settings.h"
#include "online/proxy.h"

#include "support/temp_dir.h"

#include "core/ini_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <tuple>

namespace fs = std::filesystem;

namespace pelko {
namespace {

TEST(ProxySettingsTest, RoundTripKeepsEveryFieldAndAPasswordMakesTheFilePrivate) {
    test::TTempDir dir;
    const fs::path path = dir.file("Pelko_6x45.ini");
    std::ofstream(path) << "[PROXY]\r\nProxyMode=0\r\n";
    fs::permissions(path, fs::perms(0644));

    const TProxy proxy{.Mode = PROXY_MODE_AUTO,
                       .Server = "127.0.0.1",
                       .Port = 3128,
                       .Username = "пользователь",
                       .Password = "p=;ss word",
                       .Type = PROXY_SOCKS5};
    const TOnlineSettings online{"https://127.0.0.1:8443", "http://127.0.0.1:9/list/",
                                 "/tmp/ca bundle.pem"};
    {
        TIniFile ini(path);
        SaveProxySettings(ini, proxy);
        SaveOnlineSettings(ini, online);
        ini.Save();
    }
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all, fs::perms(0600));

    const TIniFile ini(path);
    TProxy loaded{.Saved = false};
    LoadProxySettings(ini, loaded);
    const auto fields = [](const TProxy& p) {
        return std::tie(p.Mode, p.Server, p.Port, p.Username, p.Password, p.Type);
    };
    EXPECT_EQ(fields(loaded), fields(proxy));
    EXPECT_TRUE(loaded.Saved);
    const TOnlineSettings read = LoadOnlineSettings(ini);
    EXPECT_EQ(std::tie(read.DrawsSite, read.ProxyListService, read.CaFile),
              std::tie(online.DrawsSite, online.ProxyListService, online.CaFile));
}

TEST(ProxySettingsTest, LoadFillsGapsWithDefaults) {
    struct TCase {
        const char* Ini;
        int Mode;
        const char* Server;
        int Port;
        int Type;
    };
    const TCase cases[] = {
        {"", PROXY_MODE_OFF, "", 80, PROXY_HTTP},
        // Without a mode a server means manual.
        {"[PROXY]\r\nProxyServer=127.0.0.1\r\n", PROXY_MODE_MANUAL, "127.0.0.1", 80, PROXY_HTTP},
        {"[PROXY]\r\nProxyMode=0\r\nProxyServer=h\r\nProxyPort=3128\r\nProxyType=2\r\n",
         PROXY_MODE_OFF, "h", 3128, PROXY_SOCKS4},
        {"[PROXY]\r\nProxyMode=1\r\nProxyPort=\r\n", PROXY_MODE_AUTO, "", 80, PROXY_HTTP},
        {"[PROXY]\r\nProxyMode=7\r\nProxyType=9\r\n", 7, "", 80, PROXY_HTTP},
    };
    for (const TCase& c : cases) {
        test::TTempDir dir;
        std::ofstream(dir.file("Pelko_6x45.ini")) << c.Ini;
        TProxy proxy{.Mode = 99, .Server = "stale"};
        LoadProxySettings(TIniFile(dir.file("Pelko_6x45.ini")), proxy);
        EXPECT_EQ(proxy.Mode, c.Mode) << c.Ini;
        EXPECT_EQ(proxy.Server, c.Server) << c.Ini;
        EXPECT_EQ(proxy.Port, c.Port) << c.Ini;
        EXPECT_EQ(proxy.Type, c.Type) << c.Ini;
    }
}

TEST(ProxySettingsTest, DialogChoiceAutomaticForgetsTheServer) {
    struct TCase {
        int Chosen;
        int Mode;
        const char* Server;
        int Port;
        const char* Password;
    };
    const TCase cases[] = {
        {PROXY_MODE_MANUAL, PROXY_MODE_MANUAL, "127.0.0.1", 3128, "pw"},
        {PROXY_MODE_OFF, PROXY_MODE_OFF, "127.0.0.1", 3128, "pw"},
        {PROXY_MODE_AUTO, PROXY_MODE_AUTO, "", 0, ""},
    };
    for (const TCase& c : cases) {
        TProxy proxy{.Mode = PROXY_MODE_MANUAL, .Server = "old"};
        ApplyProxyChoice(proxy, c.Chosen, "127.0.0.1", 3128, "user", "pw", PROXY_SOCKS5);
        EXPECT_EQ(proxy.Mode, c.Mode) << c.Chosen;
        EXPECT_EQ(proxy.Server, c.Server) << c.Chosen;
        EXPECT_EQ(proxy.Port, c.Port) << c.Chosen;
        EXPECT_EQ(proxy.Password, c.Password) << c.Chosen;
        EXPECT_EQ(proxy.Username.empty(), c.Mode == PROXY_MODE_AUTO) << c.Chosen;
        EXPECT_FALSE(proxy.Saved) << c.Chosen;
    }
}

} // namespace
} // namespace pelko
