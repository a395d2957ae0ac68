#include "support/operator_site.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <system_error>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace pelko::test {

namespace {

constexpr auto START_TIMEOUT = std::chrono::seconds(10);
constexpr auto STOP_TIMEOUT = std::chrono::seconds(5);
const std::string LISTENING = "listening on ";

int ExitCodeOf(int status) {
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

} // namespace

TOperatorSite::TOperatorSite(const std::vector<std::string>& args) {
    Spawn(args);
    try {
        const std::string line = ReadListeningLine();
        url_ = line.substr(LISTENING.size());
        port_ = std::stoi(url_.substr(url_.rfind(':') + 1));
    } catch (...) {
        Kill();
        throw;
    }
}

TOperatorSite::~TOperatorSite() {
    Kill();
}

void TOperatorSite::Spawn(const std::vector<std::string>& args) {
    int pipeEnds[2];
    if (::pipe2(pipeEnds, O_CLOEXEC) != 0)
        throw std::system_error(errno, std::generic_category(), "pipe2");
    std::vector<std::string> argv = {ProgramPath(), "--log", dir_.file("requests.log").string()};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> cargv;
    for (std::string& arg : argv)
        cargv.push_back(arg.data());
    cargv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    const int error = ::posix_spawn(&pid_, ProgramPath(), &actions, nullptr, cargv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeEnds[1]);
    output_ = pipeEnds[0];
    if (error != 0) {
        pid_ = -1;
        throw std::system_error(error, std::generic_category(),
                                std::string("cannot start ") + ProgramPath());
    }
}

std::string TOperatorSite::ReadListeningLine() {
    const auto deadline = std::chrono::steady_clock::now() + START_TIMEOUT;
    std::string text;
    while (text.find('\n') == std::string::npos) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd wait{output_, POLLIN, 0};
        if (left.count() <= 0 || ::poll(&wait, 1, static_cast<int>(left.count())) == 0)
            throw std::runtime_error("the operator site did not start within 10 s: " + text);
        char chunk[256];
        const ssize_t got = ::read(output_, chunk, sizeof chunk);
        if (got <= 0) throw std::runtime_error("the operator site ended before listening: " + text);
        text.append(chunk, static_cast<std::size_t>(got));
    }
    const std::string line = text.substr(0, text.find('\n'));
    if (!line.starts_with(LISTENING))
        throw std::runtime_error("the operator site said '" + line + "', not where it listens");
    return line;
}

std::vector<std::string> TOperatorSite::LogLines() const {
    std::vector<std::string> lines;
    std::ifstream in(dir_.file("requests.log"));
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::optional<int> TOperatorSite::WaitForExit(std::chrono::milliseconds timeout) {
    if (pid_ < 0) return std::nullopt;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    do {
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            return ExitCodeOf(status);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    } while (std::chrono::steady_clock::now() < deadline);
    return std::nullopt;
}

void TOperatorSite::Kill() {
    if (pid_ > 0) {
        ::kill(pid_, SIGTERM);
        if (!WaitForExit(STOP_TIMEOUT)) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
            pid_ = -1;
        }
    }
    if (output_ >= 0) ::close(output_);
    output_ = -1;
}

} // namespace pelko::test
