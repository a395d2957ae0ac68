#include "core/codec.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace pelko {
namespace {

struct TCodecPair {
    unsigned char byte;
    const char* utf8;
};

class CodecPairs : public ::testing::TestWithParam<TCodecPair> {};

TEST_P(CodecPairs, ConvertsBothWays) {
    const std::string cp1251(1, static_cast<char>(GetParam().byte));
    EXPECT_EQ(Cp1251ToUtf8(cp1251), GetParam().utf8);
    EXPECT_EQ(Utf8ToCp1251(GetParam().utf8), cp1251);
}

INSTANTIATE_TEST_SUITE_P(
    Table, CodecPairs,
    ::testing::Values(TCodecPair{'A', "A"}, TCodecPair{0x80, "Ђ"}, TCodecPair{0x88, "€"},
                      TCodecPair{0x96, "–"}, TCodecPair{0x99, "™"}, TCodecPair{0xA0, "\u00A0"},
                      TCodecPair{0xA5, "Ґ"}, TCodecPair{0xA8, "Ё"}, TCodecPair{0xB8, "ё"},
                      TCodecPair{0xB9, "№"}, TCodecPair{0xBF, "ї"}, TCodecPair{0xC0, "А"},
                      TCodecPair{0xDF, "Я"}, TCodecPair{0xE0, "а"}, TCodecPair{0xFF, "я"}));

TEST(Codec, EveryAssignedByteRoundTripsToADistinctCharacter) {
    std::set<std::string> seen;
    for (int b = 0; b < 256; ++b) {
        if (b == 0x98) continue;
        const std::string byte(1, static_cast<char>(b));
        const std::string utf8 = Cp1251ToUtf8(byte);
        EXPECT_EQ(Utf8ToCp1251(utf8), byte) << "byte " << b;
        EXPECT_TRUE(seen.insert(utf8).second) << "byte " << b;
    }
}

TEST(Codec, UnassignedByteBecomesReplacementCharacterAndThenQuestionMark) {
    EXPECT_EQ(Cp1251ToUtf8("a\x98z"), "a\uFFFDz");
    EXPECT_EQ(Utf8ToCp1251("\uFFFD"), "?");
}

TEST(Codec, ConvertsRussianText) {
    const std::string utf8 = "Ошибка чтения файла \"Pelko_6x45.ini\"!";
    const std::string cp1251 = Utf8ToCp1251(utf8);
    EXPECT_EQ(cp1251.size(), utf8.size() - 17); // 17 Cyrillic letters take one byte each
    EXPECT_EQ(Cp1251ToUtf8(cp1251), utf8);
}

TEST(Codec, KeepsEmbeddedNul) {
    const std::string text("a\0b", 3);
    EXPECT_EQ(Cp1251ToUtf8(text), text);
    EXPECT_EQ(Utf8ToCp1251(text), text);
}

struct TBadUtf8 {
    std::string input;
    std::string expected;
};

class InvalidUtf8 : public ::testing::TestWithParam<TBadUtf8> {};

TEST_P(InvalidUtf8, BecomesQuestionMarks) {
    EXPECT_EQ(Utf8ToCp1251(GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Sequences, InvalidUtf8,
                         ::testing::Values(TBadUtf8{"日本", "??"}, // not in the code page
                                           TBadUtf8{"\xF0\x9F\x98\x80", "?"}, // four-byte character
                                           TBadUtf8{"A\x80"
                                                    "B",
                                                    "A?B"},                 // stray continuation
                                           TBadUtf8{"\xFF\xFE", "??"},      // never valid
                                           TBadUtf8{"\xC0\x80", "??"},      // overlong NUL
                                           TBadUtf8{"\xE0\x80\x80", "???"}, // overlong three-byte
                                           TBadUtf8{"\xED\xA0\x80", "???"}, // surrogate
                                           TBadUtf8{"\xF4\x90\x80\x80", "????"}, // above U+10FFFF
                                           TBadUtf8{"\xD0", "?"},                // cut at the end
                                           TBadUtf8{"\xE2\x82", "?"},            // cut at the end
                                           TBadUtf8{"\xE2\x82"
                                                    "A\xD0\x90",
                                                    "?A\xC0"}));

TEST(Codec, NeverReadsPastTheGivenLength) {
    const char buffer[] = "\xD0\x90"; // "А" in UTF-8, but only its first byte is given
    EXPECT_EQ(Utf8ToCp1251(std::string_view(buffer, 1)), "?");
}

} // namespace
} // namespace pelko
