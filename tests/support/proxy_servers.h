#pragma once
// A real proxy for the tests: tinyproxy (HTTP, optionally with basic authentication) or
// danted (SOCKS4/SOCKS5), started on a free port of 127.0.0.1 with a config of its own in
// a temporary folder and killed with the object.

#include "support/temp_dir.h"

#include <sys/types.h>

#include <string>

namespace pelko::test {

class TProxyServer {
  public:
    enum class TKind { Tinyproxy, Danted };

    // Throws when the proxy does not accept connections within 10 s.
    explicit TProxyServer(TKind kind, std::string username = {}, std::string password = {});
    ~TProxyServer();
    TProxyServer(const TProxyServer&) = delete;
    TProxyServer& operator=(const TProxyServer&) = delete;

    int Port() const { return port_; }
    // The proxy's log so far.
    std::string Log() const;

    // A port nothing listens on at the moment of the call.
    static int FreePort();

  private:
    bool TryStart(int port);
    std::string Config(int port) const;
    bool WaitUntilListening(int port);
    void Kill();

    TKind kind_;
    std::string username_, password_;
    TTempDir dir_;
    pid_t pid_ = -1;
    int port_ = 0;
};

} // namespace pelko::test
