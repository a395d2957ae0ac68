#include "support/proxy_servers.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>
#include <vector>

namespace pelko::test {
namespace {

using namespace std::chrono_literals;
constexpr int START_TRIES = 5;

sockaddr_in Loopback(int port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

bool Accepts(int port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0) return false;
    const sockaddr_in address = Loopback(port);
    const bool connected =
        ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return connected;
}

std::string ReadAll(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

int TProxyServer::FreePort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0) throw std::runtime_error("socket() failed");
    sockaddr_in address = Loopback(0);
    socklen_t size = sizeof address;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        ::close(fd);
        throw std::runtime_error("cannot bind a free port");
    }
    ::close(fd);
    return ntohs(address.sin_port);
}

TProxyServer::TProxyServer(TKind kind, std::string username, std::string password)
    : kind_(kind), username_(std::move(username)), password_(std::move(password)) {
    // Another program may take the port between FreePort() and the proxy's bind.
    for (int attempt = 0; attempt < START_TRIES; ++attempt)
        if (TryStart(FreePort())) return;
    throw std::runtime_error("the test proxy did not start:\n" + ReadAll(dir_.file("output.txt")) +
                             Log());
}

TProxyServer::~TProxyServer() {
    Kill();
}

std::string TProxyServer::Log() const {
    return ReadAll(dir_.file("proxy.log"));
}

std::string TProxyServer::Config(int port) const {
    const std::string log = dir_.file("proxy.log").string();
    std::ostringstream conf;
    if (kind_ == TKind::Tinyproxy) {
        conf << "Port " << port << "\nListen 127.0.0.1\nAllow 127.0.0.1\n"
             << "MaxClients 8\nTimeout 30\nLogLevel Connect\nLogFile \"" << log << "\"\n";
        if (!username_.empty()) conf << "BasicAuth " << username_ << ' ' << password_ << '\n';
        return conf.str();
    }
    conf << "logoutput: " << log << "\ninternal: 127.0.0.1 port = " << port
         << "\nexternal: lo\nsocksmethod: none\nclientmethod: none\n";
    // As root danted insists on a user to drop its privileges to.
    if (::geteuid() == 0) conf << "user.privileged: root\nuser.unprivileged: nobody\n";
    for (const char* rule : {"client", "socks"})
        conf << rule << " pass {\n    from: 127.0.0.0/8 to: 127.0.0.0/8\n    log: connect\n}\n";
    return conf.str();
}

bool TProxyServer::TryStart(int port) {
    const std::filesystem::path conf = dir_.file("proxy.conf");
    std::ofstream(conf) << Config(port);
    const std::string output = dir_.file("output.txt").string();
    std::vector<std::string> args;
    if (kind_ == TKind::Tinyproxy)
        args = {"/usr/bin/tinyproxy", "-d", "-c", conf.string()};
    else
        args = {"/usr/sbin/danted", "-f", conf.string()};
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_APPEND,
                                     0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    // Its own process group, so that danted's helpers go with it.
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
    const int failed = posix_spawn(&pid_, argv[0], &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (failed != 0) throw std::runtime_error(std::string("cannot start ") + argv[0]);
    if (WaitUntilListening(port)) {
        port_ = port;
        return true;
    }
    Kill();
    return false;
}

bool TProxyServer::WaitUntilListening(int port) {
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (std::chrono::steady_clock::now() < deadline) {
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1; // gave up, most likely on a port taken meanwhile
            return false;
        }
        if (Accepts(port)) return true;
        std::this_thread::sleep_for(20ms);
    }
    return false;
}

void TProxyServer::Kill() {
    if (pid_ <= 0) return;
    ::kill(-pid_, SIGTERM);
    int status = 0;
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (::waitpid(pid_, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(-pid_, SIGKILL);
            ::waitpid(pid_, &status, 0);
            break;
        }
        std::this_thread::sleep_for(10ms);
    }
    ::kill(-pid_, SIGKILL); // helpers the leader left behind, if any
    pid_ = -1;
}

} // namespace pelko::test
