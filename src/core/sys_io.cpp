#include "core/sys_io.h"

#include "core/text_forms.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include <unistd.h>

namespace pelko {

namespace {

struct TErrorName {
    const char* Name;
    int Code;
};
constexpr TErrorName ERROR_NAMES[] = {{"EIO", EIO},       {"ENOSPC", ENOSPC}, {"EACCES", EACCES},
                                      {"EROFS", EROFS},   {"EDQUOT", EDQUOT}, {"EFBIG", EFBIG},
                                      {"ENOMEM", ENOMEM}, {"EPERM", EPERM}};

#ifdef PELKO_FAULT_INJECTION

// One plan per process; the calls are counted even without a plan, so a test can learn
// how many reads and writes an operation makes.
struct TFaultState {
    std::mutex Lock;
    std::optional<TFaultPlan> Plan;
    int Reads = 0;
    int Writes = 0;
    bool Fired = false;
    bool FromEnvironment = false;
};

TFaultState& State() {
    static TFaultState state;
    return state;
}

void LoadPlanFromEnvironment(TFaultState& s) {
    if (s.FromEnvironment) return;
    s.FromEnvironment = true;
    if (const char* text = std::getenv("PELKO_FAULT"); text && *text) s.Plan = ParseFaultPlan(text);
}

void Announce(const char* what, int count, int error) {
    std::fprintf(stderr, "pelko: injected %s #%d%s%s\n", what, count, error ? " " : "",
                 error ? std::strerror(error) : "");
    std::fflush(stderr);
}

// Whether a call on this file counts for the plan: every file, or only the plan's file.
bool Concerns(const TFaultPlan& plan, int fd, const std::filesystem::path* path) {
    if (plan.File.empty()) return true;
    std::string name;
    if (path) {
        name = path->filename().string();
    } else {
        char target[4096];
        const std::string link = "/proc/self/fd/" + std::to_string(fd);
        const ssize_t n = ::readlink(link.c_str(), target, sizeof target - 1);
        if (n <= 0) return false;
        name = std::filesystem::path(std::string(target, static_cast<std::size_t>(n))).filename().string();
    }
    return name == plan.File;
}

// The error the call must fail with, or 0.
int Before(bool write, int fd, const std::filesystem::path* path) {
    TFaultState& s = State();
    std::lock_guard guard(s.Lock);
    LoadPlanFromEnvironment(s);
    if (s.Plan && !Concerns(*s.Plan, fd, path)) return 0;
    const int count = write ? ++s.Writes : ++s.Reads;
    if (!s.Plan || s.Fired) return 0;
    const TFaultKind kind = write ? TFaultKind::Write : TFaultKind::Read;
    if (s.Plan->Kind != kind || s.Plan->At != count) return 0;
    s.Fired = true;
    Announce(write ? "write" : "read", count, s.Plan->Error);
    return s.Plan->Error;
}

void AfterWrite() {
    TFaultState& s = State();
    std::unique_lock guard(s.Lock);
    if (!s.Plan || s.Fired || s.Plan->Kind != TFaultKind::Kill || s.Plan->At != s.Writes) return;
    s.Fired = true;
    Announce("kill after write", s.Writes, 0);
    guard.unlock();
    ::kill(::getpid(), SIGKILL);
}

#else

int Before(bool, int, const std::filesystem::path*) {
    return 0;
}
void AfterWrite() {}

#endif

template <typename TCall>
auto Read(int fd, TCall call) -> decltype(call()) {
    if (const int error = Before(false, fd, nullptr)) {
        errno = error;
        return -1;
    }
    return call();
}

template <typename TCall>
auto Write(int fd, const std::filesystem::path* path, TCall call) -> decltype(call()) {
    if (const int error = Before(true, fd, path)) {
        errno = error;
        return -1;
    }
    const auto result = call();
    if (result >= 0) AfterWrite();
    return result;
}

} // namespace

ssize_t SysRead(int fd, void* buffer, std::size_t n) {
    return Read(fd, [&] { return ::read(fd, buffer, n); });
}

ssize_t SysPread(int fd, void* buffer, std::size_t n, off_t offset) {
    return Read(fd, [&] { return ::pread(fd, buffer, n, offset); });
}

ssize_t SysWrite(int fd, const void* data, std::size_t n) {
    return Write(fd, nullptr, [&] { return ::write(fd, data, n); });
}

ssize_t SysPwrite(int fd, const void* data, std::size_t n, off_t offset) {
    return Write(fd, nullptr, [&] { return ::pwrite(fd, data, n, offset); });
}

int SysFsync(int fd) {
    return Write(fd, nullptr, [&] { return ::fsync(fd); });
}

int SysFdatasync(int fd) {
    return Write(fd, nullptr, [&] { return ::fdatasync(fd); });
}

int SysFtruncate(int fd, off_t size) {
    return Write(fd, nullptr, [&] { return ::ftruncate(fd, size); });
}

int SysRename(const std::filesystem::path& from, const std::filesystem::path& to) {
    return Write(-1, &to, [&] { return ::rename(from.c_str(), to.c_str()); });
}

std::optional<TFaultPlan> ParseFaultPlan(std::string_view text) {
    const auto parts = SplitWords(text, ":");
    if (parts.size() < 2) return std::nullopt;
    TFaultPlan plan;
    if (parts[0] == "read")
        plan.Kind = TFaultKind::Read;
    else if (parts[0] == "write")
        plan.Kind = TFaultKind::Write;
    else if (parts[0] == "kill")
        plan.Kind = TFaultKind::Kill;
    else
        return std::nullopt;
    if (!TryStrToInt(parts[1], plan.At) || plan.At < 1) return std::nullopt;
    std::size_t next = 2;
    if (plan.Kind != TFaultKind::Kill) {
        if (parts.size() < 3) return std::nullopt;
        for (const TErrorName& e : ERROR_NAMES)
            if (parts[2] == e.Name) plan.Error = e.Code;
        if (plan.Error == 0) return std::nullopt;
        next = 3;
    }
    if (parts.size() > next + 1) return std::nullopt;
    if (parts.size() == next + 1) plan.File = parts[next];
    return plan;
}

#ifdef PELKO_FAULT_INJECTION

void ArmFault(const TFaultPlan& plan) {
    TFaultState& s = State();
    std::lock_guard guard(s.Lock);
    s.FromEnvironment = true;
    s.Plan = plan;
    s.Reads = s.Writes = 0;
    s.Fired = false;
}

void DisarmFault() {
    TFaultState& s = State();
    std::lock_guard guard(s.Lock);
    s.FromEnvironment = true;
    s.Plan.reset();
    s.Reads = s.Writes = 0;
    s.Fired = false;
}

int FaultReadsSeen() {
    std::lock_guard guard(State().Lock);
    return State().Reads;
}

int FaultWritesSeen() {
    std::lock_guard guard(State().Lock);
    return State().Writes;
}

bool FaultFired() {
    std::lock_guard guard(State().Lock);
    return State().Fired;
}

bool FaultInjectionBuilt() {
    return true;
}

#else

void ArmFault(const TFaultPlan&) {}
void DisarmFault() {}
int FaultReadsSeen() {
    return 0;
}
int FaultWritesSeen() {
    return 0;
}
bool FaultFired() {
    return false;
}
bool FaultInjectionBuilt() {
    return false;
}

#endif

} // namespace pelko
