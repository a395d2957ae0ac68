#include "online/http.h"

#include "core/atomic_file.h"
#include "core/codec.h"
#include "core/format.h"

#include <curl/curl.h>

#include <chrono>

namespace pelko {
namespace {

void EnsureCurlReady() {
    static const bool ready = [] {
        if (curl_global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK)
            throw std::runtime_error("Не удалось инициализировать библиотеку libcurl");
        return true;
    }();
    (void)ready;
}

using TClock = std::chrono::steady_clock;

// What the curl callbacks share with the request that owns them.
struct TTransfer {
    const THttpOptions* Options = nullptr;
    std::string Body;
    std::string StatusLine; // of the last reply (redirects bring several)
    bool TooLarge = false;
    bool Cancelled = false;
    bool Stalled = false;
    curl_off_t LastDone = -1;
    TClock::time_point LastActivity = TClock::now();
};

std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* user) {
    auto& t = *static_cast<TTransfer*>(user);
    const std::size_t n = size * count;
    if (t.Body.size() + n > t.Options->MaxReplyBytes) {
        t.TooLarge = true;
        return 0; // curl ends the transfer with a write error
    }
    t.Body.append(data, n);
    return n;
}

std::size_t OnHeader(char* data, std::size_t size, std::size_t count, void* user) {
    auto& t = *static_cast<TTransfer*>(user);
    const std::size_t n = size * count;
    std::string_view line(data, n);
    if (line.size() > 5 && line.substr(0, 5) == "HTTP/") {
        while (!line.empty() && (line.back() == '\r' || line.back() == '\n'))
            line.remove_suffix(1);
        t.StatusLine = line;
    }
    return n;
}

int OnProgress(void* user, curl_off_t dlTotal, curl_off_t dlNow, curl_off_t, curl_off_t ulNow) {
    auto& t = *static_cast<TTransfer*>(user);
    const THttpOptions& o = *t.Options;
    if (o.Stop && o.Stop()) {
        t.Cancelled = true;
        return 1;
    }
    // Any byte moved in either direction counts as life; curl calls in at least once a
    // second while the line is quiet.
    const auto now = TClock::now();
    if (dlNow + ulNow != t.LastDone) {
        t.LastDone = dlNow + ulNow;
        t.LastActivity = now;
    } else if (o.ReadTimeoutMs > 0 &&
               now - t.LastActivity > std::chrono::milliseconds(o.ReadTimeoutMs)) {
        t.Stalled = true;
        return 1;
    }
    if (o.Progress) o.Progress(std::uint64_t(dlNow), std::uint64_t(dlTotal > 0 ? dlTotal : 0));
    return 0;
}

std::string TooLargeReplyText(std::uint64_t limit) {
    const auto value = static_cast<unsigned long long>(limit);
    if (limit % (std::uint64_t(1) << 20) == 0 && limit > 0)
        return Format("Ответ сервера слишком велик: допускается не более %llu МБ!", value >> 20);
    return Format("Ответ сервера слишком велик: допускается не более %llu байт!", value);
}

long ProxyType(int type) {
    switch (type) {
    case PROXY_HTTPS: return CURLPROXY_HTTPS;
    case PROXY_SOCKS4: return CURLPROXY_SOCKS4;
    // The proxy resolves the host name: a client behind it often cannot.
    case PROXY_SOCKS5: return CURLPROXY_SOCKS5_HOSTNAME;
    default: return CURLPROXY_HTTP;
    }
}

struct TCurlDeleter {
    void operator()(CURL* c) const { curl_easy_cleanup(c); }
};
struct TSlistDeleter {
    void operator()(curl_slist* l) const { curl_slist_free_all(l); }
};

} // namespace

THttpCancelled::THttpCancelled() : std::runtime_error("Загрузка прервана пользователем") {}

THttpCookieJar::THttpCookieJar() {
    EnsureCurlReady();
    CURLSH* share = curl_share_init();
    if (!share) throw std::runtime_error("Не удалось создать хранилище cookie");
    curl_share_setopt(share, CURLSHOPT_SHARE, CURL_LOCK_DATA_COOKIE);
    share_ = share;
}

THttpCookieJar::~THttpCookieJar() {
    curl_share_cleanup(static_cast<CURLSH*>(share_));
}

bool IsHttps(std::string_view url) {
    static constexpr std::string_view prefix = "https://";
    if (url.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        char c = url[i];
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
        if (c != prefix[i]) return false;
    }
    return true;
}

std::string FormUrlEncode(std::string_view text) {
    static constexpr char hex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (unsigned char c : text) {
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
            c == '-' || c == '.' || c == '_' || c == '*') {
            out += char(c);
        } else if (c == ' ') {
            out += '+';
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

std::string FormBody(const std::vector<std::string>& fields) {
    std::string body;
    for (const std::string& field : fields) {
        if (!body.empty()) body += '&';
        const std::size_t eq = field.find('=');
        body += FormUrlEncode(std::string_view(field).substr(0, eq));
        body += '=';
        if (eq != std::string::npos) body += FormUrlEncode(std::string_view(field).substr(eq + 1));
    }
    return body;
}

std::string HttpRequest(const std::string& url, const THttpOptions& options,
                        const std::string* postBody) {
    EnsureCurlReady();
    std::unique_ptr<CURL, TCurlDeleter> handle(curl_easy_init());
    if (!handle) throw std::runtime_error("Не удалось создать HTTP-запрос");
    CURL* c = handle.get();

    TTransfer transfer;
    transfer.Options = &options;
    char error[CURL_ERROR_SIZE] = {};

    std::unique_ptr<curl_slist, TSlistDeleter> headers(
        curl_slist_append(nullptr, (std::string("Accept: ") + HTTP_ACCEPT).c_str()));

    curl_easy_setopt(c, CURLOPT_URL, url.c_str());
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, error);
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers.get());
    curl_easy_setopt(c, CURLOPT_USERAGENT, HTTP_USER_AGENT);
    // Sends the header and makes curl decode those encodings.
    curl_easy_setopt(c, CURLOPT_ACCEPT_ENCODING, HTTP_ACCEPT_ENCODING);

    const char* protocols = options.AllowHttps ? "http,https" : "http";
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, protocols);
    curl_easy_setopt(c, CURLOPT_REDIR_PROTOCOLS_STR, protocols);
    curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, options.FollowRedirects ? 1L : 0L);
    curl_easy_setopt(c, CURLOPT_MAXREDIRS, 20L);
    curl_easy_setopt(c, CURLOPT_SSLVERSION, long(CURL_SSLVERSION_TLSv1_2));
    curl_easy_setopt(c, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(c, CURLOPT_SSL_VERIFYHOST, 2L);
    if (!options.CaFile.empty()) {
        curl_easy_setopt(c, CURLOPT_CAINFO, options.CaFile.c_str());
        curl_easy_setopt(c, CURLOPT_PROXY_CAINFO, options.CaFile.c_str());
    }
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS, options.ConnectTimeoutMs);

    // An empty proxy also keeps curl from taking one from http_proxy and friends.
    if (options.Proxy.Used()) {
        curl_easy_setopt(c, CURLOPT_PROXY, options.Proxy.Server.c_str());
        curl_easy_setopt(c, CURLOPT_PROXYPORT, long(options.Proxy.Port));
        curl_easy_setopt(c, CURLOPT_PROXYTYPE, ProxyType(options.Proxy.Type));
        if (!options.Proxy.Username.empty()) {
            curl_easy_setopt(c, CURLOPT_PROXYUSERNAME, options.Proxy.Username.c_str());
            curl_easy_setopt(c, CURLOPT_PROXYPASSWORD, options.Proxy.Password.c_str());
        }
    } else {
        curl_easy_setopt(c, CURLOPT_PROXY, "");
    }

    curl_easy_setopt(c, CURLOPT_COOKIEFILE, ""); // cookie engine on, nothing read from disk
    if (options.Cookies)
        curl_easy_setopt(c, CURLOPT_SHARE, static_cast<CURLSH*>(options.Cookies->Handle()));

    if (postBody) {
        curl_easy_setopt(c, CURLOPT_POST, 1L);
        curl_easy_setopt(c, CURLOPT_POSTFIELDSIZE_LARGE, curl_off_t(postBody->size()));
        curl_easy_setopt(c, CURLOPT_POSTFIELDS, postBody->c_str());
    }

    curl_easy_setopt(c, CURLOPT_MAXFILESIZE_LARGE, curl_off_t(options.MaxReplyBytes));
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, OnBody);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(c, CURLOPT_HEADERFUNCTION, OnHeader);
    curl_easy_setopt(c, CURLOPT_HEADERDATA, &transfer);
    curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, OnProgress);
    curl_easy_setopt(c, CURLOPT_XFERINFODATA, &transfer);
    curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L);

    const CURLcode result = curl_easy_perform(c);
    if (transfer.Cancelled) throw THttpCancelled();
    if (transfer.TooLarge || result == CURLE_FILESIZE_EXCEEDED)
        throw std::runtime_error(TooLargeReplyText(options.MaxReplyBytes));
    if (transfer.Stalled)
        throw std::runtime_error(
            Format("Сервер не отвечает дольше %ld мс: \"%s\"", options.ReadTimeoutMs, url.c_str()));
    if (result != CURLE_OK)
        throw std::runtime_error(error[0] ? std::string(error) : curl_easy_strerror(result));

    long code = 0;
    curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &code);
    if (code >= 400) {
        std::string text = transfer.StatusLine.empty() ? Format("HTTP %ld", code)
                                                       : transfer.StatusLine;
        throw THttpStatusError(code, text + ": \"" + url + "\"");
    }
    return std::move(transfer.Body);
}

std::string HttpGetText(const std::string& url, bool decodeUtf8, const THttpOptions& options) {
    std::string body = HttpRequest(url, options);
    if (!decodeUtf8) return body;
    std::string_view utf8 = body;
    if (utf8.substr(0, 3) == "\xEF\xBB\xBF") utf8.remove_prefix(3);
    return Utf8ToCp1251(utf8);
}

namespace {
THttpOptions StandAlone(const TProxyParams& proxy, bool https, bool followRedirects) {
    THttpOptions options;
    options.Proxy = proxy;
    options.AllowHttps = https;
    options.FollowRedirects = followRedirects;
    return options;
}
} // namespace

std::string HttpGet(const TProxyParams& proxy, const std::string& url, bool https,
                    bool followRedirects) {
    return HttpRequest(url, StandAlone(proxy, https, followRedirects));
}

std::string HttpPost(const TProxyParams& proxy, const std::string& url,
                     const std::vector<std::string>& formFields, bool followRedirects,
                     bool https) {
    const std::string body = FormBody(formFields);
    return HttpRequest(url, StandAlone(proxy, https, followRedirects), &body);
}

void HttpDownload(const TProxyParams& proxy, const std::string& url,
                  const std::filesystem::path& file, bool https) {
    HttpDownload(url, file, StandAlone(proxy, https, true));
}

void HttpDownload(const std::string& url, const std::filesystem::path& file,
                  const THttpOptions& options) {
    WriteFileAtomically(file, HttpRequest(url, options));
}

std::string HttpGet(const std::string& url, bool followRedirects) {
    return HttpGet(TProxyParams{}, url, IsHttps(url), followRedirects);
}

std::string HttpPost(const std::string& url, const std::vector<std::string>& formFields,
                     bool followRedirects) {
    return HttpPost(TProxyParams{}, url, formFields, followRedirects, IsHttps(url));
}

void HttpDownload(const std::string& url, const std::filesystem::path& file) {
    HttpDownload(TProxyParams{}, url, file, IsHttps(url));
}

} // namespace pelko
