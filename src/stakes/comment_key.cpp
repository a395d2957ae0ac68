#include "stakes/comment_key.h"

#include <array>

namespace pelko {

namespace {

std::array<unsigned char, 256> MakeLowerTable() {
    std::array<unsigned char, 256> t{};
    for (int i = 0; i < 256; ++i)
        t[i] = static_cast<unsigned char>(i);
    for (int c = 'A'; c <= 'Z'; ++c)
        t[c] = static_cast<unsigned char>(c + 32);
    for (int c = 0xC0; c <= 0xDF; ++c) // А..Я
        t[c] = static_cast<unsigned char>(c + 32);
    // The Cyrillic letters outside the main block: Ё Ђ Ѓ Љ Њ Ќ Ћ Џ Ў Ј Ґ Є Ї І Ѕ.
    const unsigned char pairs[][2] = {{0xA8, 0xB8}, {0x80, 0x90}, {0x81, 0x83}, {0x8A, 0x9A},
                                      {0x8C, 0x9C}, {0x8D, 0x9D}, {0x8E, 0x9E}, {0x8F, 0x9F},
                                      {0xA1, 0xA2}, {0xA3, 0xBC}, {0xA5, 0xB4}, {0xAA, 0xBA},
                                      {0xAF, 0xBF}, {0xB2, 0xB3}, {0xBD, 0xBE}};
    for (const auto& p : pairs)
        t[p[0]] = p[1];
    return t;
}

const std::array<unsigned char, 256> LOWER = MakeLowerTable();

} // namespace

void FoldCommentInto(std::string_view cp1251, std::string& out) {
    out.resize(cp1251.size());
    for (std::size_t i = 0; i < cp1251.size(); ++i)
        out[i] = static_cast<char>(LOWER[static_cast<unsigned char>(cp1251[i])]);
}

std::string FoldComment(std::string_view cp1251) {
    std::string out;
    FoldCommentInto(cp1251, out);
    return out;
}

bool SameCommentIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    if (a == b) // the usual case: one source spells its comment one way
        return true;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (LOWER[static_cast<unsigned char>(a[i])] != LOWER[static_cast<unsigned char>(b[i])])
            return false;
    return true;
}

std::uint64_t FoldedCommentHash(std::string_view cp1251) {
    // Eight folded bytes at a time, each word mixed in with a multiply; the final mix
    // spreads the high bits into the low ones that pick the slot.
    auto folded = [&](std::size_t i) {
        return static_cast<std::uint64_t>(LOWER[static_cast<unsigned char>(cp1251[i])]);
    };
    std::uint64_t h = 0x9E3779B97F4A7C15ull ^ cp1251.size();
    std::size_t i = 0;
    for (; i + 8 <= cp1251.size(); i += 8) {
        std::uint64_t w = 0;
        for (int k = 0; k < 8; ++k)
            w |= folded(i + k) << (8 * k);
        h = (h ^ w) * 0xff51afd7ed558ccdull;
        h ^= h >> 32;
    }
    std::uint64_t w = 0;
    for (int k = 0; i < cp1251.size(); ++i, ++k)
        w |= folded(i) << (8 * k);
    h = (h ^ w) * 0xc4ceb9fe1a85ec53ull;
    h ^= h >> 33;
    h *= 0xff51afd7ed558ccdull;
    h ^= h >> 33;
    return h;
}

} // namespace pelko
