#pragma once
// Shared pieces of the stakes tests: an in-memory device that can fail on purpose, and
// quick builders of draws, stakes and parameters.

#include "core/config.h"
#include "platform/file_lock.h"
#include "stakes/stake_record.h"

#include <cstring>
#include <initializer_list>
#include <memory>
#include <stdexcept>
#include <string>

namespace pelko::test {

// A file in memory. Writes may be cut short: after `writeBudget` more bytes a write stops
// and the next one throws (once, or every time when `failForever`).
class TMemoryDevice : public TRandomAccessFile {
  public:
    explicit TMemoryDevice(std::string* bytes) : bytes_(bytes) {}

    long long writeBudget = -1; // -1: no limit
    bool failForever = false;
    int writeCalls = 0;
    int readCalls = 0;

    std::int64_t Size() override { return static_cast<std::int64_t>(bytes_->size()); }
    std::size_t ReadAt(std::int64_t offset, void* buffer, std::size_t n) override {
        ++readCalls;
        if (offset >= Size()) return 0;
        const std::size_t got = std::min<std::size_t>(n, bytes_->size() - offset);
        std::memcpy(buffer, bytes_->data() + offset, got);
        return got;
    }
    std::size_t WriteSomeAt(std::int64_t offset, const void* data, std::size_t n) override {
        ++writeCalls;
        if (writeBudget == 0) {
            if (!failForever) writeBudget = -1;
            throw std::runtime_error("SysError #5: \"Input/output error\"!");
        }
        std::size_t take = n;
        if (writeBudget > 0) {
            take = std::min<std::size_t>(n, static_cast<std::size_t>(writeBudget));
            writeBudget -= static_cast<long long>(take);
        }
        if (bytes_->size() < offset + take) bytes_->resize(offset + take);
        std::memcpy(bytes_->data() + offset, data, take);
        return take;
    }
    void Truncate(std::int64_t size) override { bytes_->resize(static_cast<std::size_t>(size)); }
    void Sync() override {}

  private:
    std::string* bytes_;
};

inline TDrawData MakeDraw(std::int32_t number, std::initializer_list<int> nums) {
    TDrawData d;
    d.Number = number;
    int i = 0;
    for (const int n : nums)
        d.Nums[i++] = static_cast<std::uint8_t>(n);
    return d;
}

inline TNumberSet Set(std::initializer_list<int> nums) {
    TNumberSet s;
    for (const int n : nums)
        s.Members[s.Count++] = static_cast<std::uint8_t>(n);
    return s;
}

inline TStakeData MakeStake(std::int32_t draw, std::initializer_list<int> nums,
                            const std::string& comment = "c", TMoney profit = -1000000) {
    TStakeData s;
    s.Kind = skManual;
    s.DrawNumber = draw;
    s.Numbers = Set(nums);
    s.Profit = profit;
    s.SetCommentText(comment);
    return s;
}

// Cost 100, prizes: 3 matches 500, 4 matches 5000.
inline TConfigData PricedConfig() {
    TConfigData c;
    c.Cost = MoneyFromDouble(100);
    c.Profits = {{3, MoneyFromDouble(500)}, {4, MoneyFromDouble(5000)}};
    return c;
}

} // namespace pelko::test
