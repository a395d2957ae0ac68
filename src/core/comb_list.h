#pragma once
// A combination list: packed six-byte entries plus a count. The capacity is reserved once
// (normally for all COMBS_TOTAL combinations) and only ever grows; entries beyond the count
// are stale. The workspace owns the working list and its one-level undo copy.

#include "core/lottery.h"

#include <cstddef>
#include <memory>

namespace pelko {

class TCombList {
public:
    TCombList() = default;
    TCombList(const TCombList&) = delete;
    TCombList& operator=(const TCombList&) = delete;
    TCombList(TCombList&&) noexcept = default;
    TCombList& operator=(TCombList&&) noexcept = default;

    std::size_t Count() const { return count_; }
    std::size_t Capacity() const { return capacity_; }
    bool Empty() const { return count_ == 0; }

    // Grows the capacity to at least n entries, keeping the valid ones; never shrinks.
    void Reserve(std::size_t n);
    // Sets the count; grows the capacity when needed (new entries are unspecified).
    void SetCount(std::size_t n);
    void Clear() { count_ = 0; }

    // Appends one entry, growing the capacity geometrically when it is full.
    void Append(const TComb& c) {
        if (count_ == capacity_)
            Reserve(capacity_ < 1024 ? 1024 : capacity_ + capacity_ / 2);
        data_[count_++] = c;
    }

    // Copies another list's entries and count; grows this list's capacity to the other's.
    void CopyFrom(const TCombList& other);

    TComb* Data() { return data_.get(); }
    const TComb* Data() const { return data_.get(); }
    TComb& operator[](std::size_t i) { return data_[i]; }
    const TComb& operator[](std::size_t i) const { return data_[i]; }
    const TComb* begin() const { return data_.get(); }
    const TComb* end() const { return data_.get() + count_; }

private:
    std::unique_ptr<TComb[]> data_;
    std::size_t capacity_ = 0;
    std::size_t count_ = 0;
};

} // namespace pelko
