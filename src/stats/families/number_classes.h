#pragma once
// The fixed classes of the numbers 1..45 that the number and sum statistics count by:
// even, small (the first half of the range, 1..22) and prime (a fixed set that includes 1).
// NUMBER_CLASSES answers all three for any byte with one lookup, so the per-combination
// loops stay branch-free whatever a combination file holds.

#include <array>
#include <cstdint>
#include <initializer_list>

namespace pelko {

inline constexpr int SMALL_NUMBER_MAX = 22;

constexpr bool IsEvenNumber(int n) {
    return n % 2 == 0;
}
constexpr bool IsSmallNumber(int n) {
    return n <= SMALL_NUMBER_MAX;
}
constexpr bool IsPrimeNumber(int n) {
    for (int p : {1, 2, 3, 5, 7, 11, 13, 17, 19, 23, 29, 31, 37, 41, 43})
        if (n == p) return true;
    return false;
}

using TNumberClass = std::uint8_t;
inline constexpr TNumberClass ncEven = 1;
inline constexpr TNumberClass ncSmall = 2;
inline constexpr TNumberClass ncPrime = 4;

// The classes of every byte value, indexed by the number.
inline constexpr std::array<TNumberClass, 256> NUMBER_CLASSES = [] {
    std::array<TNumberClass, 256> classes{};
    for (int n = 0; n < 256; ++n)
        classes[static_cast<std::size_t>(n)] = static_cast<TNumberClass>(
            (IsEvenNumber(n) ? ncEven : 0) | (IsSmallNumber(n) ? ncSmall : 0) |
            (IsPrimeNumber(n) ? ncPrime : 0));
    return classes;
}();

constexpr bool HasNumberClass(std::uint8_t n, TNumberClass cls) {
    return (NUMBER_CLASSES[n] & cls) != 0;
}

} // namespace pelko
