#include "online/proxy.h"

#include "core/ini_file.h"

namespace pelko {
namespace {

constexpr const char* MODE_KEY = "ProxyMode";
constexpr const char* SERVER_KEY = "ProxyServer";
constexpr const char* PORT_KEY = "ProxyPort";
constexpr const char* USERNAME_KEY = "ProxyUsername";
constexpr const char* PASSWORD_KEY = "ProxyPassword";
constexpr const char* TYPE_KEY = "ProxyType";
constexpr std::int32_t DEFAULT_PORT = 80;

int KnownProxyType(int type) {
    return type >= PROXY_HTTP && type <= PROXY_SOCKS5 ? type : PROXY_HTTP;
}

} // namespace

TProxyParams TProxy::Params() const {
    TProxyParams params;
    params.Server = Server;
    params.Port = Port;
    params.Username = Username;
    params.Password = Password;
    params.Type = Type;
    return params;
}

void LoadProxySettings(const TIniFile& ini, TProxy& proxy) {
    proxy.Server = ini.ReadString(PROXY_SECTION, SERVER_KEY);
    proxy.Port = ini.ReadInteger(PROXY_SECTION, PORT_KEY, DEFAULT_PORT);
    proxy.Username = ini.ReadString(PROXY_SECTION, USERNAME_KEY);
    proxy.Password = ini.ReadString(PROXY_SECTION, PASSWORD_KEY);
    proxy.Type = KnownProxyType(ini.ReadInteger(PROXY_SECTION, TYPE_KEY, PROXY_HTTP));
    // Files written before the mode existed name a server only when one was meant.
    const int defaultMode = proxy.Server.empty() ? PROXY_MODE_OFF : PROXY_MODE_MANUAL;
    proxy.Mode = static_cast<std::uint8_t>(ini.ReadInteger(PROXY_SECTION, MODE_KEY, defaultMode));
    proxy.Saved = true;
}

void SaveProxySettings(TIniFile& ini, const TProxy& proxy) {
    ini.WriteInteger(PROXY_SECTION, MODE_KEY, proxy.Mode);
    ini.WriteString(PROXY_SECTION, SERVER_KEY, proxy.Server);
    ini.WriteInteger(PROXY_SECTION, PORT_KEY, proxy.Port);
    ini.WriteString(PROXY_SECTION, USERNAME_KEY, proxy.Username);
    ini.WriteString(PROXY_SECTION, PASSWORD_KEY, proxy.Password);
    ini.WriteInteger(PROXY_SECTION, TYPE_KEY, proxy.Type);
    // Never switched back off: a file once private stays so.
    if (!proxy.Password.empty()) ini.SetOwnerOnly(true);
}

void ApplyProxyChoice(TProxy& proxy, int mode, const std::string& server, int port,
                      const std::string& username, const std::string& password, int type) {
    proxy.Server = server;
    proxy.Port = port;
    proxy.Username = username;
    proxy.Password = password;
    proxy.Type = KnownProxyType(type);
    proxy.Saved = false;
    if (mode == PROXY_MODE_MANUAL) {
        proxy.Mode = PROXY_MODE_MANUAL;
    } else if (mode == PROXY_MODE_AUTO) {
        // Listed proxies are plain HTTP ones, found again by the next download.
        proxy.Mode = PROXY_MODE_AUTO;
        proxy.Server.clear();
        proxy.Port = 0;
        proxy.Username.clear();
        proxy.Password.clear();
        proxy.Type = PROXY_HTTP;
    } else {
        proxy.Mode = PROXY_MODE_OFF;
    }
}

} // namespace pelko
