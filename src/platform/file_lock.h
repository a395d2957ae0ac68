#pragma once
// Record files that are read and rewritten in place (the stakes file): a small random-access
// interface, and its one real implementation, a file held open and locked exclusively for
// as long as the object lives, so a second program instance on the same data folder cannot
// open it. Tests put devices that fail on purpose behind the same interface.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <stdexcept>

namespace pelko {

class TRandomAccessFile {
  public:
    virtual ~TRandomAccessFile() = default;

    virtual std::int64_t Size() = 0;
    // Reads up to n bytes at the offset; fewer only at the end of the file.
    virtual std::size_t ReadAt(std::int64_t offset, void* buffer, std::size_t n) = 0;
    // Writes a prefix of the n bytes at the offset and returns its length (at least 1 for
    // n > 0), like one write call; throws std::runtime_error when nothing could be written.
    virtual std::size_t WriteSomeAt(std::int64_t offset, const void* data, std::size_t n) = 0;
    virtual void Truncate(std::int64_t size) = 0;
    // Forces written data to the disk.
    virtual void Sync() = 0;
};

// Writes all n bytes (repeating short writes); throws what the device throws. `written`
// tells how far the bytes got when it throws.
void WriteAllAt(TRandomAccessFile& file, std::int64_t offset, const void* data, std::size_t n,
                std::size_t* written = nullptr);

// Another open of the file holds the lock.
class TFileLockedError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Opens the file for reading and writing (created when missing) and takes the exclusive
// lock without waiting. Throws TFileLockedError when the lock is held elsewhere (also by
// another open in this process), std::runtime_error with the system's text otherwise.
std::unique_ptr<TRandomAccessFile> OpenLockedFile(const std::filesystem::path& path);

// Opens an existing file for reading only, without a lock (a reader beside a running
// writer); every write throws.
std::unique_ptr<TRandomAccessFile> OpenReadOnlyFile(const std::filesystem::path& path);

// The process that holds a flock on the file (from /proc/locks), or 0 when none is seen.
int LockHolderPid(const std::filesystem::path& path);

// Like OpenLockedFile, but the file must not exist yet (it is created empty).
std::unique_ptr<TRandomAccessFile> CreateLockedFile(const std::filesystem::path& path);

} // namespace pelko
