#pragma once
// Exclusive access to the data folder: the stakes file "Pelko_6x45.lsk" held open and
// locked while the window runs, so a second copy of the program on the same folder stops
// at start-up. (Stands in until the workspace opens the stakes file itself.)

#include <filesystem>
#include <memory>

namespace pelko {

class TRandomAccessFile;

// The stakes file is STAKES_FILE_NAME of stakes/stake_record.h.

class TDataFilesLock {
  public:
    TDataFilesLock();
    ~TDataFilesLock();
    TDataFilesLock(const TDataFilesLock&) = delete;
    TDataFilesLock& operator=(const TDataFilesLock&) = delete;

    // False when the file is held elsewhere or cannot be opened for writing.
    bool Acquire(const std::filesystem::path& dataFolder);
    void Release();
    bool Held() const { return file_ != nullptr; }

  private:
    std::unique_ptr<TRandomAccessFile> file_;
};

} // namespace pelko
