#pragma once
// The proxy settings of the draw download, section "PROXY" of the data ini file, and the
// list of proxies the automatic search found (kept only during one download).

#include "online/http.h"

#include <cstdint>
#include <string>
#include <vector>

namespace pelko {

class TIniFile;

inline constexpr const char* PROXY_SECTION = "PROXY";

enum : std::uint8_t { PROXY_MODE_OFF = 0, PROXY_MODE_AUTO = 1, PROXY_MODE_MANUAL = 2 };

struct TProxy {
    std::uint8_t Mode = PROXY_MODE_OFF; // any value above 2 behaves as off
    std::string Server;
    std::int32_t Port = 80;
    std::string Username, Password;
    int Type = PROXY_HTTP;    // "ProxyType": PROXY_HTTP .. PROXY_SOCKS5 of http.h
    bool Saved = true;        // false when changed since last written
    std::vector<std::string> List; // "host:port" entries of the automatic search
    bool HasList = false;          // the list was made during this download

    // What a request hands to curl: the server, port and credentials, or none.
    TProxyParams Params() const;
};

// Reads section "PROXY"; without "ProxyMode" the mode is manual when a server is set.
void LoadProxySettings(const TIniFile& ini, TProxy& proxy);
// Writes section "PROXY" (the file itself is saved by the caller); the ini is marked
// private (mode 0600) when a password is kept.
void SaveProxySettings(TIniFile& ini, const TProxy& proxy);

// What OK of the proxy dialog does: the fields become the settings (unsaved); the
// automatic choice forgets the server, port and credentials so the next download searches
// anew; a mode other than automatic or manual is off.
void ApplyProxyChoice(TProxy& proxy, int mode, const std::string& server, int port,
                      const std::string& username, const std::string& password, int type);

} // namespace pelko
