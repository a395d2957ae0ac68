#include "core/geometry.h"

#include "core/arithmetic.h"

namespace pelko {

namespace {

constexpr std::uint32_t kChannelColors[] = {
    0xAAFFAA, 0xFFFFAA, 0xAAFFFF, 0xFFAAAA, 0xAAAAFF, 0xFFD5AA, 0xD5AAFF,
    0xD4D4D4, 0xAAD5FF, 0xFFAAD5, 0xD5FFD5, 0xFFFFD5, 0xD5FFFF, 0xFFD5D5,
    0xD5D5FF, 0xFFEAD5, 0xEAD5FF, 0xE9E9E9, 0xD5EAFF,
};
constexpr int kChannelColorCount = sizeof(kChannelColors) / sizeof(kChannelColors[0]);
static_assert(kChannelColorCount == 19);

} // namespace

int MatrixCol(int n, int cols) {
    return (n - 1) % cols + 1;
}

int MatrixRow(int n, int cols) {
    return (n - 1) / cols + 1;
}

int MatrixNumber(int row, int cols, int column) {
    return 1 + row * cols + column;
}

int ChannelOf(int n, int width) {
    return CeilDiv(n, width);
}

std::uint32_t ChannelColor(int n, int width) {
    if (n < 1 || n > LOTTO_MAX || width < 1) return OUT_OF_RANGE_COLOR;
    const int channel = ChannelOf(n, width);
    return kChannelColors[(channel - 1) % kChannelColorCount];
}

int ShiftNumber(int n, int d) {
    if (d == 0) return n;
    const int s = n + d;
    if (d > 0 && s > LOTTO_MAX) return s - LOTTO_MAX;
    if (d < 0 && s <= 0) return s + LOTTO_MAX;
    return s;
}

TComb ShiftComb(const TComb& comb, int d) {
    TComb shifted;
    for (int i = 0; i < LOTTO_COUNT; ++i)
        shifted[i] = static_cast<std::uint8_t>(ShiftNumber(comb[i], d));
    return shifted;
}

} // namespace pelko
