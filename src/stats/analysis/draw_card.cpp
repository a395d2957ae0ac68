#include "stats/analysis/draw_card.h"

namespace pelko {
namespace {

std::uint64_t NumbersMask(const TDrawData& draw) {
    std::uint64_t mask = 0;
    for (const std::uint8_t n : draw.Nums)
        if (n >= 1 && n <= LOTTO_MAX) mask |= std::uint64_t{1} << n;
    return mask;
}

} // namespace

TDrawCard::TDrawCard(const TDrawsArray& draws) {
    numbers_.reserve(draws.size());
    masks_.reserve(draws.size());
    for (auto draw = draws.rbegin(); draw != draws.rend(); ++draw) {
        numbers_.push_back(draw->Number);
        masks_.push_back(NumbersMask(*draw));
    }
}

bool TDrawCard::Has(int row, int n) const {
    if (row < 0 || row >= Rows() || n < 1 || n > LOTTO_MAX) return false;
    return (masks_[static_cast<std::size_t>(row)] >> n) & 1u;
}

TCardMark TDrawCard::Mark(int row, int n) const {
    if (!Has(row, n)) return TCardMark::None;
    const bool repeated = Has(row - 1, n) || Has(row + 1, n);
    const bool sequence = Has(row, n - 1) || Has(row, n + 1);
    if (repeated && sequence) return TCardMark::RepeatedSequence;
    if (repeated) return TCardMark::Repeated;
    return sequence ? TCardMark::Sequence : TCardMark::None;
}

TNumbersPick PickCardNumbers(const TDrawCard& card, int top, int left, int bottom, int right) {
    TNumbersPick pick;
    for (int n = std::max(left, 1); n <= std::min(right, LOTTO_MAX); ++n)
        for (int row = std::max(top, 0); row <= std::min(bottom, card.Rows() - 1); ++row)
            if (card.Has(row, n)) pick.Add(n, std::to_string(n));
    return pick;
}

} // namespace pelko
