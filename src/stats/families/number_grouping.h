#pragma once
// How the numbers 1..45 fall into groups for the channel, matrix and segment statistics:
// each number's group (its channel, matrix column or row, or segment) as a table lookup,
// and the domain of groups in the order their first number appears. Statistics copy one
// of these when they are created, so they keep the parameters they were made with.

#include "core/config.h"
#include "core/lottery.h"
#include "core/segments.h"

#include <cstdint>
#include <string>

namespace pelko {

struct TNumberGrouping {
    static constexpr std::uint8_t NO_INDEX = 0xFF;

    // Group of every byte value; 0 for values outside 1..45 (they belong to no group).
    std::uint8_t Group[256] = {};
    // Position of the number's group in Domain; NO_INDEX outside 1..45.
    std::uint8_t Index[256];
    // Bit of the number's domain position (1 << Index); 0 outside 1..45.
    std::uint64_t Bit[256] = {};
    // Position of a group value in Domain; NO_INDEX for values that are no group.
    std::uint8_t IndexOfGroup[256];
    // The distinct groups of the numbers 1..45 in order of their first number.
    std::uint8_t Domain[LOTTO_MAX] = {};
    int DomainSize = 0;
    // Largest group of the domain (0 when empty).
    int MaxGroup = 0;

    TNumberGrouping();
    // The group of every number 1..45 given by groupOf (values 1..255).
    template <class GroupOf> static TNumberGrouping Of(GroupOf groupOf) {
        TNumberGrouping g;
        for (int n = 1; n <= LOTTO_MAX; ++n)
            g.Set(n, groupOf(n));
        return g;
    }

    bool HasGroup(int value) const {
        return value >= 0 && value < 256 && IndexOfGroup[value] != NO_INDEX;
    }

  private:
    void Set(int number, int group);
};

// Channels of ChannelSize consecutive numbers (ChannelOf); none for a width below 1.
TNumberGrouping ChannelGrouping(int width);
// Columns and rows of the number matrix of `cols` columns (MatrixCol, MatrixRow); none for
// fewer than one column.
TNumberGrouping ColumnGrouping(int cols);
TNumberGrouping RowGrouping(int cols);
// The segment map of the parameters (number n at segments[n - 1]).
TNumberGrouping SegmentGrouping(const TSegments& segments);

// "03 [11-15]": channel c of the given width; the last channel is not cut at 45.
std::string ChannelText(int channel, int width);

} // namespace pelko
