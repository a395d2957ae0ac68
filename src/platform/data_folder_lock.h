#pragma once
// One writer per data folder: the window holds this lock while it is open, and every
// command-line command that changes a file of the folder holds it for its whole run, so
// that no save can overwrite what another program wrote since it loaded. Readers take no
// lock: every whole-file save is an atomic rename, so they see an old file or a new one.

#include <chrono>
#include <filesystem>
#include <memory>
#include <stdexcept>

namespace pelko {

inline constexpr const char* DATA_FOLDER_LOCK_NAME = "Pelko_6x45.lock";

// The folder's lock is held by another program; the text names it.
class TDataFolderBusyError : public std::runtime_error {
  public:
    TDataFolderBusyError(const std::string& text, int holderPid)
        : std::runtime_error(text), HolderPid(holderPid) {}
    int HolderPid;
};

class TDataFolderLock {
  public:
    // Takes the lock, trying again for up to `wait`. Throws TDataFolderBusyError
    // ("Папка данных занята другой копией программы (PID n)") when another program keeps
    // it, std::runtime_error with the system's text when the lock file cannot be opened.
    static std::unique_ptr<TDataFolderLock> Acquire(const std::filesystem::path& folder,
                                                    std::chrono::milliseconds wait);
    ~TDataFolderLock();
    TDataFolderLock(const TDataFolderLock&) = delete;
    TDataFolderLock& operator=(const TDataFolderLock&) = delete;

  private:
    explicit TDataFolderLock(int fd) : fd_(fd) {}
    int fd_;
};

// "Папка данных занята другой копией программы (PID n)"; without the PID when unknown.
std::string DataFolderBusyText(int holderPid);

} // namespace pelko
