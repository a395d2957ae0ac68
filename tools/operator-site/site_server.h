#pragma once
// Serves the site's pages on 127.0.0.1, with the faults tests ask for, for a bounded time.

#include "request_log.h"
#include "site_pages.h"

#include <atomic>
#include <memory>
#include <string>

namespace httplib {
class Server;
struct Request;
struct Response;
} // namespace httplib

namespace pelko::site {

struct TServeOptions {
    int Port = 0; // 0: a free port the system picks
    std::string TlsCert, TlsKey;
    int FailFirst = 0; // the first requests answer FailStatus
    int FailStatus = 500;
    int DelayMs = 0;
    bool Redirect = false; // archive lists answer 302 to /moved/...
    std::string LogFile;
    int LifetimeSeconds = 600;
    long MaxRequests = 0; // 0: no limit
};

enum class TStopReason { Signal, Lifetime, RequestLimit };
const char* StopReasonText(TStopReason reason);

class TSiteServer {
  public:
    // Blocks SIGTERM and SIGINT in the calling thread (Serve() waits for them). Throws
    // std::runtime_error when the certificate or the log cannot be opened.
    TSiteServer(const TSitePages& pages, TServeOptions options);
    ~TSiteServer();
    TSiteServer(const TSiteServer&) = delete;
    TSiteServer& operator=(const TSiteServer&) = delete;

    // Binds 127.0.0.1 and gives the site's address, e.g. "http://127.0.0.1:8645".
    std::string Bind();
    // Serves until the lifetime is over, the request limit is reached, or SIGTERM or SIGINT
    // comes.
    TStopReason Serve();

  private:
    struct TReply {
        int Status = 200;
        std::string Body;
        std::string Location;
    };

    void Handle(const httplib::Request& req, httplib::Response& res);
    TReply Route(const httplib::Request& req) const;
    TReply ArchiveListReply(const httplib::Request& req) const;
    TReply DrawReply(const std::string& number) const;
    TReply ProxyListReply(const httplib::Request& req) const;
    TStopReason WaitForStopReason() const;

    const TSitePages& pages_;
    TServeOptions options_;
    std::unique_ptr<httplib::Server> server_;
    TRequestLog log_;
    std::atomic<long> requests_{0};
    std::atomic<bool> limitReached_{false};
};

} // namespace pelko::site
