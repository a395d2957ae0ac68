#pragma once
// The last entry of the difference triangle of a number sequence, with the two variants
// that replace small final differences by the sum of the last pair. All arithmetic is on
// bytes (sums wrap modulo 256), as the characteristic-number statistics expect.

#include "core/lottery.h"

#include <cstdint>

namespace pelko {

enum TDiffChainMode : int {
    dcmPlain = 0,      // the final difference as it is
    dcmSmallToSum = 1, // a final difference below 2 becomes a + b
    dcmZeroOrOne = 2,  // 0 becomes a + b; 1 keeps 1 and gets a + b as a second element
};

// Repeats absolute differences of neighbours down to the last pair (a, b) and returns
// [|b - a|] adjusted by the mode. Fewer than two values give an empty array.
TByteArray DiffChain(const std::uint8_t* values, int n, int mode);

} // namespace pelko
