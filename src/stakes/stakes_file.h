#pragma once
// The stakes file "Pelko_6x45.lsk": a flat sequence of 328-byte stake records, held open
// and locked exclusively for the whole life of the workspace, read record by record
// through a one-record cache (the grid asks for one cell at a time) or in blocks by the
// whole-file passes, and changed only by appending, by rewriting single records in place
// and by whole rewrites through a temporary file.
//
// The record count is the file size divided by 328; a partial record at the end is never
// read. Failures throw std::runtime_error with the program's message.

#include "platform/file_lock.h"
#include "stakes/stake_record.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace pelko {

enum class TSeekOrigin { Begin, End };

inline constexpr const char* STAKES_NOT_OPEN_MESSAGE = "Файл ставок не открыт!";

class TStakesFile {
  public:
    TStakesFile() = default;
    ~TStakesFile() = default;
    TStakesFile(const TStakesFile&) = delete;
    TStakesFile& operator=(const TStakesFile&) = delete;

    // Opens the file for reading and writing, locked exclusively, creating it when missing.
    // Throws TFileLockedError when another workspace holds it.
    void Open(const std::filesystem::path& path);
    // Opens an existing file for reading only, without the lock (a reader beside the
    // program that holds it); every write throws.
    void OpenReadOnly(const std::filesystem::path& path);
    // Works on the given device instead of a file (tests); whole rewrites need a path.
    void Attach(std::unique_ptr<TRandomAccessFile> device, std::filesystem::path path = {});
    void Close();
    bool IsOpen() const { return device_ != nullptr; }
    const std::filesystem::path& Path() const { return path_; }

    std::int64_t Count();
    bool Empty() { return Count() == 0; }

    // The record at the index counted from the start, or from the end (-1 is the last).
    // Throws "Запись со индексом %d в файле данных не найдена!" outside the file.
    TStakeData Read(TSeekOrigin origin, std::int64_t index);
    // Writes the record at the index; the position may equal the record count (appends).
    void Write(TSeekOrigin origin, std::int64_t index, const TStakeData& stake);
    void DropCache() { cacheIndex_.reset(); }

    // Reads up to `count` whole records from `first` into `bytes`; returns how many.
    std::size_t ReadRecords(std::int64_t first, std::size_t count, std::vector<char>& bytes);
    // Rewrites `count` records from `first` in one write. When the write fails, the record
    // it stopped inside is put back from `originals` (so no record is left half new and
    // half old) and the failure is passed on; `complete` tells how many leading records
    // reached the file whole.
    void RewriteRecords(std::int64_t first, const char* bytes, const char* originals,
                        std::size_t count, std::size_t& complete);
    // Appends encoded records with one write; after a failure the file is cut back to its
    // size before the call and the failure is passed on.
    void AppendRecords(const char* bytes, std::size_t count);
    void Truncate(std::int64_t records);

    // Rewrites the whole file keeping the records for which keep(index, record) is true:
    // they go to "<name>.~tmp" (locked like the file itself), which then replaces the file.
    // On failure the file stays as it was and open; the temporary file is removed.
    void Rewrite(const std::function<bool(std::int64_t, const TStakeData&)>& keep);

    // The draw number of the last record, or nothing for an empty file.
    std::optional<std::int32_t> LastDrawNumber();

    TRandomAccessFile& Device();

  private:
    std::int64_t Position(TSeekOrigin origin, std::int64_t index, std::int64_t count) const;

    std::unique_ptr<TRandomAccessFile> device_;
    std::filesystem::path path_;
    std::optional<std::pair<TSeekOrigin, std::int64_t>> cacheIndex_;
    TStakeData cache_;
};

// Reads every record from `first` on in blocks and hands each to fn(index, raw bytes).
// fn returns false to stop.
void ForEachStakeRecord(TStakesFile& file, std::int64_t first,
                        const std::function<bool(std::int64_t, const char*)>& fn);

} // namespace pelko
