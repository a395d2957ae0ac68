#include "core/diff_chain.h"

#include <algorithm>
#include <vector>

namespace pelko {

namespace {

std::uint8_t AbsDiff(std::uint8_t a, std::uint8_t b) {
    return static_cast<std::uint8_t>(a > b ? a - b : b - a);
}

} // namespace

TByteArray DiffChain(const std::uint8_t* values, int n, int mode) {
    if (n < 2 || values == nullptr) return {};
    // Statistics call this for every combination: work on the stack for short sequences.
    std::uint8_t local[64];
    std::vector<std::uint8_t> heap;
    std::uint8_t* row = local;
    if (n > static_cast<int>(sizeof(local))) {
        heap.resize(static_cast<std::size_t>(n));
        row = heap.data();
    }
    std::copy(values, values + n, row);
    for (int size = n; size > 2; --size)
        for (int i = 0; i + 1 < size; ++i)
            row[i] = AbsDiff(row[i + 1], row[i]);
    const std::uint8_t a = row[0];
    const std::uint8_t b = row[1];
    const std::uint8_t sum = static_cast<std::uint8_t>(a + b);
    TByteArray result{AbsDiff(b, a)};
    if (mode == dcmSmallToSum) {
        if (result[0] < 2) result[0] = sum;
    } else if (mode == dcmZeroOrOne) {
        if (result[0] == 0) result[0] = sum;
        if (result[0] == 1) result.push_back(sum);
    }
    return result;
}

} // namespace pelko
