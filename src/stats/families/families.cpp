#include "stats/families/families.h"

namespace pelko {

void RegisterAllStatFamilies(TStatClassTable& table) {
    // A family whose file is not written yet is simply not called here yet.
    RegisterNumberStats(table);
    RegisterSumStats(table);
    RegisterDifferenceStats(table);
    RegisterChannelStats(table);
    RegisterMatrixStats(table);
    RegisterSegmentStats(table);
    RegisterSequenceStats(table);
    RegisterRepeatStats(table);
    RegisterNumberCombinationStats(table);
    RegisterSigmaStats(table);
    RegisterSerialStats(table);
    RegisterPeriodStats(table);
    RegisterChainStats(table);
    RegisterShreddingStats(table);
}

const TStatClassTable& StandardStatClasses() {
    static const TStatClassTable table = [] {
        TStatClassTable t;
        RegisterAllStatFamilies(t);
        return t;
    }();
    return table;
}

} // namespace pelko
