#pragma once
// A cpp-httplib server on 127.0.0.1 at a port the system picks, serving from its own
// thread for the life of the object.

#include <httplib.h>

#include <chrono>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>

namespace pelko::test {

class TLocalServer {
  public:
    explicit TLocalServer(std::unique_ptr<httplib::Server> server =
                              std::make_unique<httplib::Server>(),
                          std::string scheme = "http")
        : server_(std::move(server)), scheme_(std::move(scheme)) {}
    ~TLocalServer() { Stop(); }
    TLocalServer(const TLocalServer&) = delete;
    TLocalServer& operator=(const TLocalServer&) = delete;

    httplib::Server& Routes() { return *server_; }

    // Binds (so clients may connect at once) and starts serving.
    void Start() {
        port_ = server_->bind_to_any_port("127.0.0.1");
        if (port_ <= 0) throw std::runtime_error("cannot bind a local test server");
        thread_ = std::thread([this] { server_->listen_after_bind(); });
        // stop() is ignored until the loop runs, so wait for it (5 s at most).
        for (int i = 0; i < 5000 && !server_->is_running(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    void Stop() {
        if (!thread_.joinable()) return;
        server_->stop();
        thread_.join();
    }

    int Port() const { return port_; }
    std::string Url(const std::string& path) const {
        return scheme_ + "://127.0.0.1:" + std::to_string(port_) + path;
    }

  private:
    std::unique_ptr<httplib::Server> server_;
    std::string scheme_;
    int port_ = 0;
    std::thread thread_;
};

} // namespace pelko::test
