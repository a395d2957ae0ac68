#pragma once
// Inline builders of statistic keys for the families' per-combination loops. The key is
// stored with one 8-byte write, so the lookup that reads it back right away is forwarded
// from that store instead of stalling on eight byte stores.

#include "core/lottery.h"

#include <bit>
#include <cstdint>
#include <cstring>

namespace pelko {

// The key whose eight little-endian bytes are `bits` (K1 in the lowest 16 bits).
inline TStatKey KeyOfBits(std::uint64_t bits) {
    TStatKey key;
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(key.B, &bits, sizeof bits);
    } else {
        for (int i = 0; i < 8; ++i)
            key.B[i] = static_cast<std::uint8_t>(bits >> (8 * i));
    }
    return key;
}

// Key words K1..K4.
inline TStatKey WordsKey(std::uint16_t k1, std::uint16_t k2 = 0, std::uint16_t k3 = 0,
                         std::uint16_t k4 = 0) {
    return KeyOfBits(std::uint64_t{k1} | (std::uint64_t{k2} << 16) | (std::uint64_t{k3} << 32) |
                     (std::uint64_t{k4} << 48));
}

// Signed integers V1 and V2 (two's complement).
inline TStatKey LongsKey(std::int32_t v1, std::int32_t v2 = 0) {
    return KeyOfBits(std::uint64_t{static_cast<std::uint32_t>(v1)} |
                     (std::uint64_t{static_cast<std::uint32_t>(v2)} << 32));
}

} // namespace pelko
