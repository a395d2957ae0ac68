#include "core/lottery.h"

#include "core/codec.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace pelko {

TMoney MoneyFromDouble(double amount) {
    return static_cast<TMoney>(std::llround(amount * static_cast<double>(MONEY_SCALE)));
}

double MoneyToDouble(TMoney money) {
    return static_cast<double>(money) / static_cast<double>(MONEY_SCALE);
}

std::string TDrawData::DateText() const {
    return Cp1251ToUtf8(RawDate());
}

void TDrawData::SetDateText(std::string_view utf8) {
    SetRawDate(Utf8ToCp1251(utf8));
}

void TDrawData::SetRawDate(std::string_view cp1251) {
    const std::size_t len = std::min<std::size_t>(cp1251.size(), DRAW_DATE_LEN);
    std::memset(Date, 0, sizeof Date);
    std::memcpy(Date, cp1251.data(), len);
    DateLen = static_cast<std::uint8_t>(len);
}

std::uint16_t TStatKey::K(int i) const {
    const int at = (i - 1) * 2;
    return static_cast<std::uint16_t>(B[at] | (B[at + 1] << 8));
}

void TStatKey::SetK(int i, std::uint16_t v) {
    const int at = (i - 1) * 2;
    B[at] = static_cast<std::uint8_t>(v & 0xFF);
    B[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

std::int32_t TStatKey::V(int i) const {
    const int at = (i - 1) * 4;
    const std::uint32_t u = static_cast<std::uint32_t>(B[at]) |
                            (static_cast<std::uint32_t>(B[at + 1]) << 8) |
                            (static_cast<std::uint32_t>(B[at + 2]) << 16) |
                            (static_cast<std::uint32_t>(B[at + 3]) << 24);
    return static_cast<std::int32_t>(u);
}

void TStatKey::SetV(int i, std::int32_t v) {
    const int at = (i - 1) * 4;
    const auto u = static_cast<std::uint32_t>(v);
    for (int b = 0; b < 4; ++b)
        B[at + b] = static_cast<std::uint8_t>((u >> (8 * b)) & 0xFF);
}

TStatKey TStatKey::FromV(std::int32_t v1, std::int32_t v2) {
    TStatKey k;
    k.SetV(1, v1);
    k.SetV(2, v2);
    return k;
}

TStatKey TStatKey::FromK(std::uint16_t k1, std::uint16_t k2, std::uint16_t k3, std::uint16_t k4) {
    TStatKey k;
    k.SetK(1, k1);
    k.SetK(2, k2);
    k.SetK(3, k3);
    k.SetK(4, k4);
    return k;
}

int CompareKeys(const TStatKey& a, const TStatKey& b) {
    for (int i = 1; i <= 4; ++i) {
        const auto x = a.K(i), y = b.K(i);
        if (x != y)
            return x < y ? -1 : 1;
    }
    return 0;
}

} // namespace pelko
