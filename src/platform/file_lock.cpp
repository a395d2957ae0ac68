#include "platform/file_lock.h"

#include "core/atomic_file.h"
#include "core/format.h"
#include "core/sys_io.h"

#include <fstream>
#include <sstream>

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace pelko {

void WriteAllAt(TRandomAccessFile& file, std::int64_t offset, const void* data, std::size_t n,
                std::size_t* written) {
    const auto* p = static_cast<const char*>(data);
    std::size_t done = 0;
    if (written) *written = 0;
    while (done < n) {
        done += file.WriteSomeAt(offset + static_cast<std::int64_t>(done), p + done, n - done);
        if (written) *written = done;
    }
}

namespace {

// Not a real open flag: asks TLockedFile for a plain read-only open.
constexpr int O_RDONLY_NO_LOCK = 1 << 30;

[[noreturn]] void ThrowErrno(int code) {
    throw std::runtime_error(SysErrorText(code));
}

class TLockedFile final : public TRandomAccessFile {
  public:
    TLockedFile(const std::filesystem::path& path, int flags) {
        if (flags & O_RDONLY_NO_LOCK) {
            // A reader that must not change anything: no lock taken, nothing created.
            readOnly_ = true;
            fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
            if (fd_ < 0) ThrowErrno(errno);
            return;
        }
        fd_ = ::open(path.c_str(), flags | O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (fd_ < 0) ThrowErrno(errno);
        // flock locks belong to the open file description, so a second open in this very
        // process is refused as well as one in another process.
        if (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
            const int code = errno;
            ::close(fd_);
            if (code == EWOULDBLOCK) throw TFileLockedError(LockedText(path, code));
            ThrowErrno(code);
        }
    }
    ~TLockedFile() override {
        ::close(fd_); // closing releases the lock
    }
    TLockedFile(const TLockedFile&) = delete;
    TLockedFile& operator=(const TLockedFile&) = delete;

    std::int64_t Size() override {
        struct stat st {};
        if (::fstat(fd_, &st) != 0) ThrowErrno(errno);
        return st.st_size;
    }

    std::size_t ReadAt(std::int64_t offset, void* buffer, std::size_t n) override {
        auto* p = static_cast<char*>(buffer);
        std::size_t done = 0;
        while (done < n) {
            const ssize_t r = SysPread(fd_, p + done, n - done, offset + static_cast<off_t>(done));
            if (r < 0) {
                if (errno == EINTR) continue;
                ThrowErrno(errno);
            }
            if (r == 0) break;
            done += static_cast<std::size_t>(r);
        }
        return done;
    }

    std::size_t WriteSomeAt(std::int64_t offset, const void* data, std::size_t n) override {
        if (n == 0) return 0;
        if (readOnly_) ThrowErrno(EBADF);
        for (;;) {
            const ssize_t r = SysPwrite(fd_, data, n, offset);
            if (r > 0) return static_cast<std::size_t>(r);
            if (r < 0 && errno == EINTR) continue;
            ThrowErrno(r < 0 ? errno : ENOSPC);
        }
    }

    void Truncate(std::int64_t size) override {
        if (readOnly_) ThrowErrno(EBADF);
        if (SysFtruncate(fd_, size) != 0) ThrowErrno(errno);
    }

    void Sync() override {
        if (SysFdatasync(fd_) != 0) ThrowErrno(errno);
    }

  private:
    static std::string LockedText(const std::filesystem::path& path, int code) {
        const int holder = LockHolderPid(path);
        return holder > 0 ? Format("Файл \"%s\" открыт другой копией программы (PID %d).",
                                   path.filename().string().c_str(), holder)
                          : SysErrorText(code);
    }

    int fd_ = -1;
    bool readOnly_ = false;
};

} // namespace

std::unique_ptr<TRandomAccessFile> OpenLockedFile(const std::filesystem::path& path) {
    return std::make_unique<TLockedFile>(path, 0);
}

std::unique_ptr<TRandomAccessFile> OpenReadOnlyFile(const std::filesystem::path& path) {
    return std::make_unique<TLockedFile>(path, O_RDONLY_NO_LOCK);
}

int LockHolderPid(const std::filesystem::path& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return 0;
    // Lines of /proc/locks: "1: FLOCK  ADVISORY  WRITE 1234 08:01:5678 0 EOF".
    std::ifstream locks("/proc/locks");
    std::string line;
    while (std::getline(locks, line)) {
        std::istringstream in(line);
        std::string id, type, mode, access, device;
        long pid = 0;
        if (!(in >> id >> type)) continue;
        if (type == "->") continue; // a waiter, listed under the holder
        if (!(in >> mode >> access >> pid >> device)) continue;
        unsigned devMajor = 0, devMinor = 0;
        unsigned long long inode = 0;
        if (std::sscanf(device.c_str(), "%x:%x:%llu", &devMajor, &devMinor, &inode) != 3) continue;
        if (inode == st.st_ino && devMajor == major(st.st_dev) && devMinor == minor(st.st_dev))
            return static_cast<int>(pid);
    }
    return 0;
}

std::unique_ptr<TRandomAccessFile> CreateLockedFile(const std::filesystem::path& path) {
    return std::make_unique<TLockedFile>(path, O_EXCL);
}

} // namespace pelko
