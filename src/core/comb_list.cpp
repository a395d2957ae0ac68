#include "core/comb_list.h"

#include <algorithm>
#include <cstring>

namespace pelko {

void TCombList::Reserve(std::size_t n) {
    if (n <= capacity_)
        return;
    // Not value-initialised: pages are only touched when entries are written.
    auto grown = std::make_unique_for_overwrite<TComb[]>(n);
    if (count_)
        std::memcpy(grown.get(), data_.get(), count_ * sizeof(TComb));
    data_ = std::move(grown);
    capacity_ = n;
}

void TCombList::SetCount(std::size_t n) {
    Reserve(n);
    count_ = n;
}

void TCombList::CopyFrom(const TCombList& other) {
    if (this == &other)
        return;
    Reserve(other.capacity_);
    count_ = other.count_;
    if (count_)
        std::memcpy(data_.get(), other.data_.get(), count_ * sizeof(TComb));
}

} // namespace pelko
