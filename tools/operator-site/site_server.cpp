#include "site_server.h"

#include "gzip_body.h"

#include <httplib.h>

#include <charconv>
#include <chrono>
#include <csignal>
#include <optional>
#include <pthread.h>
#include <stdexcept>
#include <sys/socket.h>
#include <thread>

namespace pelko::site {

namespace {

const char* const HTML = "text/html; charset=utf-8";
const char* const ARCHIVE_PATH = "/6x45/archive";
const char* const MOVED_ARCHIVE_PATH = "/moved/6x45/archive";
const char* const DRAW_PATH_START = "/6x45/archive/";
// Enough for slow replies (--delay) to many clients at once: a keep-alive connection holds
// its thread.
constexpr std::size_t SERVER_THREADS = 64;

std::optional<int> ParseNumber(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::optional<int> NumberParam(const httplib::Request& req, const char* name) {
    return req.has_param(name) ? ParseNumber(req.get_param_value(name)) : std::nullopt;
}

std::string QueryOf(const httplib::Request& req) {
    const std::size_t mark = req.target.find('?');
    return mark == std::string::npos ? "" : req.target.substr(mark);
}

bool AcceptsGzip(const httplib::Request& req) {
    return req.get_header_value("Accept-Encoding").find("gzip") != std::string::npos;
}

sigset_t StopSignals() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGINT);
    return set;
}

} // namespace

const char* StopReasonText(TStopReason reason) {
    switch (reason) {
    case TStopReason::Signal:
        return "signal";
    case TStopReason::Lifetime:
        return "lifetime over";
    case TStopReason::RequestLimit:
        return "request limit reached";
    }
    return "";
}

TSiteServer::TSiteServer(const TSitePages& pages, TServeOptions options)
    : pages_(pages), options_(std::move(options)), log_(options_.LogFile) {
    // Blocked from here on (and so in every server thread), a stop signal that comes early
    // waits for Serve() rather than killing the site.
    const sigset_t signals = StopSignals();
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    if (options_.TlsCert.empty()) {
        server_ = std::make_unique<httplib::Server>();
    } else {
        server_ =
            std::make_unique<httplib::SSLServer>(options_.TlsCert.c_str(), options_.TlsKey.c_str());
        if (!server_->is_valid())
            throw std::runtime_error("cannot load the certificate " + options_.TlsCert +
                                     " with the key " + options_.TlsKey);
    }
    server_->new_task_queue = [] { return new httplib::ThreadPool(SERVER_THREADS); };
    server_->set_keep_alive_timeout(2);
    // httplib's default SO_REUSEPORT would let a second copy share a fixed port and take
    // part of the requests; SO_REUSEADDR alone makes it refuse.
    server_->set_socket_options([](socket_t sock) {
        const int yes = 1;
        setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    });
    // One handler sees every request, so each one is counted and logged, 404s too.
    const auto handle = [this](const httplib::Request& req, httplib::Response& res) {
        Handle(req, res);
    };
    server_->Get(".*", handle);
    server_->Post(".*", handle);
    server_->Put(".*", handle);
    server_->Delete(".*", handle);
    server_->Patch(".*", handle);
    server_->Options(".*", handle);
}

TSiteServer::~TSiteServer() = default;

std::string TSiteServer::Bind() {
    const char* const host = "127.0.0.1";
    int port = options_.Port;
    if (port == 0)
        port = server_->bind_to_any_port(host);
    else if (!server_->bind_to_port(host, port))
        port = -1;
    if (port <= 0)
        throw std::runtime_error("cannot listen on 127.0.0.1:" + std::to_string(options_.Port));
    const char* scheme = options_.TlsCert.empty() ? "http" : "https";
    return std::string(scheme) + "://127.0.0.1:" + std::to_string(port);
}

TStopReason TSiteServer::Serve() {
    std::thread listener([this] { server_->listen_after_bind(); });
    // stop() is ignored until the loop runs.
    for (int i = 0; i < 5000 && !server_->is_running(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    const TStopReason reason = WaitForStopReason();
    server_->stop();
    listener.join();
    return reason;
}

TStopReason TSiteServer::WaitForStopReason() const {
    const sigset_t signals = StopSignals();
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::seconds(options_.LifetimeSeconds);
    const timespec tick{0, 50'000'000};
    for (;;) {
        if (sigtimedwait(&signals, nullptr, &tick) > 0) return TStopReason::Signal;
        if (limitReached_) return TStopReason::RequestLimit;
        if (std::chrono::steady_clock::now() >= deadline) return TStopReason::Lifetime;
    }
}

void TSiteServer::Handle(const httplib::Request& req, httplib::Response& res) {
    const long request = ++requests_;
    if (options_.DelayMs > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(options_.DelayMs));
    TReply reply;
    if (options_.MaxRequests > 0 && request > options_.MaxRequests)
        reply = {503, TSitePages::ErrorPage(503), ""}; // caught while stopping
    else if (request <= options_.FailFirst)
        reply = {options_.FailStatus, TSitePages::ErrorPage(options_.FailStatus), ""};
    else
        reply = Route(req);

    const bool gzip = AcceptsGzip(req) && !reply.Body.empty();
    log_.Append(req.method + " " + req.target + " status=" + std::to_string(reply.Status) +
                " gzip=" + (gzip ? "1" : "0"));

    res.status = reply.Status;
    if (!reply.Location.empty()) res.set_header("Location", reply.Location);
    auto body = std::make_shared<std::string>(gzip ? GzipCompress(reply.Body) : reply.Body);
    if (gzip) res.set_header("Content-Encoding", "gzip");
    res.set_header("Vary", "Accept-Encoding");
    // A body of known length is sent as it is; httplib compresses only plain bodies.
    res.set_content_provider(
        body->size(), HTML,
        [body](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
            sink.write(body->data() + offset, length);
            return true;
        });
    if (options_.MaxRequests > 0 && request >= options_.MaxRequests) limitReached_ = true;
}

TSiteServer::TReply TSiteServer::Route(const httplib::Request& req) const {
    if (req.method != "GET" && req.method != "HEAD") return {405, TSitePages::ErrorPage(405), ""};
    if (req.path == ARCHIVE_PATH && options_.Redirect)
        return {302, TSitePages::ErrorPage(302), MOVED_ARCHIVE_PATH + QueryOf(req)};
    if (req.path == ARCHIVE_PATH || req.path == MOVED_ARCHIVE_PATH) return ArchiveListReply(req);
    if (req.path.starts_with(DRAW_PATH_START))
        return DrawReply(req.path.substr(std::string_view(DRAW_PATH_START).size()));
    if (req.path == "/proxylist") return ProxyListReply(req);
    return {404, TSitePages::ErrorPage(404), ""};
}

TSiteServer::TReply TSiteServer::ArchiveListReply(const httplib::Request& req) const {
    const std::optional<int> first = NumberParam(req, "firstDraw");
    const std::optional<int> last = NumberParam(req, "lastDraw");
    if (!first || !last) return {400, TSitePages::ErrorPage(400), ""};
    return {200, pages_.ArchiveList(*first, *last), ""};
}

TSiteServer::TReply TSiteServer::DrawReply(const std::string& number) const {
    const std::optional<int> draw = ParseNumber(number);
    std::optional<std::string> page = draw ? pages_.DrawPage(*draw) : std::nullopt;
    if (!page) return {404, TSitePages::ErrorPage(404), ""};
    return {200, std::move(*page), ""};
}

TSiteServer::TReply TSiteServer::ProxyListReply(const httplib::Request& req) const {
    const std::optional<int> offset = NumberParam(req, "offset");
    if (req.has_param("offset") && (!offset || *offset < 0))
        return {400, TSitePages::ErrorPage(400), ""};
    return {200, pages_.ProxyList(static_cast<std::size_t>(offset.value_or(0))), ""};
}

} // namespace pelko::site
