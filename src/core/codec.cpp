#include "core/codec.h"

#include <array>
#include <cstdint>

namespace pelko {

namespace {

constexpr char32_t REPLACEMENT_CHARACTER = 0xFFFD;

// Unicode code points of the bytes 0x80..0xFF; 0x98 has none.
constexpr std::array<char32_t, 128> HIGH_HALF = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, // 80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F, // 88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90
    0xFFFD, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, // 98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, // A0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, // A8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, // B0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457, // B8
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417, // C0
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F, // C8
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427, // D0
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F, // D8
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437, // E0
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F, // E8
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447, // F0
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F, // F8
};

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

char EncodeCp1251(char32_t cp) {
    if (cp < 0x80) return static_cast<char>(cp);
    if (cp != REPLACEMENT_CHARACTER) {
        // Cyrillic А..я is one contiguous block; the rest is a short scan.
        if (cp >= 0x0410 && cp <= 0x044F) return static_cast<char>(0xC0 + (cp - 0x0410));
        for (std::size_t i = 0; i < HIGH_HALF.size(); ++i)
            if (HIGH_HALF[i] == cp) return static_cast<char>(0x80 + i);
    }
    return '?';
}

// Decodes one UTF-8 sequence at text[pos]. On success returns the code point and the
// sequence length; on failure returns -1 and the length of the maximal invalid prefix
// (at least 1), so one bad sequence becomes exactly one '?'.
struct TDecoded {
    long cp;
    std::size_t length;
};

TDecoded DecodeUtf8(std::string_view text, std::size_t pos) {
    const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(text[i]); };
    const std::uint8_t lead = byte(pos);
    if (lead < 0x80) return {lead, 1};

    std::size_t need = 0;
    char32_t cp = 0;
    std::uint8_t lo = 0x80, hi = 0xBF; // allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        need = 1;
        cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        need = 2;
        cp = lead & 0x0F;
        if (lead == 0xE0) lo = 0xA0; // overlong
        if (lead == 0xED) hi = 0x9F; // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        need = 3;
        cp = lead & 0x07;
        if (lead == 0xF0) lo = 0x90; // overlong
        if (lead == 0xF4) hi = 0x8F; // above U+10FFFF
    } else {
        return {-1, 1};
    }

    std::size_t length = 1;
    for (std::size_t k = 0; k < need; ++k) {
        if (pos + length >= text.size()) return {-1, length};
        const std::uint8_t b = byte(pos + length);
        const std::uint8_t min = k == 0 ? lo : 0x80;
        const std::uint8_t max = k == 0 ? hi : 0xBF;
        if (b < min || b > max) return {-1, length};
        cp = (cp << 6) | (b & 0x3F);
        ++length;
    }
    return {static_cast<long>(cp), length};
}

} // namespace

std::string Cp1251ToUtf8(std::string_view cp1251) {
    std::string out;
    out.reserve(cp1251.size() * 2);
    for (const char c : cp1251) {
        const auto b = static_cast<std::uint8_t>(c);
        if (b < 0x80)
            out += c;
        else
            AppendUtf8(out, HIGH_HALF[b - 0x80]);
    }
    return out;
}

std::string Utf8ToCp1251(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const TDecoded d = DecodeUtf8(utf8, pos);
        out += d.cp < 0 ? '?' : EncodeCp1251(static_cast<char32_t>(d.cp));
        pos += d.length;
    }
    return out;
}

} // namespace pelko
