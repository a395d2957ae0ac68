#include "online/proxy_client.h"

#include "core/format.h"
#include "core/text_forms.h"
#include "online/proxy_list.h"

#include <stdexcept>

namespace pelko {
namespace {

constexpr long CONNECT_TIMEOUT_MS = 5000;
constexpr long READ_TIMEOUT_MS = 10000;

bool ActsAsOff(std::uint8_t mode) {
    return mode != PROXY_MODE_AUTO && mode != PROXY_MODE_MANUAL;
}

// What the automatic search asks the list service for.
TProxyListQuery SearchQuery(const std::string& url) {
    TProxyListQuery query;
    query.Protocols = IsHttps(url) ? LIST_HTTPS : LIST_HTTP | LIST_HTTPS;
    query.Anonymity = 0;
    query.Wanted = 30;
    query.MaxResponseTime = 10;
    query.MinUptime = 75;
    query.Port = 0;
    query.Countries.clear();
    return query;
}

// "host:port" -> the listed proxy as plain HTTP without credentials.
void TakeListedProxy(const std::string& entry, TProxy& proxy) {
    const std::size_t colon = entry.find(':');
    int port = 0;
    if (colon == std::string::npos || !TryStrToInt(std::string_view(entry).substr(colon + 1), port))
        throw std::runtime_error(
            Format("Неверная запись списка proxy-серверов: \"%s\"", entry.c_str()));
    proxy.Server = std::string(TrimText(std::string_view(entry).substr(0, colon)));
    proxy.Port = port;
    proxy.Username.clear();
    proxy.Password.clear();
    proxy.Type = PROXY_HTTP;
    proxy.Saved = false;
}

} // namespace

TProxyClient::TProxyClient(TProxy& proxy, TOnlineSettings settings)
    : Transport([](const std::string& url, bool decodeUtf8, const THttpOptions& options) {
          return pelko::HttpGetText(url, decodeUtf8, options);
      }),
      proxy_(proxy), settings_(std::move(settings)) {}

bool TProxyClient::SelectProxy(const std::string& url) {
    bool usable = true;
    current_ = TProxyParams{};
    if (proxy_.Mode == PROXY_MODE_AUTO) {
        usable = !proxy_.Server.empty() || PickListedProxy(url);
        if (usable) current_ = proxy_.Params();
    } else if (proxy_.Mode == PROXY_MODE_MANUAL) {
        current_ = proxy_.Params();
    }
    ShowWait(WaitTextNow());
    return usable;
}

bool TProxyClient::PickListedProxy(const std::string& url) {
    try {
        if (proxy_.List.empty() && !FindProxies(url)) return false;
        TakeListedProxy(proxy_.List.front(), proxy_);
        return true;
    } catch (const THttpCancelled&) {
        throw;
    } catch (const std::exception& e) {
        ShowFailure("Ошибка автоматического выбора proxy сервера!", e.what());
        return false;
    }
}

bool TProxyClient::FindProxies(const std::string& url) {
    ShowWait(std::string(DOWNLOAD_WAIT_TEXT) + "\n\nПоиск proxy-серверов");
    try {
        const std::string& service = settings_.ProxyListService;
        if (service.empty()) throw std::runtime_error(NoProxyListServiceText());
        proxy_.HasList = true;
        const THttpOptions options = ListPageOptions();
        FetchProxyList(proxy_.List, SearchQuery(url), service,
                       [&](const std::string& page) { return Transport(page, false, options); });
        if (proxy_.List.empty())
            throw std::runtime_error("Не найдено ни одного proxy-сервера с заданными параметрами");
        return true;
    } catch (const THttpCancelled&) {
        throw; // the person stopped the download: no error box
    } catch (const std::exception& e) {
        ShowFailure("Ошибка получения списка proxy-серверов!", e.what());
        return false;
    }
}

bool TProxyClient::DropFailedProxy() {
    if (proxy_.Mode != PROXY_MODE_AUTO) return false;
    proxy_.Server.clear();
    proxy_.Port = 0;
    proxy_.Username.clear();
    proxy_.Password.clear();
    proxy_.Saved = false;
    if (!proxy_.List.empty()) proxy_.List.erase(proxy_.List.begin());
    return !proxy_.List.empty();
}

std::string TProxyClient::HttpGetText(const std::string& url, bool decodeUtf8) {
    if (!SelectProxy(url)) return {};
    return Transport(url, decodeUtf8, RequestOptions());
}

void TProxyClient::ReleaseList() {
    proxy_.List.clear();
    proxy_.List.shrink_to_fit();
    proxy_.HasList = false;
}

THttpOptions TProxyClient::RequestOptions() {
    THttpOptions options;
    options.Proxy = current_;
    options.CaFile = settings_.CaFile;
    options.ConnectTimeoutMs = CONNECT_TIMEOUT_MS;
    options.ReadTimeoutMs = READ_TIMEOUT_MS;
    options.Stop = Stop;
    options.Cookies = &cookies_;
    return options;
}

// The list service is asked directly, like any stand-alone request.
THttpOptions TProxyClient::ListPageOptions() const {
    THttpOptions options;
    options.AllowHttps = IsHttps(settings_.ProxyListService);
    options.CaFile = settings_.CaFile;
    options.ConnectTimeoutMs = CONNECT_TIMEOUT_MS;
    options.ReadTimeoutMs = READ_TIMEOUT_MS;
    options.Stop = Stop;
    return options;
}

std::string TProxyClient::WaitTextNow() const {
    if (ActsAsOff(proxy_.Mode) || proxy_.Server.empty()) return DOWNLOAD_WAIT_TEXT;
    return std::string(DOWNLOAD_WAIT_TEXT) + "\n\n" +
           Format("Попытка %d, proxy %s : %d", Attempt, proxy_.Server.c_str(), int(proxy_.Port));
}

void TProxyClient::ShowWait(const std::string& text) const {
    if (WaitText) WaitText(text);
}

void TProxyClient::ShowFailure(const std::string& heading, const std::string& reason) const {
    if (ShowError) ShowError(heading + "\n\n" + reason);
}

} // namespace pelko
