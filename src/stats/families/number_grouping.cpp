#include "stats/families/number_grouping.h"

#include "core/format.h"
#include "core/geometry.h"

#include <algorithm>

namespace pelko {

TNumberGrouping::TNumberGrouping() {
    std::fill(std::begin(Index), std::end(Index), NO_INDEX);
    std::fill(std::begin(IndexOfGroup), std::end(IndexOfGroup), NO_INDEX);
}

void TNumberGrouping::Set(int number, int group) {
    const auto value = static_cast<std::uint8_t>(group);
    Group[number] = value;
    if (IndexOfGroup[value] == NO_INDEX) {
        IndexOfGroup[value] = static_cast<std::uint8_t>(DomainSize);
        Domain[DomainSize++] = value;
        MaxGroup = std::max(MaxGroup, int{value});
    }
    Index[number] = IndexOfGroup[value];
    Bit[number] = std::uint64_t{1} << Index[number];
}

TNumberGrouping ChannelGrouping(int width) {
    if (width < 1) return {};
    return TNumberGrouping::Of([width](int n) { return ChannelOf(n, width); });
}

TNumberGrouping ColumnGrouping(int cols) {
    if (cols < 1) return {};
    return TNumberGrouping::Of([cols](int n) { return MatrixCol(n, cols); });
}

TNumberGrouping RowGrouping(int cols) {
    if (cols < 1) return {};
    return TNumberGrouping::Of([cols](int n) { return MatrixRow(n, cols); });
}

TNumberGrouping SegmentGrouping(const TSegments& segments) {
    return TNumberGrouping::Of(
        [&segments](int n) { return segments[static_cast<std::size_t>(n - 1)]; });
}

std::string ChannelText(int channel, int width) {
    return Format("%.2d [%d-%d]", channel, width * (channel - 1) + 1, channel * width);
}

} // namespace pelko
