#pragma once
// The card of draws (tab "Карта"): the whole archive, newest draw first, one column per
// number 1..45, and how each drawn number stands against its neighbours: repeated in the
// draw above or below, next to n - 1 or n + 1 of its own draw. The offset does not apply.

#include "core/lottery.h"
#include "stats/analysis/numbers_pick.h"

#include <cstdint>
#include <string>
#include <vector>

namespace pelko {

enum class TCardMark { None, Sequence, Repeated, RepeatedSequence };

class TDrawCard {
  public:
    TDrawCard() = default;
    explicit TDrawCard(const TDrawsArray& draws);

    int Rows() const { return static_cast<int>(numbers_.size()); }
    // Row 0 is the newest draw.
    std::int32_t DrawNumber(int row) const { return numbers_[static_cast<std::size_t>(row)]; }
    bool Has(int row, int n) const;
    // How a filled cell is marked (None for an empty one or one outside the card).
    TCardMark Mark(int row, int n) const;

  private:
    std::vector<std::int32_t> numbers_;
    std::vector<std::uint64_t> masks_; // bit n set: the draw holds n (1..45)
};

// The numbers of the selected rectangle (rows, and columns 1..45, inclusive), column by
// column, top to bottom.
TNumbersPick PickCardNumbers(const TDrawCard& card, int top, int left, int bottom, int right);

} // namespace pelko
