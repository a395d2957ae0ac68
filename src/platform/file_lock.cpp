#include "platform/file_lock.h"

#include "core/atomic_file.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
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

[[noreturn]] void ThrowErrno(int code) {
    throw std::runtime_error(SysErrorText(code));
}

class TLockedFile final : public TRandomAccessFile {
  public:
    TLockedFile(const std::filesystem::path& path, int flags) {
        fd_ = ::open(path.c_str(), flags | O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (fd_ < 0) ThrowErrno(errno);
        // flock locks belong to the open file description, so a second open in this very
        // process is refused as well as one in another process.
        if (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
            const int code = errno;
            ::close(fd_);
            if (code == EWOULDBLOCK) throw TFileLockedError(SysErrorText(code));
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
            const ssize_t r = ::pread(fd_, p + done, n - done, offset + static_cast<off_t>(done));
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
        for (;;) {
            const ssize_t r = ::pwrite(fd_, data, n, offset);
            if (r > 0) return static_cast<std::size_t>(r);
            if (r < 0 && errno == EINTR) continue;
            ThrowErrno(r < 0 ? errno : ENOSPC);
        }
    }

    void Truncate(std::int64_t size) override {
        if (::ftruncate(fd_, size) != 0) ThrowErrno(errno);
    }

    void Sync() override {
        if (::fdatasync(fd_) != 0) ThrowErrno(errno);
    }

  private:
    int fd_ = -1;
};

} // namespace

std::unique_ptr<TRandomAccessFile> OpenLockedFile(const std::filesystem::path& path) {
    return std::make_unique<TLockedFile>(path, 0);
}

std::unique_ptr<TRandomAccessFile> CreateLockedFile(const std::filesystem::path& path) {
    return std::make_unique<TLockedFile>(path, O_EXCL);
}

} // namespace pelko
