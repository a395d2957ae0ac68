// Group "sgm": the user's segments, a segment number 1..9 for every lottery number (all 1
// by default). Which segments the six numbers use, how many numbers each holds, how many
// segments are used, and the segments of position subsets and neighbouring positions.
// Each statistic keeps the segment map it was created with.

#include "core/lottery.h"
#include "stats/custom_stat.h"
#include "stats/families/batched_stat.h"
#include "stats/families/families.h"
#include "stats/families/grouped_stats.h"
#include "stats/families/number_grouping.h"
#include "stats/stat_format.h"
#include "stats/stat_list.h"

#include <string>

namespace pelko {

namespace {

// A statistic kind with the segment map of the parameters at creation. The segment
// domain is the segments of the map in the order of their first number.
template <class Kind> class TSegmentsStatOf : public TGroupedStat<Kind> {
  public:
    TSegmentsStatOf(const TStatList& List, int Type)
        : TGroupedStat<Kind>(List, Type, SegmentGrouping(List.Config.Segments)) {}
};

using TCustomSegmentsStat = TSegmentsStatOf<TCustomNumbersStat>;
using TCustomSegmentsGraphStat = TSegmentsStatOf<TCustomGraphStat>;

constexpr int NO_PRE_FILL = -1;

using TstSegments = TGroupOfEachStat<TCustomSegmentsStat>;

class TstSegmValues : public TGroupCountsStat<TCustomSegmentsStat> {
  public:
    TstSegmValues(const TStatList& List, int Type) : TGroupCountsStat(List, Type, NO_PRE_FILL) {}
};

class TstSegmCount : public TGroupsUsedStat<TCustomSegmentsGraphStat> {
  public:
    TstSegmCount(const TStatList& List, int Type) : TGroupsUsedStat(List, Type, 0) {}
};

class TstSgmValCnt : public TGroupMembersStat<TCustomSegmentsGraphStat> {
  public:
    TstSgmValCnt(const TStatList& List, int Type) : TGroupMembersStat(List, Type, 0) {}
};

// TstCombSegmMix2..4 and TstCombSegmSeq2..4.
template <int Len, bool Mix> TStatClassInfo SegmentTuplesClass(int position, const char* name) {
    const char* code = Mix ? "KGM%d" : "KGS%d";
    const char* caption = Mix ? "Сочетания из %0:d сегментов по всем числам тиража"
                              : "Сочетания из %0:d сегментов по соседним числам";
    return StatClass<TBatched<TGroupTuplesStat<TCustomSegmentsStat, Len, Mix>>>(
        {.Position = position,
         .Name = name,
         .Code = FormatTemplate(code, Len),
         .Caption = FormatTemplate(caption, Len),
         .Group = sgSegments,
         .Flags = sfOrderSensitive,
         .ScalarValues = false});
}

} // namespace

void RegisterSegmentStats(TStatClassTable& table) {
    table.Add(StatClass<TBatched<TstSegments>>({.Position = 36,
                                                .Name = "TstSegments",
                                                .Code = "SGMS",
                                                .Caption = "Сегменты матрицы",
                                                .Group = sgSegments,
                                                .Flags = sfCombinable}));
    table.Add(StatClass<TBatched<TstSegmValues>>({.Position = 37,
                                                  .Name = "TstSegmValues",
                                                  .Code = "SGMV",
                                                  .Caption = "Количество чисел в сегменте матрицы",
                                                  .Group = sgSegments,
                                                  .Flags = sfCombinable,
                                                  .ScalarValues = false}));
    table.Add(
        StatClass<TBatched<TstSegmCount>>({.Position = 38,
                                           .Name = "TstSegmCount",
                                           .Code = "SGMC",
                                           .Caption = "Количество не пустых сегментов в матрице",
                                           .Group = sgSegments,
                                           .Flags = sfCombinable}));
    table.Add(SegmentTuplesClass<2, true>(95, "TstCombSegmMix2"));
    table.Add(SegmentTuplesClass<3, true>(96, "TstCombSegmMix3"));
    table.Add(SegmentTuplesClass<4, true>(97, "TstCombSegmMix4"));
    table.Add(SegmentTuplesClass<2, false>(98, "TstCombSegmSeq2"));
    table.Add(SegmentTuplesClass<3, false>(99, "TstCombSegmSeq3"));
    table.Add(SegmentTuplesClass<4, false>(100, "TstCombSegmSeq4"));
    table.Add(
        StatClass<TBatched<TstSgmValCnt>>({.Position = 106,
                                           .Name = "TstSgmValCnt",
                                           .Code = "SGM%d",
                                           .Caption = "Количество чисел в %0:d сегменте матрицы",
                                           .Group = sgSegments,
                                           .Flags = sfCombinable,
                                           .TypeRange = &SegmentTypes,
                                           .FamilyCode = "SGMx"}));
}

} // namespace pelko
