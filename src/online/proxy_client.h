#pragma once
// The draw download's HTTP client: the person's proxy settings applied before every
// request, the automatic mode that finds public proxies and moves on to the next one after
// a failure, cookies kept between requests. Used from one thread; the transfers themselves
// may run elsewhere (Transport), so Stop must be safe to call from any thread.

#include "online/http.h"
#include "online/online_settings.h"
#include "online/proxy.h"

#include <functional>
#include <string>

namespace pelko {

inline constexpr const char* DOWNLOAD_WAIT_TEXT = "Загрузка архива тиражей...";

class TProxyClient {
  public:
    // One GET: the page text (decoded from UTF-8 when asked), failures thrown.
    using TTransport =
        std::function<std::string(const std::string& url, bool decodeUtf8, const THttpOptions&)>;

    TProxyClient(TProxy& proxy, TOnlineSettings settings);
    TProxyClient(const TProxyClient&) = delete;
    TProxyClient& operator=(const TProxyClient&) = delete;

    TTransport Transport;                          // default: HttpGetText
    std::function<void(const std::string&)> WaitText;  // the wait window's text
    std::function<void(const std::string&)> ShowError; // an error box
    std::function<bool()> Stop;                    // polled during transfers, any thread
    int Attempt = 1;                               // shown with the proxy in the wait window

    // Before every request: decides the proxy of the next request (see the proxy modes);
    // false when the automatic mode found none (the error was shown).
    bool SelectProxy(const std::string& url);
    bool PickListedProxy(const std::string& url);
    bool FindProxies(const std::string& url);
    // Automatic mode: forgets the failed proxy; true while listed ones remain.
    bool DropFailedProxy();
    // SelectProxy, then the GET with the connect and read time-outs; empty when no proxy
    // could be selected. Failures (network, HTTP status, TLS, THttpCancelled) are thrown.
    std::string HttpGetText(const std::string& url, bool decodeUtf8);
    // End of a download: the automatic search's list is released.
    void ReleaseList();

    const TProxyParams& CurrentProxy() const { return current_; }
    const TOnlineSettings& Settings() const { return settings_; }

  private:
    THttpOptions RequestOptions();
    THttpOptions ListPageOptions() const;
    std::string WaitTextNow() const;
    void ShowWait(const std::string& text) const;
    void ShowFailure(const std::string& heading, const std::string& reason) const;

    TProxy& proxy_;
    TOnlineSettings settings_;
    TProxyParams current_;
    THttpCookieJar cookies_;
};

} // namespace pelko
