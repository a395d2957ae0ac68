#pragma once
// The system calls through which every data file is read and written. They behave as the
// calls they wrap (-1 and errno on failure); in a build with PELKO_FAULT_INJECTION they
// also obey a fault plan, so tests can make the k-th read or write fail, or the process
// die right after the k-th write, and check that no stored file is ever left damaged.
//
// A plan comes from the environment variable PELKO_FAULT at the first call, or from
// ArmFault: "read:K:ERRNO" (EIO, ENOSPC, EACCES...), "write:K:ERRNO" or "kill:K" (SIGKILL
// after the K-th write), optionally followed by ":NAME" to count only the calls on the
// file of that name. Counting starts at 1; fsync, ftruncate and rename count as writes
// (a rename as one on the file it replaces).
// A fault that fires prints one line to stderr ("pelko: injected ...").

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace pelko {

ssize_t SysRead(int fd, void* buffer, std::size_t n);
ssize_t SysPread(int fd, void* buffer, std::size_t n, off_t offset);
ssize_t SysWrite(int fd, const void* data, std::size_t n);
ssize_t SysPwrite(int fd, const void* data, std::size_t n, off_t offset);
int SysFsync(int fd);
int SysFdatasync(int fd);
int SysFtruncate(int fd, off_t size);
int SysRename(const std::filesystem::path& from, const std::filesystem::path& to);

// The fault plan of this process (test builds; elsewhere these do nothing).
enum class TFaultKind { Read, Write, Kill };
struct TFaultPlan {
    TFaultKind Kind = TFaultKind::Read;
    int At = 1;    // the K-th call of its kind
    int Error = 0;    // errno for Read and Write
    std::string File; // only calls on the file of this name count; empty: all
};
std::optional<TFaultPlan> ParseFaultPlan(std::string_view text);
void ArmFault(const TFaultPlan& plan);
void DisarmFault();
// Reads and writes seen since the plan was armed (or since the start).
int FaultReadsSeen();
int FaultWritesSeen();
bool FaultFired();
// True when this build obeys fault plans.
bool FaultInjectionBuilt();

} // namespace pelko
