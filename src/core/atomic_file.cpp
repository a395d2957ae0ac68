#include "core/atomic_file.h"

#include "core/format.h"
#include "core/sys_io.h"

#include <cerrno>
#include <random>
#include <stdexcept>
#include <system_error>

#ifdef _WIN32
#include <fstream>
#include <iterator>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace pelko {

std::string SysErrorText(int errorCode) {
    return "SysError #" + std::to_string(errorCode) + ": \"" +
           std::system_category().message(errorCode) + "\"!";
}

namespace {

[[noreturn]] void ThrowSysError(int errorCode) {
    throw std::runtime_error(SysErrorText(errorCode));
}

std::string RandomSuffix() {
    static constexpr char ALPHABET[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937 generator{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, sizeof(ALPHABET) - 2);
    std::string suffix(6, ' ');
    for (char& c : suffix)
        c = ALPHABET[pick(generator)];
    return suffix;
}

fs::path TempPathBeside(const fs::path& path) {
    const fs::path dir = path.has_parent_path() ? path.parent_path() : fs::path(".");
    return dir / ("." + path.filename().string() + ".tmp" + RandomSuffix());
}

} // namespace

std::string TooLargeText(const fs::path& path, std::uint64_t maxBytes) {
    return Format("Файл \"%s\" слишком велик: допускается не более %llu МБ!",
                  path.filename().string().c_str(),
                  static_cast<unsigned long long>(maxBytes >> 20));
}

void CopyFileAtomically(const fs::path& from, const fs::path& to) {
    WriteFileAtomically(to, ReadWholeFile(from, std::uint64_t(1) << 40));
}

fs::path KeepBackupCopy(const fs::path& file, int keep) {
    const auto name = [&](int i) {
        fs::path p = file;
        p += i == 0 ? std::string(".bak") : ".bak." + std::to_string(i);
        return p;
    };
    std::error_code ec;
    for (int i = keep - 1; i > 0; --i)
        if (fs::exists(name(i - 1), ec)) fs::rename(name(i - 1), name(i), ec);
    CopyFileAtomically(file, name(0));
    return name(0);
}

#ifndef _WIN32

namespace {

// The temporary file of one atomic write: removed again unless it was renamed into place.
class TPendingFile {
  public:
    explicit TPendingFile(const fs::path& target) {
        for (int attempt = 0; attempt < 100; ++attempt) {
            path_ = TempPathBeside(target);
            // O_EXCL gives mkstemp's uniqueness while the mode still honours the umask.
            fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd_ >= 0) return;
            if (errno != EEXIST) ThrowSysError(errno);
        }
        ThrowSysError(EEXIST);
    }
    TPendingFile(const TPendingFile&) = delete;
    TPendingFile& operator=(const TPendingFile&) = delete;
    ~TPendingFile() {
        if (fd_ >= 0) ::close(fd_);
        if (!committed_) ::unlink(path_.c_str());
    }

    void MakeOwnerOnly() {
        if (::fchmod(fd_, 0600) != 0) ThrowSysError(errno);
    }

    void KeepModeOf(const fs::path& target) {
        struct stat st {};
        if (::stat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode))
            (void)::fchmod(fd_, st.st_mode & 07777);
    }

    void Write(std::string_view bytes) {
        while (!bytes.empty()) {
            const ssize_t n = SysWrite(fd_, bytes.data(), bytes.size());
            if (n < 0) {
                if (errno == EINTR) continue;
                ThrowSysError(errno);
            }
            bytes.remove_prefix(static_cast<std::size_t>(n));
        }
    }

    void SyncAndClose() {
        if (SysFsync(fd_) != 0) ThrowSysError(errno);
        const int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0) ThrowSysError(errno);
    }

    void RenameTo(const fs::path& target) {
        if (SysRename(path_, target) != 0) ThrowSysError(errno);
        committed_ = true;
    }

  private:
    fs::path path_;
    int fd_ = -1;
    bool committed_ = false;
};

// Makes the rename itself durable; a failure here cannot lose the new content any more.
void SyncFolderOf(const fs::path& path) {
    const fs::path dir = path.has_parent_path() ? path.parent_path() : fs::path(".");
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        (void)::fsync(fd);
        ::close(fd);
    }
}

} // namespace

void WriteFileAtomically(const fs::path& path, std::string_view bytes, TFileAccess access) {
    if (!path.has_filename()) ThrowSysError(EISDIR);
    TPendingFile pending(path);
    if (access == TFileAccess::OwnerOnly)
        pending.MakeOwnerOnly();
    else
        pending.KeepModeOf(path);
    pending.Write(bytes);
    pending.SyncAndClose();
    pending.RenameTo(path);
    SyncFolderOf(path);
}

std::string ReadWholeFile(const fs::path& path, std::uint64_t maxBytes) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) ThrowSysError(errno);
    std::string content;
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t n = SysRead(fd, buffer, sizeof buffer);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            const int error = errno;
            ::close(fd);
            ThrowSysError(error);
        }
        content.append(buffer, static_cast<std::size_t>(n));
        if (content.size() > maxBytes) {
            ::close(fd);
            throw std::runtime_error(TooLargeText(path, maxBytes));
        }
    }
    ::close(fd);
    return content;
}

void AppendToFile(const fs::path& path, std::string_view bytes) {
    // A file this call creates is removed again when nothing could be written to it.
    bool created = false;
    int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    if (fd < 0 && errno == ENOENT) {
        fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        created = fd >= 0;
    }
    if (fd < 0) ThrowSysError(errno);
    struct stat st {};
    const off_t before = ::fstat(fd, &st) == 0 ? st.st_size : -1;
    std::string_view rest = bytes;
    while (!rest.empty()) {
        const ssize_t n = SysWrite(fd, rest.data(), rest.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            const int error = n < 0 ? errno : ENOSPC;
            // Part of the record got in: cut it off again, so the file keeps whole records.
            if (rest.size() != bytes.size() && before >= 0) (void)SysFtruncate(fd, before);
            ::close(fd);
            if (created) ::unlink(path.c_str());
            ThrowSysError(error);
        }
        rest.remove_prefix(static_cast<std::size_t>(n));
    }
    if (::close(fd) != 0) ThrowSysError(errno);
}

#else // _WIN32: no fsync, but the rename still keeps the old file until the new one is whole.

void WriteFileAtomically(const fs::path& path, std::string_view bytes, TFileAccess) {
    const fs::path temp = TempPathBeside(path);
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) {
            const int error = errno;
            out.close();
            std::error_code ignored;
            fs::remove(temp, ignored);
            ThrowSysError(error ? error : EIO);
        }
    }
    std::error_code ec;
    fs::rename(temp, path, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        throw std::runtime_error(SysErrorText(ec.value()));
    }
}

std::string ReadWholeFile(const fs::path& path, std::uint64_t maxBytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) ThrowSysError(errno ? errno : ENOENT);
    std::string content{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) ThrowSysError(errno ? errno : EIO);
    if (content.size() > maxBytes) throw std::runtime_error(TooLargeText(path, maxBytes));
    return content;
}

void AppendToFile(const fs::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::app);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) ThrowSysError(errno ? errno : EIO);
}

#endif

} // namespace pelko
