#pragma once
// The constants and plain records of the "6 из 45" lottery. Records that go to files
// keep their exact byte layout in memory too; they are still read and written field by
// field (see record_io.h), never by casting.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pelko {

inline constexpr int LOTTO_MAX = 45;
inline constexpr int LOTTO_COUNT = 6;
inline constexpr int COMBS_TOTAL = 8145060;
inline constexpr int SUM_MIN = 21;  // 1 + 2 + ... + 6
inline constexpr int SUM_MAX = 255; // 40 + 41 + ... + 45
inline constexpr int SUM_TOLERANCE = (SUM_MAX - SUM_MIN) / 10;

// Money: the amount times 10000 (four decimal places).
using TMoney = std::int64_t;
inline constexpr TMoney MONEY_SCALE = 10000;
TMoney MoneyFromDouble(double amount);
double MoneyToDouble(TMoney money);

// One combination: six numbers 1..45. Generated ones are ascending; ones read from text
// keep the order of the text. Equality is byte for byte, in order.
struct TComb {
    std::uint8_t N[LOTTO_COUNT] = {};

    std::uint8_t& operator[](std::size_t i) { return N[i]; }
    std::uint8_t operator[](std::size_t i) const { return N[i]; }
    const std::uint8_t* begin() const { return N; }
    const std::uint8_t* end() const { return N + LOTTO_COUNT; }
    std::uint8_t* begin() { return N; }
    std::uint8_t* end() { return N + LOTTO_COUNT; }
    friend bool operator==(const TComb&, const TComb&) = default;
};
static_assert(sizeof(TComb) == 6, "TComb is a packed six-byte record");

inline constexpr int DRAW_DATE_LEN = 16;

// One draw of the archive; 28 bytes in the archive file:
// number int32 @0, six numbers @4, date length @10, date text (CP1251) @11, pad @27.
struct TDrawData {
    std::int32_t Number = 0;
    std::uint8_t Nums[LOTTO_COUNT] = {};
    std::uint8_t DateLen = 0;
    char Date[DRAW_DATE_LEN] = {}; // Windows-1251 bytes, only DateLen of them count
    std::uint8_t Pad = 0;

    // The date text as UTF-8.
    std::string DateText() const;
    // Stores a UTF-8 date text, converted to Windows-1251 and cut to 16 bytes.
    void SetDateText(std::string_view utf8);
    std::string_view RawDate() const { return {Date, DateLen}; }
    void SetRawDate(std::string_view cp1251);
};
static_assert(sizeof(TDrawData) == 28, "TDrawData is the 28-byte archive record");
inline constexpr std::size_t DRAW_RECORD_SIZE = 28;

inline constexpr int NUMBER_SET_CAPACITY = 16;

// A count-prefixed set of up to 16 numbers; 20 bytes inside the stake records.
struct TNumberSet {
    std::int32_t Count = 0; // -1 marks a set not yet computed
    std::uint8_t Members[NUMBER_SET_CAPACITY] = {};
    friend bool operator==(const TNumberSet&, const TNumberSet&) = default;
};
static_assert(sizeof(TNumberSet) == 20, "TNumberSet is 20 bytes");

// The 8-byte value key of a statistic: four unsigned 16-bit words K1..K4, two int32 V1/V2
// or eight bytes B1..B8, all views of the same little-endian bytes.
struct TStatKey {
    std::uint8_t B[8] = {};

    std::uint16_t K(int i) const; // i = 1..4
    void SetK(int i, std::uint16_t v);
    std::int32_t V(int i) const; // i = 1..2
    void SetV(int i, std::int32_t v);
    static TStatKey FromV(std::int32_t v1, std::int32_t v2 = 0);
    static TStatKey FromK(std::uint16_t k1, std::uint16_t k2 = 0, std::uint16_t k3 = 0,
                          std::uint16_t k4 = 0);

    friend bool operator==(const TStatKey&, const TStatKey&) = default;
};
static_assert(sizeof(TStatKey) == 8);
// Key order: K1, then K2, K3, K4, each as an unsigned 16-bit number.
int CompareKeys(const TStatKey& a, const TStatKey& b);
inline bool operator<(const TStatKey& a, const TStatKey& b) { return CompareKeys(a, b) < 0; }

// One value of a statistic with its occurrence record; 32 bytes.
struct TStatDraw {
    std::int32_t LastDraw = 0;
    std::int32_t LastAge = 0;
    std::int32_t PrevDraw = 0;
    std::uint16_t MinPeriod = 0;
    std::uint16_t MaxPeriod = 0;
    std::int32_t Count = 0;
    std::int32_t Norm = 0;
    TStatKey Key;
};
static_assert(sizeof(TStatDraw) == 32, "TStatDraw is 32 bytes");

// Key and count; 12 bytes, the record of the prefetch files.
struct TShemaItem {
    TStatKey Key;
    std::int32_t Count = 0;
};
static_assert(sizeof(TShemaItem) == 12, "TShemaItem is 12 bytes");

struct TStatSimple {
    std::int32_t Key = 0;
    std::int32_t Count = 0;
};
static_assert(sizeof(TStatSimple) == 8, "TStatSimple is 8 bytes");

struct TProfitDraw {
    std::int32_t DrawNumber = 0;
    TMoney Amount = 0;
};

using TDrawsArray = std::vector<TDrawData>;
using TByteArray = std::vector<std::uint8_t>;
using TIntArray = std::vector<std::int32_t>;
using TStatDrawArray = std::vector<TStatDraw>;
using TShemaArray = std::vector<TShemaItem>;
using TStatSimpleArray = std::vector<TStatSimple>;
using TProfitDrawArray = std::vector<TProfitDraw>;

// A set of byte values (0..255), used where the original marks numbers in a 256-bit set.
struct TByteSet {
    std::uint64_t Bits[4] = {};
    bool Has(unsigned v) const { return v < 256 && ((Bits[v >> 6] >> (v & 63)) & 1u); }
    void Add(unsigned v) {
        if (v < 256)
            Bits[v >> 6] |= std::uint64_t{1} << (v & 63);
    }
    bool Empty() const { return !(Bits[0] | Bits[1] | Bits[2] | Bits[3]); }
    friend bool operator==(const TByteSet&, const TByteSet&) = default;
};

} // namespace pelko
