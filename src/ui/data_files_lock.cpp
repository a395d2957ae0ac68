#include "ui/data_files_lock.h"

#include "platform/file_lock.h"
#include "stakes/stake_record.h"

#include <system_error>

namespace pelko {

TDataFilesLock::TDataFilesLock() = default;
TDataFilesLock::~TDataFilesLock() = default;

bool TDataFilesLock::Acquire(const std::filesystem::path& dataFolder) {
    try {
        file_ = OpenLockedFile(dataFolder / STAKES_FILE_NAME);
        return true;
    } catch (const std::exception&) {
        file_.reset();
        return false;
    }
}

void TDataFilesLock::Release() {
    file_.reset();
}

} // namespace pelko
