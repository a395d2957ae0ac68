#include "platform/data_folder_lock.h"

#include "core/atomic_file.h"
#include "core/format.h"
#include "core/text_forms.h"
#include "platform/file_lock.h"

#include <cerrno>
#include <string>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace pelko {

namespace {

// The holder writes its PID into the lock file; /proc/locks is asked first, as a PID left
// by a program that was killed may be stale.
int HolderOf(const std::filesystem::path& file) {
    if (const int pid = LockHolderPid(file); pid > 0) return pid;
    try {
        return StrToIntDef(TrimText(ReadWholeFile(file, 64)), 0);
    } catch (const std::exception&) {
        return 0;
    }
}

} // namespace

std::string DataFolderBusyText(int holderPid) {
    return holderPid > 0 ? Format("Папка данных занята другой копией программы (PID %d)", holderPid)
                         : std::string("Папка данных занята другой копией программы");
}

std::unique_ptr<TDataFolderLock> TDataFolderLock::Acquire(const std::filesystem::path& folder,
                                                          std::chrono::milliseconds wait) {
    const std::filesystem::path file = folder / DATA_FOLDER_LOCK_NAME;
    const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) throw std::runtime_error(SysErrorText(errno));
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) break;
        const int code = errno;
        if (code != EWOULDBLOCK && code != EINTR) {
            ::close(fd);
            throw std::runtime_error(SysErrorText(code));
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            const int holder = HolderOf(file);
            ::close(fd);
            throw TDataFolderBusyError(DataFolderBusyText(holder), holder);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    // Who holds it, for the message a second program shows; not a data file, so plain
    // calls, and a failure here changes nothing.
    const std::string pid = std::to_string(::getpid());
    if (::ftruncate(fd, 0) == 0) {
        [[maybe_unused]] const ssize_t n = ::pwrite(fd, pid.data(), pid.size(), 0);
    }
    return std::unique_ptr<TDataFolderLock>(new TDataFolderLock(fd));
}

TDataFolderLock::~TDataFolderLock() {
    ::close(fd_); // closing releases the lock
}

} // namespace pelko
