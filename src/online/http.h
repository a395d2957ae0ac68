#pragma once
// HTTP(S) requests over libcurl. Every request sends the same browser-like headers, lets
// curl undo gzip/deflate, verifies TLS peers and host names, and fails with
// std::runtime_error carrying a readable text (curl's own reason, or the HTTP status line
// for a status of 400 and above). A request stopped through THttpOptions::Stop throws
// THttpCancelled instead. Requests block the calling thread.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace pelko {

inline constexpr const char* HTTP_ACCEPT =
    "text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8";
// curl cannot decode "sdch", so it is not offered.
inline constexpr const char* HTTP_ACCEPT_ENCODING = "gzip, deflate";
inline constexpr const char* HTTP_USER_AGENT =
    "Mozilla/5.0 (Windows NT 6.1; WOW64) AppleWebKit/537.36 (KHTML, like Gecko) "
    "Chrome/47.0.2526.80 Safari/537.36";

enum : int { PROXY_HTTP = 0, PROXY_HTTPS = 1, PROXY_SOCKS4 = 2, PROXY_SOCKS5 = 3 };

struct TProxyParams {
    std::string Server;
    int Port = 0;
    std::string Username, Password;
    int Type = PROXY_HTTP;

    bool Used() const { return !Server.empty() && Port != 0; }
};

// The request was stopped by THttpOptions::Stop.
class THttpCancelled : public std::runtime_error {
  public:
    THttpCancelled();
};

// The server answered with a status of 400 or above.
class THttpStatusError : public std::runtime_error {
  public:
    THttpStatusError(long code, const std::string& text) : std::runtime_error(text), Code(code) {}
    long Code;
};

// Cookies kept between requests, in memory only. Use from one thread at a time.
class THttpCookieJar {
  public:
    THttpCookieJar();
    ~THttpCookieJar();
    THttpCookieJar(const THttpCookieJar&) = delete;
    THttpCookieJar& operator=(const THttpCookieJar&) = delete;
    void* Handle() const { return share_; } // CURLSH*

  private:
    void* share_;
};

inline constexpr std::uint64_t HTTP_REPLY_LIMIT = std::uint64_t(16) << 20;

struct THttpOptions {
    TProxyParams Proxy;           // used only when Proxy.Used()
    bool FollowRedirects = true;
    bool AllowHttps = true;       // false: only plain http:// URLs (and redirects) are fetched
    std::string CaFile;           // extra trust: a PEM bundle used instead of the system's
    long ConnectTimeoutMs = 5000;
    long ReadTimeoutMs = 10000;   // longest stall without any byte moving; 0: none
    std::uint64_t MaxReplyBytes = HTTP_REPLY_LIMIT;
    // Polled while data flows and about once a second while the line is quiet (so the
    // read time-out and a stop act within a second or so); true stops the request.
    std::function<bool()> Stop;
    std::function<void(std::uint64_t done, std::uint64_t total)> Progress; // total 0: unknown
    THttpCookieJar* Cookies = nullptr; // null: cookies live for one request only
};

// True when the URL starts with "https://" in any case.
bool IsHttps(std::string_view url);

// "a b=c&d" -> "a+b%3Dc%26d": a key or value as an HTML form sends it.
std::string FormUrlEncode(std::string_view text);
// key=value lines as an application/x-www-form-urlencoded body; a line without "=" is a
// key with an empty value.
std::string FormBody(const std::vector<std::string>& fields);

// The raw reply body of a GET, or of a POST when postBody is given.
std::string HttpRequest(const std::string& url, const THttpOptions& options,
                        const std::string* postBody = nullptr);

// GET into memory; with decodeUtf8 the UTF-8 body (a leading BOM dropped) becomes the
// program's CP1251 page text, otherwise the bytes come as they are.
std::string HttpGetText(const std::string& url, bool decodeUtf8, const THttpOptions& options = {});

std::string HttpGet(const TProxyParams& proxy, const std::string& url, bool https,
                    bool followRedirects);
std::string HttpPost(const TProxyParams& proxy, const std::string& url,
                     const std::vector<std::string>& formFields, bool followRedirects, bool https);
// The file is replaced only by a complete reply; a failed request leaves it as it was.
void HttpDownload(const TProxyParams& proxy, const std::string& url,
                  const std::filesystem::path& file, bool https);
void HttpDownload(const std::string& url, const std::filesystem::path& file,
                  const THttpOptions& options);

// No proxy; HTTPS when the URL says so.
std::string HttpGet(const std::string& url, bool followRedirects = true);
std::string HttpPost(const std::string& url, const std::vector<std::string>& formFields,
                     bool followRedirects = true);
void HttpDownload(const std::string& url, const std::filesystem::path& file);

} // namespace pelko
