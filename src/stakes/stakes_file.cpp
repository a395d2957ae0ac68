#include "stakes/stakes_file.h"

#include "core/atomic_file.h"
#include "core/format.h"

#include <cerrno>
#include <stdexcept>
#include <system_error>

namespace pelko {

namespace {

constexpr std::int64_t RECORD = static_cast<std::int64_t>(STAKE_RECORD_SIZE);
constexpr std::size_t BLOCK_RECORDS = 4096; // about 1.3 MB per read or write

[[noreturn]] void ThrowNotFound(std::int64_t index) {
    throw std::runtime_error(Format("Запись со индексом %lld в файле данных не найдена!",
                                    static_cast<long long>(index)));
}

} // namespace

void TStakesFile::Open(const std::filesystem::path& path) {
    Close();
    device_ = OpenLockedFile(path);
    path_ = path;
}

void TStakesFile::OpenReadOnly(const std::filesystem::path& path) {
    Close();
    device_ = OpenReadOnlyFile(path);
    path_ = path;
}

void TStakesFile::Attach(std::unique_ptr<TRandomAccessFile> device, std::filesystem::path path) {
    Close();
    device_ = std::move(device);
    path_ = std::move(path);
}

void TStakesFile::Close() {
    device_.reset();
    cacheIndex_.reset();
}

TRandomAccessFile& TStakesFile::Device() {
    if (!device_) throw std::runtime_error(STAKES_NOT_OPEN_MESSAGE);
    return *device_;
}

std::int64_t TStakesFile::Count() {
    return Device().Size() / RECORD;
}

std::int64_t TStakesFile::Position(TSeekOrigin origin, std::int64_t index,
                                   std::int64_t count) const {
    return origin == TSeekOrigin::Begin ? index : count + index;
}

TStakeData TStakesFile::Read(TSeekOrigin origin, std::int64_t index) {
    TRandomAccessFile& device = Device();
    if (cacheIndex_ && cacheIndex_->first == origin && cacheIndex_->second == index) return cache_;
    const std::int64_t pos = Position(origin, index, device.Size() / RECORD);
    if (pos < 0 || pos >= device.Size() / RECORD) ThrowNotFound(index);
    char bytes[STAKE_RECORD_SIZE];
    if (device.ReadAt(pos * RECORD, bytes, STAKE_RECORD_SIZE) != STAKE_RECORD_SIZE)
        ThrowNotFound(index);
    cache_ = DecodeStakeRecord(bytes);
    cacheIndex_ = {origin, index};
    return cache_;
}

void TStakesFile::Write(TSeekOrigin origin, std::int64_t index, const TStakeData& stake) {
    TRandomAccessFile& device = Device();
    cacheIndex_.reset();
    const std::int64_t count = device.Size() / RECORD;
    const std::int64_t pos = Position(origin, index, count);
    if (pos < 0 || pos > count) ThrowNotFound(index);
    const std::string bytes = EncodeStakeRecord(stake);
    WriteAllAt(device, pos * RECORD, bytes.data(), bytes.size());
}

std::size_t TStakesFile::ReadRecords(std::int64_t first, std::size_t count,
                                     std::vector<char>& bytes) {
    TRandomAccessFile& device = Device();
    const std::int64_t total = device.Size() / RECORD;
    if (first < 0 || first >= total || count == 0) return 0;
    const std::size_t n = static_cast<std::size_t>(
        std::min<std::int64_t>(static_cast<std::int64_t>(count), total - first));
    bytes.resize(n * STAKE_RECORD_SIZE);
    const std::size_t got = device.ReadAt(first * RECORD, bytes.data(), bytes.size());
    if (got != bytes.size()) // the file shrank under us
        throw std::runtime_error(std::string(STAKE_READ_ERROR) + "\n\n" +
                                 Format("Запись со индексом %lld прочитана не полностью.",
                                        static_cast<long long>(first) +
                                            static_cast<long long>(got / STAKE_RECORD_SIZE)));
    return n;
}

void TStakesFile::RewriteRecords(std::int64_t first, const char* bytes, const char* originals,
                                 std::size_t count, std::size_t& complete) {
    TRandomAccessFile& device = Device();
    cacheIndex_.reset();
    complete = 0;
    std::size_t written = 0;
    try {
        WriteAllAt(device, first * RECORD, bytes, count * STAKE_RECORD_SIZE, &written);
        complete = count;
    } catch (...) {
        complete = written / STAKE_RECORD_SIZE;
        if (written % STAKE_RECORD_SIZE != 0) {
            const std::size_t torn = complete;
            try {
                WriteAllAt(device, (first + static_cast<std::int64_t>(torn)) * RECORD,
                           originals + torn * STAKE_RECORD_SIZE, STAKE_RECORD_SIZE);
            } catch (...) {
                // The device refuses even that; the original failure is the one to report.
            }
        }
        throw;
    }
}

void TStakesFile::AppendRecords(const char* bytes, std::size_t count) {
    TRandomAccessFile& device = Device();
    cacheIndex_.reset();
    const std::int64_t end = device.Size() / RECORD;
    try {
        WriteAllAt(device, end * RECORD, bytes, count * STAKE_RECORD_SIZE);
    } catch (...) {
        // All or nothing: what got in of these records is cut off again, so a failed
        // append leaves the file as it was (and never with a partial record at its end).
        try {
            device.Truncate(end * RECORD);
        } catch (...) {
        }
        throw;
    }
}

void TStakesFile::Truncate(std::int64_t records) {
    TRandomAccessFile& device = Device();
    cacheIndex_.reset();
    device.Truncate(records * RECORD);
}

std::optional<std::int32_t> TStakesFile::LastDrawNumber() {
    if (Empty()) return std::nullopt;
    return Read(TSeekOrigin::End, -1).DrawNumber;
}

void TStakesFile::Rewrite(const std::function<bool(std::int64_t, const TStakeData&)>& keep) {
    Device();
    if (path_.empty()) throw std::runtime_error(STAKES_NOT_OPEN_MESSAGE);
    std::filesystem::path temp = path_;
    temp.replace_extension(".~tmp");
    std::error_code ignored;
    std::filesystem::remove(temp, ignored); // left behind by an interrupted rewrite
    cacheIndex_.reset();

    std::unique_ptr<TRandomAccessFile> fresh;
    try {
        fresh = CreateLockedFile(temp);
        std::vector<char> kept;
        std::int64_t out = 0;
        auto flush = [&] {
            WriteAllAt(*fresh, out * RECORD, kept.data(), kept.size());
            out += static_cast<std::int64_t>(kept.size() / STAKE_RECORD_SIZE);
            kept.clear();
        };
        ForEachStakeRecord(*this, 0, [&](std::int64_t index, const char* raw) {
            if (keep(index, DecodeStakeRecord(raw))) {
                kept.insert(kept.end(), raw, raw + STAKE_RECORD_SIZE);
                if (kept.size() >= BLOCK_RECORDS * STAKE_RECORD_SIZE) flush();
            }
            return true;
        });
        flush();
        fresh->Sync();
        // The new file is locked before it takes the name, so the data folder is never
        // without a locked stakes file.
        std::error_code ec;
        std::filesystem::rename(temp, path_, ec);
        if (ec)
            throw std::runtime_error(
                Format("Ошибка переименования / удаления временного файла ставок %s!",
                       temp.string().c_str()) +
                "\n\n" + SysErrorText(ec.value()));
    } catch (...) {
        fresh.reset();
        std::filesystem::remove(temp, ignored);
        throw;
    }
    device_ = std::move(fresh);
}

void ForEachStakeRecord(TStakesFile& file, std::int64_t first,
                        const std::function<bool(std::int64_t, const char*)>& fn) {
    std::vector<char> block;
    std::int64_t index = std::max<std::int64_t>(first, 0);
    for (;;) {
        const std::size_t n = file.ReadRecords(index, BLOCK_RECORDS, block);
        if (n == 0) return;
        for (std::size_t i = 0; i < n; ++i, ++index)
            if (!fn(index, block.data() + i * STAKE_RECORD_SIZE)) return;
    }
}

} // namespace pelko
